// SPDX-License-Identifier: MIT
// SoundPlayer with the clips compiled into the program, and with missing and broken clips.
// The test machines have no audio output, so what is checked is what must hold everywhere:
// the clips load, unknown numbers do nothing, broken clips beep once per request, and
// nothing blocks.

#include "platform/sound/SoundPlayer.h"

// Qt
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
// GoogleTest
#include <gtest/gtest.h>

namespace {

// A RIFF/WAVE header with nothing sensible behind it.
QByteArray Garbage()
{
    static const char bytes[] = "RIFF\x04\0\0\0WAVEnot a wave file at all";
    return QByteArray(bytes, sizeof bytes - 1);
}

} // namespace

TEST(SoundPlayerTest, ClipsLoadFromTheProgramsResources)
{
    for (int n = 1; n <= SoundPlayer::Count; ++n)
        EXPECT_TRUE(QFile::exists(QLatin1Char(':') + SoundPlayer::ClipUrl(n).path())) << n;
    EXPECT_EQ(SoundPlayer::ClipUrl(1), QUrl(QStringLiteral("qrc:/sounds/wave100.wav")));
    EXPECT_EQ(SoundPlayer::ClipUrl(4), QUrl(QStringLiteral("qrc:/sounds/wave103.wav")));
    EXPECT_TRUE(SoundPlayer::ClipUrl(0).isEmpty());
    EXPECT_TRUE(SoundPlayer::ClipUrl(5).isEmpty());

    SoundPlayer player;
    int beeps = 0;
    player.SetFallback([&beeps] { ++beeps; });
    for (int n = 1; n <= SoundPlayer::Count; ++n) {
        QTRY_VERIFY_WITH_TIMEOUT(player.IsLoaded(n) || player.IsBroken(n), 10000);
        EXPECT_TRUE(player.IsLoaded(n)) << "clip " << n << " does not decode";
    }
    // Playing every clip, twice over and back to back, neither blocks nor beeps.
    for (int round = 0; round < 2; ++round)
        for (int n = 1; n <= SoundPlayer::Count; ++n)
            player.Play(n);
    player.Stop();
    EXPECT_EQ(beeps, 0);
}

TEST(SoundPlayerTest, NumbersOutsideOneToFourDoNothing)
{
    QTemporaryDir empty; // no clips at all: any play that got through would beep
    ASSERT_TRUE(empty.isValid());
    SoundPlayer player(empty.path() + QLatin1Char('/'));
    int beeps = 0;
    player.SetFallback([&beeps] { ++beeps; });
    for (int n : {0, 5, -1, 100, 103})
        player.Play(n);
    EXPECT_EQ(beeps, 0);
    EXPECT_FALSE(player.IsLoaded(0));
    EXPECT_FALSE(player.IsBroken(5));
}

// The check that keeps damaged clips away from the decoder, which would wait forever on them.
TEST(SoundPlayerTest, RecognisesPlayableWaveFiles)
{
    QFile file(QStringLiteral(":/sounds/wave103.wav"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();
    EXPECT_TRUE(SoundPlayer::IsPlayableWave(good));

    EXPECT_FALSE(SoundPlayer::IsPlayableWave(QByteArray()));
    EXPECT_FALSE(SoundPlayer::IsPlayableWave(good.left(good.size() / 2))) << "cut off inside the data";
    EXPECT_FALSE(SoundPlayer::IsPlayableWave(good.left(40))) << "cut off inside the header";
    EXPECT_FALSE(SoundPlayer::IsPlayableWave(Garbage()));

    QByteArray compressed = good;
    compressed[20] = 2; // ADPCM instead of PCM
    EXPECT_FALSE(SoundPlayer::IsPlayableWave(compressed));
    QByteArray noData = good.left(36); // RIFF header and "fmt " only
    EXPECT_FALSE(SoundPlayer::IsPlayableWave(noData));
}

// A clip that is missing, damaged or cut off beeps instead, once per request; good clips
// beside it still play.
TEST(SoundPlayerTest, MissingOrBrokenClipFallsBackToTheBeep)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto write = [&dir](const char* name, const QByteArray& bytes) {
        QFile out(dir.filePath(QString::fromLatin1(name)));
        return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
    };
    QFile source(QStringLiteral(":/sounds/wave103.wav"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray good = source.readAll();
    // wave100.wav is missing.
    ASSERT_TRUE(write("wave101.wav", Garbage()));
    ASSERT_TRUE(write("wave102.wav", good));
    ASSERT_TRUE(write("wave103.wav", good.left(good.size() - 100)));

    SoundPlayer player(dir.path() + QLatin1Char('/'));
    int beeps = 0;
    player.SetFallback([&beeps] { ++beeps; });

    for (int n : {1, 2, 4}) {
        EXPECT_TRUE(player.IsBroken(n)) << n;
        player.Play(n);
    }
    EXPECT_EQ(beeps, 3);
    player.Play(1);
    EXPECT_EQ(beeps, 4);

    QTRY_VERIFY_WITH_TIMEOUT(player.IsLoaded(3) || player.IsBroken(3), 10000);
    EXPECT_TRUE(player.IsLoaded(3));
    player.Play(3);
    EXPECT_EQ(beeps, 4);
}

// Only where there is an audio output (not on the test machines): one sound at a time.
TEST(SoundPlayerTest, StartingASoundStopsTheOnePlaying)
{
    SoundPlayer player;
    if (!player.HasAudioOutput())
        GTEST_SKIP() << "no audio output";
    int beeps = 0;
    player.SetFallback([&beeps] { ++beeps; });
    QTRY_VERIFY_WITH_TIMEOUT(player.IsLoaded(2) && player.IsLoaded(4), 10000);
    player.Play(2);
    QTRY_COMPARE_WITH_TIMEOUT(player.NowPlaying(), 2, 5000);
    player.Play(4);
    EXPECT_EQ(player.NowPlaying(), 4);
    player.Stop();
    EXPECT_EQ(player.NowPlaying(), 0);
    EXPECT_EQ(beeps, 0);
}

// Without the audio module (missing, or a damaged file in its place) every sound is the beep,
// once per request, and nothing else breaks.
TEST(SoundPlayerTest, WithoutTheAudioModuleEverySoundBeeps)
{
    QTemporaryDir nowhere;
    ASSERT_TRUE(nowhere.isValid());
    QFile damaged(nowhere.filePath(QStringLiteral("liborbilo_sound_qt.so")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(Garbage());
    damaged.close();
    for (const QStringList& folders : {QStringList(), QStringList {nowhere.path() + QLatin1Char('/')}}) {
        SoundPlayer::SetModuleFolders(folders);
        SoundPlayer player;
        int beeps = 0;
        player.SetFallback([&beeps] { ++beeps; });
        EXPECT_FALSE(player.BackendLoaded());
        for (int n = 0; n <= SoundPlayer::Count + 1; ++n)
            player.Play(n);
        EXPECT_EQ(beeps, SoundPlayer::Count);
        EXPECT_TRUE(player.IsBroken(1));
        EXPECT_FALSE(player.IsLoaded(1));
        EXPECT_FALSE(player.HasAudioOutput());
        EXPECT_EQ(player.NowPlaying(), 0);
        player.Stop();
    }
    SoundPlayer::UseDefaultModuleFolders();
    SoundPlayer player;
    EXPECT_TRUE(player.BackendLoaded()) << "the module is built beside the tests";
}
