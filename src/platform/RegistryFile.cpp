// SPDX-License-Identifier: MIT
// The REGEDIT4 file backend: its parser and writer (pure, on bytes) and the file handling
// (the kept parse, lock, fresh read, atomic replace) around them.

#include "platform/RegistryFile.h"

#include <cerrno>

// Qt
#include <QByteArrayView>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMutex>
#include <QtEndian>

#include <cstring>
#include <utility>

#ifdef Q_OS_LINUX
#include <sys/stat.h>
#endif

// own
#include "platform/Cp932.h"
#include "platform/SafeFile.h"
#include "platform/TextLines.h"

namespace {

using View = QByteArrayView;

const QByteArray Header = QByteArrayLiteral("REGEDIT4");
const QByteArray Eol = QByteArrayLiteral("\r\n");
const QString Hive = QStringLiteral("HKEY_CURRENT_USER");
// Continued hex lines stop before this column, as regedit's do.
constexpr qsizetype HexLineWidth = 77;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

View TrimRight(View line)
{
    qsizetype end = line.size();
    while (end > 0 && IsBlank(line.at(end - 1)))
        --end;
    return line.first(end);
}

void SkipBlanks(View line, qsizetype& pos)
{
    while (pos < line.size() && IsBlank(line.at(pos)))
        ++pos;
}

// The bytes between the quote at pos and its closing quote, when no escape lies between them
// (as in nearly every string); pos then moves past the closing quote.
std::optional<View> PlainQuoted(View line, qsizetype& pos)
{
    if (pos >= line.size() || line.at(pos) != '"')
        return std::nullopt;
    const qsizetype n = line.size();
    for (qsizetype i = pos + 1; i < n;) {
        const char c = line.at(i);
        if (Cp932::IsLeadByte(uchar(c)) && i + 1 < n && Cp932::IsTrailByte(uchar(line.at(i + 1)))) {
            i += 2;
        } else if (c == '\\') {
            return std::nullopt;
        } else if (c == '"') {
            const View inner = line.sliced(pos + 1, i - pos - 1);
            pos = i + 1;
            return inner;
        } else {
            ++i;
        }
    }
    return std::nullopt;
}

// The string whose opening quote is at pos; pos moves past its closing quote. Only \\ and
// \" are escapes; anything else after a backslash makes the line unreadable. The bytes
// have room for one more, the NUL a text value ends in.
std::optional<QByteArray> ReadQuoted(View line, qsizetype& pos)
{
    QByteArray out;
    out.reserve(line.size() - pos);
    if (const std::optional<View> plain = PlainQuoted(line, pos)) {
        out.append(*plain);
        return out;
    }
    if (pos >= line.size() || line.at(pos) != '"')
        return std::nullopt;
    qsizetype i = pos + 1;
    const qsizetype n = line.size();
    while (i < n) {
        const char c = line.at(i);
        if (Cp932::IsLeadByte(uchar(c)) && i + 1 < n && Cp932::IsTrailByte(uchar(line.at(i + 1)))) {
            out.append(c);
            out.append(line.at(i + 1));
            i += 2;
        } else if (c == '\\') {
            if (i + 1 >= n || (line.at(i + 1) != '\\' && line.at(i + 1) != '"'))
                return std::nullopt;
            out.append(line.at(i + 1));
            i += 2;
        } else if (c == '"') {
            pos = i + 1;
            return out;
        } else {
            out.append(c);
            ++i;
        }
    }
    return std::nullopt; // no closing quote: a truncated line
}

QByteArray Quote(const QByteArray& bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + 2);
    out.append('"');
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes.at(i);
        if (Cp932::IsLeadByte(uchar(c)) && i + 1 < n && Cp932::IsTrailByte(uchar(bytes.at(i + 1)))) {
            out.append(c);
            out.append(bytes.at(++i));
            continue;
        }
        if (c == '\\' || c == '"')
            out.append('\\');
        out.append(c);
    }
    out.append('"');
    return out;
}

// True when the text bytes (ending in their one NUL) read back from the quoted form exactly.
bool QuotedFormFits(const QByteArray& data)
{
    if (data.isEmpty() || data.back() != '\0')
        return false;
    const QByteArray body = data.left(data.size() - 1);
    if (body.contains('\0') || body.contains('\r') || body.contains('\n'))
        return false;
    const QByteArray quoted = Quote(body);
    qsizetype pos = 0;
    const std::optional<QByteArray> back = ReadQuoted(quoted, pos);
    return back && *back == body && pos == quoted.size();
}

// "01,02, ff": exactly two hex digits per byte, blanks allowed around them. Requiring
// both digits (and all eight of a dword) means a line cut short inside a number is
// refused rather than read as a different value.
std::optional<QByteArray> ParseHexBytes(View text)
{
    QByteArray out;
    qsizetype i = 0;
    const qsizetype n = text.size();
    SkipBlanks(text, i);
    if (i == n)
        return out;
    out.reserve(n / 3 + 1);
    for (;;) {
        SkipBlanks(text, i);
        if (i + 1 >= n || HexDigit(text.at(i)) < 0 || HexDigit(text.at(i + 1)) < 0)
            return std::nullopt;
        const int value = HexDigit(text.at(i)) * 16 + HexDigit(text.at(i + 1));
        i += 2;
        out.append(char(value));
        SkipBlanks(text, i);
        if (i == n)
            return out;
        if (text.at(i) != ',')
            return std::nullopt;
        ++i;
    }
}

QByteArray FormatHex(const QByteArray& head, const QByteArray& data)
{
    QByteArray out = head;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        // "xx," plus the continuation "\" must still fit on the line.
        if (i > 0 && out.size() - lineStart + 3 + 1 > HexLineWidth) {
            out.append("\\\r\n  ");
            lineStart = out.size() - 2;
        }
        out.append(QByteArray::number(uchar(data.at(i)), 16).rightJustified(2, '0'));
        if (i + 1 < data.size())
            out.append(',');
    }
    return out;
}

// Value names are nearly always plain ASCII, which code page 932 leaves as it is: those
// skip the converter, which a file of a million values would otherwise call a million times.
QString DecodeName(View bytes)
{
    const bool plain = std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return c >= 0x20 && c < 0x7F; });
    return plain ? QString::fromLatin1(bytes) : Cp932::Decode(bytes.data(), bytes.size());
}

struct NameAndData
{
    std::optional<QString> name;
    qsizetype dataPos = -1; // where the data begins after "=", or -1
};

// The value name and the start of the data of a value line.
NameAndData ReadName(View line)
{
    NameAndData r;
    qsizetype pos = 0;
    SkipBlanks(line, pos);
    if (pos >= line.size())
        return r;
    if (line.at(pos) == '@') {
        ++pos;
        r.name = QString();
    } else if (const std::optional<View> plain = PlainQuoted(line, pos)) {
        r.name = DecodeName(*plain);
    } else {
        const std::optional<QByteArray> name = ReadQuoted(line, pos);
        if (!name)
            return r;
        r.name = DecodeName(*name);
    }
    SkipBlanks(line, pos);
    if (pos >= line.size() || line.at(pos) != '=')
        return r;
    ++pos;
    SkipBlanks(line, pos);
    r.dataPos = pos;
    return r;
}

bool StartsWithNoCase(View text, qsizetype pos, View word)
{
    return text.size() - pos >= word.size() && text.sliced(pos, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

std::optional<RegValue> ReadData(View line, qsizetype pos)
{
    const View data = TrimRight(line.sliced(pos));
    if (data.startsWith('"')) {
        qsizetype p = 0;
        std::optional<QByteArray> text = ReadQuoted(data, p);
        if (!text || p != data.size())
            return std::nullopt;
        text->append('\0');
        return RegValue { quint32(RegType::Sz), *text };
    }
    if (StartsWithNoCase(data, 0, "dword:")) {
        const View digits = data.sliced(6);
        if (digits.size() != 8)
            return std::nullopt;
        quint32 n = 0;
        for (const char c : digits) {
            if (HexDigit(c) < 0)
                return std::nullopt;
            n = n * 16 + quint32(HexDigit(c));
        }
        return RegValue::Dword(n);
    }
    if (StartsWithNoCase(data, 0, "hex")) {
        qsizetype p = 3;
        quint32 type = quint32(RegType::Binary);
        if (p < data.size() && data.at(p) == '(') {
            const qsizetype close = data.indexOf(')', p);
            if (close < 0 || close - p - 1 < 1 || close - p - 1 > 8)
                return std::nullopt;
            type = 0;
            for (qsizetype i = p + 1; i < close; ++i) {
                if (HexDigit(data.at(i)) < 0)
                    return std::nullopt;
                type = type * 16 + quint32(HexDigit(data.at(i)));
            }
            p = close + 1;
        }
        if (p >= data.size() || data.at(p) != ':')
            return std::nullopt;
        const std::optional<QByteArray> bytes = ParseHexBytes(data.sliced(p + 1));
        if (!bytes)
            return std::nullopt;
        return RegValue { type, *bytes };
    }
    return std::nullopt;
}

bool IsHexData(View line, qsizetype dataPos)
{
    return dataPos >= 0 && StartsWithNoCase(line, dataPos, "hex");
}

// An indented line of hex bytes that goes on with the value above it. Anything else (a
// section header, a value line, a blank line) ends the value, even one left dangling.
bool IsHexContinuation(View line)
{
    if (line.isEmpty() || !IsBlank(line.at(0)) || line.trimmed().isEmpty())
        return false;
    return std::all_of(line.cbegin(), line.cend(),
        [](char c) { return HexDigit(c) >= 0 || c == ',' || c == '\\' || IsBlank(c); });
}

struct HeaderInfo
{
    bool user = false;
    QString path;
};

HeaderInfo ReadHeader(View trimmed)
{
    HeaderInfo h;
    if (!trimmed.endsWith(']'))
        return h;
    const QString inner = Cp932::Decode(trimmed.data() + 1, trimmed.size() - 2);
    if (!inner.startsWith(Hive, Qt::CaseInsensitive))
        return h;
    const QString rest = inner.mid(Hive.size());
    if (rest.isEmpty()) {
        h.user = true;
        return h;
    }
    if (rest.at(0) != QLatin1Char('\\') || !RegPath::Split(rest.mid(1)) || rest.size() == 1)
        return h;
    h.user = true;
    h.path = rest.mid(1);
    return h;
}

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

QString KeyText(const QString& path)
{
    return path.isEmpty() ? Hive : Hive + QLatin1Char('\\') + path;
}

// What QByteArrayView::trimmed() takes off a line besides its line break.
bool IsSpaceInLine(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// The file cut at its section headers: the lines before the first header, then each header
// line with the lines up to the next header. A header is a line whose first character but
// blanks is "[": nothing else can start with it, not even the continuation of a hex value,
// so the headers are found without reading the lines between them.
struct Cut
{
    struct Part
    {
        View header; // the whole line, without its line break
        View body;
    };
    View head;
    QList<Part> parts;
};

Cut CutAtHeaders(const QByteArray& bytes)
{
    Cut cut;
    const char* const d = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype bodyStart = 0;
    auto endBody = [&](qsizetype at) {
        const View body(d + bodyStart, at - bodyStart);
        if (cut.parts.isEmpty())
            cut.head = body;
        else
            cut.parts.back().body = body;
    };
    qsizetype from = 0;
    while (from < n) {
        const auto* hit = static_cast<const char*>(std::memchr(d + from, '[', size_t(n - from)));
        if (!hit)
            break;
        const qsizetype bracket = hit - d;
        qsizetype lineStart = bracket;
        while (lineStart > 0 && IsSpaceInLine(d[lineStart - 1]))
            --lineStart;
        if (lineStart > 0 && d[lineStart - 1] != '\r' && d[lineStart - 1] != '\n') {
            from = bracket + 1; // inside a line: a text or a damaged line
            continue;
        }
        endBody(lineStart);
        qsizetype lineEnd = bracket;
        while (lineEnd < n && d[lineEnd] != '\r' && d[lineEnd] != '\n')
            ++lineEnd;
        cut.parts.append({ View(d + lineStart, lineEnd - lineStart), View() });
        bodyStart = lineEnd;
        if (bodyStart < n && d[bodyStart] == '\r')
            ++bodyStart;
        if (bodyStart < n && d[bodyStart] == '\n')
            ++bodyStart;
        from = bodyStart;
    }
    endBody(n);
    return cut;
}

// A name the file can hold exactly: Shift-JIS can spell it and it stays on one line.
bool Representable(const QString& name)
{
    if (name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n')) || name.contains(QChar(0)))
        return false;
    return Cp932::Decode(Cp932::Encode(name)) == name;
}

// A section's lines up to the end of the last that is not blank: the blank lines that part
// it from the next section are the writer's to make.
View Content(View body)
{
    qsizetype end = body.size();
    while (end > 0 && (IsSpaceInLine(body.at(end - 1)) || body.at(end - 1) == '\r' || body.at(end - 1) == '\n'))
        --end;
    if (end == 0)
        return {};
    while (end < body.size() && body.at(end) != '\r' && body.at(end) != '\n')
        ++end;
    return body.first(end);
}

View LastLine(View text)
{
    qsizetype start = text.size();
    while (start > 0 && text.at(start - 1) != '\r' && text.at(start - 1) != '\n')
        --start;
    return text.sliced(start);
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

} // namespace RegFile

namespace {

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
        if (std::exchange(first, false) && trimmed == View(Header))
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
        entry.raw = line.toByteArray();
        if (!section.user || (trimmed.at(0) != '"' && trimmed.at(0) != '@')) {
            section.entries.append(std::move(entry));
            continue;
        }
        const NameAndData nd = ReadName(line);
        entry.name = nd.name;
        View logical = line;
        QByteArray joined; // a hex value continued over lines, without its line breaks
        bool dangling = false;
        if (IsHexData(line, nd.dataPos)) {
            // A hex value goes on over the following indented lines while a line ends in "\".
            View rest = TrimRight(line);
            joined = rest.toByteArray();
            while (rest.endsWith('\\')) {
                joined.chop(1);
                if (li + 1 >= lines.size() || !IsHexContinuation(lines.at(li + 1))) {
                    dangling = true;
                    break;
                }
                ++li;
                entry.raw.append(Eol).append(lines.at(li));
                rest = lines.at(li).trimmed();
                joined.append(rest);
            }
            logical = joined;
        }
        if (nd.name && nd.dataPos >= 0 && !dangling) {
            if (std::optional<RegValue> value = ReadData(logical, nd.dataPos)) {
                entry.parsed = true;
                entry.value = std::move(*value);
            }
        }
        if (entry.parsed) {
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
        const HeaderInfo h = ReadHeader(part.header.trimmed());
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
        const HeaderInfo h = ReadHeader(part.header.trimmed());
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

QByteArray FormatValue(const QString& name, const RegValue& value)
{
    QByteArray out = name.isEmpty() ? QByteArrayLiteral("@") : Quote(Cp932::Encode(name));
    out.append('=');
    if (value.type == quint32(RegType::Sz) && QuotedFormFits(value.data))
        return out + Quote(value.data.left(value.data.size() - 1));
    if (const std::optional<quint32> n = value.ToDword())
        return out + "dword:" + QByteArray::number(*n, 16).rightJustified(8, '0');
    if (value.type == quint32(RegType::Binary))
        return FormatHex(out + "hex:", value.data);
    return FormatHex(out + "hex(" + QByteArray::number(value.type, 16) + "):", value.data);
}

FileBytes::FileBytes(const Document& document)
{
    m_pending = Header + Eol;
    for (const QByteArray& line : document.m_preamble)
        m_pending += line + Eol;
    for (const Section& s : document.m_sections) {
        m_pending += Eol;
        if (s.header.isEmpty())
            m_pending += '[' + Cp932::Encode(KeyText(s.path)) + ']';
        else
            m_pending += s.header;
        if (!s.changed) {
            // Each body begins with the line break before its first line.
            bool dangling = false;
            for (const View body : s.bodies) {
                const View kept = Content(body);
                if (kept.isEmpty())
                    continue;
                // The next body of a key given twice must not go on a value left dangling.
                if (dangling)
                    m_pending += Eol;
                Add(kept);
                dangling = TrimRight(LastLine(kept)).endsWith('\\');
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
            if (!e.parsed && TrimRight(e.raw).endsWith('\\'))
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

RegistryFile::RegistryFile(const QString& filePath)
    : m_path(filePath)
{
}

namespace {

RegResult CheckPath(const QString& path)
{
    const std::optional<QStringList> names = RegPath::Split(path);
    if (!names || !std::all_of(names->cbegin(), names->cend(), Representable))
        return RegResult::Fail(
            RegStatus::InvalidName, QStringLiteral("\"%1\" is not a valid key path.").arg(path));
    return RegResult::Success();
}

RegResult CheckValueName(const QString& path, const QString& name)
{
    RegResult r = CheckPath(path);
    if (r.Ok() && (name.size() > 16383 || !Representable(name)))
        r = RegResult::Fail(
            RegStatus::InvalidName, QStringLiteral("\"%1\" is not a valid value name.").arg(name));
    return r;
}

RegResult NoKey(const QString& path)
{
    return RegResult::Fail(
        RegStatus::NotFound, QStringLiteral("The key %1 does not exist.").arg(KeyText(path)));
}

RegResult NoValue(const QString& path, const QString& name)
{
    return RegResult::Fail(RegStatus::NotFound,
        QStringLiteral("The value \"%1\" does not exist in %2.").arg(name, KeyText(path)));
}

RegResult CannotWrite(const QString& path, const FileError& why)
{
    return RegResult::Fail(
        RegStatus::WriteFailed, QStringLiteral("設定ファイル %1 に書き込めませんでした（%2）").arg(path, why.Reason()));
}

template <typename T> T With(const RegResult& r)
{
    T t;
    static_cast<RegResult&>(t) = r;
    return t;
}

} // namespace

// One version of the file and its parse.
struct RegistryFile::Snapshot
{
    // What tells one version of a file from another without reading it.
    struct Stamp
    {
        bool exists = false;
        bool folder = false;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        qint64 changedNs = 0; // the status change time, which no program can set back
        quint64 inode = 0;

        friend bool operator==(const Stamp&, const Stamp&) = default;
    };

    Stamp stamp;
    qint64 readNs = 0; // when the stamp was taken
    QByteArray bytes;
    RegFile::Outline outline;

    // A file changed within the coarseness of file times before it was read can change
    // again without its stamp showing it.
    bool ChangedJustBeforeRead() const
    {
        return qMax(stamp.modifiedNs, stamp.changedNs) >= readNs - RecentChangeMs * 1000000;
    }

    // The key's section, parsed at its first read and kept. Snapshots are shared between
    // threads, hence the lock.
    std::optional<RegFile::Section> KeySection(const QString& path) const
    {
        const QMutexLocker locker(&mutex);
        auto known = sections.constFind(RegFile::NameKey { path });
        if (known == sections.cend())
            known = sections.insert(RegFile::NameKey { path }, outline.KeySection(path));
        return *known;
    }

private:
    mutable QMutex mutex;
    mutable QHash<RegFile::NameKey, std::optional<RegFile::Section>> sections;
};

namespace {

using Snapshot = RegistryFile::Snapshot;

qint64 NowNs()
{
    return QDateTime::currentMSecsSinceEpoch() * 1000000;
}

Snapshot::Stamp StampOf(const QString& path)
{
    Snapshot::Stamp st;
#ifdef Q_OS_LINUX
    struct stat buf {};
    if (::stat(QFile::encodeName(path).constData(), &buf) != 0)
        return st;
    st.exists = true;
    st.folder = S_ISDIR(buf.st_mode);
    st.size = buf.st_size;
    st.modifiedNs = qint64(buf.st_mtim.tv_sec) * 1000000000 + buf.st_mtim.tv_nsec;
    st.changedNs = qint64(buf.st_ctim.tv_sec) * 1000000000 + buf.st_ctim.tv_nsec;
    st.inode = buf.st_ino;
#else
    const QFileInfo info(path);
    if (!info.exists())
        return st;
    st.exists = true;
    st.folder = info.isDir();
    st.size = info.size();
    st.modifiedNs = info.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch() * 1000000;
    st.changedNs = info.fileTime(QFileDevice::FileMetadataChangeTime).toMSecsSinceEpoch() * 1000000;
#endif
    return st;
}

// The latest outline of a file, shared by every RegistryFile of the process: the game opens
// the store again for each group of reads, each time through a new object.
struct SharedParse
{
    QMutex mutex;
    QString path;
    std::shared_ptr<const Snapshot> snapshot;
};

SharedParse& Shared()
{
    static SharedParse shared;
    return shared;
}

std::shared_ptr<const Snapshot> SharedFor(const QString& path, const Snapshot::Stamp& stamp)
{
    SharedParse& shared = Shared();
    const QMutexLocker locker(&shared.mutex);
    if (shared.snapshot && shared.path == path && shared.snapshot->stamp == stamp)
        return shared.snapshot;
    return nullptr;
}

void Share(const QString& path, const std::shared_ptr<const Snapshot>& snapshot)
{
    SharedParse& shared = Shared();
    const QMutexLocker locker(&shared.mutex);
    shared.path = path;
    shared.snapshot = snapshot;
}

// Lets go of what was kept of the file at path.
void Unshare(const QString& path)
{
    SharedParse& shared = Shared();
    const QMutexLocker locker(&shared.mutex);
    if (shared.path == path)
        shared.snapshot.reset();
}

// The file's bytes, or nothing when it cannot be read. When they are the bytes of known
// they are known's buffer: a file read again unchanged (under the lock of a change, or
// changed moments before its last read) is never held twice.
std::optional<QByteArray> ReadBytes(QFile& file, const QByteArray* known, qint64 size)
{
    if (!known) {
        QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return std::nullopt;
        return bytes;
    }
    constexpr qint64 Piece = 1024 * 1024;
    QByteArray piece(qMin(Piece, qMax<qint64>(size, 1)), Qt::Uninitialized);
    QByteArray out;
    qsizetype matched = 0;
    bool same = true;
    for (;;) {
        const qint64 n = file.read(piece.data(), piece.size());
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        if (same && matched + n <= known->size() && std::memcmp(known->constData() + matched, piece.constData(), size_t(n)) == 0) {
            matched += n;
            continue;
        }
        if (same) {
            same = false;
            out.reserve(qMax<qint64>(size, matched + n));
            out.append(known->constData(), matched);
        }
        out.append(piece.constData(), n);
    }
    if (!same)
        return out;
    return matched == known->size() ? *known : known->left(matched);
}

} // namespace

RegistryFile::Loaded RegistryFile::Load(bool forChange) const
{
    Loaded loaded;
    const qint64 now = NowNs();
    const Snapshot::Stamp stamp = StampOf(m_path);
    if (!stamp.exists) {
        loaded.snapshot = std::make_shared<const Snapshot>();
        return loaded;
    }
    auto fail = [&](const QString& why) {
        loaded.result
            = RegResult::Fail(RegStatus::Unreadable, QStringLiteral("%1 を読めません（%2）").arg(m_path, why));
        return loaded;
    };
    if (stamp.folder)
        return fail(FileError::Of(FileError::Kind::FolderInTheWay).Reason());
    if (stamp.size > MaxFileSize)
        return fail(QStringLiteral("設定ファイルとしては大きすぎます"));

    std::shared_ptr<const Snapshot> known
        = m_snapshot && m_snapshot->stamp == stamp ? m_snapshot : SharedFor(m_path, stamp);
    if (known && !forChange && !known->ChangedJustBeforeRead()) {
        m_snapshot = known;
        loaded.snapshot = known;
        return loaded;
    }
    if (!known) {
        // The file changed: what was kept of its last version goes before the new one is
        // read, so that a large file is not held twice.
        m_snapshot.reset();
        Unshare(m_path);
    }
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(FileError::FromErrno(errno).Reason());
    auto fresh = std::make_shared<Snapshot>();
    std::optional<QByteArray> bytes = ReadBytes(file, known ? &known->bytes : nullptr, stamp.size);
    if (!bytes)
        return fail(FileError::Of(FileError::Kind::Io).Reason());
    fresh->bytes = std::move(*bytes);
    fresh->stamp = stamp;
    fresh->readNs = now;
    const bool same = known && known->bytes.constData() == fresh->bytes.constData();
    fresh->outline = same ? known->outline : RegFile::Outline(fresh->bytes);
    m_snapshot = fresh;
    Share(m_path, fresh);
    loaded.snapshot = fresh;
    if (forChange)
        loaded.document = RegFile::Parse(fresh->bytes);
    return loaded;
}

RegResult RegistryFile::Modify(const std::function<RegResult(RegFile::Document&, bool&)>& change)
{
    auto fail = [&](RegStatus status, const QString& why) {
        return RegResult::Fail(status, QStringLiteral("%1 に書き込めません（%2）").arg(m_path, why));
    };
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        return fail(RegStatus::WriteFailed, QStringLiteral("フォルダー %1 を作れません").arg(folder));

    QLockFile lock(m_path + QStringLiteral(".lock"));
    // A writer killed between creating its lock file and writing its process id into it
    // leaves a lock nobody can prove stale but by its age. A write holds the lock for
    // milliseconds, so a lock older than a few seconds is such a leftover, and waiting the
    // library's default half minute would make the next close lose its settings.
    lock.setStaleLockTime(StaleLockMs);
    if (!lock.tryLock(LockWaitMs)) {
        if (lock.error() == QLockFile::LockFailedError)
            return fail(RegStatus::Busy, QStringLiteral("他のプログラムが使用中です"));
        return CannotWrite(m_path, SafeFile::WhyCannotCreateIn(folder));
    }

    // Under the lock the bytes are always read: the change is made on the file as it is.
    // The file replaced below gets a new stamp, so no outline of the old one is used again.
    Loaded loaded = Load(true);
    if (!loaded.result.Ok())
        return loaded.result;
    bool changed = false;
    const RegResult r = change(loaded.document, changed);
    if (!r.Ok() || !changed)
        return r;

    const FileError written = SafeFile::WriteParts(m_path, RegFile::FileBytes(loaded.document).Parts());
    if (!written.Ok())
        return CannotWrite(m_path, written);
    // What was kept of the file replaced is of no more use: its bytes need not wait in
    // memory for the next read.
    loaded = {};
    m_snapshot.reset();
    Unshare(m_path);
    return RegResult::Success();
}

RegResult RegistryFile::OpenKey(const QString& path, RegOpen mode)
{
    if (const RegResult r = CheckPath(path); !r.Ok())
        return r;
    const Loaded loaded = Load();
    if (!loaded.result.Ok())
        return loaded.result;
    if (loaded.snapshot->outline.KeyExists(path))
        return RegResult::Success();
    if (mode == RegOpen::Existing)
        return NoKey(path);
    return Modify([&](RegFile::Document& doc, bool& changed) {
        if (!doc.KeyExists(path)) {
            doc.CreateKey(path);
            changed = true;
        }
        return RegResult::Success();
    });
}

RegistryFile::Loaded RegistryFile::LoadWithKey(const QString& path) const
{
    Loaded loaded = Load();
    if (loaded.result.Ok() && !loaded.snapshot->outline.KeyExists(path))
        loaded.result = NoKey(path);
    return loaded;
}

RegNamesResult RegistryFile::SubKeyNames(const QString& path)
{
    if (const RegResult r = CheckPath(path); !r.Ok())
        return With<RegNamesResult>(r);
    const Loaded loaded = LoadWithKey(path);
    if (!loaded.result.Ok())
        return With<RegNamesResult>(loaded.result);
    RegNamesResult r;
    r.names = loaded.snapshot->outline.SubKeyNames(path);
    return r;
}

RegNamesResult RegistryFile::ValueNames(const QString& path)
{
    if (const RegResult r = CheckPath(path); !r.Ok())
        return With<RegNamesResult>(r);
    const Loaded loaded = LoadWithKey(path);
    if (!loaded.result.Ok())
        return With<RegNamesResult>(loaded.result);
    RegNamesResult r;
    if (const std::optional<RegFile::Section> section = loaded.snapshot->KeySection(path))
        r.names = section->ValueNames();
    return r;
}

RegResult RegistryFile::DeleteKey(const QString& path)
{
    if (const RegResult r = CheckPath(path); !r.Ok())
        return r;
    if (path.isEmpty())
        return RegResult::Fail(
            RegStatus::AccessDenied, QStringLiteral("%1 itself cannot be deleted.").arg(Hive));
    return Modify([&](RegFile::Document& doc, bool& changed) {
        changed = doc.DeleteKey(path);
        return changed ? RegResult::Success() : NoKey(path);
    });
}

RegValueResult RegistryFile::ReadValue(const QString& path, const QString& name)
{
    if (const RegResult r = CheckValueName(path, name); !r.Ok())
        return With<RegValueResult>(r);
    const Loaded loaded = LoadWithKey(path);
    if (!loaded.result.Ok())
        return With<RegValueResult>(loaded.result);
    const std::optional<RegFile::Section> section = loaded.snapshot->KeySection(path);
    const RegFile::Entry* e = section ? section->FindValue(name) : nullptr;
    if (!e)
        return With<RegValueResult>(NoValue(path, name));
    RegValueResult r;
    r.value = e->value;
    return r;
}

RegResult RegistryFile::WriteValue(const QString& path, const QString& name, const RegValue& value)
{
    if (const RegResult r = CheckValueName(path, name); !r.Ok())
        return r;
    // Storing the value already there (a close storing what it read) takes no lock.
    if (const RegValueResult now = ReadValue(path, name); now.Ok() && now.value == value)
        return RegResult::Success();
    return Modify([&](RegFile::Document& doc, bool& changed) {
        if (!doc.KeyExists(path))
            return NoKey(path);
        const RegFile::Entry* old = doc.FindValue(path, name);
        if (old && old->value == value)
            return RegResult::Success();
        doc.SetValue(path, name, value);
        changed = true;
        return RegResult::Success();
    });
}

RegResult RegistryFile::DeleteValue(const QString& path, const QString& name)
{
    if (const RegResult r = CheckValueName(path, name); !r.Ok())
        return r;
    return Modify([&](RegFile::Document& doc, bool& changed) {
        if (!doc.KeyExists(path))
            return NoKey(path);
        changed = doc.DeleteValue(path, name);
        return changed ? RegResult::Success() : NoValue(path, name);
    });
}

RegResult RegistryFile::CheckWritable()
{
    const QFileInfo info(m_path);
    FileError why;
    if (info.isDir())
        why = FileError::Of(FileError::Kind::FolderInTheWay);
    else if (info.exists() && !info.isWritable())
        why = FileError::Of(FileError::Kind::AccessDenied); // SafeFile::Write refuses it
    else
        why = SafeFile::CheckCanCreateIn(info.absolutePath());
    if (why.Ok())
        return RegResult::Success();
    return RegResult::Fail(RegStatus::WriteFailed, QStringLiteral("%1 に書き込めません（%2）").arg(m_path, why.Reason()));
}

QList<RegResult> RegistryFile::WriteValues(const QList<RegWrite>& writes)
{
    QList<RegResult> results(writes.size());
    QList<qsizetype> pending; // the writes the file does not hold yet
    for (qsizetype i = 0; i < writes.size(); ++i) {
        const RegWrite& w = writes.at(i);
        results[i] = CheckValueName(w.path, w.name);
        if (!results.at(i).Ok())
            continue;
        // Storing the value already there takes no lock.
        if (const RegValueResult now = ReadValue(w.path, w.name); now.Ok() && now.value == w.value)
            continue;
        pending.append(i);
    }
    if (pending.isEmpty())
        return results;
    const RegResult r = Modify([&](RegFile::Document& doc, bool& changed) {
        for (const qsizetype i : std::as_const(pending)) {
            const RegWrite& w = writes.at(i);
            if (!doc.KeyExists(w.path)) {
                doc.CreateKey(w.path);
                changed = true;
            }
            const RegFile::Entry* old = doc.FindValue(w.path, w.name);
            if (old && old->value == w.value)
                continue;
            doc.SetValue(w.path, w.name, w.value);
            changed = true;
        }
        return RegResult::Success();
    });
    // One file holds them all: they are written together or not at all.
    if (!r.Ok()) {
        for (const qsizetype i : std::as_const(pending))
            results[i] = r;
    }
    return results;
}
