// SPDX-License-Identifier: MIT
// The symbol tables and the three pure functions over them.

#include "game/Symbols.h"

// GoogleTest
#include <gtest/gtest.h>

using namespace Symbols;

struct SymbolCase
{
    const char* symbol;
    int kind;
    int element;
};

class SymbolTableTest : public ::testing::TestWithParam<SymbolCase>
{
};

TEST_P(SymbolTableTest, KindAndElement)
{
    const SymbolCase c = GetParam();
    const QString s = QString::fromUtf8(c.symbol);
    EXPECT_EQ(SymbolKind(s), c.kind) << c.symbol;
    EXPECT_EQ(SymbolElement(s), c.element) << c.symbol;
}

INSTANTIATE_TEST_SUITE_P(
    Symbols, SymbolTableTest,
    ::testing::Values(SymbolCase { "甲", 1, 0 }, SymbolCase { "癸", 1, 4 }, SymbolCase { "己", 1, 2 },
                      SymbolCase { "子", 2, 4 }, SymbolCase { "丑", 2, 2 }, SymbolCase { "午", 2, 1 },
                      SymbolCase { "亥", 2, 4 }, SymbolCase { "一", 3, 4 }, SymbolCase { "五", 3, 2 },
                      SymbolCase { "七", 3, 3 }, SymbolCase { "九", 3, 1 },
                      // Not a symbol: treated like the first one.
                      SymbolCase { "A", 1, 0 }, SymbolCase { "", 0, 9 }));

TEST(SymbolsTest, AlphabetBytesAreTheShiftJisOfEverySymbol)
{
    ASSERT_EQ(SymbolAlphabet.size(), SymbolCount);
    ASSERT_EQ(SymbolAlphabetBytes.size(), 2 * SymbolCount);
    // Every symbol finds its own index, and the element table has one entry per symbol.
    for (int i = 0; i < SymbolCount; ++i)
        EXPECT_EQ(SymbolIndex(SymbolAlphabet.mid(i, 1)), i);
    EXPECT_EQ(Stems.size(), 10);
    EXPECT_EQ(Branches.size(), 12);
    EXPECT_EQ(Stars, QStringLiteral("一二三四五六七八九"));
}

TEST(SymbolsTest, RelationFollowsTheCycle)
{
    EXPECT_EQ(ElementRelation(1, 0), 1); // wood generates fire
    EXPECT_EQ(ElementRelation(3, 3), 2);
    EXPECT_EQ(ElementRelation(0, 1), 3);
    EXPECT_EQ(ElementRelation(0, 2), 4);
    EXPECT_EQ(ElementRelation(0, 3), 5);
    EXPECT_EQ(ElementRelation(0, 4), 1); // water generates wood
    // Every pair of valid elements gets exactly one relation, and swapping turns 1<->3,
    // 4<->5 and keeps 2.
    const int swapped[6] = { 0, 3, 2, 1, 5, 4 };
    for (int a = 0; a < 5; ++a)
        for (int b = 0; b < 5; ++b) {
            const int r = ElementRelation(a, b);
            ASSERT_GE(r, 1);
            ASSERT_LE(r, 5);
            EXPECT_EQ(ElementRelation(b, a), swapped[r]) << a << "," << b;
        }
    // No element (an empty text) relates to nothing.
    EXPECT_EQ(ElementRelation(9, 0), 0);
}

TEST(SymbolsTest, ElementColoursSharedByTilesAndStrip)
{
    EXPECT_EQ(ElementColors[Wood], 0x00FF00u);
    EXPECT_EQ(ElementColors[Fire], 0x0000FFu);
    EXPECT_EQ(ElementColors[Earth], 0x000080u);
    EXPECT_EQ(ElementColors[Metal], 0x00FFFFu);
    EXPECT_EQ(ElementColors[Water], 0xFFFF00u);
}
