// SPDX-License-Identifier: MIT
// A game kept as a record and restored: what can be redone survives it, and a record the
// rules cannot have played (a changed tile number, symbol, mark or pick, a game that had
// ended) is refused without touching the game it was to replace.

#include "GameTestSupport.h"
#include "game/Symbols.h"

// GoogleTest
#include <gtest/gtest.h>

#include <random>

namespace {

class GameRecordTest : public ::testing::Test
{
protected:
    GameRecordTest()
    {
        tables.AttachTo(game);
        tables.AttachTo(other);
    }

    // Left-button moves, chosen by rng, until `count` are made or the game would end.
    void Play(Game& g, std::mt19937& rng, int count)
    {
        for (int i = 0; i < count; ++i) {
            std::vector<std::pair<int, int>> pairs;
            for (int a = 1; a <= Game::TileCount; ++a)
                for (int b : { a + 1, a + Game::Cols })
                    if (b <= Game::TileCount
                        && (b - a == Game::Cols || (a - 1) / Game::Cols == (b - 1) / Game::Cols)
                        && g.TileByNumber(a).visible && g.TileByNumber(b).visible
                        && Symbols::SymbolKind(g.TileByNumber(a).caption)
                            == Symbols::SymbolKind(g.TileByNumber(b).caption))
                        pairs.push_back({ a, b });
            if (pairs.size() < 2)
                return; // the next move could end the game
            const auto [a, b] = pairs[rng() % pairs.size()];
            g.Pick(a, PickMode::Remove);
            g.Pick(b, PickMode::Remove);
            if (g.FindMove() == Game::NoPartner)
                return;
        }
    }

    RecordingHost host;
    Game game { host };
    RecordingHost otherHost;
    Game other { otherHost };
    DefaultTables tables;
};

TEST_F(GameRecordTest, WhatCanBeRedoneSurvivesARestoreAndADealForgetsIt)
{
    host.deal = { 6, 8, { true, true, false } };
    game.NewGame(77);
    std::mt19937 rng(3);
    Play(game, rng, 6);
    ASSERT_GE(game.MoveRow(), 4);
    game.Pick(game.FindMove(), PickMode::Hold); // one tile picked, then undone
    game.ReBtnClick();
    game.ReBtnClick();
    ASSERT_TRUE(game.CanRedo());

    ASSERT_TRUE(other.Restore(game.Record()));
    // The restored log's last row was a score lookup; the labels show it as such.
    EXPECT_EQ(otherHost.points, host.points);
    EXPECT_EQ(otherHost.pointsRefresh, PointsRefresh::Lookup);
    EXPECT_EQ(otherHost.remaining, host.remaining);
    for (Game* g : { &game, &other }) {
        g->RedoClick();
        g->RedoClick();
    }
    EXPECT_EQ(other.Record(), game.Record());
    EXPECT_EQ(other.Selection().size(), 1); // the pick the first undo cancelled
    EXPECT_FALSE(other.CanRedo());

    game.ReBtnClick();
    game.NewGame();
    EXPECT_FALSE(game.CanRedo());
    const GameRecord dealt = game.Record();
    const int beeps = host.beeps;
    game.RedoClick();
    EXPECT_EQ(host.beeps, beeps + 1);
    EXPECT_EQ(game.Record(), dealt);
}

TEST_F(GameRecordTest, RecordsTheRulesCannotHavePlayedAreRefused)
{
    for (quint32 seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        std::mt19937 rng(seed);
        host.deal = { 5 + int(seed % 6), 6 + 2 * int(seed % 4), { true, seed % 2 == 0, seed % 3 == 0 },
            seed % 5 == 0 };
        game.NewGame(seed * 7919);
        Play(game, rng, 3 + int(seed % 8));
        if (seed % 3 == 0)
            game.ReBtnClick();
        const GameRecord good = game.Record();
        ASSERT_FALSE(good.moves.empty());
        ASSERT_TRUE(other.Restore(good));

        otherHost.deal = { 3, 4, { true, false, false } };
        other.NewGame(5);
        const GameRecord before = other.Record();

        std::vector<GameRecord> bad(9, good);
        LogRow& move = bad[0].moves[rng() % bad[0].moves.size()];
        move.tiles[1] = move.tiles[0] + 2; // not a neighbour
        QString& symbol = bad[1].moves.back().symbols[0];
        symbol = symbol == QStringLiteral("甲") ? QStringLiteral("乙") : QStringLiteral("甲");
        bad[2].moves.front().emptied[0] = !bad[2].moves.front().emptied[0];
        bad[3].dealNumber ^= 1;
        bad[4].deal.cols = good.deal.cols == 12 ? 10 : 12;
        bad[5].selection = { 1 }; // a hidden tile
        std::optional<QString>& tile = bad[6].tiles[rng() % Game::TileCount];
        tile = tile ? std::nullopt : std::optional(QStringLiteral("九"));
        bad[7].redo.push_back({ good.moves.back(), {}, {} }); // a move that was never undone
        bad[8].moves.push_back(bad[8].moves.back()); // the same pair twice
        for (size_t i = 0; i < bad.size(); ++i) {
            EXPECT_FALSE(other.Restore(bad[i])) << "record " << i;
            EXPECT_EQ(other.Record(), before) << "record " << i;
        }
    }
}

TEST_F(GameRecordTest, AGameThatHadEndedIsNotRestored)
{
    // A deal without a single pair: over before it began.
    otherHost.deal = { 3, 4, { true, true, true } };
    for (quint32 n = 1; n < 10000 && other.FindMove() != Game::NoPartner; ++n)
        other.NewGame(n);
    ASSERT_EQ(other.FindMove(), Game::NoPartner);
    EXPECT_FALSE(game.Restore(other.Record()));

    // A board of stems played to its end: the record before the last pair, with that pair.
    host.deal = { 3, 4, { true, false, false } };
    game.NewGame(1);
    GameRecord beforeLast;
    LogRow last;
    while (host.ends.empty()) {
        beforeLast = game.Record();
        const int a = game.FindMove();
        ASSERT_TRUE(Game::IsTileNumber(a));
        const int b = game.TileByNumber(a - Game::Cols).visible ? a - Game::Cols : a + 1;
        last
            = LogRow { { game.TileByNumber(a).caption, game.TileByNumber(b).caption }, {}, {}, { a, b }, {} };
        game.Pick(a, PickMode::Remove);
        game.Pick(b, PickMode::Remove);
    }
    ASSERT_TRUE(other.Restore(beforeLast));
    beforeLast.moves.push_back(last);
    EXPECT_FALSE(other.Restore(beforeLast));
}

} // namespace
