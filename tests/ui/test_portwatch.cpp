// Adapters plugged in and pulled out while the window runs, through a list of system ports
// the test controls: the port list follows at the next pass, the chosen port stays
// chosen, the list is left alone while connected, and the settings file remembers the
// chosen demo port from the list as it is at the exit.
#include "link/portwatcher.h"
#include "fakeports.h"
#include "modetest.h"

#include <QComboBox>

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
        f.disconnect();
        // Disconnected: the adapter shows at the next pass, at most 1.5 s away (the bound
        // leaves room for a loaded machine).
        QVERIFY(PortWatcher::DefaultIntervalMs <= 1500);
        QTRY_VERIFY_WITH_TIMEOUT(w.cbPort->findText(usb) >= 0, 5000);
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
