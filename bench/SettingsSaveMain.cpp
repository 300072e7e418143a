// SPDX-License-Identifier: MIT
// orbilo_settings_save FILE: reads the settings file FILE as the game does at start-up, then
// saves the options once as the options dialog's OK does (every value changed), and prints
// "save_ms=T read_peak_kb=R peak_kb=P": the save's time, the process's peak memory before
// the save and after it. Run in a process of its own for each file (./bench.sh does), so
// that each peak is that file's alone.

#include "SettingsSave.h"

// own
#include "platform/Registry.h"

// Qt
#include <QCoreApplication>
#include <QElapsedTimer>

#include <sys/resource.h>

#include <cstdio>

namespace {

long PeakKb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: orbilo_settings_save FILE\n");
        return 2;
    }
    Registry::SetUserFileOverride(QString::fromLocal8Bit(argv[1]));
    SettingsSave save;
    save.ReadAtStart();
    const long readPeak = PeakKb();
    QElapsedTimer timer;
    timer.start();
    const bool saved = save.Save();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    std::printf("save_ms=%.1f read_peak_kb=%ld peak_kb=%ld\n", ms, readPeak, PeakKb());
    return saved ? 0 : 1;
}
