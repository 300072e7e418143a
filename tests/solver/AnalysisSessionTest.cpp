// SPDX-License-Identifier: MIT
// The analysis session following games played through the rules, on seeded deals of every
// set choice: which changes keep the search and which start a new one, from the position
// and from the deal; the finished game held until the first move on the next board, whether
// the next deal comes before the session looks or after; the marked pair and when it goes;
// a board it cannot read.

#include "GameTestSupport.h"
#include "solver/AnalysisSession.h"

// Qt
#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

// GoogleTest
#include <gtest/gtest.h>

#include <memory>

using Solver::AnalysisSession;
using Solver::Board;
using Solver::BoardOfGame;

namespace {

struct Fixture
{
    RecordingHost host;
    std::unique_ptr<Game> game = std::make_unique<Game>(host);
    DefaultTables tables;
    std::unique_ptr<AnalysisSession> session;

    explicit Fixture(quint32 seed, int sets = 7)
    {
        host.game = game.get();
        host.deal = DealSettings { 4, 4, { (sets & 1) != 0, (sets & 2) != 0, (sets & 4) != 0 } };
        tables.AttachTo(*game);
        game->Seed(seed);
        game->NewGame();
        Solver::Run::Options options = AnalysisSession::WindowOptions();
        options.threads = 2;
        session = std::make_unique<AnalysisSession>(*game, options);
    }

    // A change of the game, reported as the game's owner reports it, and the session's look
    // at it once the event is done.
    template <class Edit> void Change(Edit&& change)
    {
        change();
        session->GameChanged();
        QCoreApplication::processEvents();
    }
    // Plays the first move of the greedy line from the board in play.
    void PlayGreedyMove()
    {
        const Board board = *BoardOfGame(*game);
        const Solver::PairValues values = Solver::ValuesOfGame(*game);
        const Solver::Picks picks = Solver::PicksOf(board, Solver::Greedy(board, values).moves.front(), values);
        Change([&] {
            game->Pick(picks.first, PickMode::Remove);
            game->Pick(picks.second, PickMode::Remove);
        });
    }
    bool HasMove() const { return Game::IsTileNumber(game->FindMove()); }
};

TEST(AnalysisSessionTest, KeepsTheSearchOnlyWhileWhatItSearchesStaysTheSame)
{
    for (quint32 seed = 1; seed <= 7; ++seed) {
        SCOPED_TRACE(seed);
        Fixture f(seed, int(seed));
        if (!f.HasMove())
            continue;
        QSignalSpy began(f.session.get(), &AnalysisSession::Began);
        QSignalSpy followed(f.session.get(), &AnalysisSession::Followed);
        QSignalSpy marks(f.session.get(), &AnalysisSession::MarkChanged);
        f.session->GameChanged(); // not open: nothing
        QCoreApplication::processEvents();
        f.session->MarkNextMove(); // nothing searched yet
        EXPECT_EQ(began.count(), 0);
        EXPECT_EQ(marks.count(), 0);
        f.session->Open();
        ASSERT_EQ(began.count(), 1);
        ASSERT_NE(f.session->CurrentRun(), nullptr);
        EXPECT_EQ(f.session->CurrentRun()->Start(), *BoardOfGame(*f.game));
        EXPECT_FALSE(f.session->ShownLine().moves.empty()); // the greedy line at once

        // The line starts on the board in play: its first move is marked.
        ASSERT_TRUE(f.session->CanMarkNextMove());
        f.session->MarkNextMove();
        const Solver::Run& run = *f.session->CurrentRun();
        const Solver::Picks next = Solver::PicksOf(run.Start(), f.session->ShownLine().moves.front(), run.Values());
        ASSERT_TRUE(f.session->Marked());
        EXPECT_EQ(f.session->Marked()->first, next.first);
        EXPECT_EQ(f.session->Marked()->second, next.second);
        EXPECT_EQ(marks.count(), 1);

        // A pick without removal keeps the search, and so does taking it back; two changes
        // in one event are looked at once. Any change takes the mark away at once, before
        // the session looks again.
        const int tile = f.game->FindMove();
        f.Change([&] {
            f.game->Pick(tile, PickMode::Hold);
            f.session->GameChanged();
            EXPECT_FALSE(f.session->Marked());
            f.game->Pick(tile, PickMode::Hold);
        });
        ASSERT_TRUE(f.game->Selection().isEmpty());
        EXPECT_EQ(began.count(), 1);
        EXPECT_EQ(followed.count(), 1);
        EXPECT_EQ(marks.count(), 2);
        f.session->MarkNextMove(); // the search kept: its line's first move again
        ASSERT_TRUE(f.session->Marked());
        EXPECT_EQ(f.session->Marked()->first,
                  Solver::PicksOf(run.Start(), f.session->ShownLine().moves.front(), run.Values()).first);
        f.PlayGreedyMove();
        EXPECT_FALSE(f.session->Marked());
        EXPECT_EQ(marks.count(), 4);
        EXPECT_EQ(began.count(), 2);
        EXPECT_EQ(f.session->CurrentRun()->Start(), *BoardOfGame(*f.game));
        EXPECT_EQ(f.session->Base(), Solver::CompletedPoints(*f.game));
        EXPECT_EQ(f.session->PlayerTotal(), f.game->PointsTotal());
        const Board afterMove = f.session->CurrentRun()->Start();
        f.Change([&] { f.game->ReBtnClick(); });
        EXPECT_EQ(began.count(), 3);
        EXPECT_NE(f.session->CurrentRun()->Start(), afterMove);
        EXPECT_EQ(f.session->CurrentRun()->Start(), *BoardOfGame(*f.game));

        // From the deal: a move leaves the search, an edited score table does not.
        f.session->SetSource(AnalysisSession::Source::Deal);
        EXPECT_EQ(began.count(), 4);
        EXPECT_EQ(f.session->CurrentRun()->Start(), *Solver::DealOfGame(*f.game));
        EXPECT_EQ(f.session->Base(), 0);
        EXPECT_FALSE(f.session->CanMarkNextMove() && f.game->MoveRow() > 1);
        if (f.HasMove()) {
            f.PlayGreedyMove();
            EXPECT_EQ(began.count(), 4);
            EXPECT_FALSE(f.session->CanMarkNextMove()); // the line starts at the deal
        }
        const Solver::PairValues before = f.session->CurrentRun()->Values();
        f.Change([&] {
            for (TextGrid* table : { &f.tables.stems, &f.tables.branches, &f.tables.stars })
                table->SetCell(2, 1, QString::number(table->Cell(2, 1).toInt() + 7));
        });
        EXPECT_EQ(began.count(), 5);
        EXPECT_NE(f.session->CurrentRun()->Values(), before);
        f.session->SetSource(AnalysisSession::Source::Position);
        f.session->MarkNextMove();
        EXPECT_EQ(bool(f.session->Marked()), f.HasMove());
        f.session->Close();
        EXPECT_FALSE(f.session->Marked());
    }
}

TEST(AnalysisSessionTest, HoldsTheFinishedGameUntilTheFirstMoveOnTheNextBoard)
{
    for (quint32 seed = 1; seed <= 8; ++seed) {
        // The next deal before the session looks (as the main window deals at once), or after.
        const bool dealBeforeLook = seed % 2 == 0;
        SCOPED_TRACE(seed);
        Fixture f(seed);
        f.session->Open();
        while (f.HasMove())
            f.PlayGreedyMove();
        const quint32 finishedDeal = f.game->DealNumber();
        const Board finishedFrom = *Solver::DealOfGame(*f.game);
        const int finalTotal = f.game->PointsTotal();
        if (dealBeforeLook) {
            f.Change([&] { f.game->NewGame(); });
        } else {
            f.Change([] { });
            f.Change([&] { f.game->NewGame(); });
        }
        ASSERT_NE(f.game->DealNumber(), finishedDeal);
        ASSERT_NE(f.session->CurrentRun(), nullptr);
        EXPECT_TRUE(f.session->HoldsFinishedGame());
        EXPECT_TRUE(f.session->FromDeal());
        EXPECT_EQ(f.session->DealNumber(), finishedDeal);
        EXPECT_EQ(f.session->CurrentRun()->Start(), finishedFrom);
        EXPECT_EQ(f.session->PlayerTotal(), finalTotal);
        EXPECT_FALSE(f.session->CanMarkNextMove());
        if (!f.HasMove())
            continue;
        // A pick is no move: the finished game stays.
        const int tile = f.game->FindMove();
        f.Change([&] { f.game->Pick(tile, PickMode::Hold); });
        EXPECT_TRUE(f.session->HoldsFinishedGame());
        f.Change([&] { f.game->Pick(tile, PickMode::Hold); });
        ASSERT_TRUE(f.game->Selection().isEmpty());
        // The first move lets it go: the board in play, from the position again.
        f.PlayGreedyMove();
        EXPECT_FALSE(f.session->HoldsFinishedGame());
        EXPECT_FALSE(f.session->FromDeal());
        EXPECT_EQ(f.session->DealNumber(), f.game->DealNumber());
        EXPECT_EQ(f.session->CurrentRun()->Start(), *BoardOfGame(*f.game));
    }
}

TEST(AnalysisSessionTest, StopsOnRequestAndSaysWhatItCannotRead)
{
    Fixture f(5);
    f.host.deal = DealSettings { 10, 12, { true, true, true } };
    f.game->NewGame();
    f.session->Open();
    f.session->Stop();
    ASSERT_TRUE(QTest::qWaitFor([&] {
        f.session->Poll();
        return f.session->LastState().finished;
    }, 5000));
    EXPECT_NE(f.session->CurrentVerdict(), AnalysisSession::Verdict::Searching);
    const qint64 stoppedAt = f.session->ElapsedMs();
    QTest::qWait(30);
    EXPECT_EQ(f.session->ElapsedMs(), stoppedAt); // the time stops with the run

    QSignalSpy began(f.session.get(), &AnalysisSession::Began);
    f.Change([&] { LayBoard(*f.game, { "甲甲", "甲." }); }); // a tile over a hole: no deal makes it
    EXPECT_EQ(began.count(), 1);
    EXPECT_EQ(f.session->CurrentRun(), nullptr);
    EXPECT_FALSE(f.session->CanMarkNextMove());
    f.session->MarkNextMove();
    f.session->Stop();
    f.session->Poll();
    EXPECT_FALSE(f.session->Marked());
}

} // namespace
