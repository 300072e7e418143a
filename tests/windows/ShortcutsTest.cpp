// SPDX-License-Identifier: MIT
// The standard keys of the main window, pressed on the real window: Ctrl+Z undoes, F2 and
// Ctrl+N deal anew as Start!! does, F1 opens the help's contents, Ctrl+Q closes and saves as
// ファイル → 終了 does; none of them acts while a modal dialog is up, and the menu's captions
// stay as they were.

#include "../core/GameTestSupport.h"
#include "OpenWindows.h"

#include "windows/AppWindows.h"
#include "controls/BrimBtn.h"
#include "controls/Panel.h"
#include "windows/HelpViewer.h"
#include "app/GameSession.h"
#include "windows/Main.h"
#include "platform/Registry.h"
#include "store/SettingsStore.h"
#include "store/Keys.h"

// Qt
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// GoogleTest
#include <gtest/gtest.h>

namespace {

class ShortcutsTest : public OpenWindowsTest
{
protected:
    ~ShortcutsTest() override { delete HelpViewer::Current(); }

    // Removes the bottom pair of a fresh 3 x 4 stem board with two clicks.
    static void RemoveAPair(TMainF& main)
    {
        LayBoard(main.Session().GameForTest(), { "甲乙丙丁", "戊己庚辛", "壬癸甲乙" });
        QTest::mouseClick(main.Tile(0, Game::Rows - 1), Qt::LeftButton);
        QTest::mouseClick(main.Tile(1, Game::Rows - 1), Qt::LeftButton);
        ASSERT_EQ(main.Session().State().Remaining(), 10);
    }
};

TEST_F(ShortcutsTest, UndoNewDealAndHelpAnswerTheirKeys)
{
    TMainF& main = Open();
    RemoveAPair(main);
    QTest::keyClick(&main, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(main.Session().State().Remaining(), 12) << "Ctrl+Z takes the pair back";
    EXPECT_EQ(main.Tile(0, Game::Rows - 1)->Caption(), QStringLiteral("壬"));

    for (const QKeySequence& keys : { QKeySequence(Qt::Key_F2), QKeySequence(Qt::CTRL | Qt::Key_N) }) {
        RemoveAPair(main);
        const int beeps = main.BeepCount();
        QTest::keySequence(&main, keys);
        EXPECT_EQ(main.BeepCount(), beeps + 1) << keys.toString().toStdString() << " beeps as Start!! does";
        EXPECT_EQ(main.Session().State().Remaining(), 12) << keys.toString().toStdString() << " deals anew";
    }

    QTest::keyClick(&main, Qt::Key_F1);
    ASSERT_NE(HelpViewer::Current(), nullptr);
    EXPECT_TRUE(HelpViewer::Current()->isVisible());
    EXPECT_EQ(HelpViewer::Current()->Page(), Help::PageUrl(Help::Contents));

    // The keys belong to the menu's items, whose captions stay as they were: the menu
    // shows each item's first key beside it.
    EXPECT_EQ(main.Action(QStringLiteral("New1"))->text(), QStringLiteral("スタート(&N)"));
    const std::pair<const char*, const char*> shown[] = { { "New1", "F2" }, { "R1", "Ctrl+Z" },
        { "Redo1", "Ctrl+Shift+Z" }, { "Exit1", "Ctrl+Q" }, { "Contents1", "F1" } };
    for (const auto& [name, key] : shown)
        EXPECT_EQ(main.Action(QLatin1String(name))->shortcut().toString(), QLatin1String(key)) << name;
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(ShortcutsTest, CtrlQClosesAndSavesAsTheMenuDoes)
{
    TMainF& main = Open();
    main.CBH()->setCurrentIndex(3);
    QSignalSpy closed(&main, &TMainF::Closed);
    QTest::keyClick(&main, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(OpenStore(Keys::Root).ReadNumber(Keys::Sys::CBH), 3);
}

TEST_F(ShortcutsTest, NoKeyActsWhileAModalDialogIsUp)
{
    TMainF& main = Open();
    RemoveAPair(main);
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("t"), QStringLiteral("modal"), QMessageBox::Ok, &main);
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &box);
    QSignalSpy closed(&main, &TMainF::Closed);
    const int beeps = main.BeepCount();
    for (QWidget* target : { static_cast<QWidget*>(&main), static_cast<QWidget*>(&box) }) {
        QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(target, Qt::Key_F2);
        QTest::keyClick(target, Qt::Key_N, Qt::ControlModifier);
        QTest::keyClick(target, Qt::Key_F1);
        QTest::keyClick(target, Qt::Key_Q, Qt::ControlModifier);
    }
    EXPECT_EQ(main.Session().State().Remaining(), 10);
    EXPECT_EQ(main.BeepCount(), beeps);
    EXPECT_EQ(HelpViewer::Current(), nullptr);
    EXPECT_EQ(closed.count(), 0);
    box.close();

    // With the box gone the keys work again.
    QTest::keyClick(&main, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(main.Session().State().Remaining(), 12);
}

TEST_F(ShortcutsTest, AMenuClosedWithEscGivesTheKeysBackToTheBoard)
{
    TMainF& main = Open();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    main.BPnl()->setFocus();
    RemoveAPair(main);
    QTest::keyClick(&main, Qt::Key_F, Qt::AltModifier);
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup, Qt::Key_Escape);
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::activePopupWidget(), nullptr);
    // The board has the keys again: Backspace undoes there, and H asks for a hint there
    // and opens no menu.
    ASSERT_EQ(main.focusWidget(), main.BPnl());
    QTest::keyClick(main.BPnl(), Qt::Key_Backspace);
    EXPECT_EQ(main.Session().State().Remaining(), 12);
    QTest::keyClick(main.BPnl(), Qt::Key_H);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(main.Session().State().Selection().size(), 1);
}

} // namespace
