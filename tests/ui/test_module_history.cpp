// The module's history through the real window: the connection leaves the settings as
// read, a table read and a table write leave the module's exact cells (copies that the
// Open buttons read back), a settings write, a mode switch and the learning leave the image
// with the written bytes, and a cancelled write or a read that gives up leaves nothing.
#include "common/textlines.h"
#include "history/history.h"
#include "settings/registerwriter.h"
#include "settings/settingspanel.h"
#include "tables/tablefileactions.h"
#include "tables/tablefiles.h"
#include "tabletest.h"

namespace {

const QString kModule = QStringLiteral("TR-70A03");

QStringList copies(TableKind kind, history::Direction direction) {
    QStringList out;
    for (const history::Entry& e : history::list(QDir::currentPath(), kModule))
        if (e.kind == kind && e.direction == direction) out << e.path;
    return out;
}

QStringList copyLines(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? textlines::split(f.readAll()).lines : QStringList{"(missing)"};
}

} // namespace

class TestModuleHistory : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;
    QStringList errors;
    bool confirmWrite = true;

    sim::SimModule* m = nullptr;

    void connectModule() {
        wt::freshConfiguration();
        QDir(QStringLiteral("history")).removeRecursively();
        w = std::make_unique<TForm1>();
        w->Ctx.error = [this](const QString& text) { errors << text; };
        w->Ctx.confirm = [this](QDialog*) { return confirmWrite; };
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        m = tt::connectWithCells(*w, TableKind::Maf, tt::patternByte);
        QVERIFY(m);
        QTRY_VERIFY_WITH_TIMEOUT(tt::connected(*w), 8000);
    }

private slots:
    void cleanup() {
        w.reset();
        errors.clear();
        confirmWrite = true;
    }

    void settingsAtConnectionAndWrite() {
        connectModule();
        if (QTest::currentTestFailed()) return;
        const QStringList read = copies(TableKind::Settings, history::Direction::Read);
        QCOMPARE(read.size(), 1);
        // Every register of the chain, as the module holds it.
        const QList<int> chain = {0x00, 0x01, 0x04, 0x05, 0x09, 0x0B, 0x0F, 0x10,
                                  0x12, 0x13, 0x14, 0x15, 0x17, 0x18, 0x19};
        QStringList expected;
        for (int reg : chain) expected << wt::registerLine(reg, m->reg(reg));
        QCOMPARE(copyLines(read.first()), expected);

        // A parameter write: the image with the byte the module now holds.
        const int byte = m->reg(sim::reg::Displacement) == 50 ? 51 : 50;
        w->RegWriter->writeParameter(sim::reg::Displacement, byte);
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Write->isActive(), 4000);
        QCOMPARE(int(m->reg(sim::reg::Displacement)), byte);
        const QStringList written = copies(TableKind::Settings, history::Direction::Written);
        QCOMPARE(written.size(), 1);
        expected[chain.indexOf(sim::reg::Displacement)] = wt::registerLine(sim::reg::Displacement, byte);
        QCOMPARE(copyLines(written.first()), expected);
        QVERIFY(errors.isEmpty());
    }

    void tableReadAndWrite() {
        connectModule();
        if (QTest::currentTestFailed()) return;
        const TableKind kind = TableKind::Maf;
        tt::viewButton(*w, kind)->click();

        QTest::mouseClick(tt::readButton(*w, kind), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!tt::readTimer(*w, kind)->isActive(), 8000);
        const QStringList read = copies(TableKind::Maf, history::Direction::Read);
        QCOMPARE(read.size(), 1);
        const QStringList lines = copyLines(read.first());
        QCOMPARE(lines.size(), 64);
        // The copy holds what the read brought, and that is the module's cells.
        const QString fault = tt::checkRead(
            kind, m, [&](int c, int r) { return lines.at((r - 1) * 8 + c - 1); },
            [&](int byte) { return tt::shownText(kind, byte); });
        QVERIFY2(fault.isEmpty(), qPrintable(fault));

        // Cancelled at the confirmation: nothing is written, nothing kept.
        confirmWrite = false;
        QTest::mouseClick(tt::writeButton(*w, kind), Qt::LeftButton);
        QVERIFY(!tt::writeTimer(*w, kind)->isActive());
        QVERIFY(copies(TableKind::Maf, history::Direction::Written).isEmpty());

        // One cell changed, then written: the copy is what the module holds afterwards.
        confirmWrite = true;
        w->Panel_3D->sgrid_3D_MAF.setCell(3, 2, QStringLiteral("17"));
        w->Panel_3D->setCellText(3, 2, QStringLiteral("17"));
        QTest::mouseClick(tt::writeButton(*w, kind), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!tt::writeTimer(*w, kind)->isActive(), 8000);
        QCOMPARE(int(m->reg(sim::reg::mafCell(3, 2))), 17 + 128);
        const QStringList written = copies(TableKind::Maf, history::Direction::Written);
        QCOMPARE(written.size(), 1);
        QStringList expected;
        tt::forEachCell([&](int c, int r) { expected << tt::shownText(kind, m->reg(sim::reg::mafCell(c, r))); });
        QCOMPARE(copyLines(written.first()), expected);

        // The copy opens with the table's Open button.
        w->Panel_3D->sgrid_3D_MAF.setCell(3, 2, QStringLiteral("0"));
        w->Ctx.openFileName = [&](const QString&, const QString&, std::optional<TableKind>) { return written.first(); };
        w->Panel_3D->ui.atb_MAF_Open->click();
        QCOMPARE(w->Panel_3D->sgrid_3D_MAF.cell(3, 2), QStringLiteral("17"));
        QVERIFY(errors.isEmpty());
    }

    // The writes of register 00 by a mode switch and by the learning leave their copies
    // like any other write; the learning's erase of curve 1 leaves curve 1's.
    void modeSwitchAndLearningLeaveCopies() {
        connectModule();
        if (QTest::currentTestFailed()) return;
        m->setEngineRunning(false); // a learning module would write curve 1 itself
        auto& ui = w->Panel_Sett_Max->ui;
        auto switching = [&] {
            return w->Ex->Timer_Emulator->isActive() || w->Ex->Timer_Optimizator->isActive() ||
                   w->Ex->Timer_MAF_MAP->isActive() || w->Ex->Timer_RegRab->isActive();
        };
        QTest::mouseClick(ui.AdvTBtn_Emu, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!switching(), 4000);
        QStringList written = copies(TableKind::Settings, history::Direction::Written);
        QCOMPARE(written.size(), 1);
        QVERIFY2(copyLines(written.last()).contains(wt::registerLine(0, m->reg(0))), qPrintable(written.last()));
        QCOMPARE(m->reg(0) & 0x18, 0x08); // the emulator

        QTest::mouseClick(ui.atb_Other_TicherEmu, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Lambda_Ticher->isActive(), 10000);
        written = copies(TableKind::Settings, history::Direction::Written);
        QCOMPARE(written.size(), 2);
        const QStringList image = copyLines(written.last());
        QVERIFY2(image.contains(wt::registerLine(0, m->reg(0))), qPrintable(image.join('|')));
        QVERIFY2(image.contains(wt::registerLine(0x1A, 0)), qPrintable(image.join('|')));
        QVERIFY(m->reg(0) & 0x04);
        const QStringList curve = copies(TableKind::Curve1, history::Direction::Written);
        QCOMPARE(curve.size(), 1);
        QCOMPARE(copyLines(curve.first()), QStringList(64, QStringLiteral("0")));

        QTest::mouseClick(ui.atb_Other_TicherEmu, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Lambda_Ticher_02->isActive(), 4000);
        written = copies(TableKind::Settings, history::Direction::Written);
        QCOMPARE(written.size(), 3);
        QVERIFY(!(m->reg(0) & 0x04));
        QVERIFY2(copyLines(written.last()).contains(wt::registerLine(0, m->reg(0))), qPrintable(written.last()));
        QVERIFY(errors.isEmpty());
    }

    void readThatGivesUpKeepsNothing() {
        connectModule();
        if (QTest::currentTestFailed()) return;
        sim::Faults f;
        f.garbage = true;
        m->setFaults(f);
        tt::viewButton(*w, TableKind::Maf)->click();
        QTest::mouseClick(tt::readButton(*w, TableKind::Maf), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!tt::readTimer(*w, TableKind::Maf)->isActive(), 8000);
        QVERIFY(copies(TableKind::Maf, history::Direction::Read).isEmpty());
    }
};

QTEST_MAIN(TestModuleHistory)
#include "test_module_history.moc"
