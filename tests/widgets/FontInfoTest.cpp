// SPDX-License-Identifier: MIT
// TFontInfo: the board font stored and restored through the portable registry, the shared
// key name, the entry name following renames, and stored values that must not be used.

// Qt
#include <QFontMetrics>
#include <QTemporaryDir>
// GoogleTest
#include <gtest/gtest.h>

// own
#include "controls/NewCtrls.h"
#include "platform/Cp932.h"
#include "platform/RegistryFile.h"
#include "store/Keys.h"

namespace {

class FontInfoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Registry::SetUserFileOverride(m_dir.filePath("registry.reg"));
        m_info.SetKeyName(Keys::Root);
        m_info.setObjectName("FontInfo1");
    }
    void TearDown() override
    {
        Registry::SetUserFileOverride(QString());
        m_info.SetKeyName(QString());
    }
    void Put(const RegValue& value)
    {
        ASSERT_TRUE(m_reg.OpenKey(Keys::Root, RegOpen::Create).Ok());
        ASSERT_TRUE(m_reg.WriteValue(Keys::Root, Keys::FontInfo1, value).Ok());
    }
    static QFont BoardFont()
    {
        QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
        f.setPixelSize(24);
        return f;
    }

    QTemporaryDir m_dir;
    RegistryFile m_reg { m_dir.filePath("registry.reg") };
    TFontInfo m_info;
};

TEST_F(FontInfoTest, SavesTheRecordByteForByte)
{
    QFont f = BoardFont();
    f.setBold(true);
    f.setItalic(true);
    ASSERT_TRUE(m_info.SaveFont(f, SysColors::clNavy).Ok());
    const RegValueResult r = m_reg.ReadValue(Keys::Root, "FontInfo1");
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.value.Type(), RegType::Binary);
    const QByteArray& b = r.value.data;
    ASSERT_EQ(b.size(), 47);
    EXPECT_EQ(b.left(4), QByteArray("\xe8\xff\xff\xff")); // -24
    EXPECT_EQ(b.mid(4, 4), QByteArray("\0\0\x80\0", 4)); // navy
    EXPECT_EQ(uchar(b.at(13)), 128);
    EXPECT_EQ(b.at(14), 3);
    EXPECT_EQ(b.at(15), 15);
    EXPECT_EQ(b.mid(16, 15), Cp932::Encode(QStringLiteral("ＭＳ Ｐゴシック")));
}

TEST_F(FontInfoTest, RoundTripsFaceSizeStyleAndColour)
{
    QFont f(QStringLiteral("ＭＳ ゴシック"));
    f.setPixelSize(19);
    f.setItalic(true);
    f.setUnderline(true);
    f.setStrikeOut(true);
    f.setFixedPitch(true);
    ASSERT_TRUE(m_info.SaveFont(f, SysColors::Rgb(1, 2, 3)).Ok());

    QFont other(QStringLiteral("Sans"));
    other.setPixelSize(8);
    other.setBold(true);
    const TFontInfo::StoredFont back = m_info.LoadFont(other, SysColors::clRed);
    EXPECT_EQ(back.font.family(), QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(back.font.pixelSize(), 19);
    EXPECT_FALSE(back.font.bold());
    EXPECT_TRUE(back.font.italic());
    EXPECT_TRUE(back.font.underline());
    EXPECT_TRUE(back.font.strikeOut());
    EXPECT_TRUE(back.font.fixedPitch());
    EXPECT_EQ(back.color, SysColors::Rgb(1, 2, 3));
}

TEST_F(FontInfoTest, FirstRunKeepsTheDefaultAndCreatesNothing)
{
    const TFontInfo::StoredFont back = m_info.LoadFont(BoardFont(), SysColors::clWindowText);
    EXPECT_EQ(back.font, BoardFont());
    EXPECT_EQ(back.color, SysColors::clWindowText);
    EXPECT_FALSE(m_reg.KeyExists(Keys::Root));
}

TEST_F(FontInfoTest, UnusableValuesGiveTheDefaultFont)
{
    FontRecord record;
    record.Height = -40;
    record.Name = QStringLiteral("IPAMincho");
    const QByteArray good = record.Encode();
    QByteArray longName = good;
    longName[15] = 32;
    for (const RegValue& bad : { RegValue::Text("FontInfo"), RegValue { quint32(RegType::Dword), good },
             RegValue::Binary(good.left(46)), RegValue::Binary(good + 'x'), RegValue::Binary(QByteArray()),
             RegValue::Binary(longName) }) {
        Put(bad);
        const TFontInfo::StoredFont back = m_info.LoadFont(BoardFont(), SysColors::clWindowText);
        EXPECT_EQ(back.font, BoardFont()) << "type " << bad.type << " size " << bad.data.size();
        EXPECT_EQ(back.color, SysColors::clWindowText);
        // An empty value delivers no bytes and sets nothing: not worth a word at start-up.
        const bool empty = bad.Type() == RegType::Binary && bad.data.isEmpty();
        EXPECT_EQ(back.error.isEmpty(), empty) << "type " << bad.type << " size " << bad.data.size();
    }
    Put(RegValue::Binary(good));
    EXPECT_EQ(m_info.LoadFont(BoardFont(), SysColors::clWindowText).font.pixelSize(), 40);
}

TEST_F(FontInfoTest, APositiveHeightIsTheCellHeight)
{
    FontRecord record;
    record.Height = 30;
    record.Name = QStringLiteral("IPAGothic");
    Put(RegValue::Binary(record.Encode()));
    const QFont font = m_info.LoadFont(BoardFont(), 0).font;
    EXPECT_LT(font.pixelSize(), 30);
    EXPECT_NEAR(QFontMetrics(font).height(), 30, 1);
}

TEST_F(FontInfoTest, KeyNameIsSharedByEveryInstance)
{
    TFontInfo second;
    second.setObjectName("FontInfo1");
    EXPECT_EQ(second.KeyName(), QString(Keys::Root));
    QFont f = BoardFont();
    f.setBold(true);
    ASSERT_TRUE(m_info.SaveFont(f, 0).Ok());
    EXPECT_TRUE(second.LoadFont(BoardFont(), 0).font.bold());

    second.SetKeyName("Software\\Elsewhere");
    EXPECT_EQ(m_info.KeyName(), "Software\\Elsewhere");
    EXPECT_FALSE(m_info.LoadFont(BoardFont(), 0).font.bold()); // nothing stored there yet
    ASSERT_TRUE(m_info.SaveFont(f, 0).Ok());
    EXPECT_TRUE(m_reg.ValueExists("Software\\Elsewhere", "FontInfo1"));
}

TEST_F(FontInfoTest, EntryNameFollowsRenamesUntilSetApart)
{
    TFontInfo info;
    EXPECT_EQ(info.EntryName(), QString());
    info.setObjectName("FontInfo1"); // both were empty: equal, so it follows
    EXPECT_EQ(info.EntryName(), "FontInfo1");
    info.SetName("BoardFont");
    EXPECT_EQ(info.EntryName(), "BoardFont");
    info.SetEntryName("Stored");
    info.SetName("Renamed");
    EXPECT_EQ(info.EntryName(), "Stored");
    EXPECT_EQ(info.property("EntryName").toString(), "Stored");

    ASSERT_TRUE(info.SaveFont(BoardFont(), 0).Ok());
    EXPECT_TRUE(m_reg.ValueExists(Keys::Root, "Stored"));
}

} // namespace
