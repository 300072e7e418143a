// SPDX-License-Identifier: MIT
#include "store/SettingsStore.h"

// Qt
#include <QCoreApplication>
#include <QMutex>
#include <QStringList>

// own
#include "game/Numbers.h"

namespace {

QString SettingName(const QString& section, const QString& ident)
{
    return section.isEmpty() ? ident : section + QLatin1Char('\\') + ident;
}

QString SettingName(const SettingsError& e)
{
    return SettingName(e.section, e.ident);
}

QString FlagText(bool b)
{
    return b ? QStringLiteral("1") : QStringLiteral("0");
}

bool StartsWithHexPrefix(const QString& t, qsizetype at)
{
    return t.size() >= at + 2 && t.at(at) == QLatin1Char('0')
        && (t.at(at + 1) == QLatin1Char('x') || t.at(at + 1) == QLatin1Char('X'));
}

} // namespace

SettingText::SettingText(const QString& section, const QString& ident, const QString& text)
    : section(section)
    , ident(ident)
    , text(text)
{
}

SettingText::SettingText(const Keys::Flag& key, bool b)
    : SettingText(key.section, key.ident, FlagText(b))
{
}

SettingText::SettingText(const Keys::Number& key, int n)
    : SettingText(key.section, key.ident, QString::number(n))
{
}

SettingText::SettingText(const Keys::Text& key, const QString& text)
    : SettingText(key.section, key.ident, text)
{
}

SettingsStore::SettingsStore(std::unique_ptr<Registry> registry, const QString& keyPath, RegOpen mode)
    : m_registry(std::move(registry))
    , m_keyPath(keyPath)
{
    m_open = m_registry->OpenKey(m_keyPath, mode);
}

QString SettingsStore::UserStoreNotice()
{
    // Per store file, as tests point the user's store at files of their own.
    static QMutex mutex;
    static QHash<QString, QString> notices;
    const QString path = Registry::UserFilePath();
    const QMutexLocker locker(&mutex);
    const auto known = notices.constFind(path);
    if (known != notices.cend())
        return *known;
    const RegResult writable = Registry::User()->CheckWritable();
    const QString notice = writable.Ok()
        ? QString()
        : QCoreApplication::translate("SettingsStore", "設定ファイルに書き込めないため、この回に変えた設定は保存されません。\n") + writable.message;
    notices.insert(path, notice);
    return notice;
}

SettingsStore OpenStore(const QString& keyPath, RegOpen mode)
{
    const bool refused = !SettingsStore::UserStoreNotice().isEmpty();
    // Creating the key is a write too.
    SettingsStore store(Registry::User(), keyPath, refused ? RegOpen::Existing : mode);
    store.m_writesRefused = refused;
    return store;
}

std::optional<int> SettingsStore::NumberFromText(const QString& text)
{
    if (text.size() > 2 && StartsWithHexPrefix(text, 0)) {
        // "$" + digits: the shared parser then refuses a sign, a blank or a second prefix
        // after the "0x", as nothing but hex digits may follow it.
        return Numbers::ParseInteger(QLatin1Char('$') + text.mid(2));
    }
    // The shared parser also takes "0x" after blanks or a sign, and "0x" alone as
    // nothing; here a prefix anywhere but at the very start means the text is not a number.
    const QString t = text.trimmed();
    const qsizetype afterSign
        = !t.isEmpty() && (t.at(0) == QLatin1Char('-') || t.at(0) == QLatin1Char('+')) ? 1 : 0;
    if (StartsWithHexPrefix(t, afterSign))
        return std::nullopt;
    return Numbers::ParseInteger(text);
}

QString SettingsStore::SectionPath(const QString& section) const
{
    if (section.isEmpty())
        return m_keyPath;
    if (m_keyPath.isEmpty())
        return section;
    return m_keyPath + QLatin1Char('\\') + section;
}

void SettingsStore::Record(
    SettingsError::Kind kind, const QString& section, const QString& ident, const QString& detail)
{
    m_errors.append({ kind, section, ident, detail });
}

void SettingsStore::Note(const QString& section, const QString& ident, const QString& text)
{
    if (m_memo)
        m_memo->m_read.insert(SettingName(section, ident), text);
}

bool SettingsStore::Unchanged(const QString& section, const QString& ident, const QString& text)
{
    if (!m_memo)
        return false;
    const auto read = m_memo->m_read.constFind(SettingName(section, ident));
    if (read == m_memo->m_read.cend() || *read != text)
        return false;
    const RegValueResult stored = m_registry->ReadValue(SectionPath(section), ident);
    return stored.Ok() && stored.value.IsText();
}

QString SettingsStore::ReadText(const QString& section, const QString& ident, const QString& def)
{
    const QString text = ReadStoredText(section, ident, def);
    Note(section, ident, text);
    return text;
}

QString SettingsStore::ReadStoredText(const QString& section, const QString& ident, const QString& def)
{
    const QString path = SectionPath(section);
    const RegValueResult r = m_registry->ReadValue(path, ident);
    if (r.status == RegStatus::NotFound)
        return def;
    if (!r.Ok()) {
        Record(SettingsError::Kind::Read, section, ident, r.message);
        return def;
    }
    if (!r.value.IsText()) {
        const QString where = QStringLiteral("HKEY_CURRENT_USER\\%1\\%2").arg(path, ident);
        Record(SettingsError::Kind::WrongType, section, ident,
            QCoreApplication::translate("SettingsStore", "%1 は文字列ではなく %2 の値です。").arg(where, RegValue::TypeName(r.value.type)));
        return def;
    }
    return r.value.ToText();
}

int SettingsStore::ReadNumber(const QString& section, const QString& ident, int def)
{
    // A text that cannot be a number never is one, so it can stand in for "missing".
    const QString text = ReadStoredText(section, ident, QStringLiteral("-"));
    const int n = NumberFromText(text).value_or(def);
    Note(section, ident, QString::number(n));
    return n;
}

bool SettingsStore::ReadFlag(const QString& section, const QString& ident, bool def)
{
    const bool b = ReadNumber(section, ident, def ? 1 : 0) != 0;
    Note(section, ident, FlagText(b));
    return b;
}

bool SettingsStore::WriteText(const QString& section, const QString& ident, const QString& text)
{
    return WriteAll({ { section, ident, text } });
}

bool SettingsStore::WriteAll(const QList<SettingText>& settings)
{
    QList<RegWrite> writes;
    QList<const SettingText*> written;
    for (const SettingText& s : settings) {
        if (Unchanged(s.section, s.ident, s.text))
            continue;
        writes.append({ SectionPath(s.section), s.ident, RegValue::Text(s.text) });
        written.append(&s);
    }
    if (writes.isEmpty())
        return true;
    // Said once at start (UserStoreNotice).
    if (m_writesRefused)
        return false;
    const QList<RegResult> results = m_registry->WriteValues(writes);
    bool ok = true;
    for (qsizetype i = 0; i < written.size(); ++i) {
        const SettingText& s = *written.at(i);
        if (results.at(i).Ok()) {
            Note(s.section, s.ident, s.text);
        } else {
            Record(SettingsError::Kind::Write, s.section, s.ident, results.at(i).message);
            ok = false;
        }
    }
    return ok;
}

bool SettingsStore::WriteNumber(const QString& section, const QString& ident, int n)
{
    return WriteText(section, ident, QString::number(n));
}

bool SettingsStore::WriteFlag(const QString& section, const QString& ident, bool b)
{
    return WriteText(section, ident, FlagText(b));
}

QString SettingsStore::Read(const Keys::Setting& key)
{
    switch (key.type) {
    case Keys::Type::Number:
        return QString::number(ReadNumber(key.section, key.ident, key.number));
    case Keys::Type::Flag:
        return FlagText(ReadFlag(key.section, key.ident, key.number != 0));
    case Keys::Type::Text:
        break;
    }
    return ReadText(key.section, key.ident, key.text);
}

bool SettingsStore::Write(const Keys::Setting& key, const QString& text)
{
    switch (key.type) {
    case Keys::Type::Number:
        return WriteNumber(key.section, key.ident, NumberFromText(text).value_or(key.number));
    case Keys::Type::Flag:
        return WriteFlag(key.section, key.ident, NumberFromText(text).value_or(key.number) != 0);
    case Keys::Type::Text:
        break;
    }
    return WriteText(key.section, key.ident, text);
}

QString SettingsStore::ErrorMessage() const
{
    if (m_errors.isEmpty())
        return {};
    QStringList written;
    QStringList read;
    QStringList details;
    for (const SettingsError& e : m_errors) {
        (e.kind == SettingsError::Kind::Write ? written : read).append(SettingName(e));
        if (!details.contains(e.detail))
            details.append(e.detail);
    }
    return ErrorMessage(written, read, details);
}

QString SettingsStore::ErrorMessage(const QStringList& unwritten, const QStringList& unread, const QStringList& reasons)
{
    QStringList lines;
    if (!unwritten.isEmpty())
        lines.append(
            QCoreApplication::translate("SettingsStore", "次の設定を保存できませんでした: %1").arg(unwritten.join(QStringLiteral(", "))));
    if (!unread.isEmpty())
        lines.append(QCoreApplication::translate("SettingsStore", "次の設定を読み込めないため、既定値を使います: %1")
                         .arg(unread.join(QStringLiteral(", "))));
    return lines.join(QLatin1Char('\n')) + QStringLiteral("\n\n") + reasons.join(QLatin1Char('\n'));
}
