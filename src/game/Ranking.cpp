// SPDX-License-Identifier: MIT
#include "game/Ranking.h"

#include "game/Numbers.h"

namespace Ranking {

QString FileName()
{
    return QStringLiteral("Rank.dat");
}

QStringList HeaderTexts()
{
    return { QStringLiteral("Rank"), QStringLiteral("Name"), QStringLiteral("Point"),
        QStringLiteral("Time") };
}

void WriteHeader(TextGrid& grid)
{
    const QStringList texts = HeaderTexts();
    for (int c = 0; c < texts.size(); ++c)
        grid.SetCell(c, 0, texts.at(c));
}

bool IsEmpty(const TextGrid& grid)
{
    return grid.RowCount() < 2
        || (grid.Cell(ColName, 1).isEmpty() && grid.Cell(ColPoints, 1).isEmpty()
            && grid.Cell(ColTime, 1).isEmpty());
}

int RankPosition(const TextGrid& grid, int points)
{
    for (int r = 1; r < grid.RowCount(); ++r) {
        const QString cell = grid.Cell(ColPoints, r);
        // An empty first entry is the empty ranking: any result heads it. Further down an
        // empty points cell is damage and counts as 0 like any other non-number; taking
        // it as "place 1" would put the result above better ones.
        if (r == 1 && cell.isEmpty())
            return 1;
        if (Numbers::ParseInteger(cell).value_or(0) < points)
            return r;
    }
    return grid.RowCount() - 1 < Places ? grid.RowCount() : NotPlaced;
}

void InsertRankEntry(TextGrid& grid, int place, const QString& name, int points, const QDateTime& when)
{
    if (grid.RowCount() < 2)
        grid.SetRowCount(2);
    if (!IsEmpty(grid)) {
        grid.SetRowCount(grid.RowCount() + 1);
        place = qBound(1, place, grid.RowCount() - 1);
        for (int r = grid.RowCount() - 1; r > place; --r)
            grid.CopyRow(r - 1, r);
    } else {
        place = 1;
    }
    grid.SetCell(ColRank, place, QString::number(place));
    grid.SetCell(ColName, place, StorableName(name));
    grid.SetCell(ColPoints, place, QString::number(points));
    grid.SetCell(ColTime, place, FormatTime(when));
    RenumberRanks(grid);
}

void RenumberRanks(TextGrid& grid)
{
    for (int r = 1; r < grid.RowCount(); ++r) {
        if (r >= 2 && grid.Cell(ColPoints, r) == grid.Cell(ColPoints, r - 1))
            grid.SetCell(ColRank, r, grid.Cell(ColRank, r - 1));
        else
            grid.SetCell(ColRank, r, QString::number(r));
    }
}

void TrimToPlaces(TextGrid& grid)
{
    if (grid.RowCount() > Places + 1)
        grid.SetRowCount(Places + 1);
}

void Normalise(TextGrid& grid)
{
    if (grid.RowCount() < EmptyRowCount)
        grid.SetRowCount(EmptyRowCount);
    grid.SetFixedRows(1);
    bool headerEmpty = true;
    for (int c = 0; c < grid.ColCount(); ++c)
        headerEmpty = headerEmpty && grid.Cell(c, 0).isEmpty();
    if (headerEmpty)
        WriteHeader(grid);
}

QString FormatTime(const QDateTime& when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    return QString::asprintf("%04d/%02d/%02d %02d:%02d", d.year(), d.month(), d.day(), t.hour(), t.minute());
}

QString StorableName(const QString& name)
{
    QString out;
    out.reserve(name.size());
    for (const QChar ch : name) {
        if (ch == QLatin1Char(','))
            out += QChar(0xFF0C); // "，"
        else if (ch != QLatin1Char('\r') && ch != QLatin1Char('\n') && ch != QChar(0))
            out += ch;
    }
    return out;
}

} // namespace Ranking
