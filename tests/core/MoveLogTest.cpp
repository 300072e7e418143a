// SPDX-License-Identifier: MIT
// Scoring a pair from its score table, the points total, and undo of every kind of move,
// checked against the dealt board as an oracle.

#include "GameTestSupport.h"
#include "game/Numbers.h"
#include "game/Symbols.h"

// GoogleTest
#include <gtest/gtest.h>

#include <random>

namespace {

class MoveLogTest : public ::testing::Test
{
protected:
    MoveLogTest()
    {
        host.game = &game;
        tables.AttachTo(game);
        game.Seed(11);
    }

    void Left(int col, int row) { game.TileMouseDown(Game::TileNumber(col, row), 0, ShiftState::ssLeft); }

    RecordingHost host;
    Game game { host };
    DefaultTables tables;
};

TEST_F(MoveLogTest, TheOrderedPairDecidesTheRow)
{
    LayBoard(game, { "乙一一", "丙丙一", "甲甲一" });
    Left(0, 8); // 丙 then 甲: wood generates fire
    Left(0, 9);
    EXPECT_EQ(game.MoveLog().Cell(2, 1), QStringLiteral("5"));
    EXPECT_EQ(game.MoveLog().Cell(3, 1), QStringLiteral("生気"));
    EXPECT_EQ(host.pointsLabel, QStringLiteral("ポイント：  5  ")); // the lookup's two blanks
    Left(1, 9); // 甲 then 丙: fire drains wood
    Left(1, 8);
    EXPECT_EQ(game.MoveLog().Cell(2, 2), QStringLiteral("0"));
    EXPECT_EQ(game.MoveLog().Cell(3, 2), QStringLiteral("洩気"));
    EXPECT_EQ(game.PointsTotal(), 5);
}

TEST_F(MoveLogTest, PairMissingFromAnEditedTableScoresNothing)
{
    tables.stems.SetRowCount(2); // keeps only 甲甲
    LayBoard(game, { "甲乙一", "甲乙一" });
    Left(1, 8);
    Left(1, 9);
    EXPECT_EQ(game.MoveLog().Cell(2, 1), QString());
    EXPECT_EQ(game.MoveLog().Cell(3, 1), QString());
    Left(0, 8);
    Left(0, 9);
    EXPECT_EQ(game.MoveLog().Cell(2, 2), QStringLiteral("3"));
    EXPECT_EQ(game.PointsTotal(), 3);
}

TEST_F(MoveLogTest, TotalsNegativePointsAndSkipsTextsThatAreNoNumber)
{
    TextGrid& log = game.MoveLog();
    log.SetCell(2, 1, QStringLiteral("-5"));
    EXPECT_EQ(game.PointsTotal(), -5);
    EXPECT_EQ(Numbers::Format3d(game.PointsTotal()), QStringLiteral(" -5"));
    log.SetCell(2, 2, QStringLiteral("abc"));
    log.SetCell(2, 3, QStringLiteral("12"));
    EXPECT_EQ(game.PointsTotal(), 7);
}

TEST_F(MoveLogTest, UndoRightAfterADealOnlyBeeps)
{
    game.NewGame();
    Left(0, 9);
    const QList<int> selection = game.Selection();
    game.ReBtnClick();
    EXPECT_EQ(host.beeps, 1);
    EXPECT_EQ(game.Selection(), selection);
    EXPECT_EQ(game.Remaining(), 12);
}

TEST_F(MoveLogTest, UndoOfAVerticalPairAtTheTopOfAFullColumn)
{
    host.deal = { 10, 2, { true, false, false } };
    game.NewGame();
    const QStringList dealt = Picture(game, 10, 2);
    Left(0, 0);
    Left(0, 1);
    ASSERT_FALSE(game.TileAt(0, 1).visible);
    game.ReBtnClick();
    EXPECT_EQ(Picture(game, 10, 2), dealt);
    EXPECT_EQ(game.Remaining(), 20);
    EXPECT_EQ(game.MoveRow(), 1);
    EXPECT_EQ(game.MoveLog().RowCount(), Game::LogDesignRows);
    EXPECT_EQ(host.remainingLabel, QStringLiteral("　残：20 　"));
    EXPECT_EQ(host.pointsLabel, QStringLiteral("ポイント：  0 "));
}

TEST_F(MoveLogTest, UndoReopensOneEmptiedColumn)
{
    LayBoard(game, { "一.一", "二甲乙" });
    Left(1, 9);
    Left(2, 9);
    ASSERT_EQ(Picture(game, 2, 3), (QStringList { "一..", "二一." }));
    game.ReBtnClick();
    EXPECT_EQ(Picture(game, 2, 3), (QStringList { "一.一", "二甲乙" }));
}

TEST_F(MoveLogTest, UndoReopensBothEmptiedColumns)
{
    LayBoard(game, { "一甲乙子子" });
    Left(1, 9);
    Left(2, 9);
    game.ReBtnClick();
    EXPECT_EQ(Picture(game, 1, 5), QStringList { "一甲乙子子" });
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(game.TileAt(c, 9).zset, 0);
}

TEST_F(MoveLogTest, UndoWithOneTileSelectedCancelsItAndTakesBackTheMove)
{
    LayBoard(game, { "甲一", "乙一" });
    Left(0, 8);
    Left(0, 9); // column 0 empties and the stars move into it
    Left(0, 9);
    ASSERT_EQ(game.Selection().size(), 1);
    game.ReBtnClick();
    EXPECT_TRUE(game.Selection().isEmpty());
    EXPECT_EQ(game.TileAt(1, 9).zset, 0);
    EXPECT_EQ(Picture(game, 2, 2), (QStringList { "甲一", "乙一" }));
    EXPECT_EQ(game.MoveLog().Cell(0, 2), QString());
    EXPECT_EQ(game.MoveLog().Cell(0, 1), QString());
}

// Random play with undos mixed in, then undo back to the deal, must give back the dealt
// board exactly: captions, play and colours of the tiles in play, and the count.
TEST_F(MoveLogTest, RandomPlayUndoneGivesBackTheDeal)
{
    const int heights[] = { 3, 4, 5, 6, 7, 8, 9, 10 };
    const int widths[] = { 4, 6, 8, 10, 12 };
    for (quint32 seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        std::mt19937 rng(seed);
        host.deal.rows = heights[rng() % 8];
        host.deal.cols = widths[rng() % 5];
        const int sets = int(rng() % 7) + 1;
        host.deal.sets = { (sets & 1) != 0, (sets & 2) != 0, (sets & 4) != 0 };
        game.Seed(seed);
        game.NewGame();

        struct Snapshot
        {
            QStringList picture;
            std::vector<quint32> colours;
            int remaining;
            bool operator==(const Snapshot&) const = default;
        };
        auto dump = [](const Snapshot& s) { return s.picture.join(QLatin1Char('|')).toStdString(); };
        auto snapshot = [&] {
            Snapshot s { Picture(game, Game::Rows, Game::Cols), {}, game.Remaining() };
            for (int i = 1; i <= Game::TileCount; ++i)
                s.colours.push_back(game.TileByNumber(i).visible ? game.TileByNumber(i).topColor : 0);
            return s;
        };
        Snapshot dealt = snapshot();
        int moves = 0;
        for (int step = 0; step < 60; ++step) {
            if (moves > 0 && rng() % 5 == 0) {
                game.ReBtnClick();
                --moves;
                continue;
            }
            std::vector<int> pickable;
            for (int n = 1; n <= Game::TileCount; ++n)
                if (Game::IsTileNumber(game.CheckTile((n - 1) % 12, (n - 1) / 12)))
                    pickable.push_back(n);
            if (pickable.empty())
                break;
            const int first = pickable[rng() % pickable.size()];
            std::vector<int> partners;
            for (int d : { -12, 12, -1, 1 }) {
                const int n = first + d;
                if (n < 1 || n > 120 || (std::abs(d) == 1 && (n - 1) / 12 != (first - 1) / 12))
                    continue;
                const Tile& t = game.TileByNumber(n);
                if (t.visible && Symbols::SymbolKind(t.caption) == Symbols::SymbolKind(game.TileByNumber(first).caption))
                    partners.push_back(n);
            }
            ASSERT_FALSE(partners.empty());
            const qsizetype endsBefore = host.messages.size();
            game.TileMouseDown(first, 0, ShiftState::ssLeft);
            game.TileMouseDown(partners[rng() % partners.size()], 0, ShiftState::ssLeft);
            if (host.messages.size() != endsBefore) {
                // The game ended and a new board was dealt: undo starts over from it.
                dealt = snapshot();
                moves = 0;
                continue;
            }
            ++moves;
            ASSERT_EQ(game.MoveRow(), moves + 1);
        }
        for (; moves > 0; --moves)
            game.ReBtnClick();
        EXPECT_EQ(snapshot(), dealt) << dump(snapshot()) << "\n" << dump(dealt);
        EXPECT_EQ(game.MoveRow(), 1);
        EXPECT_EQ(game.PointsTotal(), 0);
        // Nothing more to take back.
        game.ReBtnClick();
        EXPECT_EQ(snapshot(), dealt);
    }
}

} // namespace
