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
#include <QCheckBox>
#include <QTest>
#include <QTimer>
// own
#include "OffscreenProgram.h"
#include "controls/BrimBtn.h"
#include "windows/Setu.h"

#include <cstdio>

namespace {

constexpr int Ticks = 10;

} // namespace

int main(int argc, char** argv)
{
    OffscreenProgram program(argc, argv);
    TMainF& mainF = program.Main();

    // Show the elapsed time, so that every tick changes a label; a full board of all sets.
    program.Windows().Setu().CB3()->setChecked(true);
    program.DealFullBoard();

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
    OffscreenProgram::Settle();
    const int shownPaints = paints;

    // The first tick shows the elapsed-time label, hidden until the timer first runs.
    paints = 0;
    now += 1000;
    mainF.Timer1Timer();
    OffscreenProgram::Settle();
    const int firstTick = paints;

    paints = 0;
    for (int i = 0; i < Ticks; ++i) {
        now += 1000;
        mainF.Timer1Timer();
        OffscreenProgram::Settle();
    }
    const int tickPaints = paints;

    paints = 0;
    mainF.Tile(0, 9)->update();
    OffscreenProgram::Settle();
    const int control = paints;

    std::printf("ticks=%d tile_paints=%d first_tick_paints=%d control_paints=%d shown_paints=%d\n", Ticks,
                tickPaints, firstTick, control, shownPaints);
    mainF.Timer1()->stop();
    return tickPaints == 0 && firstTick == 0 && control > 0 ? 0 : 1;
}
