// The work report on its pages, without the window: every page carries the header and its
// number out of the total, every change and every damaged copy is written out whatever the
// number of pages, the pictures asked for are those of the state after the work and are on
// the page, and a printer gets the same report as the PDF file.
#include "report/reportdocument.h"
#include "report/reporttexts.h"
#include "ui/pdftext.h"

#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <QtTest>

using history::Direction;
using Kind = TableKind;

namespace {

const QString kId = QStringLiteral("TR-70A03");
const QDateTime kStart(QDate(2026, 5, 14), QTime(9, 0, 0));
const QColor kSurfaceColour(255, 0, 255);
const QColor kChartColour(0, 160, 0);

report::Side side(Kind kind, Direction dir, int minutes, const QList<int>& bytes) {
    report::Side s;
    s.present = true;
    s.copy.entry = {QStringLiteral("/h/x.txt"), kStart.addSecs(minutes * 60), kind, dir};
    s.copy.bytes = bytes;
    return s;
}

// A part whose cells `changed` differ by one step.
report::Part part(Kind kind, const QList<int>& changed, bool written = true) {
    report::Part p;
    p.kind = kind;
    QList<int> before(64), after;
    for (int i = 0; i < 64; ++i) before[i] = kind == Kind::Curve1 || kind == Kind::Curve2 ? 60 + i * 2 : 100 + i;
    after = before;
    for (int i : changed) after[i] += 3;
    p.before = side(kind, Direction::Read, 1, before);
    if (written) {
        p.after = side(kind, Direction::Written, 5, after);
        for (int i : changed) p.changes << report::Change{i, before.at(i), after.at(i)};
    }
    return p;
}

struct Calls {
    QList<Kind> surfaces;
    QList<QStringList> cells;
    int charts = 0;
};

report::Document document(bool english, bool recording, Calls* calls) {
    report::Document d;
    d.english = english;
    d.made = kStart.addSecs(3600);
    d.module = {QStringLiteral("TR-70"), kId, QStringLiteral("ZOZOA"), QStringLiteral("/dev/ttyUSB0")};
    d.content.since = kStart;
    d.content.first = kStart.addSecs(60);
    d.content.last = kStart.addSecs(300);
    report::Part settings;
    settings.kind = Kind::Settings;
    settings.before.present = settings.after.present = true;
    settings.before.copy.registers = {{0x0F, 45}, {0x04, 100}};
    settings.after.copy.registers = {{0x0F, 46}, {0x04, 100}};
    settings.changes = {{0x0F, 45, 46}};
    QList<int> all;
    for (int i = 0; i < 64; ++i) all << i;
    d.content.parts << settings << part(Kind::Lambda, {0, 9, 63}) << part(Kind::Maf, all)
                    << part(Kind::Voltage, {}, false) << part(Kind::Curve1, {16, 17}) << part(Kind::Curve2, all);
    d.content.damaged << report::Damaged{QStringLiteral("/h/2026-05-14_09-01-00_MAF_read_2.txt"),
                                         report::Fault::NotNumber, 12, QString()};
    d.surface = [calls](Kind kind, const QStringList& cells, QSize pixels) {
        calls->surfaces << kind;
        calls->cells << cells;
        QImage img(pixels, QImage::Format_RGB32);
        img.fill(kSurfaceColour);
        return img;
    };
    if (recording) {
        d.recording.samples = 600;
        d.recording.lastTime = 59.9;
        d.recording.l1 = analysis::CellGrid(d.speed, d.load);
        d.recording.l1->add(2000, 1.5, 0.45);
        d.chart = [calls](QSize pixels) {
            ++calls->charts;
            QImage img(pixels, QImage::Format_RGB32);
            img.fill(kChartColour);
            return img;
        };
    }
    return d;
}

bool hasColour(const QImage& img, const QColor& colour) {
    const QRgb want = colour.rgb();
    for (int y = 0; y < img.height(); y += 2)
        for (int x = 0; x < img.width(); x += 2) {
            const QRgb p = img.pixel(x, y);
            if (qAbs(qRed(p) - qRed(want)) < 8 && qAbs(qGreen(p) - qGreen(want)) < 8 && qAbs(qBlue(p) - qBlue(want)) < 8)
                return true;
        }
    return false;
}

} // namespace

class TestReportPages : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    // Writes the PDF and returns its text, page by page.
    QStringList pages(const QByteArray& bytes, const QString& name) {
        const QString path = dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return {};
        f.close();
        const QString keep = qEnvironmentVariable("SCREENSHOT_DIR");
        if (!keep.isEmpty()) QFile::copy(path, QDir(keep).filePath(name));
        QString error;
        const QString text = pdf::text(path, &error);
        if (text.isEmpty()) qWarning("%s", qPrintable(error));
        QStringList out = text.split(QLatin1Char('\f'));
        if (!out.isEmpty() && out.last().trimmed().isEmpty()) out.removeLast();
        return out;
    }

    static QString oneLine(const QString& s) { return QString(s).replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" ")); }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void everyPageAndEveryChange_data() {
        QTest::addColumn<bool>("english");
        QTest::addColumn<bool>("recording");
        QTest::newRow("Russian, with a recording") << false << true;
        QTest::newRow("English, without one") << true << false;
    }
    void everyPageAndEveryChange() {
        QFETCH(bool, english);
        QFETCH(bool, recording);
        Calls calls;
        const report::Document doc = document(english, recording, &calls);
        const QStringList text =
            pages(report::pdf(doc), english ? QStringLiteral("report-en.pdf") : QStringLiteral("report-ru.pdf"));
        QVERIFY2(text.size() >= 4, qPrintable(QString::number(text.size())));
        const report::Texts& t = report::texts(english);
        for (int i = 0; i < text.size(); ++i) {
            const QString page = oneLine(text.at(i));
            QVERIFY2(page.contains(t.title + QStringLiteral(" · ") + kId), qPrintable(page.left(200)));
            QVERIFY2(page.contains(t.page.arg(i + 1).arg(text.size())), qPrintable(page.right(200)));
        }
        const QString all = oneLine(text.join(QLatin1Char(' ')));
        for (const report::Part& p : doc.content.parts) {
            if (p.kind == Kind::Settings) continue;
            QVERIFY2(all.contains(report::kindTitle(p.kind, english)), qPrintable(report::kindTitle(p.kind, english)));
            for (const report::Change& c : p.changes) {
                const QString line = report::changeText(p.kind, c, english);
                QVERIFY2(all.contains(line), qPrintable(line));
            }
        }
        // The changed setting, marked.
        QVERIFY(all.contains(english ? QStringLiteral("Engine displacement") : QStringLiteral("Объём двигателя")));
        QVERIFY(all.contains(t.changed));
        QVERIFY(all.contains(QStringLiteral("4.5")) && all.contains(QStringLiteral("4.6")));
        QVERIFY(all.contains(report::damagedText(doc.content.damaged.first(), english)));
        QVERIFY(all.contains(QStringLiteral("ZOZOA")) && all.contains(QStringLiteral("/dev/ttyUSB0")));
        QCOMPARE(all.contains(t.recordingHeading), recording);

        // The surfaces of the tables, as written (or as read, for one not written), once each.
        QCOMPARE(calls.surfaces, (QList<Kind>{Kind::Lambda, Kind::Maf, Kind::Voltage}));
        const report::Part* maf = doc.content.part(Kind::Maf);
        for (int i = 0; i < 64; ++i) QCOMPARE(calls.cells.at(1).at(i), report::valueText(Kind::Maf, maf->after.copy.bytes.at(i)));
        const report::Part* volt = doc.content.part(Kind::Voltage);
        QCOMPARE(calls.cells.at(2).first(), report::valueText(Kind::Voltage, volt->before.copy.bytes.first()));
        QCOMPARE(calls.charts, recording ? 1 : 0);
    }

    // The pictures are on the pages: the surface's, and the chart's with a recording.
    void picturesOnThePages() {
        Calls calls;
        const QString path = dir.filePath(QStringLiteral("p.pdf"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(report::pdf(document(false, true, &calls)));
        f.close();
        bool surface = false, chart = false;
        for (int page = 1; page <= 12 && !(surface && chart); ++page) {
            const QImage img = pdf::pageImage(path, page, 30);
            if (img.isNull()) break;
            QCOMPARE(img.size(), QSize(248, 351)); // A4 at 30 dpi
            surface = surface || hasColour(img, kSurfaceColour);
            chart = chart || hasColour(img, kChartColour);
        }
        QVERIFY(surface);
        QVERIFY(chart);
    }

    // A report with nothing in it still has its frame and says so.
    void emptyWork() {
        Calls calls;
        report::Document doc = document(false, false, &calls);
        doc.content.parts.clear();
        doc.content.damaged.clear();
        const QStringList text = pages(report::pdf(doc), QStringLiteral("e.pdf"));
        QCOMPARE(text.size(), 1);
        QVERIFY(oneLine(text.first()).contains(report::texts(false).nothingDone));
        QVERIFY(oneLine(text.first()).contains(report::texts(false).page.arg(1).arg(1)));
        QVERIFY(calls.surfaces.isEmpty());
    }

    // The printer gets the same pages.
    void printer() {
        Calls calls;
        const report::Document doc = document(true, false, &calls);
        const QStringList fromPdf = pages(report::pdf(doc), QStringLiteral("a.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        const QString path = dir.filePath(QStringLiteral("printed.pdf"));
        printer.setOutputFileName(path);
        const int count = report::paint(&printer, doc);
        QCOMPARE(count, int(fromPdf.size()));
        const QString printed = oneLine(pdf::text(path));
        for (const report::Change& c : doc.content.part(Kind::Curve2)->changes)
            QVERIFY(printed.contains(report::changeText(Kind::Curve2, c, true)));
        QVERIFY(printed.contains(report::texts(true).page.arg(count).arg(count)));
    }
};

QTEST_MAIN(TestReportPages)
#include "test_reportpages.moc"
