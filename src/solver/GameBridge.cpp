// SPDX-License-Identifier: MIT
#include "solver/GameBridge.h"

#include "game/Game.h"
#include "game/Numbers.h"
#include "game/ScoreTables.h"

namespace Solver {

namespace {

    using Columns = std::vector<std::vector<Tile>>;

    // The tiles in play as columns from the left, each from the bottom row up.
    std::optional<Columns> ColumnsOfGame(const Game& game)
    {
        Columns columns;
        bool emptySeen = false;
        for (int c = 0; c < Game::Cols; ++c) {
            std::vector<Tile> column;
            for (int r = Game::Rows - 1; r >= 0; --r) {
                const ::Tile& t = game.TileAt(c, r);
                if (!t.visible)
                    break;
                const Tile tile = TileOf(t.caption);
                if (tile == NoTile)
                    return std::nullopt;
                column.push_back(tile);
            }
            // A tile in play above a gap, or a column in play right of an empty one.
            for (int r = Game::Rows - 1 - int(column.size()); r >= 0; --r)
                if (game.TileAt(c, r).visible)
                    return std::nullopt;
            if (column.empty())
                emptySeen = true;
            else if (emptySeen)
                return std::nullopt;
            else
                columns.push_back(std::move(column));
        }
        return columns;
    }

    // Puts a tile back where a removal took it from: at `height` of column `col`, the tiles
    // from there up rising by one; `reopen` first opens an empty column at `col`, as undo does
    // for a column the removal closed.
    bool PutBack(Columns& columns, int col, int height, Tile tile, bool reopen)
    {
        if (reopen) {
            if (col > int(columns.size()) || columns.size() == size_t(Cols))
                return false;
            columns.insert(columns.begin() + col, std::vector<Tile>());
        }
        if (col >= int(columns.size()) || height < 0 || height > int(columns[size_t(col)].size())
            || columns[size_t(col)].size() == size_t(Rows))
            return false;
        std::vector<Tile>& column = columns[size_t(col)];
        column.insert(column.begin() + height, tile);
        return true;
    }

} // namespace

std::optional<Board> BoardOfGame(const Game& game)
{
    const std::optional<Columns> columns = ColumnsOfGame(game);
    if (!columns)
        return std::nullopt;
    return Board::FromColumns(*columns);
}

std::optional<Board> DealOfGame(const Game& game)
{
    std::optional<Columns> columns = ColumnsOfGame(game);
    if (!columns)
        return std::nullopt;
    const TextGrid& log = game.MoveLog();
    for (int row = game.MoveRow() - 1; row >= 1; --row) {
        const ::LogRow move = ::LogRow::Read(log, row);
        Tile s1 = TileOf(move.symbols[0]);
        Tile s2 = TileOf(move.symbols[1]);
        int a = move.tiles[0];
        int b = move.tiles[1];
        // The marks stand in ascending tile order already; only the symbols follow a swap.
        const bool m1 = move.emptied[0];
        const bool m2 = move.emptied[1];
        if (a > b) {
            std::swap(s1, s2);
            std::swap(a, b);
        }
        if (a < 1 || b > Game::TileCount || KindOf(s1) == 0 || KindOf(s2) == 0)
            return std::nullopt;
        const int col = (a - 1) % Cols;
        const int height = Rows - 1 - (a - 1) / Cols;
        bool ok = false;
        if (b - a == Cols) // one above the other: b's tile went in first, a's on top of it
            ok = PutBack(*columns, col, height - 1, s2, m1 || m2) && PutBack(*columns, col, height, s1, false);
        else if (b - a == 1 && col + 1 < Cols) // side by side: the left tile first
            ok = PutBack(*columns, col, height, s1, m1) && PutBack(*columns, col + 1, height, s2, m2);
        if (!ok)
            return std::nullopt;
    }
    return Board::FromColumns(*columns);
}

int CompletedPoints(const Game& game)
{
    // Rows after the current one are always empty; the current one holds a standing pair's
    // score, if any.
    const int pending = Numbers::ParseInteger(game.MoveLog().Cell(Game::LogPoints, game.MoveRow())).value_or(0);
    return game.PointsTotal() - pending;
}

PairValues ValuesOfGame(const Game& game)
{
    return PairValues::FromTables({ nullptr, game.ScoreTable(1), game.ScoreTable(2), game.ScoreTable(3) });
}

std::vector<LogRow> LogRowsOf(Board board, const std::vector<Move>& line, const PairValues& values,
                              const Game& game)
{
    std::vector<LogRow> rows;
    for (const Move& m : line) {
        Tile first = board.First(m);
        Tile second = board.Second(m);
        if (!values.FirstIsBetter(first, second))
            std::swap(first, second);
        LogRow row { CaptionOf(first), CaptionOf(second), values.Points(first, second), QString() };
        if (const TextGrid* table = game.ScoreTable(KindOf(first)))
            if (const int r = ScoreTables::PairRow(*table, row.first, row.second); r > 0)
                row.text = table->Cell(3, r);
        rows.push_back(row);
        board.Apply(m);
    }
    return rows;
}

} // namespace Solver
