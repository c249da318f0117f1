#pragma once
// The OpenGL view of the shown correction table. For now it only paints the background of
// the shown surface family; the surface, the walls and the labels are drawn here later.

#include <QColor>
#include <QOpenGLWidget>
#include <QStringList>

// The tables that share one look and one view orientation: the MAF family (MAF table and
// voltage table) and the Lambda family (Lambda table).
enum class SurfaceFamily { Maf, Lambda };
// The table shown: its family, its height scale and whether it has a wire mesh.
enum class SurfaceTable { Maf, Lambda, Voltage };

// One view orientation: three angles (degrees) and the view frustum.
struct Orientation {
    float ry = 0, rx = 0, rz = 0;
    double vLeft = -1, vRight = 1, vBottom = -1, vTop = 1, vNear = 4, vFar = 10;
};

class SurfaceView : public QOpenGLWidget {
    Q_OBJECT

public:
    explicit SurfaceView(QWidget* parent = nullptr);

    SurfaceFamily family() const { return m_family; }
    // Switches the background to the family's colour and schedules a repaint.
    void setFamily(SurfaceFamily family);

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

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

private:
    SurfaceFamily m_family = SurfaceFamily::Maf;
    SurfaceTable m_table = SurfaceTable::Maf;
    QStringList m_cells;
    bool m_active = false;
};
