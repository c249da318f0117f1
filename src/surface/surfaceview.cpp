#include "surface/surfaceview.h"

#include <GL/gl.h>

SurfaceView::SurfaceView(QWidget* parent) : QOpenGLWidget(parent) {
    // The picture is turned by dragging over it; the hand shows that it can be grabbed.
    setCursor(Qt::PointingHandCursor);
}

void SurfaceView::setFamily(SurfaceFamily family) {
    if (m_family == family) return;
    m_family = family;
    update();
}

void SurfaceView::setCells(SurfaceTable table, const QStringList& cells) {
    m_table = table;
    m_cells = cells;
    update();
}

void SurfaceView::setActive(bool active) {
    m_active = active;
    update();
}

void SurfaceView::clearColour(SurfaceFamily family, float rgb[3]) {
    if (family == SurfaceFamily::Lambda) {
        rgb[0] = 0.8549f;
        rgb[1] = 0.7529f;
        rgb[2] = 0.6039f;
    } else {
        rgb[0] = 0.4745f;
        rgb[1] = 0.7412f;
        rgb[2] = 0.8431f;
    }
}

void SurfaceView::initializeGL() {
    // Translucent surface fills are blended over the grid walls behind them; flat shading
    // gives every quad of the surface one colour.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glShadeModel(GL_FLAT);
    glEnable(GL_DEPTH_TEST);
}

void SurfaceView::resizeGL(int w, int h) {
    // QOpenGLWidget passes the size in device-independent pixels; the viewport is in
    // framebuffer pixels.
    const qreal ratio = devicePixelRatioF();
    glViewport(0, 0, GLsizei(w * ratio), GLsizei(h * ratio));
}

void SurfaceView::paintGL() {
    float rgb[3];
    clearColour(m_family, rgb);
    // Opaque background: the widget is composed into the window as an opaque texture
    // anyway, and an opaque framebuffer keeps grabs and screenshots true to the screen.
    glClearColor(rgb[0], rgb[1], rgb[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
