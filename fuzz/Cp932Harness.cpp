// SPDX-License-Identifier: MIT
// The Shift-JIS codec harness. Any bytes decode without a crash, and a decoded text is
// stable through a save: encoding and decoding it again gives the same text (invalid
// bytes, shown as U+FFFD, come back as "?") and the same bytes. The same bytes taken as
// UTF-16, lone surrogates included, must encode to valid Shift-JIS that survives the same
// way.

#include "FuzzHarness.h"

// own
#include "platform/Cp932.h"

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
    // Every character takes one or two bytes, and every invalid byte gives one U+FFFD.
    FUZZ_REQUIRE(Name, text.size() <= input.size() && text.size() * 2 >= input.size(),
        QStringLiteral("%1 bytes gave %2 characters").arg(input.size()).arg(text.size()));
    const QByteArray saved = Cp932::Encode(text);
    const QString reread = Cp932::Decode(saved);
    FUZZ_REQUIRE(Name, reread == AsSaved(text), Hex(input) + QStringLiteral(" saved as ") + Hex(saved));
    FUZZ_REQUIRE(Name, Cp932::Encode(reread) == saved, Hex(input));

    // The same bytes as UTF-16 code units (copied: libFuzzer's buffer need not be aligned).
    QString units(input.size() / 2, Qt::Uninitialized);
    std::memcpy(units.data(), input.constData(), size_t(units.size()) * 2);
    const QByteArray encoded = Cp932::Encode(units);
    const QString decoded = Cp932::Decode(encoded);
    FUZZ_REQUIRE(Name, !decoded.contains(QChar(QChar::ReplacementCharacter)),
        QStringLiteral("encoding gave invalid bytes ") + Hex(encoded));
    // Each character becomes one character or one "?"; a surrogate pair is one character.
    FUZZ_REQUIRE(Name, decoded.size() <= units.size(),
        QStringLiteral("%1 code units gave %2 characters").arg(units.size()).arg(decoded.size()));
    FUZZ_REQUIRE(Name, Cp932::Encode(decoded) == encoded, Hex(encoded));
}

} // namespace Fuzz
