// SPDX-License-Identifier: MIT
// A settings save as the game makes one: the store opened on the user's settings file, every
// setting read as the windows read them at start-up, and then the options dialog's OK with
// every one of its values changed, so that each is written (AppModel::WriteOptions).
#pragma once

// own
#include "store/Keys.h"
#include "store/SettingsStore.h"

struct SettingsSave
{
    SettingsMemo memo;
    bool on = false;

    // What the main window and the options dialog read at start-up.
    void ReadAtStart()
    {
        SettingsStore store = OpenStore(Keys::Root, RegOpen::Existing);
        store.Remember(&memo);
        for (const Keys::Number& key : { Keys::Sys::CBH, Keys::Sys::CBW, Keys::Sys::CG1, Keys::Sys::RGC })
            store.ReadNumber(key);
        on = store.ReadFlag(Keys::Wav::CB1);
        for (const Keys::Flag& key : { Keys::Set::CB2, Keys::Set::CB3, Keys::Set::Solvable,
                 Keys::Set::DesktopColors, Keys::Set::Resume })
            store.ReadFlag(key);
        store.ReadText(Keys::Set::TimeE);
    }

    // The options dialog's OK, every value changed from the last save; false when a value
    // was not written.
    bool Save()
    {
        on = !on;
        SettingsStore store = OpenStore(Keys::Root);
        store.Remember(&memo);
        return store.WriteAll({
            { Keys::Wav::CB1, on },
            { Keys::Set::CB2, on },
            { Keys::Set::CB3, on },
            { Keys::Set::TimeE, on ? QStringLiteral("45") : QStringLiteral("30") },
            { Keys::Set::Solvable, on },
            { Keys::Set::DesktopColors, on },
            { Keys::Set::Resume, on },
        });
    }
};
