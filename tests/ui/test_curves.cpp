// The emulation curves through the real window against a simulated TR-90: a read and a
// write of each curve compared with the module's memory, dragging markers past the frame,
// the grid keys, and the live points with their ring and their timing.
#include "app/protocolpanel.h"
#include "common/messages.h"
#include "common/numtext.h"
#include "curvetest.h"
#include "tables/table3dpanel.h"
#include "widgets/stepper.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTableWidget>
#include <qcustomplot.h>

namespace {

void sendMouse(QWidget* target, QEvent::Type type, QPoint chartPos, Qt::MouseButtons buttons,
               QWidget* chart) {
    const QPoint global = chart->mapToGlobal(chartPos);
    QMouseEvent e(type, target->mapFromGlobal(global), global,
                  type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(target, &e);
}

// A curve of 2,5 V everywhere, as a file open leaves it: every marker shown.
void loadFlatCurve(CurvePanel* p) {
    p->loadCurve(QStringList(64, ct::number(2.5)), QList<double>(64, 2.5));
}

} // namespace

class TestCurves : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;
    QStringList errors;

    void makeWindow(const QString& locale) {
        QLocale::setDefault(QLocale(locale));
        wt::freshConfiguration();
        w = std::make_unique<TForm1>();
        errors.clear();
        w->Ctx.error = [this](const QString& text) { errors << text; };
        w->Panel_Emu->onConversionError = w->Ctx.error;
        w->Panel_Emu_2->onConversionError = w->Ctx.error;
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void showCurve(int curve) {
        (curve == 2 ? w->atb_TR_90_Lambda_2 : w->atb_Emu)->click();
        ct::panel(*w, curve)->ui.Chart2D->replot();
    }

  private slots:
    void cleanup() {
        w.reset();
        msgs().setRussian();
        QLocale::setDefault(QLocale::c());
    }

    void readThenWrite_data() {
        QTest::addColumn<int>("curve");
        QTest::addColumn<QString>("locale");
        QTest::newRow("curve 1") << 1 << "ru_RU";
        QTest::newRow("curve 2") << 2 << "C";
    }
    void readThenWrite() {
        QFETCH(int, curve);
        QFETCH(QString, locale);
        makeWindow(locale);
        sim::SimModule* m = ct::openDemo(*w);
        QVERIFY(m);
        showCurve(curve);
        CurvePanel* p = ct::panel(*w, curve);
        QCustomPlot* chart = p->ui.Chart2D;
        m->clearReceived();

        // --- read
        QTest::mouseClick(p->ui.atb_Emu_In, Qt::LeftButton);
        QVERIFY(ct::readTimer(*w, curve, false)->isActive());
        QVERIFY(!w->atb_Seans->isEnabled());
        QVERIFY(!w->Panel_3D->ui.gb_KorrTab->isEnabled()); // a register write would take over
        QVERIFY(p->Shape_0->isVisible());
        QVERIFY(p->ui.atb_Interpolator_Lambda->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!ct::readTimer(*w, curve, false)->isActive(), 8000);
        QVERIFY(w->atb_Seans->isEnabled());
        QVERIFY(!p->Shape_0->isVisible());
        QCOMPARE(w->ProgressBar1->value(), 0);
        QCOMPARE(wt::distinctRuns(m->receivedItems()), ct::readItems(curve));
        QCOMPARE(chart->graph(0)->dataCount(), 65);
        QCOMPARE(chart->graph(1)->dataCount(), 65);
        QCOMPARE(p->readValue(0), 0.0);
        int repeated = 0;
        for (int i = 1; i <= 64; ++i) {
            const QList<int> ok = ct::readableBytes(curve, m, i);
            int k = 0;
            while (k < ok.size() && p->pointText(i) != ct::pointText(ok.at(k)))
                ++k;
            QVERIFY2(k < ok.size(),
                     qPrintable(QStringLiteral("point %1: %2, expected %3")
                                    .arg(i)
                                    .arg(p->pointText(i), ct::pointText(ok.first()))));
            repeated += k > 0;
            const double v = ct::pointVolts(ok.at(k));
            QCOMPARE(p->readValue(i), v);
            QCOMPARE(p->editedValue(i), v);
            QVERIFY(p->marker(i)->isVisible());
            QCOMPARE(p->marker(i)->fillColor(), QColor(0x22, 0x8C, 0xB5));
            QCOMPARE(p->markerPosition(i), QPointF(i, v));
        }
        if (repeated) qInfo("%d point(s) took a repeated answer of the point before", repeated);
        QCOMPARE(p->pointText(1), QStringLiteral("0"));
        QCOMPARE(p->pointText(64), QStringLiteral("5")); // byte 255 is 5,31 V, limited
        QCOMPARE(p->marker(5)->toolTip(),
                 QStringLiteral("Точка 5\nНапряжение: ") + p->pointText(5) + QStringLiteral(" В "));
        const bool logged =
            wt::logLines(*w).filter(QStringLiteral("ПОЛУЧИТЬ ТАБЛИЦУ 2D-ЛЯМБДА ")).size() == 1;
        QCOMPARE(logged, curve == 1);

        // --- edit, then write: values of the domain, the other separator, one beyond 5 V
        // (written as 5 V, not as a three-digit item) and a tie of the rounding.
        QList<double> volts;
        for (int i = 1; i <= 64; ++i) {
            QString text = ct::number(((i * 53) % 500) / 100.0);
            if (i == 2) text = QStringLiteral("7");
            if (i == 3)
                text = locale == QLatin1String("C") ? QStringLiteral("2,5") : QStringLiteral("2.5");
            if (i == 4) text = ct::number(0.09375); // 4,5 counts: the even 4
            p->setPointText(i, text);
            double v = 0;
            QVERIFY(parseNumber(text, &v));
            volts << v;
        }
        m->clearReceived();
        QTest::mouseClick(p->ui.atb_Emu_Out, Qt::LeftButton);
        QVERIFY(ct::writeTimer(*w, curve)->isActive());
        QVERIFY(!w->atb_Seans->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!ct::writeTimer(*w, curve)->isActive(), 8000);
        QVERIFY(w->atb_Seans->isEnabled());
        QCOMPARE(w->ProgressBar1->value(), 0);
        QStringList items;
        for (int i = 1; i <= 64; ++i) {
            const int byte = int(std::nearbyint(std::clamp(volts.at(i - 1), 0.0, 5.0) * 48));
            QCOMPARE(int(m->reg(ct::pointAddress(curve, i))), byte);
            items << writeItem(byte, ct::pointAddress(curve, i));
        }
        QCOMPARE(int(m->reg(ct::pointAddress(curve, 2))), 240);
        QCOMPARE(int(m->reg(ct::pointAddress(curve, 4))), 4);
        QCOMPARE(wt::distinctRuns(m->receivedItems()), items);
        const bool writeLogged =
            wt::logLines(*w).filter(QStringLiteral("ЗАПИСАТЬ ТАБЛИЦУ 2D-ЛЯМБДА ")).size() == 1;
        QCOMPARE(writeLogged, curve == 1);
        QVERIFY(errors.isEmpty());
    }

    // A point that is not a number stops the write before anything leaves; the interface
    // stays free. Refused acknowledgements repeat the item.
    void writeFaults() {
        makeWindow(QStringLiteral("ru_RU"));
        sim::SimModule* m = ct::openDemo(*w);
        QVERIFY(m);
        CurvePanel* p = w->Panel_Emu_2;
        p->setPointText(40, QStringLiteral("2,x"));
        m->clearReceived();
        p->ui.atb_Emu_Out->click();
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(QStringLiteral("40")), qPrintable(errors.first()));
        QVERIFY(!ct::writeTimer(*w, 2)->isActive());
        QVERIFY(w->atb_Seans->isEnabled());
        QTest::qWait(100);
        QVERIFY(m->receivedItems().isEmpty());

        p->setPointText(40, QStringLiteral("1"));
        sim::Faults f;
        f.refuseWrites = true;
        m->setFaults(f);
        p->ui.atb_Emu_Out->click();
        QTRY_VERIFY_WITH_TIMEOUT(m->receivedItems().size() >= 4, 3000);
        QCOMPARE(wt::distinctRuns(m->receivedItems()).size(), 1); // the first item, again and again
        QVERIFY(ct::writeTimer(*w, 2)->isActive());
        m->setFaults({});
        QTRY_VERIFY_WITH_TIMEOUT(!ct::writeTimer(*w, 2)->isActive(), 8000);
        QCOMPARE(int(m->reg(ct::pointAddress(2, 40))), 48);
    }

    // Dragging a marker: the edited curve follows the pointer within 0..5 V, the read curve
    // stays; the grid and the hint take the value cut to two decimals.
    void dragging_data() {
        QTest::addColumn<int>("curve");
        QTest::addColumn<QColor>("dragged");
        QTest::newRow("curve 1") << 1 << QColor(0x00, 0x80, 0x00);
        QTest::newRow("curve 2") << 2 << QColor(0x80, 0x00, 0x00);
    }
    void dragging() {
        QFETCH(int, curve);
        QFETCH(QColor, dragged);
        makeWindow(QStringLiteral("ru_RU"));
        showCurve(curve);
        CurvePanel* p = ct::panel(*w, curve);
        QCustomPlot* chart = p->ui.Chart2D;
        loadFlatCurve(p);
        QTRY_VERIFY(p->marker(20)->isVisible());
        const QRect frame = p->frameRect();
        CurveShape* m = p->marker(20);
        const QPoint start = ct::centreOf(m);

        sendMouse(m, QEvent::MouseButtonPress, start, Qt::LeftButton, chart);
        // Within the drag threshold nothing moves.
        sendMouse(m, QEvent::MouseMove, start + QPoint(0, 1), Qt::LeftButton, chart);
        QCOMPARE(p->editedValue(20), 2.5);
        // Far above the frame: 5 V, the marker at the frame top.
        sendMouse(m, QEvent::MouseMove, QPoint(start.x(), frame.top() - 60), Qt::LeftButton, chart);
        QCOMPARE(p->editedValue(20), 5.0);
        QCOMPARE(p->readValue(20), 2.5);
        QCOMPARE(p->pointText(20), QStringLiteral("5"));
        QCOMPARE(m->fillColor(), dragged);
        QCOMPARE(m->toolTip(), QStringLiteral("Точка 20\nНапряжение: 5 В "));
        QTRY_VERIFY(qAbs(ct::centreOf(m).y() - frame.top()) <= 1);
        // Below the frame bottom: 0 V.
        sendMouse(m, QEvent::MouseMove, QPoint(start.x(), frame.bottom() + 80), Qt::LeftButton,
                  chart);
        QCOMPARE(p->editedValue(20), 0.0);
        QCOMPARE(p->pointText(20), QStringLiteral("0"));
        QTRY_VERIFY(qAbs(ct::centreOf(m).y() - (frame.top() + frame.height())) <= 1);
        // Inside: the value under the pointer, cut to two decimals in the grid.
        const int y = qRound(chart->yAxis->coordToPixel(1.237));
        sendMouse(m, QEvent::MouseMove, QPoint(start.x(), y), Qt::LeftButton, chart);
        const double v = p->editedValue(20);
        QVERIFY2(qAbs(v - 1.237) < 5.0 / frame.height() + 1e-9, qPrintable(QString::number(v)));
        QCOMPARE(p->pointText(20), ct::number(std::trunc(v * 100 + 1e-9) / 100));
        sendMouse(m, QEvent::MouseButtonRelease, QPoint(start.x(), y), Qt::NoButton, chart);
        // After the release the pointer moves on without the marker.
        sendMouse(m, QEvent::MouseMove, QPoint(start.x(), frame.top()), Qt::NoButton, chart);
        QCOMPARE(p->editedValue(20), v);
        // The neighbours did not move.
        QCOMPARE(p->editedValue(19), 2.5);
        QCOMPARE(p->editedValue(21), 2.5);
        QCOMPARE(p->marker(21)->fillColor(), QColor(0x22, 0x8C, 0xB5));
        // The hints follow the interface language.
        w->atbEngClick();
        QCOMPARE(m->toolTip(),
                 QStringLiteral("Point 20\nVoltage: ") + p->pointText(20) + QStringLiteral(" V "));
    }

    // Enter, cursor up and cursor down apply the row above the cursor (which holds the point
    // numbered like the cursor's row); row 0 has none.
    void gridKeys() {
        makeWindow(QStringLiteral("ru_RU"));
        showCurve(1);
        CurvePanel* p = w->Panel_Emu;
        QTableWidget* g = p->ui.sgrid_Emu;
        loadFlatCurve(p);
        g->setFocus();
        const QColor read(0x22, 0x8C, 0xB5), edited(0x00, 0x80, 0x00);

        p->setPointText(1, QStringLiteral("3.1"));
        g->setCurrentCell(0, 1);
        QTest::keyClick(g, Qt::Key_Return);
        QCOMPARE(p->editedValue(1), 2.5); // row 0: nothing applied
        QCOMPARE(p->marker(1)->fillColor(), read);
        QCOMPARE(g->currentRow(), 1);
        QTest::keyClick(g, Qt::Key_Return); // row 1 applies point 1
        QCOMPARE(p->editedValue(1), 3.1);
        QCOMPARE(p->pointText(1), QStringLiteral("3,1"));
        QCOMPARE(p->markerPosition(1), QPointF(1, 3.1));
        QCOMPARE(p->marker(1)->fillColor(), edited);
        QCOMPARE(p->marker(1)->toolTip(), QStringLiteral("Точка 1\nНапряжение: 3,1 В "));
        QCOMPARE(g->currentRow(), 2);

        // 7 becomes 5 and its marker goes to the top; cursor down applies, then moves.
        p->setPointText(5, QStringLiteral("7"));
        g->setCurrentCell(5, 1);
        QTest::keyClick(g, Qt::Key_Down);
        QCOMPARE(p->pointText(5), QStringLiteral("5"));
        QCOMPARE(p->editedValue(5), 5.0);
        QCOMPARE(g->currentRow(), 6);
        QTRY_VERIFY(qAbs(ct::centreOf(p->marker(5)).y() - p->frameRect().top()) <= 1);
        // Cursor up: applies point 6 (unchanged value: the colour stays), moves up.
        QTest::keyClick(g, Qt::Key_Up);
        QCOMPARE(g->currentRow(), 5);
        QCOMPARE(p->marker(6)->fillColor(), read);
        p->setPointText(3, QStringLiteral("-1"));
        g->setCurrentCell(3, 1);
        QTest::keyClick(g, Qt::Key_Up);
        QCOMPARE(p->pointText(3), QStringLiteral("0"));
        QCOMPARE(p->editedValue(3), 0.0);
        QCOMPARE(g->currentRow(), 2);

        // A value typed in the editor is in the cell before the key runs, and the next key
        // on the row below applies it.
        g->setCurrentCell(10, 1);
        g->editItem(g->item(10, 1));
        auto* editor = g->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("1,25"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(p->pointText(11), QStringLiteral("1,25"));
        QCOMPARE(p->editedValue(11), 2.5);
        QCOMPARE(g->currentRow(), 11);
        QTest::keyClick(g, Qt::Key_Return);
        QCOMPARE(p->editedValue(11), 1.25);

        // The last row: Enter applies point 64 and starts again at row 1.
        g->setCurrentCell(64, 1);
        p->setPointText(64, QStringLiteral("0,5"));
        QTest::keyClick(g, Qt::Key_Return);
        QCOMPARE(p->editedValue(64), 0.5);
        QCOMPARE(g->currentRow(), 1);
        QCOMPARE(g->currentColumn(), 1);

        // Not a number: reported, nothing applied, the cursor stays.
        p->setPointText(9, QStringLiteral("x"));
        g->setCurrentCell(9, 1);
        QTest::keyClick(g, Qt::Key_Return);
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().contains(QStringLiteral("9")));
        QCOMPARE(g->currentRow(), 9);
        QCOMPARE(p->editedValue(9), 2.5);
        QCOMPARE(p->pointText(9), QStringLiteral("x"));
    }

    // Live points on curve 1: every receive event places the next point of a ring of N; the
    // timer comes round(3000 / N) ms apart and the module's operating point is shown.
    void livePoints() {
        makeWindow(QStringLiteral("ru_RU"));
        sim::SimModule* m = ct::openDemo(*w);
        QVERIFY(m);
        m->setEngineRunning(false);
        m->setWork(sim::work::FuelFlow, 0x00); // 512: 8 units of fuel
        m->setWork(sim::work::FuelFlow + 1, 0x02);
        m->setWork(sim::work::MafVoltage, 0x7E); // 382: 2 V
        m->setWork(sim::work::MafVoltage + 1, 0x01);
        showCurve(1);
        CurvePanel* p = w->Panel_Emu;
        TableTransfer* t = w->TableTransfers;
        QCOMPARE(p->ui.Ed_Num_Yellow_Points->text(), QStringLiteral("12"));
        p->showLivePoint(30, 1, 1); // left from an earlier run

        QList<int> rings; // the ring position after each receive event of the live points
        QList<bool> point13Visible;
        connect(w->BComPort1, &TBComPort::OnRxChar, w.get(), [&] {
            if (!ct::liveTimer(*w, 1)->isActive() || w->Ex->Cmd_Sent != QLatin1String("74&AA&"))
                return;
            rings << t->Ring_Position[0];
            point13Visible << p->livePoint(13)->isVisible();
        });
        QList<int> rings2; // the same for curve 2: its ring is at 0 only between two events
        connect(w->BComPort1, &TBComPort::OnRxChar, w.get(), [&] {
            if (ct::liveTimer(*w, 2)->isActive()
                && w->Ex->Cmd_Sent == QLatin1String("74&AA&"))
                rings2 << t->Ring_Position[1];
        });
        p->ui.Btn_YellowPoints->click();
        QVERIFY(ct::liveTimer(*w, 1)->isActive());
        QVERIFY(!p->livePoint(30)->isVisible());
        QVERIFY(!w->atb_Seans->isEnabled());
        QVERIFY(!w->Panel_Emu_2->ui.Btn_YellowPoints->isEnabled());
        QCOMPARE(ct::liveTimer(*w, 1)->interval(), 250);
        QTRY_VERIFY_WITH_TIMEOUT(rings.size() >= 14, 15000);
        for (int k = 0; k < 14; ++k)
            QCOMPARE(rings.at(k), (k + 1) % 12);
        // The thirteenth event put point 1 to use again; point 13 never showed.
        QVERIFY(!point13Visible.contains(true));
        for (int i = 1; i <= 12; ++i)
            QVERIFY(p->livePoint(i)->isVisible());

        // Point 1 shows the operating point: 8 units of fuel, 2 V.
        QTRY_COMPARE(p->markers()->Yellow_Rel_X[0], 8 / 64.0);
        QCOMPARE(p->livePoint(1)->toolTip(),
                 QStringLiteral("Напряжение: 2 В \nРасход топлива 8 л "));
        p->ui.Chart2D->replot();
        const QRect f = p->frameRect();
        const QPoint expected(qRound(f.left() + f.width() * 8 / 64.0),
                              qRound(f.top() + f.height() - f.height() * 2 / 5.0));
        QTRY_VERIFY((ct::centreOf(p->livePoint(1)) - expected).manhattanLength() <= 2);
        // Live polling does not fill the protocol with exchange lines.
        QVERIFY(wt::logLines(*w).filter(QStringLiteral("74&AA&")).isEmpty());

        // The shared stepper sets N (6..36); the next tick takes the new interval.
        QTest::mousePress(p->ui.atb_Num_Yellow_Points_Up, Qt::LeftButton);
        QTest::mouseRelease(p->ui.atb_Num_Yellow_Points_Up, Qt::LeftButton);
        QCOMPARE(p->ui.Ed_Num_Yellow_Points->text(), QStringLiteral("13"));
        QTRY_COMPARE(ct::liveTimer(*w, 1)->interval(), 231);
        p->ui.Ed_Num_Yellow_Points->setText(QStringLiteral("36"));
        QTest::mousePress(p->ui.atb_Num_Yellow_Points_Up, Qt::LeftButton);
        QTest::mouseRelease(p->ui.atb_Num_Yellow_Points_Up, Qt::LeftButton);
        QCOMPARE(p->ui.Ed_Num_Yellow_Points->text(), QStringLiteral("36"));
        QTRY_COMPARE(ct::liveTimer(*w, 1)->interval(), 83);
        p->ui.Ed_Num_Yellow_Points->setText(QStringLiteral("6"));
        QTest::mousePress(p->ui.atb_Num_Yellow_Points_Down, Qt::LeftButton);
        QTest::mouseRelease(p->ui.atb_Num_Yellow_Points_Down, Qt::LeftButton);
        QCOMPARE(p->ui.Ed_Num_Yellow_Points->text(), QStringLiteral("6"));
        QTRY_COMPARE(ct::liveTimer(*w, 1)->interval(), 500);
        QCOMPARE(w->Steppers->Step_Edit.data(), p->ui.Ed_Num_Yellow_Points);

        // Stop frees the interface.
        p->ui.Btn_YellowPoints_Stop->click();
        QVERIFY(!ct::liveTimer(*w, 1)->isActive());
        QVERIFY(w->atb_Seans->isEnabled());

        // Curve 2 keeps 250 ms whatever its count.
        w->Panel_Emu_2->ui.Ed_Num_Yellow_Points->setText(QStringLiteral("6"));
        w->Panel_Emu_2->ui.Btn_YellowPoints->click();
        QVERIFY(ct::liveTimer(*w, 2)->isActive());
        // (Its panel is not in front: the points are shown, not visible.)
        QTRY_VERIFY_WITH_TIMEOUT(!w->Panel_Emu_2->livePoint(6)->isHidden(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(rings2.size() >= 7, 15000);
        for (int k = 0; k < 7; ++k)
            QCOMPARE(rings2.at(k), (k + 1) % 6);
        QVERIFY(w->Panel_Emu_2->livePoint(7)->isHidden());
        QCOMPARE(ct::liveTimer(*w, 2)->interval(), 250);
        w->Panel_Emu_2->ui.Btn_YellowPoints_Stop->click();
        QVERIFY(w->atb_Seans->isEnabled());
    }

    // The Stop button is never locked: pressed while another transfer runs it must not free
    // the interface under that transfer, and no live points start on top of a transfer.
    void stopDuringAnotherTransfer() {
        makeWindow(QStringLiteral("ru_RU"));
        sim::SimModule* m = ct::openDemo(*w);
        QVERIFY(m);
        CurvePanel* p = w->Panel_Emu;
        p->ui.atb_Emu_In->click();
        QVERIFY(ct::readTimer(*w, 1, false)->isActive());
        p->ui.Btn_YellowPoints_Stop->click();
        w->Panel_Emu_2->ui.Btn_YellowPoints_Stop->click();
        QVERIFY(!w->atb_Seans->isEnabled());
        QVERIFY(!p->ui.atb_Emu_Out->isEnabled());
        w->TableTransfers->Btn_YellowPointsClick(2); // even if called directly
        QVERIFY(!ct::liveTimer(*w, 2)->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!ct::readTimer(*w, 1, false)->isActive(), 8000);
        QVERIFY(w->atb_Seans->isEnabled());
    }
};

QTEST_MAIN(TestCurves)
#include "test_curves.moc"
