// SPDX-License-Identifier: MIT
// Colour values as the game stores and compares them: 0x00BBGGRR for an RGB colour (red in
// the low byte), 0x80000000 + k for system colour k, resolved to RGB only when drawn. The
// 25 system colours come from one table. By default it holds the classic Windows standard
// scheme, so a painted image is the same on every machine; the player may have it follow
// the desktop instead, when each system colour takes the desktop palette's matching role.
// The standard widgets take the palette that agrees with the table (Palette()), so a
// painted panel and a standard control beside it never disagree.
#pragma once

// Qt
#include <QColor>
#include <QPalette>
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
    ColorGrayText = 17,
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
constexpr ColorValue clBtnShadow = System(ColorBtnShadow);

// The RGB (0x00BBGGRR) of system colour index 0..24 in the table in use; 0 for any other
// index.
ColorValue SystemColorRgb(int index);

// The table: the classic scheme (the default), or one taken from a desktop palette.
void UseClassicColors();
void UseDesktopColors(const QPalette& desktop);
bool DesktopColorsInUse();
// Counts the changes of the table; whatever keeps colours it resolved compares it.
int TableGeneration();

// The palette of the standard widgets that agrees with the table: every role holds the
// system colour that plays it (the window face is the button face, text is window text).
QPalette Palette();

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
