// SPDX-License-Identifier: MIT
#include "controls/SysColors.h"

#include <array>

namespace SysColors {

namespace {

using ColorTable = std::array<ColorValue, SystemCount>;

// The classic standard scheme, as 0x00BBGGRR.
constexpr ColorTable Classic = {
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

// The palette role each system colour plays. The desktop has no colour of its own for a
// few of them (the desktop background itself, the caption bars its window manager draws);
// those take the nearest role.
struct Role
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr std::array<Role, SystemCount> Roles = { {
    { QPalette::Active, QPalette::Button },           // 0 scroll bar
    { QPalette::Active, QPalette::Dark },             // 1 desktop
    { QPalette::Active, QPalette::Highlight },        // 2 active caption
    { QPalette::Inactive, QPalette::Highlight },      // 3 inactive caption
    { QPalette::Active, QPalette::Window },           // 4 menu
    { QPalette::Active, QPalette::Base },             // 5 window
    { QPalette::Active, QPalette::Shadow },           // 6 window frame
    { QPalette::Active, QPalette::WindowText },       // 7 menu text
    { QPalette::Active, QPalette::Text },             // 8 window text
    { QPalette::Active, QPalette::HighlightedText },  // 9 caption text
    { QPalette::Active, QPalette::Window },           // 10 active border
    { QPalette::Inactive, QPalette::Window },         // 11 inactive border
    { QPalette::Active, QPalette::Mid },              // 12 application workspace
    { QPalette::Active, QPalette::Highlight },        // 13 highlight
    { QPalette::Active, QPalette::HighlightedText },  // 14 highlight text
    { QPalette::Active, QPalette::Button },           // 15 button face
    { QPalette::Active, QPalette::Dark },             // 16 button shadow
    { QPalette::Disabled, QPalette::Text },           // 17 grey text
    { QPalette::Active, QPalette::ButtonText },       // 18 button text
    { QPalette::Inactive, QPalette::HighlightedText },// 19 inactive caption text
    { QPalette::Active, QPalette::Light },            // 20 button highlight
    { QPalette::Active, QPalette::Shadow },           // 21 3D dark shadow
    { QPalette::Active, QPalette::Midlight },         // 22 3D light
    { QPalette::Active, QPalette::ToolTipText },      // 23 info text
    { QPalette::Active, QPalette::ToolTipBase },      // 24 info background
} };

ColorTable g_table = Classic;
bool g_desktop = false;
int g_generation = 0;

void SetTable(const ColorTable& table, bool desktop)
{
    g_desktop = desktop;
    if (table == g_table)
        return;
    g_table = table;
    ++g_generation;
}

} // namespace

ColorValue SystemColorRgb(int index)
{
    return index >= 0 && index < SystemCount ? g_table[size_t(index)] : 0;
}

ColorValue ToRgbValue(ColorValue value)
{
    if (value >= SystemBase && value < SystemBase + SystemCount)
        return g_table[value - SystemBase];
    return value;
}

void UseClassicColors()
{
    SetTable(Classic, false);
}

void UseDesktopColors(const QPalette& desktop)
{
    ColorTable table {};
    for (size_t k = 0; k < table.size(); ++k)
        table[k] = FromQColor(desktop.color(Roles[k].group, Roles[k].role));
    SetTable(table, true);
}

bool DesktopColorsInUse()
{
    return g_desktop;
}

int TableGeneration()
{
    return g_generation;
}

QPalette Palette()
{
    auto c = [](int index) { return ToQColor(System(index)); };
    const QColor face = c(ColorBtnFace);
    const QColor text = c(ColorWindowText);
    // Window text, button, light, dark, mid, text, bright text, base and window; the
    // window face is the button face, as it is on the classic desktop.
    QPalette palette(text, face, c(ColorBtnHighlight), c(ColorBtnShadow), c(ColorBtnShadow), text,
                     c(ColorBtnHighlight), c(ColorWindow), face);
    palette.setColor(QPalette::All, QPalette::ButtonText, c(ColorBtnText));
    palette.setColor(QPalette::All, QPalette::Midlight, c(Color3DLight));
    palette.setColor(QPalette::All, QPalette::Shadow, c(Color3DDkShadow));
    palette.setColor(QPalette::All, QPalette::Highlight, c(ColorHighlight));
    palette.setColor(QPalette::All, QPalette::HighlightedText, c(ColorHighlightText));
    palette.setColor(QPalette::All, QPalette::ToolTipBase, c(ColorInfoBk));
    palette.setColor(QPalette::All, QPalette::ToolTipText, c(ColorInfoText));
    palette.setColor(QPalette::All, QPalette::AlternateBase, face);
    const QColor grey = c(ColorGrayText);
    palette.setColor(QPalette::All, QPalette::PlaceholderText, grey);
    for (const QPalette::ColorRole role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        palette.setColor(QPalette::Disabled, role, grey);
    return palette;
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
