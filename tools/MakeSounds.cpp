// SPDX-License-Identifier: MIT
// Synthesises the game's four sound clips into the given folder as wave100.wav .. wave103.wav.
// The clips are committed under resources/sounds/ and compiled into the program; this tool only
// exists so that they can be regenerated or retuned. Each clip keeps the format the game was
// designed with: uncompressed 8-bit unsigned mono PCM at a fixed rate and length.
//
// The synthesis is deterministic (no noise, no dither), so running the tool again writes the
// same bytes.

// Qt
#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr double Pi = 3.14159265358979323846;

struct Clip
{
    const char* fileName;
    int rate;
    int samples;
    // Sample value in -1..1 at time t (seconds); the length in seconds is passed too.
    std::function<double(double t, double length)> wave;
};

// Raised-cosine ramps at both ends keep the clip from starting or stopping with a click.
double Edges(double t, double length, double attack, double release)
{
    double gain = 1.0;
    if (t < attack)
        gain *= 0.5 - 0.5 * std::cos(Pi * t / attack);
    const double left = length - t;
    if (left < release)
        gain *= 0.5 - 0.5 * std::cos(Pi * std::max(0.0, left) / release);
    return gain;
}

// A struck bell-like note: a fundamental and a softer inharmonic partial, decaying.
double Bell(double t, double freq, double decay)
{
    if (t < 0.0)
        return 0.0;
    const double env = std::exp(-t / decay) * Edges(t, 1e9, 0.004, 0.0);
    return env * (std::sin(2 * Pi * freq * t) + 0.25 * std::sin(2 * Pi * freq * 2.76 * t) * std::exp(-t / (decay * 0.4)));
}

// 1: a soft wooden tick for a pick.
double Tick(double t, double length)
{
    const double env = std::exp(-t / 0.018);
    const double body = std::sin(2 * Pi * 1320.0 * t) + 0.45 * std::sin(2 * Pi * 660.0 * t);
    return 0.55 * env * body * Edges(t, length, 0.0015, 0.02);
}

// 2: a falling chime of three bell notes (E6, C6, G5) for a removal.
double Chime(double t, double length)
{
    const double v = 0.5 * Bell(t, 1318.5, 0.09) + 0.5 * Bell(t - 0.075, 1046.5, 0.1) + 0.55 * Bell(t - 0.15, 784.0, 0.12);
    return 0.62 * v * Edges(t, length, 0.002, 0.05);
}

// 3: a short low buzz for a refused pick: a rounded square wave at 130 Hz (soft edges, so it
// growls rather than rasps) over its octave, fading a little towards the end.
double Buzz(double t, double length)
{
    auto rounded = [](double phase) { return std::tanh(3.0 * std::sin(phase)) / std::tanh(3.0); };
    const double v = 0.75 * rounded(2 * Pi * 130.0 * t) + 0.25 * std::sin(2 * Pi * 260.0 * t);
    return 0.5 * v * (1.0 - 0.4 * t / length) * Edges(t, length, 0.006, 0.035);
}

// 4: a two-tone call (G5 then C6) for the name entry and the over-play warning.
double Call(double t, double length)
{
    const double half = length / 2.0;
    auto tone = [](double local, double span, double freq) {
        const double harm = std::sin(2 * Pi * freq * local) + 0.3 * std::sin(2 * Pi * 2 * freq * local);
        return harm * Edges(local, span, 0.008, 0.04) * std::exp(-local / 0.35);
    };
    const double v = t < half ? tone(t, half, 784.0) : tone(t - half, length - half, 1046.5);
    return 0.6 * v;
}

QByteArray Le16(int v)
{
    QByteArray b(2, '\0');
    b[0] = char(v & 0xFF);
    b[1] = char((v >> 8) & 0xFF);
    return b;
}

QByteArray Le32(quint32 v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xFF);
    return b;
}

// RIFF/WAVE with a 16-byte PCM "fmt " chunk and one "data" chunk. RIFF chunks are
// word-aligned: an odd data size is followed by one pad byte, counted in the RIFF size
// but not in the data size.
QByteArray WaveFile(int rate, const std::vector<quint8>& samples)
{
    const quint32 dataSize = quint32(samples.size());
    const quint32 pad = dataSize & 1;
    QByteArray out;
    out += "RIFF";
    out += Le32(4 + (8 + 16) + (8 + dataSize + pad));
    out += "WAVE";
    out += "fmt ";
    out += Le32(16);
    out += Le16(1);            // PCM
    out += Le16(1);            // mono
    out += Le32(quint32(rate));
    out += Le32(quint32(rate)); // bytes per second: one byte per sample
    out += Le16(1);            // block align
    out += Le16(8);            // bits per sample
    out += "data";
    out += Le32(dataSize);
    out.append(reinterpret_cast<const char*>(samples.data()), qsizetype(samples.size()));
    if (pad)
        out += '\0';
    return out;
}

std::vector<quint8> Render(const Clip& clip)
{
    std::vector<quint8> out(size_t(clip.samples));
    const double length = double(clip.samples) / clip.rate;
    for (int i = 0; i < clip.samples; ++i) {
        const double v = std::clamp(clip.wave(double(i) / clip.rate, length), -1.0, 1.0);
        // 8-bit PCM is unsigned with silence at 128.
        out[size_t(i)] = quint8(std::clamp(int(std::lround(128.0 + 127.0 * v)), 0, 255));
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }

    const Clip clips[] = {
        {"wave100.wav", 11025, 1102, Tick},
        {"wave101.wav", 11025, 4410, Chime},
        {"wave102.wav", 22050, 2478, Buzz},
        {"wave103.wav", 11025, 3307, Call},
    };

    int failures = 0;
    for (const Clip& clip : clips) {
        const QString path = QDir(folder).filePath(QString::fromLatin1(clip.fileName));
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(WaveFile(clip.rate, Render(clip))) < 0 || !file.commit()) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(file.errorString()));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
