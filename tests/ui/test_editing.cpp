// Editing tables and curves through the real window against the demo modules: a mix of
// committed edits, block operations, pastes, opened files and reads, each taken back and
// done again to the exact texts (grid, model grid, surface, curve chart); values asked by
// the value dialog; a refused paste; the heat map; the comparison with a file; the arrow
// keys on a curve marker.
#include "curvetest.h"
#include "tables/curvecodec.h"
#include "tables/gridcelldelegate.h"
#include "tables/grideditor.h"
#include "tables/table3dpanel.h"
#include "tabletest.h"

#include <QAction>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <qcustomplot.h>

Q_DECLARE_METATYPE(TableKind)

namespace {

void writeLines(const QString& name, const QStringList& lines) {
    QFile f(name);
    QVERIFY(f.open(QIODevice::WriteOnly));
    for (const QString& l : lines) f.write(l.toLatin1() + "\r\n");
}

QAction* action(QWidget* grid, const char* name) {
    QAction* a = grid->findChild<QAction*>(QString::fromLatin1(name));
    if (!a) qWarning("no action %s", name);
    return a;
}

// The state a step must bring back: the grid, the model grid, what the surface shows.
struct TableShot {
    QStringList grid, model, surface;
    bool operator==(const TableShot&) const = default;
};

} // namespace

class TestEditing : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;
    QTemporaryDir dir;
    QStringList errors;
    QStringList statuses;
    QString fileAnswer;
    double valueAnswer = 0;

    void makeWindow() {
        QLocale::setDefault(QLocale(QLocale::Russian));
        wt::freshConfiguration();
        w = std::make_unique<TForm1>();
        errors.clear();
        w->Ctx.error = [this](const QString& text) { errors << text; };
        w->Ctx.openFileName = [this](const QString&, const QString&, std::optional<TableKind>) { return fileAnswer; };
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        auto status = [this](const QString& text) { statuses << text; };
        w->Panel_3D->editor()->showStatus = status;
        w->Panel_Emu->editor()->showStatus = status;
        w->Panel_3D->editor()->askValue = [this](ValueQuestion, double* v) {
            *v = valueAnswer;
            return true;
        };
        w->Panel_Emu->editor()->askValue = w->Panel_3D->editor()->askValue;
    }

    TableShot shot(TableKind kind) {
        Table3DPanel* p = w->Panel_3D;
        TableShot s;
        s.grid = p->tableCells();
        for (int r = 1; r <= 8; ++r)
            for (int c = 1; c <= 8; ++c) s.model << p->modelGrid(kind).cell(c, r);
        s.surface = p->ui.Panel_Space3D->cells();
        // The voltage table's model grid keeps full precision from a read; the grid is the table.
        if (kind == TableKind::Voltage) s.model.clear();
        return s;
    }

    void read(TableKind kind) {
        QTest::mouseClick(tt::readButton(*w, kind), Qt::LeftButton);
        QVERIFY(tt::readTimer(*w, kind)->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!tt::readTimer(*w, kind)->isActive(), 8000);
    }

  private slots:
    void cleanup() {
        w.reset();
        QLocale::setDefault(QLocale::c());
    }

    void tableStepsTakenBackAndDoneAgain_data() {
        QTest::addColumn<TableKind>("kind");
        QTest::newRow("Lambda") << TableKind::Lambda;
        QTest::newRow("MAF") << TableKind::Maf;
        QTest::newRow("voltage") << TableKind::Voltage;
    }
    void tableStepsTakenBackAndDoneAgain() {
        QFETCH(TableKind, kind);
        makeWindow();
        sim::SimModule* m = tt::openWithCells(*w, kind, tt::patternByte);
        QVERIFY(m);
        tt::viewButton(*w, kind)->click();
        Table3DPanel* p = w->Panel_3D;
        QTableWidget* g = p->ui.sgrid_Table_3D;
        QList<TableShot> shots{shot(kind)};

        read(kind);
        shots << shot(kind);
        QVERIFY(shots.last() != shots.first());

        // A typed value committed with Enter.
        g->setCurrentCell(1, 1);
        p->setCellText(2, 2, QStringLiteral("3"));
        QTest::keyClick(g, Qt::Key_Return);
        QCOMPARE(p->cellText(2, 2), QStringLiteral("3"));
        shots << shot(kind);

        // A block set to a value from the dialog: rows 1..2 of columns 3..8.
        g->setCurrentCell(0, 2);
        for (int i = 0; i < 5; ++i) QTest::keyClick(g, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(g, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(p->editor()->selectedBlock().right, 7);
        QCOMPARE(p->editor()->selectedBlock().bottom, 1);
        valueAnswer = 4;
        action(g, "actSetValue")->trigger();
        QCOMPARE(p->cellText(8, 2), QStringLiteral("4"));
        QCOMPARE(p->cellText(2, 2), QStringLiteral("3"));
        shots << shot(kind);

        // Smoothing the whole table, then a paste at the bottom right, cut at the edges.
        g->selectAll();
        action(g, "actSmooth")->trigger();
        shots << shot(kind);
        g->clearSelection();
        g->setCurrentCell(7, 6);
        QVERIFY(p->editor()->pasteText(QStringLiteral("1\t2\t9\n5\t6\t9\n")));
        QCOMPARE(p->cellText(7, 8), QStringLiteral("1"));
        QCOMPARE(p->cellText(8, 8), QStringLiteral("2"));
        shots << shot(kind);

        // A refused paste changes nothing and says so.
        QVERIFY(!p->editor()->pasteText(QStringLiteral("1\tx")));
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().contains(QStringLiteral("столбец 2")));
        QCOMPARE(shot(kind), shots.last());

        // An opened file and another read (the module's cells have changed meanwhile).
        const QString file = dir.filePath(QStringLiteral("t.txt"));
        writeLines(file, QStringList(64, QStringLiteral("2")));
        fileAnswer = file;
        QToolButton* open = kind == TableKind::Lambda ? p->ui.atb_Lambda_Open
                            : kind == TableKind::Maf  ? p->ui.atb_MAF_Open
                                                      : p->ui.atb_MAF_TR_90_Open;
        open->click();
        QCOMPARE(p->cellText(5, 5), QStringLiteral("2"));
        shots << shot(kind);
        tt::forEachCell([&](int c, int r) { m->setReg(tt::cellAddress(kind, c, r), quint8(140)); });
        read(kind);
        shots << shot(kind);

        // Every step back, then forward again, to the exact texts.
        for (int i = int(shots.size()) - 2; i >= 0; --i) {
            action(g, "actUndo")->trigger();
            QCOMPARE(shot(kind), shots.at(i));
        }
        action(g, "actUndo")->trigger(); // nothing left
        QCOMPARE(shot(kind), shots.first());
        for (int i = 1; i < shots.size(); ++i) {
            action(g, "actRedo")->trigger();
            QCOMPARE(shot(kind), shots.at(i));
        }
        QVERIFY(errors.size() == 1);
    }

    void heatMapAndComparison() {
        makeWindow();
        Table3DPanel* p = w->Panel_3D;
        QTableWidget* g = p->ui.sgrid_Table_3D;
        p->modelGrid(TableKind::Lambda).setCell(1, 1, QStringLiteral("-99"));
        p->modelGrid(TableKind::Lambda).setCell(2, 1, QStringLiteral("99"));
        w->atb_Lambda->click();
        GridEditor* e = p->editor();
        // Off by default: the grid looks as it always did.
        QVERIFY(!action(g, "actHeatMap")->isChecked());
        QVERIFY(!e->look(0, 0).background.isValid());
        action(g, "actHeatMap")->trigger();
        const QColor low = e->look(0, 0).background, high = e->look(0, 1).background,
                     zero = e->look(0, 2).background;
        QVERIFY(low.isValid() && high.isValid());
        QVERIFY(low.blue() > low.red() && high.red() > high.blue());
        QVERIFY(zero.lightness() > 230);
        QCOMPARE(GridCellDelegate::textColourOn(low), QColor(Qt::white));
        QCOMPARE(GridCellDelegate::textColourOn(zero), QColor(Qt::black));

        // A file that differs in two cells.
        QStringList lines(64, QStringLiteral("0"));
        lines[0] = QStringLiteral("-99");
        lines[1] = QStringLiteral("90");
        lines[63] = QStringLiteral("5");
        const QString file = dir.filePath(QStringLiteral("cLambda.txt"));
        writeLines(file, lines);
        fileAnswer = file;
        action(g, "actCompare")->trigger();
        QCOMPARE(e->differingCells(), 2);
        QVERIFY(!e->look(0, 0).outlined);
        QVERIFY(e->look(0, 1).outlined);
        QCOMPARE(e->look(0, 1).hint, QStringLiteral("В файле: 90\nРазница: +9"));
        QVERIFY(statuses.last().contains(QStringLiteral("2")));
        // Taking the file's values is one step.
        const QStringList before = p->tableCells();
        action(g, "actCompareTake")->trigger();
        QCOMPARE(e->differingCells(), 0);
        QCOMPARE(p->cellText(8, 8), QStringLiteral("5"));
        action(g, "actUndo")->trigger();
        QCOMPARE(p->tableCells(), before);
        QCOMPARE(e->differingCells(), 2);
        action(g, "actCompareEnd")->trigger();
        QCOMPARE(e->differingCells(), -1);
        QVERIFY(!e->look(0, 1).outlined);

        // The voltage table's scale is sequential: higher is darker.
        p->btn_MAF_TR_90();
        p->setCellText(1, 1, QStringLiteral("0,5"));
        p->setCellText(2, 1, QStringLiteral("4,5"));
        QVERIFY(e->look(0, 0).background.lightness() > e->look(0, 1).background.lightness());
    }

    void curveStepsTakenBackAndDoneAgain() {
        makeWindow();
        sim::SimModule* m = ct::openDemo(*w);
        QVERIFY(m);
        w->atb_TR_90_Lambda_1Click();
        CurvePanel* p = w->Panel_Emu;
        QTRY_VERIFY(p->isVisible());
        QTableWidget* g = p->ui.sgrid_Emu;
        GridEditor* e = p->editor();
        auto curveShot = [&] { return p->editState(); };
        QList<UndoState> shots{curveShot()};

        QTest::mouseClick(p->ui.atb_Emu_In, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!ct::readTimer(*w, 1, false)->isActive(), 8000);
        shots << curveShot();
        QVERIFY(shots.last() != shots.first());

        // Interpolation across points 10..20, then a value added to 30..31.
        g->setCurrentCell(9, 1);
        for (int i = 0; i < 10; ++i) QTest::keyClick(g, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(e->selectedBlock().bottom, 19);
        action(g, "actInterpolateV")->trigger();
        shots << curveShot();
        g->clearSelection();
        g->setCurrentCell(29, 1);
        g->setRangeSelected(QTableWidgetSelectionRange(29, 1, 30, 1), true);
        valueAnswer = 10; // limited to 5 V
        action(g, "actAddValue")->trigger();
        QCOMPARE(p->pointText(30), QStringLiteral("5"));
        QCOMPARE(p->editedValue(31), 5.0);
        shots << curveShot();

        // A marker clicked and nudged: up ten steps with Shift, one down, then the next point.
        CurveShape* marker = p->marker(40);
        QVERIFY(marker->isVisible());
        const double v40 = p->editedValue(40);
        QTest::mouseClick(marker, Qt::LeftButton, {}, QPoint(4, 4));
        QCOMPARE(p->selectedMarker(), 40);
        QTest::keyClick(marker, Qt::Key_Up, Qt::ShiftModifier);
        shots << curveShot();
        QTest::keyClick(marker, Qt::Key_Down);
        shots << curveShot();
        const int byte = curvecodec::voltageByte(v40);
        QCOMPARE(p->editedValue(40), std::min(240, byte + 9) / 48.0);
        QTest::keyClick(marker, Qt::Key_Right);
        QCOMPARE(p->selectedMarker(), 41);

        // A typed point applied with Enter.
        p->setPointText(50, QStringLiteral("1,5"));
        g->setCurrentCell(50, 1);
        QTest::keyClick(g, Qt::Key_Down); // the key applies the row above: point 50 lies in row 49
        QCOMPARE(p->editedValue(50), 1.5);
        shots << curveShot();

        // A curve file compared, then opened.
        QStringList lines(64, QStringLiteral("2,5"));
        const QString file = dir.filePath(QStringLiteral("cEmu.txt"));
        writeLines(file, lines);
        fileAnswer = file;
        action(g, "actCompare")->trigger();
        QVERIFY(e->differingCells() > 0);
        QVERIFY(e->look(49, 1).outlined);
        QVERIFY(e->look(49, 1).hint.contains(QStringLiteral("-1")));
        p->ui.atb_Emu_Open->click();
        QCOMPARE(e->differingCells(), 0);
        shots << curveShot();

        for (int i = int(shots.size()) - 2; i >= 0; --i) {
            action(g, "actUndo")->trigger();
            QCOMPARE(curveShot(), shots.at(i));
        }
        for (int i = 1; i < shots.size(); ++i) {
            action(g, "actRedo")->trigger();
            QCOMPARE(curveShot(), shots.at(i));
        }
        // The markers follow: point 50 sits where the file put it.
        QCOMPARE(p->markerPosition(50).y(), 2.5);
        QVERIFY(errors.isEmpty());
    }
};

QTEST_MAIN(TestEditing)
#include "test_editing.moc"
