// SPDX-License-Identifier: MIT
// TEditEx: grouping while typing with the caret kept from the end, the Text reader and
// writer with and without Thousands, and Return and Tab left to the dialog.

// Qt
#include <QDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
// GoogleTest
#include <gtest/gtest.h>
// own
#include "controls/CtrlsEx.h"

TEST(EditExTest, GroupingCountsEveryCharacterFromTheRight)
{
    EXPECT_EQ(TEditEx::GroupThousands("1234567"), "1,234,567");
    EXPECT_EQ(TEditEx::GroupThousands("1234"), "1,234");
    EXPECT_EQ(TEditEx::GroupThousands("123"), "123");
    EXPECT_EQ(TEditEx::GroupThousands(""), "");
    EXPECT_EQ(TEditEx::GroupThousands("ab-cdef"), "a,b-c,def");
}

TEST(EditExTest, TypedDigitsAreGroupedWithTheCaretAtTheEnd)
{
    TEditEx edit;
    edit.SetAlignment(taRightJustify);
    edit.SetThousands(true);
    QTest::keyClicks(&edit, "12345");
    EXPECT_EQ(edit.text(), "12,345");
    EXPECT_EQ(edit.cursorPosition(), 6);
    EXPECT_EQ(edit.Text(), "12345");

    // A digit typed in the middle keeps the caret's distance from the end.
    edit.setCursorPosition(1); // "1|2,345"
    QTest::keyClick(&edit, Qt::Key_9);
    EXPECT_EQ(edit.text(), "192,345");
    EXPECT_EQ(edit.cursorPosition(), 2);

    // Deleting back over a separator regroups too.
    edit.setCursorPosition(7);
    QTest::keyClick(&edit, Qt::Key_Backspace); // 19,234
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "1,923");
    EXPECT_EQ(edit.cursorPosition(), 5);
}

TEST(EditExTest, TextWriterKeepsCommasItIsGivenAndTheReaderDropsThem)
{
    TEditEx edit;
    edit.SetThousands(true);
    edit.SetText("1,234");
    EXPECT_EQ(edit.text(), "1,,234");
    EXPECT_EQ(edit.Text(), "1234");
    edit.SetText("123");
    EXPECT_EQ(edit.text(), "123");

    TEditEx plain;
    plain.SetText("1,234");
    EXPECT_EQ(plain.text(), "1,234");
    EXPECT_EQ(plain.Text(), "1,234");
    plain.SetThousands(true); // regroups at once
    EXPECT_EQ(plain.text(), "1,234");
    plain.setText("1234567");
    plain.SetThousands(false);
    plain.SetThousands(true);
    EXPECT_EQ(plain.text(), "1,234,567");
}

TEST(EditExTest, SelectionKeepsItsDistanceFromTheEnd)
{
    TEditEx edit;
    edit.setText("123456");
    edit.setSelection(3, 2); // "45"
    edit.SetThousands(true);
    EXPECT_EQ(edit.text(), "123,456");
    EXPECT_EQ(edit.selectionStart(), 4);
    EXPECT_EQ(edit.selectedText(), "45");
}

TEST(EditExTest, ReturnGoesToTheDefaultButtonAndTabMovesOn)
{
    QDialog dialog;
    auto* edit = new TEditEx(&dialog);
    edit->setGeometry(10, 10, 80, 20);
    edit->SetText("30");
    auto* next = new QPushButton("OK", &dialog);
    next->setGeometry(10, 40, 80, 20);
    next->setDefault(true);
    QSignalSpy pressed(next, &QPushButton::clicked);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    edit->setFocus();

    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(edit->text(), "30");
    EXPECT_EQ(pressed.count(), 1);

    dialog.show();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next);
    EXPECT_EQ(edit->text(), "30");
}

TEST(EditExTest, ChangingAlignmentKeepsTheText)
{
    TEditEx edit;
    edit.SetText("30");
    edit.SetAlignment(taCenter);
    EXPECT_EQ(edit.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    edit.SetAlignment(taRightJustify);
    EXPECT_EQ(edit.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(edit.Text(), "30");
}
