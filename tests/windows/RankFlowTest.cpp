// SPDX-License-Identifier: MIT
// A whole game played on the real engine to its end, through the real ranking window and
// name entry: the result must be read before the new deal empties the move log, the name
// typed goes in, and closing the ranking saves it and deals once more.

#include "../core/GameTestSupport.h"

#include "windows/Name.h"
#include "windows/Rank.h"
#include "windows/RankHost.h"
#include "game/Ranking.h"
#include "app/RankingFile.h"
#include "platform/Cp932.h"

// Qt
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
// GoogleTest
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The main window's part: the game's host and the ranking's host in one; the end of a game
// offers the result to the ranking, then deals again.
class PlayHost : public RecordingHost, public RankHost
{
public:
    void PlayWave(Sound sound) override { RecordingHost::PlayWave(sound); }
    void GameEnded(GameEnd end) override
    {
        RecordingHost::GameEnded(end);
        pointsAtEnd = game->PointsTotal();
        rank->ShowRanking(RankingMode::OfferResult);
        game->NewGame();
    }
    int PointsTotal() const override { return game->PointsTotal(); }
    ::RankPending RankPending() const override { return game->RankPending(); }
    void SetRankPending(::RankPending value) override { game->SetRankPending(value); }
    void NewGame() override
    {
        ++deals;
        game->NewGame();
    }
    void ShowMessage(const QString& text) override { messages << text; }

    QStringList messages;

    TRankF* rank = nullptr;
    int pointsAtEnd = 0;
    int deals = 0;
};

// Any tile in play with a neighbour in play to its right or below; stems only, so every
// such pair can be removed.
bool RemoveAnyPair(Game& game)
{
    for (int r = 0; r < Game::Rows; ++r)
        for (int c = 0; c < Game::Cols; ++c) {
            if (!game.TileAt(c, r).visible)
                continue;
            for (const auto& [dc, dr] : { std::pair { 1, 0 }, std::pair { 0, 1 } }) {
                const int c2 = c + dc, r2 = r + dr;
                if (c2 < Game::Cols && r2 < Game::Rows && game.TileAt(c2, r2).visible) {
                    game.Pick(Game::TileNumber(c, r), PickMode::Remove);
                    game.Pick(Game::TileNumber(c2, r2), PickMode::Remove);
                    return true;
                }
            }
        }
    return false;
}

TEST(RankFlowTest, WholeGameEndsInTheRankingAndIsSaved)
{
    QTemporaryDir dir;
    PlayHost host;
    Game game(host);
    host.game = &game;
    DefaultTables tables;
    tables.AttachTo(game);
    game.Seed(7);
    game.NewGame();

    TNameF nameF;
    nameF.SetLoginName([] { return QStringLiteral("login"); });
    RankingFile ranking(dir.filePath(QStringLiteral("Rank.dat")));
    TRankF rank(ranking, &host, &nameF);
    host.rank = &rank;

    int named = 0;
    QTimer::singleShot(0, &nameF, [&] {
        ++named;
        nameF.Edit1()->selectAll();
        QTest::keyClicks(nameF.Edit1(), QStringLiteral("player,1"));
        QTest::keyClick(nameF.Edit1(), Qt::Key_Return); // does not close
        nameF.OKBtn()->click();
    });

    int moves = 0;
    while (host.ends.empty() && moves < 100 && RemoveAnyPair(game))
        ++moves;
    ASSERT_EQ(host.ends.size(), 1u);
    EXPECT_EQ(named, 1);
    EXPECT_EQ(std::count(host.sounds.begin(), host.sounds.end(), Sound::Notice), 1); // the name entry's sound
    ASSERT_TRUE(rank.isVisible());
    EXPECT_EQ(rank.HighlightRow(), 1);
    EXPECT_EQ(rank.Grid().Cell(Ranking::ColName, 1), QStringLiteral("player，1"));
    EXPECT_EQ(rank.Grid().Cell(Ranking::ColPoints, 1), QString::number(host.pointsAtEnd));
    EXPECT_NE(host.pointsAtEnd, 0) << "seed 7 should score: a zero result would not show a lost total";
    EXPECT_EQ(game.PointsTotal(), 0); // the engine has dealt again
    EXPECT_EQ(game.RankPending(), RankPending::None);

    rank.OKBtn()->click();
    EXPECT_FALSE(rank.isVisible());
    EXPECT_EQ(host.deals, 1);
    QFile file(dir.filePath(QStringLiteral("Rank.dat")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("Rank,Name,Point,Time,\r\n1,player" + Cp932::Encode(QStringLiteral("，"))
        + "1," + QByteArray::number(host.pointsAtEnd) + ","))
        << bytes.toStdString();
    EXPECT_EQ(bytes.count("\r\n"), 2);
}

} // namespace
