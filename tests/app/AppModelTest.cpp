// SPDX-License-Identifier: MIT
// The application model over a program folder and a settings file: what it reads before any
// window exists, and two copies of the program that each change one score table - neither
// may put its stale copy of a table over the other's edit, and a reload is no edit; every
// setting goes through the model.

#include "app/AppModel.h"
#include "game/ScoreTables.h"
#include "platform/Registry.h"
#include "store/Keys.h"
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

// A value of the setting that is not its default, in its stored form; salt gives another.
QString NonDefault(const Keys::Setting& key, int salt)
{
    switch (key.type) {
    case Keys::Type::Flag:
        return salt % 2 ? key.DefaultText() : QString::number(1 - key.number);
    case Keys::Type::Number:
        return QString::number(key.number + 3 + salt);
    case Keys::Type::Text:
        break;
    }
    return key.DefaultText() + QString::number(7 + salt);
}

constexpr Keys::Owner Owners[] = { Keys::Owner::MainWindow, Keys::Owner::Options };

// Every setting of Keys.h goes through the model: read by its owner's read, left alone by a
// write when the model did not change it (another copy's change survives), and written
// back by its owner's write when the store has lost it.
TEST_F(AppModelTest, EverySettingIsReadAndWrittenByItsOwner)
{
    {
        SettingsStore store = OpenStore(Keys::Root);
        for (const Keys::Setting& key : Keys::All)
            ASSERT_TRUE(store.Write(key, NonDefault(key, 0)));
    }
    AppModel model(folder);
    EXPECT_EQ(model.ReadSettings(Keys::Owner::MainWindow, RegOpen::Existing), QString());
    EXPECT_EQ(model.Deal().symbolSets, Keys::Sys::CG1.defaultValue + 3);

    {
        SettingsStore other = OpenStore(Keys::Root);
        for (const Keys::Setting& key : Keys::All)
            ASSERT_TRUE(other.Write(key, NonDefault(key, 1)));
    }
    for (Keys::Owner owner : Owners)
        EXPECT_EQ(model.WriteSettings(owner), QString());
    for (const Keys::Setting& key : Keys::All)
        EXPECT_EQ(OpenStore(Keys::Root).Read(key), NonDefault(key, 1)) << key.ident.data() << " overwritten";

    ASSERT_TRUE(Registry::User()->DeleteKey(Keys::Root).Ok());
    for (Keys::Owner owner : Owners) {
        EXPECT_EQ(model.WriteSettings(owner), QString());
        SettingsStore store = OpenStore(Keys::Root, RegOpen::Existing);
        for (const Keys::Setting& key : Keys::All) {
            const RegValueResult stored
                = Registry::User()->ReadValue(Keys::Root + QLatin1Char('\\') + key.section, key.ident);
            // Only the owner's own settings, each as the model read it.
            EXPECT_EQ(stored.Ok(), key.owner <= owner) << key.ident.data();
            if (key.owner == owner) {
                EXPECT_EQ(store.Read(key), NonDefault(key, 0))
                    << key.ident.data() << " not read or not written";
            }
        }
    }
}

} // namespace
