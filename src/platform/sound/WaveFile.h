// SPDX-License-Identifier: MIT
// The check every clip passes before it is handed to the audio decoder, whose wave reader can
// wait forever on a cut-off file instead of failing.
#pragma once

class QByteArray;

namespace WaveFile {

// Whether bytes hold a wave file the decoder can play: RIFF/WAVE with a PCM "fmt " chunk (1 or
// 2 channels, 8 or 16 bits, a sane rate) and a non-empty "data" chunk that lies wholly inside
// the file.
bool IsPlayable(const QByteArray& bytes);

} // namespace WaveFile
