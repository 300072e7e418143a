// SPDX-License-Identifier: MIT
// Code page 932 through iconv on POSIX (exact: Qt's ICU converter maps the control bytes
// 1A, 1C and 7F differently) and through the system conversion on Windows. Decoding goes
// through a table of what every byte and byte pair decodes to, worked out once from the
// system's converter, so that what is not a character can be kept byte for byte.

#include "platform/Cp932.h"

#include <algorithm>
#include <bitset>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <iconv.h>
#include <cerrno>
#endif

namespace Cp932 {

namespace {

// No character: the bytes are not one.
constexpr char16_t NoChar = 0xFFFF;

#ifdef Q_OS_WIN

// No best-fit guesses ("ä" as "a"): what the code page does not have is "?", as with iconv.
// A character beyond the 16-bit range (a surrogate pair) is one character and one "?", where
// the system's conversion would give one for each half; the code page has none of them.
QByteArray EncodeText(QStringView text)
{
    if (text.isEmpty())
        return {};
    QString units;
    const bool pairs = std::any_of(text.begin(), text.end(), [](QChar c) { return c.isHighSurrogate(); });
    if (pairs) {
        units.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
            units += pair ? QChar(u'?') : text[i];
            i += pair ? 1 : 0;
        }
        text = units;
    }
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    const int size = WideCharToMultiByte(932, flags, wide, int(text.size()), nullptr, 0, "?", nullptr);
    QByteArray out(size, Qt::Uninitialized);
    WideCharToMultiByte(932, flags, wide, int(text.size()), out.data(), size, "?", nullptr);
    return out;
}

// The one UTF-16 code unit that exactly these bytes decode to, or NoChar.
char16_t DecodeChar(const char* bytes, int size)
{
    wchar_t out[4];
    const int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, size, out, 4);
    return n == 1 ? char16_t(out[0]) : NoChar;
}

// True when the character encodes to exactly these two bytes.
bool EncodesTo(char16_t c, const char* bytes)
{
    const wchar_t wide = wchar_t(c);
    char out[4];
    const int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &wide, 1, out, 4, "?", nullptr);
    return n == 2 && out[0] == bytes[0] && out[1] == bytes[1];
}

#else

// One conversion descriptor per direction and thread; the game has one user-interface
// thread, and iconv descriptors are not shared with any other.
class Converter
{
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool IsValid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t Handle() const { return m_cd; }
    void Reset() { iconv(m_cd, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t m_cd;
};

Converter& ToCp932()
{
    thread_local Converter c("CP932", "UTF-8");
    return c;
}

// For one character at a time, without going through UTF-8.
Converter& CharFromCp932()
{
    thread_local Converter c("UTF-16LE", "CP932");
    return c;
}

Converter& CharToCp932()
{
    thread_local Converter c("CP932", "UTF-16LE");
    return c;
}

// Converts the whole input: the number of bytes written, or -1.
qsizetype ConvertWhole(Converter& conv, const char* in, size_t inLeft, char* out, size_t outSize)
{
    if (!conv.IsValid())
        return -1;
    conv.Reset();
    char* src = const_cast<char*>(in);
    char* dst = out;
    size_t dstLeft = outSize;
    if (iconv(conv.Handle(), &src, &inLeft, &dst, &dstLeft) == size_t(-1) || inLeft != 0)
        return -1;
    return qsizetype(dst - out);
}

QByteArray EncodeText(QStringView text)
{
    if (text.isEmpty())
        return {};
    Converter& conv = ToCp932();
    if (!conv.IsValid())
        return text.toLatin1();
    conv.Reset();

    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size());
    char buffer[256];
    char* in = const_cast<char*>(utf8.constData());
    size_t inLeft = size_t(utf8.size());
    while (inLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t rc = iconv(conv.Handle(), &in, &inLeft, &dst, &dstLeft);
        out.append(buffer, qsizetype(dst - buffer));
        if (rc != size_t(-1) || errno == E2BIG)
            continue;
        // Unmappable or malformed: write "?" for the one character and go on after it.
        out.append('?');
        const auto lead = static_cast<unsigned char>(*in);
        size_t skip = 1;
        if (lead >= 0xF0)
            skip = 4;
        else if (lead >= 0xE0)
            skip = 3;
        else if (lead >= 0xC0)
            skip = 2;
        skip = std::min(skip, inLeft);
        in += skip;
        inLeft -= skip;
        conv.Reset();
    }
    return out;
}

// The one UTF-16 code unit that exactly these bytes decode to, or NoChar. Without the
// converter (a C library without code page 932) only ASCII is read.
char16_t DecodeChar(const char* bytes, int size)
{
    Converter& conv = CharFromCp932();
    if (!conv.IsValid())
        return size == 1 && uchar(bytes[0]) < 0x80 ? char16_t(bytes[0]) : NoChar;
    uchar out[8];
    if (ConvertWhole(conv, bytes, size_t(size), reinterpret_cast<char*>(out), sizeof out) != 2)
        return NoChar;
    return char16_t(out[0] | out[1] << 8);
}

// True when the character encodes to exactly these two bytes.
bool EncodesTo(char16_t c, const char* bytes)
{
    const char in[2] = { char(c & 0xFF), char(c >> 8) };
    char out[8];
    return ConvertWhole(CharToCp932(), in, 2, out, sizeof out) == 2 && out[0] == bytes[0] && out[1] == bytes[1];
}

#endif

// What every byte, and every lead byte (0x80 and up) with every trail byte, decodes to,
// asked of the system's converter the first time it is needed: only the rows of the lead
// bytes a text uses, so that reading the first text costs next to nothing.
class Table
{
public:
    Table()
    {
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            m_single[b] = DecodeChar(&byte, 1);
        }
    }

    char16_t Single(uchar b) const { return m_single[b]; }

    struct Pair
    {
        char16_t c = NoChar; // NoChar when the two bytes are no character
        bool duplicate = false; // a character that encodes to other bytes
    };
    Pair PairOf(uchar lead, uchar trail)
    {
        Row& row = m_rows[lead - 0x80];
        if (!row.ready)
            Fill(row, lead);
        return { row.chars[trail], row.duplicate[trail] };
    }

private:
    struct Row
    {
        bool ready = false;
        char16_t chars[256];
        std::bitset<256> duplicate;
    };

    static void Fill(Row& row, uchar lead)
    {
        std::fill(std::begin(row.chars), std::end(row.chars), NoChar);
        // Trail bytes start at 0x40 in code page 932.
        for (int trail = 0x40; trail < 0x100; ++trail) {
            const char bytes[2] = { char(lead), char(trail) };
            const char16_t c = DecodeChar(bytes, 2);
            // A character in the raw-byte range would be taken for raw bytes: code page
            // 932 has none, and should a system have one, its bytes are kept raw.
            if (c == NoChar || IsRawByte(QChar(c)))
                continue;
            row.chars[trail] = c;
            row.duplicate[trail] = !EncodesTo(c, bytes);
        }
        row.ready = true;
    }

    char16_t m_single[256];
    Row m_rows[128];
};

// One table per thread, like the converters it asks.
Table& TheTable()
{
    thread_local Table table;
    return table;
}

enum class Invalid {
    KeepRaw, // each byte that is not a character becomes its raw-byte character
    Show, // becomes U+FFFD, and a duplicate code shows as its character
};

QString DecodeWith(const char* data, qsizetype size, Invalid invalid)
{
    Table& t = TheTable();
    QString out(size, Qt::Uninitialized); // never more characters than bytes
    QChar* dst = out.data();
    for (qsizetype i = 0; i < size;) {
        const auto b = uchar(data[i]);
        if (b >= 0x80 && i + 1 < size) {
            const auto trail = uchar(data[i + 1]);
            const Table::Pair pair = t.PairOf(b, trail);
            if (pair.c != NoChar) {
                if (invalid == Invalid::KeepRaw && pair.duplicate) {
                    *dst++ = QChar(RawByteBase + b);
                    *dst++ = QChar(RawByteBase + trail);
                } else {
                    *dst++ = QChar(pair.c);
                }
                i += 2;
                continue;
            }
        }
        // A single-byte character, or a byte that is none (one that cannot start a
        // character, a lead byte before a byte that cannot follow it, a lead byte at the end).
        if (t.Single(b) != NoChar)
            *dst++ = QChar(t.Single(b));
        else
            *dst++ = invalid == Invalid::KeepRaw ? QChar(RawByteBase + b) : QChar(QChar::ReplacementCharacter);
        ++i;
    }
    out.truncate(dst - out.constData());
    return out;
}

} // namespace

QByteArray Encode(const QString& text)
{
    if (std::none_of(text.cbegin(), text.cend(), IsRawByte))
        return EncodeText(text);

    // Raw bytes go back as themselves where they read back as they are: a pair that is a
    // duplicate code, or a byte that is no character on its own and makes none with the
    // byte after it, as every raw byte of a text read from a file does. A raw byte that
    // edits have put before another byte it would join (a character typed after it)
    // becomes "?", like a character code page 932 lacks.
    Table& t = TheTable();
    QByteArray out;
    int lone = -1; // a raw byte whose fate hangs on the byte after it
    auto settle = [&](int next) { // next: the byte after it, -1 at the end
        if (lone < 0)
            return;
        const bool joins = lone >= 0x80 && next >= 0 && t.PairOf(uchar(lone), uchar(next)).c != NoChar;
        out += t.Single(uchar(lone)) == NoChar && !joins ? char(lone) : '?';
        lone = -1;
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        if (!IsRawByte(text.at(i))) {
            const qsizetype end = std::find_if(text.cbegin() + i, text.cend(), IsRawByte) - text.cbegin();
            const QByteArray bytes = EncodeText(QStringView(text).sliced(i, end - i));
            settle(uchar(bytes.front()));
            out += bytes;
            i = end;
            continue;
        }
        const auto b = uchar(text.at(i).unicode() - RawByteBase);
        settle(b);
        if (b >= 0x80 && i + 1 < n && IsRawByte(text.at(i + 1))) {
            const auto trail = uchar(text.at(i + 1).unicode() - RawByteBase);
            const Table::Pair pair = t.PairOf(b, trail);
            if (pair.c != NoChar && pair.duplicate) {
                out += char(b);
                out += char(trail);
                i += 2;
                continue;
            }
        }
        lone = b;
        ++i;
    }
    settle(-1);
    return out;
}

QString Decode(const char* data, qsizetype size)
{
    if (size <= 0)
        return {};
    return DecodeWith(data, size, Invalid::KeepRaw);
}

QString Decode(const QByteArray& bytes)
{
    return Decode(bytes.constData(), bytes.size());
}

QString ForDisplay(const QString& text)
{
    if (std::none_of(text.cbegin(), text.cend(), IsRawByte))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (!IsRawByte(text.at(i))) {
            out += text.at(i++);
            continue;
        }
        // A run of raw bytes is read again as bytes, so that a duplicate code shows whole.
        QByteArray bytes;
        for (; i < text.size() && IsRawByte(text.at(i)); ++i)
            bytes += char(text.at(i).unicode() - RawByteBase);
        out += DecodeWith(bytes.constData(), bytes.size(), Invalid::Show);
    }
    return out;
}

} // namespace Cp932
