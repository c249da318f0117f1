#pragma once
// Writes the recording journal (journalformat.h) while a recording runs. Appends collect in
// memory and reach the file at least once a second (a crash loses at most the last
// second); the data is made durable (fdatasync) by a thread of the writer's own, in
// batches, so the recording tick never waits for the disk. Pure code: QtCore and POSIX
// only.

#include "telemetry/recordfile.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace journal {

class Writer {
public:
    Writer();
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Creates (or empties) the journal at path; false with the reason in *error.
    bool open(const QString& path, QString* error);
    bool isOpen() const { return m_fd >= 0; }
    QString path() const { return m_path; }

    // One sample in units. Reaches the file when a second has passed since the last write
    // to it; false only when that write failed (the journal is then closed).
    bool append(const std::array<double, recordfile::Fields>& values);
    // Hands everything collected to the file now and asks for a sync.
    bool flush();
    // Flushes, syncs and closes the file (it stays on disk).
    void close();
    // Closes and deletes the file.
    void remove();

    QString lastError() const { return m_error; }
    // Samples appended since open, and how many syncs finished (for tests and figures).
    int samples() const { return m_samples; }
    int syncs() const { return m_syncs.load(); }

    // How long samples may stay in memory, ms (tests shorten or lengthen it).
    int flushIntervalMs = 1000;

private:
    bool writeOut();
    void syncLoop();
    void stopSyncer();

    int m_fd = -1;
    QString m_path;
    QString m_error;
    QByteArray m_buffer;
    qint64 m_lastWrite = 0; // ms of the monotonic clock
    int m_samples = 0;

    std::thread m_syncer;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_syncWanted = false;
    bool m_quit = false;
    std::atomic<int> m_syncs{0};
};

} // namespace journal
