// SPDX-License-Identifier: MIT
// Reading integers from texts the way the game always has: an optional sign, decimal
// digits, or hexadecimal after "$" or "0x"/"0X". Used for points cells, tile numbers in the
// move log and the settings store's numbers. Writing them in the fixed widths the game
// shows them in.
#pragma once

// Qt
#include <QString>

#include <optional>

namespace Numbers {

// The value of text, or nothing when it is not an integer of 32 bits. Blanks before and
// after the number are skipped ("  5", the "%3d" form of tile numbers, reads as 5).
std::optional<int> ParseInteger(const QString& text);

// "%3d": right-aligned in three characters.
QString Format3d(int n);

// "%02d": at least two digits, a leading zero below 10, as the clocks show seconds,
// minutes and hours.
QString TwoDigits(qint64 n);

// A deal number as the player types it: decimal digits only (full-width ones too, as a
// Japanese input method gives them), blanks around them allowed, 0 to 4294967295. Nothing
// for anything else, an empty text included.
std::optional<quint32> ParseDealNumber(const QString& text);

} // namespace Numbers
