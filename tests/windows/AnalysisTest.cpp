// SPDX-License-Identifier: MIT
// The best-score window beside a real main window: opened from the File menu with a first
// result at once, it follows a game played by mouse clicks (the best line followed move by
// move keeps its proved total), marks the next pair without touching the game, holds on to
// a finished game, answers for the deal, and stops on request.

#include "../core/GameTestSupport.h"

#include "windows/Analysis.h"
#include "controls/BrimBtn.h"
#include "app/AppModel.h"
#include "app/GameSession.h"
#include "windows/Main.h"
#include "platform/Registry.h"
#include "solver/GameBridge.h"
#include "controls/StringGrid.h"

// Qt
#include <QAction>
#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// GoogleTest
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString Proven = QStringLiteral("最高点（確定）");

class AnalysisTest : public ::testing::Test
{
protected:
    AnalysisTest()
    {
        Registry::SetUserFileOverride(QDir(dir.path()).filePath("user.reg"));
        model = std::make_unique<AppModel>(dir.path());
        main = std::make_unique<TMainF>(*model);
        main->SetMessageHook([this](const QString& text) { messages << text; });
        tables.AttachTo(main->Session().GameForTest());
        main->show();
    }
    ~AnalysisTest() override
    {
        main.reset();
        Registry::SetUserFileOverride(QString());
    }

    TAnalysisF* OpenAnalysis()
    {
        main->Action(QStringLiteral("Best1"))->trigger();
        return main->findChild<TAnalysisF*>();
    }

    // Clicks the tiles of the best line's first move with the left button, as a player would.
    void PlayFirstMoveOf(const TAnalysisF& analysis)
    {
        const Solver::Run* run = analysis.CurrentRun();
        const Solver::Picks picks = Solver::PicksOf(run->Start(), run->Current().best.moves.front(), run->Values());
        for (const int tile : { picks.first, picks.second })
            QTest::mouseClick(main->Tile((tile - 1) % Game::Cols, (tile - 1) / Game::Cols), Qt::LeftButton);
    }

    static bool WaitProven(TAnalysisF& analysis)
    {
        return QTest::qWaitFor([&] {
            analysis.Poll();
            return analysis.BestCaption()->text() == Proven;
        }, 20000);
    }

    QTemporaryDir dir;
    QStringList messages;
    DefaultTables tables;
    std::unique_ptr<AppModel> model;
    std::unique_ptr<TMainF> main;
};

TEST_F(AnalysisTest, OpensFromTheFileMenuWithAResultAtOnce)
{
    TAnalysisF* analysis = OpenAnalysis();
    ASSERT_NE(analysis, nullptr);
    EXPECT_TRUE(analysis->isVisible());
    // Every deal has a number, and the title names it.
    EXPECT_EQ(analysis->windowTitle(),
        QStringLiteral("この盤面の最高点（盤面番号 %1）").arg(main->Session().State().DealNumber()));
    EXPECT_EQ(main->Action(QStringLiteral("Best1"))->text(), QStringLiteral("この盤面の最高点(&B)…"));
    EXPECT_FALSE(analysis->BestTotal()->text().isEmpty());
    EXPECT_EQ(OpenAnalysis(), analysis); // one window, brought to the front
    analysis->SetDealNumber(4096);
    EXPECT_EQ(analysis->windowTitle(), QStringLiteral("この盤面の最高点（盤面番号 4096）"));
    // Esc closes it, as it closes a dialog.
    analysis->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(analysis));
    QTest::keyClick(analysis, Qt::Key_Escape);
    EXPECT_FALSE(analysis->isVisible());
}

TEST_F(AnalysisTest, ABoardItCannotReadIsSaidSoAndNothingRuns)
{
    TAnalysisF* analysis = OpenAnalysis();
    LayBoard(main->Session().GameForTest(), { "甲甲", "甲." }); // a tile over a hole: no deal makes it
    QCoreApplication::processEvents();
    EXPECT_EQ(analysis->CurrentRun(), nullptr);
    EXPECT_EQ(analysis->Note()->text(), QStringLiteral("この盤面は調べられません"));
    EXPECT_FALSE(analysis->NextBtn()->isEnabled());
    EXPECT_FALSE(analysis->StopBtn()->isEnabled());
    analysis->NextMoveClick();
    analysis->StopClick();
    analysis->Poll();
    EXPECT_EQ(analysis->MarkedTiles(), std::make_pair(0, 0));
}

TEST_F(AnalysisTest, FollowsTheBestLineToTheEndAndHoldsTheFinishedGame)
{
    LayBoard(main->Session().GameForTest(), { "丙甲子亥", "甲丙丑子", "壬甲寅卯", "癸丁卯辰" });
    const quint32 deal = main->Session().State().DealNumber();
    TAnalysisF* analysis = OpenAnalysis();
    ASSERT_TRUE(WaitProven(*analysis));
    const QString best = analysis->BestTotal()->text();
    int moves = 0;
    while (messages.isEmpty()) {
        // Every position on the best line has the same best total for the game.
        ASSERT_TRUE(WaitProven(*analysis));
        EXPECT_EQ(analysis->BestTotal()->text(), best) << "after move " << moves;
        // The next pair is marked on the board; the game does not see it.
        ASSERT_TRUE(analysis->NextBtn()->isEnabled());
        analysis->NextMoveClick();
        const Solver::Run* run = analysis->CurrentRun();
        const Solver::Picks picks = Solver::PicksOf(run->Start(), run->Current().best.moves.front(), run->Values());
        EXPECT_EQ(analysis->MarkedTiles(), std::make_pair(picks.first, picks.second));
        EXPECT_TRUE(main->Session().State().Selection().isEmpty());
        // Played, the marks go and the search starts from the new position.
        PlayFirstMoveOf(*analysis);
        ++moves;
        EXPECT_EQ(analysis->MarkedTiles(), std::make_pair(0, 0));
        QCoreApplication::processEvents();
        if (messages.isEmpty()) {
            EXPECT_EQ(analysis->CurrentRun()->Start(), *Solver::BoardOfGame(main->Session().State()));
        }
    }
    EXPECT_GE(moves, 5);
    // The game ended and dealt again: the window keeps the finished game, from its deal.
    ASSERT_TRUE(WaitProven(*analysis));
    EXPECT_EQ(analysis->BestTotal()->text(), best);
    EXPECT_EQ(analysis->PlayerTotal()->text(), best);
    EXPECT_TRUE(analysis->Note()->text().contains(QStringLiteral("終わったゲーム")));
    EXPECT_EQ(analysis->windowTitle(), TAnalysisF::Title(deal)); // not the new deal's number
    EXPECT_FALSE(analysis->NextBtn()->isEnabled());
    EXPECT_EQ(analysis->Line()->Grid()->Cell(0, 1).isEmpty(), false);
}

TEST_F(AnalysisTest, TheDealIsReadBackAndTheSearchStopsOnRequest)
{
    LayBoard(main->Session().GameForTest(), { "甲乙子丑一二三四五六", "丙丁寅卯七八九一二三", "戊己辰巳四五六七八九",
                                  "庚辛午未一二三四五六", "壬癸申酉七八九一二三", "甲乙戌亥四五六七八九" });
    TAnalysisF* analysis = OpenAnalysis();
    const Solver::Board dealt = analysis->CurrentRun()->Start();
    PlayFirstMoveOf(*analysis);
    QCoreApplication::processEvents();
    analysis->SetSource(TAnalysisF::Source::Deal);
    const Solver::Run* fromDeal = analysis->CurrentRun();
    EXPECT_EQ(fromDeal->Start(), dealt);
    EXPECT_FALSE(analysis->NextBtn()->isEnabled()); // the line starts at the deal, not here
    // A move does not change the deal: the search goes on.
    const Solver::Board now = *Solver::BoardOfGame(main->Session().State());
    const Solver::Picks picks = Solver::PicksOf(now, Solver::Greedy(now, fromDeal->Values()).moves.front(), fromDeal->Values());
    for (const int tile : { picks.first, picks.second })
        QTest::mouseClick(main->Tile((tile - 1) % Game::Cols, (tile - 1) / Game::Cols), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(analysis->CurrentRun(), fromDeal);

    analysis->StopClick();
    ASSERT_TRUE(QTest::qWaitFor([&] {
        analysis->Poll();
        return !analysis->StopBtn()->isEnabled() && analysis->CurrentRun()->Current().finished;
    }, 5000));
    EXPECT_NE(analysis->BestCaption()->text(), QStringLiteral("これ以上（探索中）"));
    const Solver::Run::State state = analysis->CurrentRun()->Current();
    EXPECT_TRUE(Solver::ReplayLine(dealt, state.best.moves, analysis->CurrentRun()->Values()).legal);
    EXPECT_EQ(analysis->Line()->Grid()->RowCount(), int(state.best.moves.size()) + 1);
}

} // namespace
