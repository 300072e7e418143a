// SPDX-License-Identifier: MIT
// What a screen reader hears of the main window, read back through Qt's accessibility
// interfaces, and the events it is told of while a game is played.

#include "controls/AccessibleEvents.h"
#include "windows/Accessibility.h"
#include "windows/AppWindows.h"
#include "controls/BrimBtn.h"
#include "app/GameSession.h"
#include "windows/Main.h"
#include "controls/NBAry.h"
#include "platform/Registry.h"
#include "controls/StringGrid.h"
#include "controls/ChkGroup.h"
#include "controls/CtrlsEx.h"
#include "controls/Panel.h"
#include "windows/HelpViewer.h"
#include "windows/Setu.h"

// Qt
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTimer>

// GoogleTest
#include <gtest/gtest.h>

#include <array>
#include <set>
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

// The partner of a tile in play: a neighbour in play (a board of stems pairs every neighbour).
int PartnerOf(const Game& game, int number)
{
    const int c = (number - 1) % Game::Cols;
    const int r = (number - 1) / Game::Cols;
    for (auto [dc, dr] : { std::pair { 0, -1 }, std::pair { 0, 1 }, std::pair { 1, 0 }, std::pair { -1, 0 } }) {
        const int pc = c + dc, pr = r + dr;
        if (pc >= 0 && pc < Game::Cols && pr >= 0 && pr < Game::Rows && game.TileAt(pc, pr).visible)
            return Game::TileNumber(pc, pr);
    }
    return 0;
}

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
    Game& game = main.Session().GameForTest();
    game.SetBoardForTest(captions, visible);

    TBrimBtn* jia = main.Tile(0, 9);
    TBrimBtn* bing = main.Tile(2, 9);
    // The board as dealt is 3 rows high: its bottom row is its third.
    ASSERT_EQ(game.DealtWith().rows, 3);
    EXPECT_EQ(Said(bing), QStringLiteral("丙 火 3列 3段"));
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
    EXPECT_EQ(Said(jia), QStringLiteral("甲 木 1列 3段 選択中"));
    EXPECT_TRUE(face->state().selected);
    EXPECT_TRUE(HeardOf(jia, QAccessible::StateChanged, true));
    EXPECT_TRUE(HeardOf(jia, QAccessible::SelectionAdd));
    game.Pick(Game::TileNumber(1, 9), PickMode::Remove);
    EXPECT_TRUE(HeardOf(jia, QAccessible::SelectionRemove));
    EXPECT_EQ(Said(main.ZanL()), QStringLiteral("残り 2枚"));
    EXPECT_EQ(Said(main.PntL()), QStringLiteral("ポイント %1").arg(main.Session().State().PointsTotal()));
    const QString row = Said(main.SG1(), QAccessible::Description);
    EXPECT_TRUE(row.startsWith(QStringLiteral("1手目 甲 乙"))) << row.toStdString();
    // The columns closed up: 丙 stands in the first column now, and says so.
    EXPECT_EQ(Said(jia), QStringLiteral("丙 火 1列 3段"));
    EXPECT_TRUE(HeardOf(jia, QAccessible::NameChanged));
    // Undone, the log's row is empty again and the reader hears of it.
    main.ReBtnClick();
    EXPECT_EQ(Said(jia), QStringLiteral("甲 木 1列 3段"));
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

// Over boards of several sizes and a few moves each: the board's children are its own places
// in reading order and only those, rows counted from its top; a place off the board or empty
// has no name; and each pick tells of the names it changed, and of no other.
TEST_F(AccessibilityTest, TheBoardShowsItsOwnPlacesAndAPickRenamesOnlyWhatChanged)
{
    AppWindows windows(dir.path());
    TMainF& main = windows.Main();
    main.show();
    Game& game = main.Session().GameForTest();
    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(main.BPnl());
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->text(QAccessible::Name), QStringLiteral("盤面"));
    main.CG1()->SetBitChk(1);
    for (int seed = 1; seed <= 8; ++seed) {
        main.CBH()->setCurrentIndex(seed % main.CBH()->count());
        main.CBW()->setCurrentIndex((seed * 3) % main.CBW()->count());
        game.Seed(quint32(seed));
        game.NewGame();
        const DealSettings dealt = game.DealtWith();
        const int top = Game::Rows - dealt.rows;
        ASSERT_EQ(board->childCount(), dealt.rows * dealt.cols) << "seed " << seed;
        for (int i = 0; i < board->childCount(); ++i) {
            const int col = i % dealt.cols, row = top + i / dealt.cols;
            QAccessibleInterface* tile = board->child(i);
            ASSERT_NE(tile, nullptr);
            ASSERT_EQ(tile->object(), main.Tile(col, row));
            EXPECT_EQ(board->indexOfChild(tile), i);
            EXPECT_EQ(tile->text(QAccessible::Name),
                      Accessibility::TileName(game.TileAt(col, row).caption, col, i / dealt.cols, false));
        }
        for (int n = 1; n <= Game::TileCount; ++n) {
            const int col = (n - 1) % Game::Cols, row = (n - 1) / Game::Cols;
            if (col < dealt.cols && row >= top)
                continue;
            QAccessibleInterface* tile = QAccessible::queryAccessibleInterface(main.Tile(col, row));
            EXPECT_EQ(board->indexOfChild(tile), -1) << n;
            EXPECT_EQ(tile->text(QAccessible::Name), QString()) << n;
        }

        for (int move = 0; move < 4; ++move) {
            const int first = game.FindMove();
            ASSERT_TRUE(Game::IsTileNumber(first));
            for (int pick : { first, PartnerOf(game, first) }) {
                std::array<QString, Game::TileCount> before;
                for (int n = 1; n <= Game::TileCount; ++n)
                    before[size_t(n - 1)] = Said(main.Tile((n - 1) % Game::Cols, (n - 1) / Game::Cols));
                g_heard.clear();
                game.Pick(pick, PickMode::Remove);
                std::set<QObject*> changed, told;
                for (int n = 1; n <= Game::TileCount; ++n) {
                    TBrimBtn* tile = main.Tile((n - 1) % Game::Cols, (n - 1) / Game::Cols);
                    if (Said(tile) != before[size_t(n - 1)])
                        changed.insert(tile);
                }
                for (const Heard& h : g_heard)
                    if (h.type == QAccessible::NameChanged && h.object->parent() == main.BPnl())
                        told.insert(h.object);
                // The picked tile may be told twice (selected, then gone) and end as it began.
                told.erase(main.Tile((pick - 1) % Game::Cols, (pick - 1) / Game::Cols));
                changed.erase(main.Tile((pick - 1) % Game::Cols, (pick - 1) / Game::Cols));
                EXPECT_EQ(told, changed) << "seed " << seed << " move " << move << " tile " << pick;
            }
        }
    }
}

// The elapsed-time label ticks every second, hidden or not: a reader hears of it only while
// it shows, and then reads the time as it stands. (That the label itself stays quiet needs a
// real bridge: the desktop check.)
TEST_F(AccessibilityTest, TheClockIsToldOfOnlyWhileItShows)
{
    AppWindows windows(dir.path());
    TMainF& main = windows.Main();
    qint64 nowMs = 0;
    main.SetClock([&nowMs] { return nowMs; });
    main.show();
    // The timer, sped up, with the time running on.
    main.Timer1()->start(5);
    auto tick = [&] {
        const QString was = main.TimeL()->text();
        nowMs += 1000;
        for (int i = 0; i < 200 && main.TimeL()->text() == was; ++i)
            QTest::qWait(5);
    };
    g_heard.clear();
    tick();
    tick();
    ASSERT_FALSE(main.TimeL()->isVisible());
    EXPECT_FALSE(HeardOf(main.TimeL(), QAccessible::NameChanged));

    windows.Setu().CB3()->setChecked(true);
    tick();
    ASSERT_TRUE(main.TimeL()->isVisible());
    EXPECT_TRUE(HeardOf(main.TimeL(), QAccessible::NameChanged));
    EXPECT_EQ(Said(main.TimeL()), main.TimeL()->text().trimmed());
}

// Names and roles outside the board: the size lists by their labels, the colours' frame by
// its own title, the font chooser a button the keyboard reaches and presses, the help a
// window.
TEST_F(AccessibilityTest, ListsFramesTheFontChooserAndTheHelpSayWhatTheyAre)
{
    AppWindows windows(dir.path());
    TMainF& main = windows.Main();
    EXPECT_EQ(Said(main.CBH()), QStringLiteral("縦"));
    EXPECT_EQ(Said(main.CBW()), QStringLiteral("横"));
    EXPECT_EQ(Said(main.CBH(), QAccessible::Value), main.CBH()->currentText());

    TSetuF& setu = windows.Setu();
    auto* colours = setu.CB5()->parentWidget();
    ASSERT_TRUE(qobject_cast<QGroupBox*>(colours));
    EXPECT_EQ(Said(colours), QStringLiteral("配色"));
    EXPECT_EQ(Said(setu.TimeE()), QStringLiteral("警告までの分数"));

    Panel* chooser = setu.FontPnl();
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(chooser);
    EXPECT_EQ(face->role(), QAccessible::Button);
    EXPECT_TRUE(face->state().focusable);
    int chosen = 0;
    setu.SetFontChooser([&chosen](QWidget*, QFont&, ColorValue&) {
        ++chosen;
        return false;
    });
    QTest::keyClick(chooser, Qt::Key_Space);
    QTest::keyClick(chooser, Qt::Key_Return);
    EXPECT_EQ(chosen, 2);

    ShowHelp(nullptr, Help::Contents);
    ASSERT_NE(HelpViewer::Current(), nullptr);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(HelpViewer::Current())->role(), QAccessible::Window);
    delete HelpViewer::Current();
}

} // namespace
