// Adapters plugged in and pulled out while the window runs, through a list of system ports
// the test controls: the port list follows at the next pass, the chosen port stays
// chosen, the list is left alone while connected, and the settings file remembers the
// chosen demo port from the list as it is at the exit.
#include "link/portwatcher.h"
#include "fakeports.h"
#include "modetest.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>

namespace {

QStringList items(const QComboBox& cb) {
    QStringList out;
    for (int i = 0; i < cb.count(); ++i) out << cb.itemText(i);
    return out;
}

} // namespace

class TestPortWatch : public QObject {
    Q_OBJECT
    mt::Window f;
    FakePorts system;

private slots:
    void init() {
        QVERIFY(f.open());
        system.set(PortWatcher::systemPorts());
        f.w->PortListWatcher->setLister(system.lister());
    }
    void cleanup() { f.close(); }

    void listFollowsAdapters() {
        TForm1& w = *f.w;
        QVERIFY(w.PortListWatcher->isActive());
        const QString usb = QStringLiteral("/dev/ttyUSB97");
        wt::connectDemo(w, QStringLiteral("DEMO TR-90"));
        QTRY_VERIFY_WITH_TIMEOUT(st::connected(w), 20000);
        // Connected: the list stays as it is, whatever comes.
        const QStringList connectedList = items(*w.cbPort);
        system.set(system.get() << usb);
        QVERIFY(!w.PortListWatcher->check());
        QCOMPARE(items(*w.cbPort), connectedList);
        QTimer* passes = w.PortListWatcher->findChild<QTimer*>(QStringLiteral("Timer_Port_Watch"));
        QVERIFY(passes);
        QSignalSpy passed(passes, &QTimer::timeout);
        QElapsedTimer clock;
        clock.start();
        f.disconnect();
        // Disconnected: the adapter shows at the watcher's next pass, and passes come every
        // 1.5 s, so within 1.5 s on an idle machine. Counted in passes, the check holds under
        // any load: the list follows at the first pass after the disconnect, or at the second
        // when the first one's answer was still on its way from the worker thread.
        QTRY_VERIFY_WITH_TIMEOUT(w.cbPort->findText(usb) >= 0, 5000);
        const qint64 shownAfter = clock.elapsed();
        QVERIFY(passes->isActive());
        QCOMPARE(passes->interval(), 1500);
        QVERIFY2(passed.size() >= 1 && passed.size() <= 2, qPrintable(QString::number(passed.size())));
        // On the clock: the two passes allowed above, plus a second for a loaded machine's
        // late timer; a watcher that lets a third pass go by is caught.
        QVERIFY2(shownAfter <= 2 * 1500 + 1000, qPrintable(QString::number(shownAfter)));
        QCOMPARE(items(*w.cbPort), PortWatcher::portList(system.get()));
        QCOMPARE(w.cbPort->currentText(), QStringLiteral("DEMO TR-90"));
        // Pulled out again, it leaves the list.
        QStringList without = system.get();
        without.removeAll(usb);
        system.set(without);
        QTRY_VERIFY_WITH_TIMEOUT(w.cbPort->findText(usb) < 0, 5000);
        QCOMPARE(w.cbPort->currentText(), QStringLiteral("DEMO TR-90"));
    }

    // The settings file keeps the chosen index with the number of ports it was chosen from;
    // after a hot-plug that number must be the list's at the exit, or the next start finds
    // another port from the end of the list.
    void demoPortRememberedAfterHotPlug() {
        system.set(system.get() << QStringLiteral("/dev/ttyUSB97") << QStringLiteral("/dev/ttyUSB98"));
        QTRY_COMPARE_WITH_TIMEOUT(f.w->cbPort->count(), system.get().size() + 2, 5000);
        f.w->cbPort->setCurrentIndex(f.w->cbPort->findText(QStringLiteral("DEMO TR-90")));
        f.w.reset(); // the exit writes the files
        f.w = std::make_unique<TForm1>();
        QCOMPARE(f.w->cbPort->currentText(), QStringLiteral("DEMO TR-90"));
    }
};

QTEST_MAIN(TestPortWatch)
#include "test_portwatch.moc"
