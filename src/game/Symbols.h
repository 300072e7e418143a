// SPDX-License-Identifier: MIT
// The symbol vocabulary of the game: the ten stems, twelve branches and nine stars, the
// element of each symbol, how two elements stand to each other, and the constant tables
// that go with them. Everything here is constant data or a pure function.
#pragma once

// Qt
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>

namespace Symbols {

// The 31 symbols in their fixed order; a symbol's index is its place in this text.
// Stored formats hold each symbol as its two Shift-JIS bytes.
inline const QString SymbolAlphabet = QStringLiteral(
    "甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午未申酉戌亥一二三四五六七八九");
inline const QByteArray SymbolAlphabetBytes = QByteArrayLiteral(
    "\x8D\x62\x89\xB3\x95\xB8\x92\x9A\x95\xE8\x8C\xC8\x8D\x4D\x90\x68\x90\x70\xE1\xA1"
    "\x8E\x71\x89\x4E\x93\xD0\x89\x4B\x92\x43\x96\xA4\x8C\xDF\x96\xA2\x90\x5C\x93\xD1\x9C\xFA\x88\xE5"
    "\x88\xEA\x93\xF1\x8E\x4F\x8E\x6C\x8C\xDC\x98\x5A\x8E\xB5\x94\xAA\x8B\xE3");

constexpr int SymbolCount = 31;

// Symbol kinds; 0 marks an empty text.
enum Kind : quint8 { NoKind = 0, Stem = 1, Branch = 2, Star = 3 };

// Elements in the order of the generating cycle; 9 marks an empty text.
enum Element : quint8 { Wood = 0, Fire = 1, Earth = 2, Metal = 3, Water = 4, NoElement = 9 };

constexpr std::array<quint8, SymbolCount> SymbolElements = {
    0, 0, 1, 1, 2, 2, 3, 3, 4, 4,       // stems
    4, 2, 0, 0, 2, 1, 1, 2, 3, 3, 2, 4, // branches
    4, 2, 0, 0, 2, 3, 3, 2, 1,          // stars
};

// Element colours as colour values (0x00BBGGRR), shared by tile colouring and the
// element strip.
constexpr std::array<quint32, 5> ElementColors = { 0x00FF00, 0x0000FF, 0x000080, 0x00FFFF, 0xFFFF00 };

// The button-face system colour, the face of uncoloured tiles.
constexpr quint32 ColorBtnFace = 0x8000000F;

inline const QStringList ElementNames = { QStringLiteral("木"), QStringLiteral("火"), QStringLiteral("土"),
                                          QStringLiteral("金"), QStringLiteral("水") };

// Relation names indexed by relation 0..5; only the default score tables use them.
inline const QStringList StarRelationNames = { QString(), QStringLiteral("生気"), QStringLiteral("比和"),
                                               QStringLiteral("退気"), QStringLiteral("死気"),
                                               QStringLiteral("殺気") };
inline const QStringList StemBranchRelationNames = { QString(), QStringLiteral("生気"), QStringLiteral("主気"),
                                                     QStringLiteral("洩気"), QStringLiteral("分気"),
                                                     QStringLiteral("剋気") };

// The symbols of each kind in alphabet order.
inline const QString Stems = SymbolAlphabet.mid(0, 10);
inline const QString Branches = SymbolAlphabet.mid(10, 12);
inline const QString Stars = SymbolAlphabet.mid(22, 9);

// The index 0..30 of a text, found as the alphabet's byte search finds it: the first
// occurrence of the text's Shift-JIS bytes in the alphabet's bytes. A non-empty text that
// does not occur counts as index 0 ("甲").
int SymbolIndex(const QString& text);

// 0 for an empty text, else 1 stem, 2 branch, 3 star.
quint8 SymbolKind(const QString& text);

// 9 for an empty text, else the element 0..4.
quint8 SymbolElement(const QString& text);

// How element b (second symbol) stands to element a (first symbol): 1 b generates a,
// 2 equal, 3 a generates b, 4 a overcomes b, 5 b overcomes a, 0 for arguments outside 0..4.
quint8 ElementRelation(int a, int b);

} // namespace Symbols
