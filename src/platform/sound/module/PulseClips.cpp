// SPDX-License-Identifier: MIT
// PulseClips: the sound backend where the desktop's sound server speaks the PulseAudio
// protocol (PulseAudio itself, or PipeWire's server for it). Each sound is a stream of its
// own, written whole and drained, so that a clip plays to its last sample; starting a sound
// ends the stream of the one playing. Qt Multimedia's sound effects are not used here: on
// this server they cut a short clip off as soon as its samples have been handed over, and
// may never start one that is shorter than the server's pre-buffer.
//
// Without a server that answers, nothing of the audio stack is set up and nothing is said
// on the console: the clips are only checked, every sound is silence, and a broken clip
// still falls back to the beep.

// Qt
#include <QFile>
#include <QThread>

// PulseAudio
#include <pulse/pulseaudio.h>

// own
#include "platform/sound/SoundBackend.h"
#include "platform/sound/WaveFile.h"

#include <array>
#include <optional>

namespace {

constexpr int Count = 4;
// How long the server may take to answer at the first sound.
constexpr int ConnectTimeoutMs = 2000;
constexpr pa_usec_t LatencyUsec = 40000;
constexpr pa_usec_t TailUsec = 30000;

class PulseClips final : public SoundBackend
{
public:
    explicit PulseClips(const QString& folder)
    {
        for (int i = 0; i < Count; ++i) {
            QFile file(folder + QStringLiteral("wave%1.wav").arg(100 + i));
            if (file.open(QIODevice::ReadOnly))
                m_clips[size_t(i)] = WaveFile::Parse(file.readAll());
        }
        Connect();
    }

    ~PulseClips() override
    {
        if (!m_loop)
            return;
        pa_threaded_mainloop_lock(m_loop);
        EndStream();
        if (m_context) {
            pa_context_set_state_callback(m_context, nullptr, nullptr);
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
        }
        pa_threaded_mainloop_unlock(m_loop);
        pa_threaded_mainloop_stop(m_loop);
        pa_threaded_mainloop_free(m_loop);
    }

    void Play(int number) override
    {
        if (number < 1 || number > Count)
            return;
        const std::optional<WaveFile::Pcm>& clip = m_clips[size_t(number - 1)];
        if (!clip) {
            if (m_fallback)
                m_fallback();
            return;
        }
        if (!m_loop)
            return;
        pa_threaded_mainloop_lock(m_loop);
        EndStream();
        if (pa_context_get_state(m_context) == PA_CONTEXT_READY)
            StartStream(number, *clip);
        pa_threaded_mainloop_unlock(m_loop);
    }

    void Stop() override
    {
        if (!m_loop)
            return;
        pa_threaded_mainloop_lock(m_loop);
        EndStream();
        pa_threaded_mainloop_unlock(m_loop);
    }

    int NowPlaying() const override
    {
        if (!m_loop)
            return 0;
        pa_threaded_mainloop_lock(m_loop);
        const int playing = m_playing;
        pa_threaded_mainloop_unlock(m_loop);
        return playing;
    }

    bool IsLoaded(int number) const override
    {
        return number >= 1 && number <= Count && m_clips[size_t(number - 1)].has_value();
    }

    bool IsBroken(int number) const override
    {
        return number >= 1 && number <= Count && !m_clips[size_t(number - 1)].has_value();
    }

    bool HasAudioOutput() const override { return m_loop != nullptr; }

    void SetFallback(std::function<void()> fallback) override { m_fallback = std::move(fallback); }

private:
    // Connects to the server the way every client of it does (its address from the
    // environment, the X display or the configuration). No server: no loop, for good.
    void Connect()
    {
        pa_threaded_mainloop* loop = pa_threaded_mainloop_new();
        if (!loop)
            return;
        pa_context* context = pa_context_new(pa_threaded_mainloop_get_api(loop), "Orbilo");
        if (!context || pa_context_connect(context, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0
            || pa_threaded_mainloop_start(loop) < 0) {
            if (context)
                pa_context_unref(context);
            pa_threaded_mainloop_free(loop);
            return;
        }
        pa_context_state_t state = PA_CONTEXT_UNCONNECTED;
        for (int waited = 0; waited < ConnectTimeoutMs; waited += 5) {
            pa_threaded_mainloop_lock(loop);
            state = pa_context_get_state(context);
            pa_threaded_mainloop_unlock(loop);
            if (state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state))
                break;
            QThread::msleep(5);
        }
        if (state != PA_CONTEXT_READY) {
            pa_threaded_mainloop_lock(loop);
            pa_context_disconnect(context);
            pa_context_unref(context);
            pa_threaded_mainloop_unlock(loop);
            pa_threaded_mainloop_stop(loop);
            pa_threaded_mainloop_free(loop);
            return;
        }
        m_loop = loop;
        m_context = context;
    }

    // With the loop locked.
    void StartStream(int number, const WaveFile::Pcm& clip)
    {
        pa_sample_spec sample;
        sample.format = clip.bits == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE;
        sample.rate = uint32_t(clip.rate);
        sample.channels = uint8_t(clip.channels);
        m_stream = pa_stream_new(m_context, "Orbilo", &sample, nullptr);
        if (!m_stream)
            return;
        m_playing = number;
        // A little silence after the clip carries its last samples through the server's
        // resampler, which would otherwise keep them when the stream runs dry.
        const int silence = clip.bits == 8 ? 0x80 : 0;
        m_pending = clip.samples + QByteArray(qsizetype(pa_usec_to_bytes(TailUsec, &sample)), char(silence));
        // A short latency asked of the server, so that a sound follows its click at once
        // (left to itself, a server may buffer seconds); the whole clip is written at once
        // all the same, and waits in the stream's buffer.
        pa_buffer_attr attr;
        attr.maxlength = uint32_t(-1);
        attr.tlength = uint32_t(pa_usec_to_bytes(LatencyUsec, &sample));
        attr.prebuf = uint32_t(-1);
        attr.minreq = uint32_t(-1);
        attr.fragsize = uint32_t(-1);
        pa_stream_set_state_callback(m_stream, &PulseClips::OnStreamState, this);
        if (pa_stream_connect_playback(m_stream, nullptr, &attr, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) < 0)
            EndStream();
    }

    // With the loop locked.
    void EndStream()
    {
        if (!m_stream)
            return;
        pa_stream_set_state_callback(m_stream, nullptr, nullptr);
        pa_stream_disconnect(m_stream);
        pa_stream_unref(m_stream);
        m_stream = nullptr;
        m_playing = 0;
        m_pending.clear();
    }

    // In the loop's thread, with the loop locked.
    static void OnStreamState(pa_stream* stream, void* self)
    {
        auto* clips = static_cast<PulseClips*>(self);
        if (stream != clips->m_stream)
            return;
        switch (pa_stream_get_state(stream)) {
        case PA_STREAM_READY:
            // Written whole, then drained: the drain starts a clip shorter than the
            // pre-buffer, and its end says when the clip has played.
            if (!clips->m_pending.isEmpty()) {
                pa_stream_write(stream, clips->m_pending.constData(), size_t(clips->m_pending.size()), nullptr, 0,
                                PA_SEEK_RELATIVE);
                clips->m_pending.clear();
                if (pa_operation* drain = pa_stream_drain(stream, &PulseClips::OnDrained, self))
                    pa_operation_unref(drain);
            }
            break;
        case PA_STREAM_FAILED:
            clips->m_playing = 0;
            break;
        default:
            break;
        }
    }

    static void OnDrained(pa_stream* stream, int /*success*/, void* self)
    {
        auto* clips = static_cast<PulseClips*>(self);
        if (stream == clips->m_stream)
            clips->m_playing = 0;
    }

    std::array<std::optional<WaveFile::Pcm>, Count> m_clips;
    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    QByteArray m_pending;
    int m_playing = 0;
    std::function<void()> m_fallback;
};

} // namespace

extern "C" Q_DECL_EXPORT SoundBackend* OrbiloCreateSoundBackendV1(const QString& folder)
{
    return new PulseClips(folder);
}
