// Pictures and the work report through the real window. The chart's picture in each format
// and size holds the chart's own drawing (a shown series' colour, the axis titles) of the
// range shown when it was asked for; the clipboard gets a PNG; the surface picture is the
// picture the view shows. The report of a demo run (read the MAF table, change three cells,
// write it, record) names the module and exactly those three changes in either language; a
// run that changed nothing says so; a damaged history copy is named and skipped; the
// printer gets the same report; earlier work is reported from the dates of the history.
// With SCREENSHOT_DIR set, the pictures and reports are kept there for a person to look at.
#include "app/workreports.h"
#include "common/messages.h"
#include "history/history.h"
#include "pdftext.h"
#include "report/reporttexts.h"
#include "settings/settingspanel.h"
#include "surface/surfaceview.h"
#include "tabletest.h"
#include "telemetry/chartmenu.h"
#include "telemetry/chartpanel.h"
#include "telemetry/chartpicture.h"
#include "telemetry/chartpictures.h"
#include "telemetry/liverecorder.h"
#include "telemetry/parampanel.h"
#include "telemetry/recordfile.h"
#include "telemetry/recordfiles.h"

#include <QAction>
#include <QClipboard>
#include <QMimeData>
#include <QPrinter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTableWidget>
#include <qcustomplot.h>

#include <cmath>
#include <tuple>

namespace {

const QString kModule = QStringLiteral("TR-70A03");
constexpr int PvkSeries = 9; // crankshaft speed, on the right axis

// MAF cells inside the table's range (-99..99), so that showing the table changes none.
int cellByte(int c, int r) { return 128 + (c * 7 + r * 3) % 41 - 20; }

QByteArray minuteOfDriving() {
    QByteArray out;
    for (int i = 0; i < 600; ++i) {
        const double t = i * 0.1;
        out += recordfile::encodeLine({t, 3, 5, 2 + std::sin(t), 800 + 2000 * (1 + std::sin(t / 5)), 2000,
                                       0.45 + 0.4 * std::sin(t * 3), 0.5, 0.5, 0.6, 0.5, 0.6});
    }
    return out;
}

// Pixels of exactly (exact) or nearly the colour.
int pixelsOf(const QImage& image, const QColor& colour, bool exact) {
    int n = 0;
    const QRgb want = colour.rgb();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (exact ? (p & 0xFFFFFF) == (want & 0xFFFFFF)
                      : qAbs(qRed(p) - qRed(want)) + qAbs(qGreen(p) - qGreen(want)) + qAbs(qBlue(p) - qBlue(want)) < 60)
                ++n;
        }
    return n;
}

QString oneLine(QString s) { return s.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" ")); }

void keepForLooking(const QString& path, const QString& name) {
    const QString dir = qEnvironmentVariable("SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    QFile::remove(QDir(dir).filePath(name));
    QFile::copy(path, QDir(dir).filePath(name));
}

} // namespace

class TestWorkReport : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;
    QStringList errors;
    sim::SimModule* m = nullptr;
    QTemporaryDir out;

    ParamChart& chart() { return w->Recorder->chart(); }
    WorkReports* reports() { return w->Reports; }

    void openWindow() {
        wt::freshConfiguration();
        w = std::make_unique<TForm1>();
        w->Ctx.error = [this](const QString& text) { errors << text; };
        w->Ctx.confirm = [](QDialog*) { return true; };
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void connectModule() {
        m = tt::connectWithCells(*w, TableKind::Maf, cellByte);
        QVERIFY(m);
        QTRY_VERIFY_WITH_TIMEOUT(tt::connected(*w), 8000);
    }
    void readMaf() {
        tt::viewButton(*w, TableKind::Maf)->click();
        QTest::mouseClick(tt::readButton(*w, TableKind::Maf), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!tt::readTimer(*w, TableKind::Maf)->isActive(), 10000);
        QCOMPARE(w->Panel_3D->sgrid_3D_MAF.cell(8, 8), QString::number(cellByte(8, 8) - 128));
    }
    // Adds 5 to the cells and writes the table.
    void changeAndWrite(const QList<QPoint>& cells) {
        for (const QPoint& p : cells) {
            const QString text = QString::number(cellByte(p.x(), p.y()) - 128 + 5);
            w->Panel_3D->sgrid_3D_MAF.setCell(p.x(), p.y(), text);
            w->Panel_3D->setCellText(p.x(), p.y(), text);
        }
        QTest::mouseClick(tt::writeButton(*w, TableKind::Maf), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!tt::writeTimer(*w, TableKind::Maf)->isActive(), 10000);
        for (const QPoint& p : cells) QCOMPARE(int(m->reg(sim::reg::mafCell(p.x(), p.y()))), cellByte(p.x(), p.y()) + 5);
    }
    void record(int samples) {
        w->atb_Parr_minClick();
        w->cb_Int_Graf_In->setCurrentIndex(0);
        QTest::mouseClick(w->Panel_Parr_Max->ui.atb_Chart1_Start, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(w->Recorder->Row_Arhiv > samples, 20000);
        QTest::mouseClick(w->Panel_Parr_Max->ui.atb_Chart1_Stop, Qt::LeftButton);
    }
    // The report written through actWorkReport, as text.
    QString report(const QString& name) {
        const QString path = out.filePath(name);
        QString asked;
        w->Ctx.saveFileName = [&](const QString& caption, const QString& filter) {
            asked = caption + QLatin1Char('|') + filter;
            return path;
        };
        reports()->actWorkReport->trigger();
        if (asked.isEmpty() || !QFile::exists(path)) return QStringLiteral("(no report: %1)").arg(errors.join(' '));
        keepForLooking(path, (msgs().english() ? QStringLiteral("en-") : QStringLiteral("ru-")) + name);
        QString error;
        const QString text = pdf::text(path, &error, true);
        return text.isEmpty() ? error : oneLine(text);
    }
    // A chart that shows a minute of driving with the crankshaft speed.
    void chartWithRecord() {
        openWindow();
        w->atb_Parr_minClick();
        QVERIFY(w->RecordFileButtons->load(QStringLiteral("drive_data.txt"), minuteOfDriving()));
        w->Panel_Parr_Parr_Max->seriesRow(PvkSeries).check->click();
        QVERIFY(chart().seriesActive(PvkSeries));
        chart().setTimeRange(100, 400);
        chart().plot()->replot();
    }

private slots:
    void initTestCase() { QVERIFY(out.isValid()); }
    void init() { QDir(QStringLiteral("history")).removeRecursively(); }
    void cleanup() {
        // The language is the program's, not the window's: the next window starts Russian.
        if (w) w->atbRusClick();
        w.reset();
        errors.clear();
        m = nullptr;
    }

    // --- pictures -------------------------------------------------------------------

    void chartPicture_data() {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("written");
        QTest::addColumn<bool>("fullHd");
        QTest::newRow("PNG at the chart's size") << 0 << "a" << "a.png" << false;
        QTest::newRow("SVG at the chart's size") << 1 << "b.svg" << "b.svg" << false;
        QTest::newRow("PDF at the chart's size") << 2 << "c" << "c.pdf" << false;
        QTest::newRow("PNG 1920 x 1080") << 3 << "d.PNG" << "d.PNG" << true;
        QTest::newRow("SVG 1920 x 1080, PDF typed") << 4 << "e.pdf" << "e.pdf" << true;
        QTest::newRow("PDF 1920 x 1080") << 5 << "f" << "f.pdf" << true;
    }
    void chartPicture() {
        QFETCH(int, filter);
        QFETCH(QString, name);
        QFETCH(QString, written);
        QFETCH(bool, fullHd);
        chartWithRecord();
        if (QTest::currentTestFailed()) return;
        ChartPictures* pictures = reports()->chartPictures();
        const QSize size = fullHd ? chartpicture::FullHd : chart().plot()->size();
        const QColor colour = chart().seriesColor(PvkSeries);
        const QCPRange shown = chart().plot()->xAxis->range();
        const QString path = out.filePath(written);
        QFile::remove(path);
        pictures->askFile = [&](const QString&, const QStringList& filters, int* chosen) {
            // The recording runs on while the dialog is open: the picture keeps the range.
            chart().setTimeRange(0, 599);
            *chosen = filter;
            return filters.size() == 6 ? out.filePath(name) : QString();
        };
        pictures->actSaveChartImage->trigger();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
        QVERIFY2(QFile::exists(path), qPrintable(path));
        keepForLooking(path, written);
        QCOMPARE(chart().plot()->xAxis->range(), QCPRange(0, 599));
        QCOMPARE(chart().plot()->viewport(), chart().plot()->rect());

        QImage image;
        if (written.endsWith(QStringLiteral(".svg"))) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray svg = f.readAll();
            // The SVG's own units are the picture's pixels.
            QVERIFY(svg.contains(QStringLiteral("viewBox=\"0 0 %1 %2\"").arg(size.width()).arg(size.height()).toUtf8()));
            QVERIFY(svg.contains(">Время<")); // the time axis title, as text
            QSvgRenderer renderer(svg);
            QVERIFY(renderer.isValid());
            image = QImage(size, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter p(&image);
            renderer.render(&p);
        } else if (written.endsWith(QStringLiteral(".pdf"))) {
            image = pdf::pageImage(path);
            QVERIFY(qAbs(image.width() - size.width()) <= 1 && qAbs(image.height() - size.height()) <= 1);
            QVERIFY(oneLine(pdf::text(path)).contains(QStringLiteral("Время")));
        } else {
            QVERIFY(image.load(path, "PNG"));
            QCOMPARE(image.size(), size);
            // The picture is that of the range shown when it was asked for.
            if (!fullHd) QCOMPARE(image, chartpicture::image(chart(), size, std::make_pair(shown.lower, shown.upper)));
        }
        QVERIFY2(pixelsOf(image, colour, !written.endsWith(QStringLiteral(".pdf")) && !written.endsWith(QStringLiteral(".svg"))) > 50,
                 qPrintable(colour.name()));
    }

    // The hover readout stays on the chart and out of the picture; the clipboard gets a PNG.
    void copyAndReadout() {
        chartWithRecord();
        if (QTest::currentTestFailed()) return;
        QCustomPlot* plot = chart().plot();
        const QPoint middle = plot->axisRect()->rect().center();
        QTest::mouseMove(plot, middle);
        QCPLayer* readout = plot->layer(QStringLiteral("readout"));
        QVERIFY(readout && readout->visible());
        QApplication::clipboard()->clear();
        reports()->chartPictures()->actCopyChartImage->trigger();
        const QMimeData* mime = QApplication::clipboard()->mimeData();
        QVERIFY(mime && mime->hasFormat(QStringLiteral("image/png")));
        const QImage image = QImage::fromData(mime->data(QStringLiteral("image/png")), "PNG");
        QCOMPARE(image.size(), plot->size());
        QVERIFY(pixelsOf(image, chart().seriesColor(PvkSeries), true) > 50);
        // The readout's dashed cursor is dark grey: none of it in the picture's plot area.
        const QRect area = plot->axisRect()->rect();
        QCOMPARE(pixelsOf(image.copy(area.adjusted(2, 2, -2, -2)), QColor(60, 60, 60), true), 0);
        QVERIFY(readout->visible());
    }

    void surfacePicture() {
        openWindow();
        for (int r = 1; r <= 8; ++r)
            for (int c = 1; c <= 8; ++c) w->Panel_3D->sgrid_3D_MAF.setCell(c, r, QString::number((c - r) * 12));
        w->atb_MAFClick();
        SurfaceView* view = w->Panel_3D->ui.Panel_Space3D;
        QTRY_VERIFY_WITH_TIMEOUT(!view->sceneImage().isNull(), 5000);
        const QImage shown = view->sceneImage();
        const QString path = out.filePath(QStringLiteral("surface"));
        w->Ctx.saveFileName = [&](const QString&, const QString& filter) {
            return filter == QStringLiteral("PNG (*.png)") ? path : QString();
        };
        reports()->actSaveSurfaceImage->trigger();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
        QImage saved;
        QVERIFY(saved.load(path + QStringLiteral(".png"), "PNG"));
        QCOMPARE(saved.size(), shown.size());
        // What the view shows, not a blank: the background is far from all of it.
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), shown.convertToFormat(QImage::Format_RGB32));
        float bg[3];
        SurfaceView::clearColour(SurfaceFamily::Maf, bg);
        const int background = pixelsOf(saved, QColor::fromRgbF(bg[0], bg[1], bg[2]), false);
        QVERIFY2(background < saved.width() * saved.height() * 9 / 10, qPrintable(QString::number(background)));
    }

    // --- the work report -----------------------------------------------------------

    void demoRun_data() {
        QTest::addColumn<bool>("english");
        QTest::newRow("Russian") << false;
        QTest::newRow("English") << true;
    }
    void demoRun() {
        QFETCH(bool, english);
        openWindow();
        connectModule();
        if (QTest::currentTestFailed()) return;
        if (english) w->atbEngClick();
        readMaf();
        const QList<QPoint> cells{{2, 1}, {5, 4}, {8, 8}};
        changeAndWrite(cells);
        record(20);
        if (QTest::currentTestFailed()) return;
        const QString text = report(QStringLiteral("demo.pdf"));
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
        const report::Texts& t = report::texts(english);
        QVERIFY2(text.contains(kModule), qPrintable(text.left(300)));
        QVERIFY(text.contains(t.title));
        QVERIFY(text.contains(QStringLiteral("TR-70")));
        QVERIFY(text.contains(w->BComPort1->Port()));
        for (const QPoint& p : cells) {
            const int was = cellByte(p.x(), p.y()) - 128;
            const QString line = english ? QStringLiteral("Row %1, column %2: %3 → %4")
                                         : QStringLiteral("Строка %1, столбец %2: %3 → %4");
            QVERIFY2(text.contains(line.arg(p.y()).arg(p.x()).arg(was).arg(was + 5)), qPrintable(line));
        }
        // Exactly those three: no other cell, no setting.
        const QRegularExpression anyCell(english ? QStringLiteral("Row \\d, column \\d: ")
                                                 : QStringLiteral("Строка \\d, столбец \\d: "));
        QCOMPARE(int(text.count(anyCell)), 3);
        QVERIFY(text.contains(english ? QStringLiteral("MAF table: 3 cells changed")
                                      : QStringLiteral("Таблица MAF: изменено ячеек — 3")));
        QVERIFY(text.contains(english ? QStringLiteral("Settings: no changes") : QStringLiteral("Настройки: без изменений")));
        QVERIFY(text.contains(t.recordingHeading));
        QVERIFY(text.contains(t.page.arg(1).arg(QString())));
    }

    void nothingChanged() {
        openWindow();
        connectModule();
        if (QTest::currentTestFailed()) return;
        readMaf();
        const QString text = report(QStringLiteral("none.pdf"));
        QVERIFY(text.contains(kModule));
        QVERIFY2(text.contains(QStringLiteral("За время работы ничего не изменено.")), qPrintable(text.left(600)));
        QVERIFY(text.contains(QStringLiteral("прочитана, не записывалась")));
        QVERIFY(!text.contains(report::texts(false).recordingHeading + QLatin1Char(' ')));
    }

    void damagedCopySkipped() {
        openWindow();
        connectModule();
        if (QTest::currentTestFailed()) return;
        readMaf();
        changeAndWrite({{3, 3}});
        const QString folder = history::folder(QDir::currentPath(), kModule);
        const QString stamp = QDateTime::currentDateTime().addSecs(1).toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
        auto put = [&](const QString& name, const QByteArray& bytes) {
            QFile f(QDir(folder).filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        put(stamp + QStringLiteral("_MAF_written_7.txt"), QByteArray("\x00\x01\x02 binary", 10));
        put(stamp + QStringLiteral("_settings_read_7.txt"), "EEPROM-00 = 0000 0000\r\n");
        put(stamp + QStringLiteral("_Emu1_read_7.txt"), "2,5\r\n");
        const QString text = report(QStringLiteral("damaged.pdf"));
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
        QVERIFY(text.contains(QStringLiteral("Повреждённые файлы истории (пропущены)")));
        QVERIFY2(text.contains(stamp + QStringLiteral("_MAF_written_7.txt: не текст")), qPrintable(text));
        QVERIFY(text.contains(stamp + QStringLiteral("_settings_read_7.txt: строка 1 — не строка регистра")));
        QVERIFY(text.contains(stamp + QStringLiteral("_Emu1_read_7.txt: нет строки 2")));
        // The change stands: the damaged write after it is not taken for the table.
        const int was = cellByte(3, 3) - 128;
        QVERIFY(text.contains(QStringLiteral("Строка 3, столбец 3: %1 → %2").arg(was).arg(was + 5)));
        QVERIFY(text.contains(QStringLiteral("Таблица MAF: изменено ячеек — 1")));
    }

    // A mode switched with the mode buttons is a changed setting: the switch keeps its write.
    void modeSwitchIsAChange() {
        openWindow();
        connectModule();
        if (QTest::currentTestFailed()) return;
        QCOMPARE(m->reg(0x00) & 0x18, 0);
        QTest::mouseClick(w->Panel_Sett_Max->ui.AdvTBtn_Emu, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Emulator->isActive(), 5000);
        QCOMPARE(m->reg(0x00) & 0x18, 0x08);
        const QString text = report(QStringLiteral("mode.pdf"));
        QVERIFY2(text.contains(QStringLiteral("Настройки: изменено — 1")), qPrintable(text.left(800)));
        const qsizetype row = text.indexOf(QStringLiteral("Режим работы"));
        QVERIFY2(text.mid(row).startsWith(QStringLiteral("Режим работы Оптимизатор Эмулятор изменено")),
                 qPrintable(text.mid(row, 80)));
    }

    void printed() {
        openWindow();
        connectModule();
        if (QTest::currentTestFailed()) return;
        w->atbEngClick();
        readMaf();
        changeAndWrite({{1, 2}});
        const QString path = out.filePath(QStringLiteral("printed.pdf"));
        reports()->askPrinter = [&](std::function<void(QPrinter*)> print) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            print(&printer);
        };
        reports()->actPrintReport->trigger();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
        const QString text = oneLine(pdf::text(path));
        QVERIFY2(text.contains(QStringLiteral("Work report · ") + kModule), qPrintable(text.left(300)));
        const int was = cellByte(1, 2) - 128;
        QVERIFY(text.contains(QStringLiteral("Row 2, column 1: %1 → %2").arg(was).arg(was + 5)));
    }

    void noModuleYet() {
        openWindow();
        bool asked = false;
        w->Ctx.saveFileName = [&](const QString&, const QString&) {
            asked = true;
            return out.filePath(QStringLiteral("never.pdf"));
        };
        reports()->actWorkReport->trigger();
        QVERIFY(!asked);
        QCOMPARE(errors, QStringList{QStringLiteral("Модуль ещё не подключался: отчёт не о чем составить.")});
    }

    // A report of earlier work, chosen by the history's dates.
    void earlierWork() {
        const QDateTime yesterday(QDate::currentDate().addDays(-1), QTime(12, 0));
        auto copy = [&](int secs, history::Direction dir, int first) {
            QStringList lines(64, QStringLiteral("0"));
            lines[0] = QString::number(first);
            QByteArray bytes;
            for (const QString& l : lines) bytes += l.toLatin1() + "\r\n";
            QVERIFY(history::keep(QDir::currentPath(), kModule, TableKind::Maf, dir, bytes, yesterday.addSecs(secs),
                                  nullptr, nullptr, false));
        };
        copy(0, history::Direction::Read, 0);
        copy(60, history::Direction::Written, 7);
        openWindow();
        connectModule();
        if (QTest::currentTestFailed()) return;
        for (int chosen : {1, 0}) {
            QStringList offered;
            reports()->askPeriod = [&](const QStringList& items, std::function<void(int)> done) {
                offered = items;
                done(chosen);
            };
            const QString text = report(QStringLiteral("earlier%1.pdf").arg(chosen));
            QCOMPARE(offered.size(), 2);
            QVERIFY(offered.at(1).contains(yesterday.date().toString(QLocale().dateFormat(QLocale::ShortFormat))));
            QCOMPARE(text.contains(QStringLiteral("Строка 1, столбец 1: 0 → 7")), chosen == 1);
            QCOMPARE(text.contains(QStringLiteral("Таблица MAF")), chosen == 1);
        }
    }

    // Without a module in this run, the report is of the module the history saw last.
    void lastModuleOfTheHistory() {
        const QDateTime yesterday(QDate::currentDate().addDays(-1), QTime(12, 0));
        for (const auto& [id, secs, first] : {std::tuple{QStringLiteral("TR-90B01"), 0, 3},
                                              std::tuple{kModule, 60, 0}, std::tuple{kModule, 120, 9}}) {
            QStringList lines(64, QStringLiteral("0"));
            lines[63] = QString::number(first);
            QByteArray bytes;
            for (const QString& l : lines) bytes += l.toLatin1() + "\r\n";
            QVERIFY(history::keep(QDir::currentPath(), id, TableKind::Lambda,
                                  secs == 120 ? history::Direction::Written : history::Direction::Read, bytes,
                                  yesterday.addSecs(secs), nullptr, nullptr, false));
        }
        openWindow();
        bool asked = false;
        reports()->askPeriod = [&](const QStringList&, std::function<void(int)>) { asked = true; };
        const QString text = report(QStringLiteral("last.pdf"));
        QVERIFY(!asked); // one day only: nothing to choose
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
        QVERIFY2(text.contains(QStringLiteral("Идентификатор: ") + kModule), qPrintable(text.left(500)));
        QVERIFY(text.contains(QStringLiteral("Модель: TR-70")));
        QVERIFY(text.contains(QStringLiteral("Строка 8, столбец 8: 0 → 9")));
        QVERIFY(!text.contains(QStringLiteral("TR-90B01")));
    }

    // Where the actions are: the chart's and the grid's menus, the module menu, shortcuts.
    void reachable() {
        openWindow();
        QList<QAction*> chartActions = reports()->chartMenu()->actions();
        QCOMPARE(chartActions.value(0), reports()->chartPictures()->actSaveChartImage);
        QCOMPARE(chartActions.value(1), reports()->chartPictures()->actCopyChartImage);
        QCOMPARE(w->Panel_Parr_Max->ui.Chart1->contextMenuPolicy(), Qt::ActionsContextMenu);
        QVERIFY(w->Panel_3D->ui.sgrid_Table_3D->actions().contains(reports()->actSaveSurfaceImage));
        for (QWidget* menu : {static_cast<QWidget*>(w->atb_Menu_Module), static_cast<QWidget*>(w->pnlMenu_Module)}) {
            QCOMPARE(menu->contextMenuPolicy(), Qt::ActionsContextMenu);
            QCOMPARE(menu->actions(), (QList<QAction*>{reports()->actWorkReport, reports()->actPrintReport}));
        }
        // The module menu as the window shows it.
        QCOMPARE(w->pnlMenu_Module->height(), 50);
        QCOMPARE(reports()->actWorkReport->text(), QStringLiteral("Отчёт о работе…"));
        w->atbEngClick();
        QCOMPARE(reports()->actWorkReport->text(), QStringLiteral("Work report…"));
        QCOMPARE(reports()->chartPictures()->actSaveChartImage->text(), QStringLiteral("Save chart image…"));
        w->atbRusClick();
        QCOMPARE(reports()->chartPictures()->actSaveChartImage->text(), QStringLiteral("Сохранить изображение графика…"));
        // Ctrl+R anywhere in the window asks for the report (no module: it says why).
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w.get(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(errors.size(), 1);
    }
};

QTEST_MAIN(TestWorkReport)
#include "test_work_report.moc"
