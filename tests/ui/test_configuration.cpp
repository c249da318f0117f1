// The settings files through the whole window: a first run creates them from the window's
// own values, every exit writes both (also without a connection) and the next start applies
// them, numbers read back under the other decimal separator, the port rule copes with a
// changed port list and the demo ports, the chart mask is kept per sensor configuration,
// and failures are reported without losing the other file or keeping the port open.
#include "app/configuration.h"
#include "modetest.h"
#include "surface/surfaceview.h"
#include "tables/curvepanel.h"
#include "tables/table3dpanel.h"
#include "telemetry/chartpanel.h"
#include "telemetry/parampanel.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>

namespace {

QStringList fileLines(const QString& name) {
    QStringList lines;
    QString error;
    if (!cfg::readLines(name, &lines, &error)) qWarning("%s", qPrintable(error));
    return lines;
}

void writeFile(const QString& name, const QStringList& lines) {
    QString error;
    if (!cfg::writeLines(name, lines, &error)) qWarning("%s", qPrintable(error));
}

QMessageBox* errorBox(TForm1& w) { return w.findChild<QMessageBox*>(QStringLiteral("ErrorBox")); }

} // namespace

class TestConfiguration : public QObject {
    Q_OBJECT
    mt::Window f;

    // The window closed (which writes its files), the files prepared, a new window on them.
    void reopen(const std::function<void()>& prepare = {}) {
        f.w.reset();
        if (prepare) prepare();
        f.w = std::make_unique<TForm1>();
        f.w->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.w.get()));
    }

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QStringLiteral("ru_RU"))); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }
    void init() { QVERIFY(f.open()); }
    void cleanup() {
        f.close();
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
    }

    // A first run writes both files at once, with the window's values, and says nothing.
    void firstRunCreatesFiles() {
        QVERIFY(!errorBox(*f.w));
        const QStringList info = fileLines(Configuration::InfoFile);
        QCOMPARE(info.size(), 37);
        QCOMPARE(info.at(0), QStringLiteral("%1=Enum_Com_Ports_prev").arg(f.w->cbPort->count()));
        QCOMPARE(info.at(3), QStringLiteral("2=Index_V_Graf"));
        QCOMPARE(info.at(24), QStringLiteral("12=Enum_YellowPoints"));
        QCOMPARE(info.at(25), QStringLiteral("Rus=language"));
        QCOMPARE(info.at(26), QStringLiteral("clYellow=Color01"));
        const QStringList config = fileLines(Configuration::ConfigFile);
        QCOMPARE(config.size(), 18);
        QCOMPARE(config.at(10), QStringLiteral("ZSZSA=11111111111"));
    }

    // Leaving without ever connecting writes both files from the controls; the next start
    // shows the same values, also under a locale with the other decimal separator.
    void exitWithoutConnectingWritesBoth() {
        QFile::remove(Configuration::InfoFile);
        QFile::remove(Configuration::ConfigFile);
        f.w->cb_Int_Graf_In->setCurrentIndex(4);
        f.w->Panel_Emu->ui.Ed_Num_Yellow_Points->setText(QStringLiteral("20"));
        SurfaceView* view = f.w->Panel_3D->ui.Panel_Space3D;
        view->Orient_Saved_MAF.ry = 0.125f;
        view->Orient_Saved_Lambda.vTop = -2.5;
        // The chart panel's options and the parameter list's averaging button and colours.
        auto& chart = f.w->Panel_Parr_Max->ui;
        auto& params = f.w->Panel_Parr_Parr_Max->ui;
        chart.Ed_Limit->setText(QStringLiteral("15"));
        chart.atb_Type_Graf_Page->setChecked(true); // the group is locked without a module
        chart.Edit_Width_Page_Graf->setText(QStringLiteral("7,5"));
        params.atb_RT_TypeCalc->setEnabled(true);
        QTest::mouseClick(params.atb_RT_TypeCalc, Qt::LeftButton);
        params.atb_PVK_Color->setBarColor(QColor(0x12, 0x34, 0x56));
        params.atb_TVT_Color->setBarColor(Qt::red);
        f.w.reset();

        const QStringList info = fileLines(Configuration::InfoFile);
        QCOMPARE(info.size(), 37);
        QCOMPARE(info.at(3), QStringLiteral("4=Index_V_Graf"));
        QCOMPARE(info.at(10), QStringLiteral("12,5=ry_MAF"));
        QCOMPARE(info.at(23), QStringLiteral("-250=vTop_Lambda"));
        QCOMPARE(info.at(24), QStringLiteral("20=Enum_YellowPoints"));
        QCOMPARE(info.mid(4, 3), (QStringList{"15=Diapazone", "1=Index_TypeInput", "7,5=Enum_Page"}));
        QCOMPARE(info.at(9), QStringLiteral("1=Type_In_RashTo"));
        QCOMPARE(info.at(26), QStringLiteral("clRed=Color01"));
        QCOMPARE(info.at(35), QStringLiteral("$00563412=Color10"));
        QCOMPARE(fileLines(Configuration::ConfigFile).size(), 18);

        QLocale::setDefault(QLocale::c());
        reopen();
        QVERIFY(!errorBox(*f.w));
        QCOMPARE(f.w->cb_Int_Graf_In->currentIndex(), 4);
        QCOMPARE(f.w->Panel_Emu->ui.Ed_Num_Yellow_Points->text(), QStringLiteral("20"));
        QCOMPARE(f.w->Panel_3D->ui.Panel_Space3D->Orient_Saved_MAF.ry, 0.125f);
        QCOMPARE(f.w->Panel_3D->ui.Panel_Space3D->Orient_Saved_Lambda.vTop, -2.5);
        const auto& chart2 = f.w->Panel_Parr_Max->ui;
        const auto& params2 = f.w->Panel_Parr_Parr_Max->ui;
        QCOMPARE(chart2.Ed_Limit->text(), QStringLiteral("15"));
        QVERIFY(chart2.atb_Type_Graf_Page->isChecked() && !chart2.atb_Type_Graf_Nepr->isChecked());
        QCOMPARE(chart2.Edit_Width_Page_Graf->text(), QStringLiteral("7.5"));
        QVERIFY(params2.atb_RT_TypeCalc->isChecked());
        QCOMPARE(params2.atb_RT_TypeCalc->text(), QStringLiteral("среднее"));
        QCOMPARE(params2.atb_TVT_Color->barColor(), QColor(Qt::red));
        QCOMPARE(params2.atb_PVK_Color->barColor(), QColor(0x12, 0x34, 0x56));
    }

    // Values that do not read leave the controls as they are: a page width that is no
    // number, an input type other than "0" and "1", a colour that is no colour text.
    void unreadableValuesKeepControls() {
        cfg::Info info;
        info.Enum_Page = QStringLiteral("abc");
        info.Index_TypeInput = QStringLiteral("2");
        info.colors[0] = QStringLiteral("clNoSuchColour");
        info.colors[1] = QStringLiteral("$0000FF00");
        const QColor tvt = f.w->Panel_Parr_Parr_Max->ui.atb_TVT_Color->barColor();
        reopen([&] { writeFile(Configuration::InfoFile, cfg::infoLines(info)); });
        QVERIFY(!errorBox(*f.w));
        QCOMPARE(f.w->Panel_Parr_Max->ui.Edit_Width_Page_Graf->text(), QStringLiteral("5"));
        QVERIFY(f.w->Panel_Parr_Max->ui.atb_Type_Graf_Nepr->isChecked());
        QCOMPARE(f.w->Panel_Parr_Parr_Max->ui.atb_TVT_Color->barColor(), tvt);
        QCOMPARE(f.w->Panel_Parr_Parr_Max->ui.atb_RT_Color->barColor(), QColor(0, 0xFF, 0));
    }

    // The stored port is selected only while the port list is as long as it was; a demo
    // port is found again by its name when the list changed; anything else selects the first
    // port.
    void portRule_data() {
        QTest::addColumn<int>("countDelta"); // stored count minus the count now
        QTest::addColumn<int>("indexFromEnd"); // stored index counted from the stored list's end
        QTest::addColumn<QString>("selected"); // "first" or a port name
        QTest::newRow("same list, last port") << 0 << 1 << "DEMO TR-90";
        QTest::newRow("shrank, demo TR-70") << 1 << 2 << "DEMO TR-70";
        QTest::newRow("shrank, demo TR-90") << 2 << 1 << "DEMO TR-90";
        QTest::newRow("changed, a system port") << 3 << 3 << "first";
    }
    void portRule() {
        QFETCH(int, countDelta);
        QFETCH(int, indexFromEnd);
        QFETCH(QString, selected);
        const int now = f.w->cbPort->count();
        cfg::Info info;
        info.Enum_Com_Ports_prev = now + countDelta;
        info.Index_COM_Port = now + countDelta - indexFromEnd;
        QVERIFY(info.Index_COM_Port >= 1);
        reopen([&] { writeFile(Configuration::InfoFile, cfg::infoLines(info)); });
        if (selected == QLatin1String("first"))
            QCOMPARE(f.w->cbPort->currentIndex(), 0);
        else
            QCOMPARE(f.w->cbPort->currentText(), selected);
    }

    // The chart mask of the connected module's sensor configuration is saved at the
    // disconnect under its code and applied at the next connection, also after a restart.
    void maskKeptPerSensorConfiguration() {
        QVERIFY(f.connect(QStringLiteral("DEMO TR-70")));
        QCOMPARE(f.boxes(), QStringLiteral("11111111111"));
        const auto& p = f.w->Panel_Parr_Parr_Max->ui;
        QTest::mouseClick(p.cb_D1_do, Qt::LeftButton);
        QTest::mouseClick(p.cb_PVK, Qt::LeftButton);
        f.disconnect();
        QCOMPARE(fileLines(Configuration::ConfigFile).at(10), QStringLiteral("ZSZSA=11111011101"));
        reopen();
        QVERIFY(f.connect(QStringLiteral("DEMO TR-70")));
        QCOMPARE(f.boxes(), QStringLiteral("11111011101"));
    }

    // A file that cannot be written is reported; the other is written and the port closed.
    void unwritableFileReported() {
        QVERIFY(f.connect(QStringLiteral("DEMO TR-70")));
        f.w->cb_Int_Graf_In->setCurrentIndex(5);
        QVERIFY(QFile::remove(Configuration::ConfigFile));
        QVERIFY(QDir::current().mkdir(Configuration::ConfigFile));
        f.disconnect();
        QMessageBox* box = errorBox(*f.w);
        QVERIFY(box && box->isVisible());
        QVERIFY2(box->text().contains(Configuration::ConfigFile), qPrintable(box->text()));
        QVERIFY(!f.w->BComPort1->isOpen());
        QVERIFY(f.w->cbPort->isEnabled());
        QCOMPARE(fileLines(Configuration::InfoFile).at(3), QStringLiteral("5=Index_V_Graf"));
        QVERIFY(QDir::current().rmdir(Configuration::ConfigFile));
    }

    // A damaged Info_A.ini is reported at the start; the masks are read all the same, so
    // the next exit does not replace them with the window's own.
    void damagedInfoKeepsMasks() {
        reopen([] {
            writeFile(Configuration::InfoFile, cfg::infoLines(cfg::Info()).mid(0, 20));
            cfg::Masks masks;
            masks.masks[10] = QStringLiteral("00000111110");
            writeFile(Configuration::ConfigFile, cfg::configLines(masks));
        });
        QMessageBox* box = errorBox(*f.w);
        QVERIFY(box);
        QVERIFY2(box->text().contains(Configuration::InfoFile), qPrintable(box->text()));
        QCOMPARE(f.w->Config->Masks.masks.at(10), QStringLiteral("00000111110"));
        f.w.reset();
        QCOMPARE(fileLines(Configuration::ConfigFile).at(10), QStringLiteral("ZSZSA=00000111110"));
        QCOMPARE(fileLines(Configuration::InfoFile).size(), 37);
    }

    // One damaged line of Config_A.ini costs only its own code's mask: it is reported once
    // with its line, and the next exit writes the seventeen others back as they were.
    void damagedConfigLineKeepsTheOthers() {
        cfg::Masks masks;
        for (int i = 0; i < 18; ++i) masks.masks[i] = QStringLiteral("1010101010") + QString::number(i % 2);
        QStringList lines = cfg::configLines(masks);
        lines[6] = QStringLiteral("WWZSA=0101");
        reopen([&] { writeFile(Configuration::ConfigFile, lines); });
        QMessageBox* box = errorBox(*f.w);
        QVERIFY(box);
        QVERIFY2(box->text().contains(Configuration::ConfigFile) && box->text().contains(QStringLiteral("строка 7")),
                 qPrintable(box->text()));
        QVERIFY2(!box->text().contains(QStringLiteral("строка 8")), qPrintable(box->text()));
        f.w.reset();
        const QStringList written = fileLines(Configuration::ConfigFile);
        QCOMPARE(written.size(), 18);
        for (int i = 0; i < 18; ++i)
            QCOMPARE(written.at(i), i == 6 ? QStringLiteral("WWZSA=11111111111") : lines.at(i));
    }

    // A bad value of Info_A.ini keeps its control's own value; the language, the colours and
    // the chart options of the other lines apply, and one message names the bad line.
    void badInfoValueKeepsTheOthers() {
        cfg::Info info;
        info.Index_V_Graf = 5;
        info.Enum_Page = QStringLiteral("9");
        info.language = QStringLiteral("Eng");
        info.colors[0] = QStringLiteral("clRed");
        QStringList lines = cfg::infoLines(info);
        lines[10] = QStringLiteral("left=ry_MAF");
        lines[14] = QStringLiteral("?=vRight_MAF");
        reopen([&] { writeFile(Configuration::InfoFile, lines); });
        QMessageBox* box = errorBox(*f.w);
        QVERIFY(box);
        QVERIFY2(box->text().contains(QStringLiteral("строка 11")), qPrintable(box->text()));
        QVERIFY2(!box->text().contains(QStringLiteral("строка 15")), qPrintable(box->text()));
        QVERIFY(!f.w->atb_Flag_Eng->isHidden());
        QCOMPARE(f.w->cb_Int_Graf_In->currentIndex(), 5);
        QCOMPARE(f.w->Panel_Parr_Max->ui.Edit_Width_Page_Graf->text(), QStringLiteral("9"));
        QCOMPARE(f.w->Panel_Parr_Parr_Max->ui.atb_TVT_Color->barColor(), QColor(Qt::red));
        const SurfaceView* view = f.w->Panel_3D->ui.Panel_Space3D;
        QCOMPARE(view->Orient_Saved_MAF.ry, 0.0f);
        QCOMPARE(view->Orient_Saved_MAF.vLeft, -1.0);
        f.w.reset();
        const QStringList written = fileLines(Configuration::InfoFile);
        QCOMPARE(written.at(3), QStringLiteral("5=Index_V_Graf"));
        QCOMPARE(written.at(25), QStringLiteral("Eng=language"));
        QCOMPARE(written.at(10), QStringLiteral("0=ry_MAF"));
    }
};

QTEST_MAIN(TestConfiguration)
#include "test_configuration.moc"
