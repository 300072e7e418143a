// SPDX-License-Identifier: MIT
// TMainF's kept game: restored at creation when the player has asked for it, kept after
// every change of the board and at close, dropped when the game ends.
#include "windows/Main.h"

// Qt
#include <QDir>
#include <QFileInfo>
#include <QTimer>

// own
#include "app/GameSession.h"
#include "app/AppModel.h"
#include "app/GameKeeper.h"
#include "store/SavedGameFile.h"

bool TMainF::RestoreSavedGame()
{
    using SavedGameFile::Status;
    const QString path = SavedGameFile::Path();
    const SavedGameFile::ReadResult read = SavedGameFile::Load(path);
    // No game kept, or a file that is not one of ours: a new deal, as at any start.
    if (read.status == Status::Missing || read.status == Status::Foreign)
        return false;
    if (read.status == Status::Unreadable) {
        AddStartupError(QStringLiteral("前回終了したときのゲームは、保存ファイルを読めないため続けられません（%1）。"
                                       "新しい盤面を配ります。\n")
                            .arg(read.error.ReadReason())
            + QDir::toNativeSeparators(path));
        return false;
    }
    if (read.status == Status::Read) {
        // A game scored with other tables does not go on under these.
        if (read.saved.tablesFingerprint != m_model.TablesFingerprint())
            return false;
        if (m_session.Restore(read.saved.game)) {
            // A game kept with no pair left is over; it is not played out and ranked again.
            if (!Game::IsTileNumber(m_session.State().FindMove())) {
                SavedGameFile::Remove(path);
                return false;
            }
            m_elapsed.Restart(read.saved.elapsedSeconds * 1000);
            m_warnings.ResumeAt(read.saved.elapsedSeconds);
            m_logRestored = true;
            return true;
        }
    }
    AddStartupError(QStringLiteral("前回終了したときのゲームは、保存ファイルが壊れているため続けられません。"
                                   "新しい盤面を配ります。\n")
        + QDir::toNativeSeparators(path));
    return false;
}

void TMainF::ScheduleKeep()
{
    if (m_keepTimer && m_model.Options().resumeGame && !m_keepTimer->isActive())
        m_keepTimer->start();
}

void TMainF::KeepGameAtClose()
{
    if (m_keepTimer)
        m_keepTimer->stop();
    // The last write is made here, after every earlier one.
    if (m_keeper)
        m_keeper->Idle();
    KeepGame(KeepReason::Closing);
}

void TMainF::DropKeptGame()
{
    if (m_keepTimer)
        m_keepTimer->stop();
    if (m_keeper)
        m_keeper->Drop(SavedGameFile::Path());
    else
        SavedGameFile::Remove(SavedGameFile::Path());
}

void TMainF::KeepFailed(const QString& path, const QString& why)
{
    if (m_keepFailureShown)
        return;
    m_keepFailureShown = true;
    ShowMessage(QStringLiteral("ゲームの途中を保存できませんでした。このあと異常終了したときは、"
                               "次の起動で続きから始められません。\n")
        + QDir::toNativeSeparators(path) + QStringLiteral("（") + why + QStringLiteral("）"));
}

void TMainF::KeepGame(KeepReason reason)
{
    const QString path = SavedGameFile::Path();
    // With the switch off no game is kept, and none kept earlier may come back when it is
    // turned on again. A game closed while its end was being shown is over.
    if (!m_model.Options().resumeGame || !Game::IsTileNumber(m_session.State().FindMove())) {
        SavedGameFile::Remove(path);
        return;
    }
    // A data folder that cannot be written (the saved game's own, for the player's data
    // folder) was named at start; neither a move nor the close says it again.
    if (m_model.SavesRefused()
        && QDir(QFileInfo(path).absolutePath()) == QDir(m_model.ProgramFolder()))
        return;
    const SavedGameFile::SavedGame saved { m_session.State().Record(), m_elapsed.Seconds(), m_model.TablesFingerprint() };
    // While playing, the write (which syncs the disk) happens on the keeper's thread.
    if (reason == KeepReason::Playing && m_keeper) {
        m_keeper->Keep(path, SavedGameFile::Format(saved));
        return;
    }
    QString why;
    if (SavedGameFile::Save(path, saved, &why))
        return;
    ShowMessage(QStringLiteral("終了時のゲームを保存できませんでした。次の起動では新しい盤面を配ります。\n")
        + QDir::toNativeSeparators(path) + QStringLiteral("（") + why + QStringLiteral("）"));
}
