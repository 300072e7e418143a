// SPDX-License-Identifier: MIT
#include "store/DataFolder.h"

#include "game/Ranking.h"
#include "game/ScoreTables.h"
#include "platform/Registry.h"
#include "platform/SafeFile.h"
#include "store/SavedGameFile.h"
#include "store/TableFile.h"

// Qt
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace DataFolder {

namespace {

QString WithSeparator(const QString& folder)
{
    QString native = QDir::toNativeSeparators(folder);
    if (!native.endsWith(QDir::separator()))
        native += QDir::separator();
    return native;
}

QStringList TableNames()
{
    return { ScoreTables::FileName(1), ScoreTables::FileName(2), ScoreTables::FileName(3) };
}

QStringList DataNames()
{
    return TableNames() << Ranking::FileName();
}

// Copies what the folder lacks from the seed. The copy is the player's to edit, whatever
// the installed file's permissions were. Returns the names it could not copy.
QStringList Seed(const QString& folder, const QString& seed, bool writable)
{
    QStringList unseeded;
    for (const QString& name : DataNames()) {
        const QString target = folder + name;
        const QString source = QDir(seed).filePath(name);
        if (QFileInfo::exists(target) || !QFileInfo::exists(source))
            continue;
        // Copied the safe way: on a full disk no half table is left to be taken for a whole one.
        if (writable && SafeFile::CopyUnlessExists(source, target).Ok())
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        else
            unseeded << name;
    }
    return unseeded;
}

} // namespace

Places ThisProgram()
{
    const QString program = QCoreApplication::applicationDirPath();
    // The local, not the roaming, data folder: %LOCALAPPDATA%\Orbilo on Windows (the tables
    // belong to this machine's copy); the same folder as AppDataLocation elsewhere.
    return { program, QDir::cleanPath(program + QLatin1Char('/') + QStringLiteral(ORBILO_DEFAULTS_INSTALL_DIR)),
             QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) };
}

bool CanWrite(const QString& folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".orbilo-write-test-XXXXXX")));
    return probe.open();
}

Choice Decide(const Places& places)
{
    Choice choice;
    const bool installed = !places.defaultsFolder.isEmpty() && QFileInfo(places.defaultsFolder).isDir();
    if (!installed && CanWrite(places.programFolder)) {
        choice.folder = WithSeparator(places.programFolder);
    } else {
        choice.perUser = true;
        choice.folder = WithSeparator(places.userFolder);
        // A folder that cannot be made or written is no reason to play without tables: what
        // it lacks is read from the seed, and only saving is refused.
        QDir().mkpath(places.userFolder);
        choice.unwritable = SafeFile::CheckCanCreateIn(places.userFolder);
        if (choice.unwritable.Ok() && !QFileInfo(places.userFolder).isDir())
            choice.unwritable = FileError::Of(FileError::Kind::NoFolder);
        const QString seed = installed ? places.defaultsFolder : places.programFolder;
        choice.seedFolder = WithSeparator(seed);
        choice.unseeded = Seed(choice.folder, seed, choice.unwritable.Ok());
    }
    for (const QString& name : TableNames())
        if (!QFileInfo::exists(choice.ReadPath(name)))
            choice.missingTables << name;
    return choice;
}

const Choice& Current()
{
    static const Choice choice = Decide(ThisProgram());
    return choice;
}

QString MissingTablesMessage(const Choice& choice)
{
    if (choice.missingTables.isEmpty())
        return QString();
    QStringList paths;
    for (const QString& name : choice.missingTables)
        paths << choice.folder + name;
    return QCoreApplication::translate("DataFolder", "次の得点表が見つかりません。この表の組には点が付きませんが、ゲームはそのまま遊べます。\n")
        + paths.join(QLatin1Char('\n'));
}

QString UnwritableMessage(const Choice& choice)
{
    if (choice.unwritable.Ok())
        return QString();
    return QCoreApplication::translate("DataFolder", "次のフォルダーに書き込めません（%1）。得点表とランキングは読み込みますが、"
                          "この回の変更と終了時のゲームは保存されません。\n%2")
        .arg(choice.unwritable.Reason(), QDir::toNativeSeparators(choice.folder));
}

void RemoveLeftovers(const Choice& choice)
{
    // Everything the program writes there, with the backups, and the probe of a folder's
    // writability (SafeFile::WhyCannotCreateIn).
    const QString probe = SafeFile::ProbeName;
    QStringList names = DataNames();
    for (const QString& name : DataNames())
        names << QFileInfo(TableFile::BackupPath(name)).fileName();
    names << probe;
    SafeFile::RemoveLeftovers(choice.folder, names);
    const QFileInfo saved(SavedGameFile::Path());
    if (!saved.filePath().isEmpty())
        SafeFile::RemoveLeftovers(saved.absolutePath(), { saved.fileName(), probe });
#ifndef Q_OS_WIN
    // Elsewhere the settings are a file of ours (on Windows, the registry).
    const QFileInfo settings(Registry::UserFilePath());
    SafeFile::RemoveLeftovers(settings.absolutePath(), { settings.fileName(), probe });
#endif
}

} // namespace DataFolder
