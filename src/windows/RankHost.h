// SPDX-License-Identifier: MIT
// What the ranking window needs from the main window: the finished game's points, the
// pending flag of a game waiting to be entered, a new deal when the ranking closes, the
// sounds, and a notice for a failed save.
// SessionRankHost below is the program's, over the game session; tests implement it with a
// fake.
#pragma once

// Qt
#include <QDateTime>
#include <QString>

#include <functional>
#include <utility>

// own
#include "app/GameSession.h"
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

// The ranking's host over the game session: the finished game's points, its pending flag,
// the next deal and the name entry's sound are the session's; messages are shown by the
// function given (the main window's notice).
class SessionRankHost : public RankHost
{
public:
    using Message = std::function<void(const QString& text)>;

    SessionRankHost(GameSession& session, Message message)
        : m_session(session)
        , m_message(std::move(message))
    {
    }

    int PointsTotal() const override { return m_session.State().PointsTotal(); }
    ::RankPending RankPending() const override { return m_session.RankPending(); }
    void SetRankPending(::RankPending value) override { m_session.SetRankPending(value); }
    void NewGame() override { m_session.Deal(); }
    void PlayWave(Sound sound) override { m_session.WantSound(sound); }
    void ShowMessage(const QString& text) override { m_message(text); }

private:
    GameSession& m_session;
    Message m_message;
};
