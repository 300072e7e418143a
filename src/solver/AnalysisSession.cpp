// SPDX-License-Identifier: MIT
#include "solver/AnalysisSession.h"

#include "game/Game.h"

// Qt
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace Solver {

Run::Options AnalysisSession::WindowOptions()
{
    Run::Options options;
    options.mode = Run::Mode::Both;
    options.threads = std::clamp(QThread::idealThreadCount(), 1, 4);
    options.background = true;
    return options;
}

AnalysisSession::AnalysisSession(const Game& game, Run::Options options, QObject* parent)
    : QObject(parent)
    , m_game(game)
    , m_options(std::move(options))
    , m_poll(new QTimer(this))
{
    m_poll->setInterval(PollMs);
    connect(m_poll, &QTimer::timeout, this, &AnalysisSession::Poll);
}

AnalysisSession::~AnalysisSession() = default;

// --- typed calls ------------------------------------------------------------------------------

void AnalysisSession::Open()
{
    m_open = true;
    Restart();
}

void AnalysisSession::Close()
{
    m_open = false;
    RetireRun();
    ClearMark();
}

void AnalysisSession::SetSource(Source source)
{
    m_source = source;
    Restart();
}

void AnalysisSession::Restart()
{
    m_finishedPending = false;
    Begin(TakeSnapshot(), false);
}

void AnalysisSession::Stop()
{
    if (m_run)
        m_run->RequestStop();
    Poll();
}

bool AnalysisSession::CanMarkNextMove() const
{
    if (!m_run || m_heldFinished || m_shownLine.moves.empty())
        return false;
    const std::optional<Board> now = BoardOfGame(m_game);
    return now && *now == m_run->Start();
}

void AnalysisSession::MarkNextMove()
{
    if (!CanMarkNextMove())
        return;
    m_marked = PicksOf(m_run->Start(), m_shownLine.moves.front(), m_run->Values());
    emit MarkChanged();
}

void AnalysisSession::ClearMark()
{
    if (!m_marked)
        return;
    m_marked.reset();
    emit MarkChanged();
}

// --- following the game -----------------------------------------------------------------------

bool AnalysisSession::Snapshot::SameSearch(const Snapshot& other, bool fromDeal) const
{
    if (values != other.values)
        return false;
    return fromDeal ? deal == other.deal : position == other.position && completedPoints == other.completedPoints;
}

AnalysisSession::Snapshot AnalysisSession::TakeSnapshot() const
{
    Snapshot s;
    s.position = BoardOfGame(m_game);
    s.deal = DealOfGame(m_game);
    s.completedPoints = CompletedPoints(m_game);
    s.playerTotal = m_game.PointsTotal();
    s.movesMade = m_game.MoveRow() > 1;
    s.finished = s.position && !s.position->HasMove();
    s.values = ValuesOfGame(m_game);
    s.dealNumber = m_game.DealNumber();
    return s;
}

void AnalysisSession::GameChanged()
{
    if (!m_open)
        return;
    ClearMark();
    // The game is dealt again as soon as its end has been handled, which may come before the
    // look below: the finished game is taken now, while it is still there.
    if (m_game.MoveRow() > 1 && m_game.FindMove() > Game::TileCount) {
        m_finishedGame = TakeSnapshot();
        m_finishedPending = true;
    }
    if (m_lookPending)
        return;
    m_lookPending = true;
    QTimer::singleShot(0, this, &AnalysisSession::LookAgain);
}

void AnalysisSession::LookAgain()
{
    m_lookPending = false;
    if (!m_open)
        return;
    const Snapshot now = TakeSnapshot();
    if (m_finishedPending && (now.finished || !now.movesMade)) {
        m_finishedPending = false;
        Begin(m_finishedGame, true);
        return;
    }
    m_finishedPending = false;
    // A finished game stays until the first move on the board after it.
    if (m_heldFinished && !now.movesMade)
        return;
    if (m_heldFinished || !now.SameSearch(m_analysed, FromDeal())) {
        Begin(now, false);
        return;
    }
    // A pick, a pair standing picked, or a move after the deal that is searched.
    m_playerTotal = now.playerTotal;
    emit Followed();
}

void AnalysisSession::Begin(const Snapshot& snapshot, bool finishedGame)
{
    RetireRun();
    ClearMark();
    m_analysed = snapshot;
    m_heldFinished = finishedGame;
    const bool fromDeal = FromDeal();
    const std::optional<Board>& board = fromDeal ? snapshot.deal : snapshot.position;
    m_base = fromDeal ? 0 : snapshot.completedPoints;
    m_playerTotal = snapshot.playerTotal;
    m_shownLine = Line {};
    m_state = Run::State {};
    m_stoppedAfterMs = -1;
    if (board)
        m_run = std::make_unique<Run>(*board, snapshot.values, m_options);
    m_clock.start();
    emit Began();
    if (m_run) {
        m_poll->start();
        Poll(); // the greedy line is there at once
    }
}

void AnalysisSession::RetireRun()
{
    if (!m_run)
        return;
    m_run->RequestStop();
    m_retired.push_back(std::move(m_run));
    m_poll->start(); // until its workers have ended
}

// --- reading the run --------------------------------------------------------------------------

void AnalysisSession::Poll()
{
    std::erase_if(m_retired, [](const std::unique_ptr<Run>& run) { return run->Current().finished; });
    if (!m_run) {
        if (m_retired.empty())
            m_poll->stop();
        return;
    }
    m_state = m_run->Current();
    if (m_state.finished && m_stoppedAfterMs < 0)
        m_stoppedAfterMs = m_clock.elapsed();
    if (m_state.best != m_shownLine) {
        m_shownLine = m_state.best;
        emit LineChanged();
    }
    emit Polled();
    if (m_state.finished && m_retired.empty())
        m_poll->stop();
}

AnalysisSession::Verdict AnalysisSession::CurrentVerdict() const
{
    return m_state.proven ? Verdict::Proven : m_state.finished ? Verdict::Stopped : Verdict::Searching;
}

qint64 AnalysisSession::ElapsedMs() const
{
    return m_stoppedAfterMs >= 0 ? m_stoppedAfterMs : m_clock.isValid() ? m_clock.elapsed() : 0;
}

} // namespace Solver
