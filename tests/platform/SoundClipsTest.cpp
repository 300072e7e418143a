// SPDX-License-Identifier: MIT
// The four committed sound clips (resources/sounds/wave100.wav .. wave103.wav) keep the format
// the game's sounds were designed with: RIFF/WAVE, PCM, mono, 8 bits, a fixed rate and length.
// The chunks are walked rather than read at fixed offsets, so a regenerated file with an extra
// chunk still passes while a wrong format, length or truncation does not.

// Qt
#include <QFile>
#include <QString>
// GoogleTest
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

namespace {

struct ExpectedClip
{
    int number;
    const char* fileName;
    quint32 rate;
    quint32 samples;
};

const ExpectedClip Clips[] = {
    {1, "wave100.wav", 11025, 1102},
    {2, "wave101.wav", 11025, 4410},
    {3, "wave102.wav", 22050, 2478},
    {4, "wave103.wav", 11025, 3307},
};

QString SoundsFolder()
{
    return QStringLiteral(ORBILO_SOURCE_DIR "/resources/sounds/");
}

quint32 U16(const QByteArray& b, qsizetype at)
{
    return quint8(b[at]) | quint32(quint8(b[at + 1])) << 8;
}

quint32 U32(const QByteArray& b, qsizetype at)
{
    return U16(b, at) | U16(b, at + 2) << 16;
}

struct Wave
{
    quint32 riffSize = 0;
    std::optional<QByteArray> fmt;
    std::optional<QByteArray> data;
};

// Walks the chunks after the 12-byte RIFF header; a chunk running past the end fails.
std::optional<Wave> ParseWave(const QByteArray& file, QString* error)
{
    if (file.size() < 12 || file.left(4) != "RIFF" || file.mid(8, 4) != "WAVE") {
        *error = QStringLiteral("no RIFF/WAVE header");
        return std::nullopt;
    }
    Wave wave;
    wave.riffSize = U32(file, 4);
    qsizetype at = 12;
    while (at + 8 <= file.size()) {
        const QByteArray id = file.mid(at, 4);
        const quint32 size = U32(file, at + 4);
        if (at + 8 + qsizetype(size) > file.size()) {
            *error = QStringLiteral("chunk %1 runs past the end").arg(QString::fromLatin1(id));
            return std::nullopt;
        }
        if (id == "fmt ")
            wave.fmt = file.mid(at + 8, size);
        else if (id == "data")
            wave.data = file.mid(at + 8, size);
        at += 8 + size + (size & 1); // chunks are word-aligned
    }
    return wave;
}

} // namespace

class SoundClipsTest : public ::testing::TestWithParam<ExpectedClip>
{
};

TEST_P(SoundClipsTest, HeaderMatchesTheDesignedFormat)
{
    const ExpectedClip clip = GetParam();
    QFile file(SoundsFolder() + QString::fromLatin1(clip.fileName));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(file.fileName());
    const QByteArray bytes = file.readAll();

    QString error;
    const std::optional<Wave> wave = ParseWave(bytes, &error);
    ASSERT_TRUE(wave) << qPrintable(error);
    // The RIFF size covers everything after its own 8 bytes, the data's pad byte included.
    EXPECT_EQ(wave->riffSize, quint32(bytes.size() - 8));

    ASSERT_TRUE(wave->fmt);
    const QByteArray& fmt = *wave->fmt;
    ASSERT_GE(fmt.size(), 16);
    EXPECT_EQ(U16(fmt, 0), 1u) << "PCM";
    EXPECT_EQ(U16(fmt, 2), 1u) << "mono";
    EXPECT_EQ(U32(fmt, 4), clip.rate);
    EXPECT_EQ(U32(fmt, 8), clip.rate) << "bytes per second of 8-bit mono";
    EXPECT_EQ(U16(fmt, 12), 1u) << "block align";
    EXPECT_EQ(U16(fmt, 14), 8u) << "bits per sample";

    ASSERT_TRUE(wave->data);
    EXPECT_EQ(quint32(wave->data->size()), clip.samples);
}

// A clip that is silent, clipped hard or starts and stops away from the 8-bit midpoint (an
// audible click) is a broken regeneration even when its header is right.
TEST_P(SoundClipsTest, IsAudibleWithoutClicksOrClipping)
{
    const ExpectedClip clip = GetParam();
    QFile file(SoundsFolder() + QString::fromLatin1(clip.fileName));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString error;
    const std::optional<Wave> wave = ParseWave(file.readAll(), &error);
    ASSERT_TRUE(wave && wave->data) << qPrintable(error);
    const QByteArray& data = *wave->data;
    ASSERT_FALSE(data.isEmpty());

    int low = 255;
    int high = 0;
    for (char c : data) {
        low = std::min(low, int(quint8(c)));
        high = std::max(high, int(quint8(c)));
    }
    EXPECT_GE(high - low, 64) << "too quiet";
    EXPECT_GT(low, 0) << "clipped";
    EXPECT_LT(high, 255) << "clipped";
    EXPECT_NEAR(int(quint8(data.front())), 128, 4);
    EXPECT_NEAR(int(quint8(data.back())), 128, 4);
}

INSTANTIATE_TEST_SUITE_P(Committed, SoundClipsTest, ::testing::ValuesIn(Clips),
                         [](const ::testing::TestParamInfo<ExpectedClip>& info) {
                             return "Sound" + std::to_string(info.param.number);
                         });
