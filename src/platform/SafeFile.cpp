// SPDX-License-Identifier: MIT
#include "platform/SafeFile.h"

// Qt
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
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
        const int flags = _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT;
        return _wsopen_s(&handle, reinterpret_cast<const wchar_t*>(path.utf16()), flags, _SH_DENYRW,
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
    int Rename(const QString& from, const QString& to) override
    {
        const bool ok = MoveFileExW(reinterpret_cast<const wchar_t*>(from.utf16()),
            reinterpret_cast<const wchar_t*>(to.utf16()), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        return ok ? 0 : ErrnoOfLastError();
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
    int rc = CreateTemporary(target, io, temp, handle);
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

FileError CopyUnlessExists(const QString& from, const QString& to)
{
    if (QFileInfo::exists(to))
        return {};
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return FileError::Of(source.error() == QFileDevice::PermissionsError ? FileError::Kind::AccessDenied
                                                                             : FileError::Kind::Io);
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return FileError::Of(FileError::Kind::Io);
    return Write(to, bytes);
}

FileError WhyCannotCreateIn(const QString& folder)
{
    Io& io = CurrentIo();
    QString temp;
    int handle = -1;
    int rc = CreateTemporary(QDir(folder).filePath(QStringLiteral("probe")), io, temp, handle);
    if (rc != 0)
        return FileError::FromErrno(rc);
    rc = FillTemporary(handle, { QByteArrayView("0") }, io);
    io.Remove(temp);
    return rc != 0 ? FileError::FromErrno(rc) : FileError::Of(FileError::Kind::Other);
}

} // namespace SafeFile
