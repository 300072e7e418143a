// SPDX-License-Identifier: MIT
// Gradient table, band layout, band painting and the face shared by TGradBox and TBrimBtn.
#include "controls/GradPaint.h"

// own
#include "controls/Canvas.h"

#include <algorithm>

namespace GradPaint {

Channels SplitColor(ColorValue color)
{
    return Channels { SysColors::Red(color), SysColors::Green(color), SysColors::Blue(color) };
}

void StartEnd(TGradStyle style, ColorValue topColor, ColorValue lastColor, ColorValue& start, ColorValue& end)
{
    if (style == gsBottomTop || style == gsRightLeft) {
        start = lastColor;
        end = topColor;
    } else {
        start = topColor;
        end = lastColor;
    }
}

void BuildTable(GradientTable& table, ColorValue start, ColorValue end, int steps)
{
    steps = std::clamp(steps, 1, MaxSteps);
    const Channels s = SplitColor(start);
    const Channels e = SplitColor(end);
    // Extended precision and repeated subtraction on purpose: the truncated entries differ
    // from a multiplied-out interpolation wherever the exact value is a whole number.
    const long double dR = static_cast<long double>(s.red - e.red) / steps;
    const long double dG = static_cast<long double>(s.green - e.green) / steps;
    const long double dB = static_cast<long double>(s.blue - e.blue) / steps;
    long double r = s.red;
    long double g = s.green;
    long double b = s.blue;
    table[0] = start;
    for (int i = 1; i < steps; ++i) {
        r -= dR;
        g -= dG;
        b -= dB;
        table[size_t(i)] = SysColors::Rgb(int(r), int(g), int(b));
    }
    table[size_t(steps)] = end;
}

BandLayout Bands(int extent, int steps)
{
    BandLayout layout;
    layout.step = static_cast<long double>(extent) / std::clamp(steps, 1, MaxSteps);
    layout.thickness = int(layout.step + 1.0L);
    return layout;
}

void PaintBands(Canvas& canvas, const GradientTable& table, int steps, TGradStyle style, int width, int height,
    bool rounded)
{
    if (style == gsNone)
        return;
    steps = std::clamp(steps, 1, MaxSteps);
    const bool down = StepsDown(style);
    const BandLayout bands = Bands(down ? height : width, steps);
    for (int i = 0; i <= steps; ++i) {
        const int pos = bands.Start(i);
        int end = pos + bands.thickness;
        canvas.SetBrushColor(table[size_t(i)]);
        if (rounded) {
            if (down)
                canvas.RoundRect(0, pos, width, end, 5, 5);
            else
                canvas.RoundRect(pos, 0, end, height, 5, 5);
            continue;
        }
        // A plain band shows only up to where the next one starts (bands never leave a
        // gap), so each pixel is filled once; a band the next one covers entirely is
        // skipped. The picture is the same as filling every band whole, in order.
        if (i < steps)
            end = std::min(end, bands.Start(i + 1));
        if (end <= pos)
            continue;
        if (down)
            canvas.FillRect(0, pos, width, end);
        else
            canvas.FillRect(pos, 0, end, height);
    }
}

void PreparePaint(Canvas& canvas, const QFont& font, ColorValue outLineColor, bool designMode)
{
    canvas.SetFont(font);
    canvas.SetBrushStyle(Canvas::bsClear);
    canvas.SetPenColor(outLineColor);
    canvas.SetPenStyle(designMode ? Canvas::psDash : Canvas::psSolid);
}

void Face::Paint(Canvas& canvas, const QFont& font, const FaceLook& look, int width, int height)
{
    if (look.style != gsNone) {
        ColorValue start = 0;
        ColorValue end = 0;
        StartEnd(look.style, look.topColor, look.lastColor, start, end);
        const int generation = SysColors::TableGeneration();
        if (m_steps != look.steps || m_start != start || m_end != end || m_generation != generation) {
            BuildTable(m_table, start, end, look.steps);
            m_start = start;
            m_end = end;
            m_steps = look.steps;
            m_generation = generation;
        }
        PaintBands(canvas, m_table, look.steps, look.style, width, height, look.roundedBands);
    }
    PreparePaint(canvas, font, look.outLineColor, look.designMode);
    if (look.designMode || look.drawOutLine) {
        if (look.outLineCorner > 0)
            canvas.RoundRect(0, 0, width, height, look.outLineCorner, look.outLineCorner);
        else
            canvas.Rectangle(0, 0, width, height);
    }
}

} // namespace GradPaint
