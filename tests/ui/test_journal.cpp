// Recordings that survive the program: a child process records against the simulated
// module and is killed (SIGKILL), and a new window in the same folder restores every
// sample the journal holds; a torn last line, a journal that is not one, the answers to
// the question, and the journal's life beside a recording (Start keeps an unsaved one as
// the previous generation, a saved record or Clear removes it, a CSV copy does not).
#include "telemetry/chartpanel.h"
#include "telemetry/csvexport.h"
#include "telemetry/journalformat.h"
#include "telemetry/journalkeeper.h"
#include "telemetry/journalrestore.h"
#include "telemetry/liverecorder.h"
#include "telemetry/recordfile.h"
#include "telemetry/recordfiles.h"
#include "windowtest.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <csignal>

namespace {

QByteArray fileBytes(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}
void writeBytes(const QString& name, const QByteArray& bytes) {
    QFile f(name);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}
int lineCount(const QString& name) { return int(fileBytes(name).count('\n')); }

// The CSV copy of a record file's lines, worked out here from the file's whole hundredths
// ("1225#Step#-180#SP#..."): each a decimal with a point whatever the locale, without
// trailing zeros, separated by commas, one row per line.
QByteArray csvOfRecordLines(const QByteArray& record) {
    QByteArray out("time_s,SP,STR,AI,TP,SD,L1,L2,U1do,U1posle,U2do,U2posle\n");
    for (const QByteArray& line : record.split('\n')) {
        const QList<QByteArray> parts = line.trimmed().split('#');
        QByteArrayList fields;
        for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
            const qlonglong h = parts.at(i).toLongLong();
            const qlonglong a = h < 0 ? -h : h;
            QByteArray t = QByteArray::number(a / 100);
            if (a % 100 != 0) {
                t += '.' + QByteArray::number(a % 100).rightJustified(2, '0');
                if (t.endsWith('0')) t.chop(1);
            }
            fields << (h < 0 ? '-' + t : t);
        }
        if (!fields.isEmpty()) out += fields.join(',') + '\n';
    }
    return out;
}

QByteArray journalLines(int n) {
    QByteArray out;
    std::array<double, recordfile::Fields> v{};
    for (int i = 0; i < n; ++i) {
        for (int f = 0; f < recordfile::Fields; ++f) v[std::size_t(f)] = (i * 25 + f * 7) / 100.0;
        out += recordfile::encodeLine(v);
    }
    return out;
}

// The child: records at 100 ms against a demo module in the folder it is given, until it
// is killed (or a minute has passed, so a lost parent leaves nothing running).
int recordChild(int argc, char** argv) {
    QApplication app(argc, argv);
    if (!QDir::setCurrent(QString::fromLocal8Bit(argv[2]))) return 2;
    TForm1 w;
    w.Ctx.confirm = [](QDialog*) { return true; };
    w.Ctx.error = [](const QString& text) { qWarning("child: %s", qPrintable(text)); };
    w.show();
    QTimer::singleShot(60000, &app, [] { QCoreApplication::exit(3); });
    wt::connectDemo(w, QStringLiteral("DEMO TR-70"));
    auto* poll = new QTimer(&app);
    QObject::connect(poll, &QTimer::timeout, &app, [&w, poll] {
        if (w.Ex->Timer_Read->isActive() || w.Conn->modelName().isEmpty()) return;
        poll->stop();
        w.cb_Int_Graf_In->setCurrentIndex(0); // 100 ms
        w.Panel_Parr_Max->ui.atb_Chart1_Start->click();
    });
    poll->start(50);
    return app.exec();
}

} // namespace

class TestJournal : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;
    QStringList errors;
    QStringList asked;
    int answer = -1; // 1 restore, 0 discard, -1 no answer
    std::function<void(bool)> later; // the reply, for an answer given afterwards

    // A window in the current folder that answers the restore question as `answer` says.
    void makeWindow() {
        w = std::make_unique<TForm1>();
        errors.clear();
        asked.clear();
        w->Ctx.error = [this](const QString& text) { errors << text; };
        w->Ctx.confirm = [](QDialog*) { return true; };
        w->RecordingRestore->ask = [this](const QString& text, std::function<void(bool)> reply) {
            asked << text;
            later = reply;
            if (answer >= 0) reply(answer == 1);
        };
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    LiveRecorder& rec() { return *w->Recorder; }
    Ui::ChartPanel& chart() { return w->Panel_Parr_Max->ui; }

    // The archive against a record read by the record file reader.
    void compareArchive(const recordfile::Record& expected, int chartSamples = -1) {
        QCOMPARE(rec().Arhiv.samples(), expected.rows());
        QCOMPARE(rec().Navigator.samples(), expected.rows());
        QCOMPARE(rec().Row_Arhiv, expected.rows() + 1);
        // A record read is added after the points the chart holds.
        QCOMPARE(rec().chart().sampleCount(), chartSamples < 0 ? expected.rows() : chartSamples);
        for (int r = 0; r < expected.rows(); ++r)
            for (int f = 0; f < recordfile::Fields; ++f)
                if (rec().Arhiv.value(r + 1, f) != expected.values[std::size_t(f)][std::size_t(r)])
                    QFAIL(qPrintable(QStringLiteral("row %1 field %2 differs").arg(r + 1).arg(f)));
    }

    // Samples driven by the test on a standing engine, then Stop.
    void recordByHand(int ticks, bool stop = true) {
        if (!w->BComPort1->isOpen()) {
            QVERIFY(wt::connectDemo(*w, QStringLiteral("DEMO TR-70"),
                                    [](sim::SimModule* s) { s->setEngineRunning(false); }));
            QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Read->isActive() && !w->Conn->modelName().isEmpty(), 8000);
        }
        chart().atb_Chart1_Start->click();
        w->Ex->Timer_Module_Graf->stop();
        for (int i = 0; i < ticks; ++i) {
            w->Ex->Timer_NeprOpros->stop();
            rec().Timer_Module_GrafTimer();
        }
        if (stop) chart().atb_Chart1_Stop->click();
    }

private slots:
    void init() {
        wt::freshConfiguration();
        answer = -1;
    }
    void cleanup() {
        w.reset();
        QLocale::setDefault(QLocale::c());
    }

    void survivesSigkill() {
        const QString journal = QDir::current().absoluteFilePath(journal::fileName());
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--record-child"), QDir::currentPath()});
        QVERIFY(child.waitForStarted(10000));
        // Two seconds of samples at 100 ms have reached the file (it is written once a second).
        QTRY_VERIFY_WITH_TIMEOUT(lineCount(journal) >= 20, 30000);
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        // Read independently: the record file reader takes the complete lines.
        QByteArray bytes = fileBytes(journal);
        bytes.truncate(bytes.lastIndexOf('\n') + 1);
        const recordfile::Record expected = recordfile::parse(bytes);
        QVERIFY(expected.ok());
        QVERIFY(expected.rows() >= 20);

        answer = 1;
        makeWindow();
        QTRY_COMPARE_WITH_TIMEOUT(asked.size(), 1, 5000);
        QVERIFY2(asked[0].contains(QStringLiteral("(%1 отсчётов)").arg(expected.rows())), qPrintable(asked[0]));
        QVERIFY(asked[0].startsWith(QStringLiteral("Найдена несохранённая запись от ")));
        compareArchive(expected);
        QVERIFY(errors.isEmpty());
        // Restored is as opened: Stop lets it be browsed, and the journal stays until saved.
        QVERIFY(chart().atb_Chart1_Stop->isEnabled());
        QVERIFY(QFile::exists(journal));
    }

    void restoreAndDiscard_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("restored"); // samples in the archive afterwards
        QTest::addColumn<bool>("kept");    // the journal is still there
        QTest::addColumn<bool>("question");
        const QByteArray five = journalLines(5);
        QTest::newRow("torn tail, restored") << five + journalLines(6).mid(five.size(), 40) << 1 << 5 << true << true;
        QTest::newRow("discarded") << five << 0 << 0 << false << true;
        QTest::newRow("box closed") << five << -1 << 0 << true << true;
        QTest::newRow("nothing complete") << journalLines(1).left(30) << 1 << 0 << true << false;
        QTest::newRow("not a journal") << five + "garbage\r\n" << 1 << 0 << true << false;
    }
    void restoreAndDiscard() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, answer);
        QFETCH(int, restored);
        QFETCH(bool, kept);
        QFETCH(bool, question);
        writeBytes(journal::fileName(), bytes);
        this->answer = answer;
        makeWindow();
        if (question) {
            QTRY_COMPARE_WITH_TIMEOUT(asked.size(), 1, 5000);
            QVERIFY(asked[0].contains(QStringLiteral("(5 отсчётов)")));
        } else {
            QTest::qWait(50); // the check has run (it is queued at construction)
            QVERIFY(asked.isEmpty());
        }
        QCOMPARE(rec().Arhiv.samples(), restored);
        if (restored) compareArchive(recordfile::parse(journalLines(restored)));
        QCOMPARE(QFile::exists(journal::fileName()), kept);
        if (kept) QCOMPARE(fileBytes(journal::fileName()), bytes); // never changed by reading
        // A journal that is not one is told, and left for the user.
        QCOMPARE(errors.size(), bytes.endsWith("garbage\r\n") ? 1 : 0);
    }

    // The question still open, a new recording starts: the answer is about the old one,
    // now the previous generation, and leaves the new journal alone.
    void answerAfterANewStart_data() {
        QTest::addColumn<bool>("restore");
        QTest::newRow("restore") << true;
        QTest::newRow("discard") << false;
    }
    void answerAfterANewStart() {
        QFETCH(bool, restore);
        const QByteArray lost = journalLines(7);
        writeBytes(journal::fileName(), lost);
        makeWindow();
        QTRY_COMPARE_WITH_TIMEOUT(asked.size(), 1, 5000);
        recordByHand(4);
        QCOMPARE(fileBytes(journal::previousFileName()), lost);
        const QByteArray current = fileBytes(journal::fileName());
        QCOMPARE(lineCount(journal::fileName()), 4);
        later(restore);
        QCOMPARE(fileBytes(journal::fileName()), current);
        if (restore) {
            compareArchive(recordfile::parse(lost), 4 + 7);
            QCOMPARE(fileBytes(journal::previousFileName()), lost);
        } else {
            QCOMPARE(rec().Arhiv.samples(), 4);
            QVERIFY(!QFile::exists(journal::previousFileName()));
        }
    }

    // A Start over an unsaved journal while an older generation is still there: the journal
    // it displaces replaces the older one, which is gone.
    void startReplacesTheOlderGeneration() {
        const QByteArray unsaved = journalLines(6);
        writeBytes(journal::fileName(), unsaved);
        writeBytes(journal::previousFileName(), journalLines(3));
        makeWindow(); // the question is left unanswered
        recordByHand(2);
        QCOMPARE(fileBytes(journal::previousFileName()), unsaved);
        QCOMPARE(lineCount(journal::fileName()), 2);
    }

    void journalFollowsTheRecording() {
        // The CSV copy below is made under a locale whose decimal separator is a comma.
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        makeWindow();
        const QString journal = journal::fileName();
        const QString previous = journal::previousFileName();
        recordByHand(30);
        // Stop handed everything to the file; the journal reads as the archive.
        const recordfile::Record first = recordfile::parse(fileBytes(journal));
        QCOMPARE(first.rows(), 30);
        compareArchive(first);

        // A new Start over the unsaved recording keeps it as the previous generation.
        recordByHand(10, false);
        chart().atb_Chart1_Pause->click();
        QCOMPARE(fileBytes(previous), recordfile::encode(30, [&](int r, int f) {
                     return first.values[std::size_t(f)][std::size_t(r)];
                 }));
        QCOMPARE(lineCount(journal), 10);

        // A CSV copy is not the record: the journal stays.
        QString chosen = QDir::current().absoluteFilePath("run.csv");
        w->Ctx.saveFileName = [&](const QString&, const QString&) { return chosen; };
        chart().atb_Param_Save->click();
        QVERIFY(errors.isEmpty());
        QCOMPARE(fileBytes(chosen), csvOfRecordLines(fileBytes(journal)));
        QVERIFY(fileBytes(chosen).contains('.')); // the recording has fractions to show it
        QVERIFY(QFile::exists(journal));

        // The record saved: the journal goes.
        chosen = QDir::current().absoluteFilePath("run");
        chart().atb_Param_Save->click();
        QVERIFY(errors.isEmpty());
        QCOMPARE(lineCount("run_data.txt"), 10);
        QVERIFY(!QFile::exists(journal));

        // Continued after the save, the journal holds the whole recording again.
        chart().atb_Chart1_Continue->click();
        w->Ex->Timer_Module_Graf->stop();
        w->Ex->Timer_NeprOpros->stop();
        rec().Timer_Module_GrafTimer();
        chart().atb_Chart1_Pause->click();
        QCOMPARE(lineCount(journal), 11);

        // Clear removes it; the previous generation stays.
        chart().atb_Chart1_Stop->click();
        chart().atb_Chart1_Clear->click();
        QVERIFY(!QFile::exists(journal));
        QVERIFY(QFile::exists(previous));
    }
};

int main(int argc, char** argv) {
    if (argc >= 3 && qstrcmp(argv[1], "--record-child") == 0) return recordChild(argc, argv);
    QApplication app(argc, argv);
    TestJournal t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_journal.moc"
