// SPDX-License-Identifier: MIT
// The elapsed-time label and the over-play warning, driven by elapsed seconds and by a
// replaced clock instead of waiting.

#include "game/OverPlay.h"

// GoogleTest
#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace OverPlay;

namespace {

// The elapsed seconds within the first `hours` hours at which the warning fires.
std::vector<qint64> FiringSeconds(const QString& minutesText, int hours)
{
    std::vector<qint64> fired;
    for (qint64 s = 0; s < hours * 3600; ++s)
        if (IsWarningDue(s, minutesText))
            fired.push_back(s);
    return fired;
}

} // namespace

TEST(OverPlayTest, MinuteSecondTextHasNoLeadingZeroOnMinutes)
{
    EXPECT_EQ(MinuteSecondText(0), QStringLiteral("0 00"));
    EXPECT_EQ(MinuteSecondText(5 * 60 + 9), QStringLiteral("5 09"));
    EXPECT_EQ(MinuteSecondText(3600 + 30 * 60), QStringLiteral("30 00"));
    EXPECT_EQ(MinuteSecondText(3599), QStringLiteral("59 59"));
}

TEST(OverPlayTest, ThirtyFiresOnTheHalfHourOfEveryHourOnly)
{
    EXPECT_FALSE(IsWarningDue(29 * 60 + 59, QStringLiteral("30")));
    EXPECT_TRUE(IsWarningDue(30 * 60, QStringLiteral("30")));
    EXPECT_FALSE(IsWarningDue(30 * 60 + 1, QStringLiteral("30")));
    EXPECT_TRUE(IsWarningDue(90 * 60, QStringLiteral("30")));
    EXPECT_EQ(FiringSeconds(QStringLiteral("30"), 3), (std::vector<qint64>{1800, 5400, 9000}));
    EXPECT_EQ(FiringSeconds(QStringLiteral("1"), 2), (std::vector<qint64>{60, 3660}));
    EXPECT_EQ(FiringSeconds(QStringLiteral("59"), 1), (std::vector<qint64>{3540}));
}

TEST(OverPlayTest, ZeroFiresInTheFirstSecondOfEveryHourIncludingTheStart)
{
    EXPECT_EQ(FiringSeconds(QStringLiteral("0"), 3), (std::vector<qint64>{0, 3600, 7200}));
}

TEST(OverPlayTest, TextsNoMinuteSpellsNeverFire)
{
    for (const QString& text : {QStringLiteral("05"), QString(), QStringLiteral("60"),
                                QStringLiteral("99"), QStringLiteral(" 30"), QStringLiteral("30 "),
                                QStringLiteral("３０"), QStringLiteral("abc"), QStringLiteral("-1")})
        EXPECT_TRUE(FiringSeconds(text, 2).empty()) << text.toStdString();
}

TEST(OverPlayTest, EveryWarningSecondWarnsOnceHoweverTheTicksFall)
{
    // Ticks 0.3 to 2.5 s apart, so some skip a second and some share one; then a stall of
    // four hours, which warns once for all the warning seconds it passed.
    for (quint32 seed = 1; seed <= 20; ++seed) {
        std::mt19937 rng(seed);
        std::uniform_int_distribution<qint64> gap(300, 2500);
        WarningWatch watch;
        int warnings = 0;
        for (qint64 ms = gap(rng); ms < 3 * 3600'000; ms += gap(rng))
            warnings += watch.Tick(ms / 1000, QStringLiteral("30"));
        EXPECT_EQ(warnings, 3) << "seed " << seed;
        EXPECT_TRUE(watch.Tick(7 * 3600, QStringLiteral("30")));
        EXPECT_FALSE(watch.Tick(7 * 3600 + 1, QStringLiteral("30")));
    }
    // The first tick looks from the start on: "0" warns for second 0 with no tick in it.
    EXPECT_TRUE(WarningWatch().Tick(1, QStringLiteral("0")));
}

TEST(OverPlayTest, ElapsedCountsWholeSecondsFromAReplacedClock)
{
    qint64 now = 1'000'000;
    Elapsed elapsed([&now] { return now; });
    EXPECT_EQ(elapsed.Seconds(), 0);
    now += 999;
    EXPECT_EQ(elapsed.Seconds(), 0);
    now += 1;
    EXPECT_EQ(elapsed.Seconds(), 1);
    now += 30 * 60 * 1000 - 1000;
    EXPECT_EQ(elapsed.Seconds(), 1800);
    EXPECT_TRUE(IsWarningDue(elapsed.Seconds(), QStringLiteral("30")));

    // A clock set back before the start reads as the start, never as a negative time.
    now = 0;
    EXPECT_EQ(elapsed.Seconds(), 0);

    elapsed.SetClock([] { return qint64(42); });
    EXPECT_EQ(elapsed.Milliseconds(), 0);
}

TEST(OverPlayTest, SteadyClockNeverRunsBackwards)
{
    Clock clock = SteadyClock();
    const qint64 a = clock();
    const qint64 b = clock();
    EXPECT_GE(a, 0);
    EXPECT_GE(b, a);
}
