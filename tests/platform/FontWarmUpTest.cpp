// SPDX-License-Identifier: MIT
// The font configuration read on a second thread while the main thread goes on, as at
// start-up, even when the main thread reaches for the fonts before the reading is done.

#include "platform/FontWarmUp.h"

// Qt
#include <QFontDatabase>
#include <QStringList>

// GoogleTest
#include <gtest/gtest.h>

TEST(FontWarmUpTest, TheMainThreadMayUseFontsMeanwhile)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows lists its fonts itself, without fontconfig: nothing to read ahead";
#endif
    FontWarmUp early;
    // No waiting first: fontconfig must cope with both threads reading at once.
    const QStringList families = QFontDatabase::families();
    early.Wait();
    EXPECT_FALSE(families.isEmpty());
    early.Wait(); // a second wait returns at once

    FontWarmUp late; // after Qt has read the configuration: nothing left to do
    late.Wait();
    EXPECT_EQ(QFontDatabase::families(), families);
}
