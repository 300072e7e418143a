// SPDX-License-Identifier: MIT
// Orbilo's start-up: the application title and help file, the five windows created in their
// fixed order (AppWindows), and the message loop until the main window closes.

// Qt
#include <QApplication>
#include <QIcon>

// own
#include "AppInfo.h"
#include "AppWindows.h"
#include "HelpViewer.h"
#include "Main.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orbilo"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/orbilo-256.png")));
    // Closing the main window ends the program, whatever else is open.
    QApplication::setQuitOnLastWindowClosed(false);
    AppInfo::InstallFontSubstitutions();
    InstallHelpUrlHandler();

    AppWindows windows;
    QObject::connect(&windows.Main(), &TMainF::Closed, &app, &QApplication::quit, Qt::QueuedConnection);
    windows.Main().show();
    return app.exec();
}
