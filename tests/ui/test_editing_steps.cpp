// Editing steps that a slip in the history or the comparison would get wrong without any
// other test noticing: a read that leaves the texts of an opened file as they were but not
// its values, the comparison's count after a step taken back and done again, a difference
// in the last point only, and a nudge from a typed value that is not on the module's step.
#include "curvetest.h"
#include "tables/grideditor.h"
#include "tabletest.h"

#include <QAction>
#include <QTemporaryDir>

namespace {

void writeLines(const QString& name, const QStringList& lines) {
    QFile f(name);
    QVERIFY(f.open(QIODevice::WriteOnly));
    for (const QString& l : lines) f.write(l.toUtf8() + "\r\n");
}

QAction* action(QWidget* grid, const char* name) {
    QAction* a = grid->findChild<QAction*>(QString::fromLatin1(name));
    if (!a) qWarning("no action %s", name);
    return a;
}

// A curve byte whose voltage is no whole hundredth: the grid shows it cut to two decimals,
// the chart holds it whole (point 12 holds 113: 113 / 48 = 2,3541... shows as "2,35").
int moduleByte(int, int i) { return 101 + i % 20; }

} // namespace

class TestEditingSteps : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;
    QTemporaryDir dir;
    QStringList statuses;
    QString fileAnswer;

  private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::Russian));
        wt::freshConfiguration();
        w = std::make_unique<TForm1>();
        w->Ctx.error = [](const QString& text) { QFAIL(qPrintable(text)); };
        w->Ctx.openFileName = [this](const QString&, const QString&, std::optional<TableKind>) { return fileAnswer; };
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        statuses.clear();
        auto status = [this](const QString& text) { statuses << text; };
        w->Panel_3D->editor()->showStatus = status;
        w->Panel_Emu->editor()->showStatus = status;
        w->Panel_Emu_2->editor()->showStatus = status;
    }
    void cleanup() {
        w.reset();
        QLocale::setDefault(QLocale::c());
    }

    // A curve file with the very texts the module's curve shows, then the read: the texts
    // stay, the values on the chart (and the markers) move to the module's bytes. That is a
    // step of its own: taken back, the markers stand where the file put them again; done
    // again, where the read put them.
    void readAfterAnEqualFile() {
        sim::SimModule* m = ct::openDemo(*w, moduleByte);
        QVERIFY(m);
        w->atb_TR_90_Lambda_1Click();
        CurvePanel* p = w->Panel_Emu;
        QStringList lines;
        for (int i = 1; i <= 64; ++i) lines << ct::pointText(moduleByte(1, i));
        fileAnswer = dir.filePath(QStringLiteral("sameEmu.txt"));
        writeLines(fileAnswer, lines);
        p->ui.atb_Emu_Open->click();
        const UndoState opened = p->editState();
        QCOMPARE(p->markerPosition(12).y(), std::trunc(moduleByte(1, 12) * 100 / 48.0) / 100);

        QTest::mouseClick(p->ui.atb_Emu_In, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!ct::readTimer(*w, 1, false)->isActive(), 8000);
        const UndoState read = p->editState();
        QCOMPARE(read.texts, opened.texts);
        QCOMPARE(p->markerPosition(12).y(), moduleByte(1, 12) / 48.0);

        QAction* undo = action(p->ui.sgrid_Emu, "actUndo");
        QAction* redo = action(p->ui.sgrid_Emu, "actRedo");
        undo->trigger();
        QCOMPARE(p->editState(), opened);
        QCOMPARE(p->markerPosition(12).y(), std::trunc(moduleByte(1, 12) * 100 / 48.0) / 100);
        QVERIFY(p->marker(12)->isVisible());
        redo->trigger();
        QCOMPARE(p->editState(), read);
        QCOMPARE(p->markerPosition(12).y(), moduleByte(1, 12) / 48.0);
    }

    // The comparison's count follows the steps: taking the file's values makes it 0, taking
    // that back counts the differing cells again, doing it again makes it 0 once more.
    void tableComparisonFollowsTheSteps() {
        Table3DPanel* p = w->Panel_3D;
        w->atb_Lambda->click();
        QTableWidget* g = p->ui.sgrid_Table_3D;
        QStringList lines(64, QStringLiteral("0"));
        lines[0] = QStringLiteral("-12");
        lines[9] = QStringLiteral("7");
        lines[63] = QStringLiteral("3");
        fileAnswer = dir.filePath(QStringLiteral("cmpLambda.txt"));
        writeLines(fileAnswer, lines);
        action(g, "actCompare")->trigger();
        QCOMPARE(statuses.last(), QStringLiteral("Отличаются от cmpLambda.txt: 3 яч."));
        action(g, "actCompareTake")->trigger();
        QCOMPARE(statuses.last(), QStringLiteral("Отличаются от cmpLambda.txt: 0 яч."));
        action(g, "actUndo")->trigger();
        QCOMPARE(statuses.last(), QStringLiteral("Отличаются от cmpLambda.txt: 3 яч."));
        action(g, "actRedo")->trigger();
        QCOMPARE(statuses.last(), QStringLiteral("Отличаются от cmpLambda.txt: 0 яч."));
    }

    // A curve that differs from the file in its last point only: one point, outlined.
    void curveDiffersInTheLastPoint_data() {
        QTest::addColumn<int>("curve");
        QTest::newRow("curve 1") << 1;
        QTest::newRow("curve 2") << 2;
    }
    void curveDiffersInTheLastPoint() {
        QFETCH(int, curve);
        CurvePanel* p = ct::panel(*w, curve);
        for (int i = 1; i <= 64; ++i) p->setPointText(i, QStringLiteral("2,5"));
        QStringList lines(64, QStringLiteral("2,5"));
        lines[63] = QStringLiteral("2,6");
        fileAnswer = dir.filePath(QStringLiteral("lastEmu.txt"));
        writeLines(fileAnswer, lines);
        action(p->ui.sgrid_Emu, "actCompare")->trigger();
        QCOMPARE(p->editor()->differingCells(), 1);
        QCOMPARE(statuses.last(), QStringLiteral("Отличаются от lastEmu.txt: 1 точ."));
        QVERIFY(p->editor()->look(63, 1).outlined);
        QVERIFY(!p->editor()->look(62, 1).outlined);
    }

    // A point typed off the module's step (1,01 V lies between 48/48 and 49/48) nudged up
    // once goes to the next step of the module, 49/48 V, shown as 1,02; and down again to
    // 48/48, 1 V.
    void nudgeFromATypedValue() {
        w->atb_TR_90_Lambda_1Click();
        CurvePanel* p = w->Panel_Emu;
        for (int i = 1; i <= 64; ++i) p->setPointText(i, QStringLiteral("1"));
        p->refreshCurve();
        QTableWidget* g = p->ui.sgrid_Emu;
        p->setPointText(20, QStringLiteral("1,01"));
        g->setCurrentCell(20, 1);
        QTest::keyClick(g, Qt::Key_Down); // the key applies the row above: point 20
        QCOMPARE(p->editedValue(20), 1.01);
        p->selectMarker(20);
        QVERIFY(p->markerKey(Qt::Key_Up, {}));
        QCOMPARE(p->pointText(20), QStringLiteral("1,02"));
        QCOMPARE(p->editedValue(20), 49 / 48.0);
        QVERIFY(p->markerKey(Qt::Key_Down, {}));
        QCOMPARE(p->pointText(20), QStringLiteral("1"));
        QCOMPARE(p->editedValue(20), 1.0);
    }
};

QTEST_MAIN(TestEditingSteps)
#include "test_editing_steps.moc"
