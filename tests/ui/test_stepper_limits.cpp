// Both limits of every numeric setting of the window: a press held towards a limit steps
// to it and stops there by itself, and the release writes the limit's byte, which the
// module stores. A limit one step too wide would let a value through that the module does
// not take.
#include "settings/registers.h"
#include "settingstest.h"
#include "widgets/stepper.h"

#include <QComboBox>

class TestStepperLimits : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;

    sim::SimModule* module() const { return w->BComPort1->demoModule(); }

  private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        w = st::connectedWindow();
        QVERIFY2(w, "the window did not connect to the demo module");
        QComboBox* k = w->Panel_Sett_Max->ui.cb_K;
        k->setCurrentIndex(k->findText(QStringLiteral("1")));
        QVERIFY2(k->currentIndex() >= 0, "no crankshaft coefficient 1 to choose");
    }
    void cleanupTestCase() {
        w.reset();
        QLocale::setDefault(QLocale::c());
    }

    void heldToLimit_data() {
        QTest::addColumn<QString>("group"); // the edit is Ed_<group>, the buttons atb_<group>_Up/_Down
        QTest::addColumn<int>("reg");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("start"); // a few steps inside the limit
        QTest::addColumn<QString>("limit");
        struct Limits {
            const char* group;
            regs::Num reg;
            const char *minStart, *min, *maxStart, *max;
        };
        const Limits all[] = {
            {"LAMBDA_1_Korr", regs::Num::Lambda1Korr, "-0,97", "-0,99", "-0,02", "0"},
            {"LAMBDA_U_Max", regs::Num::UMax, "0,02", "0", "1,08", "1,1"},
            {"DMRV_Porog_Korr", regs::Num::PorogKorr, "0,2", "0", "4,8", "5"},
            {"DMRV_K_Korr", regs::Num::DmrvKKorr, "-0,98", "-1", "0,98", "1"},
            {"Other_Zad_Korr", regs::Num::ZadKorr, "2", "0", "118", "120"},
            {"Other_Point_Korr", regs::Num::PointKorr, "1700", "1500", "4800", "5000"},
            {"Other_K_Fuel", regs::Num::K_Fuel, "3", "1", "248", "250"},
            {"Other_VolEng", regs::Num::VolEng, "1,4", "1,2", "6,2", "6,4"},
        };
        for (const Limits& l : all) {
            QTest::newRow(qPrintable(QStringLiteral("%1 min").arg(l.group)))
                << l.group << int(l.reg) << false << l.minStart << l.min;
            QTest::newRow(qPrintable(QStringLiteral("%1 max").arg(l.group)))
                << l.group << int(l.reg) << true << l.maxStart << l.max;
        }
    }
    void heldToLimit() {
        QFETCH(QString, group);
        QFETCH(int, reg);
        QFETCH(bool, up);
        QFETCH(QString, start);
        QFETCH(QString, limit);
        auto* edit = w->findChild<QLineEdit*>(QStringLiteral("Ed_") + group);
        auto* button = w->findChild<QToolButton*>(QStringLiteral("atb_%1_%2").arg(group, up ? "Up" : "Down"));
        QVERIFY2(edit && button, qPrintable(group));
        QTimer* repeat = up ? w->Steppers->Timer_Up : w->Steppers->Timer_Down;

        edit->setText(start);
        module()->clearReceived();
        QTest::mousePress(button, Qt::LeftButton);
        // The repeat ends by itself at the limit (a step every 200 ms or less).
        QTRY_VERIFY2_WITH_TIMEOUT(!repeat->isActive(), "the held press kept repeating past the limit", 3000);
        QCOMPARE(edit->text(), limit);
        QTest::mouseRelease(button, Qt::LeftButton);
        QTRY_VERIFY2_WITH_TIMEOUT(!w->Ex->Timer_Write->isActive(), "the write of the limit did not end", 3000);

        bool isNumber = false;
        const double value = QLocale().toDouble(limit, &isNumber);
        QVERIFY(isNumber);
        const int byte = regs::encode(regs::Num(reg), value, 1);
        QVERIFY2(byte >= 0 && byte <= 255, qPrintable(QString::number(byte)));
        const QStringList written = wt::distinctRuns(st::writes(module()));
        QCOMPARE(written.size(), 1);
        QCOMPARE(int(module()->reg(reg)), byte);
    }
};

QTEST_MAIN(TestStepperLimits)
#include "test_stepper_limits.moc"
