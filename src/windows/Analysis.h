// SPDX-License-Identifier: MIT
// TAnalysisF: the best-score window, "この盤面の最高点" (File menu). Modeless, beside the
// main window, whose game stays fully playable. It searches the highest total the board
// can bring (src/solver/Run.h) on worker threads at the lowest priority and shows, as the
// search goes:
//   - the best total found, under "これ以上（探索中）" while the search may still find more,
//     "最高点（確定）" once it is proved best, "これ以上（止めました）" when stopped before;
//   - the player's own total, the elapsed time and the positions searched;
//   - the best line as rows of the move log (both symbols in pick order, points, text).
// Totals are game totals: from the current position, the points of the moves already made
// plus the best the rest can bring; from the deal, the best of the whole game.
//
// The search starts again whenever what it is about changes: from the current position, a
// move on the board (or an undo); from the deal, a new deal; a change of score tables (seen
// at the next change of the board or when this window is activated); a click on a source.
// When a game ends, the window holds on to the finished game and shows what its deal could
// have given against the player's final total, until the first move on the next board.
// "次の一手" marks the two tiles of the best line's first move on the main window's board,
// first pick "1", second "2", without touching the game; the marks go at the next change of
// the board. "止める" ends the search and keeps what it found. Closing the window ends the
// search.
#pragma once

// Qt
#include <QPointer>
#include <QWidget>
// own
#include "solver/Run.h"

#include <memory>
#include <optional>
#include <vector>

class QButtonGroup;
class QElapsedTimer;
class QLabel;
class QPushButton;
class QTimer;
class GameSession;
class TMainF;
class TStringGrid;

class TAnalysisF : public QWidget
{
    Q_OBJECT

public:
    enum class Source { Position = 0, Deal = 1 };

    // The window of that main window, made and shown (or brought to the front).
    static TAnalysisF* Open(TMainF& main, GameSession& session);

    TAnalysisF(TMainF& main, GameSession& session);
    ~TAnalysisF() override;

    // The title names the deal's number when it has one.
    void SetDealNumber(std::optional<quint32> number);
    static QString Title(std::optional<quint32> number);

    void SetSource(Source source);
    // The game or a score table changed: see whether the search must start again, after
    // the event that changed it is done.
    void GameChanged();
    // Starts the search again now, on the game as it stands.
    void Restart();
    void StopClick();
    void NextMoveClick();

    // --- for tests
    QLabel* BestCaption() const { return m_bestCaption; }
    QLabel* BestTotal() const { return m_bestTotal; }
    QLabel* PlayerTotal() const { return m_playerTotal; }
    QLabel* Status() const { return m_status; }
    QLabel* Note() const { return m_note; }
    TStringGrid* Line() const { return m_line; }
    QPushButton* NextBtn() const { return m_nextBtn; }
    QPushButton* StopBtn() const { return m_stopBtn; }
    QButtonGroup* SourceGroup() const { return m_source; }
    // The run in progress or last run; null when the game's board cannot be analysed.
    const Solver::Run* CurrentRun() const { return m_run.get(); }
    // The tile numbers marked on the board by "次の一手" (0 when none).
    std::pair<int, int> MarkedTiles() const;
    // Reads the run now, as the window's timer does.
    void Poll();

protected:
    // Activated (after the options dialog, say), it looks at the game again: score tables
    // edited meanwhile start the search again.
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // What the window last took from the game.
    struct Snapshot
    {
        std::optional<Solver::Board> position;
        std::optional<Solver::Board> deal;
        int completedPoints = 0;
        int playerTotal = 0;
        bool movesMade = false;
        bool finished = false; // no pair left on the board
        quint32 dealNumber = 0;
        Solver::PairValues values;

        // Whether a search of this state would be the search of `other`.
        bool SameSearch(const Snapshot& other, bool fromDeal) const;
    };

    void PlaceBeside(const QWidget& main);
    bool FromDeal() const;
    Snapshot TakeSnapshot() const;
    void Begin(const Snapshot& snapshot, bool finishedGame);
    void RetireRun();
    void ShowState(const Solver::Run::State& state);
    void ShowLine(const Solver::Line& line);
    void ClearMarks();
    bool LineStartsOnTheBoard() const;

    TMainF& m_main;
    GameSession& m_session;
    std::unique_ptr<Solver::Run> m_run;
    // Runs asked to stop, kept until their workers have ended, so that no click waits for them.
    std::vector<std::unique_ptr<Solver::Run>> m_retired;
    Snapshot m_analysed;        // the game state the run is about
    Snapshot m_finishedGame;    // the last game that ended while the window watched
    bool m_finishedPending = false; // a game ended since the last look at the game
    bool m_heldFinished = false; // the run is about m_finishedGame, not the board shown
    int m_base = 0;             // points before the run's starting board
    Solver::Line m_shownLine;
    int m_shownTotal = 0;
    bool m_shownProven = false;
    bool m_restartPending = false;
    std::unique_ptr<QElapsedTimer> m_clock;
    qint64 m_stoppedAfterMs = -1;

    QButtonGroup* m_source = nullptr;
    QLabel* m_bestCaption = nullptr;
    QLabel* m_bestTotal = nullptr;
    QLabel* m_playerTotal = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_note = nullptr;
    TStringGrid* m_line = nullptr;
    QPushButton* m_nextBtn = nullptr;
    QPushButton* m_stopBtn = nullptr;
    QTimer* m_poll = nullptr;
    std::vector<QPointer<QWidget>> m_marks;
};
