// SPDX-License-Identifier: MIT
// Two running copies of the game on one settings file, as two processes: each window writes
// back only the settings it changed, so the copy that closes last does not undo what the
// other changed.

#include "controls/CtrlsEx.h"
#include "controls/NewCtrls.h"
#include "platform/Registry.h"
#include "platform/RegistryFile.h"
#include "store/Keys.h"
#include "windows/AppWindows.h"
#include "windows/Main.h"
#include "windows/Setu.h"

// Qt
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

// GoogleTest
#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

namespace {

QFont BoldBoardFont(QFont font)
{
    font.setBold(true);
    return font;
}

// Runs only inside the child processes of the next test. The copy starts, says "ready",
// waits for a line on its input, makes its changes and closes as a player would. Copy "A"
// picks 5 rows and the elapsed time; copy "B" picks 10 columns, 45 minutes and a bold font.
TEST(TwoCopiesChild, DISABLED_Copy)
{
    const QString role = qEnvironmentVariable("ORBILO_COPY_ROLE");
    ASSERT_TRUE(role == "A" || role == "B");
    auto report = [](const QString& text) { std::cerr << "notice: " << text.toStdString() << '\n'; };
    TSetuF::SetMessageHook([&](QWidget*, const QString& text) { report(text); });
    QTemporaryDir folder;
    auto windows = std::make_unique<AppWindows>(folder.path());
    TMainF& main = windows->Main();
    main.SetMessageHook(report);
    TSetuF& setu = windows->Setu();
    std::cout << "ready" << std::endl;
    std::string go;
    std::getline(std::cin, go);

    setu.show();
    if (role == "A") {
        main.CBH()->setCurrentIndex(2);
        setu.CB3()->setChecked(true);
    } else {
        main.CBW()->setCurrentIndex(3);
        setu.TimeE()->SetText(QStringLiteral("45"));
        setu.SetFontChooser([](QWidget*, QFont& font, ColorValue& color) {
            font = BoldBoardFont(font);
            color = SysColors::clNavy;
            return true;
        });
        setu.FontPnlMouseDown(0, 0, 0, 0);
    }
    setu.accept();
    main.close();
    windows.reset(); // the board font is stored as the main window goes
}

QProcess* StartCopy(const QString& role, const QString& config)
{
    auto* child = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", config);
    env.insert("ORBILO_COPY_ROLE", role);
    child->setProcessEnvironment(env);
    child->start(QCoreApplication::applicationFilePath(),
        { "--gtest_filter=TwoCopiesChild.DISABLED_Copy", "--gtest_also_run_disabled_tests" });
    return child;
}

bool WaitForReady(QProcess* child)
{
    while (child->waitForReadyRead(60000)) {
        if (child->readAll().contains("ready"))
            return true;
    }
    return false;
}

void Finish(QProcess* child, const char* role)
{
    child->write("go\n");
    child->closeWriteChannel();
    EXPECT_TRUE(child->waitForFinished(60000)) << role;
    EXPECT_EQ(child->exitCode(), 0) << role << ": " << child->readAllStandardOutput().toStdString();
    const QByteArray errors = child->readAllStandardError();
    EXPECT_FALSE(errors.contains("notice:")) << role << ": " << errors.toStdString();
}

TEST(TwoCopies, TheCopyClosingLastKeepsWhatTheOtherChanged)
{
    QTemporaryDir config;
    std::unique_ptr<QProcess> a(StartCopy("A", config.path()));
    ASSERT_TRUE(WaitForReady(a.get())) << a->readAllStandardError().toStdString();
    std::unique_ptr<QProcess> b(StartCopy("B", config.path()));
    ASSERT_TRUE(WaitForReady(b.get())) << b->readAllStandardError().toStdString();
    // Both have read the settings; B closes first, then A.
    Finish(b.get(), "B");
    Finish(a.get(), "A");

    RegistryFile reg(config.filePath("Orbilo/registry.reg"));
    auto text = [&](const QLatin1String& section, const QLatin1String& ident) {
        return reg.ReadValue(Keys::Root + QLatin1Char('\\') + section, ident).value.ToText();
    };
    EXPECT_EQ(text(Keys::Sys::Section, Keys::Sys::CBH.ident), "2");
    EXPECT_EQ(text(Keys::Set::Section, Keys::Set::CB3.ident), "1");
    EXPECT_EQ(text(Keys::Sys::Section, Keys::Sys::CBW.ident), "3");
    EXPECT_EQ(text(Keys::Set::Section, Keys::Set::TimeE.ident), "45");
    const RegValue font = reg.ReadValue(Keys::Root, Keys::FontInfo1).value;
    const std::optional<FontRecord> record = FontRecord::Decode(font.data);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->Style & FontRecord::fsBold, FontRecord::fsBold);
    EXPECT_EQ(record->Color, SysColors::clNavy);
}

} // namespace
