// SPDX-License-Identifier: MIT
// A grid of texts: columns x rows of QString cells, a row count, fixed (header) rows and
// columns, and a current row. It is the model behind every string grid of the game: the
// move log, the three score tables and the ranking. Cells are addressed (column, row),
// column first, as the game's own code addresses them.
//
// Every change says so, so that a view can follow it without polling: a cell through
// dataChanged, rows added or dropped through rowsInserted and rowsRemoved, the fixed rows
// and columns through FixedChanged, the current row through CurrentRowChanged. The column
// count is set once, at construction.
#pragma once

// Qt
#include <QAbstractTableModel>
#include <QString>
#include <QVector>

class TextGrid : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit TextGrid(int colCount, int rowCount, QObject* parent = nullptr);

    int ColCount() const { return m_colCount; }
    int RowCount() const { return int(m_cells.size()); }
    // Rows added at the end are empty; rows dropped from the end lose their cells. A row
    // count below 1 becomes 1.
    void SetRowCount(int rows);

    int FixedRows() const { return m_fixedRows; }
    void SetFixedRows(int rows);
    int FixedCols() const { return m_fixedCols; }
    void SetFixedCols(int cols);

    // Out-of-range cells read as empty and ignore writes.
    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString& text);
    void ClearRow(int row);
    void CopyRow(int from, int to);

    // Counts the changes of cells and of the row count, so that whoever keeps the grid in
    // a file can tell whether it changed since the file was read or written.
    quint64 Revision() const { return m_revision; }

    // The current row of the grid (the highlighted row of a row-select grid).
    int Row() const { return m_row; }
    void SetRow(int row);

    // Whether the player may edit the non-fixed cells. Edits may not hold "," or a line
    // break: the table file format has no escaping, and such a text would shift the
    // cells of its row when read back.
    void SetEditable(bool editable) { m_editable = editable; }
    bool IsEditable() const { return m_editable; }
    static bool IsStorableText(const QString& text);

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void CurrentRowChanged(int row);
    // The fixed rows or the fixed columns changed.
    void FixedChanged();

private:
    int m_colCount;
    int m_fixedRows = 1;
    int m_fixedCols = 0;
    int m_row = 1;
    bool m_editable = false;
    quint64 m_revision = 0;
    QVector<QVector<QString>> m_cells; // [row][col]
};
