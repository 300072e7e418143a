// SPDX-License-Identifier: MIT
// Horizontal text alignment shared by the component set (panel captions, the extended edit
// box, button captions). The values are the ones form files and stored settings use.
#pragma once

// Qt
#include <QtGlobal>

enum TAlignment : quint8 {
    taLeftJustify = 0,
    taRightJustify = 1,
    taCenter = 2,
};
