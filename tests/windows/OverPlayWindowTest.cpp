// SPDX-License-Identifier: MIT
// The one-second timer of the main window with a replaced clock: the elapsed-time label,
// its visibility following the options dialog's switch, and the over-play warning with
// its optional quit, all read live from the dialog's controls.

#include "windows/AppWindows.h"
#include "controls/CtrlsEx.h"
#include "windows/Main.h"
#include "platform/Registry.h"
#include "windows/Setu.h"

// Qt
#include <QCheckBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// GoogleTest
#include <gtest/gtest.h>

namespace {

class OverPlayWindowTest : public ::testing::Test
{
protected:
    OverPlayWindowTest()
    {
        Registry::SetUserFileOverride(QDir(dir.path()).filePath("user.reg"));
        windows = std::make_unique<AppWindows>(dir.path());
        Main().SetMessageHook([this](const QString& text) { messages << text; });
        Main().SetClock([this] { return nowMs; });
        Main().show();
    }
    ~OverPlayWindowTest() override
    {
        windows.reset();
        Registry::SetUserFileOverride(QString());
    }

    TMainF& Main() { return windows->Main(); }
    TSetuF& Setu() { return windows->Setu(); }

    // Runs the tick that falls at this elapsed time.
    void TickAt(int hours, int minutes, int seconds, int ms = 250)
    {
        nowMs = (qint64(hours) * 3600 + minutes * 60 + seconds) * 1000 + ms;
        Main().Timer1Timer();
        // The warning box opens once the tick has returned.
        QCoreApplication::processEvents();
    }

    QTemporaryDir dir;
    std::unique_ptr<AppWindows> windows;
    QStringList messages;
    qint64 nowMs = 0;
};

TEST_F(OverPlayWindowTest, LabelCountsAndFollowsTheShowSwitch)
{
    EXPECT_EQ(Setu().TimeE()->Text(), QStringLiteral("30"));
    EXPECT_FALSE(Setu().CB3()->isChecked());
    TickAt(0, 0, 5);
    EXPECT_FALSE(Main().TimeL()->isVisible());
    EXPECT_EQ(Main().TimeL()->text(), QStringLiteral("経過時間 ：00:00 05 "));
    // Checked in the dialog: shown at the next tick, already counting.
    Setu().CB3()->setChecked(true);
    TickAt(1, 2, 3);
    EXPECT_TRUE(Main().TimeL()->isVisible());
    EXPECT_EQ(Main().TimeL()->text(), QStringLiteral("経過時間 ：01:02 03 "));
    TickAt(24, 0, 0);
    EXPECT_EQ(Main().TimeL()->text(), QStringLiteral("経過時間 ：00:00 00 "));
}

TEST_F(OverPlayWindowTest, WarningFiresOnTheMinuteEveryHour)
{
    TickAt(0, 29, 59);
    EXPECT_TRUE(messages.isEmpty());
    TickAt(0, 30, 0);
    EXPECT_EQ(messages, QStringList { QStringLiteral("30 分が経過しました。") });
    TickAt(0, 30, 1);
    TickAt(1, 30, 0);
    EXPECT_EQ(messages.size(), 2);
    EXPECT_TRUE(Main().isVisible());
}

TEST_F(OverPlayWindowTest, ALateTickCatchesUpAndTwoTicksInOneSecondWarnOnce)
{
    TickAt(0, 29, 59, 900);
    TickAt(0, 30, 1, 100);
    EXPECT_EQ(messages.size(), 1);
    TickAt(1, 30, 0, 20);
    TickAt(1, 30, 0, 970);
    EXPECT_EQ(messages.size(), 2);
}

TEST_F(OverPlayWindowTest, UnusableMinutesNeverWarn)
{
    for (const char* text : { "05", "", "60", "abc" }) {
        Setu().TimeE()->SetText(QString::fromUtf8(text));
        for (int m = 0; m < 60; ++m)
            TickAt(0, m, 0);
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(OverPlayWindowTest, WarningQuitsWhenAsked)
{
    QSignalSpy closed(&Main(), &TMainF::Closed);
    Setu().CB2()->setChecked(true);
    Setu().TimeE()->SetText(QStringLiteral("1"));
    TickAt(0, 1, 0);
    EXPECT_EQ(messages, QStringList { QStringLiteral("1 分が経過しました。『OrbiloVer1.10』を終了します。") });
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(Main().isVisible());
}

TEST_F(OverPlayWindowTest, TheLabelKeepsCountingWhileTheWarningIsUp)
{
    // The real timer, fast, so that the box is opened from its tick as in play.
    QString seenWhileUp;
    Main().SetMessageHook([&](const QString&) {
        nowMs += 9000;
        QTest::qWait(100);
        seenWhileUp = Main().TimeL()->text();
    });
    nowMs = 30 * 60 * 1000 + 250;
    Main().Timer1()->start(10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !seenWhileUp.isEmpty(); }, 5000));
    EXPECT_EQ(seenWhileUp, QStringLiteral("経過時間 ：00:30 09 "));
}

} // namespace
