// SPDX-License-Identifier: MIT
// The deal, the pick rules, removal with falling tiles and closing columns, the hint, the
// end of a game, and the keyboard cursor's steps over the tiles in play.

#include "GameTestSupport.h"
#include "game/Numbers.h"
#include "game/Symbols.h"

// GoogleTest
#include <gtest/gtest.h>

namespace {

class BoardTest : public ::testing::Test
{
protected:
    BoardTest()
    {
        host.game = &game;
        tables.AttachTo(game);
        game.Seed(7);
    }

    // A press of the left (or right) button on tile (col, row), as the tile forwards it.
    void Left(int col, int row) { game.Pick(Game::TileNumber(col, row), PickMode::Remove); }
    void Right(int col, int row) { game.Pick(Game::TileNumber(col, row), PickMode::Hold); }

    RecordingHost host;
    Game game { host };
    DefaultTables tables;
};

TEST_F(BoardTest, SmallestDealIsThreeByFourAtTheBottomLeft)
{
    game.NewGame();
    for (int c = 0; c < Game::Cols; ++c)
        for (int r = 0; r < Game::Rows; ++r) {
            const bool inPlay = c < 4 && r >= 7;
            EXPECT_EQ(game.TileAt(c, r).visible, inPlay) << c << "," << r;
            // Stems only, hidden tiles included.
            EXPECT_EQ(Symbols::SymbolKind(game.TileAt(c, r).caption), Symbols::Stem);
        }
    EXPECT_EQ(game.Remaining(), 12);
    EXPECT_EQ(host.remaining, 12);
    EXPECT_EQ(host.points, 0);
    EXPECT_EQ(host.pointsRefresh, PointsRefresh::Other);
    int sum = 0;
    for (int n : host.strip)
        sum += n;
    EXPECT_EQ(sum, 12);
    EXPECT_EQ(game.MoveRow(), 1);
    EXPECT_EQ(game.MoveLog().Row(), 1);
    EXPECT_EQ(game.SymbolPool(), Symbols::Stems);
}

TEST_F(BoardTest, LargestDealFillsTheBoardFromEveryEnabledSet)
{
    host.deal = { 10, 12, { false, true, true } };
    game.NewGame();
    EXPECT_EQ(game.Remaining(), 120);
    EXPECT_EQ(game.SymbolPool(), Symbols::Branches + Symbols::Stars);
    for (int i = 1; i <= Game::TileCount; ++i) {
        const Tile& t = game.TileByNumber(i);
        EXPECT_TRUE(t.visible);
        EXPECT_NE(Symbols::SymbolKind(t.caption), Symbols::Stem);
        EXPECT_EQ(t.topColor, Symbols::ElementColors[Symbols::SymbolElement(t.caption)]);
    }
}

TEST_F(BoardTest, EmptyPoolGivesBlankTilesThatCannotBePicked)
{
    host.deal = { 3, 4, { false, false, false } };
    game.NewGame();
    EXPECT_EQ(game.TileAt(0, 9).caption, QString());
    EXPECT_EQ(game.TileAt(0, 9).topColor, Symbols::ColorBtnFace);
    EXPECT_EQ(game.FindMove(), Game::NoPartner);
    EXPECT_EQ(host.strip, (std::array<int, 5> {}));
    Left(0, 9);
    EXPECT_EQ(host.sounds, (std::vector<Sound> { Sound::Pick, Sound::Refused }));
    EXPECT_TRUE(game.Selection().isEmpty());
}

TEST_F(BoardTest, PlainColouringGreysEveryTile)
{
    game.NewGame();
    host.colouring = Colouring::Plain;
    game.ColorAllTiles();
    for (int i = 1; i <= Game::TileCount; ++i)
        EXPECT_EQ(game.TileByNumber(i).topColor, Symbols::ColorBtnFace);
    host.colouring = Colouring::ByElement;
    game.ColorAllTiles();
    EXPECT_EQ(game.TileAt(0, 9).topColor, Symbols::ElementColors[Symbols::SymbolElement(game.TileAt(0, 9).caption)]);
}

TEST_F(BoardTest, CheckTileAndFindMoveCodes)
{
    LayBoard(game, { "甲乙", "子一" });
    EXPECT_EQ(game.CheckTile(0, 0), Game::NotInPlay);
    EXPECT_EQ(game.CheckTile(0, 8), Game::TileNumber(0, 8)); // 甲 beside 乙
    EXPECT_EQ(game.CheckTile(0, 9), Game::NoPartner);         // 子 among stems and a star
    LayBoard(game, { "甲一", "子二" });
    EXPECT_EQ(game.CheckTile(0, 8), Game::NoPartner);
    EXPECT_EQ(game.CheckTile(1, 9), Game::TileNumber(1, 9));
    // The scan runs up each column from the left: 二 (column 1, bottom) is the first.
    EXPECT_EQ(game.FindMove(), Game::TileNumber(1, 9));
    LayBoard(game, {});
    EXPECT_EQ(game.FindMove(), Game::BoardEmpty);
}

TEST_F(BoardTest, LastTileOfARowIsNoNeighbourOfTheNextRowsFirst)
{
    host.deal = { 10, 12, { true, false, false } };
    game.NewGame();
    // Every tile is a stem: any orthogonal neighbour pairs.
    game.Pick(12, PickMode::Remove); // column 11, row 0
    ASSERT_EQ(game.Selection(), QList<int> { 12 });
    EXPECT_FALSE(game.CanPairWithSelection(13));
    EXPECT_TRUE(game.CanPairWithSelection(11));
    EXPECT_TRUE(game.CanPairWithSelection(24));
    host.sounds.clear();
    game.Pick(13, PickMode::Remove);
    EXPECT_EQ(host.sounds, (std::vector<Sound> { Sound::Pick, Sound::Refused }));
    EXPECT_EQ(game.Selection(), QList<int> { 12 });
    EXPECT_EQ(game.Remaining(), 120);
}

TEST_F(BoardTest, RefusedPicksChangeNothing)
{
    LayBoard(game, { "甲子一", "乙丑二" });
    const QStringList before = Picture(game, 2, 3);
    Left(0, 8); // 甲, partner 乙 below
    ASSERT_EQ(game.Selection().size(), 1);
    const QString logBefore = game.MoveLog().Cell(0, 1);

    // Another kind next to it, a tile that is not next to it, a hidden tile.
    for (auto [c, r] : { std::pair { 1, 8 }, std::pair { 2, 9 }, std::pair { 0, 0 } }) {
        host.sounds.clear();
        Left(c, r);
        EXPECT_EQ(host.sounds, (std::vector<Sound> { Sound::Pick, Sound::Refused })) << c << "," << r;
        EXPECT_EQ(game.Selection(), QList<int> { Game::TileNumber(0, 8) });
        EXPECT_EQ(game.TileAt(c, r).zset, 0);
    }
    EXPECT_EQ(Picture(game, 2, 3), before);
    EXPECT_EQ(game.MoveLog().Cell(0, 1), logBefore);
    EXPECT_EQ(game.TileAt(0, 8).zset, 1);

    // Clicking the selected tile again unselects it.
    host.sounds.clear();
    Left(0, 8);
    EXPECT_EQ(host.sounds, std::vector<Sound> { Sound::Pick });
    EXPECT_TRUE(game.Selection().isEmpty());
    EXPECT_EQ(game.TileAt(0, 8).zset, 0);
}

TEST_F(BoardTest, VerticalPairFallsByTwoRows)
{
    LayBoard(game, { "丙.", "甲一", "乙一" });
    Left(0, 8);
    Left(0, 9);
    EXPECT_EQ(Picture(game, 3, 2), (QStringList { "..", ".一", "丙一" }));
    EXPECT_EQ(game.Remaining(), 3);
    EXPECT_EQ(game.MoveRow(), 2);
    EXPECT_EQ(game.MoveLog().RowCount(), Game::LogDesignRows + 1);
    EXPECT_EQ(host.remaining, 3);
    EXPECT_EQ(host.sounds.back(), Sound::Removal);
    EXPECT_TRUE(game.Selection().isEmpty());
    EXPECT_TRUE(host.ends.empty());
    // The log row: symbols in pick order, tile numbers, no column emptied.
    const TextGrid& log = game.MoveLog();
    EXPECT_EQ(log.Cell(0, 1), QStringLiteral("甲"));
    EXPECT_EQ(log.Cell(1, 1), QStringLiteral("乙"));
    EXPECT_EQ(log.Cell(5, 1), QStringLiteral(" 97"));
    EXPECT_EQ(log.Cell(6, 1), QStringLiteral("109"));
    EXPECT_EQ(log.Cell(7, 1), QString());
    EXPECT_EQ(log.Cell(8, 1), QString());
}

TEST_F(BoardTest, HorizontalPairEmptyingTwoColumnsClosesBoth)
{
    LayBoard(game, { "一甲乙子子" });
    Left(2, 9); // picked right to left: the log keeps pick order, the marks number order
    Left(1, 9);
    EXPECT_EQ(Picture(game, 1, 5), QStringList { "一子子.." });
    const TextGrid& log = game.MoveLog();
    EXPECT_EQ(log.Cell(0, 1), QStringLiteral("乙"));
    EXPECT_EQ(log.Cell(7, 1), QStringLiteral("1"));
    EXPECT_EQ(log.Cell(8, 1), QStringLiteral("1"));
    for (int r = 0; r < Game::Rows; ++r)
        EXPECT_FALSE(game.TileAt(11, r).visible);
}

TEST_F(BoardTest, RightButtonPairIsScoredButStays)
{
    LayBoard(game, { "丙一", "甲一" });
    Right(0, 8);
    Right(0, 9);
    EXPECT_EQ(game.Remaining(), 4);
    EXPECT_EQ(game.Selection().size(), 2);
    EXPECT_EQ(game.TileAt(0, 8).zset, 1);
    EXPECT_EQ(game.TileAt(0, 9).zset, 1);
    EXPECT_EQ(game.MoveLog().Cell(2, 1), QStringLiteral("5"));
    EXPECT_EQ(game.PointsTotal(), 5);

    // Any other tile is refused while the pair stands.
    host.sounds.clear();
    Left(1, 9);
    EXPECT_EQ(host.sounds, (std::vector<Sound> { Sound::Pick, Sound::Refused }));
    // A right click on one of its tiles takes both back, score included.
    Right(0, 9);
    EXPECT_TRUE(game.Selection().isEmpty());
    EXPECT_EQ(game.TileAt(0, 8).zset, 0);
    EXPECT_EQ(game.PointsTotal(), 0);
    EXPECT_EQ(host.points, 0);
    EXPECT_EQ(host.pointsRefresh, PointsRefresh::Other);

    // Picked again with the right button, then a left click on either tile removes it.
    Right(0, 8);
    Right(0, 9);
    Left(0, 8);
    EXPECT_EQ(game.Remaining(), 2);
    // Column 0 emptied and closed: the stars moved left.
    EXPECT_EQ(Picture(game, 2, 2), (QStringList { "一.", "一." }));
    EXPECT_EQ(game.PointsTotal(), 5);
}

TEST_F(BoardTest, HintPicksTheLowestTileOfTheLeftmostColumnAndTakesItBack)
{
    LayBoard(game, { "甲一", "子丑" });
    game.HintBtnClick();
    EXPECT_EQ(game.Selection(), QList<int> { 109 });
    EXPECT_EQ(game.TileAt(0, 9).zset, 1);
    EXPECT_EQ(game.MoveLog().Cell(0, 1), QStringLiteral("子"));
    EXPECT_EQ(game.Remaining(), 4);
    host.sounds.clear();
    game.HintBtnClick();
    EXPECT_EQ(host.sounds, std::vector<Sound> { Sound::Pick });
    EXPECT_TRUE(game.Selection().isEmpty());
    EXPECT_EQ(game.TileAt(0, 9).zset, 0);
}

TEST_F(BoardTest, HintClearsEveryMarkOfAStandingPair)
{
    LayBoard(game, { "甲一", "乙一" });
    Right(0, 8);
    Right(0, 9);
    game.HintBtnClick();
    EXPECT_TRUE(game.Selection().isEmpty());
    EXPECT_EQ(game.TileAt(0, 8).zset, 0);
    EXPECT_EQ(game.TileAt(0, 9).zset, 0);
    EXPECT_EQ(game.PointsTotal(), 0);
}

TEST_F(BoardTest, RemovingTheLastPairEndsTheGameAndLeavesItForTheRanking)
{
    LayBoard(game, { "甲乙" });
    Left(0, 9);
    Left(1, 9);
    EXPECT_EQ(host.ends, std::vector<GameEnd> { GameEnd::Cleared });
    EXPECT_EQ(host.rankPendingAtEnd, RankPending::Waiting);
    // The finished game stays as it ended until the host deals again.
    EXPECT_EQ(game.Remaining(), 0);
    EXPECT_EQ(game.MoveRow(), 2);
    EXPECT_EQ(game.MoveLog().Cell(0, 1), QStringLiteral("甲"));
}

TEST_F(BoardTest, NoPairLeftEndsTheGame)
{
    LayBoard(game, { "甲乙子" });
    Left(0, 9);
    Left(1, 9);
    EXPECT_EQ(host.ends, std::vector<GameEnd> { GameEnd::NoPairLeft });
}

TEST_F(BoardTest, NewDealClearsAStandingSelection)
{
    game.NewGame();
    Left(0, 9);
    ASSERT_FALSE(game.Selection().isEmpty());
    game.NewGame();
    for (int i = 1; i <= Game::TileCount; ++i)
        EXPECT_EQ(game.TileByNumber(i).zset, 0);
    EXPECT_TRUE(game.Selection().isEmpty());
}

TEST_F(BoardTest, ReopenColumnIsTheInverseOfClosing)
{
    LayBoard(game, { "甲乙丙" });
    game.ReopenColumn(1);
    EXPECT_EQ(Picture(game, 1, 4), QStringList { "甲.乙丙" });
}

// --- the keyboard cursor's steps

class CursorStepTest : public ::testing::Test
{
protected:
    CursorStepTest() { host.game = &game; }

    int Step(int col, int row, int dCol, int dRow) const
    {
        return game.CursorStep(Game::TileNumber(col, row), dCol, dRow);
    }

    RecordingHost host;
    Game game { host };
};

TEST_F(CursorStepTest, MovesOverTheTilesInPlayAndStopsAtTheEdges)
{
    LayBoard(game, { "甲..", "甲.子", "甲子子" });
    // Up and down within the column, stopping at its top and at the bottom row.
    EXPECT_EQ(Step(0, 9, 0, -1), Game::TileNumber(0, 8));
    EXPECT_EQ(Step(0, 7, 0, -1), Game::TileNumber(0, 7));
    EXPECT_EQ(Step(0, 9, 0, 1), Game::TileNumber(0, 9));
    // Sideways onto a lower column: its tile nearest to the row, here its top.
    EXPECT_EQ(Step(0, 7, 1, 0), Game::TileNumber(1, 9));
    EXPECT_EQ(Step(2, 8, -1, 0), Game::TileNumber(1, 9));
    EXPECT_EQ(Step(1, 9, 1, 0), Game::TileNumber(2, 9));
    EXPECT_EQ(Step(0, 8, 1, 0), Game::TileNumber(1, 9));
    // The last column in play and the first are edges.
    EXPECT_EQ(Step(2, 8, 1, 0), Game::TileNumber(2, 8));
    EXPECT_EQ(Step(0, 8, -1, 0), Game::TileNumber(0, 8));
}

TEST_F(CursorStepTest, HiddenTilesAndColumnsAreSkipped)
{
    LayBoard(game, { "甲.乙", "..乙", "甲.乙" });
    EXPECT_EQ(Step(0, 9, 1, 0), Game::TileNumber(2, 9));
    EXPECT_EQ(Step(2, 8, -1, 0), Game::TileNumber(0, 9)); // equally near: the lower row
    EXPECT_EQ(Step(0, 9, 0, -1), Game::TileNumber(0, 7));
    EXPECT_EQ(Step(0, 7, 0, 1), Game::TileNumber(0, 9));
}

TEST_F(CursorStepTest, NearestInPlayFollowsRemovalsAndClosedColumns)
{
    LayBoard(game, { "甲..", "甲.子", "甲子子" });
    const int kept = Game::TileNumber(1, 9);
    EXPECT_EQ(game.NearestInPlay(kept), kept);
    // Above a column: its top tile.
    EXPECT_EQ(game.NearestInPlay(Game::TileNumber(1, 7)), Game::TileNumber(1, 9));
    // Right of the last column: that column, nearest row.
    EXPECT_EQ(game.NearestInPlay(Game::TileNumber(3, 8)), Game::TileNumber(2, 8));
    EXPECT_EQ(game.NearestInPlay(Game::TileNumber(5, 2)), Game::TileNumber(2, 8));
    // No cursor yet: the bottom-left tile.
    EXPECT_EQ(game.NearestInPlay(0), Game::TileNumber(0, 9));

    // Equally near columns on both sides: the left one.
    LayBoard(game, { "甲.甲" });
    EXPECT_EQ(game.NearestInPlay(Game::TileNumber(1, 9)), Game::TileNumber(0, 9));

    LayBoard(game, { "" });
    EXPECT_EQ(game.NearestInPlay(Game::TileNumber(0, 9)), 0);
}

} // namespace
