// SPDX-License-Identifier: MIT
// The table file: bytes on disk, the line and field rules, the backup rule, and what a
// damaged or missing file does.

#include "game/ScoreTables.h"
#include "store/TableFile.h"
#include "game/TextGrid.h"
#include "platform/Cp932.h"

// Qt
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

// GoogleTest
#include <gtest/gtest.h>

#include "TestFiles.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

TEST(TableFileTest, DefaultStemTableLinesAreShiftJisBytes)
{
    TextGrid table(ScoreTables::Columns, ScoreTables::InitialRowCount(1));
    ScoreTables::FillDefaults(1, table);
    const QList<QByteArray> lines = TableFile::Format(table).split('\n');
    ASSERT_EQ(lines.size(), 102); // 101 lines, each ended by CR LF
    EXPECT_EQ(lines[0], QByteArray(",,,,\r"));
    // "甲,甲,3,主気,"
    EXPECT_EQ(lines[1], QByteArray("\x8D\x62,\x8D\x62,3,\x8E\xE5\x8B\x43,\r"));
    // "甲,丙,0,洩気,"
    EXPECT_EQ(lines[3], QByteArray("\x8D\x62,\x95\xB8,0,\x89\x6B\x8B\x43,\r"));
    EXPECT_EQ(lines[101], QByteArray());
}

TEST(TableFileTest, DefaultTablesScoreByRelation)
{
    auto row = [](int kind, int r) {
        TextGrid t(ScoreTables::Columns, ScoreTables::InitialRowCount(kind));
        ScoreTables::FillDefaults(kind, t);
        return QStringList { t.Cell(0, r), t.Cell(1, r), t.Cell(2, r), t.Cell(3, r) }.join(',') + ',';
    };
    EXPECT_EQ(row(1, 2), QStringLiteral("甲,乙,3,主気,"));
    EXPECT_EQ(row(1, 9), QStringLiteral("甲,壬,5,生気,"));
    EXPECT_EQ(row(1, 7), QStringLiteral("甲,庚,-5,剋気,"));
    EXPECT_EQ(row(2, 2), QStringLiteral("子,丑,-5,剋気,"));
    EXPECT_EQ(row(3, 1), QStringLiteral("一,一,3,比和,"));
    EXPECT_EQ(row(3, 10), QStringLiteral("二,一,-3,死気,"));
}

TEST(TableFileTest, LinesSplitAtEveryLineBreakAndFieldsAtCommas)
{
    TextGrid grid(4, 101);
    // CR LF, a lone CR, a lone LF; a line without its last comma; a line with too many
    // fields; text after a NUL is not read.
    TableFile::Parse(QByteArray("a,b,c,d,\r\n\x8D\x62,\x89\xB3,5\rx,y,z,w,v,\ne,f,\n")
                         + QByteArray("\0g,h,i,j,\r\n", 11),
                     grid);
    ASSERT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(grid.Cell(3, 0), QStringLiteral("d"));
    EXPECT_EQ(grid.Cell(0, 1), QStringLiteral("甲"));
    EXPECT_EQ(grid.Cell(1, 1), QStringLiteral("乙"));
    EXPECT_EQ(grid.Cell(2, 1), QString()); // "5" had no comma after it
    EXPECT_EQ(grid.Cell(3, 1), QString());
    EXPECT_EQ(grid.Cell(3, 2), QStringLiteral("w"));
    EXPECT_EQ(grid.Cell(1, 3), QStringLiteral("f"));
    EXPECT_EQ(grid.Cell(2, 3), QString());
}

TEST(TableFileTest, InvalidShiftJisShowsAsReplacementCharactersAndIsWrittenBack)
{
    TextGrid grid(4, 1);
    const QByteArray line("\x8D,\xFF\xFF,\x82\xA0,\x8D\x62\x8D,\r\n");
    TableFile::Parse(line, grid);
    auto shown = [&](int c) { return Cp932::ForDisplay(grid.Cell(c, 0)); };
    EXPECT_EQ(shown(0), QString(QChar(0xFFFD)));   // a lead byte cut off by the comma
    EXPECT_EQ(shown(1), QString(2, QChar(0xFFFD)));
    EXPECT_EQ(shown(2), QStringLiteral("あ"));
    EXPECT_EQ(shown(3), QStringLiteral("甲") + QChar(0xFFFD));
    EXPECT_EQ(TableFile::Format(grid), line);
}

TEST(TableFileTest, EmptyFileLeavesOneUnfixedRow)
{
    TextGrid grid(4, 101);
    grid.SetCell(0, 5, QStringLiteral("甲"));
    TableFile::Parse(QByteArray(), grid);
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.FixedRows(), 0);
    TableFile::Parse(QByteArray("x,\r\n"), grid);
    EXPECT_EQ(grid.RowCount(), 1);
}

class TableFileOnDiskTest : public ::testing::Test
{
protected:
    QString Path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    QTemporaryDir dir;
};

TEST_F(TableFileOnDiskTest, SaveAndLoadReproduceEveryCell)
{
    TextGrid table(ScoreTables::Columns, ScoreTables::InitialRowCount(3));
    ScoreTables::FillDefaults(3, table);
    table.SetCell(3, 4, QStringLiteral("全角　スペース"));
    table.SetCell(0, 0, QStringLiteral("head"));
    ASSERT_TRUE(TableFile::Save(table, Path("SG3.dat")));
    TextGrid loaded(ScoreTables::Columns, 1);
    EXPECT_EQ(TableFile::Load(loaded, Path("SG3.dat")), TableFile::LoadResult::Loaded);
    ASSERT_EQ(loaded.RowCount(), table.RowCount());
    for (int r = 0; r < table.RowCount(); ++r)
        for (int c = 0; c < ScoreTables::Columns; ++c)
            EXPECT_EQ(loaded.Cell(c, r), table.Cell(c, r)) << c << "," << r;
}

TEST_F(TableFileOnDiskTest, BackupKeepsTheOldestContents)
{
    EXPECT_EQ(TableFile::BackupPath("/p/SG2.dat"), QStringLiteral("/p/SG2sav"));
    EXPECT_EQ(TableFile::BackupPath("/p.d/Rank.dat"), QStringLiteral("/p.d/Ranksav"));
    EXPECT_EQ(TableFile::BackupPath("/p.d/Rank"), QStringLiteral("/p.d/Ranksav"));

    WriteAll(Path("SG2.dat"), "old,\r\n");
    TextGrid grid(4, 1);
    grid.SetCell(0, 0, QStringLiteral("new"));
    ASSERT_TRUE(TableFile::Save(grid, Path("SG2.dat")));
    EXPECT_EQ(ReadAll(Path("SG2sav")), QByteArray("old,\r\n"));
    EXPECT_EQ(ReadAll(Path("SG2.dat")), QByteArray("new,,,,\r\n"));
    grid.SetCell(0, 0, QStringLiteral("newer"));
    ASSERT_TRUE(TableFile::Save(grid, Path("SG2.dat")));
    EXPECT_EQ(ReadAll(Path("SG2sav")), QByteArray("old,\r\n"));
    EXPECT_EQ(ReadAll(Path("SG2.dat")), QByteArray("newer,,,,\r\n"));
}

TEST_F(TableFileOnDiskTest, MissingFileLeavesTheGridAlone)
{
    TextGrid grid(4, 101);
    grid.SetCell(2, 7, QStringLiteral("5"));
    EXPECT_EQ(TableFile::Load(grid, Path("SG1.dat")), TableFile::LoadResult::Missing);
    EXPECT_EQ(grid.RowCount(), 101);
    EXPECT_EQ(grid.Cell(2, 7), QStringLiteral("5"));
}

TEST_F(TableFileOnDiskTest, AFolderInPlaceOfTheFileIsNeitherReadNorReplaced)
{
    ASSERT_TRUE(QDir().mkpath(Path("SG1.dat")));
    TextGrid grid(4, 101);
    EXPECT_EQ(TableFile::Load(grid, Path("SG1.dat")), TableFile::LoadResult::Unreadable);
    EXPECT_EQ(grid.RowCount(), 101);
    FileError error;
    EXPECT_FALSE(TableFile::Save(grid, Path("SG1.dat"), &error));
    EXPECT_EQ(error.kind, FileError::Kind::FolderInTheWay);
    EXPECT_TRUE(QFileInfo(Path("SG1.dat")).isDir());
    EXPECT_FALSE(QFileInfo::exists(Path("SG1sav")));
}

TEST_F(TableFileOnDiskTest, AFailedSaveKeepsTheOldFileInPlace)
{
#ifdef _WIN32
    GTEST_SKIP() << "a folder's read-only flag does not keep files out on Windows";
#else
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions";
    WriteAll(Path("SG1.dat"), "old,\r\n");
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    TextGrid grid(4, 1);
    EXPECT_FALSE(TableFile::Save(grid, Path("SG1.dat")));
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(ReadAll(Path("SG1.dat")), QByteArray("old,\r\n"));
#endif
}

} // namespace
