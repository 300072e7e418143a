// SPDX-License-Identifier: MIT
// A line of play from a board to the end of the game: its moves and its total, the replay
// that checks one, the greedy and the random player, and the seeded generator the searches
// draw from.
#pragma once

#include "solver/Board.h"

#include <limits>
#include <vector>

namespace Solver {

// Below every total a line can reach, with room to add a pair's points either way.
constexpr int MinusInfinity = -(1 << 30) - (1 << 29);
static_assert(MinusInfinity + 2 * PairValues::Limit < -60 * PairValues::Limit);
static_assert(MinusInfinity - 2 * PairValues::Limit > std::numeric_limits<int>::min());

struct Line
{
    std::vector<Move> moves;
    int total = 0;

    bool operator==(const Line&) const = default;
};

// A line played from a board: where it ends, its total, and whether every move was a pair
// on the board as it stood.
struct Replay
{
    Board end;
    int total = 0;
    bool legal = true;
};
Replay ReplayLine(Board board, const std::vector<Move>& moves, const PairValues& values);
// Whether the line plays out from `board`: every move a pair as the board stands, the total
// the sum of its moves, and no pair left at its end. Nothing else is ever offered as a result.
bool PlaysOut(const Board& board, const Line& line, const PairValues& values);

// The best immediate pair at every step (the first in board order on a tie), to the end.
Line Greedy(Board board, const PairValues& values);
// Uniformly random pairs from a seed, to the end.
Line RandomPlay(Board board, const PairValues& values, quint64 seed);

// A small seeded generator of our own (SplitMix64), so that a seed gives the same numbers
// with every compiler and standard library.
class Random
{
public:
    explicit Random(quint64 seed) : m_state(seed) { }
    quint64 Next();
    // Uniform in 0..n-1, without bias; n > 0.
    quint32 Below(quint32 n);

private:
    quint64 m_state;
};

} // namespace Solver
