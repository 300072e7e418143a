// SPDX-License-Identifier: MIT
// FontWarmUp reads the system's font configuration on a second processor core while the
// program connects to the display. Qt reads it on the first text it measures, on the main
// thread, where reading some hundred configuration files and the font caches delays the first
// frame by a few milliseconds; read beforehand, Qt finds it ready. Where fonts are not found
// through fontconfig, it does nothing.
#pragma once

#include <thread>

class FontWarmUp
{
public:
    // Starts reading.
    FontWarmUp();
    // Waits for the reading to finish.
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    // Waits for the reading to finish; call it before the first text is measured, so that
    // the two threads do not read the configuration twice. Later calls return at once.
    void Wait();

private:
    std::thread m_thread;
};
