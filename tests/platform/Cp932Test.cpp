// SPDX-License-Identifier: MIT
// The Shift-JIS codec against two oracles: the bytes themselves (any bytes decode and encode
// back to exactly the same bytes) and iconv converting the whole text at once (what is shown
// is what iconv reads, with U+FFFD for each byte iconv refuses).

#include "platform/Cp932.h"

// Qt
#include <QRandomGenerator>
// GoogleTest
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace {

#ifdef _WIN32
// The system's conversion a character at a time (a lead and its trail byte, else one byte),
// one U+FFFD for each byte it refuses: what iconv's reading is on Windows.
QString IconvShown(const QByteArray& bytes)
{
    QString out;
    qsizetype i = 0;
    while (i < bytes.size()) {
        wchar_t wide[4];
        int n = 0;
        if (i + 1 < bytes.size())
            n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.constData() + i, 2, wide, 4);
        if (n == 1 && Cp932::IsLeadByte(uchar(bytes.at(i)))) {
            out += QChar(char16_t(wide[0]));
            i += 2;
            continue;
        }
        n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.constData() + i, 1, wide, 4);
        out += n == 1 ? QChar(char16_t(wide[0])) : QChar(QChar::ReplacementCharacter);
        ++i;
    }
    return out;
}
#else

// iconv over the whole text, one U+FFFD for each byte it refuses: how a text was read before
// raw bytes were kept, and how it must still look.
QString IconvShown(const QByteArray& bytes)
{
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    QString out;
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    while (inLeft > 0) {
        char16_t buffer[256];
        char* dst = reinterpret_cast<char*>(buffer);
        size_t dstLeft = sizeof buffer;
        const size_t rc = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        out += QStringView(buffer, (reinterpret_cast<char16_t*>(dst) - buffer));
        if (rc == size_t(-1) && errno != E2BIG) {
            out += QChar(QChar::ReplacementCharacter);
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}
#endif

std::string Hex(const QByteArray& bytes)
{
    return bytes.toHex(' ').toStdString();
}

// Bytes as they come in damaged or hand-edited files: mostly lead bytes (the duplicate NEC
// and IBM rows among them), trail bytes of every kind, ASCII and line ends, and often a lead
// byte cut off at the end.
QByteArray RandomBytes(QRandomGenerator& random)
{
    static const char leads[] = "\x81\x82\x87\x88\x9f\xe0\xea\xed\xee\xef\xf0\xfa\xfb\xfc\xfd\x80\xa0\xff";
    QByteArray bytes;
    const int size = int(random.bounded(40));
    for (int i = 0; i < size; ++i) {
        switch (random.bounded(4)) {
        case 0:
            bytes += leads[random.bounded(int(sizeof leads) - 1)];
            break;
        case 1:
            bytes += char(0x40 + random.bounded(0xC0)); // a trail byte, or anything above
            break;
        case 2:
            bytes += char(random.bounded(0x80));
            break;
        default:
            bytes += char(random.bounded(0x100));
        }
    }
    if (random.bounded(3) == 0)
        bytes += leads[random.bounded(int(sizeof leads) - 1)];
    return bytes;
}

TEST(Cp932Test, AnyBytesDecodeAndEncodeBackToThemselvesAndShowAsIconvReadsThem)
{
    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE(::testing::Message() << "seed " << seed);
    QRandomGenerator random(seed);
    for (int n = 0; n < 20000; ++n) {
        const QByteArray bytes = RandomBytes(random);
        const QString text = Cp932::Decode(bytes);
        ASSERT_EQ(Cp932::Encode(text), bytes) << Hex(bytes);
        ASSERT_EQ(Cp932::ForDisplay(text), IconvShown(bytes)) << Hex(bytes);
    }
}

// Texts as edits leave them: raw bytes of every value next to typed characters (kanji,
// kana, ASCII, half-width kana). Each raw byte reads back as itself where it can and as "?"
// where it would join the byte after it; every other character reads back as itself, and
// a second save gives the same bytes.
TEST(Cp932Test, EditedTextsReadBackStable)
{
    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE(::testing::Message() << "seed " << seed);
    QRandomGenerator random(seed);
    const QString typed = QStringLiteral("甲あ，A@ｱ\\~");
    for (int n = 0; n < 20000; ++n) {
        QString text;
        const int size = int(random.bounded(12));
        for (int i = 0; i < size; ++i) {
            text += random.bounded(2) ? QChar(Cp932::RawByteBase + random.bounded(0x100))
                                      : typed.at(random.bounded(int(typed.size())));
        }
        const QByteArray saved = Cp932::Encode(text);
        const QString read = Cp932::Decode(saved);
        ASSERT_EQ(read.size(), text.size()) << Hex(saved);
        for (qsizetype i = 0; i < text.size(); ++i) {
            ASSERT_TRUE(read.at(i) == text.at(i) || (Cp932::IsRawByte(text.at(i)) && read.at(i) == u'?'))
                << "character " << i << " of " << Hex(saved);
        }
        ASSERT_EQ(Cp932::Encode(read), saved);
    }
}

// Every single byte and every pair of bytes, exhaustively: the same two properties, and a
// pair that is one character in code page 932 reads as that character, unless the
// character is written with other bytes (a duplicate code), which is kept as raw bytes.
TEST(Cp932Test, EveryOneAndTwoByteSequenceRoundTrips)
{
    int characters = 0;
    int duplicates = 0;
    for (int b = 0; b < 0x10000; ++b) {
        const char pair[2] = { char(b >> 8), char(b & 0xFF) };
        const QByteArray bytes = b < 0x100 ? QByteArray(1, char(b)) : QByteArray(pair, 2);
        const QString text = Cp932::Decode(bytes);
        ASSERT_EQ(Cp932::Encode(text), bytes) << Hex(bytes);
        const QString shown = IconvShown(bytes);
        ASSERT_EQ(Cp932::ForDisplay(text), shown) << Hex(bytes);
        if (bytes.size() == 2 && shown.size() == 1 && shown != QChar(QChar::ReplacementCharacter)) {
            ++characters;
            if (text.size() == 2)
                ++duplicates;
            else
                EXPECT_EQ(text, shown) << Hex(bytes);
        }
    }
    // Code page 932 has over 9000 double-byte characters, its user-defined area included,
    // and keeps a few hundred of them twice.
    EXPECT_GT(characters, 9000);
    EXPECT_GT(duplicates, 300);
    EXPECT_LT(duplicates, 500);
}

// Characters code page 932 does not have still become "?"; raw bytes beside them stay bytes.
TEST(Cp932Test, UnmappableCharactersEncodeAsQuestionMarks)
{
    const QString raw81(QChar(Cp932::RawByteBase + 0x81));
    EXPECT_EQ(Cp932::Encode(QStringLiteral("a€") + raw81 + QStringLiteral("😀甲\uFFFD")),
        QByteArray("a?\x81?\x8d\x62?"));
    // No near letter for one the code page lacks, and a lone half of a pair is one "?" too.
    EXPECT_EQ(Cp932::Encode(QStringLiteral("ä") + QChar(0xD83D) + QStringLiteral("x😀😀")), QByteArray("??x??"));
}

} // namespace
