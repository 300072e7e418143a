// SPDX-License-Identifier: MIT
// The gradient routines (table, bands) and TGradBox: what each row of pixels shows, the
// caption layers, the caption rectangle taken from the parent's coordinates, and which
// property changes repaint.

// Qt
#include <QSignalSpy>
#include <QTest>
// GoogleTest
#include <gtest/gtest.h>
// own
#include "controls/GradBox.h"
#include "controls/GradPaint.h"
#include "PaintTestUtil.h"

using namespace PaintTest;

namespace {

QFont CaptionFont()
{
    QFont font;
    font.setPixelSize(14);
    return font;
}

// A white box with a black caption, no gradient to tell apart from text.
void MakePlain(TGradBox& box, const QString& caption)
{
    box.resize(120, 40);
    box.SetTopColor(SysColors::clWhite);
    box.SetLastColor(SysColors::clWhite);
    box.SetFontColor(SysColors::clBlack);
    box.setFont(CaptionFont());
    box.SetCaption(caption);
}

// Paints `top` over `under` wherever `top` is not the plain background.
QImage Overlay(QImage under, const QImage& top, ColorValue background)
{
    for (int y = 0; y < top.height(); ++y)
        for (int x = 0; x < top.width(); ++x)
            if (At(top, x, y) != background)
                under.setPixelColor(x, y, top.pixelColor(x, y));
    return under;
}

} // namespace

TEST(GradPaintTest, TableEndsAreTheColourValuesThemselves)
{
    GradPaint::GradientTable table {};
    GradPaint::BuildTable(table, SysColors::clBtnFace, SysColors::clBlack, 255);
    EXPECT_EQ(table[0], SysColors::clBtnFace); // stays a system colour
    EXPECT_EQ(table[255], SysColors::clBlack);
    // The entries between interpolate from the system colour's RGB (192, 192, 192).
    EXPECT_EQ(table[1], SysColors::Rgb(191, 191, 191));
    EXPECT_EQ(table[128], SysColors::Rgb(95, 95, 95));

    // The top byte of a plain value is ignored by the split, but kept at the ends.
    GradPaint::BuildTable(table, 0x120000FF, 0x00000000, 2);
    EXPECT_EQ(table[0], 0x120000FFu);
    EXPECT_EQ(table[1], 0x0000007Fu);
}

TEST(GradPaintTest, RedToBlackInTwentySteps)
{
    GradPaint::GradientTable table {};
    GradPaint::BuildTable(table, SysColors::clRed, SysColors::clBlack, 20);
    const int expected[21] = { 0xFF, 0xF2, 0xE5, 0xD8, 0xCC, 0xBF, 0xB2, 0xA5, 0x99, 0x8C, 0x7F, 0x72, 0x66, 0x59,
        0x4C, 0x3F, 0x33, 0x26, 0x19, 0x0C, 0x00 };
    for (int i = 0; i <= 20; ++i)
        EXPECT_EQ(table[size_t(i)], ColorValue(expected[i])) << "entry " << i;

    // Rising channels truncate toward zero too: 0 -> 255 in 20 steps gives 12, 25, 38...
    GradPaint::BuildTable(table, SysColors::clBlack, SysColors::clBlue, 20);
    EXPECT_EQ(table[1], SysColors::Rgb(0, 0, 12));
    EXPECT_EQ(table[2], SysColors::Rgb(0, 0, 25));
    EXPECT_EQ(table[19], SysColors::Rgb(0, 0, 242));
}

TEST(GradPaintTest, RepeatedSubtractionInExtendedPrecision)
{
    // Entry 85 of 0 -> 3 and 0 -> 9 in 255 steps is exactly 1 and 3 on paper. Repeated
    // subtraction in extended precision lands on 1 and just below 3 (so 2); multiplying
    // out gives 3, and repeated subtraction in double precision just below 1 (so 0).
    GradPaint::GradientTable table {};
    GradPaint::BuildTable(table, SysColors::clBlack, SysColors::Rgb(3, 9, 0), 255);
    EXPECT_EQ(table[85], SysColors::Rgb(1, 2, 0));
}

TEST(GradPaintTest, BandsOverlapAndTruncate)
{
    const GradPaint::BandLayout tile = GradPaint::Bands(30, 20);
    EXPECT_EQ(tile.thickness, 2);
    const int starts[] = { 0, 0, 1, 3, 4, 6 };
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(tile.Start(i), starts[i]) << "band " << i;
    EXPECT_EQ(tile.Start(20), 28);

    const GradPaint::BandLayout strip = GradPaint::Bands(38, 255);
    EXPECT_EQ(strip.thickness, 1);
    EXPECT_EQ(strip.Start(7), 0);
    EXPECT_EQ(strip.Start(8), 1);
    EXPECT_EQ(strip.Start(255), 37);

    // Wider than the step count: bands thicker than one pixel.
    const GradPaint::BandLayout wide = GradPaint::Bands(600, 255);
    EXPECT_EQ(wide.thickness, 3);
    EXPECT_EQ(wide.Start(255), 597);
}

TEST(GradBoxTest, DefaultsAndSize)
{
    TGradBox box;
    EXPECT_EQ(box.size(), QSize(200, 100));
    EXPECT_EQ(box.focusPolicy(), Qt::NoFocus);
    EXPECT_FALSE(box.autoFillBackground());
    EXPECT_EQ(box.TopColor(), SysColors::clGreen);
    EXPECT_EQ(box.LastColor(), SysColors::clLime);
    EXPECT_EQ(box.BackFont(), SysColors::clYellow);
    EXPECT_EQ(box.Style3D(), fsRaise3D);
    EXPECT_EQ(box.FontDepth(), 1);
    EXPECT_EQ(box.FontColor(), SysColors::clWindowText);
    // Enumerations go through the property system as numbers.
    EXPECT_TRUE(box.setProperty("GradStyle", 2));
    EXPECT_EQ(box.GradStyle(), gsLeftRight);
    box.SetFontDepth(300);
    EXPECT_EQ(box.FontDepth(), 255);
}

TEST(GradBoxTest, ThirtyEightHighStripShowsEntrySevenFirst)
{
    TGradBox box;
    box.resize(100, 38);
    const QImage image = Render(box);
    GradPaint::GradientTable table {};
    GradPaint::BuildTable(table, SysColors::clGreen, SysColors::clLime, 255);
    EXPECT_TRUE(RowIs(image, 0, table[7]));
    EXPECT_TRUE(RowIs(image, 1, table[14]));
    EXPECT_TRUE(RowIs(image, 37, SysColors::clLime));
    for (int y = 0; y < 38; ++y)
        EXPECT_NE(At(image, 50, y), SysColors::clGreen) << "entry 0 shows at row " << y;

    // Swapped styles start from LastColor; horizontal ones step across the width.
    box.SetGradStyle(gsBottomTop);
    const QImage swapped = Render(box);
    EXPECT_TRUE(RowIs(swapped, 37, SysColors::clGreen));
    GradPaint::BuildTable(table, SysColors::clLime, SysColors::clGreen, 255);
    EXPECT_TRUE(RowIs(swapped, 0, table[7]));

    box.resize(38, 20);
    box.SetGradStyle(gsLeftRight);
    const QImage across = Render(box);
    GradPaint::BuildTable(table, SysColors::clGreen, SysColors::clLime, 255);
    for (int y = 0; y < 20; ++y) {
        EXPECT_EQ(At(across, 0, y), table[7]);
        EXPECT_EQ(At(across, 37, y), SysColors::clLime);
    }
    box.SetGradStyle(gsRightLeft);
    EXPECT_EQ(At(Render(box), 37, 10), SysColors::clGreen);
}

TEST(GradBoxTest, EqualColoursFillUniformly)
{
    TGradBox box;
    box.SetTopColor(SysColors::clBtnFace);
    box.SetLastColor(SysColors::clBtnFace);
    const QImage image = Render(box);
    EXPECT_EQ(PaintedBox(image, SysColors::ToRgbValue(SysColors::clBtnFace)), QRect());
}

TEST(GradBoxTest, NoneLeavesTheParentVisibleButDrawsOutlineAndCaption)
{
    QWidget parent;
    parent.resize(200, 100);
    parent.setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, SysColors::ToQColor(SysColors::clTeal));
    parent.setPalette(palette);
    auto* box = new TGradBox(&parent);
    box->setGeometry(10, 10, 150, 60);
    box->SetGradStyle(gsNone);
    box->SetDrawOutLine(true);
    box->SetOutLineColor(SysColors::clRed);
    box->SetFontColor(SysColors::clYellow);
    box->setFont(CaptionFont());
    box->SetCaption(QStringLiteral("HHHH"));

    QImage image(parent.size(), QImage::Format_RGB32);
    parent.render(&image);
    EXPECT_EQ(At(image, 10 + 75, 10 + 50), SysColors::clTeal);
    EXPECT_EQ(At(image, 10, 10 + 30), SysColors::clRed);
    EXPECT_EQ(At(image, 10 + 75, 10 + 59), SysColors::clRed);
    EXPECT_EQ(At(image, 10, 10), SysColors::clTeal); // rounded corner
    bool caption = false;
    for (int y = 20; y < 40 && !caption; ++y)
        for (int x = 20; x < 80 && !caption; ++x)
            caption = At(image, x, y) == SysColors::clYellow;
    EXPECT_TRUE(caption);
}

TEST(GradBoxTest, ThreeDLayersAreCopiesOfTheCaptionBehindIt)
{
    const QString text = QStringLiteral("Ab 3D");
    auto plainAt = [&](int dx, int dy, ColorValue color) {
        TGradBox box;
        MakePlain(box, text);
        box.SetCaptionLeft(10 + dx);
        box.SetCaptionTop(10 + dy);
        box.SetFontColor(color);
        return Render(box);
    };
    auto styled = [&](TFontStyle3D style, int depth) {
        TGradBox box;
        MakePlain(box, text);
        box.SetFont3D(true);
        box.SetStyle3D(style);
        box.SetFontDepth(depth);
        box.SetBackFont(SysColors::clRed);
        return Render(box);
    };
    const ColorValue white = SysColors::clWhite;
    const QImage plain = plainAt(0, 0, SysColors::clBlack);

    EXPECT_EQ(styled(fsLowShadow, 3), Overlay(plainAt(3, 3, SysColors::clRed), plain, white));
    EXPECT_EQ(styled(fsRaiseShadow, 2), Overlay(plainAt(-2, -2, SysColors::clRed), plain, white));
    const QImage low3D = Overlay(Overlay(plainAt(1, 1, SysColors::clRed), plainAt(2, 2, SysColors::clRed), white),
        plain, white);
    EXPECT_EQ(styled(fsLow3D, 2), low3D);
    const QImage raise3D = Overlay(
        Overlay(plainAt(-1, -1, SysColors::clRed), plainAt(-2, -2, SysColors::clRed), white), plain, white);
    EXPECT_EQ(styled(fsRaise3D, 2), raise3D);

    // Depth 0: the shadow hides beneath the caption, the 3D styles draw no layer.
    EXPECT_EQ(styled(fsLowShadow, 0), plain);
    EXPECT_EQ(styled(fsRaise3D, 0), plain);
}

TEST(GradBoxTest, DisabledCaptionIsEmbossedEvenIn3D)
{
    const QString text = QStringLiteral("Off");
    TGradBox box;
    MakePlain(box, text);
    box.SetTopColor(SysColors::clSilver);
    box.SetLastColor(SysColors::clSilver);
    box.SetFont3D(true);
    box.setEnabled(false);
    const QImage disabled = Render(box);

    auto plainAt = [&](int dx, ColorValue color) {
        TGradBox plain;
        MakePlain(plain, text);
        plain.SetTopColor(SysColors::clSilver);
        plain.SetLastColor(SysColors::clSilver);
        plain.SetCaptionLeft(10 + dx);
        plain.SetCaptionTop(10 + dx);
        plain.SetFontColor(color);
        return Render(plain);
    };
    const QImage expected
        = Overlay(plainAt(1, SysColors::clWhite), plainAt(0, SysColors::clGray), SysColors::clSilver);
    EXPECT_EQ(disabled, expected);
}

TEST(GradBoxTest, CaptionRectangleEndsAtTheEdgeAsTheParentSeesIt)
{
    // Short words, so a 16-pixel wider rectangle changes where the lines break.
    const QString text = QStringLiteral("ii jj ii jj ii jj ii jj ii jj ii jj ii jj ii jj");
    QWidget parent;
    parent.resize(300, 100);
    auto* shifted = new TGradBox(&parent);
    MakePlain(*shifted, text);
    shifted->setGeometry(16, 0, 100, 60);
    auto* wide = new TGradBox(&parent);
    MakePlain(*wide, text);
    wide->setGeometry(0, 0, 116, 60);
    auto* atOrigin = new TGradBox(&parent);
    MakePlain(*atOrigin, text);
    atOrigin->setGeometry(0, 0, 100, 60);

    // The box at Left 16 wraps where a 116-wide box at Left 0 does, cut at its own edge.
    const QImage fromShifted = Render(*shifted);
    const QImage fromWide = Render(*wide).copy(0, 0, 100, 60);
    EXPECT_EQ(fromShifted, fromWide);
    EXPECT_NE(fromShifted, Render(*atOrigin));
}

TEST(GradBoxTest, CaptionOutsideOrEmptyDrawsNothing)
{
    TGradBox box;
    box.resize(200, 38);
    const QImage empty = Render(box);
    box.SetCaption(QStringLiteral("Hidden"));
    box.SetCaptionTop(40); // designed below the visible area
    EXPECT_EQ(Render(box), empty);
}

TEST(GradBoxTest, RepaintsOnlyWhereAChangeShows)
{
    QWidget window;
    window.resize(250, 150);
    auto* box = new TGradBox(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    Flush();
    QSignalSpy spy(box, &TGradBox::Painted);
    auto paints = [&](auto change) {
        spy.clear();
        change();
        Flush();
        return spy.count();
    };

    // The value already held: no repaint, whatever the property.
    EXPECT_EQ(paints([&] {
        box->SetCaptionLeft(box->CaptionLeft());
        box->SetCaptionTop(box->CaptionTop());
        box->SetTopColor(box->TopColor());
        box->SetLastColor(box->LastColor());
        box->SetOutLineColor(box->OutLineColor());
        box->SetDrawOutLine(box->DrawOutLine());
        box->SetGradStyle(box->GradStyle());
        box->SetFont3D(box->Font3D());
        box->SetFontDepth(box->FontDepth());
        box->SetStyle3D(box->Style3D());
        box->SetBackFont(box->BackFont());
        box->SetCaption(box->Caption());
        box->SetFontColor(box->FontColor());
        box->setFont(box->font());
    }),
        0);

    // Invisible at the moment: outline colour without outline, 3D settings without 3D.
    EXPECT_EQ(paints([&] { box->SetOutLineColor(SysColors::clRed); }), 0);
    EXPECT_EQ(paints([&] { box->SetBackFont(SysColors::clRed); }), 0);
    EXPECT_EQ(paints([&] { box->SetFontDepth(4); }), 0);
    EXPECT_EQ(paints([&] { box->SetFont3D(true); }), 1);
    EXPECT_EQ(paints([&] { box->SetFontDepth(2); }), 1);
    EXPECT_EQ(paints([&] { box->SetBackFont(SysColors::clBlue); }), 1);
    EXPECT_EQ(paints([&] { box->SetDrawOutLine(true); }), 1);
    EXPECT_EQ(paints([&] { box->SetOutLineColor(SysColors::clNavy); }), 1);

    EXPECT_EQ(paints([&] { box->SetTopColor(SysColors::clRed); }), 1);
    EXPECT_EQ(paints([&] { box->SetCaption(QStringLiteral("x")); }), 1);
    EXPECT_EQ(paints([&] { box->SetFontColor(SysColors::clRed); }), 1);
    EXPECT_EQ(paints([&] { box->setEnabled(false); }), 1);
    QFont bigger = box->font();
    bigger.setPixelSize(30);
    EXPECT_EQ(paints([&] { box->setFont(bigger); }), 1);
}
