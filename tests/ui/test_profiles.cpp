// The model profiles through the window and the simulated module: each model's views,
// setting groups, table axis, learning button, mode and chart mask after connecting, and the
// mask kept when the sensor configuration is unknown.
// With SCREENSHOT_DIR set, the window of each profile is saved there.
#include "modetest.h"
#include "settings/modeswitches.h"
#include "tables/table3dpanel.h"
#include "telemetry/chartpanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTableWidget>

namespace {
const QStringList kTr90Dimmed = {
    "gb_LAMBDA_U_Max",     "gb_LAMBDA_U_otn",    "gb_LAMBDA_1_Korr", "gb_DMRV_Korr",
    "gb_DMRV_K_Korr",      "gb_Other_Point_Korr", "gb_Other_Spada_Korr", "gb_DMRV_Porog_Korr",
    "gb_LAMBDA_Way",       "gb_LAMBDA_StepSmesi", "gb_Other_Mode",    "gb_Other_System"};
} // namespace

class TestProfiles : public QObject {
    Q_OBJECT
    mt::Window f;

    // What a connection sets on the panels, one text per control and property.
    QStringList panelState() const {
        QStringList out;
        const SettingsPanel* sp = f.w->Panel_Sett_Max;
        for (const QGroupBox* g : sp->settingGroups())
            out << g->objectName() + QStringLiteral(" dimmed=") + QString::number(sp->isDimmed(g));
        const QList<QWidget*> panels = {f.w->Panel_Sett_Max, f.w->Panel_Parr_Parr_Max};
        for (const QWidget* panel : panels)
            for (const QAbstractButton* b : panel->findChildren<QAbstractButton*>()) {
                if (b->objectName().isEmpty()) continue;
                out << QStringLiteral("%1 hidden=%2 enabled=%3 checked=%4 text=%5")
                           .arg(b->objectName())
                           .arg(b->isHidden())
                           .arg(b->isEnabled())
                           .arg(b->isChecked())
                           .arg(b->text());
            }
        const QComboBox* k = f.ui().cb_K;
        out << QStringLiteral("cb_K items=%1 current=%2").arg(k->count()).arg(k->currentIndex());
        out << QStringLiteral("Panel_lbl_MAF=") + f.w->Panel_3D->ui.Panel_lbl_MAF->text();
        return out;
    }

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QStringLiteral("ru_RU"))); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }
    void init() { QVERIFY(f.open()); }
    void cleanup() { f.close(); }

    // A TR-70 shows the mode its register 00 holds, with that mode's groups, views and
    // note, the table axis of bit 1, and switches nothing.
    void tr70Profiles_data() {
        QTest::addColumn<int>("reg00");
        QTest::addColumn<QString>("modeButton");
        QTest::addColumn<QStringList>("viewsShown");
        QTest::addColumn<QStringList>("viewsHidden");
        QTest::addColumn<QStringList>("dimmedGroups");
        QTest::addColumn<QStringList>("activeGroups");
        QTest::addColumn<QString>("firstRowLabel");
        QTest::addColumn<bool>("note");
        QTest::addColumn<bool>("learning");
        const QStringList tr90Views = {"atb_TR_90_Lambda_1", "atb_TR_90_Lambda_2", "atb_MAF_TR_90"};
        // The demo module corrects in 3D: the simple-correction groups are dimmed throughout.
        const QStringList correction = {"gb_DMRV_K_Korr", "gb_LAMBDA_1_Korr"};
        QTest::newRow("optimizer, MAF voltage axis")
            << 0x02 << "AdvTBtn_Opt" << QStringList{"atb_Lambda", "atb_MAF"} << (tr90Views + QStringList{"atb_Emu"})
            << (correction + QStringList{"gb_Other_TicherEmu", "gb_LAMBDA_StepSmesi"})
            << QStringList{"gb_LAMBDA_Regim", "gb_LAMBDA_U_Max", "gb_LAMBDA_U_otn", "gb_LAMBDA_Way", "gb_LAMBDA_2",
                           "gb_Other_System", "gb_DMRV_Type"}
            << "0,0" << false << false;
        QTest::newRow("emulator, injection time axis")
            << 0x08 << "AdvTBtn_Emu" << QStringList{"atb_Emu", "atb_MAF"} << (tr90Views + QStringList{"atb_Lambda"})
            << (correction +
                QStringList{"gb_LAMBDA_U_Max", "gb_LAMBDA_U_otn", "gb_LAMBDA_Way", "gb_LAMBDA_StepSmesi"})
            << QStringList{"gb_LAMBDA_Regim", "gb_Other_TicherEmu", "gb_LAMBDA_2"} << "1,6" << false << false;
        QTest::newRow("emulator, learning")
            << 0x0E << "AdvTBtn_Emu" << QStringList{"atb_Emu"} << QStringList{"atb_Lambda"} << correction
            << QStringList{"gb_Other_TicherEmu"} << "0,0" << false << true;
        QTest::newRow("MAF(P)") << 0x12 << "AdvTBtn_MAF_P" << QStringList{"atb_Lambda", "atb_MAF"}
                                << (tr90Views + QStringList{"atb_Emu"})
                                << (correction + QStringList{"gb_LAMBDA_U_Max", "gb_LAMBDA_U_otn", "gb_LAMBDA_Way",
                                                             "gb_Other_TicherEmu", "gb_LAMBDA_StepSmesi"})
                                << QStringList{"gb_LAMBDA_2"} << "0,0" << true << false;
    }
    void tr70Profiles() {
        QFETCH(int, reg00);
        QFETCH(QString, modeButton);
        QFETCH(QStringList, viewsShown);
        QFETCH(QStringList, viewsHidden);
        QFETCH(QStringList, dimmedGroups);
        QFETCH(QStringList, activeGroups);
        QFETCH(QString, firstRowLabel);
        QFETCH(bool, note);
        QFETCH(bool, learning);
        sim::SimModule* m = f.connect(QStringLiteral("DEMO TR-70"), [reg00](sim::SimModule* s) { s->setReg(0, quint8(reg00)); });
        QVERIFY(m);
        QVERIFY(st::find<QToolButton>(*f.w, modeButton)->isChecked());
        for (const QString& v : viewsShown) QVERIFY2(!st::find<QWidget>(*f.w, v)->isHidden(), qPrintable(v));
        for (const QString& v : viewsHidden) QVERIFY2(st::find<QWidget>(*f.w, v)->isHidden(), qPrintable(v));
        QCOMPARE(f.wrongGroups(dimmedGroups, true), QStringList());
        QCOMPARE(f.wrongGroups(activeGroups, false), QStringList());
        QCOMPARE(f.w->Panel_3D->ui.sgrid_Table_3D->verticalHeaderItem(0)->text(), firstRowLabel);
        QCOMPARE(f.w->Panel_3D->ui.sgrid_Table_3D->horizontalHeaderItem(7)->text(), QStringLiteral("10000"));
        QCOMPARE(f.w->Panel_3D->ui.Panel_lbl_MAF->text().isEmpty(), !note);
        QCOMPARE(f.ui().atb_Other_TicherEmu->isChecked(), learning);
        QCOMPARE(f.ui().atb_Other_TicherEmu->text(), learning ? QStringLiteral("Выключить") : QStringLiteral("Включить"));
        // Shown, not switched: no write went to the module, nothing keeps switching.
        QVERIFY(!f.switching());
        QCOMPARE(st::writes(m), QStringList());
        QVERIFY(!f.w->Modes->Flag_User_Emu && !f.w->Modes->Flag_User_Opt && !f.w->Modes->Flag_User_MAF_P);
        QVERIFY(f.asked.isEmpty());
        QVERIFY(f.w->Panel_Parr_Max->ui.atb_Chart1_Start->isEnabled());
        QCOMPARE(f.boxes(), QStringLiteral("11111111111"));
        QCOMPARE(f.w->Ctx.module.K_RashTopl, 32.0);
        f.shoot(QStringLiteral("tr70_") + modeButton.mid(8));
    }

    // A TR-90 never offers a mode or the offset settings; its two zirconia sensors on the
    // offset connection give the code ZSZSA or ZSZSC whatever register 01 says, and the
    // mask saved for that code is applied. A TR-70 connected next gets its groups back.
    void tr90Profile_data() {
        QTest::addColumn<int>("reg01");
        QTest::addColumn<int>("maskLine");
        QTest::addColumn<bool>("rangeDimmed");
        QTest::newRow("analog MAF, normal way") << 0x10 << 10 << true;
        QTest::newRow("digital MAF") << 0x00 << 11 << false;
    }
    void tr90Profile() {
        QFETCH(int, reg01);
        QFETCH(int, maskLine);
        QFETCH(bool, rangeDimmed);
        f.w->Config->Masks.masks[10] = QStringLiteral("10000000011");
        f.w->Config->Masks.masks[11] = QStringLiteral("01100001100");
        QVERIFY(f.connect(QStringLiteral("DEMO TR-90"), [reg01](sim::SimModule* s) {
            s->setReg(0x00, 0x04); // learning on
            s->setReg(0x01, quint8(reg01));
        }));
        for (const char* v : {"atb_TR_90_Lambda_1", "atb_TR_90_Lambda_2", "atb_MAF_TR_90"})
            QVERIFY2(!st::find<QWidget>(*f.w, v)->isHidden(), v);
        for (const char* v : {"atb_Lambda", "atb_Emu", "atb_MAF"}) QVERIFY2(st::find<QWidget>(*f.w, v)->isHidden(), v);
        QCOMPARE(f.wrongGroups(kTr90Dimmed + QStringList{"gb_LAMBDA_Regim"}, true), QStringList());
        QCOMPARE(f.wrongGroups({"gb_LAMBDA_2", "gb_Other_TicherEmu"}, false), QStringList());
        QCOMPARE(f.dimmed(QStringLiteral("gb_DMRV_Diapazone")), rangeDimmed);
        for (QToolButton* b : {f.ui().AdvTBtn_Emu, f.ui().AdvTBtn_Opt, f.ui().AdvTBtn_MAF_P}) {
            QVERIFY(b->isHidden());
            QVERIFY(!b->isChecked());
        }
        QVERIFY(f.ui().atb_LAMBDA_Way_Displacement->isChecked());
        QCOMPARE(f.w->Ctx.module.Ed_Type_Datchik_1_RU, QStringLiteral("Циркониевый"));
        QCOMPARE(f.w->Ctx.module.Ed_Type_Datchik_2_RU, QStringLiteral("Циркониевый"));
        QVERIFY(f.ui().atb_Other_TicherEmu->isChecked());
        const auto& p = f.w->Panel_Parr_Parr_Max->ui;
        QVERIFY(!p.cb_D1->isHidden() && !p.cb_D2->isHidden());
        QVERIFY(p.cb_D1_do->isHidden() && p.cb_D2_posle->isHidden());
        QCOMPARE(f.boxes(), f.w->Config->Masks.masks[maskLine]);
        QCOMPARE(f.w->Config->Current_Mask, f.w->Config->Masks.masks[maskLine]);
        QCOMPARE(st::writes(f.module()), QStringList());
        f.shoot(QStringLiteral("tr90_") + QString::number(maskLine));

        f.disconnect();
        QVERIFY(f.connect(QStringLiteral("DEMO TR-70")));
        QCOMPARE(f.wrongGroups({"gb_LAMBDA_Regim", "gb_Other_System", "gb_Other_Point_Korr", "gb_DMRV_Korr",
                              "gb_Other_Spada_Korr", "gb_Other_Mode"},
                             false),
                 QStringList());
        QVERIFY(!f.ui().AdvTBtn_Opt->isHidden() && f.ui().AdvTBtn_Opt->isChecked());
        QVERIFY(!f.w->atb_Lambda->isHidden() && f.w->atb_MAF_TR_90->isHidden());
    }

    // Whatever an earlier module of this run left, connecting a module gives the panels a
    // fresh start followed by that module gives: setting groups, buttons, the coefficient
    // list, the MAF(P) note, the wideband choices and the chart rows.
    void oneModelAfterTheOther_data() {
        QTest::addColumn<QString>("firstPort");
        QTest::addColumn<int>("firstReg00");
        QTest::addColumn<QString>("nextPort");
        QTest::addColumn<int>("nextReg00");
        QTest::newRow("TR-90 after a TR-70 optimizer") << "DEMO TR-70" << 0x02 << "DEMO TR-90" << 0x04;
        QTest::newRow("TR-90 after a TR-70 in MAF(P)") << "DEMO TR-70" << 0x12 << "DEMO TR-90" << 0x04;
        QTest::newRow("TR-90 after a TR-70 emulator") << "DEMO TR-70" << 0x0E << "DEMO TR-90" << 0x00;
        QTest::newRow("TR-70 optimizer after MAF(P)") << "DEMO TR-70" << 0x12 << "DEMO TR-70" << 0x02;
        QTest::newRow("TR-70 emulator after a TR-90") << "DEMO TR-90" << 0x04 << "DEMO TR-70" << 0x08;
    }
    void oneModelAfterTheOther() {
        QFETCH(QString, firstPort);
        QFETCH(int, firstReg00);
        QFETCH(QString, nextPort);
        QFETCH(int, nextReg00);
        const auto reg00 = [](int v) { return [v](sim::SimModule* s) { s->setReg(0, quint8(v)); }; };
        QVERIFY(f.connect(nextPort, reg00(nextReg00)));
        const QStringList fresh = panelState();
        f.close();

        QVERIFY(f.open());
        QVERIFY(f.connect(firstPort, reg00(firstReg00)));
        f.disconnect();
        QVERIFY(f.connect(nextPort, reg00(nextReg00)));
        const QStringList after = panelState();
        QStringList differ;
        for (int i = 0; i < fresh.size() && i < after.size(); ++i)
            if (fresh.at(i) != after.at(i)) differ << fresh.at(i) + QStringLiteral(" -> ") + after.at(i);
        QCOMPARE(after.size(), fresh.size());
        QVERIFY2(differ.isEmpty(), qPrintable(differ.join(QLatin1Char(10))));
    }

    // A TR-70 in emulator mode never learns its sensor types, so its code is none of the
    // 18: the mask in force stays. Once the optimizer view has found them, the saved mask of
    // the code applies.
    void unknownCodeKeepsMask() {
        f.w->Config->Current_Mask = QStringLiteral("10101010101");
        f.w->Config->Masks.masks[10] = QStringLiteral("00000000111");
        QVERIFY(f.connect(QStringLiteral("DEMO TR-70"), [](sim::SimModule* s) { s->setReg(0, 0x08); }));
        QVERIFY(f.w->Ctx.module.Ed_Type_Datchik_1_RU.isEmpty());
        QCOMPARE(f.boxes(), QStringLiteral("10101010101"));
        f.disconnect();
        QVERIFY(f.connect(QStringLiteral("DEMO TR-70"), [](sim::SimModule* s) { s->setReg(0, 0x00); }));
        QCOMPARE(f.w->Config->currentCode(), QStringLiteral("ZSZSA"));
        QCOMPARE(f.boxes(), QStringLiteral("00000000111"));
    }
};

QTEST_MAIN(TestProfiles)
#include "test_profiles.moc"
