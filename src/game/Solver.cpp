// SPDX-License-Identifier: MIT
#include "game/Solver.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <new>
#include <type_traits>

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#elif defined(_WIN32)
#define NOMINMAX
#include <windows.h>
#endif


namespace Solver {

namespace {

    // Below every total a line can reach, with room to add a pair's points either way.
    constexpr int MinusInfinity = -(1 << 30) - (1 << 29);
    static_assert(MinusInfinity + 2 * PairValues::Limit < -60 * PairValues::Limit);
    static_assert(MinusInfinity - 2 * PairValues::Limit > std::numeric_limits<int>::min());

    // How often (in nodes) a loop looks at the stop flag and publishes its count.
    constexpr int CheckEvery = 1024;

    void LowerThisThreadsPriority()
    {
#ifdef __linux__
        // On Linux every thread has a nice value of its own.
        setpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)), 19);
#elif defined(_WIN32)
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE);
#endif
    }

    // The moves of a board ordered best value first (board order among equals), with the
    // move `first` (when it is among them) ahead of all.
    void OrderMoves(const Board& board, const PairValues& values, quint16 first, int n,
                    std::array<Move, MaxMoves>& moves, std::array<int, MaxMoves>& worth)
    {
        for (int i = 0; i < n; ++i)
            worth[size_t(i)] = board.Value(moves[size_t(i)], values);
        // Insertion sort: stable, and the lists are short.
        for (int i = 1; i < n; ++i) {
            const Move m = moves[size_t(i)];
            const int w = worth[size_t(i)];
            const bool top = m.Code() == first;
            int j = i;
            for (; j > 0 && (top || worth[size_t(j - 1)] < w) && moves[size_t(j - 1)].Code() != first; --j) {
                moves[size_t(j)] = moves[size_t(j - 1)];
                worth[size_t(j)] = worth[size_t(j - 1)];
            }
            moves[size_t(j)] = m;
            worth[size_t(j)] = w;
        }
    }

    // What a worker of the anytime search shares: its budget, the stop flag, its node count
    // and where its lines go.
    struct WorkerContext
    {
        const PairValues& values;
        const std::atomic<bool>& stop;
        std::atomic<qint64>& published;
        qint64 budget = 0;
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
        void Offer(const Line& line)
        {
            if (line.total <= best.total)
                return;
            best = line;
            report(line);
        }
    };

    // --- beam search ---------------------------------------------------------------------------

    // A beam ranks the positions of one layer (all with the same number of tiles left) by
    // what the game could at best total from them: the points so far plus the upper bound
    // of the tiles left (Board::UpperBound, which sees which symbols are left to pair, not
    // where they stand), less a penalty for every tile that has no tile of its kind in its
    // own column or the two beside it: such a tile is likely to stay on the board, and what
    // it could have scored is likely lost. The penalty is three fifths of the tile's best
    // pair, which with the default tables is 3 for most tiles.
    //
    // Measured on 10 x 12 boards of three sets, 20 deals, two threads for 2 s: the bound
    // lifted the totals by 0.8% over the points so far alone, although working it out (one
    // kind's part per child, remembered) costs a third of the positions visited. Weighing
    // the bound at four or seven fifths of the points did worse; so, at every width tried,
    // did adding the number of pairs or of tiles that can move, the best pair to come or
    // odd runs of a kind, and changing the penalty made no difference beyond noise.
    constexpr int PenaltyFifths = 3;

    // The kinds of one column's tiles as bit masks, bit h the tile at height h.
    struct ColumnMasks
    {
        std::array<quint16, 3> kinds {};
    };

    ColumnMasks MasksOf(const Board& board, int col)
    {
        ColumnMasks m;
        if (col >= 0 && col < board.ColumnCount())
            for (int kind = 1; kind <= 3; ++kind)
                m.kinds[size_t(kind - 1)] = board.KindMask(kind, col);
        return m;
    }

    // Fifths of points lost to the isolated tiles of one column between two neighbours.
    // `tileAt` gives the tile at a height of the column.
    template<typename TileAt>
    int ColumnLoss(const ColumnMasks& left, const ColumnMasks& self, const ColumnMasks& right,
                   const PairValues& values, TileAt tileAt)
    {
        int loss = 0;
        for (size_t k = 0; k < 3; ++k) {
            const quint16 m = self.kinds[k];
            if (m != 0 && (m & (m - 1)) == 0 && left.kinds[k] == 0 && right.kinds[k] == 0)
                loss += PenaltyFifths * values.BestOf(tileAt(std::countr_zero(m)));
        }
        return loss;
    }

    // What a beam needs of the children of one position, without building them: whether a
    // pair is left after a move, and the fifths of points lost to isolated tiles. Both are
    // local. A move changes the tiles of its one or two columns; should it empty a column,
    // the columns either side of the gap come to stand side by side. Every other column
    // keeps its tiles and its neighbours, so its isolated tiles and its pairs stay. The
    // position's figures are worked out once per column, and a child's are those, less the
    // columns from one left of the move to one right of it, worked out again.
    class Outlook
    {
    public:
        Outlook(const Board& board, const PairValues& values) : m_board(board), m_values(values)
        {
            const int cols = board.ColumnCount();
            ColumnMasks left;
            ColumnMasks self = MasksOf(board, 0);
            for (int c = 0; c < cols; ++c) {
                const ColumnMasks right = MasksOf(board, c + 1);
                m_loss[size_t(c)] = ColumnLoss(left, self, right, values, [&](int h) { return board.At(c, h); });
                m_total += m_loss[size_t(c)];
                for (size_t k = 0; k < 3; ++k) {
                    if ((self.kinds[k] & (self.kinds[k] >> 1)) != 0)
                        m_within |= 1u << c;
                    if ((self.kinds[k] & right.kinds[k]) != 0)
                        m_side |= 1u << c;
                }
                left = self;
                self = right;
            }
        }

        struct Child
        {
            bool hasMove = false;
            int loss = 0;
        };

        Child After(const Move& move) const
        {
            const int cols = m_board.ColumnCount();
            const int first = move.col;
            const int last = move.horizontal ? move.col + 1 : move.col;
            const int removed = move.horizontal ? 1 : 2;
            const int h = move.height;
            const quint16 below = quint16((1u << h) - 1);

            // The columns from one left of the move to one right of it, as the child has
            // them (a column the move empties is gone), each with the column it was.
            struct Entry
            {
                ColumnMasks masks;
                int col;
            };
            std::array<Entry, 4> run;
            int n = 0;
            if (first > 0)
                run[size_t(n++)] = { MasksOf(m_board, first - 1), first - 1 };
            for (int c = first; c <= last; ++c) {
                if (m_board.Height(c) == removed)
                    continue;
                Entry e { MasksOf(m_board, c), c };
                for (quint16& k : e.masks.kinds)
                    k = quint16((k & below) | ((k >> removed) & ~below));
                run[size_t(n++)] = e;
            }
            if (last + 1 < cols)
                run[size_t(n++)] = { MasksOf(m_board, last + 1), last + 1 };

            Child child;
            child.loss = m_total;
            for (int c = std::max(0, first - 1); c <= std::min(cols - 1, last + 1); ++c)
                child.loss -= m_loss[size_t(c)];
            const ColumnMasks outerLeft = MasksOf(m_board, first - 2);
            const ColumnMasks outerRight = MasksOf(m_board, last + 2);
            for (int i = 0; i < n; ++i) {
                const Entry& e = run[size_t(i)];
                const ColumnMasks& left = i > 0 ? run[size_t(i - 1)].masks : outerLeft;
                const ColumnMasks& right = i + 1 < n ? run[size_t(i + 1)].masks : outerRight;
                const bool moved = e.col >= first && e.col <= last;
                child.loss += ColumnLoss(left, e.masks, right, m_values, [&](int height) {
                    return m_board.At(e.col, moved && height >= h ? height + removed : height);
                });
            }

            // Pairs: those of columns the move leaves alone, beside neighbours it leaves
            // alone, then those among the columns around it.
            quint32 moved = 0;
            quint32 sides = 0; // the boundaries c | c+1 around the move
            for (int c = first; c <= last; ++c)
                moved |= 1u << c;
            for (int c = std::max(0, first - 1); c <= last; ++c)
                sides |= 1u << c;
            if ((m_within & ~moved) != 0 || (m_side & ~sides) != 0) {
                child.hasMove = true;
                return child;
            }
            for (int i = 0; i < n && !child.hasMove; ++i)
                for (size_t k = 0; k < 3; ++k) {
                    const quint16 m = run[size_t(i)].masks.kinds[k];
                    if ((m & (m >> 1)) != 0 || (i + 1 < n && (m & run[size_t(i + 1)].masks.kinds[k]) != 0))
                        child.hasMove = true;
                }
            return child;
        }

    private:
        const Board& m_board;
        const PairValues& m_values;
        std::array<int, Cols> m_loss {};
        int m_total = 0;
        quint32 m_within = 0; // bit c: column c holds a pair one above the other
        quint32 m_side = 0;   // bit c: columns c and c + 1 hold a pair side by side
    };

    struct Candidate
    {
        qint64 worth;    // the ranking key
        quint64 order;   // tie-break among equal worth, from the seed
        int score;       // points so far
        int parent;      // index of the position in the layer before
        quint16 move;
    };

    // A function object rather than a function, so that the sorts inline it.
    constexpr auto Better = [](const Candidate& a, const Candidate& b) {
        return a.worth != b.worth ? a.worth > b.worth : a.order < b.order;
    };

    quint64 Mix(quint64 x)
    {
        x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
        x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
        return x ^ (x >> 31);
    }

    // Beam search from one board. A pass keeps the best `width` positions of each layer, a
    // position reached twice once (with its better score); lines end where no pair is left.
    // Equal worth is ordered by the tie seed: random tie-breaks keep a beam varied, which
    // mattered more than any tie-break on a property of the position.
    class Beam
    {
    public:
        Beam(const Board& start, WorkerContext& context)
            : m_start(start), m_context(context), m_bounds(context.values) { }

        // Lines go to the context. False when stopped.
        bool Pass(int width, quint64 tieSeed);

    private:
        struct Step
        {
            int parent;
            quint16 move;
        };
        struct Node
        {
            Board board;
            int score;
            int step; // index into m_steps, -1 at the start
        };

        Line LineTo(int step, const Move& last, int total) const;
        void KeepBest(std::vector<Candidate>& candidates, int width, const std::vector<Node>& layer,
                      std::vector<Node>& next);

        const Board m_start;
        WorkerContext& m_context;
        std::vector<Step> m_steps;
        KindBoundMemo m_bounds;
    };

    Line Beam::LineTo(int step, const Move& last, int total) const
    {
        Line line;
        line.total = total;
        line.moves.push_back(last);
        for (int s = step; s >= 0; s = m_steps[size_t(s)].parent)
            line.moves.push_back(Move::FromCode(m_steps[size_t(s)].move));
        std::reverse(line.moves.begin(), line.moves.end());
        return line;
    }

    void Beam::KeepBest(std::vector<Candidate>& candidates, int width, const std::vector<Node>& layer,
                        std::vector<Node>& next)
    {
        // Positions are built and told apart only among the best: twice the width first,
        // more should so many of them be the same position reached in other orders (moves in
        // different parts of the board commute). Of a position reached twice the better
        // ranked (the better score: the rest of its worth is the same) stays.
        std::vector<quint64> hashes;
        std::vector<int> places;
        size_t pool = std::min(candidates.size(), size_t(width) * 2);
        for (;;) {
            std::nth_element(candidates.begin(), candidates.begin() + qsizetype(pool - 1), candidates.end(), Better);
            std::sort(candidates.begin(), candidates.begin() + qsizetype(pool), Better);
            next.clear();
            hashes.clear();
            places.assign(std::bit_ceil(pool * 2), -1);
            const size_t mask = places.size() - 1;
            for (size_t i = 0; i < pool && next.size() < size_t(width); ++i) {
                const Candidate& c = candidates[i];
                const Node& parent = layer[size_t(c.parent)];
                Board board = parent.board;
                board.Apply(Move::FromCode(c.move));
                const quint64 hash = board.Hash();
                size_t at = hash & mask;
                while (places[at] >= 0 && hashes[size_t(places[at])] != hash)
                    at = (at + 1) & mask;
                if (places[at] >= 0)
                    continue;
                places[at] = int(hashes.size());
                hashes.push_back(hash);
                m_steps.push_back(Step { parent.step, c.move });
                next.push_back(Node { board, c.score, int(m_steps.size()) - 1 });
            }
            if (next.size() == size_t(width) || pool == candidates.size())
                return;
            m_steps.resize(m_steps.size() - next.size());
            pool = std::min(candidates.size(), pool * 2);
        }
    }

    bool Beam::Pass(int width, quint64 tieSeed)
    {
        const PairValues& values = m_context.values;
        m_steps.clear();
        std::vector<Node> layer { Node { m_start, 0, -1 } };
        std::vector<Node> next;
        std::vector<Candidate> candidates;
        std::array<Move, MaxMoves> moves;
        while (!layer.empty()) {
            candidates.clear();
            for (size_t i = 0; i < layer.size(); ++i) {
                const Node& node = layer[i];
                const int n = node.board.Moves(moves);
                const Outlook outlook(node.board, values);
                const Board::Counts counts = node.board.TileCounts();
                std::array<qint64, 4> kindBounds {};
                qint64 bound = 0; // twice the upper bound of the tiles left
                for (int kind = 1; kind <= 3; ++kind)
                    bound += kindBounds[size_t(kind)] = m_bounds.Twice(counts, kind);
                for (int k = 0; k < n; ++k) {
                    if (m_context.Tick())
                        return false;
                    const Move& m = moves[size_t(k)];
                    const int score = node.score + node.board.Value(m, values);
                    const Outlook::Child child = outlook.After(m);
                    if (!child.hasMove) {
                        if (score > m_context.best.total)
                            m_context.Offer(LineTo(node.step, m, score));
                        continue;
                    }
                    // The move changes the bound of its own kind only.
                    const Tile a = node.board.First(m);
                    const Tile b = node.board.Second(m);
                    const int kind = KindOf(a);
                    Board::Counts left = counts;
                    --left[a];
                    --left[b];
                    const qint64 childBound = bound - kindBounds[size_t(kind)] + m_bounds.Twice(left, kind);
                    const qint64 worth = 5 * qint64(score) + 5 * childBound / 2 - child.loss;
                    const quint64 order = Mix(tieSeed ^ (quint64(node.step + 1) << 16) ^ m.Code());
                    candidates.push_back(Candidate { worth, order, score, int(i), m.Code() });
                }
            }
            if (candidates.empty())
                break;
            KeepBest(candidates, width, layer, next);
            layer.swap(next);
        }
        return true;
    }

    // The widths of one worker's passes: doubling up to MaxBeamWidth, then that width again
    // and again with new tie-breaks. Odd workers start at 3 and go up by half steps between
    // the even workers' widths (3, 6, 12, ...), so that the two finish passes at different
    // moments and a stop at any moment wastes less of their work.
    constexpr int MaxBeamWidth = 1 << 14;

    int NextWidth(int width)
    {
        return std::min(width * 2, MaxBeamWidth);
    }
} // namespace

// --- the beam's ranking ------------------------------------------------------------------------

int IsolatedLoss(const Board& board, const PairValues& values)
{
    int loss = 0;
    for (int c = 0; c < board.ColumnCount(); ++c)
        loss += ColumnLoss(MasksOf(board, c - 1), MasksOf(board, c), MasksOf(board, c + 1), values,
                           [&](int h) { return board.At(c, h); });
    return loss;
}

ChildOutlook OutlookAfter(const Board& board, const Move& move, const PairValues& values)
{
    const Outlook::Child child = Outlook(board, values).After(move);
    return { child.hasMove, child.loss };
}

// --- small helpers ---------------------------------------------------------------------------------

quint64 Random::Next()
{
    quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

quint32 Random::Below(quint32 n)
{
    // Lemire's multiply-and-reject: no modulo bias.
    quint64 product = quint64(quint32(Next())) * n;
    quint32 low = quint32(product);
    if (low < n) {
        const quint32 threshold = quint32(-n) % n;
        while (low < threshold) {
            product = quint64(quint32(Next())) * n;
            low = quint32(product);
        }
    }
    return quint32(product >> 32);
}

Replay ReplayLine(Board board, const std::vector<Move>& moves, const PairValues& values)
{
    Replay replay;
    std::array<Move, MaxMoves> legal;
    for (const Move& m : moves) {
        const int n = board.Moves(legal);
        if (std::find(legal.begin(), legal.begin() + n, m) == legal.begin() + n) {
            replay.legal = false;
            break;
        }
        replay.total += board.Value(m, values);
        board.Apply(m);
    }
    replay.end = board;
    return replay;
}

bool PlaysOut(const Board& board, const Line& line, const PairValues& values)
{
    const Replay replay = ReplayLine(board, line.moves, values);
    return replay.legal && replay.total == line.total && !replay.end.HasMove();
}

Line Greedy(Board board, const PairValues& values)
{
    Line line;
    std::array<Move, MaxMoves> moves;
    for (int n; (n = board.Moves(moves)) > 0;) {
        int pick = 0;
        for (int i = 1; i < n; ++i)
            if (board.Value(moves[size_t(i)], values) > board.Value(moves[size_t(pick)], values))
                pick = i;
        line.total += board.Value(moves[size_t(pick)], values);
        line.moves.push_back(moves[size_t(pick)]);
        board.Apply(moves[size_t(pick)]);
    }
    return line;
}

Line RandomPlay(Board board, const PairValues& values, quint64 seed)
{
    Random random(seed);
    Line line;
    std::array<Move, MaxMoves> moves;
    for (int n; (n = board.Moves(moves)) > 0;) {
        const Move m = moves[random.Below(quint32(n))];
        line.total += board.Value(m, values);
        line.moves.push_back(m);
        board.Apply(m);
    }
    return line;
}

// --- exact search ----------------------------------------------------------------------------------

struct ExactSearch::Table
{
    enum Bound : quint8 { Empty = 0, Exact = 1, Upper = 2 };
    struct Entry
    {
        quint64 key = 0;
        qint32 value = 0;
        quint16 move = 0;
        Bound bound = Empty;
        quint8 tiles = 0;
    };

    // Buckets of two: the first keeps the larger position (the bigger subtree), the second
    // the latest. Zeroed memory from calloc is an empty table, and the system hands out its
    // pages only as they are touched: a small search pays nothing for a large table.
    std::unique_ptr<Entry[], decltype(&std::free)> entries { nullptr, &std::free };
    quint64 mask = 0;

    explicit Table(std::size_t bytes)
    {
        static_assert(std::is_trivially_copyable_v<Entry> && Empty == 0);
        std::size_t count = std::bit_floor(std::max<std::size_t>(bytes, 1u << 20) / sizeof(Entry));
        // Short of memory, a smaller table only makes the search slower.
        for (; !entries; count /= 2) {
            if (count < 4096)
                throw std::bad_alloc();
            entries.reset(static_cast<Entry*>(std::calloc(count, sizeof(Entry))));
        }
        count *= 2; // undo the loop's last halving
        mask = (count / 2) - 1;
    }

    const Entry* Find(quint64 key) const
    {
        const Entry* bucket = &entries[(key & mask) * 2];
        if (bucket[0].bound != Empty && bucket[0].key == key)
            return &bucket[0];
        if (bucket[1].bound != Empty && bucket[1].key == key)
            return &bucket[1];
        return nullptr;
    }

    void Store(quint64 key, int value, Bound bound, quint16 move, int tiles)
    {
        Entry* bucket = &entries[(key & mask) * 2];
        const Entry e { key, value, move, bound, quint8(tiles) };
        if (bucket[0].bound == Empty || bucket[0].key == key || tiles >= bucket[0].tiles) {
            if (bucket[0].key != key && bucket[0].bound != Empty)
                bucket[1] = bucket[0];
            bucket[0] = e;
        } else {
            bucket[1] = e;
        }
    }
};

ExactSearch::ExactSearch(const PairValues& values, std::size_t tableBytes)
    : m_values(values)
    , m_table(std::make_unique<Table>(tableBytes))
    , m_bounds(values)
{
}

ExactSearch::~ExactSearch() = default;

void ExactSearch::SetNodeHook(qint64 at, NodeHook hook)
{
    m_hook = std::move(hook);
    m_hookAt = m_hook && at > 0 ? at : std::numeric_limits<qint64>::max();
}

int ExactSearch::BarAlpha(int alpha, int pathPoints) const
{
    // The bar only rises, and one thread's reads of it never go back in time.
    return m_bar ? std::max(alpha, m_bar->load(std::memory_order_relaxed) - pathPoints) : alpha;
}

void ExactSearch::Look()
{
    if (m_nodes % CheckEvery == 0) {
        if (m_published)
            m_published->store(m_nodes, std::memory_order_relaxed);
        if (m_stop->load(std::memory_order_relaxed))
            m_aborted = true;
    }
    if (m_nodes == m_hookAt) {
        const qint64 next = m_hook(m_nodes);
        m_hookAt = next > m_nodes ? next : std::numeric_limits<qint64>::max();
    }
    m_nextLook = std::min((m_nodes / CheckEvery + 1) * CheckEvery, m_hookAt);
}

int ExactSearch::Search(const Board& board, int alpha, int pathPoints)
{
    if (++m_nodes >= m_nextLook)
        Look();
    if (m_aborted)
        return 0;
    alpha = BarAlpha(alpha, pathPoints);

    std::array<Move, MaxMoves> moves;
    std::array<int, MaxMoves> worth;
    const int n = board.Moves(moves);
    if (n == 0)
        return 0;
    int bound = m_bounds.Bound(board);
    if (bound <= alpha)
        return bound;
    const quint64 key = board.Hash();
    quint16 tableMove = 0;
    if (const Table::Entry* e = m_table->Find(key)) {
        if (e->bound == Table::Exact || e->value <= alpha)
            return e->value;
        bound = std::min(bound, int(e->value));
        tableMove = e->move;
    }

    OrderMoves(board, m_values, tableMove, n, moves, worth);
    int best = MinusInfinity;
    Move bestMove = moves[0];
    for (int i = 0; i < n; ++i) {
        Board child = board;
        child.Apply(moves[size_t(i)]);
        const int v = worth[size_t(i)]
            + Search(child, std::max(alpha, best) - worth[size_t(i)], pathPoints + worth[size_t(i)]);
        if (m_aborted)
            return 0;
        if (v > best) {
            best = v;
            bestMove = moves[size_t(i)];
            if (best >= bound)
                break;
        }
    }
    // A child reads the bar when it starts, and may have seen it higher than this position
    // did: what it gave back may then be a bound that beats this position's alpha. The bar
    // read again now is at least what any child read, so a best above it came from a child
    // that beat its own alpha, and is exact; one not above it is only a bound.
    alpha = BarAlpha(alpha, pathPoints);
    m_table->Store(key, best, best > alpha ? Table::Exact : Table::Upper, bestMove.Code(), board.TileCount());
    return best;
}

Line ExactSearch::ReadLine(const Board& start, int total)
{
    // Each step takes the first move whose rest still reaches what is left of the total;
    // the table answers most of these searches at once.
    Line line;
    line.total = total;
    Board board = start;
    std::array<Move, MaxMoves> moves;
    std::array<int, MaxMoves> worth;
    int need = total;
    for (int n; (n = board.Moves(moves)) > 0 && !m_aborted;) {
        const Table::Entry* e = m_table->Find(board.Hash());
        OrderMoves(board, m_values, e ? e->move : 0, n, moves, worth);
        bool found = false;
        for (int i = 0; i < n && !found && !m_aborted; ++i) {
            Board child = board;
            child.Apply(moves[size_t(i)]);
            const int rest = need - worth[size_t(i)];
            if (Search(child, rest - 1, 0) >= rest) {
                line.moves.push_back(moves[size_t(i)]);
                need = rest;
                board = child;
                found = true;
            }
        }
        if (!found)
            break;
    }
    return line;
}

ExactSearch::Result ExactSearch::Solve(const Board& board, const Line& known, const std::atomic<bool>& stop,
                                       const std::atomic<int>* bar, std::atomic<qint64>* published)
{
    m_stop = &stop;
    m_bar = bar;
    m_published = published;
    m_aborted = false;
    m_nodes = 0;
    m_nextLook = std::min<qint64>(CheckEvery, m_hookAt);
    Result result;
    const int alpha = known.moves.empty() && board.HasMove() ? MinusInfinity : known.total;
    const int value = Search(board, alpha, 0);
    // The bar only ever held totals of lines the caller holds: what does not beat it, it is.
    const int reached = std::max(alpha, bar ? bar->load() : MinusInfinity);
    if (!m_aborted && value > reached) {
        m_bar = nullptr;
        Line line = ReadLine(board, value);
        // A proof comes with its line, whole: a total that no line reaches is a fault of the
        // search, never a result.
        if (!m_aborted && PlaysOut(board, line, m_values)) {
            result.line = std::move(line);
            result.best = value;
            result.proven = true;
        } else {
            Q_ASSERT_X(m_aborted, "ExactSearch::Solve", "the line read back does not reach the total proved");
            result.best = reached;
        }
    } else if (!m_aborted) {
        result.best = reached;
        result.proven = true;
    }
    result.nodes = m_nodes;
    if (m_published)
        m_published->store(m_nodes, std::memory_order_relaxed);
    return result;
}

// --- the run -----------------------------------------------------------------------------------

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
    Random random(m_options.seed * 0x9E3779B97F4A7C15ull + quint64(thread));
    Beam beam(m_board, context);
    for (int width = thread % 2 == 0 ? 1 : 3;; width = NextWidth(width))
        if (!beam.Pass(width, random.Next()))
            break;
    m_nodes[size_t(thread)].store(context.nodes);
}

} // namespace Solver
