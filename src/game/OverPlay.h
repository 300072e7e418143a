// SPDX-License-Identifier: MIT
// The over-play warning of the main window, as pure rules over the whole seconds since the
// program started. The main window's once-a-second timer asks these functions whether to
// warn (the texts it shows are the window's own: windows/GameTexts.h); the clock it
// measures with can be replaced, so the rules can be driven through hours of play without
// waiting.
#pragma once

// Qt
#include <QString>
#include <QtGlobal>

#include <functional>

namespace OverPlay {

// The elapsed time as "n ss": minutes of the hour without a leading zero, one blank, two-
// digit seconds. "0 00" at every full hour, "30 00" half an hour later.
QString MinuteSecondText(qint64 seconds);

// Whether the tick at this elapsed second fires the warning: the minutes text as typed,
// followed by " 00", equals the "n ss" text exactly. So "30" fires at 0:30:00, 1:30:00 ...;
// "0" in the first second of every hour; texts no minute spells ("05", "", "60", "abc")
// never fire. The text is not trimmed or parsed: what the player typed is what counts.
bool IsWarningDue(qint64 seconds, const QString& minutesText);

// Whether any second after `after` up to and including `upTo` is a warning second.
bool IsWarningDueBetween(qint64 after, qint64 upTo, const QString& minutesText);

// The warning seconds the ticks of a coarse one-second timer pass. A tick that comes late
// (a large table loading, a modal box, a loaded machine) skips a second, and two ticks can
// fall in the same second: each tick looks at every second since the one the tick before
// it read, so a skipped warning second still warns and a second read twice warns once.
// However many warning seconds one late tick passed, it warns once.
class WarningWatch
{
public:
    // Whether the tick that reads this elapsed second warns. The first tick looks from the
    // start on, so "0" warns for the start's own second even when no tick fell in it. A
    // second before the last one read (a replaced clock set back) is looked at alone.
    bool Tick(qint64 seconds, const QString& minutesText);
    // Goes on from an earlier run whose ticks read up to this second: the first tick looks
    // only at the seconds after it, rather than warning at once for a warning second the
    // earlier run passed.
    void ResumeAt(qint64 seconds) { m_seen = seconds; }

private:
    qint64 m_seen = -1; // the second the previous tick read
};

// The current time in milliseconds on some steady scale (only differences count).
using Clock = std::function<qint64()>;

// A steady clock that never runs backwards, whatever happens to the wall clock.
Clock SteadyClock();

// Whole seconds since a start taken from a clock. A clock that reports a time before the
// start (a replaced clock set back) counts as 0 seconds rather than a negative time.
class Elapsed
{
public:
    // Takes the start at once from clock (SteadyClock() when empty).
    explicit Elapsed(Clock clock = {});

    // Replaces the clock and takes the start again from it.
    void SetClock(Clock clock);
    // Takes the start again, as if `already` milliseconds had gone by since it (a clock
    // that goes on from an earlier run).
    void Restart(qint64 already = 0);

    qint64 Milliseconds() const;
    qint64 Seconds() const { return Milliseconds() / 1000; }

private:
    Clock m_clock;
    qint64 m_start = 0;
};

} // namespace OverPlay
