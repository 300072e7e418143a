// SPDX-License-Identifier: MIT
// Accessibility: what a screen reader finds in the main window. A tile says its symbol, its
// element, its column and row counted from the top left, and whether it is selected
// ("甲 木 3列 10段 選択中"); a cell of the element strip says how many tiles of its element are
// in play, a command button what it does, the totals their numbers, and the move log its
// current row. The texts are made when a reader asks for them, so the game pays nothing
// for them while none listens.
//
// The keyboard cursor is the board's focus: where it shows, its tile is focused and a focus
// event is raised for it. A tile raises the selection events itself as its mark comes and
// goes (TBrimBtn).
#pragma once

// Qt
#include <QString>

class TMainF;

namespace Accessibility {

// Gives the gradient buttons their interfaces. Before the main window is made: a reader
// that listens while it is being made keeps whatever interface it got first.
void InstallFactory();

// Makes the main window's parts readable: the buttons' texts are asked of it when wanted.
void Install(TMainF& main);

// A tile's name: "甲 木 3列 10段", with " 選択中" when it is selected.
QString TileName(const QString& symbol, int col, int row, bool selected);

} // namespace Accessibility
