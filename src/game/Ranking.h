// SPDX-License-Identifier: MIT
// The ranking of the best 30 results: the order of the entries on a four-column text grid
// (rank, name, points, date and time), where a new result goes, and the rank numbers with
// their ties. Row 0 is the header; rows 1.. are the entries, best first. The ranking window
// shows the grid and the table file keeps it in "Rank.dat"; this module only orders it.
#pragma once

#include "game/TextGrid.h"

// Qt
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace Ranking {

constexpr int Places = 30;
// RankPosition's answer for a result that does not place.
constexpr int NotPlaced = 999;
// Header row plus one empty entry: the ranking before any result.
constexpr int EmptyRowCount = 2;

enum Column { ColRank = 0, ColName = 1, ColPoints = 2, ColTime = 3, Columns = 4 };

// "Rank.dat", in the program folder; its backup is "Ranksav".
QString FileName();
// "Rank", "Name", "Point", "Time".
QStringList HeaderTexts();
void WriteHeader(TextGrid& grid);

// The ranking holds no entry: row 1 is missing or has neither name, points nor time. (An
// entry whose player left the name empty is still an entry.)
bool IsEmpty(const TextGrid& grid);

// The place 1..30 that a result of these points takes, or NotPlaced. A result equal to an
// existing one goes below it; only points decide. A points cell that is not an integer (a
// damaged file) counts as 0.
int RankPosition(const TextGrid& grid, int points);

// Enters a result at a place: the rows from the place down move one row down (into an
// empty ranking the entry is written over row 1), then the ranks are renumbered. The name
// is kept storable: "," becomes the full-width "，" and line breaks are dropped, since the
// table file has no escaping. A grid left with a single row grows to hold the entry.
void InsertRankEntry(TextGrid& grid, int place, const QString& name, int points, const QDateTime& when);

// Rewrites the rank column: row r gets r, or the rank of the row above when both hold the
// same points text, so 50, 40, 40, 30 rank 1, 2, 2, 4.
void RenumberRanks(TextGrid& grid);

// Drops every entry after the 30th.
void TrimToPlaces(TextGrid& grid);

// Brings a grid read from a damaged file back to the shape the window needs: at least the
// header row and one entry row, the header row fixed, and the header texts when the file
// left row 0 empty.
void Normalise(TextGrid& grid);

// "yyyy/mm/dd hh:nn", 24-hour, whatever the locale.
QString FormatTime(const QDateTime& when);

// A name as it can be stored in the table file.
QString StorableName(const QString& name);

} // namespace Ranking
