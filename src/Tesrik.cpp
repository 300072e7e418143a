// SPDX-License-Identifier: MIT
// Orbilo's start-up: the application title and help file, the five windows created in their
// fixed order (AppWindows), and the message loop until the main window closes. The main
// window is shown as soon as it exists; the program's icon and the four other windows follow
// its first frame. The font configuration is read on another core while Qt connects to the
// display (FontWarmUp). The command line is read before anything else, so --help and
// --version need no display; and the folder of the score tables and the ranking is chosen
// once, before any window reads from it.

// Qt
#include <QApplication>
#include <QTimer>

// own
#include "app/GameSession.h"
#include "windows/AppInfo.h"
#include "windows/AppStyle.h"
#include "windows/AppWindows.h"
#include "windows/CommandLine.h"
#include "store/DataFolder.h"
#include "platform/FontWarmUp.h"
#include "windows/HelpViewer.h"
#include "windows/Main.h"

#include <optional>

int main(int argc, char** argv)
{
    const CommandLine::Request request = CommandLine::Parse(CommandLine::Arguments(argc, argv));
    if (request.action != CommandLine::Action::Play)
        return CommandLine::Answer(request);

    FontWarmUp fonts;
    std::optional<CommandLine::DisplayGuard> noDisplay(std::in_place, CommandLine::Arguments(argc, argv));
    QApplication app(argc, argv);
    noDisplay.reset();
    QApplication::setApplicationName(QStringLiteral("Orbilo"));
    QApplication::setStyle(new AppStyle);
    // Closing the main window ends the program, whatever else is open.
    QApplication::setQuitOnLastWindowClosed(false);
    fonts.Wait();
    AppInfo::InstallFontSubstitutions();
    // The program's own face for everything without a font of its own: menus, message
    // boxes, the colouring choice. Left at Qt's Latin default, their Japanese captions would
    // be drawn through a fallback face of another size, and that second Japanese font would
    // be loaded for them alone.
    QApplication::setFont(AppInfo::WindowFont(AppInfo::PGothic, -12));
    AppInfo::InstallQtTranslation();
    InstallHelpUrlHandler();

    const DataFolder::Choice& data = DataFolder::Current();
    // What saves killed in a former run left behind; never what a running copy is writing.
    DataFolder::RemoveLeftovers(data);
    AppWindows windows(data, AppWindows::Creation::MainWindowFirst);
    QObject::connect(&windows.Main(), &TMainF::Closed, &app, &QApplication::quit, Qt::QueuedConnection);
    // A board asked for by number replaces the first deal (or the kept game) before it shows.
    if (request.dealNumber)
        windows.Model().Session().Deal(*request.dealNumber);
    windows.ShowMain();
    // A table found nowhere scores nothing; the player hears of it once, over the board.
    const QString missing = DataFolder::MissingTablesMessage(data);
    if (!missing.isEmpty())
        QTimer::singleShot(0, &windows.Main(), [&windows, missing] { windows.Main().ShowMessage(missing); });
    return app.exec();
}
