// The protocol log file: name rule, line ends and the failure case.
#include "app/protocolfile.h"

#include "lockedfolder.h"

#include <QTemporaryDir>
#include <QtTest>

class TestProtocolFile : public QObject {
    Q_OBJECT
private slots:
    void names() {
        QCOMPARE(protocolFileName(QStringLiteral("/tmp/log")), QStringLiteral("/tmp/log.txt"));
        QCOMPARE(protocolFileName(QStringLiteral("/tmp/log.txt")), QStringLiteral("/tmp/log.txt.txt"));
    }

    void content_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("start line and its empty line")
            << QStringLiteral("Запуск программы: 09.12.2026 6:25:49\n")
            << QByteArray("\xd0\x97\xd0\xb0\xd0\xbf\xd1\x83\xd1\x81\xd0\xba \xd0\xbf\xd1\x80\xd0\xbe"
                          "\xd0\xb3\xd1\x80\xd0\xb0\xd0\xbc\xd0\xbc\xd1\x8b: 09.12.2026 6:25:49\r\n\r\n\r\n");
        QTest::newRow("exchange lines")
            << QStringLiteral("Запрос 87*   Ответ 0\nЗапрос 87*   Ответ 02 \n")
            << (QStringLiteral("Запрос 87*   Ответ 0\r\nЗапрос 87*   Ответ 02 \r\n\r\n\r\n").toUtf8());
        QTest::newRow("empty log") << QString() << QByteArray("\r\n\r\n");
    }
    void content() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(protocolFileBytes(text), bytes);
    }

    void writeAndReplace() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("log.txt"));
        QString error;
        QVERIFY(writeProtocolFile(path, QStringLiteral("first\n"), &error));
        QVERIFY(writeProtocolFile(path, QStringLiteral("second"), &error));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("second\r\n\r\n"));
    }

    // In a folder that takes no new file the protocol replaces its file in place.
    void writesInLockedFolder() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("log.txt"));
        QString error;
        QVERIFY(writeProtocolFile(path, QStringLiteral("first"), &error));
        LockedFolder lock(dir.path());
        if (!lock.locked()) QSKIP("this file system cannot lock a folder");
        QVERIFY2(writeProtocolFile(path, QStringLiteral("second"), &error), qPrintable(error));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("second\r\n\r\n"));
    }

    void failureLeavesOldFile() {
        QTemporaryDir dir;
        QString error;
        QVERIFY(!writeProtocolFile(dir.filePath(QStringLiteral("no/such/dir/log.txt")), QStringLiteral("x"), &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(TestProtocolFile)
#include "test_protocolfile.moc"
