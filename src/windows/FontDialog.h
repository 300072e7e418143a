// SPDX-License-Identifier: MIT
// The font dialog the options dialog opens on its font button: face, style and size, the
// effects underline and strike-out, and the text colour out of the sixteen colours the
// player knows from the system's own font dialog (黒, 茶, 緑 ... 白). Qt's font dialog has
// no colour choice, so this one embeds it as a widget and adds the colour to its effects.
//
// The game's fonts are sized in pixels (a layout's negative font height) while the font
// dialog speaks points: a font goes in and comes out in pixels, and a size the player did
// not touch comes back exactly as it went in. A face name the system lacks (the Japanese
// system faces the game names, which are substituted where missing) is shown as the face
// that stands in for it, and comes back under its own name unless another face was chosen.
#pragma once

// Qt
#include <QDialog>
#include <QFont>
#include <QString>
// own
#include "controls/SysColors.h"

#include <array>

class QComboBox;
class QFontDialog;
class QLineEdit;

class FontDialog : public QDialog
{
    Q_OBJECT

public:
    struct ColorChoice
    {
        ColorValue value;
        const char* word; // the colour word of the window layouts
        QString name;     // as the list shows it
    };
    // black, maroon, green, olive, navy, purple, teal, gray, silver, red, lime, yellow,
    // blue, fuchsia, aqua, white: the colours and order of the system's font dialog.
    static const std::array<ColorChoice, 16>& Colors();

    explicit FontDialog(QWidget* parent = nullptr);

    // Presets the dialog. A system colour selects the listed colour it resolves to; a
    // colour that is none of the sixteen is listed as "カスタム". Either is given back as it
    // came in unless another colour is picked.
    void SetFont(const QFont& font);
    void SetColor(ColorValue color);

    QFont SelectedFont() const;
    ColorValue SelectedColor() const;

    QFontDialog* FontChooser() const { return m_chooser; }
    QComboBox* ColorBox() const { return m_colorBox; }

    // Shows the dialog preset with font and color; when the player confirms it, both are
    // replaced by the choice and the result is true. A cancel leaves both untouched.
    static bool GetFont(QWidget* parent, QFont& font, ColorValue& color);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void OwnCaptions();
    void SelectColorItem(ColorValue color);
    void UpdateSample();
    double Dpi() const;

    QFontDialog* m_chooser = nullptr;
    QComboBox* m_colorBox = nullptr;
    QLineEdit* m_sample = nullptr;

    // What went in, to give back untouched what the player did not change.
    QString m_presetFamily;
    QString m_shownFamily;
    int m_presetPixels = -1;
    double m_shownPoints = -1;
    ColorValue m_presetColor = SysColors::clBlack;
    int m_presetIndex = 0;
};
