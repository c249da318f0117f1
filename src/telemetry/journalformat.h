#pragma once
// The recording journal ("recording.journal" beside the configuration files): while a
// recording runs, every sample is appended to it as one record file line (journalwriter.h),
// so that a recording outlives a crash, a killed process or a pulled plug. This is its
// format: the file's names, reading it back, and the messages about it. Pure code: QtCore
// only.
//
// Reading is strict: every complete line must be a record line of whole hundredths as the
// writer makes them, at most MaxLine bytes long; only the last line may be torn (the
// crash came while it was being written), and that one is dropped.

#include "telemetry/recordfile.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace journal {

// The journal's name, and the one earlier generation kept when a new recording starts
// over an unsaved one.
QString fileName();
QString previousFileName();
// Both in the current directory, as absolute paths.
QString path();
QString previousPath();

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

} // namespace journal
