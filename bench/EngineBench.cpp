// SPDX-License-Identifier: MIT
// Benchmarks of the game logic alone, on a host that records nothing: the deal of the
// smallest and the largest board, the move search on a full board, one removal, one undo,
// and a whole seeded game played to its end with random valid moves.

// own
#include "game/Game.h"
#include "game/GameHost.h"
#include "game/ScoreTables.h"
#include "game/Symbols.h"
#include "game/TextGrid.h"

#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <random>
#include <utility>
#include <vector>

namespace {

// The three default score tables, so that every pair is scored as in the program.
struct Tables
{
    std::array<std::unique_ptr<TextGrid>, 4> grids;

    Tables()
    {
        for (int kind = 1; kind <= 3; ++kind) {
            grids[size_t(kind)] = std::make_unique<TextGrid>(ScoreTables::Columns,
                                                             ScoreTables::InitialRowCount(kind));
            grids[size_t(kind)]->SetFixedRows(1);
            ScoreTables::FillDefaults(kind, *grids[size_t(kind)]);
        }
    }

    void AttachTo(Game& game) const
    {
        for (int kind = 1; kind <= 3; ++kind)
            game.SetScoreTable(kind, grids[size_t(kind)].get());
    }
};

const Tables& DefaultTables()
{
    static const Tables tables;
    return tables;
}

// A game on a full 10 x 12 board of all three sets.
struct FullBoard
{
    QuietGameHost host;
    Game game { host };

    explicit FullBoard(quint32 seed)
    {
        host.deal = DealSettings { 10, 12, { true, true, true } };
        DefaultTables().AttachTo(game);
        game.Seed(seed);
        game.NewGame();
    }
};

// Tile numbers of a horizontal pair of the same kind in the bottom row, leftmost first.
std::pair<int, int> BottomLeftPair(const Game& game)
{
    const int row = Game::Rows - 1;
    for (int c = 0; c + 1 < Game::Cols; ++c) {
        const Tile& a = game.TileAt(c, row);
        const Tile& b = game.TileAt(c + 1, row);
        if (a.visible && b.visible && Symbols::SymbolKind(a.caption) == Symbols::SymbolKind(b.caption))
            return { Game::TileNumber(c, row), Game::TileNumber(c + 1, row) };
    }
    return { 0, 0 };
}

// Every pair that may be removed now, as (tile, neighbour to its right or below).
void ValidPairs(const Game& game, std::vector<std::pair<int, int>>& out)
{
    out.clear();
    for (int r = 0; r < Game::Rows; ++r)
        for (int c = 0; c < Game::Cols; ++c) {
            const Tile& t = game.TileAt(c, r);
            if (!t.visible)
                continue;
            const quint8 kind = Symbols::SymbolKind(t.caption);
            if (kind == Symbols::NoKind)
                continue;
            if (c + 1 < Game::Cols && game.TileAt(c + 1, r).visible
                && Symbols::SymbolKind(game.TileAt(c + 1, r).caption) == kind)
                out.emplace_back(Game::TileNumber(c, r), Game::TileNumber(c + 1, r));
            if (r + 1 < Game::Rows && game.TileAt(c, r + 1).visible
                && Symbols::SymbolKind(game.TileAt(c, r + 1).caption) == kind)
                out.emplace_back(Game::TileNumber(c, r), Game::TileNumber(c, r + 1));
        }
}

constexpr quint32 BenchSeed = 20240601;

void BM_DealSmall(benchmark::State& state)
{
    QuietGameHost host;
    host.deal = DealSettings { 3, 4, { true, true, true } };
    Game game(host);
    game.Seed(BenchSeed);
    for (auto _ : state) {
        game.NewGame();
        benchmark::DoNotOptimize(game.Remaining());
    }
}
BENCHMARK(BM_DealSmall);

void BM_DealFull(benchmark::State& state)
{
    FullBoard board(BenchSeed);
    for (auto _ : state) {
        board.game.NewGame();
        benchmark::DoNotOptimize(board.game.Remaining());
    }
}
BENCHMARK(BM_DealFull);

void BM_FindMoveFull(benchmark::State& state)
{
    // The search costs most when it finds nothing: a full board where no two neighbours share a
    // kind, laid out as a checkerboard of stems and branches.
    const bool noMove = state.range(0) != 0;
    FullBoard board(BenchSeed);
    if (noMove) {
        std::array<QString, Game::TileCount> captions;
        std::array<bool, Game::TileCount> visible {};
        for (int i = 0; i < Game::TileCount; ++i) {
            const int c = i % Game::Cols;
            const int r = i / Game::Cols;
            captions[size_t(i)] = ((c + r) % 2 == 0) ? Symbols::Stems.mid(c % 10, 1)
                                                    : Symbols::Branches.mid(r % 12, 1);
            visible[size_t(i)] = true;
        }
        board.game.SetBoardForTest(captions, visible);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(board.game.FindMove());
    state.SetLabel(noMove ? "no move on the board" : "dealt board");
}
BENCHMARK(BM_FindMoveFull)->Arg(0)->Arg(1);

void BM_RemovePair(benchmark::State& state)
{
    // A left pair on the bottom row: both columns fall. Undo puts the board back, untimed.
    FullBoard board(BenchSeed);
    const auto [a, b] = BottomLeftPair(board.game);
    if (a == 0) {
        state.SkipWithError("no pair on the bottom row");
        return;
    }
    for (auto _ : state) {
        board.game.Pick(a, PickMode::Remove);
        board.game.Pick(b, PickMode::Remove);
        state.PauseTiming();
        board.game.ReBtnClick();
        state.ResumeTiming();
    }
    if (board.game.Remaining() != Game::TileCount)
        state.SkipWithError("the pair was not removed and restored");
}
BENCHMARK(BM_RemovePair);

void BM_Undo(benchmark::State& state)
{
    FullBoard board(BenchSeed);
    const auto [a, b] = BottomLeftPair(board.game);
    if (a == 0) {
        state.SkipWithError("no pair on the bottom row");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        board.game.Pick(a, PickMode::Remove);
        board.game.Pick(b, PickMode::Remove);
        state.ResumeTiming();
        board.game.ReBtnClick();
    }
    if (board.game.Remaining() != Game::TileCount)
        state.SkipWithError("the pair was not removed and restored");
}
BENCHMARK(BM_Undo);

void BM_WholeGame(benchmark::State& state)
{
    // The same seeded deal and the same sequence of random valid moves every time, until the
    // end test reports the end of the game.
    std::vector<std::pair<int, int>> pairs;
    pairs.reserve(2 * Game::TileCount);
    int moves = 0;
    for (auto _ : state) {
        FullBoard board(BenchSeed);
        std::mt19937 rng(BenchSeed);
        moves = 0;
        while (!board.host.gameOver) {
            ValidPairs(board.game, pairs);
            if (pairs.empty())
                break; // cannot happen: the end test fires first
            std::uniform_int_distribution<size_t> pick(0, pairs.size() - 1);
            const auto [a, b] = pairs[pick(rng)];
            board.game.Pick(a, PickMode::Remove);
            board.game.Pick(b, PickMode::Remove);
            ++moves;
        }
        benchmark::DoNotOptimize(moves);
    }
    state.counters["moves"] = moves;
}
BENCHMARK(BM_WholeGame)->Unit(benchmark::kMicrosecond);

} // namespace
