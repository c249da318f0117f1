// The operating modes through the window and the simulated module: the coefficient rule of
// the mode buttons, their read-modify-write of register 00 and its log lines, the MAF(P)
// switch together with the option write it runs, and the sensor types the optimizer view
// learns.
#include "app/statusbar.h"
#include "common/messages.h"
#include "dialogs/confirmations.h"
#include "modetest.h"
#include "settings/modeswitches.h"
#include "settings/registerwriter.h"

#include "tables/table3dpanel.h"

#include <QComboBox>
#include <QLabel>

class TestModes : public QObject {
    Q_OBJECT
    mt::Window f;

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QStringLiteral("ru_RU"))); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }
    void init() { QVERIFY(f.open()); }
    void cleanup() { f.close(); }

    // The coefficient 58 belongs to MAF(P): the emulator button selects 2, warns, removes
    // the entry and switches the module; the profile showing the emulator does the same to
    // the list without warning or write.
    void coefficient58LeavesWithMafP() {
        QVERIFY(f.connect(QStringLiteral("DEMO TR-70"), [](sim::SimModule* s) {
            s->setReg(0x00, 0x12);
            s->setReg(0x14, 58);
        }));
        QComboBox* cb = f.ui().cb_K;
        QCOMPARE(cb->currentText(), QStringLiteral("58"));
        f.module()->clearReceived();
        QTest::mouseClick(f.ui().AdvTBtn_Emu, Qt::LeftButton);
        QCOMPARE(f.asked, QList<QDialog*>{f.w->fmPredupr0C});
        QCOMPARE(cb->currentText(), QStringLiteral("2"));
        QCOMPARE(cb->count(), 3);
        QTRY_VERIFY_WITH_TIMEOUT(!f.switching(), 3000);
        QCOMPARE(f.module()->reg(0) & 0x18, 0x08);
        const QStringList log = wt::logLines(*f.w);
        const int at = int(log.indexOf(
            QRegularExpression(QStringLiteral("^ПЕРЕХОД В РЕЖИМ ЭМУЛЯТОР\\. ПОЛУЧЕНЫ БИТЫ EEPROM-00 \\d.*"))));
        QVERIFY(at >= 0);
        QCOMPARE(log.at(at + 1), QStringLiteral("EEPROM-00 = 0100 1000")); // 12: MAF(P), table axis
        QVERIFY(log.at(at + 2).startsWith(msgs().Msg_Query)); // no empty line of its own
        QVERIFY(log.indexOf(QRegularExpression(QStringLiteral("^Выбран режим ЭМУЛЯТОР \\d.*"))) > at);
        // The coefficient itself is written with the next option write of register 14.
        QCOMPARE(f.module()->reg(0x14), quint8(58));

        f.disconnect();
        f.asked.clear();
        QVERIFY(f.connect(QStringLiteral("DEMO TR-70"), [](sim::SimModule* s) { s->setReg(0x14, 58); }));
        QCOMPARE(cb->currentText(), QStringLiteral("2"));
        QCOMPARE(cb->count(), 3);
        QVERIFY(f.asked.isEmpty());
        QCOMPARE(st::writes(f.module()), QStringList());
    }

    // MAF(P) adds the entry 58 and keeps the choice.
    void mafPAddsCoefficient58() {
        QVERIFY(f.connect(QStringLiteral("DEMO TR-70")));
        QComboBox* cb = f.ui().cb_K;
        QCOMPARE(cb->count(), 3);
        QTest::mouseClick(f.ui().AdvTBtn_MAF_P, Qt::LeftButton);
        QCOMPARE(cb->count(), 4);
        QCOMPARE(cb->itemText(3), QStringLiteral("58"));
        QCOMPARE(cb->currentText(), QStringLiteral("1"));
        QVERIFY(f.asked.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!f.switching(), 3000);
        QCOMPARE(f.module()->reg(0) & 0x18, 0x10);
    }

    // The MAF(P) view's note on the table panel is in the language in force; the other
    // views empty it, and a language switch leaves an empty note empty. Without a port the
    // views are shown but nothing is switched.
    void mafPNote() {
        QLabel* note = f.w->Panel_3D->ui.Panel_lbl_MAF;
        f.w->atbEngClick();
        f.w->Modes->AdvTBtn_MAF_PClick();
        QCOMPARE(note->text(), QStringLiteral("A value \"- 50\" corresponds the change of tension on \"0,5 V\""));
        f.w->Modes->AdvTBtn_OptClick();
        QCOMPARE(note->text(), QString());
        f.w->atbRusClick();
        QCOMPARE(note->text(), QString());
        f.w->Modes->AdvTBtn_MAF_PClick();
        QCOMPARE(note->text(), QStringLiteral("Значение \"- 50\" соответствует изменению напряжения на \"0,5 В\""));
        f.w->atbEngClick();
        QVERIFY(note->text().startsWith(QStringLiteral("A value")));
        f.w->atbRusClick();
        QVERIFY(!f.switching());
    }

    // The switch reads register 00, keeps all but the mode bits, and logs what it read: the
    // module answering "80" (emulator) to the optimizer switch is written "0000)".
    void optimizerSwitchReadModifyWrite() {
        QVERIFY(f.connect(QStringLiteral("DEMO TR-70"), [](sim::SimModule* s) { s->setReg(0, 0x08); }));
        f.module()->clearReceived();
        QTest::mouseClick(f.ui().AdvTBtn_Opt, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!f.switching(), 3000);
        QCOMPARE(wt::distinctRuns(f.module()->receivedItems()), (QStringList{"00*", "0000)"}));
        QCOMPARE(int(f.module()->reg(0)), 0x00);
        const QStringList log = wt::logLines(*f.w);
        const int at = int(log.indexOf(QRegularExpression(
            QStringLiteral("^ПЕРЕХОД В РЕЖИМ ОПТИМИЗАТОРА\\. ПОЛУЧЕНЫ БИТЫ EEPROM-00 \\d.*"))));
        QVERIFY(at >= 0);
        QCOMPARE(log.at(at + 1), QStringLiteral("EEPROM-00 = 0001 0000"));
        QCOMPARE(log.at(at + 2), QString());
        QVERIFY(log.indexOf(QRegularExpression(QStringLiteral("^Выбран режим ОПТИМИЗАТОР \\d.*"))) > at);
        QVERIFY(f.w->Modes->Flag_User_Opt);
    }

    // The user's MAF(P) switch and the option write it runs end together, whatever
    // register the last option key named: register 00 holds the MAF(P) bits, that
    // register its value, and neither timer keeps running.
    void mafPSwitchWithOptionWrite_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("button"); // set down beforehand, not written
        QTest::addColumn<QStringList>("writes");
        QTest::addColumn<int>("reg");
        QTest::addColumn<int>("value");
        QTest::newRow("no key yet") << "" << "" << QStringList{"0100)"} << 0x00 << 0x10;
        QTest::newRow("register 00") << "Other_System_Off" << "atb_Other_System_Off"
                                     << QStringList{"0100)", "0900)"} << 0x00 << 0x90;
        QTest::newRow("register 09") << "Other_NumBurn_6" << "atb_Other_NumBurn_6"
                                     << QStringList{"0100)", "6090)"} << 0x09 << 6;
    }
    void mafPSwitchWithOptionWrite() {
        QFETCH(QString, key);
        QFETCH(QString, button);
        QFETCH(QStringList, writes);
        QFETCH(int, reg);
        QFETCH(int, value);
        QVERIFY(f.connect(QStringLiteral("DEMO TR-70"), [](sim::SimModule* s) { s->setReg(0, 0x00); }));
        f.w->RegWriter->RegRab_Key = key;
        if (!button.isEmpty()) st::find<QToolButton>(*f.w, button)->setChecked(true);
        f.module()->clearReceived();
        QTest::mouseClick(f.ui().AdvTBtn_MAF_P, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!f.switching(), 3000);
        QTest::qWait(300); // nothing starts again
        QVERIFY(!f.switching());
        QCOMPARE(wt::distinctRuns(st::writes(f.module())), writes);
        QCOMPARE(f.module()->reg(0) & 0x18, 0x10);
        QCOMPARE(int(f.module()->reg(reg)), value);
        f.shoot(QStringLiteral("tr70_switched_MAF_P_") + QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_'));
    }

    // The optimizer view learns the sensor types from A5 and A9: wideband sensors get their
    // choice of reading (ticked as saved) and make the leanness adjustable.
    void sensorTypes_data() {
        QTest::addColumn<int>("a5");
        QTest::addColumn<int>("a9");
        QTest::addColumn<bool>("leanness");
        QTest::newRow("both zirconia") << 0x00 << 0x00 << false;
        QTest::newRow("sensor 1 wideband") << 0x01 << 0x00 << true;
        QTest::newRow("sensor 2 wideband") << 0x00 << 0x20 << true;
    }
    void sensorTypes() {
        QFETCH(int, a5);
        QFETCH(int, a9);
        QFETCH(bool, leanness);
        f.w->Modes->Type_In_WidthLine_ZOND1 = QStringLiteral("1");
        QVERIFY(f.connect(QStringLiteral("DEMO TR-70"), [a5, a9](sim::SimModule* s) {
            s->setEngineRunning(false);
            s->setReg(0, 0x00);
            s->setWork(0xA5, quint8(a5));
            s->setWork(0xA9, quint8(a9));
        }));
        const auto& p = f.w->Panel_Parr_Parr_Max->ui;
        const Messages& m = msgs();
        QCOMPARE(!p.CheckBox_D1->isHidden(), a5 != 0);
        QCOMPARE(!p.CheckBox_D2->isHidden(), a9 != 0);
        QCOMPARE(f.w->StatusBar_Bottom->panelText(1), a5 ? m.Msg_Sensor1_Wideband : m.Msg_Sensor1_Zirconia);
        QCOMPARE(f.w->StatusBar_Bottom->panelText(2), a9 ? m.Msg_Sensor2_Wideband : m.Msg_Sensor2_Zirconia);
        QCOMPARE(f.w->Ctx.module.Ed_Type_Datchik_1_RU,
                 a5 ? QStringLiteral("Широкополосный") : QStringLiteral("Циркониевый"));
        QCOMPARE(!f.dimmed(QStringLiteral("gb_LAMBDA_StepSmesi")), leanness);
        if (a5) {
            QVERIFY(p.CheckBox_D1->isChecked());
            QCOMPARE(p.atb_D1->text(), m.Msg_D1_WB_Current);
            QVERIFY(!p.atb_D1->isHidden() && p.atb_D1_do->isHidden());
        }
        if (a9) {
            QVERIFY(!p.CheckBox_D2->isChecked());
            QCOMPARE(p.atb_D2->text(), m.Msg_D2_AFR);
        }
        // The emulator view offers no choice.
        QTest::mouseClick(f.ui().AdvTBtn_Emu, Qt::LeftButton);
        QVERIFY(p.CheckBox_D1->isHidden() && p.CheckBox_D2->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(!f.switching(), 3000);
    }
};

QTEST_MAIN(TestModes)
#include "test_modes.moc"
