// SPDX-License-Identifier: MIT
#include "platform/SafeFile.h"

// Qt
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace SafeFile {

namespace {

#ifdef Q_OS_WIN

// The C runtime's calls set errno; MoveFileExW reports through GetLastError.
int ErrnoOfLastError()
{
    switch (GetLastError()) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    default:
        return EIO;
    }
}

class SystemCalls final : public Io
{
public:
    int Create(const QString& path, int& handle) override
    {
        // Others may read it (the writer's own mark does), not write or remove it.
        const int flags = _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT;
        return _wsopen_s(&handle, reinterpret_cast<const wchar_t*>(path.utf16()), flags, _SH_DENYWR,
            _S_IREAD | _S_IWRITE);
    }
    int Write(int handle, const char* data, qsizetype size, qsizetype& written) override
    {
        const int n = _write(handle, data, unsigned(qMin<qsizetype>(size, ChunkSize)));
        written = qMax(0, n);
        return n < 0 ? errno : 0;
    }
    int Sync(int handle) override { return _commit(handle) == 0 ? 0 : errno; }
    int Size(int handle, qint64& size) override
    {
        struct _stat64 st;
        if (_fstat64(handle, &st) != 0)
            return errno;
        size = st.st_size;
        return 0;
    }
    int Close(int handle) override { return _close(handle) == 0 ? 0 : errno; }
    // A file another program has open for reading (another copy of the game reading its
    // settings, a virus scanner) cannot be replaced until it lets go, which it does within
    // moments: the rename is tried again for up to two seconds before it counts as failed.
    int Rename(const QString& from, const QString& to) override
    {
        for (int attempt = 0;; ++attempt) {
            if (MoveFileExW(reinterpret_cast<const wchar_t*>(from.utf16()),
                    reinterpret_cast<const wchar_t*>(to.utf16()), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return 0;
            const DWORD error = GetLastError();
            if (attempt == 100 || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION))
                return ErrnoOfLastError();
            Sleep(20);
        }
    }
    int Remove(const QString& path) override
    {
        return _wunlink(reinterpret_cast<const wchar_t*>(path.utf16())) == 0 ? 0 : errno;
    }
    // MOVEFILE_WRITE_THROUGH has made the rename durable already.
    int SyncFolder(const QString&) override { return 0; }
};

#else

QByteArray Native(const QString& path)
{
    return QFile::encodeName(path);
}

class SystemCalls final : public Io
{
public:
    int Create(const QString& path, int& handle) override
    {
        do {
            handle = ::open(Native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        } while (handle < 0 && errno == EINTR);
        return handle < 0 ? errno : 0;
    }
    int Write(int handle, const char* data, qsizetype size, qsizetype& written) override
    {
        ssize_t n;
        do {
            n = ::write(handle, data, size_t(size));
        } while (n < 0 && errno == EINTR);
        written = n < 0 ? 0 : qsizetype(n);
        return n < 0 ? errno : 0;
    }
    int Sync(int handle) override { return ::fsync(handle) == 0 ? 0 : errno; }
    int Size(int handle, qint64& size) override
    {
        struct stat st;
        if (::fstat(handle, &st) != 0)
            return errno;
        size = st.st_size;
        return 0;
    }
    // A failed close may be the first news of a failed write (on a network file system):
    // it counts. It is never retried, as the descriptor is gone either way.
    int Close(int handle) override { return ::close(handle) == 0 ? 0 : errno; }
    int Rename(const QString& from, const QString& to) override
    {
        return ::rename(Native(from).constData(), Native(to).constData()) == 0 ? 0 : errno;
    }
    int Remove(const QString& path) override { return ::unlink(Native(path).constData()) == 0 ? 0 : errno; }
    int SyncFolder(const QString& folder) override
    {
        const int fd = ::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return errno;
        const int rc = ::fsync(fd) == 0 ? 0 : errno;
        ::close(fd);
        return rc;
    }
};

#endif

Io*& OverrideSlot()
{
    static Io* io = nullptr;
    return io;
}

Io& CurrentIo()
{
    Io* io = OverrideSlot();
    return io ? *io : SystemIo();
}

// The file a write goes to: a symbolic link is followed, so the link stays a link.
QString Target(const QString& path)
{
    const QFileInfo info(path);
    return info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
}

// "SG1.dat" -> "SG1.dat.3f9a0c.tmp", beside it; the random part keeps two running copies
// of the program apart.
QString TemporaryName(const QString& target)
{
    return QStringLiteral("%1.%2.tmp").arg(target).arg(QRandomGenerator::system()->bounded(0x1000000), 6, 16, QLatin1Char('0'));
}

// Creates the temporary file; a name that is taken is drawn again.
int CreateTemporary(const QString& target, Io& io, QString& temp, int& handle)
{
    int rc = EEXIST;
    for (int attempt = 0; attempt < 16 && rc == EEXIST; ++attempt) {
        temp = TemporaryName(target);
        rc = io.Create(temp, handle);
    }
    return rc;
}

// The mark a write keeps on its temporary file while it lives, so that a copy of the program
// starting meanwhile does not take the file for a leftover of a killed write (RemoveLeftovers).
//
// Two copies may run at once and save into the same folders, so "no other copy is writing it"
// must be proved file by file. The age of a file proves nothing (a save can stand still for
// hours with its suspended machine), nor does a process id (reused, or another machine's on a
// shared home folder). A lock does: the system drops it when its process ends, however it
// ends, so a temporary file that no one holds a lock on has no writer left. The mark is an
// exclusive flock() on a descriptor of its own, taken just after the file is created and held
// until it has been renamed or removed, past the close of the written descriptor, so a whole
// file waiting for its rename is never taken either. That leaves the instant between the
// creation and the lock: a starting copy that finds the file then locks it first and removes
// it, and the writer, finding its file held or gone, starts again under a new name.
//
// Where there is no such lock (a file system without locks, a file the writer may not open
// for writing) the write goes on unmarked, and the clean-up, which cannot lock the file
// either, leaves it alone. On Windows the mark is a second handle, opened for reading while
// the written one is still open (that one lets others read, nothing else) and kept open until
// the rename is done; it lets the rename through. The clean-up opens a file for itself alone,
// which fails while any handle of a writer is open, and removes it through that handle, so a
// file is never taken between a look and the removal either.
enum class Mark { Held, Unavailable, Lost };

#ifndef Q_OS_WIN

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A descriptor of the file, for reading and writing (an exclusive lock over NFS needs write
// access), that never follows a link and never waits on a pipe; -1 with errno when not.
int OpenForLock(const QByteArray& name)
{
    int fd;
    do {
        fd = ::open(name.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int TryLock(int fd)
{
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    return rc == 0 ? 0 : errno;
}

// Whether the descriptor still is the file of that name.
bool StillNamed(int fd, const QByteArray& name)
{
    struct stat held;
    struct stat named;
    return ::fstat(fd, &held) == 0 && held.st_nlink > 0 && ::lstat(name.constData(), &named) == 0
        && SameFile(held, named);
}

#endif

class WriterMark
{
public:
    WriterMark() = default;
    ~WriterMark() { Release(); }
    WriterMark(const WriterMark&) = delete;
    WriterMark& operator=(const WriterMark&) = delete;

    Mark Take(const QString& temp)
    {
#ifdef Q_OS_WIN
        Release();
        const HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(temp.utf16()), GENERIC_READ,
            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Mark::Lost : Mark::Unavailable;
        }
        m_handle = h;
        return Mark::Held;
#else
        Release();
        const QByteArray name = Native(temp);
        const int fd = OpenForLock(name);
        if (fd < 0)
            return errno == ENOENT ? Mark::Lost : Mark::Unavailable;
        const int rc = TryLock(fd);
        if (rc != 0) {
            ::close(fd);
            return rc == EWOULDBLOCK ? Mark::Lost : Mark::Unavailable;
        }
        if (!StillNamed(fd, name)) {
            ::close(fd);
            return Mark::Lost;
        }
        m_fd = fd;
        return Mark::Held;
#endif
    }

    void Release()
    {
#ifdef Q_OS_WIN
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
#else
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
#endif
    }

private:
#ifdef Q_OS_WIN
    HANDLE m_handle = INVALID_HANDLE_VALUE;
#else
    int m_fd = -1;
#endif
};

// Creates the temporary file and marks it. A file a starting copy took for a leftover before
// the mark was on it is left to that copy, and another is made.
int CreateMarkedTemporary(const QString& target, Io& io, QString& temp, int& handle, WriterMark& mark)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        const int rc = CreateTemporary(target, io, temp, handle);
        if (rc != 0)
            return rc;
        if (mark.Take(temp) != Mark::Lost)
            return 0;
        io.Close(handle);
    }
    return EBUSY;
}

// Removes the file at path unless a write holds its mark (see WriterMark); true when removed.
bool RemoveIfUnmarked(const QString& path)
{
#ifdef Q_OS_WIN
    // Shared with no one: refused while a writer holds the file or its mark. A link or
    // junction is opened as itself, and left alone.
    const HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ | DELETE, 0,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    FILE_DISPOSITION_INFO disposition { TRUE };
    const bool removed = GetFileInformationByHandle(h, &info)
        && !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
        && SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition);
    CloseHandle(h);
    return removed;
#else
    const QByteArray name = Native(path);
    const int fd = OpenForLock(name);
    if (fd < 0)
        return false;
    struct stat st;
    const bool removable
        = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && TryLock(fd) == 0 && StillNamed(fd, name);
    const bool removed = removable && ::unlink(name.constData()) == 0;
    ::close(fd);
    return removed;
#endif
}

// Writes, syncs and checks the temporary file, and closes it in every case.
int FillTemporary(int handle, const QList<QByteArrayView>& parts, Io& io)
{
    int rc = 0;
    qint64 total = 0;
    for (const QByteArrayView part : parts) {
        for (qsizetype done = 0; rc == 0 && done < part.size();) {
            qsizetype written = 0;
            rc = io.Write(handle, part.data() + done, qMin(ChunkSize, part.size() - done), written);
            // A write that takes nothing and reports nothing would never end.
            if (rc == 0 && written <= 0)
                rc = EIO;
            done += written;
        }
        total += part.size();
    }
    if (rc == 0)
        rc = io.Sync(handle);
    qint64 size = -1;
    if (rc == 0)
        rc = io.Size(handle, size);
    if (rc == 0 && size != total)
        rc = EIO;
    const int closed = io.Close(handle);
    return rc != 0 ? rc : closed;
}

} // namespace

Io& SystemIo()
{
    static SystemCalls calls;
    return calls;
}

IoOverride::IoOverride(Io& io)
    : m_previous(OverrideSlot())
{
    OverrideSlot() = &io;
}

IoOverride::~IoOverride()
{
    OverrideSlot() = m_previous;
}

FileError Write(const QString& path, const QByteArray& bytes)
{
    return WriteParts(path, { QByteArrayView(bytes) });
}

FileError WriteParts(const QString& path, const QList<QByteArrayView>& parts)
{
    Io& io = CurrentIo();
    const QString target = Target(path);
    const QFileInfo info(target);
    if (info.isDir())
        return FileError::Of(FileError::Kind::FolderInTheWay);
    // A file the user has made read-only is not replaced behind their back, although the
    // folder would allow it.
    if (info.exists() && !info.isWritable())
        return FileError::Of(FileError::Kind::AccessDenied);

    QString temp;
    int handle = -1;
    WriterMark mark;
    int rc = CreateMarkedTemporary(target, io, temp, handle, mark);
    if (rc != 0)
        return FileError::FromErrno(rc);
    if (info.exists())
        QFile::setPermissions(temp, info.permissions());
    rc = FillTemporary(handle, parts, io);
    if (rc == 0)
        rc = io.Rename(temp, target);
    if (rc != 0) {
        io.Remove(temp);
        return FileError::FromErrno(rc);
    }
    // The new file is in place either way; a folder that cannot be synced (some file
    // systems refuse) only makes the rename less certain to outlive a power cut.
    io.SyncFolder(info.absolutePath());
    return {};
}

FileError Read(const QString& path, QByteArray& bytes, qint64 maxSize)
{
    bytes.clear();
    if (QFileInfo(path).isDir())
        return FileError::Of(FileError::Kind::FolderInTheWay);
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        // The system's reason, which the failed open leaves in errno.
        const int code = errno;
        if (code != 0)
            return FileError::FromErrno(code);
        return FileError::Of(file.error() == QFileDevice::PermissionsError ? FileError::Kind::AccessDenied
                                                                           : FileError::Kind::Io);
    }
    bytes = maxSize < 0 ? file.readAll() : file.read(maxSize);
    if (file.error() != QFileDevice::NoError) {
        bytes.clear();
        return FileError::Of(FileError::Kind::Io);
    }
    return {};
}

FileError CopyUnlessExists(const QString& from, const QString& to)
{
    if (QFileInfo::exists(to))
        return {};
    QByteArray bytes;
    if (const FileError read = Read(from, bytes); !read.Ok())
        return read;
    return Write(to, bytes);
}

FileError WhyCannotCreateIn(const QString& folder)
{
    Io& io = CurrentIo();
    QString temp;
    int handle = -1;
    WriterMark mark;
    int rc = CreateMarkedTemporary(QDir(folder).filePath(ProbeName), io, temp, handle, mark);
    if (rc != 0)
        return FileError::FromErrno(rc);
    rc = FillTemporary(handle, { QByteArrayView("0") }, io);
    io.Remove(temp);
    return rc != 0 ? FileError::FromErrno(rc) : FileError::Of(FileError::Kind::Other);
}

FileError CheckCanCreateIn(const QString& folder)
{
    // The folder, or the nearest one above it that exists; a regular file on the way is
    // where the search stops, and where the probe finds that no folder can be made.
    QString existing = QDir::cleanPath(QDir(folder).absolutePath());
    while (!QFileInfo::exists(existing)) {
        const QString parent = QFileInfo(existing).path();
        if (parent == existing)
            break;
        existing = parent;
    }
    Io& io = CurrentIo();
    QString temp;
    int handle = -1;
    WriterMark mark;
    const int rc = CreateMarkedTemporary(QDir(existing).filePath(ProbeName), io, temp, handle, mark);
    if (rc != 0)
        return FileError::FromErrno(rc);
    io.Close(handle);
    io.Remove(temp);
    return {};
}

int RemoveLeftovers(const QString& folder, const QStringList& names)
{
    if (names.isEmpty())
        return 0;
    QStringList escaped;
    for (const QString& name : names)
        escaped << QRegularExpression::escape(name);
    // Exactly the names TemporaryName gives: never another program's file.
    const QRegularExpression ours(
        QStringLiteral("^(%1)\\.[0-9a-f]{6}\\.tmp$").arg(escaped.join(QLatin1Char('|'))));
    const QDir dir(folder);
    int removed = 0;
    for (const QString& name : dir.entryList({ QStringLiteral("*.tmp") }, QDir::Files | QDir::Hidden | QDir::System)) {
        if (ours.match(name).hasMatch() && RemoveIfUnmarked(dir.filePath(name)))
            ++removed;
    }
    return removed;
}

} // namespace SafeFile
