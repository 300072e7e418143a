// SPDX-License-Identifier: MIT
// Mouse event arguments as the controls hand them to their MouseDown handlers: a button
// code (0 left, 1 right, 2 middle) and a shift-state bit set built from a QMouseEvent. Every
// control with a mouse-down signal builds its arguments here so the bits agree. They end at
// the window that receives the press, which turns them into a typed call (a tile's press
// into Game::Pick); the game never sees them. A left press carries ssLeft, a right press
// ssRight.
#pragma once

// Qt
#include <QMouseEvent>

namespace ShiftState {

enum Bits : int {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};

enum Button : int {
    mbLeft = 0,
    mbRight = 1,
    mbMiddle = 2,
    mbNone = -1, // a button the handlers have no code for (extra side buttons)
};

inline int ButtonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return mbLeft;
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return mbNone;
    }
}

inline int FromModifiers(Qt::KeyboardModifiers modifiers)
{
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= ssShift;
    if (modifiers & Qt::AltModifier)
        shift |= ssAlt;
    if (modifiers & Qt::ControlModifier)
        shift |= ssCtrl;
    return shift;
}

// The shift state of a mouse event. On a press, buttons() already holds the pressed
// button, so a left press carries 8 and a right press 16; doubleClick adds 64.
inline int FromEvent(const QMouseEvent& event, bool doubleClick = false)
{
    int shift = FromModifiers(event.modifiers());
    Qt::MouseButtons buttons = event.buttons();
    if (event.type() == QEvent::MouseButtonPress || event.type() == QEvent::MouseButtonDblClick)
        buttons |= event.button();
    if (buttons & Qt::LeftButton)
        shift |= ssLeft;
    if (buttons & Qt::RightButton)
        shift |= ssRight;
    if (buttons & Qt::MiddleButton)
        shift |= ssMiddle;
    if (doubleClick)
        shift |= ssDouble;
    return shift;
}

} // namespace ShiftState
