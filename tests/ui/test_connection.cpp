// Connecting through the real window to the simulated module: the identification chain,
// the settings registers decoded into the panel, the watchdog and the odd answers.
#include "app/protocolpanel.h"
#include "app/statusbar.h"
#include "common/hex.h"
#include "settings/registers.h"
#include "settings/settingspanel.h"
#include "settings/settingsreader.h"
#include "windowtest.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>

namespace {
const QStringList kChain = {
    "47%", "57%", "04%", "14%", "24%", "D4%", "E4%", "5A%", "9A%", "00*", "10*", "40*", "50*", "90*", "41*", "51*",
    "71*", "81*", "91*", "B0*", "F0*", "01*", "21*", "31*", "87*", "97*", "A7*", "B7*", "C7*", "D7*", "E7*", "F7*",
};

QString regText(TForm1& w, const QString& control) {
    QObject* o = w.Panel_Sett_Max->findChild<QObject*>(control);
    if (auto* e = qobject_cast<QLineEdit*>(o)) return e->text();
    if (auto* c = qobject_cast<QComboBox*>(o)) return c->currentText();
    if (auto* b = qobject_cast<QAbstractButton*>(o)) return b->isChecked() ? b->text() + "[down]" : b->text();
    return QStringLiteral("<no %1>").arg(control);
}
} // namespace

class TestConnection : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;

    bool connected() const { return !w->Ex->Timer_Read->isActive() && w->windowTitle().contains(QStringLiteral("Модель")); }

private slots:
    void init() {
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        wt::freshConfiguration();
        w = std::make_unique<TForm1>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void cleanup() {
        w.reset();
        QLocale::setDefault(QLocale::c());
    }

    void wholeChain_data() {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("identifier");
        QTest::newRow("TR-70") << "DEMO TR-70" << "TR-70A03";
        QTest::newRow("TR-90") << "DEMO TR-90" << "TR-90B01";
    }
    void wholeChain() {
        QFETCH(QString, port);
        QFETCH(QString, identifier);
        sim::SimModule* m = wt::connectDemo(*w, port);
        QVERIFY(m);
        QCOMPARE(w->StatusBar_Top->panelText(0), QStringLiteral("Ожидайте подключения"));
        QVERIFY(!w->cbPort->isEnabled());
        QVERIFY(!w->atb_Seans->isEnabled()); // blocked while identifying
        QTRY_COMPARE_WITH_TIMEOUT(w->StatusBar_Top->panelText(0), QStringLiteral("Модуль подключен"), 2000);
        QCOMPARE(w->ProgressBar1->maximum(), 30);
        QTRY_VERIFY_WITH_TIMEOUT(connected(), 5000);

        QCOMPARE(wt::distinctRuns(m->receivedItems()), kChain);
        QCOMPARE(w->windowTitle(), QStringLiteral("Настройка оптимизатора. Модель  ") + identifier);
        QCOMPARE(w->StatusBar_Bottom->panelText(0), QStringLiteral("Модель оптимизатора: ") + identifier);
        QVERIFY(w->atb_Sett_min->isVisible());
        QVERIFY(w->atb_Parr_min->isVisible());
        QVERIFY(w->atb_Seans->isEnabled());
        QVERIFY(!w->StatusBar_Top->alarm());

        // The log: register reports, then the identifier's exchange lines, the last one
        // followed by an empty line, the success line and another empty line.
        const QStringList log = wt::logLines(*w);
        QVERIFY(log.filter(QRegularExpression(QStringLiteral("^EEPROM-00 =  [01]{4} [01]{4}$"))).size() == 1);
        QVERIFY(log.filter(QRegularExpression(QStringLiteral("^EEPROM-01 =  [01]{4} [01]{4}$"))).size() == 1);
        int success = -1;
        for (int i = 0; i < log.size(); ++i)
            if (log.at(i).startsWith(QStringLiteral("Модуль подключен успешно "))) success = i;
        QVERIFY(success > 2);
        QCOMPARE(log.filter(QStringLiteral("Модуль подключен успешно ")).size(), 1);
        QVERIFY2(log.at(success - 2).startsWith(QStringLiteral("Запрос F7*   Ответ ")), qPrintable(log.at(success - 2)));
        QCOMPARE(log.at(success - 1), QString());
        QCOMPARE(log.value(success + 1), QString());
        // While the chain ran, no empty line came between the exchange lines.
        for (int i = 2; i < success - 2; ++i) QVERIFY2(!log.at(i).isEmpty(), qPrintable(QString::number(i)));

        // Connecting again while connected is refused and disturbs nothing.
        const QString title = w->windowTitle();
        QTest::mouseClick(w->atb_ModuleOn, Qt::LeftButton);
        const auto boxes = w->findChildren<QMessageBox*>(QStringLiteral("ErrorBox"));
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.first()->text(), QStringLiteral("Нельзя менять свойство, пока порт открыт"));
        QVERIFY(!w->Ex->Timer_Read->isActive());
        QVERIFY(w->atb_Seans->isEnabled());
        QCOMPARE(w->windowTitle(), title);
        boxes.first()->close();

        // Disconnecting closes the port and restores the selector.
        QTest::mouseClick(w->atb_ModuleOff, Qt::LeftButton);
        QVERIFY(!w->BComPort1->isOpen());
        QVERIFY(w->cbPort->isEnabled());
        QCOMPARE(w->StatusBar_Top->panelText(0), QStringLiteral("Модуль отключен"));
    }

    // Each register's byte, put into the module's memory, shows as the panel's text.
    void registerDecoding_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("reg");
        QTest::addColumn<int>("byte");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("shown");
        for (const QString& loc : {QStringLiteral("ru_RU"), QStringLiteral("C")}) {
            const bool comma = loc == QLatin1String("ru_RU");
            auto dec = [&](const char* t) { return comma ? QString::fromUtf8(t) : QString::fromUtf8(t).replace(',', '.'); };
            const QByteArray p = loc.toLatin1() + " ";
            QTest::newRow(p + "04 fuel") << loc << 0x04 << 123 << "Ed_Other_K_Fuel" << "123";
            QTest::newRow(p + "05 Lambda 1") << loc << 0x05 << 108 << "Ed_LAMBDA_1_Korr" << dec("-0,2");
            QTest::newRow(p + "0B MAF k") << loc << 0x0B << 150 << "Ed_DMRV_K_Korr" << dec("0,22");
            QTest::newRow(p + "0F volume") << loc << 0x0F << 16 << "Ed_Other_VolEng" << dec("1,6");
            QTest::newRow(p + "10 threshold 36") << loc << 0x10 << 36 << "Ed_DMRV_Porog_Korr" << dec("0,8");
            QTest::newRow(p + "12 U max 162") << loc << 0x12 << 162 << "Ed_LAMBDA_U_Max" << dec("0,8");
            QTest::newRow(p + "15 point 32") << loc << 0x15 << 32 << "Ed_Other_Point_Korr" << "2300";
            QTest::newRow(p + "15 point 0") << loc << 0x15 << 0 << "Ed_Other_Point_Korr" << "0";
            QTest::newRow(p + "17 delay 96") << loc << 0x17 << 96 << "Ed_Other_Zad_Korr" << "50";
        }
        QTest::newRow("09 injectors 6") << "ru_RU" << 0x09 << 6 << "atb_Other_NumBurn_6" << "6[down]";
        QTest::newRow("13 leanness 143") << "ru_RU" << 0x13 << 143 << "atb_LAMBDA_StepSmesi" << "18,0:1";
        QTest::newRow("13 no code keeps caption") << "ru_RU" << 0x13 << 21 << "atb_LAMBDA_StepSmesi" << "15,5:1";
        QTest::newRow("14 K 4") << "ru_RU" << 0x14 << 4 << "cb_K" << "4";
        QTest::newRow("18 decay 8") << "ru_RU" << 0x18 << 8 << "atb_Other_Spada_Korr_8" << "8[down]";
    }
    void registerDecoding() {
        QFETCH(QString, locale);
        QFETCH(int, reg);
        QFETCH(int, byte);
        QFETCH(QString, control);
        QFETCH(QString, shown);
        QLocale::setDefault(QLocale(locale));
        wt::connectDemo(*w, QStringLiteral("DEMO TR-70"), [&](sim::SimModule* m) { m->setReg(reg, quint8(byte)); });
        QTRY_VERIFY_WITH_TIMEOUT(connected(), 6000);
        QCOMPARE(regText(*w, control), shown);
    }

    // Register 00 byte 08: logged as 0001 0000, emulator bit kept; bits set the controls.
    void modeAndSensorBits() {
        wt::connectDemo(*w, QStringLiteral("DEMO TR-70"), [](sim::SimModule* m) {
            m->setReg(0x00, 0x08 | 0x04 | 0x40 | 0x80);
            m->setReg(0x01, 0x5A); // 0101 1010
        });
        QTRY_VERIFY_WITH_TIMEOUT(connected(), 6000);
        QCOMPARE(w->Settings->Bits_EE00.join(QString()), QStringLiteral("00110011")); // index = bit number
        const QStringList log = wt::logLines(*w);
        QVERIFY(log.contains(QStringLiteral("EEPROM-00 =  0011 0011")));
        QVERIFY(log.contains(QStringLiteral("EEPROM-01 =  0101 1010")));
        const auto& ui = w->Panel_Sett_Max->ui;
        QCOMPARE(ui.atb_Other_TicherEmu->text(), QStringLiteral("Выключить"));
        QVERIFY(ui.atb_LAMBDA_U_otn_Ground->isChecked());
        QVERIFY(ui.atb_Other_System_Off->isChecked());
        QVERIFY(ui.atb_LAMBDA_2_Normal->isChecked());      // bit 0 = 0
        QVERIFY(ui.atb_Other_Mode_3D->isChecked());        // bit 1 = 1
        QVERIFY(ui.atb_DMRV_Type_Sensor_MAF->isChecked()); // bit 2 = 0
        QVERIFY(ui.atb_LAMBDA_Way_Displacement->isChecked());
        QVERIFY(ui.atb_DMRV_Type_Analog->isChecked());
        QVERIFY(ui.atb_DMRV_Korr_Reverse->isChecked());
        QVERIFY(ui.atb_DMRV_Diapazone_More->isChecked());
        QVERIFY(ui.atb_DMRV_Nagruzka_Off->isChecked());
    }

    // Register 00 with each bit that sets a control against its neighbour left clear, and
    // the other way round, so that a control set from the wrong bit shows.
    void modeBitsOneByOne_data() {
        QTest::addColumn<int>("byte");
        QTest::addColumn<bool>("learning");
        QTest::addColumn<bool>("ground");
        QTest::addColumn<bool>("off");
        QTest::newRow("bits 2 and 6") << 0x44 << true << true << false;
        QTest::newRow("bits 3 and 7") << 0x88 << false << false << true;
    }
    void modeBitsOneByOne() {
        QFETCH(int, byte);
        QFETCH(bool, learning);
        QFETCH(bool, ground);
        QFETCH(bool, off);
        auto& ui = w->Panel_Sett_Max->ui;
        // Start from the opposite of what the byte says, so that a missed bit shows too.
        ui.atb_LAMBDA_U_otn_Ground->setChecked(!ground);
        ui.atb_LAMBDA_U_otn_Input->setChecked(ground);
        ui.atb_Other_System_Off->setChecked(!off);
        ui.atb_Other_System_On->setChecked(off);
        w->Panel_Sett_Max->showLearning(!learning);
        wt::connectDemo(*w, QStringLiteral("DEMO TR-70"), [byte](sim::SimModule* m) { m->setReg(0x00, quint8(byte)); });
        QTRY_VERIFY_WITH_TIMEOUT(connected(), 6000);
        QCOMPARE(ui.atb_Other_TicherEmu->text(), learning ? QStringLiteral("Выключить") : QStringLiteral("Включить"));
        QCOMPARE(ui.atb_LAMBDA_U_otn_Ground->isChecked(), ground);
        QCOMPARE(ui.atb_LAMBDA_U_otn_Input->isChecked(), !ground);
        QCOMPARE(ui.atb_Other_System_Off->isChecked(), off);
        QCOMPARE(ui.atb_Other_System_On->isChecked(), !off);
        QCOMPARE(regs::textFromBits(w->Settings->Bits_EE00), Tab_Byte_Bin().at(byte));
    }

    // K = 58 adds the entry once, also over a second connection, and the point of
    // maximum correction uses K' = 2. (The module is in MAF(P) mode, the one mode whose view
    // keeps the entry.)
    void coefficient58() {
        for (int round = 0; round < 2; ++round) {
            wt::connectDemo(*w, QStringLiteral("DEMO TR-70"), [](sim::SimModule* m) {
                m->setReg(0x00, 0x12);
                m->setReg(0x14, 58);
                m->setReg(0x15, 32);
            });
            QTRY_VERIFY_WITH_TIMEOUT(connected(), 6000);
            QCOMPARE(w->Panel_Sett_Max->ui.cb_K->count(), 4);
            QCOMPARE(w->Panel_Sett_Max->ui.cb_K->currentText(), QStringLiteral("58"));
            QCOMPARE(w->Panel_Sett_Max->ui.Ed_Other_Point_Korr->text(), QStringLiteral("4600"));
            w->atb_ModuleOffClick();
            w->setWindowTitle(QString());
        }
    }

    // An invalid decay byte re-reads 14, 15, 17 and 18 until the shared counter passes 6;
    // the counter starts again at every connection.
    void decayRetriesEveryConnection() {
        for (int round = 0; round < 2; ++round) {
            sim::SimModule* m = wt::connectDemo(*w, QStringLiteral("DEMO TR-70"),
                                                [](sim::SimModule* s) { s->setReg(0x18, 3); });
            QTRY_VERIFY_WITH_TIMEOUT(connected(), 8000);
            const QStringList runs = wt::distinctRuns(m->receivedItems());
            QCOMPARE(runs.count(QStringLiteral("41*")), 4);
            QCOMPARE(runs.count(QStringLiteral("81*")), 4);
            const int first = int(runs.indexOf(QStringLiteral("41*")));
            const QStringList expected = {"41*", "51*", "71*", "81*", "41*", "51*", "71*", "81*", "41*", "51*",
                                          "71*", "81*", "41*", "51*", "71*", "81*", "91*"};
            QCOMPARE(runs.mid(first, expected.size()), expected);
            w->atb_ModuleOffClick();
            w->setWindowTitle(QString());
        }
    }

    // A numeric register answered with a non-hex digit leaves its control as it was.
    void garbledNumberKeepsControl() {
        wt::connectDemo(*w, QStringLiteral("DEMO TR-70"), [](sim::SimModule* m) {
            sim::Faults f;
            f.badItem = QStringLiteral("40*");
            f.badAnswer = QStringLiteral("5");
            f.badAnswerCount = -1;
            m->setFaults(f);
        });
        QTRY_VERIFY_WITH_TIMEOUT(connected(), 6000);
        QCOMPARE(w->Panel_Sett_Max->ui.Ed_Other_K_Fuel->text(), QStringLiteral("100"));
    }

    // "F7*" with one invalid digit is asked again until it is whole.
    void lastCharacterRepeated() {
        sim::SimModule* m = wt::connectDemo(*w, QStringLiteral("DEMO TR-70"), [](sim::SimModule* s) {
            sim::Faults f;
            f.badItem = QStringLiteral("F7*");
            f.badAnswer = QStringLiteral("3G ");
            f.badAnswerCount = 3;
            s->setFaults(f);
        });
        QTRY_VERIFY_WITH_TIMEOUT(connected(), 6000);
        QVERIFY(m->receivedItems().count(QStringLiteral("F7*")) >= 4);
        QVERIFY(w->windowTitle().endsWith(QStringLiteral("TR-70A03")));
    }

    void unknownModel() {
        wt::connectDemo(*w, QStringLiteral("DEMO TR-70"), [](sim::SimModule* m) {
            const QByteArray id("XR-7Q123");
            for (int i = 0; i < 8; ++i) m->setReg(0x78 + i, quint8(id.at(i)));
        });
        QTRY_VERIFY_WITH_TIMEOUT(connected(), 6000);
        QCOMPARE(w->windowTitle(), QStringLiteral("Настройка оптимизатора. Модель  XR-7Q123"));
        QCOMPARE(w->Conn->modelName(), QStringLiteral("XR-7Q"));
    }

    // A module that answers "47%" and falls silent: "Модуль подключен", then after 5 s
    // the failure on red; the user recovers by disconnecting.
    void silentAfterFirstAnswer() {
        QElapsedTimer t;
        t.start();
        wt::connectDemo(*w, QStringLiteral("DEMO TR-70"), [](sim::SimModule* m) {
            sim::Faults f;
            f.answerLimit = 1;
            m->setFaults(f);
        });
        QTRY_COMPARE_WITH_TIMEOUT(w->StatusBar_Top->panelText(0), QStringLiteral("Модуль подключен"), 2000);
        QTRY_COMPARE_WITH_TIMEOUT(w->StatusBar_Top->panelText(0), QStringLiteral("Подключение не удалось"), 7000);
        QVERIFY(t.elapsed() >= 4900);
        QVERIFY(w->StatusBar_Top->alarm());
        QVERIFY(!w->Ex->Timer_Read->isActive());
        QVERIFY(w->atb_ModuleOff->isEnabled());
        QVERIFY(!w->atb_Seans->isEnabled()); // still blocked
        w->atb_ModuleOffClick();
        QVERIFY(!w->StatusBar_Top->alarm());
        QCOMPARE(w->ProgressBar1->value(), 0);
    }

    // The watchdog ends with the answer to "C7*": a module that falls silent from "D7*" on
    // is not reported as failed.
    void silentAfterFifthCharacter() {
        QElapsedTimer clock;
        clock.start();
        sim::SimModule* m = wt::connectDemo(*w, QStringLiteral("DEMO TR-70"), [](sim::SimModule* s) {
            sim::Faults f;
            f.badItem = QStringLiteral("D7*");
            f.badAnswer = QString(); // no answer at all
            f.badAnswerCount = -1;
            s->setFaults(f);
        });
        QTRY_VERIFY_WITH_TIMEOUT(m->receivedItems().contains(QStringLiteral("D7*")), 4000);
        QVERIFY(!w->Ex->Timer_Stop_Read->isActive());
        QTest::qWait(int(qMax<qint64>(0, 5500 - clock.elapsed())));
        QVERIFY(!w->StatusBar_Top->alarm());
        QCOMPARE(w->StatusBar_Top->panelText(0), QStringLiteral("Модуль подключен"));
        QVERIFY(w->Ex->Timer_Read->isActive()); // still asking for the sixth character
        QVERIFY(w->atb_Seans->isEnabled());     // unblocked with "C7*"
    }

    // Disconnecting before "C7*" closes the port; the chain's timer ticks on writing
    // nothing, and the watchdog still reports the failure.
    void disconnectDuringChain() {
        sim::SimModule* m = wt::connectDemo(*w, QStringLiteral("DEMO TR-70"));
        QTRY_VERIFY_WITH_TIMEOUT(m->receivedItems().size() >= 3, 2000);
        w->atb_ModuleOffClick();
        QVERIFY(!w->BComPort1->isOpen());
        QVERIFY(w->Ex->Timer_Read->isActive());
        QTRY_COMPARE_WITH_TIMEOUT(w->StatusBar_Top->panelText(0), QStringLiteral("Подключение не удалось"), 7000);
        QVERIFY(w->StatusBar_Top->alarm());
    }
};

QTEST_MAIN(TestConnection)
#include "test_connection.moc"
