// SPDX-License-Identifier: MIT
// The safe write with every system call of a save made to fail in turn: a score table with
// its first backup, and a settings change. Whatever call fails, with whatever error, the
// old file and its backup are byte for byte what they were (or the save went through
// whole), no temporary file is left behind, and the error names the real reason.

#include "store/Keys.h"
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
#include <unistd.h>

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

const int Errors[] = { ENOSPC, EIO, EDQUOT, EROFS, EACCES };

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
                // Only a failed copy of the backup, or a failed sync of the folder after the
                // rename, lets the save through.
                EXPECT_EQ(now, newBytes);
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
}

} // namespace
