// SPDX-License-Identifier: MIT
// Redo and numbered deals on the real main window: the File menu's new items in their
// places, redo by menu, keys and the board's Shift+Backspace (a beep with nothing to redo),
// the numbered-deal dialog refusing what is no number and dealing what is, and the board's
// number in Start!!'s tool tip.

#include "../core/GameTestSupport.h"
#include "OpenWindows.h"

#include "windows/AppWindows.h"
#include "controls/BrimBtn.h"
#include "windows/Deal.h"
#include "app/GameSession.h"
#include "windows/Main.h"
#include "controls/Panel.h"
#include "platform/Registry.h"

// Qt
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// GoogleTest
#include <gtest/gtest.h>

#include <functional>

namespace {

class RedoAndDealTest : public OpenWindowsTest
{
protected:
    // Runs the numbered-deal dialog from the menu; `play` acts on it while it is up and
    // must close it.
    static void WithDealDialog(TMainF& main, const std::function<void(TDealF&)>& play)
    {
        QTimer::singleShot(0, &main, [&main, play] {
            ASSERT_NE(main.DealF(), nullptr);
            ASSERT_TRUE(main.DealF()->isVisible());
            play(*main.DealF());
            if (main.DealF()->isVisible())
                main.DealF()->reject();
        });
        main.Action(QStringLiteral("DealNo1"))->trigger();
    }
};

TEST_F(RedoAndDealTest, TheFileMenuKeepsItsItemsWithTheNewOnesBelowTheirOwn)
{
    TMainF& main = Open();
    QStringList items;
    for (QAction* action : main.findChild<QMenu*>(QStringLiteral("File1"))->actions())
        items << (action->isSeparator() ? QStringLiteral("-")
                                        : action->objectName() + QLatin1Char(' ') + action->text());
    EXPECT_EQ(items,
        (QStringList { "New1 スタート(&N)", "DealNo1 番号を指定して配る(&D)…", "R1 元に戻す(&R)",
            "Redo1 やり直し(&Y)", "-", "H1 ハイスコア(&H)", "Best1 この盤面の最高点(&B)…", "-", "Exit1 終了(&X)" }));
}

TEST_F(RedoAndDealTest, RedoByMenuKeysAndBoardAndABeepWithNothingToRedo)
{
    TMainF& main = Open();
    Game& game = main.Session().GameForTest();
    QAction* redo = main.Action(QStringLiteral("Redo1"));
    LayBoard(game, { "甲乙丙丁", "戊己庚辛", "壬癸甲乙" });
    EXPECT_FALSE(redo->isEnabled());
    QTest::mouseClick(main.Tile(0, 9), Qt::LeftButton);
    QTest::mouseClick(main.Tile(1, 9), Qt::LeftButton);
    QTest::mouseClick(main.Tile(0, 9), Qt::LeftButton); // 戊 fell there
    QTest::mouseClick(main.Tile(0, 8), Qt::LeftButton);
    const QStringList played = Picture(game, 3, 4);
    ASSERT_EQ(game.Remaining(), 8);
    QTest::mouseClick(main.ReBtn(), Qt::LeftButton);
    QTest::mouseClick(main.ReBtn(), Qt::LeftButton);
    ASSERT_EQ(game.Remaining(), 12);
    EXPECT_TRUE(redo->isEnabled());

    int beeps = main.BeepCount();
    redo->trigger();
    EXPECT_EQ(game.Remaining(), 10);
    EXPECT_EQ(main.BeepCount(), beeps + 1) << "redo beeps as undo does";
    QTest::keyClick(main.BPnl(), Qt::Key_Backspace, Qt::ShiftModifier);
    EXPECT_EQ(Picture(game, 3, 4), played);
    EXPECT_EQ(main.Tile(0, 9)->Caption(), game.TileAt(0, 9).caption);
    EXPECT_FALSE(redo->isEnabled());

    for (const QKeySequence& keys :
        { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y) }) {
        beeps = main.BeepCount();
        QTest::keySequence(&main, keys);
        EXPECT_EQ(main.BeepCount(), beeps + 1)
            << keys.toString().toStdString() << " beeps with nothing to redo";
        EXPECT_EQ(Picture(game, 3, 4), played);
        QTest::keyClick(&main, Qt::Key_Z, Qt::ControlModifier);
        QTest::keySequence(&main, keys);
        EXPECT_EQ(Picture(game, 3, 4), played) << keys.toString().toStdString() << " redoes";
    }
    // A new deal forgets what could be redone.
    QTest::keyClick(&main, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(redo->isEnabled());
    QTest::mouseClick(main.StartBtn(), Qt::LeftButton);
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(RedoAndDealTest, TheDialogRefusesWhatIsNoNumberAndDealsWhatIs)
{
    TMainF& main = Open();
    Game& game = main.Session().GameForTest();
    const quint32 first = game.DealNumber();
    EXPECT_EQ(main.StartBtn()->toolTip(),
        QStringLiteral("新しい盤面を配ります（いまの盤面の番号：%1）").arg(first));
    const QStringList dealt = Picture(game, 3, 4);

    WithDealDialog(main, [&](TDealF& dialog) {
        EXPECT_EQ(dialog.CurrentE()->text(), QString::number(first));
        EXPECT_TRUE(dialog.CurrentE()->isReadOnly());
        dialog.CopyBtn()->click();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::number(first));
        const struct
        {
            const char* typed;
            const char* message;
        } refused[] = {
            { "", "番号を入力してください。" },
            { "  ", "番号を入力してください。" },
            { "abc", "番号は 0 から 4294967295 までの整数です。" },
            { "4294967296", "番号は 0 から 4294967295 までの整数です。" },
            { "-1", "番号は 0 から 4294967295 までの整数です。" },
            { "12 34", "番号は 0 から 4294967295 までの整数です。" },
        };
        for (const auto& r : refused) {
            dialog.NumberE()->setText(QString::fromUtf8(r.typed));
            QTest::keyClick(dialog.NumberE(), Qt::Key_Return);
            EXPECT_TRUE(dialog.isVisible()) << r.typed;
            EXPECT_EQ(dialog.MessageL()->text(), QString::fromUtf8(r.message)) << r.typed;
        }
        EXPECT_EQ(Picture(game, 3, 4), dealt);
        EXPECT_EQ(game.DealNumber(), first);
        // Full-width digits, as an input method gives them.
        dialog.NumberE()->setText(QStringLiteral("１"));
        dialog.OKBtn()->click();
    });
    EXPECT_EQ(game.DealNumber(), 1u);
    EXPECT_EQ(Picture(game, 3, 4), (QStringList { "甲癸庚壬", "癸癸壬辛", "甲丁己壬" }));
    EXPECT_EQ(main.Tile(0, 7)->Caption(), QStringLiteral("甲"));
    EXPECT_EQ(main.StartBtn()->toolTip(), QStringLiteral("新しい盤面を配ります（いまの盤面の番号：1）"));

    // Cancel deals nothing; the next showing starts empty and shows the new number.
    WithDealDialog(main, [&](TDealF& dialog) {
        EXPECT_EQ(dialog.CurrentE()->text(), QStringLiteral("1"));
        EXPECT_TRUE(dialog.NumberE()->text().isEmpty());
        EXPECT_TRUE(dialog.MessageL()->text().isEmpty());
        dialog.NumberE()->setText(QStringLiteral("2"));
        dialog.CancelBtn()->click();
    });
    EXPECT_EQ(game.DealNumber(), 1u);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

} // namespace
