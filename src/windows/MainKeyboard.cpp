// SPDX-License-Identifier: MIT
// TMainF's keyboard play: the board panel's keys (arrows, Space, Shift+Space, Backspace, H),
// the cursor they move over the tiles in play, and the mouse presses on the board that hide
// it.
#include "windows/Main.h"

// Qt
#include <QKeyEvent>

// own
#include "app/GameSession.h"
#include "controls/BrimBtn.h"
#include "controls/GradBox.h"
#include "controls/Panel.h"
#include "windows/CursorFrame.h"

bool TMainF::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_bPnl || watched == m_gradBox2) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            BoardMousePress(0);
            break;
        case QEvent::KeyPress:
            if (watched == m_bPnl && BoardKeyPress(*static_cast<QKeyEvent*>(event)))
                return true;
            break;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TMainF::BoardKeyPress(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const bool shift = modifiers == Qt::ShiftModifier;
    // Keys with Ctrl or Alt, and shifted keys other than Space and Backspace, are left to
    // the window.
    if (modifiers != Qt::NoModifier
        && !(shift && (event.key() == Qt::Key_Space || event.key() == Qt::Key_Backspace)))
        return false;
    switch (event.key()) {
    case Qt::Key_Left:
        MoveCursor(-1, 0);
        return true;
    case Qt::Key_Right:
        MoveCursor(1, 0);
        return true;
    case Qt::Key_Up:
        MoveCursor(0, -1);
        return true;
    case Qt::Key_Down:
        MoveCursor(0, 1);
        return true;
    case Qt::Key_Space:
        // A cursor the player cannot see picks nothing: the first press shows it.
        if (!m_cursorShown || m_cursorFrame->isHidden()) {
            MoveCursor(0, 0);
            return true;
        }
        if (shift)
            m_session.Pick(m_cursorTile, PickMode::Hold);
        else
            m_session.Pick(m_cursorTile, PickMode::Remove);
        return true;
    case Qt::Key_Backspace:
        if (shift)
            RedoClick();
        else
            ReBtnClick();
        return true;
    case Qt::Key_H:
        m_cursorShown = true;
        HintBtnClick();
        PlaceCursor();
        return true;
    default:
        return false;
    }
}

void TMainF::BoardMousePress(int tile)
{
    m_cursorShown = false;
    if (tile > 0)
        m_cursorTile = tile;
    m_bPnl->setFocus(Qt::MouseFocusReason);
    PlaceCursor();
}

void TMainF::MoveCursor(int dCol, int dRow)
{
    // A hidden cursor first shows where it stands; only the next key moves it.
    if (m_cursorShown)
        m_cursorTile = m_session.State().CursorStep(m_cursorTile, dCol, dRow);
    m_cursorShown = true;
    PlaceCursor();
}

void TMainF::PlaceCursor()
{
    if (!m_cursorFrame)
        return;
    // Keep to a tile in play; with none (the moment after the last pair went) the place
    // stays for the next deal.
    const int n = m_session.State().NearestInPlay(m_cursorTile);
    if (n > 0)
        m_cursorTile = n;
    if (!m_cursorShown || n == 0) {
        m_cursorFrame->hide();
        return;
    }
    m_cursorFrame->setGeometry(::CursorFrame::Around(m_tiles[size_t(n - 1)]->geometry()));
    m_cursorFrame->show();
}
