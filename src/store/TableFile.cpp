// SPDX-License-Identifier: MIT
#include "store/TableFile.h"

#include "platform/Cp932.h"
#include "platform/SafeFile.h"
#include "platform/TextLines.h"

// Qt
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace TableFile {

void Parse(const QByteArray& bytes, TextGrid& grid)
{
    QByteArrayView text(bytes);
    const qsizetype nul = text.indexOf('\0');
    if (nul >= 0)
        text = text.first(nul);

    const QList<QByteArrayView> lines = TextLines::Split(text);
    grid.SetRowCount(qMax<qsizetype>(1, lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // One conversion per line rather than per cell: a comma byte is never part of a
        // double-byte character (trail bytes start at 0x40), and a lead byte cut off by a
        // comma is kept as its raw byte either way, so the cells come out the same.
        const QByteArrayView bytes = lines.at(i);
        const qsizetype lastComma = bytes.lastIndexOf(',');
        const QString line = lastComma < 0 ? QString() : Cp932::Decode(bytes.data(), lastComma + 1);
        qsizetype start = 0;
        for (int c = 0; c < grid.ColCount(); ++c) {
            const qsizetype p = start < 0 ? -1 : line.indexOf(QLatin1Char(','), start);
            if (p < 0) {
                // No comma left: this cell and every later one of the row are empty.
                start = -1;
                grid.SetCell(c, int(i), QString());
                continue;
            }
            grid.SetCell(c, int(i), line.mid(start, p - start));
            start = p + 1;
        }
    }
    // A file of one line or none leaves a single, non-fixed row.
    if (grid.RowCount() <= grid.FixedRows())
        grid.SetFixedRows(grid.RowCount() - 1);
}

QByteArray Format(const TextGrid& grid)
{
    QByteArray out;
    for (int r = 0; r < grid.RowCount(); ++r) {
        for (int c = 0; c < grid.ColCount(); ++c) {
            out += Cp932::Encode(grid.Cell(c, r));
            out += ',';
        }
        out += "\r\n";
    }
    return out;
}

QString BackupPath(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const QString stem = dot > slash ? path.left(dot) : path;
    return stem + QStringLiteral("sav");
}

LoadResult Load(TextGrid& grid, const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return LoadResult::Missing;
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return LoadResult::Unreadable;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return LoadResult::Unreadable;
    Parse(bytes, grid);
    return LoadResult::Loaded;
}

bool Save(const TextGrid& grid, const QString& path, FileError* error, QString* why)
{
    // The backup keeps the oldest contents: an existing backup is never replaced. It is a
    // copy rather than the old file moved aside, so that the table file exists at every
    // moment: a process killed in the middle of the save leaves the old table or the new
    // one in place, never only the backup. It is written the same safe way as the table,
    // and a table whose backup cannot be made (a full disk that takes the small new table
    // but not a copy of the large old one) is not replaced: the old contents would be gone.
    FileError result;
    QString reason;
    const QString backup = BackupPath(path);
    if (QFileInfo(path).isFile() && !QFileInfo::exists(backup)) {
        QByteArray old;
        result = SafeFile::Read(path, old);
        if (!result.Ok()) {
            reason = QCoreApplication::translate("TableFile", "ファイルを読めないため、バックアップを作れません。%1").arg(result.ReadReason());
        } else {
            result = SafeFile::Write(backup, old);
            if (!result.Ok())
                reason = QCoreApplication::translate("TableFile", "バックアップ %1 を作れません。%2")
                             .arg(QFileInfo(backup).fileName(), result.Reason());
        }
    }
    if (result.Ok()) {
        result = SafeFile::Write(path, Format(grid));
        reason = result.Reason();
    }
    if (error)
        *error = result;
    if (why)
        *why = reason;
    return result.Ok();
}

} // namespace TableFile
