// SPDX-License-Identifier: MIT
// The Shift-JIS codec harness. Any bytes decode without a crash and encode back to exactly
// the same bytes; what is shown of them holds no raw-byte character. The same bytes taken
// as UTF-16, lone surrogates included, must encode to Shift-JIS that survives a decode and
// an encode unchanged, and that is valid unless the text held raw-byte characters.

#include "FuzzHarness.h"

// own
#include "platform/Cp932.h"

#include <algorithm>
#include <cstring>

namespace Fuzz {

namespace {

    constexpr const char* Name = "cp932";

    QString Hex(const QByteArray& bytes)
    {
        return QString::fromLatin1(bytes.left(64).toHex(' '));
    }

} // namespace

void RunCp932(const QByteArray& input)
{
    const QString text = Cp932::Decode(input);
    // Every character takes one or two bytes, and every byte kept raw one character.
    FUZZ_REQUIRE(Name, text.size() <= input.size() && text.size() * 2 >= input.size(),
        QStringLiteral("%1 bytes gave %2 characters").arg(input.size()).arg(text.size()));
    const QByteArray saved = Cp932::Encode(text);
    FUZZ_REQUIRE(Name, saved == input, Hex(input) + QStringLiteral(" saved as ") + Hex(saved));
    const QString shown = Cp932::ForDisplay(text);
    FUZZ_REQUIRE(Name, std::none_of(shown.cbegin(), shown.cend(), Cp932::IsRawByte), Hex(input));

    // The same bytes as UTF-16 code units (copied: libFuzzer's buffer need not be aligned).
    QString units(input.size() / 2, Qt::Uninitialized);
    std::memcpy(units.data(), input.constData(), size_t(units.size()) * 2);
    const QByteArray encoded = Cp932::Encode(units);
    const QString decoded = Cp932::Decode(encoded);
    const bool unitsHoldRawBytes = std::any_of(units.cbegin(), units.cend(), Cp932::IsRawByte);
    FUZZ_REQUIRE(Name, unitsHoldRawBytes || std::none_of(decoded.cbegin(), decoded.cend(), Cp932::IsRawByte),
        QStringLiteral("encoding gave invalid bytes ") + Hex(encoded));
    // Each character becomes one character or one "?"; a surrogate pair is one character.
    FUZZ_REQUIRE(Name, decoded.size() <= units.size(),
        QStringLiteral("%1 code units gave %2 characters").arg(units.size()).arg(decoded.size()));
    FUZZ_REQUIRE(Name, Cp932::Encode(decoded) == encoded, Hex(encoded));
}

} // namespace Fuzz
