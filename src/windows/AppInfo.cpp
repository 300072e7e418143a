// SPDX-License-Identifier: MIT
#include "windows/AppInfo.h"

// Qt
#include <QCoreApplication>
#include <QFontDatabase>
#include <QHash>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

// own
#include "controls/FontHeight.h"

namespace AppInfo {

namespace {

struct StandIn
{
    const QString& face;
    QLatin1String substitute;
    // Windows lists its own faces under their English names unless the system's language is
    // Japanese: the same fonts, the first choice there.
    QLatin1String windowsName;
};

const StandIn StandIns[] = {
    { PGothic, QLatin1String("IPAPGothic"), QLatin1String("MS PGothic") },
    { Gothic, QLatin1String("IPAGothic"), QLatin1String("MS Gothic") },
    { Mincho, QLatin1String("IPAMincho"), QLatin1String("MS Mincho") },
};

// The stand-ins needed on this machine, looked up once: face -> installed stand-in.
const QHash<QString, QString>& MissingFaces()
{
    static const QHash<QString, QString> missing = [] {
        QHash<QString, QString> map;
        const QStringList families = QFontDatabase::families();
        for (const StandIn& entry : StandIns) {
            if (families.contains(entry.face))
                continue;
#ifdef Q_OS_WIN
            if (families.contains(entry.windowsName)) {
                map.insert(entry.face, entry.windowsName);
                continue;
            }
#endif
            map.insert(entry.face, entry.substitute);
        }
        return map;
    }();
    return missing;
}

} // namespace

void InstallFontSubstitutions()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    const QHash<QString, QString>& missing = MissingFaces();
    for (auto it = missing.cbegin(); it != missing.cend(); ++it)
        QFont::insertSubstitution(it.key(), it.value());
}

QString InstalledFace(const QString& face)
{
    return MissingFaces().value(face, face);
}

QFont DrawingFont(const QFont& font)
{
    QFont drawn = font;
    drawn.setFamily(InstalledFace(font.family()));
    drawn.setStyleStrategy(QFont::PreferNoShaping);
    return drawn;
}

QFont WindowFont(const QString& face, int height, bool bold, bool italic)
{
    InstallFontSubstitutions();
    QFont font = FontHeight::Make(InstalledFace(face), height, bold, italic);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QFont DefaultBoardFont()
{
    InstallFontSubstitutions();
    return FontHeight::Make(PGothic, -24);
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/orbilo-%1.png").arg(size), QSize(size, size));
    return icon;
}

QTranslator* InstallQtTranslation(const QString& folder)
{
    const QString where = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_ja"), where)) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

} // namespace AppInfo
