// SPDX-License-Identifier: MIT
#include "app/AppModel.h"

#include "game/Ranking.h"
#include "game/ScoreTables.h"
#include "store/DataFolder.h"
#include "store/Keys.h"
#include "store/SavedGameFile.h"
#include "store/SettingsStore.h"

// Qt
#include <QCoreApplication>
#include <QDir>

namespace {

DataFolder::Choice ChoiceOf(const QString& folder)
{
    // No folder given: the one chosen at start-up, the executable's or the player's own.
    if (folder.isEmpty())
        return DataFolder::Current();
    DataFolder::Choice choice;
    choice.folder = folder;
    if (!choice.folder.endsWith(QLatin1Char('/')) && !choice.folder.endsWith(QDir::separator()))
        choice.folder += QDir::separator();
    return choice;
}

StoredTable ScoreTableIn(const DataFolder::Choice& data, int kind)
{
    const QString name = ScoreTables::FileName(kind);
    return StoredTable(data.WritePath(name), ScoreTables::Columns, ScoreTables::InitialRowCount(kind),
        data.ReadPath(name));
}

} // namespace

AppModel::AppModel(const QString& programFolder)
    : AppModel(ChoiceOf(programFolder))
{
}

AppModel::AppModel(const DataFolder::Choice& data)
    : m_folder(data.folder)
    , m_savesRefused(!data.unwritable.Ok())
    , m_folderNotice(DataFolder::UnwritableMessage(data))
    , m_tables { ScoreTableIn(data, 1), ScoreTableIn(data, 2), ScoreTableIn(data, 3) }
    , m_ranking(data.WritePath(Ranking::FileName()), data.ReadPath(Ranking::FileName()), m_savesRefused)
{
    ReadScoreTables();
    ReadOptions(RegOpen::Existing);
}

TextGrid* AppModel::ScoreTable(int kind)
{
    return kind >= 1 && kind <= 3 ? &m_tables[size_t(kind - 1)].Grid() : nullptr;
}

void AppModel::ReadScoreTables()
{
    for (int kind = 1; kind <= 3; ++kind)
        m_tables[size_t(kind - 1)].Grid().SetRowCount(ScoreTables::InitialRowCount(kind));
    for (StoredTable& table : m_tables)
        table.Load();
}

QStringList AppModel::WriteScoreTables()
{
    QStringList lost;
    if (m_savesRefused)
        return lost;
    for (StoredTable& table : m_tables) {
        QString why;
        if (table.Edited() && !table.Save(&why))
            lost << QStringLiteral("%1（%2）").arg(table.Path(), why);
    }
    return lost;
}

QByteArray AppModel::TablesFingerprint() const
{
    QStringList paths;
    for (const StoredTable& table : m_tables)
        paths << table.ReadPath();
    return SavedGameFile::TablesFingerprint(paths);
}

QString AppModel::ReadOptions(RegOpen mode)
{
    SettingsStore store = OpenStore(Keys::Root, mode);
    m_optionsRead.Clear();
    store.Remember(&m_optionsRead);
    m_options.soundOn = store.ReadFlag(Keys::Wav::CB1);
    m_options.quitOnWarning = store.ReadFlag(Keys::Set::CB2);
    m_options.showElapsed = store.ReadFlag(Keys::Set::CB3);
    m_options.warningMinutes = store.ReadText(Keys::Set::TimeE);
    m_options.solvableDeals = store.ReadFlag(Keys::Set::Solvable);
    m_options.desktopColors = store.ReadFlag(Keys::Set::DesktopColors);
    m_options.resumeGame = store.ReadFlag(Keys::Set::Resume);
    return store.ErrorMessage();
}

QString AppModel::WriteOptions()
{
    SettingsStore store = OpenStore(Keys::Root);
    store.Remember(&m_optionsRead);
    store.WriteAll({
        { Keys::Wav::CB1, m_options.soundOn },
        { Keys::Set::CB2, m_options.quitOnWarning },
        { Keys::Set::CB3, m_options.showElapsed },
        { Keys::Set::TimeE, m_options.warningMinutes },
        { Keys::Set::Solvable, m_options.solvableDeals },
        { Keys::Set::DesktopColors, m_options.desktopColors },
        { Keys::Set::Resume, m_options.resumeGame },
    });
    return store.ErrorMessage();
}
