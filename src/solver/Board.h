// SPDX-License-Identifier: MIT
// The best-score analysis: the highest total the rest of a game can bring from a board.
//
// The problem. A position is the tiles in play. A move removes two neighbouring tiles of one
// kind and scores the better of its two pick orders; the tiles above fall and emptied
// columns close. The game ends when no pair is left, so a line may stop only there, and on
// its way it may have to take pairs that score less than nothing. The best total of a
// position does not depend on how the position was reached.
//
// The files of the analysis: this one (the board), Line.h (lines, their replay, the greedy
// and the random player), ExactSearch.h, Beam.h (the anytime search), Run.h (the run that
// owns the threads, and the contract every result keeps), GameBridge.h (between the game
// and the analysis) and AnalysisSession.h (what the best-score window searches and when).
// The rules never use any of it.
//
// The board as the best-score analysis sees it: the tiles in play only, as bytes, with the
// removal of a pair, the falling and the closing of columns exactly as the game does them,
// and the points of a pair under the score tables of the moment.
//
// The game keeps 120 tiles with texts; a search visits millions of positions, so it needs a
// board it can copy and hash in a few dozen bytes' work. The game's board always has the
// shape its rules keep (tiles rest on the bottom row, the columns in play are packed to the
// left), so a board here is its columns in play from the left, each a stack of tiles from
// the bottom row up. Removing a pair takes its two tiles out of their stacks (the tiles
// above fall) and drops the stacks left empty: this is the game's removal and its two-pass
// closing of columns, because one removal empties at most two columns, and two only when
// they are neighbours, which the second pass closes.
//
// A move is an unordered pair. Which tile is picked first decides the score-table row, and
// the analysis always picks the order that scores better (the lower or left tile first on
// a tie), so a move is worth the better of its two orders.
#pragma once

// Qt
#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <vector>

class TextGrid;

namespace Solver {

constexpr int Cols = 12;
constexpr int Rows = 10;

// A tile: NoTile, a symbol (its alphabet index + 1, so 1..31) or Blank, a tile without a
// symbol (dealt from an empty pool), which pairs with nothing.
using Tile = quint8;
constexpr Tile NoTile = 0;
constexpr Tile Blank = 32;
constexpr int TileCodes = 33;

// 1 stems, 2 branches, 3 stars; 0 for NoTile and Blank.
constexpr int KindOf(Tile t)
{
    return t >= 1 && t <= 10 ? 1 : t >= 11 && t <= 22 ? 2 : t >= 23 && t <= 31 ? 3 : 0;
}
// The first and the last tile code of a kind (1..3).
constexpr Tile FirstOfKind(int kind)
{
    return kind == 1 ? 1 : kind == 2 ? 11 : 23;
}
constexpr Tile LastOfKind(int kind)
{
    return kind == 1 ? 10 : kind == 2 ? 22 : 31;
}
// The symbol's text; empty for NoTile and Blank.
QString CaptionOf(Tile t);
// The tile a caption shows: Blank for an empty text, NoTile for a text that is no symbol.
Tile TileOf(const QString& caption);

// The points of every ordered pair of symbols: the first row of its kind's score table that
// holds the two symbols in that order, its points cell read as the game reads it (a missing
// row, an empty cell or a cell that is not a number scores 0). Held to +-10,000,000 a pair,
// so that the totals of a board's 60 pairs, and the searches' sums and bars around them,
// stay far inside an int; no playable table comes near.
class PairValues
{
public:
    static constexpr int Limit = 10000000;

    // tables[kind] for kinds 1..3 (index 0 unused); a missing table scores every pair 0.
    static PairValues FromTables(const std::array<const TextGrid*, 4>& tables);

    int Points(Tile first, Tile second) const { return m_points[first][second]; }
    // The better of the two orders.
    int Best(Tile a, Tile b) const { return m_best[a][b]; }
    // Whether a then b scores at least as well as b then a.
    bool FirstIsBetter(Tile a, Tile b) const { return m_points[a][b] >= m_points[b][a]; }
    // The most a tile can score in any pair with a symbol of its kind (0 when nothing pays).
    int BestOf(Tile t) const { return m_bestOf[t]; }

    bool operator==(const PairValues& other) const { return m_points == other.m_points; }

private:
    std::array<std::array<int, TileCodes>, TileCodes> m_points {};
    std::array<std::array<int, TileCodes>, TileCodes> m_best {};
    std::array<int, TileCodes> m_bestOf {};
};

// A pair of neighbouring tiles of one kind: the tile at (col, height) and the one above it,
// or the one right of it when `horizontal`. Heights count from the bottom row.
struct Move
{
    quint8 col = 0;
    quint8 height = 0;
    bool horizontal = false;

    bool operator==(const Move&) const = default;
    // 0 for "no move"; otherwise a code that gives the move back.
    quint16 Code() const { return quint16(1 + (col * Rows + height) * 2 + (horizontal ? 1 : 0)); }
    static Move FromCode(quint16 code);
};

// Room for every pair a board can hold: 9 x 12 vertical and 10 x 11 horizontal.
constexpr int MaxMoves = (Rows - 1) * Cols + Rows * (Cols - 1);

class Board
{
public:
    // Columns in play, each listed from the bottom row up; at most Cols of at most Rows.
    static Board FromColumns(const std::vector<std::vector<Tile>>& columns);

    int ColumnCount() const { return m_cols; }
    int Height(int col) const { return m_heights[col]; }
    int TileCount() const { return m_tiles; }
    Tile At(int col, int height) const { return m_cells[col * Rows + height]; }
    // Bit h set: the tile at height h of column col is of that kind (1..3). 0 right of the
    // last column.
    quint16 KindMask(int kind, int col) const { return m_kinds[size_t(kind - 1)][size_t(col)]; }

    // The pairs that may be removed, columns from the left, within a column from the bottom,
    // the vertical pair before the horizontal one at each tile. Returns how many.
    int Moves(std::array<Move, MaxMoves>& out) const;
    bool HasMove() const;
    // The two tiles of a move: the lower or left one, then its partner.
    Tile First(const Move& m) const { return At(m.col, m.height); }
    Tile Second(const Move& m) const { return m.horizontal ? At(m.col + 1, m.height) : At(m.col, m.height + 1); }
    // Removes the pair; the tiles above fall, columns left empty close.
    void Apply(const Move& m);
    int Value(const Move& m, const PairValues& values) const { return values.Best(First(m), Second(m)); }

    // No line from here can score more. It forgets where the tiles stand and asks what
    // pairing the tiles of each kind could at best bring, any tile with any other of its kind
    // or with none (a tile left over scores nothing).
    //   - A kind of at most ExactPairingTiles tiles is paired exactly (ExactPairing): on
    //     boards of one kind the best pairing is often the optimum itself, and a search ends
    //     as soon as a line reaches it.
    //   - A larger kind is priced: every symbol gets a price so that no pair is worth more
    //     than its two prices, and the cheaper of two such price lists counts: half the
    //     symbol's best pair, or the full best pair lowered symbol by symbol, the most
    //     numerous first, as far as the others allow. Of an odd number of tiles one is left
    //     over. Exact pairing there would visit millions of sub-counts.
    int UpperBound(const PairValues& values) const;

    // How many tiles of each code are on the board: all the upper bound looks at.
    using Counts = std::array<quint8, 32>;
    Counts TileCounts() const;

    quint64 Hash() const;
    bool operator==(const Board&) const = default;

private:
    void RemoveTile(int col, int height);
    void CloseColumn(int col);

    std::array<Tile, Cols * Rows> m_cells {}; // [col * Rows + height], NoTile above a column
    std::array<quint8, Cols> m_heights {};
    // The kinds of the tiles as bits, so that pairs are found a column at a time. One more
    // column than a board can have, always empty, as the last column's right neighbour.
    std::array<std::array<quint16, Cols + 1>, 3> m_kinds {};
    quint8 m_cols = 0;
    quint8 m_tiles = 0;
};

// The kinds up to this many tiles are paired exactly in the upper bound. Pairing 24 tiles
// afresh takes at most a few milliseconds; a beam on a full board, which meets new counts at
// every layer, does better with the priced bound alone (bench/README.md).
constexpr int ExactPairingTiles = 24;

// The upper bound of a board with these tile counts (Board::UpperBound).
int UpperBoundOf(const Board::Counts& counts, const PairValues& values);

// Twice the part of that bound that the tiles of one kind (1..3) give; the bound is half
// the sum of the three.
qint64 TwiceKindBound(const Board::Counts& counts, int kind, const PairValues& values, int exactTiles = ExactPairingTiles);

// The best pairing of one kind's tiles, worked out exactly and remembered by their counts.
// Take the first symbol left: one of its tiles is either left over or paired with a tile of
// a symbol at or after it, and the rest is the same question on fewer tiles. From 24 tiles
// of 9 symbols that visits about 6,000 sets of counts (a few milliseconds), from 32 of 12 up
// to 90,000 (some tens of milliseconds, too long between two looks at the stop flag), and
// the sets of counts of one search's positions share most of them, so the table keeps them
// all: 16 bytes each, at most MaxEntries, emptied when full.
class ExactPairing
{
public:
    explicit ExactPairing(const PairValues& values);
    // The best total of pairs of the kind's tiles (1..3), counts by tile code.
    int Best(const Board::Counts& counts, int kind);

private:
    static constexpr std::size_t MaxEntries = std::size_t(1) << 19;
    // A kind's counts in alphabet order, and the kind; all zero for an empty entry (the
    // pairing of no tiles is never stored).
    using Key = std::array<quint8, 16>;
    struct Entry
    {
        Key key {};
        qint32 value = 0;
    };
    int Solve(Key& key, int first, int symbols);
    const Entry* Find(const Key& key) const;
    void Store(const Key& key, int value);

    const PairValues& m_values;
    std::vector<Entry> m_entries;
    std::size_t m_used = 0;
};

// The upper bound remembered kind by kind, by the counts of that kind's symbols: the
// positions of one search share few of them, and working a bound out costs more than the
// rest of a position's work together. A move changes the counts of one kind only, so a beam
// asks Twice of that kind alone for each child. A beam meets new counts all the time and
// wants a large table; an exact search on a small board visits few and would only pay for
// clearing one.
class KindBoundMemo
{
public:
    // Kinds of more than `exactTiles` tiles are priced (TwiceKindBound); the table holds
    // 2^`entryBits` priced entries a kind, 16 bytes each.
    explicit KindBoundMemo(const PairValues& values, int exactTiles = ExactPairingTiles, int entryBits = 14);
    qint64 Twice(const Board::Counts& counts, int kind) { return Twice(counts, KeyOf(counts, kind)); }

    // A kind's counts as the table files them, worked out once for a position so that its
    // children's keys take two subtractions instead of a count of the kind's symbols.
    struct Key
    {
        quint64 word = 0; // the counts in alphabet order, five bits each
        int kind = 0;
        int tiles = 0;
        bool fits = false; // no count of 32 or more
    };
    Key KeyOf(const Board::Counts& counts, int kind) const;
    // Twice(counts, key.kind), given its key.
    qint64 Twice(const Board::Counts& counts, const Key& key);
    // Twice(counts less one a and one b, their kind), given that kind's key of `counts`.
    qint64 TwiceWithout(const Board::Counts& counts, const Key& key, Tile a, Tile b)
    {
        const Key less = Less(key, a, b);
        if (less.tiles > m_exactTiles && less.word != 0 && less.fits) {
            const Entry& e = m_entries[PlaceOf(less)];
            if (e.key == less.word)
                return e.twice; // the common case, without a copy of the counts
        }
        return TwiceWithoutAfresh(counts, less, a, b);
    }
    // Asks the processor for the table entry TwiceWithout will read, so that a position can
    // ask for all its children's entries before it reads the first.
    void PrefetchWithout(const Key& key, Tile a, Tile b) const
    {
        __builtin_prefetch(&m_entries[PlaceOf(Less(key, a, b))]);
    }
    // Board::UpperBound.
    int Bound(const Board& board);

private:
    // The counts of a kind's symbols in alphabet order, five bits each. An empty entry
    // holds 0: a kind with no tiles is never remembered, nor a count of 32 or more.
    struct Entry
    {
        quint64 key = 0;
        qint64 twice = 0;
    };
    // The key with one a and one b fewer. Fewer tiles never make a count too large for its
    // five bits.
    static Key Less(Key key, Tile a, Tile b)
    {
        const int last = LastOfKind(key.kind);
        key.word -= (quint64(1) << 5 * (last - a)) + (quint64(1) << 5 * (last - b));
        key.tiles -= 2;
        return key;
    }
    std::size_t PlaceOf(const Key& key) const
    {
        return size_t(key.kind - 1) * (m_mask + 1) + (((key.word * 0x9E3779B97F4A7C15ull) >> 40) & m_mask);
    }
    qint64 TwiceWithoutAfresh(const Board::Counts& counts, const Key& less, Tile a, Tile b);

    const PairValues& m_values;
    // The three kinds' tables one after another, held as the exact search holds its table.
    std::unique_ptr<Entry[], decltype(&std::free)> m_entries { nullptr, &std::free };
    std::size_t m_mask;                       // of one kind's table
    ExactPairing m_pairing;
    int m_exactTiles;
};

// A move in the game's terms: the tile numbers (column + row x 12 + 1) of the first and the
// second pick, in the better order, on the board as it stands before the move.
struct Picks
{
    int first = 0;
    int second = 0;
};
Picks PicksOf(const Board& board, const Move& m, const PairValues& values);

// The game's tile number of the tile at (col, height).
constexpr int TileNumber(int col, int height)
{
    return col + (Rows - 1 - height) * Cols + 1;
}

} // namespace Solver
