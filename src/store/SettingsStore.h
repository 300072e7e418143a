// SPDX-License-Identifier: MIT
// The settings store: INI-style reads and writes on a registry key. A section is a subkey
// of the store's key ("" is the key itself), an ident is a value name, and every value is
// text (REG_SZ). A store is opened for one group of reads or writes and dropped after it:
//
//     SettingsStore store = OpenStore(Keys::Root);
//     CB1->setChecked(store.ReadFlag(Keys::Wav::CB1));
//     ...
//     if (store.HasErrors())
//         QMessageBox::warning(this, title, store.ErrorMessage());
//
// Nothing here throws and nothing fails the caller. A missing section or value gives the
// default silently. A value that cannot be used as text (another registry type, a file
// that cannot be read) also gives the default, and is recorded as an error. A write that
// fails is recorded and the next writes of the group are still attempted, so one refused
// value never costs the others; ErrorMessage() then says in one message what was lost.
//
// Two running copies of the game share the store. A window that keeps a SettingsMemo of
// what it read writes back only the values it changed, so that another copy's change of a
// different value survives this window's close:
//
//     store.Remember(&m_settingsRead);   // in the group of reads, and again in the writes
#pragma once

// Qt
#include <QHash>
#include <QList>
#include <QString>

// own
#include "store/Keys.h"
#include "platform/Registry.h"

#include <memory>
#include <optional>

struct SettingsError
{
    enum class Kind {
        Read, // the value exists but could not be read
        WrongType, // the value is not of a string type
        Write, // the section could not be created or the value not set
    };
    Kind kind = Kind::Read;
    QString section;
    QString ident;
    QString detail; // the registry's reason, naming the key or file
};

// What a window read, value by value, in the form the window writes it back: "1" or "0"
// for a flag, the number in decimal, the text as it is. A value that was missing or could
// not be read is noted with the default the window got instead.
class SettingsMemo
{
public:
    void Clear() { m_read.clear(); }

private:
    friend class SettingsStore;
    QHash<QString, QString> m_read; // "section\ident" -> the text as the window holds it
};

// A setting to write, as the text the store holds: "1" or "0" for a flag, a number in
// decimal.
struct SettingText
{
    SettingText(const QString& section, const QString& ident, const QString& text);
    SettingText(const Keys::Flag& key, bool b);
    SettingText(const Keys::Number& key, int n);
    SettingText(const Keys::Text& key, const QString& text);

    QString section;
    QString ident;
    QString text;
};

class SettingsStore
{
public:
    // Opens keyPath under HKEY_CURRENT_USER in registry, creating the key when it does not
    // exist (so merely starting the game creates its root key). With RegOpen::Existing a
    // missing key is left missing: every read gives its default, and the first write creates
    // it.
    SettingsStore(std::unique_ptr<Registry> registry, const QString& keyPath, RegOpen mode = RegOpen::Create);

    SettingsStore(SettingsStore&&) = default;
    SettingsStore& operator=(SettingsStore&&) = default;

    QString KeyPath() const { return m_keyPath; }
    // How creating the key went. Its failure is not counted among Errors(): reads still
    // work, and a write that cannot be done reports itself.
    const RegResult& OpenResult() const { return m_open; }

    // The text of the value, cut at its first NUL; def when the section or the value does
    // not exist or the value is not of a string type (REG_SZ, REG_EXPAND_SZ).
    QString ReadText(const QString& section, const QString& ident, const QString& def);
    // ReadText, converted by NumberFromText; def for a missing value or one that does
    // not convert.
    int ReadNumber(const QString& section, const QString& ident, int def);
    // ReadNumber(section, ident, def ? 1 : 0) != 0.
    bool ReadFlag(const QString& section, const QString& ident, bool def);

    // Each creates the section when missing and sets the value as REG_SZ. False when that
    // failed (also recorded in Errors()).
    bool WriteText(const QString& section, const QString& ident, const QString& text);
    bool WriteNumber(const QString& section, const QString& ident, int n); // in decimal
    bool WriteFlag(const QString& section, const QString& ident, bool b); // "1" or "0"

    // The same, for the settings declared in Keys.h with their defaults.
    QString ReadText(const Keys::Text& key) { return ReadText(key.section, key.ident, key.defaultValue); }
    int ReadNumber(const Keys::Number& key) { return ReadNumber(key.section, key.ident, key.defaultValue); }
    bool ReadFlag(const Keys::Flag& key) { return ReadFlag(key.section, key.ident, key.defaultValue); }
    bool WriteText(const Keys::Text& key, const QString& text)
    {
        return WriteText(key.section, key.ident, text);
    }
    bool WriteNumber(const Keys::Number& key, int n) { return WriteNumber(key.section, key.ident, n); }
    bool WriteFlag(const Keys::Flag& key, bool b) { return WriteFlag(key.section, key.ident, b); }
    // The same again under one name, for code written once for every type of key.
    int Read(const Keys::Number& key) { return ReadNumber(key); }
    bool Read(const Keys::Flag& key) { return ReadFlag(key); }
    QString Read(const Keys::Text& key) { return ReadText(key); }
    bool Write(const Keys::Number& key, int n) { return WriteNumber(key, n); }
    bool Write(const Keys::Flag& key, bool b) { return WriteFlag(key, b); }
    bool Write(const Keys::Text& key, const QString& text) { return WriteText(key, text); }

    // Any setting of Keys::All, read by the rules of its type, in the form it is stored
    // and written: "1" or "0" for a flag, a number in decimal, a text as it is.
    QString Read(const Keys::Setting& key);
    // Writes text as the setting's type writes the value Read gives for it: a number or a
    // flag in that form is written as it is.
    bool Write(const Keys::Setting& key, const QString& text);

    // Writes each setting as WriteText does, all in one change of the registry: a settings
    // file is written once for the group, however large it is. A window writes the settings
    // it keeps this way when it saves them. False when any was not written.
    bool WriteAll(const QList<SettingText>& settings);

    // From here on every read notes in memo what it gave, and a write of the text memo
    // holds for that value (the window did not change it) leaves the store alone while the
    // store holds the value as text. A value missing from the store, or stored as another
    // type, is written all the same, as is every value the window changed; each write
    // notes what it wrote.
    void Remember(SettingsMemo* memo) { m_memo = memo; }

    bool HasErrors() const { return !m_errors.isEmpty(); }
    const QList<SettingsError>& Errors() const { return m_errors; }
    // One message for every error of the group, for one message box; empty without errors.
    QString ErrorMessage() const;
    // The same message for settings kept outside a store (the board font): the names of
    // the settings not written and not read, then the reasons, one a line.
    static QString ErrorMessage(const QStringList& unwritten, const QStringList& unread, const QStringList& reasons);
    void ClearErrors() { m_errors.clear(); }

    // The integer a stored text stands for, or nothing. A text longer than 2 characters
    // that starts with "0x" or "0X" is hexadecimal (the digits after the prefix);
    // otherwise it is decimal with an optional sign, or hexadecimal after "$" ("$10" is
    // 16, "-$10" is -16). Blanks around the number are allowed; the full 32 bits may be
    // spelt in hexadecimal ("$FFFFFFFF" is -1). "0x" alone, "-0x10" and "yes" give nothing.
    static std::optional<int> NumberFromText(const QString& text);

    // Whether the user's store (Registry::User()) can take changes, found at the first call
    // for each store file and kept for the run: empty when it can; otherwise the notice for
    // the player, naming the file and why, to be said once at start. From then on the stores
    // OpenStore opens write nothing and record no write error, so no close says it again.
    static QString UserStoreNotice();

private:
    friend SettingsStore OpenStore(const QString& keyPath, RegOpen mode);

    QString SectionPath(const QString& section) const;
    // ReadText without noting what it gave.
    QString ReadStoredText(const QString& section, const QString& ident, const QString& def);
    void Note(const QString& section, const QString& ident, const QString& text);
    // True when the window holds the text memo noted and the store holds the value as text.
    bool Unchanged(const QString& section, const QString& ident, const QString& text);
    void Record(
        SettingsError::Kind kind, const QString& section, const QString& ident, const QString& detail);

    std::unique_ptr<Registry> m_registry;
    QString m_keyPath;
    RegResult m_open;
    QList<SettingsError> m_errors;
    SettingsMemo* m_memo = nullptr;
    bool m_writesRefused = false;
};

// The store on the user's registry (Registry::User()); one that cannot take changes in this
// run (UserStoreNotice) writes nothing.
SettingsStore OpenStore(const QString& keyPath, RegOpen mode = RegOpen::Create);
