// Block operations on table and curve cells: each operation on one cell, a row, a block at
// the border and the whole table, the domain rules of what they produce (ties to even,
// limits), cells that are not numbers, the clipboard text both ways, the comparison, and
// the undo history that keeps the steps.
#include "tables/blockops.h"
#include "tables/undostack.h"

#include <QtTest>

using blockops::Block;
using blockops::Op;

Q_DECLARE_METATYPE(Op)
Q_DECLARE_METATYPE(Block)
Q_DECLARE_METATYPE(TableKind)

namespace {
// An 8 x 8 table whose cell (c, r) holds f(c, r).
QStringList table(const std::function<QString(int c, int r)>& f) {
    QStringList t;
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) t << f(c, r);
    return t;
}
QStringList filled(const QString& v) {
    return table([&](int, int) { return v; });
}
QString at(const QStringList& t, int c, int r) { return t.at(r * 8 + c); }
} // namespace

class TestBlockOps : public QObject {
    Q_OBJECT
  private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // One row per case: the cells of the block after the step, read along its first row
    // (or column for the vertical cases), and a cell outside the block that must keep its text.
    void operations_data() {
        QTest::addColumn<TableKind>("kind");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<Op>("op");
        QTest::addColumn<Block>("block");
        QTest::addColumn<double>("arg");
        QTest::addColumn<QStringList>("firstRow");

        const QStringList sevens = filled("7");
        const QStringList ramp = table([](int c, int) { return QString::number(c * 10); });
        QTest::newRow("set one cell") << TableKind::Lambda << sevens << Op::Set << Block{3, 3, 3, 3}
                                      << 12.0 << QStringList{"12"};
        QTest::newRow("set limited") << TableKind::Maf << sevens << Op::Set << Block{0, 0, 1, 0}
                                     << 150.0 << QStringList{"99", "99"};
        QTest::newRow("set rounds ties to even") << TableKind::Maf << sevens << Op::Set
                                                 << Block{0, 0, 1, 0} << 2.5 << QStringList{"2", "2"};
        QTest::newRow("add at the border") << TableKind::Lambda << filled("95") << Op::Add
                                           << Block{6, 7, 7, 7} << 10.0 << QStringList{"99", "99"};
        QTest::newRow("add negative") << TableKind::Lambda << sevens << Op::Add << Block{0, 0, 7, 0}
                                      << -10.0 << QStringList(8, "-3");
        QTest::newRow("scale 50 % ties to even") << TableKind::Lambda
                                                 << table([](int c, int) { return QString::number(c + 1); })
                                                 << Op::Scale << Block{0, 0, 4, 0} << 50.0
                                                 << QStringList{"0", "1", "2", "2", "2"};
        QTest::newRow("scale voltage hundredths") << TableKind::Voltage << filled("4,25") << Op::Scale
                                                  << Block{0, 0, 0, 0} << 50.0 << QStringList{"2,12"};
        QTest::newRow("set voltage limited") << TableKind::Voltage << filled("1") << Op::Set
                                             << Block{0, 0, 1, 0} << -1.0 << QStringList{"0", "0"};
        QStringList ends = filled("0");
        ends[7] = "7";
        QTest::newRow("interpolate row 0..7") << TableKind::Lambda << ends << Op::InterpolateH
                                              << Block{0, 0, 7, 0} << 0.0
                                              << QStringList{"0", "1", "2", "3", "4", "5", "6", "7"};
        QStringList half = filled("0");
        half[2] = "1";
        QTest::newRow("interpolated ties to even") << TableKind::Lambda << half << Op::InterpolateH
                                                   << Block{0, 0, 2, 0} << 0.0
                                                   << QStringList{"0", "0", "1"};
        QStringList halfUp = filled("0");
        halfUp[0] = "1";
        halfUp[2] = "2";
        QTest::newRow("interpolated tie to even up") << TableKind::Lambda << halfUp << Op::InterpolateH
                                                     << Block{0, 0, 2, 0} << 0.0
                                                     << QStringList{"1", "2", "2"};
        QStringList vol = filled("0");
        vol[0] = "1";
        vol[3] = "2";
        QTest::newRow("interpolated voltage") << TableKind::Voltage << vol << Op::InterpolateH
                                              << Block{0, 0, 3, 0} << 0.0
                                              << QStringList{"1", "1,33", "1,67", "2"};
        QTest::newRow("one-cell interpolation keeps the value") << TableKind::Lambda << ramp
                                                                << Op::InterpolateH << Block{2, 2, 2, 2}
                                                                << 0.0 << QStringList{"20"};
        QTest::newRow("empty counts as 0") << TableKind::Lambda << filled("") << Op::Add
                                           << Block{0, 0, 0, 0} << 3.0 << QStringList{"3"};
    }
    void operations() {
        QFETCH(TableKind, kind);
        QFETCH(QStringList, cells);
        QFETCH(Op, op);
        QFETCH(Block, block);
        QFETCH(double, arg);
        QFETCH(QStringList, firstRow);
        const blockops::Result res = blockops::apply(op, cells, 8, block, arg, blockops::tableDomain(kind));
        QVERIFY(res.ok());
        QCOMPARE(res.texts.size(), 64);
        for (int i = 0; i < firstRow.size(); ++i) QCOMPARE(at(res.texts, block.left + i, block.top), firstRow.at(i));
        // Nothing outside the block changes, not even its notation.
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c)
                if (!block.contains(c, r)) QCOMPARE(at(res.texts, c, r), at(cells, c, r));
    }

    void verticalAndCornerInterpolation() {
        // The corners of the whole table: (0,0)=0, (7,0)=7, (0,7)=70, (7,7)=77 give c + 10 r.
        QStringList t = filled("50");
        t[0] = "0";
        t[7] = "7";
        t[56] = "70";
        t[63] = "77";
        const auto whole = blockops::tableDomain(TableKind::Lambda);
        const blockops::Result two = blockops::apply(Op::Interpolate2D, t, 8, {0, 0, 7, 7}, 0, whole);
        QVERIFY(two.ok());
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c) QCOMPARE(at(two.texts, c, r), QString::number(qMin(99, c + 10 * r)));
        // Vertically each column of the block runs from its own top to its own bottom cell.
        const blockops::Result v = blockops::apply(Op::InterpolateV, t, 8, {0, 0, 1, 7}, 0, whole);
        QVERIFY(v.ok());
        for (int r = 0; r < 8; ++r) {
            QCOMPARE(at(v.texts, 0, r), QString::number(10 * r));
            QCOMPARE(at(v.texts, 1, r), "50");
        }
    }

    void smoothing() {
        QStringList t = filled("0");
        t[0] = "9";       // corner: mean of 4 cells
        t[3 * 8 + 3] = "90"; // inside: mean of 9 cells
        const auto whole = blockops::tableDomain(TableKind::Lambda);
        const blockops::Result res = blockops::apply(Op::Smooth, t, 8, {0, 0, 7, 7}, 0, whole);
        QVERIFY(res.ok());
        QCOMPARE(at(res.texts, 0, 0), "2");  // 9 / 4 = 2.25
        QCOMPARE(at(res.texts, 1, 1), "1");  // 9 / 9
        QCOMPARE(at(res.texts, 2, 2), "10"); // 90 / 9
        QCOMPARE(at(res.texts, 3, 3), "10"); // 90 / 9, from the values before the step
        QCOMPARE(at(res.texts, 4, 4), "10");
        QCOMPARE(at(res.texts, 7, 7), "0");
    }

    void cellThatIsNotANumberChangesNothing() {
        QStringList t = filled("1");
        t[9] = "x";
        const auto whole = blockops::tableDomain(TableKind::Lambda);
        blockops::Result res = blockops::apply(Op::Add, t, 8, {0, 0, 2, 2}, 1, whole);
        QVERIFY(!res.ok());
        QCOMPARE(res.badCell, 9);
        QVERIFY(res.texts.isEmpty());
        // A set reads no cell; smoothing reads the neighbours too.
        QVERIFY(blockops::apply(Op::Set, t, 8, {0, 0, 2, 2}, 1, whole).ok());
        res = blockops::apply(Op::Smooth, t, 8, {2, 2, 2, 2}, 0, whole);
        QCOMPARE(res.badCell, 9);
        QVERIFY(blockops::apply(Op::Smooth, t, 8, {4, 4, 5, 5}, 0, whole).ok());
    }

    void curvePoints() {
        QStringList pts(64, "1");
        pts[10] = "2";
        pts[13] = "3,5";
        const auto d = blockops::curveDomain();
        blockops::Result res = blockops::apply(Op::InterpolateV, pts, 1, {0, 10, 0, 13}, 0, d);
        QVERIFY(res.ok());
        QCOMPARE(res.texts.mid(10, 4), (QStringList{"2", "2,5", "3", "3,5"}));
        QCOMPARE(res.texts.at(9), "1");
        res = blockops::apply(Op::Add, pts, 1, {0, 60, 0, 63}, 4.5, d);
        QCOMPARE(res.texts.mid(60, 4), QStringList(4, "5"));
        // Smoothing at the ends takes the one neighbour there is.
        pts[0] = "4";
        res = blockops::apply(Op::Smooth, pts, 1, {0, 0, 0, 1}, 0, d);
        QCOMPARE(res.texts.at(0), "2,5");
        QCOMPARE(res.texts.at(1), "2");
    }

    void copiedText() {
        QStringList t = filled("0");
        t[0] = "1.5"; // a file opened under a point locale
        t[1] = "-3";
        t[8] = "abc";
        t[9] = "";
        QCOMPARE(blockops::copyText(t, 8, {0, 0, 1, 1}), QStringLiteral("1,5\t-3\nabc\t\n"));
        QCOMPARE(blockops::copyText(t, 8, {7, 7, 7, 7}), QStringLiteral("0\n"));
    }

    void pasting_data() {
        QTest::addColumn<TableKind>("kind");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QStringList>("row");  // the pasted row at top, from left
        QTest::addColumn<Block>("pasted");
        QTest::newRow("spreadsheet with CR LF") << TableKind::Lambda << 0 << 0 << "1\t2\r\n3\t4\r\n"
                                                << QStringList{"1", "2"} << Block{0, 0, 1, 1};
        QTest::newRow("cut at the right and bottom") << TableKind::Lambda << 6 << 7 << "1\t2\t3\n4\t5\t6"
                                                     << QStringList{"1", "2"} << Block{6, 7, 7, 7};
        QTest::newRow("limited like a typed value") << TableKind::Maf << 0 << 0 << " 150 \t-150"
                                                    << QStringList{"99", "-99"} << Block{0, 0, 1, 0};
        QTest::newRow("voltage with a point") << TableKind::Voltage << 2 << 0 << "1.257\t9"
                                              << QStringList{"1,25", "5"} << Block{2, 0, 3, 0};
    }
    void pasting() {
        QFETCH(TableKind, kind);
        QFETCH(int, left);
        QFETCH(int, top);
        QFETCH(QString, clip);
        QFETCH(QStringList, row);
        QFETCH(Block, pasted);
        const QStringList t = filled("7");
        const blockops::PasteResult res = blockops::paste(t, 8, left, top, clip, blockops::tableDomain(kind));
        QVERIFY(res.ok());
        for (int i = 0; i < row.size(); ++i) QCOMPARE(at(res.texts, left + i, top), row.at(i));
        QCOMPARE(res.pasted.left, pasted.left);
        QCOMPARE(res.pasted.right, pasted.right);
        QCOMPARE(res.pasted.bottom, pasted.bottom);
        int changed = 0;
        for (int i = 0; i < 64; ++i) changed += res.texts.at(i) != t.at(i);
        QVERIFY(changed <= pasted.width() * pasted.height());
    }

    void refusedPastes() {
        const QStringList t = filled("7");
        const auto whole = blockops::tableDomain(TableKind::Lambda);
        blockops::PasteResult res = blockops::paste(t, 8, 0, 0, "1\t2\n3\t1,5\n", whole);
        QVERIFY(!res.ok());
        QCOMPARE(res.badRow, 1);
        QCOMPARE(res.badColumn, 1);
        QCOMPARE(res.badText, "1,5");
        QVERIFY(res.texts.isEmpty());
        QVERIFY(blockops::pasteMessage(res, true).contains("row 2, column 2"));
        QVERIFY(blockops::pasteMessage(res, false).contains("строка 2, столбец 2"));
        // An empty cell inside the block is not a number either.
        QCOMPARE(blockops::paste(t, 8, 0, 0, "1\t\t3", whole).badColumn, 1);
        // Beyond the edge nothing is looked at.
        QVERIFY(blockops::paste(t, 8, 7, 0, "1\tjunk", whole).ok());
        QVERIFY(blockops::paste(t, 8, 0, 0, QString(blockops::MaxPasteChars + 1, '1'), whole).tooLong);
        QVERIFY(blockops::paste(t, 8, 0, 0, "\n", whole).empty);
        QVERIFY(blockops::paste(t, 8, 8, 0, "1", whole).empty);
    }

    void copyPasteRoundTrip() {
        const QStringList t = table([](int c, int r) { return QString::number(c - r); });
        const QString clip = blockops::copyText(t, 8, {0, 0, 7, 7});
        const blockops::PasteResult res =
            blockops::paste(filled("0"), 8, 0, 0, clip, blockops::tableDomain(TableKind::Lambda));
        QVERIFY(res.ok());
        QCOMPARE(res.texts, t);
    }

    void comparison() {
        QVERIFY(!blockops::cellsDiffer("5", "5,0"));
        QVERIFY(!blockops::cellsDiffer("", "0"));
        QVERIFY(blockops::cellsDiffer("5", "6"));
        QVERIFY(blockops::cellsDiffer("a", "b"));
        QCOMPARE(blockops::differenceHint("2,5", "2", true), QStringLiteral("In the file: 2\nDifference: +0,5"));
        QCOMPARE(blockops::differenceHint("-3", "4", false), QStringLiteral("В файле: 4\nРазница: -7"));
    }

    void historyStepsAndRestores() {
        QStringList live{"a"};
        int restores = 0;
        UndoStack h([&] { return UndoState{live, {}, {}, {}}; },
                      [&](const UndoState& s) {
                          live = s.texts;
                          ++restores;
                      });
        QVERIFY(!h.record({})); // nothing changed
        live = {"b"};
        QVERIFY(h.record({}));
        QCOMPARE(restores, 0); // the stored step is not applied a second time
        live = {"c"};
        QVERIFY(h.record({}));
        h.undo();
        QCOMPARE(live, QStringList{"b"});
        h.undo();
        QCOMPARE(live, QStringList{"a"});
        h.undo(); // nothing left
        QCOMPARE(live, QStringList{"a"});
        h.redo();
        QCOMPARE(live, QStringList{"b"});
        // A new step drops what could be redone.
        live = {"d"};
        QVERIFY(h.record({}));
        h.redo();
        QCOMPARE(live, QStringList{"d"});
        h.undo();
        QCOMPARE(live, QStringList{"b"});
        // A change nobody recorded joins the next step; a rebase keeps it out.
        live = {"e"};
        h.rebase();
        live = {"f"};
        QVERIFY(h.record({}));
        h.undo();
        QCOMPARE(live, QStringList{"e"});
        // NaN equals NaN in a state: an unchanged curve without points is no step.
        UndoState n{{}, {qQNaN()}, {}, {}};
        QVERIFY(n == n);
    }
};

QTEST_GUILESS_MAIN(TestBlockOps)
#include "test_blockops.moc"
