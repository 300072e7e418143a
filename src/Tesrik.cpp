// SPDX-License-Identifier: MIT
// Orbilo's start-up: the application title and help file, the five windows created in their
// fixed order (AppWindows), and the message loop until the main window closes. The main
// window is shown as soon as it exists; the program's icon and the four other windows follow
// its first frame. The font configuration is read on another core while Qt connects to the
// display (FontWarmUp).

// Qt
#include <QApplication>

// own
#include "windows/AppInfo.h"
#include "windows/AppStyle.h"
#include "windows/AppWindows.h"
#include "platform/FontWarmUp.h"
#include "windows/HelpViewer.h"
#include "windows/Main.h"

int main(int argc, char** argv)
{
    FontWarmUp fonts;
    QApplication app(argc, argv);
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
    InstallHelpUrlHandler();

    AppWindows windows(QString(), AppWindows::Creation::MainWindowFirst);
    QObject::connect(&windows.Main(), &TMainF::Closed, &app, &QApplication::quit, Qt::QueuedConnection);
    windows.ShowMain();
    return app.exec();
}
