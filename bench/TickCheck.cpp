// SPDX-License-Identifier: MIT
// Checks that the one-second timer repaints no board tile. It builds the program's windows as
// the start-up does (AppWindows), shows the main window on the offscreen platform with a full board and
// the elapsed time on show, lets it settle, then runs the timer handler a number of times
// with a clock that advances one second per tick, processing events after each, and counts
// the Painted signals of the 120 tiles. A single tile update afterwards must be seen, which
// shows that the count can see paints at all.
//
// Prints one line, "ticks=N tile_paints=P first_tick_paints=F control_paints=C
// shown_paints=S", and exits 0 only when P and F are 0 and C is not.

// Qt
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
// own
#include "windows/AppInfo.h"
#include "windows/AppWindows.h"
#include "controls/BrimBtn.h"
#include "controls/ChkGroup.h"
#include "windows/Main.h"
#include "windows/Setu.h"

#include <cstdio>

namespace {

constexpr int Ticks = 10;

void Settle()
{
    for (int i = 0; i < 10; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A configuration folder and a program folder of its own: nothing of the player's is read
    // or written.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QTemporaryDir folder;

    QApplication app(argc, argv);
    AppInfo::InstallFontSubstitutions();

    AppWindows windows(folder.path());
    TMainF& mainF = windows.Main();

    // Show the elapsed time, so that every tick changes a label; a full board of all sets.
    windows.Setu().CB3()->setChecked(true);
    mainF.CBH()->setCurrentIndex(mainF.CBH()->count() - 1);
    mainF.CBW()->setCurrentIndex(mainF.CBW()->count() - 1);
    mainF.CG1()->SetBitChk(7);
    mainF.NewGame();

    qint64 now = 0;
    mainF.SetClock([&now] { return now; });
    mainF.Timer1()->stop();

    int paints = 0;
    for (int c = 0; c < Game::Cols; ++c)
        for (int r = 0; r < Game::Rows; ++r)
            QObject::connect(mainF.Tile(c, r), &TBrimBtn::Painted, [&paints] { ++paints; });

    mainF.show();
    if (!QTest::qWaitForWindowExposed(&mainF)) {
        std::printf("the main window was never exposed\n");
        return 2;
    }
    Settle();
    const int shownPaints = paints;

    // The first tick shows the elapsed-time label, hidden until the timer first runs.
    paints = 0;
    now += 1000;
    mainF.Timer1Timer();
    Settle();
    const int firstTick = paints;

    paints = 0;
    for (int i = 0; i < Ticks; ++i) {
        now += 1000;
        mainF.Timer1Timer();
        Settle();
    }
    const int tickPaints = paints;

    paints = 0;
    mainF.Tile(0, 9)->update();
    Settle();
    const int control = paints;

    std::printf("ticks=%d tile_paints=%d first_tick_paints=%d control_paints=%d shown_paints=%d\n", Ticks,
                tickPaints, firstTick, control, shownPaints);
    mainF.Timer1()->stop();
    return tickPaints == 0 && firstTick == 0 && control > 0 ? 0 : 1;
}
