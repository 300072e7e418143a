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

} // namespace Cp932
