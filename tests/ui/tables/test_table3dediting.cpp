// Editing the correction tables in the 3D panel: the refreshes with their domain rules,
// what the surface view is handed, a cell that is not a number, and Enter (commit and
// cursor walk), typed as a user types.
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

#include "tables/table3dpanel.h"

Q_DECLARE_METATYPE(TableKind)

namespace {
// The cells of row 1 as the model grid receives them and as the refresh leaves them.
const QStringList kRaw{"", "150", "-120", "-99", "99", "7", "100", "-100"};
const QStringList kNormal{"0", "99", "-99", "-99", "99", "7", "99", "-99"};

// The grid's open cell editor (closed ones linger until deleted).
QLineEdit* openEditor(QTableWidget* g) {
    for (QLineEdit* e : g->findChildren<QLineEdit*>())
        if (e->isVisible()) return e;
    return nullptr;
}
} // namespace

class TestTable3DEditing : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void wholeTableRefresh_data() {
        QTest::addColumn<TableKind>("table");
        QTest::newRow("Lambda") << TableKind::Lambda;
        QTest::newRow("MAF") << TableKind::Maf;
    }
    void wholeTableRefresh() {
        QFETCH(TableKind, table);
        Table3DPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QSignalSpy redraws(&panel, &Table3DPanel::redrawRequested);
        ModelGrid& model = panel.modelGrid(table);
        for (int c = 1; c <= 8; ++c) model.setCell(c, 1, kRaw[c - 1]);
        model.setCell(4, 6, QStringLiteral("-5"));
        // Text typed into the grid but not committed is replaced by the model.
        panel.setCellText(4, 6, QStringLiteral("42"));

        QVERIFY(panel.refresh(table));
        for (int c = 1; c <= 8; ++c) {
            QCOMPARE(model.cell(c, 1), kNormal[c - 1]);
            QCOMPARE(panel.cellText(c, 1), kNormal[c - 1]);
        }
        QCOMPARE(panel.cellText(4, 6), QStringLiteral("-5"));
        QCOMPARE(panel.cellText(8, 8), QStringLiteral("0")); // empty cells become 0
        QCOMPARE(panel.ui.Panel_lbl_MAF->isVisible(), table == TableKind::Maf);
        QCOMPARE(panel.shownTable(), std::optional<TableKind>(table));
        // The other model grid is untouched.
        QCOMPARE(panel.modelGrid(table == TableKind::Maf ? TableKind::Lambda : TableKind::Maf).cell(8, 8), QString());

        SurfaceView* view = panel.ui.Panel_Space3D;
        QCOMPARE(view->family(), table == TableKind::Lambda ? SurfaceFamily::Lambda : SurfaceFamily::Maf);
        QCOMPARE(view->table(), table == TableKind::Lambda ? TableKind::Lambda : TableKind::Maf);
        QVERIFY(view->isActive());
        QCOMPARE(view->cells(), panel.tableCells());
        QCOMPARE(view->cells().at(5 * 8 + 3), QStringLiteral("-5")); // (c 4, r 6)
        QCOMPARE(redraws.count(), 1);
    }

    void voltageRefreshWorksOnTheGrid_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("comma") << "ru_RU" << QStringList{"2,34", "0", "5", "4,99", "0", "1,5"};
        QTest::newRow("point") << "C" << QStringList{"2.34", "0", "5", "4.99", "0", "1.5"};
    }
    void voltageRefreshWorksOnTheGrid() {
        QFETCH(QString, locale);
        QFETCH(QStringList, after);
        QLocale::setDefault(QLocale(locale));
        Table3DPanel panel;
        const QStringList before{"2.345", "-1", "7", "4,999", "", "1,50"};
        for (int c = 1; c <= before.size(); ++c) panel.setCellText(c, 2, before[c - 1]);
        panel.sgrid_3D_MAF.setCell(1, 2, QStringLiteral("3"));
        QVERIFY(panel.btn_MAF_TR_90());
        for (int c = 1; c <= after.size(); ++c) QCOMPARE(panel.cellText(c, 2), after[c - 1]);
        // The voltage refresh neither reads nor changes the model grid.
        QCOMPARE(panel.sgrid_3D_MAF.cell(1, 2), QStringLiteral("3"));
        QVERIFY(!panel.ui.Panel_lbl_MAF->isVisible());
        QCOMPARE(panel.ui.Panel_Space3D->table(), TableKind::Voltage);
        QCOMPARE(panel.ui.Panel_Space3D->family(), SurfaceFamily::Maf);
    }

    // The refresh stops at the first cell that is not a number: the cells before it are
    // done, the rest untouched, the bad cell is current and nothing is redrawn.
    void refreshStopsAtACellThatIsNotANumber() {
        Table3DPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QStringList errors;
        panel.onConversionError = [&](const QString& text) { errors << text; };
        QSignalSpy redraws(&panel, &Table3DPanel::redrawRequested);
        panel.sgrid_3D_MAF.setCell(1, 2, QStringLiteral("150"));
        panel.sgrid_3D_MAF.setCell(3, 2, QStringLiteral("1,5"));
        panel.sgrid_3D_MAF.setCell(4, 2, QStringLiteral("150"));
        QVERIFY(!panel.btn_MAF());
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().contains(QStringLiteral("1,5")));
        QCOMPARE(panel.cellText(1, 2), QStringLiteral("99"));
        QCOMPARE(panel.cellText(8, 1), QStringLiteral("0"));
        QCOMPARE(panel.cellText(4, 2), QString());
        QCOMPARE(panel.sgrid_3D_MAF.cell(4, 2), QStringLiteral("150"));
        QCOMPARE(panel.ui.sgrid_Table_3D->currentRow(), 1);
        QCOMPARE(panel.ui.sgrid_Table_3D->currentColumn(), 2);
        QCOMPARE(redraws.count(), 0);
    }

    // Enter commits what is in the grid (also the text still in the cell editor) into the
    // shown table's model grid, refreshes, and walks down the column, then to the next.
    void enterCommitsAndWalks() {
        Table3DPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        // Keys go to the grid and its editor directly: another test's window may be the
        // active one on the shared display.
        QVERIFY(panel.btn_MAF());
        QTableWidget* g = panel.ui.sgrid_Table_3D;
        g->setFocus();
        g->setCurrentCell(7, 2); // row 8 of column 3
        QTest::keyClick(g, Qt::Key_1); // typing opens the editor with the key typed
        QLineEdit* editor = openEditor(g);
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("50"));
        QCOMPARE(editor->text(), QStringLiteral("150"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(panel.sgrid_3D_MAF.cell(3, 8), QStringLiteral("99"));
        QCOMPARE(panel.cellText(3, 8), QStringLiteral("99"));
        QCOMPARE(g->currentRow() + 1, 1);
        QCOMPARE(g->currentColumn() + 1, 4);
        QVERIFY(panel.sgrid_3D_Lambda.cell(3, 8).isEmpty());

        // Enter without an editor commits a text set into the grid as well.
        panel.setCellText(8, 8, QStringLiteral("-7"));
        g->setCurrentCell(7, 7);
        QTest::keyClick(g, Qt::Key_Enter);
        QCOMPARE(panel.sgrid_3D_MAF.cell(8, 8), QStringLiteral("-7"));
        QCOMPARE(g->currentRow(), 0);
        QCOMPARE(g->currentColumn(), 0);

        // A text that is not a number keeps the cursor on its cell.
        QStringList errors;
        panel.onConversionError = [&](const QString& text) { errors << text; };
        g->setCurrentCell(2, 4);
        QTest::keyClicks(g, QStringLiteral("x"));
        editor = openEditor(g);
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(errors.size(), 1);
        QCOMPARE(g->currentRow(), 2);
        QCOMPARE(g->currentColumn(), 4);
    }

    // The Lambda write reads the grid as the user left it; bringing it into range must not
    // put the model grid's older values back.
    void writePreparationKeepsTheGrid() {
        Table3DPanel panel;
        QVERIFY(panel.btn_Lambda());
        panel.setCellText(2, 2, QStringLiteral("130"));
        panel.setCellText(3, 2, QStringLiteral("-4"));
        QVERIFY(panel.normaliseForWrite(TableKind::Lambda));
        QCOMPARE(panel.cellText(2, 2), QStringLiteral("99"));
        QCOMPARE(panel.cellText(3, 2), QStringLiteral("-4"));
        QCOMPARE(panel.sgrid_3D_Lambda.cell(3, 2), QStringLiteral("0"));

        // The MAF write sends its model grid: that is what the grid shows afterwards.
        QVERIFY(panel.btn_MAF());
        panel.sgrid_3D_MAF.setCell(1, 1, QStringLiteral("-300"));
        panel.setCellText(1, 1, QStringLiteral("12"));
        QVERIFY(panel.normaliseForWrite(TableKind::Maf));
        QCOMPARE(panel.sgrid_3D_MAF.cell(1, 1), QStringLiteral("-99"));
        QCOMPARE(panel.cellText(1, 1), QStringLiteral("-99"));
    }

    void loadAxisButtonsWriteLabelsAndSignal() {
        Table3DPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QSignalSpy chosen(&panel, &Table3DPanel::loadAxisClicked);
        QTest::mouseClick(panel.ui.atb_KorrTab_VV, Qt::LeftButton);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.at(0).at(0).toBool(), false);
        QCOMPARE(panel.ui.sgrid_Table_3D->verticalHeaderItem(0)->text(), QStringLiteral("1,6"));
        QCOMPARE(panel.ui.Panel_3D_Left->text(), QStringLiteral("t, мс"));
        QTest::mouseClick(panel.ui.atb_KorrTab_MAF, Qt::LeftButton);
        QCOMPARE(chosen.count(), 2);
        QCOMPARE(chosen.at(1).at(0).toBool(), true);
        QCOMPARE(panel.ui.sgrid_Table_3D->verticalHeaderItem(7)->text(), QStringLiteral("4,4"));

        // The module's own setting moves the buttons without a click.
        panel.setLoadAxis(false);
        QVERIFY(panel.ui.atb_KorrTab_VV->isChecked());
        QCOMPARE(panel.ui.Panel_3D_Left->text(), QStringLiteral("t, мс"));
        QCOMPARE(chosen.count(), 2);
    }
};

QTEST_MAIN(TestTable3DEditing)
#include "test_table3dediting.moc"
