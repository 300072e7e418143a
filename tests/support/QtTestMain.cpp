// SPDX-License-Identifier: MIT
// Shared main for every test suite: a QApplication on the offscreen platform (unless the
// environment chose another), so widget tests and discovery at build time need no display.

// Qt
#include <QApplication>
// GoogleTest
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
