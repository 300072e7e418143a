// SPDX-License-Identifier: MIT
// EffectSet: the sound backend over Qt Multimedia, built as a module of its own so that only
// a program that plays a sound loads the audio stack. One QSoundEffect per clip; each clip is
// checked before the effect sees it and starts loading as soon as the set is made.

// Qt
#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QObject>
#include <QSoundEffect>
#include <QUrl>

// own
#include "platform/sound/SoundBackend.h"
#include "platform/sound/WaveFile.h"

#include <array>

namespace {

constexpr int Count = 4;

QUrl SourceUrl(const QString& path)
{
    // ":/sounds/wave100.wav" is the resource "qrc:/sounds/wave100.wav".
    if (path.startsWith(QLatin1Char(':')))
        return QUrl(QLatin1String("qrc") + path);
    return QUrl::fromLocalFile(path);
}

class EffectSet final : public QObject, public SoundBackend
{
public:
    explicit EffectSet(const QString& folder)
    {
        m_devices = new QMediaDevices(this);
        m_hasOutput = !QMediaDevices::audioOutputs().isEmpty();
        connect(m_devices, &QMediaDevices::audioOutputsChanged, this, &EffectSet::OnOutputsChanged);

        for (int i = 0; i < Count; ++i) {
            auto* effect = new QSoundEffect(QMediaDevices::defaultAudioOutput(), this);
            connect(effect, &QSoundEffect::statusChanged, this, [this, i] { OnStatusChanged(i); });
            m_effects[size_t(i)] = effect;
            // A clip that fails the check keeps no source: its status stays Null, and playing
            // it beeps.
            const QString path = folder + QStringLiteral("wave%1.wav").arg(100 + i);
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly) || !WaveFile::IsPlayable(file.readAll()))
                continue;
            // Setting the source starts loading at once, off the GUI thread.
            effect->setSource(SourceUrl(path));
        }
    }

    void Play(int number) override
    {
        if (number < 1 || number > Count)
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
            // Still loading (the first sounds after the set was made): the effect plays once
            // it is ready; remember the request, so that a clip that turns out broken still
            // beeps for it.
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

    void Stop() override
    {
        for (QSoundEffect* effect : m_effects) {
            if (effect->isPlaying())
                effect->stop();
        }
    }

    int NowPlaying() const override
    {
        for (int i = 0; i < Count; ++i) {
            if (m_effects[size_t(i)]->isPlaying())
                return i + 1;
        }
        return 0;
    }

    bool IsLoaded(int number) const override
    {
        return number >= 1 && number <= Count
               && m_effects[size_t(number - 1)]->status() == QSoundEffect::Ready;
    }

    bool IsBroken(int number) const override
    {
        if (number < 1 || number > Count)
            return false;
        const QSoundEffect::Status status = m_effects[size_t(number - 1)]->status();
        return status == QSoundEffect::Error || status == QSoundEffect::Null;
    }

    bool HasAudioOutput() const override { return m_hasOutput; }

    void SetFallback(std::function<void()> fallback) override { m_fallback = std::move(fallback); }

private:
    void OnStatusChanged(int index)
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

    void OnOutputsChanged()
    {
        // A headset plugged in after start-up, or the only output gone: follow the default output.
        m_hasOutput = !QMediaDevices::audioOutputs().isEmpty();
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        for (QSoundEffect* effect : m_effects) {
            if (effect->audioDevice() != device)
                effect->setAudioDevice(device);
        }
    }

    void FallBack()
    {
        if (m_fallback)
            m_fallback();
    }

    std::array<QSoundEffect*, Count> m_effects {};
    QMediaDevices* m_devices = nullptr;
    bool m_hasOutput = false;
    // Sound whose play was asked for while its clip was still loading; 0 for none.
    int m_pending = 0;
    std::function<void()> m_fallback;
};

} // namespace

extern "C" Q_DECL_EXPORT SoundBackend* OrbiloCreateSoundBackendV1(const QString& folder)
{
    return new EffectSet(folder);
}
