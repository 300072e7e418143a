// SPDX-License-Identifier: MIT
// The saved game: the game in progress when the program closed, kept in the player's data
// folder so the next start can go on with it. The file is ours alone, so unlike the table
// files it carries a name, a version and a checksum: one header line
//
//   ORBILO-SAVED-GAME <version> <SHA-256 of the rest, in hex>
//
// followed by the game as a JSON object (see SavedGameFile.cpp). Reading takes bytes and
// checks them whole before anything is used; whether the game can really have been played
// is the game's own test (Game::Restore).
#pragma once

#include "game/Game.h"
#include "platform/FileError.h"

// Qt
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace SavedGameFile {

constexpr int Version = 1;

struct SavedGame
{
    GameRecord game;
    qint64 elapsedSeconds = 0; // the elapsed-time clock when the program closed
    QByteArray tablesFingerprint; // of the score tables the game was scored with

    bool operator==(const SavedGame&) const = default;
};

enum class Status {
    Read,
    Missing, // no file
    Foreign, // not a saved game, or one of another version
    Damaged, // ours, but cut short or altered
    Unreadable, // a file that cannot be read (no permission, a folder of that name, a device error)
};

struct ReadResult
{
    Status status = Status::Missing;
    SavedGame saved; // when Read
    FileError error; // why, when Unreadable
};

QByteArray Format(const SavedGame& saved);
// Read, Foreign or Damaged; never Missing.
ReadResult Parse(const QByteArray& bytes);

// Where the game is kept: "SavedGame.dat" in the per-user data folder, unless a test has
// put it elsewhere.
QString Path();
void SetPathOverride(const QString& path);

// Reads the file at path; Missing when there is none, Unreadable (with the reason) when it
// cannot be read.
ReadResult Load(const QString& path);
// Writes the file the safe way (SafeFile.h), making its folder when needed. False, with
// the reason in errorText, when it could not be written; the old file is then as it was.
bool Save(const QString& path, const SavedGame& saved, QString* errorText = nullptr);
// The same, for a game already formatted (Format): the formatting can happen on one thread
// and the write on another.
bool SaveFormatted(const QString& path, const QByteArray& bytes, QString* errorText = nullptr);
// Removes the file, if there is one, so that no older game comes back later.
void Remove(const QString& path);

// A fingerprint of the three score-table files in folder, as they stand on disk: a game
// saved with one set of tables is not continued with another.
QByteArray TablesFingerprint(const QString& folder);
// The same over the three files at these paths (kinds 1, 2, 3), wherever they are.
QByteArray TablesFingerprint(const QStringList& paths);

} // namespace SavedGameFile
