// SPDX-License-Identifier: MIT
// TNBAry: cell tags, the strip and cell arithmetic with the top and left alignment,
// rebuilds on a count change, empty and clamped counts, and cell presses surfacing as the
// array's own.

// Qt
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
// GoogleTest
#include <gtest/gtest.h>
// own
#include "controls/BrimBtn.h"
#include "controls/NBAry.h"

namespace {

QList<int> Tags(const TNBAry& array)
{
    QList<int> tags;
    for (int r = 0; r < array.RowCount(); ++r)
        for (int c = 0; c < array.ColCount(); ++c)
            tags << array.Buttons(c, r)->Tag();
    return tags;
}

void DeleteDeferred()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST(NBAryTest, TagsRunRowByRowWithAStrideOfColCountPlusOne)
{
    TNBAry array;
    EXPECT_EQ(array.ColCount(), 3);
    EXPECT_EQ(array.RowCount(), 3);
    EXPECT_EQ(Tags(array), (QList<int> { 1, 2, 3, 5, 6, 7, 9, 10, 11 }));
    EXPECT_EQ(array.Buttons(2, 1)->Col(), 2);
    EXPECT_EQ(array.Buttons(2, 1)->Row(), 1);

    // The element strip is built 3 x 3, then 5 x 3, then 5 x 1.
    array.SetColCount(5);
    array.SetRowCount(1);
    EXPECT_EQ(Tags(array), (QList<int> { 1, 2, 3, 4, 5 }));
    EXPECT_EQ(array.Buttons(0, 1), nullptr);
    EXPECT_EQ(array.Buttons(5, 0), nullptr);
}

TEST(NBAryTest, StripsShareTheOuterHeightAndCellsTheStripWidth)
{
    TNBAry array;
    array.resize(185, 82);
    array.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&array));
    // 82 div 3 = 27: three strips use 81 of the 82 pixels, stacked inside the bevel.
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(array.RowStrip(r)->geometry(), QRect(1, 1 + 27 * r, 183, 27)) << r;
        // 183 div 3 = 61 wide, as high as the strip inside its own bevel.
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(array.Buttons(c, r)->geometry(), QRect(1 + 61 * c, 1, 61, 25)) << c << "," << r;
    }
}

TEST(NBAryTest, ElementStripGeometry)
{
    // GSG: 168 x 22, five columns, one row. The strip is the whole 22 high (its bottom runs
    // under the array's bevel) and 166 wide, which gives cells 33 wide.
    TNBAry array;
    array.SetColCount(5);
    array.SetRowCount(1);
    array.resize(168, 22);
    array.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&array));
    EXPECT_EQ(array.RowStrip(0)->geometry(), QRect(1, 1, 166, 22));
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(array.Buttons(c, 0)->geometry(), QRect(1 + 33 * c, 1, 33, 20)) << c;

    array.resize(169, 40); // widths follow every resize, remainders go to nobody
    EXPECT_EQ(array.RowStrip(0)->height(), 40);
    EXPECT_EQ(array.Buttons(4, 0)->geometry(), QRect(1 + 33 * 4, 1, 33, 38));
}

TEST(NBAryTest, ACountChangeReplacesEveryCellAndTheSameCountKeepsThem)
{
    TNBAry array;
    array.resize(185, 82);
    array.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&array));
    QList<QPointer<TBrimBtn>> old;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            array.Buttons(c, r)->SetCaption("x");
            array.Buttons(c, r)->SetTopColor(SysColors::clRed);
            old << array.Buttons(c, r);
        }

    array.SetColCount(3);
    array.SetRowCount(3);
    EXPECT_EQ(array.Buttons(1, 1), old[4].data());
    EXPECT_EQ(array.Buttons(1, 1)->Caption(), "x");

    array.SetRowCount(2);
    DeleteDeferred();
    for (const QPointer<TBrimBtn>& cell : old)
        EXPECT_TRUE(cell.isNull());
    TBrimBtn* fresh = array.Buttons(1, 1);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->Caption(), "");
    EXPECT_EQ(fresh->TopColor(), SysColors::clLime);
    EXPECT_EQ(fresh->Tag(), 6);
    EXPECT_EQ(fresh->width(), 35); // laid out only at the next resize
    EXPECT_EQ(array.findChildren<TBrimBtn*>().size(), 6);
    array.resize(185, 80);
    EXPECT_EQ(fresh->width(), 61);
    EXPECT_EQ(array.RowStrip(1)->height(), 40);
}

TEST(NBAryTest, CountsOfZeroHoldNoCellsAndCountsAreClampedTo64)
{
    TNBAry array;
    array.SetRowCount(0);
    DeleteDeferred();
    EXPECT_TRUE(array.findChildren<TBrimBtn*>().isEmpty());
    EXPECT_EQ(array.Buttons(0, 0), nullptr);
    EXPECT_EQ(array.RowStrip(0), nullptr);
    array.resize(100, 100);
    array.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&array));

    array.SetRowCount(-5);
    EXPECT_EQ(array.RowCount(), 0);
    array.SetRowCount(1);
    array.SetColCount(100);
    EXPECT_EQ(array.ColCount(), 64);
    ASSERT_NE(array.Buttons(63, 0), nullptr);
    EXPECT_EQ(array.Buttons(63, 0)->Tag(), 64);
    array.SetColCount(0);
    DeleteDeferred();
    EXPECT_TRUE(array.findChildren<TBrimBtn*>().isEmpty());
    EXPECT_EQ(array.findChildren<Panel*>().size(), 1); // the strip stays, empty
}

TEST(NBAryTest, FontColourAndChangeColorAreHandedOnlyToNewCells)
{
    TNBAry array;
    EXPECT_FALSE(array.Buttons(0, 0)->ChangeColor());
    array.SetChangeColor(true);
    array.SetFontColor(SysColors::clYellow);
    EXPECT_FALSE(array.Buttons(0, 0)->ChangeColor());
    array.SetColCount(5);
    EXPECT_TRUE(array.Buttons(4, 2)->ChangeColor());
    EXPECT_EQ(array.Buttons(4, 2)->FontColor(), SysColors::clYellow);
}

TEST(NBAryTest, ACellPressIsTheArraysOwnWithTheCellAsCurrent)
{
    TNBAry array;
    array.resize(185, 82);
    array.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&array));
    QSignalSpy pressed(&array, &TNBAry::MouseDown);
    EXPECT_EQ(array.CurrentCol(), 0);
    EXPECT_EQ(array.CurrentRow(), 0);

    QTest::mousePress(array.Buttons(2, 1), Qt::RightButton, {}, QPoint(4, 5));
    ASSERT_EQ(pressed.count(), 1);
    const QList<QVariant> args = pressed.takeFirst();
    EXPECT_EQ(args.at(0).value<TNBAry*>(), &array);
    EXPECT_EQ(args.at(1).toInt(), 1); // right button
    EXPECT_EQ(args.at(2).toInt(), 16); // right button down
    EXPECT_EQ(args.at(3).toInt(), 1 + 1 + 61 * 2 + 4); // strip, cell, press
    EXPECT_EQ(args.at(4).toInt(), 1 + 27 + 1 + 5);
    EXPECT_EQ(array.CurrentCol(), 2);
    EXPECT_EQ(array.CurrentRow(), 1);
    QTest::mouseRelease(array.Buttons(2, 1), Qt::RightButton, {}, QPoint(4, 5));
}

TEST(NBAryTest, ACellPressHandlerMayRebuildTheArray)
{
    TNBAry array;
    array.resize(185, 82);
    array.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&array));
    QObject::connect(&array, &TNBAry::MouseDown, &array, [&array] { array.SetColCount(4); });
    QTest::mouseClick(array.Buttons(0, 0), Qt::LeftButton, {}, QPoint(3, 3));
    DeleteDeferred();
    EXPECT_EQ(array.findChildren<TBrimBtn*>().size(), 12);
}
