// The port list's one rule: the system's ports sorted as text without repeats, then the
// demo ports, whatever order and repeats the system gives.
#include "link/portlist.h"

#include <QtTest>

class TestPortList : public QObject {
    Q_OBJECT
  private slots:
    void items_data() {
        QTest::addColumn<QStringList>("system");
        QTest::addColumn<QStringList>("expected");
        const QString d70 = QStringLiteral("DEMO TR-70"), d90 = QStringLiteral("DEMO TR-90");
        QTest::newRow("no ports") << QStringList{} << QStringList{d70, d90};
        QTest::newRow("text order, not number order")
            << QStringList{"COM2", "COM10", "COM1"} << QStringList{"COM1", "COM10", "COM2", d70, d90};
        QTest::newRow("repeats once")
            << QStringList{"/dev/ttyUSB1", "/dev/ttyUSB0", "/dev/ttyUSB1"}
            << QStringList{"/dev/ttyUSB0", "/dev/ttyUSB1", d70, d90};
        // A system port named like a demo port stays where the sort puts it; the demo ports
        // still close the list.
        QTest::newRow("a namesake of a demo port")
            << QStringList{"DEMO TR-90", "/dev/ttyS0"} << QStringList{"/dev/ttyS0", d90, d70, d90};
    }
    void items() {
        QFETCH(QStringList, system);
        QFETCH(QStringList, expected);
        QCOMPARE(portlist::items(system), expected);
        // The list at start and the list the watcher keeps follow the same rule.
        QCOMPARE(portlist::items(system).mid(portlist::items(system).size() - 2), portlist::demoPorts());
        QCOMPARE(portlist::sorted(system) + portlist::demoPorts(), expected);
    }
};

QTEST_GUILESS_MAIN(TestPortList)
#include "test_portlist.moc"
