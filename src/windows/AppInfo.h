// SPDX-License-Identifier: MIT
// What the whole program shares about itself: its title (also the caption of every message
// box), its help file, the window fonts and where its data files live.
#pragma once

// Qt
#include <QFont>
#include <QString>

namespace AppInfo {

inline const QString Title = QStringLiteral("OrbiloVer1.10");
inline const QString HelpFile = QStringLiteral("Tesrik.hlp");

// The window faces. They are kept by these names wherever they are stored; on a machine
// without them, InstallFontSubstitutions maps them to the IPA faces so that the board keeps
// a proportional Gothic face with Japanese glyphs.
inline const QString PGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString Gothic = QStringLiteral("ＭＳ ゴシック");
inline const QString Mincho = QStringLiteral("ＭＳ 明朝");
void InstallFontSubstitutions();

// A window font from a layout height (negative: pixels without internal leading).
QFont WindowFont(const QString& face, int height, bool bold = false, bool italic = false);

// The folder of the running executable, with its trailing separator; every table file and
// the ranking file are named after it.
QString ProgramFolder();


} // namespace AppInfo
