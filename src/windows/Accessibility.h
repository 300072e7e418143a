// SPDX-License-Identifier: MIT
// Accessibility: what a screen reader finds in the main window. The board ("盤面") holds the
// tiles of the board as dealt and no others, the top row first. A tile says its symbol, its
// element, its column and row counted from the board's top left, and whether it is selected
// ("甲 木 3列 2段 選択中"), all as the game holds it; an empty place has no name. Each change
// of the board tells the reader of the names it changed and of no other. A cell of the
// element strip says how many tiles of its element are in play, a command button what it
// does, the totals their numbers, the size lists what they set, and the move log its current
// row. The texts are made when a reader asks for them; only the names a reader was told are
// kept, and only while one listens.
//
// The keyboard cursor is the board's focus: where it shows while the board has the keyboard,
// its tile is focused and a focus event is raised for it. The move log following the picks
// does not take that focus (GridAccessible). A tile raises the selection events itself as its mark comes and
// goes (TBrimBtn).
#pragma once

// Qt
#include <QString>

class TMainF;

namespace Accessibility {

// Gives the gradient buttons, the board, the size lists, the clock, the string grids, the
// options dialog's font chooser and the help window their interfaces. Before the main window
// is made: a reader
// that listens while it is being made keeps whatever interface it got first.
void InstallFactory();

// Makes the main window's parts readable: the buttons' texts are asked of it when wanted.
void Install(TMainF& main);

// A tile's name from its column and its row on the board (0 the board's top row):
// "甲 木 3列 2段", with " 選択中" when it is selected.
QString TileName(const QString& symbol, int col, int row, bool selected);

} // namespace Accessibility
