// SPDX-License-Identifier: MIT
// The application model over a program folder and a settings file: what it reads before any
// window exists, and two copies of the program that each change one score table - neither
// may put its stale copy of a table over the other's edit, and a reload is no edit.

#include "app/AppModel.h"
#include "game/ScoreTables.h"
#include "platform/Registry.h"
#include "store/SettingsStore.h"
#include "store/TableFile.h"

// Qt
#include <QDir>
#include <QTemporaryDir>
// GoogleTest
#include <gtest/gtest.h>

#include "TestFiles.h"

namespace {

class AppModelTest : public ::testing::Test
{
protected:
    AppModelTest()
    {
        folder = dir.path() + QLatin1Char('/');
        Registry::SetUserFileOverride(dir.filePath(QStringLiteral("registry.reg")));
    }
    ~AppModelTest() override { Registry::SetUserFileOverride(QString()); }

    // The three default tables in their files, as a fresh installation has them.
    void WriteDefaultTables()
    {
        for (int kind = 1; kind <= 3; ++kind) {
            TextGrid table(ScoreTables::Columns, ScoreTables::InitialRowCount(kind));
            ScoreTables::FillDefaults(kind, table);
            ASSERT_TRUE(TableFile::Save(table, folder + ScoreTables::FileName(kind)));
        }
    }

    QByteArray File(int kind) const { return ReadAll(folder + ScoreTables::FileName(kind)); }

    QTemporaryDir dir;
    QString folder;
};

TEST_F(AppModelTest, ReadsTablesAndOptionsBeforeAnyWindowWithoutCreatingTheKey)
{
    WriteDefaultTables();
    {
        SettingsStore store = OpenStore(Keys::Root);
        store.WriteFlag(Keys::Set::Solvable, true);
        store.WriteText(Keys::Set::TimeE, QStringLiteral("12"));
    }
    AppModel model(dir.path());
    EXPECT_EQ(model.ProgramFolder(), folder);
    EXPECT_EQ(model.ScoreTable(1)->Cell(3, 1), QStringLiteral("主気"));
    EXPECT_EQ(model.ScoreTable(4), nullptr);
    EXPECT_TRUE(model.Options().solvableDeals);
    EXPECT_EQ(model.Options().warningMinutes, QStringLiteral("12"));
    EXPECT_TRUE(model.Options().soundOn);

    QTemporaryDir empty;
    Registry::SetUserFileOverride(empty.filePath(QStringLiteral("registry.reg")));
    AppModel fresh(empty.path());
    EXPECT_FALSE(Registry::User()->KeyExists(Keys::Root));
    EXPECT_EQ(fresh.Options().warningMinutes, QStringLiteral("30"));
    EXPECT_EQ(fresh.ScoreTable(2)->RowCount(), ScoreTables::InitialRowCount(2));
}

TEST_F(AppModelTest, TwoCopiesEachWriteOnlyTheTableTheyEdited)
{
    WriteDefaultTables();
    const QByteArray stars = File(3);
    AppModel a(folder);
    AppModel b(folder);
    a.ScoreTable(1)->SetCell(2, 1, QStringLiteral("9"));
    b.ScoreTable(2)->SetCell(2, 1, QStringLiteral("8"));
    EXPECT_TRUE(a.WriteScoreTables().isEmpty());
    EXPECT_TRUE(b.WriteScoreTables().isEmpty());

    AppModel c(folder);
    EXPECT_EQ(c.ScoreTable(1)->Cell(2, 1), QStringLiteral("9"));
    EXPECT_EQ(c.ScoreTable(2)->Cell(2, 1), QStringLiteral("8"));
    EXPECT_EQ(File(3), stars);
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("SG3sav"))) << "an unedited table is not even backed up";

    // A reload (the options dialog's キャンセル) is no edit: a's stale copy of the stems
    // stays out of the file b writes next.
    a.ScoreTable(1)->SetCell(2, 2, QStringLiteral("7"));
    a.ReadScoreTables();
    b.ScoreTable(1)->SetCell(2, 3, QStringLiteral("6"));
    EXPECT_TRUE(b.WriteScoreTables().isEmpty());
    EXPECT_TRUE(a.WriteScoreTables().isEmpty());
    AppModel d(folder);
    EXPECT_EQ(d.ScoreTable(1)->Cell(2, 2), QStringLiteral("3"));
    EXPECT_EQ(d.ScoreTable(1)->Cell(2, 3), QStringLiteral("6"));
}

TEST_F(AppModelTest, ATableWithoutAFileIsWrittenAndAFailedWriteIsTriedAgain)
{
    ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("SG2.dat")));
    AppModel model(folder);
    QStringList lost = model.WriteScoreTables();
    ASSERT_EQ(lost.size(), 1);
    EXPECT_TRUE(lost.at(0).startsWith(folder + QStringLiteral("SG2.dat（"))) << lost.at(0).toStdString();
    EXPECT_EQ(File(1).count("\r\n"), ScoreTables::InitialRowCount(1));
    EXPECT_EQ(File(3).count("\r\n"), ScoreTables::InitialRowCount(3));
    // Written once, the others are in step with their files; the one that failed is not.
    lost = model.WriteScoreTables();
    ASSERT_EQ(lost.size(), 1);
    EXPECT_TRUE(lost.at(0).contains(QStringLiteral("SG2.dat")));
}

} // namespace
