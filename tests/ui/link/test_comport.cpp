// The serial port over a pseudo-terminal: opening, the error texts, reading what has
// arrived without waiting, and silence after close.
#include "link/tbcomport.h"
#include "sim/simmodule.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QThread>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

class TestComPort : public QObject {
    Q_OBJECT
private slots:
    void missingDevice() {
        TBComPort port;
        port.setPort(QStringLiteral("/dev/ttyNOSUCH7"));
        try {
            port.Open_Port();
            QFAIL("opened a device that does not exist");
        } catch (const EComPort& e) {
            QCOMPARE(e.message(), QStringLiteral("Попытка открыть несуществующий COM-порт"));
        }
        QVERIFY(!port.isOpen());
        // A bare name is looked up under /dev; no name or a folder is no device either.
        for (const QString& name : {QStringLiteral("ttyNOSUCH7"), QString(), QStringLiteral("/dev/")}) {
            port.setPort(name);
            QVERIFY_THROWS_EXCEPTION(EComPort, port.Open_Port());
            QVERIFY(!port.isOpen());
        }
    }

    void busyDevice() {
        sim::SimModule m(sim::Model::TR70);
        QVERIFY(m.start());
        TBComPort first, second;
        first.setPort(m.slavePath());
        second.setPort(m.slavePath());
        QVERIFY(first.Open_Port());
        try {
            second.Open_Port();
            QFAIL("a second program opened the same port");
        } catch (const EComPort& e) {
            QCOMPARE(e.message(), QStringLiteral("Порт занят другой программой"));
        }
        QVERIFY(!second.isOpen());
        QVERIFY(first.isOpen());
        // Once the first lets go, the device is free again.
        first.Close_Port();
        QVERIFY(second.Open_Port());
    }

    void noAccessRights() {
        if (::geteuid() == 0) QSKIP("root may open any device");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ttyLOCKED"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        ::chmod(path.toLocal8Bit().constData(), 0);
        TBComPort port;
        port.setPort(path);
        try {
            port.Open_Port();
            QFAIL("opened a device without rights");
        } catch (const EComPort& e) {
            QVERIFY(e.message().contains(path));
            QVERIFY(e.message().contains(QStringLiteral("dialout")));
        }
    }

    void openCloseAndProperties() {
        sim::SimModule m(sim::Model::TR90);
        QVERIFY(m.start());
        TBComPort port;
        QVERIFY(port.Close_Port()); // closing a closed port does nothing
        port.setPort(m.slavePath());
        QVERIFY(port.Open_Port());
        QVERIFY(port.Open_Port()); // already open: nothing happens
        try {
            port.setPort(QStringLiteral("/dev/ttyS0"));
            QFAIL("the name changed while open");
        } catch (const EComPort& e) {
            QCOMPARE(e.message(), QStringLiteral("Нельзя менять свойство, пока порт открыт"));
        }
        QCOMPARE(port.Port(), m.slavePath());
        QCOMPARE(port.Write_Text(QString()), 0);
        QVERIFY(port.Close_Port());
        QVERIFY(!port.isOpen());
        QCOMPARE(port.Write_Text(QStringLiteral("47%")), 0); // closed: nothing written
    }

    // A read takes what has arrived, at once; after close nothing more is reported.
    void readWhatHasArrived() {
        sim::SimModule m(sim::Model::TR70);
        QVERIFY(m.start());
        TBComPort port;
        port.setPort(m.slavePath());
        QVERIFY(port.Open_Port());
        QSignalSpy rx(&port, &TBComPort::OnRxChar);
        QCOMPARE(port.Write_Text(QStringLiteral("87*97*")), 6);
        QTRY_VERIFY_WITH_TIMEOUT(port.Waiting_Count() >= 6, 2000);
        QVERIFY(!rx.isEmpty());
        QVERIFY(rx.first().first().toInt() > 0);
        QCOMPARE(port.Read_Text(2), QStringLiteral("45"));
        QCOMPARE(port.Read_Text(100), QStringLiteral(" 25 ")); // fewer than asked, at once
        QCOMPARE(port.Read_Text(5), QString());
        // An answer on its way while the port closes is not reported. The wait for the
        // module runs no events, so the answer cannot be delivered before the close.
        rx.clear();
        m.clearReceived();
        port.Write_Text(QStringLiteral("87*"));
        QElapsedTimer t;
        t.start();
        while (!m.receivedItems().contains(QStringLiteral("87*")) && t.elapsed() < 2000) QThread::msleep(1);
        QVERIFY(m.receivedItems().contains(QStringLiteral("87*")));
        port.Close_Port();
        QTest::qWait(50); // the answer's few characters take about 2 ms on the line
        QVERIFY(rx.isEmpty());
    }

    // Arrivals count as waiting before any event has run, so a tick can learn what came
    // before it; once read, the device's own signal for them brings no event.
    void waitingCountsWhatTheDeviceHolds() {
        sim::SimModule m(sim::Model::TR70);
        QVERIFY(m.start());
        TBComPort port;
        port.setPort(m.slavePath());
        QVERIFY(port.Open_Port());
        QSignalSpy rx(&port, &TBComPort::OnRxChar);
        QCOMPARE(port.Waiting_Count(), 0);
        QCOMPARE(port.Write_Text(QStringLiteral("87*")), 3);
        QElapsedTimer t;
        t.start();
        while (port.Waiting_Count() < 3 && t.elapsed() < 2000) QThread::msleep(1); // runs no events
        QCOMPARE(port.Waiting_Count(), 3);
        QVERIFY(rx.isEmpty());
        QCOMPARE(port.Read_Text(10), QStringLiteral("45 "));
        QCOMPARE(port.Waiting_Count(), 0);
        QTest::qWait(30);
        QVERIFY(rx.isEmpty());
    }

    // A device given by a symbolic link (a virtual port, /dev/serial/by-id/...) opens like
    // the device, modem lines or not; a link that leads nowhere is a missing device.
    void deviceThroughLink() {
        sim::SimModule m(sim::Model::TR70);
        QVERIFY(m.start());
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("ttyVIRT0"));
        QVERIFY(QFile::link(m.slavePath(), link));
        QVERIFY(TBComPort::isPseudoTerminal(link));
        QVERIFY(TBComPort::isPseudoTerminal(m.slavePath()));
        QVERIFY(!TBComPort::isPseudoTerminal(QStringLiteral("/dev/null")));
        QVERIFY(!TBComPort::isPseudoTerminal(dir.path()));
        TBComPort port;
        port.setPort(link);
        QVERIFY(port.Open_Port());
        QCOMPARE(port.Write_Text(QStringLiteral("97*")), 3);
        QTRY_COMPARE_WITH_TIMEOUT(port.Waiting_Count(), 3, 2000);
        QCOMPARE(port.Read_Text(3), QStringLiteral("25 "));
        port.Close_Port();

        const QString dangling = dir.filePath(QStringLiteral("ttyGONE"));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("nothing")), dangling));
        port.setPort(dangling);
        try {
            port.Open_Port();
            QFAIL("opened a link that leads nowhere");
        } catch (const EComPort& e) {
            QCOMPARE(e.message(), QStringLiteral("Попытка открыть несуществующий COM-порт"));
        }
    }

    // A line that takes nothing (nobody reads at the other end) never makes a write wait;
    // characters stuck past the write time-out fail the next write, reported once.
    void stuckLineFailsLaterWrite() {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0);
        const auto closeMaster = qScopeGuard([master] { ::close(master); });
        QVERIFY(::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QString slave = QString::fromLocal8Bit(::ptsname(master));
        TBComPort port;
        port.setPort(slave);
        QVERIFY(port.Open_Port());
        QSignalSpy failed(&port, &TBComPort::portFailed);
        // Fill the line through a second descriptor until it takes nothing more, also after
        // the kernel has moved what it holds on to the other end's buffer.
        const int filler = ::open(slave.toLocal8Bit().constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK);
        QVERIFY(filler >= 0);
        const QByteArray block(4096, 'x');
        for (int cycle = 0; cycle < 100; ++cycle) {
            qint64 taken = 0;
            for (const int size : {4096, 1}) {
                ssize_t n;
                while ((n = ::write(filler, block.constData(), size_t(size))) > 0) taken += n;
            }
            if (taken == 0) break;
            QThread::msleep(20);
        }
        ::close(filler);

        QElapsedTimer t;
        t.start();
        QCOMPARE(port.Write_Text(QStringLiteral("87*")), 3); // queued, not waited for
        QVERIFY(t.elapsed() < 500);
        QTest::qWait(1400); // the write time-out of three characters is 1300 ms
        QVERIFY_THROWS_EXCEPTION(EComPort, port.Write_Text(QStringLiteral("97*")));
        QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 2000);
        QCOMPARE(failed.first().first().toString(), QStringLiteral("Ошибка записи в порт"));
        QVERIFY(!port.isOpen());
    }

    void portList() {
        QCOMPARE(TBComPort::sortedPortNames({"COM2", "COM10", "COM1", "COM2"}),
                 QStringList({"COM1", "COM10", "COM2"}));
        QStringList list{QStringLiteral("stale")};
        TBComPort::List_Com_Ports(list);
        QVERIFY(!list.contains(QStringLiteral("stale")));
        QCOMPARE(list.mid(list.size() - 2), TBComPort::demoPortNames());
        QVERIFY(TBComPort::isDemoPort(QStringLiteral("DEMO TR-70")));
        QVERIFY(!TBComPort::isDemoPort(QStringLiteral("/dev/ttyS0")));
    }

    void demoPortStartsAndStopsModule() {
        TBComPort port;
        port.setPort(QStringLiteral("DEMO TR-90"));
        QVERIFY(port.Open_Port());
        QVERIFY(port.demoModule());
        QCOMPARE(port.demoModule()->model(), sim::Model::TR90);
        const QString path = port.demoModule()->slavePath();
        QVERIFY(QFile::exists(path));
        port.Close_Port();
        QVERIFY(!port.demoModule());
    }
};

QTEST_MAIN(TestComPort)
#include "test_comport.moc"
