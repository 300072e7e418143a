// SPDX-License-Identifier: MIT
// A game in progress kept as a record, and restored from one by playing it again from its
// deal. Nothing of a record is taken on trust but the points and texts of its log rows:
// the board comes from the deal number, every move must be one the rules allow where it
// stands, and what the replay gives must be the record itself.

#include "game/Game.h"
#include "game/Symbols.h"

GameRecord Game::Record() const
{
    GameRecord record;
    record.dealNumber = m_dealNumber;
    record.deal = m_dealtWith;
    for (int i = 0; i < TileCount; ++i)
        if (m_tiles[size_t(i)].visible)
            record.tiles[size_t(i)] = m_tiles[size_t(i)].caption;
    for (int row = 1; row < m_moveRow; ++row)
        record.moves.push_back(LogRow::Read(*m_log, row));
    record.selection.assign(m_selection.begin(), m_selection.end());
    // Without a pick the current row holds nothing, or what is left of a pick taken back,
    // which the next pick overwrites.
    if (!m_selection.isEmpty())
        record.pending = LogRow::Read(*m_log, m_moveRow);
    record.redo = m_redo;
    return record;
}

bool Game::Restore(const GameRecord& record)
{
    // Played on a game of its own first, so that a record that does not hold leaves this
    // game as it was.
    QuietGameHost quiet;
    Game trial(quiet);
    if (!trial.Replay(record) || trial.Record() != record)
        return false;
    Replay(record);
    // The points label as the last scoring left it, or as the deal did.
    NotifyAll(record.moves.empty() && record.selection.size() < 2 ? PointsRefresh::Other : PointsRefresh::Lookup);
    return true;
}

bool Game::Replay(const GameRecord& record)
{
    DealBoard(record.dealNumber, record.deal);
    ClearSelectionMarks();
    m_selection.clear();
    m_redo.clear();
    m_moveRow = 1;
    // The log as a fresh start has it; each move played adds its row.
    m_log->SetRowCount(LogDesignRows);
    for (int r = 1; r < m_log->RowCount(); ++r)
        m_log->ClearRow(r);
    m_log->SetRow(1);

    for (const LogRow& row : record.moves)
        if (!ReplayMove(row))
            return false;
    // What can be redone is played on, the next first, and taken back again: undo keeps it
    // as it kept it then. Only the first undo (the last to redo) can have cancelled a pick.
    for (auto step = record.redo.rbegin(); step != record.redo.rend(); ++step)
        if (!ReplayMove(step->move))
            return false;
    const bool redoing = !record.redo.empty();
    if (!ReplayPick(redoing ? record.redo.front().selection : record.selection,
            redoing ? record.redo.front().pending : record.pending))
        return false;
    for (size_t i = 0; i < record.redo.size(); ++i)
        TakeBackMove();
    // A game with no pair left had ended, and a new board would have been dealt.
    return IsTileNumber(FindMove());
}

bool Game::IsPair(int a, int b) const
{
    if (a < 1 || a > TileCount || b < 1 || b > TileCount)
        return false;
    const Tile& first = TileByNumber(a);
    const Tile& second = TileByNumber(b);
    const quint8 kind = Symbols::SymbolKind(first.caption);
    if (!first.visible || !second.visible || kind == Symbols::NoKind
        || kind != Symbols::SymbolKind(second.caption))
        return false;
    const int d = std::abs(a - b);
    return d == Cols || (d == 1 && (a - 1) / Cols == (b - 1) / Cols);
}

bool Game::ReplayMove(const LogRow& row)
{
    const int a = row.tiles[0];
    const int b = row.tiles[1];
    if (!IsPair(a, b) || row.symbols[0] != TileCaption(a) || row.symbols[1] != TileCaption(b))
        return false;
    LogRow written = row;
    // The removal marks the columns it empties itself; the record must agree with it.
    written.emptied = {};
    written.Write(*m_log, m_moveRow);
    m_log->SetRow(m_moveRow);
    m_selection = { a, b };
    TakeOutSelection();
    return IsTileNumber(FindMove());
}

bool Game::ReplayPick(const Picks& selection, const LogRow& pending)
{
    if (selection.empty())
        return true;
    if (selection.size() > 2)
        return false;
    const int first = selection.at(0);
    const bool picked = selection.size() == 2
        ? IsPair(first, selection.at(1))
        : first >= 1 && first <= TileCount && IsTileNumber(CheckTile((first - 1) % Cols, (first - 1) / Cols));
    if (!picked)
        return false;
    // The row the picks wrote: their symbols and numbers, and a score only for a pair.
    for (qsizetype i = 0; i < 2; ++i) {
        const int tile = size_t(i) < selection.size() ? selection.at(size_t(i)) : 0;
        if (pending.tiles[size_t(i)] != tile || pending.symbols[size_t(i)] != TileCaption(tile)
            || pending.emptied[size_t(i)])
            return false;
    }
    if (selection.size() == 1 && (!pending.points.isEmpty() || !pending.text.isEmpty()))
        return false;
    pending.Write(*m_log, m_moveRow);
    m_log->SetRow(m_moveRow);
    m_selection = QList<int>(selection.begin(), selection.end());
    for (int n : selection)
        AtNumber(n).zset = 1;
    return true;
}
