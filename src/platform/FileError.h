// SPDX-License-Identifier: MIT
// Why a file could not be written (or read), as a kind the program can act on and as the Japanese
// reason a message box gives. Every message about a file the program could not save takes
// its reason from here, so the player never sees the system's English texts.
#pragma once

// Qt
#include <QString>

struct FileError
{
    enum class Kind {
        None,
        NoSpace, // the disk is full
        Quota, // the user's disk quota is used up
        AccessDenied, // no permission to write the file or its folder
        ReadOnlyFileSystem,
        FolderInTheWay, // a folder has the file's name
        NoFolder, // the folder the file belongs in does not exist
        Io, // the device reported an error, or the data did not all reach the disk
        Other,
    };

    Kind kind = Kind::None;
    int code = 0; // the system's error number, 0 when there is none

    bool Ok() const { return kind == Kind::None; }

    // The kind of a system error number (errno), which it keeps for the generic reason.
    static FileError FromErrno(int code);
    static FileError Of(Kind kind) { return { kind, 0 }; }

    // A short Japanese reason: "ディスクの空き容量が足りません" and the like.
    QString Reason() const;
    // The same for a file that could not be read: "読み取る権限がありません" and the like.
    QString ReadReason() const;
};
