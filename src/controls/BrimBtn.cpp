// SPDX-License-Identifier: MIT
// TBrimBtn: gradient push button with hover colours, set marks and an immediate repaint
// on every press.
#include "controls/BrimBtn.h"

// Qt
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
// own
#include "controls/AccessibleEvents.h"
#include "controls/ShiftState.h"

#include <algorithm>

TBrimBtn::TBrimBtn(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(false);
    resize(35, 25);
}

void TBrimBtn::SetColorCnt(int value)
{
    // The gradient table has room for 255 steps; a step count below 1 has no gradient.
    value = std::clamp(value, 1, GradPaint::MaxSteps);
    if (value == m_colorCnt)
        return;
    m_colorCnt = value;
    update();
}

void TBrimBtn::SetCaptionLeft(int value)
{
    if (value == m_captionLeft)
        return;
    m_captionLeft = value;
    update();
}

void TBrimBtn::SetCaptionTop(int value)
{
    if (value == m_captionTop)
        return;
    m_captionTop = value;
    update();
}

void TBrimBtn::SetTopColor(ColorValue value)
{
    if (value == m_topColor)
        return;
    m_topColor = value;
    update();
}

void TBrimBtn::SetOutLineColor(ColorValue value)
{
    if (value == m_outLineColor)
        return;
    m_outLineColor = value;
    if (m_drawOutLine)
        update();
}

void TBrimBtn::SetDrawOutLine(bool value)
{
    if (value == m_drawOutLine)
        return;
    m_drawOutLine = value;
    update();
}

void TBrimBtn::SetGradStyle(TGradStyle value)
{
    if (value == m_gradStyle)
        return;
    m_gradStyle = value;
    update();
}

void TBrimBtn::SetCaption(const QString& value)
{
    if (value == m_caption)
        return;
    m_caption = value;
    update();
    // A screen reader says what a button shows.
    if (!m_captionNameEvents)
        return;
    QAccessibleEvent event(this, QAccessible::NameChanged);
    AccessibleEvents::Raise(event);
}

void TBrimBtn::SetZSet(int value)
{
    if (value == m_zSet)
        return;
    const bool wasSelected = m_zSet != 0;
    m_zSet = value;
    update();
    // The selection mark is the button's selected state, for a screen reader too.
    if (wasSelected == (value != 0))
        return;
    QAccessible::State selected;
    selected.selected = true;
    QAccessibleStateChangeEvent changed(this, selected);
    AccessibleEvents::Raise(changed);
    QAccessibleEvent selection(this, wasSelected ? QAccessible::SelectionRemove : QAccessible::SelectionAdd);
    AccessibleEvents::Raise(selection);
}

void TBrimBtn::SetAlignment(TAlignment value)
{
    if (value == m_alignment)
        return;
    m_alignment = value;
    update();
}

void TBrimBtn::SetRevColor(ColorValue value)
{
    if (value == m_revColor)
        return;
    m_revColor = value;
    update();
}

void TBrimBtn::SetFontRevColor(ColorValue value)
{
    if (value == m_fontRevColor)
        return;
    m_fontRevColor = value;
    update();
}

void TBrimBtn::SetEndColor(ColorValue value)
{
    if (value == m_endColor)
        return;
    m_endColor = value;
    update();
}

void TBrimBtn::SetFontColor(ColorValue value)
{
    if (value == m_fontColor)
        return;
    m_fontColor = value;
    update();
}

void TBrimBtn::SetCol(int value)
{
    if (value == m_col)
        return;
    m_col = value;
    update();
}

void TBrimBtn::SetRow(int value)
{
    if (value == m_row)
        return;
    m_row = value;
    update();
}

void TBrimBtn::SetColorIndex(int value)
{
    if (value == m_colorIndex)
        return;
    m_colorIndex = value;
    update();
}

ColorValue TBrimBtn::Colors(int index) const
{
    return index >= 0 && index < ColorsCount ? m_colors[size_t(index)] : SysColors::clWhite;
}

void TBrimBtn::SetColors(int index, ColorValue value)
{
    if (index >= 0 && index < ColorsCount)
        m_colors[size_t(index)] = value;
}

void TBrimBtn::SetDesignMode(bool value)
{
    if (value == m_designMode)
        return;
    m_designMode = value;
    update();
}

void TBrimBtn::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_canvas.Begin(&painter);
    PaintFace();
    m_canvas.End();
    painter.end();
    emit Painted(this);
}

void TBrimBtn::PaintFace()
{
    if (m_untouched) {
        m_currentEndColor = m_endColor;
        m_normalFontColor = m_fontColor;
    }
    // A gradient between equal colours collapses to one step for good. This paint uses
    // the new count already, so no further repaint is asked for.
    if (m_topColor == m_currentEndColor)
        m_colorCnt = 1;
    if (m_colorIndex >= 0 && m_colorIndex < ColorsCount)
        m_topColor = m_colors[size_t(m_colorIndex)];

    // Rounded bands are outlined with the pen the previous paint left behind: the font
    // colour of that paint (black before the first).
    const GradPaint::FaceLook look { .style = m_gradStyle,
        .topColor = m_topColor,
        .lastColor = m_currentEndColor,
        .steps = m_colorCnt,
        .roundedBands = m_outLineRound,
        .outLineColor = m_outLineColor,
        .designMode = m_designMode,
        .drawOutLine = m_drawOutLine,
        .outLineCorner = m_outLineRound ? 10 : 0 };
    m_face.Paint(m_canvas, font(), look, width(), height());
    PaintCaption();
    PaintMark();
}

void TBrimBtn::PaintCaption()
{
    if (m_caption.isEmpty())
        return;
    const int w = width();
    const int h = height();
    m_canvas.SetBrushStyle(Canvas::bsClear);
    m_canvas.SetFont(font());
    int x = 1;
    int y = m_captionTop;
    switch (m_alignment) {
    case taRightJustify:
        x = w - m_canvas.TextWidth(m_caption) - 3;
        break;
    case taCenter: {
        const QSize extent = m_canvas.TextExtent(m_caption);
        x = std::max((w - extent.width()) / 2, 2);
        y = std::max((h - extent.height()) / 2, 2);
        break;
    }
    default:
        break;
    }
    // Enabled plays no part: a disabled button keeps its colours.
    m_canvas.SetFontColor(m_fontColor);
    m_canvas.DrawText(m_caption, x, y, w - 1, h - 1, Canvas::DtWordBreak | Canvas::DtExpandTabs);
}

void TBrimBtn::PaintMark()
{
    const int w = width();
    const int h = height();
    m_canvas.SetPenColor(m_fontColor);
    m_canvas.SetBrushStyle(Canvas::bsClear);
    switch (m_zSet) {
    case 1:
        m_canvas.Ellipse(1, 1, w - 1, h - 1);
        break;
    case 2:
        m_canvas.MoveTo(1, 1);
        m_canvas.LineTo(w - 1, h - 1);
        m_canvas.MoveTo(w - 1, 1);
        m_canvas.LineTo(1, h - 1);
        break;
    case 3:
        m_canvas.MoveTo(w / 2, 1);
        m_canvas.LineTo(1, h / 2);
        m_canvas.LineTo(w / 2, h - 1);
        m_canvas.LineTo(w - 1, h / 2);
        m_canvas.LineTo(w / 2, 1);
        break;
    case 4:
        m_canvas.Rectangle(4, 4, w - 4, h - 4);
        break;
    case 5:
        m_canvas.MoveTo(w / 2, 4);
        m_canvas.LineTo(4, h - 4);
        m_canvas.LineTo(w - 4, h - 4);
        m_canvas.LineTo(w / 2, 4);
        break;
    case 6:
        m_canvas.Ellipse(1, 1, w - 1, h - 1);
        m_canvas.Ellipse(4, 4, w - 4, h - 4);
        break;
    default:
        break;
    }
}

void TBrimBtn::enterEvent(QEnterEvent* event)
{
    QPointer<TBrimBtn> guard(this);
    QWidget::enterEvent(event);
    emit MouseEnter(this);
    if (!guard)
        return;
    m_untouched = false;
    if (m_changeColor) {
        m_currentEndColor = m_revColor;
        SetFontColor(m_fontRevColor);
        setCursor(Qt::PointingHandCursor);
    }
}

void TBrimBtn::leaveEvent(QEvent* event)
{
    QPointer<TBrimBtn> guard(this);
    QWidget::leaveEvent(event);
    emit MouseLeave(this);
    if (!guard)
        return;
    // Whatever ChangeColor says: a leave always restores the normal look.
    m_untouched = false;
    m_currentEndColor = m_endColor;
    SetFontColor(m_normalFontColor);
    unsetCursor();
}

void TBrimBtn::mousePressEvent(QMouseEvent* event)
{
    HandlePress(event, false);
}

void TBrimBtn::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is a press like any other, marked as double.
    HandlePress(event, true);
}

void TBrimBtn::HandlePress(QMouseEvent* event, bool doubleClick)
{
    const int button = ShiftState::ButtonCode(event->button());
    if (button == ShiftState::mbNone) {
        // Side buttons have no code in the handlers' terms.
        event->ignore();
        return;
    }
    QPointer<TBrimBtn> guard(this);
    // Only a single press starts a click; the second press of a double click is the
    // double click itself.
    if (button == ShiftState::mbLeft) {
        m_leftPressed = !doubleClick;
        if (doubleClick) {
            emit DoubleClicked(this);
            if (!guard)
                return;
        }
    }
    const QPoint pos = event->position().toPoint();
    emit MouseDown(this, button, ShiftState::FromEvent(*event, doubleClick), pos.x(), pos.y());
    if (!guard)
        return;
    m_untouched = false;
    m_currentEndColor = m_endColor;
    SetFontColor(m_normalFontColor);
    // The pressed look shows at once, not when the event loop next gets round to it.
    repaint();
}

void TBrimBtn::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_leftPressed)
        return;
    m_leftPressed = false;
    if (rect().contains(event->position().toPoint()))
        emit Clicked(this);
}
