// SPDX-License-Identifier: MIT
// TGradBox: gradient background box with a plain, shadowed or extruded caption.
#include "controls/GradBox.h"

// Qt
#include <QPainter>

#include <algorithm>

TGradBox::TGradBox(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(false);
    resize(200, 100);
}

void TGradBox::SetCaptionLeft(int value)
{
    if (value == m_captionLeft)
        return;
    m_captionLeft = value;
    update();
}

void TGradBox::SetCaptionTop(int value)
{
    if (value == m_captionTop)
        return;
    m_captionTop = value;
    update();
}

void TGradBox::SetTopColor(ColorValue value)
{
    if (value == m_topColor)
        return;
    m_topColor = value;
    update();
}

void TGradBox::SetLastColor(ColorValue value)
{
    if (value == m_lastColor)
        return;
    m_lastColor = value;
    update();
}

void TGradBox::SetOutLineColor(ColorValue value)
{
    if (value == m_outLineColor)
        return;
    m_outLineColor = value;
    if (m_drawOutLine)
        update();
}

void TGradBox::SetDrawOutLine(bool value)
{
    if (value == m_drawOutLine)
        return;
    m_drawOutLine = value;
    update();
}

void TGradBox::SetGradStyle(TGradStyle value)
{
    if (value == m_gradStyle)
        return;
    m_gradStyle = value;
    update();
}

void TGradBox::SetFont3D(bool value)
{
    if (value == m_font3D)
        return;
    m_font3D = value;
    update();
}

void TGradBox::SetFontDepth(int value)
{
    const auto depth = quint8(std::clamp(value, 0, 255));
    if (depth == m_fontDepth)
        return;
    m_fontDepth = depth;
    if (m_font3D)
        update();
}

void TGradBox::SetStyle3D(TFontStyle3D value)
{
    if (value == m_style3D)
        return;
    m_style3D = value;
    update();
}

void TGradBox::SetBackFont(ColorValue value)
{
    if (value == m_backFont)
        return;
    m_backFont = value;
    if (m_font3D)
        update();
}

void TGradBox::SetCaption(const QString& value)
{
    if (value == m_caption)
        return;
    m_caption = value;
    update();
}

void TGradBox::SetFontColor(ColorValue value)
{
    if (value == m_fontColor)
        return;
    m_fontColor = value;
    update();
}

void TGradBox::SetDesignMode(bool value)
{
    if (value == m_designMode)
        return;
    m_designMode = value;
    update();
}

void TGradBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_canvas.Begin(&painter);
    const GradPaint::FaceLook look { .style = m_gradStyle,
        .topColor = m_topColor,
        .lastColor = m_lastColor,
        .steps = Steps,
        .outLineColor = m_outLineColor,
        .designMode = m_designMode,
        .drawOutLine = m_drawOutLine,
        .outLineCorner = 5 };
    m_face.Paint(m_canvas, font(), look, width(), height());
    PaintCaption();
    m_canvas.End();
    painter.end();
    emit Painted(this);
}

void TGradBox::DrawCaptionAt(int dx, int dy, ColorValue color)
{
    // The right and bottom edges are the box's edges as its parent sees them, while the
    // drawing is in the box's own pixels: a box away from the parent's origin wraps its
    // caption beyond its own right edge, and the part past the edge is cut off.
    const int left = m_captionLeft;
    const int top = m_captionTop;
    const int right = (parentWidget() ? x() : 0) + width();
    const int bottom = (parentWidget() ? y() : 0) + height();
    m_canvas.SetFontColor(color);
    m_canvas.DrawText(
        m_caption, left + dx, top + dy, right + dx, bottom + dy, Canvas::DtWordBreak | Canvas::DtExpandTabs);
}

void TGradBox::PaintCaption()
{
    if (m_caption.isEmpty())
        return;
    if (!OwnEnabled()) {
        // Embossed, whatever the 3D setting says.
        DrawCaptionAt(1, 1, SysColors::clWhite);
        DrawCaptionAt(0, 0, SysColors::clGray);
        return;
    }
    if (m_font3D) {
        const int d = m_fontDepth;
        switch (m_style3D) {
        case fsLowShadow:
            DrawCaptionAt(d, d, m_backFont);
            break;
        case fsRaiseShadow:
            DrawCaptionAt(-d, -d, m_backFont);
            break;
        case fsLow3D:
            for (int i = 1; i <= d; ++i)
                DrawCaptionAt(i, i, m_backFont);
            break;
        case fsRaise3D:
            for (int i = 1; i <= d; ++i)
                DrawCaptionAt(-i, -i, m_backFont);
            break;
        }
    }
    DrawCaptionAt(0, 0, m_fontColor);
}
