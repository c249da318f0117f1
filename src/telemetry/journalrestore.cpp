#include "telemetry/journalrestore.h"

#include "common/messages.h"
#include "link/operationcontext.h"
#include "telemetry/journalformat.h"
#include "telemetry/recordfiles.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

JournalRestore::JournalRestore(OperationContext* ctx, RecordFiles* files, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_files(files) {
    ask = [this](const QString& text, std::function<void(bool)> answer) {
        auto* box = new QMessageBox(QMessageBox::Question, m_ctx->window ? m_ctx->window->windowTitle() : QString(),
                                    text, QMessageBox::NoButton, m_ctx->window);
        box->setObjectName(QStringLiteral("RestoreBox"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        QPushButton* yes = box->addButton(journal::restoreButton(msgs().english()), QMessageBox::AcceptRole);
        QPushButton* no = box->addButton(journal::discardButton(msgs().english()), QMessageBox::DestructiveRole);
        box->setDefaultButton(yes);
        connect(box, &QMessageBox::finished, this, [box, yes, no, answer] {
            if (box->clickedButton() == yes) answer(true);
            if (box->clickedButton() == no) answer(false);
        });
        box->open();
    };
    // Once the window is up: a question before it would have no window to stand on.
    QTimer::singleShot(0, this, &JournalRestore::check);
}

void JournalRestore::check() {
    const QString path = journal::path();
    if (!QFile::exists(path)) return;
    journal::Journal journal;
    QDateTime modified;
    QString error;
    if (!journal::readFile(path, &journal, &modified, &error, msgs().english())) {
        m_ctx->error(error);
        return;
    }
    if (!journal.ok()) {
        m_ctx->error(journal::rejectedMessage(path, journal, msgs().english()));
        return;
    }
    const int samples = journal.record.rows();
    if (samples == 0) return;
    m_size = QFileInfo(path).size();
    m_modified = modified;
    ask(journal::restoreQuestion(modified, samples, msgs().english()), [this](bool yes) {
        if (yes)
            restore();
        else
            discard();
    });
}

QString JournalRestore::askedFile() const {
    for (const QString& path : {journal::path(), journal::previousPath()}) {
        const QFileInfo info(path);
        if (info.exists() && info.size() == m_size && info.lastModified() == m_modified) return path;
    }
    return QString();
}

void JournalRestore::restore() {
    // Read again: the answer may come long after the question.
    const QString path = askedFile();
    if (path.isEmpty()) return;
    journal::Journal journal;
    QString error;
    if (!journal::readFile(path, &journal, nullptr, &error, msgs().english())) {
        m_ctx->error(error);
        return;
    }
    if (!journal.ok()) {
        m_ctx->error(journal::rejectedMessage(path, journal, msgs().english()));
        return;
    }
    m_files->restore(std::move(journal.record));
}

void JournalRestore::discard() {
    // Never the journal of a recording begun after the question.
    const QString path = askedFile();
    if (!path.isEmpty()) QFile::remove(path);
}
