// Table transfers when things go wrong or the user backs out: answers in two parts,
// incomplete answers until the read gives up, noise instead of digits, Cancel, cells that
// are not numbers, no port, a view switched during a read; and the load axis buttons.
#include "app/statusbar.h"
#include "common/messages.h"
#include "dialogs/confirmations.h"
#include "tabletest.h"

#include <QLabel>
#include <QSignalSpy>

Q_DECLARE_METATYPE(TableKind)

class TestTablesFaults : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;
    QStringList errors;

    sim::SimModule* connectTo(TableKind kind) {
        sim::SimModule* m = tt::openWithCells(*w, kind, tt::patternByte);
        if (!m) return nullptr;
        tt::viewButton(*w, kind)->click();
        m->clearReceived();
        return m;
    }

private slots:
    void init() {
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        wt::freshConfiguration();
        w = std::make_unique<TForm1>();
        errors.clear();
        w->Ctx.error = [this](const QString& text) { errors << text; };
        w->Panel_3D->onConversionError = [this](const QString& text) { errors << text; };
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void cleanup() {
        w.reset();
        msgs().setRussian();
        QLocale::setDefault(QLocale::c());
    }

    // Each answer comes in two parts: the first part is one incomplete answer, the second
    // completes it, and the read goes through.
    void answersInTwoParts() {
        sim::SimModule* m = connectTo(TableKind::Maf);
        QVERIFY(m);
        sim::Faults f;
        f.splitAfter = 1;
        f.splitPauseMs = 3;
        m->setFaults(f);
        QTest::mouseClick(tt::readButton(*w, TableKind::Maf), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!tt::readTimer(*w, TableKind::Maf)->isActive(), 8000);
        const QString fault = tt::checkRead(
            TableKind::Maf, m, [&](int c, int r) { return w->Panel_3D->cellText(c, r); },
            [](int byte) { return tt::shownText(TableKind::Maf, byte); });
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        QVERIFY(w->atb_Seans->isEnabled());
    }

    // Thirteen incomplete answers in a row end the read: the message stays in the status
    // bar (the receive handler's tail writes the same panel), the interface is free again,
    // the cells read so far keep their new values and the rest their old ones.
    void thirteenIncompleteAnswers_data() {
        QTest::addColumn<TableKind>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("MAF") << TableKind::Maf << "Считывание таблицы MAF (MAP) завершено";
        QTest::newRow("Lambda") << TableKind::Lambda << "Считывание таблицы Лямбда завершено";
    }
    void thirteenIncompleteAnswers() {
        QFETCH(TableKind, kind);
        QFETCH(QString, message);
        sim::SimModule* m = connectTo(kind);
        QVERIFY(m);
        sim::Faults f;
        f.badItem = readRegItem(tt::cellAddress(kind, 4, 2));
        // One digit and a blank: even two such answers run together never make a byte.
        f.badAnswer = QStringLiteral("3 ");
        f.badAnswerCount = -1;
        m->setFaults(f);
        QSignalSpy redraws(w->Panel_3D, &Table3DPanel::redrawRequested);
        QTest::mouseClick(tt::readButton(*w, kind), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!tt::readTimer(*w, kind)->isActive(), 6000);
        QCOMPARE(w->TableTransfers->Read_Fail_Count, 13);
        QTRY_COMPARE(w->StatusBar_Top->panelText(2), message);
        QVERIFY(w->atb_Seans->isEnabled());
        QVERIFY(w->Panel_3D->ui.gb_KorrTab->isEnabled());
        QCOMPARE(redraws.count(), 0);
        QVERIFY(m->receivedItems().count(f.badItem) >= 13);
        auto read = [](int c, int r) { return r == 1 || (r == 2 && c < 4); };
        const QString fault = tt::checkRead(
            kind, m, [&](int c, int r) { return w->Panel_3D->cellText(c, r); },
            [&](int byte) { return tt::shownText(kind, byte); }, read);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        tt::forEachCell([&](int c, int r) {
            if (!read(c, r)) QCOMPARE(w->Panel_3D->cellText(c, r), QStringLiteral("0"));
        });
        // Nothing more is sent and the message is still there a few ticks later.
        const int sent = m->receivedItems().size();
        QTest::qWait(120);
        QCOMPARE(m->receivedItems().size(), sent);
        QCOMPARE(w->StatusBar_Top->panelText(2), message);
    }

    // An answer whose first character is not a digit (noise, the tail of an earlier
    // answer) is asked again rather than skipped: the cell gets the module's value.
    void noiseIsAskedAgain() {
        sim::SimModule* m = connectTo(TableKind::Lambda);
        QVERIFY(m);
        sim::Faults f;
        f.badItem = readRegItem(tt::cellAddress(TableKind::Lambda, 4, 2));
        f.badAnswer = QStringLiteral("Z3 ");
        f.badAnswerCount = 3;
        m->setFaults(f);
        QTest::mouseClick(tt::readButton(*w, TableKind::Lambda), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!tt::readTimer(*w, TableKind::Lambda)->isActive(), 6000);
        QVERIFY(m->reg(tt::cellAddress(TableKind::Lambda, 4, 2)) != 128); // its old text is "0"
        const QString fault = tt::checkRead(
            TableKind::Lambda, m, [&](int c, int r) { return w->Panel_3D->cellText(c, r); },
            [](int byte) { return tt::shownText(TableKind::Lambda, byte); });
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // Cancel in the confirmation sends nothing and redraws; the window speaks the
    // interface language.
    void cancelSendsNothing_data() {
        QTest::addColumn<TableKind>("kind");
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("text");
        QTest::newRow("MAF") << TableKind::Maf << false
                             << "Таблица привязки степени коррекции MAF (MAP) в модуле будет заменена";
        QTest::newRow("Lambda, English") << TableKind::Lambda << true
                                         << "Table of attachment of degree of correction oxygen sensor (or AFR) "
                                            "in the module will be transferable";
    }
    void cancelSendsNothing() {
        QFETCH(TableKind, kind);
        QFETCH(bool, english);
        QFETCH(QString, text);
        sim::SimModule* m = connectTo(kind);
        QVERIFY(m);
        if (english) msgs().setEnglish();
        QString shown;
        w->Ctx.confirm = [&](QDialog* d) {
            shown = static_cast<ConfirmationDialog*>(d)->ui.Label1->text();
            return false;
        };
        QSignalSpy redraws(w->Panel_3D, &Table3DPanel::redrawRequested);
        QTest::mouseClick(tt::writeButton(*w, kind), Qt::LeftButton);
        QCOMPARE(shown, text);
        QCOMPARE(redraws.count(), 1);
        QVERIFY(!tt::writeTimer(*w, kind)->isActive());
        QVERIFY(w->atb_Seans->isEnabled());
        QTest::qWait(100); // three ticks' time
        QVERIFY(m->receivedItems().isEmpty());
    }

    // A cell that is not a number stops a write before anything is sent; nothing stays
    // locked.
    void cellThatIsNotANumberStopsTheWrite_data() {
        QTest::addColumn<TableKind>("kind");
        QTest::newRow("voltage") << TableKind::Voltage;
        QTest::newRow("Lambda") << TableKind::Lambda;
    }
    void cellThatIsNotANumberStopsTheWrite() {
        QFETCH(TableKind, kind);
        sim::SimModule* m = connectTo(kind);
        QVERIFY(m);
        w->Ctx.confirm = [](QDialog*) { return true; };
        w->Panel_3D->setCellText(3, 2, QStringLiteral("abc"));
        QTest::mouseClick(tt::writeButton(*w, kind), Qt::LeftButton);
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().contains(QStringLiteral("abc")));
        QVERIFY(!tt::writeTimer(*w, kind)->isActive());
        QVERIFY(w->atb_Seans->isEnabled());
        QVERIFY(tt::writeButton(*w, kind)->isEnabled());
        QTest::qWait(100);
        QVERIFY(m->receivedItems().isEmpty());
    }

    // With the port closed a transfer does not start: nothing would answer, and the
    // locked interface would stay locked.
    void noTransferWithoutPort() {
        w->Btn_UnBlockClick();
        w->atb_MAFClick();
        QTest::mouseClick(tt::readButton(*w, TableKind::Maf), Qt::LeftButton);
        QTest::mouseClick(tt::writeButton(*w, TableKind::Voltage), Qt::LeftButton);
        QVERIFY(!w->TableTransfers->isRunning());
        QVERIFY(w->atb_Seans->isEnabled());
    }

    // A read goes on after the user shows the other table: the model grid receives it,
    // the grid keeps showing the other table until the read's table is shown again.
    void viewSwitchedDuringARead() {
        sim::SimModule* m = connectTo(TableKind::Maf);
        QVERIFY(m);
        QTest::mouseClick(tt::readButton(*w, TableKind::Maf), Qt::LeftButton);
        w->atb_Lambda->click();
        QTRY_VERIFY_WITH_TIMEOUT(!tt::readTimer(*w, TableKind::Maf)->isActive(), 6000);
        tt::forEachCell([&](int c, int r) { QCOMPARE(w->Panel_3D->cellText(c, r), QStringLiteral("0")); });
        w->atb_MAF->click();
        const QString fault = tt::checkRead(
            TableKind::Maf, m, [&](int c, int r) { return w->Panel_3D->cellText(c, r); },
            [](int byte) { return QString::number(std::clamp(byte - 128, -99, 99)); });
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // The load axis: labels, the log line, the register write of register 00 under its key.
    void loadAxis() {
        QStringList keys;
        w->TableTransfers->writeOperatingRegister = [&](const QString& key) { keys << key; };
        w->atb_LambdaClick();
        QSignalSpy redraws(w->Panel_3D, &Table3DPanel::redrawRequested);
        QTest::mouseClick(w->Panel_3D->ui.atb_KorrTab_VV, Qt::LeftButton);
        QCOMPARE(keys, QStringList{"KorrTab_VV"});
        QCOMPARE(w->Panel_3D->ui.sgrid_Table_3D->verticalHeaderItem(0)->text(), QStringLiteral("1,6"));
        const QRegularExpression vv(QStringLiteral("^\\S+ \\S+ Производить коррекцию таблиц по напряжению от времени впрыска$"));
        QVERIFY2(vv.match(wt::logLines(*w).last()).hasMatch(), qPrintable(wt::logLines(*w).last()));
        QTest::mouseClick(w->Panel_3D->ui.atb_KorrTab_MAF, Qt::LeftButton);
        QCOMPARE(keys, (QStringList{"KorrTab_VV", "KorrTab_MAF"}));
        QVERIFY(wt::logLines(*w).last().endsWith(QStringLiteral(" Производить коррекцию таблиц по напряжению от MAF")));
        QCOMPARE(w->Panel_3D->ui.Panel_3D_Left->text(), QStringLiteral("V"));
        QCOMPARE(redraws.count(), 2);
    }
};

QTEST_MAIN(TestTablesFaults)
#include "test_tables_faults.moc"
