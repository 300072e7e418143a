// SPDX-License-Identifier: MIT
// What both registry backends share: value helpers, path rules, and the choice of backend.

#include "platform/Registry.h"

// Qt
#include <QStandardPaths>
#include <QtEndian>

// own
#include "platform/Cp932.h"
#include "platform/RegistryFile.h"

namespace {

QString& UserFileOverride()
{
    static QString path;
    return path;
}

} // namespace

RegValue RegValue::Text(const QString& text, RegType type)
{
    QByteArray bytes = Cp932::Encode(text);
    bytes.append('\0');
    return { quint32(type), bytes };
}

RegValue RegValue::Binary(const QByteArray& bytes)
{
    return { quint32(RegType::Binary), bytes };
}

RegValue RegValue::Dword(quint32 n)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToLittleEndian(n, bytes.data());
    return { quint32(RegType::Dword), bytes };
}

bool RegValue::IsText() const
{
    return type == quint32(RegType::Sz) || type == quint32(RegType::ExpandSz);
}

QString RegValue::ToText() const
{
    const qsizetype nul = data.indexOf('\0');
    return Cp932::Decode(data.constData(), nul < 0 ? data.size() : nul);
}

std::optional<quint32> RegValue::ToDword() const
{
    if (type != quint32(RegType::Dword) || data.size() != 4)
        return std::nullopt;
    return qFromLittleEndian<quint32>(data.constData());
}

QString RegValue::TypeName(quint32 type)
{
    switch (type) {
    case 0:
        return QStringLiteral("REG_NONE");
    case 1:
        return QStringLiteral("REG_SZ");
    case 2:
        return QStringLiteral("REG_EXPAND_SZ");
    case 3:
        return QStringLiteral("REG_BINARY");
    case 4:
        return QStringLiteral("REG_DWORD");
    case 5:
        return QStringLiteral("REG_DWORD_BIG_ENDIAN");
    case 6:
        return QStringLiteral("REG_LINK");
    case 7:
        return QStringLiteral("REG_MULTI_SZ");
    case 11:
        return QStringLiteral("REG_QWORD");
    default:
        return QStringLiteral("type %1").arg(type);
    }
}

std::unique_ptr<Registry> Registry::User()
{
#ifdef Q_OS_WIN
    if (UserFileOverride().isEmpty())
        return Windows();
#endif
    return std::make_unique<RegistryFile>(UserFilePath());
}

void Registry::SetUserFileOverride(const QString& path)
{
    UserFileOverride() = path;
}

QString Registry::UserFilePath()
{
    if (!UserFileOverride().isEmpty())
        return UserFileOverride();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Orbilo/registry.reg");
}

namespace RegPath {

std::optional<QStringList> Split(const QString& path)
{
    if (path.isEmpty())
        return QStringList();
    const QStringList names = path.split(QLatin1Char('\\'));
    for (const QString& name : names) {
        if (name.isEmpty() || name.size() > 255)
            return std::nullopt;
    }
    return names;
}

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace RegPath
