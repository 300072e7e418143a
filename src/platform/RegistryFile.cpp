// SPDX-License-Identifier: MIT
// The REGEDIT4 file backend: the kept outline, the lock, the fresh read and the atomic
// replace around the parsed file (see RegistryFile.h).

#include "platform/RegistryFile.h"

#include <cerrno>

// Qt
#include <QByteArrayView>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QMutex>

#include <algorithm>
#include <cstring>
#include <utility>

#ifdef Q_OS_LINUX
#include <sys/stat.h>
#endif

// own
#include "platform/FileError.h"
#include "platform/RegFileDocument.h"
#include "platform/RegFileLines.h"
#include "platform/SafeFile.h"

RegistryFile::RegistryFile(const QString& filePath)
    : m_path(filePath)
{
}

namespace {

RegResult CheckPath(const QString& path)
{
    const std::optional<QStringList> names = RegPath::Split(path);
    if (!names || !std::all_of(names->cbegin(), names->cend(), RegFile::Representable))
        return RegResult::Fail(
            RegStatus::InvalidName, QStringLiteral("\"%1\" is not a valid key path.").arg(path));
    return RegResult::Success();
}

RegResult CheckValueName(const QString& path, const QString& name)
{
    RegResult r = CheckPath(path);
    if (r.Ok() && (name.size() > 16383 || !RegFile::Representable(name)))
        r = RegResult::Fail(
            RegStatus::InvalidName, QStringLiteral("\"%1\" is not a valid value name.").arg(name));
    return r;
}

RegResult NoKey(const QString& path)
{
    return RegResult::Fail(
        RegStatus::NotFound, QStringLiteral("The key %1 does not exist.").arg(RegFile::KeyText(path)));
}

RegResult NoValue(const QString& path, const QString& name)
{
    return RegResult::Fail(RegStatus::NotFound,
        QStringLiteral("The value \"%1\" does not exist in %2.").arg(name, RegFile::KeyText(path)));
}

RegResult CannotWrite(const QString& path, const FileError& why)
{
    return RegResult::Fail(
        RegStatus::WriteFailed, QStringLiteral("設定ファイル %1 に書き込めませんでした（%2）").arg(path, why.Reason()));
}

template <typename T> T With(const RegResult& r)
{
    T t;
    static_cast<RegResult&>(t) = r;
    return t;
}

} // namespace

struct RegistryFile::Loaded
{
    RegResult result;
    std::shared_ptr<const Snapshot> snapshot;
    RegFile::Document document; // the whole file parsed, for a change
};

// One version of the file and its parse.
struct RegistryFile::Snapshot
{
    // What tells one version of a file from another without reading it.
    struct Stamp
    {
        bool exists = false;
        bool folder = false;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        qint64 changedNs = 0; // the status change time, which no program can set back
        quint64 inode = 0;

        friend bool operator==(const Stamp&, const Stamp&) = default;
    };

    Stamp stamp;
    qint64 readNs = 0; // when the stamp was taken
    QByteArray bytes;
    RegFile::Outline outline;

    // A file changed within the coarseness of file times before it was read can change
    // again without its stamp showing it.
    bool ChangedJustBeforeRead() const
    {
        return qMax(stamp.modifiedNs, stamp.changedNs) >= readNs - RecentChangeMs * 1000000;
    }

    // The key's section, parsed at its first read and kept. Snapshots are shared between
    // threads, hence the lock.
    std::optional<RegFile::Section> KeySection(const QString& path) const
    {
        const QMutexLocker locker(&mutex);
        auto known = sections.constFind(RegFile::NameKey { path });
        if (known == sections.cend())
            known = sections.insert(RegFile::NameKey { path }, outline.KeySection(path));
        return *known;
    }

private:
    mutable QMutex mutex;
    mutable QHash<RegFile::NameKey, std::optional<RegFile::Section>> sections;
};

namespace {

using Snapshot = RegistryFile::Snapshot;

qint64 NowNs()
{
    return QDateTime::currentMSecsSinceEpoch() * 1000000;
}

Snapshot::Stamp StampOf(const QString& path)
{
    Snapshot::Stamp st;
#ifdef Q_OS_LINUX
    struct stat buf {};
    if (::stat(QFile::encodeName(path).constData(), &buf) != 0)
        return st;
    st.exists = true;
    st.folder = S_ISDIR(buf.st_mode);
    st.size = buf.st_size;
    st.modifiedNs = qint64(buf.st_mtim.tv_sec) * 1000000000 + buf.st_mtim.tv_nsec;
    st.changedNs = qint64(buf.st_ctim.tv_sec) * 1000000000 + buf.st_ctim.tv_nsec;
    st.inode = buf.st_ino;
#else
    const QFileInfo info(path);
    if (!info.exists())
        return st;
    st.exists = true;
    st.folder = info.isDir();
    st.size = info.size();
    st.modifiedNs = info.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch() * 1000000;
    st.changedNs = info.fileTime(QFileDevice::FileMetadataChangeTime).toMSecsSinceEpoch() * 1000000;
#endif
    return st;
}

// The latest outline of a file, shared by every RegistryFile of the process: the game opens
// the store again for each group of reads, each time through a new object.
struct SharedParse
{
    QMutex mutex;
    QString path;
    std::shared_ptr<const Snapshot> snapshot;
};

SharedParse& Shared()
{
    static SharedParse shared;
    return shared;
}

std::shared_ptr<const Snapshot> SharedFor(const QString& path, const Snapshot::Stamp& stamp)
{
    SharedParse& shared = Shared();
    const QMutexLocker locker(&shared.mutex);
    if (shared.snapshot && shared.path == path && shared.snapshot->stamp == stamp)
        return shared.snapshot;
    return nullptr;
}

void Share(const QString& path, const std::shared_ptr<const Snapshot>& snapshot)
{
    SharedParse& shared = Shared();
    const QMutexLocker locker(&shared.mutex);
    shared.path = path;
    shared.snapshot = snapshot;
}

// Lets go of what was kept of the file at path.
void Unshare(const QString& path)
{
    SharedParse& shared = Shared();
    const QMutexLocker locker(&shared.mutex);
    if (shared.path == path)
        shared.snapshot.reset();
}

// The file's bytes, or nothing when it cannot be read. When they are the bytes of known
// they are known's buffer: a file read again unchanged (under the lock of a change, or
// changed moments before its last read) is never held twice.
std::optional<QByteArray> ReadBytes(QFile& file, const QByteArray* known, qint64 size)
{
    if (!known) {
        QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return std::nullopt;
        return bytes;
    }
    constexpr qint64 Piece = 1024 * 1024;
    QByteArray piece(qMin(Piece, qMax<qint64>(size, 1)), Qt::Uninitialized);
    QByteArray out;
    qsizetype matched = 0;
    bool same = true;
    for (;;) {
        const qint64 n = file.read(piece.data(), piece.size());
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        if (same && matched + n <= known->size() && std::memcmp(known->constData() + matched, piece.constData(), size_t(n)) == 0) {
            matched += n;
            continue;
        }
        if (same) {
            same = false;
            out.reserve(qMax<qint64>(size, matched + n));
            out.append(known->constData(), matched);
        }
        out.append(piece.constData(), n);
    }
    if (!same)
        return out;
    return matched == known->size() ? *known : known->left(matched);
}

} // namespace

RegistryFile::Loaded RegistryFile::Load(bool forChange) const
{
    Loaded loaded;
    const qint64 now = NowNs();
    const Snapshot::Stamp stamp = StampOf(m_path);
    if (!stamp.exists) {
        loaded.snapshot = std::make_shared<const Snapshot>();
        return loaded;
    }
    auto fail = [&](const QString& why) {
        loaded.result
            = RegResult::Fail(RegStatus::Unreadable, QStringLiteral("%1 を読めません（%2）").arg(m_path, why));
        return loaded;
    };
    if (stamp.folder)
        return fail(FileError::Of(FileError::Kind::FolderInTheWay).Reason());
    if (stamp.size > MaxFileSize)
        return fail(QStringLiteral("設定ファイルとしては大きすぎます"));

    std::shared_ptr<const Snapshot> known
        = m_snapshot && m_snapshot->stamp == stamp ? m_snapshot : SharedFor(m_path, stamp);
    if (known && !forChange && !known->ChangedJustBeforeRead()) {
        m_snapshot = known;
        loaded.snapshot = known;
        return loaded;
    }
    if (!known) {
        // The file changed: what was kept of its last version goes before the new one is
        // read, so that a large file is not held twice.
        m_snapshot.reset();
        Unshare(m_path);
    }
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(FileError::FromErrno(errno).Reason());
    auto fresh = std::make_shared<Snapshot>();
    std::optional<QByteArray> bytes = ReadBytes(file, known ? &known->bytes : nullptr, stamp.size);
    if (!bytes)
        return fail(FileError::Of(FileError::Kind::Io).Reason());
    fresh->bytes = std::move(*bytes);
    fresh->stamp = stamp;
    fresh->readNs = now;
    const bool same = known && known->bytes.constData() == fresh->bytes.constData();
    fresh->outline = same ? known->outline : RegFile::Outline(fresh->bytes);
    m_snapshot = fresh;
    Share(m_path, fresh);
    loaded.snapshot = fresh;
    if (forChange)
        loaded.document = RegFile::Parse(fresh->bytes);
    return loaded;
}

RegResult RegistryFile::Modify(const std::function<RegResult(RegFile::Document&, bool&)>& change)
{
    auto fail = [&](RegStatus status, const QString& why) {
        return RegResult::Fail(status, QStringLiteral("%1 に書き込めません（%2）").arg(m_path, why));
    };
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        return fail(RegStatus::WriteFailed, QStringLiteral("フォルダー %1 を作れません").arg(folder));

    QLockFile lock(m_path + QStringLiteral(".lock"));
    // A writer killed between creating its lock file and writing its process id into it
    // leaves a lock nobody can prove stale but by its age. A write holds the lock for
    // milliseconds, so a lock older than a few seconds is such a leftover, and waiting the
    // library's default half minute would make the next close lose its settings.
    lock.setStaleLockTime(StaleLockMs);
    if (!lock.tryLock(LockWaitMs)) {
        if (lock.error() == QLockFile::LockFailedError)
            return fail(RegStatus::Busy, QStringLiteral("他のプログラムが使用中です"));
        return CannotWrite(m_path, SafeFile::WhyCannotCreateIn(folder));
    }

    // Under the lock the bytes are always read: the change is made on the file as it is.
    // The file replaced below gets a new stamp, so no outline of the old one is used again.
    Loaded loaded = Load(true);
    if (!loaded.result.Ok())
        return loaded.result;
    bool changed = false;
    const RegResult r = change(loaded.document, changed);
    if (!r.Ok() || !changed)
        return r;

    const FileError written = SafeFile::WriteParts(m_path, RegFile::FileBytes(loaded.document).Parts());
    if (!written.Ok())
        return CannotWrite(m_path, written);
    // What was kept of the file replaced is of no more use: its bytes need not wait in
    // memory for the next read.
    loaded = {};
    m_snapshot.reset();
    Unshare(m_path);
    return RegResult::Success();
}

RegResult RegistryFile::OpenKey(const QString& path, RegOpen mode)
{
    if (const RegResult r = CheckPath(path); !r.Ok())
        return r;
    const Loaded loaded = Load();
    if (!loaded.result.Ok())
        return loaded.result;
    if (loaded.snapshot->outline.KeyExists(path))
        return RegResult::Success();
    if (mode == RegOpen::Existing)
        return NoKey(path);
    return Modify([&](RegFile::Document& doc, bool& changed) {
        if (!doc.KeyExists(path)) {
            doc.CreateKey(path);
            changed = true;
        }
        return RegResult::Success();
    });
}

RegistryFile::Loaded RegistryFile::LoadWithKey(const QString& path) const
{
    Loaded loaded = Load();
    if (loaded.result.Ok() && !loaded.snapshot->outline.KeyExists(path))
        loaded.result = NoKey(path);
    return loaded;
}

RegNamesResult RegistryFile::SubKeyNames(const QString& path)
{
    if (const RegResult r = CheckPath(path); !r.Ok())
        return With<RegNamesResult>(r);
    const Loaded loaded = LoadWithKey(path);
    if (!loaded.result.Ok())
        return With<RegNamesResult>(loaded.result);
    RegNamesResult r;
    r.names = loaded.snapshot->outline.SubKeyNames(path);
    return r;
}

RegNamesResult RegistryFile::ValueNames(const QString& path)
{
    if (const RegResult r = CheckPath(path); !r.Ok())
        return With<RegNamesResult>(r);
    const Loaded loaded = LoadWithKey(path);
    if (!loaded.result.Ok())
        return With<RegNamesResult>(loaded.result);
    RegNamesResult r;
    if (const std::optional<RegFile::Section> section = loaded.snapshot->KeySection(path))
        r.names = section->ValueNames();
    return r;
}

RegResult RegistryFile::DeleteKey(const QString& path)
{
    if (const RegResult r = CheckPath(path); !r.Ok())
        return r;
    if (path.isEmpty())
        return RegResult::Fail(
            RegStatus::AccessDenied, QStringLiteral("%1 itself cannot be deleted.").arg(RegFile::KeyText(QString())));
    return Modify([&](RegFile::Document& doc, bool& changed) {
        changed = doc.DeleteKey(path);
        return changed ? RegResult::Success() : NoKey(path);
    });
}

RegValueResult RegistryFile::ReadValue(const QString& path, const QString& name)
{
    if (const RegResult r = CheckValueName(path, name); !r.Ok())
        return With<RegValueResult>(r);
    const Loaded loaded = LoadWithKey(path);
    if (!loaded.result.Ok())
        return With<RegValueResult>(loaded.result);
    const std::optional<RegFile::Section> section = loaded.snapshot->KeySection(path);
    const RegFile::Entry* e = section ? section->FindValue(name) : nullptr;
    if (!e)
        return With<RegValueResult>(NoValue(path, name));
    RegValueResult r;
    r.value = e->value;
    return r;
}

RegResult RegistryFile::WriteValue(const QString& path, const QString& name, const RegValue& value)
{
    if (const RegResult r = CheckValueName(path, name); !r.Ok())
        return r;
    // Storing the value already there (a close storing what it read) takes no lock.
    if (const RegValueResult now = ReadValue(path, name); now.Ok() && now.value == value)
        return RegResult::Success();
    return Modify([&](RegFile::Document& doc, bool& changed) {
        if (!doc.KeyExists(path))
            return NoKey(path);
        const RegFile::Entry* old = doc.FindValue(path, name);
        if (old && old->value == value)
            return RegResult::Success();
        doc.SetValue(path, name, value);
        changed = true;
        return RegResult::Success();
    });
}

RegResult RegistryFile::DeleteValue(const QString& path, const QString& name)
{
    if (const RegResult r = CheckValueName(path, name); !r.Ok())
        return r;
    return Modify([&](RegFile::Document& doc, bool& changed) {
        if (!doc.KeyExists(path))
            return NoKey(path);
        changed = doc.DeleteValue(path, name);
        return changed ? RegResult::Success() : NoValue(path, name);
    });
}

RegResult RegistryFile::CheckWritable()
{
    const QFileInfo info(m_path);
    FileError why;
    if (info.isDir())
        why = FileError::Of(FileError::Kind::FolderInTheWay);
    else if (info.exists() && !info.isWritable())
        why = FileError::Of(FileError::Kind::AccessDenied); // SafeFile::Write refuses it
    else
        why = SafeFile::CheckCanCreateIn(info.absolutePath());
    if (why.Ok())
        return RegResult::Success();
    return RegResult::Fail(RegStatus::WriteFailed, QStringLiteral("%1 に書き込めません（%2）").arg(m_path, why.Reason()));
}

QList<RegResult> RegistryFile::WriteValues(const QList<RegWrite>& writes)
{
    QList<RegResult> results(writes.size());
    QList<qsizetype> pending; // the writes the file does not hold yet
    for (qsizetype i = 0; i < writes.size(); ++i) {
        const RegWrite& w = writes.at(i);
        results[i] = CheckValueName(w.path, w.name);
        if (!results.at(i).Ok())
            continue;
        // Storing the value already there takes no lock.
        if (const RegValueResult now = ReadValue(w.path, w.name); now.Ok() && now.value == w.value)
            continue;
        pending.append(i);
    }
    if (pending.isEmpty())
        return results;
    const RegResult r = Modify([&](RegFile::Document& doc, bool& changed) {
        for (const qsizetype i : std::as_const(pending)) {
            const RegWrite& w = writes.at(i);
            if (!doc.KeyExists(w.path)) {
                doc.CreateKey(w.path);
                changed = true;
            }
            const RegFile::Entry* old = doc.FindValue(w.path, w.name);
            if (old && old->value == w.value)
                continue;
            doc.SetValue(w.path, w.name, w.value);
            changed = true;
        }
        return RegResult::Success();
    });
    // One file holds them all: they are written together or not at all.
    if (!r.Ok()) {
        for (const qsizetype i : std::as_const(pending))
            results[i] = r;
    }
    return results;
}
