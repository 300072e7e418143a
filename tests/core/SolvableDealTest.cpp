// SPDX-License-Identifier: MIT
// The clearable deal: its recorded solution, played as left-button picks, clears every
// board size with every choice of symbol sets; sizes that cannot be cleared fall back to
// the plain deal; and the boards it deals are varied.

#include "GameTestSupport.h"
#include "game/SolvableDeal.h"
#include "game/Symbols.h"

// GoogleTest
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

namespace {

const std::vector<GameEnd> AllCleared { GameEnd::Cleared };

class SolvableDealTest : public ::testing::Test
{
protected:
    SolvableDealTest() { Fresh(); }

    // A new game for each deal: the move log keeps its length from game to game, and a
    // thousand games in one would make every total slower to sum.
    void Fresh()
    {
        m_game = std::make_unique<Game>(host);
        host.game = m_game.get();
        tables.AttachTo(*m_game);
    }

    void Deal(int rows, int cols, int setMask, quint32 seed)
    {
        Fresh();
        host.deal = DealSettings { rows, cols, { (setMask & 1) != 0, (setMask & 2) != 0, (setMask & 4) != 0 },
            true };
        game().Seed(seed);
        game().NewGame();
    }

    Game& game() { return *m_game; }

    // Plays the recorded solution with the left button, as the player would click it, and
    // returns how many pairs went before the game ended. Stops at the first pick that does
    // not take the pair away.
    int PlaySolution()
    {
        const std::vector<SolvableDeal::Removal> solution = game().DealSolution();
        host.ends.clear();
        int played = 0;
        for (const SolvableDeal::Removal& pair : solution) {
            const int before = game().Remaining();
            game().Pick(pair.first, PickMode::Remove);
            game().Pick(pair.second, PickMode::Remove);
            ++played;
            if (!host.ends.empty())
                break;
            if (game().Remaining() != before - 2)
                break;
        }
        return played;
    }

    RecordingHost host;
    DefaultTables tables;
    std::unique_ptr<Game> m_game;
};

TEST_F(SolvableDealTest, EverySizeAndEverySetCombinationClearsToTheEnd)
{
    const int widths[] = { 4, 6, 8, 10, 12 };
    quint32 seed = 1;
    for (int rows = 3; rows <= 10; ++rows)
        for (int cols : widths)
            for (int sets = 1; sets <= 7; ++sets)
                for (int round = 0; round < 4; ++round, ++seed) {
                    Deal(rows, cols, sets, seed);
                    const QString where
                        = QStringLiteral("%1 x %2, sets %3, seed %4").arg(rows).arg(cols).arg(sets).arg(seed);
                    ASSERT_EQ(game().Remaining(), rows * cols) << qPrintable(where);
                    ASSERT_EQ(int(game().DealSolution().size()), rows * cols / 2) << qPrintable(where);
                    // Every tile, hidden ones included, shows a symbol of an enabled set.
                    for (int c = 0; c < Game::Cols; ++c)
                        for (int r = 0; r < Game::Rows; ++r) {
                            const QString caption = game().TileAt(c, r).caption;
                            ASSERT_EQ(caption.size(), 1) << qPrintable(where);
                            ASSERT_TRUE(game().SymbolPool().contains(caption)) << qPrintable(where);
                        }
                    const int pairs = PlaySolution();
                    ASSERT_EQ(pairs, rows * cols / 2) << qPrintable(where);
                    ASSERT_EQ(host.ends, AllCleared) << qPrintable(where);
                    ASSERT_EQ(game().Remaining(), 0) << qPrintable(where);
                }
}

TEST_F(SolvableDealTest, OddAndNarrowSizesClearOrFallBackToThePlainDeal)
{
    // Sizes the window does not offer still work: every even number of tiles clears, an
    // odd one cannot and is dealt as before, without a solution.
    quint32 seed = 500;
    for (int rows = 1; rows <= 10; ++rows)
        for (int cols = 1; cols <= 12; ++cols, ++seed) {
            Deal(rows, cols, 7, seed);
            const QString where = QStringLiteral("%1 x %2").arg(rows).arg(cols);
            ASSERT_EQ(game().Remaining(), rows * cols) << qPrintable(where);
            if ((rows * cols) % 2 != 0) {
                EXPECT_TRUE(game().DealSolution().empty()) << qPrintable(where);
                continue;
            }
            ASSERT_EQ(PlaySolution(), rows * cols / 2) << qPrintable(where);
            EXPECT_EQ(host.ends, AllCleared) << qPrintable(where);
        }
}

TEST_F(SolvableDealTest, WithoutTheOptionOrWithoutASetTheDealIsThePlainOne)
{
    host.deal = DealSettings { 10, 12, { true, true, true } };
    game().Seed(99);
    game().NewGame();
    EXPECT_TRUE(game().DealSolution().empty());
    const QStringList plain = Picture(game(), 10, 12);
    // The same seed with the option on deals another board, and a solution for it.
    Deal(10, 12, 7, 99);
    EXPECT_NE(Picture(game(), 10, 12), plain);
    EXPECT_FALSE(game().DealSolution().empty());
    // Laying out a board forgets the solution of the deal before.
    LayBoard(game(), { "甲乙" });
    EXPECT_TRUE(game().DealSolution().empty());

    // No set ticked: tiles without captions, as the plain deal gives them.
    Deal(4, 4, 0, 3);
    EXPECT_TRUE(game().DealSolution().empty());
    EXPECT_EQ(game().Remaining(), 16);
    EXPECT_TRUE(game().TileAt(0, 9).caption.isEmpty());
}

TEST_F(SolvableDealTest, DealsAreVariedAndDrawSymbolsLikeThePlainDeal)
{
    std::map<QString, int> symbols;
    std::array<int, 4> kinds {};
    int horizontal = 0;
    int pairs = 0;
    std::set<QStringList> boards;
    std::set<int> firstRemovals;
    const int deals = 150;
    for (int i = 0; i < deals; ++i) {
        Deal(10, 12, 7, quint32(1000 + i));
        boards.insert(Picture(game(), 10, 12));
        for (int c = 0; c < 12; ++c)
            for (int r = 0; r < 10; ++r) {
                ++symbols[game().TileAt(c, r).caption];
                ++kinds[Symbols::SymbolKind(game().TileAt(c, r).caption)];
            }
        firstRemovals.insert(game().DealSolution().front().first);
        for (const SolvableDeal::Removal& pair : game().DealSolution()) {
            ++pairs;
            horizontal += std::abs(pair.first - pair.second) == 1 ? 1 : 0;
        }
    }
    EXPECT_EQ(int(boards.size()), deals);
    EXPECT_GT(firstRemovals.size(), 10u);
    // Both pair shapes are common.
    EXPECT_GT(horizontal, pairs / 4);
    EXPECT_LT(horizontal, pairs * 3 / 4);
    // All 31 symbols turn up, and each kind about as often as its share of the pool.
    EXPECT_EQ(symbols.size(), 31u);
    const double tiles = deals * 120.0;
    EXPECT_NEAR(kinds[Symbols::Stem] / tiles, 10.0 / 31, 0.04);
    EXPECT_NEAR(kinds[Symbols::Branch] / tiles, 12.0 / 31, 0.04);
    EXPECT_NEAR(kinds[Symbols::Star] / tiles, 9.0 / 31, 0.04);
}

TEST(SolvableDealBuildTest, RefusesWhatCannotBeClearedAndLeavesTheBoardAlone)
{
    DealRandom rng(5);
    SolvableDeal::Board board;
    board.captions[0] = QStringLiteral("甲");
    EXPECT_FALSE(SolvableDeal::Build(3, 5, { Symbols::Stems }, rng, board));
    EXPECT_FALSE(SolvableDeal::Build(0, 4, { Symbols::Stems }, rng, board));
    EXPECT_FALSE(SolvableDeal::Build(11, 4, { Symbols::Stems }, rng, board));
    EXPECT_FALSE(SolvableDeal::Build(4, 14, { Symbols::Stems }, rng, board));
    EXPECT_FALSE(SolvableDeal::Build(4, 4, {}, rng, board));
    EXPECT_EQ(board.captions[0], QStringLiteral("甲"));
    EXPECT_TRUE(board.removals.empty());

    // A pair takes both symbols from one set: with stems and stars only, the two tiles of
    // every removal share a kind.
    ASSERT_TRUE(SolvableDeal::Build(10, 12, { Symbols::Stems, Symbols::Stars }, rng, board));
    for (int i = 0; i < SolvableDeal::TileCount; ++i)
        EXPECT_EQ(board.captions[size_t(i)].isEmpty(), false);
}

} // namespace
