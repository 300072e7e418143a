// SPDX-License-Identifier: MIT
// What a screen reader hears of the main window, read back through Qt's accessibility
// interfaces, and the events it is told of while a game is played.

#include "controls/AccessibleEvents.h"
#include "windows/Accessibility.h"
#include "windows/AppWindows.h"
#include "controls/BrimBtn.h"
#include "windows/Main.h"
#include "controls/NBAry.h"
#include "platform/Registry.h"
#include "controls/StringGrid.h"

// Qt
#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

// GoogleTest
#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

struct Heard
{
    QObject* object;
    QAccessible::Event type;
    bool selectedChanged;
};

std::vector<Heard> g_heard;

void Listen(QAccessibleEvent& event)
{
    bool selected = false;
    if (event.type() == QAccessible::StateChanged)
        selected = static_cast<QAccessibleStateChangeEvent&>(event).changedStates().selected;
    g_heard.push_back({ event.object(), event.type(), selected });
}

class AccessibilityTest : public ::testing::Test
{
protected:
    AccessibilityTest()
    {
        Registry::SetUserFileOverride(QDir(dir.path()).filePath("user.reg"));
        AccessibleEvents::SetObserver(Listen);
    }
    ~AccessibilityTest() override
    {
        AccessibleEvents::SetObserver({});
        g_heard.clear();
        Registry::SetUserFileOverride(QString());
    }

    static QString Said(QObject* object, QAccessible::Text what = QAccessible::Name)
    {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
        return face ? face->text(what) : QStringLiteral("<none>");
    }

    static bool HeardOf(QObject* object, QAccessible::Event type, bool selectedChange = false)
    {
        for (const Heard& h : g_heard)
            if (h.object == object && h.type == type && h.selectedChanged == selectedChange)
                return true;
        return false;
    }

    QTemporaryDir dir;
};

TEST_F(AccessibilityTest, TheBoardAndItsPanelsSayWhatTheyShow)
{
    AppWindows windows(dir.path());
    TMainF& main = windows.Main();
    main.show();
    // 甲 乙 丙 丁 on the bottom row, columns 1 to 4.
    std::array<QString, Game::TileCount> captions;
    std::array<bool, Game::TileCount> visible {};
    const QString stems = QStringLiteral("甲乙丙丁");
    for (int c = 0; c < 4; ++c) {
        captions[size_t(Game::TileNumber(c, 9) - 1)] = stems.at(c);
        visible[size_t(Game::TileNumber(c, 9) - 1)] = true;
    }
    Game& game = main.GameState();
    game.SetBoardForTest(captions, visible);

    TBrimBtn* jia = main.Tile(0, 9);
    TBrimBtn* bing = main.Tile(2, 9);
    EXPECT_EQ(Said(bing), QStringLiteral("丙 火 3列 10段"));
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(jia);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Button);
    EXPECT_TRUE(face->state().selectable);
    EXPECT_FALSE(face->state().selected);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(main.Tile(5, 0))->state().invisible);

    const char* names[] = { "木", "火", "土", "金", "水" };
    const std::array<int, 5> counts = game.ElementCounts();
    for (int j = 0; j < 5; ++j)
        EXPECT_EQ(Said(main.GSG()->Buttons(j, 0)), QStringLiteral("%1 %2枚").arg(QString::fromUtf8(names[j])).arg(counts[size_t(j)]));
    EXPECT_EQ(Said(main.ReBtn()), QStringLiteral("元に戻す"));
    EXPECT_EQ(Said(main.HintBtn()), QStringLiteral("ヒント"));
    EXPECT_EQ(Said(main.StartBtn()), QStringLiteral("スタート"));
    EXPECT_EQ(Said(main.ZanL()), QStringLiteral("残り 4枚"));

    // A pick selects the tile and says so; the pair's removal scores it and empties the
    // bottom row's left end.
    g_heard.clear();
    face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(Said(jia), QStringLiteral("甲 木 1列 10段 選択中"));
    EXPECT_TRUE(face->state().selected);
    EXPECT_TRUE(HeardOf(jia, QAccessible::StateChanged, true));
    EXPECT_TRUE(HeardOf(jia, QAccessible::SelectionAdd));
    game.TileMouseDown(Game::TileNumber(1, 9), 0, ShiftState::ssLeft);
    EXPECT_TRUE(HeardOf(jia, QAccessible::SelectionRemove));
    EXPECT_EQ(Said(main.ZanL()), QStringLiteral("残り 2枚"));
    EXPECT_EQ(Said(main.PntL()), QStringLiteral("ポイント %1").arg(main.PointsTotal()));
    const QString row = Said(main.SG1(), QAccessible::Description);
    EXPECT_TRUE(row.startsWith(QStringLiteral("1手目 甲 乙"))) << row.toStdString();
    // The columns closed up: 丙 stands in the first column now, and says so.
    EXPECT_EQ(Said(jia), QStringLiteral("丙 火 1列 10段"));
    EXPECT_TRUE(HeardOf(jia, QAccessible::NameChanged));
    // Undone, the log's row is empty again and the reader hears of it.
    main.ReBtnClick();
    EXPECT_EQ(Said(jia), QStringLiteral("甲 木 1列 10段"));
    EXPECT_EQ(Said(main.SG1(), QAccessible::Description), QString());
}

TEST_F(AccessibilityTest, TheKeyboardCursorIsTheBoardsFocus)
{
    AppWindows windows(dir.path());
    TMainF& main = windows.Main();
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    main.BPnl()->setFocus();
    g_heard.clear();
    QTest::keyClick(main.BPnl(), Qt::Key_Right);
    const int n = main.CursorTile();
    ASSERT_TRUE(main.CursorShown());
    TBrimBtn* tile = main.Tile((n - 1) % Game::Cols, (n - 1) / Game::Cols);
    EXPECT_TRUE(HeardOf(tile, QAccessible::Focus));
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(tile)->state().focused);

    // The next key moves the focus to the neighbour, which is focused in its place.
    QTest::keyClick(main.BPnl(), Qt::Key_Up);
    const int m = main.CursorTile();
    ASSERT_NE(m, n);
    TBrimBtn* next = main.Tile((m - 1) % Game::Cols, (m - 1) / Game::Cols);
    EXPECT_TRUE(HeardOf(next, QAccessible::Focus));
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(next)->state().focused);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(tile)->state().focused);
}

} // namespace
