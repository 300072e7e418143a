// SPDX-License-Identifier: MIT
// Two copies of the program saving one ranking: each copy enters its result into the
// ranking it loaded, and each save merges that entry into what the file holds by then. An
// oracle over many seeds: the file must hold every entry that placed, of both copies and of
// the file before, ordered by points with the earlier entry above an equal one, cut to 30.

#include "app/RankingFile.h"
#include "game/Ranking.h"
#include "store/TableFile.h"

// Qt
#include <QFile>
#include <QTemporaryDir>
// GoogleTest
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

struct Result
{
    QString name;
    int points;
};

QList<Result> Entries(const TextGrid& grid)
{
    QList<Result> out;
    if (Ranking::IsEmpty(grid))
        return out;
    for (int r = 1; r < grid.RowCount(); ++r)
        out.append({ grid.Cell(Ranking::ColName, r), grid.Cell(Ranking::ColPoints, r).toInt() });
    return out;
}

// A result offered to a copy's ranking as the ranking window offers it.
void Offer(RankingFile& copy, const Result& result)
{
    const int place = Ranking::IsEmpty(copy.Grid()) ? 1 : Ranking::RankPosition(copy.Grid(), result.points);
    if (place > Ranking::Places)
        return;
    copy.Enter(place, result.name, result.points, QDateTime(QDate(2024, 5, 6), QTime(7, 8)));
    copy.TrimToPlaces();
}

TEST(RankingFileTest, TwoCopiesSavingOneRankingLoseNoEntry)
{
    for (quint32 seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        std::mt19937 rng(seed);
        auto points = [&] { return int(rng() % 40) - 10; };
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Rank.dat"));

        // The file both copies start from: missing, or 0 to 30 results.
        QList<Result> before;
        if (rng() % 4 != 0) {
            TextGrid grid(Ranking::Columns, Ranking::EmptyRowCount);
            Ranking::WriteHeader(grid);
            for (int n = int(rng() % 31), i = 0; i < n; ++i) {
                const Result r { QStringLiteral("old%1").arg(i), points() };
                Ranking::InsertRankEntry(grid, Ranking::IsEmpty(grid) ? 1 : Ranking::RankPosition(grid, r.points),
                    r.name, r.points, QDateTime(QDate(2020, 1, 1), QTime(0, 0)));
            }
            before = Entries(grid);
            ASSERT_TRUE(TableFile::Save(grid, path));
        }

        RankingFile a(path);
        RankingFile b(path);
        a.Load();
        b.Load();
        const Result ra { QStringLiteral("A"), points() };
        const Result rb { QStringLiteral("B"), points() };
        Offer(a, ra);
        Offer(b, rb);
        const bool aPlaced = a.HasNewEntry();
        const bool bPlaced = b.HasNewEntry();

        // Either copy may close its ranking first.
        const bool aFirst = rng() % 2 == 0;
        RankingFile& first = aFirst ? a : b;
        RankingFile& second = aFirst ? b : a;
        ASSERT_TRUE(first.Save());
        ASSERT_TRUE(second.Save());

        QList<Result> expected = before;
        for (const auto& [placed, result] : { std::pair { aFirst ? aPlaced : bPlaced, aFirst ? ra : rb },
                 std::pair { aFirst ? bPlaced : aPlaced, aFirst ? rb : ra } })
            if (placed)
                expected.append(result);
        std::stable_sort(expected.begin(), expected.end(),
            [](const Result& x, const Result& y) { return x.points > y.points; });
        if (expected.size() > Ranking::Places)
            expected.resize(Ranking::Places);

        TextGrid saved(Ranking::Columns, 1);
        ASSERT_EQ(TableFile::Load(saved, path), TableFile::LoadResult::Loaded);
        const QList<Result> got = Entries(saved);
        ASSERT_EQ(got.size(), expected.size());
        for (qsizetype i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got.at(i).name, expected.at(i).name) << "row " << i + 1;
            EXPECT_EQ(got.at(i).points, expected.at(i).points) << "row " << i + 1;
        }
        // The second copy shows what it saved, and each copy's entry row names its entry,
        // unless the other's results pushed it out.
        EXPECT_EQ(Entries(second.Grid()).size(), got.size());
        for (const auto& [copy, result] : { std::pair { &a, ra }, std::pair { &b, rb } }) {
            if (!copy->EntryRow())
                continue;
            if (copy->EntryRow() == Ranking::NotPlaced)
                EXPECT_TRUE(std::none_of(got.begin(), got.end(), [&](const Result& r) { return r.name == result.name; }));
            else
                EXPECT_EQ(copy->Grid().Cell(Ranking::ColName, copy->EntryRow()), result.name);
        }
    }
}

// With one copy, a save writes what the ranking window held: the merge reads back the file
// it loaded and places the entry where it was entered.
TEST(RankingFileTest, OneCopyWritesTheGridItHeldAndAClearLeavesTheEmptyRanking)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Rank.dat"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Rank,Name,Point,Time,\r\n9,a,50,t,\r\n9,b,40,t,\r\n");
    file.close();

    RankingFile ranking(path);
    ranking.Load();
    Ranking::RenumberRanks(ranking.Grid());
    Offer(ranking, { QStringLiteral("c"), 40 });
    const QByteArray held = TableFile::Format(ranking.Grid());
    ASSERT_TRUE(ranking.Save());
    EXPECT_EQ(TableFile::Format(ranking.Grid()), held);
    EXPECT_EQ(ranking.EntryRow(), 3);
    EXPECT_FALSE(ranking.HasNewEntry());

    ranking.Clear();
    EXPECT_FALSE(QFile::exists(path));
    ASSERT_TRUE(ranking.Save());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("Rank,Name,Point,Time,\r\n,,,,\r\n"));
}

} // namespace
