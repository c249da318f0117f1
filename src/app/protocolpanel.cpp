#include "app/protocolpanel.h"

#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

ProtocolPanel::ProtocolPanel(QWidget* parent) : QFrame(parent) {
    ui.setupUi(this);
    QFont mono(QStringLiteral("Liberation Mono"));
    mono.setStyleHint(QFont::Monospace);
    ui.MemoProtocol->setFont(mono);
}

void ProtocolPanel::appendLine(const QString& line) {
    QPlainTextEdit* memo = ui.MemoProtocol;
    QScrollBar* bar = memo->verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum() - 2;
    QTextCursor c(memo->document());
    c.movePosition(QTextCursor::End);
    // The document starts with one empty block; the first line goes into it.
    const bool first = memo->document()->isEmpty() && m_lines == 0;
    if (!first) c.insertBlock();
    c.insertText(line);
    ++m_lines;
    if (atEnd) bar->setValue(bar->maximum());
}

QString ProtocolPanel::logText() const { return ui.MemoProtocol->toPlainText(); }
