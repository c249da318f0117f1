// The settings panel on its own: its control list, the exclusive option groups, the
// arrangement of the outer groups for the available width, and the floating pop-ups.

#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

#include "controlcheck.h"
#include "settings/settingspanel.h"

class TestSettingsPanel : public QObject {
    Q_OBJECT

    template <class T> static T* child(SettingsPanel& p, const QString& name) {
        T* w = p.findChild<T*>(name);
        if (!w) qWarning("missing %s", qPrintable(name));
        return w;
    }

    // Layout requests travel up one nesting level per round of the event loop.
    static void settle() {
        for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
    }

    static QRect rectIn(const QWidget* w, const QWidget* top) {
        return QRect(w->mapTo(top, QPoint(0, 0)), w->size());
    }

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void controlList() {
        // The list gives the numbers as a Russian desktop shows them.
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        SettingsPanel panel;
        QCOMPARE(panel.objectName(), QStringLiteral("Panel_Sett_Max"));
        const QStringList faults =
            controlcheck::check(&panel, TOOL_TEST_CONTROLS_DIR "/settings.tsv");
        for (const QString& f : faults) qWarning("%s", qPrintable(f));
        QVERIFY(faults.isEmpty());
    }

    // Under a locale with a decimal point the initial values are written with a point too,
    // so that every value the panel shows reads back under that locale.
    void initialNumbersFollowTheLocale() {
        QLocale::setDefault(QLocale::c());
        SettingsPanel panel;
        const auto& ui = panel.ui;
        QCOMPARE(ui.Ed_LAMBDA_1_Korr->text(), QStringLiteral("-0.2"));
        QCOMPARE(ui.Ed_LAMBDA_U_Max->text(), QStringLiteral("0.8"));
        QCOMPARE(ui.Ed_DMRV_Porog_Korr->text(), QStringLiteral("0.75"));
        QCOMPARE(ui.Ed_DMRV_K_Korr->text(), QStringLiteral("2.2"));
        QCOMPARE(ui.Ed_Other_VolEng->text(), QStringLiteral("4.5"));
        QCOMPARE(ui.Ed_Other_Point_Korr->text(), QStringLiteral("2500"));
        // The leanness captions are codes, not numbers: they keep their form.
        QCOMPARE(ui.atb_LAMBDA_StepSmesi->text(), QStringLiteral("15,5:1"));
    }

    // Dimming a group colours its caption and hides its contents; undimming restores both.
    void dimming() {
        SettingsPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QGroupBox* g = panel.ui.gb_LAMBDA_U_Max;
        const QColor text = g->palette().color(QPalette::WindowText);
        panel.setDimmed(g, true);
        QVERIFY(panel.isDimmed(g));
        QCOMPARE(g->palette().color(QPalette::WindowText), QColor(209, 211, 143));
        QVERIFY(panel.ui.Lbl_LAMBDA_U_Max->isHidden() && panel.ui.Ed_LAMBDA_U_Max->isHidden());
        QVERIFY(panel.ui.atb_LAMBDA_U_Max_Up->isHidden() && panel.ui.atb_LAMBDA_U_Max_Down->isHidden());
        // Dimming keeps the places: the group below does not move.
        const int below = panel.ui.gb_LAMBDA_1_Korr->y();
        QCoreApplication::processEvents();
        QCOMPARE(panel.ui.gb_LAMBDA_1_Korr->y(), below);
        panel.setDimmed(g, false);
        QVERIFY(!panel.isDimmed(g));
        QCOMPARE(g->palette().color(QPalette::WindowText), text);
        QVERIFY(!panel.ui.Lbl_LAMBDA_U_Max->isHidden() && !panel.ui.Ed_LAMBDA_U_Max->isHidden());
        // A locked panel still greys undimmed captions.
        panel.setEnabled(false);
        QCOMPARE(g->palette().color(QPalette::Disabled, QPalette::WindowText),
                 panel.palette().color(QPalette::Disabled, QPalette::WindowText));
    }

    void exclusiveGroups_data() {
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QString>("initiallyDown");
        auto row = [](const char* name, QStringList b, QString down = {}) {
            QTest::newRow(name) << b << down;
        };
        row("mode", {"AdvTBtn_Emu", "AdvTBtn_Opt", "AdvTBtn_MAF_P"});
        row("way", {"atb_LAMBDA_Way_Normal", "atb_LAMBDA_Way_Displacement"});
        row("lambda 2", {"atb_LAMBDA_2_Normal", "atb_LAMBDA_2_Catalizer"});
        row("offset ref", {"atb_LAMBDA_U_otn_Input", "atb_LAMBDA_U_otn_Ground"});
        row("maf type", {"atb_DMRV_Type_Analog", "atb_DMRV_Type_Digital"});
        row("range", {"atb_DMRV_Diapazone_More", "atb_DMRV_Diapazone_Less"});
        row("load", {"atb_DMRV_Nagruzka_On", "atb_DMRV_Nagruzka_Off"});
        row("direction", {"atb_DMRV_Korr_Right", "atb_DMRV_Korr_Reverse"});
        row("air sensor", {"atb_DMRV_Type_Sensor_MAP", "atb_DMRV_Type_Sensor_MAF"});
        row("decay", {"atb_Other_Spada_Korr_1", "atb_Other_Spada_Korr_4", "atb_Other_Spada_Korr_8"});
        QStringList burn;
        for (int i = 1; i <= 8; ++i) burn << QStringLiteral("atb_Other_NumBurn_%1").arg(i);
        row("injectors", burn, "atb_Other_NumBurn_1");
        row("system", {"atb_Other_System_On", "atb_Other_System_Off"});
        row("correction", {"atb_Other_Mode_Simple", "atb_Other_Mode_3D"});
        row("crankshaft", {"atb_Sens_Kolenval_Yes", "atb_Sens_Kolenval_No"});
        QStringList lean;
        for (int i = 1; i <= 7; ++i) lean << QStringLiteral("atb_SSmesi_%1").arg(i);
        row("leanness", lean);
    }

    // Every option is one exclusive group of its own: a click leaves exactly the clicked
    // button down, and no button of another option is touched.
    void exclusiveGroups() {
        QFETCH(QStringList, buttons);
        QFETCH(QString, initiallyDown);
        SettingsPanel panel;
        panel.resize(1920, 900);
        panel.show();
        panel.ui.Panel_LAMBDA_StepSmesi->show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));

        QList<QToolButton*> list;
        for (const QString& n : buttons) list << child<QToolButton>(panel, n);
        QVERIFY(!list.contains(nullptr));
        QButtonGroup* group = list.first()->group();
        QVERIFY(group);
        QVERIFY(group->exclusive());
        QVERIFY(!group->objectName().isEmpty());
        QCOMPARE(group->buttons().size(), list.size());
        for (QToolButton* b : list) QCOMPARE(b->group(), group);

        QAbstractButton* down = group->checkedButton();
        QCOMPARE(down ? down->objectName() : QString(), initiallyDown);

        const QAbstractButton* outsider = panel.ui.atb_Other_NumBurn_1;
        const bool outsiderDown = outsider->isChecked();
        for (int i = list.size() - 1; i >= 0; --i) {
            QTest::mouseClick(list[i], Qt::LeftButton);
            for (int j = 0; j < list.size(); ++j) QCOMPARE(list[j]->isChecked(), i == j);
            if (outsider->group() != group) QCOMPARE(outsider->isChecked(), outsiderDown);
        }
    }

    void arrangementFollowsWidth_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("reserve");
        QTest::addColumn<int>("columns");
        QTest::newRow("full hd") << 1920 << 395 << 3;
        QTest::newRow("laptop") << 1366 << 395 << 2;
        QTest::newRow("minimum window") << 1000 << 395 << 1;
        QTest::newRow("minimum, no side panel") << 1000 << 0 << 2;
    }

    // The outer groups fill the width left of the side panel without running under it,
    // keep reading order (Lambda, MAF, system, other) and never overlap.
    void arrangementFollowsWidth() {
        QFETCH(int, width);
        QFETCH(int, reserve);
        QFETCH(int, columns);
        SettingsPanel panel;
        panel.setRightReserve(reserve);
        panel.resize(width, 800);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QTRY_COMPARE(panel.columnCount(), columns);
        settle();

        const QList<QGroupBox*> outer = panel.outerGroups();
        QSet<int> lefts;
        for (int i = 0; i < outer.size(); ++i) {
            const QRect r = rectIn(outer[i], &panel);
            QVERIFY2(r.right() < width - reserve, qPrintable(outer[i]->objectName()));
            QVERIFY(r.width() >= outer[i]->minimumSizeHint().width());
            lefts << r.left();
            for (int j = 0; j < i; ++j) {
                const QRect earlier = rectIn(outer[j], &panel);
                QVERIFY(!r.intersects(earlier));
                QVERIFY(earlier.left() < r.left() || earlier.top() < r.top());
            }
        }
        QCOMPARE(lefts.size(), columns);
        // Only a narrow panel needs to scroll sideways: never.
        QVERIFY(!panel.ui.scrollSettings->horizontalScrollBar()->isVisible());
    }

    // Dimming hides a group's label and buttons; the group must keep its size so that the
    // groups below it stay where the user last saw them.
    void dimmedGroupKeepsItsPlace() {
        SettingsPanel panel;
        panel.resize(1920, 900);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        const QRect before = rectIn(panel.ui.gb_LAMBDA_U_Max, &panel);
        const QRect below = rectIn(panel.ui.gb_LAMBDA_StepSmesi, &panel);
        const QRect modes = rectIn(panel.ui.gb_LAMBDA_Regim, &panel);
        for (QWidget* w : {static_cast<QWidget*>(panel.ui.Lbl_LAMBDA_U_Max),
                           static_cast<QWidget*>(panel.ui.atb_LAMBDA_U_Max_Down),
                           static_cast<QWidget*>(panel.ui.Ed_LAMBDA_U_Max),
                           static_cast<QWidget*>(panel.ui.atb_LAMBDA_U_Max_Up),
                           static_cast<QWidget*>(panel.ui.AdvTBtn_Emu),
                           static_cast<QWidget*>(panel.ui.AdvTBtn_Opt),
                           static_cast<QWidget*>(panel.ui.AdvTBtn_MAF_P)})
            w->hide();
        settle();
        QCOMPARE(rectIn(panel.ui.gb_LAMBDA_U_Max, &panel), before);
        QCOMPARE(rectIn(panel.ui.gb_LAMBDA_StepSmesi, &panel), below);
        QCOMPARE(rectIn(panel.ui.gb_LAMBDA_Regim, &panel), modes);
    }

    // Each stepper is down button, edit, up button in one row of its own setting group,
    // with arrow icons for the pictogram captions.
    void steppersAreOrderedRows_data() {
        QTest::addColumn<QString>("stem");
        for (const char* s : {"LAMBDA_1_Korr", "LAMBDA_U_Max", "DMRV_Porog_Korr", "DMRV_K_Korr",
                              "Other_Zad_Korr", "Other_Point_Korr", "Other_K_Fuel", "Other_VolEng"})
            QTest::newRow(s) << QString::fromLatin1(s);
    }
    void steppersAreOrderedRows() {
        QFETCH(QString, stem);
        SettingsPanel panel;
        panel.resize(1920, 900);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        auto* down = child<QToolButton>(panel, "atb_" + stem + "_Down");
        auto* edit = child<QLineEdit>(panel, "Ed_" + stem);
        auto* up = child<QToolButton>(panel, "atb_" + stem + "_Up");
        auto* group = child<QGroupBox>(panel, "gb_" + stem);
        QVERIFY(down && edit && up && group);
        for (QWidget* w : {static_cast<QWidget*>(down), static_cast<QWidget*>(edit),
                           static_cast<QWidget*>(up)})
            QCOMPARE(w->parentWidget(), group);
        QVERIFY(down->geometry().right() < edit->geometry().left());
        QVERIFY(edit->geometry().right() < up->geometry().left());
        QVERIFY(qAbs(down->geometry().center().y() - up->geometry().center().y()) <= 1);
        QVERIFY(!down->icon().isNull() && !up->icon().isNull());
        QCOMPARE(down->toolButtonStyle(), Qt::ToolButtonIconOnly);
    }

    // The pop-ups float over the panel: showing one moves nothing, and they have the
    // fixed sizes their handlers position them by.
    void popupsFloatOverThePanel() {
        SettingsPanel panel;
        panel.resize(1920, 900);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QCOMPARE(panel.ui.Panel_Track->parentWidget(), &panel);
        QCOMPARE(panel.ui.Panel_LAMBDA_StepSmesi->parentWidget(), &panel);
        QCOMPARE(panel.ui.Panel_Track->size(), QSize(38, 245));
        QCOMPARE(panel.ui.Pnl_Reg2->width(), 26);
        QCOMPARE(panel.ui.Pnl_Track_Max->geometry(), QRect(0, 0, 38, 20));
        QCOMPARE(panel.ui.Pnl_Track_Min->geometry(), QRect(0, 225, 38, 20));
        QCOMPARE(panel.ui.Panel_LAMBDA_StepSmesi->height(), 140);

        const QRect group = rectIn(panel.ui.gb_LAMBDA_StepSmesi, &panel);
        panel.ui.Panel_LAMBDA_StepSmesi->move(
            panel.ui.atb_LAMBDA_StepSmesi->mapTo(&panel, QPoint(0, -140)));
        panel.ui.Panel_LAMBDA_StepSmesi->show();
        panel.ui.Panel_Track->show();
        settle();
        QCOMPARE(rectIn(panel.ui.gb_LAMBDA_StepSmesi, &panel), group);
        // All seven items fit in the fixed height.
        for (QAbstractButton* b : panel.ui.grp_LAMBDA_StepSmesi->buttons()) {
            QVERIFY(b->isVisible());
            QVERIFY(panel.ui.Panel_LAMBDA_StepSmesi->rect().contains(b->geometry()));
        }
    }
};

QTEST_MAIN(TestSettingsPanel)
#include "test_settingspanel.moc"
