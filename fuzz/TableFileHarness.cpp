// SPDX-License-Identifier: MIT
// The table-file harness. The bytes are read as a score table, as the options dialog reads
// "SG1.dat" at start-up, and a pair is scored against it through the game; then the same
// bytes are read as "Rank.dat", as the ranking window does at the end of a game, and a
// result is placed in it. Each table is then saved and read back and must come back cell
// for cell.

#include "FuzzHarness.h"

// own
#include "game/Game.h"
#include "game/Numbers.h"
#include "game/Ranking.h"
#include "game/ScoreTables.h"
#include "game/Symbols.h"
#include "store/TableFile.h"
#include "game/TextGrid.h"
#include "platform/Cp932.h"

// Qt
#include <QDateTime>

#include <array>

namespace Fuzz {

namespace {

    constexpr const char* Name = "tablefile";

    QString Cell(const TextGrid& grid, int c, int r)
    {
        return QStringLiteral("cell (%1, %2) \"%3\"").arg(c).arg(r).arg(grid.Cell(c, r));
    }

    // Commas and line breaks separate cells and rows, and a NUL ends the file: a cell read from
    // a file never holds one, or it could not be written back.
    void RequireStorable(const TextGrid& grid)
    {
        for (int r = 0; r < grid.RowCount(); ++r)
            for (int c = 0; c < grid.ColCount(); ++c)
                FUZZ_REQUIRE(Name, TextGrid::IsStorableText(grid.Cell(c, r)), Cell(grid, c, r));
    }

    // Saving the grid and reading the file back gives the same rows and cells, and saving
    // that gives the same bytes.
    void RequireRoundTrip(const TextGrid& grid)
    {
        const QByteArray bytes = TableFile::Format(grid);
        TextGrid back(grid.ColCount(), 1);
        TableFile::Parse(bytes, back);
        FUZZ_REQUIRE(Name, back.RowCount() == grid.RowCount(),
            QStringLiteral("%1 rows written, %2 read").arg(grid.RowCount()).arg(back.RowCount()));
        for (int r = 0; r < grid.RowCount(); ++r)
            for (int c = 0; c < grid.ColCount(); ++c)
                FUZZ_REQUIRE(Name, ReadsBackAs(grid.Cell(c, r), back.Cell(c, r)),
                    Cell(grid, c, r) + QStringLiteral(" read back as ") + Cell(back, c, r));
        FUZZ_REQUIRE(Name, TableFile::Format(back) == bytes, QStringLiteral("a second save differs"));
    }

    // The format's rule stated plainly, byte by byte and cell by cell: lines end at CR LF, CR
    // or LF, a NUL ends the text, and each cell is the text before the next comma, decoded on
    // its own. The reader decodes a line at a time; both must give the same cells.
    void RequireCellsAsTheRuleSays(const QByteArray& input, const TextGrid& grid)
    {
        QByteArray text = input;
        if (const qsizetype nul = text.indexOf('\0'); nul >= 0)
            text.truncate(nul);
        text.replace("\r\n", "\n");
        text.replace('\r', '\n');
        QList<QByteArray> lines = text.split('\n');
        if (text.isEmpty() || text.endsWith('\n'))
            lines.removeLast();
        FUZZ_REQUIRE(Name, grid.RowCount() == qMax<qsizetype>(1, lines.size()),
            QStringLiteral("%1 rows for %2 lines").arg(grid.RowCount()).arg(lines.size()));
        for (qsizetype r = 0; r < lines.size(); ++r) {
            QByteArray rest = lines.at(r);
            for (int c = 0; c < grid.ColCount(); ++c) {
                const qsizetype p = rest.indexOf(',');
                const QString expected = p < 0 ? QString() : Cp932::Decode(rest.left(p));
                rest = p < 0 ? QByteArray() : rest.mid(p + 1);
                FUZZ_REQUIRE(Name, grid.Cell(c, int(r)) == expected,
                    Cell(grid, c, int(r)) + QStringLiteral(" where the rule gives \"%1\"").arg(expected));
            }
        }
    }

    // Scores one pair of the table's kind through the game, picked with the right button so
    // that it stays on the board, and checks it against the table: the first row from row 1
    // that holds the two symbols in pick order gives the points and the text. Returns the
    // game's points total.
    int ScoreThroughGame(TextGrid& table, int kind, const QByteArray& input)
    {
        const QString alphabet = kind == 1 ? Symbols::Stems : kind == 2 ? Symbols::Branches : Symbols::Stars;
        auto isSymbol = [&](const QString& s) { return s.size() == 1 && alphabet.contains(s); };

        // A pair the file holds when the chosen row has one, else one chosen by the input.
        const int row = table.RowCount() > 1 ? 1 + int(input.size() % (table.RowCount() - 1)) : 0;
        QString s1 = table.Cell(0, row);
        QString s2 = table.Cell(1, row);
        if (!isSymbol(s1) || !isSymbol(s2)) {
            const int a = input.isEmpty() ? 0 : uchar(input.at(0));
            const int b = input.size() < 2 ? 0 : uchar(input.at(1));
            s1 = alphabet.at(a % alphabet.size());
            s2 = alphabet.at(b % alphabet.size());
        }

        QuietGameHost host;
        Game game(host);
        game.Seed(1);
        game.SetScoreTable(kind, &table);
        std::array<QString, Game::TileCount> captions;
        std::array<bool, Game::TileCount> visible {};
        const int first = Game::TileNumber(0, Game::Rows - 1);
        const int second = Game::TileNumber(1, Game::Rows - 1);
        captions[size_t(first - 1)] = s1;
        captions[size_t(second - 1)] = s2;
        visible[size_t(first - 1)] = true;
        visible[size_t(second - 1)] = true;
        game.SetBoardForTest(captions, visible);
        game.Pick(first, PickMode::Hold);
        game.Pick(second, PickMode::Hold);
        FUZZ_REQUIRE(
            Name, game.Selection().size() == 2, QStringLiteral("the pair %1%2 was refused").arg(s1, s2));

        QString points;
        QString text;
        for (int r = 1; r < table.RowCount(); ++r) {
            if (table.Cell(0, r) == s1 && table.Cell(1, r) == s2) {
                points = table.Cell(2, r);
                text = table.Cell(3, r);
                break;
            }
        }
        const TextGrid& log = game.MoveLog();
        FUZZ_REQUIRE(Name, log.Cell(Game::LogPoints, 1) == points,
            QStringLiteral("%1%2 scored \"%3\"").arg(s1, s2, log.Cell(Game::LogPoints, 1)));
        FUZZ_REQUIRE(Name, log.Cell(Game::LogText, 1) == text,
            QStringLiteral("%1%2 logged \"%3\"").arg(s1, s2, log.Cell(Game::LogText, 1)));
        const int total = game.PointsTotal();
        FUZZ_REQUIRE(Name, total == Numbers::ParseInteger(points).value_or(0),
            QStringLiteral("total %1 for \"%2\"").arg(total).arg(points));

        // A left click on the selected pair removes it; with nothing left the game ends and
        // deals again.
        game.Pick(first, PickMode::Remove);
        FUZZ_REQUIRE(Name, game.Selection().isEmpty(), QStringLiteral("the pair was not removed"));
        return total;
    }

    // Ranks count rows, and equal points texts share the rank of the row above.
    void RequireRanks(const TextGrid& rank)
    {
        for (int r = 1; r < rank.RowCount(); ++r) {
            const bool tie
                = r >= 2 && rank.Cell(Ranking::ColPoints, r) == rank.Cell(Ranking::ColPoints, r - 1);
            const QString expected = tie ? rank.Cell(Ranking::ColRank, r - 1) : QString::number(r);
            FUZZ_REQUIRE(Name, rank.Cell(Ranking::ColRank, r) == expected, Cell(rank, Ranking::ColRank, r));
        }
    }

    // The ranking window's steps at the end of a game: load, renumber, place the result, enter
    // it under a name, drop what lies beyond the 30th place.
    void PlaceInRanking(const QByteArray& input, int points)
    {
        TextGrid rank(Ranking::Columns, Ranking::EmptyRowCount);
        Ranking::WriteHeader(rank);
        TableFile::Parse(input, rank);
        RequireStorable(rank);
        Ranking::Normalise(rank);
        Ranking::RenumberRanks(rank);
        RequireRanks(rank);

        const int place = Ranking::RankPosition(rank, points);
        FUZZ_REQUIRE(Name, place == Ranking::NotPlaced || (place >= 1 && place <= rank.RowCount()),
            QStringLiteral("place %1 of %2 rows").arg(place).arg(rank.RowCount()));
        const bool empty = Ranking::IsEmpty(rank);
        if (empty || (place >= 1 && place <= Ranking::Places)) {
            const int at = empty ? 1 : place;
            // Every entry above the place is at least as good as the result.
            for (int r = 1; r < at; ++r) {
                const QString cell = rank.Cell(Ranking::ColPoints, r);
                FUZZ_REQUIRE(Name, !cell.isEmpty() || r > 1, Cell(rank, Ranking::ColPoints, r));
                FUZZ_REQUIRE(Name, Numbers::ParseInteger(cell).value_or(0) >= points,
                    Cell(rank, Ranking::ColPoints, r) + QStringLiteral(" above %1").arg(points));
            }
            // The player's name: whatever the file's first bytes make, commas and line breaks
            // included.
            const QString name = Cp932::Decode(input.left(40));
            const int rowsBefore = rank.RowCount();
            Ranking::InsertRankEntry(rank, at, name, points, QDateTime(QDate(2024, 2, 29), QTime(23, 59)));
            FUZZ_REQUIRE(Name, rank.RowCount() == (empty ? rowsBefore : rowsBefore + 1),
                QStringLiteral("%1 rows after an entry into %2").arg(rank.RowCount()).arg(rowsBefore));
            FUZZ_REQUIRE(
                Name, rank.Cell(Ranking::ColName, at) == Ranking::StorableName(name), Cell(rank, 1, at));
            FUZZ_REQUIRE(
                Name, rank.Cell(Ranking::ColPoints, at) == QString::number(points), Cell(rank, 2, at));
            FUZZ_REQUIRE(Name, rank.Cell(Ranking::ColTime, at) == QLatin1String("2024/02/29 23:59"),
                Cell(rank, 3, at));
            RequireRanks(rank);
        }
        Ranking::TrimToPlaces(rank);
        RequireStorable(rank);
        RequireRoundTrip(rank);
    }

} // namespace

void RunTableFile(const QByteArray& input)
{
    const int kind = 1 + int(input.size() % 3);
    TextGrid table(ScoreTables::Columns, ScoreTables::InitialRowCount(kind));
    TableFile::Parse(input, table);
    FUZZ_REQUIRE(Name, table.RowCount() >= 1, QString());
    FUZZ_REQUIRE(Name, table.FixedRows() < table.RowCount(), QString());
    RequireCellsAsTheRuleSays(input, table);
    RequireStorable(table);

    const int total = ScoreThroughGame(table, kind, input);
    RequireRoundTrip(table);

    // The ranking gets both the game's total and the extremes a file can hold.
    int points = total;
    if (input.size() >= 4)
        points = int(quint32(uchar(input.at(input.size() - 1))) << 24
            | quint32(uchar(input.at(input.size() - 2))) << 16
            | quint32(uchar(input.at(input.size() - 3))) << 8 | quint32(uchar(input.at(input.size() - 4))));
    PlaceInRanking(input, points);
}

} // namespace Fuzz
