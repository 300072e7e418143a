// SPDX-License-Identifier: MIT
// The move-log half of the game: scoring a pair, the points total and undo. Undo reads
// the move back from the log row alone; nothing else keeps a copy of the history.

#include "game/Game.h"
#include "game/Numbers.h"
#include "game/ScoreTables.h"
#include "game/Symbols.h"

#include <algorithm>
#include <limits>

void Game::RefreshPoints(PointsRefresh refresh)
{
    m_host.PointsChanged(PointsTotal(), refresh);
}

void Game::ScorePair()
{
    const QString s1 = TileCaption(m_selection.at(0));
    const QString s2 = TileCaption(m_selection.at(1));
    const quint8 kind = Symbols::SymbolKind(s1);
    const TextGrid* table = kind >= 1 && kind <= 3 ? m_tables[kind].data() : nullptr;
    // The pair is ordered: the row for (s1, s2) is not the row for (s2, s1).
    if (const int r = table ? ScoreTables::PairRow(*table, s1, s2) : -1; r > 0) {
        LogRow row = LogRow::Read(*m_log, m_moveRow);
        row.points = table->Cell(2, r);
        row.text = table->Cell(3, r);
        row.Write(*m_log, m_moveRow);
    }
    RefreshPoints(PointsRefresh::Lookup);
}

int Game::PointsTotal() const
{
    // A points text that is not an integer (an edited score table) counts as 0.
    qint64 total = 0;
    for (int r = 1; r < m_log->RowCount(); ++r) {
        const QString points = m_log->Cell(LogPoints, r);
        if (!points.isEmpty())
            total += Numbers::ParseInteger(points).value_or(0);
    }
    return int(std::clamp<qint64>(total, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

void Game::ReBtnClick()
{
    m_host.Beep();
    if (!TakeBackMove())
        return;
    m_host.RemainingChanged(m_remaining);
    RefreshPoints(PointsRefresh::Other);
    UpdateElementStrip();
    m_host.BoardChanged();
}

bool Game::TakeBackMove()
{
    if (LogRow::Read(*m_log, m_moveRow - 1).tiles[0] == 0)
        return false;
    RedoStep step;
    if (!m_selection.isEmpty()) {
        step.selection.assign(m_selection.begin(), m_selection.end());
        step.pending = LogRow::Read(*m_log, m_moveRow);
        m_log->ClearRow(m_moveRow);
        ClearSelectionMarks();
    }
    --m_moveRow;

    const LogRow move = LogRow::Read(*m_log, m_moveRow);
    step.move = move;
    // a < b: the upper (or left) tile first. The marks stand in that order already; the
    // symbols, in pick order, follow the tiles.
    const bool swapped = move.tiles[0] > move.tiles[1];
    const int a = swapped ? move.tiles[1] : move.tiles[0];
    const int b = swapped ? move.tiles[0] : move.tiles[1];
    const QString& s1 = move.symbols[swapped ? 1 : 0];
    const QString& s2 = move.symbols[swapped ? 0 : 1];
    if (a >= 1 && b <= TileCount && a < b) {
        const int c = BoardSize::ColumnOf(a);
        const int r = BoardSize::RowOf(a);
        if (b - a >= 2) {
            // A vertical pair: b is the tile below a.
            if (move.emptied[0] || move.emptied[1])
                ReopenColumn(c);
            PutBack(c, r, { s1, s2 });
        } else {
            // Side by side: the left tile first, so that two closed columns both reopen in
            // their old places.
            if (move.emptied[0])
                ReopenColumn(c);
            PutBack(c, r, { s1 });
            if (move.emptied[1])
                ReopenColumn(BoardSize::ColumnOf(b));
            PutBack(BoardSize::ColumnOf(b), r, { s2 });
        }
        m_remaining += 2;
    }

    m_log->ClearRow(m_moveRow);
    if (m_log->RowCount() > 2)
        m_log->SetRowCount(m_log->RowCount() - 1);
    if (m_moveRow > 1)
        m_log->SetRow(m_moveRow - 1);
    m_selection.clear();
    m_redo.push_back(step);
    return true;
}

void Game::RedoClick()
{
    m_host.Beep();
    if (m_redo.empty())
        return;
    const RedoStep step = m_redo.back();
    m_redo.pop_back();
    PutBackMove(step);
    // The total as the move's own scoring showed it.
    NotifyAll(PointsRefresh::Lookup);
}

void Game::PutBackMove(const RedoStep& step)
{
    // The move goes again as the removal took it; the removal marks the emptied columns
    // afresh, and finds the same ones, since the board is the one the move left before.
    LogRow row = step.move;
    row.emptied = {};
    row.Write(*m_log, m_moveRow);
    m_log->SetRow(m_moveRow);
    m_selection = { row.tiles[0], row.tiles[1] };
    TakeOutSelection();
    if (step.selection.empty())
        return;
    step.pending.Write(*m_log, m_moveRow);
    m_log->SetRow(m_moveRow);
    m_selection = QList<int>(step.selection.begin(), step.selection.end());
    for (int n : m_selection)
        AtNumber(n).zset = 1;
}

void Game::PutBack(int col, int row, const QStringList& symbols)
{
    // The removal took symbols.size() tiles out of this column from `row` down, and the
    // tiles above fell that far: they rise again (rows 0..row-1 take their captions back;
    // row 0 too, since a hidden tile's caption is not kept safe by closing and reopening a
    // column, and must never come back into play unrestored), the symbols return to their
    // rows, and the column's lowest hidden tiles come back into play.
    const int n = int(symbols.size());
    if (row < 0 || row + n > Rows)
        return;
    const int k = HiddenInColumn(col);
    for (int i = 0; i < row; ++i) {
        At(col, i).caption = TileAt(col, i + n).caption;
        ColorTile(col, i);
    }
    for (int j = 0; j < n; ++j) {
        Tile& t = At(col, row + j);
        t.caption = symbols.at(j);
        t.zset = 0;
        ColorTile(col, row + j);
    }
    for (int j = 1; j <= n && k - j >= 0; ++j)
        At(col, k - j).visible = true;
}

LogRow LogRow::Read(const TextGrid& log, int row)
{
    LogRow out;
    for (int i = 0; i < 2; ++i) {
        out.symbols[size_t(i)] = log.Cell(Game::LogSymbol1 + i, row);
        out.tiles[size_t(i)] = Numbers::ParseInteger(log.Cell(Game::LogTile1 + i, row)).value_or(0);
        out.emptied[size_t(i)] = log.Cell(Game::LogMark1 + i, row) == QLatin1String("1");
    }
    out.points = log.Cell(Game::LogPoints, row);
    out.text = log.Cell(Game::LogText, row);
    return out;
}

void LogRow::Write(TextGrid& log, int row) const
{
    for (int i = 0; i < 2; ++i) {
        log.SetCell(Game::LogSymbol1 + i, row, symbols[size_t(i)]);
        const int tile = tiles[size_t(i)];
        log.SetCell(Game::LogTile1 + i, row, tile > 0 ? Numbers::Format3d(tile) : QString());
        log.SetCell(Game::LogMark1 + i, row, emptied[size_t(i)] ? QStringLiteral("1") : QString());
    }
    log.SetCell(Game::LogPoints, row, points);
    log.SetCell(Game::LogText, row, text);
}
