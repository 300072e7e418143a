// SPDX-License-Identifier: MIT
// TMainF's kept game: restored at creation when the player has asked for it, kept (or
// dropped) at close.
#include "windows/Main.h"

// Qt
#include <QDir>
#include <QFileInfo>

// own
#include "app/AppModel.h"
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
        if (m_game.Restore(read.saved.game)) {
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

void TMainF::KeepGameAtClose()
{
    const QString path = SavedGameFile::Path();
    // With the switch off no game is kept, and none kept earlier may come back when it is
    // turned on again. A game closed while its end was being shown is over.
    if (!m_model.Options().resumeGame || !Game::IsTileNumber(m_game.FindMove())) {
        SavedGameFile::Remove(path);
        return;
    }
    // A data folder that cannot be written (the saved game's own, for the player's data
    // folder) was named at start; the close does not say it again.
    if (m_model.SavesRefused()
        && QDir(QFileInfo(path).absolutePath()) == QDir(m_model.ProgramFolder()))
        return;
    const SavedGameFile::SavedGame saved { m_game.Record(), m_elapsed.Seconds(), m_model.TablesFingerprint() };
    QString why;
    if (!SavedGameFile::Save(path, saved, &why))
        ShowMessage(QStringLiteral("終了時のゲームを保存できませんでした。次の起動では新しい盤面を配ります。\n")
            + QDir::toNativeSeparators(path) + QStringLiteral("（") + why + QStringLiteral("）"));
}
