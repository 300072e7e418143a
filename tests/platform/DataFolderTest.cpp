// SPDX-License-Identifier: MIT
// Where the score tables and the ranking live: beside a copy run from a folder it can write,
// in the player's own folder for an installed copy (a fake installation prefix) and for a
// copy whose folder cannot be written (a real read-only folder), seeded there without ever
// overwriting the player's files; and the one notice for tables found nowhere.

#include "store/DataFolder.h"

// Qt
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

// GoogleTest
#include <gtest/gtest.h>

#include "TestFiles.h"

#include <thread>
#include <unistd.h>
#if defined(__linux__)
#include <sys/fsuid.h>
#endif

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

    // A later start with newer defaults leaves the seeded copy alone too.
    WriteAll(defaults + QStringLiteral("/SG2.dat"), Stars);
    DataFolder::Decide({ program, defaults, user });
    EXPECT_EQ(ReadAll(user + QStringLiteral("/SG2.dat")), Branches);
}

// Runs the action where write permission is enforced. As root, on a thread of its own with
// the file-system identity of "nobody": the kernel then drops root's way past the permission
// bits for that thread alone.
template <typename Action>
bool WithoutRootsPermissions(Action action)
{
    if (geteuid() != 0) {
        action();
        return true;
    }
    bool dropped = false;
#if defined(__linux__)
    std::thread thread([&] {
        setfsuid(65534);
        setfsgid(65534);
        dropped = setfsuid(-1) == 65534;
        if (dropped)
            action();
    });
    thread.join();
#endif
    return dropped;
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

} // namespace
