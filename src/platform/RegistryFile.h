// SPDX-License-Identifier: MIT
// The portable registry: the user's keys kept in one text file in the format of a regedit
// export (REGEDIT4), Shift-JIS, CR LF:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Brimwell\TESRIK\Set]
//   "TimeE"="30"
//   @="default value"
//   "Count"=dword:0000001e
//   "Blob"=hex:01,02,ff
//   "Path"=hex(2):25,54,45,4d,50,25,00
//
// Text values are written "quoted" with \\ and \" escapes; a text the quoted form cannot
// carry exactly (a CR, an LF, a NUL inside it, no closing NUL, stray Shift-JIS bytes) is
// written as hex(1) so its bytes survive unchanged. REG_EXPAND_SZ and every other type
// are written as hex(n) of their bytes: for the text types these are the Shift-JIS bytes
// with their NUL, as a REGEDIT4 export holds them (the UTF-16 form belongs to the later
// "Version 5.00" files). Long hex data is continued over lines ending in "\".
//
// Policy for files that are damaged or edited by hand: everything that parses is used and
// everything else is kept. A line that does not parse is invisible to the program but is
// written back verbatim, in place, unless the program writes a value of the same name in
// that key (the new value supersedes the damaged line). Sections of other hives, comments
// and lines under a damaged section header are kept verbatim too; values under a damaged
// header are never attributed to another key. A key whose section appears twice is merged
// into its first section, the later value of a name winning, as an import would do. Lines
// read from the file are written back as they were; only values set here are formatted.
// Numbers must be whole (eight digits of a dword, two per hex byte), so a line cut short
// inside a number is refused rather than read as another value.
//
// Every operation re-reads the file, so a value written by another running copy of the
// game is seen at once. Every change is a read-modify-write under a QLockFile beside the
// file ("registry.reg.lock"), written through SafeFile (a temporary file renamed over
// the old one), so two copies never lose each other's values and a crash leaves either
// the old file or the new one. A file that exists but cannot be read is never written over.
#pragma once

#include "platform/Registry.h"

// Qt
#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace RegFile {

// A line of a section, or a hex value continued over several lines.
struct Entry
{
    QByteArray raw; // the line(s) as read, CR LF between; written back when !parsed
    bool parsed = false; // a value the registry shows
    std::optional<QString> name; // the value name, when it could be read
    RegValue value; // when parsed
};

struct Section
{
    bool user = false; // a valid [HKEY_CURRENT_USER...] header: its values are visible
    QString path; // relative to HKEY_CURRENT_USER, "" for the hive itself
    QByteArray header; // the header line as read; empty for a section made here
    QList<Entry> entries;
};

struct Document
{
    QList<QByteArray> preamble; // lines before the first section, other than "REGEDIT4"
    QList<Section> sections;

    // Index of the section of this key, or -1.
    qsizetype FindSection(const QString& path) const;
    // A key exists when it has a section or lies above one.
    bool KeyExists(const QString& path) const;
    const Entry* FindValue(const QString& path, const QString& name) const;
    QStringList SubKeyNames(const QString& path) const;
    QStringList ValueNames(const QString& path) const;

    // Changes; paths and names must already be valid (RegistryFile checks them).
    void CreateKey(const QString& path);
    void SetValue(const QString& path, const QString& name, const RegValue& value);
    bool DeleteValue(const QString& path, const QString& name);
    bool DeleteKey(const QString& path);
};

// Reads any byte sequence: what does not parse is kept (see above), nothing throws.
Document Parse(const QByteArray& bytes);
QByteArray Serialise(const Document& document);

// The value line for a name and value ("name"=... or @=...), without line ending.
QByteArray FormatValue(const QString& name, const RegValue& value);

} // namespace RegFile

class RegistryFile final : public Registry
{
public:
    explicit RegistryFile(const QString& filePath);

    QString FilePath() const { return m_path; }

    RegResult OpenKey(const QString& path, RegOpen mode) override;
    RegNamesResult SubKeyNames(const QString& path) override;
    RegNamesResult ValueNames(const QString& path) override;
    RegResult DeleteKey(const QString& path) override;
    RegValueResult ReadValue(const QString& path, const QString& name) override;
    RegResult WriteValue(const QString& path, const QString& name, const RegValue& value) override;
    RegResult DeleteValue(const QString& path, const QString& name) override;

    // Files beyond this size are not ours: they are reported unreadable and left alone.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
    // How long a change waits for another copy of the game to finish its own.
    static constexpr int LockWaitMs = 10000;
    static constexpr int StaleLockMs = 4000;

private:
    struct Loaded
    {
        RegResult result;
        RegFile::Document document;
    };
    Loaded Load() const;
    // The names of a key's subkeys or values, read fresh from the file; list picks which.
    RegNamesResult Names(const QString& path, QStringList (RegFile::Document::*list)(const QString&) const) const;
    // Runs change on a fresh copy of the file under the lock and writes the result back
    // when change reports success and has set its flag to say that it changed something.
    // change may run twice (first on an unlocked snapshot), so it must only edit the copy.
    RegResult Modify(const std::function<RegResult(RegFile::Document&, bool& changed)>& change);

    QString m_path;
};
