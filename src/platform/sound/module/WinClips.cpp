// SPDX-License-Identifier: MIT
// WinClips: the sound backend on Windows, over winmm's PlaySound. The program's own clips are
// also WAVE resources 100..103 of its executable (resources/orbilo.rc), and play as the game
// always played them: PlaySoundA("#100", no module, SND_RESOURCE | SND_ASYNC). Clips from
// another folder (the tests') play from memory. PlaySound plays one sound at a time and
// stops the one playing, which is just what the game wants.
//
// PlaySound says nothing when a sound ends; the backend takes a sound for playing until its
// clip's length has passed. Without any wave output device (a machine without sound, a
// device switched off) every sound is silence, as on other platforms: the calls would only
// fail, or play the default sound that cannot be heard either.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <mmsystem.h>

// Qt
#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>

// own
#include "platform/sound/SoundBackend.h"
#include "platform/sound/WaveFile.h"

#include <array>

namespace {

constexpr int Count = 4;
constexpr auto OwnFolder = ":/sounds/";

class WinClips final : public SoundBackend
{
public:
    explicit WinClips(const QString& folder)
    {
        for (int i = 0; i < Count; ++i) {
            QFile file(folder + QStringLiteral("wave%1.wav").arg(100 + i));
            if (!file.open(QIODevice::ReadOnly))
                continue;
            Clip& clip = m_clips[size_t(i)];
            clip.bytes = file.readAll();
            if (const std::optional<WaveFile::Pcm> pcm = WaveFile::Parse(clip.bytes)) {
                const qint64 bytesPerSecond = qint64(pcm->rate) * pcm->channels * (pcm->bits / 8);
                clip.lengthMs = bytesPerSecond > 0 ? pcm->samples.size() * 1000 / bytesPerSecond + 1 : 0;
                clip.playable = true;
            }
        }
        // The executable's own resources stand for the program's own clips when it has them
        // (a test program links the clips into its Qt resources only).
        m_fromResources = folder == QLatin1String(OwnFolder)
                          && FindResourceW(nullptr, MAKEINTRESOURCEW(100), L"WAVE") != nullptr;
        m_hasOutput = waveOutGetNumDevs() > 0;
    }

    ~WinClips() override
    {
        // An asynchronous sound from memory reads its clip while it plays.
        Stop();
    }

    void Play(int number) override
    {
        if (number < 1 || number > Count)
            return;
        Stop();
        const Clip& clip = m_clips[size_t(number - 1)];
        if (!clip.playable) {
            FallBack();
            return;
        }
        if (!m_hasOutput)
            return;
        BOOL started;
        if (m_fromResources) {
            const QByteArray name = "#" + QByteArray::number(99 + number);
            started = PlaySoundA(name.constData(), nullptr, SND_RESOURCE | SND_ASYNC);
        } else {
            started = PlaySoundW(reinterpret_cast<LPCWSTR>(clip.bytes.constData()), nullptr,
                SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
        }
        if (!started) {
            FallBack();
            return;
        }
        m_playing = number;
        m_until = QDeadlineTimer(clip.lengthMs);
    }

    void Stop() override
    {
        if (m_playing == 0)
            return;
        m_playing = 0;
        PlaySoundW(nullptr, nullptr, 0);
    }

    int NowPlaying() const override
    {
        return m_playing != 0 && !m_until.hasExpired() ? m_playing : 0;
    }

    bool IsLoaded(int number) const override { return number >= 1 && number <= Count && m_clips[size_t(number - 1)].playable; }

    bool IsBroken(int number) const override { return number >= 1 && number <= Count && !m_clips[size_t(number - 1)].playable; }

    bool HasAudioOutput() const override { return m_hasOutput; }

    void SetFallback(std::function<void()> fallback) override { m_fallback = std::move(fallback); }

private:
    struct Clip
    {
        QByteArray bytes;
        qint64 lengthMs = 0;
        bool playable = false;
    };

    void FallBack()
    {
        if (m_fallback)
            m_fallback();
    }

    std::array<Clip, Count> m_clips {};
    bool m_fromResources = false;
    bool m_hasOutput = false;
    int m_playing = 0;
    QDeadlineTimer m_until;
    std::function<void()> m_fallback;
};

} // namespace

extern "C" Q_DECL_EXPORT SoundBackend* OrbiloCreateSoundBackendV1(const QString& folder)
{
    return new WinClips(folder);
}
