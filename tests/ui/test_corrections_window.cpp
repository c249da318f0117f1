// The corrections of the MAF table through the window, from a recording put into the
// archive: the preview's tool tips and filter counts, the settings' checks and their file,
// apply as one undo step, locked cells, and the MAF table as the only one that gets them.
//
// The recording holds two operating points exactly on breakpoints, so that every sample
// falls into one cell: A (1600 rpm, 2,5 V, cell 5,5) and B (4800 rpm, 3,2 V, cell 7,6),
// 400 samples each at 0,1 s. Its first 20 s are the sensor's warm-up, the last three rows
// have no reading one delay later, so 200 samples of A count; the jump from A to B is a
// transient.
#include "analysis/corrections.h"
#include "app/recordingviews.h"
#include "tables/correctionscontroller.h"
#include "tables/grideditor.h"
#include "tables/suggestwindow.h"
#include "tables/table3dpanel.h"
#include "telemetry/liverecorder.h"
#include "windowtest.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

const QString Module = QStringLiteral("TR-70A03");
const QPoint CellA(5, 5), CellB(7, 6);

struct Point {
    double rpm, volts;
    double afr1, afr2; // L1 alternates between the two, so that it never reads as stuck
};

} // namespace

class TestCorrectionsWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;

    Table3DPanel& tables() { return *w->Panel_3D; }
    CorrectionsController& corr() { return *w->Corrections; }
    SuggestWindow& fm() { return *corr().window(); }

    void newWindow() {
        w = std::make_unique<TForm1>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->Ctx.module.identifier = Module;
        w->Ctx.module.Ed_Type_Datchik_1_RU = QStringLiteral("Широкополосный");
    }

    // 400 samples at each point, in turn, 0,1 s apart.
    void record(const QList<Point>& points) {
        std::vector<std::vector<double>> cols(12);
        int i = 0;
        for (const Point& p : points) {
            for (int k = 0; k < 400; ++k, ++i) {
                cols[analysis::column::Time].push_back(i * 0.1);
                cols[analysis::column::SP].push_back(4.0);
                cols[analysis::column::STR].push_back(0);
                cols[analysis::column::AI].push_back(p.volts);
                cols[analysis::column::TP].push_back(p.rpm);
                cols[analysis::column::SD].push_back(0);
                cols[analysis::column::L1].push_back(k % 2 ? p.afr2 : p.afr1);
                for (int c = analysis::column::L2; c <= analysis::column::U2posle; ++c) cols[c].push_back(0);
            }
        }
        LiveRecorder& rec = *w->Recorder;
        rec.Arhiv.appendRows(cols);
        rec.Row_Arhiv = rec.Arhiv.samples() + 1;
    }

    void showMaf(int a, int b) {
        for (int r = 1; r <= 8; ++r)
            for (int c = 1; c <= 8; ++c) tables().sgrid_3D_MAF.setCell(c, r, QStringLiteral("0"));
        tables().sgrid_3D_MAF.setCell(CellA.x(), CellA.y(), QString::number(a));
        tables().sgrid_3D_MAF.setCell(CellB.x(), CellB.y(), QString::number(b));
        QVERIFY(tables().btn_MAF());
    }

    QString tip(QPoint cell) { return corr().toolTip(cell.x(), cell.y()); }
    void setEdit(QLineEdit* e, const QString& text) {
        e->setText(text);
        emit e->editingFinished();
    }

private slots:
    void init() {
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        wt::freshConfiguration();
        QFile::remove(correctionsfile::FileName);
        newWindow();
    }
    void cleanup() {
        w.reset();
        QLocale::setDefault(QLocale::c());
    }

    // What a cell's tool tip reads for a recording at its point, and that the change has
    // the sign of the mixture error: lean cells get more, rich ones less.
    void toolTips_data() {
        QTest::addColumn<double>("afr1");
        QTest::addColumn<double>("afr2");
        QTest::addColumn<QString>("expected");
        // ln(15,3/14,5) and ln(15,5/14,5) average 6,02 %: 7,2 units at a gain of 1,2.
        QTest::newRow("lean") << 15.3 << 15.5 << u"Поправка: +7\nОтсчётов: 200\nСредний AFR: 15,4\nЦель: 14,5"_qs;
        QTest::newRow("rich") << 13.6 << 13.8 << u"Поправка: -7\nОтсчётов: 200\nСредний AFR: 13,7\nЦель: 14,5"_qs;
        // 25 % lean asks for 27 units: the limit per recording holds it at 10.
        QTest::newRow("limit") << 18.0 << 18.2 << u"Поправка: +10\nОтсчётов: 200\nСредний AFR: 18,1\nЦель: 14,5"_qs;
        // 0,69 % lean is 0,8 units: within the deadband of 1.
        QTest::newRow("deadband") << 14.5 << 14.7
                                  << u"Поправка в пределах зоны нечувствительности\nОтсчётов: 200\nСредний AFR: 14,6\nЦель: 14,5"_qs;
    }
    void toolTips() {
        QFETCH(double, afr1);
        QFETCH(double, afr2);
        QFETCH(QString, expected);
        record({{1600, 2.5, afr1, afr2}});
        showMaf(0, 0);
        corr().actSuggest->trigger();
        QVERIFY(corr().previewShown());
        QVERIFY(fm().isVisible());
        QCOMPARE(tip(CellA), expected);
        // A cell without samples has no tool tip; the grid shows the preview, not the table.
        QCOMPARE(tip(CellB), QString());
        QVERIFY(tables().ui.sgrid_Table_3D->itemDelegate() != tables().cellDelegate());
        QCOMPARE(tables().ui.sgrid_Table_3D->editTriggers(), QAbstractItemView::NoEditTriggers);
    }

    // The counts of the filters, and the summary, as the window shows them.
    void filterCounts() {
        record({{1600, 2.5, 15.3, 15.5}, {4800, 3.2, 13.6, 13.8}});
        showMaf(0, 0);
        corr().actSuggest->trigger();
        const analysis::CorrectionResult& r = corr().result();
        // The warm-up is the sensor's: samples whose reading (three rows, 300 ms, later)
        // falls into the first 20 s. Then the jump from A to B and the second after it.
        QCOMPARE(r.delaySamples, 3);
        QCOMPARE(r.rejectedBy(analysis::Filter::WarmUp), 197);
        QVERIFY(r.rejectedBy(analysis::Filter::Transient) > 0);
        for (int i = 0; i < analysis::FilterCount; ++i)
            QCOMPARE(fm().filterLabels.at(i)->text(),
                     QStringLiteral("%1: %2").arg(analysis::filterName(analysis::Filter(i), false))
                         .arg(r.rejectedBy(analysis::Filter(i))));
        QCOMPARE(fm().filterLabels.at(0)->text(), u"Прогрев датчика: 197"_qs);
        QVERIFY(tip(CellA).startsWith(u"Поправка: +7\n"_qs));
        QVERIFY(tip(CellB).startsWith(u"Поправка: -7\n"_qs));
        QVERIFY(fm().btnSuggestApply->isEnabled());
    }

    // Apply: one undo step, clamped to the table's range, the preview ended; undo brings
    // the table back whole.
    void applyAndUndo() {
        record({{1600, 2.5, 15.3, 15.5}, {4800, 3.2, 13.6, 13.8}});
        showMaf(95, -3);
        corr().actSuggest->trigger();
        QVERIFY(corr().actApplySuggestions->isEnabled());
        const QStringList before = tables().tableCells();
        QTest::mouseClick(fm().btnSuggestApply, Qt::LeftButton);
        QVERIFY(!corr().previewShown());
        QCOMPARE(tables().cellText(CellA.x(), CellA.y()), u"99"_qs); // 95 + 7, held at 99
        QCOMPARE(tables().cellText(CellB.x(), CellB.y()), u"-10"_qs);
        QCOMPARE(tables().sgrid_3D_MAF.cell(CellB.x(), CellB.y()), u"-10"_qs);
        QVERIFY(tables().ui.sgrid_Table_3D->itemDelegate() == tables().cellDelegate());
        QVERIFY(tables().ui.sgrid_Table_3D->editTriggers() != QAbstractItemView::NoEditTriggers);
        tables().editor()->undo();
        QCOMPARE(tables().tableCells(), before);
        tables().editor()->redo();
        QCOMPARE(tables().cellText(CellB.x(), CellB.y()), u"-10"_qs);
        // Applying without a preview does nothing.
        QVERIFY(!corr().applyProposals());
    }

    // Only the MAF table gets corrections.
    void mafTableOnly() {
        record({{1600, 2.5, 15.3, 15.5}});
        QVERIFY(tables().btn_Lambda());
        QVERIFY(!corr().actSuggest->isEnabled());
        QVERIFY(!corr().startPreview());
        showMaf(0, 0);
        QVERIFY(corr().actSuggest->isEnabled());
        corr().actSuggest->trigger();
        QVERIFY(corr().previewShown());
        // Showing another table ends the preview.
        QVERIFY(tables().btn_Lambda());
        QVERIFY(!corr().previewShown());
        QVERIFY(!corr().actApplySuggestions->isEnabled());
    }

    // An edit is checked before it counts; an accepted one updates the preview and goes
    // into the file, which the next window reads.
    void settingsPersist_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("min samples") << "edSuggestMinHits" << "300" << true;
        QTest::newRow("min samples not a number") << "edSuggestMinHits" << "abc" << false;
        QTest::newRow("min samples not whole") << "edSuggestMinHits" << "20,5" << false;
        QTest::newRow("limit") << "edSuggestLimit" << "5" << true;
        QTest::newRow("limit beyond the table") << "edSuggestLimit" << "120" << false;
        QTest::newRow("gain") << "edSuggestGain" << "0,5" << true;
        QTest::newRow("gain zero") << "edSuggestGain" << "0" << false;
        QTest::newRow("delay") << "edSuggestDelay" << "500" << true;
        QTest::newRow("delay negative") << "edSuggestDelay" << "-100" << false;
        QTest::newRow("deadband") << "edSuggestDeadband" << "8" << true;
    }
    void settingsPersist() {
        QFETCH(QString, edit);
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        record({{1600, 2.5, 15.3, 15.5}});
        showMaf(0, 0);
        corr().actSuggest->trigger();
        auto* e = fm().findChild<QLineEdit*>(edit);
        QVERIFY(e);
        const QString before = e->text();
        const QString tipBefore = tip(CellA);
        setEdit(e, text);
        if (!accepted) {
            QCOMPARE(e->text(), before);
            QVERIFY(fm().note().contains(text));
            QCOMPARE(tip(CellA), tipBefore);
            QVERIFY(!QFile::exists(correctionsfile::FileName));
            return;
        }
        QCOMPARE(e->text(), text);
        QVERIFY(fm().note().isEmpty());
        // A steady recording pairs the same readings at any delay: there the shift shows.
        if (edit == u"edSuggestDelay"_qs)
            QCOMPARE(corr().result().delaySamples, 5);
        else
            QVERIFY(tip(CellA) != tipBefore); // each value above changes this cell's proposal
        QVERIFY(QFile::exists(correctionsfile::FileName));
        newWindow();
        QCOMPARE(w->Corrections->window()->findChild<QLineEdit*>(edit)->text(), text);
    }

    // A target: out of its range refused, in range taken and kept.
    void targets() {
        record({{1600, 2.5, 15.3, 15.5}});
        showMaf(0, 0);
        corr().actSuggest->trigger();
        QTableWidgetItem* t = fm().sgrid_Targets->item(CellA.y() - 1, CellA.x() - 1);
        QCOMPARE(t->text(), u"14,5"_qs);
        t->setText(u"25"_qs);
        QCOMPARE(t->text(), u"14,5"_qs);
        QVERIFY(fm().note().contains(u"25"_qs));
        t->setText(u"15,4"_qs);
        QVERIFY(tip(CellA).startsWith(u"Поправка в пределах зоны нечувствительности\n"_qs));
        QVERIFY(tip(CellA).endsWith(u"Цель: 15,4"_qs));
        newWindow();
        QCOMPARE(w->Corrections->contents().settings.targets[std::size_t(analysis::cellIndex(CellA.x(), CellA.y()))],
                 15.4);
    }

    // A bad file is reported without blocking and changes nothing: the defaults stay in
    // force and the file stays as it was until a setting changes.
    void badFile() {
        const QByteArray bad = "delay_ms=300\r\nlimit=abc\r\n";
        {
            QFile f(correctionsfile::FileName);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bad);
        }
        newWindow();
        QMessageBox* box = nullptr;
        for (QMessageBox* b : w->findChildren<QMessageBox*>(QStringLiteral("ErrorBox")))
            if (b->isVisible() && b->text().contains(correctionsfile::FileName)) box = b;
        QVERIFY(box);
        QVERIFY(box->text().contains(u"строка 2"_qs)); // the line of "limit=abc"
        QCOMPARE(corr().contents().settings.limit, analysis::CorrectionSettings{}.limit);
        QCOMPARE(fm().edSuggestLimit->text(), u"10"_qs);
        QFile f(correctionsfile::FileName);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), bad);
    }

    // Locked cells: hatched, no proposal, unchanged by apply, kept for the module.
    void locks() {
        record({{1600, 2.5, 15.3, 15.5}, {4800, 3.2, 13.6, 13.8}});
        showMaf(10, 10);
        QTableWidget* g = tables().ui.sgrid_Table_3D;
        g->setCurrentCell(CellA.y() - 1, CellA.x() - 1);
        corr().actLockCells->trigger();
        QVERIFY(tables().cellDelegate()->look(CellA.y() - 1, CellA.x() - 1).hatched);
        QVERIFY(!tables().cellDelegate()->look(CellB.y() - 1, CellB.x() - 1).hatched);
        corr().actSuggest->trigger();
        QVERIFY(tip(CellA).startsWith(u"Ячейка закреплена\n"_qs));
        corr().actApplySuggestions->trigger();
        QCOMPARE(tables().cellText(CellA.x(), CellA.y()), u"10"_qs);
        QCOMPARE(tables().cellText(CellB.x(), CellB.y()), u"3"_qs);

        // The next window knows the lock of this module, and of no other.
        newWindow();
        QVERIFY(w->Corrections->locks().test(std::size_t(analysis::cellIndex(CellA.x(), CellA.y()))));
        QCOMPARE(int(w->Corrections->locks().count()), 1);
        w->Ctx.module.identifier = QStringLiteral("TR-70B01");
        QVERIFY(w->Corrections->locks().none());
        // Locking a locked cell again unlocks it.
        w->Ctx.module.identifier = Module;
        showMaf(0, 0);
        tables().ui.sgrid_Table_3D->setCurrentCell(CellA.y() - 1, CellA.x() - 1);
        w->Corrections->actLockCells->trigger();
        QVERIFY(w->Corrections->locks().none());
    }
};

QTEST_MAIN(TestCorrectionsWindow)
#include "test_corrections_window.moc"
