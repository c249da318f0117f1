// The one layout of a recording's columns against everything that reads or writes it: each
// chart series finds its own column (by its code, which the chart keeps in a table of its
// own), the columns and the parameters map both ways, and the record file's markers are the
// columns' codes.
#include "common/archivecolumns.h"
#include "telemetry/chartseries.h"
#include "telemetry/livedecoder.h"
#include "telemetry/recordfile.h"

#include <QSet>
#include <QtTest>

class TestArchiveColumns : public QObject {
    Q_OBJECT
  private slots:
    void seriesFindTheirColumns_data() {
        QTest::addColumn<int>("series");
        for (int s = 0; s < live::PlottedCount; ++s)
            QTest::newRow(qPrintable(chartseries::code(s))) << s;
    }
    void seriesFindTheirColumns() {
        QFETCH(int, series);
        const int column = live::paramColumn(live::Param(series));
        QVERIFY(column >= 1 && column < archive::ColumnCount);
        QCOMPARE(archive::code(column), chartseries::code(series));
        QCOMPARE(int(live::columnParam(column)), series);
    }

    void readoutsAndTimeHaveNoParameterColumn() {
        QCOMPARE(live::paramColumn(live::DigOut), 0);
        QCOMPARE(live::paramColumn(live::KRT), 0);
        QCOMPARE(live::columnParam(archive::column::Time), live::ParamCount);
        QCOMPARE(live::columnParam(archive::ColumnCount), live::ParamCount);
        QCOMPARE(live::columnParam(-1), live::ParamCount);
    }

    void codesAreDistinctAndMarkTheLines() {
        QCOMPARE(archive::codes().size(), archive::ColumnCount);
        QCOMPARE(QSet<QString>(archive::codes().begin(), archive::codes().end()).size(), archive::ColumnCount);
        QCOMPARE(archive::code(archive::column::Time), QStringLiteral("Step"));
        QCOMPARE(archive::code(archive::ColumnCount), QString());
        for (int f = 0; f < recordfile::Fields; ++f)
            QCOMPARE(recordfile::marker(f), '#' + archive::code(f).toLatin1() + '#');
    }
};

QTEST_GUILESS_MAIN(TestArchiveColumns)
#include "test_archivecolumns.moc"
