// The whole window: its controls, startup state, views, pop-ups, the interface lock,
// the manual send and saving the protocol log on close.
#include "app/protocolpanel.h"
#include "app/statusbar.h"
#include "common/messages.h"
#include "controlcheck.h"
#include "dialogs/about.h"
#include "settings/settingspanel.h"
#include "tables/curvemarkers.h"
#include "tables/curvepanel.h"
#include "tables/table3dpanel.h"
#include "telemetry/chartpanel.h"
#include "telemetry/parampanel.h"
#include "windowtest.h"

#include <QButtonGroup>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTemporaryDir>

class TestWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;

    // The lock owns the enabled state of these; the panel lists describe them unlocked.
    bool lockOwned(const QString& name) const {
        for (QWidget* c : w->blockedControls())
            if (c->objectName() == name) return true;
        return name == QLatin1String("atb_Chart1_Stop");
    }

private slots:
    void init() {
        wt::freshConfiguration();
        w = std::make_unique<TForm1>();
        w->askProtocolFileName = [] { return QString(); };
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void cleanup() {
        w->Panel_Protocol->ui.cb_Protocol_Ask->setChecked(false);
        w.reset();
    }

    // Every named control of every list is in the window with its kind and texts.
    void controlLists_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("root");
        QTest::newRow("window") << "window.tsv" << "Form1";
        QTest::newRow("settings") << "settings.tsv" << "Panel_Sett_Max";
        QTest::newRow("chart") << "chart.tsv" << "Panel_Parr_Max";
        QTest::newRow("params") << "params.tsv" << "Panel_Parr_Parr_Max";
        QTest::newRow("table3d") << "table3d.tsv" << "Panel_3D";
        QTest::newRow("curve1") << "curve1.tsv" << "Panel_Emu";
        QTest::newRow("curve2") << "curve2.tsv" << "Panel_Emu_2";
    }
    void controlLists() {
        QFETCH(QString, list);
        QFETCH(QString, root);
        // The lists give the numbers as a Russian desktop shows them.
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        init();
        QLocale::setDefault(QLocale::c());
        const QString path = QStringLiteral(TOOL_TEST_CONTROLS_DIR "/") + list;
        QString error;
        QList<controlcheck::Row> rows = controlcheck::readList(path, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(rows.size() > 5);
        rows.removeIf([this](const controlcheck::Row& r) {
            return r.property == QLatin1String("enabled") && lockOwned(r.name);
        });
        QObject* rootObject = root == QLatin1String("Form1") ? static_cast<QObject*>(w.get())
                                                              : w->findChild<QObject*>(root);
        QVERIFY2(rootObject, qPrintable(root));
        const QStringList faults = controlcheck::checkRows(rootObject, rows, path);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // The modal windows exist, one each, with the texts of their own sections.
    void modalWindows() {
        QFile f(QStringLiteral(TOOL_TEST_CONTROLS_DIR "/dialogs.tsv"));
        QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
        QMap<QString, QList<controlcheck::Row>> sections;
        QString current;
        int n = 0;
        for (const QByteArray& raw : f.readAll().split('\n')) {
            ++n;
            const QString line = QString::fromUtf8(raw);
            if (line.startsWith(QLatin1String("#@ "))) {
                const QStringList parts = line.mid(3).split(QLatin1Char(' '), Qt::SkipEmptyParts);
                current = parts.size() == 1 ? parts.first() : QString(); // Russian sections only
                continue;
            }
            if (current.isEmpty() || line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
            const QStringList c = line.split(QLatin1Char('\t'));
            controlcheck::Row r;
            r.name = c.value(0);
            r.cls = c.value(1);
            r.property = c.value(2);
            r.expected = c.value(3);
            r.line = n;
            sections[current] << r;
        }
        QCOMPARE(sections.size(), 9);
        for (auto it = sections.cbegin(); it != sections.cend(); ++it) {
            const QList<QDialog*> found = w->findChildren<QDialog*>(it.key());
            QCOMPARE(found.size(), 1);
            const QStringList faults = controlcheck::checkRows(found.first(), it.value(), f.fileName());
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        }
    }

    void startupState() {
        QCOMPARE(w->Panel_Work->currentWidget(), static_cast<QWidget*>(w->Panel_Sett_Max));
        QVERIFY(w->Panel_Parr_Parr_Max->isVisible());
        QVERIFY(w->atb_Sett_min->isChecked());
        for (QWidget* c : w->blockedControls()) QVERIFY2(!c->isEnabled(), qPrintable(c->objectName()));
        QVERIFY(w->Panel_Emu->Shape_0->isVisibleTo(w->Panel_Emu));
        QVERIFY(w->atb_ModuleOn->isEnabled());
        QVERIFY(w->atb_ModuleOff->isEnabled());
        const QStringList log = wt::logLines(*w);
        QVERIFY(log.at(0).startsWith(QStringLiteral("Запуск программы: ")));
        QVERIFY(log.at(0).size() > QStringLiteral("Запуск программы: ").size() + 10);
        QCOMPARE(log.at(1), QString());
        QVERIFY(w->cbPort->findText(QStringLiteral("DEMO TR-70")) >= 0);
        QVERIFY(w->cbPort->findText(QStringLiteral("DEMO TR-90")) >= 0);
        QCOMPARE(w->minimumSize(), QSize(1000, 600));
    }

    // The nine panel buttons form one exclusive group; each brings its view to the front.
    void panelSwitching() {
        struct View {
            QToolButton* button;
            QWidget* panel;
            bool params;
        };
        const QList<View> views = {
            {w->atb_Parr_min, w->Panel_Parr_Max, true},   {w->atbMemo, w->Panel_Protocol, false},
            {w->atb_Lambda, w->Panel_3D, false},          {w->atb_MAF, w->Panel_3D, false},
            {w->atb_MAF_TR_90, w->Panel_3D, false},       {w->atb_Emu, w->Panel_Emu, false},
            {w->atb_TR_90_Lambda_1, w->Panel_Emu, false}, {w->atb_TR_90_Lambda_2, w->Panel_Emu_2, false},
            {w->atb_Sett_min, w->Panel_Sett_Max, true},
        };
        for (const View& v : views) v.button->show();
        for (const View& v : views) {
            QTest::mouseClick(v.button, Qt::LeftButton);
            QVERIFY2(v.button->isChecked(), qPrintable(v.button->objectName()));
            int down = 0;
            for (QAbstractButton* b : w->Group_Panels->buttons()) down += b->isChecked();
            QCOMPARE(down, 1);
            QCOMPARE(w->Panel_Work->currentWidget(), v.panel);
            QCOMPARE(w->Panel_Parr_Parr_Max->isVisible(), v.params);
        }
        QCOMPARE(w->Group_Panels->buttons().size(), 9);
    }

    void popupsHideAfterLeaving() {
        QTest::mouseClick(w->atb_Menu_Module, Qt::LeftButton);
        QVERIFY(w->pnlMenu_Module->isVisible());
        const QPoint below = w->atb_Menu_Module->mapTo(w->centralWidget(), QPoint(0, w->atb_Menu_Module->height() + 3));
        QCOMPARE(w->pnlMenu_Module->pos(), below);
        // Leaving the button starts the hide timer; moving onto an item stops it.
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(w->atb_Menu_Module, &leave);
        QVERIFY(w->Timer_Hide_Panels->isActive());
        // (Events sent directly: a real pointer may take longer than 300 ms on a busy machine.)
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(w->AdvToolButton5, &enter);
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), w->AdvToolButton5->mapToGlobal(QPointF(5, 5)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w->AdvToolButton5, &move);
        QVERIFY(!w->Timer_Hide_Panels->isActive());
        QVERIFY(w->pnlMenu_Module->isVisible());
        // Leaving the item: hidden 300 ms later, together with the other pop-ups.
        QApplication::sendEvent(w->AdvToolButton5, &leave);
        QElapsedTimer t;
        t.start();
        QTRY_VERIFY_WITH_TIMEOUT(!w->pnlMenu_Module->isVisible(), 2000);
        QVERIFY(t.elapsed() >= 250);
        QVERIFY(!w->Timer_Hide_Panels->isActive());

        // The file menu replaces the module menu.
        w->atb_Menu_ModuleClick();
        w->atb_Menu_FileClick();
        QVERIFY(w->pnlMenu_File->isVisible());
        QVERIFY(!w->pnlMenu_Module->isVisible());
    }

    // Hovering a flag shows the language pop-up without a click.
    void flagHoverShowsLanguages() {
        QVERIFY(!w->pnl_Language->isVisible());
        // Through the window, not the display's pointer, which may be over another window.
        QTest::mouseMove(w->windowHandle(), w->atb_Flag_Rus->mapTo(w.get(), w->atb_Flag_Rus->rect().center()));
        QTRY_VERIFY_WITH_TIMEOUT(w->pnl_Language->isVisible(), 3000);
        QPoint below = w->atb_Flag_Rus->mapTo(w->centralWidget(), QPoint(0, w->atb_Flag_Rus->height() + 3));
        // Under the flag, moved left only as far as it takes to stay wholly in the window.
        below.setX(qMin(below.x(), w->centralWidget()->width() - w->pnl_Language->width()));
        QCOMPARE(w->pnl_Language->pos(), below);
        QVERIFY(w->centralWidget()->rect().contains(w->pnl_Language->geometry()));
    }

    // Blocking and unblocking act on the fixed set; twice in a row is harmless.
    void interfaceLock() {
        const QList<QWidget*> set = w->blockedControls();
        QCOMPARE(set.size(), 19);
        QToolButton* stop = w->Panel_Parr_Max->ui.atb_Chart1_Stop;
        for (int i = 0; i < 2; ++i) {
            w->Btn_UnBlockClick();
            for (QWidget* c : set) QVERIFY2(c->isEnabled(), qPrintable(c->objectName()));
            QVERIFY(stop->isEnabled());
            QVERIFY(!w->Panel_Emu->Shape_0->isVisibleTo(w->Panel_Emu));
            QVERIFY(!w->Panel_Emu_2->Shape_0->isVisibleTo(w->Panel_Emu_2));
        }
        for (int i = 0; i < 2; ++i) {
            w->Btn_BlockClick();
            for (QWidget* c : set) QVERIFY2(!c->isEnabled(), qPrintable(c->objectName()));
            QVERIFY(stop->isEnabled()); // the lock does not touch it
            QVERIFY(w->Panel_Emu->Shape_0->isVisibleTo(w->Panel_Emu));
            QVERIFY(w->Panel_Emu_2->Shape_0->isVisibleTo(w->Panel_Emu_2));
        }
        QVERIFY(w->atb_ModuleOn->isEnabled());
        QVERIFY(w->atb_ModuleOff->isEnabled());
        QVERIFY(w->atbMemo->isEnabled());
    }

    // After connecting, a typed command goes out and its answer shows in the status bar,
    // the small fields and the log.
    void manualSend() {
        sim::SimModule* m = wt::connectDemo(*w, QStringLiteral("DEMO TR-70"));
        QVERIFY(m);
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Read->isActive() && w->atb_Seans->isEnabled(), 10000);
        QTest::keyClicks(w->Ed_Peredat, QStringLiteral("87*"));
        const int before = int(wt::logLines(*w).size());
        QTest::mouseClick(w->atb_Seans, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(w->Edit6->text() == QStringLiteral("45 "), 3000);
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_SeansOne->isActive(), 3000);
        QCOMPARE(w->Edit5->text(), QStringLiteral("87*"));
        QCOMPARE(w->StatusBar_Top->panelText(2), QStringLiteral("Запрос 87*"));
        QCOMPARE(w->StatusBar_Top->panelText(3), QStringLiteral("Ответ 45 "));
        const QStringList added = wt::logLines(*w).mid(before - 1);
        QVERIFY2(added.contains(QStringLiteral("Запрос 87*   Ответ 45 ")), qPrintable(added.join('|')));
        QVERIFY(w->atb_Seans->isEnabled());
    }

    // A module that does not answer: the manual send goes on sending every 50 ms.
    void manualSendToSilentModule() {
        sim::SimModule* m = wt::connectDemo(*w, QStringLiteral("DEMO TR-70"));
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Read->isActive(), 10000);
        sim::Faults f;
        f.silent = true;
        m->setFaults(f);
        m->clearReceived();
        w->Ed_Peredat->setText(QStringLiteral("97*"));
        w->atb_SeansClick();
        QTRY_VERIFY_WITH_TIMEOUT(m->receivedItems().size() >= 5, 3000);
        QVERIFY(w->Ex->Timer_SeansOne->isActive());
        for (const QString& item : m->receivedItems()) QCOMPARE(item, QStringLiteral("97*"));
    }

    // Pulling the adapter mid-session: one message, port closed, window usable, log kept.
    void adapterPulled() {
        sim::SimModule* m = wt::connectDemo(*w, QStringLiteral("DEMO TR-70"));
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Read->isActive(), 10000);
        const QString logBefore = w->Panel_Protocol->logText();
        w->Ed_Peredat->setText(QStringLiteral("97*"));
        sim::Faults f;
        f.silent = true;
        m->setFaults(f);
        w->atb_SeansClick();
        m->vanish();
        QTRY_VERIFY_WITH_TIMEOUT(!w->BComPort1->isOpen(), 3000);
        QSignalSpy ticks(w->Ex->Timer_SeansOne, &QTimer::timeout);
        QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= 5, 3000);
        QCOMPARE(w->findChildren<QMessageBox*>(QStringLiteral("ErrorBox")).size(), 1);
        QVERIFY(w->cbPort->isEnabled());
        QVERIFY(w->Panel_Protocol->logText().startsWith(logBefore));
        QVERIFY(w->Panel_Protocol->logText().contains(QStringLiteral("Ошибка порта: ")));
        // Connecting again works.
        for (QMessageBox* b : w->findChildren<QMessageBox*>()) b->close();
        wt::connectDemo(*w, QStringLiteral("DEMO TR-90"));
        QTRY_VERIFY_WITH_TIMEOUT(w->windowTitle().contains(QStringLiteral("TR-90")), 10000);
    }

    void openingMissingPortShowsError() {
        w->cbPort->addItem(QStringLiteral("/dev/ttyNOSUCH9"));
        w->cbPort->setCurrentIndex(w->cbPort->count() - 1);
        w->atb_ModuleOnClick();
        QVERIFY(!w->BComPort1->isOpen());
        const auto boxes = w->findChildren<QMessageBox*>(QStringLiteral("ErrorBox"));
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.first()->text(), QStringLiteral("Попытка открыть несуществующий COM-порт"));
        QVERIFY(!w->Ex->Timer_Read->isActive());
        QVERIFY(w->cbPort->isEnabled());
    }

    // The log while its panel is shown and hidden: every line appended either way and the
    // text typed by the user are kept in order, the text area holds the log only while it
    // is shown. Saving the log on close: the ".txt" rule, CR LF lines, typed text kept.
    void logKeptAndSavedOnClose() {
        QTemporaryDir dir;
        QPlainTextEdit* memo = w->Panel_Protocol->ui.MemoProtocol;
        w->logLine(QStringLiteral("hidden 1"));
        w->atbMemoClick();
        QTRY_VERIFY(memo->isVisible());
        QCOMPARE(memo->toPlainText(), w->Panel_Protocol->logText());
        QVERIFY(memo->toPlainText().startsWith(QStringLiteral("Запуск программы: ")));
        QVERIFY(memo->toPlainText().endsWith(QStringLiteral("\n\nhidden 1")));
        memo->appendPlainText(QStringLiteral("typed by the user"));
        w->logLine(QStringLiteral("shown"));
        w->atb_Sett_minClick();
        QTRY_VERIFY(!memo->isVisible());
        QVERIFY(memo->document()->isEmpty());
        w->logLine(QString());
        w->logLine(QStringLiteral("hidden 2"));
        const QString whole = w->Panel_Protocol->logText();
        QVERIFY2(whole.endsWith(QStringLiteral("\n\nhidden 1\ntyped by the user\nshown\n\nhidden 2")),
                 qPrintable(whole.right(80)));
        w->atbMemoClick();
        QTRY_VERIFY(memo->isVisible());
        QCOMPARE(memo->toPlainText(), whole);
        QScrollBar* bar = memo->verticalScrollBar();
        QCOMPARE(bar->value(), bar->maximum());

        w->Panel_Protocol->ui.cb_Protocol_Ask->setChecked(true);
        const QString chosen = dir.filePath(QStringLiteral("log.txt"));
        w->askProtocolFileName = [&] { return chosen; };
        QVERIFY(w->close());
        QFile f(chosen + QStringLiteral(".txt"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        QVERIFY(text.startsWith(QStringLiteral("Запуск программы: ")));
        QVERIFY(text.endsWith(QStringLiteral("typed by the user\r\nshown\r\n\r\nhidden 2\r\n\r\n")));
        QVERIFY(!QFile::exists(chosen));
    }

    // An emptied log, shown or hidden, starts again with its next line, as at a start.
    void clearedLogStartsAfresh() {
        ProtocolPanel* log = w->Panel_Protocol;
        QPlainTextEdit* memo = log->ui.MemoProtocol;
        w->atbMemoClick();
        QTRY_VERIFY(memo->isVisible());
        log->clear();
        QVERIFY(memo->document()->isEmpty() && log->logText().isEmpty() && log->lineCount() == 0);
        w->logLine(QStringLiteral("a"));
        QCOMPARE(log->logText(), QStringLiteral("a"));
        // The shown text area takes lines at most every ProtocolPanel::ViewDelayMs.
        QTRY_COMPARE_WITH_TIMEOUT(memo->toPlainText(), QStringLiteral("a"), 2000);
        w->atb_Sett_minClick();
        QTRY_VERIFY(!memo->isVisible());
        log->clear();
        w->logLine(QString());
        w->logLine(QStringLiteral("b"));
        QCOMPARE(log->logText(), QStringLiteral("\nb"));
        QCOMPARE(log->lineCount(), 2);
        w->atbMemoClick();
        QTRY_VERIFY(memo->isVisible());
        QCOMPARE(memo->toPlainText(), QStringLiteral("\nb"));
    }

    // Lines added while the log is shown reach the text area together, at most
    // ProtocolPanel::ViewDelayMs later, each its own line in the order they came (empty
    // ones included), and the view follows the end; the log has them at once.
    void shownLogTakesLinesPerFrame_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("one") << QStringList{QStringLiteral("Запрос 47*   Ответ 3F ")};
        QStringList many;
        for (int i = 0; i < 200; ++i) many << (i % 3 == 2 ? QString() : QStringLiteral("line %1").arg(i));
        QTest::newRow("a burst, with empty lines") << many;
        QTest::newRow("an empty line first") << QStringList{QString(), QStringLiteral("x")};
    }
    void shownLogTakesLinesPerFrame() {
        QFETCH(QStringList, lines);
        ProtocolPanel* log = w->Panel_Protocol;
        QPlainTextEdit* memo = log->ui.MemoProtocol;
        w->atbMemoClick();
        QTRY_VERIFY(memo->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(memo->toPlainText(), log->logText(), 2000); // nothing on its way
        const QString before = log->logText();
        const int blocks = memo->document()->blockCount();
        for (const QString& l : lines) w->logLine(l);
        const QString expected = before + QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
        QCOMPARE(log->logText(), expected);
        // Not one by one: the first line of the burst may go in at once, the rest wait.
        QVERIFY2(memo->document()->blockCount() <= blocks + 1, qPrintable(QString::number(memo->document()->blockCount())));
        QTRY_COMPARE_WITH_TIMEOUT(memo->toPlainText(), expected, 2000);
        QCOMPARE(memo->document()->blockCount(), blocks + int(lines.size()));
        for (int i = 0; i < lines.size(); ++i) QCOMPARE(memo->document()->findBlockByNumber(blocks + i).text(), lines.at(i));
        QScrollBar* bar = memo->verticalScrollBar();
        QCOMPARE(bar->value(), bar->maximum());
        QCOMPARE(log->logText(), expected);
    }

    void failedSaveKeepsWindowOpen() {
        w->Panel_Protocol->ui.cb_Protocol_Ask->setChecked(true);
        w->askProtocolFileName = [] { return QStringLiteral("/nonexistent-dir/x/log"); };
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());
        QCOMPARE(w->findChildren<QMessageBox*>(QStringLiteral("ErrorBox")).size(), 1);
        // Cancelling the dialog closes without a file.
        w->askProtocolFileName = [] { return QString(); };
        QVERIFY(w->close());
    }

    void aboutBox() {
        QTest::mouseClick(w->AdvToolButton3, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(w->fmAbout->isVisible(), 2000);
        QCOMPARE(w->fmAbout->ui.Label2->text(), QStringLiteral("Версия 8.0"));
        QTest::mouseClick(w->fmAbout->ui.atb_OK, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!w->fmAbout->isVisible(), 2000);
    }
};

QTEST_MAIN(TestWindow)
#include "test_window.moc"
