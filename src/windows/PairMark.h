// SPDX-License-Identifier: MIT
// PairMark: the main window's mark of one pick of the best line's next move (次の一手), a
// frame over the tile with the pick's number, 1 or 2, in its top left corner: black, two
// pixels of white, black, so that it shows on every tile colour and the tile shows through.
// Mouse presses go through to the tile beneath.
#pragma once

// Qt
#include <QWidget>

class PairMark : public QWidget
{
public:
    PairMark(QWidget* parent, int number);

    // The tile it marks (0 while hidden).
    int Tile() const { return m_tile; }
    // Over the tile of that number and geometry, above every other child of the board.
    void Show(int tile, const QRect& geometry);
    void Clear();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_number;
    int m_tile = 0;
};
