// SPDX-License-Identifier: MIT
// TMainF's commands: the buttons and the menu, the colouring choice, the one-second timer
// with the elapsed time and the over-play warning, and the board font.
#include "windows/Main.h"

// Qt
#include <QLabel>
#include <QTimer>

// own
#include "app/AppModel.h"
#include "app/GameSession.h"
#include "controls/BrimBtn.h"
#include "controls/ChkGroup.h"
#include "controls/Panel.h"
#include "controls/ShiftState.h"
#include "controls/URLLink.h"
#include "windows/About.h"
#include "windows/Analysis.h"
#include "windows/AppInfo.h"
#include "windows/Deal.h"
#include "windows/GameTexts.h"
#include "windows/HelpViewer.h"
#include "windows/Rank.h"
#include "windows/Setu.h"

using namespace SysColors;

void TMainF::StartBtnClick()
{
    StartDeal(std::nullopt);
}

void TMainF::DealNumbered(quint32 number)
{
    StartDeal(number);
}

void TMainF::StartDeal(std::optional<quint32> number)
{
    Beep();
    if (!m_session.CanDeal()) {
        Beep();
        ShowMessage(QStringLiteral("使用するものを一つ以上チェックして下さい。"));
        return;
    }
    m_startBtn->SetFontColor(clRed);
    m_session.Deal(number);
    m_startBtn->SetFontColor(clWhite);
}

void TMainF::DealNo1Click()
{
    if (!m_dealF)
        m_dealF = new TDealF(this);
    m_dealF->Prepare(m_session.State().DealNumber());
    if (m_dealF->exec() == QDialog::Accepted && m_dealF->Chosen())
        DealNumbered(*m_dealF->Chosen());
}

// The ranking, the options dialog and the about box come just after the first frame (see
// AppWindows.h); a command that names one of them before then does nothing.

void TMainF::H1Click()
{
    m_session.SetRankPending(RankPending::None);
    if (m_rank)
        m_rank->ShowRanking(RankingMode::ShowOnly);
}

void TMainF::Exit1Click()
{
    close();
}

void TMainF::O1Click()
{
    if (m_setu)
        m_setu->exec();
}

void TMainF::Contents1Click()
{
    ShowHelp(this, Help::Contents);
}

void TMainF::About1Click()
{
    if (m_about)
        m_about->exec();
}

void TMainF::W1Click()
{
    // The support page opens as a left click on the link would open it.
    m_urlLink1->MouseDown(0, ShiftState::ssLeft, 0, 0);
}

void TMainF::ReBtnClick()
{
    m_session.Undo();
}

void TMainF::RedoClick()
{
    m_session.Redo();
}

void TMainF::HintBtnClick()
{
    m_session.Hint();
    // The cursor goes to the tile the hint picked (not when the hint took a pick back).
    const QList<int>& selection = m_session.State().Selection();
    if (selection.size() == 1) {
        m_cursorTile = selection.first();
        PlaceCursor();
    }
}

void TMainF::Timer1Timer()
{
    const LiveOptions& options = m_model.Options();
    m_timeL->setVisible(options.showElapsed);
    const qint64 seconds = m_elapsed.Seconds();
    m_timeL->setText(GameTexts::ElapsedLabel(seconds));
    if (!m_warnings.Tick(seconds, options.warningMinutes))
        return;
    PlayWave(Sound::Notice);
    // The box opens once this tick has returned: Qt does not fire a timer again while its
    // own handler is still running, so a box opened from here would stop the elapsed time
    // on screen for as long as it stayed open.
    const QString text = GameTexts::WarningNotice(options.warningMinutes, options.quitOnWarning, AppInfo::Title);
    QTimer::singleShot(0, this, [this, text] {
        ShowMessage(text);
        // Read again: the player may have changed it while the message was up.
        if (m_model.Options().quitOnWarning)
            close();
    });
}

QFont TMainF::BoardFont() const
{
    return m_model.Options().boardFont;
}

void TMainF::ApplyBoardFont()
{
    const QFont& font = m_model.Options().boardFont;
    if (m_bPnl->font() != font)
        m_bPnl->setFont(font);
    // The tiles are only drawn with it; the panel keeps it by the name it is stored under.
    const QFont drawn = AppInfo::DrawingFont(font);
    for (TBrimBtn* tile : m_tiles) {
        if (tile->font() != drawn)
            tile->setFont(drawn);
        tile->SetFontColor(clWhite);
    }
    m_session.Recolour();
}

void TMainF::BestClick()
{
    TAnalysisF::Open(*this, m_session);
}
