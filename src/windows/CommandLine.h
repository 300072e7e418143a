// SPDX-License-Identifier: MIT
// The command line, read before the program connects to the display: --help and --version
// answer on the terminal and open no window (so they work without a display), and anything
// the program does not know ends it with a message and exit code 2. The window system's own
// options (-platform, -style, -display and the rest) pass through to Qt unchanged.
//
// A new option is one row of the option table in CommandLine.cpp and, if it changes how the
// game starts, a field of Request that Parse fills.
#pragma once

// Qt
#include <QString>
#include <QStringList>

#include <optional>

namespace CommandLine {

enum class Action {
    Play, // start the game
    ShowHelp,
    ShowVersion,
    Fail, // the arguments cannot be used
};

struct Request
{
    Request() = default;
    Request(Action a, QString t)
        : action(a)
        , text(std::move(t))
    {
    }

    Action action = Action::Play;
    // What to print for every action but Play: the help, the versions or the error.
    QString text;
    // --deal N: the board to start with, instead of a fresh one (or a kept game).
    std::optional<quint32> dealNumber;
};

// The arguments as the program received them, the program's own name first.
QStringList Arguments(int argc, char** argv);

Request Parse(const QStringList& arguments);

// Prints the request's text (an error on stderr, the rest on stdout) and returns the exit
// code: 0, or 2 for Fail. Not for Play.
int Answer(const Request& request);

// Exit code when the window system cannot be reached (no display, no platform plugin).
constexpr int NoDisplayExitCode = 3;

// While it lives, Qt failing to reach the window system ends the program with a message of
// ours on stderr and NoDisplayExitCode, where Qt would print its own and abort. It spans the
// construction of the QApplication, where that failure happens; one at a time.
class DisplayGuard
{
public:
    explicit DisplayGuard(const QStringList& arguments);
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;
};

} // namespace CommandLine
