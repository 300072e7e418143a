// SPDX-License-Identifier: MIT
// The ranking's order: where a result places, ties, the 30-place cut, damaged points
// cells and damaged files. (The bytes of "Rank.dat" are checked through the ranking window.)

#include "game/Ranking.h"

// GoogleTest
#include <gtest/gtest.h>

namespace {

const QDateTime When(QDate(2024, 3, 7), QTime(9, 5, 59));

// A ranking as the window holds it after its creation: header and one empty row.
struct EmptyRanking : TextGrid
{
    EmptyRanking()
        : TextGrid(Ranking::Columns, Ranking::EmptyRowCount)
    {
        Ranking::WriteHeader(*this);
    }
};

// A ranking holding the given points, best first, named "p1", "p2"...
void Fill(TextGrid& grid, const QList<int>& points)
{
    grid.SetRowCount(1 + int(points.size()));
    for (int i = 0; i < points.size(); ++i) {
        grid.SetCell(Ranking::ColName, i + 1, QStringLiteral("p%1").arg(i + 1));
        grid.SetCell(Ranking::ColPoints, i + 1, QString::number(points.at(i)));
        grid.SetCell(Ranking::ColTime, i + 1, QStringLiteral("2020/01/01 00:00"));
    }
    Ranking::RenumberRanks(grid);
}

QList<int> Descending(int count, int from)
{
    QList<int> out;
    for (int i = 0; i < count; ++i)
        out.append(from - i);
    return out;
}

QStringList Column(const TextGrid& grid, int col)
{
    QStringList out;
    for (int r = 1; r < grid.RowCount(); ++r)
        out.append(grid.Cell(col, r));
    return out;
}

TEST(RankingTest, NegativeResultHeadsTheEmptyRanking)
{
    EmptyRanking grid;
    ASSERT_TRUE(Ranking::IsEmpty(grid));
    const int place = Ranking::RankPosition(grid, -12);
    EXPECT_EQ(place, 1);
    Ranking::InsertRankEntry(grid, place, QStringLiteral("山田"), -12, When);
    EXPECT_EQ(grid.RowCount(), 2); // written over the empty row, not below it
    EXPECT_EQ(Column(grid, Ranking::ColRank), QStringList({ "1" }));
    EXPECT_EQ(Column(grid, Ranking::ColName), QStringList({ "山田" }));
    EXPECT_EQ(Column(grid, Ranking::ColPoints), QStringList({ "-12" }));
    EXPECT_EQ(Column(grid, Ranking::ColTime), QStringList({ "2024/03/07 09:05" }));
}

TEST(RankingTest, TwentyNineBetterEntriesLeaveThe30thPlace)
{
    EmptyRanking grid;
    Fill(grid, Descending(29, 100));
    EXPECT_EQ(Ranking::RankPosition(grid, 0), 30);
    Ranking::InsertRankEntry(grid, 30, QStringLiteral("last"), 0, When);
    EXPECT_EQ(grid.RowCount(), 31);
    EXPECT_EQ(grid.Cell(Ranking::ColName, 30), QStringLiteral("last"));
    EXPECT_EQ(grid.Cell(Ranking::ColRank, 30), QStringLiteral("30"));
}

TEST(RankingTest, FullRankingOfBetterOrEqualResultsRefusesTheResult)
{
    EmptyRanking grid;
    QList<int> points = Descending(29, 100);
    points.append(5);
    Fill(grid, points);
    EXPECT_EQ(Ranking::RankPosition(grid, 5), Ranking::NotPlaced); // equal goes below: no room
    EXPECT_EQ(Ranking::RankPosition(grid, 4), Ranking::NotPlaced);
    EXPECT_EQ(Ranking::RankPosition(grid, 6), 30);
}

TEST(RankingTest, BeatingOnlyThe30thDropsItAfterTheCut)
{
    EmptyRanking grid;
    Fill(grid, Descending(30, 100)); // the 30th has 71
    ASSERT_EQ(Ranking::RankPosition(grid, 72), 30);
    Ranking::InsertRankEntry(grid, 30, QStringLiteral("new"), 72, When);
    EXPECT_EQ(grid.RowCount(), 32);
    EXPECT_EQ(grid.Cell(Ranking::ColName, 31), QStringLiteral("p30"));
    Ranking::TrimToPlaces(grid);
    EXPECT_EQ(grid.RowCount(), 31);
    EXPECT_EQ(grid.Cell(Ranking::ColName, 30), QStringLiteral("new"));
    EXPECT_EQ(grid.Cell(Ranking::ColName, 29), QStringLiteral("p29"));
}

TEST(RankingTest, EqualPointsShareARankAndANewTieGoesBelow)
{
    EmptyRanking grid;
    Fill(grid, { 50, 40, 40, 30 });
    EXPECT_EQ(Column(grid, Ranking::ColRank), QStringList({ "1", "2", "2", "4" }));
    const int place = Ranking::RankPosition(grid, 40);
    EXPECT_EQ(place, 4);
    Ranking::InsertRankEntry(grid, place, QStringLiteral("tie"), 40, When);
    EXPECT_EQ(Column(grid, Ranking::ColName), QStringList({ "p1", "p2", "p3", "tie", "p4" }));
    EXPECT_EQ(Column(grid, Ranking::ColRank), QStringList({ "1", "2", "2", "2", "5" }));
}

TEST(RankingTest, ResultsAtTheTopAndAtTheEnd)
{
    EmptyRanking grid;
    Fill(grid, { 10, 5 });
    EXPECT_EQ(Ranking::RankPosition(grid, 11), 1);
    EXPECT_EQ(Ranking::RankPosition(grid, 5), 3); // a new last row
    Ranking::InsertRankEntry(grid, 1, QStringLiteral("top"), 11, When);
    EXPECT_EQ(Column(grid, Ranking::ColName), QStringList({ "top", "p1", "p2" }));
    EXPECT_EQ(Column(grid, Ranking::ColRank), QStringList({ "1", "2", "3" }));
}

TEST(RankingTest, DamagedPointsCountAsZero)
{
    // What a name with a comma used to leave behind: the name's tail in the points field.
    EmptyRanking grid;
    Fill(grid, { 0, -20 });
    grid.SetCell(Ranking::ColPoints, 1, QStringLiteral("b"));
    EXPECT_EQ(Ranking::RankPosition(grid, 1), 1);
    EXPECT_EQ(Ranking::RankPosition(grid, -1), 2);
    EXPECT_EQ(Ranking::RankPosition(grid, -30), 3);

    // An empty points cell below the first entry is damage too, not "place 1".
    Fill(grid, { 50, 40, 30 });
    grid.SetCell(Ranking::ColPoints, 2, QString());
    EXPECT_EQ(Ranking::RankPosition(grid, 45), 2);
    EXPECT_EQ(Ranking::RankPosition(grid, -5), 4);
}

TEST(RankingTest, EntryWithAnEmptyNameIsStillAnEntry)
{
    EmptyRanking grid;
    Ranking::InsertRankEntry(grid, 1, QString(), 20, When);
    EXPECT_FALSE(Ranking::IsEmpty(grid));
    const int place = Ranking::RankPosition(grid, 10);
    EXPECT_EQ(place, 2);
    Ranking::InsertRankEntry(grid, place, QStringLiteral("b"), 10, When);
    EXPECT_EQ(Column(grid, Ranking::ColPoints), QStringList({ "20", "10" }));
    EXPECT_EQ(Column(grid, Ranking::ColName), QStringList({ "", "b" }));
}

TEST(RankingTest, NamesAreKeptStorable)
{
    EmptyRanking grid;
    Ranking::InsertRankEntry(grid, 1, QStringLiteral("a,b\r\nc"), 3, When);
    EXPECT_EQ(grid.Cell(Ranking::ColName, 1), QStringLiteral("a，bc"));
    EXPECT_TRUE(TextGrid::IsStorableText(grid.Cell(Ranking::ColName, 1)));
}

TEST(RankingTest, OneLineFileIsMadeWholeAgainBeforeAnEntry)
{
    // An empty or header-only file leaves a single, non-fixed row; the entry must not be
    // lost into a row that does not exist.
    TextGrid grid(Ranking::Columns, 1);
    grid.SetFixedRows(0);
    Ranking::Normalise(grid);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.Cell(Ranking::ColTime, 0), QStringLiteral("Time"));
    Ranking::InsertRankEntry(grid, Ranking::RankPosition(grid, 7), QStringLiteral("x"), 7, When);
    EXPECT_EQ(grid.Cell(Ranking::ColPoints, 1), QStringLiteral("7"));

    TextGrid headerOnly(Ranking::Columns, 1);
    Ranking::WriteHeader(headerOnly);
    Ranking::InsertRankEntry(headerOnly, 1, QStringLiteral("y"), 1, When);
    EXPECT_EQ(headerOnly.RowCount(), 2);
    EXPECT_EQ(headerOnly.Cell(Ranking::ColName, 1), QStringLiteral("y"));
}

TEST(RankingTest, TimeIsZeroPaddedAnd24Hour)
{
    EXPECT_EQ(
        Ranking::FormatTime(QDateTime(QDate(987, 1, 2), QTime(23, 4))), QStringLiteral("0987/01/02 23:04"));
}

} // namespace
