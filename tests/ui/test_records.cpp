// Browsing a recording with the overview strip and keeping it in record files, through the
// real window: the window's width and the page each control shows, gliding step buttons,
// clicks and drags on the strip, nothing to browse after Clear, hidden parameters left out
// of the strip; a demo recording saved, cleared, opened and saved again byte for byte;
// lines that cannot be read, loads appended to the chart, and what the buttons do with
// nothing recorded.
#include "telemetry/chartnavigator.h"
#include "telemetry/chartpanel.h"
#include "telemetry/liverecorder.h"
#include "telemetry/parampanel.h"
#include "telemetry/recordfile.h"
#include "telemetry/recordfiles.h"
#include "windowtest.h"

#include <QTemporaryDir>
#include <qcustomplot.h>

namespace {
QByteArray fileBytes(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}
void writeBytes(const QString& name, const QByteArray& bytes) {
    QFile f(name);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

class TestRecords : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;
    std::unique_ptr<QTemporaryDir> tmp;
    QStringList errors;
    QString answer; // what the next file dialog returns
    int dialogs = 0;
    int liveStops = 0;

    LiveRecorder& rec() { return *w->Recorder; }
    ChartNavigator& nav() { return rec().navigator(); }
    Ui::ChartPanel& chart() { return w->Panel_Parr_Max->ui; }
    QCPRange page() { return chart().Chart1->xAxis->range(); }
    QCustomPlot* strip() { return chart().DBChart_Navigator_Bottom; }

    void makeWindow(const QString& locale) {
        QLocale::setDefault(QLocale(locale));
        wt::freshConfiguration();
        w = std::make_unique<TForm1>();
        tmp = std::make_unique<QTemporaryDir>();
        errors.clear();
        dialogs = liveStops = 0;
        w->Ctx.error = [this](const QString& text) { errors << text; };
        w->Ctx.openFileName = [this](const QString&, const QString& filter, std::optional<TableKind>) {
            [&] { QCOMPARE(filter, QStringLiteral("Данные (*_data.txt)")); }();
            ++dialogs;
            return answer;
        };
        w->Ctx.saveFileName = [this](const QString&, const QString& filter) {
            [&] { QCOMPARE(filter, QStringLiteral("Данные (*_data.txt);;CSV (*.csv)")); }();
            ++dialogs;
            return answer;
        };
        w->RecordFileButtons->stopLivePoints = [this] { ++liveStops; };
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->atb_Parr_minClick();
    }

    // A TR-70 whose engine stands still, `ticks` samples at 250 ms driven by the test, then
    // Stop; the strip is 400 pixels wide.
    void recordByHand(int ticks) {
        sim::SimModule* m = wt::connectDemo(*w, QStringLiteral("DEMO TR-70"),
                                            [](sim::SimModule* s) { s->setEngineRunning(false); });
        QVERIFY(m);
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Read->isActive() && !w->Conn->modelName().isEmpty(), 8000);
        w->Panel_Parr_Parr_Max->Show_D1_Plain(); // U1do and U1posle hidden
        w->cb_Int_Graf_In->setCurrentIndex(2);
        chart().atb_Type_Graf_Page->click();
        strip()->setFixedWidth(400);
        chart().atb_Chart1_Start->click();
        w->Ex->Timer_Module_Graf->stop();
        for (int i = 0; i < ticks; ++i) {
            w->Ex->Timer_NeprOpros->stop();
            rec().Timer_Module_GrafTimer();
        }
        chart().atb_Chart1_Stop->click();
        QTRY_COMPARE(strip()->width(), 400);
    }

    void comparePage(double lower, double upper) {
        QCOMPARE(page().lower, lower);
        QCOMPARE(page().upper, upper);
        QCOMPARE(rec().Page_Begin, lower);
        QCOMPARE(rec().Page_End, upper);
    }

private slots:
    void cleanup() {
        w.reset();
        tmp.reset();
        QLocale::setDefault(QLocale::c());
    }

    // 200 samples, a 20-sample page (5 s at 250 ms), a 400-pixel strip.
    void navigatorControls() {
        makeWindow(QStringLiteral("ru_RU"));
        recordByHand(200);
        QCOMPARE(rec().Samples_Total, 200.0);
        chart().atb_Show_Navigator->click();
        QVERIFY(errors.isEmpty());
        QVERIFY(chart().Blue_Line->isVisible());
        QCOMPARE(nav().windowLeft(), 0);
        QCOMPARE(nav().windowWidth(), 40);
        QCOMPARE(chart().Blue_Line->geometry(), QRect(0, -10, 40, 91));
        comparePage(0, 20);
        QCOMPARE(rec().Samples_Total, 201.0);
        QCOMPARE(strip()->xAxis->range().upper, 200.0);

        // Every shown parameter is in the strip, the hidden voltage is not, although its
        // table column holds zeros.
        const live::Param navParam[ChartNavigator::Series] = {live::L1, live::TP, live::U1do, live::L2,
                                                              live::U1posle, live::U2do, live::SP, live::STR,
                                                              live::SD, live::AI, live::U2posle};
        for (int s = 0; s < ChartNavigator::Series; ++s) {
            const bool always = s == 1 || s == 6 || s == 7;
            const bool hidden = !always && w->Panel_Parr_Parr_Max->seriesRow(navParam[s]).name->isHidden();
            QCOMPARE(strip()->graph(s)->dataCount() == 0, hidden);
        }
        QCOMPARE(strip()->graph(2)->dataCount(), 0);
        QVERIFY(strip()->graph(0)->dataCount() > 0);
        QCOMPARE(rec().Navigator.text(100, 9), QStringLiteral("0"));
        QCOMPARE(strip()->graph(1)->data()->at(0)->value, rec().Navigator.value(1, 5)); // TP

        chart().Btn_toEnd->click();
        comparePage(181, 201);
        QCOMPARE(nav().windowLeft(), int(400 * 181 / 201.0));
        QCOMPARE(nav().windowWidth(), int(400 * 20 / 201.0));
        chart().Btn_toBegin->click();
        comparePage(0, 20);
        chart().Btn_Page_toLeft->click();
        comparePage(-20, 0);
        QCOMPARE(nav().windowLeft(), int(400 * -20 / 201.0));
        chart().Btn_Page_toRight->click();
        chart().Btn_Page_toRight->click();
        comparePage(20, 40);
        chart().Btn_Step_toRight->click();
        comparePage(20.25, 40.25);
        chart().Btn_Step_toLeft->click();
        chart().Btn_Step_toLeft->click();
        comparePage(19.75, 39.75);

        // A click at the strip's very left centres the window there: its edge and the page
        // start before the recording.
        QTest::mouseClick(strip(), Qt::LeftButton, {}, QPoint(0, 30));
        QCOMPARE(nav().windowLeft(), -(nav().windowWidth() / 2));
        QCOMPARE(page().lower, nav().windowLeft() * 201 / 400.0);
        QCOMPARE(page().upper, page().lower + 20);
        QTest::mouseClick(strip(), Qt::RightButton, {}, QPoint(200, 30));
        QCOMPARE(nav().windowLeft(), 200 - nav().windowWidth() / 2);
        QCOMPARE(rec().Page_Begin, page().lower);

        // A left click on the window centres it under the pointer.
        const int left = nav().windowLeft();
        QTest::mouseClick(chart().Blue_Line, Qt::LeftButton, {}, QPoint(30, 40));
        QCOMPARE(nav().windowLeft(), left + 30 - 19);
        QCOMPARE(page().lower, nav().windowLeft() * 201 / 400.0);

        // A right drag moves it by the pointer's way; the release shows its page.
        const int before = nav().windowLeft();
        // Through the window, not the display's pointer, which may be over another window.
        QWidget* line = chart().Blue_Line;
        QWindow* win = line->window()->windowHandle();
        auto at = [line](int x) { return line->mapTo(line->window(), QPoint(x, 40)); };
        QTest::mousePress(win, Qt::RightButton, {}, at(10));
        QVERIFY(nav().dragging());
        QTest::mouseMove(win, at(60));
        QCOMPARE(nav().windowLeft(), before + 50);
        QTest::mouseRelease(win, Qt::RightButton, {}, at(10));
        QVERIFY(!nav().dragging());
        QCOMPARE(nav().windowLeft(), before + 50);
        QCOMPARE(page().lower, (before + 50) * 201 / 400.0);
        QCOMPARE(rec().Page_End, page().lower + 20);

        // Held, a step button glides by a step every 100 ms; the release adds one more.
        chart().Btn_toBegin->click();
        QTest::mousePress(chart().Btn_Step_toRight, Qt::LeftButton);
        QVERIFY(nav().Timer_Step_Right->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(rec().Page_Begin >= 0.75, 3000);
        QTest::mouseRelease(chart().Btn_Step_toRight, Qt::LeftButton);
        QVERIFY(!nav().Timer_Step_Right->isActive());
        QCOMPARE(std::fmod(rec().Page_Begin, 0.25), 0.0);

        // A wider page keeps the window's centre (measured on the strip plus 20 pixels).
        chart().Btn_toEnd->click();
        const int centre = nav().windowLeft() + nav().windowWidth() / 2;
        QTest::mousePress(chart().atb_PageUp, Qt::LeftButton);
        QTest::mouseRelease(chart().atb_PageUp, Qt::LeftButton);
        QCOMPARE(rec().Page_Samples, 24.0);
        QCOMPARE(nav().windowWidth(), int(420 * 24 / 201.0));
        QCOMPARE(nav().windowLeft(), centre - nav().windowWidth() / 2);

        // After Clear there is nothing to browse.
        chart().atb_Chart1_Clear->click();
        QVERIFY(!chart().Blue_Line->isVisible());
        for (int s = 0; s < ChartNavigator::Series; ++s) QCOMPARE(strip()->graph(s)->dataCount(), 0);
        const QCPRange cleared = page();
        nav().Btn_toEndClick();
        nav().Btn_Step_toLeftClick();
        QTest::mouseClick(strip(), Qt::LeftButton, {}, QPoint(300, 30));
        QCOMPARE(page(), cleared);
        QVERIFY(!chart().Blue_Line->isVisible());
    }

    // Saving and showing with nothing recorded say so and do nothing else.
    void nothingRecorded() {
        makeWindow(QStringLiteral("C"));
        chart().atb_Param_Save->click();
        QCOMPARE(errors.size(), 1);
        QCOMPARE(errors.first(), recordfile::nothingRecordedMessage(false));
        QCOMPARE(dialogs, 0);
        nav().atb_Show_NavigatorClick();
        QCOMPARE(errors.size(), 2);
        QVERIFY(!chart().Blue_Line->isVisible());
        QVERIFY(!chart().Btn_toEnd->isEnabled());
    }

    // A demo recording saved, cleared and opened again gives the same rows and points (in
    // the file's hundredths), the strip can browse it, and saving it again writes the same
    // bytes.
    void recordingSavedOpenedSavedAgain_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("ru") << "ru_RU";
        QTest::newRow("C") << "C";
    }
    void recordingSavedOpenedSavedAgain() {
        QFETCH(QString, locale);
        makeWindow(locale);
        QVERIFY(wt::connectDemo(*w, QStringLiteral("DEMO TR-90")));
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Read->isActive() && !w->Conn->modelName().isEmpty(), 8000);
        w->cb_Int_Graf_In->setCurrentIndex(0);
        chart().atb_Chart1_Start->click();
        QTRY_VERIFY_WITH_TIMEOUT(rec().Row_Arhiv > 40, 15000);
        // Saving while recording pauses first.
        answer = tmp->filePath(QStringLiteral("first"));
        chart().atb_Param_Save->click();
        QVERIFY(!w->Ex->Timer_Module_Graf->isActive());
        QVERIFY(chart().atb_Chart1_Continue->isVisible());
        QCOMPARE(liveStops, 1);
        const QString first = tmp->filePath(QStringLiteral("first_data.txt"));
        const QByteArray saved = fileBytes(first);
        const int rows = rec().Row_Arhiv - 1;
        QCOMPARE(saved.count("\r\n"), rows);
        QCOMPARE(saved.count("#U2posle#\r\n"), rows);
        chart().atb_Chart1_Stop->click();

        // What the file holds: every cell in hundredths, cut toward zero.
        std::vector<std::array<long long, 12>> cells(static_cast<std::size_t>(rows));
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < 12; ++c) cells[std::size_t(r)][std::size_t(c)] = recordfile::hundredths(rec().Arhiv.value(r + 1, c));
        ParamChart& pc = rec().chart();
        std::vector<QString> labels;
        for (int i = 0; i < rows; ++i) labels.push_back(pc.timeLabel(i));

        chart().atb_Chart1_Clear->click();
        answer = first;
        chart().atb_Param_Open->click();
        QVERIFY(errors.isEmpty());
        QCOMPARE(rec().Row_Arhiv, rows + 1);
        QCOMPARE(rec().Samples_Total, double(rows + 1));
        QCOMPARE(pc.sampleCount(), rows);
        QVERIFY(chart().atb_Chart1_Stop->isEnabled());
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < 12; ++c)
                QCOMPARE(recordfile::hundredths(rec().Arhiv.value(r + 1, c)), cells[std::size_t(r)][std::size_t(c)]);
            QCOMPARE(pc.timeLabel(r), labels[std::size_t(r)]);
        }
        // The chart's points are the file's values, series by series.
        QCOMPARE(pc.value(9, rows - 1), rec().Arhiv.value(rows, 4)); // TP
        QCOMPARE(pc.value(3, rows - 1), rec().Arhiv.value(rows, 6)); // L1
        // L1 counts against -5..10 in the navigator table.
        QCOMPARE(float(rec().Navigator.value(rows, 7)), float((rec().Arhiv.value(rows, 6) + 5) * 100 / 15));

        chart().atb_Chart1_Stop->click();
        chart().atb_Show_Navigator->click();
        QVERIFY(chart().Blue_Line->isVisible());
        QVERIFY(strip()->graph(1)->dataCount() > 0);
        chart().Btn_toEnd->click();
        QCOMPARE(page().upper, double(rows + 1));

        answer = tmp->filePath(QStringLiteral("second_data.txt"));
        chart().atb_Param_Save->click();
        QCOMPARE(fileBytes(answer), saved);
        QCOMPARE(QDir(tmp->path()).entryList({QStringLiteral("*")}, QDir::Files).size(), 2);
    }

    // A line that cannot be read stops the load, naming its number; the rows before it
    // stay. Points of a second load go after the first one's; the tables hold the last file.
    void badLineAndAppendedLoads() {
        makeWindow(QStringLiteral("ru_RU"));
        const QByteArray good = "1225#Step#345#SP#1050#STR#212#AI#85000#TP#310000#SD#-180#L1#0#L2#0#U1do#0#"
                                "U1posle#0#U2do#0#U2posle#\r\n";
        const QString name = tmp->filePath(QStringLiteral("bad_data.txt"));
        writeBytes(name, good + good + "1250#Step#1#SP#\r\n" + good);
        answer = name;
        chart().atb_Param_Open->click();
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(QStringLiteral("строка 3")), qPrintable(errors.first()));
        QCOMPARE(rec().Row_Arhiv, 3);
        QCOMPARE(rec().Arhiv.text(1, 0), QStringLiteral("12,25"));
        QCOMPARE(rec().Arhiv.text(2, 6), QStringLiteral("-1,8"));
        QCOMPARE(rec().chart().timeLabel(0), QStringLiteral("12,25"));
        QCOMPARE(rec().Navigator.text(1, 1), QStringLiteral("12,25"));
        QCOMPARE(rec().Navigator.text(1, 2), QStringLiteral("17,25")); // SP 3,45 of 0..20

        const QString other = tmp->filePath(QStringLiteral("good_data.txt"));
        writeBytes(other, good + good + good + "\r\n");
        answer = other;
        chart().atb_Param_Open->click();
        QCOMPARE(errors.size(), 1);
        QCOMPARE(rec().chart().sampleCount(), 5);
        rec().chart().plot()->replot();
        QCOMPARE((rec().chart().runs(0).back()->data()->constEnd() - 1)->key, 4.0);
        QCOMPARE(rec().Row_Arhiv, 4);
        QCOMPARE(rec().Arhiv.samples(), 3);

        // A cancelled dialog changes nothing.
        answer.clear();
        chart().atb_Param_Open->click();
        QCOMPARE(rec().chart().sampleCount(), 5);
    }

    // The suffix is appended only when missing; a file it then names is replaced only when
    // the user agrees.
    void suffixAndOverwrite() {
        makeWindow(QStringLiteral("C"));
        const QByteArray good = "25#Step#345#SP#1050#STR#212#AI#85000#TP#310000#SD#-180#L1#0#L2#0#U1do#0#"
                                "U1posle#0#U2do#0#U2posle#\r\n";
        writeBytes(tmp->filePath(QStringLiteral("in_data.txt")), good);
        answer = tmp->filePath(QStringLiteral("in_data.txt"));
        chart().atb_Param_Open->click();
        QCOMPARE(rec().Row_Arhiv, 2);

        writeBytes(tmp->filePath(QStringLiteral("old_data.txt")), "old");
        QStringList asked;
        bool replace = false;
        w->RecordFileButtons->confirmOverwrite = [&](const QString& n) {
            asked << n;
            return replace;
        };
        answer = tmp->filePath(QStringLiteral("old"));
        chart().atb_Param_Save->click();
        QCOMPARE(asked, QStringList{tmp->filePath(QStringLiteral("old_data.txt"))});
        QCOMPARE(fileBytes(tmp->filePath(QStringLiteral("old_data.txt"))), QByteArray("old"));
        replace = true;
        chart().atb_Param_Save->click();
        QCOMPARE(fileBytes(tmp->filePath(QStringLiteral("old_data.txt"))), good);
        // A name that has the suffix already is taken as it is (the dialog asked about it).
        answer = tmp->filePath(QStringLiteral("in_data.txt"));
        chart().atb_Param_Save->click();
        QCOMPARE(asked.size(), 2);
        QVERIFY(!QFile::exists(tmp->filePath(QStringLiteral("in_data.txt_data.txt"))));
        // A file that cannot be written is reported.
        answer = tmp->filePath(QStringLiteral("missing/x"));
        chart().atb_Param_Save->click();
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().contains(QStringLiteral("x_data.txt")));
    }
};

QTEST_MAIN(TestRecords)
#include "test_records.moc"
