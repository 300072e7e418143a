// SPDX-License-Identifier: MIT
// GDI-style canvas over QPainter; see Canvas.h for the pixel rules it keeps.
#include "Canvas.h"

// Qt
#include <QFontMetrics>
#include <QList>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cmath>

namespace {

// Classic cosmetic dash: 18 pixels on, 6 off.
const QList<qreal> DashPattern = { 18, 6 };

// Width used for a line that must not wrap.
constexpr qreal NoWrapWidth = 1 << 22;

// Whether text can be drawn as one shaped run, without the full layout (no mnemonic,
// tab or line break to handle). The board tiles take this path on every paint.
bool IsPlainRun(const QString& text, bool prefix)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\t' || u == u'\n' || u == u'\r' || u == 0x2028 || u == 0x2029 || (prefix && u == u'&'))
            return false;
    }
    return true;
}

// Left edge of a line of the given width under the horizontal format bits.
int AlignedX(unsigned format, int left, int right, int width)
{
    if (format & Canvas::DtCenter)
        return left + (right - left - width) / 2;
    if (format & Canvas::DtRight)
        return right - width;
    return left;
}

// Top edge of the text block; only a single line can be centred or bottom-aligned.
int AlignedY(unsigned format, int top, int bottom, int height)
{
    if (format & Canvas::DtSingleLine) {
        if (format & Canvas::DtVCenter)
            return top + (bottom - top - height) / 2;
        if (format & Canvas::DtBottom)
            return bottom - height;
    }
    return top;
}

} // namespace

void Canvas::Begin(QPainter* painter)
{
    m_painter = painter;
    if (!m_fontSet)
        SetFont(QFont());
    if (m_painter) {
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        m_painter->setRenderHint(QPainter::TextAntialiasing, false);
    }
}

void Canvas::End()
{
    m_painter = nullptr;
}

void Canvas::SetPenColor(ColorValue color)
{
    if (color != m_penColor) {
        m_penColor = color;
        m_penDirty = true;
    }
}

void Canvas::SetPenStyle(PenStyle style)
{
    if (style != m_penStyle) {
        m_penStyle = style;
        m_penDirty = true;
    }
}

void Canvas::SetBrushColor(ColorValue color)
{
    m_brushColor = color;
    m_brushStyle = bsSolid;
}

void Canvas::SetFont(const QFont& font)
{
    if (m_fontSet && font == m_sourceFont)
        return;
    m_fontSet = true;
    m_sourceFont = font;
    m_font = font;
    // Glyphs are drawn in hard pixels like every other primitive here.
    m_font.setStyleStrategy(QFont::StyleStrategy(m_font.styleStrategy() | QFont::NoAntialias));
}

void Canvas::ApplyPen()
{
    if (m_penDirty) {
        // Width 0: a cosmetic one-pixel pen. Flat caps keep a line's end point unpainted.
        m_pen = QPen(SysColors::ToQColor(m_penColor), 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        if (m_penStyle == psDash)
            m_pen.setDashPattern(DashPattern);
        m_penDirty = false;
    }
    m_painter->setPen(m_pen);
}

void Canvas::ApplyBrush()
{
    if (m_brushStyle == bsClear)
        m_painter->setBrush(Qt::NoBrush);
    else
        m_painter->setBrush(SysColors::ToQColor(m_brushColor));
}

void Canvas::FillRect(int left, int top, int right, int bottom)
{
    if (!m_painter || m_brushStyle == bsClear || right <= left || bottom <= top)
        return;
    m_painter->fillRect(QRect(left, top, right - left, bottom - top), SysColors::ToQColor(m_brushColor));
}

void Canvas::Rectangle(int left, int top, int right, int bottom)
{
    if (!m_painter || right <= left || bottom <= top)
        return;
    ApplyPen();
    ApplyBrush();
    // An outlined QRect(x, y, w, h) covers x..x+w, so the span l..r-1 is w = r-l-1.
    m_painter->drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
}

void Canvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    if (!m_painter || right <= left || bottom <= top)
        return;
    ApplyPen();
    if (right - left <= 2 || bottom - top <= 2) {
        // Too thin for a corner or an inside to show: the outline covers the whole span.
        if (m_penStyle == psSolid) {
            m_painter->fillRect(QRect(left, top, right - left, bottom - top), SysColors::ToQColor(m_penColor));
        } else {
            m_painter->setBrush(Qt::NoBrush);
            m_painter->drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
        }
        return;
    }
    if (m_penStyle != psSolid) {
        // Only design-time outlines are dashed; a continuous dash matters more there
        // than the exact corner pixels.
        ApplyBrush();
        m_painter->drawRoundedRect(QRect(left, top, right - left - 1, bottom - top - 1),
            std::min(cornerWidth, right - left) / 2.0, std::min(cornerHeight, bottom - top) / 2.0);
        return;
    }

    // Built from the corner ellipse's four quarters and straight edges, so both sides of
    // the shape mirror each other pixel for pixel (the raster engine's own rounded
    // rectangle does not). A corner ellipse larger than the rectangle is cut to its size.
    const int cw = std::clamp(cornerWidth, 0, right - left);
    const int ch = std::clamp(cornerHeight, 0, bottom - top);
    const int hx = cw / 2;
    const int hy = ch / 2;
    const QColor pen = SysColors::ToQColor(m_penColor);
    if (m_brushStyle == bsSolid) {
        const QColor brush = SysColors::ToQColor(m_brushColor);
        m_painter->fillRect(QRect(left + 1, top + hy, right - left - 2, bottom - top - 2 * hy), brush);
        m_painter->fillRect(QRect(left + hx, top + 1, right - left - 2 * hx, bottom - top - 2), brush);
    }
    if (hx > 0 && hy > 0) {
        ApplyBrush();
        const QRect quarters[4] = {
            QRect(left, top, hx, hy),
            QRect(right - hx, top, hx, hy),
            QRect(left, bottom - hy, hx, hy),
            QRect(right - hx, bottom - hy, hx, hy),
        };
        const QRect ellipses[4] = {
            QRect(left, top, cw - 1, ch - 1),
            QRect(right - cw, top, cw - 1, ch - 1),
            QRect(left, bottom - ch, cw - 1, ch - 1),
            QRect(right - cw, bottom - ch, cw - 1, ch - 1),
        };
        for (int i = 0; i < 4; ++i) {
            m_painter->save();
            m_painter->setClipRect(quarters[i], Qt::IntersectClip);
            m_painter->drawEllipse(ellipses[i]);
            m_painter->restore();
        }
    }
    m_painter->fillRect(QRect(left + hx, top, right - left - 2 * hx, 1), pen);
    m_painter->fillRect(QRect(left + hx, bottom - 1, right - left - 2 * hx, 1), pen);
    m_painter->fillRect(QRect(left, top + hy, 1, bottom - top - 2 * hy), pen);
    m_painter->fillRect(QRect(right - 1, top + hy, 1, bottom - top - 2 * hy), pen);
}

void Canvas::Ellipse(int left, int top, int right, int bottom)
{
    if (!m_painter || right <= left || bottom <= top)
        return;
    ApplyPen();
    ApplyBrush();
    m_painter->drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
}

void Canvas::LineTo(int x, int y)
{
    const QPoint from = m_penPos;
    m_penPos = QPoint(x, y);
    if (!m_painter || from == m_penPos)
        return;
    ApplyPen();
    if (m_penStyle != psSolid) {
        m_painter->drawLine(from, m_penPos);
        return;
    }
    // Plotted here rather than by drawLine: the raster engine's flat cap leaves out the
    // bottom or right end of a line, which is the start point for a line drawn up or left.
    // A line includes its start point and leaves out its end point, whatever its
    // direction. Pixels on the minor axis are the exact position rounded half up, so a
    // line covers the same pixels drawn either way.
    const int dx = x - from.x();
    const int dy = y - from.y();
    const int n = std::max(std::abs(dx), std::abs(dy));
    auto roundDiv = [n](int a) {
        const int num = 2 * a + n;
        const int den = 2 * n;
        return num >= 0 ? num / den : -((-num + den - 1) / den);
    };
    std::array<QPoint, 64> points;
    size_t count = 0;
    for (int i = 0; i < n; ++i) {
        points[count++] = QPoint(from.x() + roundDiv(i * dx), from.y() + roundDiv(i * dy));
        if (count == points.size()) {
            m_painter->drawPoints(points.data(), int(count));
            count = 0;
        }
    }
    if (count > 0)
        m_painter->drawPoints(points.data(), int(count));
}

QSize Canvas::TextExtent(const QString& text) const
{
    const QFontMetrics fm = m_painter ? QFontMetrics(m_font, m_painter->device()) : QFontMetrics(m_font);
    return QSize(fm.horizontalAdvance(text), fm.height());
}

int Canvas::DrawText(const QString& text, int left, int top, int right, int bottom, unsigned format)
{
    if (!m_painter || text.isEmpty())
        return 0;
    const bool prefix = !(format & DtNoPrefix);
    if (!IsPlainRun(text, prefix))
        return DrawTextLayout(text, left, top, right, bottom, format);

    m_painter->setFont(m_font);
    const QFontMetrics fm = m_painter->fontMetrics();
    const int width = fm.horizontalAdvance(text);
    const int height = fm.height();
    const bool wraps = (format & DtWordBreak) && !(format & DtSingleLine);
    if (wraps && width > right - left)
        return DrawTextLayout(text, left, top, right, bottom, format);

    const int x = AlignedX(format, left, right, width);
    const int y = AlignedY(format, top, bottom, height);
    const bool clip = !(format & DtNoClip) && (x < left || x + width > right || y < top || y + height > bottom);
    if (clip) {
        if (right <= left || bottom <= top)
            return height;
        m_painter->save();
        m_painter->setClipRect(QRect(left, top, right - left, bottom - top), Qt::IntersectClip);
    }
    m_painter->setPen(SysColors::ToQColor(m_fontColor));
    m_painter->drawText(x, y + fm.ascent(), text);
    if (clip)
        m_painter->restore();
    return height;
}

int Canvas::DrawTextLayout(const QString& text, int left, int top, int right, int bottom, unsigned format)
{
    const bool singleLine = format & DtSingleLine;
    const bool wraps = (format & DtWordBreak) && !singleLine;

    // Mnemonic prefixes: "&x" shows x underlined, "&&" shows one '&'. Line breaks of any
    // kind become layout line separators unless the text is forced onto one line.
    QString shown;
    shown.reserve(text.size());
    QList<QTextLayout::FormatRange> underlines;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (!(format & DtNoPrefix) && c == u'&') {
            if (++i >= text.size())
                break;
            c = text[i];
            if (c != u'&') {
                QTextLayout::FormatRange range;
                range.start = int(shown.size());
                range.length = 1;
                range.format.setFontUnderline(true);
                underlines.append(range);
            }
        }
        if (!singleLine && (c == u'\r' || c == u'\n')) {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            c = QChar::LineSeparator;
        }
        shown.append(c);
    }

    const QFontMetrics fm(m_font, m_painter->device());
    const int lineHeight = fm.height();
    QTextOption option;
    option.setWrapMode(wraps ? QTextOption::WordWrap : QTextOption::NoWrap);
    option.setTabStopDistance(8 * fm.averageCharWidth());
    QTextLayout layout(shown, m_font, m_painter->device());
    layout.setTextOption(option);
    layout.setFormats(underlines);
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(wraps ? std::max(0, right - left) : NoWrapWidth);
    }
    layout.endLayout();

    const int total = lineHeight * layout.lineCount();
    const int y0 = AlignedY(format, top, bottom, total);
    for (int i = 0; i < layout.lineCount(); ++i) {
        QTextLine line = layout.lineAt(i);
        const int width = int(std::ceil(line.naturalTextWidth()));
        const int x = AlignedX(format, left, right, width);
        // Every line sits on the font's own baseline, whatever fallback glyphs it holds.
        line.setPosition(QPointF(x, y0 + i * lineHeight + fm.ascent() - line.ascent()));
    }

    const bool clip = !(format & DtNoClip);
    if (clip && (right <= left || bottom <= top))
        return total;
    m_painter->save();
    if (clip)
        m_painter->setClipRect(QRect(left, top, right - left, bottom - top), Qt::IntersectClip);
    m_painter->setPen(SysColors::ToQColor(m_fontColor));
    layout.draw(m_painter, QPointF(0, 0));
    m_painter->restore();
    return total;
}
