// SPDX-License-Identifier: MIT
// SoundPlayer: the four game sounds over QSoundEffect, with the system beep as fallback.

#include "SoundPlayer.h"

// Qt
#include <QApplication>
#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>

namespace {

constexpr auto ResourceFolder = ":/sounds/";

QString ClipFileName(int number)
{
    return QStringLiteral("wave%1.wav").arg(99 + number);
}

bool InRange(int number)
{
    return number >= 1 && number <= SoundPlayer::Count;
}

quint32 U16(const QByteArray& b, qsizetype at)
{
    return quint8(b[at]) | quint32(quint8(b[at + 1])) << 8;
}

quint32 U32(const QByteArray& b, qsizetype at)
{
    return U16(b, at) | U16(b, at + 2) << 16;
}

QUrl SourceUrl(const QString& path)
{
    // ":/sounds/wave100.wav" is the resource "qrc:/sounds/wave100.wav".
    if (path.startsWith(QLatin1Char(':')))
        return QUrl(QLatin1String("qrc") + path);
    return QUrl::fromLocalFile(path);
}

} // namespace

SoundPlayer::SoundPlayer(QObject* parent)
    : SoundPlayer(QString::fromLatin1(ResourceFolder), parent)
{
}

SoundPlayer::SoundPlayer(const QString& folder, QObject* parent)
    : QObject(parent)
    , m_fallback([] { QApplication::beep(); })
{
    Build(folder);
}

SoundPlayer::~SoundPlayer() = default;

QUrl SoundPlayer::ClipUrl(int number)
{
    if (!InRange(number))
        return {};
    return SourceUrl(QString::fromLatin1(ResourceFolder) + ClipFileName(number));
}

bool SoundPlayer::IsPlayableWave(const QByteArray& bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return false;
    bool formatOk = false;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const qint64 size = U32(bytes, at + 4);
        if (at + 8 + size > bytes.size())
            return false; // cut off: the decoder would wait for the rest
        if (id == "fmt ") {
            if (size < 16)
                return false;
            const quint32 format = U16(bytes, at + 8);
            const quint32 channels = U16(bytes, at + 10);
            const quint32 rate = U32(bytes, at + 12);
            const quint32 bits = U16(bytes, at + 22);
            formatOk = format == 1 && (channels == 1 || channels == 2) && (bits == 8 || bits == 16)
                       && rate >= 4000 && rate <= 192000;
        } else if (id == "data") {
            // Chunks after "data" do not matter to playback.
            return formatOk && size > 0;
        }
        at += 8 + size + (size & 1);
    }
    return false;
}

void SoundPlayer::Build(const QString& folder)
{
    m_devices = new QMediaDevices(this);
    m_hasOutput = !QMediaDevices::audioOutputs().isEmpty();
    connect(m_devices, &QMediaDevices::audioOutputsChanged, this, &SoundPlayer::OnOutputsChanged);

    for (int i = 0; i < Count; ++i) {
        auto* effect = new QSoundEffect(QMediaDevices::defaultAudioOutput(), this);
        connect(effect, &QSoundEffect::statusChanged, this, [this, i] { OnStatusChanged(i); });
        m_effects[size_t(i)] = effect;
        // A clip that fails the check keeps no source: its status stays Null, and playing it beeps.
        const QString path = folder + ClipFileName(i + 1);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || !IsPlayableWave(file.readAll()))
            continue;
        // Setting the source starts loading at once: every clip is ready before its first use.
        effect->setSource(SourceUrl(path));
    }
}

void SoundPlayer::Play(int number)
{
    if (!InRange(number))
        return;
    Stop();
    m_pending = 0;
    QSoundEffect* effect = m_effects[size_t(number - 1)];
    switch (effect->status()) {
    case QSoundEffect::Null:
    case QSoundEffect::Error:
        FallBack();
        return;
    case QSoundEffect::Loading:
        // Still loading (only right after start-up): remember the request, so that a clip
        // that turns out broken still beeps for it.
        m_pending = number;
        break;
    case QSoundEffect::Ready:
        break;
    }
    // Without an audio output the sink would only fail, and keep reporting it on every play.
    if (!m_hasOutput)
        return;
    effect->play();
}

void SoundPlayer::Stop()
{
    for (QSoundEffect* effect : m_effects) {
        if (effect->isPlaying())
            effect->stop();
    }
}

int SoundPlayer::NowPlaying() const
{
    for (int i = 0; i < Count; ++i) {
        if (m_effects[size_t(i)]->isPlaying())
            return i + 1;
    }
    return 0;
}

bool SoundPlayer::IsLoaded(int number) const
{
    return InRange(number) && m_effects[size_t(number - 1)]->status() == QSoundEffect::Ready;
}

bool SoundPlayer::IsBroken(int number) const
{
    if (!InRange(number))
        return false;
    const QSoundEffect::Status status = m_effects[size_t(number - 1)]->status();
    return status == QSoundEffect::Error || status == QSoundEffect::Null;
}

bool SoundPlayer::HasAudioOutput() const
{
    return m_hasOutput;
}

void SoundPlayer::SetFallback(std::function<void()> fallback)
{
    m_fallback = std::move(fallback);
}

void SoundPlayer::OnStatusChanged(int index)
{
    if (m_pending != index + 1)
        return;
    const QSoundEffect::Status status = m_effects[size_t(index)]->status();
    if (status == QSoundEffect::Loading)
        return;
    m_pending = 0;
    if (status == QSoundEffect::Error)
        FallBack();
}

void SoundPlayer::OnOutputsChanged()
{
    // A headset plugged in after start-up, or the only output gone: follow the default output.
    m_hasOutput = !QMediaDevices::audioOutputs().isEmpty();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    for (QSoundEffect* effect : m_effects) {
        if (effect->audioDevice() != device)
            effect->setAudioDevice(device);
    }
}

void SoundPlayer::FallBack()
{
    if (m_fallback)
        m_fallback();
}
