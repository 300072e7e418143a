// SPDX-License-Identifier: MIT
// GDI-style canvas over QPainter; see Canvas.h for the pixel rules it keeps.
#include "controls/Canvas.h"

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

// Colour of a colour value, built inline (the board fills a few thousand rectangles a
// frame, and the out-of-line conversions show up in profiles).
QColor ToColor(ColorValue value)
{
    const ColorValue v = SysColors::ToRgbValue(value);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

// The format bits that change how text is laid out (as opposed to where it is placed).
constexpr unsigned LayoutBits = Canvas::DtWordBreak | Canvas::DtSingleLine | Canvas::DtNoPrefix;

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

Canvas::Canvas() = default;

Canvas::Canvas(QPainter* painter)
{
    Begin(painter);
}

Canvas::~Canvas() = default;

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
    ++m_fontSerial;
    m_metrics.reset();
    m_extentText.clear();
}

const QFontMetrics& Canvas::Metrics() const
{
    if (!m_metrics)
        m_metrics.emplace(m_font);
    return *m_metrics;
}

void Canvas::ApplyPen()
{
    if (m_penDirty) {
        // Width 0: a cosmetic one-pixel pen. Flat caps keep a line's end point unpainted.
        m_pen = QPen(ToColor(m_penColor), 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
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
        m_painter->setBrush(ToColor(m_brushColor));
}

void Canvas::FillRect(int left, int top, int right, int bottom)
{
    if (!m_painter || m_brushStyle == bsClear || right <= left || bottom <= top)
        return;
    m_painter->fillRect(QRect(left, top, right - left, bottom - top), ToColor(m_brushColor));
}

void Canvas::Rectangle(int left, int top, int right, int bottom)
{
    if (!m_painter || right <= left || bottom <= top)
        return;
    if (m_penStyle == psSolid) {
        // Four one-pixel fills: the same pixels as a stroked outline, at a fraction of
        // the cost (every board tile draws one).
        const QColor pen = ToColor(m_penColor);
        const int w = right - left;
        const int h = bottom - top;
        if (m_brushStyle == bsSolid && w > 2 && h > 2)
            m_painter->fillRect(QRect(left + 1, top + 1, w - 2, h - 2), ToColor(m_brushColor));
        m_painter->fillRect(QRect(left, top, w, 1), pen);
        m_painter->fillRect(QRect(left, bottom - 1, w, 1), pen);
        m_painter->fillRect(QRect(left, top, 1, h), pen);
        m_painter->fillRect(QRect(right - 1, top, 1, h), pen);
        return;
    }
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
            m_painter->fillRect(QRect(left, top, right - left, bottom - top), ToColor(m_penColor));
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
    const QColor pen = ToColor(m_penColor);
    if (m_brushStyle == bsSolid) {
        const QColor brush = ToColor(m_brushColor);
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
    const QFontMetrics& fm = Metrics();
    if (text != m_extentText || m_extentText.isNull()) {
        m_extentText = text;
        m_extentWidth = fm.horizontalAdvance(text);
    }
    return QSize(m_extentWidth, fm.height());
}

void Canvas::LayOutText(const QString& text, int wrapWidth, unsigned format)
{
    const bool singleLine = format & DtSingleLine;

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

    if (!m_layout)
        m_layout = std::make_unique<QTextLayout>();
    QTextLayout& layout = *m_layout;
    layout.clearLayout();
    layout.setText(shown);
    layout.setFont(m_font);
    QTextOption option;
    option.setWrapMode(wrapWidth >= 0 ? QTextOption::WordWrap : QTextOption::NoWrap);
    option.setTabStopDistance(8 * Metrics().averageCharWidth());
    layout.setTextOption(option);
    layout.setFormats(underlines);
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(wrapWidth >= 0 ? wrapWidth : NoWrapWidth);
    }
    layout.endLayout();

    m_layoutText = text;
    m_layoutFormat = format & LayoutBits;
    m_layoutWrap = wrapWidth;
    m_layoutFontSerial = m_fontSerial;
    m_layoutValid = true;
}

int Canvas::DrawText(const QString& text, int left, int top, int right, int bottom, unsigned format)
{
    if (!m_painter || text.isEmpty())
        return 0;
    const bool wraps = (format & DtWordBreak) && !(format & DtSingleLine);
    const int wrapWidth = wraps ? std::max(0, right - left) : -1;
    if (!m_layoutValid || m_layoutFontSerial != m_fontSerial || m_layoutWrap != wrapWidth
        || m_layoutFormat != (format & LayoutBits) || m_layoutText != text)
        LayOutText(text, wrapWidth, format);

    // Place the lines: each on the font's own baseline (whatever fallback glyphs it
    // holds), one font height apart, aligned within the rectangle.
    QTextLayout& layout = *m_layout;
    const QFontMetrics& fm = Metrics();
    const int lineHeight = fm.height();
    const int total = lineHeight * layout.lineCount();
    const int y0 = AlignedY(format, top, bottom, total);
    // Clipping only where something could cross the edge; a glyph may overhang its
    // advance (italics), so the margin for that must fit inside too.
    const int overhangLeft = std::max(0, -fm.minLeftBearing());
    const int overhangRight = std::max(0, -fm.minRightBearing());
    bool inside = y0 >= top && y0 + total <= bottom;
    for (int i = 0; i < layout.lineCount(); ++i) {
        QTextLine line = layout.lineAt(i);
        // Advance width without trailing blanks, as text extents are measured; ink that
        // overhangs it is the clip's business.
        const int width = qRound(line.horizontalAdvance());
        const int x = AlignedX(format, left, right, width);
        inside = inside && x - overhangLeft >= left && x + width + overhangRight <= right;
        line.setPosition(QPointF(x, y0 + i * lineHeight + fm.ascent() - line.ascent()));
    }
    const bool clip = !(format & DtNoClip) && !inside;
    if (clip && (right <= left || bottom <= top))
        return total;
    if (clip) {
        m_painter->save();
        m_painter->setClipRect(QRect(left, top, right - left, bottom - top), Qt::IntersectClip);
    }
    if (!m_textPenSet || m_textPenColor != m_fontColor) {
        m_textPen = QPen(ToColor(m_fontColor));
        m_textPenColor = m_fontColor;
        m_textPenSet = true;
    }
    m_painter->setPen(m_textPen);
    layout.draw(m_painter, QPointF(0, 0));
    if (clip)
        m_painter->restore();
    return total;
}
