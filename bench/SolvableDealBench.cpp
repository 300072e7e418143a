// SPDX-License-Identifier: MIT
// Benchmarks of the clearable deal: the largest board (10 x 12, all three sets) built
// backwards alone, and dealt through the game as the Start button deals it, hidden tiles
// and tile colours included. A deal has to feel instant: well under 5 ms.

// own
#include "game/Game.h"
#include "game/GameHost.h"
#include "game/SolvableDeal.h"
#include "game/Symbols.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

constexpr quint32 BenchSeed = 20240601;

void BM_SolvableBuild(benchmark::State& state)
{
    const int rows = int(state.range(0));
    const int cols = int(state.range(1));
    const QStringList sets { Symbols::Stems, Symbols::Branches, Symbols::Stars };
    DealRandom rng(BenchSeed);
    SolvableDeal::Board board;
    for (auto _ : state) {
        if (!SolvableDeal::Build(rows, cols, sets, rng, board)) {
            state.SkipWithError("no board built");
            return;
        }
        benchmark::DoNotOptimize(board.removals.data());
    }
}
BENCHMARK(BM_SolvableBuild)->Args({ 3, 4 })->Args({ 10, 12 })->Unit(benchmark::kMicrosecond);

void BM_SolvableDealFull(benchmark::State& state)
{
    QuietGameHost host;
    host.deal = DealSettings { 10, 12, { true, true, true }, true };
    Game game(host);
    game.Seed(BenchSeed);
    for (auto _ : state) {
        game.NewGame();
        if (game.DealSolution().size() != 60) {
            state.SkipWithError("the deal was not built to clear");
            return;
        }
        benchmark::DoNotOptimize(game.Remaining());
    }
}
BENCHMARK(BM_SolvableDealFull)->Unit(benchmark::kMicrosecond);

// The plain deal of the same board, for comparison.
void BM_PlainDealFull(benchmark::State& state)
{
    QuietGameHost host;
    host.deal = DealSettings { 10, 12, { true, true, true }, false };
    Game game(host);
    game.Seed(BenchSeed);
    for (auto _ : state) {
        game.NewGame();
        benchmark::DoNotOptimize(game.Remaining());
    }
}
BENCHMARK(BM_PlainDealFull)->Unit(benchmark::kMicrosecond);

} // namespace
