// SPDX-License-Identifier: MIT
// The board half of the game: deal, picks, removal, column closing, hint and end test.

#include "game/Game.h"
#include "game/Numbers.h"
#include "game/Symbols.h"

// Qt
#include <QDateTime>

#include <algorithm>

using Symbols::SymbolElement;
using Symbols::SymbolKind;

Game::Game(GameHost& host)
    : m_host(host)
    , m_log(std::make_unique<TextGrid>(LogColumns, LogDesignRows))
    , m_numbers(quint64(QDateTime::currentMSecsSinceEpoch()))
{
    m_log->SetFixedRows(1);
}

Game::~Game() = default;

void Game::SetScoreTable(int kind, TextGrid* table)
{
    if (kind >= 1 && kind <= 3)
        m_tables[size_t(kind)] = table;
}

const Tile& Game::TileByNumber(int number) const
{
    static const Tile none;
    if (number < 1 || number > TileCount)
        return none;
    return m_tiles[size_t(number - 1)];
}

int Game::HiddenInColumn(int col) const
{
    int k = 0;
    for (int r = 0; r < Rows; ++r)
        k += TileAt(col, r).visible ? 0 : 1;
    return k;
}

bool Game::ColumnEmpty(int col) const
{
    return HiddenInColumn(col) == Rows;
}


void Game::NewGame(std::optional<quint32> number)
{
    DealBoard(number ? *number : m_numbers.Next(), m_host.CurrentDealSettings());
    ResetAfterDeal();
}

void Game::DealBoard(quint32 number, const DealSettings& s)
{
    m_dealNumber = number;
    m_dealtWith = s;
    DealRandom rng(number);
    const int h = std::clamp(s.rows, 0, Rows);
    const int w = std::clamp(s.cols, 0, Cols);

    // The board in play is the bottom h rows of the left w columns.
    for (int c = 0; c < Cols; ++c)
        for (int r = 0; r < Rows; ++r)
            At(c, r).visible = c < w && r >= Rows - h;
    m_remaining = h * w;

    m_symbolPool.clear();
    if (s.sets[0])
        m_symbolPool += Symbols::Stems;
    if (s.sets[1])
        m_symbolPool += Symbols::Branches;
    if (s.sets[2])
        m_symbolPool += Symbols::Stars;

    m_dealSolution.clear();
    if (s.solvable && DealClearable(h, w, s, rng))
        return;

    // Every tile draws independently and uniformly from the pool's symbols, hidden ones
    // too; nothing balances the kinds, so not every board can be cleared.
    const auto poolSize = quint32(m_symbolPool.size());
    for (int c = 0; c < Cols; ++c) {
        for (int r = 0; r < Rows; ++r) {
            Tile& t = At(c, r);
            if (poolSize > 0)
                t.caption = m_symbolPool.at(rng.Below(poolSize));
            else
                t.caption.clear();
            ColorTile(c, r);
        }
    }
}

bool Game::DealClearable(int rows, int cols, const DealSettings& s, DealRandom& rng)
{
    QStringList sets;
    if (s.sets[0])
        sets << Symbols::Stems;
    if (s.sets[1])
        sets << Symbols::Branches;
    if (s.sets[2])
        sets << Symbols::Stars;
    SolvableDeal::Board board;
    // No set ticked, or a size that cannot be cleared: the plain deal takes over.
    if (!SolvableDeal::Build(rows, cols, sets, rng, board))
        return false;

    // The board in play as built; the hidden tiles still draw from the pool, as they
    // would in the plain deal, since falling tiles carry their captions down unseen.
    const auto poolSize = quint32(m_symbolPool.size());
    for (int c = 0; c < Cols; ++c)
        for (int r = 0; r < Rows; ++r) {
            Tile& t = At(c, r);
            t.caption = t.visible ? board.captions[size_t(Index(c, r))] : m_symbolPool.at(rng.Below(poolSize));
            ColorTile(c, r);
        }
    m_dealSolution = std::move(board.removals);
    return true;
}

void Game::SetBoardForTest(const std::array<QString, TileCount>& captions,
                           const std::array<bool, TileCount>& visible)
{
    m_dealSolution.clear();
    m_remaining = 0;
    for (int i = 0; i < TileCount; ++i) {
        m_tiles[size_t(i)].caption = captions[size_t(i)];
        m_tiles[size_t(i)].visible = visible[size_t(i)];
        m_remaining += visible[size_t(i)] ? 1 : 0;
        ColorTile(i % Cols, i / Cols);
    }
    ResetAfterDeal();
}

void Game::ResetAfterDeal()
{
    // A tile still marked from the game before would stand outside the selection.
    ClearSelectionMarks();
    m_selection.clear();
    m_redo.clear();
    m_moveRow = 1;
    for (int r = 1; r < m_log->RowCount(); ++r)
        m_log->ClearRow(r);
    m_log->SetRow(1);
    NotifyAll(PointsRefresh::Other);
}

void Game::NotifyAll(PointsRefresh refresh)
{
    m_host.RemainingChanged(m_remaining);
    RefreshPoints(refresh);
    UpdateElementStrip();
    m_host.BoardChanged();
}

void Game::ColorTile(int col, int row)
{
    if (col < 0 || col >= Cols || row < 0 || row >= Rows)
        return;
    Tile& t = At(col, row);
    switch (m_host.CurrentColouring()) {
    case Colouring::Plain:
        t.topColor = Symbols::ColorBtnFace;
        break;
    case Colouring::ByElement: {
        // A tile dealt from an empty pool has no element and shows the button face.
        const quint8 e = SymbolElement(t.caption);
        t.topColor = e < 5 ? Symbols::ElementColors[e] : Symbols::ColorBtnFace;
        break;
    }
    case Colouring::None:
        break;
    }
}

void Game::ColorAllTiles()
{
    for (int c = 0; c < Cols; ++c)
        for (int r = 0; r < Rows; ++r)
            ColorTile(c, r);
    m_host.BoardChanged();
}

int Game::CheckTile(int col, int row) const
{
    if (col < 0 || col >= Cols || row < 0 || row >= Rows || !TileAt(col, row).visible)
        return NotInPlay;
    const quint8 kind = SymbolKind(TileAt(col, row).caption);
    // An empty caption (kind 0) has no partner, not even another empty tile.
    if (kind == Symbols::NoKind)
        return NoPartner;
    auto partner = [&](int c, int r) {
        const Tile& t = TileAt(c, r);
        return t.visible && SymbolKind(t.caption) == kind;
    };
    if ((row > 0 && partner(col, row - 1)) || (row < Rows - 1 && partner(col, row + 1))
        || (col < Cols - 1 && partner(col + 1, row)) || (col > 0 && partner(col - 1, row)))
        return TileNumber(col, row);
    return NoPartner;
}

int Game::FindMove() const
{
    if (m_remaining < 1)
        return BoardEmpty;
    for (int c = 0; c < Cols; ++c)
        for (int r = Rows - 1; r >= 0; --r) {
            const int result = CheckTile(c, r);
            if (IsTileNumber(result))
                return result;
        }
    return NoPartner;
}

bool Game::CanPairWithSelection(int number) const
{
    if (m_selection.isEmpty())
        return true;
    if (m_selection.size() == 1 && TileByNumber(number).zset == 1)
        return true;
    const int f = m_selection.first();
    const int d = std::abs(f - number);
    if (d == 12)
        return true;
    // The last tile of one row and the first of the next differ by one but do not touch.
    if (d == 1)
        return std::abs(BoardSize::ColumnOf(f) - BoardSize::ColumnOf(number)) != Cols - 1;
    return false;
}

void Game::ClickTile(int col, int row, PickMode mode)
{
    if (col < 0 || col >= Cols || row < 0 || row >= Rows)
        return;
    const int n = TileNumber(col, row);
    m_host.PlayWave(Sound::Pick);
    Tile& tile = At(col, row);

    // A pair standing selected without removal (picked with the right button or the hint):
    // a left click on one of its tiles removes it as a left-button second pick would, any
    // other button on one of its tiles takes both back, and every other tile is refused.
    if (m_selection.size() >= 2) {
        if (!m_selection.contains(n)) {
            m_host.PlayWave(Sound::Refused);
            return;
        }
        if (mode == PickMode::Remove) {
            RemoveSelection();
        } else {
            ClearSelectionMarks();
            m_selection.clear();
            // The cancelled pair's score must not stay in the total.
            m_log->ClearRow(m_moveRow);
            RefreshPoints(PointsRefresh::Other);
            m_host.BoardChanged();
        }
        return;
    }

    if (tile.zset == 1 && CanPairWithSelection(n)) {
        tile.zset = 0;
        m_selection.clear();
        m_host.BoardChanged();
        return;
    }
    if (!IsTileNumber(CheckTile(col, row))) {
        m_host.PlayWave(Sound::Refused);
        return;
    }
    if (!m_selection.isEmpty()) {
        if (!CanPairWithSelection(n)
            || SymbolKind(TileCaption(m_selection.first())) != SymbolKind(tile.caption)) {
            m_host.PlayWave(Sound::Refused);
            return;
        }
    }

    // Something new is played: what undo took back can no longer be put again.
    m_redo.clear();
    tile.zset = 1;
    m_selection.append(n);
    WriteSelectionToLog();
    m_host.BoardChanged();

    if (m_selection.size() > 1)
        ScorePair();
    if (mode == PickMode::Remove && m_selection.size() > 1)
        RemoveSelection();
}

void Game::WriteSelectionToLog()
{
    // The row shows the first pick at once and the pair after the second.
    LogRow row = LogRow::Read(*m_log, m_moveRow);
    for (qsizetype i = 0; i < m_selection.size() && i < 2; ++i) {
        row.symbols[size_t(i)] = TileCaption(m_selection.at(i));
        row.tiles[size_t(i)] = m_selection.at(i);
    }
    row.Write(*m_log, m_moveRow);
    m_log->SetRow(m_moveRow);
}

void Game::Pick(int tile, PickMode mode)
{
    if (tile < 1 || tile > TileCount)
        return;
    ClickTile(BoardSize::ColumnOf(tile), BoardSize::RowOf(tile), mode);
}

void Game::RemoveSelection()
{
    m_host.PlayWave(Sound::Removal);
    m_redo.clear();
    TakeOutSelection();
    ShowMoveTaken();
    EndTest();
}

void Game::TakeOutSelection()
{
    // The upper (or left) tile first.
    QList<int> sorted = m_selection;
    std::sort(sorted.begin(), sorted.end());
    LogRow logRow = LogRow::Read(*m_log, m_moveRow);
    for (qsizetype i = 0; i < sorted.size() && i < 2; ++i) {
        const int n = sorted.at(i);
        if (n < 1 || n > TileCount)
            continue;
        const int c = BoardSize::ColumnOf(n);
        const int r = BoardSize::RowOf(n);
        const int k = HiddenInColumn(c);
        if (k < Rows)
            At(c, k).visible = false;
        for (int j = r; j >= 1; --j) {
            At(c, j).caption = TileAt(c, j - 1).caption;
            ColorTile(c, j);
        }
        At(c, r).zset = 0;
        ColorTile(c, r);
        if (ColumnEmpty(c))
            logRow.emptied[size_t(i)] = true;
    }
    logRow.Write(*m_log, m_moveRow);
    CloseEmptyColumns();

    m_remaining -= 2;
    ++m_moveRow;
    m_log->SetRowCount(m_log->RowCount() + 1);
    m_selection.clear();
}

void Game::ShowMoveTaken()
{
    m_host.RemainingChanged(m_remaining);
    UpdateElementStrip();
    m_host.BoardChanged();
}

void Game::CloseEmptyColumns()
{
    // Two passes: when two neighbouring columns empty, the first pass moves an empty column
    // onto a place it has already passed.
    for (int pass = 0; pass < 2; ++pass) {
        for (int c = 0; c < Cols - 1; ++c) {
            if (!ColumnEmpty(c))
                continue;
            for (int cc = c; cc < Cols - 1; ++cc)
                for (int r = 0; r < Rows; ++r) {
                    At(cc, r).visible = TileAt(cc + 1, r).visible;
                    At(cc, r).caption = TileAt(cc + 1, r).caption;
                    ColorTile(cc, r);
                }
            for (int r = 0; r < Rows; ++r)
                At(Cols - 1, r).visible = false;
        }
    }
}

void Game::EndTest()
{
    const int result = FindMove();
    if (result != NoPartner && result != BoardEmpty)
        return;
    m_rankPending = RankPending::Waiting;
    m_host.GameEnded(result == BoardEmpty ? GameEnd::Cleared : GameEnd::NoPairLeft);
}

void Game::ClearSelectionMarks()
{
    for (Tile& t : m_tiles)
        t.zset = 0;
}

void Game::HintBtnClick()
{
    if (!m_selection.isEmpty()) {
        m_host.PlayWave(Sound::Pick);
        // Every selected tile loses its mark, not only the first: a mark outside the
        // selection would make a tile look picked that the rules no longer know of.
        if (m_selection.size() >= 2) {
            m_log->ClearRow(m_moveRow);
            RefreshPoints(PointsRefresh::Other);
        }
        ClearSelectionMarks();
        m_selection.clear();
        m_host.BoardChanged();
        return;
    }
    for (int c = 0; c < Cols; ++c)
        for (int r = Rows - 1; r >= 0; --r)
            if (IsTileNumber(CheckTile(c, r))) {
                ClickTile(c, r, PickMode::Hold);
                return;
            }
}

int Game::NearestRowInPlay(int col, int row) const
{
    // Ascending rows with <= keeps the last of two equally near rows: the lower one.
    int best = -1;
    for (int r = 0; r < Rows; ++r)
        if (TileAt(col, r).visible && (best < 0 || std::abs(r - row) <= std::abs(best - row)))
            best = r;
    return best;
}

int Game::CursorStep(int number, int dCol, int dRow) const
{
    if (number < 1 || number > TileCount)
        return number;
    const int col = BoardSize::ColumnOf(number);
    const int row = BoardSize::RowOf(number);
    if (dCol == 0) {
        for (int r = row + dRow; dRow != 0 && r >= 0 && r < Rows; r += dRow)
            if (TileAt(col, r).visible)
                return TileNumber(col, r);
        return number;
    }
    for (int c = col + dCol; c >= 0 && c < Cols; c += dCol)
        if (const int r = NearestRowInPlay(c, row); r >= 0)
            return TileNumber(c, r);
    return number;
}

int Game::NearestInPlay(int number) const
{
    const bool onBoard = number >= 1 && number <= TileCount;
    const int col = onBoard ? BoardSize::ColumnOf(number) : 0;
    const int row = onBoard ? BoardSize::RowOf(number) : Rows - 1;
    if (onBoard && TileAt(col, row).visible)
        return number;
    for (int d = 0; d < Cols; ++d) {
        const int sides[2] = { col - d, col + d };
        for (int k = 0; k < (d == 0 ? 1 : 2); ++k) {
            const int c = sides[k];
            if (c < 0 || c >= Cols)
                continue;
            if (const int r = NearestRowInPlay(c, row); r >= 0)
                return TileNumber(c, r);
        }
    }
    return 0;
}

void Game::ReopenColumn(int col)
{
    if (col < 0 || col >= Cols)
        return;
    for (int b = Cols - 1; b > col; --b)
        for (int r = 0; r < Rows; ++r) {
            At(b, r).visible = TileAt(b - 1, r).visible;
            At(b, r).caption = TileAt(b - 1, r).caption;
            ColorTile(b, r);
        }
    for (int r = 0; r < Rows; ++r)
        At(col, r).visible = false;
}

std::array<int, 5> Game::ElementCounts() const
{
    std::array<int, 5> counts {};
    for (const Tile& t : m_tiles) {
        if (!t.visible)
            continue;
        const quint8 e = SymbolElement(t.caption);
        if (e < 5)
            ++counts[e];
    }
    return counts;
}

void Game::UpdateElementStrip()
{
    m_host.ElementStripChanged(ElementCounts());
}
