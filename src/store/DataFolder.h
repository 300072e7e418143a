// SPDX-License-Identifier: MIT
// Where the score tables and the ranking live, decided once at start-up.
//
// A copy run from a folder it can write (the build folder, a portable copy) keeps them
// beside the executable, as it always has. An installed copy, and any copy whose folder it
// cannot write, keeps them in the player's own data folder instead, which it seeds on first
// use from the default tables installed with the program (or, for a read-only copy that is
// not installed, from the files beside the executable). A file already in the data folder
// is never overwritten: it may hold the player's edits.
//
// An installed copy is recognised by its default tables' folder beside it (<prefix>/bin and
// <prefix>/share/orbilo), not by whether it can write its folder: an installed copy run by
// someone who may write there (root, or a prefix in the player's home) must not write its
// files among the executables, nor start without tables because none were ever put there.
//
// A player's folder that cannot be made or written does not cost the tables: each file it
// lacks is read where it would have been copied from (the installed defaults, the files
// beside the executable), and only saving is refused, which the player hears once at start.
#pragma once

#include "platform/FileError.h"

// Qt
#include <QString>
#include <QStringList>

namespace DataFolder {

struct Places
{
    QString programFolder; // the executable's folder
    QString defaultsFolder; // the default tables installed with the program; may not exist
    QString userFolder; // the player's own data folder; made when first needed
};

struct Choice
{
    // With its trailing separator, as every file name is appended to it.
    QString folder;
    bool perUser = false;
    // The score-table files that are in neither the chosen folder nor the seed.
    QStringList missingTables;
    // Why the folder cannot be written (it cannot be made, or no file can be created in it);
    // None when it can. Nothing is saved there in this run.
    FileError unwritable;
    // The files the folder lacks although the seed has them (it could not be copied), and
    // the seed's folder, with its trailing separator: these are read from there.
    QStringList unseeded;
    QString seedFolder;

    // Where the file of that name is read from: the folder, or the seed for an unseeded one.
    QString ReadPath(const QString& name) const
    {
        return (unseeded.contains(name) ? seedFolder : folder) + name;
    }
    // Where it is saved.
    QString WritePath(const QString& name) const { return folder + name; }
};

// The places of the running program: its folder, the default tables' folder as installed
// (<its folder>/../share/orbilo; <its folder>/share/orbilo on Windows), and the per-user
// local application data location (~/.local/share/Orbilo, %LOCALAPPDATA%\Orbilo).
Places ThisProgram();

// Chooses the folder, seeds it when it is the player's own, and looks for the tables.
Choice Decide(const Places& places);

// The choice for the running program, made at the first call.
const Choice& Current();

// Whether a file can be created in the folder: tried, since the permission bits do not
// tell (an administrator passes them, a read-only mount fails whatever they say).
bool CanWrite(const QString& folder);

// The start-up notice for tables found nowhere, in Japanese; empty when none is missing.
QString MissingTablesMessage(const Choice& choice);

// The start-up notice for a folder that cannot be written, naming it and the reason, in
// Japanese; empty when it can be written.
QString UnwritableMessage(const Choice& choice);

// Removes the temporary files that saves killed in a former run left in the data folder,
// the saved game's folder and the settings file's folder (SafeFile::RemoveLeftovers: only
// the program's own, and none that a running copy is writing).
void RemoveLeftovers(const Choice& choice);

} // namespace DataFolder
