// SPDX-License-Identifier: MIT
// What the best-score window searches and when, without a widget: it follows a game, keeps
// one run (Run.h) about the part of it asked for, and says what to show. The window renders
// it from its signals and makes its typed calls; whoever owns the game tells it when the
// game or its score tables changed (GameChanged).
//
// What it searches:
//   - from the current position (Source::Position): the board in play, its total counted
//     from the points of the moves already made; from the deal (Source::Deal): the board as
//     dealt, the whole game;
//   - a change that leaves the search the same (a pick without removal, a move while the deal
//     is searched) keeps the run and only reports the player's total again; any other change
//     (a move, an undo, a new deal, edited score tables) starts a new run;
//   - when a game ends, the finished game is held, searched from its deal, until the first
//     move on the next board, even when the next deal comes before the session looks.
// When: a change is looked at once the event that caused it is done (from the event loop),
// so that a burst of changes starts one run. A run replaced or closed is asked to stop and
// kept until its workers have ended, so that no call waits for them.
//
// The next move: MarkNextMove marks the two tiles of the best line's first move when that
// line starts on the board in play; the mark goes at the next change of the game, a new run
// or Close.
#pragma once

#include "solver/GameBridge.h"
#include "solver/Run.h"

// Qt
#include <QElapsedTimer>
#include <QObject>

#include <memory>
#include <optional>
#include <vector>

class Game;
class QTimer;

namespace Solver {

class AnalysisSession : public QObject
{
    Q_OBJECT

public:
    enum class Source { Position = 0, Deal = 1 };
    // How the run's best total stands.
    enum class Verdict { Searching, Proven, Stopped };

    static constexpr int PollMs = 100;

    // The run options the window uses: both searches, background threads, one a core (up to
    // four).
    static Run::Options WindowOptions();

    // Follows `game`, which must outlive it. Nothing runs until Open.
    explicit AnalysisSession(const Game& game, Run::Options options = WindowOptions(), QObject* parent = nullptr);
    ~AnalysisSession() override;

    // --- typed calls

    // The window shows: a search of the game as it stands.
    void Open();
    // The window closes: the run is asked to stop, the mark goes; changes are ignored until
    // the next Open.
    void Close();
    bool IsOpen() const { return m_open; }
    // Chooses what to search and starts again, also when the choice is the same one.
    void SetSource(Source source);
    Source CurrentSource() const { return m_source; }
    // The game or its score tables changed: looked at once the current event is done.
    void GameChanged();
    // Starts the search again now, on the game as it stands.
    void Restart();
    // Ends the run and keeps what it found.
    void Stop();
    // Marks the best line's first move, when that line starts on the board in play.
    void MarkNextMove();
    // Reads the run, as the session's timer does every PollMs while a run is working.
    void Poll();

    // --- what to show

    // The run in progress or last run; null when the board searched cannot be analysed.
    const Run* CurrentRun() const { return m_run.get(); }
    // The run's state at the last poll.
    const Run::State& LastState() const { return m_state; }
    Verdict CurrentVerdict() const;
    // Milliseconds since the run started, or until it ended.
    qint64 ElapsedMs() const;
    // Whether the finished game is held (from its deal) rather than the board in play.
    bool HoldsFinishedGame() const { return m_heldFinished; }
    bool FromDeal() const { return m_heldFinished || m_source == Source::Deal; }
    // Points made before the run's starting board: a game total is Base() + a line's total.
    int Base() const { return m_base; }
    // The player's own total in the game searched.
    int PlayerTotal() const { return m_playerTotal; }
    // The number of the deal searched (a held game's, not the next deal's).
    quint32 DealNumber() const { return m_analysed.dealNumber; }
    // The line last reported by LineChanged.
    const Line& ShownLine() const { return m_shownLine; }
    // Whether MarkNextMove would mark a pair.
    bool CanMarkNextMove() const;
    // The tiles marked (1..Game::TileCount, in pick order), if any.
    std::optional<Picks> Marked() const { return m_marked; }

signals:
    // A new search began (or the board cannot be analysed: CurrentRun() is null): what it is
    // about, the player's total and an empty line are to be shown.
    void Began();
    // The game changed but the search stays: the player's total and CanMarkNextMove may have.
    void Followed();
    // The run was read (Poll): its state, the time and whether the line can be marked.
    void Polled();
    // The best line changed (read it from ShownLine); sent before the Polled of its poll.
    void LineChanged();
    // The marked pair was set or taken away (Marked()).
    void MarkChanged();

private:
    // What the session last took from the game.
    struct Snapshot
    {
        std::optional<Board> position;
        std::optional<Board> deal;
        int completedPoints = 0;
        int playerTotal = 0;
        bool movesMade = false;
        bool finished = false; // no pair left on the board
        quint32 dealNumber = 0;
        PairValues values;

        // Whether a search of this state would be the search of `other`.
        bool SameSearch(const Snapshot& other, bool fromDeal) const;
    };

    Snapshot TakeSnapshot() const;
    void LookAgain();
    void Begin(const Snapshot& snapshot, bool finishedGame);
    void RetireRun();
    void ClearMark();

    const Game& m_game;
    const Run::Options m_options;
    bool m_open = false;
    Source m_source = Source::Position;
    std::unique_ptr<Run> m_run;
    // Runs asked to stop, kept until their workers have ended.
    std::vector<std::unique_ptr<Run>> m_retired;
    Snapshot m_analysed;             // the game state the run is about
    Snapshot m_finishedGame;         // the last game that ended while the session watched
    bool m_finishedPending = false;  // a game ended since the last look at the game
    bool m_heldFinished = false;     // the run is about m_finishedGame, not the board in play
    bool m_lookPending = false;
    int m_base = 0;
    int m_playerTotal = 0;
    Run::State m_state;
    Line m_shownLine;
    std::optional<Picks> m_marked;
    QElapsedTimer m_clock;
    qint64 m_stoppedAfterMs = -1;
    QTimer* m_poll = nullptr;
};

} // namespace Solver
