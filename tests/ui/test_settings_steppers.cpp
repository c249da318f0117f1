// The eight numeric settings through the window and the simulated module: stepping, the
// limits, the range pop-up, and the write on release, checked in what the module received
// and stored, under a comma and a point locale.
#include "common/hex.h"
#include "settings/registerwriter.h"
#include "settingstest.h"
#include "widgets/stepper.h"

#include <QComboBox>
#include <QMessageBox>
#include <QSignalSpy>

class TestSettingsSteppers : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;
    QString m_locale;

    sim::SimModule* module() const { return w->BComPort1->demoModule(); }
    QLineEdit* edit(const QString& name) const { return st::find<QLineEdit>(*w, name); }
    QToolButton* button(const QString& name) const { return st::find<QToolButton>(*w, name); }

    // One connected window per locale; rows of a locale share it.
    bool windowFor(const QString& locale) {
        if (w && m_locale == locale && module()) return true;
        w.reset();
        QLocale::setDefault(QLocale(locale));
        m_locale = locale;
        w = st::connectedWindow();
        return w != nullptr;
    }

    void setK(const QString& k) {
        QComboBox* cb = w->Panel_Sett_Max->ui.cb_K;
        if (k == QLatin1String("58") && cb->count() == 3) cb->addItem(k);
        cb->setCurrentIndex(cb->findText(k));
    }

    QList<QMessageBox*> errorBoxes() const {
        QList<QMessageBox*> shown;
        for (QMessageBox* b : w->findChildren<QMessageBox*>(QStringLiteral("ErrorBox")))
            if (b->isVisible()) shown << b;
        return shown;
    }
    void closeErrorBoxes() {
        for (QMessageBox* b : errorBoxes())
            b->done(0);
    }

  private slots:
    void cleanupTestCase() {
        w.reset();
        QLocale::setDefault(QLocale::c());
    }

    // One press and release: the value steps once and its register is written until the
    // module acknowledges it.
    void releaseWrites_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("editName");
        QTest::addColumn<QString>("k");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("reg");
        QTest::addColumn<int>("byte");
        for (const char* loc : {"ru_RU", "C"}) {
            auto row = [loc](const char* name) -> QTestData& {
                return QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(loc, name)));
            };
            row("Lambda 1 up") << loc << "Ed_LAMBDA_1_Korr"
                               << "1"
                               << "-0,2" << true << "-0,19"
                               << "D650)" << 0x05 << 109;
            row("Lambda 1 at its minimum") << loc << "Ed_LAMBDA_1_Korr"
                                           << "1"
                                           << "-0,99" << false << "-0,99"
                                           << "D150)" << 0x05 << 29;
            row("U max 0,8 truncates 162,4") << loc << "Ed_LAMBDA_U_Max"
                                             << "1"
                                             << "0,79" << true << "0,8"
                                             << "2A21)" << 0x12 << 162;
            row("U max 0,17 truncates 34,51") << loc << "Ed_LAMBDA_U_Max"
                                              << "1"
                                              << "0,18" << false << "0,17"
                                              << "2221)" << 0x12 << 34;
            row("threshold 0,75 rounds 36") << loc << "Ed_DMRV_Porog_Korr"
                                            << "1"
                                            << "0,65" << true << "0,75"
                                            << "4201)" << 0x10 << 36;
            row("threshold 0,8 rounds 38,4") << loc << "Ed_DMRV_Porog_Korr"
                                             << "1"
                                             << "0,9" << false << "0,8"
                                             << "6201)" << 0x10 << 38;
            row("MAF k from 2,2 up stops at 1") << loc << "Ed_DMRV_K_Korr"
                                                << "1"
                                                << "2,2" << true << "1"
                                                << "4EB0)" << 0x0B << 228;
            row("delay 50") << loc << "Ed_Other_Zad_Korr"
                            << "1"
                            << "51" << false << "50"
                            << "0671)" << 0x17 << 96;
            row("point 2500 with K 58") << loc << "Ed_Other_Point_Korr"
                                        << "58"
                                        << "2600" << false << "2500"
                                        << "C351)" << 0x15 << 60;
            row("point 2500 with K 1") << loc << "Ed_Other_Point_Korr"
                                       << "1"
                                       << "2400" << true << "2500"
                                       << "E151)" << 0x15 << 30;
            row("fuel at its maximum") << loc << "Ed_Other_K_Fuel"
                                       << "1"
                                       << "250" << true << "250"
                                       << "AF40)" << 0x04 << 250;
            row("volume down to 1,2") << loc << "Ed_Other_VolEng"
                                      << "1"
                                      << "1,3" << false << "1,2"
                                      << "C0F0)" << 0x0F << 12;
        }
    }
    void releaseWrites() {
        QFETCH(QString, locale);
        QFETCH(QString, editName);
        QFETCH(QString, k);
        QFETCH(QString, before);
        QFETCH(bool, up);
        QFETCH(QString, after);
        QFETCH(QString, item);
        QFETCH(int, reg);
        QFETCH(int, byte);
        QVERIFY(windowFor(locale));
        setK(k);
        QLineEdit* e = edit(editName);
        e->setText(st::num(before.toUtf8()));
        const QString group = editName.mid(3);
        QToolButton* b =
            button(QStringLiteral("atb_%1_%2")
                       .arg(group, up ? QStringLiteral("Up") : QStringLiteral("Down")));
        module()->clearReceived();
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(e->text(), st::num(after.toUtf8()));
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Write->isActive(), 2000);
        QCOMPARE(wt::distinctRuns(st::writes(module())), QStringList{item});
        QCOMPARE(int(module()->reg(reg)), byte);
        // The edit keeps the written value; nothing reads it back.
        QCOMPARE(e->text(), st::num(after.toUtf8()));
    }

    // The range pop-up over a scale-100 stepper: limits, a bar of 0..200 px at the value,
    // the same height on the step, and gone when the pointer leaves.
    void rangePopup() {
        QVERIFY(windowFor(QStringLiteral("C")));
        auto& ui = w->Panel_Sett_Max->ui;
        ui.Ed_DMRV_Porog_Korr->setText(QStringLiteral("2.5"));
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3),
                         ui.atb_DMRV_Porog_Korr_Up->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(ui.atb_DMRV_Porog_Korr_Up, &move);
        QVERIFY(ui.Panel_Track->isVisible());
        QVERIFY(ui.Pnl_Reg2->isVisible());
        QCOMPARE(ui.Pnl_Track_Max->text(), QStringLiteral("5"));
        QCOMPARE(ui.Pnl_Track_Min->text(), QStringLiteral("0"));
        QCOMPARE(ui.Pnl_Reg2->height(), 100);
        QCOMPARE(ui.Pnl_Reg2->y(), 20 + 202 - 100);
        // Its bottom meets the edit's top, left edges aligned.
        const QPoint at = ui.Ed_DMRV_Porog_Korr->mapTo(w->Panel_Sett_Max, QPoint(0, 0));
        QCOMPARE(ui.Panel_Track->x(), at.x());
        QVERIFY(ui.Panel_Track->geometry().bottom() + 1 == at.y() ||
                ui.Panel_Track->y() == at.y() + ui.Ed_DMRV_Porog_Korr->height());

        module()->clearReceived();
        QTest::mousePress(ui.atb_DMRV_Porog_Korr_Up, Qt::LeftButton);
        QCOMPARE(ui.Ed_DMRV_Porog_Korr->text(), QStringLiteral("2.6"));
        QCOMPARE(ui.Pnl_Reg2->height(), 100); // the value before the step, not 100 times higher
        QTest::mouseRelease(ui.atb_DMRV_Porog_Korr_Up, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Write->isActive(), 2000);
        QCOMPARE(int(module()->reg(0x10)), 125); // Round(124,8)

        // At the top of its range the bar is full, never beyond.
        ui.Ed_DMRV_Porog_Korr->setText(QStringLiteral("5"));
        QApplication::sendEvent(ui.atb_DMRV_Porog_Korr_Up, &move);
        QCOMPARE(ui.Pnl_Reg2->height(), 200);
        QTest::mouseClick(ui.atb_DMRV_Porog_Korr_Up, Qt::LeftButton);
        QCOMPARE(ui.Pnl_Reg2->height(), 200);

        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(ui.atb_DMRV_Porog_Korr_Up, &leave);
        QVERIFY(!ui.Panel_Track->isVisible());
    }

    // Held: one step at once, the next 200 ms later; the release writes the value then shown.
    void holdSteps() {
        QVERIFY(windowFor(QStringLiteral("ru_RU")));
        QLineEdit* e = edit(QStringLiteral("Ed_LAMBDA_1_Korr"));
        QToolButton* up = button(QStringLiteral("atb_LAMBDA_1_Korr_Up"));
        e->setText(QStringLiteral("-0,2"));
        module()->clearReceived();
        QSignalSpy tick(w->Steppers->Timer_Up, &QTimer::timeout);
        QElapsedTimer clock;
        clock.start();
        QTest::mousePress(up, Qt::LeftButton);
        QCOMPARE(e->text(), QStringLiteral("-0,19"));
        QVERIFY(tick.wait(1000));
        QVERIFY2(clock.elapsed() >= 180, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(e->text(), QStringLiteral("-0,18"));
        QTest::mouseRelease(up, Qt::LeftButton);
        QVERIFY(!w->Steppers->Timer_Up->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Write->isActive(), 2000);
        QCOMPARE(wt::distinctRuns(st::writes(module())), QStringList{QStringLiteral("E650)")});
        QCOMPARE(int(module()->reg(0x05)), 110);
    }

    // Held past the limit: the value stops exactly at it and the repeat ends by itself.
    void holdStopsAtLimit() {
        QVERIFY(windowFor(QStringLiteral("ru_RU")));
        QLineEdit* e = edit(QStringLiteral("Ed_LAMBDA_1_Korr"));
        QToolButton* up = button(QStringLiteral("atb_LAMBDA_1_Korr_Up"));
        e->setText(QStringLiteral("-0,03"));
        module()->clearReceived();
        QTest::mousePress(up, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!w->Steppers->Timer_Up->isActive(), 3000);
        QCOMPARE(e->text(), QStringLiteral("0"));
        QVERIFY(st::writes(module()).isEmpty()); // nothing before the release
        QTest::mouseRelease(up, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Write->isActive(), 2000);
        QCOMPARE(wt::distinctRuns(st::writes(module())), QStringList{QStringLiteral("0850)")});
        QCOMPARE(int(module()->reg(0x05)), 128);
    }

    // A refused write of register 0B is sent again every 75 ms; register 05 ends on the
    // first answer, whatever it says.
    void refusedWrites() {
        QVERIFY(windowFor(QStringLiteral("ru_RU")));
        sim::Faults refuse;
        refuse.refuseWrites = true;
        module()->setFaults(refuse);
        module()->clearReceived();
        edit(QStringLiteral("Ed_DMRV_K_Korr"))->setText(QStringLiteral("0,5"));
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(button(QStringLiteral("atb_DMRV_K_Korr_Up")), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(st::writes(module()).size() >= 5, 2000);
        const qint64 elapsed = clock.elapsed();
        QVERIFY(w->Ex->Timer_Write->isActive());
        QVERIFY2(elapsed >= 4 * 75 - 20, qPrintable(QString::number(elapsed)));
        QCOMPARE(wt::distinctRuns(st::writes(module())),
                 QStringList{QStringLiteral("3BB0)")}); // 0,51 again and again

        module()->clearReceived();
        QTest::mouseClick(button(QStringLiteral("atb_LAMBDA_1_Korr_Down")), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Write->isActive(), 2000);
        QTest::qWait(300);
        QVERIFY2(st::writes(module()).size() <= 2, qPrintable(st::writes(module()).join(' ')));
        QVERIFY(st::writes(module()).first().endsWith(QLatin1String("50)")));
        module()->setFaults({});
    }

    // Values a read left outside the limits, and a crankshaft coefficient that is no
    // number, are reported and not written.
    void unwritableValues() {
        QVERIFY(windowFor(QStringLiteral("ru_RU")));
        QLineEdit* k = edit(QStringLiteral("Ed_DMRV_K_Korr"));
        k->setText(QStringLiteral("2,2"));
        module()->clearReceived();
        QTest::mouseClick(button(QStringLiteral("atb_DMRV_K_Korr_Down")), Qt::LeftButton);
        QCOMPARE(k->text(), QStringLiteral("2,19"));
        auto boxes = errorBoxes();
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes.first()->text().contains(QStringLiteral("2,19")),
                 qPrintable(boxes.first()->text()));
        closeErrorBoxes();

        w->Panel_Sett_Max->ui.cb_K->setCurrentIndex(-1);
        QTest::mouseClick(button(QStringLiteral("atb_Other_Point_Korr_Up")), Qt::LeftButton);
        boxes = errorBoxes();
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes.first()->text().contains(QStringLiteral("Коэффициент коленвала")),
                 qPrintable(boxes.first()->text()));
        closeErrorBoxes();
        QVERIFY(!w->Ex->Timer_Write->isActive());
        QTest::qWait(150);
        QVERIFY(st::writes(module()).isEmpty());
        QCOMPARE(int(module()->reg(0x0B)), 178); // the factory value stands
        setK(QStringLiteral("1"));
    }

    // The module keeps what was written: a new connection reads it back into the panel.
    // In between, with the port closed, a value steps on the panel but nothing is sent.
    void closedPortAndReconnect() {
        QVERIFY(windowFor(QStringLiteral("ru_RU")));
        auto& ui = w->Panel_Sett_Max->ui;
        ui.Ed_Other_VolEng->setText(QStringLiteral("4,5"));
        QTest::mouseClick(ui.atb_Other_VolEng_Up, Qt::LeftButton); // 4,6
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Write->isActive(), 2000);
        ui.Ed_Other_Zad_Korr->setText(QStringLiteral("50"));
        QTest::mouseClick(ui.atb_Other_Zad_Korr_Down, Qt::LeftButton); // 49
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Write->isActive(), 2000);
        QTest::mouseClick(ui.atb_Other_NumBurn_6, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_RegRab->isActive(), 2000);

        w->atb_ModuleOffClick();
        const QString pending = w->Ex->Cmd_Pending;
        ui.Ed_Other_K_Fuel->setText(QStringLiteral("100"));
        QTest::mouseClick(ui.atb_Other_K_Fuel_Up, Qt::LeftButton);
        QCOMPARE(ui.Ed_Other_K_Fuel->text(), QStringLiteral("101"));
        QVERIFY(!w->Ex->Timer_Write->isActive());
        QCOMPARE(w->Ex->Cmd_Pending, pending);

        ui.Ed_Other_VolEng->setText(QStringLiteral("1,2"));
        ui.Ed_Other_Zad_Korr->setText(QStringLiteral("0"));
        ui.atb_Other_NumBurn_1->setChecked(true);
        w->setWindowTitle(QString());
        QTest::mouseClick(w->atb_ModuleOn, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(st::connected(*w), 20000);
        QCOMPARE(ui.Ed_Other_VolEng->text(), QStringLiteral("4,6"));
        QCOMPARE(ui.Ed_Other_Zad_Korr->text(), QStringLiteral("49"));
        QVERIFY(ui.atb_Other_NumBurn_6->isChecked());
        QCOMPARE(ui.Ed_Other_K_Fuel->text(), QStringLiteral("100")); // the module never got 101
    }
};

QTEST_MAIN(TestSettingsSteppers)
#include "test_settings_steppers.moc"
