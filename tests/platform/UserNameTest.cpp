// SPDX-License-Identifier: MIT
// LoginName: the name the ranking's name entry offers.

#include "platform/UserName.h"

// GoogleTest
#include <gtest/gtest.h>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

#ifndef _WIN32
TEST(UserNameTest, IsThePasswordEntryOfTheEffectiveUser)
{
    const passwd* entry = getpwuid(geteuid());
    if (!entry)
        GTEST_SKIP() << "no password entry for this user";
    EXPECT_EQ(LoginName(), QString::fromLocal8Bit(entry->pw_name));
}

// The account database wins over the environment, which any parent process can set.
TEST(UserNameTest, IgnoresTheEnvironmentWhenTheAccountIsKnown)
{
    if (!getpwuid(geteuid()))
        GTEST_SKIP() << "no password entry for this user";
    const bool wasSet = qEnvironmentVariableIsSet("USER");
    const QByteArray saved = qgetenv("USER");
    qputenv("USER", "somebody-else");
    const QString name = LoginName();
    if (wasSet)
        qputenv("USER", saved);
    else
        qunsetenv("USER");
    EXPECT_NE(name, QStringLiteral("somebody-else"));
    EXPECT_FALSE(name.isEmpty());
    EXPECT_FALSE(name.contains(QChar(0)));
}
#endif

#ifdef _WIN32
// GetUserNameW's name, which Windows also gives every program as %USERNAME%.
TEST(UserNameTest, IsTheWindowsUserName)
{
    const QString expected = qEnvironmentVariable("USERNAME");
    if (expected.isEmpty())
        GTEST_SKIP() << "no USERNAME";
    EXPECT_EQ(LoginName().compare(expected, Qt::CaseInsensitive), 0) << LoginName().toStdString();
}
#endif
