// SPDX-License-Identifier: MIT
// TSetuF, the options dialog ("設定"): sounds on or off, the board font, the over-play
// warning and the three score tables. It is made once at start-up and lives for the whole
// run, hidden between showings, and its controls ARE the program's settings: the sound
// routine reads CB1, the main window's timer reads CB2, CB3 and TimeE, its deal reads CB4,
// its close reads CB5, and the game scores against the grids SG1 to SG3, all live, so an
// edit counts the moment it is made.
//
// Closing it in any way (OK, キャンセル, Esc, the close box) saves the three tables to their
// files in the program folder and the six settings to the store; キャンセル and Esc first
// reload both, which discards the edits. The ranking window borrows the table-file
// operations through slot 0.
#pragma once

// Qt
#include <QDialog>
#include <QFont>
#include <QPointer>
#include <QString>
#include <QStringList>
// own
#include "SysColors.h"
#include "TextGrid.h"

#include <array>
#include <functional>

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
    // The table slots: 0 the ranking, 1 to 3 the score tables of symbol kinds 1 to 3.
    static constexpr int SlotCount = 4;
    static constexpr int RankingSlot = 0;

    // The client size of the layout, and the smallest the dialog may become.
    static constexpr int DesignWidth = 427;
    static constexpr int DesignHeight = 293;

    // programFolder: where the table files live, with its trailing separator (a missing
    // separator is added). boardFont and boardFontColor: the main window's board font,
    // which the sample label shows and the font dialog starts from.
    // Runs FormCreate: the tables are loaded and the settings read before this returns.
    TSetuF(const QString& programFolder, const QFont& boardFont, ColorValue boardFontColor,
           QWidget* parent = nullptr);
    ~TSetuF() override;

    // --- The live settings ------------------------------------------------------------
    bool SoundOn() const;       // CB1 "音を鳴らす"
    bool QuitOnWarning() const; // CB2 "警告時に終了する。"
    bool ShowElapsed() const;   // CB3 "経過時間を表示する。"
    bool SolvableDeals() const; // CB4 "全部消せる盤面を配る", read by the main window's deal
    bool ResumeGame() const;    // CB5 "終了時のゲームを次に続ける", read by the main window at close
    QString WarningMinutesText() const; // TimeE, as typed
    // The score table of symbol kind 1, 2 or 3; null for any other kind.
    TextGrid* ScoreTable(int kind) const;
    // The font and colour of the sample label FontL: the board font the player chose.
    QFont BoardFont() const;
    ColorValue BoardFontColor() const;

    // The board font as the main window holds it (after loading it at start-up): shown in
    // the sample label now and again whenever FormCreate runs (on キャンセル).
    void SetBoardFont(const QFont& font, ColorValue color);

    // --- Hooks --------------------------------------------------------------------------
    // Called after the player confirmed a font: the main window copies BoardFont() to its
    // board, so the tiles show it at once.
    void SetApplyBoardFont(std::function<void()> apply) { m_applyBoardFont = std::move(apply); }
    // The font dialog (FontDialog::GetFont unless replaced, as tests do).
    using FontChooser = std::function<bool(QWidget* parent, QFont& font, ColorValue& color)>;
    void SetFontChooser(FontChooser chooser);
    // How a notice reaches the player: a message box with the application title as its
    // caption unless replaced (tests collect the texts instead).
    using MessageHook = std::function<void(QWidget* parent, const QString& text)>;
    static void SetMessageHook(MessageHook hook);

    // --- Table slots and files -----------------------------------------------------------
    // Slot 0 is the ranking window's grid; until the ranking window hands it over the slot
    // is empty and file operations on it do nothing.
    void SetRankingGrid(TextGrid* grid);
    TextGrid* Slot(int slot) const;
    QString ProgramFolder() const { return m_folder; }
    // Reads the program folder's file into the slot's grid; a missing or unreadable file
    // leaves the grid as it was. True when the file was read.
    bool LoadTableFile(int slot, const QString& fileName);
    // Backs up the old file and writes the slot's grid. False (with the reason in
    // errorText) when the file could not be written; an empty slot writes nothing.
    bool SaveTableFile(int slot, const QString& fileName, QString* errorText = nullptr);

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
    TEditEx* TimeE() const { return m_timeE; }
    Panel* FontPnl() const { return m_fontPnl; }
    QLabel* FontL() const { return m_fontL; }
    // kind 1, 2 or 3.
    TStringGrid* SG(int kind) const;

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    // The page control over the bottom strip, the buttons at the strip's right end.
    void LayoutChildren();
    QWidget* CreateSystemPage();
    TStringGrid* CreateScoreGrid(int kind);
    void SetFontLFont(const QFont& font, ColorValue color);
    void ReadSettings();
    static void Notify(QWidget* parent, const QString& text);

    QString m_folder;
    QFont m_boardFont;
    ColorValue m_boardFontColor;
    ColorValue m_fontLColor;
    std::function<void()> m_applyBoardFont;
    FontChooser m_fontChooser;
    QPointer<TextGrid> m_rankingGrid;
    std::array<QPointer<TextGrid>, SlotCount> m_slots;
    bool m_closing = false;

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
    TEditEx* m_timeE = nullptr;
    Panel* m_fontPnl = nullptr;
    QLabel* m_fontL = nullptr;
    std::array<TStringGrid*, 3> m_sg{};
};
