// SPDX-License-Identifier: MIT
// The exact search: depth-first over the moves, best immediate value first, with
//   - a transposition table keyed by a 64-bit hash of the board (Board::Hash), holding for
//     each position either its best total or an upper bound of it: a position searched only
//     far enough to show that it cannot beat the bar keeps the bound it showed;
//   - pruning by Board::UpperBound (a pairing of the tiles left that forgets where they
//     stand): a position whose bound cannot lift its line above the bar is not searched, and
//     not even built: a move changes its own kind's part of the bound only, so the parent
//     works each child's bound out from its own tile counts;
//   - a bar that rises: it starts at the total of a known line (a greedy one at least) and
//     follows the best total the other threads have found while it runs. A position's
//     children may see the bar higher than the position did when it began; the position
//     reads it again before it stores what it found, and what does not beat that is a bound.
// When it finishes it has proved the optimum: either it found a line above the bar (and
// reads that line back through the table), or it showed that nothing beats the bar, whose
// line is known. It counts the positions it visits (nodes), and looks at the stop flag at
// least every CheckEvery nodes.
#pragma once

#include "solver/Line.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <functional>
#include <limits>
#include <memory>

namespace Solver {

class ExactSearch
{
public:
    // The table takes about tableBytes (at least 1 MB, rounded down to a power of two; less
    // when the system has not that much to give).
    ExactSearch(const PairValues& values, std::size_t tableBytes);
    ~ExactSearch();

    struct Result
    {
        bool proven = false; // finished: `best` is the optimum, and `line`, when given, plays out to it
        int best = 0;
        // A line of that total when it beat every line the caller holds; otherwise empty
        // (the known line, or the bar's, is best).
        Line line;
        qint64 nodes = 0;
    };

    // Searches `board`. `known` is a complete line from there (empty only when no move is
    // left, or when none is known). `bar`, when given, is a best total that others raise
    // while the search runs; every total it holds must belong to a line the caller holds.
    // `stop` ends the search early, unproven. `published`, when given, follows the node count.
    Result Solve(const Board& board, const Line& known, const std::atomic<bool>& stop,
                 const std::atomic<int>* bar = nullptr, std::atomic<qint64>* published = nullptr);

    // For tests: `hook` is called on the search's thread once it has visited `at` nodes, and
    // returns the node count of its next call (0 for none). A test raises the bar from it at
    // moments of its choosing, as other threads raise it at moments no test controls.
    using NodeHook = std::function<qint64(qint64 nodes)>;
    void SetNodeHook(qint64 at, NodeHook hook);

private:
    struct Table;
    // A position's tile counts and its upper bound (doubled) kind by kind.
    struct Bounds
    {
        Board::Counts counts;
        std::array<qint64, 4> kindTwice; // [kind], 1..3
        qint64 twice;
    };
    Bounds BoundsOf(const Board& board);
    int Search(const Board& board, const Bounds& bounds, int alpha, int pathPoints);
    // The bar as this search may count on it with `pathPoints` scored on the way.
    int BarAlpha(int alpha, int pathPoints) const;
    void Look();
    Line ReadLine(const Board& board, int total);

    // The moves of a position being searched and their values, one frame for each half of
    // a tile count.
    struct Frame
    {
        std::array<Move, MaxMoves> moves;
        std::array<int, MaxMoves> worth;
    };

    const PairValues& m_values;
    std::unique_ptr<Table> m_table;
    std::unique_ptr<Frame[]> m_frames;
    KindBoundMemo m_bounds;
    const std::atomic<bool>* m_stop = nullptr;
    const std::atomic<int>* m_bar = nullptr;
    std::atomic<qint64>* m_published = nullptr;
    qint64 m_nodes = 0;
    qint64 m_nextLook = 0; // the node count of the next look at the flag, the count and the hook
    NodeHook m_hook;
    qint64 m_hookAt = std::numeric_limits<qint64>::max();
    bool m_aborted = false;
};

} // namespace Solver
