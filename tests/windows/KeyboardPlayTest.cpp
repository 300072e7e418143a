// SPDX-License-Identifier: MIT
// Keyboard play on the real main window: the cursor that the first arrow key shows and a
// mouse press hides, its moves and edges, Space and Shift+Space as the two mouse buttons,
// Backspace and H as undo and hint, where the focus goes, and where the cursor goes when
// the board changes.

#include "../core/GameTestSupport.h"

#include "windows/AppWindows.h"
#include "controls/BrimBtn.h"
#include "controls/ChkGroup.h"
#include "controls/CtrlsEx.h"
#include "app/GameSession.h"
#include "windows/Main.h"
#include "controls/Panel.h"
#include "platform/Registry.h"
#include "windows/Setu.h"
#include "store/SettingsStore.h"
#include "controls/StringGrid.h"
#include "store/Keys.h"
#include "controls/BrimBtn.h"
#include "controls/ChkGroup.h"
#include "windows/Main.h"
#include "controls/Panel.h"
#include "platform/Registry.h"
#include "controls/StringGrid.h"
#include "app/AppModel.h"

// Qt
#include <QComboBox>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

// GoogleTest
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class KeyboardPlayTest : public ::testing::Test
{
protected:
    KeyboardPlayTest() { Registry::SetUserFileOverride(QDir(dir.path()).filePath("user.reg")); }
    ~KeyboardPlayTest() override { Registry::SetUserFileOverride(QString()); }

    std::unique_ptr<TMainF> Open()
    {
        models.push_back(std::make_unique<AppModel>(dir.path()));
        auto window = std::make_unique<TMainF>(*models.back());
        window->SetMessageHook([this](const QString& text) { messages << text; });
        window->show();
        tables.AttachTo(window->Session().GameForTest());
        return window;
    }

    static void Key(TMainF& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(window.BPnl(), key, modifiers);
    }

    static int At(int col, int row) { return Game::TileNumber(col, row); }

    // The cursor stands on the tile and its frame is drawn around it.
    static void ExpectCursorOn(TMainF& window, int col, int row)
    {
        EXPECT_EQ(window.CursorTile(), At(col, row)) << "cursor expected on " << col << "," << row;
        EXPECT_TRUE(window.CursorShown());
        ASSERT_TRUE(window.CursorFrame()->isVisible());
        EXPECT_EQ(window.CursorFrame()->geometry(), window.Tile(col, row)->geometry().adjusted(-1, -1, 1, 1));
    }

    QTemporaryDir dir;
    std::vector<std::unique_ptr<AppModel>> models;
    QStringList messages;
    DefaultTables tables;
};

TEST_F(KeyboardPlayTest, TheFirstArrowShowsTheCursorAndTheNextOnesMoveItUpToTheEdges)
{
    auto window = Open();
    // The board has the keys from the start.
    EXPECT_EQ(window->focusWidget(), window->BPnl());
    LayBoard(window->Session().GameForTest(), { "甲.", "甲一", "乙一" });
    EXPECT_FALSE(window->CursorShown());
    EXPECT_FALSE(window->CursorFrame()->isVisible());

    Key(*window, Qt::Key_Up);
    ExpectCursorOn(*window, 0, 9); // shown where it stands, not moved
    Key(*window, Qt::Key_Up);
    ExpectCursorOn(*window, 0, 8);
    Key(*window, Qt::Key_Up);
    Key(*window, Qt::Key_Up);
    ExpectCursorOn(*window, 0, 7); // the top of the column
    Key(*window, Qt::Key_Right);
    ExpectCursorOn(*window, 1, 8); // the lower column's top tile
    Key(*window, Qt::Key_Right);
    ExpectCursorOn(*window, 1, 8); // the right edge of the board in play
    Key(*window, Qt::Key_Down);
    Key(*window, Qt::Key_Down);
    ExpectCursorOn(*window, 1, 9);
    Key(*window, Qt::Key_Left);
    Key(*window, Qt::Key_Left);
    ExpectCursorOn(*window, 0, 9);
    // Keys with Ctrl are not the board's.
    Key(*window, Qt::Key_Right, Qt::ControlModifier);
    ExpectCursorOn(*window, 0, 9);
}

TEST_F(KeyboardPlayTest, SpaceAndShiftSpaceAreTheTwoButtonsAndBackspaceUndoes)
{
    auto window = Open();
    LayBoard(window->Session().GameForTest(), { "甲一", "乙一" });
    // Space on a hidden cursor only shows it.
    Key(*window, Qt::Key_Space);
    ExpectCursorOn(*window, 0, 9);
    EXPECT_EQ(window->Tile(0, 9)->ZSet(), 0);

    Key(*window, Qt::Key_Space);
    EXPECT_EQ(window->Tile(0, 9)->ZSet(), 1);
    Key(*window, Qt::Key_Up);
    // Shift+Space as the right button: the pair is scored and stays.
    Key(*window, Qt::Key_Space, Qt::ShiftModifier);
    EXPECT_EQ(window->Tile(0, 8)->ZSet(), 1);
    EXPECT_EQ(window->Session().State().Remaining(), 4);
    EXPECT_EQ(window->SG1()->Grid()->Cell(0, 1), QStringLiteral("乙"));
    EXPECT_EQ(window->SG1()->Grid()->Cell(1, 1), QStringLiteral("甲"));
    // Space on a tile of the standing pair removes it. The column closes and the stars move
    // in under the cursor.
    Key(*window, Qt::Key_Space);
    EXPECT_EQ(window->Session().State().Remaining(), 2);
    EXPECT_EQ(window->Tile(0, 8)->Caption(), QStringLiteral("一"));
    ExpectCursorOn(*window, 0, 8);

    const int beeps = window->BeepCount();
    Key(*window, Qt::Key_Backspace);
    EXPECT_EQ(window->BeepCount() - beeps, 1);
    EXPECT_EQ(window->Session().State().Remaining(), 4);
    EXPECT_EQ(window->Tile(0, 8)->Caption(), QStringLiteral("甲"));
    ExpectCursorOn(*window, 0, 8);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(KeyboardPlayTest, TheFrameLeavesTheSelectionCircleAndTheNeighboursAlone)
{
    auto window = Open();
    LayBoard(window->Session().GameForTest(), { "甲一", "乙一" });
    Key(*window, Qt::Key_Right);
    Key(*window, Qt::Key_Space); // (0, 9) selected, the cursor on it
    ASSERT_EQ(window->Tile(0, 9)->ZSet(), 1);
    const QImage withCursor = window->BPnl()->grab().toImage();
    QTest::mouseClick(window->BPnl(), Qt::LeftButton, {}, QPoint(300, 30)); // hides it
    ASSERT_FALSE(window->CursorFrame()->isVisible());
    const QImage selected = window->BPnl()->grab().toImage();
    window->Session().Pick(At(0, 9), PickMode::Remove); // unselects
    ASSERT_EQ(window->Tile(0, 9)->ZSet(), 0);
    const QImage plain = window->BPnl()->grab().toImage();

    // The circle: what selecting changed. The cursor changes none of it.
    const QRect tile = window->Tile(0, 9)->geometry();
    int circle = 0;
    for (int y = tile.top(); y <= tile.bottom(); ++y)
        for (int x = tile.left(); x <= tile.right(); ++x)
            if (selected.pixel(x, y) != plain.pixel(x, y)) {
                ++circle;
                ASSERT_EQ(withCursor.pixel(x, y), selected.pixel(x, y)) << x << "," << y;
            }
    EXPECT_GT(circle, 60);
    // The neighbours' faces are untouched.
    for (const QRect& other : { window->Tile(1, 9)->geometry(), window->Tile(0, 8)->geometry() }) {
        const QRect face = other.adjusted(1, 1, -1, -1);
        for (int y = face.top(); y <= face.bottom(); ++y)
            for (int x = face.left(); x <= face.right(); ++x)
                ASSERT_EQ(withCursor.pixel(x, y), selected.pixel(x, y)) << x << "," << y;
    }
    // The frame lies on the outlines around the tile, all the way round.
    const QRgb yellow = qRgb(255, 255, 0);
    for (int i = -1; i <= 30; ++i)
        for (const QPoint& p : { QPoint(tile.left() + i, tile.top() - 1), QPoint(tile.left() + i, tile.top()),
                 QPoint(tile.left() - 1, tile.top() + i), QPoint(tile.right() + 1, tile.top() + i),
                 QPoint(tile.left() + i, tile.bottom() + 1) })
            ASSERT_EQ(withCursor.pixel(p), yellow) << p.x() << "," << p.y();
}

TEST_F(KeyboardPlayTest, AMousePressOnTheBoardHidesTheCursorAndTakesTheFocusBack)
{
    auto window = Open();
    LayBoard(window->Session().GameForTest(), { "甲一", "乙一" });
    Key(*window, Qt::Key_Left);
    ASSERT_TRUE(window->CursorShown());

    window->CBH()->setFocus();
    ASSERT_EQ(window->focusWidget(), window->CBH());
    QTest::mouseClick(window->Tile(1, 8), Qt::RightButton);
    EXPECT_FALSE(window->CursorShown());
    EXPECT_FALSE(window->CursorFrame()->isVisible());
    EXPECT_EQ(window->focusWidget(), window->BPnl());
    // The cursor waits on the pressed tile and shows there at the next arrow.
    Key(*window, Qt::Key_Down);
    ExpectCursorOn(*window, 1, 8);

    // A press on the board beside the tiles does the same.
    window->CG1()->Box(0)->setFocus();
    QTest::mouseClick(window->BPnl(), Qt::LeftButton, {}, QPoint(300, 30));
    EXPECT_FALSE(window->CursorShown());
    EXPECT_EQ(window->focusWidget(), window->BPnl());
    EXPECT_EQ(window->CursorTile(), At(1, 8));
}

TEST_F(KeyboardPlayTest, ControlsWithTheFocusKeepTheirOwnKeys)
{
    auto window = Open();
    LayBoard(window->Session().GameForTest(), { "甲一", "乙一" });
    const QStringList board = Picture(window->Session().State(), 2, 2);
    const int beeps = window->BeepCount();

    window->CBH()->setFocus();
    QTest::keyClick(window->CBH(), Qt::Key_Down);
    EXPECT_EQ(window->CBH()->currentText(), QStringLiteral("4"));
    QTest::keyClick(window->CBH(), Qt::Key_Backspace);
    QTest::keyClick(window->CBH(), Qt::Key_H);

    TGroupCheckBox* stars = window->CG1()->Box(2);
    stars->setFocus();
    QTest::keyClick(stars, Qt::Key_Space);
    EXPECT_EQ(window->CG1()->BitChk(), 5);
    QTest::keyClick(stars, Qt::Key_Left);

    // None of it reached the board: no cursor, no pick, no undo, no hint.
    EXPECT_FALSE(window->CursorShown());
    EXPECT_EQ(window->BeepCount(), beeps);
    EXPECT_TRUE(window->Session().State().Selection().isEmpty());
    EXPECT_EQ(Picture(window->Session().State(), 2, 2), board);
}

TEST_F(KeyboardPlayTest, TheCursorKeepsToATileInPlayAsTheBoardChanges)
{
    auto window = Open();
    LayBoard(window->Session().GameForTest(), { "丙...", "甲子一四", "乙丑一三" });
    auto press = [&](std::initializer_list<Qt::Key> keys) {
        for (Qt::Key key : keys)
            Key(*window, key);
    };
    // The middle stars go from under the cursor: their column closes and the next one
    // moves in under it.
    press({ Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Up, Qt::Key_Space, Qt::Key_Down,
        Qt::Key_Space });
    ASSERT_EQ(window->Session().State().Remaining(), 7);
    ExpectCursorOn(*window, 2, 9);
    EXPECT_EQ(window->Tile(2, 9)->Caption(), QStringLiteral("三"));

    // The last column goes: the cursor steps left onto the board.
    press({ Qt::Key_Up, Qt::Key_Space, Qt::Key_Down, Qt::Key_Space });
    ASSERT_EQ(window->Session().State().Remaining(), 5);
    ExpectCursorOn(*window, 1, 9);

    // The top pair of a column: the cursor, left above the column, comes down to its top.
    press({ Qt::Key_Left, Qt::Key_Up, Qt::Key_Up, Qt::Key_Space, Qt::Key_Down, Qt::Key_Space });
    ASSERT_EQ(window->Session().State().Remaining(), 3);
    ExpectCursorOn(*window, 0, 9);

    // Undone to the start: every tile back, the cursor where it was.
    press({ Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace });
    EXPECT_EQ(window->Session().State().Remaining(), 9);
    ExpectCursorOn(*window, 0, 9);
    EXPECT_TRUE(messages.isEmpty());

    // A new deal keeps the cursor on the board.
    press({ Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Up });
    ExpectCursorOn(*window, 3, 8);
    QTest::mouseClick(window->StartBtn(), Qt::LeftButton);
    ExpectCursorOn(*window, 3, 8);
    // From the top right corner of the largest board to the smallest: the nearest tile.
    window->CBH()->setCurrentIndex(7);
    window->CBW()->setCurrentIndex(4);
    QTest::mouseClick(window->StartBtn(), Qt::LeftButton);
    for (int i = 0; i < 9; ++i)
        press({ Qt::Key_Right, Qt::Key_Up });
    ExpectCursorOn(*window, 11, 0);
    window->CBH()->setCurrentIndex(0);
    window->CBW()->setCurrentIndex(0);
    QTest::mouseClick(window->StartBtn(), Qt::LeftButton);
    ExpectCursorOn(*window, 3, 7);
}

TEST_F(KeyboardPlayTest, TheHintMovesTheCursorToTheTileItPicks)
{
    auto window = Open();
    LayBoard(window->Session().GameForTest(), { "甲乙一", "子一二" });
    // By mouse: the cursor stays hidden but waits on the hinted tile.
    QTest::mouseClick(window->HintBtn(), Qt::LeftButton);
    ASSERT_EQ(window->Tile(0, 8)->ZSet(), 1);
    EXPECT_EQ(window->CursorTile(), At(0, 8));
    EXPECT_FALSE(window->CursorShown());
    // H takes the pick back (the cursor stays), then hints again and shows the cursor.
    Key(*window, Qt::Key_Down);
    ExpectCursorOn(*window, 0, 8);
    Key(*window, Qt::Key_Down);
    ExpectCursorOn(*window, 0, 9);
    Key(*window, Qt::Key_H);
    EXPECT_EQ(window->Tile(0, 8)->ZSet(), 0);
    ExpectCursorOn(*window, 0, 9);
    Key(*window, Qt::Key_H);
    EXPECT_EQ(window->Tile(0, 8)->ZSet(), 1);
    ExpectCursorOn(*window, 0, 8);
    // Its partner by keyboard: the pair goes.
    Key(*window, Qt::Key_Right);
    Key(*window, Qt::Key_Space);
    EXPECT_EQ(window->Session().State().Remaining(), 4);
    EXPECT_TRUE(messages.isEmpty());
}

} // namespace
