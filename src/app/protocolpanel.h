#pragma once
// The protocol log panel: the running record of this run (MemoProtocol) and the choice of
// offering it for saving when the program closes (cb_Protocol_Ask).
//
// A text document costs over half a kilobyte per line, several times that for a line of
// text laid out while hidden, and hours of live polling append an empty line per answer.
// So the log is kept as compact UTF-8 text while the panel is hidden, and the text area
// holds it only while the user looks at it (and may type into it); what it holds then is
// taken back, typed text included, when the panel is hidden again.
//
// While it is shown, the exchange adds lines dozens of times a second. Each line put into
// the text area on its own lays the document out and moves the view, and the window then
// paints and hands the display the whole moved view, which delayed the exchange's ticks
// (bench_timing); so lines go in together at most every ViewDelayMs, in one edit with one
// move of the view, each its own line and in order. They go in from appendLine (a receive
// event, which comes between the ticks), a timer bringing only the last lines of a burst.

#include "ui_protocolpanel.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFrame>
#include <QStringList>
#include <QTimer>

class ProtocolPanel : public QFrame {
    Q_OBJECT
public:
    explicit ProtocolPanel(QWidget* parent = nullptr);

    // The one way lines enter the log: appended at the end, whatever the user typed or
    // where the caret is. The view follows the end while it was showing the end.
    void appendLine(const QString& line);
    // The whole log, lines separated by '\n'.
    QString logText() const;
    int lineCount() const { return m_lines; }
    // Empties the log, as at the start of a session.
    void clear();

    Ui::ProtocolPanel ui;

    // How long lines for the shown text area wait at most, ms: the view moves at most twice
    // a second (every frame, ten times a second, cost a tenth of the ticks their time).
    static constexpr int ViewDelayMs = 500;
    // Puts the waiting lines into the text area now.
    void flushToView();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QTimer m_viewTimer;    // brings the waiting lines into the text area
    QElapsedTimer m_lastFlush; // since lines last went into the text area
    QStringList m_waiting; // lines for the text area, not yet in it
    bool m_viewHasLine = false; // the text area holds a line of the log (an empty one too)

    QByteArray m_stored;   // the log while the text area does not hold it
    bool m_inView = false; // the text area holds the log
    bool m_anyLine = false; // the log holds a line, possibly an empty one
    bool m_atEnd = true;   // the view showed the end when it was last hidden
    int m_scroll = 0;      // its first visible line then
    int m_lines = 0;       // lines appended through appendLine
};
