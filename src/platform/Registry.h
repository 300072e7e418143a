// SPDX-License-Identifier: MIT
// The registry the game keeps its settings and board font in: keys under HKEY_CURRENT_USER
// addressed by path ("Software\Brimwell\TESRIK"), each holding typed values. Two backends
// implement it: the Windows registry (built on Windows only) and a REGEDIT4 text file (every
// other platform, and every test). The settings store and the font record sit on top.
//
// Conventions shared by both backends, so callers never depend on which one runs:
// - A key path is a list of names joined by "\". "" is HKEY_CURRENT_USER itself. Empty
//   names (a leading, trailing or doubled "\") are refused as InvalidName.
// - Key and value names compare without regard to case, as in the Windows registry.
// - "" names a key's default value ("@" in a .reg file).
// - A value is its type number (the Windows REG_* numbers) and its raw bytes. Text types
//   (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) hold Shift-JIS bytes, normally ending in one NUL:
//   exactly what the game's ANSI calls have always seen, whichever backend runs.
// - Nothing throws: every operation returns a status and, on failure, a message that names
//   the key or value and the reason, fit for showing to the player.
#pragma once

// Qt
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

enum class RegType : quint32 {
    None = 0,
    Sz = 1,
    ExpandSz = 2,
    Binary = 3,
    Dword = 4,
    MultiSz = 7,
};

struct RegValue
{
    quint32 type = quint32(RegType::None);
    QByteArray data;

    static RegValue Text(const QString& text, RegType type = RegType::Sz);
    static RegValue Binary(const QByteArray& bytes);
    static RegValue Dword(quint32 n);

    RegType Type() const { return RegType(type); }
    bool IsText() const; // REG_SZ or REG_EXPAND_SZ
    // The text of a string value: its bytes up to the first NUL, decoded from Shift-JIS.
    QString ToText() const;
    // A REG_DWORD of exactly four bytes, little-endian.
    std::optional<quint32> ToDword() const;
    // "REG_SZ", "REG_BINARY", ... or "type 42", for messages that name a value's type.
    static QString TypeName(quint32 type);

    friend bool operator==(const RegValue&, const RegValue&) = default;
};

enum class RegStatus {
    Ok,
    NotFound, // no such key or value
    InvalidName, // a malformed path, or a name the backend cannot hold
    AccessDenied,
    Unreadable, // the store exists but cannot be read (so it is never written over)
    WriteFailed, // the change could not be stored; what was stored before is intact
    Busy, // another copy of the game held the store too long
    Failed, // any other refusal of the system
};

struct RegResult
{
    RegStatus status = RegStatus::Ok;
    QString message; // empty when Ok

    bool Ok() const { return status == RegStatus::Ok; }
    static RegResult Success() { return {}; }
    static RegResult Fail(RegStatus status, const QString& message) { return { status, message }; }
};

struct RegValueResult : RegResult
{
    RegValue value;
};

struct RegNamesResult : RegResult
{
    QStringList names;
};

// One value to set, for a group of changes made together.
struct RegWrite
{
    QString path;
    QString name;
    RegValue value;
};

enum class RegOpen {
    Existing, // fail with NotFound when the key is missing
    Create, // create the key (and its parents) when missing
};

class Registry
{
public:
    virtual ~Registry() = default;

    // The user's keys: the Windows registry on Windows, the portable file elsewhere, or the
    // file set by SetUserFileOverride wherever one is set.
    static std::unique_ptr<Registry> User();

    // Points every later User() at this file (tests); an empty path restores the default.
    static void SetUserFileOverride(const QString& path);
    // The portable backend's file: the override, or the user's configuration folder
    // (QStandardPaths::GenericConfigLocation, so $XDG_CONFIG_HOME on Linux) +
    // "/Orbilo/registry.reg".
    static QString UserFilePath();

#ifdef Q_OS_WIN
    // The Windows registry itself, whatever override is set.
    static std::unique_ptr<Registry> Windows();
#endif

    // Opens the key, creating it and its missing parents with RegOpen::Create. A key that
    // exists opens with Ok either way.
    virtual RegResult OpenKey(const QString& path, RegOpen mode) = 0;
    bool KeyExists(const QString& path)
    {
        return OpenKey(path, RegOpen::Existing).Ok();
    }

    // The names of the key's direct subkeys, and of its values.
    virtual RegNamesResult SubKeyNames(const QString& path) = 0;
    virtual RegNamesResult ValueNames(const QString& path) = 0;

    // Deletes the key with all its subkeys and values. HKEY_CURRENT_USER itself ("") is
    // refused.
    virtual RegResult DeleteKey(const QString& path) = 0;

    virtual RegValueResult ReadValue(const QString& path, const QString& name) = 0;
    bool ValueExists(const QString& path, const QString& name)
    {
        return ReadValue(path, name).Ok();
    }

    // Sets the value, replacing any value of that name whatever its type. The key must
    // exist (NotFound otherwise), as with the Windows calls.
    virtual RegResult WriteValue(const QString& path, const QString& name, const RegValue& value) = 0;
    virtual RegResult DeleteValue(const QString& path, const QString& name) = 0;

    // Ok when changes can be stored at all; otherwise why not, naming the store: a store
    // that no change can reach (a folder or a file that may not be written). Found cheaply,
    // without changing anything.
    virtual RegResult CheckWritable() { return RegResult::Success(); }
    // Sets each value, creating its key (and the key's missing parents) first, as OpenKey
    // with RegOpen::Create and WriteValue would one after the other; one result per write,
    // in order. A write refused does not stop the others. The file backend makes all of
    // them one change of its file, so that a large file is written once, not once a value.
    virtual QList<RegResult> WriteValues(const QList<RegWrite>& writes);
};

namespace RegPath {

// The names of a path, or nothing when it is malformed (empty names; a name longer than
// 255 characters, the Windows limit). "" gives an empty list.
std::optional<QStringList> Split(const QString& path);

// True when two key or value names are the same name to the registry.
bool SameName(const QString& a, const QString& b);

// A hash of a name under which every two names SameName holds equal hash equally, so that
// names can be looked up in a QHash.
size_t NameHash(const QString& name, size_t seed = 0);

} // namespace RegPath
