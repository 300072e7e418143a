// SPDX-License-Identifier: MIT
// The best-score analysis against the game and against brute force: every line it plays,
// clicked into the game as a player clicks, gives the same boards, points and log rows; the
// board as dealt is read back from the log; the exact search and the upper bound agree with
// a plain search of every line on small boards under random score tables; an anytime run
// with a node budget is reproducible. Every case prints its seed.

#include "GameTestSupport.h"
#include "game/Numbers.h"
#include "solver/Beam.h"
#include "solver/GameBridge.h"
#include "solver/Run.h"
#include "solver/SelectBest.h"

// GoogleTest
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <unordered_map>

using Solver::Board;
using Solver::ExactSearch;
using Solver::Line;
using Solver::Move;
using Solver::PairValues;
using Solver::Random;
using Solver::Replay;
using Solver::BoardOfGame;
using Solver::DealOfGame;
using Solver::ValuesOfGame;
using Solver::Greedy;
using Solver::RandomPlay;
using Solver::ReplayLine;
using Solver::PicksOf;
using Solver::LogRowsOf;
using Solver::CompletedPoints;
using Solver::MaxMoves;

namespace {

// Remembers the position and the total at the end of a game.
class EndRecordingHost : public RecordingHost
{
public:
    std::optional<Board> endBoard;
    int endPoints = 0;

    void GameEnded(GameEnd end) override
    {
        RecordingHost::GameEnded(end);
        endBoard = BoardOfGame(*game);
        endPoints = game->PointsTotal();
    }
};

// Score tables with random points: negative, lopsided between the two orders, and now and
// then a points text that is no number or a pair without its row.
void Scramble(DefaultTables& tables, Random& random)
{
    for (TextGrid* table : { &tables.stems, &tables.branches, &tables.stars }) {
        for (int r = 1; r < table->RowCount(); ++r) {
            const quint32 roll = random.Below(20);
            table->SetCell(2, r, roll == 0 ? QStringLiteral("abc") : roll == 1 ? QString()
                                                                     : QString::number(int(random.Below(21)) - 10));
        }
        table->SetRowCount(table->RowCount() - int(random.Below(8)));
    }
}

struct Fixture
{
    EndRecordingHost host;
    std::unique_ptr<Game> game = std::make_unique<Game>(host);
    DefaultTables tables;

    explicit Fixture(quint32 seed)
    {
        host.game = game.get();
        tables.AttachTo(*game);
        game->Seed(seed);
    }
};

// `columns` columns of random heights up to `maxHeight`, of symbols among the first
// `symbols` of the alphabet, about one tile in `blankEvery` a blank (0: none).
Board RandomBoard(Random& random, quint32 columns, quint32 maxHeight, quint32 symbols, quint32 blankEvery = 0)
{
    std::vector<std::vector<Solver::Tile>> tiles(columns);
    for (auto& column : tiles)
        for (quint32 h = 1 + random.Below(maxHeight); h > 0; --h)
            column.push_back(blankEvery != 0 && random.Below(blankEvery) == 0 ? Solver::Blank
                                                                            : Solver::Tile(1 + random.Below(symbols)));
    return Board::FromColumns(tiles);
}

// A line for the deal: random, greedy, exact or anytime, by seed.
Line SomeLine(const Board& board, const PairValues& values, quint32 seed)
{
    switch (seed % 4) {
    case 0:
        return Greedy(board, values);
    case 1:
        if (board.TileCount() <= 24) {
            std::atomic<bool> stop { false };
            ExactSearch exact(values, 1 << 20);
            const ExactSearch::Result r = exact.Solve(board, Greedy(board, values), stop);
            return r.line.moves.empty() ? Greedy(board, values) : r.line;
        }
        [[fallthrough]];
    case 2: {
        Solver::Run run(board, values, { Solver::Run::Mode::Anytime, 2, seed, 20000 });
        while (!run.Current().finished)
            std::this_thread::yield();
        return run.Current().best;
    }
    default:
        return RandomPlay(board, values, seed);
    }
}

// Every line, clicked into the game, gives the same boards and points at every move and
// ends the game on its total. Part-way along, the log's rows are those the solver writes for
// the moves so far, and undoing some moves (then redoing them) moves the position and keeps
// the deal.
TEST(SolverTest, LinesPlayedThroughTheGameGiveTheSameBoardsPointsAndRows)
{
    for (quint32 seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        Fixture f(seed);
        Random random(seed);
        if (seed % 3 == 0)
            Scramble(f.tables, random);
        const int setMask = 1 + int(random.Below(7));
        f.host.deal = seed % 5 == 0 ? DealSettings { 10, 12, { true, true, true } }
                                    : DealSettings { 3 + int(random.Below(8)), 4 + 2 * int(random.Below(5)),
                                                     { (setMask & 1) != 0, (setMask & 2) != 0, (setMask & 4) != 0 },
                                                     random.Below(2) == 0 };
        f.game->NewGame();
        const std::optional<Board> dealt = BoardOfGame(*f.game);
        ASSERT_TRUE(dealt);
        const PairValues values = ValuesOfGame(*f.game);
        const Line line = seed % 5 == 0 ? RandomPlay(*dealt, values, seed) : SomeLine(*dealt, values, seed);
        ASSERT_EQ(ReplayLine(*dealt, line.moves, values).total, line.total);
        if (line.moves.empty())
            continue; // dealt without a pair: the game goes on until the player deals again
        // Where the log is checked and moves are undone and redone: after any move, the last
        // included (a finished game is taken back too, and redone it does not end again).
        const size_t midway = random.Below(quint32(line.moves.size()));

        Board board = *dealt;
        int points = 0;
        for (size_t i = 0; i < line.moves.size(); ++i) {
            const Solver::Picks picks = PicksOf(board, line.moves[i], values);
            points += board.Value(line.moves[i], values);
            board.Apply(line.moves[i]);
            f.game->Pick(picks.first, PickMode::Remove);
            f.game->Pick(picks.second, PickMode::Remove);
            if (!board.HasMove())
                break;
            ASSERT_EQ(BoardOfGame(*f.game), board) << "move " << i;
            ASSERT_EQ(f.game->PointsTotal(), points) << "move " << i;
            ASSERT_EQ(DealOfGame(*f.game), dealt) << "move " << i;
            if (i != midway)
                continue;

            const std::vector<Move> played(line.moves.begin(), line.moves.begin() + qsizetype(i + 1));
            const std::vector<Solver::LogRow> rows = LogRowsOf(*dealt, played, values, *f.game);
            ASSERT_EQ(rows.size(), played.size());
            const TextGrid& log = f.game->MoveLog();
            for (size_t r = 0; r < rows.size(); ++r) {
                const int row = int(r) + 1;
                EXPECT_EQ(rows[r].first, log.Cell(Game::LogSymbol1, row)) << "row " << r;
                EXPECT_EQ(rows[r].second, log.Cell(Game::LogSymbol2, row)) << "row " << r;
                EXPECT_EQ(rows[r].points, Numbers::ParseInteger(log.Cell(Game::LogPoints, row)).value_or(0)) << "row " << r;
                EXPECT_EQ(rows[r].text, log.Cell(Game::LogText, row)) << "row " << r;
            }
            const size_t undone = 1 + random.Below(quint32(std::min<size_t>(played.size(), 20)));
            for (size_t u = 0; u < undone; ++u)
                f.game->ReBtnClick();
            const Replay back = ReplayLine(*dealt, { played.begin(), played.end() - qsizetype(undone) }, values);
            EXPECT_EQ(BoardOfGame(*f.game), back.end);
            EXPECT_EQ(DealOfGame(*f.game), dealt);
            EXPECT_EQ(CompletedPoints(*f.game), back.total);
            for (size_t u = 0; u < undone; ++u)
                f.game->RedoClick();
            ASSERT_EQ(BoardOfGame(*f.game), board);
        }
        // The last move ended the game.
        ASSERT_EQ(f.host.ends.size(), 1);
        EXPECT_EQ(f.host.endBoard, board);
        EXPECT_EQ(f.host.endPoints, line.total);
    }
}

TEST(SolverTest, ALogThatDoesNotFitTheBoardGivesNoDealAndNoCrash)
{
    const QStringList junk = { QString(), QStringLiteral("  0"), QStringLiteral("121"), QStringLiteral("-13"),
                               QStringLiteral("甲"), QStringLiteral("1"), QStringLiteral("abc"), QStringLiteral(" 99") };
    for (quint32 seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        Fixture f(seed);
        Random random(seed);
        f.host.deal = DealSettings { 3 + int(random.Below(8)), 12, { true, random.Below(2) == 0, false } };
        f.game->NewGame();
        const Board dealt = *BoardOfGame(*f.game);
        const PairValues values = ValuesOfGame(*f.game);
        const Line line = RandomPlay(dealt, values, seed);
        Board board = dealt;
        for (size_t i = 0; i + 1 < line.moves.size() && i < 12; ++i) {
            const Solver::Picks picks = PicksOf(board, line.moves[i], values);
            f.game->Pick(picks.first, PickMode::Remove);
            f.game->Pick(picks.second, PickMode::Remove);
            board.Apply(line.moves[i]);
        }
        if (f.game->MoveRow() == 1)
            continue;
        // One cell of a played row, spoiled: read back, it gives the deal only by chance.
        const int row = 1 + int(random.Below(quint32(f.game->MoveRow() - 1)));
        const int col = int(random.Below(Game::LogColumns));
        f.game->MoveLog().SetCell(col, row, junk[int(random.Below(quint32(junk.size())))]);
        if (const std::optional<Board> deal = DealOfGame(*f.game)) {
            EXPECT_EQ(deal->TileCount(), dealt.TileCount());
        }
    }
}

TEST(SolverTest, PointsOfATableAreHeldSoThatNoTotalOverflows)
{
    Fixture f(1);
    f.tables.stems.SetCell(2, 1, QStringLiteral("2147483647")); // 甲 then 甲
    f.tables.stems.SetCell(2, 2, QStringLiteral("-2147483648")); // 甲 then 乙
    const PairValues values = ValuesOfGame(*f.game);
    const Solver::Tile jia = Solver::TileOf(QStringLiteral("甲"));
    const Solver::Tile yi = Solver::TileOf(QStringLiteral("乙"));
    EXPECT_EQ(values.Points(jia, jia), PairValues::Limit);
    EXPECT_EQ(values.Points(jia, yi), -PairValues::Limit);
    // A full board of 甲 pays the limit sixty times without wrapping round.
    const Board board = Board::FromColumns(std::vector<std::vector<Solver::Tile>>(12, std::vector<Solver::Tile>(10, jia)));
    EXPECT_EQ(Greedy(board, values).total, 60 * PairValues::Limit);
    EXPECT_EQ(board.UpperBound(values), 60 * PairValues::Limit);
}

TEST(SolverTest, BoardsTheRulesCannotReachAreRefused)
{
    Fixture f(1);
    LayBoard(*f.game, { "甲甲", "甲." }); // a tile over a hole
    EXPECT_FALSE(BoardOfGame(*f.game));
    LayBoard(*f.game, { "甲.甲", "甲.甲" }); // an empty column between two
    EXPECT_FALSE(BoardOfGame(*f.game));
    LayBoard(*f.game, { "甲乙", "Ａ甲" }); // a caption that is no symbol
    EXPECT_FALSE(BoardOfGame(*f.game));
    LayBoard(*f.game, { "甲乙", "丙甲" });
    EXPECT_TRUE(BoardOfGame(*f.game));
}

// The best total of every line from `board`, found the plain way; on the way, the upper
// bound of every position is checked against it.
int BruteForce(const Board& board, const PairValues& values, std::unordered_map<quint64, std::vector<std::pair<Board, int>>>& seen)
{
    auto& bucket = seen[board.Hash()];
    for (const auto& [b, v] : bucket)
        if (b == board)
            return v;
    std::array<Move, MaxMoves> moves;
    const int n = board.Moves(moves);
    int best = n == 0 ? 0 : std::numeric_limits<int>::min();
    for (int i = 0; i < n; ++i) {
        Board child = board;
        child.Apply(moves[size_t(i)]);
        best = std::max(best, board.Value(moves[size_t(i)], values) + BruteForce(child, values, seen));
    }
    EXPECT_GE(board.UpperBound(values), best);
    seen[board.Hash()].push_back({ board, best });
    return best;
}

TEST(SolverTest, ExactSearchAndBoundAgreeWithBruteForceOnSmallBoards)
{
    for (quint32 seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        Random random(seed);
        Fixture f(seed);
        Scramble(f.tables, random);
        const PairValues values = ValuesOfGame(*f.game);
        // A handful of columns of random heights, from one to three sets.
        const int sets = 1 + int(random.Below(3));
        const Board board = RandomBoard(random, 2 + random.Below(3), 4, sets == 1 ? 10 : sets == 2 ? 22 : 31);

        std::unordered_map<quint64, std::vector<std::pair<Board, int>>> seen;
        const int best = BruteForce(board, values, seen);

        std::atomic<bool> stop { false };
        ExactSearch exact(values, 1 << 20);
        const Line greedy = Greedy(board, values);
        const ExactSearch::Result r = exact.Solve(board, greedy, stop);
        ASSERT_TRUE(r.proven);
        EXPECT_EQ(r.best, best);
        const Line& line = r.line.moves.empty() ? greedy : r.line;
        const Replay replay = ReplayLine(board, line.moves, values);
        EXPECT_TRUE(replay.legal);
        EXPECT_EQ(replay.total, best);
        EXPECT_FALSE(replay.end.HasMove());

        Solver::Run run(board, values, { Solver::Run::Mode::Both, 2, seed });
        while (!run.Current().finished)
            std::this_thread::yield();
        EXPECT_TRUE(run.Current().proven);
        EXPECT_EQ(run.Current().best.total, best);
        EXPECT_EQ(ReplayLine(board, run.Current().best.moves, values).total, best);
    }
}

// The window's mode with its bar raised at seeded moments, as the beams beside the exact
// search raise it at moments no test controls: whenever the bar rises, the run proves the
// total the exact search alone proves, with a line that the game, clicked through it, ends
// on with exactly that total. Lines that do not play out to their totals, offered among
// them, are never taken. Deals of up to 24 tiles, all three sets; numbered deals among them
// as the player asks for one.
TEST(SolverTest, ABarRaisedDuringTheExactSearchNeverLiftsWhatItProves)
{
    const std::array<std::pair<int, int>, 5> sizes { { { 3, 8 }, { 4, 4 }, { 4, 6 }, { 6, 4 }, { 3, 6 } } };
    for (quint32 seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        Fixture f(seed);
        Random random(seed);
        if (seed % 5 == 0)
            Scramble(f.tables, random);
        const auto [rows, cols] = sizes[seed % sizes.size()];
        f.host.deal = DealSettings { rows, cols, { true, true, true } };
        f.game->NewGame(seed <= 10 ? std::optional<quint32>(seed) : std::nullopt);
        const Board dealt = *BoardOfGame(*f.game);
        const PairValues values = ValuesOfGame(*f.game);
        const Line greedy = Greedy(dealt, values);
        if (greedy.total >= dealt.UpperBound(values))
            continue; // proved before any search

        std::atomic<bool> stop { false };
        ExactSearch alone(values, 1 << 20);
        const ExactSearch::Result exact = alone.Solve(dealt, greedy, stop);
        ASSERT_TRUE(exact.proven);
        const Line& bestLine = exact.line.moves.empty() ? greedy : exact.line;

        // Lines better than greedy to raise the bar with, by total: the best line's first
        // moves and then the best pair at each step (the best line itself among them) or
        // random pairs, and random plays.
        std::vector<Line> pool;
        for (size_t k = 0; k <= bestLine.moves.size(); ++k) {
            const Replay start = ReplayLine(dealt, { bestLine.moves.begin(), bestLine.moves.begin() + qsizetype(k) }, values);
            for (quint64 rest = 0; rest < 4; ++rest) {
                Line line = rest == 0 ? Greedy(start.end, values) : RandomPlay(start.end, values, seed * 1000 + k * 4 + rest);
                line.moves.insert(line.moves.begin(), bestLine.moves.begin(), bestLine.moves.begin() + qsizetype(k));
                line.total += start.total;
                pool.push_back(line);
            }
        }
        for (quint64 i = 0; i < 8; ++i)
            pool.push_back(RandomPlay(dealt, values, seed * 100 + i));
        std::erase_if(pool, [&](const Line& line) { return line.total <= greedy.total; });
        std::sort(pool.begin(), pool.end(), [](const Line& a, const Line& b) { return a.total < b.total; });

        Solver::Run::State state;
        for (int run = 0; run < 10; ++run) {
            Solver::Run::Options options { Solver::Run::Mode::Both, 1, seed };
            std::vector<qint64> moments;
            std::vector<size_t> picks;
            // Mostly early: a raised bar shortens the search, and a late moment may never come.
            for (quint32 n = pool.empty() ? 0 : 1 + random.Below(12); n > 0; --n) {
                moments.push_back(1 + qint64(random.Below(1 + random.Below(quint32(exact.nodes)))));
                picks.push_back(random.Below(quint32(pool.size())));
            }
            std::sort(moments.begin(), moments.end());
            std::sort(picks.begin(), picks.end());
            for (size_t i = 0; i < moments.size(); ++i)
                options.offersDuringExact.push_back({ moments[i], pool[picks[i]] });
            if (run % 3 == 2) {
                // The best line cut short, still carrying its total plus one; or whole, with
                // a total one too high.
                Line spoiled = bestLine;
                spoiled.total += 1;
                if (run % 2 == 0 && !spoiled.moves.empty())
                    spoiled.moves.pop_back();
                const qint64 at = 1 + qint64(random.Below(quint32(exact.nodes)));
                options.offersDuringExact.insert(std::upper_bound(options.offersDuringExact.begin(), options.offersDuringExact.end(), at,
                                                                  [](qint64 n, const auto& offer) { return n < offer.first; }),
                                                 { at, spoiled });
            }
            Solver::Run analysis(dealt, values, options);
            while (!analysis.Current().finished)
                std::this_thread::yield();
            state = analysis.Current();
            SCOPED_TRACE(testing::Message() << "run " << run);
            ASSERT_TRUE(state.proven);
            ASSERT_EQ(state.best.total, exact.best);
            const Replay replay = ReplayLine(dealt, state.best.moves, values);
            ASSERT_TRUE(replay.legal);
            ASSERT_EQ(replay.total, exact.best);
            ASSERT_FALSE(replay.end.HasMove());
        }

        Board board = dealt;
        for (const Move& m : state.best.moves) {
            const Solver::Picks picks = PicksOf(board, m, values);
            board.Apply(m);
            f.game->Pick(picks.first, PickMode::Remove);
            f.game->Pick(picks.second, PickMode::Remove);
        }
        ASSERT_EQ(f.host.ends.size(), 1);
        EXPECT_EQ(f.host.endPoints, exact.best);
    }
}

// The beam ranks every child of a position without building it, and the bound of the
// tiles left kind by kind through a memo: both against the child built and its own bound,
// along random lines on random boards (blanks, one to three sets, random tables).
TEST(SolverTest, TheBeamJudgesAChildAsTheBuiltChildWouldBe)
{
    for (quint32 seed = 1; seed <= 150; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        Random random(seed);
        Fixture f(seed);
        Scramble(f.tables, random);
        const PairValues values = ValuesOfGame(*f.game);
        const quint32 symbols = seed % 3 == 0 ? 10 : seed % 3 == 1 ? 22 : 31;
        Board board = RandomBoard(random, 1 + random.Below(Solver::Cols), Solver::Rows, symbols, 25);
        // The two rankings the beams use: every kind priced, or the small ones paired.
        Solver::KindBoundMemo priced(values, 0);
        Solver::KindBoundMemo paired(values, 16);
        std::array<Move, MaxMoves> moves;
        for (int n; (n = board.Moves(moves)) > 0;) {
            for (int i = 0; i < n; ++i) {
                Board child = board;
                child.Apply(moves[size_t(i)]);
                const Solver::ChildOutlook built { child.HasMove(), Solver::IsolatedLoss(child, values) };
                ASSERT_EQ(Solver::OutlookAfter(board, moves[size_t(i)], values), built)
                    << "move " << i << " of " << n << " with " << board.TileCount() << " tiles";
                const Board::Counts counts = child.TileCounts();
                for (int kind = 1; kind <= 3; ++kind) {
                    ASSERT_EQ(priced.Twice(counts, kind), Solver::TwiceKindBound(counts, kind, values, 0));
                    ASSERT_EQ(paired.Twice(counts, kind), Solver::TwiceKindBound(counts, kind, values, 16));
                }
                // ... and as the beam asks for it, from the parent's key.
                const Solver::Tile a = board.First(moves[size_t(i)]);
                const Solver::Tile b = board.Second(moves[size_t(i)]);
                const int kind = Solver::KindOf(a);
                const Board::Counts before = board.TileCounts();
                ASSERT_EQ(priced.TwiceWithout(before, priced.KeyOf(before, kind), a, b), priced.Twice(counts, kind));
                ASSERT_EQ(paired.TwiceWithout(before, paired.KeyOf(before, kind), a, b), paired.Twice(counts, kind));
            }
            board.Apply(moves[random.Below(quint32(n))]);
        }
    }
    // A key holds counts up to 31: more of one symbol is worked out, not mistaken for another.
    const PairValues values = ValuesOfGame(*Fixture(1).game);
    Solver::KindBoundMemo memo(values, 0);
    for (const int many : { 31, 32, 33, 40 }) {
        Board::Counts counts {};
        counts[1] = quint8(many);
        counts[2] = 3;
        EXPECT_EQ(memo.Twice(counts, 1), Solver::TwiceKindBound(counts, 1, values, 0)) << many;
        counts[1] = quint8(many - 32);
        EXPECT_EQ(memo.Twice(counts, 1), Solver::TwiceKindBound(counts, 1, values, 0)) << many - 32;
    }
}

// The best pairing of a list of tiles, each with any later one or with none.
int PlainPairing(std::vector<Solver::Tile> tiles, const PairValues& values)
{
    if (tiles.empty())
        return 0;
    const Solver::Tile a = tiles.back();
    tiles.pop_back();
    int best = PlainPairing(tiles, values);
    for (size_t k = 0; k < tiles.size(); ++k) {
        std::vector<Solver::Tile> rest = tiles;
        rest.erase(rest.begin() + qsizetype(k));
        best = std::max(best, values.Best(a, tiles[k]) + PlainPairing(rest, values));
    }
    return best;
}

// The exact pairing of a kind against pairing every tile every way, under random tables,
// one table of counts answering every question; and never above the priced bound.
TEST(SolverTest, TheExactPairingIsTheBestPairingOfTheTiles)
{
    for (quint32 seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        Random random(seed);
        Fixture f(seed);
        Scramble(f.tables, random);
        const PairValues values = ValuesOfGame(*f.game);
        Solver::ExactPairing pairing(values);
        for (int question = 0; question < 10; ++question) {
            const int kind = 1 + int(random.Below(3));
            const int first = kind == 1 ? 1 : kind == 2 ? 11 : 23;
            const int symbols = kind == 1 ? 10 : kind == 2 ? 12 : 9;
            Board::Counts counts {};
            std::vector<Solver::Tile> tiles;
            // Few symbols now and then, so that one symbol comes many times.
            const quint32 among = 1 + random.Below(quint32(random.Below(2) ? symbols : 3));
            for (quint32 n = random.Below(11); n > 0; --n) {
                const auto t = Solver::Tile(first + int(random.Below(among)));
                ++counts[t];
                tiles.push_back(t);
            }
            const int best = PlainPairing(tiles, values);
            ASSERT_EQ(pairing.Best(counts, kind), best) << tiles.size() << " tiles";
            ASSERT_EQ(Solver::TwiceKindBound(counts, kind, values), 2 * best);
            ASSERT_GE(Solver::TwiceKindBound(counts, kind, values, 0), 2 * best);
        }
    }
}

// The beam's selection leaves what nth_element leaves: the same best items in front and the
// same item last among them, with few worths (ties everywhere) and with worths far apart.
TEST(SolverTest, TheBeamsSelectionAgreesWithNthElement)
{
    struct Item
    {
        qint64 worth;
        quint64 order;
    };
    const auto better = [](const Item& a, const Item& b) {
        return a.worth != b.worth ? a.worth > b.worth : a.order < b.order;
    };
    for (quint32 seed = 1; seed <= 60; ++seed) {
        Random random(seed);
        const size_t n = random.Below(3) == 0 ? random.Below(5000) : 4096 + random.Below(30000);
        const qint64 spread = std::array<qint64, 3> { 3, 2000, qint64(1) << 40 }[seed % 3];
        std::vector<Item> items(n);
        for (Item& item : items)
            item = { qint64(random.Next() % quint64(spread)) - spread / 2, random.Next() };
        std::vector<Item> expected = items;
        const size_t count = random.Below(quint32(n) + 2);
        Solver::SelectBest(items.begin(), items.end(), count, better);
        if (count == 0 || n == 0)
            continue;
        const size_t kept = std::min(count, n);
        std::nth_element(expected.begin(), expected.begin() + qsizetype(kept - 1), expected.end(), better);
        EXPECT_EQ(items[kept - 1].order, expected[kept - 1].order) << "seed " << seed;
        std::sort(items.begin(), items.begin() + qsizetype(kept), better);
        std::sort(expected.begin(), expected.begin() + qsizetype(kept), better);
        for (size_t i = 0; i < kept; ++i)
            ASSERT_EQ(items[i].order, expected[i].order) << "seed " << seed << " item " << i;
    }
}

// Every line a beam worker reports, from its first narrow passes to the passes that search
// its best line again from a point along it, plays out to its total and ends the game, and
// each beats the one before. Every other board is a full deal, so that its passes keep
// fewer positions in their opening than after it.
TEST(SolverTest, EveryLineABeamReportsPlaysOutToItsTotal)
{
    Fixture f(3);
    f.host.deal = DealSettings { 10, 12, { true, true, true } };
    f.game->NewGame();
    const PairValues values = ValuesOfGame(*f.game);
    Random random(41);
    for (int i = 0; i < 6; ++i) {
        Board board = RandomBoard(random, 12, 10, 3 + random.Below(28));
        if (i % 2 == 1) {
            f.game->NewGame();
            board = *BoardOfGame(*f.game);
            ASSERT_EQ(board.TileCount(), Solver::Cols * Solver::Rows);
        }
        std::atomic<bool> stop { false };
        std::atomic<qint64> published { 0 };
        std::vector<Line> lines;
        Solver::WorkerContext context { values, stop, published, 60000, [&](const Line& l) { lines.push_back(l); } };
        Solver::SearchBeams(board, context, 1, random.Next(), 8); // narrow, so that it soon searches again
        for (size_t k = 0; k < lines.size(); ++k) {
            const Replay replay = ReplayLine(board, lines[k].moves, values);
            EXPECT_TRUE(replay.legal) << "board " << i << " line " << k;
            EXPECT_EQ(replay.total, lines[k].total) << "board " << i << " line " << k;
            EXPECT_FALSE(replay.end.HasMove()) << "board " << i << " line " << k;
            if (k > 0) {
                EXPECT_GT(lines[k].total, lines[k - 1].total);
            }
        }
    }
}

TEST(SolverTest, AnytimeRunsWithABudgetAreReproducibleAndStopOnRequest)
{
    Fixture f(5);
    f.host.deal = DealSettings { 10, 12, { true, true, true } };
    f.game->NewGame();
    const Board board = *BoardOfGame(*f.game);
    const PairValues values = ValuesOfGame(*f.game);
    auto budgeted = [&] {
        Solver::Run run(board, values, { Solver::Run::Mode::Anytime, 2, 7, 150000 });
        while (!run.Current().finished)
            std::this_thread::yield();
        return run.Current();
    };
    const Solver::Run::State first = budgeted();
    const Solver::Run::State second = budgeted();
    EXPECT_EQ(first.best, second.best);
    EXPECT_GE(first.best.total, Greedy(board, values).total);
    const Replay replay = ReplayLine(board, first.best.moves, values);
    EXPECT_TRUE(replay.legal);
    EXPECT_EQ(replay.total, first.best.total);
    EXPECT_FALSE(replay.end.HasMove());

    Solver::Run endless(board, values, { Solver::Run::Mode::Both, 2, 1 });
    endless.Stop();
    EXPECT_TRUE(endless.Current().finished);
    EXPECT_TRUE(ReplayLine(board, endless.Current().best.moves, values).legal);
}

} // namespace
