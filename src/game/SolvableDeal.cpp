// SPDX-License-Identifier: MIT
// The clearable deal, built backwards from the empty board.
//
// The board is held as its columns in play from the left, each a stack of symbols from the
// bottom row up: the shape the removal rules keep (tiles rest on the bottom row, columns
// are packed to the left). Each step inserts one pair with one of the inverses of a removal:
//
//   removal                                  inverse (a Move)
//   vertical pair inside a column            Vertical: two tiles pushed into a column at
//                                            one height, the tiles from there up rise by two
//   vertical pair that empties its column    NewVertical: a new column of the two tiles
//   horizontal pair, both columns stay       Horizontal: one tile pushed into each of two
//                                            neighbouring columns at the same height
//   horizontal pair that empties the left    NewLeft: a new column of one tile, left of a
//   (or the right) column                    column that takes the other tile at the bottom
//                                            (NewRight: the same on the right)
//   horizontal pair that empties both        NewBoth: two new columns of one tile each
//
// A tile pushed in at height h needs every tile of its column below h to stay where it is
// and everything from h up to rise, which is exactly what the removal's falling undoes; and
// a horizontal pair sits at one height in both columns, so h may not exceed the height of
// either. A new column opens where the removal's closing will shut it again.

#include "game/SolvableDeal.h"
#include "game/DealRandom.h"

#include <algorithm>

namespace SolvableDeal {

namespace {

    struct Column
    {
        std::array<qint8, Rows> cells {}; // symbol indexes into the pool, bottom row first
        int height = 0;
    };

    struct State
    {
        std::array<Column, Cols> columns {};
        int count = 0; // columns in play, from the left

        void OpenColumn(int at)
        {
            for (int c = count; c > at; --c)
                columns[size_t(c)] = columns[size_t(c - 1)];
            columns[size_t(at)] = Column {};
            ++count;
        }

        void Push(int col, int height, qint8 symbol)
        {
            Column& column = columns[size_t(col)];
            for (int h = column.height; h > height; --h)
                column.cells[size_t(h)] = column.cells[size_t(h - 1)];
            column.cells[size_t(height)] = symbol;
            ++column.height;
        }
    };

    enum class MoveKind : quint8 { Vertical, NewVertical, Horizontal, NewLeft, NewRight, NewBoth };

    // at: the column (Vertical, Horizontal: the left one; NewLeft: the partner, which the new
    // column opens left of; NewRight: the partner, which the new column opens right of) or the
    // place of the new column(s) (NewVertical, NewBoth). height: counted from the bottom row.
    struct Move
    {
        MoveKind kind;
        qint8 at;
        qint8 height;
    };

    // Whether a board of column heights can still be filled to `count` columns of `rows`
    // tiles by more insertions. The existing columns keep their order; new columns may open
    // in any gap. A final column that still lacks d tiles takes them as vertical pairs (two
    // at a time) and as halves of horizontal pairs shared with a neighbour, so the gaps can be
    // filled exactly when, walking the final columns from the left, each column's lack minus
    // the horizontal halves it owes its left neighbour is never negative and the last owes
    // nothing (sharing more horizontal pairs than parity asks only makes this harder). The
    // test tries every order-keeping placement of the existing columns at once: one bit per
    // (existing columns placed, horizontal half owed).
    bool Completable(const std::array<int, Cols>& heights, int n, int rows, int count)
    {
        if (n > count)
            return false;
        auto bit = [](int placed, int owed) { return quint32(1) << (placed * 2 + owed); };
        quint32 reach = bit(0, 0);
        for (int slot = 0; slot < count; ++slot) {
            quint32 next = 0;
            for (int placed = 0; placed <= n; ++placed)
                for (int owed = 0; owed < 2; ++owed) {
                    if (!(reach & bit(placed, owed)))
                        continue;
                    if (placed < n) {
                        const int lack = rows - heights[size_t(placed)] - owed;
                        if (lack >= 0)
                            next |= bit(placed + 1, lack & 1);
                    }
                    // A new column here leaves room for the existing columns still to place.
                    if (count - slot - 1 >= n - placed) {
                        const int lack = rows - owed;
                        if (lack >= 0)
                            next |= bit(placed, lack & 1);
                    }
                }
            reach = next;
        }
        return reach & bit(n, 0);
    }

    void Candidates(const State& s, int rows, int cols, std::vector<Move>& out)
    {
        out.clear();
        const int n = s.count;
        auto height = [&](int c) { return s.columns[size_t(c)].height; };
        for (int c = 0; c < n; ++c)
            if (height(c) + 2 <= rows)
                for (int h = 0; h <= height(c); ++h)
                    out.push_back({ MoveKind::Vertical, qint8(c), qint8(h) });
        for (int c = 0; c + 1 < n; ++c)
            if (height(c) < rows && height(c + 1) < rows)
                for (int h = 0; h <= std::min(height(c), height(c + 1)); ++h)
                    out.push_back({ MoveKind::Horizontal, qint8(c), qint8(h) });
        if (n < cols) {
            if (rows >= 2)
                for (int at = 0; at <= n; ++at)
                    out.push_back({ MoveKind::NewVertical, qint8(at), 0 });
            for (int c = 0; c < n; ++c)
                if (height(c) < rows) {
                    out.push_back({ MoveKind::NewLeft, qint8(c), 0 });
                    out.push_back({ MoveKind::NewRight, qint8(c), 0 });
                }
        }
        if (n + 2 <= cols)
            for (int at = 0; at <= n; ++at)
                out.push_back({ MoveKind::NewBoth, qint8(at), 0 });
    }

    // The column heights after a move, for the completion test.
    int HeightsAfter(const State& s, const Move& m, std::array<int, Cols>& heights)
    {
        int n = s.count;
        for (int c = 0; c < n; ++c)
            heights[size_t(c)] = s.columns[size_t(c)].height;
        auto open = [&](int at, int height) {
            for (int c = n; c > at; --c)
                heights[size_t(c)] = heights[size_t(c - 1)];
            heights[size_t(at)] = height;
            ++n;
        };
        switch (m.kind) {
        case MoveKind::Vertical:
            heights[size_t(m.at)] += 2;
            break;
        case MoveKind::NewVertical:
            open(m.at, 2);
            break;
        case MoveKind::Horizontal:
            ++heights[size_t(m.at)];
            ++heights[size_t(m.at + 1)];
            break;
        case MoveKind::NewLeft:
            ++heights[size_t(m.at)];
            open(m.at, 1);
            break;
        case MoveKind::NewRight:
            ++heights[size_t(m.at)];
            open(m.at + 1, 1);
            break;
        case MoveKind::NewBoth:
            open(m.at, 1);
            open(m.at, 1);
            break;
        }
        return n;
    }

    int TileNumber(int col, int height)
    {
        return BoardSize::TileNumber(col, Rows - 1 - height);
    }

    // Inserts the pair (a, b) and returns where the two tiles stand now: the pair's removal.
    Removal Apply(State& s, const Move& m, qint8 a, qint8 b)
    {
        const int at = m.at;
        switch (m.kind) {
        case MoveKind::Vertical:
            s.Push(at, m.height, b);
            s.Push(at, m.height, a); // a above b
            return { TileNumber(at, m.height + 1), TileNumber(at, m.height) };
        case MoveKind::NewVertical:
            s.OpenColumn(at);
            s.Push(at, 0, b);
            s.Push(at, 0, a);
            return { TileNumber(at, 1), TileNumber(at, 0) };
        case MoveKind::Horizontal:
            s.Push(at, m.height, a);
            s.Push(at + 1, m.height, b);
            return { TileNumber(at, m.height), TileNumber(at + 1, m.height) };
        case MoveKind::NewLeft:
            s.OpenColumn(at); // the partner is now at + 1
            s.Push(at, 0, a);
            s.Push(at + 1, 0, b);
            return { TileNumber(at, 0), TileNumber(at + 1, 0) };
        case MoveKind::NewRight:
            s.OpenColumn(at + 1);
            s.Push(at, 0, a);
            s.Push(at + 1, 0, b);
            return { TileNumber(at, 0), TileNumber(at + 1, 0) };
        case MoveKind::NewBoth:
            s.OpenColumn(at);
            s.OpenColumn(at);
            s.Push(at, 0, a);
            s.Push(at + 1, 0, b);
            return { TileNumber(at, 0), TileNumber(at + 1, 0) };
        }
        return {};
    }

} // namespace

bool Build(int rows, int cols, const QStringList& sets, DealRandom& rng, Board& board)
{
    if (rows < 1 || rows > Rows || cols < 1 || cols > Cols || (rows * cols) % 2 != 0)
        return false;

    // The pool of all symbols, and where each set starts in it.
    QString pool;
    std::vector<int> starts;
    std::vector<int> sizes;
    for (const QString& set : sets) {
        if (set.isEmpty())
            continue;
        starts.push_back(int(pool.size()));
        sizes.push_back(int(set.size()));
        pool += set;
    }
    if (pool.isEmpty() || pool.size() > 127)
        return false;

    State state;
    std::array<int, Cols> heights {};
    if (!Completable(heights, 0, rows, cols))
        return false;

    std::vector<Move> candidates;
    candidates.reserve(512);
    std::vector<Removal> inserted;
    inserted.reserve(size_t(rows * cols / 2));
    for (int pairs = rows * cols / 2; pairs > 0; --pairs) {
        Candidates(state, rows, cols, candidates);
        // Draw moves until one leaves the board completable; a refused one is dropped.
        bool placed = false;
        while (!candidates.empty()) {
            const size_t i = rng.Below(quint32(candidates.size()));
            const Move move = candidates[i];
            const int n = HeightsAfter(state, move, heights);
            if (!Completable(heights, n, rows, cols)) {
                candidates[i] = candidates.back();
                candidates.pop_back();
                continue;
            }
            const int set = rng.Weighted(sizes);
            const quint32 symbols = quint32(sizes[size_t(set)]);
            const qint8 a = qint8(starts[size_t(set)] + int(rng.Below(symbols)));
            const qint8 b = qint8(starts[size_t(set)] + int(rng.Below(symbols)));
            inserted.push_back(Apply(state, move, a, b));
            placed = true;
            break;
        }
        if (!placed)
            return false;
    }
    if (state.count != cols)
        return false;
    for (int c = 0; c < cols; ++c)
        if (state.columns[size_t(c)].height != rows)
            return false;

    board.captions.fill(QString());
    for (int c = 0; c < cols; ++c) {
        const Column& column = state.columns[size_t(c)];
        for (int h = 0; h < rows; ++h)
            board.captions[size_t(TileNumber(c, h) - 1)] = pool.at(column.cells[size_t(h)]);
    }
    // The last pair put in is the first to come out.
    board.removals.assign(inserted.rbegin(), inserted.rend());
    return true;
}

} // namespace SolvableDeal
