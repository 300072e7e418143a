// SPDX-License-Identifier: MIT
// The record table (bench/records.tsv), the yardstick of the analysis on full boards: every
// line clicked into the game as a player clicks it ends the game on exactly the total its
// record claims, and the table reads back as it is written.

#include "GameTestSupport.h"
#include "RecordTable.h"
#include "solver/GameBridge.h"
#include "solver/Line.h"

// GoogleTest
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <map>
#include <set>

namespace {

const QString TablePath = QStringLiteral(ORBILO_SOURCE_DIR "/bench/records.tsv");

TEST(RecordTableTest, EveryLinePlaysThroughTheGameToItsTotal)
{
    QString error;
    const std::optional<Records::Table> table = Records::Read(TablePath, &error);
    ASSERT_TRUE(table) << error.toStdString();
    std::map<QString, std::set<quint32>> deals;
    for (const Records::Record& r : table->records) {
        SCOPED_TRACE(testing::Message() << r.Size().toStdString() << " deal " << r.deal);
        EXPECT_TRUE(deals[r.Size()].insert(r.deal).second) << "listed twice";
        Records::DealtGame dealt(r);
        const Solver::Board board = *Solver::BoardOfGame(dealt.game);
        const Solver::PairValues values = Solver::ValuesOfGame(dealt.game);
        for (size_t i = 0; i < r.picks.size(); ++i) {
            ASSERT_FALSE(dealt.host.gameOver) << "the game ended before move " << i;
            dealt.game.Pick(r.picks[i].first, PickMode::Remove);
            dealt.game.Pick(r.picks[i].second, PickMode::Remove);
            if (!dealt.host.gameOver) {
                ASSERT_EQ(dealt.game.MoveRow(), int(i) + 2) << "move " << i << " was refused";
            }
        }
        ASSERT_TRUE(dealt.host.gameOver) << "pairs are left after the last move";
        EXPECT_EQ(dealt.host.endPoints, r.total);
        // No line beats the bound, and a record never falls below the greedy player.
        EXPECT_LE(r.total, board.UpperBound(values));
        EXPECT_GE(r.total, Solver::Greedy(board, values).total);
    }
    EXPECT_EQ(deals["10x12"].size(), 20u);
    EXPECT_EQ(deals["6x8"].size(), 20u);
}

TEST(RecordTableTest, TheTableReadsBackAsWrittenAndRefusesASpoiledRecord)
{
    const std::optional<Records::Table> table = Records::Read(TablePath);
    ASSERT_TRUE(table);
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("records.tsv"));
    ASSERT_TRUE(Records::Write(copy, *table));
    QFile original(TablePath), written(copy);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly) && written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), original.readAll());

    const Records::Record& r = table->records.front();
    const QString good = QStringLiteral("10x12\t7\t%1\t%2\t-\tx\t1-2 3-4").arg(r.deal).arg(r.total);
    for (const QString& spoiled : { QString(good).replace(QStringLiteral("3-4"), QStringLiteral("3-")),
                                    QString(good).replace(QStringLiteral("\tx\t"), QStringLiteral("\t")),
                                    QString(good).replace(QStringLiteral("10x12"), QStringLiteral("11x12")),
                                    QString(good).replace(QStringLiteral("\t7\t"), QStringLiteral("\t8\t")) }) {
        QFile file(copy);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write((good + '\n' + spoiled + '\n').toUtf8());
        file.close();
        QString error;
        EXPECT_FALSE(Records::Read(copy, &error)) << spoiled.toStdString();
        EXPECT_TRUE(error.endsWith(QStringLiteral(":2: not a record"))) << error.toStdString();
    }
}

} // namespace
