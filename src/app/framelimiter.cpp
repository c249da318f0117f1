#include "app/framelimiter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <algorithm>

FrameLimiter::FrameLimiter(QWidget* window, int intervalMs, QObject* parent)
    : QObject(parent), m_window(window), m_interval(intervalMs) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &FrameLimiter::paintNow);
    // The application sees every event first: the window's update requests (the window
    // asks for a frame with one sent to itself) and the user's input to any widget.
    QCoreApplication::instance()->installEventFilter(this);
}

qint64 FrameLimiter::gap() const {
    // A frame that takes long (a loaded machine, a large change to paint) is
    // followed by a longer pause, so painting never takes more than a third of the time.
    return std::max<qint64>(m_interval, 2 * m_lastCost);
}

bool FrameLimiter::due() const { return !m_lastFrame.isValid() || m_lastFrame.elapsed() >= gap(); }

void FrameLimiter::paintNow() {
    // The request goes through the filter like any other, now that the interval is over.
    if (m_window) QCoreApplication::postEvent(m_window, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
}

bool FrameLimiter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::UpdateRequest: {
        if (watched != m_window || m_inFrame) break; // not this window's, or our own delivery
        if (m_userActed || due()) {
            m_timer.stop();
            m_userActed = false;
            ++m_painted;
            // The window paints everything that changed; how long that takes decides how
            // soon the next frame may come.
            m_inFrame = true;
            QElapsedTimer cost;
            cost.start();
            QCoreApplication::sendEvent(watched, event);
            m_inFrame = false;
            m_lastCost = cost.elapsed();
            m_lastFrame.start();
            return true;
        }
        // Too soon: the changes wait in the window and are painted in one frame later.
        ++m_putOff;
        if (!m_timer.isActive()) m_timer.start(int(std::max<qint64>(1, gap() - m_lastFrame.elapsed())));
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        // What the user does shows at once; a frame put off for the interval comes now.
        if (!m_userActed) {
            m_userActed = true;
            if (m_timer.isActive()) {
                m_timer.stop();
                paintNow();
            }
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
