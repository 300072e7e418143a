// SPDX-License-Identifier: MIT
// The command line: what starts the game, what only prints (help, versions), what fails
// with exit code 2, and the window system's options that must reach Qt untouched.

#include "windows/AppInfo.h"
#include "windows/CommandLine.h"

// Qt
#include <QStringList>

// GoogleTest
#include <gtest/gtest.h>

namespace {

using CommandLine::Action;

CommandLine::Request Parse(QStringList arguments)
{
    arguments.prepend(QStringLiteral("/usr/games/orbilo"));
    return CommandLine::Parse(arguments);
}

TEST(CommandLineTest, NothingOrOnlyTheWindowSystemsOptionsStartTheGame)
{
    for (const QStringList& arguments :
         { QStringList {}, QStringList { "-platform", "offscreen" }, QStringList { "--platform", "xcb" },
           QStringList { "-style=fusion" }, QStringList { "-display", ":1", "-reverse" },
           QStringList { "-qwindowgeometry", "600x400+10+10", "-name", "x" } }) {
        const CommandLine::Request request = Parse(arguments);
        EXPECT_EQ(request.action, Action::Play) << arguments.join(' ').toStdString() << ": " << request.text.toStdString();
    }
}

TEST(CommandLineTest, HelpAndVersionOnlyPrint)
{
    for (const char* option : { "--help", "-h" }) {
        const CommandLine::Request help = Parse({ QString::fromLatin1(option) });
        EXPECT_EQ(help.action, Action::ShowHelp) << option;
        EXPECT_TRUE(help.text.startsWith(QStringLiteral("使い方: orbilo"))) << help.text.toStdString();
        EXPECT_TRUE(help.text.contains(QStringLiteral("-v, --version"))) << help.text.toStdString();
    }
    // Help wins over the other options of the line.
    EXPECT_EQ(Parse({ "--version", "--help" }).action, Action::ShowHelp);

    for (const char* option : { "--version", "-v" }) {
        const CommandLine::Request version = Parse({ QString::fromLatin1(option) });
        EXPECT_EQ(version.action, Action::ShowVersion) << option;
        // The program's version is the one its title carries, then Qt's.
        const QString number = AppInfo::Title.mid(AppInfo::Title.indexOf(QStringLiteral("Ver")) + 3);
        EXPECT_EQ(version.text, QStringLiteral("Orbilo %1\nQt %2\n").arg(number, QString::fromLatin1(qVersion())));
    }
}

TEST(CommandLineTest, DealTakesADealNumber)
{
    EXPECT_FALSE(Parse({}).dealNumber);
    for (const QStringList& arguments : { QStringList { "--deal", "4294967295" }, QStringList { "--deal=4294967295" } }) {
        const CommandLine::Request request = Parse(arguments);
        EXPECT_EQ(request.action, Action::Play);
        EXPECT_EQ(request.dealNumber, std::optional<quint32>(4294967295u));
    }
    EXPECT_EQ(Parse({ "--deal", "0", "-platform", "offscreen" }).dealNumber, std::optional<quint32>(0u));
    for (const char* value : { "4294967296", "-1", "x", "" }) {
        const CommandLine::Request request = Parse({ "--deal", QString::fromLatin1(value) });
        EXPECT_EQ(request.action, Action::Fail) << value;
        EXPECT_TRUE(request.text.contains(QStringLiteral("--deal"))) << request.text.toStdString();
    }
    EXPECT_EQ(Parse({ "--deal" }).action, Action::Fail);
    EXPECT_TRUE(Parse({ "--help" }).text.contains(QStringLiteral("--deal N")));
}

TEST(CommandLineTest, WhatTheProgramDoesNotKnowFailsWithExitCodeTwo)
{
    const struct
    {
        QStringList arguments;
        const char* named;
    } cases[] = {
        { { "--bogus" }, "--bogus" },
        { { "-x" }, "-x" },
        { { "--help", "--bogus" }, "--bogus" },
        { { "stray" }, "stray" },
        { { "-platform" }, "-platform" },
        { { "--version=2" }, "--version" },
    };
    for (const auto& c : cases) {
        const CommandLine::Request request = Parse(c.arguments);
        EXPECT_EQ(request.action, Action::Fail) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(request.text.startsWith(QStringLiteral("orbilo: "))) << request.text.toStdString();
        EXPECT_TRUE(request.text.contains(QLatin1String(c.named))) << request.text.toStdString();
        EXPECT_TRUE(request.text.contains(QStringLiteral("orbilo --help"))) << request.text.toStdString();
    }
    EXPECT_EQ(CommandLine::Answer({ Action::Fail, QString() }), 2);
    EXPECT_EQ(CommandLine::Answer({ Action::ShowVersion, QString() }), 0);
}

} // namespace
