// SPDX-License-Identifier: MIT
// Scoring a pair from its score table, the points total, and undo of every kind of move,
// checked against the dealt board as an oracle.

#include "GameTestSupport.h"
#include "game/Numbers.h"
#include "game/Symbols.h"

// GoogleTest
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <sstream>
#include <string>

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

    void Left(int col, int row) { game.Pick(Game::TileNumber(col, row), PickMode::Remove); }

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
    EXPECT_EQ(host.points, 5);
    EXPECT_EQ(host.pointsRefresh, PointsRefresh::Lookup);
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
    EXPECT_EQ(host.remaining, 20);
    EXPECT_EQ(host.points, 0);
    EXPECT_EQ(host.pointsRefresh, PointsRefresh::Other);
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
            const size_t endsBefore = host.ends.size();
            game.Pick(first, PickMode::Remove);
            game.Pick(partners[rng() % partners.size()], PickMode::Remove);
            if (host.ends.size() != endsBefore) {
                // The game ended; undo starts over from the next deal.
                game.NewGame();
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

// Random play mixing left-button moves, standing pairs, single picks, hints, undos and
// redos must always leave the game as a replay of the moves still made, from the same deal
// number, leaves it; and the game's record must restore into another game exactly.
class RedoOracleTest : public ::testing::Test
{
protected:
    using Pick = QList<int>;
    struct Undone
    {
        Pick move;
        Pick standing;
    };

    RedoOracleTest()
    {
        host.game = &game;
        tables.AttachTo(game);
        tables.AttachTo(restored);
    }

    // A random pair that may be picked now, in pick order; empty when none is left.
    Pick RandomPair(std::mt19937& rng) const
    {
        std::vector<Pick> pairs;
        for (int a = 1; a <= Game::TileCount; ++a)
            for (int b : { a - Game::Cols, a + Game::Cols, a - 1, a + 1 }) {
                if (b < 1 || b > Game::TileCount || (std::abs(a - b) == 1 && (a - 1) / Game::Cols != (b - 1) / Game::Cols))
                    continue;
                const Tile& ta = game.TileByNumber(a);
                const Tile& tb = game.TileByNumber(b);
                if (ta.visible && tb.visible && Symbols::SymbolKind(ta.caption) != Symbols::NoKind
                    && Symbols::SymbolKind(ta.caption) == Symbols::SymbolKind(tb.caption))
                    pairs.push_back({ a, b });
            }
        return pairs.empty() ? Pick {} : pairs[rng() % pairs.size()];
    }

    void Press(Game& g, int tile, bool left) { g.Pick(tile, left ? PickMode::Remove : PickMode::Hold); }

    // The replay: the deal again from its number, the moves with the left button, the pick
    // standing with the right.
    void Replay(const std::vector<Pick>& moves, const Pick& standing)
    {
        // A game of its own each time: a deal keeps the log's length, which would grow with
        // every replay.
        replayGame = std::make_unique<Game>(replayHost);
        Game& replay = *replayGame;
        tables.AttachTo(replay);
        replayHost.deal = game.DealtWith();
        replay.NewGame(game.DealNumber());
        for (const Pick& move : moves) {
            Press(replay, move.at(0), true);
            Press(replay, move.at(1), true);
        }
        for (int tile : standing)
            Press(replay, tile, false);
    }

    static std::string State(const Game& g)
    {
        std::ostringstream out;
        for (int n = 1; n <= Game::TileCount; ++n) {
            const Tile& t = g.TileByNumber(n);
            out << (t.visible ? t.caption.toStdString() : ".") << (t.zset ? "*" : "")
                << (t.visible ? std::to_string(t.topColor) : "") << (n % Game::Cols ? " " : "\n");
        }
        out << "selection";
        for (int n : g.Selection())
            out << ' ' << n;
        out << "\nremaining " << g.Remaining() << " total " << g.PointsTotal() << "\n";
        const int rows = g.MoveRow() + (g.Selection().isEmpty() ? 0 : 1);
        for (int r = 1; r < rows; ++r) {
            for (int c = 0; c < Game::LogColumns; ++c)
                out << g.MoveLog().Cell(c, r).toStdString() << '|';
            out << "\n";
        }
        return out.str();
    }

    RecordingHost host;
    Game game { host };
    RecordingHost replayHost;
    std::unique_ptr<Game> replayGame;
    QuietGameHost restoredHost;
    Game restored { restoredHost };
    DefaultTables tables;
};

TEST_F(RedoOracleTest, UndoAndRedoAgreeWithAReplayFromTheDeal)
{
    const int heights[] = { 3, 4, 5, 6, 7, 8, 9, 10 };
    const int widths[] = { 4, 6, 8, 10, 12 };
    // Redos that put back a move alone, with one tile picked, with a standing pair.
    std::array<int, 3> redone {};
    for (quint32 seed = 1; seed <= 100; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        std::mt19937 rng(seed);
        host.deal.rows = heights[rng() % 8];
        host.deal.cols = widths[rng() % 5];
        const int sets = int(rng() % 7) + 1;
        host.deal.sets = { (sets & 1) != 0, (sets & 2) != 0, (sets & 4) != 0 };
        host.deal.solvable = rng() % 2 == 0;
        game.Seed(seed);
        game.NewGame();

        std::vector<Pick> moves;
        std::vector<Undone> undone;
        Pick standing;
        // Each removal adds a log row and each undo takes one away.
        int slack = game.MoveLog().RowCount() - game.MoveRow();
        for (int step = 0; step < 80; ++step) {
            const size_t endsBefore = host.ends.size();
            const int beepsBefore = host.beeps;
            const unsigned action = rng() % 10;
            if (action < 2) {
                game.ReBtnClick();
                if (!moves.empty()) {
                    undone.push_back({ moves.back(), standing });
                    moves.pop_back();
                    standing.clear();
                }
            } else if (action < 4) {
                game.RedoClick();
                EXPECT_EQ(host.beeps, beepsBefore + 1);
                if (!undone.empty()) {
                    moves.push_back(undone.back().move);
                    standing = undone.back().standing;
                    undone.pop_back();
                    ++redone[size_t(standing.size())];
                }
            } else if (action == 4) {
                game.HintBtnClick();
                if (!standing.isEmpty()) {
                    standing.clear();
                } else if (!game.Selection().isEmpty()) {
                    standing = game.Selection();
                    undone.clear();
                }
            } else if (standing.size() == 2) {
                // A press on the standing pair: the left button removes it, the right one
                // takes it back.
                const bool left = action % 2 == 0;
                Press(game, standing.at(int(rng() % 2)), left);
                if (left)
                    moves.push_back(standing);
                standing.clear();
            } else {
                const Pick pair = standing.isEmpty() ? RandomPair(rng) : Pick {};
                if (standing.size() == 1) {
                    // Complete the pick with a neighbour of its kind, if it has one.
                    const int a = standing.at(0);
                    for (int b : { a - Game::Cols, a + Game::Cols, a - 1, a + 1 })
                        if (b >= 1 && b <= Game::TileCount && game.CanPairWithSelection(b) && game.TileByNumber(b).visible
                            && Symbols::SymbolKind(game.TileByNumber(b).caption)
                                == Symbols::SymbolKind(game.TileByNumber(a).caption)) {
                            const bool left = action % 2 == 0;
                            Press(game, b, left);
                            if (left) {
                                moves.push_back({ a, b });
                                standing.clear();
                            } else {
                                standing.append(b);
                            }
                            break;
                        }
                } else if (pair.isEmpty()) {
                    continue;
                } else if (action == 5) {
                    Press(game, pair.at(0), true); // a single pick
                    standing = { pair.at(0) };
                    undone.clear();
                } else {
                    const bool left = action % 2 == 0;
                    Press(game, pair.at(0), left);
                    Press(game, pair.at(1), left);
                    if (left)
                        moves.push_back(pair);
                    else
                        standing = pair;
                    undone.clear();
                }
            }
            if (host.ends.size() != endsBefore) {
                // The game ended; after the next deal nothing is left to take back or redo.
                game.NewGame();
                moves.clear();
                undone.clear();
                standing.clear();
                slack = game.MoveLog().RowCount() - game.MoveRow();
                ASSERT_FALSE(game.CanRedo());
                continue;
            }
            ASSERT_EQ(game.CanRedo(), !undone.empty()) << "step " << step;
            ASSERT_EQ(game.MoveLog().RowCount() - game.MoveRow(), slack);
            Replay(moves, standing);
            ASSERT_EQ(State(game), State(*replayGame)) << "step " << step;

            const GameRecord record = game.Record();
            ASSERT_TRUE(restored.Restore(record)) << "step " << step;
            ASSERT_EQ(restored.Record(), record);
            ASSERT_EQ(State(restored), State(game)) << "step " << step;
        }
    }
    // The play reached every kind of redo often enough to mean something.
    for (int n : redone)
        EXPECT_GT(n, 20);
}

} // namespace
