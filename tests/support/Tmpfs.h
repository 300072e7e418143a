// SPDX-License-Identifier: MIT
// A small file system of its own for a test, to fill to the last byte: a tmpfs mounted on a
// temporary folder (Linux, as root or with CAP_SYS_ADMIN) and taken down with the object.
#pragma once

// Qt
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>
#endif

class Tmpfs
{
public:
    explicit Tmpfs(int kilobytes)
    {
#ifdef Q_OS_LINUX
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0777";
        if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, options.constData()) == 0)
            m_mounted = true;
        else
            m_why = QString::fromLocal8Bit(std::strerror(errno));
#else
        Q_UNUSED(kilobytes);
        m_why = QStringLiteral("tmpfs is a Linux file system");
#endif
    }
    ~Tmpfs()
    {
#ifdef Q_OS_LINUX
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
#endif
    }
    Tmpfs(const Tmpfs&) = delete;
    Tmpfs& operator=(const Tmpfs&) = delete;

    bool Mounted() const { return m_mounted; }
    // Why the mount was refused.
    QString Why() const { return m_why; }
    QString Path() const { return m_dir.path(); }
    QString FilePath(const QString& name) const { return m_dir.filePath(name); }

    // Fills the file system with one file until fewer than keepBytes are free: 0 leaves not
    // one byte. Returns false when it could not.
    bool Fill(qint64 keepBytes = 0)
    {
#ifdef Q_OS_LINUX
        const int fd = ::open(QFile::encodeName(FilePath(QStringLiteral("filler"))).constData(),
            O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0)
            return false;
        const QByteArray page(4096, 'f');
        while (::write(fd, page.constData(), page.size()) == page.size()) {
        }
        // A full disk may still take the last partial page.
        while (::write(fd, page.constData(), 1) == 1) {
        }
        const bool full = errno == ENOSPC;
        if (full && keepBytes > 0) {
            const off_t size = ::lseek(fd, 0, SEEK_END);
            // tmpfs counts whole pages: give back enough of them.
            const off_t keep = (keepBytes + 4095) / 4096 * 4096;
            if (::ftruncate(fd, size > keep ? (size - keep) / 4096 * 4096 : 0) != 0) {
                ::close(fd);
                return false;
            }
        }
        ::close(fd);
        return full;
#else
        Q_UNUSED(keepBytes);
        return false;
#endif
    }

    // Takes the filler away again.
    void Empty() { QFile::remove(FilePath(QStringLiteral("filler"))); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};
