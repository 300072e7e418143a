// SPDX-License-Identifier: MIT
// The best-score analysis measured on seeded deals of every board size from 3 x 4 to
// 10 x 12, all three symbol sets, default score tables. For each deal:
//   - exact: the exact search alone on one thread (Run::Mode::Exact), or beside a beam that
//     raises its bar (Run::Mode::Both, as the window runs it) on boards of more than 36 tiles,
//     with a cap of SOLVER_CAP seconds (60); its time, processor time and nodes per second;
//   - anytime: two beam threads (Run::Mode::Anytime), the best total after 0.5 s, 2 s and
//     10 s of one run (each worker's lines do not depend on timing, so a run read at 0.5 s
//     has what a run stopped there would have); it ends early once it holds the optimum;
//   - on 10 x 12, a run of SOLVER_LONG seconds (60) of the window's mode, the reference
//     "best any method finds" there;
//   - a greedy player (best immediate pair) and a random player.
// Totals are compared with the proven optimum where the exact search finished, else with
// the best any method found. Prints one table, then the targets with their verdicts.
//
//   SOLVER_SEEDS=20      deals per size (seeds 1..N)
//   SOLVER_SIZES="3x4 6x6"  the sizes to run
//   SOLVER_CAP=60 SOLVER_LONG=60  seconds

// own
#include "game/Game.h"
#include "game/GameHost.h"
#include "game/ScoreTables.h"
#include "solver/GameBridge.h"
#include "solver/Run.h"
#include "game/TextGrid.h"

// Qt
#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

double ProcessorSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

int EnvNumber(const char* name, int fallback)
{
    const QByteArray text = qgetenv(name);
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n > 0 ? n : fallback;
}

struct Deal
{
    Solver::Board board;
    Solver::PairValues values;
};

Deal DealOf(int rows, int cols, quint32 seed)
{
    static const auto tables = [] {
        std::array<std::shared_ptr<TextGrid>, 4> t;
        for (int kind = 1; kind <= 3; ++kind) {
            t[size_t(kind)] = std::make_shared<TextGrid>(ScoreTables::Columns, ScoreTables::InitialRowCount(kind));
            ScoreTables::FillDefaults(kind, *t[size_t(kind)]);
        }
        return t;
    }();
    QuietGameHost host;
    host.deal = DealSettings { rows, cols, { true, true, true } };
    Game game(host);
    for (int kind = 1; kind <= 3; ++kind)
        game.SetScoreTable(kind, tables[size_t(kind)].get());
    game.Seed(seed);
    game.NewGame();
    return { *Solver::BoardOfGame(game), Solver::ValuesOfGame(game) };
}

struct ExactOutcome
{
    bool proven = false;
    int best = 0;
    double seconds = 0;
    double processor = 0;
    qint64 nodes = 0;
};

ExactOutcome RunExact(const Deal& deal, Solver::Run::Mode mode, double cap)
{
    Solver::Run::Options options;
    options.mode = mode;
    options.tableBytes = std::size_t(512) << 20;
    const Clock::time_point start = Clock::now();
    const double cpu = ProcessorSeconds();
    Solver::Run run(deal.board, deal.values, options);
    while (!run.Current().finished && Seconds(start) < cap)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    run.Stop();
    const Solver::Run::State state = run.Current();
    return { state.proven, state.best.total, Seconds(start), ProcessorSeconds() - cpu, state.nodes };
}

// The best totals of one anytime run read at the checkpoints (seconds, ascending).
std::vector<int> RunAnytime(const Deal& deal, Solver::Run::Mode mode, const std::vector<double>& checkpoints,
                            std::optional<int> optimum)
{
    Solver::Run::Options options;
    options.mode = mode;
    const Clock::time_point start = Clock::now();
    Solver::Run run(deal.board, deal.values, options);
    std::vector<int> totals;
    for (double checkpoint : checkpoints) {
        Solver::Run::State state = run.Current();
        while (Seconds(start) < checkpoint && !state.finished && !(optimum && state.best.total >= *optimum)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            state = run.Current();
        }
        totals.push_back(state.best.total);
    }
    return totals;
}

struct SizeResult
{
    int rows = 0, cols = 0;
    int deals = 0;
    int proven = 0;
    std::vector<double> exactSeconds; // of the proven ones
    double exactNodes = 0, exactProcessor = 0;
    bool exactWithBeam = false;
    long long reference = 0, greedy = 0, random = 0;
    std::array<long long, 3> anytime {};
    std::array<double, 3> worstShare { 1, 1, 1 }; // the lowest anytime / reference of one deal
    int beatsGreedy = 0;
    int referenceIsOptimum = 0;
};

QString Percent(long long part, long long whole)
{
    return whole > 0 ? QString::number(100.0 * double(part) / double(whole), 'f', 1) + QStringLiteral("%")
                     : QStringLiteral("-");
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

QString Ms(double seconds)
{
    return seconds < 1 ? QString::number(seconds * 1000, 'f', 1) + QStringLiteral(" ms")
                       : QString::number(seconds, 'f', 2) + QStringLiteral(" s");
}

SizeResult Measure(int rows, int cols, int seeds, double cap, double longRun)
{
    SizeResult r;
    r.rows = rows;
    r.cols = cols;
    const int tiles = rows * cols;
    // Up to 36 tiles the exact search alone; up to the window's limit beside a beam; above
    // that it is not tried.
    const bool tryExact = tiles <= Solver::Run::ExactTileLimit;
    r.exactWithBeam = tiles > 36;
    const std::vector<double> checkpoints { 0.5, 2, 10 };
    for (quint32 seed = 1; seed <= quint32(seeds); ++seed) {
        const Deal deal = DealOf(rows, cols, seed);
        ++r.deals;
        const int greedy = Solver::Greedy(deal.board, deal.values).total;
        const int random = Solver::RandomPlay(deal.board, deal.values, seed).total;
        std::optional<int> optimum;
        if (tryExact) {
            const ExactOutcome e = RunExact(deal, r.exactWithBeam ? Solver::Run::Mode::Both : Solver::Run::Mode::Exact, cap);
            if (e.proven) {
                optimum = e.best;
                ++r.proven;
                r.exactSeconds.push_back(e.seconds);
                r.exactNodes += double(e.nodes);
                r.exactProcessor += e.processor;
            }
        }
        const std::vector<int> anytime = RunAnytime(deal, Solver::Run::Mode::Anytime, checkpoints, optimum);
        int reference = optimum.value_or(std::max({ greedy, random, anytime.back() }));
        if (!optimum && longRun > 0)
            reference = std::max(reference, RunAnytime(deal, Solver::Run::Mode::Both, { longRun }, std::nullopt).back());
        r.referenceIsOptimum += optimum ? 1 : 0;
        r.reference += reference;
        r.greedy += greedy;
        r.random += random;
        for (size_t i = 0; i < 3; ++i) {
            r.anytime[i] += anytime[i];
            if (reference > 0)
                r.worstShare[i] = std::min(r.worstShare[i], double(anytime[i]) / reference);
        }
        r.beatsGreedy += anytime[1] > greedy ? 1 : 0;
        std::fprintf(stderr, "%dx%d seed %u: greedy %d random %d anytime %d %d %d reference %d%s\n", rows, cols,
                     seed, greedy, random, anytime[0], anytime[1], anytime[2], reference, optimum ? " (optimum)" : "");
    }
    return r;
}

void PrintTable(const std::vector<SizeResult>& results)
{
    std::vector<QStringList> rows;
    rows.push_back({ "size", "tiles", "exact proven", "exact median/max", "nodes/s", "reference", "0.5 s", "2 s",
                     "10 s", "2 s worst deal", "greedy", "random", "2 s > greedy" });
    for (const SizeResult& r : results) {
        const double slowest = r.exactSeconds.empty() ? 0 : *std::max_element(r.exactSeconds.begin(), r.exactSeconds.end());
        const bool triedExact = r.rows * r.cols <= Solver::Run::ExactTileLimit;
        rows.push_back({
            QStringLiteral("%1x%2").arg(r.rows).arg(r.cols),
            QString::number(r.rows * r.cols),
            triedExact ? QStringLiteral("%1/%2%3").arg(r.proven).arg(r.deals).arg(r.exactWithBeam ? " (+beam)" : "")
                       : QStringLiteral("-"),
            r.exactSeconds.empty() ? QStringLiteral("-") : Ms(Median(r.exactSeconds)) + " / " + Ms(slowest),
            r.exactProcessor > 0 && !r.exactWithBeam ? QString::number(r.exactNodes / r.exactProcessor / 1e6, 'f', 2) + " M"
                                                     : QStringLiteral("-"),
            QStringLiteral("%1 (%2)").arg(r.reference).arg(r.referenceIsOptimum == r.deals ? "optimum" : "best found"),
            Percent(r.anytime[0], r.reference), Percent(r.anytime[1], r.reference), Percent(r.anytime[2], r.reference),
            QString::number(100 * r.worstShare[1], 'f', 1) + "%",
            Percent(r.greedy, r.reference), Percent(r.random, r.reference),
            QStringLiteral("%1/%2").arg(r.beatsGreedy).arg(r.deals),
        });
    }
    std::vector<int> width(rows.front().size(), 0);
    for (const QStringList& row : rows)
        for (int i = 0; i < row.size(); ++i)
            width[size_t(i)] = std::max(width[size_t(i)], int(row[i].size()));
    for (const QStringList& row : rows) {
        QString line;
        for (int i = 0; i < row.size(); ++i)
            line += row[i].leftJustified(width[size_t(i)] + 2);
        std::printf("%s\n", qPrintable(line.trimmed()));
    }
}

void Verdict(const QString& item, const QString& measured, bool ok)
{
    std::printf("%-58s %-40s %s\n", qPrintable(item), qPrintable(measured), ok ? "ok" : "MISSED");
}

// The longest Stop() of runs stopped in full swing: both modes, small and full boards,
// stopped after different times so that the stop falls on different steps.
double SlowestStop(int deals)
{
    double slowest = 0;
    for (quint32 seed = 1; seed <= quint32(deals); ++seed)
        for (const auto& [rows, cols] : { std::pair { 6, 8 }, std::pair { 10, 12 } })
            for (const Solver::Run::Mode mode : { Solver::Run::Mode::Both, Solver::Run::Mode::Anytime }) {
                const Deal deal = DealOf(rows, cols, seed);
                Solver::Run::Options options;
                options.mode = mode;
                Solver::Run run(deal.board, deal.values, options);
                std::this_thread::sleep_for(std::chrono::milliseconds(200 + 97 * seed));
                const Clock::time_point start = Clock::now();
                run.Stop();
                slowest = std::max(slowest, Seconds(start));
            }
    return slowest;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int seeds = EnvNumber("SOLVER_SEEDS", 20);
    const double cap = EnvNumber("SOLVER_CAP", 60);
    const double longRun = EnvNumber("SOLVER_LONG", 60);
    QStringList sizes = QString::fromLocal8Bit(qgetenv("SOLVER_SIZES")).split(' ', Qt::SkipEmptyParts);
    if (sizes.isEmpty())
        sizes = { "3x4", "4x4", "4x6", "3x8", "5x6", "6x6", "6x8", "8x8", "8x10", "10x12" };

    std::vector<SizeResult> results;
    for (const QString& size : sizes) {
        const QStringList rc = size.split('x');
        if (rc.size() != 2)
            continue;
        const int rows = rc[0].toInt(), cols = rc[1].toInt();
        results.push_back(Measure(rows, cols, seeds, cap, rows * cols == 120 ? longRun : 0));
    }
    std::printf("\nBest-score analysis: %d deals per size, all three sets, default tables; "
                "anytime on two threads; percentages of the reference total\n\n", seeds);
    PrintTable(results);

    std::printf("\n");
    bool allOk = true;
    for (const SizeResult& r : results) {
        const int tiles = r.rows * r.cols;
        const double slowest = r.exactSeconds.empty() ? 1e9 : *std::max_element(r.exactSeconds.begin(), r.exactSeconds.end());
        if (tiles <= 24) {
            const bool ok = r.proven == r.deals && slowest < 0.1;
            allOk &= ok;
            Verdict(QStringLiteral("exact, %1x%2 (%3 tiles), every deal < 100 ms").arg(r.rows).arg(r.cols).arg(tiles),
                    QStringLiteral("%1/%2 proven, slowest %3").arg(r.proven).arg(r.deals).arg(Ms(slowest)), ok);
        } else if (r.rows == 6 && r.cols == 6) {
            const bool ok = r.proven == r.deals && slowest < 10;
            allOk &= ok;
            Verdict(QStringLiteral("exact, 6x6, every deal < 10 s"),
                    QStringLiteral("%1/%2 proven, median %3, slowest %4").arg(r.proven).arg(r.deals)
                        .arg(Ms(Median(r.exactSeconds)), Ms(slowest)), ok);
        } else if (tiles == 120) {
            const bool share = r.worstShare[1] >= 0.98;
            const bool greedy = r.beatsGreedy == r.deals;
            allOk &= share && greedy;
            Verdict(QStringLiteral("10x12: 2 s total >= 98% of the best in %1 s, every deal").arg(longRun),
                    QStringLiteral("worst deal %1%, all deals %2").arg(100 * r.worstShare[1], 0, 'f', 1)
                        .arg(Percent(r.anytime[1], r.reference)), share);
            Verdict(QStringLiteral("10x12: 2 s total beats greedy on every deal"),
                    QStringLiteral("%1/%2").arg(r.beatsGreedy).arg(r.deals), greedy);
        }
    }
    const double stop = SlowestStop(std::min(seeds, 8));
    allOk &= stop < 0.05;
    Verdict(QStringLiteral("Stop() of a run in full swing returns within 50 ms"),
            QStringLiteral("slowest of %1: %2").arg(4 * std::min(seeds, 8)).arg(Ms(stop)), stop < 0.05);
    return allOk ? 0 : 1;
}
