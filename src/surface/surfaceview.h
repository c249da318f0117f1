#pragma once
// The OpenGL view of the shown correction table. For now it only paints the background of
// the shown surface family; the surface, the walls and the labels are drawn here later.

#include <QColor>
#include <QOpenGLWidget>

// The tables that share one look and one view orientation: the MAF family (MAF table and
// voltage table) and the Lambda family (Lambda table).
enum class SurfaceFamily { Maf, Lambda };

class SurfaceView : public QOpenGLWidget {
    Q_OBJECT

public:
    explicit SurfaceView(QWidget* parent = nullptr);

    SurfaceFamily family() const { return m_family; }
    // Switches the background to the family's colour and schedules a repaint.
    void setFamily(SurfaceFamily family);

    // The background colour of a family, as the GL clear colour (red, green, blue in 0..1).
    static void clearColour(SurfaceFamily family, float rgb[3]);

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

private:
    SurfaceFamily m_family = SurfaceFamily::Maf;
};
