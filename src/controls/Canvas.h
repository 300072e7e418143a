// SPDX-License-Identifier: MIT
// A small GDI-style drawing canvas over QPainter. The painted controls (and the windows'
// grid cells) describe their drawing in the classic terms: a pen, a brush, a font with a
// colour, and rectangles given as (left, top, right, bottom) with exclusive right and
// bottom edges. This class maps those calls onto QPainter so the pixels come out where the
// classic calls put them:
//   - FillRect(l, t, r, b) fills x = l..r-1, y = t..b-1;
//   - Rectangle, RoundRect and Ellipse outline with the pen and fill the inside with the
//     brush over that same span; RoundRect's corner arguments are the corner ellipse's
//     width and height;
//   - LineTo draws from the current position and leaves out its end point;
//   - DrawText places text at the rectangle's top-left (or as DtCenter / DtRight /
//     DtVCenter / DtBottom say), breaks lines at CR/LF and, with DtWordBreak, at word
//     boundaries, spaces lines one font height apart, expands tabs to every 8 average
//     character widths (with or without DtExpandTabs), clips to the rectangle unless
//     DtNoClip and never paints a background; '&' marks a mnemonic unless DtNoPrefix.
// Nothing is antialiased. A canvas keeps its pen, brush and font between paints: a control
// owns one and attaches it to each paint's QPainter with Begin/End. It also keeps the
// layout of the last text it drew and the width of the last text it measured, so a
// control that paints the same caption again (a board tile) does no text shaping.
#pragma once

// Qt
#include <QFont>
#include <QFontMetrics>
#include <QPen>
#include <QPoint>
#include <QSize>
#include <QString>
// own
#include "controls/SysColors.h"

#include <memory>
#include <optional>

class QPainter;
class QTextLayout;

class Canvas
{
public:
    enum PenStyle : quint8 {
        psSolid,
        psDash,
    };

    enum BrushStyle : quint8 {
        bsSolid,
        bsClear,
    };

    // DrawText format bits, with the classic values (named apart from the platform
    // macros so this header can sit beside windows.h).
    enum TextFormat : unsigned {
        DtLeft = 0x0,
        DtCenter = 0x1,
        DtRight = 0x2,
        DtVCenter = 0x4, // single line only
        DtBottom = 0x8, // single line only
        DtWordBreak = 0x10,
        DtSingleLine = 0x20,
        DtExpandTabs = 0x40,
        DtNoClip = 0x100,
        DtNoPrefix = 0x800,
    };

    Canvas();
    explicit Canvas(QPainter* painter);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Attaches the canvas to a painter for one paint (antialiasing off). The pen, brush
    // and font settings stay as they were left.
    void Begin(QPainter* painter);
    void End();
    QPainter* Painter() const { return m_painter; }

    ColorValue PenColor() const { return m_penColor; }
    void SetPenColor(ColorValue color);
    PenStyle GetPenStyle() const { return m_penStyle; }
    void SetPenStyle(PenStyle style);

    // Setting a brush colour also makes a clear brush solid.
    ColorValue BrushColor() const { return m_brushColor; }
    void SetBrushColor(ColorValue color);
    BrushStyle GetBrushStyle() const { return m_brushStyle; }
    void SetBrushStyle(BrushStyle style) { m_brushStyle = style; }

    const QFont& Font() const { return m_sourceFont; }
    void SetFont(const QFont& font);
    ColorValue FontColor() const { return m_fontColor; }
    void SetFontColor(ColorValue color) { m_fontColor = color; }

    void FillRect(int left, int top, int right, int bottom);
    void Rectangle(int left, int top, int right, int bottom);
    void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    void Ellipse(int left, int top, int right, int bottom);
    void MoveTo(int x, int y) { m_penPos = QPoint(x, y); }
    void LineTo(int x, int y);
    QPoint PenPos() const { return m_penPos; }

    // Draws text into (left, top, right, bottom) in the canvas font and font colour and
    // returns the height of the text drawn.
    int DrawText(const QString& text, int left, int top, int right, int bottom, unsigned format);

    // Width and height of text as one line in the canvas font (no prefix processing).
    QSize TextExtent(const QString& text) const;
    const QFontMetrics& Metrics() const;
    int TextWidth(const QString& text) const { return TextExtent(text).width(); }
    int TextHeight(const QString& text) const { return TextExtent(text).height(); }

private:
    void ApplyPen();
    void ApplyBrush();
    void LayOutText(const QString& text, int wrapWidth, unsigned format);

    QPainter* m_painter = nullptr;
    ColorValue m_penColor = SysColors::clBlack;
    PenStyle m_penStyle = psSolid;
    ColorValue m_brushColor = SysColors::clWhite;
    BrushStyle m_brushStyle = bsSolid;
    // The font as given, and the one drawn with (the same without glyph smoothing).
    QFont m_sourceFont;
    QFont m_font;
    bool m_fontSet = false;
    // Bumped whenever the font changes, so cached text knows it is stale.
    quint32 m_fontSerial = 0;
    mutable std::optional<QFontMetrics> m_metrics;
    mutable QString m_extentText;
    mutable int m_extentWidth = 0;
    // The last text laid out, with what it was laid out for.
    std::unique_ptr<QTextLayout> m_layout;
    QString m_layoutText;
    unsigned m_layoutFormat = 0;
    int m_layoutWrap = 0;
    quint32 m_layoutFontSerial = 0;
    bool m_layoutValid = false;
    ColorValue m_fontColor = SysColors::clWindowText;
    QPoint m_penPos;
    // The QPen handed to the painter, rebuilt only when colour or style change.
    QPen m_pen;
    bool m_penDirty = true;
    QPen m_textPen;
    ColorValue m_textPenColor = 0;
    bool m_textPenSet = false;
};
