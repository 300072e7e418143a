// SPDX-License-Identifier: MIT
// TMainF's creation and lifetime, and what it draws from the game session's reports: the
// tiles, the counts, the labels, the deal choices, and the end of a game. Its layout is
// MainLayout.cpp, its commands MainCommands.cpp, its keyboard play MainKeyboard.cpp.
#include "windows/Main.h"

// Qt
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>

#include <utility>

// own
#include "app/AppModel.h"
#include "app/GameKeeper.h"
#include "app/GameSession.h"
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
    , m_session(model.Session())
{
    AppInfo::InstallFontSubstitutions();
    setFont(AppInfo::WindowFont(AppInfo::PGothic, -12));
    BuildLayout();
    BuildMenu();
    InstallMainShortcuts(*this);
    BindSession();
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
        m_session.Deal();
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
    AddStartupError(m_session.ReadChoices(RegOpen::Existing));
    ShowChoices(m_session.Choices());
}

void TMainF::BindSession()
{
    connect(&m_session, &GameSession::BoardChanged, this, &TMainF::ShowBoard);
    connect(&m_session, &GameSession::ElementCountsChanged, this, &TMainF::ShowElementCounts);
    connect(&m_session, &GameSession::RemainingChanged, this, &TMainF::ShowRemaining);
    connect(&m_session, &GameSession::PointsChanged, this, &TMainF::ShowPoints);
    m_redo1->setEnabled(m_session.State().CanRedo());
    connect(&m_session, &GameSession::UndoRedoChanged, this, [this](bool, bool canRedo) { m_redo1->setEnabled(canRedo); });
    connect(&m_session, &GameSession::SoundWanted, this, &TMainF::PlayWave);
    connect(&m_session, &GameSession::BeepWanted, this, &TMainF::Beep);
    connect(&m_session, &GameSession::GameEnded, this, &TMainF::GameEnded);
    connect(&m_session, &GameSession::ChoicesChanged, this, &TMainF::ShowChoices);
    connect(&m_session, &GameSession::BoardFontChanged, this, &TMainF::ApplyBoardFont);
    // The choices are the session's: a change made in the lists goes there at once.
    auto choose = [this](auto change) {
        DealChoices choices = m_session.Choices();
        change(choices);
        m_session.SetChoices(choices);
    };
    connect(m_cbh, &QComboBox::currentIndexChanged, this, [choose](int i) { choose([i](DealChoices& c) { c.heightIndex = i; }); });
    connect(m_cbw, &QComboBox::currentIndexChanged, this, [choose](int i) { choose([i](DealChoices& c) { c.widthIndex = i; }); });
    connect(m_cg1, &TChkGroup::BitChkChanged, this, [choose](int bits) { choose([bits](DealChoices& c) { c.symbolSets = bits; }); });
    connect(m_rgc, &QButtonGroup::idToggled, this, [choose](int id, bool on) {
        if (on)
            choose([id](DealChoices& c) { c.colouring = id; });
    });
}

void TMainF::ShowChoices(const DealChoices& choices)
{
    const QSignalBlocker blockH(m_cbh), blockW(m_cbw), blockG(m_cg1), blockC(m_rgc);
    m_cbh->setCurrentIndex(choices.heightIndex);
    m_cbw->setCurrentIndex(choices.widthIndex);
    m_cg1->SetBitChk(choices.symbolSets);
    m_rgc->button(choices.colouring)->setChecked(true);
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
    // Only what was changed here, so that another running copy's choices survive.
    const QString unwritten = m_session.WriteChoices();
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

// --- what the session reports ------------------------------------------------------------------

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

void TMainF::GameEnded(GameEnd end)
{
    // Over before anything is shown: a crash from here on must not bring it back.
    DropKeptGame();
    ShowMessage(GameTexts::GameOverNotice(end));
    if (m_rank)
        m_rank->ShowRanking(RankingMode::OfferResult);
    m_session.Deal();
}

void TMainF::ShowBoard()
{
    const Game& game = m_session.State();
    const QString tip = QStringLiteral("新しい盤面を配ります（いまの盤面の番号：%1）").arg(game.DealNumber());
    if (m_startBtn->toolTip() != tip)
        m_startBtn->setToolTip(tip);
    if (!m_tiles[0])
        return;
    for (int i = 0; i < Game::TileCount; ++i) {
        const ::Tile& t = game.TileByNumber(i + 1);
        TBrimBtn* tile = m_tiles[size_t(i)];
        tile->SetCaption(t.caption);
        tile->SetTopColor(t.topColor);
        tile->SetZSet(t.zset);
        if (tile->isVisibleTo(m_bPnl) != t.visible)
            tile->setVisible(t.visible);
    }
    PlaceCursor();
    ScheduleKeep();
}

void TMainF::ShowElementCounts(const std::array<int, 5>& counts)
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

void TMainF::ShowRemaining(int remaining)
{
    m_zanL->setText(GameTexts::RemainingLabel(remaining));
    PlaceTopLabels();
}

void TMainF::ShowPoints(int total, PointsRefresh refresh)
{
    m_pntL->setText(GameTexts::PointsLabel(total, refresh));
    PlaceTopLabels();
}

void TMainF::ShowMessage(const QString& text)
{
    if (m_messageHook) {
        m_messageHook(text);
        return;
    }
    Notice::Show(this, text);
}
