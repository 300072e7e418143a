// SPDX-License-Identifier: MIT
// GameKeeper writes the game in progress to its file while the game goes on, on a thread of
// its own: a safe write syncs the disk, which may take longer than a frame, and the player's
// next click must not wait for it. The caller formats the game (cheap) and hands over the
// bytes; a newer game handed over before the older one was written replaces it, so a burst
// of moves costs one write. A failed write is reported through Failed, on the caller's
// thread, with the reason.
//
// Drop() makes sure that nothing written or still to be written outlives the game: it
// forgets what waits, waits for a write in flight and removes the file. Idle() waits until
// nothing is in flight, so that a last write at close is made after every earlier one.
#pragma once

// Qt
#include <QByteArray>
#include <QObject>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

class GameKeeper : public QObject
{
    Q_OBJECT

public:
    explicit GameKeeper(QObject* parent = nullptr);
    // Waits for a write in flight; what only waits is not written.
    ~GameKeeper() override;

    // Writes bytes (SavedGameFile::Format) to path, the safe way, soon.
    void Keep(const QString& path, QByteArray bytes);
    // Forgets what waits, waits for a write in flight, removes the file at path.
    void Drop(const QString& path);
    // Forgets what waits and waits for a write in flight.
    void Idle();

signals:
    void Failed(const QString& path, const QString& why);

private:
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<std::pair<QString, QByteArray>> m_waiting;
    bool m_writing = false;
    bool m_stop = false;
    std::thread m_thread;
};
