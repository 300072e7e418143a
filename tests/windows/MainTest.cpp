// SPDX-License-Identifier: MIT
// The main window through its real controls: the first start, settings kept across a
// restart, colouring, the start command's refusal, a pair removed by mouse, undo, and a
// clearable deal played to its end by mouse.

#include "../core/GameTestSupport.h"

#include "windows/About.h"
#include "controls/BrimBtn.h"
#include "controls/ChkGroup.h"
#include "controls/GradBox.h"
#include "windows/HelpViewer.h"
#include "app/GameSession.h"
#include "windows/Main.h"
#include "controls/NBAry.h"
#include "platform/Registry.h"
#include "controls/StringGrid.h"
#include "game/Symbols.h"
#include "controls/URLLink.h"
#include "store/SettingsStore.h"
#include "store/Keys.h"
#include "controls/StringGrid.h"
#include "game/Symbols.h"
#include "app/AppModel.h"

// Qt
#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

// GoogleTest
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class MainWindowTest : public ::testing::Test
{
protected:
    MainWindowTest() { Registry::SetUserFileOverride(QDir(dir.path()).filePath("user.reg")); }
    ~MainWindowTest() override { Registry::SetUserFileOverride(QString()); }

    // A start of the main window alone, over a model of its own.
    std::unique_ptr<TMainF> Open()
    {
        models.push_back(std::make_unique<AppModel>(dir.path()));
        auto window = std::make_unique<TMainF>(*models.back());
        window->SetMessageHook([this](const QString& text) { messages << text; });
        window->show();
        return window;
    }

    static int StripTotal(TMainF& window)
    {
        int total = 0;
        for (int j = 0; j < 5; ++j)
            total += window.GSG()->Buttons(j, 0)->Caption().toInt();
        return total;
    }

    QTemporaryDir dir;
    std::vector<std::unique_ptr<AppModel>> models;
    QStringList messages;
};

TEST_F(MainWindowTest, FirstStartDealsThreeByFourStemsAtTheBottomLeft)
{
    auto window = Open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("OrbiloVer1.10"));
    EXPECT_EQ(window->CBH()->currentText(), QStringLiteral("3"));
    EXPECT_EQ(window->CBW()->currentText(), QStringLiteral("4"));
    EXPECT_EQ(window->CG1()->BitChk(), 1);
    EXPECT_EQ(window->RGC()->checkedId(), 0);
    for (int c = 0; c < Game::Cols; ++c)
        for (int r = 0; r < Game::Rows; ++r) {
            TBrimBtn* tile = window->Tile(c, r);
            EXPECT_EQ(tile->isVisible(), c < 4 && r >= 7) << c << "," << r;
            if (tile->isVisible()) {
                EXPECT_EQ(Symbols::SymbolKind(tile->Caption()), Symbols::Stem);
                // Tiles sit on the board panel at 30 x column + 2 x bevel + 1.
                EXPECT_EQ(tile->geometry(), QRect(30 * c + 17, 30 * r + 17, 30, 30));
            }
        }
    EXPECT_EQ(StripTotal(*window), 12);
    EXPECT_EQ(window->ZanL()->text(), QStringLiteral("　残：12 　"));
    EXPECT_EQ(window->PntL()->text(), QStringLiteral("ポイント：  0 "));
    EXPECT_EQ(window->OuterSize().width(), 572);
    // The element strip shows the element colours.
    EXPECT_EQ(window->GSG()->Buttons(0, 0)->TopColor(), Symbols::ElementColors[0]);
    EXPECT_EQ(window->GSG()->Buttons(4, 0)->TopColor(), Symbols::ElementColors[4]);
}

TEST_F(MainWindowTest, WindowIsSizedFromTheMenuBarAsLaidOut)
{
    // Any other height than the laid-out one goes to the board panel. (The panel itself is
    // measured by the desktop test: the offscreen frame is not the one the formula assumes.)
    auto window = Open();
    const int before = window->menuBar()->height();
    EXPECT_EQ(window->OuterSize(), QSize(572, 2 * before + 360));
    QFont taller = window->menuBar()->font();
    taller.setPixelSize(QFontInfo(taller).pixelSize() + 9);
    window->menuBar()->setFont(taller);
    window->hide();
    window->show();
    ASSERT_GT(window->menuBar()->height(), before);
    EXPECT_EQ(window->OuterSize(), QSize(572, 2 * window->menuBar()->height() + 360));
}

TEST_F(MainWindowTest, ChoicesAreRememberedAcrossARestart)
{
    {
        auto window = Open();
        window->CBH()->setCurrentIndex(3); // "6"
        window->CBW()->setCurrentIndex(3); // "10"
        window->CG1()->SetBitChk(3);
        window->RGC()->button(1)->click();
        window->close();
    }
    auto window = Open();
    EXPECT_EQ(window->CBH()->currentText(), QStringLiteral("6"));
    EXPECT_EQ(window->CBW()->currentText(), QStringLiteral("10"));
    EXPECT_EQ(window->CG1()->BitChk(), 3);
    EXPECT_EQ(window->RGC()->checkedId(), 1);
    // The first deal already uses them: 6 x 10 of stems and branches, uncoloured.
    EXPECT_EQ(window->Session().State().Remaining(), 60);
    EXPECT_EQ(window->Tile(0, 9)->TopColor(), Symbols::ColorBtnFace);
    EXPECT_EQ(StripTotal(*window), 60);
}

TEST_F(MainWindowTest, OutOfRangeStoredChoicesFallBackToTheFirstItem)
{
    {
        auto store = Registry::User();
        const QString sys = QStringLiteral("Software\\Brimwell\\TESRIK\\Sys");
        ASSERT_TRUE(store->OpenKey(sys, RegOpen::Create).Ok());
        ASSERT_TRUE(store->WriteValue(sys, "CBH", RegValue::Text("42")).Ok());
        ASSERT_TRUE(store->WriteValue(sys, "CBW", RegValue::Text("-1")).Ok());
    }
    auto window = Open();
    EXPECT_EQ(window->CBH()->currentIndex(), 0);
    EXPECT_EQ(window->CBW()->currentIndex(), 0);
    EXPECT_EQ(window->Session().State().Remaining(), 12);
}

TEST_F(MainWindowTest, PlainColouringGreysEveryTileAtOnce)
{
    auto window = Open();
    QTest::mouseClick(window->RGC()->button(1), Qt::LeftButton);
    for (int c = 0; c < Game::Cols; ++c)
        for (int r = 0; r < Game::Rows; ++r)
            EXPECT_EQ(window->Tile(c, r)->TopColor(), Symbols::ColorBtnFace);
    QTest::mouseClick(window->RGC()->button(0), Qt::LeftButton);
    const QString caption = window->Tile(0, 9)->Caption();
    EXPECT_EQ(window->Tile(0, 9)->TopColor(), Symbols::ElementColors[Symbols::SymbolElement(caption)]);
}

TEST_F(MainWindowTest, StartWithNoSetTickedBeepsTwiceAndKeepsTheBoard)
{
    auto window = Open();
    QStringList before;
    for (int c = 0; c < 4; ++c)
        before << window->Tile(c, 9)->Caption();
    window->CG1()->SetBitChk(0);
    const int beeps = window->BeepCount();
    QTest::mouseClick(window->StartBtn(), Qt::LeftButton);
    EXPECT_EQ(window->BeepCount() - beeps, 2);
    EXPECT_EQ(messages, QStringList { QStringLiteral("使用するものを一つ以上チェックして下さい。") });
    QStringList after;
    for (int c = 0; c < 4; ++c)
        after << window->Tile(c, 9)->Caption();
    EXPECT_EQ(after, before);

    // With a set ticked the menu's start deals anew, with one beep.
    window->CG1()->SetBitChk(4);
    window->Action("New1")->trigger();
    EXPECT_EQ(window->BeepCount() - beeps, 3);
    EXPECT_EQ(Symbols::SymbolKind(window->Tile(0, 9)->Caption()), Symbols::Star);
    EXPECT_EQ(window->StartBtn()->FontColor(), SysColors::clWhite);
}

TEST_F(MainWindowTest, ALeftButtonPairIsRemovedByMouseAndUndoneByButtonAndMenu)
{
    auto window = Open();
    DefaultTables tables;
    tables.AttachTo(window->Session().GameForTest());
    LayBoard(window->Session().GameForTest(), { "甲一", "乙一" });
    QTest::mouseClick(window->Tile(0, 8), Qt::LeftButton);
    EXPECT_EQ(window->Tile(0, 8)->ZSet(), 1);
    EXPECT_EQ(window->SG1()->Grid()->Cell(0, 1), QStringLiteral("甲"));
    QTest::mouseClick(window->Tile(0, 9), Qt::LeftButton);
    // Column 0 emptied and closed: the stars stand in it now.
    EXPECT_EQ(window->Tile(0, 9)->Caption(), QStringLiteral("一"));
    EXPECT_FALSE(window->Tile(1, 9)->isVisible());
    EXPECT_EQ(window->ZanL()->text(), QStringLiteral("　残：2 　"));
    EXPECT_EQ(window->SG1()->Grid()->Cell(2, 1), QStringLiteral("3"));

    QTest::mouseClick(window->ReBtn(), Qt::LeftButton);
    EXPECT_EQ(window->Tile(0, 8)->Caption(), QStringLiteral("甲"));
    EXPECT_EQ(window->Tile(0, 9)->Caption(), QStringLiteral("乙"));
    EXPECT_TRUE(window->Tile(1, 9)->isVisible());
    EXPECT_EQ(window->Tile(0, 8)->ZSet(), 0);
    EXPECT_EQ(window->ZanL()->text(), QStringLiteral("　残：4 　"));

    QTest::mouseClick(window->Tile(1, 8), Qt::LeftButton);
    QTest::mouseClick(window->Tile(1, 9), Qt::LeftButton);
    EXPECT_FALSE(window->Tile(1, 9)->isVisible());
    window->Action("R1")->trigger();
    EXPECT_TRUE(window->Tile(1, 9)->isVisible());
    EXPECT_EQ(window->Tile(1, 8)->Caption(), QStringLiteral("一"));
}

TEST_F(MainWindowTest, HintSelectsATileThatHasAPartner)
{
    auto window = Open();
    LayBoard(window->Session().GameForTest(), { "甲一", "子丑" });
    QTest::mouseClick(window->HintBtn(), Qt::LeftButton);
    EXPECT_EQ(window->Tile(0, 9)->ZSet(), 1);
    QTest::mouseClick(window->HintBtn(), Qt::LeftButton);
    EXPECT_EQ(window->Tile(0, 9)->ZSet(), 0);
}

TEST_F(MainWindowTest, MenuCaptionsAndHelp)
{
    auto window = Open();
    const struct { const char* name; const char* caption; } items[] = {
        { "New1", "スタート(&N)" }, { "R1", "元に戻す(&R)" }, { "H1", "ハイスコア(&H)" },
        { "Exit1", "終了(&X)" }, { "O1", "設定(&S)" }, { "Contents1", "目次(&C)" },
        { "About1", "バージョン情報(&A)..." }, { "W1", "ｻﾎﾟｰﾄﾍﾟｰｼﾞへ(&W)" } };
    for (const auto& item : items) {
        QAction* action = window->Action(QLatin1String(item.name));
        ASSERT_NE(action, nullptr) << item.name;
        EXPECT_EQ(action->text(), QString::fromUtf8(item.caption));
    }
    window->Action("Contents1")->trigger();
    ASSERT_NE(HelpViewer::Current(), nullptr);
    EXPECT_EQ(HelpViewer::Current()->Page(), Help::PageUrl(Help::Contents));
    HelpViewer::Current()->close();
}

TEST(AboutBoxTest, ShowsTheTitleOnItsGradient)
{
    TAboutBox about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_EQ(about.Label1()->Caption(), QStringLiteral("OrbiloVer1.10"));
    EXPECT_EQ(about.size(), QSize(301, 141));
    EXPECT_FALSE(about.ProgramIcon()->pixmap().isNull());
    // Only the link's own hint window speaks here: a standard tooltip would stand over it.
    EXPECT_TRUE(about.URLLink1()->toolTip().isEmpty());
    EXPECT_TRUE(about.URLLink1()->EnableShowHint());
}

TEST_F(MainWindowTest, AClearableDealPlayedByMouseThroughTheWindowClearsTheBoard)
{
    {
        SettingsStore store = OpenStore(Keys::Root);
        store.WriteFlag(Keys::Set::Solvable, true);
        store.WriteNumber(Keys::Sys::CBH, 7); // 10 rows
        store.WriteNumber(Keys::Sys::CBW, 4); // 12 columns
        store.WriteNumber(Keys::Sys::CG1, 7);
    }
    auto window = Open();
    const Game& game = window->Session().State();
    ASSERT_EQ(game.Remaining(), 120);
    const std::vector<SolvableDeal::Removal> solution = game.DealSolution();
    ASSERT_EQ(solution.size(), 60u);
    for (const SolvableDeal::Removal& pair : solution) {
        for (int n : { pair.first, pair.second })
            QTest::mouseClick(window->Tile((n - 1) % Game::Cols, (n - 1) / Game::Cols), Qt::LeftButton);
        QCoreApplication::processEvents();
        if (!messages.isEmpty())
            break;
    }
    EXPECT_EQ(messages, QStringList { QStringLiteral("ぜんぶ、消せましたぁ") });
    // And the next board is dealt to clear as well.
    EXPECT_EQ(game.Remaining(), 120);
    EXPECT_EQ(game.DealSolution().size(), 60u);
}

} // namespace
