// SPDX-License-Identifier: MIT
// What the ranking window needs from the main window: the finished game's points, the
// pending flag of a game waiting to be entered, a new deal when the ranking closes, the
// sounds, and a notice for a failed save.
// The main window implements it over the game engine; tests implement it with a fake.
#pragma once

// Qt
#include <QDateTime>
#include <QString>

// own
#include "game/GameHost.h"

class RankHost
{
public:
    virtual ~RankHost() = default;

    // The sum of the move log's points: the result of the game just finished.
    virtual int PointsTotal() const = 0;
    // Whether a finished game waits to be entered.
    virtual ::RankPending RankPending() const = 0;
    virtual void SetRankPending(::RankPending value) = 0;
    // Deals a new board.
    virtual void NewGame() = 0;
    // Plays a sound, unless the player has switched sounds off.
    virtual void PlayWave(Sound sound) = 0;
    // A modal notice with the program's title (used when "Rank.dat" cannot be written).
    virtual void ShowMessage(const QString& text) = 0;
    // The local date and time stamped on a new entry.
    virtual QDateTime CurrentDateTime() const { return QDateTime::currentDateTime(); }
};
