#pragma once
// At start-up: a recording the program lost (its journal is still there) is offered back.
// The question comes once the window is up, in a box that does not hold the event loop;
// Restore shows the recording as an opened record file would be shown (Chart1, the
// archive, the navigator), Discard deletes the journal, closing the box leaves it.

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>

class RecordFiles;
struct OperationContext;

class JournalRestore : public QObject {
    Q_OBJECT
public:
    JournalRestore(OperationContext* ctx, RecordFiles* files, QObject* parent = nullptr);

    // Puts the question; answer(true) restores, answer(false) discards, no call leaves the
    // journal alone. The default opens a non-blocking box; tests replace it.
    std::function<void(const QString& text, std::function<void(bool restore)> answer)> ask;

    // Looks for the journal and asks (run once after construction).
    void check();
    // What the answers do.
    void restore();
    void discard();

private:
    // The journal the question was about: a recording started while the question waits
    // moves it to the previous generation, and the answer must follow it there.
    QString askedFile() const;

    OperationContext* m_ctx;
    RecordFiles* m_files;
    qint64 m_size = -1;
    QDateTime m_modified;
};
