// Splitting the program's text files into lines: every line end, the last line without an
// end, and the stops at a line too long or a NUL byte, which come before anything is
// converted and name their line.
#include "common/textlines.h"

#include <QTemporaryDir>
#include <QtTest>

using textlines::Fault;
Q_DECLARE_METATYPE(textlines::Fault)

class TestTextLines : public QObject {
    Q_OBJECT
  private slots:
    void split_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("maxLines");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("badLine");
        const QByteArray longest(textlines::MaxLineLength, 'a');
        QTest::newRow("CR LF") << QByteArray("1\r\n2\r\n") << -1 << QStringList{"1", "2"} << Fault::None << 0;
        QTest::newRow("LF") << QByteArray("1\n2\n") << -1 << QStringList{"1", "2"} << Fault::None << 0;
        QTest::newRow("CR") << QByteArray("1\r2\r") << -1 << QStringList{"1", "2"} << Fault::None << 0;
        QTest::newRow("no end on the last line") << QByteArray("1\r\n2") << -1 << QStringList{"1", "2"} << Fault::None << 0;
        QTest::newRow("empty lines kept") << QByteArray("1\r\n\r\n\n3\r\n") << -1 << QStringList{"1", "", "", "3"}
                                          << Fault::None << 0;
        QTest::newRow("LF CR is two ends") << QByteArray("1\n\r2\r\n") << -1 << QStringList{"1", "", "2"} << Fault::None << 0;
        QTest::newRow("empty file") << QByteArray() << -1 << QStringList{} << Fault::None << 0;
        QTest::newRow("one line end") << QByteArray("\r\n") << -1 << QStringList{""} << Fault::None << 0;
        QTest::newRow("UTF-8") << QByteArray("Рус\r\n") << -1 << QStringList{"Рус"} << Fault::None << 0;
        QTest::newRow("the longest line") << longest + "\r\nb" << -1 << QStringList{QString::fromLatin1(longest), "b"}
                                          << Fault::None << 0;
        QTest::newRow("the longest line in two-byte characters")
            << QString(textlines::MaxLineLength, QChar(0x0416)).toUtf8() << -1
            << QStringList{QString(textlines::MaxLineLength, QChar(0x0416))} << Fault::None << 0;
        QTest::newRow("one too long") << "x\r\n" + longest + "a\r\nb" << -1 << QStringList{"x"} << Fault::TooLong << 2;
        QTest::newRow("too long, no end") << QByteArray(3 << 20, 'z') << -1 << QStringList{} << Fault::TooLong << 1;
        QTest::newRow("NUL") << QByteArray("1\r\n2\0003\r\n", 8) << -1 << QStringList{"1"} << Fault::NotText << 2;
        QTest::newRow("UTF-16") << QByteArray("\xFF\xFE" "1\0\r\0\n\0", 8) << -1 << QStringList{} << Fault::NotText << 1;
        QTest::newRow("stops after maxLines") << QByteArray("1\r\n2\r\n\0") << 2 << QStringList{"1", "2"} << Fault::None << 0;
        QTest::newRow("what follows maxLines is not looked at")
            << QByteArray("1\n") + QByteArray(3 << 20, 'z') << 1 << QStringList{"1"} << Fault::None << 0;
    }
    void split() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, maxLines);
        QFETCH(QStringList, lines);
        QFETCH(Fault, fault);
        QFETCH(int, badLine);
        const textlines::Lines out = textlines::split(bytes, maxLines);
        QCOMPARE(out.lines, lines);
        QCOMPARE(out.fault, fault);
        QCOMPARE(out.badLine, badLine);
        QCOMPARE(out.ok(), fault == Fault::None);
        const QString text = textlines::faultText(out, false);
        QCOMPARE(text.isEmpty(), out.ok());
        if (!out.ok()) QVERIFY2(text.startsWith(QStringLiteral("строка %1: ").arg(badLine)), qPrintable(text));
        if (!out.ok()) QVERIFY(textlines::faultText(out, true).startsWith(QStringLiteral("line %1: ").arg(badLine)));
    }

    void readPrefix() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("f.txt"));
        QByteArray bytes;
        QString reason;
        QVERIFY(!textlines::readPrefix(path, 10, &bytes, &reason));
        QVERIFY(!reason.isEmpty());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("0123456789abcdef");
        f.close();
        QVERIFY(textlines::readPrefix(path, 10, &bytes, &reason));
        QCOMPARE(bytes, QByteArray("0123456789"));
        QVERIFY(textlines::readPrefix(path, -1, &bytes, &reason));
        QCOMPARE(bytes.size(), 16);
    }
};

QTEST_GUILESS_MAIN(TestTextLines)
#include "test_textlines.moc"
