// SPDX-License-Identifier: MIT
// Font heights that come from a stored board font, which may hold any 32-bit value.

#include "controls/FontHeight.h"
#include "controls/NewCtrls.h"

// Qt
#include <QFont>
// GoogleTest
#include <gtest/gtest.h>

#include <climits>

namespace {

// Found by the font-record fuzz target (fuzz/corpus/fontrecord/em-height-int-min and
// cell-height-times-probe-overflow): a stored height of INT_MIN was negated, and a large
// positive (cell) height was multiplied by the measuring size, both overflowing int.
TEST(FontHeightTest, StoredHeightsAtTheEndsOfTheRangeDoNotOverflow)
{
    QFont font(QStringLiteral("IPAGothic"));
    FontHeight::Apply(font, INT_MIN);
    EXPECT_EQ(font.pixelSize(), INT_MAX);
    FontHeight::Apply(font, -INT_MAX);
    EXPECT_EQ(font.pixelSize(), INT_MAX);
    FontHeight::Apply(font, 1095780734);
    EXPECT_GT(font.pixelSize(), 0);
    FontHeight::Apply(font, INT_MAX);
    EXPECT_GT(font.pixelSize(), 0);
    FontHeight::Apply(font, 1);
    EXPECT_EQ(font.pixelSize(), 1);

    FontRecord record;
    record.Height = INT_MIN;
    record.Name = QStringLiteral("IPAGothic");
    const QFont loaded = TFontInfo::FromRecord(record, QFont());
    EXPECT_EQ(loaded.pixelSize(), INT_MAX);
    EXPECT_EQ(TFontInfo::ToRecord(loaded, 0).Height, -INT_MAX);
}

} // namespace
