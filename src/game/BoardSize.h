// SPDX-License-Identifier: MIT
// The board's frame, whatever size is dealt in it: 12 columns by 10 rows of tiles, and the
// tile numbers that name its places, column + row x 12 + 1, counting along the top row
// first (1 top left, 12 top right, 13 the first tile of the second row, 120 bottom right).
#pragma once

namespace BoardSize {

constexpr int Cols = 12;
constexpr int Rows = 10;
constexpr int TileCount = Cols * Rows;

constexpr int TileNumber(int col, int row) { return col + row * Cols + 1; }
constexpr int ColumnOf(int number) { return (number - 1) % Cols; }
constexpr int RowOf(int number) { return (number - 1) / Cols; }

} // namespace BoardSize
