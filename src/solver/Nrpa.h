// SPDX-License-Identifier: MIT
// Nested rollout policy adaptation: an anytime search that learns a playout policy. A
// playout picks each move with a probability that grows with the weight the policy gives
// the move's code (where it stands and which two symbols it pairs) and with the points the
// pair brings. Level 0 is a playout; level n runs level n-1 `iterations` times from a copy
// of its policy, keeps the best line so far and after each run shifts its policy towards
// that line's moves. A worker runs the top level again and again with fresh policies, and
// reports every line better than its own best so far. Its lines depend only on the board,
// the values and its seed.
#pragma once

#include "solver/Worker.h"

namespace Solver {

struct NrpaOptions
{
    int level = 3;
    int iterations = 100;
    // How much a pair's points weigh in a playout's choice: the policy starts as
    // bias x points / (the best pair's points / 5), so that tables of any scale start alike.
    double bias = 0.5;
    double alpha = 1.0; // the learning rate
};

void SearchNrpa(const Board& start, WorkerContext& context, quint64 seed, const NrpaOptions& options = {});

} // namespace Solver
