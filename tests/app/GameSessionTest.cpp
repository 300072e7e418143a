// SPDX-License-Identifier: MIT
// The game session: what a window drawing only from its signals would show always matches
// the game, the end of a game is reported once and only after the call that ended it, and
// the deal choices are kept in range and followed by the deal.

#include "app/GameSession.h"
#include "store/Keys.h"
#include "store/SettingsStore.h"

// Qt
#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
// GoogleTest
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

class GameSessionTest : public ::testing::Test
{
protected:
    GameSessionTest() { Registry::SetUserFileOverride(dir.filePath(QStringLiteral("registry.reg"))); }
    ~GameSessionTest() override { Registry::SetUserFileOverride(QString()); }

    QTemporaryDir dir;
};

// What a window drawing only from the session's signals shows.
struct View
{
    int remaining = -1;
    int points = -1;
    std::array<int, 5> counts {};
    QList<int> selection;
    bool canUndo = false;
    bool canRedo = false;
    std::vector<GameEnd> ends;

    explicit View(GameSession& s)
    {
        QObject::connect(&s, &GameSession::RemainingChanged, [this](int n) { remaining = n; });
        QObject::connect(&s, &GameSession::PointsChanged, [this](int n, PointsRefresh) { points = n; });
        QObject::connect(&s, &GameSession::ElementCountsChanged, [this](const std::array<int, 5>& c) { counts = c; });
        QObject::connect(&s, &GameSession::SelectionChanged, [this](const QList<int>& picked) { selection = picked; });
        QObject::connect(&s, &GameSession::UndoRedoChanged, [this](bool undo, bool redo) {
            canUndo = undo;
            canRedo = redo;
        });
        QObject::connect(&s, &GameSession::GameEnded, [this](GameEnd end) { ends.push_back(end); });
    }
};

TEST_F(GameSessionTest, WhatTheSignalsSayIsTheGameAfterEveryCallAndEachEndIsReportedOnceAfterItsCall)
{
    AppModel model(dir.path());
    GameSession& session = model.Session();
    View view(session);
    // Small boards of all three sets, so that games end often.
    session.SetChoices({ 1, 0, 7, 0 });
    for (quint32 seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        session.GameForTest().Seed(seed);
        session.Deal();
        for (int step = 0; step < 60; ++step) {
            const Game& game = session.State();
            const unsigned action = rng() % 10;
            const size_t endsBefore = view.ends.size();
            if (action < 3) {
                // A pair with a partner: the first tile FindMove names, then its neighbours
                // until one pairs with it.
                const int a = game.FindMove();
                if (Game::IsTileNumber(a)) {
                    session.Pick(a, PickMode::Remove);
                    for (int b : { a - Game::Cols, a + 1, a + Game::Cols, a - 1 })
                        if (game.Selection().size() == 1 && b >= 1 && b <= Game::TileCount && game.TileByNumber(b).visible)
                            session.Pick(b, PickMode::Remove);
                }
            } else if (action < 6) {
                session.Pick(int(rng() % Game::TileCount) + 1, rng() % 4 == 0 ? PickMode::Hold : PickMode::Remove);
            } else if (action == 6) {
                session.Hint();
            } else if (action < 9) {
                session.Undo();
            } else {
                session.Redo();
            }
            // Never inside the call.
            ASSERT_EQ(view.ends.size(), endsBefore) << "seed " << seed << " step " << step;
            const bool ended = !Game::IsTileNumber(game.FindMove());
            ASSERT_EQ(view.remaining, game.Remaining());
            ASSERT_EQ(view.points, game.PointsTotal());
            ASSERT_EQ(view.counts, game.ElementCounts());
            ASSERT_TRUE(std::ranges::equal(view.selection, game.Selection()));
            ASSERT_EQ(view.canUndo, game.MoveRow() > 1);
            ASSERT_EQ(view.canRedo, game.CanRedo());
            QCoreApplication::processEvents();
            if (ended) {
                ASSERT_EQ(view.ends.size(), endsBefore + 1) << "seed " << seed << " step " << step;
                ASSERT_EQ(view.ends.back(), game.Remaining() == 0 ? GameEnd::Cleared : GameEnd::NoPairLeft);
                ASSERT_EQ(session.RankPending(), RankPending::Waiting);
                session.SetRankPending(RankPending::None);
                session.Deal();
            } else {
                ASSERT_EQ(view.ends.size(), endsBefore);
            }
        }
    }
    // Play reached the end of a game now and then.
    EXPECT_GE(view.ends.size(), 5u);
}

TEST_F(GameSessionTest, ACallMadeBeforeTheEndIsReportedReportsItFirst)
{
    AppModel model(dir.path());
    GameSession& session = model.Session();
    session.SetChoices({ 0, 0, 1, 0 });
    session.Deal(1);
    std::vector<QString> order;
    QObject::connect(&session, &GameSession::GameEnded, [&](GameEnd) { order.push_back(QStringLiteral("end")); });
    QObject::connect(&session, &GameSession::BeepWanted, [&] { order.push_back(QStringLiteral("beep")); });
    // Play stems to the end of the game without giving the event loop a turn.
    while (Game::IsTileNumber(session.State().FindMove())) {
        const int a = session.State().FindMove();
        const int b = session.State().TileByNumber(a - Game::Cols).visible ? a - Game::Cols : a + 1;
        session.Pick(a, PickMode::Remove);
        session.Pick(b, PickMode::Remove);
    }
    ASSERT_TRUE(order.empty());
    // Undo beeps: the end goes out before it, once.
    session.Undo();
    EXPECT_EQ(order, (std::vector<QString> { QStringLiteral("end"), QStringLiteral("beep") }));
    QCoreApplication::processEvents();
    EXPECT_EQ(order.size(), 2u);
}

TEST_F(GameSessionTest, ChoicesAreKeptInRangeFollowedByTheDealAndWrittenOnlyWhenChanged)
{
    {
        SettingsStore store = OpenStore(Keys::Root);
        store.WriteNumber(Keys::Sys::CBH, 99);
        store.WriteNumber(Keys::Sys::CBW, -3);
        store.WriteNumber(Keys::Sys::CG1, 2 + 8);
        store.WriteNumber(Keys::Sys::RGC, 1);
    }
    AppModel model(dir.path());
    GameSession& session = model.Session();
    QSignalSpy changed(&session, &GameSession::ChoicesChanged);
    EXPECT_TRUE(session.ReadChoices(RegOpen::Existing).isEmpty());
    EXPECT_EQ(changed.count(), 1);
    const DealChoices read = session.Choices();
    EXPECT_EQ(read.heightIndex, 0);
    EXPECT_EQ(read.widthIndex, 0);
    EXPECT_EQ(read.symbolSets, 2);
    EXPECT_EQ(read.colouring, 1);
    session.SetChoices(read);
    EXPECT_EQ(changed.count(), 1) << "the same choices are no change";

    session.SetChoices({ 7, 4, 5, 0 });
    session.Deal(3);
    EXPECT_EQ(session.State().DealtWith(), (DealSettings { 10, 12, { true, false, true }, false }));
    EXPECT_EQ(session.State().DealNumber(), 3u);
    // A change of colouring colours the tiles at once: by element, a stem is not plain.
    const quint32 byElement = session.State().TileAt(0, 9).topColor;
    session.SetChoices({ 7, 4, 5, 1 });
    EXPECT_NE(session.State().TileAt(0, 9).topColor, byElement);

    EXPECT_TRUE(session.WriteChoices().isEmpty());
    SettingsStore store = OpenStore(Keys::Root, RegOpen::Existing);
    EXPECT_EQ(store.Read(Keys::Sys::CBH), 7);
    EXPECT_EQ(store.Read(Keys::Sys::CBW), 4);
    EXPECT_EQ(store.Read(Keys::Sys::CG1), 5);
    EXPECT_EQ(store.Read(Keys::Sys::RGC), 1);
}

} // namespace
