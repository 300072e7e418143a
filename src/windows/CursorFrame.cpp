// SPDX-License-Identifier: MIT
#include "windows/CursorFrame.h"

// Qt
#include <QPainter>

// own
#include "controls/SysColors.h"

CursorFrame::CursorFrame(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void CursorFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor color = SysColors::ToQColor(SysColors::clYellow);
    const int w = width();
    const int h = height();
    painter.fillRect(0, 0, w, 2, color);
    painter.fillRect(0, h - 2, w, 2, color);
    painter.fillRect(0, 2, 2, h - 4, color);
    painter.fillRect(w - 2, 2, 2, h - 4, color);
    // The brackets: two pixels thick, CornerArm long, from each corner of the face.
    for (const int x : { 2, w - 2 - CornerArm })
        for (const int y : { 2, h - 4 })
            painter.fillRect(x, y, CornerArm, 2, color);
    for (const int x : { 2, w - 4 })
        for (const int y : { 2, h - 2 - CornerArm })
            painter.fillRect(x, y, 2, CornerArm, color);
}
