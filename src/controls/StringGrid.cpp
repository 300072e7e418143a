// SPDX-License-Identifier: MIT
#include "controls/StringGrid.h"

// Qt
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QValidator>

// own
#include "controls/AccessibleEvents.h"
#include "controls/GridAccessible.h"
#include "platform/Cp932.h"

namespace {

// Refuses any text with a character the table file cannot hold: "," separates the
// fields and a line break ends the row.
class StorableTextValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return TextGrid::IsStorableText(input) ? Acceptable : Invalid;
    }
};

// The in-place editor: a borderless line edit over the cell, in the grid's font.
class GridEditDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(
        QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        edit->setValidator(new StorableTextValidator(edit));
        // Every change reaches the cell at once, not only when the editor closes: the
        // game reads the score tables live, and an edit counts from the moment it is made.
        QAbstractItemModel* model = const_cast<QAbstractItemModel*>(index.model());
        const QPersistentModelIndex target(index);
        connect(edit, &QLineEdit::textEdited, edit, [model, target](const QString& text) {
            if (target.isValid())
                model->setData(target, text, Qt::EditRole);
        });
        return edit;
    }

    // Nothing to write when the editor closes: every change is in the cell already, and
    // writing the editor's text again could put back a text the cell has since been
    // given anew (a table reloaded while the editor was open).
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override { }

    void updateEditorGeometry(
        QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        // The cell without its grid lines: the view's rectangle includes them. Only
        // ordinary cells are edited, and they have lines only when every line is on.
        const auto* grid = qobject_cast<const TStringGrid*>(parent());
        const int line = grid && grid->Lines() == TStringGrid::glAll ? 1 : 0;
        editor->setGeometry(option.rect.adjusted(0, 0, -line, -line));
    }
};

} // namespace

// The fixed rows, painted above the scrolling rows: the view hides them and leaves this
// strip the space above its viewport.
class TStringGrid::FixedStrip : public QWidget
{
public:
    explicit FixedStrip(TStringGrid* grid)
        : QWidget(grid)
        , m_owner(grid)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter p(this);
        p.fillRect(event->rect(), m_owner->m_brushColor);
        const TextGrid* g = m_owner->m_grid;
        if (!g)
            return;
        const int fixedRows = qMin(m_owner->m_layoutFixedRows, g->RowCount());
        int y = 0;
        for (int r = 0; r < fixedRows; ++r) {
            const int h = m_owner->RowHeight(r) + m_owner->HorzLineWidth(true);
            for (int c = 0; c < g->ColCount(); ++c) {
                if (m_owner->isColumnHidden(c))
                    continue;
                const QRect section(m_owner->columnViewportPosition(c), y, m_owner->columnWidth(c), h);
                if (section.right() >= 0 && section.left() < width())
                    m_owner->PaintCell(p, c, r, section);
            }
            y += h;
        }
    }

private:
    TStringGrid* m_owner;
};

TStringGrid::TStringGrid(int colCount, int rowCount, QWidget* parent)
    : QTableView(parent)
{
    Init();
    // The classic grid starts with one fixed row and one fixed column.
    auto* own = new TextGrid(colCount, rowCount, this);
    own->SetFixedCols(1);
    Attach(own);
}

TStringGrid::TStringGrid(TextGrid* grid, QWidget* parent)
    : QTableView(parent)
{
    Init();
    Attach(grid);
}

TStringGrid::~TStringGrid() = default;

void TStringGrid::Init()
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    for (QHeaderView* header : { horizontalHeader(), verticalHeader() }) {
        header->setMinimumSectionSize(0);
        header->setSectionResizeMode(QHeaderView::Fixed);
    }
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerPixel);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectItems);
    setEditTriggers(NoEditTriggers);
    setItemDelegate(new GridEditDelegate(this));
    setTabKeyNavigation(false);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);

    m_strip = new FixedStrip(this);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, m_strip, qOverload<>(&QWidget::update));

    UpdatePaintTools();
    UpdateFrame();
}

void TStringGrid::SetGrid(TextGrid* grid)
{
    if (grid == m_grid)
        return;
    Attach(grid);
}

void TStringGrid::Attach(TextGrid* grid)
{
    for (const auto& c : std::as_const(m_gridConnections))
        disconnect(c);
    m_gridConnections.clear();
    m_grid = grid;
    setModel(grid);
    m_colWidths.clear();
    m_rowHeights.clear();
    if (grid) {
        auto sync = [this] { SyncLayout(); };
        m_gridConnections << connect(grid, &QAbstractItemModel::rowsInserted, this, sync)
                          << connect(grid, &QAbstractItemModel::rowsRemoved, this, sync)
                          << connect(grid, &QAbstractItemModel::modelReset, this, sync)
                          << connect(grid, &QAbstractItemModel::layoutChanged, this, sync)
                          << connect(grid, &TextGrid::FixedChanged, this, &TStringGrid::FixedChanged)
                          << connect(grid, &TextGrid::CurrentRowChanged, this, [this] { SyncCurrent(); })
                          << connect(grid, &QAbstractItemModel::dataChanged, m_strip,
                                 qOverload<>(&QWidget::update));
    }
    SyncLayout();
    SyncCurrent();
}

int TStringGrid::ColWidth(int col) const
{
    return col >= 0 && col < m_colWidths.size() ? m_colWidths.at(col) : m_defaultColWidth;
}

void TStringGrid::SetColWidth(int col, int width)
{
    if (col < 0 || col >= m_colWidths.size() || m_colWidths.at(col) == width)
        return;
    m_colWidths[col] = qMax(-1, width);
    SyncLayout();
}

void TStringGrid::SetColWidths(const QList<int>& widths)
{
    for (int c = 0; c < m_colWidths.size() && c < widths.size(); ++c)
        m_colWidths[c] = qMax(-1, widths.at(c));
    SyncLayout();
}

void TStringGrid::SetDefaultColWidth(int width)
{
    m_defaultColWidth = qMax(0, width);
    m_colWidths.fill(m_defaultColWidth);
    SyncLayout();
}

int TStringGrid::RowHeight(int row) const
{
    return row >= 0 && row < m_rowHeights.size() ? m_rowHeights.at(row) : m_defaultRowHeight;
}

void TStringGrid::SetRowHeight(int row, int height)
{
    if (row < 0 || row >= m_rowHeights.size() || m_rowHeights.at(row) == height)
        return;
    m_rowHeights[row] = qMax(0, height);
    SyncLayout();
}

void TStringGrid::SetDefaultRowHeight(int height)
{
    m_defaultRowHeight = qMax(0, height);
    m_rowHeights.fill(m_defaultRowHeight);
    SyncLayout();
}

void TStringGrid::SetColor(ColorValue color)
{
    if (color == m_color)
        return;
    m_color = color;
    UpdatePaintTools();
}

void TStringGrid::SetFixedColor(ColorValue color)
{
    if (color == m_fixedColor)
        return;
    m_fixedColor = color;
    UpdatePaintTools();
}

void TStringGrid::SetFontColor(ColorValue color)
{
    if (color == m_fontColor)
        return;
    m_fontColor = color;
    UpdatePaintTools();
}

void TStringGrid::SetLines(GridLines lines)
{
    if (lines == m_lines)
        return;
    m_lines = lines;
    SyncLayout();
    UpdatePaintTools();
}

void TStringGrid::SetRowSelect(bool on)
{
    if (on == m_rowSelect)
        return;
    m_rowSelect = on;
    viewport()->update();
}

void TStringGrid::SetFlat(bool flat)
{
    if (flat == m_flat)
        return;
    m_flat = flat;
    UpdateFrame();
    viewport()->update();
    m_strip->update();
}

bool TStringGrid::Editing() const
{
    return m_grid && m_grid->IsEditable();
}

void TStringGrid::SetEditing(bool on)
{
    if (m_grid)
        m_grid->SetEditable(on);
    setEditTriggers(on ? EditTriggers(DoubleClicked | SelectedClicked | EditKeyPressed | AnyKeyPressed)
                       : EditTriggers(NoEditTriggers));
}

void TStringGrid::SetDrawCell(DrawCellHook hook)
{
    m_drawCell = std::move(hook);
    viewport()->update();
    m_strip->update();
}

QRect TStringGrid::CellRect(int col, int row) const
{
    if (!m_grid || col < 0 || col >= m_grid->ColCount() || row < 0 || row >= m_grid->RowCount()
        || isColumnHidden(col))
        return {};
    QRect section;
    if (row < m_layoutFixedRows) {
        int y = 0;
        for (int r = 0; r < row; ++r)
            y += RowHeight(r) + HorzLineWidth(true);
        section = QRect(m_strip->pos() + QPoint(columnViewportPosition(col), y),
            QSize(columnWidth(col), RowHeight(row) + HorzLineWidth(true)));
    } else {
        if (isRowHidden(row))
            return {};
        section = QRect(viewport()->pos() + QPoint(columnViewportPosition(col), rowViewportPosition(row)),
            QSize(columnWidth(col), rowHeight(row)));
        if (!section.intersects(viewport()->geometry()))
            return {};
    }
    return section.adjusted(0, 0, -VertLineWidth(), -HorzLineWidth(row < m_layoutFixedRows));
}

void TStringGrid::DrawCellText(
    QPainter& painter, const QRect& rect, const QString& text, TAlignment alignment)
{
    if (text.isEmpty())
        return;
    const Qt::Alignment horizontal = alignment == taCenter ? Qt::AlignHCenter
        : alignment == taRightJustify                      ? Qt::AlignRight
                                                           : Qt::AlignLeft;
    // Without the single-line flag the classic bottom alignment had no effect: the text
    // starts 2 pixels below the cell's top. Qt clips to the rectangle when the text does
    // not fit, as DrawText did. Bytes of a file that were no text show as U+FFFD.
    painter.drawText(rect.adjusted(0, 2, 0, 0), int(horizontal | Qt::AlignTop | Qt::TextSingleLine),
        Cp932::ForDisplay(text));
}

QColor TStringGrid::LogCellColor(CellState state)
{
    const bool marked = (state & gdSelected) && SysColors::DesktopColorsInUse();
    return SysColors::ToQColor(marked ? SysColors::clHighlight : SysColors::clBtnShadow);
}

void TStringGrid::SyncLayout()
{
    if (!m_grid) {
        m_layoutFixedRows = 0;
        PlaceStrip();
        return;
    }
    const int cols = m_grid->ColCount();
    const int rows = m_grid->RowCount();
    // The text grid only ever adds and drops rows at the end.
    m_colWidths.resize(cols, m_defaultColWidth);
    m_rowHeights.resize(rows, m_defaultRowHeight);

    const int v = VertLineWidth();
    const int h = HorzLineWidth(false);
    horizontalHeader()->setDefaultSectionSize(m_defaultColWidth + v);
    verticalHeader()->setDefaultSectionSize(m_defaultRowHeight + h);
    for (int c = 0; c < cols; ++c) {
        const int w = m_colWidths.at(c);
        setColumnHidden(c, w < 0);
        if (w >= 0 && horizontalHeader()->sectionSize(c) != w + v)
            horizontalHeader()->resizeSection(c, w + v);
    }
    const int fixedRows = qMin(m_grid->FixedRows(), rows);
    for (int r = 0; r < rows; ++r) {
        const bool fixed = r < fixedRows;
        if (isRowHidden(r) != fixed)
            setRowHidden(r, fixed);
        if (!fixed && verticalHeader()->sectionSize(r) != m_rowHeights.at(r) + h)
            verticalHeader()->resizeSection(r, m_rowHeights.at(r) + h);
    }
    int stripHeight = 0;
    for (int r = 0; r < fixedRows; ++r)
        stripHeight += m_rowHeights.at(r) + HorzLineWidth(true);
    m_layoutFixedRows = fixedRows;
    m_stripHeight = stripHeight;
    updateGeometries();
    m_strip->update();
    viewport()->update();
    SyncCurrent();
}

void TStringGrid::FixedChanged()
{
    // The fixed rows decide the layout (hidden rows, the strip); the fixed columns only
    // how cells are painted, and the current cell stays where it is.
    if (m_grid && qMin(m_grid->FixedRows(), m_grid->RowCount()) != m_layoutFixedRows) {
        SyncLayout();
    } else {
        viewport()->update();
        m_strip->update();
    }
}

void TStringGrid::SyncCurrent()
{
    if (!m_grid || !selectionModel())
        return;
    const int row = m_grid->Row();
    if (row >= m_layoutFixedRows && row < m_grid->RowCount()) {
        int col = currentIndex().isValid() ? currentIndex().column() : m_grid->FixedCols();
        col = qBound(0, qMax(col, m_grid->FixedCols()), m_grid->ColCount() - 1);
        const QModelIndex index = m_grid->index(row, col);
        if (index != currentIndex())
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        scrollTo(index);
    }
    viewport()->update();
}

void TStringGrid::PlaceStrip()
{
    if (!m_strip)
        return; // the view lays itself out while it is being set up
    const QRect vp = viewport()->geometry();
    m_strip->setGeometry(vp.left(), vp.top() - m_stripHeight, vp.width(), m_stripHeight);
    m_strip->setVisible(m_stripHeight > 0);
}

void TStringGrid::UpdateFrame()
{
    if (m_flat) {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
        QPalette pal = palette();
        pal.setColor(QPalette::WindowText, Qt::black);
        setPalette(pal);
    } else {
        setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    }
}

void TStringGrid::UpdatePaintTools()
{
    const QColor color = SysColors::ToQColor(m_color);
    m_brushColor = QBrush(color);
    m_brushFixed = QBrush(SysColors::ToQColor(m_fixedColor));
    m_brushHighlight = QBrush(SysColors::ToQColor(SysColors::clHighlight));
    m_penFont = QPen(SysColors::ToQColor(m_fontColor));
    m_penHighlightText = QPen(SysColors::ToQColor(SysColors::clHighlightText));
    // Ordinary lines are silver, grey on a silver grid so that they still show.
    m_lineColor = SysColors::ToRgbValue(m_color) == SysColors::clSilver
        ? SysColors::ToQColor(SysColors::clGray)
        : SysColors::ToQColor(SysColors::clSilver);
    m_edgeLight = SysColors::ToQColor(SysColors::System(SysColors::ColorBtnHighlight));
    m_edgeShadow = SysColors::ToQColor(SysColors::System(SysColors::ColorBtnShadow));
    viewport()->update();
    if (m_strip)
        m_strip->update();
}

bool TStringGrid::IsFixed(int col, int row) const
{
    return m_grid && (row < m_grid->FixedRows() || col < m_grid->FixedCols());
}

int TStringGrid::CurrentCol() const
{
    return currentIndex().isValid() ? currentIndex().column() : (m_grid ? m_grid->FixedCols() : 0);
}

void TStringGrid::PaintCell(QPainter& p, int col, int row, const QRect& section) const
{
    const bool fixed = IsFixed(col, row);
    const bool current = row == m_grid->Row();
    CellState state;
    if (fixed) {
        state |= gdFixed;
    } else {
        if (current && (m_rowSelect || col == CurrentCol()))
            state |= gdSelected;
        if (current && col == CurrentCol() && hasFocus())
            state |= gdFocused;
    }

    // Grid lines: right and bottom of the cell, black around fixed cells.
    const int v = VertLineWidth();
    const int h = HorzLineWidth(row < m_layoutFixedRows);
    const QColor line = fixed ? QColor(Qt::black) : m_lineColor;
    if (v)
        p.fillRect(QRect(section.right(), section.top(), 1, section.height()), line);
    if (h)
        p.fillRect(QRect(section.left(), section.bottom(), section.width(), 1), line);
    const QRect where(section.left(), section.top(), section.width() - v, section.height() - h);
    if (where.isEmpty())
        return;

    const bool highlighted = (state & gdSelected) && (!(state & gdFocused) || m_rowSelect);
    p.setBrush(fixed ? m_brushFixed : highlighted ? m_brushHighlight : m_brushColor);
    p.setPen(highlighted ? m_penHighlightText : m_penFont);
    // Setting a font resolves a copy of it: only when a hook has changed it.
    if (p.font() != font())
        p.setFont(font());
    if (m_drawCell) {
        m_drawCell(p, col, row, where, state);
    } else {
        p.fillRect(where, p.brush());
        DrawCellText(p, where.adjusted(2, 0, 0, 0), m_grid->Cell(col, row), taLeftJustify);
    }

    // Fixed cells of a grid that is not flat get the raised edge the classic grid drew
    // over them: shadow right and bottom, light left and top.
    if (fixed && !m_flat && m_lines != glNone) {
        const bool vertEdge = m_lines == glAll;
        if (vertEdge)
            p.fillRect(QRect(where.right(), where.top(), 1, where.height()), m_edgeShadow);
        p.fillRect(QRect(where.left(), where.bottom(), where.width(), 1), m_edgeShadow);
        p.fillRect(QRect(where.left(), where.top(), where.width(), 1), m_edgeLight);
        if (vertEdge)
            p.fillRect(QRect(where.left(), where.top(), 1, where.height()), m_edgeLight);
    }
    // The focus frame of a cell-select grid, inverted dots as the classic focus rectangle.
    if ((state & gdFocused) && !m_rowSelect && QTableView::state() != EditingState) {
        p.save();
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        QPen dots(Qt::white);
        dots.setStyle(Qt::DotLine);
        p.setPen(dots);
        p.setBrush(Qt::NoBrush);
        p.drawRect(where.adjusted(0, 0, -1, -1));
        p.restore();
    }
}

void TStringGrid::paintEvent(QPaintEvent* event)
{
    QPainter p(viewport());
    const QRect area = event->rect();
    p.fillRect(area, m_brushColor);
    if (!m_grid || m_grid->RowCount() == 0)
        return;
    int firstRow = rowAt(area.top());
    int lastRow = rowAt(area.bottom());
    if (firstRow < 0)
        return;
    if (lastRow < 0)
        lastRow = m_grid->RowCount() - 1;
    int firstCol = columnAt(area.left());
    int lastCol = columnAt(area.right());
    if (firstCol < 0)
        return;
    if (lastCol < 0)
        lastCol = m_grid->ColCount() - 1;

    for (int r = firstRow; r <= lastRow; ++r) {
        if (isRowHidden(r))
            continue;
        const int y = rowViewportPosition(r);
        const int h = rowHeight(r);
        for (int c = firstCol; c <= lastCol; ++c) {
            if (isColumnHidden(c))
                continue;
            PaintCell(p, c, r, QRect(columnViewportPosition(c), y, columnWidth(c), h));
        }
    }
}

void TStringGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    PlaceStrip();
}

void TStringGrid::updateGeometries()
{
    // The table view sets the margins for its own headers here; ours hold the strip.
    QTableView::updateGeometries();
    if (viewportMargins().top() != m_stripHeight)
        setViewportMargins(0, m_stripHeight, 0, 0);
    PlaceStrip();
}

void TStringGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange && m_strip)
        m_strip->update();
    // The program's colours changed: the system colours resolve anew.
    if (event->type() == QEvent::PaletteChange)
        UpdatePaintTools();
}

void TStringGrid::mousePressEvent(QMouseEvent* event)
{
    // Fixed cells take no clicks.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && IsFixed(index.column(), index.row())) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && IsFixed(index.column(), index.row())) {
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

QModelIndex TStringGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    QModelIndex next = QTableView::moveCursor(cursorAction, modifiers);
    if (m_grid && next.isValid() && next.column() < m_grid->FixedCols()) {
        const QModelIndex now = currentIndex();
        next = now.isValid() && now.row() == next.row()
            ? now
            : m_grid->index(next.row(), qMin(m_grid->FixedCols(), m_grid->ColCount() - 1));
    }
    return next;
}

void TStringGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // Past QTableView's own: it tells a screen reader that the focus went to the new current
    // cell whether or not the grid has the focus, and a grid whose current row follows
    // something else (the move log follows every pick on the board) pulled the reader's
    // focus away with it. Told here only while the grid has the focus, of the cell as the
    // grid's table numbers its children (GridAccessible).
    QAbstractItemView::currentChanged(current, previous);
    if (current.isValid() && hasFocus()) {
        const int child = GridAccessible::ChildIndex(*this, current.column(), current.row());
        if (child >= 0) {
            QAccessibleEvent focus(this, QAccessible::Focus);
            focus.setChild(child);
            AccessibleEvents::Raise(focus);
        }
    }
    if (m_grid && current.isValid())
        m_grid->SetRow(current.row());
    // A row-select grid repaints whole rows, not just the two cells.
    viewport()->update();
}

void TStringGrid::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    // Past QTableView's own, which numbers the cells with its header cells among them: the
    // selection's first cell as the grid's table numbers its children.
    QAbstractItemView::selectionChanged(selected, deselected);
    const std::pair<const QItemSelection*, QAccessible::Event> changes[] = {
        { &selected, QAccessible::SelectionAdd }, { &deselected, QAccessible::SelectionRemove } };
    for (const auto& [selection, type] : changes) {
        const QModelIndex first = selection->indexes().value(0);
        const int child = first.isValid() ? GridAccessible::ChildIndex(*this, first.column(), first.row()) : -1;
        if (child >= 0 && AccessibleEvents::Listening()) {
            QAccessibleEvent event(this, type);
            event.setChild(child);
            AccessibleEvents::Raise(event);
        }
    }
}

void TStringGrid::hideEvent(QHideEvent* event)
{
    // A hidden grid keeps no editor open; its text is in the cell already.
    if (QTableView::state() == EditingState) {
        const QList<QLineEdit*> editors = viewport()->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly);
        for (QLineEdit* editor : editors)
            closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    QTableView::hideEvent(event);
}

void TStringGrid::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    viewport()->update();
}

void TStringGrid::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}
