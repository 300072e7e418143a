// SPDX-License-Identifier: MIT
// Every setting the game keeps, with its type, its default and the window that owns it,
// declared once: one line of ORBILO_SETTINGS below. That line gives both the named constant
// the code that uses the value reads and writes through (Keys::Set::CB2, with
// SettingsStore's overloads taking it whole), and an entry of Keys::All, the list that code
// handling every setting alike walks: the model's reads and writes, the settings fuzz
// harness, the tests. So a name or a default never differs between the place that reads a
// value and the one that writes it, and a new setting is never left out of either.
//
// Layout under HKEY_CURRENT_USER\Software\Brimwell\TESRIK:
//   Sys\CBH, Sys\CBW, Sys\CG1, Sys\RGC   main window: board rows and columns (list indexes),
//                                        symbol sets (bit mask), colouring (list index)
//   Wav\CB1                              sounds on
//   Set\CB2, Set\CB3, Set\TimeE          quit at the warning, show the time, warning minutes
//   Set\Solvable                         deal only boards that can be cleared
//   Set\DesktopColors                    the desktop's colours instead of the classic ones
//   Set\Resume                           go on at the next start with the game left at close
//   FontInfo1 (a value of the key itself) the board font record (FontRecord.h); kept by the
//                                        font component as a binary value, so not in All
#pragma once

// Qt
#include <QLatin1String>
#include <QString>

#include <concepts>
#include <cstddef>
#include <iterator>
#include <string_view>

namespace Keys {

// Who reads and writes a setting, and so when.
enum class Owner {
    // Read when the main window is made, written when it closes.
    MainWindow,
    // Read when the model is made (before any window) and by the options dialog when it is
    // made and on キャンセル; written when the dialog closes.
    Options,
};
inline constexpr std::size_t OwnerCount = 2;

// How a value is stored: every value is text (REG_SZ).
enum class Type {
    Number, // an integer in decimal (WriteNumber, ReadNumber)
    Flag, // "1" or "0" (WriteFlag, ReadFlag)
    Text, // as is (WriteText, ReadText)
};

struct Number
{
    using Value = int;
    static constexpr Type type = Type::Number;
    Owner owner;
    QLatin1String section;
    QLatin1String ident;
    int defaultValue;
};

struct Flag
{
    using Value = bool;
    static constexpr Type type = Type::Flag;
    Owner owner;
    QLatin1String section;
    QLatin1String ident;
    bool defaultValue;
};

struct Text
{
    using Value = QString;
    static constexpr Type type = Type::Text;
    Owner owner;
    QLatin1String section;
    QLatin1String ident;
    QLatin1String defaultValue;
};

// Any setting, whatever its type: what code that handles every setting alike works with.
struct Setting
{
    Owner owner;
    QLatin1String section;
    QLatin1String ident;
    Type type;
    int number = 0; // the default of a number; 1 or 0 for a flag
    QLatin1String text; // the default of a text

    // From any key of the table; implicit, so that a Keys::Set::CB2 is a Setting wherever
    // one is wanted.
    template <typename K>
    requires std::same_as<K, Number> || std::same_as<K, Flag> || std::same_as<K, Text>
    constexpr Setting(const K& k)
        : owner(k.owner)
        , section(k.section)
        , ident(k.ident)
        , type(K::type)
    {
        if constexpr (K::type == Type::Text)
            text = k.defaultValue;
        else
            number = int(k.defaultValue); // a flag's true and false give 1 and 0
    }

    // The default as it is stored: "1" or "0" for a flag, a number in decimal, a text as is.
    QString DefaultText() const { return type == Type::Text ? QString(text) : QString::number(number); }

    // The same value of the store: the same section and ident.
    constexpr bool Names(const Setting& other) const
    {
        return View(section) == View(other.section) && View(ident) == View(other.ident);
    }

private:
    static constexpr std::string_view View(QLatin1String s) { return { s.data(), std::size_t(s.size()) }; }
};

inline constexpr QLatin1String Root("Software\\Brimwell\\TESRIK");

namespace Sys {
    inline constexpr QLatin1String Section("Sys");
}
namespace Wav {
    inline constexpr QLatin1String Section("Wav");
}
namespace Set {
    inline constexpr QLatin1String Section("Set");
}

// X(owner, section, ident, type, default), in the order the owners read and write them.
// Comments go before the line's backslash.
#define ORBILO_SETTINGS(X)                                                                                   \
    X(MainWindow, Sys, CBH, Number, 0)                                                                       \
    X(MainWindow, Sys, CBW, Number, 0)                                                                       \
    X(MainWindow, Sys, CG1, Number, 1)                                                                       \
    /* Written at close; read back at start-up, where a missing value keeps the first choice. */             \
    X(MainWindow, Sys, RGC, Number, 0)                                                                       \
    X(Options, Wav, CB1, Flag, true)                                                                         \
    X(Options, Set, CB2, Flag, false)                                                                        \
    X(Options, Set, CB3, Flag, false)                                                                        \
    X(Options, Set, TimeE, Text, QLatin1String("30"))                                                        \
    /* Off unless the player asks for it: the plain deal is the game as it always was. */                    \
    X(Options, Set, Solvable, Flag, false)                                                                   \
    /* Off unless the player asks for it: the classic colours are the look the game was */                   \
    /* designed with, and they read the same on every desktop. */                                            \
    X(Options, Set, DesktopColors, Flag, false)                                                              \
    /* Off unless the player asks for it: every start deals anew, as it always did. */                       \
    X(Options, Set, Resume, Flag, false)

#define ORBILO_SETTING_CONSTANT(owner, sectionName, identName, keyType, def)                                 \
    namespace sectionName {                                                                                  \
        inline constexpr keyType identName { Owner::owner, Section, QLatin1String(#identName), def };        \
    }
ORBILO_SETTINGS(ORBILO_SETTING_CONSTANT)
#undef ORBILO_SETTING_CONSTANT

// Every setting of the store, in the order of the table above.
#define ORBILO_SETTING_ENTRY(owner, sectionName, identName, keyType, def) Setting(sectionName::identName),
inline constexpr Setting All[] = { ORBILO_SETTINGS(ORBILO_SETTING_ENTRY) };
#undef ORBILO_SETTING_ENTRY
#undef ORBILO_SETTINGS

namespace Detail {
    constexpr bool NamesAreUnique()
    {
        for (std::size_t i = 0; i < std::size(All); ++i) {
            for (std::size_t j = i + 1; j < std::size(All); ++j) {
                if (All[i].Names(All[j]))
                    return false;
            }
        }
        return true;
    }
} // namespace Detail
static_assert(Detail::NamesAreUnique(), "two settings share a section and ident");

// The board font: a binary value of the root key itself, named after the main window's
// font component.
inline constexpr QLatin1String FontInfo1("FontInfo1");

} // namespace Keys
