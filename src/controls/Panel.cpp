// SPDX-License-Identifier: MIT
// Panel: bevels, border, face and caption, painted the way the class library paints them.
#include "controls/Panel.h"

// Qt
#include <QFontMetrics>
#include <QPainter>

namespace {

// One bevel, Width rings from the outside in, shrinking rect as it goes. Each ring paints
// its top row (all but the last pixel) and its left column (all but the bottom pixel) in
// the top colour, then its right column and bottom row, corners included, in the bottom
// colour: the pixels two polylines with exclusive end points leave.
void Frame3D(QPainter& p, QRect& rect, const QColor& top, const QColor& bottom, int width)
{
    for (int i = 0; i < width && rect.width() > 0 && rect.height() > 0; ++i) {
        const int l = rect.left();
        const int t = rect.top();
        const int r = rect.right(); // inclusive
        const int b = rect.bottom();
        p.fillRect(QRect(l, t, r - l, 1), top);
        p.fillRect(QRect(l, t, 1, b - t), top);
        p.fillRect(QRect(r, t, 1, b - t + 1), bottom);
        p.fillRect(QRect(l, b, r - l + 1, 1), bottom);
        rect.adjust(1, 1, -1, -1);
    }
}

} // namespace

Panel::Panel(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(185, 41);
}

void Panel::SetBevelOuter(TPanelBevel bevel)
{
    if (bevel == m_bevelOuter)
        return;
    m_bevelOuter = bevel;
    update();
    Realign();
}

void Panel::SetBevelInner(TPanelBevel bevel)
{
    if (bevel == m_bevelInner)
        return;
    m_bevelInner = bevel;
    update();
    Realign();
}

void Panel::SetBevelWidth(int width)
{
    width = qMax(1, width);
    if (width == m_bevelWidth)
        return;
    m_bevelWidth = width;
    update();
    Realign();
}

void Panel::SetBorderWidth(int width)
{
    width = qMax(0, width);
    if (width == m_borderWidth)
        return;
    m_borderWidth = width;
    update();
    Realign();
}

void Panel::SetColor(ColorValue color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void Panel::SetFontColor(ColorValue color)
{
    if (color == m_fontColor)
        return;
    m_fontColor = color;
    update();
}

void Panel::SetCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    update();
}

void Panel::SetAlignment(TAlignment alignment)
{
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    update();
}

QRect Panel::InnerRect() const
{
    int inset = m_borderWidth;
    if (m_bevelOuter != bvNone)
        inset += m_bevelWidth;
    if (m_bevelInner != bvNone)
        inset += m_bevelWidth;
    return rect().adjusted(inset, inset, -inset, -inset);
}

ColorValue Panel::BevelTopColor(TPanelBevel bevel)
{
    return bevel == bvLowered ? SysColors::System(SysColors::ColorBtnShadow)
                              : SysColors::System(SysColors::ColorBtnHighlight);
}

ColorValue Panel::BevelBottomColor(TPanelBevel bevel)
{
    return bevel == bvLowered ? SysColors::System(SysColors::ColorBtnHighlight)
                              : SysColors::System(SysColors::ColorBtnShadow);
}

void Panel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QColor face = SysColors::ToQColor(m_color);
    QRect r = rect();
    if (m_bevelOuter != bvNone)
        Frame3D(p, r, SysColors::ToQColor(BevelTopColor(m_bevelOuter)),
            SysColors::ToQColor(BevelBottomColor(m_bevelOuter)), m_bevelWidth);
    Frame3D(p, r, face, face, m_borderWidth);
    if (m_bevelInner != bvNone)
        Frame3D(p, r, SysColors::ToQColor(BevelTopColor(m_bevelInner)),
            SysColors::ToQColor(BevelBottomColor(m_bevelInner)), m_bevelWidth);
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.fillRect(r, face);
    if (m_caption.isEmpty())
        return;

    // The caption is one text line high, centred vertically on the face and clipped to
    // that line (a font taller than the face may draw over the bevels).
    const int fontHeight = QFontMetrics(font()).height();
    const int top = (r.top() + r.bottom() + 1 - fontHeight) / 2;
    const QRect textRect(r.left(), top, r.width(), fontHeight);
    int flags = Qt::AlignTop | Qt::TextExpandTabs;
    switch (m_alignment) {
    case taLeftJustify:
        flags |= Qt::AlignLeft;
        break;
    case taRightJustify:
        flags |= Qt::AlignRight;
        break;
    default:
        flags |= Qt::AlignHCenter;
        break;
    }
    p.setClipRect(textRect);
    p.setFont(font());
    p.setPen(SysColors::ToQColor(m_fontColor));
    p.drawText(textRect, flags, m_caption);
}

void Panel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Realign();
}
