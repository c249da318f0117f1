// The surface on a machine where OpenGL cannot be had: the view paints its family's
// background and a note instead of the picture, and everything else goes on working.
#include <QHBoxLayout>
#include <QOpenGLContext>
#include <QToolButton>
#include <QtTest>

#include "surface/surfacenavigator.h"
#include "surface/surfaceview.h"

class TestSurfaceNoGL : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QOpenGLContext probe;
        if (probe.create()) QSKIP("OpenGL is available to this test; it needs a display without it");
    }

    void backgroundAndANoteInsteadOfThePicture() {
        QWidget rig;
        auto* h = new QHBoxLayout(&rig);
        auto* v = new SurfaceView(&rig);
        v->setFixedSize(400, 300);
        h->addWidget(v);
        QToolButton* b[10];
        for (QToolButton*& button : b) {
            button = new QToolButton(&rig);
            h->addWidget(button);
        }
        SurfaceNavigator nav(v, {b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9]});
        v->setFamily(SurfaceFamily::Lambda);
        v->setCells(TableKind::Lambda, QStringList(64, QStringLiteral("50")));
        v->setActive(true);
        rig.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig));
        QTRY_VERIFY(!v->openGLUsable());
        QCOMPARE(v->renderCount(), 0);
        QVERIFY(v->sceneImage().isNull());

        float rgb[3];
        SurfaceView::clearColour(SurfaceFamily::Lambda, rgb);
        const QColor background = QColor::fromRgbF(rgb[0], rgb[1], rgb[2]);
        auto dark = [](const QColor& c) { return c.lightness() < 80; };
        const QImage img = v->grab().toImage();
        QCOMPARE(img.pixelColor(2, 2).rgb(), background.rgb());
        QCOMPARE(img.pixelColor(img.width() - 3, img.height() - 3).rgb(), background.rgb());
        int text = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) text += dark(img.pixelColor(x, y));
        QVERIFY2(text > 50, qPrintable(QString::number(text)));

        // The controls keep their records; the view keeps painting its note.
        QTest::mouseClick(b[SurfaceNavigator::Right], Qt::LeftButton);
        QTest::mousePress(b[6], Qt::LeftButton);
        QCOMPARE(v->Orient_Lambda.ry, 2.0f);
        QVERIFY(qAbs(v->Orient_View.vLeft + 0.9) < 1e-9);
        v->setFamily(SurfaceFamily::Maf);
        const QImage maf = v->grab().toImage();
        SurfaceView::clearColour(SurfaceFamily::Maf, rgb);
        QCOMPARE(maf.pixelColor(2, 2).rgb(), QColor::fromRgbF(rgb[0], rgb[1], rgb[2]).rgb());
        QCOMPARE(v->renderCount(), 0);
    }
};

int main(int argc, char* argv[]) {
    // Without the window system's OpenGL integration no context can be created, as on a
    // machine without OpenGL.
    qputenv("QT_XCB_GL_INTEGRATION", "none");
    QApplication app(argc, argv);
    TestSurfaceNoGL test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_surfacenogl.moc"
