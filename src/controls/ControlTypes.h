// SPDX-License-Identifier: MIT
// Enumerations the painted controls publish as properties (gradient direction, 3D caption
// style, caption alignment). They live in one meta-object namespace so that QObject
// properties of these types convert to and from int, and `using enum` keeps the short
// two-letter-prefixed names (gsTopBottom, fsRaise3D, taCenter) usable unqualified.
#pragma once

// Qt
#include <QObject>

namespace ControlTypes {
Q_NAMESPACE

// Direction of a two-colour gradient.
enum TGradStyle : quint8 {
    gsTopBottom = 0, // start colour at the top, bands run downwards
    gsBottomTop = 1, // start and end swapped: the end colour is at the top
    gsLeftRight = 2, // start colour at the left, bands run rightwards
    gsRightLeft = 3, // start and end swapped: the end colour is at the left
    gsNone = 4, // no fill at all: the parent shows through
};
Q_ENUM_NS(TGradStyle)

// Layers drawn in the back colour before a 3D caption (d = depth).
enum TFontStyle3D : quint8 {
    fsLowShadow = 0, // one layer at (+d, +d)
    fsRaiseShadow = 1, // one layer at (-d, -d)
    fsLow3D = 2, // layers at (+1, +1) .. (+d, +d)
    fsRaise3D = 3, // layers at (-1, -1) .. (-d, -d)
};
Q_ENUM_NS(TFontStyle3D)

// Horizontal placement of a caption.
enum TAlignment : quint8 {
    taLeftJustify = 0,
    taRightJustify = 1,
    taCenter = 2,
};
Q_ENUM_NS(TAlignment)

} // namespace ControlTypes

using ControlTypes::TAlignment;
using ControlTypes::TFontStyle3D;
using ControlTypes::TGradStyle;
using enum ControlTypes::TAlignment;
using enum ControlTypes::TFontStyle3D;
using enum ControlTypes::TGradStyle;
