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
// search. What is searched and when is the analysis session's (src/solver/AnalysisSession.h);
// the window shows it and passes on the player's clicks.
#pragma once

// Qt
#include <QWidget>
// own
#include "solver/AnalysisSession.h"

#include <optional>
#include <utility>

class QButtonGroup;
class QLabel;
class QPushButton;
class GameSession;
class TMainF;
class TStringGrid;

class TAnalysisF : public QWidget
{
    Q_OBJECT

public:
    using Source = Solver::AnalysisSession::Source;

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
    const Solver::Run* CurrentRun() const { return m_analysis.CurrentRun(); }
    const Solver::AnalysisSession& Analysis() const { return m_analysis; }
    // The tile numbers marked on the board by "次の一手" (0 when none).
    std::pair<int, int> MarkedTiles() const;
    // Reads the run now, as the session's timer does.
    void Poll() { m_analysis.Poll(); }

protected:
    // Activated (after the options dialog, say), it looks at the game again: score tables
    // edited meanwhile start the search again.
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void PlaceBeside(const QWidget& main);
    // What the session reports, shown.
    void ShowBegun();
    void ShowFollowed();
    void ShowState();
    void ShowLine();
    void ShowMark();

    TMainF& m_main;
    GameSession& m_session;
    Solver::AnalysisSession m_analysis;

    QButtonGroup* m_source = nullptr;
    QLabel* m_bestCaption = nullptr;
    QLabel* m_bestTotal = nullptr;
    QLabel* m_playerTotal = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_note = nullptr;
    TStringGrid* m_line = nullptr;
    QPushButton* m_nextBtn = nullptr;
    QPushButton* m_stopBtn = nullptr;
};
