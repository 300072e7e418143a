// SPDX-License-Identifier: MIT
#include "game/Symbols.h"

// Qt
#include <QStringEncoder>

namespace Symbols {

namespace {

// Shift-JIS bytes of a text that is not a single symbol. The game logic links Qt Core
// only, so it uses Qt's own Shift-JIS encoder here; only odd texts (edited table cells)
// ever take this path, and for them only the byte search below needs the bytes.
QByteArray ShiftJisBytes(const QString& text)
{
    QStringEncoder encoder("Shift_JIS");
    if (!encoder.isValid())
        return text.toLatin1();
    return encoder.encode(text);
}

} // namespace

int SymbolIndex(const QString& text)
{
    // Every symbol occurs in the alphabet's bytes only at its own even-aligned place, so a
    // single symbol character finds its index directly.
    if (text.size() == 1) {
        const int i = int(SymbolAlphabet.indexOf(text.at(0)));
        if (i >= 0)
            return i;
    }
    const QByteArray bytes = ShiftJisBytes(text);
    if (bytes.isEmpty())
        return 0;
    const qsizetype p = SymbolAlphabetBytes.indexOf(bytes) + 1; // 1-based, 0 when absent
    return int((p - 1) / 2);                                   // truncates toward zero
}

quint8 SymbolKind(const QString& text)
{
    if (text.isEmpty())
        return NoKind;
    const int i = SymbolIndex(text);
    if (i <= 9)
        return Stem;
    if (i <= 21)
        return Branch;
    return Star;
}

quint8 SymbolElement(const QString& text)
{
    if (text.isEmpty())
        return NoElement;
    return SymbolElements[size_t(SymbolIndex(text))];
}

quint8 ElementRelation(int a, int b)
{
    // Truncating remainder, as the game always computed it: arguments outside 0..4 can give
    // a negative d, which matches no rule.
    const int d = (b - a + 5) % 5;
    if (d == 4)
        return 1;
    if (a == b)
        return 2;
    if (d == 1)
        return 3;
    if (d == 2)
        return 4;
    if (d == 3)
        return 5;
    return 0;
}

} // namespace Symbols
