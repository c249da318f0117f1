// The Lambda learning of the emulator through the window and the simulated module: the
// start's exact command sequence, the 64 erased cells of curve 1 in the module and in the
// grid, the learning bit kept by later writes of register 00, the stop decided by the
// button's state in English, cancelling, and a mode switch whose answer comes in pieces.
#include "common/messages.h"
#include "dialogs/confirmations.h"
#include "modetest.h"
#include "settings/lambdalearning.h"
#include "settings/settingsreader.h"
#include "sim/simmemory.h"
#include "tables/curvepanel.h"

#include <QProgressBar>

class TestLearning : public QObject {
    Q_OBJECT
    mt::Window f;

    bool learningRuns() const {
        return f.w->Ex->Timer_Lambda_Ticher->isActive() || f.w->Ex->Timer_Lambda_Ticher_02->isActive();
    }
    int logIndex(const QString& pattern) const {
        return int(wt::logLines(*f.w).indexOf(QRegularExpression(pattern)));
    }

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QStringLiteral("ru_RU"))); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }
    void init() { QVERIFY(f.open()); }
    void cleanup() { f.close(); }

    // Start: "00*", register 00 with bit 2 set, register 1A cleared, then the 64 cells of
    // curve 1, row digit before column digit with the column running fastest; every
    // acknowledged cell clears one grid row. The bit stays set in later writes of register
    // 00, and in English the button (caption "Off") still stops learning.
    void startAndStop() {
        // A learning module writes into curve 1 as the engine runs; a stopped engine keeps
        // what the erase wrote.
        sim::SimModule* m = f.connect(QStringLiteral("DEMO TR-70"), [](sim::SimModule* s) {
            s->setEngineRunning(false);
            s->setReg(0, 0x08);
        });
        QVERIFY(m);
        auto& ui = f.ui();
        QVERIFY(!ui.atb_Other_TicherEmu->isChecked());
        for (int i = 1; i <= 64; ++i) f.w->Panel_Emu->setPointText(i, QStringLiteral("2,5"));
        m->clearReceived();
        QTest::mouseClick(ui.atb_Other_TicherEmu, Qt::LeftButton);
        QCOMPARE(f.asked, QList<QDialog*>{f.w->fmPredupr_Lambda_A});
        QVERIFY(!f.w->Panel_Sett_Max->isEnabled()); // nothing else takes the exchange meanwhile
        QTRY_VERIFY_WITH_TIMEOUT(!learningRuns(), 15000);

        QStringList expected = {"00*", "C000)", "00A1)"};
        const char digits[] = "89ABCDEF";
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c) expected << QStringLiteral("00%1%2)").arg(digits[r]).arg(digits[c]);
        QCOMPARE(expected.at(3), QStringLiteral("0088)"));
        QCOMPARE(expected.at(11), QStringLiteral("0098)"));
        QCOMPARE(wt::distinctRuns(m->receivedItems()), expected);
        for (int i = 1; i <= 64; ++i) {
            QCOMPARE(f.w->Panel_Emu->pointText(i), QStringLiteral("0"));
            QCOMPARE(int(m->reg(sim::reg::curve1Point(i))), 0);
        }
        QCOMPARE(int(m->reg(0x1A)), 0);
        QCOMPARE(int(m->reg(0)), 0x0C);
        QVERIFY(ui.atb_Other_TicherEmu->isChecked());
        QCOMPARE(ui.atb_Other_TicherEmu->text(), QStringLiteral("Выключить"));
        QVERIFY(f.w->Panel_Sett_Max->isEnabled());
        QCOMPARE(f.w->ProgressBar1->value(), 0);
        QCOMPARE(f.w->Settings->Bits_EE00.at(2), QStringLiteral("1"));
        const int read = logIndex(QStringLiteral("^ВКЛЮЧЕНО ОБУЧЕНИЕ ЭМУЛЯТОРА ЛЯМБДЫ\\. ПОЛУЧЕНЫ БИТЫ EEPROM-00 \\d.*"));
        QVERIFY(read >= 0);
        QCOMPARE(wt::logLines(*f.w).at(read + 1), QStringLiteral("EEPROM-00 = 0001 0000"));
        QVERIFY(logIndex(QStringLiteral("^ОТПРАВЛЕНО В МОДУЛЬ НОВОЕ ЗНАЧЕНИЕ EEPROM-00 0011 0000$")) > read);
        QVERIFY(logIndex(QStringLiteral("^ОТПРАВЛЕН В МОДУЛЬ EEPROM-1A = 0$")) > read);
        QVERIFY(logIndex(QStringLiteral("^Запрос 00FF\\) !$")) > read);

        // Switching the system off rewrites register 00; the module goes on learning.
        QTest::mouseClick(ui.atb_Other_System_Off, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!f.switching(), 3000);
        QCOMPARE(int(m->reg(0)), 0x8C);

        f.w->atbEngClick();
        QCOMPARE(ui.atb_Other_TicherEmu->text(), QStringLiteral("Off"));
        f.asked.clear();
        m->clearReceived();
        QTest::mouseClick(ui.atb_Other_TicherEmu, Qt::LeftButton);
        QCOMPARE(f.asked, QList<QDialog*>{f.w->fmPredupr_Lambda_A_02});
        QCOMPARE(f.w->fmPredupr_Lambda_A_02->ui.atb_Cancel->text(), QStringLiteral("Cancel"));
        QTRY_VERIFY_WITH_TIMEOUT(!learningRuns(), 5000);
        QCOMPARE(wt::distinctRuns(m->receivedItems()), (QStringList{"00*", "8800)"}));
        QCOMPARE(int(m->reg(0)), 0x88);
        QVERIFY(!ui.atb_Other_TicherEmu->isChecked());
        QCOMPARE(ui.atb_Other_TicherEmu->text(), QStringLiteral("On"));
        QCOMPARE(f.w->Settings->Bits_EE00.at(2), QStringLiteral("0"));
        QVERIFY(f.w->Panel_Sett_Max->isEnabled());
        f.w->atb_Emu->click();
        f.shoot(QStringLiteral("tr70_curve1_after_learning"));
    }

    // Cancelling either warning sends nothing and leaves the button as it was.
    void cancelSendsNothing_data() {
        QTest::addColumn<int>("reg00");
        QTest::addColumn<bool>("learning");
        QTest::newRow("start cancelled") << 0x08 << false;
        QTest::newRow("stop cancelled") << 0x0C << true;
    }
    void cancelSendsNothing() {
        QFETCH(int, reg00);
        QFETCH(bool, learning);
        sim::SimModule* m =
            f.connect(QStringLiteral("DEMO TR-70"), [reg00](sim::SimModule* s) { s->setReg(0, quint8(reg00)); });
        QVERIFY(m);
        auto& ui = f.ui();
        QCOMPARE(ui.atb_Other_TicherEmu->isChecked(), learning);
        f.answer = false;
        m->clearReceived();
        QTest::mouseClick(ui.atb_Other_TicherEmu, Qt::LeftButton);
        QCOMPARE(f.asked.size(), 1);
        QTest::qWait(300);
        QVERIFY(!learningRuns());
        QCOMPARE(m->receivedItems(), QStringList());
        QCOMPARE(ui.atb_Other_TicherEmu->isChecked(), learning);
        QCOMPARE(ui.atb_Other_TicherEmu->text(), learning ? QStringLiteral("Выключить") : QStringLiteral("Включить"));
        QCOMPARE(int(m->reg(0)), reg00);
    }

    // The module's answer to the mode read comes in two pieces: the byte is read once, when
    // both digits are there, and the write keeps what it says.
    void switchReadsASplitAnswerOnce() {
        sim::SimModule* m = f.connect(QStringLiteral("DEMO TR-70"), [](sim::SimModule* s) { s->setReg(0, 0xC2); });
        QVERIFY(m);
        sim::Faults faults;
        faults.splitAfter = 1;
        faults.splitPauseMs = 20;
        m->setFaults(faults);
        m->clearReceived();
        QTest::mouseClick(f.ui().AdvTBtn_Emu, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!f.switching(), 5000);
        QCOMPARE(int(m->reg(0)), 0xCA);
        const QStringList log = wt::logLines(*f.w);
        QCOMPARE(log.filter(QRegularExpression(QStringLiteral("^ПЕРЕХОД В РЕЖИМ ЭМУЛЯТОР"))).size(), 1);
        QCOMPARE(log.filter(QStringLiteral("EEPROM-00 = 0100 0011")).size(), 1);
    }
};

QTEST_MAIN(TestLearning)
#include "test_learning.moc"
