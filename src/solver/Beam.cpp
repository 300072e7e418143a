// SPDX-License-Identifier: MIT
#include "solver/Beam.h"

#include "solver/SelectBest.h"

#include <algorithm>
#include <bit>
#include <optional>

namespace Solver {

namespace {

    // A beam ranks the positions of one layer (all with the same number of tiles left) by
    // what the game could at best total from them: the points so far plus the upper bound
    // of the tiles left (Board::UpperBound, which sees which symbols are left to pair, not
    // where they stand), less a penalty for every tile that has no tile of its kind in its
    // own column or the two beside it: such a tile is likely to stay on the board, and what
    // it could have scored is likely lost. The penalty is three fifths of the tile's best
    // pair, which with the default tables is 3 for most tiles. (bench/README.md has what
    // else was tried.)
    constexpr int PenaltyFifths = 3;

    // A full-width pass keeps only a quarter of its width in its opening: the layers whose
    // positions still hold at least 7/12 of the start's tiles (the first 25 moves on a full
    // board). With the default tables every symbol's best pair is worth 5, so a pair of 5
    // keeps a position's worth, and the positions a layer keeps there tie on worth or
    // nearly: the tie-break, not the ranking, picks them. Such a pass costs a little under
    // half as much, and the best of twice as many of them beats the best of the full ones
    // (bench/README.md). Boards of up to OpeningMaxFullTiles tiles keep their full width:
    // there a pass keeps a far larger share of each layer, and on 6 x 6 the narrow opening
    // lowered the beams' totals.
    constexpr int OpeningMaxFullTiles = 80;
    constexpr int OpeningShareNumerator = 7;
    constexpr int OpeningShareDenominator = 12;
    constexpr int OpeningWidthDivisor = 4;

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

    // The bound of a kind's tiles once a pair of two symbols has gone, remembered for the
    // children of one position: many of its moves take the same two symbols, which only
    // differ in where they stand.
    class PairBounds
    {
    public:
        explicit PairBounds(KindBoundMemo& memo) : m_memo(memo) { }
        // Starts on a position: its counts, and twice the bound of each kind's tiles.
        void NextPosition(const Board::Counts& counts, std::array<qint64, 4>& kindBounds)
        {
            if (++m_position == 0) { // wrapped: every stamp is from an older position
                m_stamps.fill(0);
                m_position = 1;
            }
            m_counts = counts;
            for (int kind = 1; kind <= 3; ++kind) {
                m_keys[size_t(kind)] = m_memo.KeyOf(counts, kind);
                kindBounds[size_t(kind)] = m_memo.Twice(counts, m_keys[size_t(kind)]);
            }
        }
        void Prefetch(Tile a, Tile b) const { m_memo.PrefetchWithout(m_keys[size_t(KindOf(a))], a, b); }
        // Twice the bound of the kind of a and b with one of each fewer.
        qint64 Twice(Tile a, Tile b)
        {
            const size_t at = size_t(std::min(a, b)) * 32 + std::max(a, b);
            if (m_stamps[at] == m_position)
                return m_twice[at];
            m_stamps[at] = m_position;
            return m_twice[at] = m_memo.TwiceWithout(m_counts, m_keys[size_t(KindOf(a))], a, b);
        }

    private:
        KindBoundMemo& m_memo;
        Board::Counts m_counts {};
        std::array<KindBoundMemo::Key, 4> m_keys {};
        quint32 m_position = 0;
        std::array<quint32, 32 * 32> m_stamps {};
        std::array<qint64, 32 * 32> m_twice {};
    };

    // The bound memo's size. A beam on a full board meets new counts at nearly every child:
    // with 2^14 entries a kind most of its time went to working bounds out again, with
    // 2^18 (12 MB) it goes two fifths faster (bench/README.md). Small boards have few counts.
    int MemoBits(const Board& start)
    {
        return start.TileCount() > 48 ? 18 : 14;
    }

    struct Candidate
    {
        qint64 worth;    // the ranking key, or at least that while the loss is not known
        quint64 order;   // tie-break among equal worth, from the seed
        int score;       // points so far
        int parent;      // index of the position in the layer before
        quint16 move;
        bool known;      // whether the isolated tiles' loss is in the worth
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
            : m_start(start), m_context(context), m_bounds(context.values, 0, MemoBits(start)) { }

        // A pass from the start, keeping `openingWidth` positions a layer in the opening and
        // `width` after it. Lines go to the context. False when stopped.
        bool Pass(int width, int openingWidth, quint64 tieSeed) { return PassAfter({}, width, openingWidth, tieSeed); }
        // A pass from where the first moves of a line lead; its lines begin with them.
        bool PassAfter(const std::vector<Move>& prefix, int width, int openingWidth, quint64 tieSeed);

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
                      const std::vector<Outlook>& outlooks, std::vector<Node>& next);
        size_t Resolve(std::vector<Candidate>& candidates, size_t known, size_t pool,
                       const std::vector<Outlook>& outlooks) const;

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

    size_t Beam::Resolve(std::vector<Candidate>& candidates, size_t known, size_t pool,
                         const std::vector<Outlook>& outlooks) const
    {
        // A candidate's loss is worked out only once it could be among the best: the worth
        // without it is an upper bound, so the candidates are taken best bound first, a
        // chunk at a time, until the best bound left cannot beat the pool's last. Most
        // children of a layer are far below its best and never need it.
        for (;;) {
            if (known == candidates.size())
                return known;
            const size_t chunk = std::min(candidates.size() - known, std::max(pool, known));
            const auto begin = candidates.begin() + qsizetype(known);
            SelectBest(begin, candidates.end(), chunk, Better);
            const Candidate edgeOfRest = candidates[known + chunk - 1]; // no candidate after it is better
            size_t kept = known;
            for (size_t i = known; i < known + chunk; ++i) {
                Candidate c = candidates[i];
                if (!c.known) {
                    const Outlook::Child child = outlooks[size_t(c.parent)].After(Move::FromCode(c.move));
                    if (!child.hasMove)
                        continue; // a line's end; it did not beat the worker's best
                    c.worth -= child.loss;
                    c.known = true;
                }
                candidates[kept++] = c;
            }
            // Close the gap the ends left, from the back.
            const size_t gap = known + chunk - kept;
            const size_t tail = candidates.size() - (known + chunk);
            const size_t moved = std::min(gap, tail);
            std::copy(candidates.end() - qsizetype(moved), candidates.end(), candidates.begin() + qsizetype(kept));
            candidates.resize(candidates.size() - gap);
            known = kept;
            if (known >= pool && known < candidates.size()) {
                SelectBest(candidates.begin(), candidates.begin() + qsizetype(known), pool, Better);
                if (Better(candidates[pool - 1], edgeOfRest))
                    return known;
            }
        }
    }

    void Beam::KeepBest(std::vector<Candidate>& candidates, int width, const std::vector<Node>& layer,
                        const std::vector<Outlook>& outlooks, std::vector<Node>& next)
    {
        // Positions are built and told apart only among the best: twice the width first,
        // more should so many of them be the same position reached in other orders (moves in
        // different parts of the board commute). Of a position reached twice the better
        // ranked (the better score: the rest of its worth is the same) stays.
        std::vector<quint64> hashes;
        std::vector<int> places;
        size_t pool = size_t(width) * 2;
        size_t known = 0;
        for (;;) {
            known = Resolve(candidates, known, pool, outlooks);
            pool = std::min(pool, known);
            next.clear();
            if (pool == 0)
                return; // every child ends a line
            SelectBest(candidates.begin(), candidates.begin() + qsizetype(known), pool, Better);
            std::sort(candidates.begin(), candidates.begin() + qsizetype(pool), Better);
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
            pool *= 2;
        }
    }

    bool Beam::PassAfter(const std::vector<Move>& prefix, int width, int openingWidth, quint64 tieSeed)
    {
        const int openingTiles = m_start.TileCount() * OpeningShareNumerator / OpeningShareDenominator;
        const PairValues& values = m_context.values;
        const Replay from = ReplayLine(m_start, prefix, values);
        // The prefix is the first steps, so that every line found leads back through it.
        m_steps.clear();
        for (const Move& m : prefix)
            m_steps.push_back(Step { int(m_steps.size()) - 1, m.Code() });
        std::vector<Node> layer { Node { from.end, from.total, int(m_steps.size()) - 1 } };
        std::vector<Node> next;
        std::vector<Candidate> candidates;
        std::vector<Outlook> outlooks;
        std::array<Move, MaxMoves> moves;
        PairBounds pairBounds(m_bounds);
        while (!layer.empty()) {
            candidates.clear();
            outlooks.clear();
            for (size_t i = 0; i < layer.size(); ++i) {
                const Node& node = layer[i];
                const int n = node.board.Moves(moves);
                const Outlook& outlook = outlooks.emplace_back(node.board, values);
                std::array<qint64, 4> kindBounds {};
                pairBounds.NextPosition(node.board.TileCounts(), kindBounds);
                // Twice the upper bound of the tiles left.
                const qint64 bound = kindBounds[1] + kindBounds[2] + kindBounds[3];
                // A child's bound is an entry of a table of megabytes, seldom in the cache:
                // every entry is asked for first, so that the reads below wait less.
                for (int k = 0; k < n; ++k)
                    pairBounds.Prefetch(node.board.First(moves[size_t(k)]), node.board.Second(moves[size_t(k)]));
                for (int k = 0; k < n; ++k) {
                    if (m_context.Tick())
                        return false;
                    const Move& m = moves[size_t(k)];
                    const int score = node.score + node.board.Value(m, values);
                    // Only a line that would beat the worker's best needs to know now
                    // whether it ends here; the others wait (Resolve).
                    std::optional<Outlook::Child> child;
                    if (score > m_context.best.total) {
                        child = outlook.After(m);
                        if (!child->hasMove) {
                            m_context.Offer(LineTo(node.step, m, score));
                            continue;
                        }
                    }
                    // The move changes the bound of its own kind only.
                    const Tile a = node.board.First(m);
                    const Tile b = node.board.Second(m);
                    const int kind = KindOf(a);
                    const qint64 childBound = bound - kindBounds[size_t(kind)] + pairBounds.Twice(a, b);
                    const qint64 worth = 5 * qint64(score) + 5 * childBound / 2 - (child ? child->loss : 0);
                    const quint64 order = Mix(tieSeed ^ (quint64(node.step + 1) << 16) ^ m.Code());
                    candidates.push_back(Candidate { worth, order, score, int(i), m.Code(), child.has_value() });
                }
            }
            if (candidates.empty())
                break;
            const bool opening = layer.front().board.TileCount() - 2 >= openingTiles;
            KeepBest(candidates, opening ? openingWidth : width, layer, outlooks, next);
            layer.swap(next);
        }
        return true;
    }

} // namespace


void SearchBeams(const Board& start, WorkerContext& context, int firstWidth, quint64 seed, int fullWidth)
{
    if (!start.HasMove())
        return; // nothing to search, and a pass without a move never looks at the stop flag
    Random random(seed);
    Beam beam(start, context);
    // The narrow passes are for lines within moments; the widths just below the full one
    // would cost nearly as much as a pass at full width and find less.
    for (int width = firstWidth; width <= fullWidth / 8; width *= 2)
        if (!beam.Pass(width, width, random.Next()))
            return;
    // At full width a pass's line depends mostly on the tie-breaks of its first layers:
    // once the first 20 or so moves of a line are fixed, a pass from there reaches the same
    // total whatever its tie seed, and often a better one than the whole pass did, having
    // all its width for the rest of that line. So every new best line is searched again
    // from points along its start, and the line takes the better rest.
    const int openingWidth = start.TileCount() > OpeningMaxFullTiles ? std::max(1, fullWidth / OpeningWidthDivisor) : fullWidth;
    int searched = MinusInfinity;
    for (;;) {
        if (!beam.Pass(fullWidth, openingWidth, random.Next()))
            return;
        if (context.best.total <= searched)
            continue;
        Line line = context.best;
        for (size_t k = RestartStep; k <= RestartMoves && k < line.moves.size(); k += RestartStep) {
            const std::vector<Move> prefix(line.moves.begin(), line.moves.begin() + qsizetype(k));
            if (!beam.PassAfter(prefix, fullWidth, openingWidth, random.Next()))
                return;
            if (context.best.total > line.total)
                line = context.best; // it begins with the same k moves
        }
        searched = line.total;
    }
}

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


} // namespace Solver
