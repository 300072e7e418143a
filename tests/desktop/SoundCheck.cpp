// SPDX-License-Identifier: MIT
// Finds the game's sounds in a recording of the sound server's output: the recording (raw
// signed 16-bit mono at RATE) is cut into sounds at every stretch of silence, and each sound
// is compared with the four clips by the correlation of their samples at the best offset.
// A sound counts as clip k when it correlates with it at least MinCorrelation and sounds as
// long as the clip does: from its start to its last sample within LoudFraction of its peak
// (a faint tail below that is lost in the server's resampling and is not heard anyway). Prints every sound found, then checks them against the expected
// clip numbers in order and ends with "N passed, M failed".
//
//   orbilo_soundcheck RECORDING RATE CLIPFOLDER EXPECTED...

// Qt
#include <QCoreApplication>
#include <QFile>
#include <QString>

// own
#include "platform/sound/WaveFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

// Everything is compared at the rate of the slowest clips.
constexpr int CompareRate = 11025;
constexpr double MinCorrelation = 0.9;
// Silence longer than this ends a sound; a sound cut off by the next one within it is heard
// as the next one.
constexpr double GapSeconds = 0.03;
constexpr double DurationTolerance = 0.010;
constexpr double LoudFraction = 0.1;

using Signal = std::vector<double>;

// Averages groups of factor samples: the signal at 1/factor of its rate.
Signal Decimate(const Signal& in, int factor)
{
    Signal out(in.size() / size_t(factor));
    for (size_t i = 0; i < out.size(); ++i) {
        double sum = 0;
        for (int j = 0; j < factor; ++j)
            sum += in[i * size_t(factor) + size_t(j)];
        out[i] = sum / factor;
    }
    return out;
}

// Seconds from from to the last sample of s[from, end) within LoudFraction of the peak there.
double LoudLength(const Signal& s, long from, long end)
{
    double peak = 0;
    for (long i = std::max(0L, from); i < end; ++i)
        peak = std::max(peak, std::abs(s[size_t(i)]));
    long last = from;
    for (long i = std::max(0L, from); i < end; ++i)
        if (std::abs(s[size_t(i)]) >= LoudFraction * peak)
            last = i;
    return double(last + 1 - from) / CompareRate;
}

std::optional<Signal> ReadClip(const QString& path, double& audible)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const std::optional<WaveFile::Pcm> pcm = WaveFile::Parse(file.readAll());
    if (!pcm || pcm->bits != 8 || pcm->channels != 1 || pcm->rate % CompareRate != 0)
        return std::nullopt;
    Signal s;
    for (const char byte : pcm->samples)
        s.push_back(quint8(byte) - 128);
    Signal clip = Decimate(s, pcm->rate / CompareRate);
    // From the clip's start, as a recorded sound is measured from where the clip starts in it.
    audible = LoudLength(clip, 0, long(clip.size()));
    return clip;
}

struct Sound
{
    double start; // seconds into the recording
    double length;
    int clip = 0; // best match, 0 for none
    double correlation = 0;
    double matchedLength = 0; // from the best offset to the sound's last loud sample
};

// The normalised correlation of clip with the recording at offset, over the clip's length.
double Correlation(const Signal& rec, const Signal& clip, long offset)
{
    double dot = 0, rr = 0, cc = 0;
    for (size_t i = 0; i < clip.size(); ++i) {
        const long at = offset + long(i);
        const double r = at >= 0 && at < long(rec.size()) ? rec[size_t(at)] : 0.0;
        dot += r * clip[i];
        rr += r * r;
        cc += clip[i] * clip[i];
    }
    return rr > 0 && cc > 0 ? dot / std::sqrt(rr * cc) : 0.0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s RECORDING RATE CLIPFOLDER EXPECTED...\n", argv[0]);
        return 2;
    }
    const int rate = std::atoi(argv[2]);
    if (rate <= 0 || rate % CompareRate != 0) {
        std::fprintf(stderr, "the recording's rate must be a multiple of %d\n", CompareRate);
        return 2;
    }
    std::vector<Signal> clips;
    std::vector<double> audible;
    for (int n = 1; n <= 4; ++n) {
        double span = 0;
        const QString path = QString::fromLocal8Bit(argv[3]) + QStringLiteral("/wave%1.wav").arg(99 + n);
        std::optional<Signal> clip = ReadClip(path, span);
        if (!clip) {
            std::fprintf(stderr, "cannot read the clip %s\n", qPrintable(path));
            return 2;
        }
        clips.push_back(*clip);
        audible.push_back(span);
    }

    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read the recording %s\n", argv[1]);
        return 2;
    }
    const QByteArray raw = file.readAll();
    Signal full(size_t(raw.size() / 2));
    for (size_t i = 0; i < full.size(); ++i)
        full[i] = qint16(quint8(raw[qsizetype(2 * i)]) | quint8(raw[qsizetype(2 * i + 1)]) << 8);
    // Where the server played nothing, the recording is exactly zero.
    const Signal rec = Decimate(full, rate / CompareRate);
    const long gap = long(GapSeconds * CompareRate);

    std::vector<Sound> sounds;
    long start = -1;
    long last = -1;
    auto close = [&] {
        if (start >= 0)
            sounds.push_back({ double(start) / CompareRate, double(last - start + 1) / CompareRate });
    };
    for (long i = 0; i < long(rec.size()); ++i) {
        if (rec[size_t(i)] == 0)
            continue;
        if (start >= 0 && i - last > gap) {
            close();
            start = -1;
        }
        if (start < 0)
            start = i;
        last = i;
    }
    close();

    for (Sound& s : sounds) {
        const long from = long(s.start * CompareRate);
        const long end = from + long(s.length * CompareRate);
        for (int k = 0; k < 4; ++k) {
            // The clip starts somewhere in the sound, after whatever it cut off.
            for (long offset = from - gap; offset < end; ++offset) {
                const double c = Correlation(rec, clips[size_t(k)], offset);
                if (c > s.correlation) {
                    s.correlation = c;
                    s.clip = k + 1;
                    s.matchedLength = LoudLength(rec, offset, end);
                }
            }
        }
        std::printf("sound at %7.3f s, %5.3f s long: clip %d, correlation %.3f, loud for %5.3f s from its start "
                    "(the clip for %5.3f s)\n",
                    s.start, s.length, s.clip, s.correlation, s.matchedLength, audible[size_t(s.clip - 1)]);
    }

    int passed = 0;
    int failed = 0;
    size_t next = 0;
    for (int a = 4; a < argc; ++a) {
        const int want = std::atoi(argv[a]);
        bool found = false;
        while (next < sounds.size() && !found) {
            const Sound& s = sounds[next++];
            found = s.clip == want && s.correlation >= MinCorrelation
                && std::abs(s.matchedLength - audible[size_t(want - 1)]) <= DurationTolerance;
        }
        if (found) {
            ++passed;
        } else {
            ++failed;
            std::printf("FAIL: sound %d (the %d. expected) was not heard whole\n", want, a - 3);
        }
    }
    if (next < sounds.size() && failed == 0)
        std::printf("note: %zu more sounds after the expected ones\n", sounds.size() - next);
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
