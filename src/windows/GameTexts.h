// SPDX-License-Identifier: MIT
// The texts the main window shows for what the game reports as numbers and states: the
// remaining and points labels, the end-of-game notices, the elapsed time and the over-play
// warning. The game logic speaks no language; these are the window's.
#pragma once

// own
#include "game/GameHost.h"

// Qt
#include <QString>
#include <QtGlobal>

namespace GameTexts {

// "　残：" + remaining + " 　" (a full-width blank first, a blank and a full-width blank
// last): "　残：12 　".
QString RemainingLabel(int remaining);

// "ポイント：" + the total as "%3d" + one blank, or two after the score lookup of a pick:
// "ポイント：  0 ", "ポイント：  5  ".
QString PointsLabel(int total, PointsRefresh refresh);

// "もう、消せないですぅ" with no pair left, "ぜんぶ、消せましたぁ" with the board cleared.
QString GameOverNotice(GameEnd end);

// "経過時間 ：" + the elapsed time as "hh:nn ss " (two-digit hours, minutes, seconds and a
// trailing blank). The hours start again at 00 after 24 hours, as a time of day would;
// "経過時間 ：10:07 05 ".
QString ElapsedLabel(qint64 seconds);

// The warning: minutesText + " 分が経過しました。", followed by "『" + title + "』を終了します。"
// when the program is going to end.
QString WarningNotice(const QString& minutesText, bool quitting, const QString& title);

// The name of element 0..4 (木 火 土 金 水) as tooltips and accessible names speak of it;
// empty for any other number.
QString ElementName(int element);

} // namespace GameTexts
