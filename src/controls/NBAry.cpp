// SPDX-License-Identifier: MIT
// TNBAry: building and clearing the cells, the top and left alignment of strips and
// cells, and the resize arithmetic.
#include "controls/NBAry.h"

// Qt
#include <QMouseEvent>
// own
#include "controls/BrimBtn.h"
#include "controls/ShiftState.h"

TNBAry::TNBAry(QWidget* parent)
    : Panel(parent)
{
    SetBevelOuter(bvLowered);
    resize(width(), 82);
    Clear();
    Build();
}

void TNBAry::SetColCount(int count)
{
    count = qBound(0, count, MaxCount);
    if (count == m_colCount)
        return;
    m_colCount = count;
    update();
    Clear();
    Build();
}

void TNBAry::SetRowCount(int count)
{
    count = qBound(0, count, MaxCount);
    if (count == m_rowCount)
        return;
    m_rowCount = count;
    update();
    Clear();
    Build();
}

TBrimBtn* TNBAry::Buttons(int col, int row) const
{
    if (col < 0 || col >= m_colCount || row < 0 || row >= m_rowCount)
        return nullptr;
    return m_cells[size_t(col)][size_t(row)];
}

Panel* TNBAry::RowStrip(int row) const
{
    return row >= 0 && row < m_rowCount ? m_strips[size_t(row)] : nullptr;
}

void TNBAry::Clear()
{
    // A rebuild may come from a cell's own press handler (a click that changes the
    // counts), so the old strips go hidden now and are destroyed, with their cells, once
    // control is back in the event loop.
    for (int r = 0; r < m_builtRows; ++r) {
        Panel* strip = m_strips[size_t(r)];
        strip->hide();
        strip->deleteLater();
        m_strips[size_t(r)] = nullptr;
        for (int c = 0; c < m_builtCols; ++c)
            m_cells[size_t(c)][size_t(r)] = nullptr;
    }
    m_builtRows = 0;
    m_builtCols = 0;
}

void TNBAry::Build()
{
    // The cells take the array's font as it is now; a later font change of the array
    // reaches them only through a rebuild.
    QFont cellFont = font();
    cellFont.setResolveMask(QFont::AllPropertiesResolved);
    for (int r = 0; r < m_rowCount; ++r) {
        auto* strip = new Panel(this);
        m_strips[size_t(r)] = strip;
        for (int c = 0; c < m_colCount; ++c) {
            auto* cell = new TBrimBtn(strip);
            m_cells[size_t(c)][size_t(r)] = cell;
            cell->setFont(cellFont);
            cell->SetFontColor(FontColor());
            connect(cell, &TBrimBtn::MouseDown, this, &TNBAry::CellMouseDown);
            cell->SetCol(c);
            cell->SetRow(r);
            cell->SetChangeColor(m_changeColor);
            cell->SetTag(CellTag(c, r, m_colCount));
            cell->show();
        }
        strip->show();
    }
    m_builtRows = m_rowCount;
    m_builtCols = m_colCount;
    Realign();
}

// Strips are aligned to the top: each spans the array's inner width and follows the one
// above it. Cells are aligned to the left: each spans its strip's inner height and
// follows the one left of it. Heights of strips and widths of cells are their own.
void TNBAry::Realign()
{
    const QRect inner = InnerRect();
    int y = inner.top();
    for (int r = 0; r < m_builtRows; ++r) {
        Panel* strip = m_strips[size_t(r)];
        strip->setGeometry(inner.left(), y, qMax(0, inner.width()), strip->height());
        y += strip->height();
        const QRect stripInner = strip->InnerRect();
        int x = stripInner.left();
        for (int c = 0; c < m_builtCols; ++c) {
            TBrimBtn* cell = m_cells[size_t(c)][size_t(r)];
            cell->setGeometry(x, stripInner.top(), cell->width(), qMax(0, stripInner.height()));
            x += cell->width();
        }
    }
}

// Every strip gets Height div RowCount of the array's outer height and every cell its
// strip's width div ColCount; the remainders go to nobody.
void TNBAry::ResizeCells()
{
    if (m_colCount < 1 || m_rowCount < 1)
        return;
    for (int r = 0; r < m_rowCount; ++r) {
        Panel* strip = m_strips[size_t(r)];
        strip->resize(strip->width(), height() / m_rowCount);
        for (int c = 0; c < m_colCount; ++c) {
            TBrimBtn* cell = m_cells[size_t(c)][size_t(r)];
            cell->resize(strip->width() / m_colCount, cell->height());
        }
    }
    Realign();
}

void TNBAry::resizeEvent(QResizeEvent* event)
{
    Panel::resizeEvent(event);
    ResizeCells();
}

void TNBAry::CellMouseDown(TBrimBtn* cell, int button, int shift, int x, int y)
{
    m_currentCol = cell->Col();
    m_currentRow = cell->Row();
    const QPoint pos = cell->mapTo(this, QPoint(x, y));
    emit MouseDown(this, button, shift, pos.x(), pos.y());
}

void TNBAry::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint pos = event->position().toPoint();
    emit MouseDown(
        this, ShiftState::ButtonCode(event->button()), ShiftState::FromEvent(*event), pos.x(), pos.y());
}

void TNBAry::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint pos = event->position().toPoint();
    emit MouseDown(
        this, ShiftState::ButtonCode(event->button()), ShiftState::FromEvent(*event, true), pos.x(), pos.y());
}
