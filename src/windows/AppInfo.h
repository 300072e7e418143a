// SPDX-License-Identifier: MIT
// What the whole program shares about itself: its title (also the caption of every message
// box), its help file, the window fonts and its icon. Where its data files live is the
// application model's (app/AppModel.h).
#pragma once

// Qt
#include <QFont>
#include <QIcon>
#include <QString>

class QTranslator;

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

// The face that is drawn for face: face itself when it is installed, else its IPA stand-in.
// A font asked for by a face that is not installed costs a search through every installed
// font for each script of the text before the stand-in is found, so what is only drawn is
// asked for by the installed name.
QString InstalledFace(const QString& face);
// font, asked for by its installed face (InstalledFace) and drawn without OpenType shaping,
// which neither Japanese nor Latin text needs (and which Windows' plain text drawing does not
// do); for drawing, never for storing.
QFont DrawingFont(const QFont& font);

// A window font from a layout height (negative: pixels without internal leading), by its
// installed face and unshaped, as DrawingFont. Window fonts are never stored.
QFont WindowFont(const QString& face, int height, bool bold = false, bool italic = false);
// The board's font until the player chooses one: ＭＳ Ｐゴシック, 24 pixels, under the name it
// is stored by.
QFont DefaultBoardFont();

// The program's icon in the sizes a window system asks for. Decoding it takes a few
// milliseconds, so the start-up sets it once the main window has drawn its first frame.
QIcon ProgramIcon();

// Qt's own Japanese texts for the stock parts of the program's dialogs: the Yes/No buttons
// of the confirmation box, the lists of the font dialog. The catalogue (qtbase_ja) is read
// from folder, Qt's translations folder when empty. Without it those parts stay English and
// the program runs on. The translator is the application's; null when nothing was found.
QTranslator* InstallQtTranslation(const QString& folder = QString());



} // namespace AppInfo
