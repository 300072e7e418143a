// SPDX-License-Identifier: MIT
// TChkGroup: the bit mask and its reduction, the arrangement, user clicks against
// program changes, Return and the focus rules, and the disabled colour.

// Qt
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
// GoogleTest
#include <gtest/gtest.h>
// own
#include "controls/ChkGroup.h"

namespace {

const QStringList Kinds { QStringLiteral("干"), QStringLiteral("支"), QStringLiteral("九星") };

QList<bool> Checks(const TChkGroup& group)
{
    QList<bool> checks;
    for (int i = 0; i < group.BoxCount(); ++i)
        checks << group.ItemChecked(i);
    return checks;
}

// A window holding an edit box, the group and another edit box, in that tab order, that
// records the keys its children pass on.
class Window : public QWidget
{
public:
    Window()
    {
        resize(240, 120);
        before = new QLineEdit(this);
        before->setGeometry(4, 4, 100, 20);
        group = new TChkGroup(this);
        group->setGeometry(4, 30, 168, 30);
        after = new QLineEdit(this);
        after->setGeometry(4, 70, 100, 20);
        // The items come after the second edit box exists: the boxes must still take
        // the group's place in the tab order.
        group->SetColumns(3);
        group->SetItems(Kinds);
    }

    void ShowActive()
    {
        show();
        QApplication::setActiveWindow(this);
        ASSERT_TRUE(QTest::qWaitForWindowActive(this));
    }

    QLineEdit* before;
    TChkGroup* group;
    QLineEdit* after;
    QList<int> passedKeys;

protected:
    void keyPressEvent(QKeyEvent* event) override { passedKeys << event->key(); }
};

class RefusingGroup : public TChkGroup
{
public:
    bool CanModify() const override { return false; }
};

} // namespace

TEST(ChkGroupTest, BitChkChecksTheBoxesAndIsReducedToTheItems)
{
    TChkGroup group;
    group.SetItems(Kinds);
    group.SetBitChk(5);
    EXPECT_EQ(Checks(group), (QList<bool> { true, false, true }));
    group.SetBitChk(0xFF);
    EXPECT_EQ(group.BitChk(), 7);
    EXPECT_EQ(Checks(group), (QList<bool> { true, true, true }));
    EXPECT_FALSE(group.ItemChecked(3));
    EXPECT_FALSE(group.ItemChecked(-1));

    // Without items nothing is known, so nothing is dropped; the items reduce it.
    TChkGroup empty;
    empty.SetBitChk(0xFF);
    EXPECT_EQ(empty.BitChk(), 0xFF);
    empty.SetItems(Kinds);
    EXPECT_EQ(empty.BitChk(), 7);
    empty.SetItems({ "a" });
    EXPECT_EQ(empty.BitChk(), 1);
    EXPECT_EQ(empty.BoxCount(), 1);
}

TEST(ChkGroupTest, ItemsFromThe33rdOnHaveNoBitAndKeepTheMaskWhole)
{
    QStringList items;
    for (int i = 0; i < 34; ++i)
        items << QString::number(i);
    TChkGroup group;
    group.resize(400, 400);
    group.SetItems(items);
    group.SetBitChk(int(0x80000001u));
    EXPECT_EQ(quint32(group.BitChk()), 0x80000001u);
    EXPECT_TRUE(group.ItemChecked(0));
    EXPECT_TRUE(group.ItemChecked(31));
    EXPECT_FALSE(group.ItemChecked(32));

    group.SetBitChk(-1);
    EXPECT_EQ(group.BitChk(), -1);
    EXPECT_FALSE(group.ItemChecked(33));
}

TEST(ChkGroupTest, ArrangesInColumnsFromTheFontCellHeight)
{
    // The main window's CG1: 168 x 30, three items in three columns.
    TChkGroup group;
    QFont font = group.font();
    font.setPixelSize(12);
    group.setFont(font);
    group.resize(168, 30);
    group.SetColumns(3);
    group.SetItems(Kinds);
    const int h = QFontMetrics(font).height();
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(group.Box(k)->geometry(), QRect(8 + 52 * k, h + 1, 52, qMax(0, 30 - h - 5))) << k;
        EXPECT_TRUE(group.Box(k)->isVisibleTo(&group));
    }

    // Five items in two columns fill the first column top to bottom: 3 + 2.
    group.resize(110, 100);
    group.SetColumns(2);
    group.SetItems({ "a", "b", "c", "d", "e" });
    const int a = 100 - h - 5;
    EXPECT_EQ(group.Box(2)->geometry(), QRect(8, h + 1 + (a % 3) / 2 + 2 * (a / 3), 50, a / 3));
    EXPECT_EQ(group.Box(3)->geometry().topLeft(), QPoint(58, h + 1 + (a % 3) / 2));

    // A wider left margin narrows the columns by what it adds.
    group.SetAddLeft(12);
    EXPECT_EQ(group.Box(3)->geometry(), QRect(12 + 46, h + 1 + (a % 3) / 2, 46, a / 3));
}

TEST(ChkGroupTest, ColumnsAbove16AreStoredAs16AndZeroArrangesAsOne)
{
    TChkGroup group;
    group.resize(100, 100);
    group.SetItems(Kinds);
    group.SetColumns(20);
    EXPECT_EQ(group.Columns(), 16);
    group.SetColumns(0);
    EXPECT_EQ(group.Columns(), 0);
    EXPECT_EQ(group.Box(0)->x(), 8);
    EXPECT_EQ(group.Box(2)->x(), 8);
    EXPECT_EQ(group.Box(0)->width(), 90);
    EXPECT_LT(group.Box(0)->y(), group.Box(1)->y());
}

TEST(ChkGroupTest, OnlyUserTogglesRaiseClickedAndSetTheirBit)
{
    Window window;
    window.ShowActive();
    TChkGroup* group = window.group;
    QSignalSpy clicked(group, &TChkGroup::Clicked);

    group->SetBitChk(1);
    group->SetItems({ "x", "y", "z" });
    group->SetBitChk(6);
    group->Box(0)->setChecked(true);
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_EQ(group->BitChk(), 6); // a program change of a box does not reach the mask

    TGroupCheckBox* box = group->Box(0);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).value<TChkGroup*>(), group);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(group->BitChk(), 6);

    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    EXPECT_EQ(clicked.count(), 2);
    EXPECT_EQ(group->BitChk(), 7);

    // Space toggles too; the focus stayed on the clicked box.
    ASSERT_EQ(QApplication::focusWidget(), box);
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 3);
    EXPECT_EQ(group->BitChk(), 6);
}

TEST(ChkGroupTest, ARefusingGroupKeepsItsBoxesAsTheyAre)
{
    QWidget window;
    auto* group = new RefusingGroup;
    group->setParent(&window);
    group->setGeometry(0, 0, 168, 30);
    group->SetColumns(3);
    group->SetItems(Kinds);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy clicked(group, &TChkGroup::Clicked);
    QTest::mouseClick(group->Box(1), Qt::LeftButton, {}, QPoint(6, group->Box(1)->height() / 2));
    EXPECT_FALSE(group->ItemChecked(1));
    EXPECT_EQ(group->BitChk(), 0);
    EXPECT_EQ(clicked.count(), 0);
}

TEST(ChkGroupTest, ReturnMovesTheFocusOnOrIsPassedOn)
{
    Window window;
    window.ShowActive();
    window.group->Box(1)->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(window.group->Box(1), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window.group->Box(2));
    EXPECT_TRUE(window.passedKeys.isEmpty());

    window.group->SetRetNext(false);
    EXPECT_FALSE(window.group->Box(0)->RetNext());
    QTest::keyClick(window.group->Box(2), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window.group->Box(2));
    EXPECT_EQ(window.passedKeys, QList<int> { Qt::Key_Return });
}

TEST(ChkGroupTest, TabbingInLandsOnTheFirstBoxAndAClickStaysPut)
{
    Window window;
    window.ShowActive();
    TChkGroup* group = window.group;

    window.before->setFocus(Qt::TabFocusReason);
    QTest::keyClick(window.before, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), group->Box(0));
    // Inside the group Tab goes from box to box, then out to the next control.
    QTest::keyClick(group->Box(0), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), group->Box(1));
    QTest::keyClick(group->Box(1), Qt::Key_Tab);
    QTest::keyClick(group->Box(2), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.after);

    // Backwards the tab order reaches the last box first; the group sends it to the first.
    QTest::keyClick(window.after, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), group->Box(0));

    window.after->setFocus(Qt::TabFocusReason);
    TGroupCheckBox* third = group->Box(2);
    QTest::mouseClick(third, Qt::LeftButton, {}, QPoint(6, third->height() / 2));
    EXPECT_EQ(QApplication::focusWidget(), third);
}

// A box pressed while its window was inactive got the focus only when the window became
// active; the group took that for an entry and sent the focus to the first box, which
// released the pressed box without a click.
TEST(ChkGroupTest, FocusReturningWithTheWindowStaysOnItsBox)
{
    Window window;
    window.ShowActive();
    TChkGroup* group = window.group;
    window.after->setFocus(Qt::TabFocusReason);
    TGroupCheckBox* second = group->Box(1);
    second->setFocus(Qt::ActiveWindowFocusReason);
    EXPECT_EQ(QApplication::focusWidget(), second);

    // A press that arrives before the focus does leaves the focus where it lands as well.
    window.after->setFocus(Qt::TabFocusReason);
    QTest::mousePress(second, Qt::LeftButton, {}, QPoint(6, second->height() / 2));
    second->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(QApplication::focusWidget(), second);
    QTest::mouseRelease(second, Qt::LeftButton, {}, QPoint(6, second->height() / 2));
    EXPECT_EQ(group->BitChk() & 2, 2);
}

TEST(ChkGroupTest, DisabledGroupIsGreyAndEnablingRestoresTheRememberedColour)
{
    const ColorValue rememberedBefore = TChkGroup::RememberedFontColor();
    TChkGroup group;
    group.SetItems(Kinds);
    group.SetFontColor(SysColors::clWhite);
    group.setEnabled(false);
    EXPECT_EQ(group.FontColor(), SysColors::Rgb(128, 128, 128));
    EXPECT_EQ(group.palette().color(QPalette::Disabled, QPalette::WindowText), QColor(128, 128, 128));
    for (int i = 0; i < group.BoxCount(); ++i)
        EXPECT_FALSE(group.Box(i)->isEnabled()) << i;

    group.setEnabled(true);
    // The colour comes from the first group anywhere whose enabled state changed.
    const ColorValue expected = rememberedBefore == 1 ? SysColors::clWhite : rememberedBefore;
    EXPECT_EQ(TChkGroup::RememberedFontColor(), expected);
    EXPECT_EQ(group.FontColor(), expected);
    for (int i = 0; i < group.BoxCount(); ++i)
        EXPECT_TRUE(group.Box(i)->isEnabled()) << i;
}

TEST(ChkGroupTest, DeletingABoxTakesItOffTheGroup)
{
    TChkGroup group;
    group.SetItems(Kinds);
    delete group.Box(1);
    EXPECT_EQ(group.BoxCount(), 2);
    EXPECT_EQ(group.Box(1)->text(), QStringLiteral("九星"));
}

TEST(ChkGroupTest, PaintsTheEtchedFrameHalfALineDown)
{
    QWidget host;
    host.resize(120, 60);
    auto* group = new TChkGroup(&host);
    group->setGeometry(0, 0, 120, 60);
    QImage image(120, 60, QImage::Format_RGB32);
    image.fill(Qt::black);
    group->render(&image);
    const int top = QFontMetrics(group->font()).height() / 2 - 1;
    EXPECT_EQ(image.pixel(0, top + 10), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(1, top + 10), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(60, top), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(60, top + 1), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(60, 59), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(119, 30), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(118, 30), qRgb(128, 128, 128));
}
