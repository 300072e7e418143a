// SPDX-License-Identifier: MIT
// TFontInfo: keeps one font between runs as one binary registry value (FontRecord.h). The
// main window's FontInfo1 keeps the board font in the game's root key:
//
//     FontInfo1->SetKeyName(Keys::Root);
//     const TFontInfo::StoredFont f = FontInfo1->LoadFont(BPnl->font(), SysColors::clWindowText);
//     ...
//     FontInfo1->SaveFont(BPnl->font(), colour);
//
// QFont has no colour, so the colour travels beside the font.
#pragma once

// Qt
#include <QFont>
#include <QObject>
#include <QString>

// own
#include "controls/SysColors.h"
#include "platform/Registry.h"
#include "store/FontRecord.h"

class TFontInfo : public QObject
{
    Q_OBJECT
    // The value name; follows the component's name (objectName) while the two are equal,
    // so a component named "FontInfo1" stores "FontInfo1" unless told otherwise.
    Q_PROPERTY(QString EntryName READ EntryName WRITE SetEntryName)
    // The key path under HKEY_CURRENT_USER. One value for every TFontInfo of the program:
    // setting it on one instance sets it for all.
    Q_PROPERTY(QString KeyName READ KeyName WRITE SetKeyName)

public:
    struct StoredFont
    {
        QFont font;
        ColorValue color = SysColors::clWindowText;
        // Why a stored value was not used (another type, another size, a name length
        // beyond the record, a store that cannot be read), naming the value; empty when
        // nothing was stored or it was used.
        QString error;
    };

    explicit TFontInfo(QObject* owner = nullptr);

    QString EntryName() const { return m_entryName; }
    void SetEntryName(const QString& name);
    QString KeyName() const;
    void SetKeyName(const QString& keyName);
    // Renames the component (setObjectName does the same; EntryName follows either way).
    void SetName(const QString& name) { setObjectName(name); }

    // The stored font and colour, or def and defColor when nothing usable is stored: no
    // key, no value, an empty value, a value of another type or size, a damaged name. The
    // window always gets a font; a value that was there but could not be used is named in
    // error (an empty value is not: it holds nothing to use).
    StoredFont LoadFont(const QFont& def, ColorValue defColor);
    // Writes the font, creating the key when missing. The result says whether it was
    // stored; the game drops a failure silently (the font is saved as the window closes).
    RegResult SaveFont(const QFont& font, ColorValue color);

    // The record of a font: a pixel size becomes a negative height; a point size is taken
    // at 96 pixels per inch.
    static FontRecord ToRecord(const QFont& font, ColorValue color);
    // base with the record's height, pitch, style and face applied (a positive height is
    // a cell height, converted with the face's metrics).
    static QFont FromRecord(const FontRecord& record, const QFont& base);

private:
    void NameChanged(const QString& name);

    QString m_entryName;
    QString m_name; // the name EntryName is compared with on the next rename
};
