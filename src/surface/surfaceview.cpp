#include "surface/surfaceview.h"

#include "common/messages.h"
#include "surface/glyphs.h"

#include <QApplication>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QPainter>

#include <GL/gl.h>

#include <algorithm>
#include <array>

namespace {
// Glyph lists for the character codes 0..59: blank, comma, minus, point and the digits are
// all the labels use.
constexpr int kGlyphCount = 60;
constexpr double kGlyphDepth = 0.03;
} // namespace

SurfaceView::SurfaceView(QWidget* parent) : QWidget(parent) {
    // Every pixel comes from the picture (or the plain background without OpenGL).
    setAttribute(Qt::WA_OpaquePaintEvent);
}

SurfaceView::~SurfaceView() {
    if (m_context && m_context->makeCurrent(m_surface.get())) {
        releaseGL();
        m_fbo.reset();
        m_context->doneCurrent();
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

void SurfaceView::setCells(TableKind table, const QStringList& cells) {
    m_table = table;
    m_cells = cells;
    update();
}

void SurfaceView::setOperatingTrail(const QList<QPointF>& trail) {
    if (trail == m_trail) return;
    m_trail = trail;
    // A hidden view is not painted; the next show renders with the trail as it is then.
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

SurfaceView::SceneState SurfaceView::currentState() const {
    SceneState s;
    s.ratio = devicePixelRatioF();
    s.pixels = QSize(qRound(width() * s.ratio), qRound(height() * s.ratio));
    s.family = m_family;
    s.active = m_active;
    if (m_active) {
        s.table = m_table;
        s.loadAxis = m_loadAxis;
        s.cells = m_cells;
        s.trail = m_trail;
        s.orient = Orient_View;
    }
    return s;
}

// The orientation records are public and the navigator changes Orient_View in place, so
// what is due is found by comparing with what the picture was made of, not by flags.
bool SurfaceView::bringUpToDate() {
    if (m_glFailed) return false;
    const SceneState state = currentState();
    if (state.pixels.isEmpty()) return true;
    if (m_imageValid && state == m_imageState) return true;
    if (!m_context && !createGL()) return false;
    render(state);
    return !m_glFailed;
}

QImage SurfaceView::sceneImage() {
    if (isVisible()) bringUpToDate();
    return m_image;
}

void SurfaceView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // A paint that is only part of a window repaint finds the picture up to date and costs
    // a copy of it.
    if (bringUpToDate() && !m_image.isNull()) {
        painter.drawImage(QPointF(0, 0), m_image);
        return;
    }
    float rgb[3];
    clearColour(m_family, rgb);
    painter.fillRect(rect(), QColor::fromRgbF(rgb[0], rgb[1], rgb[2]));
    if (!m_glFailed) return;
    painter.setPen(Qt::black);
    painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
                     msgs().english()
                         ? QStringLiteral("OpenGL is not available: the surface cannot be drawn.")
                         : QStringLiteral("OpenGL недоступен: поверхность не может быть нарисована."));
}

bool SurfaceView::createGL() {
    // The default format gives a compatibility context, which the fixed-function calls
    // below need.
    m_context = std::make_unique<QOpenGLContext>();
    if (!m_context->create()) {
        failGL("no OpenGL context");
        return false;
    }
    m_surface = std::make_unique<QOffscreenSurface>(screen());
    m_surface->setFormat(m_context->format());
    m_surface->create();
    if (!m_surface->isValid() || !m_context->makeCurrent(m_surface.get())) {
        failGL("no off-screen surface");
        return false;
    }
    if (!QOpenGLFramebufferObject::hasOpenGLFramebufferObjects()) {
        m_context->doneCurrent();
        failGL("no framebuffer objects");
        return false;
    }
    // The glyph lists are built once per context, and the context lives as long as the view.
    m_glyphBase = surface::buildGlyphLists(surface::labelFont(), kGlyphCount, kGlyphDepth);
    m_context->doneCurrent();
    return true;
}

void SurfaceView::failGL(const char* what) {
    qWarning("SurfaceView: %s; the surface is not drawn", what);
    m_glFailed = true;
    m_fbo.reset();
    m_surface.reset();
    m_context.reset();
    m_image = QImage();
    m_imageValid = false;
}

void SurfaceView::releaseGL() {
    surface::deleteGlyphLists(m_glyphBase, kGlyphCount);
    m_glyphBase = 0;
}

void SurfaceView::render(const SceneState& state) {
    if (!m_context->makeCurrent(m_surface.get())) {
        failGL("the context cannot be made current");
        return;
    }
    if (!m_fbo || m_fbo->size() != state.pixels) {
        m_fbo.reset();
        m_fbo = std::make_unique<QOpenGLFramebufferObject>(
            state.pixels, QOpenGLFramebufferObject::CombinedDepthStencil);
    }
    if (!m_fbo->isValid() || !m_fbo->bind()) {
        m_fbo.reset();
        m_context->doneCurrent();
        failGL("no framebuffer of the view's size");
        return;
    }
    glViewport(0, 0, state.pixels.width(), state.pixels.height());
    drawScene(state);
    // All pixels are opaque (the alpha is cleared to 1 and never written), so the picture
    // loses nothing as RGB32, the format the window paints fastest.
    m_image = m_fbo->toImage(true).convertToFormat(QImage::Format_RGB32);
    m_image.setDevicePixelRatio(state.ratio);
    m_fbo->release();
    m_context->doneCurrent();
    m_imageState = state;
    m_imageValid = true;
    ++m_renders;
}

QImage SurfaceView::renderPicture(TableKind table, const QStringList& cells, const Orientation& orient,
                                  QSize pixels) {
    SceneState s;
    s.pixels = pixels;
    s.family = table == TableKind::Lambda ? SurfaceFamily::Lambda : SurfaceFamily::Maf;
    s.active = true;
    s.table = table;
    s.loadAxis = m_loadAxis;
    s.cells = cells;
    s.orient = orient;
    return pictureOf(s);
}

QImage SurfaceView::shownPicture(QSize pixels) {
    SceneState s = currentState();
    s.pixels = pixels;
    s.ratio = 1;
    return pictureOf(s);
}

// A picture in a framebuffer of its own: the view's picture and framebuffer stay as they are.
QImage SurfaceView::pictureOf(const SceneState& state) {
    if (m_glFailed || state.pixels.isEmpty()) return {};
    if (!m_context && !createGL()) return {};
    if (!m_context->makeCurrent(m_surface.get())) {
        failGL("the context cannot be made current");
        return {};
    }
    QImage image;
    {
        QOpenGLFramebufferObject fbo(state.pixels, QOpenGLFramebufferObject::CombinedDepthStencil);
        if (fbo.isValid() && fbo.bind()) {
            glViewport(0, 0, state.pixels.width(), state.pixels.height());
            drawScene(state);
            image = fbo.toImage(true).convertToFormat(QImage::Format_RGB32);
            fbo.release();
        }
    }
    m_context->doneCurrent();
    return image;
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

void SurfaceView::drawScene(const SceneState& state) {
    initGLState();
    float rgb[3];
    clearColour(state.family, rgb);
    // Opaque background, and the blending below leaves the alpha alone: the picture is
    // painted into the window as it is.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(rgb[0], rgb[1], rgb[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!state.active) return;
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);

    const Orientation& o = state.orient;
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
    if (!state.trail.isEmpty()) {
        glPushMatrix();
        glRotatef(o.rx, 1, 0, 0);
        glRotatef(o.ry, 0, 1, 0);
        glRotatef(o.rz, 0, 0, 1);
        drawOperatingPoint(state.trail);
        glPopMatrix();
    }

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
        if (pass == Mesh && m_table == TableKind::Voltage) continue;
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

// --- the operating point ------------------------------------------------------------

double SurfaceView::surfaceHeightAt(QPointF position) const {
    using namespace surface;
    const double x = std::clamp(position.x(), 1.0, 8.0);
    const double y = std::clamp(position.y(), 1.0, 8.0);
    const int c0 = std::min(7, int(x)), r0 = std::min(7, int(y));
    const double fx = x - c0, fy = y - r0;
    auto h = [this](int c, int r) {
        return vertexHeight(m_table, cellHeight(m_table, m_cells.value((r - 1) * 8 + (c - 1))));
    };
    const double top = h(c0, r0) * (1 - fx) + h(c0 + 1, r0) * fx;
    const double bottom = h(c0, r0 + 1) * (1 - fx) + h(c0 + 1, r0 + 1) * fx;
    return top * (1 - fy) + bottom * fy;
}

// The trail as a line over the surface, fading toward its oldest sample, and the newest
// sample as a marker with a drop line to the floor, drawn over everything else so that the
// surface never hides it.
void SurfaceView::drawOperatingPoint(const QList<QPointF>& trail) {
    using namespace surface;
    auto scene = [](QPointF p) {
        // rowX and columnZ are linear in the row and column.
        return QPointF(1.0 - 0.25 * (p.y() - 1), -1.0 + 0.25 * (p.x() - 1));
    };
    const double lift = 0.02;
    glDisable(GL_DEPTH_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glLineWidth(2);
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i < trail.size(); ++i) {
        const QPointF s = scene(trail[i]);
        const float a = 0.25f + 0.75f * float(i + 1) / float(trail.size());
        glColor4f(1.0f, 1.0f, 1.0f, a);
        glVertex3d(s.x(), surfaceHeightAt(trail[i]) + lift, s.y());
    }
    glEnd();
    const QPointF now = trail.last();
    const QPointF s = scene(now);
    const double h = surfaceHeightAt(now) + lift;
    glLineWidth(1);
    glColor4f(0.0f, 0.0f, 0.0f, 0.8f);
    glBegin(GL_LINES);
    glVertex3d(s.x(), -1, s.y());
    glVertex3d(s.x(), h, s.y());
    glEnd();
    glPointSize(9);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    glBegin(GL_POINTS);
    glVertex3d(s.x(), h, s.y());
    glEnd();
    glPointSize(6);
    glColor4f(1.0f, 0.9f, 0.0f, 1.0f);
    glBegin(GL_POINTS);
    glVertex3d(s.x(), h, s.y());
    glEnd();
    glPointSize(1);
    glLineWidth(1);
    glEnable(GL_DEPTH_TEST);
}
