// SPDX-License-Identifier: MIT
// TBrimBtn: the face row by row, the set marks, the collapse to one step, the caption
// placement rules, the untouched / hovered / normal states driven by real events, the
// mouse-down arguments, and which property changes repaint.

// Qt
#include <QEnterEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
// GoogleTest
#include <gtest/gtest.h>
// own
#include "controls/BrimBtn.h"
#include "PaintTestUtil.h"
#include "controls/ShiftState.h"

using namespace PaintTest;

namespace {

// A board tile as the main window makes it, without outline and caption unless asked.
void MakeTile(TBrimBtn& btn)
{
    btn.resize(30, 30);
    btn.SetDrawOutLine(false);
    btn.SetTopColor(SysColors::clRed);
    btn.SetEndColor(SysColors::clBlack);
}

void Enter(QWidget& widget)
{
    const QPointF local(widget.width() / 2.0, widget.height() / 2.0);
    QEnterEvent event(local, local, widget.mapToGlobal(local));
    QCoreApplication::sendEvent(&widget, &event);
}

void Leave(QWidget& widget)
{
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(&widget, &event);
}

void SendMouse(QWidget& widget, QEvent::Type type, Qt::MouseButton button, QPoint pos,
    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(pos), widget.mapToGlobal(QPointF(pos)), button, held, modifiers);
    QCoreApplication::sendEvent(&widget, &event);
}

// A shown window holding one button, for tests that count paints or need repaint().
struct Shown
{
    QWidget window;
    TBrimBtn* btn = new TBrimBtn(&window);

    Shown()
    {
        window.resize(100, 100);
        btn->move(10, 10);
        MakeTile(*btn);
        window.show();
        if (QTest::qWaitForWindowExposed(&window))
            Flush();
    }
};

bool HasColour(const QImage& image, ColorValue color)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (At(image, x, y) == color)
                return true;
    return false;
}

} // namespace

TEST(BrimBtnTest, DefaultsAndClamps)
{
    TBrimBtn btn;
    EXPECT_EQ(btn.size(), QSize(35, 25));
    EXPECT_EQ(btn.focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(btn.ColorCnt(), 20);
    EXPECT_EQ(btn.TopColor(), SysColors::clLime);
    EXPECT_EQ(btn.FontColor(), SysColors::clWhite);
    EXPECT_EQ(btn.Alignment(), taCenter);
    EXPECT_EQ(btn.ColorIndex(), 9);
    EXPECT_TRUE(btn.Untouched());
    btn.SetColorCnt(0);
    EXPECT_EQ(btn.ColorCnt(), 1);
    btn.SetColorCnt(1000);
    EXPECT_EQ(btn.ColorCnt(), 255);
    btn.SetColors(7, SysColors::clRed); // ignored
    EXPECT_EQ(btn.Colors(7), SysColors::clWhite);
    EXPECT_TRUE(btn.setProperty("Alignment", 0));
    EXPECT_EQ(btn.Alignment(), taLeftJustify);
}

TEST(BrimBtnTest, TwentyStepTileRows)
{
    TBrimBtn btn;
    MakeTile(btn);
    const QImage image = Render(btn);
    // Red to black: 0xFF, 0xF2, 0xE5, 0xD8 ...; bands 2 pixels thick, 1.5 apart.
    EXPECT_TRUE(RowIs(image, 0, 0xF2)); // bands 0 and 1 start at 0, band 1 on top
    EXPECT_TRUE(RowIs(image, 1, 0xE5));
    EXPECT_TRUE(RowIs(image, 2, 0xE5));
    EXPECT_TRUE(RowIs(image, 3, 0xD8));
    EXPECT_TRUE(RowIs(image, 4, 0xCC));
    EXPECT_TRUE(RowIs(image, 27, 0x0C));
    EXPECT_TRUE(RowIs(image, 28, SysColors::clBlack));
    EXPECT_TRUE(RowIs(image, 29, SysColors::clBlack));

    btn.SetGradStyle(gsRightLeft);
    const QImage across = Render(btn);
    for (int y = 0; y < 30; ++y) {
        EXPECT_EQ(At(across, 0, y), ColorValue(0x0C)) << y; // starts from the end colour
        EXPECT_EQ(At(across, 29, y), SysColors::clRed) << y;
    }
}

TEST(BrimBtnTest, OutlineSquareOrRounded)
{
    TBrimBtn btn;
    MakeTile(btn);
    btn.SetDrawOutLine(true);
    btn.SetOutLineColor(SysColors::clNavy);
    const QImage square = Render(btn);
    EXPECT_EQ(At(square, 0, 0), SysColors::clNavy);
    EXPECT_EQ(At(square, 29, 29), SysColors::clNavy);
    EXPECT_EQ(At(square, 15, 29), SysColors::clNavy);

    btn.SetOutLineRound(true);
    const QImage round = Render(btn);
    EXPECT_NE(At(round, 0, 0), SysColors::clNavy); // corner cut
    EXPECT_EQ(At(round, 5, 0), SysColors::clNavy);
    EXPECT_EQ(At(round, 15, 29), SysColors::clNavy);

    // Face none: the parent shows through inside the outline.
    btn.SetOutLineRound(false);
    btn.SetGradStyle(gsNone);
    EXPECT_EQ(At(Render(btn), 15, 15), Backdrop);
}

TEST(BrimBtnTest, RoundedBandsAreOutlinedWithThePreviousPaintsPen)
{
    TBrimBtn btn;
    btn.resize(40, 40);
    btn.SetDrawOutLine(false);
    btn.SetColorCnt(4); // bands 11 pixels thick, so their inside shows
    btn.SetTopColor(SysColors::clRed);
    btn.SetEndColor(SysColors::clBlue);
    btn.SetOutLineRound(true);
    // First paint: the canvas pen is still black.
    const QImage first = Render(btn);
    const ColorValue entry1 = SysColors::Rgb(191, 0, 63); // red to blue in 4 steps
    EXPECT_EQ(At(first, 20, 0), SysColors::clBlack);
    EXPECT_EQ(At(first, 20, 5), entry1);
    // It ended with the mark pen in the font colour (white), which the next paint uses.
    const QImage second = Render(btn);
    EXPECT_EQ(At(second, 20, 0), SysColors::clWhite);
    EXPECT_EQ(At(second, 20, 5), entry1);
}

struct MarkCase
{
    int zSet;
    std::vector<QPoint> marked;
    std::vector<QPoint> unmarked;
};

void PrintTo(const MarkCase& c, std::ostream* os)
{
    *os << "ZSet " << c.zSet;
}

class BrimBtnMarkTest : public ::testing::TestWithParam<MarkCase>
{
};

TEST_P(BrimBtnMarkTest, DrawsTheMarkInTheFontColour)
{
    const MarkCase& c = GetParam();
    TBrimBtn btn;
    MakeTile(btn);
    btn.SetFontColor(SysColors::clYellow);
    btn.SetZSet(c.zSet);
    const QImage image = Render(btn);
    for (const QPoint& p : c.marked)
        EXPECT_EQ(At(image, p.x(), p.y()), SysColors::clYellow) << "ZSet " << c.zSet << " at " << p.x() << "," << p.y();
    for (const QPoint& p : c.unmarked)
        EXPECT_NE(At(image, p.x(), p.y()), SysColors::clYellow) << "ZSet " << c.zSet << " at " << p.x() << "," << p.y();
}

INSTANTIATE_TEST_SUITE_P(Marks, BrimBtnMarkTest,
    ::testing::Values(
        // Ellipse(1, 1, 29, 29): touches 1 and 28 on each axis.
        MarkCase { 1, { { 14, 1 }, { 1, 14 }, { 28, 15 }, { 15, 28 } }, { { 15, 0 }, { 0, 15 }, { 29, 15 }, { 15, 15 } } },
        // Lines (1,1) -> (29,29) and (29,1) -> (1,29), end points left out.
        MarkCase { 2, { { 1, 1 }, { 28, 28 }, { 29, 1 }, { 2, 28 }, { 15, 15 } }, { { 29, 29 }, { 1, 29 } } },
        // Diamond (15,1) -> (1,15) -> (15,29) -> (29,15) -> (15,1): each corner starts a line.
        MarkCase { 3, { { 15, 1 }, { 1, 15 }, { 15, 29 }, { 29, 15 }, { 8, 8 } }, { { 15, 15 }, { 0, 15 }, { 15, 28 } } },
        // Rectangle(4, 4, 26, 26).
        MarkCase { 4, { { 4, 4 }, { 25, 25 }, { 15, 4 }, { 4, 15 } }, { { 26, 26 }, { 15, 15 }, { 3, 3 } } },
        // Triangle (15,4) -> (4,26) -> (26,26) -> (15,4).
        MarkCase { 5, { { 15, 4 }, { 4, 26 }, { 26, 26 }, { 15, 26 } }, { { 15, 27 }, { 15, 15 } } },
        // Two circles.
        MarkCase { 6, { { 1, 14 }, { 4, 14 }, { 25, 15 }, { 28, 15 } }, { { 15, 15 } } },
        MarkCase { 7, {}, { { 1, 14 }, { 1, 1 }, { 15, 15 } } },
        MarkCase { -1, {}, { { 1, 14 }, { 1, 1 }, { 15, 15 } } }));

TEST(BrimBtnTest, NoMarkPaintsNoFontColour)
{
    for (const int zSet : { 0, 7, -1 }) {
        TBrimBtn btn;
        MakeTile(btn);
        btn.SetFontColor(SysColors::clYellow);
        btn.SetZSet(zSet);
        EXPECT_FALSE(HasColour(Render(btn), SysColors::clYellow)) << zSet;
    }
}

TEST(BrimBtnTest, EqualStartAndEndCollapseToOneStepForGood)
{
    TBrimBtn btn;
    MakeTile(btn);
    btn.SetTopColor(SysColors::clBlack);
    Render(btn);
    EXPECT_EQ(btn.ColorCnt(), 1);
    // With one step, band 1 (the end colour) covers band 0: a flat face.
    btn.SetTopColor(SysColors::clRed);
    const QImage flat = Render(btn);
    EXPECT_EQ(btn.ColorCnt(), 1);
    EXPECT_EQ(PaintedBox(flat, SysColors::clBlack), QRect());

    // Swapped styles start from the end colour, so TopColor is what shows.
    btn.SetGradStyle(gsBottomTop);
    EXPECT_EQ(PaintedBox(Render(btn), SysColors::clRed), QRect());

    btn.SetColorCnt(20);
    EXPECT_TRUE(RowIs(Render(btn), 0, 0x0C));
}

TEST(BrimBtnTest, ColorIndexResetsTopColorAtEveryPaint)
{
    TBrimBtn btn;
    MakeTile(btn);
    btn.SetColors(2, SysColors::clBlue);
    btn.SetColorIndex(2);
    btn.SetTopColor(SysColors::clRed);
    const QImage image = Render(btn);
    EXPECT_EQ(btn.TopColor(), SysColors::clBlue);
    EXPECT_EQ(At(image, 15, 0), SysColors::Rgb(0, 0, 242)); // blue to black, entry 1

    // Negative: no preset, TopColor stays as the program set it.
    btn.SetColorIndex(-1);
    btn.SetTopColor(SysColors::clRed);
    Render(btn);
    EXPECT_EQ(btn.TopColor(), SysColors::clRed);
    btn.SetColorIndex(5);
    Render(btn);
    EXPECT_EQ(btn.TopColor(), SysColors::clRed);
}

TEST(BrimBtnTest, CaptionPlacement)
{
    QFont font;
    font.setPixelSize(14);
    auto render = [&](TAlignment alignment, const QString& text, int captionLeft, int captionTop) {
        TBrimBtn btn;
        MakeTile(btn);
        btn.resize(40, 30);
        btn.SetTopColor(SysColors::clBlack); // flat black face
        btn.setFont(font);
        btn.SetAlignment(alignment);
        btn.SetCaption(text);
        btn.SetCaptionLeft(captionLeft);
        btn.SetCaptionTop(captionTop);
        return Render(btn);
    };
    // Left alignment starts at x = 1 whatever CaptionLeft says.
    const QImage left = render(taLeftJustify, QStringLiteral("Hi"), 5, 8);
    EXPECT_EQ(left, render(taLeftJustify, QStringLiteral("Hi"), 25, 8));
    EXPECT_NE(left, render(taLeftJustify, QStringLiteral("Hi"), 5, 9));

    // Centre with a caption wider than the button: x is raised to 2, so the text sits
    // one pixel right of where left alignment (x = 1) puts it at the same height.
    const QString wide = QStringLiteral("WWWWWWWW");
    const int th = QFontMetrics(font).height();
    const int y = std::max((30 - th) / 2, 2);
    const QImage centred = render(taCenter, wide, 5, 0);
    const QImage leftWide = render(taLeftJustify, wide, 5, y);
    EXPECT_EQ(centred.copy(2, 0, 37, 30), leftWide.copy(1, 0, 37, 30));

    // Right: x = W - TW - 3.
    const int tw = QFontMetrics(font).horizontalAdvance(QStringLiteral("Hi"));
    const QImage right = render(taRightJustify, QStringLiteral("Hi"), 5, 8);
    const int shift = 40 - tw - 3 - 1;
    EXPECT_EQ(right.copy(1 + shift, 0, 39 - 1 - shift, 30), left.copy(1, 0, 39 - 1 - shift, 30));
}

TEST(BrimBtnTest, HoverColoursAndLeaveRestores)
{
    Shown s;
    TBrimBtn& btn = *s.btn;
    QSignalSpy entered(&btn, &TBrimBtn::MouseEnter);
    QSignalSpy left(&btn, &TBrimBtn::MouseLeave);
    QSignalSpy painted(&btn, &TBrimBtn::Painted);

    Enter(btn);
    EXPECT_EQ(entered.count(), 1);
    EXPECT_FALSE(btn.Untouched());
    EXPECT_EQ(btn.FontColor(), SysColors::clBlack); // FontRevColor
    EXPECT_EQ(btn.CurrentEndColor(), SysColors::clWhite); // RevColor
    EXPECT_EQ(btn.cursor().shape(), Qt::PointingHandCursor);
    Flush();
    EXPECT_EQ(painted.count(), 1); // through the font colour change
    EXPECT_TRUE(RowIs(Render(btn), 29, SysColors::clWhite));

    Leave(btn);
    EXPECT_EQ(left.count(), 1);
    EXPECT_EQ(btn.FontColor(), SysColors::clWhite);
    EXPECT_EQ(btn.CurrentEndColor(), SysColors::clBlack);
    EXPECT_FALSE(btn.testAttribute(Qt::WA_SetCursor));
    EXPECT_TRUE(RowIs(Render(btn), 29, SysColors::clBlack));
}

TEST(BrimBtnTest, UntouchedFollowsTheProgramUntilThePointerComes)
{
    TBrimBtn btn;
    MakeTile(btn);
    btn.SetEndColor(SysColors::clBlue);
    btn.SetFontColor(SysColors::clYellow);
    EXPECT_TRUE(RowIs(Render(btn), 29, SysColors::clBlue));
    EXPECT_EQ(btn.NormalFontColor(), SysColors::clYellow);

    Enter(btn);
    Leave(btn);
    EXPECT_EQ(btn.FontColor(), SysColors::clYellow);
    // Touched: a new EndColor waits for the next leave or press, and a font colour set by
    // the program gives way to the recorded one then.
    btn.SetEndColor(SysColors::clGreen);
    btn.SetFontColor(SysColors::clRed);
    EXPECT_TRUE(RowIs(Render(btn), 29, SysColors::clBlue));
    EXPECT_EQ(btn.NormalFontColor(), SysColors::clYellow);
    Leave(btn);
    EXPECT_EQ(btn.FontColor(), SysColors::clYellow);
    EXPECT_TRUE(RowIs(Render(btn), 29, SysColors::clGreen));
}

TEST(BrimBtnTest, ChangeColorOffStillEndsUntouchedAndLeaveStillRestores)
{
    TBrimBtn btn;
    MakeTile(btn);
    btn.SetChangeColor(false);
    Enter(btn);
    EXPECT_FALSE(btn.Untouched());
    EXPECT_EQ(btn.FontColor(), SysColors::clWhite);
    EXPECT_FALSE(btn.testAttribute(Qt::WA_SetCursor));
    btn.SetEndColor(SysColors::clBlue);
    EXPECT_TRUE(RowIs(Render(btn), 29, SysColors::clBlack));

    btn.setCursor(Qt::WaitCursor);
    Leave(btn);
    EXPECT_EQ(btn.CurrentEndColor(), SysColors::clBlue);
    EXPECT_EQ(btn.cursor().shape(), Qt::ArrowCursor);
}

TEST(BrimBtnTest, PressRepaintsAtOnceAfterTheHandlersSawTheHoverLook)
{
    Shown s;
    TBrimBtn& btn = *s.btn;
    Enter(btn);
    Flush();
    QSignalSpy painted(&btn, &TBrimBtn::Painted);
    ColorValue fontSeen = 0;
    int paintsSeen = -1;
    QObject::connect(&btn, &TBrimBtn::MouseDown, [&](TBrimBtn*, int, int, int, int) {
        fontSeen = btn.FontColor();
        paintsSeen = int(painted.count());
    });

    QTest::mousePress(&btn, Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
    EXPECT_EQ(fontSeen, SysColors::clBlack);
    EXPECT_EQ(paintsSeen, 0);
    EXPECT_EQ(painted.count(), 1); // without going back to the event loop
    EXPECT_EQ(btn.FontColor(), SysColors::clWhite);
    EXPECT_EQ(btn.CurrentEndColor(), SysColors::clBlack);
    EXPECT_TRUE(RowIs(Render(btn), 29, SysColors::clBlack));
    QTest::mouseRelease(&btn, Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));

    // Pressing with the colours already normal still repaints at once.
    painted.clear();
    QTest::mousePress(&btn, Qt::RightButton, Qt::NoModifier, QPoint(5, 6));
    EXPECT_EQ(painted.count(), 1);
    QTest::mouseRelease(&btn, Qt::RightButton, Qt::NoModifier, QPoint(5, 6));
}

TEST(BrimBtnTest, MouseDownArguments)
{
    TBrimBtn btn;
    MakeTile(btn);
    QSignalSpy down(&btn, &TBrimBtn::MouseDown);
    using namespace ShiftState;
    SendMouse(btn, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(3, 4));
    SendMouse(btn, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(3, 4));
    SendMouse(btn, QEvent::MouseButtonPress, Qt::RightButton, QPoint(7, 8), Qt::ShiftModifier | Qt::ControlModifier);
    SendMouse(btn, QEvent::MouseButtonRelease, Qt::RightButton, QPoint(7, 8));
    SendMouse(btn, QEvent::MouseButtonPress, Qt::MiddleButton, QPoint(9, 9), Qt::AltModifier);
    SendMouse(btn, QEvent::MouseButtonRelease, Qt::MiddleButton, QPoint(9, 9));
    SendMouse(btn, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(3, 4));
    SendMouse(btn, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(3, 4));
    SendMouse(btn, QEvent::MouseButtonDblClick, Qt::LeftButton, QPoint(3, 4));
    SendMouse(btn, QEvent::MouseButtonPress, Qt::BackButton, QPoint(3, 4));
    ASSERT_EQ(down.count(), 5);
    auto args = [&](int i) {
        const QList<QVariant> a = down.at(i);
        EXPECT_EQ(a.at(0).value<TBrimBtn*>(), &btn);
        return std::tuple { a.at(1).toInt(), a.at(2).toInt(), a.at(3).toInt(), a.at(4).toInt() };
    };
    EXPECT_EQ(args(0), std::tuple(int(mbLeft), int(ssLeft), 3, 4));
    EXPECT_EQ(args(1), std::tuple(int(mbRight), ssRight | ssShift | ssCtrl, 7, 8));
    EXPECT_EQ(args(2), std::tuple(int(mbMiddle), ssMiddle | ssAlt, 9, 9));
    EXPECT_EQ(args(3), std::tuple(int(mbLeft), int(ssLeft), 3, 4));
    EXPECT_EQ(args(4), std::tuple(int(mbLeft), ssLeft | ssDouble, 3, 4));
}

TEST(BrimBtnTest, ClickNeedsLeftPressAndReleaseOverTheButton)
{
    TBrimBtn btn;
    MakeTile(btn);
    QSignalSpy clicked(&btn, &TBrimBtn::Clicked);
    QTest::mouseClick(&btn, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).value<TBrimBtn*>(), &btn);
    QTest::mouseClick(&btn, Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(clicked.count(), 1);
    SendMouse(btn, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(10, 10));
    SendMouse(btn, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(40, 10)); // dragged off
    EXPECT_EQ(clicked.count(), 1);
    SendMouse(btn, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(10, 10)); // no press before it
    EXPECT_EQ(clicked.count(), 1);
}

TEST(BrimBtnTest, DoubleClickIsOneClickThenTheDoubleClickAndItsPress)
{
    TBrimBtn btn;
    MakeTile(btn);
    QStringList seen;
    QObject::connect(&btn, &TBrimBtn::Clicked, [&] { seen << "click"; });
    QObject::connect(&btn, &TBrimBtn::DoubleClicked, [&] { seen << "double"; });
    QObject::connect(&btn, &TBrimBtn::MouseDown, [&](TBrimBtn*, int, int shift, int, int) { seen << QString::number(shift); });
    for (const QEvent::Type press : { QEvent::MouseButtonPress, QEvent::MouseButtonDblClick }) {
        SendMouse(btn, press, Qt::LeftButton, QPoint(10, 10), Qt::ShiftModifier);
        SendMouse(btn, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(10, 10));
    }
    EXPECT_EQ(seen, QStringList({ "9", "click", "double", "73" })); // left + Shift, + double
}

TEST(BrimBtnTest, HandlersMayDeleteTheButton)
{
    for (int which = 0; which < 3; ++which) {
        Shown s;
        QPointer<TBrimBtn> btn = s.btn;
        auto destroy = [&](TBrimBtn* sender) { delete sender; };
        if (which == 0)
            QObject::connect(btn, &TBrimBtn::MouseEnter, destroy);
        if (which == 1)
            QObject::connect(btn, &TBrimBtn::MouseLeave, destroy);
        if (which == 2)
            QObject::connect(btn, &TBrimBtn::MouseDown, [&](TBrimBtn* sender, int, int, int, int) { delete sender; });
        if (which == 0)
            Enter(*btn);
        if (which == 1)
            Leave(*btn);
        if (which == 2)
            QTest::mousePress(btn, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        EXPECT_TRUE(btn.isNull()) << which;
        Flush();
    }
}

TEST(BrimBtnTest, RepaintsOnlyWhereAChangeShows)
{
    Shown s;
    TBrimBtn& btn = *s.btn;
    QSignalSpy spy(&btn, &TBrimBtn::Painted);
    auto paints = [&](auto change) {
        spy.clear();
        change();
        Flush();
        return spy.count();
    };

    EXPECT_EQ(paints([&] {
        btn.SetColorCnt(btn.ColorCnt());
        btn.SetCaptionLeft(btn.CaptionLeft());
        btn.SetCaptionTop(btn.CaptionTop());
        btn.SetTopColor(btn.TopColor());
        btn.SetOutLineColor(btn.OutLineColor());
        btn.SetDrawOutLine(btn.DrawOutLine());
        btn.SetGradStyle(btn.GradStyle());
        btn.SetCaption(btn.Caption());
        btn.SetZSet(btn.ZSet());
        btn.SetAlignment(btn.Alignment());
        btn.SetRevColor(btn.RevColor());
        btn.SetFontRevColor(btn.FontRevColor());
        btn.SetEndColor(btn.EndColor());
        btn.SetFontColor(btn.FontColor());
        btn.SetCol(btn.Col());
        btn.SetRow(btn.Row());
        btn.SetColorIndex(btn.ColorIndex());
        btn.setFont(btn.font());
        btn.setVisible(true);
    }),
        0);
    // Never repaint: plain fields.
    EXPECT_EQ(paints([&] {
        btn.SetChangeColor(false);
        btn.SetOutLineRound(true);
        btn.SetTag(42);
        btn.SetColors(0, SysColors::clRed);
        btn.SetOutLineColor(SysColors::clNavy); // outline is off
    }),
        0);
    EXPECT_EQ(btn.Tag(), 42);
    EXPECT_EQ(btn.Colors(0), SysColors::clRed);

    EXPECT_EQ(paints([&] { btn.SetZSet(1); }), 1);
    EXPECT_EQ(paints([&] { btn.SetCaption(QStringLiteral("甲")); }), 1);
    EXPECT_EQ(paints([&] { btn.SetTopColor(SysColors::clBlue); }), 1);
    EXPECT_EQ(paints([&] { btn.SetFontColor(SysColors::clYellow); }), 1);
    EXPECT_EQ(paints([&] { btn.SetColorIndex(0); }), 1);
    EXPECT_EQ(paints([&] { btn.SetDrawOutLine(true); }), 1);
    EXPECT_EQ(paints([&] { btn.SetOutLineColor(SysColors::clRed); }), 1);
    // A value clamped to the one held is the value held.
    btn.SetColorCnt(255);
    Flush();
    EXPECT_EQ(paints([&] { btn.SetColorCnt(400); }), 0);
}
