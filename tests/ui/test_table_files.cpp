// Table and curve files through the real window: each table saved and opened again (texts
// never normalised included), the suffix appended only when missing and an existing file
// replaced only when the user agrees, curve files into either curve and under either decimal
// separator, a bad curve file that leaves the curve alone, and what every dialog does first.
#include "curvetest.h"
#include "tables/table3dpanel.h"
#include "tables/tablefileactions.h"
#include "tables/tablefiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <qcustomplot.h>

Q_DECLARE_METATYPE(TableKind)

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
QStringList modelCells(const ModelGrid& g) {
    QStringList out;
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= 8; ++c) out << g.cell(c, r);
    return out;
}
QByteArray crlfLines(const QStringList& lines) {
    QByteArray out;
    for (const QString& l : lines)
        out += l.toLatin1() + "\r\n";
    return out;
}
} // namespace

class TestTableFiles : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;
    std::unique_ptr<QTemporaryDir> dir;
    QStringList errors;
    QStringList filters;   // the filter of every dialog, in order
    QList<int> copiesOf;   // the kind whose history copies each open dialog offers (-1: none)
    QString answer;        // what the next dialog returns (empty: cancelled)
    QStringList overwrite; // the files the user was asked about
    bool replace = false;
    int pauses = 0;

    void makeWindow(const QString& locale) {
        QLocale::setDefault(QLocale(locale));
        wt::freshConfiguration();
        w = std::make_unique<TForm1>();
        dir = std::make_unique<QTemporaryDir>();
        errors.clear();
        filters.clear();
        overwrite.clear();
        pauses = 0;
        replace = false;
        w->Ctx.error = [this](const QString& text) { errors << text; };
        copiesOf.clear();
        w->Ctx.openFileName = [this](const QString&, const QString& filter, std::optional<TableKind> kind) {
            filters << filter;
            copiesOf << (kind ? int(*kind) : -1);
            return answer;
        };
        w->Ctx.saveFileName = [this](const QString&, const QString& filter) {
            filters << filter;
            return answer;
        };
        w->TableFileButtons->confirmOverwrite = [this](const QString& name) {
            overwrite << name;
            return replace;
        };
        w->TableFileButtons->pauseChart = [this] { ++pauses; };
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    QString path(const QString& name) const { return dir->filePath(name); }
    QStringList files() const { return QDir(dir->path()).entryList(QDir::Files, QDir::Name); }

  private slots:
    void cleanup() {
        w.reset();
        dir.reset();
        QLocale::setDefault(QLocale::c());
    }

    void tableRoundTrip_data() {
        QTest::addColumn<TableKind>("kind");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("filter");
        QTest::newRow("MAF") << TableKind::Maf << "MAF.txt"
                             << "Данные MAF (MAP) (*MAF.txt)";
        QTest::newRow("Lambda") << TableKind::Lambda << "Lambda.txt"
                                << "Данные Лямбда (*Lambda.txt)";
        QTest::newRow("voltage") << TableKind::Voltage << "Volt.txt"
                                 << "Данные напряжений (*Volt.txt)";
    }
    void tableRoundTrip() {
        QFETCH(TableKind, kind);
        QFETCH(QString, suffix);
        QFETCH(QString, filter);
        makeWindow(QStringLiteral("ru_RU"));
        Table3DPanel* p = w->Panel_3D;
        const auto& ui = p->ui;
        QToolButton* save = kind == TableKind::Maf      ? ui.atb_MAF_Save
                            : kind == TableKind::Lambda ? ui.atb_Lambda_Save
                                                        : ui.atb_MAF_TR_90_Save;
        QToolButton* open = kind == TableKind::Maf      ? ui.atb_MAF_Open
                            : kind == TableKind::Lambda ? ui.atb_Lambda_Open
                                                        : ui.atb_MAF_TR_90_Open;
        (kind == TableKind::Maf      ? w->atb_MAF
         : kind == TableKind::Lambda ? w->atb_Lambda
                                     : w->atb_MAF_TR_90)
            ->click();

        // Texts as the grid may hold them before a refresh: beyond the limits, empty,
        // not normalised.
        QStringList texts;
        for (int k = 0; k < 64; ++k)
            texts << (kind == TableKind::Voltage ? tt_number(k)
                                                 : QString::number(k * 7 % 199 - 99));
        texts[0] = kind == TableKind::Voltage ? QStringLiteral("7") : QStringLiteral("150");
        texts[9] = QString();
        texts[63] = kind == TableKind::Voltage ? QStringLiteral("2.345") : QStringLiteral("-120");
        for (int k = 0; k < 64; ++k)
            p->setCellText(k % 8 + 1, k / 8 + 1, texts.at(k));

        answer = path(QStringLiteral("car1"));
        save->click();
        const QString name = path(QStringLiteral("car1") + suffix);
        QCOMPARE(files(), QStringList{QStringLiteral("car1") + suffix});
        QCOMPARE(fileBytes(name), crlfLines(texts));
        QCOMPARE(p->ui.Panel_Space3D->cells(), texts); // the surface was repainted with them

        for (int k = 0; k < 64; ++k)
            p->setCellText(k % 8 + 1, k / 8 + 1, QStringLiteral("1"));
        p->modelGrid(kind).clear();
        answer = name;
        open->click();
        QCOMPARE(p->tableCells(), texts);
        for (int k = 0; k < 64; ++k)
            QCOMPARE(p->modelGrid(kind).cell(k % 8 + 1, k / 8 + 1), texts.at(k));
        QCOMPARE(p->ui.Panel_Space3D->cells(), texts);

        // Choosing the existing file itself writes that file (the dialog asked already).
        p->setCellText(1, 1, QStringLiteral("5"));
        save->click();
        QCOMPARE(files(), QStringList{QStringLiteral("car1") + suffix});
        QVERIFY2(fileBytes(name).startsWith("5\r\n"), fileBytes(name).left(20).constData());
        QVERIFY(overwrite.isEmpty());
        // The bare name names the same file: asked first; No keeps the file, Yes replaces it.
        answer = path(QStringLiteral("car1"));
        p->setCellText(1, 1, QStringLiteral("6"));
        save->click();
        QCOMPARE(overwrite, QStringList{name});
        QVERIFY(fileBytes(name).startsWith("5\r\n"));
        replace = true;
        save->click();
        QVERIFY(fileBytes(name).startsWith("6\r\n"));
        QCOMPARE(files(), QStringList{QStringLiteral("car1") + suffix});

        // 70 lines: the first 64 count.
        QStringList seventy;
        for (int k = 0; k < 70; ++k)
            seventy << QString::number(k);
        writeBytes(path(QStringLiteral("longer") + suffix), crlfLines(seventy));
        answer = path(QStringLiteral("longer") + suffix);
        open->click();
        QCOMPARE(p->tableCells(), seventy.mid(0, 64));

        // Cancelled: nothing changes.
        answer.clear();
        open->click();
        save->click();
        QCOMPARE(p->tableCells(), seventy.mid(0, 64));

        QCOMPARE(filters, QStringList(filters.size(), filter));
        QCOMPARE(pauses, filters.size());
        QVERIFY(errors.isEmpty());
        // Every open dialog offers the history copies of the table it opens.
        QCOMPARE(copiesOf, QList<int>(3, int(kind)));
    }

    // Save a curve, open it into the other curve: the same 64 texts, both series, every
    // marker shown; lines written under one separator open under the other.
    void curveRoundTrip_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("comma") << "ru_RU";
        QTest::newRow("point") << "C";
    }
    void curveRoundTrip() {
        QFETCH(QString, locale);
        makeWindow(locale);
        w->atb_TR_90_Lambda_2->click();
        CurvePanel* one = w->Panel_Emu;
        CurvePanel* two = w->Panel_Emu_2;
        QStringList texts;
        for (int i = 1; i <= 64; ++i)
            texts << ct::number((i * 37 % 500) / 100.0);
        for (int i = 1; i <= 64; ++i)
            one->setPointText(i, texts.at(i - 1));
        one->ui.sgrid_Emu->item(64, 1)->setText(QStringLiteral("9")); // row 64 belongs to no point
        answer = path(QStringLiteral("c1"));
        one->ui.atb_Emu_Save->click();
        QCOMPARE(files(), QStringList{QStringLiteral("c1Emu.txt")});
        QCOMPARE(fileBytes(path(QStringLiteral("c1Emu.txt"))), crlfLines(texts));

        answer = path(QStringLiteral("c1Emu.txt"));
        QVERIFY(two->marker(1)->isHidden());
        two->ui.atb_Emu_Open->click();
        QVERIFY(errors.isEmpty());
        QCustomPlot* chart = two->ui.Chart2D;
        QCOMPARE(chart->graph(0)->dataCount(), 65);
        QCOMPARE(chart->graph(1)->dataCount(), 65);
        for (int i = 1; i <= 64; ++i) {
            QCOMPARE(two->pointText(i), texts.at(i - 1));
            const double v = (i * 37 % 500) / 100.0;
            QCOMPARE(two->readValue(i), v);
            QCOMPARE(two->editedValue(i), v);
            QVERIFY(two->marker(i)->isVisible());
            QCOMPARE(two->markerPosition(i), QPointF(i, v));
        }
        QVERIFY(two->ui.atb_Interpolator_Lambda->isEnabled());

        // The other separator, and 7 V, which opens unlimited (its marker stays at the top).
        const QString other =
            locale == QLatin1String("C") ? QStringLiteral("2,35") : QStringLiteral("2.35");
        QStringList foreign(64, other);
        foreign[6] = QStringLiteral("7");
        writeBytes(path(QStringLiteral("otherEmu.txt")), crlfLines(foreign));
        answer = path(QStringLiteral("otherEmu.txt"));
        one->ui.atb_Emu_Open->click();
        QVERIFY(errors.isEmpty());
        QCOMPARE(one->pointText(1), ct::number(2.35));
        QCOMPARE(one->editedValue(1), 2.35);
        QCOMPARE(one->pointText(7), QStringLiteral("7"));
        QCOMPARE(one->readValue(7), 7.0);
        QCOMPARE(one->ui.sgrid_Emu->item(64, 1)->text(), QStringLiteral("9"));
        w->atb_Emu->click();
        one->ui.Chart2D->replot();
        QTRY_VERIFY(qAbs(ct::centreOf(one->marker(7)).y() - one->frameRect().top()) <= 1);
        QCOMPARE(filters,
                 QStringList(filters.size(), QStringLiteral("Данные Эмулятора (*Emu.txt)")));
        // Curve 2's open dialog, then curve 1's: each for its own curve's copies.
        QCOMPARE(copiesOf, (QList<int>{int(TableKind::Curve2), int(TableKind::Curve1)}));
    }

    // A curve file that is short or holds a line that is not a number is reported with the
    // line and leaves the curve as it was.
    void badCurveFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("line");
        QStringList lines(64, QStringLiteral("1"));
        QTest::newRow("63 lines") << crlfLines(lines.mid(0, 63)) << "строка 64";
        lines[4] = QStringLiteral("1,x");
        QTest::newRow("letters in line 5") << crlfLines(lines) << "строка 5";
    }
    void badCurveFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, line);
        makeWindow(QStringLiteral("ru_RU"));
        CurvePanel* two = w->Panel_Emu_2;
        two->loadCurve(QStringList(64, QStringLiteral("2,5")), QList<double>(64, 2.5));
        writeBytes(path(QStringLiteral("badEmu.txt")), bytes);
        answer = path(QStringLiteral("badEmu.txt"));
        two->ui.atb_Emu_Open->click();
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(line), qPrintable(errors.first()));
        for (int i = 1; i <= 64; ++i) {
            QCOMPARE(two->pointText(i), QStringLiteral("2,5"));
            QCOMPARE(two->readValue(i), 2.5);
        }
        // A file that cannot be opened says so and changes nothing either.
        answer = path(QStringLiteral("noneEmu.txt"));
        two->ui.atb_Emu_Open->click();
        QCOMPARE(errors.size(), 2);
        QVERIFY2(errors.last().contains(QStringLiteral("noneEmu.txt")), qPrintable(errors.last()));
        QCOMPARE(two->pointText(1), QStringLiteral("2,5"));
    }

    // A damaged or foreign table file changes no cell of the model grid or the shown grid,
    // and one message names its first bad line.
    void damagedTableFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("line");
        QByteArray binary;
        for (int i = 0; i < 256; ++i) binary += char(i);
        QByteArray utf16("\xFF\xFE");
        for (char c : crlfLines(QStringList(64, QStringLiteral("5")))) utf16 += QByteArray(1, c) + '\0';
        QTest::newRow("binary") << binary << "строка 1";
        QTest::newRow("UTF-16") << utf16 << "строка 1";
        QTest::newRow("40 lines") << crlfLines(QStringList(40, QStringLiteral("5"))) << "строка 41";
        QTest::newRow("a word") << QByteArray("hello\r\n") << "строка 1";
        QTest::newRow("3 MB line") << QByteArray(3 << 20, '5') << "строка 1";
        // Nothing to name a line for: the message names the file and says it has no value.
        QTest::newRow("line ends only") << QByteArray(64 * 2, '\n') << "badLambda.txt»";
    }
    void damagedTableFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, line);
        makeWindow(QStringLiteral("ru_RU"));
        w->atb_Lambda->click();
        Table3DPanel* p = w->Panel_3D;
        for (int c = 1; c <= 8; ++c)
            for (int r = 1; r <= 8; ++r) p->setCellText(c, r, QString::number(c * 10 + r));
        for (int c = 1; c <= 8; ++c)
            for (int r = 1; r <= 8; ++r) p->modelGrid(TableKind::Lambda).setCell(c, r, QString::number(r * 10 + c));
        const QStringList shown = p->tableCells();
        const QStringList model = modelCells(p->modelGrid(TableKind::Lambda));
        writeBytes(path(QStringLiteral("badLambda.txt")), bytes);
        answer = path(QStringLiteral("badLambda.txt"));
        p->ui.atb_Lambda_Open->click();
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(line.endsWith(u'»') ? line : line + QLatin1Char(':')), qPrintable(errors.first()));
        QVERIFY(errors.first().size() < 200);
        QCOMPARE(p->tableCells(), shown);
        QCOMPARE(modelCells(p->modelGrid(TableKind::Lambda)), model);
    }

    // Every curve open ends with curve 1's refresh, cancelled or not, for either curve.
    void curveOneRefreshedAfterEveryOpen() {
        makeWindow(QStringLiteral("ru_RU"));
        w->atb_Emu->click();
        CurvePanel* one = w->Panel_Emu;
        one->loadCurve(QStringList(64, QStringLiteral("2,5")), QList<double>(64, 2.5));
        one->setPointText(3, QStringLiteral("4")); // typed, not applied
        QCOMPARE(one->markerPosition(3), QPointF(3, 2.5));
        answer.clear();
        w->Panel_Emu_2->ui.atb_Emu_Open->click();
        QCOMPARE(one->markerPosition(3), QPointF(3, 4));
        QCOMPARE(one->marker(3)->toolTip(), QStringLiteral("Точка 3\nНапряжение: 4 В "));
        QCOMPARE(one->editedValue(3), 2.5); // the series stays
        QVERIFY(w->Panel_Emu_2->marker(1)->isHidden());
    }

    // Before every dialog the live points stop and the chart pauses.
    void liveStoppedBeforeEveryDialog() {
        makeWindow(QStringLiteral("ru_RU"));
        sim::SimModule* m = ct::openDemo(*w);
        QVERIFY(m);
        const auto& t = w->Panel_3D->ui;
        const QList<QAbstractButton*> buttons{t.atb_MAF_Save,
                                              t.atb_MAF_Open,
                                              t.atb_Lambda_Save,
                                              t.atb_Lambda_Open,
                                              t.atb_MAF_TR_90_Save,
                                              t.atb_MAF_TR_90_Open,
                                              w->Panel_Emu->ui.atb_Emu_Save,
                                              w->Panel_Emu->ui.atb_Emu_Open,
                                              w->Panel_Emu_2->ui.atb_Emu_Save,
                                              w->Panel_Emu_2->ui.atb_Emu_Open};
        answer.clear();
        int k = 0;
        for (QAbstractButton* b : buttons) {
            const int curve = k++ % 2 + 1;
            ct::panel(*w, curve)->ui.Btn_YellowPoints->click();
            QVERIFY(ct::liveTimer(*w, curve)->isActive());
            QVERIFY(!w->atb_Seans->isEnabled());
            const int before = pauses;
            b->click();
            QVERIFY2(!ct::liveTimer(*w, curve)->isActive(), qPrintable(b->objectName()));
            QVERIFY(w->atb_Seans->isEnabled());
            QCOMPARE(pauses, before + 1);
        }
        QCOMPARE(filters.size(), 10);
    }

  private:
    static QString tt_number(int k) { return ct::number((k * 31 % 500) / 100.0); }
};

QTEST_MAIN(TestTableFiles)
#include "test_table_files.moc"
