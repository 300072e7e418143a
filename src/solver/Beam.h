// SPDX-License-Identifier: MIT
// The anytime search: beam search. A pass keeps the best `width` positions of each layer
// (all positions of a layer have the same number of tiles left), ranked by the points so far
// plus the priced upper bound of the tiles left (Board::UpperBound), less a penalty for every
// tile with no tile of its kind in its own column or the two beside it; a position reached
// twice is kept once. A worker runs a few narrow passes of doubling width for its first
// lines, then passes of MaxBeamWidth (on boards of more than 80 tiles a quarter of it in
// the opening, where the ranking ties) with new random tie-breaks, and searches every new
// best line of its own again from points along its first RestartMoves moves. It reports
// every line better than its own best so far. Its lines depend only on the board, the
// values and its seed.
#pragma once

#include "solver/Worker.h"

#include <cstddef>

namespace Solver {

// On full boards the best of several passes of this width beat fewer passes of a wider beam
// for the same time, from half a second to twenty (bench/README.md).
constexpr int MaxBeamWidth = 1 << 11;
// A best line is searched again after its first 5, 10, ... 30 moves.
constexpr std::size_t RestartStep = 5;
constexpr std::size_t RestartMoves = 30;

// Passes of width firstWidth, twice that, ... up to an eighth of `fullWidth` (none when
// firstWidth is more), then at `fullWidth` as above, each with tie-breaks drawn from `seed`,
// until the context says to end. Lines go to context.Offer.
void SearchBeams(const Board& start, WorkerContext& context, int firstWidth, quint64 seed, int fullWidth = MaxBeamWidth);

// The beam's ranking of positions: the points so far in fifths, less IsolatedLoss, the
// fifths of points lost to tiles with no tile of their kind in their own column or the two
// beside it (three fifths of such a tile's best pair).
int IsolatedLoss(const Board& board, const PairValues& values);
// What the beam asks of the board after a move, worked out without building it (the beam
// asks it of every child, and builds only those it keeps): whether a pair is left, and the
// child's IsolatedLoss.
struct ChildOutlook
{
    bool hasMove = false;
    int loss = 0;
    bool operator==(const ChildOutlook&) const = default;
};
ChildOutlook OutlookAfter(const Board& board, const Move& move, const PairValues& values);

} // namespace Solver
