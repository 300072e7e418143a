// SPDX-License-Identifier: MIT
// The table file: the text format of the score tables and the ranking. One line per grid
// row, each cell followed by ",", every line ended by CR LF, Shift-JIS, no quoting. A save
// first copies an existing file to its backup ("SG1.dat" -> "SG1sav") unless a backup is
// already there, so the backup keeps the oldest contents; a file it cannot back up is not
// replaced.
#pragma once

#include "game/TextGrid.h"
#include "platform/FileError.h"

// Qt
#include <QByteArray>
#include <QString>

namespace TableFile {

// Parses bytes into the grid: lines split at CR LF, lone CR and lone LF, a NUL ends the
// text; each line gives its columns up to each ","; the row count becomes the number of
// lines (at least 1). Any byte sequence is accepted.
void Parse(const QByteArray& bytes, TextGrid& grid);

// The file's bytes for a grid.
QByteArray Format(const TextGrid& grid);

// "SG1.dat" -> "SG1sav": the extension (the last "." and what follows) becomes "sav".
QString BackupPath(const QString& path);

enum class LoadResult { Loaded, Missing, Unreadable };
// Reads the file into the grid. A missing file leaves the grid as it was; so does one that
// cannot be read (a folder, no permission), which is reported as Unreadable.
LoadResult Load(TextGrid& grid, const QString& path);

// Keeps the backup, then writes the grid safely: the file is replaced only once the new
// contents are all on disk, so a full disk or a crash never leaves a half-written table or
// none at all, and never before its backup is made. False when the file could not be
// written: the file and its backup are then as they were, error says why, and why says it
// in Japanese for the player (naming the backup when it was the backup that failed).
bool Save(const TextGrid& grid, const QString& path, FileError* error = nullptr, QString* why = nullptr);

} // namespace TableFile
