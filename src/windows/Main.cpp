// SPDX-License-Identifier: MIT
// TMainF's creation and lifetime, and the two hosts it is: the game's (sounds, messages, the
// player's choices, the board drawn from the game's tiles) and the ranking window's. Its
// layout is MainLayout.cpp, its commands MainCommands.cpp, its keyboard play
// MainKeyboard.cpp.
#include "windows/Main.h"

// Qt
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include <utility>

// own
#include "app/AppModel.h"
#include "app/GameKeeper.h"
#include "controls/BrimBtn.h"
#include "controls/ChkGroup.h"
#include "controls/NBAry.h"
#include "controls/NewCtrls.h"
#include "controls/Panel.h"
#include "controls/StringGrid.h"
#include "game/Symbols.h"
#include "platform/sound/SoundPlayer.h"
#include "store/Keys.h"
#include "store/SettingsStore.h"
#include "windows/About.h"
#include "windows/AppInfo.h"
#include "windows/GameTexts.h"
#include "windows/Notice.h"
#include "windows/Rank.h"
#include "windows/MainShortcuts.h"
#include "windows/Setu.h"

using namespace SysColors;

TMainF::TMainF(AppModel& model, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint
                              | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_model(model)
    , m_game(*this)
{
    AppInfo::InstallFontSubstitutions();
    setFont(AppInfo::WindowFont(AppInfo::PGothic, -12));
    BuildLayout();
    BuildMenu();
    InstallMainShortcuts(*this);
    FormCreate();
}

TMainF::~TMainF()
{
    FormDestroy();
}

void TMainF::SetWindows(TAboutBox* about, TRankF* rank, TSetuF* setu)
{
    m_about = about;
    m_rank = rank;
    m_setu = setu;
    // No sound plays before the later windows are here, just after the first frame, so the
    // clips are loaded now rather than while the window is first drawn.
    if (!m_sound)
        m_sound = std::make_unique<SoundPlayer>();
}

// --- creation and lifetime ----------------------------------------------------------------

void TMainF::FormCreate()
{
    // The random generator was seeded from the clock when the game was made, and the start
    // time taken with the elapsed-time clock.
    m_elapsed.Restart();
    setWindowTitle(AppInfo::Title);
    for (int kind = 1; kind <= 3; ++kind)
        m_game.SetScoreTable(kind, m_model.ScoreTable(kind));
    ReadSettings();
    // What cannot be saved in this run is said once, here, and not again at each close.
    AddStartupError(m_model.DataFolderNotice());
    AddStartupError(SettingsStore::UserStoreNotice());

    m_fontInfo1 = std::make_unique<TFontInfo>();
    m_fontInfo1->SetName(QStringLiteral("FontInfo1"));
    m_fontInfo1->SetEntryName(QStringLiteral("FontInfo1"));
    m_fontInfo1->SetKeyName(Keys::Root);
    const TFontInfo::StoredFont stored = m_fontInfo1->LoadFont(m_bPnl->font(), SysColors::clWindowText);
    LiveOptions& options = m_model.Options();
    options.boardFont = stored.font;
    options.boardFontColor = stored.color;
    m_bPnl->setFont(options.boardFont);
    if (!stored.error.isEmpty())
        AddStartupError(SettingsStore::ErrorMessage({}, { Keys::FontInfo1 }, { stored.error }));

    CreateTiles();
    if (!m_model.Options().resumeGame || !RestoreSavedGame())
        m_game.NewGame();
    SetupMoveLog();
    SizeWindow();
    LayoutControls();
    m_bPnl->setFocus(Qt::OtherFocusReason);
    m_timer1->start();
    // From here on every change of the board is kept (MainResume.cpp), a burst of moves in
    // one write.
    m_keepTimer = new QTimer(this);
    m_keepTimer->setSingleShot(true);
    m_keepTimer->setInterval(KeepDelayMs);
    connect(m_keepTimer, &QTimer::timeout, this, [this] { KeepGame(KeepReason::Playing); });
    m_keeper = new GameKeeper(this);
    connect(m_keeper, &GameKeeper::Failed, this, &TMainF::KeepFailed);
    // Centred on the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TMainF::ReadSettings()
{
    // Reading needs no key, and creating it at a first start is a synced write ahead of the
    // first frame: the options dialog's store, opened right after that frame, creates it.
    AddStartupError(m_model.ReadSettings(Keys::Owner::MainWindow, RegOpen::Existing));
    const DealChoices& deal = m_model.Deal();
    // A stored index outside a list falls back to its first item, which the deal needs.
    auto inList = [](int index, int count) { return index >= 0 && index < count ? index : 0; };
    m_cbh->setCurrentIndex(inList(deal.heightIndex, m_cbh->count()));
    m_cbw->setCurrentIndex(inList(deal.widthIndex, m_cbw->count()));
    m_cg1->SetBitChk(deal.symbolSets);
    m_rgc->button(deal.colouring == 1 ? 1 : 0)->setChecked(true);
}

void TMainF::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The frame is known only once the window is on screen.
    SizeWindow();
    // Showing the window activates it at start-up; without a window manager no activation
    // arrives, so the board font is applied here as well.
    ApplyBoardFont();
    // The log of a restored game moved its current row while its view had no size yet,
    // which scrolled its first rows away: from the top again, as far as that row allows.
    if (std::exchange(m_logRestored, false)) {
        m_sg1->scrollToTop();
        m_sg1->scrollTo(m_sg1->currentIndex());
    }
    if (!m_startupErrors.isEmpty()) {
        const QString text = m_startupErrors;
        m_startupErrors.clear();
        QTimer::singleShot(0, this, [this, text] { ShowMessage(text); });
    }
}

void TMainF::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    LayoutControls();
}

bool TMainF::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QMainWindow::event(event);
}

void TMainF::FormActivate()
{
    ApplyBoardFont();
}

void TMainF::closeEvent(QCloseEvent* event)
{
    if (!m_closed) {
        m_closed = true;
        FormClose();
    }
    event->accept();
    emit Closed();
}

void TMainF::FormClose()
{
    m_timer1->stop();
    DealChoices& deal = m_model.Deal();
    deal.heightIndex = m_cbh->currentIndex();
    deal.widthIndex = m_cbw->currentIndex();
    deal.symbolSets = m_cg1->BitChk();
    deal.colouring = m_rgc->checkedId();
    // Only what was changed here, so that another running copy's choices survive.
    const QString unwritten = m_model.WriteSettings(Keys::Owner::MainWindow);
    if (!unwritten.isEmpty())
        ShowMessage(unwritten);
    KeepGameAtClose();
}

void TMainF::AddStartupError(const QString& text)
{
    if (text.isEmpty())
        return;
    // Said together, once the window shows.
    m_startupErrors = m_startupErrors.isEmpty() ? text : m_startupErrors + QStringLiteral("\n\n") + text;
}

void TMainF::FormDestroy()
{
    if (!m_fontInfo1)
        return;
    m_fontInfo1->SetKeyName(Keys::Root);
    m_fontInfo1->SaveChangedFont(m_model.Options().boardFont, m_model.Options().boardFontColor);
}

// --- GameHost ----------------------------------------------------------------------------------

void TMainF::PlayWave(Sound sound)
{
    // No sound before the later windows: the player comes with them.
    if (!m_model.Options().soundOn || !m_sound)
        return;
    m_sound->Play(int(sound));
}

void TMainF::Beep()
{
    ++m_beepCount;
    QApplication::beep();
}

DealSettings TMainF::CurrentDealSettings() const
{
    DealSettings s;
    s.rows = m_cbh->currentText().toInt();
    s.cols = m_cbw->currentText().toInt();
    for (int i = 0; i < 3; ++i)
        s.sets[size_t(i)] = m_cg1->ItemChecked(i);
    s.solvable = m_model.Options().solvableDeals;
    return s;
}

Colouring TMainF::CurrentColouring() const
{
    switch (m_rgc->checkedId()) {
    case 0:
        return Colouring::ByElement;
    case 1:
        return Colouring::Plain;
    default:
        return Colouring::None;
    }
}

void TMainF::ShowGameOver(GameEnd end)
{
    // Over before anything is shown: a crash from here on must not bring it back.
    DropKeptGame();
    ShowMessage(GameTexts::GameOverNotice(end));
}

void TMainF::ShowRanking(RankingMode mode)
{
    if (m_rank)
        m_rank->ShowRanking(mode);
}

void TMainF::BoardChanged()
{
    m_redo1->setEnabled(m_game.CanRedo());
    const QString tip = QStringLiteral("新しい盤面を配ります（いまの盤面の番号：%1）").arg(m_game.DealNumber());
    if (m_startBtn->toolTip() != tip)
        m_startBtn->setToolTip(tip);
    if (!m_tiles[0])
        return;
    for (int i = 0; i < Game::TileCount; ++i) {
        const ::Tile& t = m_game.TileByNumber(i + 1);
        TBrimBtn* tile = m_tiles[size_t(i)];
        tile->SetCaption(t.caption);
        tile->SetTopColor(t.topColor);
        tile->SetZSet(t.zset);
        if (tile->isVisibleTo(m_bPnl) != t.visible)
            tile->setVisible(t.visible);
    }
    PlaceCursor();
    ScheduleKeep();
    emit GameBoardChanged();
}

void TMainF::ElementStripChanged(const std::array<int, 5>& counts)
{
    for (int j = 0; j < 5; ++j) {
        TBrimBtn* cell = m_gsg->Buttons(j, 0);
        if (!cell)
            continue;
        cell->SetCaption(QString::number(counts[size_t(j)]));
        cell->SetTopColor(Symbols::ElementColors[size_t(j)]);
        cell->SetFontColor(clWhite);
        cell->SetOutLineColor(clBlue);
    }
}

void TMainF::RemainingChanged(int remaining)
{
    m_zanL->setText(GameTexts::RemainingLabel(remaining));
    PlaceTopLabels();
}

void TMainF::PointsChanged(int total, PointsRefresh refresh)
{
    m_pntL->setText(GameTexts::PointsLabel(total, refresh));
    PlaceTopLabels();
}

// --- RankHost ----------------------------------------------------------------------------------

int TMainF::PointsTotal() const
{
    return m_game.PointsTotal();
}

::RankPending TMainF::RankPending() const
{
    return m_game.RankPending();
}

void TMainF::SetRankPending(::RankPending value)
{
    m_game.SetRankPending(value);
}

void TMainF::NewGame()
{
    m_game.NewGame();
}

void TMainF::ShowMessage(const QString& text)
{
    if (m_messageHook) {
        m_messageHook(text);
        return;
    }
    Notice::Show(this, text);
}
