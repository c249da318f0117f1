// The read filter through the real window against a simulated TR-90: each point is asked
// until seven answers came (an answer in two pieces is still one answer), the first six
// vote, and stray answers lose the vote.
#include "curvetest.h"

#include <QProgressBar>

class TestCurvesFilter : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;

  private slots:
    void cleanup() {
        w.reset();
        QLocale::setDefault(QLocale::c());
    }

    void filteredRead_data() {
        QTest::addColumn<int>("curve");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("split"); // answers come in two pieces after this many characters
        QTest::newRow("curve 1, two stray answers") << 1 << "ru_RU" << 0;
        QTest::newRow("curve 2, answers in two pieces") << 2 << "C" << 2;
    }
    void filteredRead() {
        QFETCH(int, curve);
        QFETCH(QString, locale);
        QFETCH(int, split);
        QLocale::setDefault(QLocale(locale));
        wt::freshConfiguration();
        w = std::make_unique<TForm1>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        sim::SimModule* m = ct::openDemo(*w);
        QVERIFY(m);
        CurvePanel* p = ct::panel(*w, curve);
        (curve == 2 ? w->atb_TR_90_Lambda_2 : w->atb_Emu)->click();
        const int strayPoint = 10;
        sim::Faults f;
        if (split) {
            f.splitAfter = split;
            f.splitPauseMs = 4;
        } else {
            // The first two answers for the point say 0; the other five say its byte.
            f.badItem = readRegItem(ct::pointAddress(curve, strayPoint));
            f.badAnswer = QStringLiteral("00 ");
            f.badAnswerCount = 2;
        }
        m->setFaults(f);
        m->clearReceived();

        QTest::mouseClick(p->ui.atb_Lambda_Filter_On, Qt::LeftButton);
        QVERIFY(!p->ui.atb_Lambda_Filter_Off->isChecked());
        QTest::mouseClick(p->ui.atb_Emu_In, Qt::LeftButton);
        QVERIFY(ct::readTimer(*w, curve, true)->isActive());
        QVERIFY(!ct::readTimer(*w, curve, false)->isActive());
        QCOMPARE(w->ProgressBar1->maximum(), 64 * 7);
        QVERIFY(!w->atb_Seans->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!ct::readTimer(*w, curve, true)->isActive(), 30000);
        QVERIFY(w->atb_Seans->isEnabled());
        QCOMPARE(w->ProgressBar1->value(), 0);

        const QStringList items = ct::readItems(curve);
        const QStringList sent = m->receivedItems();
        QCOMPARE(wt::distinctRuns(sent), items);
        for (int i = 1; i <= 64; ++i) {
            QVERIFY2(sent.count(items.at(i - 1)) >= 7,
                     qPrintable(QStringLiteral("point %1 asked %2 times")
                                    .arg(i)
                                    .arg(sent.count(items.at(i - 1)))));
            const int byte = m->reg(ct::pointAddress(curve, i));
            QCOMPARE(p->pointText(i), ct::pointText(byte));
            QCOMPARE(p->readValue(i), ct::pointVolts(byte));
            QCOMPARE(p->editedValue(i), ct::pointVolts(byte));
            QVERIFY(p->marker(i)->isVisible());
        }
        QVERIFY(m->reg(ct::pointAddress(curve, strayPoint)) != 0);
        QVERIFY(p->ui.atb_Interpolator_Lambda->isEnabled());
    }
};

QTEST_MAIN(TestCurvesFilter)
#include "test_curves_filter.moc"
