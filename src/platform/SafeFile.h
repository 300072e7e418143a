// SPDX-License-Identifier: MIT
// The one way the program writes a file. The new contents go to a temporary file in the
// same folder; every write is checked, the data is synced to the disk and its size checked,
// and only then is the temporary file renamed over the old one, which is atomic. Whatever
// fails on the way (a full disk, a quota, a read-only disk, an I/O error), the temporary file
// is removed and the old file is exactly as it was; a process killed at any moment leaves
// the old file or the new one, whole, and at most a temporary file, which the next start
// removes (RemoveLeftovers). The error says why, in a form the caller can report.
#pragma once

#include "platform/FileError.h"

// Qt
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace SafeFile {

// The system calls a safe write is made of, one function each, so that a test can make any
// one of them fail. Each returns 0 or the system's error number (errno).
class Io
{
public:
    virtual ~Io() = default;
    // Creates a new, empty file for writing; EEXIST when the name is taken.
    virtual int Create(const QString& path, int& handle) = 0;
    // Writes up to size bytes (it may write fewer) and says how many it wrote.
    virtual int Write(int handle, const char* data, qsizetype size, qsizetype& written) = 0;
    // Flushes the file's data to the device.
    virtual int Sync(int handle) = 0;
    // The size of the open file as the file system has it.
    virtual int Size(int handle, qint64& size) = 0;
    virtual int Close(int handle) = 0;
    // Renames from to to, atomically replacing a file to that exists.
    virtual int Rename(const QString& from, const QString& to) = 0;
    virtual int Remove(const QString& path) = 0;
    // Makes a rename in the folder durable, where the system can.
    virtual int SyncFolder(const QString& folder) = 0;
};

// The operating system's calls.
Io& SystemIo();

// Puts other calls in place of the system's for every safe write while it lives (tests
// make the n-th call fail with it). Overrides nest; each must end before the Io it names.
class IoOverride
{
public:
    explicit IoOverride(Io& io);
    ~IoOverride();
    IoOverride(const IoOverride&) = delete;
    IoOverride& operator=(const IoOverride&) = delete;

private:
    Io* m_previous;
};

// Writes are made in pieces of at most this many bytes.
constexpr qsizetype ChunkSize = 64 * 1024;

// Replaces the file at path (the file a symbolic link points to, for a link) with bytes,
// or leaves it as it was and says why not. An existing file that may not be written, or a
// folder of that name, is refused before anything is written.
FileError Write(const QString& path, const QByteArray& bytes);
// The same with the new contents given in parts, written one after the other: a file
// made mostly of bytes already in memory (what was read, less a few lines) is written
// without first being copied whole.
FileError WriteParts(const QString& path, const QList<QByteArrayView>& parts);

// Reads the whole file at path into bytes, or says why it cannot (FileError::ReadReason):
// no permission, a folder of that name, a device error. maxSize >= 0 reads at most that
// many bytes.
FileError Read(const QString& path, QByteArray& bytes, qint64 maxSize = -1);

// Copies the file at from to to the same safe way, unless to exists already (then nothing
// is written and the result is Ok). A copy that fails leaves no file at to.
FileError CopyUnlessExists(const QString& from, const QString& to);

// The name the probes below give their file, as the target of a write: the file itself
// is "orbilo-probe.<random>.tmp".
inline const QString ProbeName = QStringLiteral("orbilo-probe");

// Why a new file cannot be made in the folder, found by trying: a one-byte temporary file is
// written there the safe way and removed again. For a caller that learnt only that some
// file could not be made (a lock file). Kind::Other when the attempt succeeds.
FileError WhyCannotCreateIn(const QString& folder);

// Whether a file can be created in the folder, or, where the folder does not exist yet, in
// the nearest folder above it that does (where it would be made): an empty file is created
// and removed again, nothing is written or synced, so it costs little enough for every
// start. The reason when it cannot; Ok when it can.
FileError CheckCanCreateIn(const QString& folder);

// Removes what writes of the named files (file names, no folder) in the folder left
// behind when their process was killed: "SG1.dat.3f9a0c.tmp" and the like, nothing else.
// A temporary file another running copy is writing is left alone: a write marks its
// temporary file (a lock on it, held from its creation until it is renamed or removed)
// and only a file without the mark is removed. Returns how many were removed.
int RemoveLeftovers(const QString& folder, const QStringList& names);

} // namespace SafeFile
