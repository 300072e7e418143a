// SPDX-License-Identifier: MIT
// Numbered deals: a number with the board size, the symbol sets and the clearable-deal
// choice gives one board, the same on every machine; and the generator behind it maps to a
// range without favouring any value.

#include "game/DealRandom.h"
#include "GameTestSupport.h"

// GoogleTest
#include <gtest/gtest.h>

#include <array>
#include <set>

namespace {

QStringList Deal(quint32 number, const DealSettings& settings, quint32 seed = 0)
{
    RecordingHost host;
    host.deal = settings;
    Game game(host);
    game.Seed(seed);
    game.NewGame(number);
    return Picture(game, settings.rows, settings.cols);
}

// These boards are what players share by number: a change here breaks every number ever
// given out, whatever the compiler or library.
TEST(DealNumberTest, PinnedNumbersGiveTheirBoards)
{
    EXPECT_EQ(
        Deal(1, { 3, 4, { true, false, false } }), (QStringList { "甲癸庚壬", "癸癸壬辛", "甲丁己壬" }));
    EXPECT_EQ(Deal(20240601, { 5, 8, { true, true, true } }),
        (QStringList { "八二一癸己九癸子", "九六巳甲子八五癸", "己未未酉卯壬七乙", "甲亥壬甲八丙庚辛",
            "七七辛子亥甲四一" }));
    EXPECT_EQ(Deal(4294967295u, { 4, 6, { true, true, false }, true }),
        (QStringList { "卯巳丙癸亥甲", "乙丑己卯酉癸", "辰子未巳申丑", "辛丑未癸甲乙" }));
}

// A deal without a chosen number takes a fresh one, and dealing that number again gives the
// same board (hidden tiles too), whatever the source of fresh numbers was seeded with; the
// number alone, not the size or the sets, changes between deals.
TEST(DealNumberTest, AFreshDealRepeatsFromItsNumber)
{
    RecordingHost host;
    Game game(host);
    RecordingHost otherHost;
    Game other(otherHost);
    std::set<quint32> numbers;
    for (quint32 seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        host.deal = DealSettings { int(3 + seed % 8), int(4 + 2 * (seed % 5)),
            { seed % 2 == 0, seed % 3 == 0, seed % 5 != 0 }, seed % 4 == 0 };
        otherHost.deal = host.deal;
        game.Seed(seed);
        game.NewGame();
        numbers.insert(game.DealNumber());
        EXPECT_EQ(game.DealtWith(), host.deal);
        other.Seed(seed + 1000);
        other.NewGame(game.DealNumber());
        EXPECT_EQ(other.DealNumber(), game.DealNumber());
        EXPECT_EQ(Picture(other, Game::Rows, Game::Cols), Picture(game, Game::Rows, Game::Cols));
        for (int n = 1; n <= Game::TileCount; ++n)
            ASSERT_EQ(other.TileByNumber(n).caption, game.TileByNumber(n).caption) << n;
        EXPECT_EQ(other.DealSolution().size(), game.DealSolution().size());
    }
    EXPECT_EQ(numbers.size(), 200u);
    // Neighbouring numbers give unrelated boards.
    const DealSettings big { 10, 12, { true, true, true } };
    EXPECT_NE(Deal(7, big), Deal(8, big));
}

TEST(DealRandomTest, RangesAreUnbiased)
{
    DealRandom rng(99);
    EXPECT_EQ(rng.Below(0), 0u);
    EXPECT_EQ(rng.Below(1), 0u);
    // With three quarters of 2^32 as the bound, taking the remainder of a raw draw would
    // make the lowest third of the range twice as likely as the rest: half the draws
    // instead of a third.
    const quint32 bound = 3u << 30;
    int low = 0;
    const int draws = 30000;
    for (int i = 0; i < draws; ++i) {
        const quint32 r = rng.Below(bound);
        ASSERT_LT(r, bound);
        low += r < (1u << 30) ? 1 : 0;
    }
    EXPECT_NEAR(double(low) / draws, 1.0 / 3, 0.015);

    // Weights: each index as often as its share; a zero weight never.
    std::array<int, 4> counts {};
    for (int i = 0; i < draws; ++i)
        ++counts[size_t(rng.Weighted({ 10, 0, 12, 9 }))];
    EXPECT_EQ(counts[1], 0);
    EXPECT_NEAR(counts[0] / double(draws), 10.0 / 31, 0.015);
    EXPECT_NEAR(counts[2] / double(draws), 12.0 / 31, 0.015);
    EXPECT_EQ(rng.Weighted({}), 0);
}

} // namespace
