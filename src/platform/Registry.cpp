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

QList<RegResult> Registry::WriteValues(const QList<RegWrite>& writes)
{
    QList<RegResult> results;
    for (const RegWrite& w : writes) {
        RegResult r = OpenKey(w.path, RegOpen::Create);
        if (r.Ok())
            r = WriteValue(w.path, w.name, w.value);
        results.append(r);
    }
    return results;
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

size_t NameHash(const QString& name, size_t seed)
{
    // Folds each UTF-16 unit as the case-insensitive comparison above does: a low surrogate
    // after a high one stands for the folded code point of the pair, every other unit for
    // its own fold.
    quint64 h = quint64(seed) ^ 0xcbf29ce484222325u;
    char16_t last = 0;
    const char16_t* const units = QStringView(name).utf16();
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t u = units[i];
        char32_t folded;
        if (u < 0x80) {
            // Plain ASCII, nearly every name, folds to lower case.
            folded = u >= 'A' && u <= 'Z' ? u + 32 : u;
        } else {
            const bool pair = QChar::isLowSurrogate(u) && QChar::isHighSurrogate(last);
            folded = QChar::toCaseFolded(pair ? QChar::surrogateToUcs4(last, u) : char32_t(u));
        }
        last = u;
        h = (h ^ folded) * 0x100000001b3u;
    }
    // The table takes the low bits: every character must reach them.
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdu;
    h ^= h >> 33;
    return size_t(h);
}

} // namespace RegPath
