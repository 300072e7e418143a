// SPDX-License-Identifier: MIT
#include "store/DataFolder.h"

#include "game/Ranking.h"
#include "game/ScoreTables.h"
#include "platform/SafeFile.h"

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

// Copies what the folder lacks from the seed. The copy is the player's to edit, whatever
// the installed file's permissions were.
void Seed(const QString& folder, const QString& seed)
{
    QStringList names = TableNames();
    names << Ranking::FileName();
    for (const QString& name : names) {
        const QString target = folder + name;
        const QString source = QDir(seed).filePath(name);
        if (QFileInfo::exists(target) || !QFileInfo::exists(source))
            continue;
        // Copied the safe way: on a full disk no half table is left to be taken for a whole one.
        if (SafeFile::CopyUnlessExists(source, target).Ok())
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
}

} // namespace

Places ThisProgram()
{
    const QString program = QCoreApplication::applicationDirPath();
    return { program, QDir::cleanPath(program + QLatin1Char('/') + QStringLiteral(ORBILO_DEFAULTS_INSTALL_DIR)),
             QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) };
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
        // A folder that cannot be made shows up below as missing tables, and later as files
        // that cannot be saved; the game runs either way.
        QDir().mkpath(places.userFolder);
        Seed(choice.folder, installed ? places.defaultsFolder : places.programFolder);
    }
    for (const QString& name : TableNames())
        if (!QFileInfo::exists(choice.folder + name))
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
    return QStringLiteral("次の得点表が見つかりません。この表の組には点が付きませんが、ゲームはそのまま遊べます。\n")
        + paths.join(QLatin1Char('\n'));
}

} // namespace DataFolder
