// SPDX-License-Identifier: MIT
#include "solver/ExactSearch.h"

#include "platform/LargePages.h"
#include "solver/Worker.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <new>
#include <type_traits>

namespace Solver {

namespace {

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

} // namespace

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
    // pages only as they are touched: a small search pays nothing for a large table. Large
    // pages, where the system gives them, spare most reads a second miss (LargePages.h).
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
        PreferLargePages(entries.get(), count * sizeof(Entry));
        mask = (count / 2) - 1;
    }

    void Prefetch(quint64 key) const { __builtin_prefetch(&entries[(key & mask) * 2]); }

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
    , m_frames(std::make_unique<Frame[]>(Cols * Rows / 2 + 1))
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

ExactSearch::Bounds ExactSearch::BoundsOf(const Board& board)
{
    Bounds b { board.TileCounts(), {}, 0 };
    for (int kind = 1; kind <= 3; ++kind)
        b.twice += b.kindTwice[size_t(kind)] = m_bounds.Twice(b.counts, kind);
    return b;
}

int ExactSearch::Search(const Board& board, const Bounds& bounds, int alpha, int pathPoints)
{
    if (++m_nodes >= m_nextLook)
        Look();
    if (m_aborted)
        return 0;
    alpha = BarAlpha(alpha, pathPoints);
    int bound = int(bounds.twice / 2);
    if (bound <= alpha)
        return bound;
    // The table's answer is mostly a miss of the processor's cache: ask for it before the
    // moves are listed.
    const quint64 key = board.Hash();
    m_table->Prefetch(key);

    // A position has fewer tiles than any on the way to it, so its tile count is a frame no
    // caller uses.
    Frame& frame = m_frames[size_t(board.TileCount() / 2)];
    std::array<Move, MaxMoves>& moves = frame.moves;
    std::array<int, MaxMoves>& worth = frame.worth;
    const int n = board.Moves(moves);
    if (n == 0)
        return 0;
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
        const Move& m = moves[size_t(i)];
        const int w = worth[size_t(i)];
        const int childAlpha = std::max(alpha, best) - w;
        // A move changes its own kind's bound only; a child that cannot beat the bar by it
        // is not built. What it gives back is the bound, as its own search would.
        Bounds childBounds = bounds;
        const Tile a = board.First(m);
        const int kind = KindOf(a);
        --childBounds.counts[a];
        --childBounds.counts[board.Second(m)];
        const qint64 kindTwice = m_bounds.Twice(childBounds.counts, kind);
        childBounds.twice += kindTwice - bounds.kindTwice[size_t(kind)];
        childBounds.kindTwice[size_t(kind)] = kindTwice;
        int v;
        if (childBounds.twice / 2 <= childAlpha) {
            v = w + int(childBounds.twice / 2);
        } else {
            Board child = board;
            child.Apply(m);
            v = w + Search(child, childBounds, childAlpha, pathPoints + w);
            if (m_aborted)
                return 0;
        }
        if (v > best) {
            best = v;
            bestMove = m;
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
            if (Search(child, BoundsOf(child), rest - 1, 0) >= rest) {
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
    const int value = Search(board, BoundsOf(board), alpha, 0);
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

} // namespace Solver
