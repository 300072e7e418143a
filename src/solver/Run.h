// SPDX-License-Identifier: MIT
// The analysis of one board: the exact search (ExactSearch.h) and the anytime search
// (Beam.h), alone or together, on worker threads the run owns.
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
//     2048 x the pairs of a position, a table's allocation) takes longer.
//   - Worker threads never call back into the caller; the caller reads Current() when it
//     likes (a window polls it from a timer).
#pragma once

#include "solver/ExactSearch.h"

#include <atomic>
#include <cstddef>
#include <limits>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace Solver {

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
