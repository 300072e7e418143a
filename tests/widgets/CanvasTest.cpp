// SPDX-License-Identifier: MIT
// The GDI-style canvas: exclusive right/bottom edges, end points left out of lines,
// mirror-symmetric rounded shapes, and text placement, wrapping and clipping.

// Qt
#include <QFont>
#include <QPainter>
// GoogleTest
#include <gtest/gtest.h>
// own
#include "controls/Canvas.h"
#include "PaintTestUtil.h"

using PaintTest::At;
using PaintTest::PaintedBox;

namespace {

constexpr ColorValue Paper = SysColors::clWhite;

template <typename Painting>
QImage Draw(int width, int height, Painting draw)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(SysColors::ToQColor(Paper));
    QPainter painter(&image);
    Canvas canvas(&painter);
    QFont font;
    font.setPixelSize(16);
    canvas.SetFont(font);
    canvas.SetFontColor(SysColors::clBlack);
    draw(canvas);
    return image;
}

bool MirrorsHorizontally(const QImage& image, const QRect& box)
{
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (At(image, x, y) != At(image, box.right() - (x - box.left()), y))
                return false;
        }
    }
    return true;
}

bool MirrorsVertically(const QImage& image, const QRect& box)
{
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (At(image, x, y) != At(image, x, box.bottom() - (y - box.top())))
                return false;
        }
    }
    return true;
}

} // namespace

TEST(CanvasTest, ShapesCoverLeftToRightMinusOne)
{
    const QRect span(3, 4, 20, 12); // (3, 4, 23, 16) in left/top/right/bottom terms
    auto check = [&](auto shape) {
        const QImage image = Draw(40, 30, [&](Canvas& c) {
            c.SetPenColor(SysColors::clRed);
            c.SetBrushColor(SysColors::clBlue);
            shape(c);
        });
        EXPECT_EQ(PaintedBox(image, Paper), span);
        return image;
    };
    const QImage filled = check([](Canvas& c) { c.FillRect(3, 4, 23, 16); });
    EXPECT_EQ(At(filled, 3, 4), SysColors::clBlue);
    EXPECT_EQ(At(filled, 22, 15), SysColors::clBlue);

    const QImage rect = check([](Canvas& c) { c.Rectangle(3, 4, 23, 16); });
    EXPECT_EQ(At(rect, 3, 4), SysColors::clRed);
    EXPECT_EQ(At(rect, 22, 15), SysColors::clRed);
    EXPECT_EQ(At(rect, 4, 5), SysColors::clBlue);
    EXPECT_EQ(At(rect, 21, 14), SysColors::clBlue);

    const QImage ellipse = check([](Canvas& c) { c.Ellipse(3, 4, 23, 16); });
    EXPECT_EQ(At(ellipse, 13, 10), SysColors::clBlue);
    EXPECT_EQ(At(ellipse, 3, 4), Paper);

    const QImage round = check([](Canvas& c) { c.RoundRect(3, 4, 23, 16, 10, 10); });
    EXPECT_EQ(At(round, 3, 4), Paper);
    EXPECT_EQ(At(round, 13, 4), SysColors::clRed);
    EXPECT_EQ(At(round, 13, 10), SysColors::clBlue);
}

TEST(CanvasTest, RoundedShapesMirror)
{
    for (const auto& [w, h, cw, ch] : { std::tuple { 30, 30, 10, 10 }, { 200, 38, 5, 5 }, { 35, 25, 10, 10 },
             { 31, 9, 5, 5 }, { 30, 4, 5, 5 } }) {
        const QImage image = Draw(w + 4, h + 4, [&](Canvas& c) {
            c.SetPenColor(SysColors::clNavy);
            c.SetBrushColor(SysColors::clYellow);
            c.RoundRect(2, 2, w + 2, h + 2, cw, ch);
        });
        const QRect box = PaintedBox(image, Paper);
        EXPECT_EQ(box, QRect(2, 2, w, h)) << w << "x" << h;
        EXPECT_TRUE(MirrorsHorizontally(image, box)) << w << "x" << h;
        EXPECT_TRUE(MirrorsVertically(image, box)) << w << "x" << h;
    }
    const QImage circle = Draw(30, 30, [](Canvas& c) {
        c.SetBrushStyle(Canvas::bsClear);
        c.Ellipse(1, 1, 29, 29);
    });
    EXPECT_TRUE(MirrorsHorizontally(circle, QRect(1, 1, 28, 28)));
    EXPECT_TRUE(MirrorsVertically(circle, QRect(1, 1, 28, 28)));
}

TEST(CanvasTest, LineToLeavesOutItsEndPoint)
{
    const QImage image = Draw(20, 20, [](Canvas& c) {
        c.MoveTo(2, 2);
        c.LineTo(10, 2); // horizontal: 2..9
        c.MoveTo(15, 3);
        c.LineTo(15, 12); // vertical: 3..11
        c.MoveTo(1, 5);
        c.LineTo(9, 13); // diagonal: (1,5)..(8,12)
        c.MoveTo(3, 17);
        c.LineTo(3, 17); // nothing
    });
    EXPECT_EQ(At(image, 2, 2), SysColors::clBlack);
    EXPECT_EQ(At(image, 9, 2), SysColors::clBlack);
    EXPECT_EQ(At(image, 10, 2), Paper);
    EXPECT_EQ(At(image, 15, 11), SysColors::clBlack);
    EXPECT_EQ(At(image, 15, 12), Paper);
    EXPECT_EQ(At(image, 1, 5), SysColors::clBlack);
    EXPECT_EQ(At(image, 8, 12), SysColors::clBlack);
    EXPECT_EQ(At(image, 9, 13), Paper);
    EXPECT_EQ(At(image, 3, 17), Paper);

    // Drawn up or left: the start is painted and the end left out all the same, and the
    // pixels between are those of the same line drawn the other way.
    const QImage back = Draw(20, 20, [](Canvas& c) {
        c.MoveTo(10, 2);
        c.LineTo(2, 2);
        c.MoveTo(15, 12);
        c.LineTo(15, 3);
        c.MoveTo(9, 13);
        c.LineTo(1, 5);
    });
    EXPECT_EQ(At(back, 10, 2), SysColors::clBlack);
    EXPECT_EQ(At(back, 2, 2), Paper);
    EXPECT_EQ(At(back, 15, 12), SysColors::clBlack);
    EXPECT_EQ(At(back, 15, 3), Paper);
    EXPECT_EQ(At(back, 9, 13), SysColors::clBlack);
    EXPECT_EQ(At(back, 1, 5), Paper);

    const QImage steep = Draw(30, 30, [](Canvas& c) {
        c.MoveTo(15, 4);
        c.LineTo(4, 26);
    });
    const QImage steepBack = Draw(30, 30, [](Canvas& c) {
        c.MoveTo(4, 26);
        c.LineTo(15, 4);
    });
    for (int y = 5; y < 26; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(At(steep, x, y), At(steepBack, x, y)) << x << "," << y;
    EXPECT_EQ(At(steep, 4, 26), Paper);
    EXPECT_EQ(At(steepBack, 4, 26), SysColors::clBlack);
}

TEST(CanvasTest, ClearBrushAndPenSettingsCarryOver)
{
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    Canvas canvas;
    canvas.SetPenColor(SysColors::clRed);
    canvas.SetBrushStyle(Canvas::bsClear);
    {
        QPainter painter(&image);
        canvas.Begin(&painter);
        canvas.Rectangle(0, 0, 20, 20);
        canvas.End();
    }
    // A later paint keeps the pen and the clear brush.
    {
        QPainter painter(&image);
        canvas.Begin(&painter);
        canvas.Rectangle(5, 5, 15, 15);
        canvas.End();
    }
    EXPECT_EQ(At(image, 5, 5), SysColors::clRed);
    EXPECT_EQ(At(image, 10, 10), Paper);
    // Setting a brush colour makes the brush solid again.
    canvas.SetBrushColor(SysColors::clLime);
    EXPECT_EQ(canvas.GetBrushStyle(), Canvas::bsSolid);
}

TEST(CanvasTest, TextIsClippedAndLeavesTheBackground)
{
    const QString text = QStringLiteral("WWWWWWWWWWWWWWWW");
    const QImage clipped = Draw(200, 40, [&](Canvas& c) { c.DrawText(text, 10, 5, 40, 40, 0x50); });
    const QRect box = PaintedBox(clipped, Paper);
    ASSERT_FALSE(box.isNull());
    EXPECT_GE(box.left(), 10);
    EXPECT_LE(box.right(), 39);
    EXPECT_GE(box.top(), 5);
    // No background box and no smoothing: only paper and pure black.
    for (int y = 0; y < clipped.height(); ++y)
        for (int x = 0; x < clipped.width(); ++x)
            ASSERT_TRUE(At(clipped, x, y) == Paper || At(clipped, x, y) == SysColors::clBlack);

    const QImage unclipped
        = Draw(200, 40, [&](Canvas& c) { c.DrawText(text, 10, 5, 40, 40, 0x50 | Canvas::DtNoClip); });
    EXPECT_GT(PaintedBox(unclipped, Paper).right(), 40);
}

TEST(CanvasTest, WordBreakWrapsAtTheRightEdge)
{
    const QString text = QStringLiteral("ab cd ef gh");
    int lineHeight = 0;
    const QImage one = Draw(300, 80, [&](Canvas& c) { lineHeight = c.DrawText(text, 0, 0, 300, 80, 0x50); });
    const QImage wrapped = Draw(300, 80, [&](Canvas& c) {
        const int width = c.TextWidth(QStringLiteral("ab cd"));
        EXPECT_EQ(c.DrawText(text, 0, 0, width + 2, 80, 0x50), 2 * lineHeight);
    });
    EXPECT_LT(PaintedBox(one, Paper).bottom(), lineHeight);
    EXPECT_GE(PaintedBox(wrapped, Paper).bottom(), lineHeight);
    EXPECT_LT(PaintedBox(wrapped, Paper).right(), PaintedBox(one, Paper).right());
}

TEST(CanvasTest, TabsPrefixesAndAlignment)
{
    // A tab moves to the next stop of 8 average character widths.
    const QImage tabbed = Draw(200, 30, [](Canvas& c) { c.DrawText(QStringLiteral("\tX"), 3, 0, 200, 30, 0x50); });
    const QImage placed = Draw(200, 30, [](Canvas& c) {
        const int stop = 8 * QFontMetrics(c.Font()).averageCharWidth();
        c.DrawText(QStringLiteral("X"), 3 + stop, 0, 200, 30, 0x50);
    });
    EXPECT_EQ(tabbed, placed);

    // "&&" shows one ampersand unless prefixes are off.
    const QImage doubled = Draw(200, 30, [](Canvas& c) { c.DrawText(QStringLiteral("A&&B"), 0, 0, 200, 30, 0); });
    const QImage plain
        = Draw(200, 30, [](Canvas& c) { c.DrawText(QStringLiteral("A&B"), 0, 0, 200, 30, Canvas::DtNoPrefix); });
    EXPECT_EQ(doubled, plain);

    // Right and centre alignment of a single line.
    for (const unsigned align : { unsigned(Canvas::DtRight), unsigned(Canvas::DtCenter) }) {
        const QImage aligned = Draw(200, 30, [&](Canvas& c) {
            c.DrawText(QStringLiteral("Xy"), 10, 0, 110, 30, Canvas::DtSingleLine | align);
        });
        const QImage moved = Draw(200, 30, [&](Canvas& c) {
            const int w = c.TextWidth(QStringLiteral("Xy"));
            const int x = align == Canvas::DtRight ? 110 - w : 10 + (100 - w) / 2;
            c.DrawText(QStringLiteral("Xy"), x, 0, 200, 30, 0);
        });
        EXPECT_EQ(aligned, moved) << align;
    }
}
