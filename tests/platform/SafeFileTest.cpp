// SPDX-License-Identifier: MIT
// The safe write with every system call of a save made to fail in turn: a score table with
// its first backup, and a settings change. Whatever call fails, with whatever error, the
// old file and its backup are byte for byte what they were (or the save went through
// whole), no temporary file is left behind, and the error names the real reason. A table
// whose backup cannot be made is not replaced. What a killed save leaves is removed at the
// next start, and nothing a running save still needs.

#include "store/Keys.h"
#include "store/SettingsStore.h"
#include "store/TableFile.h"
#include "game/TextGrid.h"
#include "platform/RegistryFile.h"
#include "platform/SafeFile.h"

// Qt
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
// GoogleTest
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "Tmpfs.h"

#include <cerrno>
#include <tuple>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

// Passes every call on to the system, and makes the one numbered failAt (counted from 0)
// fail with error the way the system would.
class FaultyIo : public SafeFile::Io
{
public:
    FaultyIo(int failAt, int error) : m_failAt(failAt), m_error(error) {}

    int Calls() const { return m_calls; }
    QString Failed() const { return m_failed; }

    int Create(const QString& path, int& handle) override
    {
        return Fails("create") ? m_error : System().Create(path, handle);
    }
    int Write(int handle, const char* data, qsizetype size, qsizetype& written) override
    {
        if (!Fails("write"))
            return System().Write(handle, data, size, written);
        // As on a full disk: part of the data goes down first.
        System().Write(handle, data, size / 2, written);
        return m_error;
    }
    int Sync(int handle) override { return Fails("sync") ? m_error : System().Sync(handle); }
    int Size(int handle, qint64& size) override { return Fails("size") ? m_error : System().Size(handle, size); }
    int Close(int handle) override
    {
        const int rc = System().Close(handle); // the descriptor is gone either way
        return Fails("close") ? m_error : rc;
    }
    int Rename(const QString& from, const QString& to) override
    {
        return Fails("rename") ? m_error : System().Rename(from, to);
    }
    int Remove(const QString& path) override { return Fails("remove") ? m_error : System().Remove(path); }
    int SyncFolder(const QString& folder) override
    {
        return Fails("sync folder") ? m_error : System().SyncFolder(folder);
    }

private:
    static SafeFile::Io& System() { return SafeFile::SystemIo(); }
    bool Fails(const char* call)
    {
        if (m_calls++ != m_failAt)
            return false;
        m_failed = QLatin1String(call);
        return true;
    }

    int m_failAt;
    int m_error;
    int m_calls = 0;
    QString m_failed;
};

// Writes that each take at most a few bytes, and one write that says it took everything
// but took nothing, as a broken device or driver might.
class ShortIo final : public FaultyIo
{
public:
    explicit ShortIo(int silentlyLost) : FaultyIo(-1, 0), m_silentlyLost(silentlyLost) {}

    int Write(int handle, const char* data, qsizetype size, qsizetype& written) override
    {
        if (m_writes++ != m_silentlyLost)
            return FaultyIo::Write(handle, data, qMin<qsizetype>(size, 777), written);
        written = size;
        return 0;
    }

private:
    int m_silentlyLost;
    int m_writes = 0;
};

// The names of the files in the folder, in order, for comparing with what should be there.
std::string Files(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name).join(QLatin1Char(' ')).toStdString();
}

// A table of a few hundred kilobytes, so that its save takes several writes.
void Fill(TextGrid& grid, const QString& mark)
{
    grid.SetRowCount(6000);
    for (int r = 0; r < grid.RowCount(); ++r) {
        grid.SetCell(0, r, mark);
        grid.SetCell(1, r, QStringLiteral("甲乙丙丁"));
        grid.SetCell(3, r, QString::number(r));
    }
}

QByteArray TableBytes(const QString& mark)
{
    TextGrid grid(4, 1);
    Fill(grid, mark);
    return TableFile::Format(grid);
}

const int Errors[] = { ENOSPC, EIO,
#ifdef EDQUOT
    EDQUOT,
#endif
    EROFS, EACCES };

// The table save in its fullest form: the first save after the backup went missing, so it
// copies the old table to the backup and then replaces the table.
TEST(SafeFileTest, EveryCallOfATableSaveFailsInTurnAndNothingOldIsLost)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("SG1.dat"));
    const QString backup = dir.filePath(QStringLiteral("SG1sav"));
    const QByteArray oldBytes = TableBytes(QStringLiteral("old"));
    TextGrid newTable(4, 1);
    Fill(newTable, QStringLiteral("new"));
    const QByteArray newBytes = TableFile::Format(newTable);

    int calls = 0;
    {
        WriteAll(path, oldBytes);
        FaultyIo count(-1, 0);
        SafeFile::IoOverride io(count);
        ASSERT_TRUE(TableFile::Save(newTable, path));
        calls = count.Calls();
    }
    ASSERT_GT(calls, 2 * (oldBytes.size() / SafeFile::ChunkSize) + 10);

    for (const int error : Errors) {
        for (int n = 0; n < calls; ++n) {
            QFile::remove(backup);
            WriteAll(path, oldBytes);
            FaultyIo faulty(n, error);
            FileError why;
            bool saved = false;
            {
                SafeFile::IoOverride io(faulty);
                saved = TableFile::Save(newTable, path, &why);
            }
            SCOPED_TRACE(::testing::Message() << "call " << n << " (" << faulty.Failed().toStdString()
                                              << ") fails with errno " << error);
            const QByteArray now = ReadAll(path);
            ASSERT_TRUE(now == oldBytes || now == newBytes) << "the table is neither version";
            if (saved) {
                // Only a failed sync of a folder after a rename lets the save through, and
                // never without its backup.
                EXPECT_EQ(now, newBytes);
                EXPECT_EQ(faulty.Failed(), QStringLiteral("sync folder"));
                EXPECT_TRUE(QFileInfo::exists(backup)) << "the table was replaced without its backup";
            } else {
                EXPECT_EQ(now, oldBytes);
                EXPECT_EQ(why.kind, FileError::FromErrno(error).kind);
                EXPECT_FALSE(why.Reason().isEmpty());
            }
            if (QFileInfo::exists(backup)) {
                EXPECT_EQ(ReadAll(backup), oldBytes) << "the backup is not the old table";
            }
            EXPECT_EQ(Files(dir.path()), QFileInfo::exists(backup) ? "SG1.dat SG1sav" : "SG1.dat")
                << "a temporary file is left";
        }
    }
}

// The same on a real disk, filled to leave 0, 1, 2, ... pages free: the table save with its
// first backup goes through whole, or leaves the table as it was with a whole backup or none.
TEST(SafeFileTest, ATableSaveOnANearlyFullDiskIsWholeOrNothing)
{
    Tmpfs disk(1024);
    if (!disk.Mounted())
        GTEST_SKIP() << "cannot mount a tmpfs (" << disk.Why().toStdString()
                     << "): the full-disk test needs root or CAP_SYS_ADMIN on Linux";
    const QString path = disk.FilePath(QStringLiteral("SG1.dat"));
    const QString backup = disk.FilePath(QStringLiteral("SG1sav"));
    const QByteArray oldBytes = TableBytes(QStringLiteral("old"));
    TextGrid newTable(4, 1);
    Fill(newTable, QStringLiteral("new"));
    const QByteArray newBytes = TableFile::Format(newTable);
    const qsizetype pagesOfATable = newBytes.size() / 4096 + 1;

    QSet<int> outcomes;
    for (qsizetype pages = 0; pages <= 2 * pagesOfATable + 2; ++pages) {
        SCOPED_TRACE(::testing::Message() << pages << " pages free");
        QFile::remove(backup);
        WriteAll(path, oldBytes);
        ASSERT_TRUE(disk.Fill(pages * 4096));
        FileError why;
        const bool saved = TableFile::Save(newTable, path, &why);
        const bool backedUp = QFileInfo::exists(backup);
        outcomes.insert(int(saved) * 2 + int(backedUp));
        EXPECT_TRUE(ReadAll(path) == (saved ? newBytes : oldBytes));
        EXPECT_EQ(why.kind, saved ? FileError::Kind::None : FileError::Kind::NoSpace);
        EXPECT_TRUE(!backedUp || ReadAll(backup) == oldBytes);
        EXPECT_EQ(Files(disk.Path()), backedUp ? "SG1.dat SG1sav filler" : "SG1.dat filler")
            << "a temporary file is left";
        disk.Empty();
    }
    // Nothing saved, only the backup, and both.
    EXPECT_EQ(outcomes, QSet<int>({ 0, 1, 3 }));
}

// A disk with room for a small new table but not for the backup of a large old one (an
// extra field on every line, which the reader ignores): the save is refused, the table
// stays as it was, and the reason names the backup. The same for a ranking of 5,000 rows.
TEST(SafeFileTest, ATableWhoseBackupCannotBeMadeIsNotReplaced)
{
    Tmpfs disk(1024);
    if (!disk.Mounted())
        GTEST_SKIP() << "cannot mount a tmpfs (" << disk.Why().toStdString()
                     << "): the full-disk test needs root or CAP_SYS_ADMIN on Linux";
    QByteArray bigTable;
    for (int r = 0; r < 4000; ++r)
        bigTable += "a,b," + QByteArray::number(r) + ",text," + QByteArray(30, 'x') + ",\r\n";
    QByteArray bigRanking = "Rank,Name,Point,Time,\r\n";
    for (int r = 1; r <= 5000; ++r)
        bigRanking += QByteArray::number(r) + ",name,100,2024/05/01 21:30,\r\n";
    TextGrid newTable(4, 1);
    newTable.SetRowCount(30);
    newTable.SetCell(0, 1, QStringLiteral("甲"));

    for (const auto& [name, backupName, oldBytes] :
        { std::tuple { "SG1.dat", "SG1sav", bigTable }, std::tuple { "Rank.dat", "Ranksav", bigRanking } }) {
        SCOPED_TRACE(name);
        const QString path = disk.FilePath(QLatin1String(name));
        WriteAll(path, oldBytes);
        ASSERT_GT(oldBytes.size(), 150 * 1024);
        ASSERT_TRUE(disk.Fill(64 * 1024));
        FileError error;
        QString why;
        EXPECT_FALSE(TableFile::Save(newTable, path, &error, &why));
        EXPECT_EQ(error.kind, FileError::Kind::NoSpace);
        EXPECT_TRUE(why.contains(QLatin1String(backupName)) && why.contains(error.Reason())) << why.toStdString();
        EXPECT_EQ(ReadAll(path), oldBytes) << "the table was replaced without its backup";
        EXPECT_EQ(Files(disk.Path()), std::string(name) + " filler");
        disk.Empty();
        // With room again, the backup comes first and the save goes through.
        ASSERT_TRUE(TableFile::Save(newTable, path));
        EXPECT_EQ(ReadAll(disk.FilePath(QLatin1String(backupName))), oldBytes);
        QFile::remove(path);
        QFile::remove(disk.FilePath(QLatin1String(backupName)));
    }
}

// --- leftovers of killed saves ----------------------------------------------------------------

// What a start removes: the temporary files of the named files, by their exact pattern, and
// nothing else: no other name, no link, no folder, no file of another program.
TEST(SafeFileTest, RemoveLeftoversTakesOnlyTheProgramsOwnTemporaryFiles)
{
    QTemporaryDir dir;
    const QStringList ours { QStringLiteral("SG1.dat.c04788.tmp"), QStringLiteral("Ranksav.008137.tmp"),
        QStringLiteral("registry.reg.bd3844.tmp"), QStringLiteral("orbilo-probe.000000.tmp") };
    QStringList others { QStringLiteral("SG1.dat.C04788.tmp"), QStringLiteral("SG1.dat.c0478.tmp"),
        QStringLiteral("SG1.dat.c047888.tmp"), QStringLiteral("SG1.dat.tmp"), QStringLiteral("SG1.datx.c04788.tmp"),
        QStringLiteral("xSG1.dat.c04788.tmp"), QStringLiteral("SG1.dat.c04788.tmp.bak"),
        QStringLiteral("SG4.dat.c04788.tmp"), QStringLiteral("SG1.dat"), QStringLiteral("other.c04788.tmp") };
#ifdef _WIN32
    // Names that differ only in case are one file there.
    others.removeAll(QStringLiteral("SG1.dat.C04788.tmp"));
#endif
    for (const QString& name : ours + others)
        WriteAll(dir.filePath(name), "left");
    QStringList kept = others;
#ifndef _WIN32 // a link there is a shortcut file, not one the file system follows
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("SG1.dat")), dir.filePath(QStringLiteral("SG2.dat.aaaaaa.tmp"))));
    kept << QStringLiteral("SG2.dat.aaaaaa.tmp");
#endif
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("SG3.dat.bbbbbb.tmp")));

    const QStringList names { QStringLiteral("SG1.dat"), QStringLiteral("SG2.dat"), QStringLiteral("SG3.dat"),
        QStringLiteral("Ranksav"), QStringLiteral("registry.reg"), SafeFile::ProbeName };
    EXPECT_EQ(SafeFile::RemoveLeftovers(dir.path(), names), ours.size());
    kept << QStringLiteral("SG3.dat.bbbbbb.tmp");
    kept.sort();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name), kept);
    EXPECT_EQ(ReadAll(dir.filePath(QStringLiteral("SG1.dat"))), QByteArray("left")) << "the link was followed";
}

// Runs the clean-up of a copy of the program that starts just before each call of a save, as
// a second copy may start at any moment of a save of the first one.
class CopyStartingIo final : public FaultyIo
{
public:
    CopyStartingIo(const QString& folder, const QStringList& names)
        : FaultyIo(-1, 0), m_folder(folder), m_names(names)
    {
    }
    int Removed() const { return m_removed; }

    int Create(const QString& path, int& handle) override { return Start(), FaultyIo::Create(path, handle); }
    int Write(int handle, const char* data, qsizetype size, qsizetype& written) override
    {
        return Start(), FaultyIo::Write(handle, data, size, written);
    }
    int Sync(int handle) override { return Start(), FaultyIo::Sync(handle); }
    int Size(int handle, qint64& size) override { return Start(), FaultyIo::Size(handle, size); }
    int Close(int handle) override { return Start(), FaultyIo::Close(handle); }
    int Rename(const QString& from, const QString& to) override { return Start(), FaultyIo::Rename(from, to); }
    int SyncFolder(const QString& folder) override { return Start(), FaultyIo::SyncFolder(folder); }

private:
    void Start() { m_removed += SafeFile::RemoveLeftovers(m_folder, m_names); }

    QString m_folder;
    QStringList m_names;
    int m_removed = 0;
};

// A copy that starts while another saves leaves the other's temporary files alone, at every
// step of the save, the instant between its close and its rename included; what a killed
// save left behind goes.
TEST(SafeFileTest, RemoveLeftoversNeverTakesTheFileOfASaveInProgress)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("SG1.dat"));
    const QStringList names { QStringLiteral("SG1.dat"), QStringLiteral("SG1sav"), QStringLiteral("registry.reg") };
    WriteAll(dir.filePath(QStringLiteral("SG1.dat.123abc.tmp")), "left by a killed save");
    TextGrid table(4, 1);
    Fill(table, QStringLiteral("new"));
    WriteAll(path, "old,\r\n");

    CopyStartingIo starting(dir.path(), names);
    {
        SafeFile::IoOverride io(starting);
        FileError error;
        EXPECT_TRUE(TableFile::Save(table, path, &error)) << error.Reason().toStdString();
        SettingsStore store(std::make_unique<RegistryFile>(dir.filePath(QStringLiteral("registry.reg"))), Keys::Root);
        EXPECT_TRUE(store.WriteText(Keys::Set::TimeE, QStringLiteral("45"))) << store.ErrorMessage().toStdString();
    }
    EXPECT_EQ(starting.Removed(), 1) << "only the killed save's file";
    EXPECT_EQ(ReadAll(path), TableFile::Format(table));
    EXPECT_EQ(ReadAll(dir.filePath(QStringLiteral("SG1sav"))), QByteArray("old,\r\n"));
    EXPECT_EQ(Files(dir.path()), "SG1.dat SG1sav registry.reg");
}

// A settings change: the file is the old one or the old one with the change, and a change
// that failed is reported with the file and the reason.
TEST(SafeFileTest, EveryCallOfASettingsWriteFailsInTurnAndNothingOldIsLost)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("registry.reg"));
    const QString key = Keys::Root + QStringLiteral("\\Set");
    // Large enough to take several writes.
    QByteArray oldBytes = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + key.toLatin1() + "]\r\n";
    for (int i = 0; i < 400; ++i)
        oldBytes += "\"v" + QByteArray::number(i) + "\"=\"" + QByteArray(500, 'a' + i % 26) + "\"\r\n";
    oldBytes += "\r\n";

    int calls = 0;
    {
        WriteAll(path, oldBytes);
        FaultyIo count(-1, 0);
        SafeFile::IoOverride io(count);
        ASSERT_TRUE(RegistryFile(path).WriteValue(key, QStringLiteral("TimeE"), RegValue::Text(QStringLiteral("45"))).Ok());
        calls = count.Calls();
    }
    const QByteArray newBytes = ReadAll(path);
    ASSERT_TRUE(newBytes.startsWith(oldBytes.chopped(2) + "\"TimeE\"=\"45\""));

    for (const int error : Errors) {
        for (int n = 0; n < calls; ++n) {
            WriteAll(path, oldBytes);
            FaultyIo faulty(n, error);
            RegResult r;
            {
                SafeFile::IoOverride io(faulty);
                r = RegistryFile(path).WriteValue(key, QStringLiteral("TimeE"), RegValue::Text(QStringLiteral("45")));
            }
            SCOPED_TRACE(::testing::Message() << "call " << n << " (" << faulty.Failed().toStdString()
                                              << ") fails with errno " << error);
            const QByteArray now = ReadAll(path);
            EXPECT_EQ(now, r.Ok() ? newBytes : oldBytes);
            if (!r.Ok()) {
                EXPECT_EQ(r.status, RegStatus::WriteFailed);
                EXPECT_TRUE(r.message.contains(path)) << r.message.toStdString();
                EXPECT_TRUE(r.message.contains(FileError::FromErrno(error).Reason())) << r.message.toStdString();
            }
            EXPECT_EQ(Files(dir.path()), "registry.reg") << "a temporary file is left";
        }
    }
}

// Writes that take a little at a time still give the whole file; a write the device
// swallowed without a word is caught by the size check before the rename.
TEST(SafeFileTest, ShortWritesAreCompletedAndALostWriteIsCaught)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Rank.dat"));
    const QByteArray oldBytes("old,\r\n");
    const QByteArray newBytes = TableBytes(QStringLiteral("new"));
    for (const int lost : { -1, 0, 5, 100 }) {
        WriteAll(path, oldBytes);
        ShortIo shortIo(lost);
        SafeFile::IoOverride io(shortIo);
        const FileError error = SafeFile::Write(path, newBytes);
        if (lost < 0) {
            EXPECT_TRUE(error.Ok());
            EXPECT_EQ(ReadAll(path), newBytes);
        } else {
            EXPECT_EQ(error.kind, FileError::Kind::Io) << lost;
            EXPECT_EQ(ReadAll(path), oldBytes) << lost;
        }
        EXPECT_EQ(Files(dir.path()), "Rank.dat");
    }
}

// What the write replaces keeps what it was besides its contents: a link stays a link (the
// file it points to is written), the permissions stay, and a file its owner made
// read-only is refused.
TEST(SafeFileTest, KeepsLinksAndPermissionsAndRefusesAReadOnlyFile)
{
#ifdef _WIN32
    GTEST_SKIP() << "QFile::link makes a shortcut on Windows, and permissions are one read-only flag";
#else
    QTemporaryDir dir;
    const QString real = dir.filePath(QStringLiteral("real.dat"));
    const QString link = dir.filePath(QStringLiteral("SG1.dat"));
    WriteAll(real, "old");
    ASSERT_TRUE(QFile::link(real, link));
    const auto mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(real, mode));
    ASSERT_TRUE(SafeFile::Write(link, "new").Ok());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadAll(real), QByteArray("new"));
    const auto bits = QFileDevice::Permissions(0x7077); // owner, group and others
    EXPECT_EQ(QFile::permissions(real) & bits, mode & bits);

    if (::geteuid() == 0)
        return; // root may write any file
    ASSERT_TRUE(QFile::setPermissions(real, QFileDevice::ReadOwner));
    EXPECT_EQ(SafeFile::Write(real, "newer").kind, FileError::Kind::AccessDenied);
    EXPECT_EQ(ReadAll(real), QByteArray("new"));
#endif
}

} // namespace
