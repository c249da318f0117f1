// The grid editor over grids of either shape it serves: the table grid (8 x 8 cells from
// column 0, three tables shown in turn) and a curve grid (64 rows of one value column after
// a label column). Each operation must reach the shown table's cells that the grid's
// selection covers, a refused one must point at the grid cell it names, and a comparison
// must outline the grid cells that differ, whatever the shape.
#include "tables/grideditor.h"
#include "tables/tablefiles.h"

#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A grid whose tables are plain lists of texts, counting what the editor writes.
class FakeGrid : public GridAdapter {
  public:
    FakeGrid(int tables, int width, int height, int first, TableKind kind)
        : m_width(width), m_height(height), m_first(first), m_kind(kind) {
        table.setRowCount(height);
        table.setColumnCount(first + width);
        for (int t = 0; t < tables; ++t) {
            QStringList cells;
            for (int i = 0; i < width * height; ++i) cells << QString::number((i * 7 + t * 3) % 40);
            docs.push_back(cells);
        }
    }

    QTableWidget* grid() const override { return &table; }
    int firstColumn() const override { return m_first; }
    int width() const override { return m_width; }
    int height() const override { return m_height; }
    int tableCount() const override { return int(docs.size()); }
    std::optional<int> shown() const override { return shownTable; }
    TableKind kind(int) const override { return m_kind; }
    QString cellText(int index) const override { return docs.at(std::size_t(*shownTable)).at(index); }
    UndoState capture(int t) const override { return UndoState{docs.at(std::size_t(t)), {}, {}, {}}; }
    void restore(int t, const UndoState& s) override { docs[std::size_t(t)] = s.texts; }
    void put(int t, const QStringList& texts, const blockops::Block& cells) override {
        for (int r = cells.top; r <= cells.bottom; ++r)
            for (int c = cells.left; c <= cells.right; ++c)
                docs[std::size_t(t)][r * m_width + c] = texts.at(r * m_width + c);
        puts << cells;
    }
    void takeFile(int t, const QStringList& texts, const QList<double>&) override { docs[std::size_t(t)] = texts; }

    mutable QTableWidget table;
    std::vector<QStringList> docs;
    std::optional<int> shownTable = 0;
    QList<blockops::Block> puts;

  private:
    int m_width, m_height, m_first;
    TableKind m_kind;
};

bool sameBlock(const blockops::Block& a, const blockops::Block& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

Q_DECLARE_METATYPE(TableKind)

class TestGridEditor : public QObject {
    Q_OBJECT
    std::unique_ptr<QWidget> panel;
    std::unique_ptr<FakeGrid> grid;
    GridEditor* editor = nullptr;
    QStringList errors, statuses;

    void make(int tables, int width, int height, int first, TableKind kind) {
        panel = std::make_unique<QWidget>();
        grid = std::make_unique<FakeGrid>(tables, width, height, first, kind);
        editor = new GridEditor(panel.get(), grid.get(), uitexts::Panel::Table3D,
                                {{"actSetValue"}, {"actUndo"}, {"actRedo"}, {"actCompare"}});
        errors.clear();
        statuses.clear();
        editor->showError = [this](const QString& text) { errors << text; };
        editor->showStatus = [this](const QString& text) { statuses << text; };
    }
    void addShapes() {
        QTest::addColumn<TableKind>("kind");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("first");
        QTest::newRow("table grid") << TableKind::Lambda << 8 << 8 << 0;
        QTest::newRow("curve grid") << TableKind::Curve2 << 1 << 64 << 1;
    }

  private slots:
    void cleanup() {
        editor = nullptr;
        panel.reset();
        grid.reset();
    }

    void operationReachesTheSelectedCells_data() { addShapes(); }
    void operationReachesTheSelectedCells() {
        QFETCH(TableKind, kind);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, first);
        make(3, width, height, first, kind);
        grid->shownTable = 1;
        const QStringList before = grid->docs[1], other = grid->docs[0];
        // Rows 2..4 from the label column (where a grid has one) to the second value column.
        const int right = std::min(1, width - 1);
        grid->table.setRangeSelected(QTableWidgetSelectionRange(2, 0, 4, first + right), true);
        QVERIFY(sameBlock(editor->selectedBlock(), {0, 2, right, 4}));
        QVERIFY(editor->apply(blockops::Op::Set, 5));
        QVERIFY(sameBlock(grid->puts.last(), {0, 2, right, 4}));
        for (int i = 0; i < width * height; ++i) {
            const bool inside = i / width >= 2 && i / width <= 4 && i % width <= right;
            QCOMPARE(grid->docs[1].at(i), inside ? QStringLiteral("5") : before.at(i));
        }
        QCOMPARE(grid->docs[0], other);
        // One step, taken back and done again, in the shown table only.
        editor->undo();
        QCOMPARE(grid->docs[1], before);
        grid->shownTable = 0;
        editor->redo();
        QCOMPARE(grid->docs[1], before);
        grid->shownTable = 1;
        editor->redo();
        QCOMPARE(grid->docs[1].at(2 * width), QStringLiteral("5"));
    }

    void refusedCellIsWhereTheGridShowsIt_data() { addShapes(); }
    void refusedCellIsWhereTheGridShowsIt() {
        QFETCH(TableKind, kind);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, first);
        make(1, width, height, first, kind);
        const int bad = 3 * width + (width - 1);
        grid->docs[0][bad] = QStringLiteral("x7");
        const QStringList before = grid->docs[0];
        grid->table.selectAll();
        QVERIFY(!editor->apply(blockops::Op::Add, 1));
        QCOMPARE(grid->docs[0], before);
        QVERIFY(grid->puts.isEmpty());
        QCOMPARE(grid->table.currentRow(), 3);
        QCOMPARE(grid->table.currentColumn(), first + width - 1);
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().contains(QStringLiteral("x7")));
        // A curve names the point; a table does not number its cells.
        QCOMPARE(errors.first().contains(QStringLiteral("4")), isCurve(kind));
    }

    void comparisonOutlinesTheDifferingCells_data() { addShapes(); }
    void comparisonOutlinesTheDifferingCells() {
        QFETCH(TableKind, kind);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, first);
        make(1, width, height, first, kind);
        QStringList lines = grid->docs[0];
        lines[5] = QStringLiteral("33");
        lines[63] = QStringLiteral("-9");
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("c") + tablefiles::suffix(kind));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(tablefiles::encode(lines));
        f.close();
        QVERIFY(editor->compareWith(file));
        QCOMPARE(editor->differingCells(), 2);
        QVERIFY(statuses.last().contains(QStringLiteral("2")));
        QVERIFY(editor->look(5 / width, 5 % width + first).outlined);
        QVERIFY(editor->look(63 / width, 63 % width + first).outlined);
        QVERIFY(!editor->look(0, first).outlined);
        if (first > 0) QVERIFY(!editor->look(5 / width, 0).outlined); // the label column
        QVERIFY(editor->takeFileValues());
        QCOMPARE(grid->docs[0], lines);
        QCOMPARE(editor->differingCells(), 0);
        editor->undo();
        QCOMPARE(editor->differingCells(), 2);
        QVERIFY(statuses.last().contains(QStringLiteral("2")));
        editor->endCompare();
        QCOMPARE(editor->differingCells(), -1);
    }

    void nothingHappensWhileNoTableIsShown() {
        make(3, 8, 8, 0, TableKind::Maf);
        grid->shownTable.reset();
        QVERIFY(!editor->apply(blockops::Op::Set, 1));
        QVERIFY(!editor->pasteText(QStringLiteral("1")));
        QVERIFY(!editor->compareWith(QStringLiteral("nofile")));
        QVERIFY(grid->puts.isEmpty() && errors.isEmpty());
        QCOMPARE(editor->differingCells(), -1);
    }
};

QTEST_MAIN(TestGridEditor)
#include "test_grideditor.moc"
