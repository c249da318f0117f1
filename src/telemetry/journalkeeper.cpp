#include "telemetry/journalkeeper.h"

#include "common/messages.h"
#include "link/operationcontext.h"
#include "telemetry/journalformat.h"
#include "telemetry/sampletable.h"

#include <QFile>

using journal::path;
using journal::previousPath;

JournalKeeper::JournalKeeper(OperationContext* ctx, const SampleTable* archive, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_archive(archive) {}

void JournalKeeper::begin() {
    m_writer.close();
    // A mistaken Start must not cost the recording before it either.
    if (QFile::exists(path())) {
        QFile::remove(previousPath());
        QFile::rename(path(), previousPath());
    }
    m_active = openJournal();
}

bool JournalKeeper::openJournal() {
    QString error;
    if (m_writer.open(path(), &error)) return true;
    m_ctx->error(journal::writeFailedMessage(path(), error, msgs().english()));
    return false;
}

void JournalKeeper::sampleRecorded(int row) {
    if (!m_active) return;
    std::array<double, recordfile::Fields> v;
    auto rowValues = [&](int r) {
        for (int f = 0; f < recordfile::Fields; ++f) v[std::size_t(f)] = m_archive->value(r, f);
    };
    if (!m_writer.isOpen()) {
        // Saved, then continued: the new journal holds the whole recording again.
        if (!(m_active = openJournal())) return;
        for (int r = 1; r < row; ++r) {
            rowValues(r);
            m_writer.append(v);
        }
    }
    rowValues(row);
    if (!m_writer.append(v)) {
        m_active = false;
        m_ctx->error(journal::writeFailedMessage(path(), m_writer.lastError(), msgs().english()));
    }
}

void JournalKeeper::flush() {
    if (m_writer.isOpen() && !m_writer.flush()) {
        m_active = false;
        m_ctx->error(journal::writeFailedMessage(path(), m_writer.lastError(), msgs().english()));
    }
}

void JournalKeeper::discard() {
    m_writer.remove();
    QFile::remove(path());
}

void JournalKeeper::clear() {
    discard();
    m_active = false;
}

void JournalKeeper::detach() {
    m_writer.close();
    m_active = false;
}
