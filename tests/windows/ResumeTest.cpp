// SPDX-License-Identifier: MIT
// The game kept at close and restored at the next start, through the real windows: off at
// first and then nothing is kept; on, the board, the log, the pick, what can be redone and
// the elapsed time come back; a damaged file gives a new deal and one message (one that
// cannot be read, a message that says so and why), a foreign
// one or one scored with other tables a new deal without a word; a game closed while its
// end is shown is not kept; every move is kept without a close, and a game is dropped the
// moment it ends.

#include "../core/GameTestSupport.h"

#include "app/AppModel.h"
#include "windows/AppWindows.h"
#include "controls/BrimBtn.h"
#include "controls/CtrlsEx.h"
#include "app/GameSession.h"
#include "windows/Main.h"
#include "controls/Panel.h"
#include "platform/Registry.h"
#include "store/SavedGameFile.h"
#include "game/ScoreTables.h"
#include "store/SettingsStore.h"
#include "windows/Setu.h"
#include "controls/StringGrid.h"
#include "store/Keys.h"

// Qt
#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

// GoogleTest
#include <gtest/gtest.h>

#include "TestFiles.h"

namespace {

class ResumeTest : public ::testing::Test
{
protected:
    ResumeTest()
    {
        Registry::SetUserFileOverride(QDir(dir.path()).filePath("user.reg"));
        SavedGameFile::SetPathOverride(savedPath);
        // A table file of the program folder, so the fingerprint has something to follow.
        WriteAll(dir.filePath(ScoreTables::FileName(1)), ",,,,\r\n甲,乙,3,主気,\r\n");
    }
    ~ResumeTest() override
    {
        SavedGameFile::SetPathOverride(QString());
        Registry::SetUserFileOverride(QString());
    }

    void SetResume(bool on) { OpenStore(Keys::Root).WriteFlag(Keys::Set::Resume, on); }

    std::unique_ptr<AppWindows> Start()
    {
        auto windows = std::make_unique<AppWindows>(dir.path());
        windows->Main().SetMessageHook([this](const QString& text) { messages << text; });
        return windows;
    }

    // Three moves on the first board (3 x 4 stems, where any neighbours pair), the last one
    // taken back.
    static void PlaySome(TMainF& main)
    {
        Game& game = main.Session().GameForTest();
        for (int move = 0; move < 3; ++move) {
            const int a = game.FindMove();
            ASSERT_TRUE(Game::IsTileNumber(a));
            const int b = game.TileByNumber(a - Game::Cols).visible ? a - Game::Cols : a + 1;
            game.Pick(a, PickMode::Remove);
            game.Pick(b, PickMode::Remove);
        }
        main.ReBtnClick();
        ASSERT_TRUE(game.CanRedo());
    }

    // A run of the program that plays some and closes: the game it closed on.
    GameRecord PlaySomeAndClose()
    {
        auto windows = Start();
        PlaySome(windows->Main());
        const GameRecord played = windows->Main().Session().State().Record();
        windows->Main().close();
        return played;
    }

    QTemporaryDir dir;
    const QString savedPath = dir.filePath(QStringLiteral("data/SavedGame.dat"));
    QStringList messages;
};

TEST_F(ResumeTest, OffAtFirstAndThenNothingIsKept)
{
    {
        auto windows = Start();
        TSetuF& setu = windows->Setu();
        QCheckBox* box = setu.CB6();
        EXPECT_FALSE(box->isChecked());
        EXPECT_EQ(box->text(), QStringLiteral("終了時のゲームを次に続ける"));
        // On the system page, clear of every other control on it.
        QWidget* page = setu.PageControl1()->widget(0);
        ASSERT_TRUE(page->isAncestorOf(box));
        auto rect = [page](QWidget* w) { return QRect(w->mapTo(page, QPoint(0, 0)), w->size()); };
        EXPECT_TRUE(QRect(0, 0, TSetuF::DesignWidth - 8, 225).contains(rect(box)));
        for (QWidget* other : std::initializer_list<QWidget*> {
                 setu.CB1(), setu.CB2(), setu.CB3(), setu.CB4(), setu.CB5(), setu.TimeE(), setu.FontPnl(), setu.FontL() })
            EXPECT_FALSE(rect(other).intersects(rect(box))) << other->objectName().toStdString();
        PlaySome(windows->Main());
        windows->Main().close();
    }
    EXPECT_FALSE(QFile::exists(savedPath));
    // A game kept while it was on does not come back once it is off, and is dropped at close.
    SetResume(true);
    const GameRecord kept = PlaySomeAndClose();
    ASSERT_TRUE(QFile::exists(savedPath));
    SetResume(false);
    auto windows = Start();
    EXPECT_NE(windows->Main().Session().State().Record(), kept);
    windows->Main().close();
    EXPECT_FALSE(QFile::exists(savedPath));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(ResumeTest, TheGameComesBackExactlyAndGoesOn)
{
    {
        auto windows = Start();
        // Switched on in the dialog, live: the close reads the check box.
        windows->Setu().CB6()->setChecked(true);
        windows->Setu().done(QDialog::Accepted);
        TMainF& main = windows->Main();
        qint64 now = 0;
        main.SetClock([&now] { return now; });
        PlaySome(main);
        now = 3725'000; // an hour and more: past the warning at 30 minutes
        main.close();
    }
    const SavedGameFile::ReadResult saved = SavedGameFile::Load(savedPath);
    ASSERT_EQ(saved.status, SavedGameFile::Status::Read);
    EXPECT_EQ(saved.saved.elapsedSeconds, 3725);

    auto windows = Start();
    TMainF& main = windows->Main();
    main.show();
    Game& game = main.Session().GameForTest();
    EXPECT_EQ(game.Record(), saved.saved.game);
    EXPECT_TRUE(game.CanRedo());
    EXPECT_EQ(main.SG1()->Grid()->Cell(0, 1), game.MoveLog().Cell(0, 1));
    EXPECT_FALSE(main.SG1()->Grid()->Cell(0, 1).isEmpty());
    EXPECT_EQ(main.SG1()->verticalScrollBar()->value(), 0) << "the log shows its first move";
    EXPECT_EQ(main.Tile(0, 9)->Caption(), game.TileAt(0, 9).caption);
    EXPECT_EQ(main.ZanL()->text(), QStringLiteral("　残：8 　"));
    // The clock goes on from where it stood, and the warning it passed then is not given
    // again now.
    main.Timer1Timer();
    EXPECT_TRUE(main.TimeL()->text().startsWith(QStringLiteral("経過時間 ：01:02 0")))
        << main.TimeL()->text().toStdString();
    // The undone move is there to redo.
    main.RedoClick();
    EXPECT_EQ(game.Remaining(), 6);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(ResumeTest, ADamagedGameGivesANewDealAndOneMessageAForeignOneOnlyANewDeal)
{
    SetResume(true);
    const GameRecord kept = PlaySomeAndClose();
    const QByteArray good = ReadAll(savedPath);
    ASSERT_FALSE(good.isEmpty());

    auto startWith = [&](const QByteArray& bytes) {
        WriteAll(savedPath, bytes);
        messages.clear();
        auto windows = Start();
        windows->Main().show();
        QTest::qWait(0); // the start-up notice waits for the window to show
        const GameRecord record = windows->Main().Session().State().Record();
        EXPECT_TRUE(record.moves.empty());
        EXPECT_EQ(record.tiles.size(), kept.tiles.size());
        return record != kept;
    };
    // Cut short; and whole, but with a move the rules do not allow where it stands.
    SavedGameFile::SavedGame tampered = SavedGameFile::Parse(good).saved;
    tampered.game.moves.front().tiles[1] = tampered.game.moves.front().tiles[0] + 2;
    for (const QByteArray& damaged : { good.left(good.size() / 2), SavedGameFile::Format(tampered) }) {
        EXPECT_TRUE(startWith(damaged));
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages.first().contains(QStringLiteral("壊れている")))
            << messages.first().toStdString();
        EXPECT_TRUE(messages.first().contains(QDir::toNativeSeparators(savedPath)));
    }
    for (const QByteArray& foreign :
        { QByteArray("REGEDIT4\r\n"), QByteArray(good).replace("GAME 1", "GAME 9") }) {
        EXPECT_TRUE(startWith(foreign));
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    }
    // The same game with the tables changed on disk since it was kept.
    WriteAll(dir.filePath(ScoreTables::FileName(1)), ",,,,\r\n甲,乙,4,主気,\r\n");
    EXPECT_TRUE(startWith(good));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();

    // A file that cannot be read (here a folder in its place) is not called damaged: the
    // message says that it cannot be read, and why.
    ASSERT_TRUE(QFile::remove(savedPath));
    ASSERT_TRUE(QDir().mkpath(savedPath));
    messages.clear();
    {
        auto windows = Start();
        windows->Main().show();
        QTest::qWait(0);
        EXPECT_TRUE(windows->Main().Session().State().Record().moves.empty());
        ASSERT_EQ(messages.size(), 1);
        const QString& text = messages.first();
        EXPECT_TRUE(text.contains(QStringLiteral("読めない"))) << text.toStdString();
        EXPECT_TRUE(text.contains(FileError::Of(FileError::Kind::FolderInTheWay).ReadReason())) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("壊れている"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QDir::toNativeSeparators(savedPath)));
    }
    QDir(savedPath).removeRecursively();
}

TEST_F(ResumeTest, EveryMoveIsKeptWithoutACloseAndAGameEndedIsDroppedAtOnce)
{
    SetResume(true);
    AppModel model(dir.path());
    auto main = std::make_unique<TMainF>(model);
    main->SetMessageHook([this](const QString& text) { messages << text; });
    PlaySome(*main);
    auto kept = [this] { return SavedGameFile::Load(savedPath); };
    // Kept a moment later, as a crash now would find it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return kept().saved.game == main->Session().State().Record(); }, 5000));

    bool keptWhenEndShown = true;
    main->SetMessageHook([&](const QString&) { keptWhenEndShown = QFile::exists(savedPath); });
    LayBoard(main->Session().GameForTest(), { "甲乙" });
    main->Session().Pick(Game::TileNumber(0, 9), PickMode::Remove);
    main->Session().Pick(Game::TileNumber(1, 9), PickMode::Remove);
    QCoreApplication::processEvents();
    EXPECT_FALSE(keptWhenEndShown);
    // The next deal is kept in its turn; after a crash (no close) that deal comes back, not
    // the finished game.
    const GameRecord next = main->Session().State().Record();
    EXPECT_TRUE(QTest::qWaitFor([&] { return kept().saved.game == next; }, 5000));
    main.reset();
    TMainF again(model);
    EXPECT_EQ(again.Session().State().Record(), next);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(ResumeTest, AGameThatCannotBeKeptWhilePlayingIsSaidOnceWithWhereAndWhy)
{
    SetResume(true);
    // A file where the data folder should be: no write can succeed, even as root.
    WriteAll(dir.filePath(QStringLiteral("data")), "not a folder");
    AppModel model(dir.path());
    TMainF main(model);
    main.SetMessageHook([this](const QString& text) { messages << text; });
    PlaySome(main);
    QTest::qWait(400);
    for (int round = 0; round < 2; ++round) {
        main.RedoClick();
        QTest::qWait(400);
        main.ReBtnClick();
        QTest::qWait(400);
    }
    ASSERT_EQ(messages.size(), 1) << messages.join('\n').toStdString();
    EXPECT_TRUE(messages.first().contains(QDir::toNativeSeparators(savedPath))) << messages.first().toStdString();
    EXPECT_TRUE(messages.first().contains(QStringLiteral("（"))) << "and why";
}

TEST_F(ResumeTest, AGameClosedWhileItsEndIsShownIsNotKept)
{
    SetResume(true);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(savedPath).path()));
    WriteAll(savedPath, "an older game");
    // The main window alone: no ranking window to offer the result to.
    AppModel model(dir.path());
    TMainF main(model);
    LayBoard(main.Session().GameForTest(), { "甲乙" });
    main.SetMessageHook([&main](const QString&) { main.close(); });
    main.Session().Pick(Game::TileNumber(0, 9), PickMode::Remove);
    main.Session().Pick(Game::TileNumber(1, 9), PickMode::Remove);
    QCoreApplication::processEvents();
    EXPECT_FALSE(QFile::exists(savedPath));
}

} // namespace
