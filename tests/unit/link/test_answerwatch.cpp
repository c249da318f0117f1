// The exchange's answer watch without a port: ticks and receive events driven by the test,
// gates that say whether the module moved their operation on or refused its item. Twenty
// refusals of one item end an operation (a refusal in pieces counts once, another item
// counts anew, an acknowledgement starts over), five seconds without a move end it on the
// real clock, an owner that keeps running is reported once and again when answers come
// back, and a timer nobody watches is never ended. The texts are written out here.
#include "common/messages.h"
#include "link/exchange.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

Q_DECLARE_METATYPE(StallReport)
Q_DECLARE_METATYPE(StallKind)

namespace {

struct View : ExchangeView {
    QStringList log, stalls;
    int cleared = 0;
    void showSent(const QString&) override {}
    void showReceived(const QString&, bool) override {}
    void setProgress(int) override {}
    void appendLog(const QString& line) override { log << line; }
    void showStall(const QString& text) override { stalls << text; }
    void clearStall() override { ++cleared; }
};

// What a gate does with one receive event.
enum Piece { Refuse = 'r', Move = 'm', Nothing = '-' };

} // namespace

class TestAnswerWatch : public QObject {
    Q_OBJECT
    std::unique_ptr<View> view;
    std::unique_ptr<Exchange> ex;
    QList<StallKind> ends; // the owner's end calls
    QString piece;         // what the gate does on the next receive event

    // A watched write timer whose gate does what `piece` says.
    void watch(QTimer* t, bool keepRunning = false) {
        ex->setGate(t, [this](const QString&) {
            if (piece == QLatin1String("r")) ex->refused();
            if (piece == QLatin1String("m")) ex->movedOn();
        });
        ex->setStallEnd(t, [this, t, keepRunning](StallKind kind) {
            ends << kind;
            if (!keepRunning) t->stop();
            StallReport r;
            r.key = keepRunning ? QStringLiteral("recording") : QStringLiteral("tableWrite.MAF");
            if (!keepRunning) {
                r.done = 7;
                r.total = 64;
            }
            return r;
        });
    }

  private slots:
    void init() {
        msgs().setRussian();
        view = std::make_unique<View>();
        ex = std::make_unique<Exchange>(nullptr, view.get());
        ends.clear();
    }
    void cleanup() {
        ex.reset();
        view.reset();
    }

    // Ticks, each followed by its receive events: a letter per event ("r" refused, "m"
    // moved on, "-" neither), "|" between ticks; a tick's item is the one its column names.
    void refusals_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("items"); // one letter per tick: the item sent
        QTest::addColumn<int>("endingTick"); // 1-based tick that ends it, 0: none
        const QString twenty = QStringList(20, QStringLiteral("r")).join('|');
        QTest::newRow("twenty refusals") << twenty << QString(21, u'A') << 21;
        QTest::newRow("nineteen") << QStringList(19, QStringLiteral("r")).join('|') << QString(20, u'A') << 0;
        QTest::newRow("in two pieces each, counted once")
            << QStringList(19, QStringLiteral("rr")).join('|') << QString(20, u'A') << 0;
        QTest::newRow("an acknowledgement starts over")
            << QStringList(19, QStringLiteral("r")).join('|') + QStringLiteral("|m|") +
                   QStringList(19, QStringLiteral("r")).join('|')
            << QString(40, u'A') << 0;
        QTest::newRow("another item counts anew")
            << QStringList(15, QStringLiteral("r")).join('|') + QLatin1Char('|') + QStringList(15, QStringLiteral("r")).join('|')
            << QString(15, u'A') + QString(16, u'B') << 0;
        QTest::newRow("no answer does not reset the count")
            << QStringList(10, QStringLiteral("r")).join('|') + QStringLiteral("|-|-|") +
                   QStringList(10, QStringLiteral("r")).join('|')
            << QString(23, u'A') << 23;
    }
    void refusals() {
        QFETCH(QString, script);
        QFETCH(QString, items);
        QFETCH(int, endingTick);
        QTimer* t = ex->Timer_MAF_In;
        watch(t);
        ex->start(t, QStringLiteral("A"));
        const QStringList ticks = script.split(QLatin1Char('|'));
        int tick = 0;
        for (; tick < items.size(); ++tick) {
            ex->Cmd_Pending = QString(items.at(tick));
            ex->transferTick(t);
            if (!t->isActive()) break;
            for (QChar c : tick < ticks.size() ? ticks.at(tick) : QString()) {
                piece = QString(c);
                ex->BComPort1RxChar(1);
            }
        }
        if (endingTick == 0) {
            QVERIFY2(t->isActive(), qPrintable(QString::number(tick + 1)));
            QVERIFY(ends.isEmpty());
            QVERIFY(view->stalls.isEmpty());
            return;
        }
        QCOMPARE(tick + 1, endingTick);
        QCOMPARE(ends, QList<StallKind>{StallKind::Refused});
        QCOMPARE(view->stalls, QStringList{QStringLiteral("Модуль отклоняет запись: запись таблицы MAF (MAP), записано 7 из 64")});
        const QRegularExpression line(QStringLiteral("^\\S.* Модуль отклоняет запись: запись таблицы MAF \\(MAP\\), "
                                                     "записано 7 из 64; последняя команда A$"));
        QVERIFY2(line.match(view->log.last()).hasMatch(), qPrintable(view->log.last()));
        // The ending tick sent nothing: the last command out is still the refused one.
        QCOMPARE(ex->Cmd_Sent, QStringLiteral("A"));
    }

    // A timer without an owner's end call (the connection's) is never ended by the watch.
    void unwatchedTimerRunsOn() {
        QTimer* t = ex->Timer_Read;
        ex->setGate(t, [this](const QString&) { ex->refused(); });
        ex->start(t, QStringLiteral("F7*"));
        for (int i = 0; i < 30; ++i) {
            ex->transferTick(t);
            ex->BComPort1RxChar(1);
        }
        QVERIFY(t->isActive());
        QVERIFY(view->stalls.isEmpty());
    }

    // On the real clock: a table write the module stops answering ends after five seconds
    // without a move; a recording that stops hearing answers goes on, is reported once, and
    // when answers come back the log says so and the alarm goes.
    void silence() {
        QTimer* write = ex->Timer_MAF_In;
        QTimer* live = ex->Timer_NeprOpros;
        watch(write);
        watch(live, true);
        ex->start(write, QStringLiteral("00F8)"));
        ex->start(live, QStringLiteral("2A&"));
        const int clearedAtStart = view->cleared;
        QElapsedTimer clock;
        clock.start();
        // Their ticks come by themselves (30 and 25 ms); nothing answers.
        QTRY_VERIFY_WITH_TIMEOUT(!write->isActive(), 7000);
        QVERIFY2(clock.elapsed() >= Exchange::SilenceMs, qPrintable(QString::number(clock.elapsed())));
        QTRY_COMPARE_WITH_TIMEOUT(view->stalls.size(), 2, 1000);
        QVERIFY(view->stalls.contains(QStringLiteral("Модуль не отвечает: запись таблицы MAF (MAP), записано 7 из 64")));
        QVERIFY(view->stalls.contains(QStringLiteral("Модуль не отвечает: запись графика")));
        QVERIFY(live->isActive());
        QVERIFY(ex->waitsForAnswers(live));
        // Reported once, however many ticks follow.
        QTest::qWait(200);
        QCOMPARE(view->stalls.size(), 2);
        QCOMPARE(ends.size(), 2);
        // The answers come back.
        piece = QStringLiteral("m");
        ex->BComPort1RxChar(1);
        QVERIFY(!ex->waitsForAnswers(live));
        QVERIFY(view->cleared > clearedAtStart);
        // The line comes from the gate, before the receive handler's own lines.
        const QRegularExpression back(QStringLiteral("^\\S.* Модуль снова отвечает: запись графика$"));
        QCOMPARE(view->log.filter(back).size(), 1);
        live->stop();
    }

    // The status in either language, with and without a count; arguments are put in once,
    // so a command holding "%2" stays as typed.
    void texts_data() {
        QTest::addColumn<StallKind>("kind");
        QTest::addColumn<StallReport>("report");
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("text");
        QTest::newRow("read, Russian") << StallKind::Silent << StallReport{"tableRead.Lambda", {}, 23, 64, true} << false
                                       << "Модуль не отвечает: чтение таблицы Лямбда, прочитано 23 из 64";
        QTest::newRow("read, English") << StallKind::Silent << StallReport{"curveRead", {"2"}, 0, 64, true} << true
                                       << "Module does not answer: reading the Lambda 2 data, 0 of 64 read";
        QTest::newRow("write, English") << StallKind::Refused << StallReport{"tableWrite.Volt", {}, 63, 64, false} << true
                                        << "Module refuses the write: writing the voltage table, 63 of 64 written";
        QTest::newRow("register") << StallKind::Refused << StallReport{"settingWrite", {"0B"}} << false
                                  << "Модуль отклоняет запись: запись EEPROM-0B";
        QTest::newRow("typed command") << StallKind::Silent << StallReport{"manualSend", {"%2%1"}} << false
                                       << "Модуль не отвечает: передача команды %2%1";
    }
    void texts() {
        QFETCH(StallKind, kind);
        QFETCH(StallReport, report);
        QFETCH(bool, english);
        QFETCH(QString, text);
        QCOMPARE(stallStatus(kind, report, english), text);
        // The log is Russian in either language, and names the last command.
        const QString logged = stallLogLine(kind, report, QStringLiteral("37*"));
        QVERIFY2(logged.endsWith(QStringLiteral("; последняя команда 37*")), qPrintable(logged));
        QVERIFY2(logged.contains(QStringLiteral(" Модуль ")), qPrintable(logged));
    }
};

QTEST_GUILESS_MAIN(TestAnswerWatch)
#include "test_answerwatch.moc"
