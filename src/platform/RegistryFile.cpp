// SPDX-License-Identifier: MIT
// The REGEDIT4 file backend: its parser and writer (pure, on bytes) and the file handling
// (lock, fresh read, atomic replace) around them.

#include "platform/RegistryFile.h"

// Qt
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QtEndian>

// own
#include "platform/Cp932.h"
#include "platform/SafeFile.h"
#include "platform/TextLines.h"

namespace {

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

QByteArray TrimRight(const QByteArray& line)
{
    qsizetype end = line.size();
    while (end > 0 && IsBlank(line.at(end - 1)))
        --end;
    return line.left(end);
}

void SkipBlanks(const QByteArray& line, qsizetype& pos)
{
    while (pos < line.size() && IsBlank(line.at(pos)))
        ++pos;
}

// The string whose opening quote is at pos; pos moves past its closing quote. Only \\ and
// \" are escapes; anything else after a backslash makes the line unreadable.
std::optional<QByteArray> ReadQuoted(const QByteArray& line, qsizetype& pos)
{
    if (pos >= line.size() || line.at(pos) != '"')
        return std::nullopt;
    QByteArray out;
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
std::optional<QByteArray> ParseHexBytes(const QByteArray& text)
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

struct NameAndData
{
    std::optional<QString> name;
    qsizetype dataPos = -1; // where the data begins after "=", or -1
};

// The value name and the start of the data of a value line.
NameAndData ReadName(const QByteArray& line)
{
    NameAndData r;
    qsizetype pos = 0;
    SkipBlanks(line, pos);
    if (pos >= line.size())
        return r;
    if (line.at(pos) == '@') {
        ++pos;
        r.name = QString();
    } else {
        const std::optional<QByteArray> name = ReadQuoted(line, pos);
        if (!name)
            return r;
        r.name = Cp932::Decode(*name);
    }
    SkipBlanks(line, pos);
    if (pos >= line.size() || line.at(pos) != '=')
        return r;
    ++pos;
    SkipBlanks(line, pos);
    r.dataPos = pos;
    return r;
}

bool StartsWithNoCase(const QByteArray& text, qsizetype pos, const char* word)
{
    const QByteArray w(word);
    return text.size() - pos >= w.size() && text.mid(pos, w.size()).toLower() == w;
}

std::optional<RegValue> ReadData(const QByteArray& line, qsizetype pos)
{
    const QByteArray data = TrimRight(line.mid(pos));
    if (data.startsWith('"')) {
        qsizetype p = 0;
        std::optional<QByteArray> text = ReadQuoted(data, p);
        if (!text || p != data.size())
            return std::nullopt;
        text->append('\0');
        return RegValue { quint32(RegType::Sz), *text };
    }
    if (StartsWithNoCase(data, 0, "dword:")) {
        const QByteArray digits = data.mid(6);
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
        const std::optional<QByteArray> bytes = ParseHexBytes(data.mid(p + 1));
        if (!bytes)
            return std::nullopt;
        return RegValue { type, *bytes };
    }
    return std::nullopt;
}

bool IsHexData(const QByteArray& line, qsizetype dataPos)
{
    return dataPos >= 0 && StartsWithNoCase(line, dataPos, "hex");
}

// An indented line of hex bytes that goes on with the value above it. Anything else (a
// section header, a value line, a blank line) ends the value, even one left dangling.
bool IsHexContinuation(const QByteArray& line)
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

HeaderInfo ReadHeader(const QByteArray& trimmed)
{
    HeaderInfo h;
    if (!trimmed.endsWith(']'))
        return h;
    const QString inner = Cp932::Decode(trimmed.mid(1, trimmed.size() - 2));
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

// A name the file can hold exactly: Shift-JIS can spell it and it stays on one line.
bool Representable(const QString& name)
{
    if (name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n')) || name.contains(QChar(0)))
        return false;
    return Cp932::Decode(Cp932::Encode(name)) == name;
}

} // namespace

namespace RegFile {

qsizetype Document::FindSection(const QString& path) const
{
    for (qsizetype i = 0; i < sections.size(); ++i) {
        if (sections.at(i).user && RegPath::SameName(sections.at(i).path, path))
            return i;
    }
    return -1;
}

bool Document::KeyExists(const QString& path) const
{
    if (path.isEmpty())
        return true;
    for (const Section& s : sections) {
        if (s.user && (RegPath::SameName(s.path, path) || IsUnder(s.path, path)))
            return true;
    }
    return false;
}

const Entry* Document::FindValue(const QString& path, const QString& name) const
{
    const qsizetype i = FindSection(path);
    if (i < 0)
        return nullptr;
    for (const Entry& e : sections.at(i).entries) {
        if (e.parsed && EntryNamed(e, name))
            return &e;
    }
    return nullptr;
}

QStringList Document::SubKeyNames(const QString& path) const
{
    QStringList names;
    const qsizetype skip = path.isEmpty() ? 0 : path.size() + 1;
    for (const Section& s : sections) {
        if (!s.user || !IsUnder(s.path, path))
            continue;
        const QString child = s.path.mid(skip).section(QLatin1Char('\\'), 0, 0);
        const bool known = std::any_of(
            names.cbegin(), names.cend(), [&](const QString& n) { return RegPath::SameName(n, child); });
        if (!known)
            names.append(child);
    }
    return names;
}

QStringList Document::ValueNames(const QString& path) const
{
    QStringList names;
    const qsizetype i = FindSection(path);
    if (i < 0)
        return names;
    for (const Entry& e : sections.at(i).entries) {
        if (e.parsed)
            names.append(*e.name);
    }
    return names;
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
            for (qsizetype i = 0; i < sections.size(); ++i) {
                const Section& s = sections.at(i);
                if (s.user && (RegPath::SameName(s.path, parent) || IsUnder(s.path, parent)))
                    at = i;
            }
            Section section;
            section.user = true;
            section.path = key;
            sections.insert(at < 0 ? sections.size() : at + 1, section);
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
            sections.prepend(root);
        } else {
            CreateKey(path);
        }
        si = FindSection(path);
    }
    QList<Entry>& entries = sections[si].entries;
    qsizetype at = -1;
    for (qsizetype i = 0; i < entries.size();) {
        if (EntryNamed(entries.at(i), name)) {
            if (at < 0)
                at = i;
            entries.removeAt(i);
        } else {
            ++i;
        }
    }
    Entry entry;
    entry.parsed = true;
    entry.name = name;
    entry.value = value;
    entries.insert(at < 0 ? entries.size() : at, entry);
}

bool Document::DeleteValue(const QString& path, const QString& name)
{
    if (!FindValue(path, name))
        return false;
    sections[FindSection(path)].entries.removeIf([&](const Entry& e) { return EntryNamed(e, name); });
    return true;
}

bool Document::DeleteKey(const QString& path)
{
    if (path.isEmpty())
        return false;
    return sections.removeIf([&](const Section& s) {
        return s.user && (RegPath::SameName(s.path, path) || IsUnder(s.path, path));
    }) > 0;
}

Document Parse(const QByteArray& bytes)
{
    Document doc;
    QList<QByteArray> lines;
    for (const QByteArrayView line : TextLines::Split(bytes))
        lines.append(line.toByteArray());
    bool headerSeen = false;
    qsizetype current = -1; // the section the lines belong to
    for (qsizetype li = 0; li < lines.size(); ++li) {
        const QByteArray& line = lines.at(li);
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (!headerSeen) {
            headerSeen = true;
            if (trimmed == Header)
                continue;
        }
        if (trimmed.startsWith('[')) {
            const HeaderInfo h = ReadHeader(trimmed);
            const qsizetype known = h.user ? doc.FindSection(h.path) : -1;
            if (known >= 0) {
                current = known;
            } else {
                Section s;
                s.user = h.user;
                s.path = h.path;
                s.header = line;
                doc.sections.append(s);
                current = doc.sections.size() - 1;
            }
            continue;
        }
        if (current < 0) {
            doc.preamble.append(line);
            continue;
        }
        Section& section = doc.sections[current];
        Entry entry;
        entry.raw = line;
        if (!section.user || (trimmed.at(0) != '"' && trimmed.at(0) != '@')) {
            section.entries.append(entry);
            continue;
        }
        const NameAndData nd = ReadName(line);
        entry.name = nd.name;
        QByteArray logical = line;
        bool dangling = false;
        if (IsHexData(line, nd.dataPos)) {
            // A hex value goes on over the following indented lines while a line ends in "\".
            QByteArray rest = TrimRight(line);
            logical = rest;
            while (rest.endsWith('\\')) {
                logical.chop(1);
                if (li + 1 >= lines.size() || !IsHexContinuation(lines.at(li + 1))) {
                    dangling = true;
                    break;
                }
                ++li;
                entry.raw += Eol + lines.at(li);
                rest = lines.at(li).trimmed();
                logical += rest;
            }
        }
        if (nd.name && nd.dataPos >= 0 && !dangling) {
            if (const std::optional<RegValue> value = ReadData(logical, nd.dataPos)) {
                entry.parsed = true;
                entry.value = *value;
            }
        }
        if (entry.parsed) {
            // A name given twice in a key: the later value wins, in the earlier place.
            for (Entry& e : section.entries) {
                if (e.parsed && EntryNamed(e, *entry.name)) {
                    e = entry;
                    entry.parsed = false;
                    break;
                }
            }
            if (!entry.parsed)
                continue;
        }
        section.entries.append(entry);
    }
    return doc;
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

QByteArray Serialise(const Document& document)
{
    QByteArray out = Header + Eol;
    for (const QByteArray& line : document.preamble)
        out += line + Eol;
    for (const Section& s : document.sections) {
        out += Eol;
        if (s.header.isEmpty())
            out += '[' + Cp932::Encode(KeyText(s.path)) + ']';
        else
            out += s.header;
        out += Eol;
        for (const Entry& e : s.entries) {
            // Lines read from the file go back as they were; values set here are formatted.
            out += e.raw.isEmpty() ? FormatValue(e.name.value_or(QString()), e.value) : e.raw;
            out += Eol;
            // A damaged value left dangling on a "\" must not take the next line along
            // when the file is read again: a blank line ends it, as it did when it was read.
            if (!e.parsed && TrimRight(e.raw).endsWith('\\'))
                out += Eol;
        }
    }
    out += Eol;
    return out;
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

RegistryFile::Loaded RegistryFile::Load() const
{
    Loaded loaded;
    const QFileInfo info(m_path);
    if (!info.exists())
        return loaded;
    auto fail = [&](const QString& why) {
        loaded.result
            = RegResult::Fail(RegStatus::Unreadable, QStringLiteral("Cannot read %1: %2").arg(m_path, why));
        return loaded;
    };
    if (info.isDir())
        return fail(QStringLiteral("it is a folder."));
    if (info.size() > MaxFileSize)
        return fail(QStringLiteral("the file is too large to be a settings file."));
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    loaded.document = RegFile::Parse(bytes);
    return loaded;
}

RegResult RegistryFile::Modify(const std::function<RegResult(RegFile::Document&, bool&)>& change)
{
    auto fail = [&](RegStatus status, const QString& why) {
        return RegResult::Fail(status, QStringLiteral("Cannot write %1: %2").arg(m_path, why));
    };
    // A change that finds nothing to do (a close storing the values already there) is settled
    // on a snapshot, without the lock and its synced lock file; a change that has something
    // to do is worked out again under the lock, on the file as it is then.
    if (Loaded snapshot = Load(); snapshot.result.Ok()) {
        bool changed = false;
        const RegResult r = change(snapshot.document, changed);
        if (r.Ok() && !changed)
            return r;
    }

    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        return fail(RegStatus::WriteFailed, QStringLiteral("the folder %1 cannot be created.").arg(folder));

    QLockFile lock(m_path + QStringLiteral(".lock"));
    // A writer killed between creating its lock file and writing its process id into it
    // leaves a lock nobody can prove stale but by its age. A write holds the lock for
    // milliseconds, so a lock older than a few seconds is such a leftover, and waiting the
    // library's default half minute would make the next close lose its settings.
    lock.setStaleLockTime(StaleLockMs);
    if (!lock.tryLock(LockWaitMs)) {
        if (lock.error() == QLockFile::LockFailedError)
            return fail(RegStatus::Busy, QStringLiteral("another program keeps it locked."));
        return CannotWrite(m_path, SafeFile::WhyCannotCreateIn(folder));
    }

    Loaded loaded = Load();
    if (!loaded.result.Ok())
        return loaded.result;
    bool changed = false;
    const RegResult r = change(loaded.document, changed);
    if (!r.Ok() || !changed)
        return r;

    const FileError written = SafeFile::Write(m_path, RegFile::Serialise(loaded.document));
    return written.Ok() ? RegResult::Success() : CannotWrite(m_path, written);
}

RegResult RegistryFile::OpenKey(const QString& path, RegOpen mode)
{
    if (const RegResult r = CheckPath(path); !r.Ok())
        return r;
    const Loaded loaded = Load();
    if (!loaded.result.Ok())
        return loaded.result;
    if (loaded.document.KeyExists(path))
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

RegNamesResult RegistryFile::Names(const QString& path, QStringList (RegFile::Document::*list)(const QString&) const) const
{
    if (const RegResult r = CheckPath(path); !r.Ok())
        return With<RegNamesResult>(r);
    const Loaded loaded = Load();
    if (!loaded.result.Ok())
        return With<RegNamesResult>(loaded.result);
    if (!loaded.document.KeyExists(path))
        return With<RegNamesResult>(NoKey(path));
    RegNamesResult r;
    r.names = (loaded.document.*list)(path);
    return r;
}

RegNamesResult RegistryFile::SubKeyNames(const QString& path)
{
    return Names(path, &RegFile::Document::SubKeyNames);
}

RegNamesResult RegistryFile::ValueNames(const QString& path)
{
    return Names(path, &RegFile::Document::ValueNames);
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
    const Loaded loaded = Load();
    if (!loaded.result.Ok())
        return With<RegValueResult>(loaded.result);
    if (!loaded.document.KeyExists(path))
        return With<RegValueResult>(NoKey(path));
    const RegFile::Entry* e = loaded.document.FindValue(path, name);
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
