// The shared stepper: one step at the press, repeats every 200 ms while held, exact stop
// at the limits, the level bar, and the release follow-up — under a comma and a point
// locale, since the edits hold locale texts.
#include "common/numtext.h"
#include "widgets/stepper.h"

#include <QApplication>
#include <QFrame>
#include <QMouseEvent>
#include <QLineEdit>
#include <QLocale>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

class TestStepper : public QObject {
    Q_OBJECT

    QString num(double v) { return formatGeneral(v); }

private slots:
    void steps_data();
    void steps();
    void holdStopsAtLimit_data();
    void holdStopsAtLimit();
    void levelBarStaysInPopup();
    void buttonsDriveTheRecordAndRelease();
    void nonNumberIsLeftAlone();
};

void TestStepper::steps_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("size");
    QTest::addColumn<double>("scale");
    QTest::addColumn<bool>("up");
    QTest::addColumn<double>("after");
    for (const char* loc : {"ru_RU", "en_US"}) {
        const QByteArray l(loc);
        const QString ls = QString::fromLatin1(l);
        // -0,2 up by 0,01 reads -0,19, not -0,19000000000000003.
        QTest::newRow(l + " korr up") << ls << -0.2 << -0.99 << 0.0 << 0.01 << 1.0 << true << -0.19;
        // An initial text above the maximum: up shows the maximum, down steps from the text.
        QTest::newRow(l + " above max up") << ls << 2.2 << -1.0 << 1.0 << 0.01 << 100.0 << true << 1.0;
        QTest::newRow(l + " above max down") << ls << 2.2 << -1.0 << 1.0 << 0.01 << 100.0 << false << 2.19;
        QTest::newRow(l + " scaled step") << ls << 0.75 << 0.0 << 5.0 << 0.1 << 100.0 << true << 0.85;
        QTest::newRow(l + " down to min") << ls << 1.25 << 1.2 << 6.4 << 0.1 << 1.0 << false << 1.2;
    }
}

void TestStepper::steps() {
    QFETCH(QString, locale);
    QFETCH(double, start);
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(double, size);
    QFETCH(double, scale);
    QFETCH(bool, up);
    QFETCH(double, after);
    QLocale::setDefault(QLocale(locale));
    QLineEdit edit(num(start));
    Stepper s(nullptr);
    s.press(&edit, {min, max, size, scale}, up);
    QCOMPARE(edit.text(), num(after));
    s.release(up);
    QVERIFY(!s.Timer_Up->isActive() && !s.Timer_Down->isActive());
    QLocale::setDefault(QLocale::c());
}

void TestStepper::holdStopsAtLimit_data() {
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("limit");
    QTest::newRow("up stops at 0") << true << QStringLiteral("0");
    QTest::newRow("down stops at -0,99") << false << formatGeneral(-0.99);
}

void TestStepper::holdStopsAtLimit() {
    QFETCH(bool, up);
    QFETCH(QString, limit);
    QLineEdit edit(up ? formatGeneral(-0.03) : formatGeneral(-0.96));
    Stepper s(nullptr);
    QElapsedTimer clock;
    clock.start();
    s.press(&edit, {-0.99, 0, 0.01, 1}, up);
    QTimer* t = up ? s.Timer_Up : s.Timer_Down;
    QVERIFY(t->isActive());
    QTRY_VERIFY_WITH_TIMEOUT(!t->isActive(), 5000);
    // One step at the press, then one per 200 ms: -0,03 → -0,02 (press), -0,01, 0, over → 0.
    QVERIFY2(clock.elapsed() >= 540, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(edit.text(), limit);
}

void TestStepper::levelBarStaysInPopup() {
    QFrame popup;
    popup.resize(38, 245);
    auto* bar = new QFrame(&popup);
    bar->setGeometry(6, 122, 26, 100);
    Stepper s(bar);
    QLineEdit edit(formatGeneral(2.5));
    // Scale 100: the bar shows the value before the step, 0..200 px, not 100 times higher.
    s.press(&edit, {0, 5, 0.1, 100}, true);
    s.release(true);
    QCOMPARE(bar->height(), 100);
    QCOMPARE(bar->y(), 125);
    edit.setText(formatGeneral(5));
    s.press(&edit, {0, 5, 0.1, 100}, true);
    QCOMPARE(bar->height(), 200);
    QCOMPARE(bar->y(), 25);
    s.release(true);
    edit.setText(formatGeneral(9)); // outside its limits
    s.press(&edit, {0, 5, 0.1, 100}, false);
    QCOMPARE(bar->height(), 200);
    s.release(false);
    QCOMPARE(Stepper::levelHeight(0.5, 0, 1), 100);
    QCOMPARE(Stepper::levelHeight(0.0025, 0, 1), 0); // 0,5 px rounds to even
    QCOMPARE(Stepper::levelHeight(0.0075, 0, 1), 2); // 1,5 px rounds to even
}

void TestStepper::buttonsDriveTheRecordAndRelease() {
    QWidget host;
    auto* down = new QToolButton(&host);
    auto* up = new QToolButton(&host);
    auto* edit = new QLineEdit(QStringLiteral("50"), &host);
    Stepper s(nullptr);
    int released = 0;
    QList<bool> hovers;
    s.attach(down, up, edit, StepRange{0, 120, 1, 1}, [&] { ++released; }, [&](bool in) { hovers << in; });
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QTest::mousePress(up, Qt::RightButton); // any mouse button counts
    QCOMPARE(edit->text(), QStringLiteral("51"));
    QCOMPARE(s.Step_Edit.data(), edit);
    QCOMPARE(s.Step_Max, 120.0);
    QVERIFY(s.Timer_Up->isActive());
    QTest::mouseRelease(up, Qt::RightButton);
    QVERIFY(!s.Timer_Up->isActive());
    QCOMPARE(released, 1);
    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(edit->text(), QStringLiteral("50"));
    QCOMPARE(released, 2);
    hovers.clear();
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), down->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(down, &move);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(down, &leave);
    QCOMPARE(hovers, (QList<bool>{true, false}));
}

void TestStepper::nonNumberIsLeftAlone() {
    QLineEdit edit(QStringLiteral("abc"));
    Stepper s(nullptr);
    s.press(&edit, {0, 10, 1, 1}, true);
    QCOMPARE(edit.text(), QStringLiteral("abc"));
    QTRY_VERIFY_WITH_TIMEOUT(!s.Timer_Up->isActive(), 1000); // the repeat gives up at once
}

QTEST_MAIN(TestStepper)
#include "test_stepper.moc"
