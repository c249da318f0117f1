#include "app/protocolpanel.h"

#include <QHideEvent>
#include <QScrollBar>
#include <QShowEvent>
#include <QTextCursor>
#include <QTextDocument>

ProtocolPanel::ProtocolPanel(QWidget* parent) : QFrame(parent) {
    ui.setupUi(this);
    QFont mono(QStringLiteral("Liberation Mono"));
    mono.setStyleHint(QFont::Monospace);
    ui.MemoProtocol->setFont(mono);
}

void ProtocolPanel::appendLine(const QString& line) {
    ++m_lines;
    if (m_inView) {
        appendToView(line);
    } else {
        if (m_anyLine) m_stored += '\n';
        m_stored += line.toUtf8();
    }
    m_anyLine = true;
}

void ProtocolPanel::clear() {
    m_lines = 0;
    m_anyLine = false;
    m_stored = QByteArray();
    if (m_inView) ui.MemoProtocol->clear();
}

void ProtocolPanel::appendToView(const QString& line) {
    QPlainTextEdit* memo = ui.MemoProtocol;
    QScrollBar* bar = memo->verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum() - 2;
    QTextCursor c(memo->document());
    c.movePosition(QTextCursor::End);
    // An empty log is one empty block; the first line goes into it.
    if (m_anyLine || !memo->document()->isEmpty()) c.insertBlock();
    c.insertText(line);
    if (atEnd) bar->setValue(bar->maximum());
}

QString ProtocolPanel::logText() const {
    return m_inView ? ui.MemoProtocol->toPlainText() : QString::fromUtf8(m_stored);
}

void ProtocolPanel::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    // A window coming back from the task bar finds the view as it left it.
    if (m_inView || event->spontaneous()) return;
    QPlainTextEdit* memo = ui.MemoProtocol;
    memo->setPlainText(QString::fromUtf8(m_stored));
    m_stored = QByteArray();
    m_inView = true;
    QScrollBar* bar = memo->verticalScrollBar();
    bar->setValue(m_atEnd ? bar->maximum() : m_scroll);
}

void ProtocolPanel::hideEvent(QHideEvent* event) {
    QFrame::hideEvent(event);
    if (!m_inView || event->spontaneous()) return;
    QPlainTextEdit* memo = ui.MemoProtocol;
    QScrollBar* bar = memo->verticalScrollBar();
    m_atEnd = bar->value() >= bar->maximum() - 2;
    m_scroll = bar->value();
    // What the user typed is part of the log like any other line.
    m_stored = memo->toPlainText().toUtf8();
    m_anyLine = m_anyLine || !memo->document()->isEmpty();
    m_inView = false;
    memo->clear();
}
