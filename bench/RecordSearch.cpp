// SPDX-License-Identifier: MIT
// Long searches on the record table's deals (RecordTable.h): each deal not yet proven is
// searched for a while, and its record is raised, and the table written at once, when the
// search finds a better line or proves the optimum. Every line is played through the game
// before it is written, and written only when the game ends on exactly its total.
//
//   orbilo_record_search [options] bench/records.tsv
//     --seconds N   per deal (60)
//     --seed N      the search's seed (1); runs with other seeds find other lines
//     --sizes 10x12,6x8   only these sizes
//     --deals 3,7   only these rows of each size (1-based)
//     --init N      first adds the first N seeded deals of 10 x 12 and 6 x 8, all three
//                   sets, with their greedy lines (the deals ./bench.sh solver measures)

// own
#include "RecordTable.h"
#include "solver/GameBridge.h"
#include "solver/Run.h"

// Qt
#include <QCoreApplication>
#include <QDateTime>

#include <algorithm>
#include <chrono>
#include <map>
#include <cstdio>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// The picks of a line from the board, in the game's tile numbers.
std::vector<std::pair<int, int>> PicksOfLine(Solver::Board board, const Solver::Line& line, const Solver::PairValues& values)
{
    std::vector<std::pair<int, int>> picks;
    for (const Solver::Move& m : line.moves) {
        const Solver::Picks p = Solver::PicksOf(board, m, values);
        picks.push_back({ p.first, p.second });
        board.Apply(m);
    }
    return picks;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    double seconds = 60;
    quint64 seed = 1;
    int init = 0;
    QStringList sizes;
    QList<int> rows;
    QString path;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const QString next = i + 1 < args.size() ? args[i + 1] : QString();
        if (a == "--seconds")
            seconds = next.toDouble(), ++i;
        else if (a == "--seed")
            seed = next.toULongLong(), ++i;
        else if (a == "--init")
            init = next.toInt(), ++i;
        else if (a == "--sizes")
            sizes = next.split(',', Qt::SkipEmptyParts), ++i;
        else if (a == "--deals") {
            for (const QString& d : next.split(',', Qt::SkipEmptyParts))
                rows << d.toInt();
            ++i;
        } else
            path = a;
    }
    if (path.isEmpty()) {
        std::fprintf(stderr, "usage: orbilo_record_search [--seconds N] [--seed N] [--sizes 10x12,6x8] "
                             "[--deals 1,2] [--init N] records.tsv\n");
        return 2;
    }

    QString error;
    std::optional<Records::Table> table = Records::Read(path, &error);
    if (!table) {
        if (init == 0 || QFile::exists(path)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        table = Records::Table {};
    }
    for (const auto& [r, c] : { std::pair { 10, 12 }, std::pair { 6, 8 } })
        for (quint32 s = 1; s <= quint32(init); ++s) {
            QuietGameHost host;
            host.deal = DealSettings { r, c, { true, true, true } };
            Game game(host);
            game.Seed(s);
            game.NewGame();
            const quint32 number = game.DealNumber();
            if (std::any_of(table->records.begin(), table->records.end(), [&](const Records::Record& x) {
                    return x.rows == r && x.cols == c && x.sets == 7 && x.deal == number;
                }))
                continue;
            Records::DealtGame dealt(r, c, 7, number);
            const Solver::Board board = *Solver::BoardOfGame(dealt.game);
            const Solver::PairValues values = Solver::ValuesOfGame(dealt.game);
            const Solver::Line greedy = Solver::Greedy(board, values);
            table->records.push_back({ r, c, 7, number, greedy.total, false, QStringLiteral("greedy"),
                                       PicksOfLine(board, greedy, values) });
        }
    if (init > 0 && !Records::Write(path, *table)) {
        std::fprintf(stderr, "%s: cannot write\n", qPrintable(path));
        return 1;
    }

    std::map<QString, int> rowOfSize;
    int raised = 0;
    for (size_t i = 0; i < table->records.size(); ++i) {
        Records::Record& r = table->records[i];
        const int row = ++rowOfSize[r.Size()];
        if (r.proven || (!sizes.isEmpty() && !sizes.contains(r.Size())) || (!rows.isEmpty() && !rows.contains(row)))
            continue;
        Records::DealtGame dealt(r);
        const Solver::Board board = *Solver::BoardOfGame(dealt.game);
        const Solver::PairValues values = Solver::ValuesOfGame(dealt.game);
        Solver::Run::Options options;
        options.seed = seed;
        options.tableBytes = std::size_t(512) << 20;
        const Clock::time_point start = Clock::now();
        Solver::Run run(board, values, options);
        while (!run.Current().finished && std::chrono::duration<double>(Clock::now() - start).count() < seconds)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        run.Stop();
        const Solver::Run::State state = run.Current();
        const double took = std::chrono::duration<double>(Clock::now() - start).count();
        std::printf("%s #%d deal %u: record %d%s, found %d%s in %.1f s", qPrintable(r.Size()), row, r.deal, r.total,
                    r.proven ? " (proven)" : "", state.best.total, state.proven ? " (proven)" : "", took);
        if (state.best.total > r.total || (state.proven && state.best.total == r.total)) {
            Records::Record raisedTo = r;
            raisedTo.total = state.best.total;
            raisedTo.proven = state.proven;
            raisedTo.picks = PicksOfLine(board, state.best, values);
            raisedTo.found = QStringLiteral("%1 %2 s, seed %3, %4")
                                 .arg(state.proven ? QStringLiteral("exact and beams") : QStringLiteral("beams x2"))
                                 .arg(qRound(took))
                                 .arg(seed)
                                 .arg(QDate::currentDate().toString(Qt::ISODate));
            if (state.best.total < r.total || Records::PlayedTotal(raisedTo) != raisedTo.total) {
                std::printf("  NOT RAISED: the game does not end on that total\n");
                continue;
            }
            if (state.best.total == r.total)
                raisedTo.picks = r.picks, raisedTo.found = r.found + QStringLiteral("; proven ") + QDate::currentDate().toString(Qt::ISODate);
            r = raisedTo;
            ++raised;
            if (!Records::Write(path, *table)) {
                std::fprintf(stderr, "\n%s: cannot write\n", qPrintable(path));
                return 1;
            }
            std::printf("  raised\n");
        } else {
            std::printf("\n");
        }
        std::fflush(stdout);
    }
    std::printf("%d records raised\n", raised);
    return 0;
}
