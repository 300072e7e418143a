// SPDX-License-Identifier: MIT
// The arguments every mouse-down event carries after its sender: the button code and the
// shift state, a bit set. The controls build them from Qt's mouse events
// (controls/ShiftState.h); the game reads the left-button bit of a pick. A left press
// carries ssLeft, a right press ssRight.
#pragma once

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

} // namespace ShiftState
