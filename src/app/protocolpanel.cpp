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
    m_viewTimer.setSingleShot(true);
    connect(&m_viewTimer, &QTimer::timeout, this, &ProtocolPanel::flushToView);
}

void ProtocolPanel::appendLine(const QString& line) {
    ++m_lines;
    if (m_inView) {
        m_waiting << line;
        // Put in where the line comes from (a receive event, away from the ticks) once the
        // interval is over; the timer brings the last lines of a burst.
        const qint64 since = m_lastFlush.isValid() ? m_lastFlush.elapsed() : ViewDelayMs;
        if (since >= ViewDelayMs)
            flushToView();
        else if (!m_viewTimer.isActive())
            m_viewTimer.start(int(ViewDelayMs - since));
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
    m_waiting.clear();
    m_viewTimer.stop();
    m_viewHasLine = false;
    if (m_inView) ui.MemoProtocol->clear();
}

void ProtocolPanel::flushToView() {
    m_viewTimer.stop();
    if (m_waiting.isEmpty() || !m_inView) return;
    m_lastFlush.start();
    QPlainTextEdit* memo = ui.MemoProtocol;
    QScrollBar* bar = memo->verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum() - 2;
    QTextCursor c(memo->document());
    c.movePosition(QTextCursor::End);
    // One edit: the document is laid out and the view told once for all the lines.
    c.beginEditBlock();
    // An empty text area is one empty block; the first line of the log goes into it.
    bool first = memo->document()->isEmpty() && !m_viewHasLine;
    for (const QString& line : std::as_const(m_waiting)) {
        if (!first) c.insertBlock();
        first = false;
        c.insertText(line);
    }
    c.endEditBlock();
    m_viewHasLine = true;
    m_waiting.clear();
    if (atEnd) bar->setValue(bar->maximum());
}

QString ProtocolPanel::logText() const {
    if (!m_inView) return QString::fromUtf8(m_stored);
    QString text = ui.MemoProtocol->toPlainText();
    // The lines still on their way to the text area are in the log already.
    bool any = !text.isEmpty() || m_viewHasLine;
    for (const QString& line : m_waiting) {
        if (any) text += QLatin1Char('\n');
        text += line;
        any = true;
    }
    return text;
}

void ProtocolPanel::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    // A window coming back from the task bar finds the view as it left it.
    if (m_inView || event->spontaneous()) return;
    QPlainTextEdit* memo = ui.MemoProtocol;
    memo->setPlainText(QString::fromUtf8(m_stored));
    m_stored = QByteArray();
    m_inView = true;
    m_viewHasLine = m_anyLine;
    QScrollBar* bar = memo->verticalScrollBar();
    bar->setValue(m_atEnd ? bar->maximum() : m_scroll);
}

void ProtocolPanel::hideEvent(QHideEvent* event) {
    QFrame::hideEvent(event);
    if (!m_inView || event->spontaneous()) return;
    flushToView();
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
