// SPDX-License-Identifier: MIT
#include "windows/GameTexts.h"

// own
#include "game/Numbers.h"

namespace GameTexts {

QString RemainingLabel(int remaining)
{
    return QStringLiteral("　残：") + QString::number(remaining) + QStringLiteral(" 　");
}

QString PointsLabel(int total, PointsRefresh refresh)
{
    return QStringLiteral("ポイント：") + Numbers::Format3d(total)
        + (refresh == PointsRefresh::Lookup ? QStringLiteral("  ") : QStringLiteral(" "));
}

QString GameOverNotice(GameEnd end)
{
    return end == GameEnd::Cleared ? QStringLiteral("ぜんぶ、消せましたぁ")
                                   : QStringLiteral("もう、消せないですぅ");
}

QString ElapsedLabel(qint64 seconds)
{
    seconds = qMax<qint64>(0, seconds);
    const qint64 hours = (seconds / 3600) % 24;
    const qint64 minutes = (seconds / 60) % 60;
    const qint64 secs = seconds % 60;
    return QStringLiteral("経過時間 ：") + Numbers::TwoDigits(hours) + QLatin1Char(':')
        + Numbers::TwoDigits(minutes) + QLatin1Char(' ') + Numbers::TwoDigits(secs) + QLatin1Char(' ');
}

QString WarningNotice(const QString& minutesText, bool quitting, const QString& title)
{
    QString text = minutesText + QStringLiteral(" 分が経過しました。");
    if (quitting)
        text += QStringLiteral("『") + title + QStringLiteral("』を終了します。");
    return text;
}

} // namespace GameTexts
