// SPDX-License-Identifier: MIT
// The portable registry: the user's keys kept in one text file in the format of a regedit
// export (REGEDIT4), Shift-JIS, CR LF. This is the file backend: it reads and writes the
// file; what its lines say is RegFileLines.h, and the keys and values made of them, with
// the policy for damaged and hand-edited files, RegFileDocument.h.
//
// Every operation looks at the file again, so a value written by another running copy of
// the game is seen at once. What was learnt from the file (its outline: where each key's
// lines lie, and the values of the keys read so far) is kept, per path for the whole
// process, and used again while the file is the same (same size, times and inode, and, for
// a file changed moments before it was read, the same bytes): a read is a lookup, and the
// values of keys the game never reads are never parsed. Every change is a
// read-modify-write under a QLockFile beside the file ("registry.reg.lock"), on the whole
// file as it is then, written through SafeFile (a temporary file renamed over the old
// one), so two copies never lose each other's values and a crash leaves either the old
// file or the new one. A file that exists but cannot be read is never written over.
//
// Failures are reported, never thrown: key paths and value names the file cannot hold
// exactly are InvalidName; a file that cannot be read (a folder in its place, too large, no
// permission) is Unreadable; a change that could not be stored is WriteFailed (or Busy when
// another copy held the lock too long), with a message in Japanese naming the file and why.
#pragma once

#include "platform/Registry.h"

// Qt
#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace RegFile {
class Document;
}

class RegistryFile final : public Registry
{
public:
    explicit RegistryFile(const QString& filePath);

    QString FilePath() const { return m_path; }

    RegResult OpenKey(const QString& path, RegOpen mode) override;
    RegNamesResult SubKeyNames(const QString& path) override;
    RegNamesResult ValueNames(const QString& path) override;
    RegResult DeleteKey(const QString& path) override;
    RegValueResult ReadValue(const QString& path, const QString& name) override;
    RegResult WriteValue(const QString& path, const QString& name, const RegValue& value) override;
    RegResult DeleteValue(const QString& path, const QString& name) override;
    // The file's folder (or where it would be made) takes no new file, or the file is a
    // folder or may not be written.
    RegResult CheckWritable() override;
    QList<RegResult> WriteValues(const QList<RegWrite>& writes) override;

    // Files beyond this size are not ours: they are reported unreadable and left alone.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
    // How long a change waits for another copy of the game to finish its own.
    static constexpr int LockWaitMs = 10000;
    static constexpr int StaleLockMs = 4000;

    // A file changed less than this long before it was read may change again within the
    // same file time (file times are as coarse as two seconds on some file systems), so
    // its parse is used again only after its bytes were compared.
    static constexpr qint64 RecentChangeMs = 3000;

    struct Snapshot;

private:
    // The result of a load, what was kept of the file, and for a change the whole file parsed.
    struct Loaded;
    // The file's outline, kept from an earlier read while the file is the same. forChange
    // reads the bytes whatever the file's times say, and parses them whole.
    Loaded Load(bool forChange = false) const;
    // The outline for a read in the key `path`: the load's failure, or NoKey when the key is
    // not there.
    Loaded LoadWithKey(const QString& path) const;
    // Runs change on the file as it is under the lock, parsed whole, and writes the result
    // back when change reports success and has set its flag to say that it changed
    // something.
    RegResult Modify(const std::function<RegResult(RegFile::Document&, bool& changed)>& change);

    QString m_path;
    mutable std::shared_ptr<const Snapshot> m_snapshot;
};
