// SPDX-License-Identifier: MIT
#include "controls/GridAccessible.h"

// Qt
#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWindow>

// own
#include "controls/StringGrid.h"
#include "game/TextGrid.h"

namespace {

// The grid's cells; an empty table stands in while it has none.
const TextGrid& Model(const TStringGrid& grid)
{
    static const TextGrid none(0, 0);
    return grid.Grid() ? *grid.Grid() : none;
}

// The columns a reader is shown: those not hidden (a width of -1).
QList<int> ShownColumns(const TStringGrid& grid)
{
    QList<int> shown;
    for (int c = 0; c < Model(grid).ColCount(); ++c)
        if (grid.ColWidth(c) >= 0)
            shown << c;
    return shown;
}

class GridTable;

class GridCell : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    GridCell(TStringGrid* grid, int col, int row)
        : m_grid(grid)
        , m_col(col)
        , m_row(row)
    {
    }

    bool isValid() const override
    {
        return m_grid && m_row < Model(*m_grid).RowCount() && m_col < Model(*m_grid).ColCount() && m_grid->ColWidth(m_col) >= 0;
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_grid); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? Model(*m_grid).Cell(m_col, m_row) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override
    {
        if (!isValid() || !m_grid->isVisible())
            return QRect();
        const QRect cell = m_grid->CellRect(m_col, m_row);
        return cell.isEmpty() ? QRect() : QRect(m_grid->mapToGlobal(cell.topLeft()), cell.size());
    }

    QAccessible::Role role() const override
    {
        if (isValid() && m_row < Model(*m_grid).FixedRows())
            return QAccessible::ColumnHeader;
        if (isValid() && m_col < Model(*m_grid).FixedCols())
            return QAccessible::RowHeader;
        return QAccessible::Cell;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid())
            return s;
        s.invisible = rect().isEmpty();
        if (m_row < Model(*m_grid).FixedRows() || m_col < Model(*m_grid).FixedCols())
            return s;
        const bool current = m_row == Model(*m_grid).Row();
        s.selectable = true;
        s.focusable = m_grid->focusPolicy() != Qt::NoFocus;
        s.selected = current && (m_grid->RowSelect() || m_col == m_grid->CurrentCol());
        s.focused = current && m_col == m_grid->CurrentCol() && m_grid->hasFocus();
        s.editable = m_grid->Editing();
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        return t == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    }

    // --- the table cell
    bool isSelected() const override { return state().selected; }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override { return m_grid ? int(ShownColumns(*m_grid).indexOf(m_col)) : -1; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    int Col() const { return m_col; }
    int Row() const { return m_row; }

private:
    QPointer<TStringGrid> m_grid;
    int m_col;
    int m_row;
};

class GridTable : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit GridTable(TStringGrid* grid)
        : QAccessibleWidget(grid, QAccessible::Table)
    {
    }
    ~GridTable() override { Forget(); }

    TStringGrid* Grid() const { return static_cast<TStringGrid*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // --- the cells as children
    int childCount() const override { return Model(*Grid()).RowCount() * int(ShownColumns(*Grid()).size()); }
    QAccessibleInterface* child(int index) const override
    {
        const QList<int> shown = ShownColumns(*Grid());
        if (index < 0 || shown.isEmpty() || index >= childCount())
            return nullptr;
        return Cell(shown.at(index % shown.size()), index / int(shown.size()));
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child || child->parent() != this || child->object())
            return -1;
        const auto* cell = static_cast<const GridCell*>(child);
        return GridAccessible::ChildIndex(*Grid(), cell->Col(), cell->Row());
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QModelIndex index = Grid()->indexAt(Grid()->viewport()->mapFromGlobal(QPoint(x, y)));
        return index.isValid() ? Cell(index.column(), index.row()) : nullptr;
    }
    QAccessibleInterface* focusChild() const override
    {
        if (!Grid()->hasFocus())
            return nullptr;
        return Cell(Grid()->CurrentCol(), Model(*Grid()).Row());
    }

    // --- the table
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        const QList<int> shown = ShownColumns(*Grid());
        return column >= 0 && column < shown.size() ? Cell(shown.at(column), row) : nullptr;
    }
    int columnCount() const override { return int(ShownColumns(*Grid()).size()); }
    int rowCount() const override { return Model(*Grid()).RowCount(); }
    QString columnDescription(int) const override { return QString(); }
    QString rowDescription(int) const override { return QString(); }
    int selectedCellCount() const override { return int(selectedCells().size()); }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        QList<QAccessibleInterface*> cells;
        for (int c = 0; c < columnCount(); ++c)
            if (QAccessibleInterface* cell = cellAt(Model(*Grid()).Row(), c); cell && cell->state().selected)
                cells << cell;
        return cells;
    }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return Grid()->RowSelect() && Model(*Grid()).Row() >= Model(*Grid()).FixedRows() ? 1 : 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        return selectedRowCount() ? QList<int> { Model(*Grid()).Row() } : QList<int>();
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override { return selectedRowCount() && row == Model(*Grid()).Row(); }
    // The current row is the program's to move: a reader only reads it.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // Rows and columns come and go: the cells are made again as they are asked for.
    void modelChange(QAccessibleTableModelChangeEvent* event) override
    {
        if (event->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged)
            Forget();
    }

private:
    GridCell* Cell(int col, int row) const
    {
        if (row < 0 || row >= Model(*Grid()).RowCount() || col < 0 || col >= Model(*Grid()).ColCount())
            return nullptr;
        const quint64 key = (quint64(quint32(row)) << 32) | quint32(col);
        auto found = m_cells.constFind(key);
        if (found != m_cells.constEnd())
            if (QAccessibleInterface* cell = QAccessible::accessibleInterface(found.value()))
                return static_cast<GridCell*>(cell);
        auto* cell = new GridCell(Grid(), col, row);
        m_cells.insert(key, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }

    void Forget()
    {
        for (QAccessible::Id id : std::as_const(m_cells))
            QAccessible::deleteAccessibleInterface(id);
        m_cells.clear();
    }

    mutable QHash<quint64, QAccessible::Id> m_cells;
};

QList<QAccessibleInterface*> GridCell::columnHeaderCells() const
{
    QList<QAccessibleInterface*> cells;
    auto* table = m_grid ? static_cast<GridTable*>(parent()) : nullptr;
    if (!table)
        return cells;
    const int column = columnIndex();
    for (int r = 0; r < Model(*m_grid).FixedRows() && r != m_row; ++r)
        if (QAccessibleInterface* cell = table->cellAt(r, column))
            cells << cell;
    return cells;
}

QList<QAccessibleInterface*> GridCell::rowHeaderCells() const
{
    QList<QAccessibleInterface*> cells;
    auto* table = m_grid ? static_cast<GridTable*>(parent()) : nullptr;
    if (!table)
        return cells;
    const QList<int> shown = ShownColumns(*m_grid);
    for (int i = 0; i < shown.size() && shown.at(i) < Model(*m_grid).FixedCols() && shown.at(i) != m_col; ++i)
        if (QAccessibleInterface* cell = table->cellAt(m_row, i))
            cells << cell;
    return cells;
}

QAccessibleInterface* Factory(const QString& /*className*/, QObject* object)
{
    if (auto* grid = qobject_cast<TStringGrid*>(object))
        return new GridTable(grid);
    return nullptr;
}

} // namespace

namespace GridAccessible {

void InstallFactory()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(Factory);
        installed = true;
    }
}

int ChildIndex(const TStringGrid& grid, int col, int row)
{
    const QList<int> shown = ShownColumns(grid);
    const int at = int(shown.indexOf(col));
    if (at < 0 || row < 0 || row >= Model(grid).RowCount())
        return -1;
    return row * int(shown.size()) + at;
}

} // namespace GridAccessible
