// SPDX-License-Identifier: MIT
#include "AppInfo.h"

// Qt
#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>

// own
#include "FontHeight.h"

namespace AppInfo {

void InstallFontSubstitutions()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    const QStringList families = QFontDatabase::families();
    const struct { const QString& face; const char* substitute; } map[] = {
        { PGothic, "IPAPGothic" }, { Gothic, "IPAGothic" }, { Mincho, "IPAMincho" } };
    for (const auto& entry : map)
        if (!families.contains(entry.face))
            QFont::insertSubstitution(entry.face, QLatin1String(entry.substitute));
}

QFont WindowFont(const QString& face, int height, bool bold, bool italic)
{
    InstallFontSubstitutions();
    return FontHeight::Make(face, height, bold, italic);
}

QString ProgramFolder()
{
    QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}

} // namespace AppInfo
