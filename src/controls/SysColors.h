// SPDX-License-Identifier: MIT
// Colour values as the game stores and compares them: 0x00BBGGRR for an RGB colour (red in
// the low byte), 0x80000000 + k for system colour k, resolved to RGB only when drawn. The
// 25 system colours come from one fixed table (the classic Windows standard scheme), so a
// painted image is the same on every machine.
#pragma once

// Qt
#include <QColor>
#include <QtGlobal>

using ColorValue = quint32;

namespace SysColors {

constexpr ColorValue SystemBase = 0x80000000;
constexpr int SystemCount = 25;
constexpr ColorValue NoColor = 0x1FFFFFFF;

// System colour indexes the game uses.
enum SystemIndex {
    ColorWindow = 5,
    ColorWindowText = 8,
    ColorHighlight = 13,
    ColorHighlightText = 14,
    ColorBtnFace = 15,
    ColorBtnShadow = 16,
    ColorBtnText = 18,
    ColorBtnHighlight = 20,
    Color3DDkShadow = 21,
    Color3DLight = 22,
    ColorInfoText = 23,
    ColorInfoBk = 24,
};

constexpr ColorValue System(int index) { return SystemBase + ColorValue(index); }

// The colour words of the window layouts.
constexpr ColorValue clBlack = 0x000000;
constexpr ColorValue clMaroon = 0x000080;
constexpr ColorValue clGreen = 0x008000;
constexpr ColorValue clNavy = 0x800000;
constexpr ColorValue clTeal = 0x808000;
constexpr ColorValue clGray = 0x808080;
constexpr ColorValue clSilver = 0xC0C0C0;
constexpr ColorValue clRed = 0x0000FF;
constexpr ColorValue clLime = 0x00FF00;
constexpr ColorValue clYellow = 0x00FFFF;
constexpr ColorValue clBlue = 0xFF0000;
constexpr ColorValue clAqua = 0xFFFF00;
constexpr ColorValue clWhite = 0xFFFFFF;
constexpr ColorValue clBtnFace = System(ColorBtnFace);
constexpr ColorValue clWindowText = System(ColorWindowText);
constexpr ColorValue clInfoBk = System(ColorInfoBk);
constexpr ColorValue clHighlight = System(ColorHighlight);
constexpr ColorValue clHighlightText = System(ColorHighlightText);

// The RGB (0x00BBGGRR) of system colour index 0..24; 0 for any other index.
ColorValue SystemColorRgb(int index);

// A colour value with system colours 0x80000000..0x80000018 replaced by their RGB; any
// other value unchanged (its top byte is then ignored by the channel split).
ColorValue ToRgbValue(ColorValue value);

// The red, green and blue bytes of a colour value.
inline int Red(ColorValue v) { return int(ToRgbValue(v) & 0xFF); }
inline int Green(ColorValue v) { return int((ToRgbValue(v) >> 8) & 0xFF); }
inline int Blue(ColorValue v) { return int((ToRgbValue(v) >> 16) & 0xFF); }

// A colour value as a QColor, and back (an RGB colour value).
QColor ToQColor(ColorValue value);
ColorValue FromQColor(const QColor& color);

constexpr ColorValue Rgb(int r, int g, int b)
{
    return ColorValue(r & 0xFF) | (ColorValue(g & 0xFF) << 8) | (ColorValue(b & 0xFF) << 16);
}

} // namespace SysColors
