// SPDX-License-Identifier: MIT
// Where the score tables and the ranking live: beside a copy run from a folder it can write,
// in the player's own folder for an installed copy (a fake installation prefix) and for a
// copy whose folder cannot be written (a real read-only folder), seeded there without ever
// overwriting the player's files; a player's folder that cannot be made or written, which
// costs no table but the saving; and the notices for tables found nowhere and for a folder
// that takes no save.

#include "store/DataFolder.h"

// Qt
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

// GoogleTest
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "Unprivileged.h"

namespace {

const QByteArray Stems("\x8D\x62,\x8D\x62,3,\x8E\xE5\x8B\x43,\r\n");
const QByteArray Branches("\x8E\x71,\x89\x4E,-5,\r\n");
const QByteArray Stars("\x88\xEA,\x88\xEA,3,\r\n");

class DataFolderTest : public ::testing::Test
{
protected:
    QString Make(const QString& relative)
    {
        const QString path = m_dir.filePath(relative);
        EXPECT_TRUE(QDir().mkpath(path)) << path.toStdString();
        return path;
    }

    static void PutTables(const QString& folder, bool withStars = true)
    {
        WriteAll(folder + QStringLiteral("/SG1.dat"), Stems);
        WriteAll(folder + QStringLiteral("/SG2.dat"), Branches);
        if (withStars)
            WriteAll(folder + QStringLiteral("/SG3.dat"), Stars);
    }

    static QString Slashed(const QString& folder) { return QDir::toNativeSeparators(folder) + QDir::separator(); }

    QTemporaryDir m_tmp;
    QDir m_dir { m_tmp.path() };
};

TEST_F(DataFolderTest, AWritableCopyThatIsNotInstalledKeepsItsFilesBesideTheExecutable)
{
    const QString program = Make(QStringLiteral("portable"));
    const QString user = m_dir.filePath(QStringLiteral("user"));
    const DataFolder::Places places { program, m_dir.filePath(QStringLiteral("share/orbilo")), user };

    PutTables(program);
    DataFolder::Choice choice = DataFolder::Decide(places);
    EXPECT_EQ(choice.folder, Slashed(program));
    EXPECT_FALSE(choice.perUser);
    EXPECT_TRUE(choice.missingTables.isEmpty());
    EXPECT_TRUE(DataFolder::MissingTablesMessage(choice).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(user)) << "nothing is made in the player's folder";
    EXPECT_EQ(QDir(program).entryList(QDir::Files | QDir::Hidden).size(), 3) << "the write test leaves nothing";

    // A table missing there is missing: it is named, with its folder, in one notice.
    QFile::remove(program + QStringLiteral("/SG2.dat"));
    choice = DataFolder::Decide(places);
    EXPECT_EQ(choice.missingTables, QStringList { QStringLiteral("SG2.dat") });
    const QString notice = DataFolder::MissingTablesMessage(choice);
    EXPECT_TRUE(notice.contains(Slashed(program) + QStringLiteral("SG2.dat"))) << notice.toStdString();
    EXPECT_FALSE(notice.contains(QStringLiteral("SG1.dat")));
}

TEST_F(DataFolderTest, AnInstalledCopyUsesThePlayersFolderSeededFromTheDefaultsWithoutOverwriting)
{
    // <prefix>/bin is writable here (an administrator, or a prefix in the home folder): the
    // installed defaults beside it decide.
    const QString program = Make(QStringLiteral("prefix/bin"));
    const QString defaults = Make(QStringLiteral("prefix/share/orbilo"));
    const QString user = m_dir.filePath(QStringLiteral("home/.local/share/Orbilo"));
    PutTables(defaults, false);
    Make(QStringLiteral("home/.local/share/Orbilo"));
    const QByteArray edited("\x8D\x62,\x8D\x62,99,edited,\r\n");
    WriteAll(user + QStringLiteral("/SG1.dat"), edited);

    const DataFolder::Choice choice = DataFolder::Decide({ program, defaults, user });
    EXPECT_TRUE(choice.perUser);
    EXPECT_EQ(choice.folder, Slashed(user));
    EXPECT_EQ(ReadAll(user + QStringLiteral("/SG1.dat")), edited) << "the player's table is kept";
    EXPECT_EQ(ReadAll(user + QStringLiteral("/SG2.dat")), Branches) << "a missing table is seeded";
    EXPECT_TRUE(QFileInfo(user + QStringLiteral("/SG2.dat")).permission(QFile::WriteOwner));
    EXPECT_FALSE(QFileInfo::exists(user + QStringLiteral("/Rank.dat"))) << "no ranking is installed to seed";
    EXPECT_EQ(choice.missingTables, QStringList { QStringLiteral("SG3.dat") });
    EXPECT_TRUE(DataFolder::MissingTablesMessage(choice).contains(Slashed(user) + QStringLiteral("SG3.dat")));
    EXPECT_TRUE(QDir(program).isEmpty()) << "nothing is written among the executables";
    EXPECT_TRUE(choice.unwritable.Ok());
    EXPECT_TRUE(DataFolder::UnwritableMessage(choice).isEmpty());

    // A later start with newer defaults leaves the seeded copy alone too.
    WriteAll(defaults + QStringLiteral("/SG2.dat"), Stars);
    DataFolder::Decide({ program, defaults, user });
    EXPECT_EQ(ReadAll(user + QStringLiteral("/SG2.dat")), Branches);
}

TEST_F(DataFolderTest, ACopyInAFolderItCannotWriteUsesThePlayersFolderSeededFromItsOwnFiles)
{
    const QString program = Make(QStringLiteral("readonly"));
    const QString home = Make(QStringLiteral("home"));
    const QString user = home + QStringLiteral("/.local/share/Orbilo");
    PutTables(program);
    WriteAll(program + QStringLiteral("/Rank.dat"), "Rank,Name,Point,Time,\r\n1,a,5,2024/05/01 21:30,\r\n");
    // Readable by all, writable by nobody but the player's home.
    ASSERT_TRUE(QFile::setPermissions(m_tmp.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                         | QFile::ReadOther | QFile::ExeOther));
    ASSERT_TRUE(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    ASSERT_TRUE(QFile::setPermissions(home, QFile::ReadOther | QFile::WriteOther | QFile::ExeOther | QFile::ReadOwner
                                                 | QFile::WriteOwner | QFile::ExeOwner));

    bool writable = true;
    DataFolder::Choice choice;
    const bool ran = WithoutRootsPermissions([&] {
        writable = DataFolder::CanWrite(program);
        choice = DataFolder::Decide({ program, m_dir.filePath(QStringLiteral("share/orbilo")), user });
    });
    if (!ran)
        GTEST_SKIP() << "running as root, and the file-system identity could not be changed to test a read-only folder";

    EXPECT_FALSE(writable);
    EXPECT_TRUE(choice.perUser);
    EXPECT_EQ(choice.folder, Slashed(user));
    EXPECT_TRUE(choice.missingTables.isEmpty());
    EXPECT_EQ(ReadAll(user + QStringLiteral("/SG1.dat")), Stems);
    EXPECT_EQ(ReadAll(user + QStringLiteral("/SG3.dat")), Stars);
    EXPECT_EQ(ReadAll(user + QStringLiteral("/Rank.dat")), ReadAll(program + QStringLiteral("/Rank.dat")));
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A player's folder that cannot be made: every table and the ranking is read where it would
// have been copied from, none counts as missing, and the one notice names the folder and
// why nothing is saved there. Installed, with the home folder's path running through a
// regular file (so whoever runs); and a read-only copy whose player may not write the home
// folder (as an unprivileged user).
TEST_F(DataFolderTest, APlayersFolderThatCannotBeMadeReadsTheSeedAndSavesNothing)
{
    const QString program = Make(QStringLiteral("prefix/bin"));
    const QString defaults = Make(QStringLiteral("prefix/share/orbilo"));
    PutTables(defaults);
    WriteAll(m_dir.filePath(QStringLiteral("home")), "a file where the home folder should be");
    const QString user = m_dir.filePath(QStringLiteral("home/.local/share/Orbilo"));

    auto expectSeedRead = [&](const DataFolder::Choice& choice, const QString& seed, FileError::Kind why) {
        EXPECT_TRUE(choice.perUser);
        EXPECT_EQ(choice.unwritable.kind, why);
        EXPECT_TRUE(choice.missingTables.isEmpty()) << choice.missingTables.join(' ').toStdString();
        EXPECT_TRUE(DataFolder::MissingTablesMessage(choice).isEmpty());
        EXPECT_EQ(ReadAll(choice.ReadPath(QStringLiteral("SG1.dat"))), Stems);
        EXPECT_EQ(ReadAll(choice.ReadPath(QStringLiteral("SG3.dat"))), Stars);
        EXPECT_EQ(choice.ReadPath(QStringLiteral("SG2.dat")), Slashed(seed) + QStringLiteral("SG2.dat"));
        const QString notice = DataFolder::UnwritableMessage(choice);
        EXPECT_TRUE(notice.contains(choice.folder)) << notice.toStdString();
        EXPECT_TRUE(notice.contains(choice.unwritable.Reason())) << notice.toStdString();
    };
    expectSeedRead(DataFolder::Decide({ program, defaults, user }), defaults, FileError::Kind::NoFolder);

    const QString readonly = Make(QStringLiteral("readonly"));
    const QString home = Make(QStringLiteral("home2"));
    PutTables(readonly);
    WriteAll(readonly + QStringLiteral("/Rank.dat"), "Rank,Name,Point,Time,\r\n1,a,5,2024/05/01 21:30,\r\n");
    const auto readable = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(m_tmp.path(), readable | QFile::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(readonly, readable));
    ASSERT_TRUE(QFile::setPermissions(home, readable));
    DataFolder::Choice choice;
    const bool ran = WithoutRootsPermissions([&] {
        choice = DataFolder::Decide(
            { readonly, m_dir.filePath(QStringLiteral("share/orbilo")), home + QStringLiteral("/.local/share/Orbilo") });
    });
    QFile::setPermissions(readonly, readable | QFile::WriteOwner);
    QFile::setPermissions(home, readable | QFile::WriteOwner);
    if (!ran)
        GTEST_SKIP() << "running as root, and the file-system identity could not be changed to test a read-only folder";
    expectSeedRead(choice, readonly, FileError::Kind::AccessDenied);
    EXPECT_EQ(choice.ReadPath(QStringLiteral("Rank.dat")), Slashed(readonly) + QStringLiteral("Rank.dat"));
    EXPECT_FALSE(QFileInfo::exists(home + QStringLiteral("/.local")));
}

} // namespace
