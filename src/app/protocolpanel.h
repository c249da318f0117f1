#pragma once
// The protocol log panel: the running record of this run (MemoProtocol) and the choice of
// offering it for saving when the program closes (cb_Protocol_Ask).

#include "ui_protocolpanel.h"

#include <QFrame>

class ProtocolPanel : public QFrame {
    Q_OBJECT
public:
    explicit ProtocolPanel(QWidget* parent = nullptr);

    // The one way lines enter the log: appended at the end, whatever the user typed or
    // where the caret is. The view follows the end while it was showing the end.
    void appendLine(const QString& line);
    QString logText() const;
    int lineCount() const { return m_lines; }

    Ui::ProtocolPanel ui;

private:
    int m_lines = 0; // lines appended through appendLine
};
