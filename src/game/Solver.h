// SPDX-License-Identifier: MIT
// The best-score analysis: the highest total the rest of a game can bring from a board.
//
// The problem. A position is the tiles in play (SolverBoard.h). A move removes two
// neighbouring tiles of one kind and scores the better of its two pick orders; the tiles
// above fall and emptied columns close. The game ends when no pair is left, so a line may
// stop only there, and on its way it may have to take pairs that score less than nothing.
// The best total of a position does not depend on how the position was reached.
//
// Two searches, alone or together (Run, below):
//
// Exact (ExactSearch): depth-first over the moves, best immediate value first, with
//   - a transposition table keyed by a 64-bit hash of the board (Board::Hash), holding for
//     each position either its best total or an upper bound of it: a position searched only
//     far enough to show that it cannot beat the bar keeps the bound it showed;
//   - pruning by Board::UpperBound (a pairing of the tiles left that forgets where they
//     stand): a position whose bound cannot lift its line above the bar is not searched;
//   - a bar that rises: it starts at the total of a known line (a greedy one at least) and
//     follows the best total the other threads have found while it runs. A position's
//     children may see the bar higher than the position did when it began; the position
//     reads it again before it stores what it found, and what does not beat that is a bound.
//   When it finishes it has proved the optimum: either it found a line above the bar (and
//   reads that line back through the table), or it showed that nothing beats the bar, whose
//   line is known. It counts the positions it visits (nodes).
//
// Anytime: beam search on every worker thread. A pass keeps the best `width` positions of
//   each layer (all positions of a layer have the same number of tiles left), ranked by the
//   points so far plus the upper bound of the tiles left, less a penalty for every tile with
//   no tile of its kind in its own column or the two beside it; a position reached twice is
//   kept once. Each worker runs passes of
//   doubling width (1, 2, 4, ... on even threads, 3, 6, 12, ... on odd ones, so that the
//   two finish passes at different moments) up to 16384, then that width again with new
//   random tie-breaks, and reports every line better than its own best so far. Measured on
//   10 x 12 boards of three sets, nested Monte-Carlo search (levels 1 and 2, playouts
//   favouring the better pairs) reached far lower totals than beam search for the same
//   number of positions visited, and a second thread running a second beam did as well as
//   sharing one beam of double width, so the workers are independent beams. Beams started
//   again from a point part-way along the worker's best line found better lines on some
//   deals and worse ones on others within 2 s, no better on the whole, so they are not used.
//
// The contract:
//   - Every line is legal from the starting board, its total is the sum of its moves'
//     values, and it ends only where no pair is left. A run replays every line before it
//     takes it (PlaysOut): one that fails is a fault of a search, and is never shown.
//   - A line whose total reaches Board::UpperBound of the starting board is proved best by
//     that alone, whichever search found it.
//   - Determinism: each worker's sequence of lines depends only on the board, the values,
//     the seed and its thread index, never on timing. With a node budget (Options::
//     nodeBudget) an Anytime run ends with the same best line every time for the same seed
//     and thread count; stopped by the clock, it has the best line of whatever each worker
//     had reached. Of two lines with the same total the lower thread's is kept. An exact
//     search always proves the same total; beside anytime workers, which of two equally good
//     lines a run ends with may depend on timing.
//   - Stop() returns within 50 ms: every loop looks at the stop flag at least every 1024
//     nodes, and no single step between two looks (a beam layer's selection of at most
//     16384 x the pairs of a position, a table's allocation) takes longer.
//   - Worker threads never call back into the caller; the caller reads Current() when it
//     likes (a window polls it from a timer).
#pragma once

#include "game/SolverBoard.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace Solver {

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
    int Search(const Board& board, int alpha, int pathPoints);
    // The bar as this search may count on it with `pathPoints` scored on the way.
    int BarAlpha(int alpha, int pathPoints) const;
    void Look();
    Line ReadLine(const Board& board, int total);

    const PairValues& m_values;
    std::unique_ptr<Table> m_table;
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

// The analysis of one board: exact and anytime searches on worker threads. The greedy line
// is there from the start.
class Run
{
public:
    enum class Mode {
        Exact,   // one thread: the exact search from the greedy line
        Anytime, // every thread a beam
        Both,    // thread 0 the exact search, the others beams raising its bar; on boards of
                 // more than ExactTileLimit tiles, where it could not finish, beams only
    };
    static constexpr int ExactTileLimit = 48;

    struct Options
    {
        Mode mode = Mode::Both;
        int threads = 2;
        quint64 seed = 1;
        // Nodes each beam may visit (0: until stopped); the exact search ignores it.
        qint64 nodeBudget = 0;
        std::size_t tableBytes = std::size_t(64) << 20;
        // Lowest thread priority, so that a window stays responsive beside the search.
        bool background = false;
        // For tests: lines offered as a beam offers them (as thread 1's), each once the exact
        // search has visited its node count, so that its bar rises at chosen moments. A line
        // that does not play out is refused, as any line is.
        std::vector<std::pair<qint64, Line>> offersDuringExact {};
    };

    struct State
    {
        Line best;
        bool proven = false;   // best.total is the optimum
        bool finished = false; // every worker has ended (proof, budget or stop)
        qint64 nodes = 0;
        int upperBound = 0;    // of the starting board
    };

    Run(const Board& board, const PairValues& values, const Options& options);
    ~Run();
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    // Ends every worker and returns once all have ended.
    void Stop();
    // Asks every worker to end and returns at once; Current().finished tells when they have,
    // and the destructor waits for them (no longer than Stop would).
    void RequestStop() { m_stop.store(true); }
    State Current() const;
    const Board& Start() const { return m_board; }
    const PairValues& Values() const { return m_values; }

private:
    // False, and the line is not taken, when it does not play out (PlaysOut).
    bool Offer(const Line& line, int thread);
    void ProvenLocked();
    void Worker(int thread);
    bool RunsExact(int thread) const;
    void ExactWorker();
    void AnytimeWorker(int thread);

    const Board m_board;
    const PairValues m_values;
    const Options m_options;
    const int m_upperBound;

    mutable std::mutex m_mutex;
    State m_state;
    int m_bestThread = std::numeric_limits<int>::max(); // the greedy line yields to any equal
    int m_running = 0;
    std::atomic<bool> m_stop { false };
    std::atomic<int> m_bar;
    std::vector<std::atomic<qint64>> m_nodes;
    std::vector<std::thread> m_threads;
};

} // namespace Solver
