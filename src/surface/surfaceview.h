#pragma once
// The OpenGL view of the shown correction table: the surface in its open box of grid walls
// with the speed, load and height labels, drawn with fixed-function OpenGL. It keeps the
// view orientation of each table family and turns the picture when the mouse is dragged
// over it; the buttons that turn, zoom, save and restore it are SurfaceNavigator's.

#include <QOpenGLWidget>
#include <QStringList>

#include "surface/surfacescene.h"

class SurfaceView : public QOpenGLWidget {
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
    void setCells(SurfaceTable table, const QStringList& cells);
    SurfaceTable table() const { return m_table; }
    const QStringList& cells() const { return m_cells; }
    // Nothing but the background is drawn while no table view is chosen.
    void setActive(bool active);
    bool isActive() const { return m_active; }
    // Which load labels stand beside the rows.
    void setLoadAxis(LoadAxis axis);
    LoadAxis loadAxis() const { return m_loadAxis; }

    // The mouse position of the last press on the view.
    int Drag_X0 = 0;
    int Drag_Y0 = 0;

  protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void initGLState();
    void drawWalls();
    void drawSurface();
    void drawLabels();
    void releaseGL();

    SurfaceFamily m_family = SurfaceFamily::Maf;
    SurfaceTable m_table = SurfaceTable::Maf;
    LoadAxis m_loadAxis = LoadAxis::MafVoltage;
    QStringList m_cells;
    bool m_active = false;
    bool m_leftPressed = false;
    bool m_dragging = false;
    unsigned m_glyphBase = 0;
};
