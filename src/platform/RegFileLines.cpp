// SPDX-License-Identifier: MIT
// The REGEDIT4 line syntax: reading value and header lines, writing them (see the header).

#include "platform/RegFileLines.h"

// Qt
#include <QByteArrayView>

#include <algorithm>
#include <cstring>

// own
#include "platform/Cp932.h"

namespace {

using View = QByteArrayView;

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

// What QByteArrayView::trimmed() takes off a line besides its line break.
bool IsSpaceInLine(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

} // namespace

namespace RegFile {

QString KeyText(const QString& path)
{
    return path.isEmpty() ? Hive : Hive + QLatin1Char('\\') + path;
}

bool Representable(const QString& name)
{
    if (name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n')) || name.contains(QChar(0)))
        return false;
    return Cp932::Decode(Cp932::Encode(name)) == name;
}

Header ReadHeader(View trimmed)
{
    Header h;
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

QByteArray FormatHeader(const QString& path)
{
    return '[' + Cp932::Encode(KeyText(path)) + ']';
}

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

bool IsValueLine(View trimmed)
{
    return trimmed.at(0) == '"' || trimmed.at(0) == '@';
}

ValueLines ReadValueLines(const QList<View>& lines, qsizetype& at)
{
    const View line = lines.at(at);
    ValueLines v;
    v.raw = line.toByteArray();
    const NameAndData nd = ReadName(line);
    v.name = nd.name;
    View logical = line;
    QByteArray joined; // a hex value continued over lines, without its line breaks
    bool dangling = false;
    if (IsHexData(line, nd.dataPos)) {
        // A hex value goes on over the following indented lines while a line ends in "\".
        View rest = TrimRight(line);
        joined = rest.toByteArray();
        while (rest.endsWith('\\')) {
            joined.chop(1);
            if (at + 1 >= lines.size() || !IsHexContinuation(lines.at(at + 1))) {
                dangling = true;
                break;
            }
            ++at;
            v.raw.append(Eol).append(lines.at(at));
            rest = lines.at(at).trimmed();
            joined.append(rest);
        }
        logical = joined;
    }
    if (nd.name && nd.dataPos >= 0 && !dangling)
        v.value = ReadData(logical, nd.dataPos);
    return v;
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

bool EndsInContinuation(View text)
{
    return TrimRight(text).endsWith('\\');
}

View WithoutTrailingBlankLines(View text)
{
    qsizetype end = text.size();
    while (end > 0 && (IsSpaceInLine(text.at(end - 1)) || text.at(end - 1) == '\r' || text.at(end - 1) == '\n'))
        --end;
    if (end == 0)
        return {};
    while (end < text.size() && text.at(end) != '\r' && text.at(end) != '\n')
        ++end;
    return text.first(end);
}

} // namespace RegFile
