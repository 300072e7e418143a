// SPDX-License-Identifier: MIT
// The gradient painting shared by the gradient box and the gradient button: splitting a
// colour value into channels, the gradient table, the band layout and band painting, the
// canvas preparation before outline and caption, and the face that puts these together. The step count N is a parameter (the
// box always uses 255, the button its ColorCnt); everything but the painting itself is a
// pure function so the exact numbers can be checked without drawing.
//
// The numbers are deliberately not a textbook linear interpolation: the step is computed
// in extended precision and subtracted repeatedly, band positions are truncated products,
// and bands overlap (band 1 starts where band 0 does and covers it). What shows at each
// pixel depends on all three, and the board's look relies on it.
#pragma once

// Qt
#include <QtGlobal>
// own
#include "controls/ControlTypes.h"
#include "controls/SysColors.h"

#include <array>

class Canvas;
class QFont;

namespace GradPaint {

constexpr int MaxSteps = 255;
using GradientTable = std::array<ColorValue, MaxSteps + 1>;

struct Channels
{
    int red;
    int green;
    int blue;
};

// System colours 0..24 resolve to their RGB; any other value is used as it stands, with
// its top byte ignored.
Channels SplitColor(ColorValue color);

// The start and end colour of a gradient style: swapped for gsBottomTop and gsRightLeft.
void StartEnd(TGradStyle style, ColorValue topColor, ColorValue lastColor, ColorValue& start, ColorValue& end);

// Fills entries 0..steps (steps in 1..255). Entry 0 is start and entry steps is end, both
// as colour values (a system colour stays one); the entries between are RGB values of the
// running channels after i subtractions of (start - end) / steps, truncated toward zero.
void BuildTable(GradientTable& table, ColorValue start, ColorValue end, int steps);

// Band layout along the stepping axis (height for vertical styles, width for horizontal):
// every band is `thickness` pixels; band 0 and band 1 start at 0, band i >= 1 at
// trunc((i - 1) * step). Later bands paint over earlier ones.
struct BandLayout
{
    long double step = 0;
    int thickness = 0;

    int Start(int band) const { return band == 0 ? 0 : int((band - 1) * step); }
};
BandLayout Bands(int extent, int steps);

// Whether the style paints horizontal bands stepping down the height.
inline bool StepsDown(TGradStyle style) { return style == gsTopBottom || style == gsBottomTop; }

// Paints bands 0..steps of the table over a width x height area (nothing for gsNone). A
// rounded band is a RoundRect(5, 5) filled with its colour and outlined with whatever pen
// the canvas holds; a plain band is a filled rectangle.
void PaintBands(Canvas& canvas, const GradientTable& table, int steps, TGradStyle style, int width, int height,
    bool rounded);

// Canvas set-up after the bands: the control's font, a clear brush, the outline colour as
// pen, dashed at design time and solid otherwise.
void PreparePaint(Canvas& canvas, const QFont& font, ColorValue outLineColor, bool designMode);

// How a control wants its face painted.
struct FaceLook
{
    TGradStyle style = gsTopBottom;
    // Top (or left) and last colour; StartEnd swaps them for the reversed styles.
    ColorValue topColor = 0;
    ColorValue lastColor = 0;
    int steps = MaxSteps;
    bool roundedBands = false;
    ColorValue outLineColor = 0;
    bool designMode = false;
    bool drawOutLine = false; // the outline shows when this or designMode is on
    // The outline's corner: RoundRect(n, n), or a plain rectangle for 0.
    int outLineCorner = 0;
};

// The gradient face of a box or a button, everything under its caption: the bands, the
// canvas prepared as PreparePaint says, then the outline over the whole width x height.
// The canvas keeps its pen between paints, and rounded bands are outlined with it.
//
// The colour table is kept between paints and built again only when its colours, its step
// count or the system-colour table (TableGeneration) change: the extended-precision build
// is the dearest part of painting a tile. A system colour still shows its new value at the
// next paint.
class Face
{
public:
    void Paint(Canvas& canvas, const QFont& font, const FaceLook& look, int width, int height);

private:
    GradientTable m_table {};
    // What m_table was built for.
    ColorValue m_start = 0;
    ColorValue m_end = 0;
    int m_steps = 0;
    int m_generation = -1;
};

} // namespace GradPaint
