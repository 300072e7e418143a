// SPDX-License-Identifier: MIT
// A whole game through the real windows, as a player plays it: tiles clicked with the
// mouse until the board is empty, the end-of-game notice, the name entry typed into, the
// ranking shown with the new entry highlighted, closed and saved, and a new deal.

#include "windows/AppWindows.h"
#include "controls/BrimBtn.h"
#include "controls/ChkGroup.h"
#include "app/GameSession.h"
#include "windows/Main.h"
#include "windows/Name.h"
#include "windows/Rank.h"
#include "platform/Registry.h"
#include "windows/Setu.h"
#include "controls/StringGrid.h"
#include "game/Symbols.h"

// Qt
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// GoogleTest
#include <gtest/gtest.h>

namespace {

class GameFlowTest : public ::testing::Test
{
protected:
    GameFlowTest() { Registry::SetUserFileOverride(QDir(dir.path()).filePath("user.reg")); }
    ~GameFlowTest() override { Registry::SetUserFileOverride(QString()); }

    QTemporaryDir dir;
};

// Clicks pairs until the game ends; stems only, so every neighbour pairs and the board can
// always be cleared (the tiles left stand packed at the bottom left).
int PlayToTheEnd(TMainF& main)
{
    int pairs = 0;
    const Game& game = main.Session().State();
    const int moveRowAtStart = game.MoveRow();
    for (int guard = 0; guard < 200 && game.MoveRow() == moveRowAtStart + pairs; ++guard) {
        const int first = game.FindMove();
        if (!Game::IsTileNumber(first))
            break;
        const int c = (first - 1) % Game::Cols;
        const int r = (first - 1) / Game::Cols;
        int partner = 0;
        for (auto [dc, dr] : { std::pair { 0, -1 }, std::pair { 0, 1 }, std::pair { 1, 0 }, std::pair { -1, 0 } }) {
            const int pc = c + dc, pr = r + dr;
            if (pc >= 0 && pc < Game::Cols && pr >= 0 && pr < Game::Rows && game.TileAt(pc, pr).visible) {
                partner = Game::TileNumber(pc, pr);
                break;
            }
        }
        if (partner == 0)
            break;
        QTest::mouseClick(main.Tile(c, r), Qt::LeftButton);
        QTest::mouseClick(main.Tile((partner - 1) % Game::Cols, (partner - 1) / Game::Cols), Qt::LeftButton);
        // The end of a game is handled once the click has returned.
        QCoreApplication::processEvents();
        ++pairs;
    }
    return pairs;
}

TEST_F(GameFlowTest, AWholeGameEndsInTheRankingAndIsSaved)
{
    AppWindows windows(dir.path());
    TMainF& main = windows.Main();
    QStringList messages;
    int pointsAtTheEnd = 0;
    main.SetMessageHook([&](const QString& text) {
        messages << text;
        pointsAtTheEnd = main.Session().State().PointsTotal();
    });
    main.show();
    ASSERT_EQ(main.CG1()->BitChk(), 1);
    ASSERT_EQ(main.Session().State().Remaining(), 12);

    // The name entry opens modally: type into it as a player would and press OK.
    bool nameShown = false;
    std::function<void()> answer = [&] {
        auto* name = qobject_cast<TNameF*>(QApplication::activeModalWidget());
        if (!name) {
            QTimer::singleShot(10, answer);
            return;
        }
        nameShown = true;
        name->Edit1()->setText(QStringLiteral("五行"));
        QTest::keyClicks(name->Edit1(), QStringLiteral(",pro"));
        QTest::mouseClick(name->OKBtn(), Qt::LeftButton);
    };
    QTimer::singleShot(0, answer);
    const int pairs = PlayToTheEnd(main);
    EXPECT_EQ(pairs, 6);
    EXPECT_EQ(messages, QStringList { QStringLiteral("ぜんぶ、消せましたぁ") });
    EXPECT_TRUE(nameShown);

    // The ranking shows the result highlighted; a new board is already dealt.
    TRankF& rank = windows.Rank();
    ASSERT_TRUE(rank.isVisible());
    EXPECT_EQ(rank.HighlightRow(), 1);
    EXPECT_EQ(rank.SG0()->Grid()->Cell(1, 1), QStringLiteral("五行，pro"));
    EXPECT_EQ(rank.SG0()->Grid()->Cell(2, 1), QString::number(pointsAtTheEnd));
    EXPECT_EQ(main.Session().State().MoveRow(), 1);

    QTest::mouseClick(rank.OKBtn(), Qt::LeftButton);
    EXPECT_FALSE(rank.isVisible());
    QFile file(QDir(dir.path()).filePath("Rank.dat"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], QByteArray("Rank,Name,Point,Time,\r"));
    // "1,五行，pro,<points>,yyyy/mm/dd hh:nn," in Shift-JIS.
    EXPECT_TRUE(lines[1].startsWith(QByteArray("1,\x8C\xDC\x8D\x73\x81\x43pro,")
                                    + QByteArray::number(pointsAtTheEnd) + ","))
        << lines[1].toStdString();
    EXPECT_EQ(lines[1].size(), QByteArray("1,xxxxxxpro,,yyyy/mm/dd hh:nn,\r").size()
                                   + QByteArray::number(pointsAtTheEnd).size());
}

TEST_F(GameFlowTest, HighScoresFromTheMenuShowTheTableOnly)
{
    AppWindows windows(dir.path());
    TMainF& main = windows.Main();
    main.show();
    main.Action("H1")->trigger();
    TRankF& rank = windows.Rank();
    EXPECT_TRUE(rank.isVisible());
    EXPECT_EQ(rank.windowTitle(), QStringLiteral("RanKing Top 30"));
    EXPECT_EQ(rank.Grid().Cell(1, 1), QString());
    QTest::mouseClick(rank.OKBtn(), Qt::LeftButton);
    // Looking at the ranking ends the game in progress: a new deal.
    EXPECT_EQ(main.Session().State().MoveRow(), 1);
    EXPECT_TRUE(QFile::exists(QDir(dir.path()).filePath("Rank.dat")));
}

TEST_F(GameFlowTest, ScoreTablesOfTheOptionsDialogScoreThePairs)
{
    AppWindows windows(dir.path());
    TMainF& main = windows.Main();
    TextGrid* stems = windows.Setu().ScoreTable(1);
    ASSERT_NE(stems, nullptr);
    // An edit in the dialog's table counts from the moment it is made.
    stems->SetRowCount(101);
    stems->SetCell(0, 1, QStringLiteral("甲"));
    stems->SetCell(1, 1, QStringLiteral("乙"));
    stems->SetCell(2, 1, QStringLiteral("42"));
    stems->SetCell(3, 1, QStringLiteral("特別"));
    std::array<QString, Game::TileCount> captions;
    std::array<bool, Game::TileCount> visible {};
    captions[108] = QStringLiteral("甲");
    captions[109] = QStringLiteral("乙");
    captions[110] = QStringLiteral("甲");
    captions[111] = QStringLiteral("乙");
    for (int i = 108; i < 112; ++i)
        visible[size_t(i)] = true;
    main.Session().GameForTest().SetBoardForTest(captions, visible);
    main.show();
    QTest::mouseClick(main.Tile(0, 9), Qt::LeftButton);
    QTest::mouseClick(main.Tile(1, 9), Qt::LeftButton);
    EXPECT_EQ(main.SG1()->Grid()->Cell(2, 1), QStringLiteral("42"));
    EXPECT_EQ(main.SG1()->Grid()->Cell(3, 1), QStringLiteral("特別"));
    EXPECT_EQ(main.PntL()->text(), QStringLiteral("ポイント： 42  "));
}

} // namespace
