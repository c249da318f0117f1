#pragma once
// Keeps the running recording in the journal file (journalformat.h, written by
// journalwriter.h) as it grows: Start begins a new journal (an unsaved earlier one becomes
// recording.journal.1), every recorded sample is appended from the archive's columns,
// Pause and Stop hand what is collected to the file, and a saved record file, Clear or a
// discarded restore remove it. A recording that goes on after it was saved gets a new
// journal holding the whole recording again.

#include "telemetry/journalwriter.h"

#include <QObject>

class SampleTable;
struct OperationContext;

class JournalKeeper : public QObject {
    Q_OBJECT
public:
    // archive: the recording's columns (common/archivecolumns.h), rows from 1.
    JournalKeeper(OperationContext* ctx, const SampleTable* archive, QObject* parent = nullptr);

    // A new recording starts.
    void begin();
    // The sample in archive row `row` was recorded.
    void sampleRecorded(int row);
    // Everything collected goes to the file now.
    void flush();
    // The recording is safe elsewhere (saved) or unwanted (Clear): the file goes.
    void discard();
    // Clear: the file goes and nothing is recorded until the next Start.
    void clear();
    // Another record replaces the archive: the journal is closed and stays on disk.
    void detach();

    journal::Writer& writer() { return m_writer; }

private:
    bool openJournal();

    OperationContext* m_ctx;
    const SampleTable* m_archive;
    journal::Writer m_writer;
    bool m_active = false; // a recording is going on in the archive
};
