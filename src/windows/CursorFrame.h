// SPDX-License-Identifier: MIT
// CursorFrame: the main window's keyboard cursor, a frame two pixels wide on each side of a
// tile, over the tile's own outline and the outline of its neighbour, with short brackets
// in the four corners of the face. The selection circle runs one pixel inside the outline
// and meets it only at the middle of each side; in the corners it keeps away from the
// brackets (where a bracket ends, five pixels along the edge, the circle is still two
// pixels off), so the circles of the tile and of its neighbours stay whole. Mouse presses
// go through to the tile beneath.
#pragma once

// Qt
#include <QRect>
#include <QWidget>

class CursorFrame : public QWidget
{
public:
    explicit CursorFrame(QWidget* parent);

    // Where the frame goes for a tile of that geometry.
    static QRect Around(const QRect& tile) { return tile.adjusted(-1, -1, 1, 1); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int CornerArm = 5;
};
