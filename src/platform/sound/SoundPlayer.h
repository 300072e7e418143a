// SPDX-License-Identifier: MIT
// SoundPlayer plays the game's four short sounds: 1 a pick, 2 a removal, 3 a refused pick,
// 4 the name entry and the over-play warning. The clips are compiled into the program
// (":/sounds/wave100.wav" .. ":/sounds/wave103.wav").
//
// Playing is asynchronous and one sound at a time: starting a sound stops the one playing,
// so a pick that is refused or completes a pair is heard only as the later sound. A clip that
// is missing or is not a PCM wave file falls back to the system beep, as a sound that cannot
// be found did on the system the game was designed for; so does every sound when the audio
// module cannot be loaded. A machine without an audio output stays silent. Whether sounds
// are switched on at all is the caller's business (the main window's PlayWave checks the
// application model's live option soundOn, which the options dialog's "音を鳴らす" sets,
// before it calls Play).
//
// The audio stack is heavy (a dozen libraries and a connection to the sound server), so it
// lives in a module of its own, loaded with the clips the first time a sound is asked for or
// Preload() is called: the program starts without it, and a player who keeps the sounds off
// never pays for it. The first sound starts as soon as its clip is loaded, a few
// milliseconds later.
#pragma once

// Qt
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>

class SoundBackend;

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

    // Loads the audio module and starts loading the clips, if that has not happened yet.
    // Every other call below does the same on its own.
    void Preload();
    // Whether the audio module has been loaded and is usable.
    bool BackendLoaded() const;

    // The clip of sound 1..4 is loaded and decodable.
    bool IsLoaded(int number) const;
    // The clip of sound 1..4 could not be found or decoded.
    bool IsBroken(int number) const;
    // Whether the platform reports an audio output at all.
    bool HasAudioOutput() const;

    // Whether bytes hold a wave file the audio module can play: RIFF/WAVE with a PCM "fmt "
    // chunk (1 or 2 channels, 8 or 16 bits, a sane rate) and a non-empty "data" chunk that
    // lies wholly inside the file.
    static bool IsPlayableWave(const QByteArray& bytes);

    // Replaces the fallback for a clip that cannot be played (QApplication::beep() by default).
    void SetFallback(std::function<void()> fallback);

    // Where the audio module is looked for: beside the executable, then in the library folder
    // of an installed copy. Replaceable for tests (an empty list: no module found).
    static void SetModuleFolders(const QStringList& folders);
    static void UseDefaultModuleFolders();
    static QStringList ModuleFolders();

private:
    SoundBackend* Backend() const;

    QString m_folder;
    // Made on first use; null until then, and null for good when the module is missing.
    mutable std::unique_ptr<SoundBackend> m_backend;
    mutable bool m_tried = false;
    std::function<void()> m_fallback;
};
