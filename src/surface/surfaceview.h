#pragma once
// The OpenGL view of the shown correction table: the surface in its open box of grid walls
// with the speed, load and height labels, drawn with fixed-function OpenGL. It keeps the
// view orientation of each table family and turns the picture when the mouse is dragged
// over it; the buttons that turn, zoom, save and restore it are SurfaceNavigator's.
//
// The view is a plain widget: the scene is rendered off screen (its own context and
// framebuffer) and painted as an image. A GL widget in the window would make every repaint
// of the whole window go through OpenGL, which without a graphics card costs tens of
// milliseconds a frame and holds up the exchange; this way only a change of the picture
// costs a render, and the window paints like any other.

#include <QImage>
#include <QList>
#include <QPointF>
#include <QStringList>
#include <QWidget>

#include <memory>

#include "surface/surfacescene.h"

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;

class SurfaceView : public QWidget {
    Q_OBJECT

  public:
    explicit SurfaceView(QWidget* parent = nullptr);
    ~SurfaceView() override;

    // The live orientation of each family, the one the picture is drawn with, and the
    // orientation each family put away (Push); the saved ones are kept between runs.
    Orientation Orient_MAF;
    Orientation Orient_Lambda;
    Orientation Orient_View;
    Orientation Orient_Saved_MAF;
    Orientation Orient_Saved_Lambda;
    Orientation& orient(SurfaceFamily family) {
        return family == SurfaceFamily::Lambda ? Orient_Lambda : Orient_MAF;
    }
    Orientation& savedOrient(SurfaceFamily family) {
        return family == SurfaceFamily::Lambda ? Orient_Saved_Lambda : Orient_Saved_MAF;
    }

    SurfaceFamily family() const { return m_family; }
    // Makes `family` the shown one: its orientation record becomes the view orientation
    // and the background takes its colour. Schedules a repaint.
    void setFamily(SurfaceFamily family);
    // Copies the shown family's record into the view orientation again and repaints.
    void applyFamilyOrientation();

    // The background colour of a family, as the GL clear colour (red, green, blue in 0..1).
    static void clearColour(SurfaceFamily family, float rgb[3]);

    // The table to draw: 64 cell texts as the table grid shows them, index (r - 1) * 8 +
    // (c - 1) for load row r and speed column c (1..8); an empty text or one that is not a
    // number draws at height 0. Schedules a repaint.
    void setCells(TableKind table, const QStringList& cells);
    TableKind table() const { return m_table; }
    const QStringList& cells() const { return m_cells; }
    // Nothing but the background is drawn while no table view is chosen.
    void setActive(bool active);
    bool isActive() const { return m_active; }
    // The engine's operating point and the samples before it, oldest first: x is the
    // position along the speed columns, y along the load rows, both 1..8 as the grid counts
    // (fractions between the breakpoints). The newest is drawn as a marker on the surface,
    // the others as its trail; empty, nothing is drawn. Repaints only when it differs.
    void setOperatingTrail(const QList<QPointF>& trail);
    const QList<QPointF>& operatingTrail() const { return m_trail; }
    // The height of the shown table's surface at a position between the cells (bilinear
    // between the four cells around it), as drawn.
    double surfaceHeightAt(QPointF position) const;
    // Which load labels stand beside the rows.
    void setLoadAxis(LoadAxis axis);
    LoadAxis loadAxis() const { return m_loadAxis; }

    // The mouse position of the last press on the view.
    int Drag_X0 = 0;
    int Drag_Y0 = 0;

    // The picture as the view shows it: rendered again first if anything it depends on
    // changed (table, family, orientation, size, ...) and the view is visible; a hidden
    // view gives the last picture it rendered. Null without OpenGL or before any render.
    QImage sceneImage();
    // A picture of a table as this view draws it (the family's look, the load axis in
    // force, no operating point) in the given orientation and size in pixels, rendered off
    // screen without changing what the view shows; null without OpenGL.
    QImage renderPicture(TableKind table, const QStringList& cells, const Orientation& orient, QSize pixels);
    // What the view shows now (table, orientation, operating point) at a size in pixels.
    QImage shownPicture(QSize pixels);
    // Renders of the scene so far (for tests and measurements).
    int renderCount() const { return m_renders; }
    // False once OpenGL turned out unusable here; the view then shows only its background
    // and a note.
    bool openGLUsable() const { return !m_glFailed; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // Everything the picture depends on; a render is due when it differs from the one the
    // picture was rendered for. Inactive, only the background and the size count.
    struct SceneState {
        QSize pixels;
        qreal ratio = 1;
        SurfaceFamily family = SurfaceFamily::Maf;
        bool active = false;
        TableKind table = TableKind::Maf;
        LoadAxis loadAxis = LoadAxis::MafVoltage;
        QStringList cells;
        QList<QPointF> trail;
        Orientation orient;
        bool operator==(const SceneState&) const = default;
    };
    SceneState currentState() const;
    // Renders if the picture is out of date; false when OpenGL is not usable.
    bool bringUpToDate();
    bool createGL();
    void failGL(const char* what);
    void render(const SceneState& state);
    QImage pictureOf(const SceneState& state);
    void drawScene(const SceneState& state);
    void initGLState();
    void drawWalls();
    void drawSurface();
    void drawLabels();
    void drawOperatingPoint(const QList<QPointF>& trail);
    void releaseGL();

    SurfaceFamily m_family = SurfaceFamily::Maf;
    TableKind m_table = TableKind::Maf;
    LoadAxis m_loadAxis = LoadAxis::MafVoltage;
    QStringList m_cells;
    QList<QPointF> m_trail;
    bool m_active = false;
    bool m_leftPressed = false;
    bool m_dragging = false;
    unsigned m_glyphBase = 0;

    // Created on the first paint of the shown view, kept for the view's life (the glyph
    // lists live in the context).
    std::unique_ptr<QOpenGLContext> m_context;
    std::unique_ptr<QOffscreenSurface> m_surface;
    std::unique_ptr<QOpenGLFramebufferObject> m_fbo;
    bool m_glFailed = false;
    QImage m_image;
    SceneState m_imageState; // what m_image shows
    bool m_imageValid = false;
    int m_renders = 0;
};
