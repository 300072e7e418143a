// SPDX-License-Identifier: MIT
// The move-log half of the game: scoring a pair, the points total and undo. Undo reads
// the move back from the log row alone; nothing else keeps a copy of the history.

#include "Game.h"
#include "Numbers.h"
#include "ScoreTables.h"
#include "Symbols.h"

#include <algorithm>
#include <limits>

void Game::RefreshPoints(const char* trailer)
{
    m_host.PointsLabelChanged(QStringLiteral("ポイント：") + Numbers::Format3d(PointsTotal())
                              + QLatin1String(trailer));
}

void Game::ScorePair()
{
    const QString s1 = TileCaption(EntryNumber(0));
    const QString s2 = TileCaption(EntryNumber(1));
    const quint8 kind = Symbols::SymbolKind(s1);
    const TextGrid* table = kind >= 1 && kind <= 3 ? m_tables[kind].data() : nullptr;
    // The pair is ordered: the row for (s1, s2) is not the row for (s2, s1).
    if (const int r = table ? ScoreTables::PairRow(*table, s1, s2) : -1; r > 0) {
        m_log->SetCell(LogPoints, m_moveRow, table->Cell(2, r));
        m_log->SetCell(LogText, m_moveRow, table->Cell(3, r));
    }
    RefreshPoints("  ");
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
    if (m_log->Cell(LogTile1, m_moveRow - 1).isEmpty())
        return;
    if (!m_selection.isEmpty()) {
        m_log->ClearRow(m_moveRow);
        ClearSelectionMarks();
    }
    --m_moveRow;

    QString s1 = m_log->Cell(LogSymbol1, m_moveRow);
    QString s2 = m_log->Cell(LogSymbol2, m_moveRow);
    int a = Numbers::ParseInteger(m_log->Cell(LogTile1, m_moveRow)).value_or(0);
    int b = Numbers::ParseInteger(m_log->Cell(LogTile2, m_moveRow)).value_or(0);
    const bool m1 = m_log->Cell(LogMark1, m_moveRow) == QLatin1String("1");
    const bool m2 = m_log->Cell(LogMark2, m_moveRow) == QLatin1String("1");
    // The marks already stand in ascending tile order; only the symbols follow the swap.
    if (a > b) {
        std::swap(s1, s2);
        std::swap(a, b);
    }

    if (a >= 1 && b <= TileCount && a < b) {
        if (b - a >= 2) {
            // A vertical pair: b is the tile below a.
            const int c = (a - 1) % Cols;
            const int r = (a - 1) / Cols;
            if (m1 || m2)
                ReopenColumn(c);
            const int k = HiddenInColumn(c);
            // Rows 0..r-1 get back the captions that fell by two rows. Row 0 is taken from
            // row 2 as well when the pair stood in rows 1 and 2: a hidden tile's caption is
            // not kept safe (closing and reopening this column overwrites it), so it must
            // never come back into play unrestored.
            for (int i = 0; i <= r - 1; ++i) {
                At(c, i).caption = TileAt(c, i + 2).caption;
                ColorTile(c, i);
            }
            if (r + 1 < Rows) {
                At(c, r).caption = s1;
                At(c, r + 1).caption = s2;
                At(c, r).zset = 0;
                At(c, r + 1).zset = 0;
                if (k >= 2) {
                    At(c, k - 2).visible = true;
                    At(c, k - 1).visible = true;
                }
                ColorTile(c, r);
                ColorTile(c, r + 1);
            }
        } else {
            // Side by side: the left tile first, so that two closed columns both reopen in
            // their old places.
            const struct { int n; QString symbol; bool mark; } halves[2] = { { a, s1, m1 }, { b, s2, m2 } };
            for (const auto& half : halves) {
                const int c = (half.n - 1) % Cols;
                const int r = (half.n - 1) / Cols;
                if (half.mark)
                    ReopenColumn(c);
                const int k = HiddenInColumn(c);
                for (int i = 0; i <= r - 1; ++i) {
                    At(c, i).caption = TileAt(c, i + 1).caption;
                    ColorTile(c, i);
                }
                At(c, r).caption = half.symbol;
                At(c, r).zset = 0;
                if (k >= 1)
                    At(c, k - 1).visible = true;
                ColorTile(c, r);
            }
        }
        m_remaining += 2;
    }

    m_log->ClearRow(m_moveRow);
    if (m_log->RowCount() > 2)
        m_log->SetRowCount(m_log->RowCount() - 1);
    if (m_moveRow > 1)
        m_log->SetRow(m_moveRow - 1);
    m_host.RemainingLabelChanged(RemainingText());
    RefreshPoints(" ");
    m_selection.clear();
    UpdateElementStrip();
    m_host.BoardChanged();
}
