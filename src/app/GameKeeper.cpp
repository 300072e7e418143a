// SPDX-License-Identifier: MIT
#include "app/GameKeeper.h"

// own
#include "store/SavedGameFile.h"

GameKeeper::GameKeeper(QObject* parent)
    : QObject(parent)
    , m_thread([this] { Run(); })
{
}

GameKeeper::~GameKeeper()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_waiting.reset();
    }
    m_changed.notify_all();
    m_thread.join();
}

void GameKeeper::Keep(const QString& path, QByteArray bytes)
{
    {
        std::lock_guard lock(m_mutex);
        m_waiting.emplace(path, std::move(bytes));
    }
    m_changed.notify_all();
}

void GameKeeper::Drop(const QString& path)
{
    std::unique_lock lock(m_mutex);
    m_waiting.reset();
    m_changed.wait(lock, [this] { return !m_writing; });
    // Under the lock: no write can start before the file is gone.
    SavedGameFile::Remove(path);
}

void GameKeeper::Idle()
{
    std::unique_lock lock(m_mutex);
    m_waiting.reset();
    m_changed.wait(lock, [this] { return !m_writing; });
}

void GameKeeper::Run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stop || m_waiting; });
        if (m_stop)
            return;
        const auto [path, bytes] = std::move(*m_waiting);
        m_waiting.reset();
        m_writing = true;
        lock.unlock();
        QString why;
        const bool written = SavedGameFile::SaveFormatted(path, bytes, &why);
        if (!written)
            QMetaObject::invokeMethod(this, [this, path, why] { emit Failed(path, why); }, Qt::QueuedConnection);
        lock.lock();
        m_writing = false;
        m_changed.notify_all();
    }
}
