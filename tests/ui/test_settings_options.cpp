// The option switches through the window and the simulated module: every option's log
// line and register write, the bits kept, the dimming rules, the chart selectors, the
// leanness list, the crankshaft coefficient and the crankshaft sensor warning.
#include "common/hex.h"
#include "common/messages.h"
#include "dialogs/confirmations.h"
#include "settings/registers.h"
#include "settings/registerwriter.h"
#include "settings/settingsreader.h"
#include "settingstest.h"
#include "tables/table3dpanel.h"
#include "telemetry/parampanel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

class TestSettingsOptions : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w; // shared by the tests that need no particular module

    sim::SimModule* module() const { return w->BComPort1->demoModule(); }
    Ui::SettingsPanel& ui() const { return w->Panel_Sett_Max->ui; }

    static bool waitWritten(TForm1& f) {
        return QTest::qWaitFor([&] { return !f.Ex->Timer_RegRab->isActive(); }, 2000);
    }

    static void zirconiaSensors(TForm1& f) {
        f.Ctx.module.Ed_Type_Datchik_1_RU = QStringLiteral("Циркониевый");
        f.Ctx.module.Ed_Type_Datchik_2_RU = QStringLiteral("Циркониевый");
    }

    // Whether a chart row is offered (hidden rows are hidden explicitly).
    static bool shown(QWidget* w) { return !w->isHidden(); }

  private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        w = st::connectedWindow();
        QVERIFY(w);
    }
    void cleanupTestCase() {
        w.reset();
        QLocale::setDefault(QLocale::c());
    }

    // A key that names no register (no option chosen yet) starts nothing.
    void unknownKeyWritesNothing() {
        QVERIFY(w->RegWriter->RegRab_Key.isEmpty());
        const QString pending = w->Ex->Cmd_Pending;
        w->RegWriter->Btn_RegRab_Write();
        QVERIFY(!w->Ex->Timer_RegRab->isActive());
        QCOMPARE(w->Ex->Cmd_Pending, pending);
    }

    // Each option: its log line, one write of its register, and in the module exactly
    // its bit (or value) changed.
    void optionWrites_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("reg");
        QTest::addColumn<int>("bit"); // -1: the whole byte is the value
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("log");
        auto bit = [](const char* b, int reg, int n, int v, const char* log) {
            QTest::newRow(b) << b << reg << n << v << QString::fromUtf8(log);
        };
        // Register 00 first: the way options below dim the offset reference.
        bit("atb_LAMBDA_U_otn_Ground", 0x00, 6, 1, " Напряжение относительно массы");
        bit("atb_LAMBDA_U_otn_Input", 0x00, 6, 0, " Напряжение относительно входа");
        bit("atb_Other_System_Off", 0x00, 7, 1, " Система выключена");
        bit("atb_Other_System_On", 0x00, 7, 0, " Система включена");
        bit("atb_Sens_Kolenval_No", 0x00, 0, 0, " Не использовать датчик коленвала");
        // The load axis of the correction tables, on the 3D panel, writes the same register.
        bit("atb_KorrTab_VV", 0x00, 1, 0, " Производить коррекцию таблиц по напряжению от времени впрыска");
        bit("atb_KorrTab_MAF", 0x00, 1, 1, " Производить коррекцию таблиц по напряжению от MAF");
        bit("atb_LAMBDA_2_Catalizer", 0x01, 0, 1, " Применение канала Лямбда 2 - Катализатор");
        bit("atb_LAMBDA_2_Normal", 0x01, 0, 0, " Применение канала Лямбда 2 - Обычный");
        bit("atb_Other_Mode_Simple", 0x01, 1, 0, " Режим коррекции - простая");
        bit("atb_Other_Mode_3D", 0x01, 1, 1, " Режим коррекции - 3D");
        bit("atb_DMRV_Type_Sensor_MAP", 0x01, 2, 1, " Тип датчика - MAP");
        bit("atb_DMRV_Type_Sensor_MAF", 0x01, 2, 0, " Тип датчика - MAF");
        bit("atb_LAMBDA_Way_Normal", 0x01, 3, 0, " Способ подключения ДМРВ - Обычный");
        bit("atb_LAMBDA_Way_Displacement", 0x01, 3, 1, " Способ подключения ДМРВ - Смешение");
        bit("atb_DMRV_Diapazone_More", 0x01, 6, 1, " Диапазон частот ДМРВ - более 1 КГц");
        bit("atb_DMRV_Diapazone_Less", 0x01, 6, 0, " Диапазон частот ДМРВ - менее 1 КГц");
        bit("atb_DMRV_Korr_Reverse", 0x01, 5, 0, " Характер коррекции ДМРВ - обратная");
        bit("atb_DMRV_Korr_Right", 0x01, 5, 1, " Характер коррекции ДМРВ - прямая");
        bit("atb_DMRV_Nagruzka_On", 0x01, 7, 1, " Нагрузка ДМРВ 1 КОм - включена");
        bit("atb_DMRV_Nagruzka_Off", 0x01, 7, 0, " Нагрузка ДМРВ 1 КОм - выключена");
        bit("atb_DMRV_Type_Digital", 0x01, 4, 0, " Тип ДМРВ - Цифровой");
        bit("atb_DMRV_Type_Analog", 0x01, 4, 1, " Тип ДМРВ - Аналоговый");
        bit("atb_Other_Spada_Korr_8", 0x18, -1, 8, " Уровень спада коррекции = 8");
        bit("atb_Other_Spada_Korr_1", 0x18, -1, 1, " Уровень спада коррекции = 1");
        bit("atb_Other_Spada_Korr_4", 0x18, -1, 4, " Уровень спада коррекции = 4");
        for (int n : {4, 1, 8, 2, 3, 5, 6, 7}) {
            const QByteArray name = "atb_Other_NumBurn_" + QByteArray::number(n);
            QTest::newRow(name) << QString::fromLatin1(name) << 0x09 << -1 << n
                                << QStringLiteral(" Количество форсунок = %1").arg(n);
        }
    }
    void optionWrites() {
        QFETCH(QString, button);
        QFETCH(int, reg);
        QFETCH(int, bit);
        QFETCH(int, value);
        QFETCH(QString, log);
        const int before = module()->reg(reg);
        const int expected = bit < 0 ? value : (before & ~(1 << bit)) | (value << bit);
        module()->clearReceived();
        QTest::mouseClick(st::find<QToolButton>(*w, button), Qt::LeftButton);
        QVERIFY(st::hasAction(*w, log));
        QVERIFY(waitWritten(*w));
        QCOMPARE(int(module()->reg(reg)), expected);
        QCOMPARE(wt::distinctRuns(st::writes(module())), QStringList{writeItem(expected, reg)});
        QCOMPARE(w->RegWriter->RegRab_Key, button.mid(4));
    }

    // Register 00 from the controls: mode, table axis, system, reference and sensor bits,
    // with the learning bit (2) kept as read.
    void registerZeroKeepsLearningBit_data() {
        QTest::addColumn<int>("read");
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("written");
        QTest::newRow("learning off") << 0x08 << "8800)" << 0x88;
        QTest::newRow("learning on, bit 5 set") << 0x2C << "CA00)" << 0xAC;
    }
    void registerZeroKeepsLearningBit() {
        QFETCH(int, read);
        QFETCH(QString, item);
        QFETCH(int, written);
        auto f = st::connectedWindow(QStringLiteral("DEMO TR-70"),
                                     [read](sim::SimModule* m) { m->setReg(0, quint8(read)); });
        QVERIFY(f);
        auto& u = f->Panel_Sett_Max->ui;
        u.AdvTBtn_Emu->setChecked(true);
        f->Panel_3D->ui.atb_KorrTab_VV->setChecked(true);
        u.atb_Sens_Kolenval_No->setChecked(true);
        QVERIFY(u.atb_LAMBDA_U_otn_Input->isChecked());
        sim::SimModule* m = f->BComPort1->demoModule();
        m->clearReceived();
        QTest::mouseClick(u.atb_Other_System_Off, Qt::LeftButton);
        QVERIFY(waitWritten(*f));
        QCOMPARE(wt::distinctRuns(st::writes(m)), QStringList{item});
        QCOMPARE(int(m->reg(0)), written);
        QCOMPARE(regs::textFromBits(f->Settings->Bits_EE00), Tab_Byte_Bin().at(written));
    }

    // Mouse-down rules: the groups that lose their meaning are dimmed, the others shown,
    // and the chart offers the matching MAF selectors.
    void dimmingRules_data() {
        QTest::addColumn<QString>("first"); // pressed before, to start from the opposite
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("dimmed");
        QTest::addColumn<QStringList>("undimmed");
        QTest::addColumn<QStringList>("rowsShown");
        QTest::addColumn<QStringList>("rowsHidden");
        QTest::newRow("way normal")
            << "atb_LAMBDA_Way_Displacement"
            << "atb_LAMBDA_Way_Normal" << QStringList{"gb_LAMBDA_U_Max", "gb_LAMBDA_U_otn"}
            << QStringList{} << QStringList{} << QStringList{};
        QTest::newRow("way offset")
            << "atb_LAMBDA_Way_Normal"
            << "atb_LAMBDA_Way_Displacement" << QStringList{}
            << QStringList{"gb_LAMBDA_U_Max", "gb_LAMBDA_U_otn"} << QStringList{} << QStringList{};
        QTest::newRow("analog MAF")
            << "atb_DMRV_Type_Digital"
            << "atb_DMRV_Type_Analog" << QStringList{"gb_DMRV_Diapazone"}
            << QStringList{"gb_DMRV_Porog_Korr"}
            << QStringList{"atb_U_analog", "cb_U_analog", "atb_U_analog_Color"}
            << QStringList{
                   "atb_Per4_imp",       "cb_Per4_imp",       "atb_Per4_imp_Color",      "Shape100",
                   "atb_digDMRV_Output", "cb_digDMRV_Output", "atb_digDMRV_Output_Color"};
        QTest::newRow("digital MAF")
            << "atb_DMRV_Type_Analog"
            << "atb_DMRV_Type_Digital" << QStringList{"gb_DMRV_Porog_Korr"}
            << QStringList{"gb_DMRV_Diapazone"}
            << QStringList{"atb_Per4_imp", "cb_Per4_imp", "atb_Per4_imp_Color"}
            << QStringList{"atb_U_analog", "cb_U_analog", "atb_U_analog_Color"};
        QTest::newRow("simple correction")
            << "atb_Other_Mode_3D"
            << "atb_Other_Mode_Simple" << QStringList{}
            << QStringList{"gb_DMRV_K_Korr", "gb_LAMBDA_1_Korr"} << QStringList{} << QStringList{};
        QTest::newRow("3D correction")
            << "atb_Other_Mode_Simple"
            << "atb_Other_Mode_3D" << QStringList{"gb_DMRV_K_Korr", "gb_LAMBDA_1_Korr"}
            << QStringList{} << QStringList{} << QStringList{};
    }
    void dimmingRules() {
        QFETCH(QString, first);
        QFETCH(QString, button);
        QFETCH(QStringList, dimmed);
        QFETCH(QStringList, undimmed);
        QFETCH(QStringList, rowsShown);
        QFETCH(QStringList, rowsHidden);
        QTest::mouseClick(st::find<QToolButton>(*w, first), Qt::LeftButton);
        QVERIFY(waitWritten(*w));
        auto* b = st::find<QToolButton>(*w, button);
        // The rules act on the press, before the click writes.
        QTest::mousePress(b, Qt::LeftButton);
        for (const QString& g : dimmed) {
            auto* box = st::find<QGroupBox>(*w, g);
            QVERIFY2(w->Panel_Sett_Max->isDimmed(box), qPrintable(g));
            QCOMPARE(box->palette().color(QPalette::WindowText), QColor(209, 211, 143));
            for (QWidget* c : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                QVERIFY2(c->isHidden(), qPrintable(c->objectName()));
        }
        for (const QString& g : undimmed) {
            auto* box = st::find<QGroupBox>(*w, g);
            QVERIFY2(!w->Panel_Sett_Max->isDimmed(box), qPrintable(g));
            QCOMPARE(box->palette().color(QPalette::WindowText),
                     w->palette().color(QPalette::WindowText));
            for (QWidget* c : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                QVERIFY2(!c->isHidden(), qPrintable(c->objectName()));
        }
        for (const QString& r : rowsShown)
            QVERIFY2(shown(st::find<QWidget>(*w, r)), qPrintable(r));
        for (const QString& r : rowsHidden)
            QVERIFY2(!shown(st::find<QWidget>(*w, r)), qPrintable(r));
        QTest::mouseRelease(b, Qt::LeftButton);
        QVERIFY(waitWritten(*w));
    }

    // The digital MAF's output frequency is offered only for the range above 1 kHz.
    void outputFrequencyFollowsRange() {
        auto* row = st::find<QWidget>(*w, QStringLiteral("atb_digDMRV_Output"));
        QTest::mouseClick(ui().atb_DMRV_Diapazone_Less, Qt::LeftButton);
        QVERIFY(!shown(row));
        QTest::mouseClick(ui().atb_DMRV_Diapazone_More, Qt::LeftButton);
        QVERIFY(shown(row));
        QVERIFY(waitWritten(*w));
    }

    // Offset connection with two zirconia sensors and channel 2 in ordinary use: a TR-70
    // offers the voltages before and after the module, a TR-90 keeps the plain selectors.
    void displacementSelectors_data() {
        QTest::addColumn<QString>("port");
        QTest::addColumn<bool>("split");
        QTest::newRow("TR-70") << "DEMO TR-70" << true;
        QTest::newRow("TR-90") << "DEMO TR-90" << false;
    }
    void displacementSelectors() {
        QFETCH(QString, port);
        QFETCH(bool, split);
        std::unique_ptr<TForm1> own;
        if (port != QLatin1String("DEMO TR-70")) own = st::connectedWindow(port);
        TForm1* f = own ? own.get() : w.get();
        QVERIFY(f);
        zirconiaSensors(*f);
        auto& u = f->Panel_Sett_Max->ui;
        const auto& p = f->Panel_Parr_Parr_Max->ui;
        u.atb_LAMBDA_2_Normal->setChecked(true);
        QTest::mouseClick(u.atb_LAMBDA_Way_Displacement, Qt::LeftButton);
        QVERIFY(waitWritten(*f));
        for (QWidget* plain :
             std::initializer_list<QWidget*>{p.atb_D1, p.cb_D1, p.atb_D1_Color, p.atb_D2, p.cb_D2})
            QCOMPARE(shown(plain), !split);
        for (QWidget* s : std::initializer_list<QWidget*>{
                 p.atb_D1_do, p.cb_D1_do, p.atb_D1_posle, p.atb_D1_posle_Color, p.atb_D2_do,
                 p.cb_D2_do, p.atb_D2_do_Color, p.atb_D2_posle})
            QCOMPARE(shown(s), split);

        // Back to the ordinary way: plain selectors, captioned as zirconia voltages.
        QTest::mouseClick(u.atb_LAMBDA_Way_Normal, Qt::LeftButton);
        QVERIFY(waitWritten(*f));
        QVERIFY(shown(p.atb_D1) && shown(p.atb_D2));
        QVERIFY(!shown(p.atb_D1_do) && !shown(p.atb_D2_posle));
        QCOMPARE(p.atb_D1->text(), msgs().Msg_D1_Zirc_Voltage);
        QCOMPARE(p.atb_D2->text(), msgs().Msg_D2_Zirc_Voltage);
    }

    // The leanness list: shown over its opener, the choice captions the opener and writes
    // register 13, and the list goes once the pointer has left.
    void leannessList() {
        auto& u = ui();
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3),
                         u.atb_LAMBDA_StepSmesi->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(u.atb_LAMBDA_StepSmesi, &move);
        QVERIFY(u.Panel_LAMBDA_StepSmesi->isVisible());
        QCOMPARE(u.Panel_LAMBDA_StepSmesi->height(), 140);
        const QPoint opener = u.atb_LAMBDA_StepSmesi->mapTo(w->Panel_Sett_Max, QPoint(0, 0));
        QCOMPARE(u.Panel_LAMBDA_StepSmesi->x(), opener.x());
        QCOMPARE(u.Panel_LAMBDA_StepSmesi->geometry().bottom() + 1, opener.y());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(u.atb_LAMBDA_StepSmesi, &leave);
        QVERIFY(w->Timer_Hide_Panels->isActive());
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(u.atb_SSmesi_6, &enter);
        QVERIFY(!w->Timer_Hide_Panels->isActive());

        module()->clearReceived();
        QTest::mouseClick(u.atb_SSmesi_6, Qt::LeftButton);
        QCOMPARE(u.atb_LAMBDA_StepSmesi->text(), QStringLiteral("17,4:1"));
        QVERIFY(st::hasAction(*w, QStringLiteral(" Степень забеднения смеси 17,4:1")));
        QVERIFY(waitWritten(*w));
        QCOMPARE(wt::distinctRuns(st::writes(module())), QStringList{QStringLiteral("B731)")});
        QCOMPARE(int(module()->reg(0x13)), 123);
        QVERIFY(u.Panel_LAMBDA_StepSmesi->isVisible()); // it stays until the timer hides it

        QApplication::sendEvent(u.atb_SSmesi_6, &leave);
        QTRY_VERIFY_WITH_TIMEOUT(!u.Panel_LAMBDA_StepSmesi->isVisible(), 2000);
    }

    // The crankshaft coefficient: the user's choice of an entry writes register 14; a
    // change by the program writes nothing.
    void crankshaftCoefficient() {
        QComboBox* cb = ui().cb_K;
        if (cb->count() == 3) cb->addItem(QStringLiteral("58")); // as a read of 58 adds it
        cb->setCurrentIndex(2);
        module()->clearReceived();
        QTest::qWait(120);
        QVERIFY(st::writes(module()).isEmpty());

        cb->setFocus();
        QTest::keyClick(cb, Qt::Key_Down);
        QCOMPARE(cb->currentText(), QStringLiteral("58"));
        QVERIFY(st::hasAction(*w, QStringLiteral(" Коэффициент часторты вращения коленвала = 58")));
        QVERIFY(waitWritten(*w));
        QCOMPARE(wt::distinctRuns(st::writes(module())), QStringList{QStringLiteral("A341)")});
        QCOMPARE(int(module()->reg(0x14)), 58);

        module()->clearReceived();
        QTest::keyClick(cb, Qt::Key_Up);
        QVERIFY(waitWritten(*w));
        QCOMPARE(wt::distinctRuns(st::writes(module())), QStringList{QStringLiteral("4041)")});
        QCOMPARE(int(module()->reg(0x14)), 4);

        QTest::mouseClick(ui().atb_Other_cb_K, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(cb->view()->isVisible(), 2000);
        cb->hidePopup();
    }

    // The crankshaft sensor: cancelling the warning changes and sends nothing; OK makes
    // the MAF sensor an analog one and writes register 00 with bit 0 set. The warning
    // speaks the interface language, its message stays Russian.
    void crankshaftSensor_data() {
        QTest::addColumn<bool>("english");
        QTest::newRow("Russian") << false;
        QTest::newRow("English") << true;
    }
    void crankshaftSensor() {
        QFETCH(bool, english);
        if (english) msgs().setEnglish();
        auto& u = ui();
        QTest::mouseClick(u.atb_Sens_Kolenval_No, Qt::LeftButton);
        QTest::mouseClick(u.atb_DMRV_Type_Digital, Qt::LeftButton);
        QVERIFY(waitWritten(*w));

        QStringList seen;
        bool answer = false;
        w->Ctx.confirm = [&](QDialog* d) {
            auto* c = static_cast<ConfirmationDialog*>(d);
            seen << d->objectName() << d->windowTitle() << c->ui.Label1->text()
                 << c->ui.atb_OK->text() << c->ui.atb_Cancel->text();
            return answer;
        };
        const QStringList expected =
            english ? QStringList{"fmPredupr0E", "Warning", "", "OK", "Cancel"}
                    : QStringList{"fmPredupr0E", "Предупреждение", "", "ОК", "Отмена"};
        const QString message = QStringLiteral("Внимание! Для выполнения этой функции устройство "
                                               "должно иметь дополнительный вход. Продолжить?");

        const int logSize = int(wt::logLines(*w).size());
        module()->clearReceived();
        QTest::mouseClick(u.atb_Sens_Kolenval_Yes, Qt::LeftButton);
        QCOMPARE(seen.size(), 5);
        QCOMPARE(seen.at(2).simplified(), message);
        seen[2].clear();
        QCOMPARE(seen, expected);
        QVERIFY(u.atb_Sens_Kolenval_No->isChecked());
        QVERIFY(!w->Ex->Timer_RegRab->isActive());
        QCOMPARE(int(wt::logLines(*w).size()), logSize);
        QTest::qWait(120);
        QVERIFY(st::writes(module()).isEmpty());

        answer = true;
        QTest::mouseClick(u.atb_Sens_Kolenval_Yes, Qt::LeftButton);
        const QStringList log = wt::logLines(*w).mid(logSize);
        QCOMPARE(log.size(), 2);
        QVERIFY2(log.at(0).startsWith(
                     QStringLiteral("отредактировано ИСПОЛЬЗОВАТЬ ДАТЧИК КОЛЕНВАЛА = Да ")) &&
                     log.at(0).at(log.at(0).size() - 1).isDigit(),
                 qPrintable(log.at(0)));
        QVERIFY(st::hasAction(*w, QStringLiteral(" Использовать датчик коленвала")));
        QVERIFY(u.atb_DMRV_Type_Analog->isChecked());
        QVERIFY(w->Panel_Sett_Max->isDimmed(u.gb_DMRV_Type));
        QVERIFY(u.atb_DMRV_Type_Analog->isHidden() && u.atb_DMRV_Type_Digital->isHidden());
        QVERIFY(w->Panel_Sett_Max->isDimmed(u.gb_DMRV_Diapazone));
        QVERIFY(!w->Panel_Sett_Max->isDimmed(u.gb_DMRV_Porog_Korr));
        QVERIFY(shown(w->Panel_Parr_Parr_Max->ui.atb_U_analog));
        QVERIFY(!shown(w->Panel_Parr_Parr_Max->ui.atb_Per4_imp));
        QVERIFY(waitWritten(*w));
        QCOMPARE(module()->reg(0) & 1, 1);
        QCOMPARE(wt::distinctRuns(st::writes(module())),
                 QStringList{writeItem(module()->reg(0), 0)});

        // "No" gives the type choice back and clears the bit.
        QTest::mouseClick(u.atb_Sens_Kolenval_No, Qt::LeftButton);
        QVERIFY(!w->Panel_Sett_Max->isDimmed(u.gb_DMRV_Type));
        QVERIFY(!u.atb_DMRV_Type_Analog->isHidden());
        QVERIFY(waitWritten(*w));
        QCOMPARE(module()->reg(0) & 1, 0);
        msgs().setRussian();
    }

    // A write that is refused repeats every 50 ms; a stepper released meanwhile replaces
    // it, and the option write ends instead of repeating the stepper's command for ever.
    void laterWriteEndsEarlierOne() {
        sim::Faults refuse;
        refuse.refuseWrites = true;
        module()->setFaults(refuse);
        module()->clearReceived();
        QTest::mouseClick(ui().atb_Other_Spada_Korr_8, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(st::writes(module()).size() >= 3, 2000);
        QVERIFY(w->Ex->Timer_RegRab->isActive());
        module()->setFaults({});
        ui().Ed_Other_K_Fuel->setText(QStringLiteral("100"));
        QTest::mouseClick(ui().atb_Other_K_Fuel_Up, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(
            !w->Ex->Timer_Write->isActive() && !w->Ex->Timer_RegRab->isActive(), 2000);
        QCOMPARE(int(module()->reg(0x04)), 101);
        module()->clearReceived();
        QTest::qWait(200);
        QVERIFY2(module()->receivedItems().isEmpty(),
                 qPrintable(module()->receivedItems().join(' ')));
    }

    // With the port closed an option still logs and shows, but starts no transfer.
    void closedPortStartsNoWrite() {
        w->atb_ModuleOffClick();
        QTest::mouseClick(ui().atb_Other_NumBurn_5, Qt::LeftButton);
        QVERIFY(st::hasAction(*w, QStringLiteral(" Количество форсунок = 5")));
        QCOMPARE(w->RegWriter->RegRab_Key, QStringLiteral("Other_NumBurn_5"));
        QCOMPARE(w->RegWriter->writeText(0x09), QStringLiteral("50"));
        QVERIFY(!w->Ex->Timer_RegRab->isActive());
    }
};

QTEST_MAIN(TestSettingsOptions)
#include "test_settings_options.moc"
