// SPDX-License-Identifier: MIT
// Every place the game keeps a setting, with its default, declared once. The windows read
// and write through these constants (SettingsStore's overloads take them whole), so a name
// or a default never differs between the place that reads a value and the one that writes it.
//
// Layout under HKEY_CURRENT_USER\Software\Brimwell\TESRIK:
//   Sys\CBH, Sys\CBW, Sys\CG1, Sys\RGC   main window: board rows and columns (list indexes),
//                                        symbol sets (bit mask), colouring (list index)
//   Wav\CB1                              sounds on
//   Set\CB2, Set\CB3, Set\TimeE          quit at the warning, show the time, warning minutes
//   Set\Solvable                         deal only boards that can be cleared
//   Set\Resume                           go on at the next start with the game left at close
//   Set\DesktopColors                    the desktop's colours instead of the classic ones
//   FontInfo1 (a value of the key itself) the board font record (FontRecord.h)
#pragma once

// Qt
#include <QLatin1String>

namespace Keys {

struct Number
{
    QLatin1String section;
    QLatin1String ident;
    int defaultValue;
};

struct Flag
{
    QLatin1String section;
    QLatin1String ident;
    bool defaultValue;
};

struct Text
{
    QLatin1String section;
    QLatin1String ident;
    QLatin1String defaultValue;
};

inline constexpr QLatin1String Root("Software\\Brimwell\\TESRIK");

namespace Sys {
    inline constexpr QLatin1String Section("Sys");
    inline constexpr Number CBH { Section, QLatin1String("CBH"), 0 };
    inline constexpr Number CBW { Section, QLatin1String("CBW"), 0 };
    inline constexpr Number CG1 { Section, QLatin1String("CG1"), 1 };
    // Written at close; read back at start-up, where a missing value keeps the first choice.
    inline constexpr Number RGC { Section, QLatin1String("RGC"), 0 };
} // namespace Sys

namespace Wav {
    inline constexpr QLatin1String Section("Wav");
    inline constexpr Flag CB1 { Section, QLatin1String("CB1"), true };
} // namespace Wav

namespace Set {
    inline constexpr QLatin1String Section("Set");
    inline constexpr Flag CB2 { Section, QLatin1String("CB2"), false };
    inline constexpr Flag CB3 { Section, QLatin1String("CB3"), false };
    inline constexpr Text TimeE { Section, QLatin1String("TimeE"), QLatin1String("30") };
    // Off unless the player asks for it: the plain deal is the game as it always was.
    inline constexpr Flag Solvable { Section, QLatin1String("Solvable"), false };
    // Off unless the player asks for it: every start deals anew, as it always did.
    inline constexpr Flag Resume { Section, QLatin1String("Resume"), false };
    // Off unless the player asks for it: the classic colours are the look the game was
    // designed with, and they read the same on every desktop.
    inline constexpr Flag DesktopColors { Section, QLatin1String("DesktopColors"), false };
} // namespace Set

// The board font: a binary value of the root key itself, named after the main window's
// font component.
inline constexpr QLatin1String FontInfo1("FontInfo1");

} // namespace Keys
