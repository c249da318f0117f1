// The surface's controls as the window wires them: the orientation buttons of the 3D
// panel turn the shown family's picture and run the shown table's refresh, and the load
// axis buttons choose the load labels. The surface keeps the window a plain raster window:
// repaints of the window do not render the scene.

#include "surface/surfacenavigator.h"
#include "surface/surfaceview.h"
#include "settings/settingspanel.h"
#include "tables/table3dpanel.h"
#include "windowtest.h"

#include <QWindow>

class TestSurfaceWindow : public QObject {
    Q_OBJECT

  private slots:
    void orientationButtonsAndLoadAxis() {
        wt::freshConfiguration();
        TForm1 w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        Table3DPanel* p = w.Panel_3D;
        SurfaceView* v = p->ui.Panel_Space3D;
        w.atb_Lambda->setVisible(true);
        QTest::mouseClick(w.atb_Lambda, Qt::LeftButton);
        QTRY_VERIFY(p->isVisible());
        v->setFamily(SurfaceFamily::Lambda);
        v->setActive(true);

        int refreshes = 0;
        const auto hook = w.Navigator3D->refreshShownTable;
        w.Navigator3D->refreshShownTable = [&] {
            ++refreshes;
            hook();
        };
        QTest::mouseClick(p->ui.atb_3D_RotateRight, Qt::LeftButton);
        QTest::mouseClick(p->ui.atb_3D_RotateDownZ, Qt::LeftButton);
        QCOMPARE(v->Orient_Lambda.ry, 2.0f);
        QCOMPARE(v->Orient_Lambda.rz, -2.0f);
        QCOMPARE(v->Orient_View.ry, 2.0f);
        QCOMPARE(refreshes, 2);
        QVERIFY(p->isVisible());
        QTest::mousePress(p->ui.atb_3D_Zoom, Qt::LeftButton);
        QTest::mouseRelease(p->ui.atb_3D_Zoom, Qt::LeftButton);
        QVERIFY(qAbs(v->Orient_View.vLeft + 0.9) < 1e-9);
        QTest::mouseClick(p->ui.atb_Push_3D, Qt::LeftButton);
        QTest::mouseClick(p->ui.atb_Default_3D, Qt::LeftButton);
        QCOMPARE(v->Orient_View.ry, 0.0f);
        QTest::mouseClick(p->ui.atb_Pop_3D, Qt::LeftButton);
        QCOMPARE(v->Orient_View.ry, 2.0f);
        QCOMPARE(v->Orient_Saved_MAF.ry, 0.0f);

        QCOMPARE(v->loadAxis(), p->ui.atb_KorrTab_VV->isChecked() ? LoadAxis::InjectionTime
                                                                  : LoadAxis::MafVoltage);
        p->ui.atb_KorrTab_VV->setChecked(true);
        QCOMPARE(v->loadAxis(), LoadAxis::InjectionTime);
        p->ui.atb_KorrTab_MAF->setChecked(true);
        QCOMPARE(v->loadAxis(), LoadAxis::MafVoltage);
    }

    // A GL widget anywhere in the window would make every repaint of the window go through
    // OpenGL; the surface renders its picture itself, only when it changed and is shown.
    void theWindowStaysARasterWindow() {
        TForm1 w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (QWidget* c : w.findChildren<QWidget*>())
            QVERIFY2(!c->inherits("QOpenGLWidget"), qPrintable(c->objectName()));
        QCOMPARE(w.windowHandle()->surfaceType(), QSurface::RasterSurface);

        Table3DPanel* p = w.Panel_3D;
        SurfaceView* v = p->ui.Panel_Space3D;
        QCOMPARE(v->renderCount(), 0); // the settings view is in front
        w.atb_Lambda->setVisible(true);
        QTest::mouseClick(w.atb_Lambda, Qt::LeftButton);
        QTRY_VERIFY(v->isVisible() && v->renderCount() > 0);
        QVERIFY(v->isActive());
        QTRY_COMPARE(v->sceneImage().size(), v->size() * v->devicePixelRatio());
        const int renders = v->renderCount();
        w.repaint();
        QCOMPARE(v->renderCount(), renders);

        // Behind the settings view a changed table waits for the table view.
        w.atb_Sett_minClick();
        QTRY_VERIFY(!v->isVisible());
        QStringList cells = v->cells();
        cells[0] = QStringLiteral("55");
        v->setCells(v->table(), cells);
        w.Panel_Sett_Max->repaint();
        w.repaint();
        QCoreApplication::processEvents();
        QCOMPARE(v->renderCount(), renders);
        QCOMPARE(w.windowHandle()->surfaceType(), QSurface::RasterSurface);
    }
};

QTEST_MAIN(TestSurfaceWindow)
#include "test_surfacewindow.moc"
