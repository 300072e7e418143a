// SPDX-License-Identifier: MIT
// The 47-byte font record, byte for byte, and the values it refuses.

// GoogleTest
#include <gtest/gtest.h>

// own
#include "store/FontRecord.h"
#include "platform/Cp932.h"

namespace {

FontRecord Board()
{
    FontRecord r;
    r.Height = -24;
    r.Color = 0x80000008;
    r.Style = FontRecord::fsBold | FontRecord::fsItalic;
    r.Name = QStringLiteral("ＭＳ Ｐゴシック");
    return r;
}

TEST(FontRecordTest, EncodesByteForByte)
{
    const QByteArray bytes = Board().Encode();
    ASSERT_EQ(bytes.size(), 47);
    EXPECT_EQ(bytes.left(4), QByteArray("\xe8\xff\xff\xff")); // -24
    EXPECT_EQ(bytes.mid(4, 4), QByteArray("\x08\0\0\x80", 4)); // system colour 8
    EXPECT_EQ(bytes.mid(8, 4), QByteArray("\x60\0\0\0", 4)); // 96 pixels per inch
    EXPECT_EQ(bytes.at(12), 0); // default pitch
    EXPECT_EQ(uchar(bytes.at(13)), 128); // Shift-JIS
    EXPECT_EQ(bytes.at(14), 3); // bold, italic
    EXPECT_EQ(bytes.at(15), 15); // the name's length
    EXPECT_EQ(bytes.mid(16, 15), Cp932::Encode(QStringLiteral("ＭＳ Ｐゴシック")));
    EXPECT_EQ(bytes.mid(31), QByteArray(16, '\0'));
    EXPECT_EQ(FontRecord::Decode(bytes), Board());
}

TEST(FontRecordTest, LongNamesAreCutAtACharacterBoundary)
{
    FontRecord r = Board();
    r.Name = QString(40, QLatin1Char('a'));
    EXPECT_EQ(FontRecord::Decode(r.Encode())->Name, QString(31, QLatin1Char('a')));
    // Sixteen double-byte characters are 32 bytes: the 16th would be split, so 15 remain.
    r.Name = QString(16, QChar(0x3042));
    const QByteArray bytes = r.Encode();
    EXPECT_EQ(bytes.at(15), 30);
    EXPECT_EQ(FontRecord::Decode(bytes)->Name, QString(15, QChar(0x3042)));
}

TEST(FontRecordTest, RefusesWhatCannotBeARecord)
{
    const QByteArray good = Board().Encode();
    EXPECT_FALSE(FontRecord::Decode(QByteArray()));
    EXPECT_FALSE(FontRecord::Decode(good.left(46)));
    EXPECT_FALSE(FontRecord::Decode(good + '\0'));
    QByteArray longName = good;
    longName[15] = 32;
    EXPECT_FALSE(FontRecord::Decode(longName));
    // 31 is the longest name; what follows the name carries no meaning.
    QByteArray full = good;
    full[15] = 31;
    full.replace(16, 31, QByteArray(31, 'F'));
    ASSERT_TRUE(FontRecord::Decode(full));
    EXPECT_EQ(FontRecord::Decode(full)->Name, QString(31, QLatin1Char('F')));
    QByteArray filler = good;
    filler[40] = '\x7f';
    EXPECT_EQ(FontRecord::Decode(filler), Board());
}

} // namespace
