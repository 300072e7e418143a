// SPDX-License-Identifier: MIT
#include "solver/Run.h"

#include "platform/ThreadPriority.h"
#include "solver/Beam.h"

#include <algorithm>

namespace Solver {

Run::Run(const Board& board, const PairValues& values, const Options& options)
    : m_board(board)
    , m_values(values)
    , m_options(options)
    , m_upperBound(board.UpperBound(values))
    , m_nodes(size_t(std::max(1, options.threads)))
{
    m_state.best = Greedy(board, values);
    m_state.upperBound = m_upperBound;
    m_bar.store(m_state.best.total);
    if (m_state.best.total >= m_upperBound || !board.HasMove()) {
        m_state.proven = true;
        m_state.finished = true;
        return;
    }
    const int threads = m_options.mode == Mode::Exact ? 1 : std::max(1, m_options.threads);
    m_running = threads;
    for (int t = 0; t < threads; ++t)
        m_threads.emplace_back([this, t] { Worker(t); });
}

Run::~Run()
{
    Stop();
}

void Run::Stop()
{
    m_stop.store(true);
    for (std::thread& t : m_threads)
        if (t.joinable())
            t.join();
}

Run::State Run::Current() const
{
    std::lock_guard lock(m_mutex);
    State state = m_state;
    state.nodes = 0;
    for (const std::atomic<qint64>& n : m_nodes)
        state.nodes += n.load(std::memory_order_relaxed);
    return state;
}

bool Run::Offer(const Line& line, int thread)
{
    // Replayed outside the lock: lines come seldom, and a replay costs less than a node of
    // a beam's layer.
    if (!PlaysOut(m_board, line, m_values))
        return false;
    std::lock_guard lock(m_mutex);
    if (m_state.proven)
        return true;
    if (line.total > m_state.best.total || (line.total == m_state.best.total && thread < m_bestThread)) {
        m_state.best = line;
        m_bestThread = thread;
        m_bar.store(line.total);
    }
    if (m_state.best.total >= m_upperBound)
        ProvenLocked();
    return true;
}

void Run::ProvenLocked()
{
    m_state.proven = true;
    m_stop.store(true);
}

void Run::Worker(int thread)
{
    if (m_options.background)
        LowerThisThreadsPriority();
    try {
        if (RunsExact(thread))
            ExactWorker();
        else
            AnytimeWorker(thread);
    } catch (const std::bad_alloc&) {
        // Out of memory: this worker ends; what the run holds stays good.
    }
    std::lock_guard lock(m_mutex);
    if (--m_running == 0)
        m_state.finished = true;
}

bool Run::RunsExact(int thread) const
{
    switch (m_options.mode) {
    case Mode::Exact:
        return true;
    case Mode::Anytime:
        return false;
    case Mode::Both:
        break;
    }
    return thread == 0 && (m_board.TileCount() <= ExactTileLimit || m_options.threads < 2);
}

void Run::ExactWorker()
{
    // A small board visits few positions; a large table would only cost page faults.
    const int tiles = m_board.TileCount();
    const std::size_t bytes = std::size_t(1) << std::clamp(20 + (tiles - 20) / 2, 20, 40);
    ExactSearch search(m_values, std::min(bytes, m_options.tableBytes));
    if (!m_options.offersDuringExact.empty()) {
        search.SetNodeHook(m_options.offersDuringExact.front().first, [this, next = size_t(0)](qint64 nodes) mutable {
            const auto& offers = m_options.offersDuringExact;
            for (; next < offers.size() && offers[next].first <= nodes; ++next)
                Offer(offers[next].second, 1);
            return next < offers.size() ? offers[next].first : 0;
        });
    }
    const ExactSearch::Result result = search.Solve(m_board, Current().best, m_stop, &m_bar, &m_nodes[0]);
    if (!result.proven)
        return;
    if (!result.line.moves.empty() && !Offer(result.line, 0)) {
        Q_ASSERT_X(false, "Run::ExactWorker", "the exact search's line does not play out to its total");
        return;
    }
    // Nothing beat the bar otherwise, and the run holds the bar's line. The proof is of the
    // total of the line the run holds, or of none.
    std::lock_guard lock(m_mutex);
    if (m_state.best.total != result.best) {
        Q_ASSERT_X(false, "Run::ExactWorker", "the total proved is not the run's best line's");
        return;
    }
    ProvenLocked();
}

void Run::AnytimeWorker(int thread)
{
    WorkerContext context { m_values, m_stop, m_nodes[size_t(thread)], m_options.nodeBudget,
                            [this, thread](const Line& line) {
                                [[maybe_unused]] const bool whole = Offer(line, thread);
                                Q_ASSERT_X(whole, "Run::AnytimeWorker", "a beam's line does not play out to its total");
                            } };
    // The even workers' first narrow passes bring lines within moments; the odd ones start
    // at full width, where the time goes further (bench/README.md).
    SearchBeams(m_board, context, thread % 2 == 0 ? 1 : MaxBeamWidth, m_options.seed * 0x9E3779B97F4A7C15ull + quint64(thread));
    m_nodes[size_t(thread)].store(context.nodes);
}

} // namespace Solver
