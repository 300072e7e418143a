// SPDX-License-Identifier: MIT
// The start-up's order of the windows: the main window alone first, usable on its own, and
// the four others created once it has drawn its first frame, wired to it as when all five
// are created at once.

#include "windows/AppInfo.h"
#include "windows/AppWindows.h"
#include "controls/BrimBtn.h"
#include "store/Keys.h"
#include "app/GameSession.h"
#include "windows/Main.h"
#include "windows/Rank.h"
#include "platform/Registry.h"
#include "windows/Setu.h"
#include "controls/StringGrid.h"

// Qt
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

// GoogleTest
#include <gtest/gtest.h>

#include <array>

namespace {

class AppWindowsTest : public ::testing::Test
{
protected:
    AppWindowsTest() { Registry::SetUserFileOverride(QDir(dir.path()).filePath("user.reg")); }
    ~AppWindowsTest() override { Registry::SetUserFileOverride(QString()); }

    // Two stem pairs side by side on the bottom row: 甲乙 and 甲乙.
    static void LayStemPairs(TMainF& main)
    {
        std::array<QString, Game::TileCount> captions;
        std::array<bool, Game::TileCount> visible {};
        for (int i = 108; i < 112; ++i) {
            captions[size_t(i)] = i % 2 == 0 ? QStringLiteral("甲") : QStringLiteral("乙");
            visible[size_t(i)] = true;
        }
        main.Session().GameForTest().SetBoardForTest(captions, visible);
    }

    QTemporaryDir dir;
};

// Whether the audio module, or the audio library it brings, is mapped into this process.
bool AudioStackLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = maps.readAll();
    return text.contains("orbilo_sound_qt") || text.contains("libQt6Multimedia");
}

TEST_F(AppWindowsTest, TheMainWindowPlaysBeforeTheOthersExist)
{
    AppWindows windows(dir.path(), AppWindows::Creation::MainWindowFirst);
    EXPECT_FALSE(windows.LaterWindowsCreated());
    // The main window only reads the settings; the first write waits for the others.
    EXPECT_FALSE(Registry::User()->KeyExists(Keys::Root));
    TMainF& main = windows.Main();
    LayStemPairs(main);

    // The model's score tables score from the first board; this folder has no table files,
    // so the pair is removed and scores nothing.
    main.Session().Pick(Game::TileNumber(0, 9), PickMode::Remove);
    main.Session().Pick(Game::TileNumber(1, 9), PickMode::Remove);
    EXPECT_EQ(main.Session().State().Remaining(), 2);
    EXPECT_EQ(main.SG1()->Grid()->Cell(2, 1), QString());
    main.Timer1Timer();
    main.H1Click();
    main.O1Click();
    main.About1Click();
    EXPECT_FALSE(windows.LaterWindowsCreated());
}

TEST_F(AppWindowsTest, TheOthersFollowTheFirstFrameAndAreWiredToTheMainWindow)
{
    AppWindows windows(dir.path(), AppWindows::Creation::MainWindowFirst);
    TMainF& main = windows.Main();
    int tilePaintsBeforeThem = 0;
    QObject::connect(main.Tile(0, 9), &TBrimBtn::Painted, [&] {
        if (!windows.LaterWindowsCreated())
            ++tilePaintsBeforeThem;
    });
    windows.ShowMain();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    // Well before the deadline: the frame, not the timer, brings them.
    QTRY_VERIFY_WITH_TIMEOUT(windows.LaterWindowsCreated(), AppWindows::LaterWindowsDeadlineMs / 2);
    EXPECT_GT(tilePaintsBeforeThem, 0);

    TSetuF* setu = &windows.Setu();
    EXPECT_EQ(setu->parentWidget(), &main);
    EXPECT_TRUE(Registry::User()->KeyExists(Keys::Root)) << "merely starting creates the root key";
    EXPECT_FALSE(main.windowIcon().isNull()) << "the program's icon comes with them";
    EXPECT_EQ(windows.Rank().parentWidget(), &main);
    // The deadline passing later creates nothing a second time.
    QTest::qWait(AppWindows::LaterWindowsDeadlineMs + 50);
    EXPECT_EQ(&windows.Setu(), setu);

    // The options dialog's score table now scores the board's pairs.
    TextGrid* stems = setu->ScoreTable(1);
    ASSERT_NE(stems, nullptr);
    stems->SetCell(0, 1, QStringLiteral("甲"));
    stems->SetCell(1, 1, QStringLiteral("乙"));
    stems->SetCell(2, 1, QStringLiteral("42"));
    LayStemPairs(main);
    QTest::mouseClick(main.Tile(0, 9), Qt::LeftButton);
    QTest::mouseClick(main.Tile(1, 9), Qt::LeftButton);
    EXPECT_EQ(main.SG1()->Grid()->Cell(2, 1), QStringLiteral("42"));
    EXPECT_EQ(main.PntL()->text(), QStringLiteral("ポイント： 42  "));
}

TEST_F(AppWindowsTest, AllAtOnceCreatesTheFiveAtConstruction)
{
    AppWindows windows(dir.path());
    EXPECT_TRUE(windows.LaterWindowsCreated());
    const TSetuF* setu = &windows.Setu();
    windows.ShowMain();
    EXPECT_TRUE(windows.Main().isVisible());
    windows.CreateLaterWindows();
    EXPECT_EQ(&windows.Setu(), setu);
}

// The program starts without the audio stack; the first sound brings it in.
TEST_F(AppWindowsTest, TheAudioStackWaitsForTheFirstSound)
{
    if (!QFile::exists(QStringLiteral("/proc/self/maps")))
        GTEST_SKIP() << "no process map to look at";
    if (AudioStackLoaded())
        GTEST_SKIP() << "an earlier test in this process loaded it";
    AppWindows windows(dir.path(), AppWindows::Creation::MainWindowFirst);
    TMainF& main = windows.Main();
    windows.ShowMain();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    QTRY_VERIFY_WITH_TIMEOUT(windows.LaterWindowsCreated(), AppWindows::LaterWindowsDeadlineMs * 2);
    QTest::qWait(50);
    EXPECT_FALSE(AudioStackLoaded());

    ASSERT_TRUE(windows.Setu().SoundOn());
    LayStemPairs(main);
    QTest::mouseClick(main.Tile(0, 9), Qt::LeftButton);
    EXPECT_TRUE(AudioStackLoaded());
}

// The board font keeps the name it is stored under, while the tiles ask for the face that is
// installed for it, so that drawing them does not first search for a missing face.
TEST_F(AppWindowsTest, TilesAreDrawnWithTheInstalledFaceOfTheBoardFont)
{
    AppWindows windows(dir.path());
    TMainF& main = windows.Main();
    windows.ShowMain();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    EXPECT_EQ(windows.Setu().BoardFont().family(), AppInfo::PGothic);
    const QFont tile = main.Tile(0, 0)->font();
    EXPECT_EQ(tile.family(), AppInfo::InstalledFace(AppInfo::PGothic));
    EXPECT_EQ(QFontInfo(tile).family(), tile.family());
    EXPECT_EQ(tile.pixelSize(), windows.Setu().BoardFont().pixelSize());
}

// The size lists get their font and face colour from their panel, so their drop-down lists
// are not built until opened; opened, they show in the same font.
TEST_F(AppWindowsTest, SizeListsBuildTheirDropDownsOnlyWhenOpened)
{
    AppWindows windows(dir.path());
    TMainF& main = windows.Main();
    windows.ShowMain();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    for (QComboBox* combo : {main.CBH(), main.CBW()}) {
        EXPECT_EQ(combo->findChild<QAbstractItemView*>(), nullptr);
        EXPECT_EQ(combo->font().pixelSize(), AppInfo::WindowFont(AppInfo::PGothic, -15).pixelSize());
        EXPECT_EQ(combo->palette().color(QPalette::Button), QColor(0xc0, 0xc0, 0xc0));
        combo->showPopup();
        QAbstractItemView* list = combo->view();
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->font().pixelSize(), combo->font().pixelSize());
        EXPECT_EQ(list->font().family(), combo->font().family());
        combo->hidePopup();
    }
}

// A setting that cannot be read gives the options dialog a notice at start-up. A message
// box runs the event loop, and with it the first frame's watch and the deadline that create
// the later windows: they are made once all the same, and the notice shows once.
TEST_F(AppWindowsTest, AStartUpNoticeShowsOnceAndTheWindowsAreMadeOnce)
{
    const QString set = Keys::Root + QStringLiteral("\\Set");
    ASSERT_TRUE(Registry::User()->OpenKey(set, RegOpen::Create).Ok());
    ASSERT_TRUE(Registry::User()->WriteValue(set, QStringLiteral("CB2"), RegValue::Dword(1)).Ok());
    QStringList notices;
    struct HookGuard
    {
        ~HookGuard() { TSetuF::SetMessageHook({}); }
    } guard;
    TSetuF::SetMessageHook([&](QWidget*, const QString& text) {
        notices << text;
        // The box stays up past the deadline.
        QTest::qWait(AppWindows::LaterWindowsDeadlineMs + 200);
    });

    AppWindows windows(dir.path(), AppWindows::Creation::MainWindowFirst);
    windows.ShowMain();
    QTRY_VERIFY_WITH_TIMEOUT(windows.LaterWindowsCreated(), 5000);
    QTest::qWait(2 * AppWindows::LaterWindowsDeadlineMs);
    EXPECT_EQ(windows.Main().findChildren<TSetuF*>().size(), 1);
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices.at(0).contains(QStringLiteral("Set\\CB2"))) << notices.at(0).toStdString();
}

} // namespace
