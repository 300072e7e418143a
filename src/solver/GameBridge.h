// SPDX-License-Identifier: MIT
// Between the game and the best-score analysis: the position of a game and the board it was
// dealt as compact boards, the points of its moves so far, the values of its score tables,
// and a line of the analysis written out as the move log writes its rows.
#pragma once

#include "solver/Board.h"

// Qt
#include <QString>

#include <optional>
#include <vector>

class Game;

namespace Solver {

// The tiles in play. Nothing when the board is not of the shape the game's rules keep (a
// test's hand-laid board) or a tile shows a text that is no symbol.
std::optional<Board> BoardOfGame(const Game& game);

// The board as dealt: the tiles in play with every move of the log taken back, read from the
// log rows alone as undo reads them. Nothing when the log does not fit the board.
std::optional<Board> DealOfGame(const Game& game);

// The points of the moves removed so far; a pair standing selected without removal is not
// among them.
int CompletedPoints(const Game& game);

// The values of the game's score tables as they are now.
PairValues ValuesOfGame(const Game& game);

// One move as a row of the move log shows it: both symbols in pick order, the points and
// the text of the score-table row.
struct LogRow
{
    QString first;
    QString second;
    int points = 0;
    QString text;
};

// The rows of a line played from `board`: the points as `values` count them, the texts from
// the game's score tables.
std::vector<LogRow> LogRowsOf(Board board, const std::vector<Move>& line, const PairValues& values,
                              const Game& game);

} // namespace Solver
