// SPDX-License-Identifier: MIT
#include "app/StoredTable.h"

// Qt
#include <QFileInfo>

StoredTable::StoredTable(const QString& path, int colCount, int rowCount, const QString& readPath)
    : m_grid(colCount, rowCount)
    , m_path(path)
    , m_readPath(readPath)
{
}

QString StoredTable::ReadPath() const
{
    return m_readPath.isEmpty() || QFileInfo::exists(m_path) ? m_path : m_readPath;
}

TableFile::LoadResult StoredTable::Load()
{
    const QString from = ReadPath();
    const bool fromSeed = from != m_path;
    const TableFile::LoadResult result = TableFile::Load(m_grid, from);
    // The seed's copy is not in the file: the grid still counts as changed.
    if (result == TableFile::LoadResult::Loaded && !fromSeed)
        m_inStepAt = m_grid.Revision();
    return result;
}

bool StoredTable::Save(QString* why)
{
    if (!TableFile::Save(m_grid, m_path, nullptr, why))
        return false;
    m_inStepAt = m_grid.Revision();
    return true;
}
