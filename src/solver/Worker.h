// SPDX-License-Identifier: MIT
// What an anytime search shares with the run it works for: its node budget, the stop flag,
// its published node count and where its lines go.
#pragma once

#include "solver/Line.h"

#include <atomic>
#include <functional>

namespace Solver {

// How often (in nodes) a search looks at the stop flag and publishes its count.
constexpr int CheckEvery = 1024;

struct WorkerContext
{
    const PairValues& values;
    const std::atomic<bool>& stop;
    std::atomic<qint64>& published;
    qint64 budget = 0; // nodes (0: until stopped)
    std::function<void(const Line&)> report;
    qint64 nodes = 0;
    Line best { {}, MinusInfinity };

    // Counts one node; true when the worker must end.
    bool Tick()
    {
        ++nodes;
        if (nodes % CheckEvery != 0)
            return false;
        published.store(nodes, std::memory_order_relaxed);
        return Done();
    }
    bool Done() const
    {
        return stop.load(std::memory_order_relaxed) || (budget > 0 && nodes >= budget);
    }
    // Reports the line when it beats every line this worker reported before.
    void Offer(const Line& line)
    {
        if (line.total <= best.total)
            return;
        best = line;
        report(line);
    }
};

} // namespace Solver
