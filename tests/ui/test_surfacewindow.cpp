// The surface's controls as the window wires them: the orientation buttons of the 3D
// panel turn the shown family's picture and run the shown table's refresh, and the load
// axis buttons choose the load labels.

#include "surface/surfacenavigator.h"
#include "surface/surfaceview.h"
#include "tables/table3dpanel.h"
#include "windowtest.h"

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
};

QTEST_MAIN(TestSurfaceWindow)
#include "test_surfacewindow.moc"
