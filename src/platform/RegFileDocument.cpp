// SPDX-License-Identifier: MIT
// The settings file's keys and values: the lazily read sections, their indexes, the
// changes, and the bytes written back (see the header).

#include "platform/RegFileDocument.h"

// Qt
#include <QByteArrayView>

#include <utility>

// own
#include "platform/RegFileLines.h"
#include "platform/TextLines.h"

namespace {

using View = QByteArrayView;

bool IsUnder(const QString& path, const QString& key)
{
    if (key.isEmpty())
        return !path.isEmpty();
    return path.size() > key.size() && path.at(key.size()) == QLatin1Char('\\')
        && path.startsWith(key, Qt::CaseInsensitive);
}

bool EntryNamed(const RegFile::Entry& e, const QString& name)
{
    return e.name && RegPath::SameName(*e.name, name);
}

// The direct subkeys of key among paths (the keys with a section, in file order), each once.
QStringList ChildNames(const QStringList& paths, const QString& key)
{
    QStringList names;
    QSet<RegFile::NameKey> known;
    const qsizetype skip = key.isEmpty() ? 0 : key.size() + 1;
    for (const QString& path : paths) {
        if (!IsUnder(path, key))
            continue;
        const QString child = path.mid(skip).section(QLatin1Char('\\'), 0, 0);
        if (!known.contains(RegFile::NameKey { child })) {
            known.insert(RegFile::NameKey { child });
            names.append(child);
        }
    }
    return names;
}

// The lines before the first section, but blank ones and a first line "REGEDIT4".
QList<QByteArray> PreambleLines(View head)
{
    QList<QByteArray> lines;
    bool first = true;
    for (const View line : TextLines::Split(head)) {
        const View trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (std::exchange(first, false) && trimmed == View(RegFile::FirstLine))
            continue;
        lines.append(line.toByteArray());
    }
    return lines;
}

// Reads the lines of one section of the file into the section's entries.
void ParseBody(RegFile::Section& section, View body)
{
    using RegFile::Entry;
    const QList<View> lines = TextLines::Split(body);
    for (qsizetype li = 0; li < lines.size(); ++li) {
        const View line = lines.at(li);
        const View trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        Entry entry;
        if (!section.user || !RegFile::IsValueLine(trimmed)) {
            entry.raw = line.toByteArray();
            section.entries.append(std::move(entry));
            continue;
        }
        RegFile::ValueLines read = RegFile::ReadValueLines(lines, li);
        entry.raw = std::move(read.raw);
        entry.name = std::move(read.name);
        if (read.value) {
            entry.parsed = true;
            entry.value = std::move(*read.value);
            // A name given twice in a key: the later value wins, in the earlier place.
            const qsizetype known = section.valueAt.size();
            qsizetype& at = section.valueAt[RegFile::NameKey { *entry.name }];
            if (section.valueAt.size() == known) {
                section.entries[at] = std::move(entry);
                continue;
            }
            at = section.entries.size();
        }
        section.entries.append(std::move(entry));
    }
}

} // namespace

namespace RegFile {

const Entry* Section::FindValue(const QString& name) const
{
    const qsizetype at = valueAt.value(NameKey { name }, -1);
    return at < 0 ? nullptr : &entries.at(at);
}

QStringList Section::ValueNames() const
{
    QStringList names;
    for (const Entry& e : entries) {
        if (e.parsed)
            names.append(*e.name);
    }
    return names;
}

void Section::IndexValues()
{
    valueAt.clear();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries.at(i).parsed)
            valueAt.insert(NameKey { *entries.at(i).name }, i);
    }
}

void KeyIndex::Add(const QString& path, qsizetype section)
{
    m_sectionAt.insert(NameKey { path }, section);
    // The key and every key above it exist; those above are known once one of them is.
    for (qsizetype end = path.size(); end > 0; end = path.lastIndexOf(QLatin1Char('\\'), end - 1)) {
        const NameKey key { path.left(end) };
        if (end < path.size() && m_exists.contains(key))
            break;
        m_exists.insert(key);
    }
}

void KeyIndex::Clear()
{
    m_sectionAt.clear();
    m_exists.clear();
}

const QList<Section>& Document::Sections() const
{
    for (qsizetype i = 0; i < m_sections.size(); ++i)
        ReadSection(i);
    return m_sections;
}

const Section& Document::ReadSection(qsizetype at) const
{
    if (!m_sections.at(at).read) {
        Section& section = m_sections[at];
        for (const View body : std::as_const(section.bodies))
            ParseBody(section, body);
        section.read = true;
    }
    return m_sections.at(at);
}

Section& Document::ChangeSection(qsizetype at)
{
    ReadSection(at);
    Section& section = m_sections[at];
    section.changed = true;
    return section;
}

const Entry* Document::FindValue(const QString& path, const QString& name) const
{
    const qsizetype si = FindSection(path);
    return si < 0 ? nullptr : ReadSection(si).FindValue(name);
}

QStringList Document::SubKeyNames(const QString& path) const
{
    QStringList paths;
    for (const Section& s : m_sections) {
        if (s.user)
            paths.append(s.path);
    }
    return ChildNames(paths, path);
}

QStringList Document::ValueNames(const QString& path) const
{
    const qsizetype si = FindSection(path);
    return si < 0 ? QStringList() : ReadSection(si).ValueNames();
}

void Document::IndexKeys()
{
    m_keys.Clear();
    for (qsizetype i = 0; i < m_sections.size(); ++i) {
        if (m_sections.at(i).user)
            m_keys.Add(m_sections.at(i).path, i);
    }
}

qsizetype Document::InsertSection(Section section, qsizetype at)
{
    if (at < 0 || at == m_sections.size()) {
        m_sections.append(std::move(section));
        if (m_sections.back().user)
            m_keys.Add(m_sections.back().path, m_sections.size() - 1);
        return m_sections.size() - 1;
    }
    m_sections.insert(at, std::move(section));
    IndexKeys();
    return at;
}

void Document::CreateKey(const QString& path)
{
    const QStringList names = RegPath::Split(path).value_or(QStringList());
    QString parent;
    for (const QString& name : names) {
        const QString key = parent.isEmpty() ? name : parent + QLatin1Char('\\') + name;
        if (FindSection(key) < 0) {
            // Keep a subtree together: after the last section of the parent's subtree.
            qsizetype at = -1;
            for (qsizetype i = 0; i < m_sections.size(); ++i) {
                const Section& s = m_sections.at(i);
                if (s.user && (RegPath::SameName(s.path, parent) || IsUnder(s.path, parent)))
                    at = i;
            }
            Section section;
            section.user = true;
            section.path = key;
            InsertSection(section, at < 0 ? -1 : at + 1);
        }
        parent = key;
    }
}

void Document::SetValue(const QString& path, const QString& name, const RegValue& value)
{
    qsizetype si = FindSection(path);
    if (si < 0) {
        if (path.isEmpty()) {
            Section root;
            root.user = true;
            InsertSection(root, 0);
        } else {
            CreateKey(path);
        }
        si = FindSection(path);
    }
    Section& section = ChangeSection(si);
    Entry entry;
    entry.parsed = true;
    entry.name = name;
    entry.value = value;
    // Every line of that name, damaged ones included, gives way to the new value, which
    // takes the place of the first.
    qsizetype first = -1;
    qsizetype named = 0;
    for (qsizetype i = 0; i < section.entries.size(); ++i) {
        if (EntryNamed(section.entries.at(i), name)) {
            first = first < 0 ? i : first;
            ++named;
        }
    }
    if (named == 1) {
        section.entries[first] = std::move(entry);
        section.valueAt.insert(NameKey { name }, first);
        return;
    }
    if (named == 0) {
        section.entries.append(std::move(entry));
        section.valueAt.insert(NameKey { name }, section.entries.size() - 1);
        return;
    }
    section.entries.removeIf([&](const Entry& e) { return EntryNamed(e, name); });
    section.entries.insert(first, std::move(entry));
    section.IndexValues();
}

bool Document::DeleteValue(const QString& path, const QString& name)
{
    if (!FindValue(path, name))
        return false;
    Section& section = ChangeSection(FindSection(path));
    section.entries.removeIf([&](const Entry& e) { return EntryNamed(e, name); });
    section.IndexValues();
    return true;
}

bool Document::DeleteKey(const QString& path)
{
    if (path.isEmpty())
        return false;
    const qsizetype removed = m_sections.removeIf([&](const Section& s) {
        return s.user && (RegPath::SameName(s.path, path) || IsUnder(s.path, path));
    });
    if (removed > 0)
        IndexKeys();
    return removed > 0;
}

Document Parse(const QByteArray& bytes)
{
    Document doc;
    doc.m_bytes = bytes;
    const Cut cut = CutAtHeaders(doc.m_bytes);
    doc.m_preamble = PreambleLines(cut.head);
    for (const Cut::Part& part : cut.parts) {
        // A key whose section appears again goes on in its first section.
        const Header h = ReadHeader(part.header.trimmed());
        qsizetype si = h.user ? doc.FindSection(h.path) : -1;
        if (si < 0) {
            Section section;
            section.user = h.user;
            section.path = h.path;
            section.header = part.header.toByteArray();
            section.read = false;
            section.changed = false;
            si = doc.InsertSection(std::move(section));
        }
        // From the end of the header on, its line break included: a section written back
        // as it was read keeps even that.
        const char* const from = part.header.data() + part.header.size();
        doc.m_sections[si].bodies.append(View(from, part.body.data() + part.body.size() - from));
    }
    return doc;
}

Outline::Outline(const QByteArray& bytes)
    : m_bytes(bytes)
{
    const Cut cut = CutAtHeaders(m_bytes);
    for (const Cut::Part& part : cut.parts) {
        const Header h = ReadHeader(part.header.trimmed());
        if (!h.user)
            continue; // another hive: nothing of it is visible
        qsizetype at = m_index.SectionOf(h.path);
        if (at < 0) {
            at = m_places.size();
            m_places.append({ h.path, part.header.toByteArray(), {} });
            m_index.Add(h.path, at);
        }
        m_places[at].bodies.append(part.body);
    }
}

QStringList Outline::SubKeyNames(const QString& path) const
{
    QStringList paths;
    for (const Place& place : m_places)
        paths.append(place.path);
    return ChildNames(paths, path);
}

std::optional<Section> Outline::KeySection(const QString& path) const
{
    const qsizetype at = m_index.SectionOf(path);
    if (at < 0)
        return std::nullopt;
    const Place& place = m_places.at(at);
    Section section;
    section.user = true;
    section.path = place.path;
    section.header = place.header;
    for (const View body : place.bodies)
        ParseBody(section, body);
    return section;
}

FileBytes::FileBytes(const Document& document)
{
    m_pending = QByteArray(FirstLine) + Eol;
    for (const QByteArray& line : document.m_preamble)
        m_pending += line + Eol;
    for (const Section& s : document.m_sections) {
        m_pending += Eol;
        if (s.header.isEmpty())
            m_pending += FormatHeader(s.path);
        else
            m_pending += s.header;
        if (!s.changed) {
            // Each body begins with the line break before its first line. The blank lines
            // that part it from the next section are the writer's to make.
            bool dangling = false;
            for (const View body : s.bodies) {
                const View kept = WithoutTrailingBlankLines(body);
                if (kept.isEmpty())
                    continue;
                // The next body of a key given twice must not go on a value left dangling.
                if (dangling)
                    m_pending += Eol;
                Add(kept);
                dangling = EndsInContinuation(kept);
            }
            m_pending += Eol;
            continue;
        }
        m_pending += Eol;
        for (const Entry& e : s.entries) {
            // Lines read from the file go back as they were; values set here are formatted.
            if (e.raw.isEmpty())
                m_pending += FormatValue(e.name.value_or(QString()), e.value);
            else
                m_pending += e.raw;
            m_pending += Eol;
            // A damaged value left dangling on a "\" must not take the next line along
            // when the file is read again: a blank line ends it, as it did when it was read.
            if (!e.parsed && EndsInContinuation(e.raw))
                m_pending += Eol;
        }
    }
    m_pending += Eol;
    Flush();
}

void FileBytes::Add(View bytes)
{
    // Small pieces are copied into the text around them, so that the file is not written
    // in many tiny writes.
    constexpr qsizetype SmallPart = 4096;
    if (bytes.size() < SmallPart) {
        m_pending.append(bytes);
        return;
    }
    Flush();
    m_parts.append(bytes);
}

void FileBytes::Flush()
{
    if (m_pending.isEmpty())
        return;
    m_made.append(std::exchange(m_pending, QByteArray()));
    m_parts.append(m_made.back());
}

QByteArray FileBytes::Joined() const
{
    qsizetype size = 0;
    for (const View part : m_parts)
        size += part.size();
    QByteArray out;
    out.reserve(size);
    for (const View part : m_parts)
        out.append(part);
    return out;
}

QByteArray Serialise(const Document& document)
{
    return FileBytes(document).Joined();
}

} // namespace RegFile
