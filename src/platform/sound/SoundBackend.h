// SPDX-License-Identifier: MIT
// SoundBackend is what SoundPlayer drives: the four clips, ready to play. The real backend
// lives in a module of its own that SoundPlayer loads the first time a sound is wanted, so
// that the program starts without the audio stack and a player who keeps the sounds off never
// loads it at all: module/PulseClips.cpp where the sound server speaks the PulseAudio
// protocol, module/EffectSet.cpp (Qt Multimedia) elsewhere.
//
// The module and the program are built together; the entry point's name carries the version
// of this interface, so a stale module from an older build is refused rather than misused.
#pragma once

// Qt
#include <QString>
#include <QtGlobal>

#include <functional>

class QObject;

class SoundBackend
{
public:
    virtual ~SoundBackend() = default;

    // Starts sound 1..4 and returns at once, stopping whatever is playing. A clip that cannot
    // be played calls the fallback instead.
    virtual void Play(int number) = 0;
    virtual void Stop() = 0;
    // The number of the sound playing now, 0 for none.
    virtual int NowPlaying() const = 0;
    virtual bool IsLoaded(int number) const = 0;
    virtual bool IsBroken(int number) const = 0;
    virtual bool HasAudioOutput() const = 0;
    virtual void SetFallback(std::function<void()> fallback) = 0;
};

// The module's one export: a backend with clip n read from folder + "wave" + (99 + n) +
// ".wav". The caller owns it and must delete it before the module could go away (the module
// is never unloaded).
#define ORBILO_SOUND_ENTRY "OrbiloCreateSoundBackendV1"
using CreateSoundBackendFn = SoundBackend* (*)(const QString& folder);
