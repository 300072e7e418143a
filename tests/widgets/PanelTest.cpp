// SPDX-License-Identifier: MIT
// Panel: bevel pixels, the inner rectangle the board's tile positions depend on, and the
// equal-value setter rule.

// Qt
#include <QImage>
#include <QPainter>
// GoogleTest
#include <gtest/gtest.h>
// own
#include "WidgetImage.h"
#include "controls/Panel.h"

namespace {

using WidgetImage::Render;
using WidgetImage::Rgb;

const QRgb White = qRgb(255, 255, 255);
const QRgb Shadow = qRgb(128, 128, 128);

} // namespace

TEST(PanelTest, RaisedOuterBevelIsLightTopLeftAndDarkBottomRightCornersIncluded)
{
    Panel panel;
    panel.resize(20, 10);
    panel.SetBevelWidth(2);
    const QImage img = Render(panel);
    const int w = 20, h = 10;
    // Outer ring: the top row up to the last pixel and the left column down to the last
    // pixel are light; the whole right column and bottom row are dark.
    EXPECT_EQ(img.pixel(0, 0), White);
    EXPECT_EQ(img.pixel(w - 2, 0), White);
    EXPECT_EQ(img.pixel(w - 1, 0), Shadow);
    EXPECT_EQ(img.pixel(0, h - 2), White);
    EXPECT_EQ(img.pixel(0, h - 1), Shadow);
    EXPECT_EQ(img.pixel(w - 1, h - 1), Shadow);
    // Second ring, one pixel in.
    EXPECT_EQ(img.pixel(1, 1), White);
    EXPECT_EQ(img.pixel(w - 3, 1), White);
    EXPECT_EQ(img.pixel(w - 2, 1), Shadow);
    EXPECT_EQ(img.pixel(1, h - 2), Shadow);
    EXPECT_EQ(img.pixel(w - 2, h - 2), Shadow);
    // The face starts two pixels in.
    EXPECT_EQ(img.pixel(2, 2), Rgb(SysColors::clBtnFace));
    EXPECT_EQ(img.pixel(w - 3, h - 3), Rgb(SysColors::clBtnFace));
    EXPECT_EQ(panel.InnerRect(), QRect(2, 2, w - 4, h - 4));
}

TEST(PanelTest, LoweredOuterAndRaisedInnerBevelsOfTheBoardPanel)
{
    // The board panel: navy, lowered outer and raised inner bevel, both 8 wide. Its tiles
    // sit at 2 * 8 + 1 = 17, one face pixel inside the inner bevel.
    Panel panel;
    panel.resize(100, 80);
    panel.SetColor(SysColors::clNavy);
    panel.SetBevelOuter(bvLowered);
    panel.SetBevelInner(bvRaised);
    panel.SetBevelWidth(8);
    EXPECT_EQ(panel.InnerRect(), QRect(16, 16, 68, 48));

    const QImage img = Render(panel);
    EXPECT_EQ(img.pixel(0, 0), Shadow); // lowered: dark top-left
    EXPECT_EQ(img.pixel(7, 40), Shadow);
    EXPECT_EQ(img.pixel(99, 40), White); // light bottom-right
    EXPECT_EQ(img.pixel(50, 72), White);
    EXPECT_EQ(img.pixel(8, 40), White); // raised inner: light top-left
    EXPECT_EQ(img.pixel(15, 40), White);
    EXPECT_EQ(img.pixel(84, 40), Shadow); // and dark bottom-right
    EXPECT_EQ(img.pixel(91, 40), Shadow);
    EXPECT_EQ(img.pixel(16, 16), Rgb(SysColors::clNavy));
    EXPECT_EQ(img.pixel(17, 17), Rgb(SysColors::clNavy));
    EXPECT_EQ(img.pixel(83, 63), Rgb(SysColors::clNavy));
}

TEST(PanelTest, BorderTakesThePanelColourBetweenTheBevels)
{
    Panel panel;
    panel.resize(30, 30);
    panel.SetColor(SysColors::clTeal);
    panel.SetBorderWidth(3);
    panel.SetBevelInner(bvLowered);
    EXPECT_EQ(panel.InnerRect(), QRect(5, 5, 20, 20));
    const QImage img = Render(panel);
    EXPECT_EQ(img.pixel(0, 10), White); // outer raised
    EXPECT_EQ(img.pixel(2, 10), Rgb(SysColors::clTeal)); // border
    EXPECT_EQ(img.pixel(4, 10), Shadow); // inner lowered
    EXPECT_EQ(img.pixel(25, 10), White);
    EXPECT_EQ(img.pixel(5, 10), Rgb(SysColors::clTeal));
}

TEST(PanelTest, NoBevelsPaintsOnlyTheFaceAndBevelWidthStaysPositive)
{
    Panel panel;
    panel.resize(10, 10);
    panel.SetBevelOuter(bvNone);
    panel.SetColor(SysColors::clGray);
    EXPECT_EQ(panel.InnerRect(), QRect(0, 0, 10, 10));
    EXPECT_EQ(Render(panel).pixel(0, 0), Shadow);
    panel.SetBevelWidth(0);
    EXPECT_EQ(panel.BevelWidth(), 1);
}

TEST(PanelTest, CaptionIsDrawnCentredInTheFontColour)
{
    Panel panel;
    panel.resize(60, 40);
    panel.SetBevelOuter(bvNone);
    panel.SetColor(SysColors::clWhite);
    panel.SetFontColor(SysColors::clRed);
    QFont font = panel.font();
    font.setPixelSize(24);
    panel.setFont(font);
    panel.SetCaption(QStringLiteral("■"));
    const QImage img = Render(panel);
    int reds = 0, left = 60, right = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            if (img.pixel(x, y) == qRgb(255, 0, 0)) {
                ++reds;
                left = qMin(left, x);
                right = qMax(right, x);
            }
    ASSERT_GT(reds, 20);
    EXPECT_LE(qAbs((left + right) - 59), 3) << left << " " << right;
}
