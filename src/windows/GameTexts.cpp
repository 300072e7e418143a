// SPDX-License-Identifier: MIT
#include "windows/GameTexts.h"

// Qt
#include <QCoreApplication>

// own
#include "game/Numbers.h"

#include <iterator>

namespace GameTexts {

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("GameTexts", text);
}

// The element names as the game's symbols table has them (木 火 土 金 水), marked for the
// catalogues; the symbols on the tiles are never translated, the names spoken of them are.
const char* const ElementNames[] = {
    QT_TRANSLATE_NOOP("GameTexts", "木"), QT_TRANSLATE_NOOP("GameTexts", "火"),
    QT_TRANSLATE_NOOP("GameTexts", "土"), QT_TRANSLATE_NOOP("GameTexts", "金"),
    QT_TRANSLATE_NOOP("GameTexts", "水"),
};

} // namespace

QString RemainingLabel(int remaining)
{
    return QCoreApplication::translate("GameTexts", "　残：%1 　").arg(remaining);
}

QString PointsLabel(int total, PointsRefresh refresh)
{
    return QCoreApplication::translate("GameTexts", "ポイント：%1").arg(Numbers::Format3d(total))
        + (refresh == PointsRefresh::Lookup ? QStringLiteral("  ") : QStringLiteral(" "));
}

QString GameOverNotice(GameEnd end)
{
    return end == GameEnd::Cleared ? QCoreApplication::translate("GameTexts", "ぜんぶ、消せましたぁ")
                                   : QCoreApplication::translate("GameTexts", "もう、消せないですぅ");
}

QString ElapsedLabel(qint64 seconds)
{
    seconds = qMax<qint64>(0, seconds);
    const qint64 hours = (seconds / 3600) % 24;
    const qint64 minutes = (seconds / 60) % 60;
    const qint64 secs = seconds % 60;
    return QCoreApplication::translate("GameTexts", "経過時間 ：") + Numbers::TwoDigits(hours) + QLatin1Char(':')
        + Numbers::TwoDigits(minutes) + QLatin1Char(' ') + Numbers::TwoDigits(secs) + QLatin1Char(' ');
}

QString WarningNotice(const QString& minutesText, bool quitting, const QString& title)
{
    // Two arguments in one pass: whatever the player typed as minutes stays as typed.
    return quitting ? QCoreApplication::translate("GameTexts", "%1 分が経過しました。『%2』を終了します。")
                          .arg(minutesText, title)
                    : QCoreApplication::translate("GameTexts", "%1 分が経過しました。").arg(minutesText);
}

QString ElementName(int element)
{
    if (element < 0 || element >= int(std::size(ElementNames)))
        return QString();
    return Tr(ElementNames[element]);
}

} // namespace GameTexts
