// SPDX-License-Identifier: MIT
// TSetuF, the options dialog ("設定"): sounds on or off, the board font, the over-play
// warning, the clearable deal, going on with the game kept at close, the colours and the
// three score tables. It is made once at start-up and lives for the whole run, hidden
// between showings. It edits the application model
// (app/AppModel.h) in place: its check boxes and edit box write the live options as they
// change, and its grids show the model's score tables, so an edit counts for the sound
// routine, the timer, the deal and the scoring the moment it is made.
//
// Closing it in any way (OK, キャンセル, Esc, the close box) saves the options to the
// store and writes each score table its file does not hold (edited since it was read, or
// never read); キャンセル and Esc first read both again, which discards the edits (a table
// whose file cannot be read keeps them). A table left as it was read is not written, so
// another copy of the program running at once keeps its edit of that table. The board
// font is not undone by キャンセル; the main window stores it when it goes.
#pragma once

// Qt
#include <QDialog>
#include <QFont>
#include <QString>
// own
#include "controls/SysColors.h"
#include "game/TextGrid.h"

#include <array>
#include <functional>

class AppModel;
class Panel;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QWidget;
class TEditEx;
class TStringGrid;

class TSetuF : public QDialog
{
    Q_OBJECT

public:
    // The client size of the layout, and the smallest the dialog may become.
    static constexpr int DesignWidth = 427;
    static constexpr int DesignHeight = 293;

    // Runs FormCreate: the tables and the options are read again and shown before this
    // returns.
    explicit TSetuF(AppModel& model, QWidget* parent = nullptr);
    ~TSetuF() override;

    // --- The live settings, as the dialog shows them -------------------------------------
    bool SoundOn() const;       // CB1 "音を鳴らす"
    bool QuitOnWarning() const; // CB2 "警告時に終了する。"
    bool ShowElapsed() const;   // CB3 "経過時間を表示する。"
    bool SolvableDeals() const; // CB4 "全部消せる盤面を配る"
    bool DesktopColors() const; // CB5 "デスクトップの配色を使う", applied to the whole program
    // CB6 "終了時のゲームを次に続ける". The main window reads the model's copy of it (resumeGame):
    // at start to go on with the kept game, after each move and at close to keep or drop it.
    bool ResumeGame() const;
    QString WarningMinutesText() const; // TimeE, as typed
    // The score table of symbol kind 1, 2 or 3; null for any other kind.
    TextGrid* ScoreTable(int kind) const;
    // The font and colour of the sample label FontL: the board font the player chose.
    QFont BoardFont() const;
    ColorValue BoardFontColor() const;

    // --- Hooks --------------------------------------------------------------------------
    // The font dialog (FontDialog::GetFont unless replaced, as tests do).
    using FontChooser = std::function<bool(QWidget* parent, QFont& font, ColorValue& color)>;
    void SetFontChooser(FontChooser chooser);
    // How a notice reaches the player: a message box with the application title as its
    // caption unless replaced (tests collect the texts instead).
    using MessageHook = std::function<void(QWidget* parent, const QString& text)>;
    static void SetMessageHook(MessageHook hook);

    // --- Handlers, named as the dialog's events -----------------------------------------
    void FormCreate();
    void FormClose();
    void CancelBtnClick();
    void HelpBtnClick();
    void DefBtnClick();
    // button: 0 left, 1 right, 2 middle; every button opens the font dialog.
    void FontPnlMouseDown(int button, int shift, int x, int y);
    void FormResize();

    // The controls, by their names.
    QTabWidget* PageControl1() const { return m_pages; }
    QPushButton* OKBtn() const { return m_okBtn; }
    QPushButton* CancelBtn() const { return m_cancelBtn; }
    QPushButton* HelpBtn() const { return m_helpBtn; }
    QPushButton* DefBtn() const { return m_defBtn; }
    QCheckBox* CB1() const { return m_cb1; }
    QCheckBox* CB2() const { return m_cb2; }
    QCheckBox* CB3() const { return m_cb3; }
    QCheckBox* CB4() const { return m_cb4; }
    QCheckBox* CB5() const { return m_cb5; }
    QCheckBox* CB6() const { return m_cb6; }
    TEditEx* TimeE() const { return m_timeE; }
    Panel* FontPnl() const { return m_fontPnl; }
    QLabel* FontL() const { return m_fontL; }
    // kind 1, 2 or 3.
    TStringGrid* SG(int kind) const;

    void done(int result) override;

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    // The page control over the bottom strip, the buttons at the strip's right end.
    void LayoutChildren();
    QWidget* CreateSystemPage();
    void CreateColoursBox(QWidget* warning);
    TStringGrid* CreateScoreGrid(int kind);
    // The controls take the model's options; from then on they write their changes back.
    void ShowOptions();
    void ShowBoardFont();
    static void Notify(QWidget* parent, const QString& text);

    AppModel& m_model;
    FontChooser m_fontChooser;
    bool m_closing = false;
    // Until the constructor has returned, a notice waits for the event loop: a message box
    // opened inside it would run the events of a start-up still creating its windows.
    bool m_constructed = false;

    QTabWidget* m_pages = nullptr;
    QWidget* m_bottom = nullptr;
    QPushButton* m_okBtn = nullptr;
    QPushButton* m_cancelBtn = nullptr;
    QPushButton* m_helpBtn = nullptr;
    QPushButton* m_defBtn = nullptr;
    QCheckBox* m_cb1 = nullptr;
    QCheckBox* m_cb2 = nullptr;
    QCheckBox* m_cb3 = nullptr;
    QCheckBox* m_cb4 = nullptr;
    QCheckBox* m_cb5 = nullptr;
    QCheckBox* m_cb6 = nullptr;
    TEditEx* m_timeE = nullptr;
    Panel* m_fontPnl = nullptr;
    QLabel* m_fontL = nullptr;
    std::array<TStringGrid*, 3> m_sg{};
};
