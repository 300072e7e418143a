// SPDX-License-Identifier: MIT
// The data the windows share, made before the first window and kept until the last one is
// gone: the three score tables the game scores with, the ranking, and the options the
// player sets in the options dialog. The windows show and edit these in place, so an edit
// counts the moment it is made; the model reads them from and writes them to the table
// files in the program folder and the settings store.
//
// The tables and the options are read when the model is made, so the first board scores,
// and the first deal follows the clearable-deal switch, before the options dialog exists.
#pragma once

#include "app/RankingFile.h"
#include "app/StoredTable.h"
#include "platform/Registry.h"
#include "store/DataFolder.h"
#include "store/Keys.h"
#include "store/SettingsStore.h"

// Qt
#include <QFont>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>

class GameSession;

// The options the player sets in the options dialog, read live by the rest of the program:
// the sound switch by the sound routine, the warning by the main window's timer, the
// clearable-deal switch by the deal, the board font by the board.
struct LiveOptions
{
    bool soundOn = Keys::Wav::CB1.defaultValue;               // "音を鳴らす"
    bool quitOnWarning = Keys::Set::CB2.defaultValue;         // "警告時に終了する。"
    bool showElapsed = Keys::Set::CB3.defaultValue;           // "経過時間を表示する。"
    QString warningMinutes = Keys::Set::TimeE.defaultValue;   // as typed
    bool solvableDeals = Keys::Set::Solvable.defaultValue;    // "全部消せる盤面を配る"
    bool desktopColors = Keys::Set::DesktopColors.defaultValue; // "デスクトップの配色を使う"
    bool resumeGame = Keys::Set::Resume.defaultValue;         // "終了時のゲームを次に続ける"
    // The board font and its colour value (SysColors.h). The main window loads and stores
    // them (FontInfo1); the dialog's font button changes them.
    QFont boardFont;
    quint32 boardFontColor = 0x80000008; // the window-text system colour
};

// The choices the next deal is made with, as the main window's lists show them; the game
// session keeps them (GameSession::Choices) and the main window reads and writes them.
struct DealChoices
{
    int heightIndex = Keys::Sys::CBH.defaultValue; // item of the board-height list CBH
    int widthIndex = Keys::Sys::CBW.defaultValue; // item of the board-width list CBW
    int symbolSets = Keys::Sys::CG1.defaultValue; // CG1's BitChk: bit 0 stems, 1 branches, 2 stars
    int colouring = Keys::Sys::RGC.defaultValue; // item of the colouring choice RGC

    bool operator==(const DealChoices&) const = default;
};

class AppModel
{
public:
    // programFolder: where the table files and the ranking live (a missing trailing
    // separator is added); empty means the folder of the executable. Reads the score tables
    // and the options; reading creates no settings key, and what cannot be read keeps its
    // default without a word here (the options dialog reads the options again and says so).
    explicit AppModel(const QString& programFolder = QString());
    // The data folder as chosen at start-up (DataFolder.h): a file the folder lacks is read
    // from the seed it could not be copied from, and a folder that cannot be written saves
    // nothing in this run and says nothing more about it (the start-up notice said it).
    explicit AppModel(const DataFolder::Choice& data);
    ~AppModel();
    AppModel(const AppModel&) = delete;
    AppModel& operator=(const AppModel&) = delete;

    // The game being played, with the deal choices (GameSession.h).
    GameSession& Session() { return *m_session; }

    // With its trailing separator.
    const QString& ProgramFolder() const { return m_folder; }

    LiveOptions& Options() { return m_options; }
    const LiveOptions& Options() const { return m_options; }
    DealChoices& Deal() { return m_deal; }
    const DealChoices& Deal() const { return m_deal; }

    // The score table of symbol kind 1, 2 or 3; null for any other kind.
    TextGrid* ScoreTable(int kind);
    RankingFile& Rank() { return m_ranking; }

    // Gives each score table its first row count and reads its file again: an edit made
    // since is lost, except in a table whose file cannot be read.
    void ReadScoreTables();
    // Writes the score tables that hold anything their files do not (StoredTable::Edited).
    // Every table is tried; the result names each file not written, with the reason, as
    // "path（reason）". Nothing is tried, and nothing named, while saves are refused.
    QStringList WriteScoreTables();
    // Whether the data folder cannot be written in this run (the player was told at start).
    bool SavesRefused() const { return m_savesRefused; }
    // The start-up notice for a data folder that cannot be written; empty when it can.
    const QString& DataFolderNotice() const { return m_folderNotice; }
    // A fingerprint of the three score tables as read (SavedGameFile::TablesFingerprint).
    QByteArray TablesFingerprint() const;

    // Reads the settings of owner (Keys::All; not the board font) from the settings store,
    // opened with mode, into Options() or Deal(). The result names what could not be read
    // (SettingsStore::ErrorMessage); empty when all was read.
    QString ReadSettings(Keys::Owner owner, RegOpen mode = RegOpen::Create);
    // Writes the settings of owner that were changed since they were last read, so that
    // another running copy's change of another setting survives; the result names what
    // could not be written.
    QString WriteSettings(Keys::Owner owner);

private:
    QString m_folder;
    bool m_savesRefused = false;
    QString m_folderNotice;
    // Where Read/WriteSettings keep a setting: Options() or Deal().
    template <class Holder> Holder& Part();

    LiveOptions m_options;
    DealChoices m_deal;
    // What each owner's settings were when last read or written.
    std::array<SettingsMemo, Keys::OwnerCount> m_settingsRead;
    std::array<StoredTable, 3> m_tables;
    RankingFile m_ranking;
    // Last, so that it goes first: it scores with the tables above.
    std::unique_ptr<GameSession> m_session;
};
