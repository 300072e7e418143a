// SPDX-License-Identifier: MIT
// TEditEx: alignment, the thousands grouping and the keys a one-line box leaves to its
// dialog.
#include "controls/CtrlsEx.h"

// Qt
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace {

Qt::Alignment ToQtAlignment(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify:
        return Qt::AlignRight | Qt::AlignVCenter;
    case taCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace

TEditEx::TEditEx(QWidget* parent)
    : QLineEdit(parent)
{
    setAlignment(ToQtAlignment(m_alignment));
}

void TEditEx::SetAlignment(TAlignment alignment)
{
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    setAlignment(ToQtAlignment(alignment));
}

void TEditEx::SetThousands(bool thousands)
{
    if (thousands == m_thousands)
        return;
    m_thousands = thousands;
    if (m_thousands)
        FormatThousands();
}

QString TEditEx::Text() const
{
    QString shown = text();
    if (m_thousands)
        shown.remove(QLatin1Char(','));
    return shown;
}

void TEditEx::SetText(const QString& value)
{
    setText(m_thousands && value.size() > 3 ? GroupThousands(value) : value);
}

QString TEditEx::GroupThousands(const QString& text)
{
    QString grouped = text;
    int n = int(grouped.size());
    while (n > 3) {
        n -= 3;
        grouped.insert(n, QLatin1Char(','));
    }
    return grouped;
}

void TEditEx::FormatThousands()
{
    const QString shown = text();
    const int length = int(shown.size());
    int start = cursorPosition();
    int end = start;
    if (hasSelectedText()) {
        start = selectionStart();
        end = selectionEnd();
    }
    const int fromStartToEnd = length - start;
    const int fromEndToEnd = length - end;

    QString digits = shown;
    digits.remove(QLatin1Char(','));
    const QString grouped = GroupThousands(digits);
    if (grouped == shown)
        return; // nothing moves, and the undo history is kept
    setText(grouped);

    const int newLength = int(grouped.size());
    const int newStart = qBound(0, newLength - fromStartToEnd, newLength);
    const int newEnd = qBound(0, newLength - fromEndToEnd, newLength);
    if (newStart == newEnd)
        setCursorPosition(newEnd);
    else
        setSelection(newStart, newEnd - newStart);
}

void TEditEx::Loaded()
{
    selectAll();
}

void TEditEx::keyPressEvent(QKeyEvent* event)
{
    // A one-line box has no use for Return: it belongs to the dialog's default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QLineEdit::keyPressEvent(event);
    if (m_thousands && !event->text().isEmpty())
        FormatThousands();
}

void TEditEx::inputMethodEvent(QInputMethodEvent* event)
{
    QLineEdit::inputMethodEvent(event);
    if (m_thousands && !event->commitString().isEmpty())
        FormatThousands();
}
