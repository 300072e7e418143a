// SPDX-License-Identifier: MIT
#include "controls/SysColors.h"

#include <array>

namespace SysColors {

namespace {

// The classic standard scheme, as 0x00BBGGRR.
constexpr std::array<ColorValue, SystemCount> Table = {
    Rgb(192, 192, 192), // 0 scroll bar
    Rgb(0, 128, 128),   // 1 desktop
    Rgb(0, 0, 128),     // 2 active caption
    Rgb(128, 128, 128), // 3 inactive caption
    Rgb(192, 192, 192), // 4 menu
    Rgb(255, 255, 255), // 5 window
    Rgb(0, 0, 0),       // 6 window frame
    Rgb(0, 0, 0),       // 7 menu text
    Rgb(0, 0, 0),       // 8 window text
    Rgb(255, 255, 255), // 9 caption text
    Rgb(192, 192, 192), // 10 active border
    Rgb(192, 192, 192), // 11 inactive border
    Rgb(128, 128, 128), // 12 application workspace
    Rgb(0, 0, 128),     // 13 highlight
    Rgb(255, 255, 255), // 14 highlight text
    Rgb(192, 192, 192), // 15 button face
    Rgb(128, 128, 128), // 16 button shadow
    Rgb(128, 128, 128), // 17 grey text
    Rgb(0, 0, 0),       // 18 button text
    Rgb(192, 192, 192), // 19 inactive caption text
    Rgb(255, 255, 255), // 20 button highlight
    Rgb(0, 0, 0),       // 21 3D dark shadow
    Rgb(223, 223, 223), // 22 3D light
    Rgb(0, 0, 0),       // 23 info text
    Rgb(255, 255, 225), // 24 info background
};

} // namespace

ColorValue SystemColorRgb(int index)
{
    return index >= 0 && index < SystemCount ? Table[size_t(index)] : 0;
}

ColorValue ToRgbValue(ColorValue value)
{
    if (value >= SystemBase && value < SystemBase + SystemCount)
        return Table[value - SystemBase];
    return value;
}

QColor ToQColor(ColorValue value)
{
    const ColorValue v = ToRgbValue(value);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

ColorValue FromQColor(const QColor& color)
{
    return Rgb(color.red(), color.green(), color.blue());
}

} // namespace SysColors
