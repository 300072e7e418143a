// SPDX-License-Identifier: MIT
// SoundPlayer: loads the audio module on first use and hands the sounds to it, with the
// system beep for whatever it cannot play.

#include "platform/sound/SoundPlayer.h"

// Qt
#include <QApplication>
#include <QLibrary>
#include <QtDebug>

// own
#include "platform/sound/SoundBackend.h"
#include "platform/sound/WaveFile.h"

namespace {

constexpr auto ResourceFolder = ":/sounds/";

bool InRange(int number)
{
    return number >= 1 && number <= SoundPlayer::Count;
}

bool g_foldersReplaced = false;
QStringList g_folders;

CreateSoundBackendFn FindEntry(const QStringList& folders, QStringList& errors)
{
    for (const QString& folder : folders) {
        // The module stays loaded for good: the audio libraries it pulls in keep threads and
        // callbacks of their own that must not outlive their code.
        QLibrary library(folder + QStringLiteral(ORBILO_SOUND_MODULE_NAME));
        library.setLoadHints(QLibrary::PreventUnloadHint);
        if (!library.load()) {
            errors << library.errorString();
            continue;
        }
        if (auto entry = reinterpret_cast<CreateSoundBackendFn>(library.resolve(ORBILO_SOUND_ENTRY)))
            return entry;
        errors << library.errorString();
    }
    if (errors.isEmpty())
        errors << QStringLiteral("no folder to look in");
    return nullptr;
}

// The module's entry point; null when the module is missing, which is reported once.
CreateSoundBackendFn LoadModule()
{
    QStringList errors;
    if (g_foldersReplaced)
        return FindEntry(g_folders, errors);
    static const CreateSoundBackendFn entry = [&errors] {
        const CreateSoundBackendFn found = FindEntry(SoundPlayer::ModuleFolders(), errors);
        if (!found)
            qWarning().noquote() << "Sounds fall back to the beep; the audio module could not be loaded:"
                                 << errors.join(QStringLiteral("; "));
        return found;
    }();
    return entry;
}

} // namespace

SoundPlayer::SoundPlayer(QObject* parent)
    : SoundPlayer(QString::fromLatin1(ResourceFolder), parent)
{
}

SoundPlayer::SoundPlayer(const QString& folder, QObject* parent)
    : QObject(parent)
    , m_folder(folder)
    , m_fallback([] { QApplication::beep(); })
{
}

SoundPlayer::~SoundPlayer() = default;

QUrl SoundPlayer::ClipUrl(int number)
{
    if (!InRange(number))
        return {};
    return QUrl(QStringLiteral("qrc%1wave%2.wav").arg(QLatin1String(ResourceFolder)).arg(99 + number));
}

bool SoundPlayer::IsPlayableWave(const QByteArray& bytes)
{
    return WaveFile::IsPlayable(bytes);
}

void SoundPlayer::SetModuleFolders(const QStringList& folders)
{
    g_foldersReplaced = true;
    g_folders = folders;
}

void SoundPlayer::UseDefaultModuleFolders()
{
    g_foldersReplaced = false;
    g_folders.clear();
}

QStringList SoundPlayer::ModuleFolders()
{
    if (g_foldersReplaced)
        return g_folders;
    if (!QCoreApplication::instance())
        return {};
    const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    const QString installed = QStringLiteral(ORBILO_SOUND_MODULE_INSTALL_DIR);
    // Installed on Windows, the module is beside the executable too.
    if (installed.isEmpty() || installed == QLatin1String("."))
        return { beside };
    return { beside, beside + installed + QLatin1Char('/') };
}

SoundBackend* SoundPlayer::Backend() const
{
    if (!m_tried) {
        m_tried = true;
        if (CreateSoundBackendFn create = LoadModule()) {
            m_backend.reset(create(m_folder));
            m_backend->SetFallback(m_fallback);
        }
    }
    return m_backend.get();
}

void SoundPlayer::Preload()
{
    Backend();
}

bool SoundPlayer::BackendLoaded() const
{
    return Backend() != nullptr;
}

void SoundPlayer::Play(int number)
{
    if (!InRange(number))
        return;
    if (SoundBackend* backend = Backend())
        backend->Play(number);
    else if (m_fallback)
        m_fallback();
}

void SoundPlayer::Stop()
{
    // Nothing can be playing before the module is loaded.
    if (m_backend)
        m_backend->Stop();
}

int SoundPlayer::NowPlaying() const
{
    return m_backend ? m_backend->NowPlaying() : 0;
}

bool SoundPlayer::IsLoaded(int number) const
{
    SoundBackend* backend = Backend();
    return backend && backend->IsLoaded(number);
}

bool SoundPlayer::IsBroken(int number) const
{
    if (!InRange(number))
        return false;
    SoundBackend* backend = Backend();
    return !backend || backend->IsBroken(number);
}

bool SoundPlayer::HasAudioOutput() const
{
    SoundBackend* backend = Backend();
    return backend && backend->HasAudioOutput();
}

void SoundPlayer::SetFallback(std::function<void()> fallback)
{
    m_fallback = std::move(fallback);
    if (m_backend)
        m_backend->SetFallback(m_fallback);
}
