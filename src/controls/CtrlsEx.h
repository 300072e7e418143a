// SPDX-License-Identifier: MIT
// TEditEx: a one-line edit box that aligns its text left, right or centred and can show
// the text grouped by three with "," while handing it out without the separators. The
// options dialog uses one for the warning minutes. Return is never taken by the box: it
// goes on to the dialog (its default button), and Tab moves to the next control.
#pragma once

// Qt
#include <QLineEdit>
#include <QString>
// own
#include "controls/ControlTypes.h"

class TEditEx : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(ControlTypes::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool Thousands READ Thousands WRITE SetThousands)
    Q_PROPERTY(QString Text READ Text WRITE SetText)

public:
    explicit TEditEx(QWidget* parent = nullptr);

    TAlignment Alignment() const { return m_alignment; }
    // Keeps the text and moves it to the new side at once.
    void SetAlignment(TAlignment alignment);

    bool Thousands() const { return m_thousands; }
    // Turning it on regroups the shown text at once; turning it off leaves any separators
    // shown until the text is next set.
    void SetThousands(bool thousands);

    // The shown text, without any "," while Thousands is on.
    QString Text() const;
    // Shows value, grouped by three from the right while Thousands is on. Separators
    // already in value are kept: "1,234" shows as "1,,234" and still reads back as 1234.
    void SetText(const QString& value);

    // Regroups the shown text from scratch and keeps the caret (and selection) at the same
    // distance from the end of the text, which is where a right-aligned number grows.
    virtual void FormatThousands();

    // Selects the whole text, as a box does once its window has set it up.
    void Loaded();

    // "," inserted before every third character counted from the right end, whatever
    // the characters are: 1234567 -> 1,234,567; 123 stays.
    static QString GroupThousands(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    TAlignment m_alignment = taLeftJustify;
    bool m_thousands = false;
};
