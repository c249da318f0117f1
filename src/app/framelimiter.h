#pragma once
// Lets a window paint at most once per interval, except right after the user's input.
// Everything that changed in between is painted together in the next frame; widgets'
// texts and values change at once, only the pixels wait. The exchange changes status
// texts, fields, the progress bar, the log and panels on every tick and receive event,
// dozens of times a second; painting each change at once would take time the next
// receive event needs.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <algorithm>

class QWidget;

class FrameLimiter : public QObject {
    Q_OBJECT
public:
    // Limits the frames of window (a top-level widget) to one per intervalMs, measured
    // from the end of one frame to the start of the next; after a frame that took long,
    // the pause is twice its length.
    FrameLimiter(QWidget* window, int intervalMs, QObject* parent = nullptr);

    int interval() const { return m_interval; }
    // A new interval from the next frame on (a replay asks for every frame it makes).
    void setInterval(int intervalMs) { m_interval = std::max(1, intervalMs); }
    // Frames painted and frames put off so far (for tests and measurements).
    int framesPainted() const { return m_painted; }
    int framesPutOff() const { return m_putOff; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paintNow();
    qint64 gap() const;
    bool due() const;

    QPointer<QWidget> m_window;
    int m_interval;
    QElapsedTimer m_lastFrame; // since the end of the last frame
    qint64 m_lastCost = 0;     // how long the last frame took, ms
    bool m_inFrame = false;
    QTimer m_timer;          // brings the put-off frame when the interval is over
    bool m_userActed = false; // input since the last frame: the next frame goes at once
    int m_painted = 0;
    int m_putOff = 0;
};
