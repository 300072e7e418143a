// SPDX-License-Identifier: MIT
#include "game/OverPlay.h"

// Qt
#include <QElapsedTimer>

#include <memory>

// own
#include "game/Numbers.h"

namespace OverPlay {

QString MinuteSecondText(qint64 seconds)
{
    seconds = qMax<qint64>(0, seconds);
    return QString::number((seconds / 60) % 60) + QLatin1Char(' ') + Numbers::TwoDigits(seconds % 60);
}

bool IsWarningDue(qint64 seconds, const QString& minutesText)
{
    return MinuteSecondText(seconds) == minutesText + QStringLiteral(" 00");
}

bool IsWarningDueBetween(qint64 after, qint64 upTo, const QString& minutesText)
{
    // Warning seconds are whole minutes, and which minutes warn repeats every hour: the
    // first hour of whole minutes in the span answers for all of it.
    const qint64 first = after < 0 ? 0 : (after / 60 + 1) * 60;
    const qint64 last = qMin(upTo, first + 3600 - 60);
    for (qint64 s = first; s <= last; s += 60)
        if (IsWarningDue(s, minutesText))
            return true;
    return false;
}

bool WarningWatch::Tick(qint64 seconds, const QString& minutesText)
{
    const qint64 after = seconds >= m_seen ? m_seen : seconds - 1;
    m_seen = seconds;
    return IsWarningDueBetween(after, seconds, minutesText);
}

Clock SteadyClock()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}

Elapsed::Elapsed(Clock clock)
{
    SetClock(std::move(clock));
}

void Elapsed::SetClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : SteadyClock();
    Restart();
}

void Elapsed::Restart(qint64 already)
{
    m_start = m_clock() - qMax<qint64>(0, already);
}

qint64 Elapsed::Milliseconds() const
{
    return qMax<qint64>(0, m_clock() - m_start);
}

} // namespace OverPlay
