// SPDX-License-Identifier: MIT
// Orbilo's start-up: the application title and help file, the five windows created in their
// fixed order, and the message loop. The main window comes first and must not touch the
// others while it is created; the options dialog comes last and takes the board font from
// the finished main window.

// Qt
#include <QApplication>
#include <QIcon>

// own
#include "About.h"
#include "AppInfo.h"
#include "HelpViewer.h"
#include "Main.h"
#include "Name.h"
#include "Rank.h"
#include "Setu.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orbilo"));
    QApplication::setApplicationDisplayName(AppInfo::Title);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/orbilo-256.png")));
    // Closing the main window ends the program, whatever else is open.
    QApplication::setQuitOnLastWindowClosed(false);
    AppInfo::InstallFontSubstitutions();
    InstallHelpUrlHandler();

    TMainF mainF;
    TAboutBox aboutBox(&mainF);
    TNameF nameF(&mainF);
    TRankF rankF(&mainF, &nameF, &mainF);
    TSetuF setuF(mainF.ProgramFolder(), mainF.BoardFont(), mainF.BoardFontColor(), &mainF);
    setuF.SetRankingGrid(&rankF.Grid());
    setuF.SetApplyBoardFont([&mainF] { mainF.ApplyBoardFont(); });
    mainF.SetWindows(&aboutBox, &rankF, &setuF);

    QObject::connect(&mainF, &TMainF::Closed, &app, &QApplication::quit, Qt::QueuedConnection);
    mainF.show();
    return app.exec();
}
