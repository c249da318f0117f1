// The surface as rendered (Mesa, off screen): the colours of the plane and of a raised
// cell at the points where the scene puts them, cells that are not numbers, the labels,
// when the picture is rendered again (only on a change, never while hidden), and the
// orientation controls: zoom and its stop, Default, Push and Pop per family, holding a
// rotate button, and turning by dragging the mouse.

#include <QHBoxLayout>
#include <QToolButton>
#include <QtTest>

#include <functional>

#include "surface/surfacenavigator.h"
#include "surface/surfaceview.h"

using namespace surface;

Q_DECLARE_METATYPE(SurfaceFamily)
Q_DECLARE_METATYPE(TableKind)
using Change = std::function<void(SurfaceView*)>;
Q_DECLARE_METATYPE(Change)

namespace {

// A view with the ten orientation buttons beside it, as the 3D panel has them.
class Rig : public QWidget {
  public:
    Rig() {
        auto* h = new QHBoxLayout(this);
        view = new SurfaceView(this);
        view->setFixedSize(600, 400);
        h->addWidget(view);
        for (QToolButton*& b : buttons) {
            b = new QToolButton(this);
            h->addWidget(b);
        }
        nav = new SurfaceNavigator(view,
                                   {buttons[0], buttons[1], buttons[2], buttons[3], buttons[4],
                                    buttons[5], buttons[6], buttons[7], buttons[8], buttons[9]},
                                   this);
        nav->refreshShownTable = [this] { ++refreshes; };
    }
    QToolButton* rotate(SurfaceNavigator::Rotate r) const { return buttons[r]; }
    QToolButton* zoom() const { return buttons[6]; }
    QToolButton* push() const { return buttons[7]; }
    QToolButton* pop() const { return buttons[8]; }
    QToolButton* defaults() const { return buttons[9]; }

    SurfaceView* view;
    QToolButton* buttons[10];
    SurfaceNavigator* nav;
    int refreshes = 0;
};

QColor background(SurfaceFamily f) {
    float rgb[3];
    SurfaceView::clearColour(f, rgb);
    return QColor::fromRgbF(rgb[0], rgb[1], rgb[2]);
}

// A translucent fill laid over a colour, as the blending of the renderer does it.
QColor over(const Rgba& c, const QColor& under) {
    return QColor::fromRgbF(c.r * c.a + under.redF() * (1 - c.a),
                            c.g * c.a + under.greenF() * (1 - c.a),
                            c.b * c.a + under.blueF() * (1 - c.a));
}

bool near(const QColor& a, const QColor& b, int tol = 3) {
    return qAbs(a.red() - b.red()) <= tol && qAbs(a.green() - b.green()) <= tol &&
           qAbs(a.blue() - b.blue()) <= tol;
}

bool reddish(const QColor& c) {
    return c.red() > 150 && c.green() < 90 && c.blue() < 110;
}

// Most of the 5 x 5 pixels around p: a pixel may fall on a line of the wire mesh.
bool mostlyReddish(const QImage& img, QPoint p) {
    int n = 0;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            n += reddish(img.pixelColor(p + QPoint(dx, dy)));
    return n >= 15;
}

const QColor kWall = QColor::fromRgbF(0.1f, 0.1f, 0.1f);

QString name(const QColor& c) {
    return c.name();
}

// Pixel of a scene point in the view's framebuffer.
QPoint pixelOf(SurfaceView* v, const QVector3D& p) {
    const QPointF w = sceneToWidget(v->Orient_View, v->size(), p) * v->devicePixelRatioF();
    return QPoint(qRound(w.x()), qRound(w.y()));
}

// Pixel in the middle of the surface quad between rows r, r + 1 and columns c, c + 1 on
// the screen, for corner heights given by vertex(c, r).
template <typename Vertex> QPoint quadMiddle(SurfaceView* v, int r, int c, Vertex vertex) {
    QPointF sum;
    for (auto [rr, cc] : {std::pair{r, c}, {r + 1, c}, {r, c + 1}, {r + 1, c + 1}})
        sum += sceneToWidget(v->Orient_View, v->size(),
                             QVector3D(rowX(rr), vertex(cc, rr), columnZ(cc)));
    sum = sum / 4 * v->devicePixelRatioF();
    return QPoint(qRound(sum.x()), qRound(sum.y()));
}

QStringList cellsAll(const QString& text) {
    return QStringList(64, text);
}
int index(int c, int r) {
    return (r - 1) * 8 + (c - 1);
}

int countPixels(const QImage& img, const std::function<bool(const QColor&)>& pred) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += pred(img.pixelColor(x, y));
    return n;
}

} // namespace

class TestSurfaceView : public QObject {
    Q_OBJECT

    std::unique_ptr<Rig> rig;

    SurfaceView* showRig() {
        rig = std::make_unique<Rig>();
        rig->show();
        if (!QTest::qWaitForWindowExposed(rig.get())) return nullptr;
        return rig->view;
    }

  private slots:
    void init() { QVERIFY(showRig()); }
    void cleanup() { rig.reset(); }

    void inactiveShowsOnlyTheBackground() {
        SurfaceView* v = rig->view;
        v->setFamily(SurfaceFamily::Lambda);
        v->setCells(TableKind::Lambda, cellsAll(QStringLiteral("50")));
        const QImage img = v->sceneImage();
        QCOMPARE(countPixels(img,
                             [](const QColor& c) {
                                 return !near(c, background(SurfaceFamily::Lambda), 2);
                             }),
                 0);
        v->setActive(true);
        QVERIFY(countPixels(v->sceneImage(), reddish) > 1000);
    }

    // An empty table is a flat plane (the voltage table on the floor of the box) in the
    // colour the upper fill gives a quad whose corners all lie at 0.
    void emptyTableIsAFlatPlane_data() {
        QTest::addColumn<SurfaceFamily>("family");
        QTest::addColumn<TableKind>("table");
        QTest::newRow("Lambda") << SurfaceFamily::Lambda << TableKind::Lambda;
        QTest::newRow("MAF") << SurfaceFamily::Maf << TableKind::Maf;
        QTest::newRow("voltage") << SurfaceFamily::Maf << TableKind::Voltage;
    }
    void emptyTableIsAFlatPlane() {
        QFETCH(SurfaceFamily, family);
        QFETCH(TableKind, table);
        SurfaceView* v = rig->view;
        v->setFamily(family);
        v->setCells(table, cellsAll(QString()));
        v->setActive(true);
        const QImage img = v->sceneImage();
        // The plane is translucent: behind it lies the background or a line of the walls.
        const QColor plane = over(*upperFill(0), background(family));
        const QColor planeOverWall = over(*upperFill(0), kWall);
        const double y = vertexHeight(table, 0);
        for (int r = 1; r <= 7; ++r) {
            for (int c = 1; c <= 7; ++c) {
                const QPoint p = quadMiddle(v, r, c, [y](int, int) { return y; });
                QVERIFY2(near(img.pixelColor(p), plane, 4) ||
                             near(img.pixelColor(p), planeOverWall, 4),
                         qPrintable(QStringLiteral("quad %1,%2 at %3,%4: %5, expected %6")
                                        .arg(r)
                                        .arg(c)
                                        .arg(p.x())
                                        .arg(p.y())
                                        .arg(name(img.pixelColor(p)), name(plane))));
            }
        }
    }

    // A cell at the top of its range lifts its corner to the top of the box: the quads
    // around it turn bright red, and red now stands where the flat table left the space
    // above the plane empty.
    void aFullCellRisesToTheTop_data() {
        QTest::addColumn<TableKind>("table");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("top");
        QTest::newRow("MAF 99") << TableKind::Maf << "99" << 0.99;
        QTest::newRow("Lambda 99") << TableKind::Lambda << "99" << 0.99;
        QTest::newRow("voltage 5") << TableKind::Voltage << "5" << 1.0;
    }
    void aFullCellRisesToTheTop() {
        QFETCH(TableKind, table);
        QFETCH(QString, text);
        QFETCH(double, top);
        SurfaceView* v = rig->view;
        v->setFamily(table == TableKind::Lambda ? SurfaceFamily::Lambda : SurfaceFamily::Maf);
        v->setActive(true);
        v->setCells(table, cellsAll(QString()));
        const QImage flat = v->sceneImage();
        QStringList cells = cellsAll(QString());
        cells[index(4, 4)] = text;
        v->setCells(table, cells);
        const QImage raised = v->sceneImage();

        const double base = vertexHeight(table, 0);
        auto vertex = [&](int c, int r) { return c == 4 && r == 4 ? top : base; };
        // Inside each of the four quads at the peak, near the peak, between its two edges
        // (a quad that is not flat is drawn as two triangles, and its middle may fall in
        // the fold between them).
        auto at = [&](int c, int r) {
            return sceneToWidget(v->Orient_View, v->size(),
                                 QVector3D(rowX(r), vertex(c, r), columnZ(c)));
        };
        for (auto [dc, dr] : {std::pair{-1, -1}, {-1, 1}, {1, -1}, {1, 1}}) {
            const QPointF peak = at(4, 4);
            const QPointF inside =
                peak + 0.25 * (at(4 + dc, 4) - peak) + 0.25 * (at(4, 4 + dr) - peak);
            const QPoint p = (inside * v->devicePixelRatioF()).toPoint();
            QVERIFY2(mostlyReddish(raised, p), qPrintable(name(raised.pixelColor(p))));
        }
        // Just under the peak.
        const QPoint peak = pixelOf(v, QVector3D(rowX(4), top, columnZ(4))) + QPoint(0, 4);
        QVERIFY2(reddish(raised.pixelColor(peak)), qPrintable(name(raised.pixelColor(peak))));
        QVERIFY2(!reddish(flat.pixelColor(peak)), qPrintable(name(flat.pixelColor(peak))));
        // Far from it the plane keeps its colour.
        const QPoint farQuad = quadMiddle(v, 7, 7, vertex);
        QCOMPARE(raised.pixelColor(farQuad), flat.pixelColor(farQuad));
    }

    // A cell whose text is not a number (possible after a table file is opened) draws at
    // height 0, and the rest of the picture, labels included, is drawn as usual.
    void aCellThatIsNotANumberDrawsAtZero() {
        SurfaceView* v = rig->view;
        v->setFamily(SurfaceFamily::Maf);
        v->setActive(true);
        QStringList cells = cellsAll(QStringLiteral("50"));
        cells[index(1, 1)] = QStringLiteral("0");
        v->setCells(TableKind::Maf, cells);
        const QImage zero = v->sceneImage();
        cells[index(1, 1)] = QStringLiteral("5O");
        v->setCells(TableKind::Maf, cells);
        const QImage junk = v->sceneImage();
        QCOMPARE(junk, zero);
        QVERIFY(countPixels(junk, [](const QColor& c) {
                    return c.red() < 8 && c.green() < 8 && c.blue() < 8;
                }) > 300);
    }

    // The labels are black glyphs; the load labels follow the load axis, the height
    // labels the table.
    void labels() {
        SurfaceView* v = rig->view;
        v->setFamily(SurfaceFamily::Maf);
        v->setActive(true);
        v->setCells(TableKind::Maf, cellsAll(QString()));
        auto black = [](const QColor& c) { return c.red() < 8 && c.green() < 8 && c.blue() < 8; };
        const QImage maf = v->sceneImage();
        QVERIFY(countPixels(maf, black) > 300);
        v->setLoadAxis(LoadAxis::InjectionTime);
        const QImage vv = v->sceneImage();
        QVERIFY(vv != maf);
        v->setLoadAxis(LoadAxis::MafVoltage);
        QCOMPARE(v->sceneImage(), maf);
        v->setCells(TableKind::Voltage, cellsAll(QString()));
        const QImage volts = v->sceneImage();
        // The voltage plane lies on the floor; compare only the black of the labels.
        int differ = 0;
        for (int y = 0; y < maf.height(); ++y)
            for (int x = 0; x < maf.width(); ++x)
                differ += black(maf.pixelColor(x, y)) != black(volts.pixelColor(x, y));
        QVERIFY(differ > 50);
    }

    // Every change the picture depends on renders it once on the next paint, including the
    // orientation changed in place (as the navigator's zoom and the mouse do it); a paint
    // with nothing changed, as when the window repaints around the view, renders nothing.
    void rendersOnceForEachChange_data() {
        QTest::addColumn<Change>("change");
        QTest::newRow("a cell") << Change([](SurfaceView* v) {
            QStringList cells = v->cells();
            cells[index(3, 5)] = QStringLiteral("70");
            v->setCells(v->table(), cells);
        });
        QTest::newRow("the table") << Change([](SurfaceView* v) {
            v->setCells(TableKind::Voltage, v->cells());
        });
        QTest::newRow("the family")
            << Change([](SurfaceView* v) { v->setFamily(SurfaceFamily::Lambda); });
        QTest::newRow("the load axis")
            << Change([](SurfaceView* v) { v->setLoadAxis(LoadAxis::InjectionTime); });
        QTest::newRow("turned in place") << Change([](SurfaceView* v) {
            v->Orient_View.rz += 2;
            v->update();
        });
        QTest::newRow("zoomed in place") << Change([](SurfaceView* v) {
            v->Orient_View.vLeft += 0.1;
            v->Orient_View.vRight -= 0.1;
            v->update();
        });
        QTest::newRow("inactive") << Change([](SurfaceView* v) { v->setActive(false); });
        QTest::newRow("the size") << Change([](SurfaceView* v) { v->setFixedSize(500, 300); });
    }
    void rendersOnceForEachChange() {
        QFETCH(Change, change);
        SurfaceView* v = rig->view;
        v->setFamily(SurfaceFamily::Maf);
        v->setActive(true);
        v->setCells(TableKind::Maf, cellsAll(QStringLiteral("20")));
        const QImage before = v->sceneImage();
        const int renders = v->renderCount();
        v->repaint();
        rig->repaint();
        QCOMPARE(v->renderCount(), renders);

        change(v);
        v->repaint();
        QCOMPARE(v->renderCount(), renders + 1);
        const QImage after = v->sceneImage();
        QVERIFY(after != before);
        QCOMPARE(after.size(), v->size() * v->devicePixelRatio());
        v->repaint();
        QCOMPARE(v->renderCount(), renders + 1);
    }

    // A hidden view takes every change but renders nothing, however often it is asked to
    // repaint; shown again, it renders once and shows the picture of what it now holds.
    void aHiddenViewDoesNotRender() {
        SurfaceView* v = rig->view;
        v->setFamily(SurfaceFamily::Maf);
        v->setActive(true);
        v->setCells(TableKind::Maf, cellsAll(QStringLiteral("20")));
        const QImage shown = v->sceneImage();
        const int renders = v->renderCount();

        v->hide();
        v->setFamily(SurfaceFamily::Lambda);
        v->setCells(TableKind::Lambda, cellsAll(QStringLiteral("-40")));
        v->Orient_View.rx += 6;
        v->update();
        v->repaint();
        rig->repaint();
        QCoreApplication::processEvents();
        QCOMPARE(v->renderCount(), renders);
        QCOMPARE(v->sceneImage(), shown); // the last picture, not a new one
        QCOMPARE(v->renderCount(), renders);

        v->show();
        QTRY_COMPARE(v->renderCount(), renders + 1);
        const QImage now = v->sceneImage();
        QCOMPARE(v->renderCount(), renders + 1);
        // The picture is the one of the state the view now holds: a view built up in that
        // state draws the same.
        SurfaceView twin(rig.get());
        twin.setFixedSize(v->size());
        twin.Orient_Lambda = v->Orient_Lambda;
        twin.setFamily(SurfaceFamily::Lambda);
        twin.Orient_View.rx = v->Orient_View.rx;
        twin.setCells(TableKind::Lambda, v->cells());
        twin.setActive(true);
        QCOMPARE(twin.renderCount(), 0); // never shown: nothing rendered
        QVERIFY(twin.sceneImage().isNull());
        twin.show();
        QCOMPARE(twin.sceneImage(), now);
        QVERIFY(now != shown);
    }

    // Left button in, right button out, any other nothing; ten steps in keep the picture.
    void zoom() {
        SurfaceView* v = rig->view;
        v->setFamily(SurfaceFamily::Lambda);
        v->setActive(true);
        v->setCells(TableKind::Lambda, cellsAll(QString()));
        const QColor plane = over(*upperFill(0), background(SurfaceFamily::Lambda));
        const int before =
            countPixels(v->sceneImage(), [&](const QColor& c) { return near(c, plane, 4); });
        for (int i = 0; i < 10; ++i)
            QTest::mousePress(rig->zoom(), Qt::LeftButton);
        QTest::mouseRelease(rig->zoom(), Qt::LeftButton);
        const Orientation& o = v->Orient_Lambda;
        QVERIFY(o.vLeft < o.vRight && o.vBottom < o.vTop);
        QCOMPARE(v->Orient_View.vLeft, o.vLeft);
        QCOMPARE(v->Orient_View.vTop, o.vTop);
        QCOMPARE(v->Orient_MAF.vLeft, -1.0);
        const int after =
            countPixels(v->sceneImage(), [&](const QColor& c) { return near(c, plane, 4); });
        QVERIFY2(after > before, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));

        const double width = o.vRight - o.vLeft;
        QTest::mousePress(rig->zoom(), Qt::RightButton);
        QVERIFY(qAbs(o.vRight - o.vLeft - width - 0.2) < 1e-9);
        QTest::mousePress(rig->zoom(), Qt::MiddleButton);
        QVERIFY(qAbs(o.vRight - o.vLeft - width - 0.2) < 1e-9);
        QCOMPARE(v->Orient_View.vRight, o.vRight);

        // Two quick presses: the second comes as a double-click and still counts.
        QTest::mouseRelease(rig->zoom(), Qt::RightButton);
        QTest::mouseDClick(rig->zoom(), Qt::LeftButton);
        QVERIFY(qAbs(o.vRight - o.vLeft - width) < 1e-9);
    }

    // Default turns the three angles back and keeps the zoom: the picture is the one the
    // zoomed view had before it was turned.
    void defaultResetsOnlyTheAngles() {
        SurfaceView* v = rig->view;
        v->setFamily(SurfaceFamily::Maf);
        v->setActive(true);
        QStringList cells = cellsAll(QStringLiteral("-20"));
        cells[index(6, 2)] = QStringLiteral("70");
        v->setCells(TableKind::Maf, cells);
        QTest::mousePress(rig->zoom(), Qt::LeftButton);
        QTest::mousePress(rig->zoom(), Qt::LeftButton);
        const QImage zoomed = v->sceneImage();

        QTest::mouseClick(rig->rotate(SurfaceNavigator::Left), Qt::LeftButton);
        QTest::mouseClick(rig->rotate(SurfaceNavigator::Up), Qt::LeftButton);
        QTest::mouseClick(rig->rotate(SurfaceNavigator::DownZ), Qt::LeftButton);
        QCOMPARE(v->Orient_View.ry, -2.0f);
        QCOMPARE(v->Orient_View.rx, 2.0f);
        QCOMPARE(v->Orient_View.rz, -2.0f);
        QCOMPARE(rig->refreshes, 3);
        QVERIFY(v->sceneImage() != zoomed);

        QTest::mouseClick(rig->defaults(), Qt::LeftButton);
        QCOMPARE(rig->refreshes, 4);
        const Orientation& o = v->Orient_MAF;
        QCOMPARE(o.ry, 0.0f);
        QCOMPARE(o.rx, 0.0f);
        QCOMPARE(o.rz, 0.0f);
        QVERIFY(qAbs(o.vLeft + 0.8) < 1e-9 && qAbs(o.vTop - 0.8) < 1e-9);
        QCOMPARE(v->sceneImage(), zoomed);
    }

    // Each family puts its own orientation away and gets its own back.
    void pushAndPopPerFamily() {
        SurfaceView* v = rig->view;
        v->setActive(true);
        v->setFamily(SurfaceFamily::Maf);
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(rig->rotate(SurfaceNavigator::Right), Qt::LeftButton);
        QTest::mouseClick(rig->push(), Qt::LeftButton);
        QCOMPARE(v->Orient_Saved_MAF.ry, 6.0f);

        v->setFamily(SurfaceFamily::Lambda);
        QCOMPARE(v->Orient_View.ry, 0.0f); // the Lambda family's own record
        QTest::mouseClick(rig->rotate(SurfaceNavigator::UpZ), Qt::LeftButton);
        QTest::mousePress(rig->zoom(), Qt::LeftButton);
        QTest::mouseClick(rig->push(), Qt::LeftButton);
        QCOMPARE(v->Orient_Saved_Lambda.rz, 2.0f);
        QCOMPARE(v->Orient_Saved_Lambda.ry, 0.0f);
        QCOMPARE(v->Orient_Saved_MAF.rz, 0.0f);
        QTest::mouseClick(rig->defaults(), Qt::LeftButton);
        QTest::mousePress(rig->zoom(), Qt::RightButton);

        v->setFamily(SurfaceFamily::Maf);
        QCOMPARE(v->Orient_View.ry, 6.0f);
        QTest::mouseClick(rig->defaults(), Qt::LeftButton);
        QCOMPARE(v->Orient_View.ry, 0.0f);
        const int refreshes = rig->refreshes;
        QTest::mouseClick(rig->pop(), Qt::LeftButton);
        QCOMPARE(rig->refreshes, refreshes + 1);
        QCOMPARE(v->Orient_MAF.ry, 6.0f);
        QCOMPARE(v->Orient_View.ry, 6.0f);
        QCOMPARE(v->Orient_View.vLeft, -1.0);

        v->setFamily(SurfaceFamily::Lambda);
        QCOMPARE(v->Orient_View.rz, 0.0f);
        QTest::mouseClick(rig->pop(), Qt::LeftButton);
        QCOMPARE(v->Orient_View.rz, 2.0f);
        QVERIFY(qAbs(v->Orient_View.vLeft + 0.9) < 1e-9);
        QCOMPARE(v->Orient_MAF.rz, 0.0f);
    }

    // Holding a rotate button repeats its step every tick; the release stops the repeat
    // and the click that follows gives one more step.
    void holdingARotateButtonRepeats() {
        SurfaceView* v = rig->view;
        v->setActive(true);
        v->setFamily(SurfaceFamily::Maf);
        QToolButton* left = rig->rotate(SurfaceNavigator::Left);
        QTest::mousePress(left, Qt::LeftButton);
        QVERIFY(rig->nav->Timer_Rotate_3D->isActive());
        QVERIFY(rig->nav->Rotate_Flags[SurfaceNavigator::Left]);
        QTRY_VERIFY_WITH_TIMEOUT(v->Orient_MAF.ry <= -6.0f, 3000);
        const float held = v->Orient_MAF.ry;
        QTest::mouseRelease(left, Qt::LeftButton);
        QCOMPARE(v->Orient_MAF.ry, held - 2.0f);
        QCOMPARE(v->Orient_View.ry, held - 2.0f);
        QVERIFY(!rig->nav->Timer_Rotate_3D->isActive());
        for (bool f : rig->nav->Rotate_Flags)
            QVERIFY(!f);
        QCOMPARE(v->Orient_MAF.rx, 0.0f);
    }

    // Dragging turns the shown family's picture by the distance from the press point,
    // 1 degree per 75 pixels, on every move over the view: horizontal distance about x,
    // vertical about z.
    void draggingTurnsThePicture() {
        SurfaceView* v = rig->view;
        v->setActive(true);
        v->setFamily(SurfaceFamily::Lambda);
        auto send = [v](QEvent::Type type, QPoint p, Qt::MouseButton button,
                        Qt::MouseButtons buttons) {
            QMouseEvent e(type, p, v->mapToGlobal(p), button, buttons, Qt::NoModifier);
            QApplication::sendEvent(v, &e);
        };
        auto move = [&](QPoint p) { send(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton); };
        send(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(v->Drag_X0, 100);
        QCOMPARE(v->Drag_Y0, 100);
        move({102, 100}); // not yet a drag
        QCOMPARE(v->Orient_Lambda.rx, 0.0f);
        move({250, 100});
        QCOMPARE(v->Orient_Lambda.rx, 2.0f);
        move({250, 100}); // held away: it keeps turning
        QCOMPARE(v->Orient_Lambda.rx, 4.0f);
        move({100, 250});
        QCOMPARE(v->Orient_Lambda.rx, 4.0f);
        QCOMPARE(v->Orient_Lambda.rz, 2.0f);
        move({700, 100}); // outside the view
        QCOMPARE(v->Orient_Lambda.rx, 4.0f);
        QCOMPARE(v->Orient_View.rx, 4.0f);
        QCOMPARE(v->Orient_View.rz, 2.0f);
        QCOMPARE(v->Orient_MAF.rx, 0.0f);
        send(QEvent::MouseButtonRelease, {100, 250}, Qt::LeftButton, Qt::NoButton);
        move({250, 250});
        QCOMPARE(v->Orient_Lambda.rx, 4.0f);
        QCOMPARE(rig->refreshes, 0);
    }
};

QTEST_MAIN(TestSurfaceView)
#include "test_surfaceview.moc"
