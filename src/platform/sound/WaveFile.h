// SPDX-License-Identifier: MIT
// The check every clip passes before it is handed to the audio decoder, whose wave reader can
// wait forever on a cut-off file instead of failing.
#pragma once

// Qt
#include <QByteArray>

#include <optional>

namespace WaveFile {

// The sound of a playable wave file: its format and its samples as they are stored
// (8 bits unsigned, 16 bits signed little-endian, channels interleaved).
struct Pcm
{
    int rate = 0;
    int channels = 0;
    int bits = 0;
    QByteArray samples;
};

// The sound, when bytes hold a playable wave file (see IsPlayable).
std::optional<Pcm> Parse(const QByteArray& bytes);

// Whether bytes hold a wave file the decoder can play: RIFF/WAVE with a PCM "fmt " chunk (1 or
// 2 channels, 8 or 16 bits, a sane rate) and a non-empty "data" chunk that lies wholly inside
// the file.
bool IsPlayable(const QByteArray& bytes);

} // namespace WaveFile
