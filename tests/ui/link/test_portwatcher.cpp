// The port watcher against a list of ports the test controls: adapters that come and go
// are followed item by item, the chosen port stays chosen, the same set changes nothing,
// and nothing changes while a port is open or the pop-up is shown.
#include "link/portwatcher.h"
#include "ui/fakeports.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QSemaphore>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <atomic>

namespace {

const QString D70 = QStringLiteral("DEMO TR-70");
const QString D90 = QStringLiteral("DEMO TR-90");

QStringList items(const QComboBox& cb) {
    QStringList out;
    for (int i = 0; i < cb.count(); ++i) out << cb.itemText(i);
    return out;
}

// A list as the window fills it at start, the watcher on it, and the system's ports.
struct Fixture {
    QComboBox cb;
    FakePorts system;
    bool open = false;
    PortWatcher watcher{&cb, [this] { return open; }, system.lister()};

    explicit Fixture(const QStringList& ports) {
        system.set(ports);
        cb.addItems(PortWatcher::portList(ports));
    }
    void choose(const QString& port) { cb.setCurrentIndex(cb.findText(port)); }
};

} // namespace

class TestPortWatcher : public QObject {
    Q_OBJECT
private slots:
    void follows_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("chosenAfter");
        const QString usb0 = QStringLiteral("/dev/ttyUSB0"), usb1 = QStringLiteral("/dev/ttyUSB1");
        const QString acm0 = QStringLiteral("/dev/ttyACM0");
        QTest::newRow("plugged in, a demo port chosen") << QStringList{} << D90 << QStringList{usb0} << D90;
        QTest::newRow("plugged in before the chosen one")
            << QStringList{usb1} << usb1 << QStringList{usb1, acm0} << usb1;
        QTest::newRow("plugged in after the chosen one")
            << QStringList{acm0} << acm0 << QStringList{usb1, acm0} << acm0;
        QTest::newRow("another one pulled out") << QStringList{acm0, usb0} << usb0 << QStringList{usb0} << usb0;
        QTest::newRow("the chosen one pulled out") << QStringList{usb0} << usb0 << QStringList{} << D70;
        QTest::newRow("the chosen one pulled out, another stays")
            << QStringList{acm0, usb0} << acm0 << QStringList{usb0} << usb0;
        QTest::newRow("one out, one in") << QStringList{usb0} << D70 << QStringList{usb1} << D70;
    }
    void follows() {
        QFETCH(QStringList, before);
        QFETCH(QString, chosen);
        QFETCH(QStringList, after);
        QFETCH(QString, chosenAfter);
        Fixture f(before);
        f.choose(chosen);
        // Mark the items there now: the ones that stay must be the same items afterwards.
        for (int i = 0; i < f.cb.count(); ++i) f.cb.setItemData(i, f.cb.itemText(i));
        QSignalSpy changed(&f.watcher, &PortWatcher::listChanged);
        f.system.set(after);
        QVERIFY(f.watcher.check());
        const QStringList expected = PortWatcher::portList(after);
        QCOMPARE(items(f.cb), expected);
        QCOMPARE(expected.mid(expected.size() - 2), (QStringList{D70, D90}));
        QCOMPARE(f.cb.currentText(), chosenAfter);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), expected.size());
        for (int i = 0; i < f.cb.count(); ++i) {
            const bool stayed = before.contains(f.cb.itemText(i)) || i >= f.cb.count() - 2;
            QCOMPARE(f.cb.itemData(i).toString(), stayed ? f.cb.itemText(i) : QString());
        }
        // Nothing more to do on the next pass.
        QVERIFY(!f.watcher.check());
    }

    // The same set, reported in another order or with a repeat, is no change at all.
    void sameSetChangesNothing() {
        Fixture f({QStringLiteral("/dev/ttyUSB1"), QStringLiteral("/dev/ttyUSB0")});
        f.choose(QStringLiteral("/dev/ttyUSB1"));
        QSignalSpy inserted(f.cb.model(), &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(f.cb.model(), &QAbstractItemModel::rowsRemoved);
        QSignalSpy data(f.cb.model(), &QAbstractItemModel::dataChanged);
        QSignalSpy index(&f.cb, &QComboBox::currentIndexChanged);
        QSignalSpy changed(&f.watcher, &PortWatcher::listChanged);
        for (const QStringList& ports :
             {QStringList{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyUSB1")},
              QStringList{QStringLiteral("/dev/ttyUSB1"), QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyUSB1")}}) {
            f.system.set(ports);
            QVERIFY(!f.watcher.check());
        }
        QCOMPARE(inserted.size() + removed.size() + data.size() + index.size() + changed.size(), 0);
        QCOMPARE(f.cb.currentText(), QStringLiteral("/dev/ttyUSB1"));
    }

    // An adapter pulled out and plugged in again is chosen again, unless another port was
    // chosen or opened meanwhile.
    void returningPort_data() {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QString>("chosenAtReturn");
        QTest::newRow("nothing done") << QString() << QStringLiteral("/dev/ttyUSB0");
        QTest::newRow("another port chosen") << QStringLiteral("choose") << D90;
        QTest::newRow("the fallback opened") << QStringLiteral("open") << D70;
    }
    void returningPort() {
        QFETCH(QString, meanwhile);
        QFETCH(QString, chosenAtReturn);
        Fixture f({QStringLiteral("/dev/ttyUSB0")});
        f.choose(QStringLiteral("/dev/ttyUSB0"));
        f.system.set(QStringList{});
        QVERIFY(f.watcher.check());
        QCOMPARE(f.cb.currentText(), D70);
        if (meanwhile == QLatin1String("choose")) f.choose(D90);
        if (meanwhile == QLatin1String("open")) {
            f.open = true;
            QVERIFY(!f.watcher.check());
            f.open = false;
        }
        f.system.set({QStringLiteral("/dev/ttyUSB0")});
        QVERIFY(f.watcher.check());
        QCOMPARE(f.cb.currentText(), chosenAtReturn);
    }

    // While a port is open the list stays as it is; after closing, the next pass follows.
    void leftAloneWhileOpen() {
        Fixture f({QStringLiteral("/dev/ttyUSB0")});
        f.choose(QStringLiteral("/dev/ttyUSB0"));
        f.open = true;
        QSignalSpy inserted(f.cb.model(), &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(f.cb.model(), &QAbstractItemModel::rowsRemoved);
        for (const QStringList& ports : {QStringList{}, QStringList{QStringLiteral("/dev/ttyACM0")}}) {
            f.system.set(ports);
            QVERIFY(!f.watcher.check());
        }
        QCOMPARE(inserted.size() + removed.size(), 0);
        QCOMPARE(f.cb.currentText(), QStringLiteral("/dev/ttyUSB0"));
        f.open = false;
        QVERIFY(f.watcher.check());
        QCOMPARE(items(f.cb), (QStringList{QStringLiteral("/dev/ttyACM0"), D70, D90}));
    }

    // The user choosing from the open pop-up does not see the items move.
    void leftAloneWhilePopupShown() {
        Fixture f({});
        f.cb.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.cb));
        f.cb.showPopup();
        QTRY_VERIFY_WITH_TIMEOUT(f.cb.view()->isVisible(), 3000);
        f.system.set({QStringLiteral("/dev/ttyUSB0")});
        QVERIFY(!f.watcher.check());
        QCOMPARE(f.cb.count(), 2);
        f.cb.hidePopup();
        QTRY_VERIFY_WITH_TIMEOUT(!f.cb.view()->isVisible(), 3000);
        QVERIFY(f.watcher.check());
        QCOMPARE(f.cb.count(), 3);
    }

    // The passes run by themselves once started, ask the system off the user-interface
    // thread, and stop when stopped.
    void passesRunOnTheirOwn() {
        Fixture f({});
        std::atomic<bool> onMainThread{false};
        f.watcher.setLister([&onMainThread, inner = f.system.lister()] {
            if (QThread::currentThread() == qApp->thread()) onMainThread = true;
            return inner();
        });
        f.watcher.start(20);
        QVERIFY(f.watcher.isActive());
        f.system.set({QStringLiteral("/dev/ttyUSB0")});
        QTRY_COMPARE_WITH_TIMEOUT(f.cb.count(), 3, 3000);
        f.system.set(QStringList{});
        QTRY_COMPARE_WITH_TIMEOUT(f.cb.count(), 2, 3000);
        f.watcher.stop();
        QVERIFY(!f.watcher.isActive());
        QVERIFY(!onMainThread);
    }

    // An answer that was still being listed when the list was brought up to date another
    // way is out of date when it arrives, and changes nothing.
    void lateAnswerDropped() {
        QSemaphore entered, release;
        Fixture f({});
        f.watcher.setLister([&entered, &release] {
            entered.release();
            release.acquire();
            return QStringList{QStringLiteral("/dev/ttyOLD0")};
        });
        f.watcher.start(10);
        QTRY_VERIFY_WITH_TIMEOUT(entered.available() > 0, 3000);
        f.watcher.stop();
        f.watcher.setLister(f.system.lister());
        f.system.set({QStringLiteral("/dev/ttyUSB0")});
        QVERIFY(f.watcher.check());
        release.release();
        QSignalSpy changed(&f.watcher, &PortWatcher::listChanged);
        QVERIFY(!changed.wait(300));
        QCOMPARE(items(f.cb), PortWatcher::portList({QStringLiteral("/dev/ttyUSB0")}));
    }
};

QTEST_MAIN(TestPortWatcher)
#include "test_portwatcher.moc"
