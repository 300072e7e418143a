// SPDX-License-Identifier: MIT
// Shift-JIS (code page 932), the encoding of every text the game stores: table files,
// the ranking, the settings file and the font record. Inside the program texts are QString.
#pragma once

// Qt
#include <QByteArray>
#include <QString>

namespace Cp932 {

// Characters that code page 932 cannot hold become "?", as the Windows conversion does.
QByteArray Encode(const QString& text);

// Invalid bytes, and a lead byte cut off at the end, each decode to U+FFFD: nothing is
// dropped silently, so a damaged file shows where it is damaged.
QString Decode(const QByteArray& bytes);
QString Decode(const char* data, qsizetype size);

// A lead byte followed by a trail byte is one two-byte character. A trail byte may be an
// ASCII character ("\" 0x5C among them), which code reading bytes must then not take alone.
constexpr bool IsLeadByte(uchar c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
constexpr bool IsTrailByte(uchar c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

} // namespace Cp932
