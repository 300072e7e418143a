// SPDX-License-Identifier: MIT
#include "game/TextGrid.h"

TextGrid::TextGrid(int colCount, int rowCount, QObject* parent)
    : QAbstractTableModel(parent)
    , m_colCount(qMax(1, colCount))
{
    m_cells.resize(qMax(1, rowCount));
    for (auto& row : m_cells)
        row.resize(m_colCount);
}

void TextGrid::SetRowCount(int rows)
{
    rows = qMax(1, rows);
    const int old = RowCount();
    if (rows == old)
        return;
    ++m_revision;
    if (rows > old) {
        beginInsertRows({}, old, rows - 1);
        m_cells.resize(rows);
        for (int r = old; r < rows; ++r)
            m_cells[r].resize(m_colCount);
        endInsertRows();
    } else {
        beginRemoveRows({}, rows, old - 1);
        m_cells.resize(rows);
        endRemoveRows();
        if (m_row >= rows)
            SetRow(rows - 1);
    }
}

void TextGrid::SetFixedRows(int rows)
{
    rows = qBound(0, rows, RowCount());
    if (rows == m_fixedRows)
        return;
    m_fixedRows = rows;
    emit FixedChanged();
}

void TextGrid::SetFixedCols(int cols)
{
    cols = qBound(0, cols, m_colCount);
    if (cols == m_fixedCols)
        return;
    m_fixedCols = cols;
    emit FixedChanged();
}

QString TextGrid::Cell(int col, int row) const
{
    if (col < 0 || col >= m_colCount || row < 0 || row >= RowCount())
        return {};
    return m_cells[row][col];
}

void TextGrid::SetCell(int col, int row, const QString& text)
{
    if (col < 0 || col >= m_colCount || row < 0 || row >= RowCount())
        return;
    QString& cell = m_cells[row][col];
    if (cell == text)
        return;
    cell = text;
    ++m_revision;
    const QModelIndex i = index(row, col);
    emit dataChanged(i, i);
}

void TextGrid::ClearRow(int row)
{
    for (int c = 0; c < m_colCount; ++c)
        SetCell(c, row, QString());
}

void TextGrid::CopyRow(int from, int to)
{
    for (int c = 0; c < m_colCount; ++c)
        SetCell(c, to, Cell(c, from));
}

void TextGrid::SetRow(int row)
{
    if (row == m_row)
        return;
    m_row = row;
    emit CurrentRowChanged(row);
}

bool TextGrid::IsStorableText(const QString& text)
{
    return !text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('\r'))
        && !text.contains(QLatin1Char('\n')) && !text.contains(QChar(0));
}

int TextGrid::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RowCount();
}

int TextGrid::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_colCount;
}

QVariant TextGrid::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return Cell(index.column(), index.row());
}

bool TextGrid::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString text = value.toString();
    if (!IsStorableText(text))
        return false;
    SetCell(index.column(), index.row(), text);
    return true;
}

Qt::ItemFlags TextGrid::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_editable && index.row() >= m_fixedRows && index.column() >= m_fixedCols)
        f |= Qt::ItemIsEditable;
    return f;
}
