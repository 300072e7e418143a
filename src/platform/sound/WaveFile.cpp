// SPDX-License-Identifier: MIT
#include "platform/sound/WaveFile.h"

// Qt
#include <QByteArray>

namespace {

quint32 U16(const QByteArray& b, qsizetype at)
{
    return quint8(b[at]) | quint32(quint8(b[at + 1])) << 8;
}

quint32 U32(const QByteArray& b, qsizetype at)
{
    return U16(b, at) | U16(b, at + 2) << 16;
}

} // namespace

namespace WaveFile {

std::optional<Pcm> Parse(const QByteArray& bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;
    std::optional<Pcm> pcm;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const qint64 size = U32(bytes, at + 4);
        if (at + 8 + size > bytes.size())
            return std::nullopt; // cut off: the decoder would wait for the rest
        if (id == "fmt ") {
            if (size < 16)
                return std::nullopt;
            const quint32 format = U16(bytes, at + 8);
            const int channels = int(U16(bytes, at + 10));
            const int rate = int(U32(bytes, at + 12));
            const int bits = int(U16(bytes, at + 22));
            if (format == 1 && (channels == 1 || channels == 2) && (bits == 8 || bits == 16) && rate >= 4000
                && rate <= 192000)
                pcm = Pcm { rate, channels, bits, {} };
            else
                pcm.reset();
        } else if (id == "data") {
            // Chunks after "data" do not matter to playback.
            if (!pcm || size == 0)
                return std::nullopt;
            pcm->samples = bytes.mid(at + 8, size);
            return pcm;
        }
        at += 8 + size + (size & 1);
    }
    return std::nullopt;
}

bool IsPlayable(const QByteArray& bytes)
{
    return Parse(bytes).has_value();
}

} // namespace WaveFile
