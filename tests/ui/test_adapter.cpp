// Connecting through a USB-type serial adapter, which holds the module's answers and hands
// them over in pieces, gives exactly what a prompt module gives, also while the window is
// busy; and a port reached through a symbolic link connects like the device itself.
#include "app/protocolpanel.h"
#include "common/hex.h"
#include "common/messages.h"
#include "settings/settingspanel.h"
#include "windowtest.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>

#include <chrono>

namespace {

// Settings registers with values away from the panel's defaults, so that a register
// decoded from a wrong answer shows.
const QList<QPair<int, int>> kRegisters = {
    {0x00, 0x08 | 0x04 | 0x40 | 0x80}, {0x01, 0x5A}, {0x04, 123}, {0x05, 100}, {0x09, 6},
    {0x0B, 150}, {0x0F, 16}, {0x10, 40}, {0x12, 150}, {0x13, 143}, {0x14, 4}, {0x15, 32},
    {0x17, 64}, {0x18, 8},
};
// Identification bytes of the working data, each with two different digits.
const QList<QPair<int, int>> kWorking = {
    {0x74, 0x12}, {0x75, 0x34}, {0x40, 0x56}, {0x41, 0x78}, {0x42, 0x9A},
    {0x4D, 0xBC}, {0x4E, 0xDE}, {0xA5, 0x0F}, {0xA9, 0xF1},
};

void prepare(sim::SimModule* m) {
    m->setEngineRunning(false); // the identification bytes stay as written
    for (const auto& [reg, value] : kRegisters) m->setReg(reg, quint8(value));
    for (const auto& [addr, value] : kWorking) m->setWork(addr, quint8(value));
}

// What the window shows after connecting: every edit, list and button of the settings
// panel, the identification bytes as stored, the identifier and the register reports the
// log got from line logStart on.
QStringList snapshot(TForm1& w, int logStart) {
    QStringList s;
    for (auto* e : w.Panel_Sett_Max->findChildren<QLineEdit*>()) s << e->objectName() + '=' + e->text();
    for (auto* c : w.Panel_Sett_Max->findChildren<QComboBox*>()) s << c->objectName() + '=' + c->currentText();
    for (auto* b : w.Panel_Sett_Max->findChildren<QAbstractButton*>())
        s << b->objectName() + '=' + b->text() + (b->isChecked() ? "[down]" : "");
    const Connection* c = w.Conn;
    for (const DigitPair& p : {c->Byte_74, c->Byte_75, c->Byte_40, c->Byte_41, c->Byte_42, c->Byte_4D,
                               c->Byte_4E, c->Byte_A5, c->Byte_A9})
        s << QStringLiteral("byte %1 %2").arg(p.d1).arg(p.d2);
    s << QStringLiteral("id ") + c->modelIdentifier();
    s << wt::logLines(w).mid(logStart).filter(QStringLiteral("EEPROM-"));
    return s;
}

// The module's complete answer to a one-item read command ("47%", "87*").
QString trueAnswer(sim::SimModule* m, const QString& cmd) {
    const int address = lowFirstByte(cmd);
    const int value = cmd.endsWith(QLatin1Char('%')) ? m->work(address) : m->reg(address);
    return lowFirstHex(value) + QLatin1Char(' ');
}

qint64 nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

class TestAdapter : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;

    bool connected() const {
        return !w->Ex->Timer_Read->isActive() && w->windowTitle().contains(QStringLiteral("Модель"));
    }

private slots:
    void init() {
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        wt::freshConfiguration();
        w = std::make_unique<TForm1>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void cleanup() {
        w.reset();
        QLocale::setDefault(QLocale::c());
    }

    // Answers held by the adapter and cut in two: the last piece still comes well before
    // the next tick, so every answer must be taken whole, as from a prompt module.
    void lateSplitAnswers_data() {
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<int>("gapMs");
        QTest::newRow("25 ms, pieces 4 ms apart") << 25 << 4;
        QTest::newRow("30 ms, pieces 8 ms apart") << 30 << 8;
    }
    void lateSplitAnswers() {
        QFETCH(int, delayMs);
        QFETCH(int, gapMs);

        // The prompt module's result first.
        wt::connectDemo(*w, QStringLiteral("DEMO TR-70"), prepare);
        QTRY_VERIFY_WITH_TIMEOUT(connected(), 8000);
        const QStringList prompt = snapshot(*w, 0);
        QVERIFY(prompt.contains(QStringLiteral("id TR-70A03")));
        w->atb_ModuleOffClick();

        // A busy window: the log in front, growing with every event, both status bars
        // changing, and other work taking 4 ms of every 10 on the window's thread.
        w->atbMemoClick();
        QTimer busy;
        busy.setInterval(10);
        connect(&busy, &QTimer::timeout, this, [] {
            QElapsedTimer t;
            t.start();
            while (t.nsecsElapsed() < 4000000) {
            }
        });
        busy.start();

        // The test relies on the simulated module putting each piece on the line when it
        // is due: the last piece 29 ms (25/4) or 38 ms (30/8) after its command, well
        // before the next tick 50 ms after it. A machine loaded enough can wake the
        // module's thread so late that a piece truly comes after the next tick began; it
        // is then rightly taken as the start of the next answer. Such a run proves nothing
        // and is repeated.
        for (int attempt = 1;; ++attempt) {
            w->setWindowTitle(QString());
            const int logStart = int(wt::logLines(*w).size());
            QList<qint64> sent, ticks;
            const auto onSent = connect(w->BComPort1, &TBComPort::textWritten, this, [&](int) { sent << nowNs(); });
            const auto onTick = connect(w->Ex, &Exchange::tickStarting, this, [&](QTimer*) { ticks << nowNs(); });
            sim::SimModule* m = wt::connectDemo(*w, QStringLiteral("DEMO TR-70"), [&](sim::SimModule* s) {
                prepare(s);
                sim::Faults f;
                f.adapterDelayMs = delayMs;
                f.adapterPieces = 2;
                f.adapterGapMs = gapMs;
                s->setFaults(f);
            });
            QVERIFY(m);
            QTRY_VERIFY_WITH_TIMEOUT(connected(), 15000);
            disconnect(onSent);
            disconnect(onTick);

            // However busy the window, no command left sooner than one interval after the
            // one before: the module always had the whole interval to answer. (A lower
            // bound only; a loaded machine makes ticks later, never earlier.)
            for (int i = 1; i < sent.size(); ++i)
                QVERIFY2(sent[i] - sent[i - 1] >= 49000000,
                         qPrintable(QStringLiteral("command %1 went %2 ms after the one before")
                                        .arg(i)
                                        .arg(double(sent[i] - sent[i - 1]) / 1e6)));
            // Then, if the module kept its time, each command's answer (two pieces) was
            // whole before the next tick began.
            const QList<sim::SentPiece> pieces = m->sentPieces();
            bool onTime = pieces.size() == 2 * sent.size() && ticks.size() >= sent.size();
            for (int i = 0; onTime && i + 1 < sent.size(); ++i) onTime = pieces.at(2 * i + 1).atNs < ticks.at(i + 1);
            if (!onTime && attempt < 3) {
                qWarning("attempt %d: the simulated module answered late; repeating", attempt);
                w->atb_ModuleOffClick();
                continue;
            }
            if (!onTime) QSKIP("the machine is too loaded for the simulated adapter to keep its timing");

            QCOMPARE(snapshot(*w, logStart), prompt);
            // No exchange line shows the rest of one answer as the start of another.
            const QStringList log = wt::logLines(*w).mid(logStart);
            const QString query = msgs().Msg_Query + QLatin1Char(' ');
            const QString answer = QStringLiteral("   ") + msgs().Msg_Answer + QLatin1Char(' ');
            int lines = 0;
            for (const QString& line : log) {
                if (!line.startsWith(query)) continue;
                const int cut = int(line.indexOf(answer));
                const QString cmd = line.mid(query.size(), cut - query.size());
                const QString got = line.mid(cut + answer.size());
                QVERIFY2(!got.isEmpty() && trueAnswer(m, cmd).startsWith(got), qPrintable(line));
                ++lines;
            }
            QVERIFY(lines >= 32); // every command of the chain
            break;
        }
        busy.stop();
    }

    // A device given by a symbolic link (as a virtual port or /dev/serial/by-id/... gives
    // it) opens, although the link's own name does not tell that it is a pseudo-terminal.
    void portThroughLink() {
        sim::SimModule module(sim::Model::TR90);
        QVERIFY(module.start());
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("ttyMODULE"));
        const QString linkToLink = dir.filePath(QStringLiteral("usb-adapter-if00"));
        QVERIFY(QFile::link(module.slavePath(), link));
        QVERIFY(QFile::link(link, linkToLink));
        w->cbPort->addItem(linkToLink);
        w->cbPort->setCurrentIndex(w->cbPort->findText(linkToLink));
        QTest::mouseClick(w->atb_ModuleOn, Qt::LeftButton);
        QVERIFY(w->findChildren<QWidget*>(QStringLiteral("ErrorBox")).isEmpty());
        QVERIFY(w->BComPort1->isOpen());
        QTRY_VERIFY_WITH_TIMEOUT(connected(), 8000);
        QVERIFY(w->windowTitle().endsWith(QStringLiteral("TR-90B01")));
        QCOMPARE(wt::distinctRuns(module.receivedItems()).size(), 32);
    }
};

QTEST_MAIN(TestAdapter)
#include "test_adapter.moc"
