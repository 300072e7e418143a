// SPDX-License-Identifier: MIT
// The ranking window with a fake main window: results offered at the end of a game, the
// name entry, the yellow row, the clear, the save on closing with its bytes and backup, a
// window already open at the end of a game, and a folder that cannot be written.

// Qt
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
// GoogleTest
#include <gtest/gtest.h>
// own
#include "windows/Name.h"
#include "controls/Panel.h"
#include "windows/Rank.h"
#include "windows/RankHost.h"
#include "game/Ranking.h"
#include "app/RankingFile.h"
#include "platform/Cp932.h"
#include "store/TableFile.h"

namespace {

struct FakeHost : RankHost
{
    int PointsTotal() const override { return points; }
    ::RankPending RankPending() const override { return pending; }
    void SetRankPending(::RankPending value) override { pending = value; }
    void NewGame() override { ++newGames; }
    void PlayWave(Sound sound) override { waves.append(sound); }
    void ShowMessage(const QString& text) override { messages.append(text); }
    QDateTime CurrentDateTime() const override { return QDateTime(QDate(2024, 3, 7), QTime(9, 5, 30)); }

    int points = 0;
    ::RankPending pending = ::RankPending::None;
    int newGames = 0;
    QList<Sound> waves;
    QStringList messages;
};

const QByteArray Header = "Rank,Name,Point,Time,\r\n";

class RankTest : public ::testing::Test
{
protected:
    RankTest()
    {
        rank.SetAskName([this] {
            ++asked;
            return name;
        });
    }

    ~RankTest() override { rank.hide(); }

    QString RankPath() const { return dir.filePath(QStringLiteral("Rank.dat")); }

    void WriteFile(const QByteArray& bytes, const QString& fileName = QStringLiteral("Rank.dat"))
    {
        QFile f(dir.filePath(fileName));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QByteArray ReadFile(const QString& fileName = QStringLiteral("Rank.dat")) const
    {
        QFile f(dir.filePath(fileName));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    // A ranking file of entries with these points, best first, named "p1", "p2"...
    void WriteRanking(const QList<int>& points)
    {
        QByteArray bytes = Header;
        for (int i = 0; i < points.size(); ++i)
            bytes += QByteArray::number(i + 1) + ",p" + QByteArray::number(i + 1) + ","
                + QByteArray::number(points.at(i)) + ",2020/01/01 00:00,\r\n";
        WriteFile(bytes);
    }

    // The main window's end of a game.
    void EndGame(int points)
    {
        host.points = points;
        host.pending = RankPending::Waiting;
        rank.ShowRanking(RankingMode::OfferResult);
    }

    QStringList Column(int col) const
    {
        QStringList out;
        for (int r = 1; r < rank.Grid().RowCount(); ++r)
            out.append(rank.Grid().Cell(col, r));
        return out;
    }

    QTemporaryDir dir;
    FakeHost host;
    RankingFile ranking { dir.filePath(QStringLiteral("Rank.dat")) };
    TRankF rank { ranking, &host };
    QString name = QStringLiteral("山田");
    int asked = 0;
};

QList<int> Descending(int count, int from)
{
    QList<int> out;
    for (int i = 0; i < count; ++i)
        out.append(from - i);
    return out;
}

QImage Render(QWidget& w)
{
    QImage image(w.size(), QImage::Format_RGB32);
    w.render(&image);
    return image;
}

bool HasColour(const QImage& img, const QRect& rect, QColor colour)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (img.pixel(x, y) == colour.rgb())
                return true;
    return false;
}

TEST_F(RankTest, WindowAsDesigned)
{
    EXPECT_EQ(rank.windowTitle(), QStringLiteral("RanKing Top 30"));
    EXPECT_EQ(rank.size(), QSize(393, 276));
    EXPECT_TRUE(rank.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(rank.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(rank.isModal());
    EXPECT_EQ(rank.SG0()->geometry(), QRect(0, 0, 393, 242));
    EXPECT_EQ(rank.Panel1()->geometry(), QRect(0, 242, 393, 34));
    EXPECT_EQ(rank.OKBtn()->text(), QStringLiteral("OK"));
    EXPECT_EQ(rank.ClrBtn()->text(), QStringLiteral("クリア"));
    EXPECT_EQ(rank.Grid().RowCount(), 2);
    EXPECT_EQ(
        rank.Grid().Cell(0, 0) + rank.Grid().Cell(1, 0) + rank.Grid().Cell(2, 0) + rank.Grid().Cell(3, 0),
        QStringLiteral("RankNamePointTime"));
    EXPECT_EQ(rank.HighlightRow(), 0);

    rank.show();
    rank.resize(450, 300);
    EXPECT_EQ(rank.width(), 400);
    EXPECT_EQ(rank.SG0()->geometry(), QRect(0, 0, 400, 266));
}

TEST_F(RankTest, NegativeResultHeadsAnEmptyRankingAndIsSavedOnClose)
{
    EndGame(-12);
    EXPECT_TRUE(rank.isVisible());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(host.pending, RankPending::None);
    EXPECT_EQ(rank.HighlightRow(), 1);
    EXPECT_EQ(host.newGames, 0);

    rank.OKBtn()->click();
    EXPECT_FALSE(rank.isVisible());
    EXPECT_EQ(host.newGames, 1);
    EXPECT_EQ(ReadFile(), Header + "1," + Cp932::Encode(name) + ",-12,2024/03/07 09:05,\r\n");
    EXPECT_EQ(ReadFile(QStringLiteral("Ranksav")), QByteArray("<missing>")); // nothing to back up yet
    EXPECT_TRUE(host.messages.isEmpty());
}

TEST_F(RankTest, TwentyNineBetterEntriesMakeTheResultThe30thInYellow)
{
    WriteRanking(Descending(29, 100));
    EndGame(0);
    ASSERT_TRUE(rank.isVisible());
    EXPECT_EQ(rank.HighlightRow(), 30);
    EXPECT_EQ(rank.Grid().RowCount(), 31);
    EXPECT_EQ(rank.Grid().Cell(Ranking::ColName, 30), name);
    EXPECT_EQ(rank.Grid().Row(), 30);

    const QImage img = Render(rank);
    const QRect entry = rank.SG0()->CellRect(Ranking::ColName, 30).translated(rank.SG0()->pos());
    ASSERT_FALSE(entry.isNull()); // scrolled into view
    EXPECT_TRUE(HasColour(img, entry, QColor(255, 255, 0)));
    const QRect other = rank.SG0()->CellRect(Ranking::ColName, 29).translated(rank.SG0()->pos());
    EXPECT_FALSE(HasColour(img, other, QColor(255, 255, 0)));
    EXPECT_TRUE(HasColour(img, other, QColor(0, 255, 255)));
    // The selected row is the highlight colour behind the yellow text.
    EXPECT_EQ(
        img.pixel(entry.left() + 1, entry.top() + 1), SysColors::ToQColor(SysColors::clHighlight).rgb());
}

TEST_F(RankTest, FullRankingOfBetterOrEqualResultsShowsNothing)
{
    QList<int> points = Descending(29, 100);
    points.append(5);
    WriteRanking(points);
    const QByteArray before = ReadFile();
    EndGame(5);
    EXPECT_FALSE(rank.isVisible());
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(host.pending, RankPending::Waiting); // waits for the next game end or the menu
    EXPECT_EQ(host.newGames, 0);
    EXPECT_EQ(ReadFile(), before);
}

TEST_F(RankTest, BeatingOnlyThe30thDropsIt)
{
    WriteRanking(Descending(30, 100)); // the 30th has 71
    EndGame(72);
    ASSERT_TRUE(rank.isVisible());
    EXPECT_EQ(rank.Grid().RowCount(), 31);
    EXPECT_EQ(rank.Grid().Cell(Ranking::ColName, 30), name);
    EXPECT_EQ(rank.Grid().Cell(Ranking::ColName, 29), QStringLiteral("p29"));
    EXPECT_FALSE(Column(Ranking::ColName).contains(QStringLiteral("p30")));
    rank.OKBtn()->click();
    EXPECT_EQ(ReadFile().count("\r\n"), 31);
    EXPECT_EQ(ReadFile(QStringLiteral("Ranksav")).count("\r\n"), 31); // the old file, with p30
    EXPECT_TRUE(ReadFile(QStringLiteral("Ranksav")).contains(",p30,71,"));
}

TEST_F(RankTest, TiesShareARankAndANewTieGoesBelowThem)
{
    WriteFile(Header + "9,a,50,t,\r\n9,b,40,t,\r\n9,c,40,t,\r\n9,d,30,t,\r\n");
    host.pending = RankPending::None;
    rank.ShowRanking(RankingMode::ShowOnly);
    ASSERT_TRUE(rank.isVisible());
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(Column(Ranking::ColRank), QStringList({ "1", "2", "2", "4" }));
    rank.OKBtn()->click();
    EXPECT_EQ(host.newGames, 1); // closing always deals again

    name = QStringLiteral("e");
    EndGame(40);
    EXPECT_EQ(rank.HighlightRow(), 4);
    EXPECT_EQ(Column(Ranking::ColName), QStringList({ "a", "b", "c", "e", "d" }));
    EXPECT_EQ(Column(Ranking::ColRank), QStringList({ "1", "2", "2", "2", "5" }));
}

TEST_F(RankTest, ClearThenCloseLeavesHeaderAndOneEmptyRow)
{
    WriteRanking({ 30, 20 });
    WriteFile("old backup", QStringLiteral("Ranksav"));
    host.pending = RankPending::None;
    rank.ShowRanking(RankingMode::ShowOnly);
    int questions = 0;
    rank.SetConfirmClear([&] {
        ++questions;
        return false;
    });
    rank.ClrBtn()->click();
    EXPECT_EQ(rank.Grid().RowCount(), 3); // "No" keeps everything
    EXPECT_TRUE(QFile::exists(RankPath()));

    rank.SetConfirmClear([&] {
        ++questions;
        return true;
    });
    rank.ClrBtn()->click();
    EXPECT_EQ(questions, 2);
    EXPECT_FALSE(QFile::exists(RankPath())); // deleted at once
    EXPECT_EQ(rank.Grid().RowCount(), 2);
    EXPECT_TRUE(rank.isVisible());
    rank.OKBtn()->click();
    EXPECT_EQ(ReadFile(), QByteArray("Rank,Name,Point,Time,\r\n,,,,\r\n"));
    EXPECT_EQ(ReadFile(QStringLiteral("Ranksav")), QByteArray("old backup"));
}

TEST_F(RankTest, WindowAlreadyOpenAtTheEndOfAGameEntersNothing)
{
    WriteRanking({ 30, 20 });
    host.pending = RankPending::None;
    rank.ShowRanking(RankingMode::ShowOnly);
    EndGame(100);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(Column(Ranking::ColPoints), QStringList({ "30", "20" }));
    EXPECT_EQ(host.pending, RankPending::Waiting);
    EXPECT_TRUE(rank.isVisible());
}

TEST_F(RankTest, OpeningFromTheMenuKeepsAnEntryNotYetSaved)
{
    EndGame(25);
    ASSERT_EQ(Column(Ranking::ColName), QStringList({ name }));
    // The window is still open, so the entry is not in the file yet; the menu's showing
    // must not read the file over it.
    host.pending = RankPending::None;
    rank.ShowRanking(RankingMode::ShowOnly);
    EXPECT_EQ(Column(Ranking::ColName), QStringList({ name }));
    rank.OKBtn()->click();
    EXPECT_TRUE(ReadFile().contains(",25,"));
}

// Two copies of the program with their rankings open: the copy that closes last keeps the
// other's entry, shows the merged ranking and highlights its own entry where it now stands.
TEST_F(RankTest, TwoCopiesClosingInTurnKeepBothEntries)
{
    WriteRanking({ 30, 20 });
    RankingFile otherRanking(RankPath());
    TRankF other(otherRanking, &host);
    other.SetAskName([] { return QStringLiteral("other"); });
    EndGame(25);
    ASSERT_EQ(rank.HighlightRow(), 2);
    host.points = 35;
    host.pending = RankPending::Waiting;
    other.ShowRanking(RankingMode::OfferResult);
    ASSERT_TRUE(other.isVisible());

    other.OKBtn()->click();
    rank.OKBtn()->click();
    EXPECT_EQ(Column(Ranking::ColName), QStringList({ "other", "p1", name, "p2" }));
    EXPECT_EQ(Column(Ranking::ColRank), QStringList({ "1", "2", "3", "4" }));
    EXPECT_EQ(rank.HighlightRow(), 3);
    EXPECT_EQ(ReadFile(), TableFile::Format(rank.Grid()));
    EXPECT_TRUE(host.messages.isEmpty());
}

TEST_F(RankTest, OnlyTheButtonsClose)
{
    host.pending = RankPending::None;
    rank.ShowRanking(RankingMode::ShowOnly);
    QTest::keyClick(&rank, Qt::Key_Escape);
    EXPECT_TRUE(rank.isVisible());
    EXPECT_EQ(host.newGames, 0);
    rank.close(); // what a window manager's close would do: the same saving close
    EXPECT_FALSE(rank.isVisible());
    EXPECT_EQ(host.newGames, 1);
    EXPECT_TRUE(QFile::exists(RankPath()));
}

TEST_F(RankTest, UnwritableFolderGivesOneMessageAndStillDeals)
{
    // A folder path that is a file: no one can write there, root included.
    WriteFile("not a folder", QStringLiteral("blocker"));
    const QString folder = dir.filePath(QStringLiteral("blocker")) + QLatin1Char('/');
    RankingFile blocked(folder + QStringLiteral("Rank.dat"));
    TRankF blockedRank(blocked, &host);
    blockedRank.SetAskName([this] { return name; });
    host.points = 10;
    host.pending = RankPending::Waiting;
    blockedRank.ShowRanking(RankingMode::OfferResult);
    ASSERT_TRUE(blockedRank.isVisible());
    blockedRank.OKBtn()->click();
    ASSERT_EQ(host.messages.size(), 1);
    EXPECT_TRUE(
        host.messages.first().contains(QDir::toNativeSeparators(folder + QStringLiteral("Rank.dat"))))
        << host.messages.first().toStdString();
    EXPECT_EQ(host.newGames, 1);
    EXPECT_EQ(ReadFile(QStringLiteral("blocker")), QByteArray("not a folder"));
}

TEST_F(RankTest, DamagedFileIsReadWithoutLosingTheEntry)
{
    // A header-only file leaves a single row; a name cut at a comma left text in the
    // points field.
    WriteFile(Header);
    EndGame(3);
    EXPECT_EQ(Column(Ranking::ColPoints), QStringList({ "3" }));
    rank.OKBtn()->click();

    WriteFile(Header + "1,a,b,7,2020/01/01 00:00,\r\n");
    EndGame(-1);
    EXPECT_EQ(rank.HighlightRow(), 2); // "b" counts as 0
    EXPECT_EQ(Column(Ranking::ColName), QStringList({ "a", name }));
}

TEST_F(RankTest, RealNameEntryPlaysItsSoundAndGivesTheTypedName)
{
    TNameF nameF;
    nameF.SetLoginName([] { return QStringLiteral("login"); });
    TRankF withForm(ranking, &host, &nameF);
    QTimer::singleShot(0, &nameF, [&] {
        ASSERT_TRUE(nameF.isVisible());
        EXPECT_EQ(nameF.Edit1()->text(), QStringLiteral("login"));
        nameF.Edit1()->setText(QStringLiteral("a,b"));
        nameF.OKBtn()->click();
    });
    host.points = 8;
    host.pending = RankPending::Waiting;
    withForm.ShowRanking(RankingMode::OfferResult);
    EXPECT_EQ(host.waves, QList<Sound>({ Sound::Notice }));
    EXPECT_EQ(withForm.Grid().Cell(Ranking::ColName, 1), QStringLiteral("a，b"));
    withForm.hide();
}

} // namespace
