// SPDX-License-Identifier: MIT
#include "app/RankingFile.h"

#include "game/Ranking.h"
#include "store/TableFile.h"

// Qt
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

RankingFile::RankingFile(const QString& path, const QString& readPath, bool savesRefused)
    : m_grid(Ranking::Columns, Ranking::EmptyRowCount)
    , m_path(path)
    , m_readPath(readPath)
    , m_savesRefused(savesRefused)
{
    Ranking::WriteHeader(m_grid);
}

QString RankingFile::ReadPath() const
{
    return m_readPath.isEmpty() || QFileInfo::exists(m_path) ? m_path : m_readPath;
}

void RankingFile::Load()
{
    TableFile::Load(m_grid, ReadPath());
    Ranking::Normalise(m_grid);
}

void RankingFile::Enter(int place, const QString& name, int points, const QDateTime& when)
{
    Ranking::InsertRankEntry(m_grid, place, name, points, when);
    m_entry = Entry { name, points, when };
    m_entryRow = place;
}

void RankingFile::TrimToPlaces()
{
    Ranking::TrimToPlaces(m_grid);
    m_trimmed = true;
}

void RankingFile::Clear()
{
    if (!m_savesRefused)
        QFile::remove(m_path);
    // Cleared, the ranking does not come back from the seed in this run.
    m_readPath.clear();
    m_grid.SetRowCount(Ranking::EmptyRowCount);
    m_grid.ClearRow(1);
    m_entry.reset();
    m_trimmed = false;
}

bool RankingFile::Save(QString* why)
{
    if (m_savesRefused)
        return false;
    QLockFile lock(m_path + QStringLiteral(".lock"));
    // A copy killed while it saved leaves a lock that only its age shows to be stale; a
    // save holds the lock for milliseconds.
    lock.setStaleLockTime(StaleLockMs);
    if (!lock.tryLock(LockWaitMs) && lock.error() == QLockFile::LockFailedError) {
        if (why)
            *why = QCoreApplication::translate("RankingFile", "他のプログラムが使用中です");
        return false;
    }
    // No lock file can be made where the ranking cannot be written either: the save goes on
    // and says why it fails.
    switch (TableFile::Load(m_grid, ReadPath())) {
    case TableFile::LoadResult::Loaded:
        Ranking::Normalise(m_grid);
        Ranking::RenumberRanks(m_grid);
        PlaceEntry();
        break;
    case TableFile::LoadResult::Missing:
        // Never saved, or cleared since: the entry goes into the empty ranking.
        m_grid.SetRowCount(Ranking::EmptyRowCount);
        m_grid.ClearRow(1);
        PlaceEntry();
        break;
    case TableFile::LoadResult::Unreadable:
        // What the file holds cannot be known; the grid, the entry in it, is all there is.
        break;
    }
    m_entry.reset();
    m_trimmed = false;
    return TableFile::Save(m_grid, m_path, nullptr, why);
}

void RankingFile::PlaceEntry()
{
    if (m_entry) {
        // As the ranking window places a result it is offered.
        const int place
            = Ranking::IsEmpty(m_grid) ? 1 : Ranking::RankPosition(m_grid, m_entry->points);
        if (place >= 1 && place <= Ranking::Places)
            Ranking::InsertRankEntry(m_grid, place, m_entry->name, m_entry->points, m_entry->when);
        if (place >= 1 && place < m_grid.RowCount())
            m_grid.SetRow(place);
        m_entryRow = place;
    }
    if (m_entry || m_trimmed)
        Ranking::TrimToPlaces(m_grid);
}
