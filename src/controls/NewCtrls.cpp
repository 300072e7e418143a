// SPDX-License-Identifier: MIT
#include "controls/NewCtrls.h"

// Qt
#include <QCoreApplication>

// own
#include "controls/FontHeight.h"

namespace {

QString& SharedKeyName()
{
    static QString keyName;
    return keyName;
}

} // namespace

TFontInfo::TFontInfo(QObject* owner)
    : QObject(owner)
{
    connect(this, &QObject::objectNameChanged, this, &TFontInfo::NameChanged);
}

void TFontInfo::NameChanged(const QString& name)
{
    if (m_entryName == m_name)
        m_entryName = name;
    m_name = name;
}

void TFontInfo::SetEntryName(const QString& name)
{
    m_entryName = name;
}

QString TFontInfo::KeyName() const
{
    return SharedKeyName();
}

void TFontInfo::SetKeyName(const QString& keyName)
{
    if (SharedKeyName() != keyName)
        SharedKeyName() = keyName;
}

std::optional<FontRecord> TFontInfo::StoredRecord(QString* error) const
{
    const RegValueResult r = Registry::User()->ReadValue(KeyName(), m_entryName);
    if (r.status == RegStatus::NotFound)
        return std::nullopt;
    if (!r.Ok()) {
        *error = r.message;
        return std::nullopt;
    }
    const QString where = QStringLiteral("HKEY_CURRENT_USER\\%1\\%2").arg(KeyName(), m_entryName);
    if (r.value.Type() != RegType::Binary) {
        *error = QCoreApplication::translate("NewCtrls", "%1 はフォント情報ではなく %2 の値です。").arg(where, RegValue::TypeName(r.value.type));
        return std::nullopt;
    }
    // A read that delivers no bytes sets nothing: the default font, as with no value.
    if (r.value.data.isEmpty())
        return std::nullopt;
    const std::optional<FontRecord> record = FontRecord::Decode(r.value.data);
    if (!record)
        *error = QCoreApplication::translate("NewCtrls", "%1 は %2 バイトで、%3 バイトのフォント情報として読めません。")
                     .arg(where)
                     .arg(r.value.data.size())
                     .arg(FontRecord::Size);
    return record;
}

TFontInfo::StoredFont TFontInfo::LoadFont(const QFont& def, ColorValue defColor)
{
    StoredFont stored { def, defColor, QString() };
    if (const std::optional<FontRecord> record = StoredRecord(&stored.error)) {
        stored.font = FromRecord(*record, def);
        stored.color = record->Color;
    }
    m_known = ToRecord(stored.font, stored.color).Encode();
    return stored;
}

RegResult TFontInfo::SaveFont(const QFont& font, ColorValue color)
{
    const std::unique_ptr<Registry> registry = Registry::User();
    const RegResult opened = registry->OpenKey(KeyName(), RegOpen::Create);
    if (!opened.Ok())
        return opened;
    const QByteArray record = ToRecord(font, color).Encode();
    const RegResult written = registry->WriteValue(KeyName(), m_entryName, RegValue::Binary(record));
    if (written.Ok())
        m_known = record;
    return written;
}

RegResult TFontInfo::SaveChangedFont(const QFont& font, ColorValue color)
{
    QString unusable;
    if (m_known == ToRecord(font, color).Encode() && StoredRecord(&unusable))
        return RegResult::Success();
    return SaveFont(font, color);
}

FontRecord TFontInfo::ToRecord(const QFont& font, ColorValue color)
{
    FontRecord r;
    if (font.pixelSize() > 0)
        r.Height = -font.pixelSize();
    else if (font.pointSizeF() > 0)
        r.Height = -qRound(font.pointSizeF() * r.PixelsPerInch / 72.0);
    r.Color = color;
    r.Pitch = font.fixedPitch() ? FontRecord::fpFixed : FontRecord::fpDefault;
    r.Charset = FontRecord::ShiftJisCharset;
    r.Style = quint8((font.bold() ? FontRecord::fsBold : 0) | (font.italic() ? FontRecord::fsItalic : 0)
        | (font.underline() ? FontRecord::fsUnderline : 0)
        | (font.strikeOut() ? FontRecord::fsStrikeOut : 0));
    r.Name = font.family();
    return r;
}

QFont TFontInfo::FromRecord(const FontRecord& record, const QFont& base)
{
    QFont font = base;
    // The face first: a cell height is converted with the metrics of the face it is for.
    if (!record.Name.isEmpty())
        font.setFamily(record.Name);
    FontHeight::Apply(font, record.Height);
    font.setFixedPitch(record.Pitch == FontRecord::fpFixed);
    font.setBold(record.Style & FontRecord::fsBold);
    font.setItalic(record.Style & FontRecord::fsItalic);
    font.setUnderline(record.Style & FontRecord::fsUnderline);
    font.setStrikeOut(record.Style & FontRecord::fsStrikeOut);
    return font;
}
