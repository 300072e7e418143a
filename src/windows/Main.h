// SPDX-License-Identifier: MIT
// TMainF: the main window. It lays out the board of 120 tiles, the element strip, the
// command buttons, the move log and the board-size and symbol-set choices, holds the menu,
// and renders the game session (src/app/GameSession.h): it draws what the session reports,
// turns the player's input into the session's typed calls, plays the sounds the session
// asks for, and when the session reports the end of a game runs the notice, the ranking and
// the next deal. It also runs the one-second timer with the elapsed time and the over-play
// warning.
//
// Keyboard play: while the board panel has the focus (from the start, and again after any
// mouse press on the board), the arrow keys move a cursor over the tiles in play, Space
// presses the tile under it as the left button would, Shift+Space as the right button
// would, Backspace undoes as "<<" does, Shift+Backspace redoes what undo took back, and H
// asks for a hint as "!!" does. The first arrow
// key (or Space) only shows the cursor where it stands; a mouse press on the board hides
// it again and leaves it on the pressed tile. The cursor stops at the edges of the board
// in play and moves to the nearest tile in play whenever its tile leaves play.
//
// When the player has asked for it (Set\Resume), the game in progress is kept in the
// player's data folder, written a moment after every change of the board and at close, and
// the next start goes on with it instead of dealing (MainResume.cpp). A game is dropped the
// moment it ends, before its ranking; a kept game that is damaged, finished, or was scored
// with other tables gives a new deal.
#pragma once

// Qt
#include <QMainWindow>
#include <QPointer>

// own
#include "game/Game.h"
#include "game/OverPlay.h"
#include "controls/SysColors.h"
#include "store/SettingsStore.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>

class AppModel;
class GameKeeper;
class GameSession;
struct DealChoices;
class Panel;
class QAction;
class QButtonGroup;
class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QRadioButton;
class QTimer;
class SoundPlayer;
class TAboutBox;
class TBrimBtn;
class TChkGroup;
class TDealF;
class TFontInfo;
class TGradBox;
class TNBAry;
class TRankF;
class TSetuF;
class TStringGrid;
class TURLLink;

class TMainF : public QMainWindow
{
    Q_OBJECT

public:
    // The window's creation handler runs here: settings, board font, tiles, first deal.
    // It renders the model's game session and reads its live options; the board font it
    // loads becomes the model's.
    explicit TMainF(AppModel& model, QWidget* parent = nullptr);
    ~TMainF() override;

    // The windows created after this one, handed over by the start-up once they exist.
    void SetWindows(TAboutBox* about, TRankF* rank, TSetuF* setu);

    // The game this window renders.
    GameSession& Session() const { return m_session; }

    // --- commands
    // Start!! and ファイル → スタート: the beep and a fresh deal, refused with a message while
    // no symbol set (CG1) is checked.
    void StartBtnClick();
    // ファイル → ハイスコア (H1): the ranking table, only shown; a finished game still waiting
    // to be entered is no longer offered it.
    void H1Click();
    // ファイル → 終了 (Exit1): closes the window, and so the program.
    void Exit1Click();
    // 設定 (O1): the options dialog, modal.
    void O1Click();
    // ヘルプ → 目次 (Contents1, F1): the help viewer at its contents.
    void Contents1Click();
    // ヘルプ → バージョン情報 (About1): the about box, modal.
    void About1Click();
    // ヘルプ → ｻﾎﾟｰﾄﾍﾟｰｼﾞへ (W1): opens the support page as a click on the link URLLink1 does.
    void W1Click();
    // The best-score window (src/windows/Analysis.h).
    void BestClick();
    // "<<" and ファイル → 元に戻す (R1): undo, handed to the game.
    void ReBtnClick();
    // Redo (ファイル → やり直し, Ctrl+Shift+Z, Ctrl+Y): beeps, as undo does, and puts back
    // what the last undo took back.
    void RedoClick();
    // ファイル → 番号を指定して配る…: the dialog, then a deal of the number it takes, as
    // Start deals.
    void DealNo1Click();
    // Deals the board of that number as Start!! deals a fresh one: the beep, and the refusal
    // without a symbol set.
    void DealNumbered(quint32 number);
    // "!!": the game's hint; the keyboard cursor goes to the tile it picked.
    void HintBtnClick();
    // Timer1, every second: the elapsed time (TimeL) shown or hidden as the options say,
    // and the over-play warning when its minutes are up.
    void Timer1Timer();

    // Copies the board font (the model's, which the options dialog's font button changes)
    // onto the board panel and every tile.
    void ApplyBoardFont();

    // Plays a sound, unless the player has switched sounds off.
    void PlayWave(Sound sound);
    // The plain system beep (undo, the start command).
    void Beep();
    // A modal notice with the program's title; a test's hook takes it instead when set.
    void ShowMessage(const QString& text);

    // --- for tests: the controls, and replaceable message box and clock
    TBrimBtn* Tile(int col, int row) const { return m_tiles[size_t(col + row * Game::Cols)]; }
    TBrimBtn* StartBtn() const { return m_startBtn; }
    TBrimBtn* ReBtn() const { return m_reBtn; }
    TBrimBtn* HintBtn() const { return m_hintBtn; }
    QComboBox* CBH() const { return m_cbh; }
    QComboBox* CBW() const { return m_cbw; }
    TChkGroup* CG1() const { return m_cg1; }
    QButtonGroup* RGC() const { return m_rgc; }
    QFrame* RGCBox() const { return m_rgcBox; }
    TNBAry* GSG() const { return m_gsg; }
    TStringGrid* SG1() const { return m_sg1; }
    QLabel* TimeL() const { return m_timeL; }
    QLabel* PntL() const { return m_pntL; }
    QLabel* ZanL() const { return m_zanL; }
    Panel* BPnl() const { return m_bPnl; }
    TURLLink* URLLink1() const { return m_urlLink1; }
    QAction* Action(const QString& name) const;
    // The numbered-deal dialog; made at its first showing.
    TDealF* DealF() const { return m_dealF; }
    QTimer* Timer1() const { return m_timer1; }
    using MessageHook = std::function<void(const QString& text)>;
    void SetMessageHook(MessageHook hook) { m_messageHook = std::move(hook); }
    void SetClock(OverPlay::Clock clock)
    {
        m_elapsed.SetClock(std::move(clock));
        m_warnings = {};
    }
    // The window's size with its frame and caption: 572 wide whatever the board size.
    QSize OuterSize() const;
    int BeepCount() const { return m_beepCount; }
    QFont BoardFont() const;
    // The keyboard cursor: the tile number it stands on (0 before the first deal), whether
    // it shows, and the frame that draws it over the tile.
    int CursorTile() const { return m_cursorTile; }
    bool CursorShown() const { return m_cursorShown; }
    QWidget* CursorFrame() const { return m_cursorFrame; }

signals:
    // The window has closed: the program ends.
    void Closed();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // The board panel's keys, and mouse presses on the board outside the tiles.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    void BuildMenu();
    void CreateTiles();
    void LayoutControls();
    void SizeWindow();
    QSize Decorations() const;
    int LaidOutMenuBarHeight() const;
    // From the constructor: the "Sys" choices and the board font read, the tiles made, the
    // kept game restored or a first deal, the layout and the timers started.
    void FormCreate();
    // Each time the window becomes active: the board font applied again (it may have changed
    // in the options dialog).
    void FormActivate();
    // At the first close: the timer stopped, the changed "Sys" choices written, the game kept.
    void FormClose();
    // From the destructor: the board font written when it changed.
    void FormDestroy();
    void ReadSettings();
    // What the game session reports, drawn.
    void ShowBoard();
    void ShowElementCounts(const std::array<int, 5>& counts);
    void ShowRemaining(int remaining);
    void ShowPoints(int total, PointsRefresh refresh);
    void ShowChoices(const DealChoices& choices);
    void BindSession();
    // The end of a game, once the click that ended it has returned: the kept game dropped,
    // the notice, the result offered to the ranking, and the next deal.
    void GameEnded(GameEnd end);
    void StartDeal(std::optional<quint32> number);
    bool RestoreSavedGame();
    // Keeping the game in progress (MainResume.cpp): after a change of the board, once
    // KeepDelayMs have passed; at close; and dropped as soon as the game ends.
    enum class KeepReason { Playing, Closing };
    void ScheduleKeep();
    void KeepGame(KeepReason reason);
    void KeepGameAtClose();
    void DropKeptGame();
    void KeepFailed(const QString& path, const QString& why);
    void AddStartupError(const QString& text);
    void SetupMoveLog();
    void PlaceTopLabels();
    bool BoardKeyPress(const QKeyEvent& event);
    void BoardMousePress(int tile);
    void MoveCursor(int dCol, int dRow);
    void PlaceCursor();

    AppModel& m_model;
    GameSession& m_session;
    OverPlay::Elapsed m_elapsed;
    OverPlay::WarningWatch m_warnings;
    QString m_startupErrors;
    bool m_closed = false;
    int m_beepCount = 0;
    int m_cursorTile = 0;
    bool m_cursorShown = false;
    // A game was restored before the window first showed (see showEvent).
    bool m_logRestored = false;

    QPointer<TAboutBox> m_about;
    QPointer<TRankF> m_rank;
    QPointer<TSetuF> m_setu;
    TDealF* m_dealF = nullptr;
    QAction* m_redo1 = nullptr;
    std::unique_ptr<SoundPlayer> m_sound;
    std::unique_ptr<TFontInfo> m_fontInfo1;
    MessageHook m_messageHook;

    QWidget* m_client = nullptr;
    Panel* m_panel1 = nullptr;
    TGradBox* m_gradBox1 = nullptr;
    TURLLink* m_urlLink1 = nullptr;
    QLabel* m_timeL = nullptr;
    QLabel* m_pntL = nullptr;
    QLabel* m_zanL = nullptr;
    Panel* m_bPnl = nullptr;
    TGradBox* m_gradBox2 = nullptr;
    Panel* m_dPnl = nullptr;
    Panel* m_panel4 = nullptr;
    TNBAry* m_gsg = nullptr;
    Panel* m_panel2 = nullptr;
    TGradBox* m_tBox = nullptr;
    TBrimBtn* m_reBtn = nullptr;
    TBrimBtn* m_hintBtn = nullptr;
    TBrimBtn* m_startBtn = nullptr;
    Panel* m_panel6 = nullptr;
    TStringGrid* m_sg1 = nullptr;
    Panel* m_panel3 = nullptr;
    QLabel* m_label1 = nullptr;
    QLabel* m_label2 = nullptr;
    QComboBox* m_cbh = nullptr;
    QComboBox* m_cbw = nullptr;
    TChkGroup* m_cg1 = nullptr;
    QFrame* m_rgcBox = nullptr;
    QButtonGroup* m_rgc = nullptr;
    QTimer* m_timer1 = nullptr;
    // A crash loses at most the moves of this long; a burst of moves in it is one write.
    static constexpr int KeepDelayMs = 200;
    QTimer* m_keepTimer = nullptr;
    GameKeeper* m_keeper = nullptr;
    // A failed keep while playing is said once, not at every move.
    bool m_keepFailureShown = false;
    std::array<TBrimBtn*, Game::TileCount> m_tiles {};
    QWidget* m_cursorFrame = nullptr;
};
