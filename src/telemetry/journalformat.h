#pragma once
// The recording journal ("recording.journal" beside the configuration files): while a
// recording runs, every sample is appended to it as one record file line, so that a
// recording outlives a crash, a killed process or a pulled plug. Pure code: QtCore and
// POSIX only.
//
// Appends collect in memory and reach the file at least once a second (a crash loses at
// most the last second); the data is made durable (fdatasync) by a thread of the writer's
// own, in batches, so the recording tick never waits for the disk.
//
// Reading is strict: every complete line must be a record line of whole hundredths as the
// writer makes them, at most MaxLine bytes long; only the last line may be torn (the
// crash came while it was being written), and that one is dropped.

#include "telemetry/recordfile.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace journal {

// The journal's name, and the one earlier generation kept when a new recording starts
// over an unsaved one.
QString fileName();
QString previousFileName();

// Longer lines are not journal lines (a line of twelve 64-bit numbers and their markers
// stays well below this).
inline constexpr int MaxLine = 400;
// A journal file larger than this is refused before it is read.
inline constexpr qint64 MaxBytes = qint64(1) << 30;

struct Journal {
    recordfile::Record record; // the samples, in units (badLine unused)
    bool tornTail = false;     // the last line was incomplete and was dropped
    // 0 when the journal was read; otherwise the first line (1-based) that is not a journal
    // line, and why.
    int badLine = 0;
    QString reason;
    bool ok() const { return badLine == 0; }
};
// Reads a journal's bytes. A journal that fails gives no samples at all.
Journal parse(const QByteArray& bytes);

// Reads the journal file: false when it cannot be read (the reason in *error).
bool readFile(const QString& path, Journal* journal, QDateTime* modified, QString* error, bool english);

// Messages in the interface language.
QString restoreQuestion(const QDateTime& when, int samples, bool english);
QString restoreButton(bool english);
QString discardButton(bool english);
QString rejectedMessage(const QString& path, const Journal& journal, bool english);
QString writeFailedMessage(const QString& path, const QString& reason, bool english);

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
