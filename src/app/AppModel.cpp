// SPDX-License-Identifier: MIT
#include "app/AppModel.h"

#include "game/Ranking.h"
#include "game/ScoreTables.h"
#include "store/DataFolder.h"
#include "store/Keys.h"
#include "store/SettingsStore.h"

// Qt
#include <QCoreApplication>
#include <QDir>

namespace {

QString FolderWithSeparator(const QString& folder)
{
    // No folder given: the one chosen at start-up, the executable's or the player's own.
    QString out = folder.isEmpty() ? DataFolder::Current().folder : folder;
    if (!out.endsWith(QLatin1Char('/')) && !out.endsWith(QDir::separator()))
        out += QDir::separator();
    return out;
}

StoredTable ScoreTableIn(const QString& folder, int kind)
{
    return StoredTable(folder + ScoreTables::FileName(kind), ScoreTables::Columns, ScoreTables::InitialRowCount(kind));
}

} // namespace

AppModel::AppModel(const QString& programFolder)
    : m_folder(FolderWithSeparator(programFolder))
    , m_tables { ScoreTableIn(m_folder, 1), ScoreTableIn(m_folder, 2), ScoreTableIn(m_folder, 3) }
    , m_ranking(m_folder + Ranking::FileName())
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
    for (StoredTable& table : m_tables) {
        QString why;
        if (table.Edited() && !table.Save(&why))
            lost << QStringLiteral("%1（%2）").arg(table.Path(), why);
    }
    return lost;
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
