// SPDX-License-Identifier: MIT
// The main window's texts for what the game reports as numbers and states, byte for byte.

#include "windows/GameTexts.h"

// GoogleTest
#include <gtest/gtest.h>

using namespace GameTexts;

TEST(GameTextsTest, RemainingPointsAndTheEndOfAGame)
{
    EXPECT_EQ(RemainingLabel(12), QStringLiteral("　残：12 　"));
    EXPECT_EQ(RemainingLabel(0), QStringLiteral("　残：0 　"));
    // The score lookup of a pick leaves two blanks after the total, everything else one.
    EXPECT_EQ(PointsLabel(0, PointsRefresh::Other), QStringLiteral("ポイント：  0 "));
    EXPECT_EQ(PointsLabel(5, PointsRefresh::Lookup), QStringLiteral("ポイント：  5  "));
    EXPECT_EQ(PointsLabel(-12, PointsRefresh::Other), QStringLiteral("ポイント：-12 "));
    EXPECT_EQ(PointsLabel(1234, PointsRefresh::Other), QStringLiteral("ポイント：1234 "));
    EXPECT_EQ(GameOverNotice(GameEnd::NoPairLeft), QStringLiteral("もう、消せないですぅ"));
    EXPECT_EQ(GameOverNotice(GameEnd::Cleared), QStringLiteral("ぜんぶ、消せましたぁ"));
}

TEST(GameTextsTest, ElapsedLabelShowsHoursMinutesSecondsAndWrapsAfterADay)
{
    EXPECT_EQ(ElapsedLabel(0), QStringLiteral("経過時間 ：00:00 00 "));
    EXPECT_EQ(ElapsedLabel(59), QStringLiteral("経過時間 ：00:00 59 "));
    EXPECT_EQ(ElapsedLabel(3599), QStringLiteral("経過時間 ：00:59 59 "));
    EXPECT_EQ(ElapsedLabel(10 * 3600 + 7 * 60 + 5), QStringLiteral("経過時間 ：10:07 05 "));
    EXPECT_EQ(ElapsedLabel(24 * 3600 - 1), QStringLiteral("経過時間 ：23:59 59 "));
    EXPECT_EQ(ElapsedLabel(24 * 3600), QStringLiteral("経過時間 ：00:00 00 "));
    EXPECT_EQ(ElapsedLabel(49 * 3600 + 61), QStringLiteral("経過時間 ：01:01 01 "));
    EXPECT_EQ(ElapsedLabel(-5), QStringLiteral("経過時間 ：00:00 00 "));
}

TEST(GameTextsTest, WarningWithAndWithoutTheClosingSentence)
{
    EXPECT_EQ(WarningNotice(QStringLiteral("30"), false, QStringLiteral("OrbiloVer1.10")),
              QStringLiteral("30 分が経過しました。"));
    EXPECT_EQ(WarningNotice(QStringLiteral("30"), true, QStringLiteral("OrbiloVer1.10")),
              QStringLiteral("30 分が経過しました。『OrbiloVer1.10』を終了します。"));
}
