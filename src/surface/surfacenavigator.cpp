#include "surface/surfacenavigator.h"

#include "surface/surfaceview.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <iterator>

SurfaceNavigator::SurfaceNavigator(SurfaceView* view, const NavigatorButtons& b, QObject* parent)
    : QObject(parent), m_view(view), m_zoom(b.zoom) {
    Timer_Rotate_3D = new QTimer(this);
    Timer_Rotate_3D->setObjectName(QStringLiteral("Timer_Rotate_3D"));
    Timer_Rotate_3D->setInterval(100);
    connect(Timer_Rotate_3D, &QTimer::timeout, this, [this] {
        for (int i = Left; i <= DownZ; ++i)
            if (Rotate_Flags[i]) rotate(Rotate(i));
    });

    QAbstractButton* const rotators[6] = {b.rotateLeft, b.rotateRight, b.rotateUp,
                                          b.rotateDown, b.rotateUpZ,   b.rotateDownZ};
    for (int i = Left; i <= DownZ; ++i) {
        QAbstractButton* button = rotators[i];
        connect(button, &QAbstractButton::pressed, this, [this, i] {
            Rotate_Flags[i] = true;
            Timer_Rotate_3D->start();
        });
        // Releasing any of them ends every repeat; the click that follows the release
        // gives the step of its own, so even the shortest press turns the picture.
        connect(button, &QAbstractButton::released, this, [this] {
            Timer_Rotate_3D->stop();
            std::fill(std::begin(Rotate_Flags), std::end(Rotate_Flags), false);
        });
        connect(button, &QAbstractButton::clicked, this, [this, i] { rotate(Rotate(i)); });
    }

    // The zoom acts on the mouse press itself, with either button.
    b.zoom->installEventFilter(this);
    connect(b.push, &QAbstractButton::clicked, this, &SurfaceNavigator::push);
    connect(b.pop, &QAbstractButton::clicked, this, &SurfaceNavigator::pop);
    connect(b.defaults, &QAbstractButton::clicked, this, &SurfaceNavigator::resetAngles);
}

void SurfaceNavigator::afterTurn() {
    m_view->applyFamilyOrientation();
    if (refreshShownTable) refreshShownTable();
}

void SurfaceNavigator::rotate(Rotate which) {
    if (!m_view->isActive()) return;
    Orientation& o = m_view->orient(m_view->family());
    switch (which) {
    case Left:
        o.ry -= 2;
        break;
    case Right:
        o.ry += 2;
        break;
    case Up:
        o.rx += 2;
        break;
    case Down:
        o.rx -= 2;
        break;
    case UpZ:
        o.rz += 2;
        break;
    case DownZ:
        o.rz -= 2;
        break;
    }
    afterTurn();
}

void SurfaceNavigator::zoom(bool in) {
    if (!m_view->isActive()) return;
    Orientation& o = m_view->orient(m_view->family());
    if (!surface::zoom(o, in)) return;
    Orientation& v = m_view->Orient_View;
    v.vLeft = o.vLeft;
    v.vRight = o.vRight;
    v.vBottom = o.vBottom;
    v.vTop = o.vTop;
    v.vNear = o.vNear;
    v.vFar = o.vFar;
    m_view->update();
}

void SurfaceNavigator::push() {
    if (!m_view->isActive()) return;
    const SurfaceFamily f = m_view->family();
    m_view->savedOrient(f) = m_view->orient(f);
}

void SurfaceNavigator::pop() {
    if (!m_view->isActive()) return;
    const SurfaceFamily f = m_view->family();
    m_view->orient(f) = m_view->savedOrient(f);
    afterTurn();
}

void SurfaceNavigator::resetAngles() {
    if (!m_view->isActive()) return;
    Orientation& o = m_view->orient(m_view->family());
    o.ry = o.rx = o.rz = 0;
    afterTurn();
}

bool SurfaceNavigator::eventFilter(QObject* watched, QEvent* event) {
    // The second of two quick presses arrives as a double-click: it is a press all the same.
    const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (watched == m_zoom && press && m_zoom->isEnabled()) {
        const auto button = static_cast<QMouseEvent*>(event)->button();
        if (button == Qt::LeftButton)
            zoom(true);
        else if (button == Qt::RightButton)
            zoom(false);
    }
    return QObject::eventFilter(watched, event);
}
