// SPDX-License-Identifier: MIT
// The language of the interface. Japanese is the language the program is written in and
// the one it speaks unless told otherwise; English comes from the catalogue compiled into
// the program (:/i18n/orbilo_en.qm). The choice is made once, at start-up, before any
// window exists: the windows are laid out to the pixel with their texts, so a change of the
// setting counts from the next start. Nothing stored depends on it.
#pragma once

// Qt
#include <QString>

#include <functional>

namespace Language {

enum class Ui {
    Japanese,
    English,
};

// The values of the setting Set\Language (システム → 表示言語).
enum class Choice {
    Automatic = 0, // 自動: the desktop's language
    Japanese = 1,  // 日本語
    English = 2,   // English
};

// An environment variable's value; empty when it is not set.
using Environment = std::function<QString(const char* name)>;
// The process's own environment; on Windows, LANG when unset is the display language of
// the user's Windows settings.
QString ProcessVariable(const char* name);

// The desktop's language as gettext reads it: the messages locale is LC_ALL, else
// LC_MESSAGES, else LANG (the first that is set and not empty). A C or POSIX locale, or
// none, means no language was chosen, and the program stays Japanese. Otherwise the list in
// LANGUAGE (colon-separated), then the locale itself, is read in order, and the first entry
// that is Japanese or English decides; a desktop in any other language stays Japanese.
Ui FromEnvironment(const Environment& environment);

// The language for a stored choice (any value that is not a choice counts as 自動).
Ui Decide(int storedChoice, const Environment& environment);

// The stored choice, read from the settings without creating anything; 自動 when none.
int StoredChoice();

// Decide(StoredChoice(), the process's environment): the language of this run.
Ui ForThisRun();

// Installs the translators of ui into the application: for English the program's catalogue;
// for Japanese Qt's own Japanese catalogue (qtbase_ja, from qtFolder, Qt's translations
// folder when empty), which gives the stock buttons and dialogs their Japanese texts. Qt
// speaks English without a catalogue, so English loads none of Qt's. Returns false when the
// program's catalogue was wanted but could not be loaded (the interface then stays Japanese).
bool Install(Ui ui, const QString& qtFolder = QString());
// Removes what Install installed; the interface is Japanese again for windows made after.
void Uninstall();
// The language Install put in place; Japanese before it (and after Uninstall).
Ui Current();

// Texts needed before the application object exists (the command line's answers): text of
// context in the catalogue of the language set by UseEarly, as is without one.
void UseEarly(Ui ui);
QString Early(const char* context, const char* text);

} // namespace Language
