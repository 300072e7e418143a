// SPDX-License-Identifier: MIT
// A grid kept in a table file (store/TableFile.h), and whether the grid holds anything its
// file does not. Saving only such a grid means that two copies of the program running at
// once each write the tables they changed, and neither puts its stale copy of a table over
// the other's edit.
#pragma once

#include "game/TextGrid.h"
#include "store/TableFile.h"

// Qt
#include <QString>

#include <optional>

class StoredTable
{
public:
    // readPath: where to read the table while path has no file (the copy the data folder
    // could not be seeded from); empty for none.
    StoredTable(const QString& path, int colCount, int rowCount, const QString& readPath = QString());

    TextGrid& Grid() { return m_grid; }
    const TextGrid& Grid() const { return m_grid; }
    const QString& Path() const { return m_path; }
    // The file the table is read from: its own, or while it has none, the seed's copy.
    QString ReadPath() const;

    // Reads the file into the grid; a missing or unreadable file leaves the grid as it was.
    TableFile::LoadResult Load();
    // Writes the grid (keeping the backup); false, with the reason in why, when it could
    // not be written.
    bool Save(QString* why = nullptr);
    // Whether the grid changed since its file was last read or written. A grid whose file
    // has been neither read nor written in this run counts as changed: the file does not
    // hold it.
    bool Edited() const { return !m_inStepAt || *m_inStepAt != m_grid.Revision(); }

private:
    TextGrid m_grid;
    QString m_path;
    QString m_readPath;
    // The grid's revision when it last matched its file.
    std::optional<quint64> m_inStepAt;
};
