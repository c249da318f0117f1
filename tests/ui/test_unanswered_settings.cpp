// Settings writes, mode switches, the learning, the fuel-counter reset, the manual send
// and a recording against a demo module that falls silent or refuses writes: each
// operation ends within the answer watch's bound with its message in the alarm colour, the
// log line with the last command and a free interface, and what it did write is in the
// module's history; a recording goes on, says so, and logs when the answers came back.
#include "modetest.h"
#include "unansweredtest.h"

#include "settings/settingsreader.h"
#include "sim/simmemory.h"
#include "tables/curvepanel.h"
#include "telemetry/chartpanel.h"
#include "telemetry/liverecorder.h"
#include "telemetry/parampanel.h"

#include <QProgressBar>

Q_DECLARE_METATYPE(ut::Fault)

namespace {
const QString kModule = QStringLiteral("TR-70A03");

QStringList fileLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {QStringLiteral("(missing)")};
    return QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"));
}
} // namespace

class TestUnansweredSettings : public QObject {
    Q_OBJECT
    mt::Window f;
    sim::SimModule* m = nullptr;

    // A module that refuses ends a write long before the silence bound: after twenty
    // refusals of its item, wherever the answers fall between the ticks.
    void checkRefusedItem(const QString& item) {
        const int sent = int(m->receivedItems().count(item));
        QVERIFY2(sent >= Exchange::MaxRefusals && sent <= Exchange::MaxRefusals + 4,
                 qPrintable(QStringLiteral("%1 sent %2 times").arg(item).arg(sent)));
    }

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QStringLiteral("ru_RU"))); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }
    void init() {
        QVERIFY(f.open());
        QDir(QStringLiteral("history")).removeRecursively();
        // In the emulator mode, where the learning is offered; the engine stands, so that a
        // learning module does not write curve 1 itself.
        m = f.connect(QStringLiteral("DEMO TR-70"), [](sim::SimModule* s) {
            s->setEngineRunning(false);
            s->setReg(0, 0x08);
        });
        QVERIFY(m);
        m->clearReceived();
    }
    void cleanup() { f.close(); }

    // A stepper's write and an option's write.
    void settingWrites_data() {
        QTest::addColumn<bool>("stepper");
        QTest::addColumn<ut::Fault>("fault");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("text");
        QTest::newRow("stepper, refusing") << true << ut::Fault::Refusing << "3BB0)"
                                           << "Модуль отклоняет запись: запись EEPROM-0B";
        QTest::newRow("option, silent") << false << ut::Fault::Silent << "5090)"
                                        << "Модуль не отвечает: запись EEPROM-09";
    }
    void settingWrites() {
        QFETCH(bool, stepper);
        QFETCH(ut::Fault, fault);
        QFETCH(QString, item);
        QFETCH(QString, text);
        QElapsedTimer since;
        QVERIFY(ut::faultAfter(m, 0, fault, &since));
        QTimer* timer = stepper ? f.w->Ex->Timer_Write : f.w->Ex->Timer_RegRab;
        if (stepper) {
            f.ui().Ed_DMRV_K_Korr->setText(QStringLiteral("0,5"));
            QTest::mouseClick(f.ui().atb_DMRV_K_Korr_Up, Qt::LeftButton);
        } else {
            QTest::mouseClick(f.ui().atb_Other_NumBurn_5, Qt::LeftButton);
        }
        QVERIFY(timer->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), ut::EndBoundMs);
        if (fault == ut::Fault::Refusing) {
            QVERIFY2(since.elapsed() < Exchange::SilenceMs, qPrintable(QString::number(since.elapsed())));
            checkRefusedItem(item);
        } else {
            QVERIFY2(since.elapsed() >= Exchange::SilenceMs - 100, qPrintable(QString::number(since.elapsed())));
            QCOMPARE(wt::distinctRuns(m->receivedItems()), QStringList{item});
        }
        const QString wrong = ut::checkReported(*f.w, m, text);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        f.shoot(QStringLiteral("unanswered-setting-write"));
        // Nothing was written: no "written" copy of the settings.
        QVERIFY(ut::copies(kModule, TableKind::Settings, history::Direction::Written).isEmpty());
        m->clearReceived();
        QTest::qWait(300);
        QVERIFY(m->receivedItems().isEmpty());
    }

    // A mode switch: silent at its read of register 00, or refusing its write.
    void modeSwitches_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<ut::Fault>("fault");
        QTest::addColumn<QString>("text");
        QTest::newRow("emulator, refusing") << "AdvTBtn_Emu" << ut::Fault::Refusing
                                            << "Модуль отклоняет запись: переключение в режим «Эмулятор»";
        QTest::newRow("MAF(P), silent") << "AdvTBtn_MAF_P" << ut::Fault::Silent
                                        << "Модуль не отвечает: переключение в режим MAF(P)";
    }
    void modeSwitches() {
        QFETCH(QString, button);
        QFETCH(ut::Fault, fault);
        QFETCH(QString, text);
        const int modeBefore = m->reg(0);
        QElapsedTimer since;
        QVERIFY(ut::faultAfter(m, 0, fault, &since));
        QTest::mouseClick(st::find<QToolButton>(*f.w, button), Qt::LeftButton);
        QVERIFY(f.switching());
        QTRY_VERIFY_WITH_TIMEOUT(!f.switching(), ut::EndBoundMs);
        const QString wrong = ut::checkReported(*f.w, m, text);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        // The MAF(P) switch's own option write waited for the switch and is dropped with it.
        m->clearReceived();
        QTest::qWait(300);
        QVERIFY2(m->receivedItems().isEmpty(), qPrintable(m->receivedItems().join(' ')));
        QCOMPARE(int(m->reg(0)), modeBefore); // nothing was taken
    }

    // The learning's start refused in the middle of the erase, then its stop unanswered.
    void learning() {
        for (int i = 1; i <= 64; ++i) m->setReg(sim::reg::curve1Point(i), quint8(100 + i));
        QTest::mouseClick(f.ui().atb_Other_TicherEmu, Qt::LeftButton);
        QVERIFY(f.w->Ex->Timer_Lambda_Ticher->isActive());
        QElapsedTimer since;
        QVERIFY(ut::faultAfter(m, 3 + 16, ut::Fault::Refusing, &since)); // the read, two registers, 16 cells
        QTRY_VERIFY_WITH_TIMEOUT(!f.w->Ex->Timer_Lambda_Ticher->isActive(), ut::EndBoundMs);
        QString wrong = ut::checkReported(*f.w, m, QStringLiteral("Модуль отклоняет запись: включение обучения эмулятора"));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        QVERIFY(f.w->Panel_Sett_Max->isEnabled());
        QCOMPARE(f.w->ProgressBar1->value(), 0);
        // Register 00 was taken: the module learns, and the button says so.
        QVERIFY(m->reg(0) & 0x04);
        QVERIFY(f.ui().atb_Other_TicherEmu->isChecked());
        // The history has what went in: the settings with registers 00 and 1A, and curve 1
        // with the cells erased so far (a partial copy, the rest empty).
        const QStringList settings = ut::copies(kModule, TableKind::Settings, history::Direction::Written);
        QCOMPARE(settings.size(), 1);
        const QStringList image = fileLines(settings.first());
        QVERIFY2(image.contains(wt::registerLine(0, m->reg(0))), qPrintable(image.join('|')));
        QVERIFY2(image.contains(wt::registerLine(0x1A, 0)), qPrintable(image.join('|')));
        const QStringList curve = ut::copies(kModule, TableKind::Curve1, history::Direction::WrittenPartial);
        QCOMPARE(curve.size(), 1);
        const QStringList points = fileLines(curve.first());
        const int erased = int(points.count(QStringLiteral("0")));
        QVERIFY2(erased >= 8 && erased < 64, qPrintable(points.join('|')));
        // The copy has a 0 exactly at the points the module erased, the rest empty.
        for (int i = 1; i <= 64; ++i) {
            const bool zero = m->reg(sim::reg::curve1Point(i)) == 0;
            QCOMPARE(points.at(i - 1), zero ? QStringLiteral("0") : QString());
        }

        QVERIFY(ut::faultAfter(m, 0, ut::Fault::Silent, &since));
        QTest::mouseClick(f.ui().atb_Other_TicherEmu, Qt::LeftButton);
        QVERIFY(f.w->Ex->Timer_Lambda_Ticher_02->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!f.w->Ex->Timer_Lambda_Ticher_02->isActive(), ut::EndBoundMs);
        QVERIFY2(since.elapsed() >= Exchange::SilenceMs - 100, qPrintable(QString::number(since.elapsed())));
        wrong = ut::checkReported(*f.w, m, QStringLiteral("Модуль не отвечает: выключение обучения эмулятора"));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        // Nothing acknowledged: as far as anyone knows, the module still learns.
        QVERIFY(f.ui().atb_Other_TicherEmu->isChecked());
        QVERIFY(f.w->Panel_Sett_Max->isEnabled());
    }

    // The fuel-counter reset refused at its second step.
    void fuelReset() {
        f.w->atb_Parr_minClick();
        QTest::mouseClick(f.w->Panel_Parr_Parr_Max->ui.atb_Get_0, Qt::LeftButton);
        QElapsedTimer since;
        QVERIFY(ut::faultAfter(m, 1, ut::Fault::Refusing, &since));
        QTRY_VERIFY_WITH_TIMEOUT(!f.w->Ex->Timer_Get_0->isActive(), ut::EndBoundMs);
        const QString wrong = ut::checkReported(*f.w, m, QStringLiteral("Модуль отклоняет запись: обнуление счётчика топлива"));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        checkRefusedItem(m->receivedItems().last());
    }

    // A manual command nobody answers is sent until the watch ends it.
    void manualSend() {
        QElapsedTimer since;
        QVERIFY(ut::faultAfter(m, 0, ut::Fault::Silent, &since));
        f.w->Ed_Peredat->setText(QStringLiteral("97*"));
        f.w->atb_SeansClick();
        QTRY_VERIFY_WITH_TIMEOUT(!f.w->Ex->Timer_SeansOne->isActive(), ut::EndBoundMs);
        QVERIFY2(since.elapsed() >= Exchange::SilenceMs - 100, qPrintable(QString::number(since.elapsed())));
        const QString wrong = ut::checkReported(*f.w, m, QStringLiteral("Модуль не отвечает: передача команды 97*"));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        QVERIFY(f.w->atb_Seans->isEnabled());
    }

    // A recording whose module falls silent goes on; the status bar says so after the
    // silence bound, and the log has when the answers stopped and when they came back.
    void recordingGoesOn() {
        f.w->atb_Parr_minClick();
        Ui::ChartPanel& chart = f.w->Panel_Parr_Max->ui;
        QTest::mouseClick(chart.atb_Chart1_Start, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(f.w->Recorder->Row_Arhiv > 3, 5000);
        QElapsedTimer since;
        QVERIFY(ut::faultAfter(m, int(m->receivedItems().size()) + 1, ut::Fault::Silent, &since));
        const int rowsAtSilence = f.w->Recorder->Row_Arhiv;
        QTRY_VERIFY_WITH_TIMEOUT(f.w->StatusBar_Bottom->alarm(), ut::EndBoundMs);
        QVERIFY2(since.elapsed() >= Exchange::SilenceMs - 300, qPrintable(QString::number(since.elapsed())));
        const QString text = QStringLiteral("Модуль не отвечает: запись графика");
        const QString wrong = ut::checkReported(*f.w, m, text);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        QVERIFY(f.w->Ex->Timer_Module_Graf->isActive());
        QVERIFY(f.w->Recorder->Row_Arhiv > rowsAtSilence + 5); // samples kept coming

        m->setFaults({});
        QTRY_VERIFY_WITH_TIMEOUT(!f.w->StatusBar_Bottom->alarm(), 3000);
        QCOMPARE(f.w->StatusBar_Bottom->panelText(3), QString());
        const QStringList log = wt::logLines(*f.w);
        const qsizetype stopped = log.indexOf(QRegularExpression(QStringLiteral("^\\d\\S* \\d\\S* ") + text + QStringLiteral(";.*")));
        const qsizetype back = log.indexOf(QRegularExpression(QStringLiteral("^\\d\\S* \\d\\S* Модуль снова отвечает: запись графика$")));
        QVERIFY(stopped >= 0);
        QVERIFY2(back > stopped, qPrintable(QString::number(back)));
        QTest::mouseClick(chart.atb_Chart1_Stop, Qt::LeftButton);
    }
};

QTEST_MAIN(TestUnansweredSettings)
#include "test_unanswered_settings.moc"
