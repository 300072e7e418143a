// SPDX-License-Identifier: MIT
#include "solver/Board.h"

#include "game/Numbers.h"
#include "game/ScoreTables.h"
#include "game/Symbols.h"
#include "game/TextGrid.h"
#include "platform/LargePages.h"

#include <bit>
#include <cstring>
#include <limits>

namespace Solver {

QString CaptionOf(Tile t)
{
    return t >= 1 && t <= Symbols::SymbolCount ? QString(Symbols::SymbolAlphabet.at(t - 1)) : QString();
}

Tile TileOf(const QString& caption)
{
    if (caption.isEmpty())
        return Blank;
    const qsizetype i = caption.size() == 1 ? Symbols::SymbolAlphabet.indexOf(caption.at(0)) : -1;
    return i >= 0 ? Tile(i + 1) : NoTile;
}

// --- pair values -------------------------------------------------------------------------------

PairValues PairValues::FromTables(const std::array<const TextGrid*, 4>& tables)
{
    PairValues values;
    for (int kind = 1; kind <= 3; ++kind) {
        const TextGrid* table = tables[size_t(kind)];
        if (!table)
            continue;
        for (Tile a = FirstOfKind(kind); a <= LastOfKind(kind); ++a)
            for (Tile b = FirstOfKind(kind); b <= LastOfKind(kind); ++b) {
                const int row = ScoreTables::PairRow(*table, CaptionOf(a), CaptionOf(b));
                if (row < 0)
                    continue;
                const int points = Numbers::ParseInteger(table->Cell(2, row)).value_or(0);
                values.m_points[a][b] = std::clamp(points, -Limit, Limit);
            }
    }
    for (int a = 0; a < TileCodes; ++a)
        for (int b = 0; b < TileCodes; ++b) {
            values.m_best[a][b] = std::max(values.m_points[a][b], values.m_points[b][a]);
            if (KindOf(Tile(a)) != 0 && KindOf(Tile(a)) == KindOf(Tile(b)))
                values.m_bestOf[a] = std::max(values.m_bestOf[a], values.m_best[a][b]);
        }
    return values;
}

// --- moves ---------------------------------------------------------------------------------------

Move Move::FromCode(quint16 code)
{
    const int index = int(code) - 1;
    const int cell = index / 2;
    return Move { quint8(cell / Rows), quint8(cell % Rows), (index & 1) != 0 };
}

Picks PicksOf(const Board& board, const Move& m, const PairValues& values)
{
    const int lower = TileNumber(m.col, m.height);
    const int partner = m.horizontal ? TileNumber(m.col + 1, m.height) : TileNumber(m.col, m.height + 1);
    if (values.FirstIsBetter(board.First(m), board.Second(m)))
        return { lower, partner };
    return { partner, lower };
}

// --- the board -----------------------------------------------------------------------------------

Board Board::FromColumns(const std::vector<std::vector<Tile>>& columns)
{
    Board b;
    for (const std::vector<Tile>& column : columns) {
        if (column.empty() || b.m_cols == Cols)
            continue;
        const int col = b.m_cols++;
        for (Tile t : column) {
            if (b.m_heights[col] == Rows || t == NoTile)
                break;
            if (const int kind = KindOf(t); kind > 0)
                b.m_kinds[size_t(kind - 1)][size_t(col)] |= quint16(1u << b.m_heights[col]);
            b.m_cells[col * Rows + b.m_heights[col]++] = t;
            ++b.m_tiles;
        }
    }
    return b;
}

int Board::Moves(std::array<Move, MaxMoves>& out) const
{
    int n = 0;
    for (int c = 0; c < m_cols; ++c) {
        quint32 up = 0;   // bit h: the tile at h pairs with the one above it
        quint32 side = 0; // bit h: ... with the one right of it
        for (const auto& kind : m_kinds) {
            up |= kind[size_t(c)] & (kind[size_t(c)] >> 1);
            side |= kind[size_t(c)] & kind[size_t(c + 1)];
        }
        for (quint32 bits = up | side; bits != 0; bits &= bits - 1) {
            const int h = std::countr_zero(bits);
            if (up & (1u << h))
                out[size_t(n++)] = Move { quint8(c), quint8(h), false };
            if (side & (1u << h))
                out[size_t(n++)] = Move { quint8(c), quint8(h), true };
        }
    }
    return n;
}

bool Board::HasMove() const
{
    for (int c = 0; c < m_cols; ++c)
        for (const auto& kind : m_kinds)
            if ((kind[size_t(c)] & (kind[size_t(c)] >> 1)) != 0 || (kind[size_t(c)] & kind[size_t(c + 1)]) != 0)
                return true;
    return false;
}

void Board::RemoveTile(int col, int height)
{
    Tile* column = &m_cells[col * Rows];
    const int top = m_heights[col] - 1;
    for (int h = height; h < top; ++h)
        column[h] = column[h + 1];
    column[top] = NoTile;
    --m_heights[col];
    --m_tiles;
    const quint16 below = quint16((1u << height) - 1);
    for (auto& kind : m_kinds)
        kind[size_t(col)] = quint16((kind[size_t(col)] & below) | ((kind[size_t(col)] >> 1) & ~below));
}

void Board::CloseColumn(int col)
{
    for (int c = col; c + 1 < m_cols; ++c) {
        std::memcpy(&m_cells[c * Rows], &m_cells[(c + 1) * Rows], Rows);
        m_heights[c] = m_heights[c + 1];
        for (auto& kind : m_kinds)
            kind[size_t(c)] = kind[size_t(c + 1)];
    }
    --m_cols;
    std::memset(&m_cells[m_cols * Rows], NoTile, Rows);
    m_heights[m_cols] = 0;
    for (auto& kind : m_kinds)
        kind[m_cols] = 0;
}

void Board::Apply(const Move& m)
{
    if (m.horizontal) {
        RemoveTile(m.col + 1, m.height);
        RemoveTile(m.col, m.height);
        // The right one first, so the left one's place still holds when it closes too.
        if (m_heights[m.col + 1] == 0)
            CloseColumn(m.col + 1);
    } else {
        RemoveTile(m.col, m.height + 1);
        RemoveTile(m.col, m.height);
    }
    if (m_heights[m.col] == 0)
        CloseColumn(m.col);
}

namespace {

    // The bound of one kind's tiles, doubled so that halves stay whole: `types` are the
    // symbols on the board, most numerous first, `count` how many of each. A price list
    // (doubled prices p) is feasible when p[a] + p[b] >= 2 x value(a, b) for every two tiles
    // that can pair, p[a] >= value(a, a) where a symbol can pair with itself, and p >= 0;
    // then any pairing is worth at most half the sum of its tiles' prices.
    qint64 KindBound(const Tile* types, int n, const Board::Counts& count, const PairValues& values)
    {
        int tiles = 0;
        std::array<int, 12> half {}; // each symbol's best pair, so half its value each way
        std::array<int, 12> lowered {};
        for (int i = 0; i < n; ++i) {
            const Tile a = types[i];
            tiles += count[a];
            int best = 0;
            for (int j = 0; j < n; ++j)
                if (j != i || count[a] >= 2)
                    best = std::max(best, values.Best(a, types[j]));
            half[size_t(i)] = best;
            lowered[size_t(i)] = 2 * best;
        }
        for (int i = 0; i < n; ++i) {
            const Tile a = types[i];
            int need = count[a] >= 2 ? std::max(0, values.Best(a, a)) : 0;
            for (int j = 0; j < n; ++j)
                if (j != i)
                    need = std::max(need, 2 * values.Best(a, types[j]) - lowered[size_t(j)]);
            lowered[size_t(i)] = need;
        }
        qint64 best = std::numeric_limits<qint64>::max();
        for (const std::array<int, 12>* prices : { &half, &lowered }) {
            qint64 sum = 0;
            int cheapest = std::numeric_limits<int>::max();
            for (int i = 0; i < n; ++i) {
                sum += qint64(count[types[i]]) * (*prices)[size_t(i)];
                cheapest = std::min(cheapest, (*prices)[size_t(i)]);
            }
            if (tiles % 2 == 1)
                sum -= cheapest;
            best = std::min(best, sum);
        }
        return best;
    }

} // namespace

Board::Counts Board::TileCounts() const
{
    Counts count {};
    for (int c = 0; c < m_cols; ++c)
        for (int h = 0; h < m_heights[c]; ++h)
            ++count[m_cells[c * Rows + h] & 31]; // Blank counts with NoTile: it never pairs
    return count;
}

int Board::UpperBound(const PairValues& values) const
{
    return UpperBoundOf(TileCounts(), values);
}

int UpperBoundOf(const Board::Counts& count, const PairValues& values)
{
    qint64 twice = 0;
    for (int kind = 1; kind <= 3; ++kind)
        twice += TwiceKindBound(count, kind, values);
    return int(twice / 2);
}

namespace {

    int TilesOfKind(const Board::Counts& count, int kind)
    {
        int tiles = 0;
        for (Tile t = FirstOfKind(kind); t <= LastOfKind(kind); ++t)
            tiles += count[t];
        return tiles;
    }

    // The price-list bound (Board::UpperBound), doubled.
    qint64 TwicePricedBound(const Board::Counts& count, int kind, const PairValues& values)
    {
        std::array<Tile, 12> types;
        int n = 0;
        for (Tile t = FirstOfKind(kind); t <= LastOfKind(kind); ++t)
            if (count[t] > 0)
                types[size_t(n++)] = t;
        if (n == 0)
            return 0;
        for (int i = 1; i < n; ++i) // most numerous first; a handful of symbols
            for (int j = i; j > 0 && count[types[size_t(j - 1)]] < count[types[size_t(j)]]; --j)
                std::swap(types[size_t(j - 1)], types[size_t(j)]);
        return KindBound(types.data(), n, count, values);
    }

} // namespace

qint64 TwiceKindBound(const Board::Counts& count, int kind, const PairValues& values, int exactTiles)
{
    if (TilesOfKind(count, kind) <= exactTiles)
        return 2 * qint64(ExactPairing(values).Best(count, kind));
    return TwicePricedBound(count, kind, values);
}

// --- the exact pairing ---------------------------------------------------------------------------

ExactPairing::ExactPairing(const PairValues& values)
    : m_values(values)
    , m_entries(256)
{
}

int ExactPairing::Best(const Board::Counts& counts, int kind)
{
    Key key {};
    const int n = LastOfKind(kind) - FirstOfKind(kind) + 1;
    std::copy(&counts[FirstOfKind(kind)], &counts[LastOfKind(kind)] + 1, key.begin());
    key[12] = quint8(kind);
    return Solve(key, 0, n);
}

int ExactPairing::Solve(Key& key, int first, int symbols)
{
    // `first`: no symbol before it has a tile left.
    while (first < symbols && key[size_t(first)] == 0)
        ++first;
    if (first == symbols)
        return 0;
    if (const Entry* e = Find(key))
        return e->value;
    const Tile base = FirstOfKind(key[12]);
    const Tile a = Tile(base + first);
    --key[size_t(first)];
    int best = Solve(key, first, symbols); // the tile left over
    for (int j = first; j < symbols; ++j) {
        if (key[size_t(j)] == 0)
            continue;
        --key[size_t(j)];
        best = std::max(best, m_values.Best(a, Tile(base + j)) + Solve(key, first, symbols));
        ++key[size_t(j)];
    }
    ++key[size_t(first)];
    Store(key, best);
    return best;
}

namespace {

    std::array<quint64, 2> WordsOf(const std::array<quint8, 16>& key)
    {
        std::array<quint64, 2> words;
        std::memcpy(words.data(), key.data(), sizeof words);
        return words;
    }

    bool SameKey(const std::array<quint8, 16>& a, const std::array<quint8, 16>& b)
    {
        return WordsOf(a) == WordsOf(b);
    }

    std::size_t PlaceOf(const std::array<quint8, 16>& key, std::size_t mask)
    {
        const std::array<quint64, 2> words = WordsOf(key);
        quint64 h = (words[0] * 0x9E3779B97F4A7C15ull) ^ (words[1] * 0xBF58476D1CE4E5B9ull);
        h ^= h >> 31;
        return std::size_t(h) & mask;
    }

} // namespace

const ExactPairing::Entry* ExactPairing::Find(const Key& key) const
{
    const std::size_t mask = m_entries.size() - 1;
    for (std::size_t at = PlaceOf(key, mask);; at = (at + 1) & mask) {
        const Entry& e = m_entries[at];
        if (SameKey(e.key, key))
            return &e;
        if (e.key[12] == 0)
            return nullptr;
    }
}

void ExactPairing::Store(const Key& key, int value)
{
    // At most half full, so that a probe ends soon; doubled up to MaxEntries, then emptied.
    if (2 * (m_used + 1) > m_entries.size()) {
        std::vector<Entry> old;
        old.swap(m_entries);
        m_entries.assign(old.size() < MaxEntries ? old.size() * 2 : old.size(), Entry {});
        m_used = 0;
        if (old.size() < MaxEntries)
            for (const Entry& e : old)
                if (e.key[12] != 0)
                    Store(e.key, e.value);
    }
    const std::size_t mask = m_entries.size() - 1;
    std::size_t at = PlaceOf(key, mask);
    while (m_entries[at].key[12] != 0 && !SameKey(m_entries[at].key, key))
        at = (at + 1) & mask;
    if (m_entries[at].key[12] == 0)
        ++m_used;
    m_entries[at] = Entry { key, qint32(value) };
}

KindBoundMemo::KindBoundMemo(const PairValues& values, int exactTiles, int entryBits)
    : m_values(values)
    , m_pairing(values)
    , m_exactTiles(exactTiles)
{
    // Zeroed pages the system hands out as they are first written, so a table of which a
    // small search uses little costs little, and can still be backed by large pages.
    const std::size_t count = std::size_t(1) << entryBits;
    m_entries.reset(static_cast<Entry*>(std::calloc(3 * count, sizeof(Entry))));
    if (!m_entries)
        throw std::bad_alloc();
    m_mask = count - 1;
    PreferLargePages(m_entries.get(), 3 * count * sizeof(Entry));
}

KindBoundMemo::Key KindBoundMemo::KeyOf(const Board::Counts& counts, int kind) const
{
    Key key { 0, kind, 0, true };
    for (Tile t = FirstOfKind(kind); t <= LastOfKind(kind); ++t) {
        key.word = key.word << 5 | counts[t];
        key.tiles += counts[t];
        key.fits = key.fits && counts[t] < 32;
    }
    return key;
}

qint64 KindBoundMemo::Twice(const Board::Counts& counts, const Key& key)
{
    if (key.tiles <= m_exactTiles)
        return 2 * qint64(m_pairing.Best(counts, key.kind));
    if (key.word == 0 || !key.fits) // no tile of the kind, or more of a symbol than a key holds
        return TwicePricedBound(counts, key.kind, m_values);
    Entry& e = m_entries[PlaceOf(key)];
    if (e.key != key.word)
        e = Entry { key.word, TwicePricedBound(counts, key.kind, m_values) };
    return e.twice;
}

qint64 KindBoundMemo::TwiceWithoutAfresh(const Board::Counts& counts, const Key& less, Tile a, Tile b)
{
    Board::Counts left = counts;
    --left[a];
    --left[b];
    return Twice(left, less);
}

int KindBoundMemo::Bound(const Board& board)
{
    const Board::Counts counts = board.TileCounts();
    qint64 twice = 0;
    for (int kind = 1; kind <= 3; ++kind)
        twice += Twice(counts, kind);
    return int(twice / 2);
}

quint64 Board::Hash() const
{
    // The cells above each column are always NoTile, so equal boards hash equally. Three
    // lanes of five words, mixed apart, then folded.
    constexpr int Words = Cols * Rows / 8;
    static_assert(Words == 15);
    quint64 w[Words];
    std::memcpy(w, m_cells.data(), sizeof w);
    quint64 lanes[3] = { 0x9E3779B97F4A7C15ull ^ m_cols, 0xC2B2AE3D27D4EB4Full, 0x165667B19E3779F9ull };
    for (int i = 0; i < Words; i += 3)
        for (int l = 0; l < 3; ++l) {
            lanes[l] = (lanes[l] ^ w[i + l]) * 0xBF58476D1CE4E5B9ull;
            lanes[l] ^= lanes[l] >> 29;
        }
    quint64 h = lanes[0] ^ std::rotl(lanes[1], 21) ^ std::rotl(lanes[2], 42);
    h *= 0x94D049BB133111EBull;
    return h ^ (h >> 31);
}

} // namespace Solver
