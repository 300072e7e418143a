// SPDX-License-Identifier: MIT
#include "platform/FileError.h"

// Qt
#include <QCoreApplication>

#include <cerrno>

FileError FileError::FromErrno(int code)
{
    Kind kind = Kind::Other;
    switch (code) {
    case 0:
        kind = Kind::None;
        break;
    case ENOSPC:
        kind = Kind::NoSpace;
        break;
#ifdef EDQUOT
    case EDQUOT:
        kind = Kind::Quota;
        break;
#endif
    case EACCES:
    case EPERM:
        kind = Kind::AccessDenied;
        break;
    case EROFS:
        kind = Kind::ReadOnlyFileSystem;
        break;
    case EISDIR:
        kind = Kind::FolderInTheWay;
        break;
    case ENOENT:
    case ENOTDIR:
        kind = Kind::NoFolder;
        break;
    case EIO:
        kind = Kind::Io;
        break;
    default:
        break;
    }
    return { kind, code };
}

QString FileError::Reason() const
{
    switch (kind) {
    case Kind::None:
        return {};
    case Kind::NoSpace:
        return QCoreApplication::translate("FileError", "ディスクの空き容量が足りません");
    case Kind::Quota:
        return QCoreApplication::translate("FileError", "ディスクの使用量の上限（クォータ）を超えています");
    case Kind::AccessDenied:
        return QCoreApplication::translate("FileError", "書き込む権限がありません");
    case Kind::ReadOnlyFileSystem:
        return QCoreApplication::translate("FileError", "読み取り専用のディスクです");
    case Kind::FolderInTheWay:
        return QCoreApplication::translate("FileError", "同じ名前のフォルダーがあります");
    case Kind::NoFolder:
        return QCoreApplication::translate("FileError", "保存先のフォルダーがありません");
    case Kind::Io:
        return QCoreApplication::translate("FileError", "ディスクの読み書きでエラーが起きました");
    case Kind::Other:
        break;
    }
    return code != 0 ? QCoreApplication::translate("FileError", "ファイルに書き込めませんでした（エラー番号 %1）").arg(code)
                     : QCoreApplication::translate("FileError", "ファイルに書き込めませんでした");
}

QString FileError::ReadReason() const
{
    switch (kind) {
    case Kind::AccessDenied:
        return QCoreApplication::translate("FileError", "読み取る権限がありません");
    case Kind::NoFolder:
        return QCoreApplication::translate("FileError", "フォルダーがありません");
    case Kind::Other:
        return code != 0 ? QCoreApplication::translate("FileError", "ファイルを読めませんでした（エラー番号 %1）").arg(code)
                         : QCoreApplication::translate("FileError", "ファイルを読めませんでした");
    default:
        // A full disk or a read-only one does not stop a read; the device's error and a
        // folder in the file's place read the same either way.
        return Reason();
    }
}
