// SPDX-License-Identifier: MIT
// TNBAry: a panel that owns a ColCount x RowCount grid of TBrimBtn cells. Each row of
// cells stands on a row strip (a plain Panel) stacked from the top inside the array's
// bevel; the cells of a row stand side by side from the left edge of their strip. The
// array creates and destroys the cells itself whenever a count changes and divides its
// height among the strips and each strip's width among its cells whenever it is resized.
// The main window's element strip GSG is one: 5 x 1, showing the element counts.
//
// Cell tags run row by row with a stride of ColCount + 1: a 5 x 1 array numbers its cells
// 1..5, a 3 x 3 array 1, 2, 3 / 5, 6, 7 / 9, 10, 11.
#pragma once

// own
#include "controls/Panel.h"

#include <array>

class TBrimBtn;

class TNBAry : public Panel
{
    Q_OBJECT
    Q_PROPERTY(int ColCount READ ColCount WRITE SetColCount)
    Q_PROPERTY(int RowCount READ RowCount WRITE SetRowCount)
    Q_PROPERTY(bool ChangeColor READ ChangeColor WRITE SetChangeColor)

public:
    static constexpr int MaxCount = 64;

    // A new array: 3 x 3 cells, lowered outer bevel, 185 x 82, ChangeColor off.
    explicit TNBAry(QWidget* parent = nullptr);

    // 0..64 (other values are clamped). A new count replaces every cell: captions,
    // colours and tags set on the old cells are gone, and the new cells keep their
    // default size until the array is next resized.
    int ColCount() const { return m_colCount; }
    void SetColCount(int count);
    int RowCount() const { return m_rowCount; }
    void SetRowCount(int count);

    // Hover colour change handed to the cells when they are built (not to existing ones).
    bool ChangeColor() const { return m_changeColor; }
    void SetChangeColor(bool changeColor) { m_changeColor = changeColor; }

    // Cell (col, row); nullptr outside 0..ColCount-1, 0..RowCount-1.
    TBrimBtn* Buttons(int col, int row) const;
    // Row strip row; nullptr outside 0..RowCount-1.
    Panel* RowStrip(int row) const;

    // The cell last pressed (0, 0 until then).
    int CurrentCol() const { return m_currentCol; }
    int CurrentRow() const { return m_currentRow; }

    static int CellTag(int col, int row, int colCount) { return row * (colCount + 1) + col + 1; }

signals:
    // A press on a cell, or on the array's own surface: button 0 left, 1 right, 2 middle,
    // shift bits as in ShiftState.h, x and y in the array's pixels. For a cell, the
    // cell's column and row are the current cell by the time this is raised.
    void MouseDown(TNBAry* sender, int button, int shift, int x, int y);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void Realign() override;

private:
    void Clear();
    void Build();
    void ResizeCells();
    void CellMouseDown(TBrimBtn* cell, int button, int shift, int x, int y);

    int m_colCount = 3;
    int m_rowCount = 3;
    std::array<std::array<TBrimBtn*, MaxCount>, MaxCount> m_cells {}; // [col][row]
    std::array<Panel*, MaxCount> m_strips {};
    int m_builtCols = 0;
    int m_builtRows = 0;
    bool m_changeColor = false;
    int m_currentCol = 0;
    int m_currentRow = 0;
};
