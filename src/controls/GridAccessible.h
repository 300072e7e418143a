// SPDX-License-Identifier: MIT
// What a screen reader finds in a string grid: a table whose children are its cells, row by
// row, the hidden columns left out. A cell says its text; it is selected as the grid shows
// it (the whole current row of a row-select grid), and focused only while the grid has the
// keyboard's focus: a grid whose current row follows something else (the move log follows
// the board) does not hold the reader's focus. Qt's own table would call the current cell
// focused whatever holds the focus.
#pragma once

class QAccessibleInterface;
class TStringGrid;

namespace GridAccessible {

// Makes every string grid answer a reader with this table. Once, before the first grid is
// asked about (a reader keeps the interface it got first).
void InstallFactory();

// The index among the table's children of the cell (col, row); -1 for a hidden column or a
// cell outside the grid.
int ChildIndex(const TStringGrid& grid, int col, int row);

} // namespace GridAccessible
