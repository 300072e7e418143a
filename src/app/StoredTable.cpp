// SPDX-License-Identifier: MIT
#include "app/StoredTable.h"

StoredTable::StoredTable(const QString& path, int colCount, int rowCount)
    : m_grid(colCount, rowCount)
    , m_path(path)
{
}

TableFile::LoadResult StoredTable::Load()
{
    const TableFile::LoadResult result = TableFile::Load(m_grid, m_path);
    if (result == TableFile::LoadResult::Loaded)
        m_inStepAt = m_grid.Revision();
    return result;
}

bool StoredTable::Save(QString* why)
{
    FileError error;
    if (!TableFile::Save(m_grid, m_path, &error)) {
        if (why)
            *why = error.Reason();
        return false;
    }
    m_inStepAt = m_grid.Revision();
    return true;
}
