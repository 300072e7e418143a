// SPDX-License-Identifier: MIT
// A fixture for tests that drive the program's real windows: the windows made over a fresh
// program folder and settings file, message boxes caught into `messages`.
#pragma once

#include "platform/Registry.h"
#include "windows/AppWindows.h"
#include "windows/Main.h"

// Qt
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

// GoogleTest
#include <gtest/gtest.h>

#include <memory>

class OpenWindowsTest : public ::testing::Test
{
protected:
    OpenWindowsTest() { Registry::SetUserFileOverride(QDir(dir.path()).filePath("user.reg")); }
    ~OpenWindowsTest() override { Registry::SetUserFileOverride(QString()); }

    // Makes the windows and shows the main window, active.
    TMainF& Open()
    {
        windows = std::make_unique<AppWindows>(dir.path());
        TMainF& main = windows->Main();
        main.SetMessageHook([this](const QString& text) { messages << text; });
        main.show();
        main.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&main));
        return main;
    }

    QTemporaryDir dir;
    std::unique_ptr<AppWindows> windows;
    QStringList messages;
};
