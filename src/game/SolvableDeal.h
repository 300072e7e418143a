// SPDX-License-Identifier: MIT
// The clearable deal: a board in play that at least one order of removals clears. It is
// built backwards from an empty board, one same-kind pair at a time, each pair inserted
// exactly where the removal rules would take it out again: a vertical pair pushed into a
// column (or standing as a new column), or a horizontal pair pushed into two neighbouring
// columns at the same row (opening one or two new columns for it where needed). Removing
// the pairs in the reverse order of their insertion undoes every step - the tiles above
// fall back, the opened columns close again - down to the empty board.
//
// Every step keeps the board completable to the chosen size (see Completable in the .cpp),
// so the construction never has to start over.
#pragma once

#include "game/BoardSize.h"

// Qt
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class DealRandom;

namespace SolvableDeal {

using BoardSize::Cols;
using BoardSize::Rows;
using BoardSize::TileCount;

// One removal of the solution: the tile numbers (BoardSize.h) of the pair as the board
// stands just before it is removed.
struct Removal
{
    int first = 0;
    int second = 0;
};

struct Board
{
    // Captions by tile number - 1: the board in play (the bottom `rows` rows of the left
    // `cols` columns); every other entry is empty.
    std::array<QString, TileCount> captions;
    // The removals, in the order that clears the board.
    std::vector<Removal> removals;
};

// Builds a clearable board of rows x cols. `sets` holds the symbols of each set the deal
// may use, one text per set (a pair takes both its symbols from one set, so it is of one
// kind). A set is chosen for each pair with a weight of its number of symbols and each
// symbol uniformly within its set, so every tile is as likely to show any symbol of the
// pool as in the plain deal. Returns false, leaving `board` as it was, when no such board
// exists: no symbols, a size outside 1..10 x 1..12, or an odd number of tiles.
bool Build(int rows, int cols, const QStringList& sets, DealRandom& rng, Board& board);

} // namespace SolvableDeal
