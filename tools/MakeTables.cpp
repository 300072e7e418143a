// SPDX-License-Identifier: MIT
// Writes the default score-table files "SG1.dat", "SG2.dat" and "SG3.dat" into the given
// folder, each only when it is missing: a player must never start with empty score tables,
// and tables a player has edited are never overwritten.

#include "game/ScoreTables.h"
#include "store/TableFile.h"

// Qt
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(folder);
    int failures = 0;
    for (int kind = 1; kind <= 3; ++kind) {
        const QString path = QDir(folder).filePath(ScoreTables::FileName(kind));
        if (QFileInfo::exists(path))
            continue;
        TextGrid table(ScoreTables::Columns, ScoreTables::InitialRowCount(kind));
        ScoreTables::FillDefaults(kind, table);
        FileError error;
        if (!TableFile::Save(table, path, &error)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(error.Reason()));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
