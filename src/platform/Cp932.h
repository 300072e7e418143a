// SPDX-License-Identifier: MIT
// Shift-JIS (code page 932), the encoding of every text the game stores: table files,
// the ranking, the settings file and the font record. Inside the program texts are QString.
//
// Decoding loses nothing: a byte that is not part of a character (an invalid byte, a lead
// byte cut off at the end) becomes a raw-byte character of its own, a code point reserved
// for it in the private use area, and encodes back to that same byte. So does each byte of a
// valid character that code page 932 would write back with other bytes (the duplicate
// NEC and IBM codes). A file read and written back unchanged is the same bytes, whatever it
// holds. Raw-byte characters are shown through ForDisplay.
#pragma once

// Qt
#include <QByteArray>
#include <QString>

namespace Cp932 {

// Byte b is kept as U+F700 + b. (The trail byte of a duplicate code may be below 0x80.)
constexpr char16_t RawByteBase = 0xF700;
constexpr bool IsRawByte(QChar c)
{
    return c.unicode() >= RawByteBase && c.unicode() <= RawByteBase + 0xFF;
}

// Raw-byte characters become their bytes; characters that code page 932 cannot hold
// become "?", as the Windows conversion does. (So does a raw byte that an edit has put
// before a byte it would make a character with: it could not read back as itself.)
QByteArray Encode(const QString& text);

// Never fails: what is not a character is kept as raw-byte characters (above).
QString Decode(const QByteArray& bytes);
QString Decode(const char* data, qsizetype size);

// The text as it is shown: raw bytes that make a character (a duplicate code) show as that
// character, every other raw byte as U+FFFD. Everything else is unchanged.
QString ForDisplay(const QString& text);
// A lead byte followed by a trail byte is one two-byte character. A trail byte may be an
// ASCII character ("\" 0x5C among them), which code reading bytes must then not take alone.
constexpr bool IsLeadByte(uchar c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
constexpr bool IsTrailByte(uchar c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

} // namespace Cp932
