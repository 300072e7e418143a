// SPDX-License-Identifier: MIT
// The settings file as keys and values: the file's lines (RegFileLines.h) grouped under the
// key of their section, looked up through indexes, changed, and turned back into bytes. No
// file is read or written here (the backend, RegistryFile.h, does that).
//
// Policy for files that are damaged or edited by hand: everything that parses is used and
// everything else is kept. A line that does not parse is invisible to the program but is
// written back verbatim, in place, unless the program writes a value of the same name in
// that key (the new value supersedes the damaged line). Sections of other hives, comments
// and lines under a damaged section header are kept verbatim too; values under a damaged
// header are never attributed to another key. A key whose section appears twice is merged
// into its first section, the later value of a name winning, as an import would do. Lines
// read from the file are written back as they were; only values set here are formatted. A
// key none of whose values was changed (another program's key above all) is written back
// as the bytes it was read as, without being parsed.
//
// Laziness: a Document and an Outline keep the bytes they were made from (shared, not
// copied) and find the sections by their header lines alone; a key's lines are parsed at
// the first look at its values, and what that parse reads is exactly what a parse of the
// whole file reads.
#pragma once

#include "platform/Registry.h"

// Qt
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>

namespace RegFile {

// A key path or a value name as a hash key: names the registry holds to be the same are
// equal keys. The hash is taken once, so a table that grows or a probe that meets another
// name costs no second look at the characters.
struct NameKey
{
    NameKey(const QString& name)
        : name(name)
        , hash(RegPath::NameHash(name))
    {
    }

    QString name;
    size_t hash;

    friend bool operator==(const NameKey& a, const NameKey& b)
    {
        return a.hash == b.hash && a.name.size() == b.name.size()
            && (a.name == b.name || RegPath::SameName(a.name, b.name));
    }
    friend size_t qHash(const NameKey& key, size_t seed = 0) { return key.hash ^ seed; }
};

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
    // The section's lines as the file holds them, one body per header of the key (a key
    // given twice is one section), each from the line break that ends its header; views
    // into the bytes of the file as it was loaded. Until one of the key's values is asked
    // for they are not read at all, and until one is changed they are what is written back,
    // byte for byte: another program's key, however large, costs a change of the game's
    // settings no more than a copy of its bytes.
    QList<QByteArrayView> bodies;
    bool read = true; // entries and valueAt hold the bodies' lines
    bool changed = true; // written from entries; false for a section as the file has it
    QList<Entry> entries;
    // Where in entries each value the registry shows is.
    QHash<NameKey, qsizetype> valueAt;

    const Entry* FindValue(const QString& name) const;
    QStringList ValueNames() const;
    void IndexValues();
};

// The keys of a file: the section of each key that has one, and every key that exists
// (those with a section and those above them).
class KeyIndex
{
public:
    void Add(const QString& path, qsizetype section);
    void Clear();
    // The section of the key, or -1.
    qsizetype SectionOf(const QString& path) const { return m_sectionAt.value(NameKey { path }, -1); }
    bool Exists(const QString& path) const { return path.isEmpty() || m_exists.contains(NameKey { path }); }

private:
    QHash<NameKey, qsizetype> m_sectionAt;
    QSet<NameKey> m_exists;
};

// A parsed file. Every lookup goes through an index, so a read costs the same in a file of
// ten values and in one of a million; a change costs at most a pass over the sections or
// over the lines of its key. A key's lines are read at the first look at its values.
class Document
{
public:
    // Every section, with its values read.
    const QList<Section>& Sections() const;

    // Index of the section of this key, or -1.
    qsizetype FindSection(const QString& path) const { return m_keys.SectionOf(path); }
    // A key exists when it has a section or lies above one.
    bool KeyExists(const QString& path) const { return m_keys.Exists(path); }
    const Entry* FindValue(const QString& path, const QString& name) const;
    QStringList SubKeyNames(const QString& path) const;
    QStringList ValueNames(const QString& path) const;

    // Changes; paths and names must already be valid (RegistryFile checks them).
    void CreateKey(const QString& path);
    void SetValue(const QString& path, const QString& name, const RegValue& value);
    bool DeleteValue(const QString& path, const QString& name);
    bool DeleteKey(const QString& path);

private:
    friend Document Parse(const QByteArray& bytes);
    friend class FileBytes;

    // The section with its lines parsed. Parsing them changes no value a lookup returns, so
    // it is done from the const lookups too.
    const Section& ReadSection(qsizetype at) const;
    // The section read, to be written from its entries.
    Section& ChangeSection(qsizetype at);
    // Adds a section at index at (the end when -1) and indexes it.
    qsizetype InsertSection(Section section, qsizetype at = -1);
    // Indexes the sections' keys again after sections were moved or removed.
    void IndexKeys();

    QByteArray m_bytes; // the file read: the sections' bodies are views into it
    QList<QByteArray> m_preamble; // lines before the first section, other than "REGEDIT4"
    mutable QList<Section> m_sections;
    KeyIndex m_keys;
};

// A parsed settings file turned back into bytes, in parts to be written one after the
// other: a section nobody changed is a view into the bytes it was loaded from, so that a
// large file is written without a second copy of it. Lives no longer than the parsed file it
// was made from.
class FileBytes
{
public:
    explicit FileBytes(const Document& document);

    const QList<QByteArrayView>& Parts() const { return m_parts; }
    QByteArray Joined() const;

private:
    void Add(QByteArrayView bytes);
    void Flush();

    QList<QByteArrayView> m_parts;
    QList<QByteArray> m_made; // the parts formatted here, which m_parts views
    QByteArray m_pending; // formatted text and small pieces not yet a part
};

// The keys of a file and where their lines lie, found without reading a single value: a
// read of one key parses that key's lines alone, so the values of every other key cost
// no more than a search for the next section header. What it reads is what Parse reads.
class Outline
{
public:
    explicit Outline(const QByteArray& bytes = QByteArray());

    bool KeyExists(const QString& path) const { return m_index.Exists(path); }
    QStringList SubKeyNames(const QString& path) const;
    // The key's section with its values as Parse gives it; nothing when the key has no
    // section of its own.
    std::optional<Section> KeySection(const QString& path) const;

private:
    struct Place
    {
        QString path;
        QByteArray header;
        QList<QByteArrayView> bodies; // the lines of each of its sections in the file
    };

    QByteArray m_bytes; // the bodies are views into it
    QList<Place> m_places; // the keys with a section, in the order they first appear
    KeyIndex m_index;
};

// Reads any byte sequence: what does not parse is kept (see above), nothing throws. The
// Document keeps the bytes (shared, not copied); a key's lines are parsed when one of its
// values is first asked for.
Document Parse(const QByteArray& bytes);
QByteArray Serialise(const Document& document);

} // namespace RegFile
