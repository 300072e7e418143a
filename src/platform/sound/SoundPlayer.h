// SPDX-License-Identifier: MIT
// SoundPlayer plays the game's four short sounds: 1 a pick, 2 a removal, 3 a refused pick,
// 4 the name entry and the over-play warning. The clips are compiled into the program
// (":/sounds/wave100.wav" .. ":/sounds/wave103.wav") and preloaded, so a pick sounds at once.
//
// Playing is asynchronous and one sound at a time: starting a sound stops the one playing,
// so a pick that is refused or completes a pair is heard only as the later sound. A clip that
// is missing or is not a PCM wave file falls back to the system beep, as a sound that cannot
// be found did on the system the game was designed for. Clips are checked before they are
// handed to QSoundEffect, whose decoder can wait forever on a damaged file instead of failing. A machine without an audio output stays
// silent. Whether sounds are switched on at all is the caller's business (the main window's
// PlayWave checks the options dialog's switch before it calls Play).
#pragma once

// Qt
#include <QObject>
#include <QString>
#include <QUrl>

#include <array>
#include <functional>

class QMediaDevices;
class QSoundEffect;

class SoundPlayer : public QObject
{
    Q_OBJECT

public:
    static constexpr int Count = 4;

    // The program's own clips.
    explicit SoundPlayer(QObject* parent = nullptr);
    // Clip n is read from folder + "wave" + (99 + n) + ".wav", where folder is a resource
    // folder such as ":/sounds/" or a local folder ending in a separator. Used by tests.
    explicit SoundPlayer(const QString& folder, QObject* parent = nullptr);
    ~SoundPlayer() override;

    // The resource URL of sound 1..4, e.g. "qrc:/sounds/wave100.wav"; empty for other numbers.
    static QUrl ClipUrl(int number);

    // Starts sound 1..4 and returns at once; any other number does nothing.
    void Play(int number);
    // Stops whatever is playing.
    void Stop();
    // The number of the sound playing now, 0 for none.
    int NowPlaying() const;

    // The clip of sound 1..4 is loaded and decodable.
    bool IsLoaded(int number) const;
    // The clip of sound 1..4 could not be found or decoded.
    bool IsBroken(int number) const;
    // Whether the platform reports an audio output at all.
    bool HasAudioOutput() const;

    // Whether bytes hold a wave file QSoundEffect can play: RIFF/WAVE with a PCM "fmt " chunk
    // (1 or 2 channels, 8 or 16 bits, a sane rate) and a non-empty "data" chunk that lies
    // wholly inside the file.
    static bool IsPlayableWave(const QByteArray& bytes);

    // Replaces the fallback for a clip that cannot be played (QApplication::beep() by default).
    void SetFallback(std::function<void()> fallback);

private:
    void Build(const QString& folder);
    void OnStatusChanged(int index);
    void OnOutputsChanged();
    void FallBack();

    std::array<QSoundEffect*, Count> m_effects {};
    QMediaDevices* m_devices = nullptr;
    bool m_hasOutput = false;
    // Sound whose play was asked for while its clip was still loading; 0 for none. If the clip
    // then turns out to be broken, the fallback still sounds for that request.
    int m_pending = 0;
    std::function<void()> m_fallback;
};
