#include "surface/surfaceview.h"

#include "surface/glyphs.h"

#include <QApplication>
#include <QMouseEvent>
#include <QOpenGLContext>

#include <GL/gl.h>

#include <algorithm>
#include <array>

namespace {
// Glyph lists for the character codes 0..59: blank, comma, minus, point and the digits are
// all the labels use.
constexpr int kGlyphCount = 60;
constexpr double kGlyphDepth = 0.03;
} // namespace

SurfaceView::SurfaceView(QWidget* parent) : QOpenGLWidget(parent) {}

SurfaceView::~SurfaceView() {
    // The lists go now, while this object is whole; the context's own notice would come
    // too late, from the base class's destructor.
    if (context()) disconnect(context(), nullptr, this, nullptr);
    if (isValid()) {
        makeCurrent();
        releaseGL();
        doneCurrent();
    }
}

void SurfaceView::setFamily(SurfaceFamily family) {
    m_family = family;
    applyFamilyOrientation();
}

void SurfaceView::applyFamilyOrientation() {
    Orient_View = orient(m_family);
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

void SurfaceView::setLoadAxis(LoadAxis axis) {
    m_loadAxis = axis;
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
    // The context lives as long as the widget (or until the widget moves to another
    // window); the glyph lists are built once per context.
    m_glyphBase = surface::buildGlyphLists(surface::labelFont(), kGlyphCount, kGlyphDepth);
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] {
        makeCurrent();
        releaseGL();
        doneCurrent();
    });
}

void SurfaceView::releaseGL() {
    surface::deleteGlyphLists(m_glyphBase, kGlyphCount);
    m_glyphBase = 0;
}

void SurfaceView::initGLState() {
    // Translucent surface fills are blended over what lies behind them; flat shading gives
    // every quad of the surface one colour.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glShadeModel(GL_FLAT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
}

void SurfaceView::resizeGL(int, int) {
    // The viewport and the matrices are set up on every paint from the view orientation.
}

void SurfaceView::paintGL() {
    initGLState();
    float rgb[3];
    clearColour(m_family, rgb);
    // Opaque background, and the blending below leaves the alpha alone: the widget is
    // composed into the window as an opaque picture, and grabs show what the screen shows.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(rgb[0], rgb[1], rgb[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!m_active) return;
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);

    const qreal ratio = devicePixelRatioF();
    glViewport(0, 0, GLsizei(width() * ratio), GLsizei(height() * ratio));
    const Orientation& o = Orient_View;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A frustum that is closed or turned inside out would be refused anyway and leave the
    // projection at identity.
    if (surface::frustumUsable(o)) glFrustum(o.vLeft, o.vRight, o.vBottom, o.vTop, o.vNear, o.vFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -8);
    glRotatef(30, 1, 0, 0);
    glRotatef(70, 0, 1, 0);

    glPushMatrix();
    glRotatef(o.rx, 1, 0, 0);
    glRotatef(o.ry, 0, 1, 0);
    glRotatef(o.rz, 0, 0, 1);
    drawWalls();
    drawSurface();
    drawLabels();
    glPopMatrix();

    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

// The open box: back wall (z = -1), side wall (x = 1) and floor (y = -1), each a grid of
// outlined cells, 0.25 wide along the axes of the table and 0.2 high.
void SurfaceView::drawWalls() {
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glColor3f(0.1f, 0.1f, 0.1f);
    for (int i = 0; i < 7; ++i) {
        const double x = 1 - 0.25 * i;
        for (int j = 0; j < 10; ++j) {
            const double y = 1 - 0.2 * j;
            glBegin(GL_QUADS);
            glNormal3f(1, 0, 1);
            glVertex3d(x, y, -1);
            glVertex3d(x - 0.25, y, -1);
            glVertex3d(x - 0.25, y - 0.2, -1);
            glVertex3d(x, y - 0.2, -1);
            glEnd();
        }
    }
    for (int i = 0; i < 7; ++i) {
        const double z = -1 + 0.25 * i;
        for (int j = 0; j < 10; ++j) {
            const double y = 1 - 0.2 * j;
            glBegin(GL_QUADS);
            glNormal3f(-1, 0, 1);
            glVertex3d(1, y, z);
            glVertex3d(1, y, z + 0.25);
            glVertex3d(1, y - 0.2, z + 0.25);
            glVertex3d(1, y - 0.2, z);
            glEnd();
        }
    }
    for (int i = 0; i < 7; ++i) {
        const double x = -0.75 + 0.25 * i;
        for (int j = 0; j < 7; ++j) {
            const double z = -1 + 0.25 * j;
            glBegin(GL_QUADS);
            glNormal3f(0, 1, 0);
            glVertex3d(x, -1, z);
            glVertex3d(x, -1, z + 0.25);
            glVertex3d(x + 0.25, -1, z + 0.25);
            glVertex3d(x + 0.25, -1, z);
            glEnd();
        }
    }
}

void SurfaceView::drawSurface() {
    using namespace surface;
    // h[c][r], 1-based as the table is.
    double h[9][9] = {};
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= 8; ++c)
            h[c][r] = cellHeight(m_table, m_cells.value((r - 1) * 8 + (c - 1)));

    enum Pass { Mesh, Upper, Lower };
    for (Pass pass : {Mesh, Upper, Lower}) {
        if (pass == Mesh && m_table == SurfaceTable::Voltage) continue;
        glPolygonMode(GL_FRONT_AND_BACK, pass == Mesh ? GL_LINE : GL_FILL);
        for (int r = 1; r <= 7; ++r) {
            for (int c = 1; c <= 7; ++c) {
                const std::array<double, 4> corners{h[c][r + 1], h[c + 1][r + 1], h[c + 1][r],
                                                    h[c][r]};
                glBegin(GL_QUADS);
                glNormal3f(-1, 0, 0);
                if (pass == Mesh) {
                    glColor3f(0.9f, 0.9f, 0.9f);
                } else {
                    const auto colour =
                        pass == Upper
                            ? upperFill(*std::max_element(corners.begin(), corners.end()))
                            : lowerFill(*std::min_element(corners.begin(), corners.end()));
                    // Without a rule that holds, the colour of the quad before stays.
                    if (colour) glColor4f(colour->r, colour->g, colour->b, colour->a);
                }
                glVertex3d(rowX(r + 1), vertexHeight(m_table, corners[0]), columnZ(c));
                glVertex3d(rowX(r + 1), vertexHeight(m_table, corners[1]), columnZ(c + 1));
                glVertex3d(rowX(r), vertexHeight(m_table, corners[2]), columnZ(c + 1));
                glVertex3d(rowX(r), vertexHeight(m_table, corners[3]), columnZ(c));
                glEnd();
            }
        }
    }
}

// Every label continues from where the text before it ended: the glyphs move the drawing
// position on, and each step below is taken from there.
void SurfaceView::drawLabels() {
    using namespace surface;
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glTranslatef(-0.85f, -1.1f, -1.2f);
    glScalef(0.115f, 0.115f, 0.115f);
    glColor3f(0, 0, 0);
    glRotatef(270, 0, 1, 0);
    glRotatef(270, 1, 0, 0);
    drawGlText(m_glyphBase, kGlyphCount, speedLabels());

    glTranslatef(-0.5f, 0, 1.0f);
    glRotatef(90, 0, 0, 1);
    drawGlText(m_glyphBase, kGlyphCount, loadLabels(m_loadAxis));

    glRotatef(90, 1, 0, 0);
    glRotatef(-90, 0, 1, 0);
    glTranslatef(-19, -0.5f, 16);
    for (const HeightLabel& l : heightLabels(m_table)) {
        if (l.dx != 0 || l.dy != 0) glTranslatef(l.dx, l.dy, 0);
        drawGlText(m_glyphBase, kGlyphCount, l.text);
    }
}

// Dragging over the view turns the picture: every move of the held pointer adds its
// distance from the press point (1 degree per 75 pixels) to the angles about x (for the
// horizontal distance) and z (for the vertical one). The press point stays, so a pointer
// held away keeps turning the picture on every move.
void SurfaceView::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    Drag_X0 = p.x();
    Drag_Y0 = p.y();
    if (event->button() == Qt::LeftButton) m_leftPressed = true;
    event->accept();
}

void SurfaceView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_leftPressed) return;
    const QPoint p = event->position().toPoint();
    if (!m_dragging) {
        if ((p - QPoint(Drag_X0, Drag_Y0)).manhattanLength() < QApplication::startDragDistance())
            return;
        m_dragging = true;
        setCursor(Qt::PointingHandCursor);
    }
    // Only moves over the view itself count, as a drop target sees them.
    if (!m_active || !rect().contains(p)) return;
    Orientation& rec = orient(m_family);
    rec.rx += float(p.x() - Drag_X0) / 75.0f;
    rec.rz += float(p.y() - Drag_Y0) / 75.0f;
    Orient_View.ry = rec.ry;
    Orient_View.rx = rec.rx;
    Orient_View.rz = rec.rz;
    update();
}

void SurfaceView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_leftPressed = false;
    if (m_dragging) unsetCursor();
    m_dragging = false;
}
