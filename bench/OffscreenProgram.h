// SPDX-License-Identifier: MIT
// The program's windows for a measurement: built as the start-up builds them, on the
// offscreen platform (unless the environment chose another), with a configuration folder
// and a program folder of their own, so that nothing of the player's is read or written.
#pragma once

// Qt
#include <QApplication>
#include <QComboBox>
#include <QTemporaryDir>
// own
#include "app/GameSession.h"
#include "windows/AppInfo.h"
#include "windows/AppWindows.h"
#include "controls/ChkGroup.h"
#include "windows/Main.h"

#include <memory>

class OffscreenProgram
{
public:
    OffscreenProgram(int& argc, char** argv)
        : m_environment(Prepare(m_config))
        , m_app(argc, argv)
    {
        AppInfo::InstallFontSubstitutions();
        m_windows = std::make_unique<AppWindows>(m_folder.path());
    }

    AppWindows& Windows() { return *m_windows; }
    TMainF& Main() { return m_windows->Main(); }

    // Chooses the largest board of all three sets and deals it.
    void DealFullBoard()
    {
        Main().CBH()->setCurrentIndex(Main().CBH()->count() - 1);
        Main().CBW()->setCurrentIndex(Main().CBW()->count() - 1);
        Main().CG1()->SetBitChk(7);
        Main().Session().Deal();
    }

    // Lets posted events and the paints they ask for run out.
    static void Settle()
    {
        for (int i = 0; i < 10; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        }
    }

private:
    static bool Prepare(const QTemporaryDir& config)
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        return true;
    }

    QTemporaryDir m_config;
    bool m_environment;
    QTemporaryDir m_folder;
    QApplication m_app;
    std::unique_ptr<AppWindows> m_windows;
};
