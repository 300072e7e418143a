// SPDX-License-Identifier: MIT
// The ranking as one copy of the program keeps it: the grid the ranking window shows, read
// from "Rank.dat", and the entry this copy made since it last saved.
//
// Another copy of the program may save its own entries while this one shows its ranking,
// so a save does not write the grid as it stands. Under a lock on the file (a QLockFile
// beside it) it reads what the file holds now, places this copy's entry into that as the
// entry was placed when it was made (by its points, below equal results), cuts the ranking
// to 30 places where this copy cut it, and writes the result. The grid then shows the
// merged ranking. With one copy running, the file is read back unchanged and the save
// writes exactly what the grid held.
#pragma once

#include "game/TextGrid.h"

// Qt
#include <QDateTime>
#include <QString>

#include <optional>

class RankingFile
{
public:
    // path: the ranking file; the grid starts as the empty ranking (the header and one
    // empty row). readPath: where to read the ranking while path has no file (the copy the
    // data folder could not be seeded from); empty for none. savesRefused: the folder cannot
    // be written in this run, and the player has been told.
    explicit RankingFile(const QString& path, const QString& readPath = QString(), bool savesRefused = false);

    TextGrid& Grid() { return m_grid; }
    const TextGrid& Grid() const { return m_grid; }
    const QString& Path() const { return m_path; }

    // Reads the file into the grid, made whole for the window (Ranking::Normalise); a
    // missing or unreadable file leaves the grid as it was.
    void Load();
    // Enters a result at a place of the grid (Ranking::InsertRankEntry) and keeps it as this
    // copy's entry until the next save.
    void Enter(int place, const QString& name, int points, const QDateTime& when);
    // Drops every entry after the 30th, now and again at the next save.
    void TrimToPlaces();
    // Deletes the file and empties the grid; the entry made before is forgotten.
    void Clear();
    // Saves as described above. False, with the reason in why, when the file could not be
    // written; the grid shows the merged ranking either way. With saves refused, false at
    // once, and nothing changes.
    bool Save(QString* why = nullptr);
    bool SavesRefused() const { return m_savesRefused; }

    // Whether this copy has entered a result that is not saved yet.
    bool HasNewEntry() const { return m_entry.has_value(); }
    // The row of this copy's last entry: where it was entered, and after the save that
    // placed it again, where the merge put it (Ranking::NotPlaced when the other copies'
    // results left it no place). 0 before any entry.
    int EntryRow() const { return m_entryRow; }

    // How long a save waits for another copy's lock, and after how long a lock left by a
    // copy that was killed counts as stale.
    static constexpr int LockWaitMs = 10000;
    static constexpr int StaleLockMs = 4000;

private:
    struct Entry
    {
        QString name;
        int points = 0;
        QDateTime when;
    };

    // Puts the unsaved entry into the grid as read from the file, and cuts it.
    void PlaceEntry();
    // The file to read: the ranking file, or while there is none, the seed's copy.
    QString ReadPath() const;

    TextGrid m_grid;
    QString m_path;
    QString m_readPath;
    bool m_savesRefused = false;
    std::optional<Entry> m_entry;
    bool m_trimmed = false;
    int m_entryRow = 0;
};
