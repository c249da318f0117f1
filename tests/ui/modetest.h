#pragma once
// A window connected to a demo module for the tests of the model profiles, the operating
// modes and the learning: confirmations are answered by the test and recorded.
#include "app/configuration.h"
#include "common/messages.h"
#include "settingstest.h"
#include "telemetry/parampanel.h"

#include <QGroupBox>

namespace mt {

struct Window {
    std::unique_ptr<TForm1> w;
    QList<QDialog*> asked; // the modal windows the window showed, in order
    bool answer = true;    // what they are answered

    // A fresh window with the window's own settings.
    bool open() {
        wt::freshConfiguration();
        w = std::make_unique<TForm1>();
        w->resize(1800, 1000);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get())) return false;
        asked.clear();
        answer = true;
        w->Ctx.confirm = [this](QDialog* d) {
            asked << d;
            return answer;
        };
        return true;
    }
    // The window goes, and the language with it: the next test starts in Russian.
    void close() {
        w.reset();
        msgs().setRussian();
        msgs().Lang_Code.clear();
    }

    Ui::SettingsPanel& ui() const { return w->Panel_Sett_Max->ui; }
    sim::SimModule* module() const { return w->BComPort1->demoModule(); }

    sim::SimModule* connect(const QString& port, const std::function<void(sim::SimModule*)>& prepare = {}) {
        wt::connectDemo(*w, port, prepare);
        if (!QTest::qWaitFor([&] { return st::connected(*w); }, 20000)) return nullptr;
        return module();
    }
    void disconnect() {
        w->atb_ModuleOffClick();
        w->setWindowTitle(QString());
    }

    bool dimmed(const QString& group) const {
        return w->Panel_Sett_Max->isDimmed(st::find<QGroupBox>(*w, group));
    }
    // The groups of the list that are not in the given state.
    QStringList wrongGroups(const QStringList& groups, bool shouldBeDimmed) const {
        QStringList wrong;
        for (const QString& g : groups)
            if (dimmed(g) != shouldBeDimmed) wrong << g;
        return wrong;
    }
    // A mode switch or an option write is running.
    bool switching() const {
        return w->Ex->Timer_Emulator->isActive() || w->Ex->Timer_Optimizator->isActive() ||
               w->Ex->Timer_MAF_MAP->isActive() || w->Ex->Timer_RegRab->isActive();
    }
    // The chart mask the eleven check boxes show (each colour button enabled with its box).
    QString boxes() const {
        QString mask;
        for (int i = 0; i < 11; ++i) {
            const ParamPanel::SeriesRow row = w->Panel_Parr_Parr_Max->seriesRow(i);
            if (row.check->isChecked() != row.color->isEnabled()) return QStringLiteral("box and button differ");
            mask += row.check->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
        }
        return mask;
    }
    // With SCREENSHOT_DIR set, the window is saved there under name.
    void shoot(const QString& name) {
        const QByteArray dir = qgetenv("SCREENSHOT_DIR");
        if (dir.isEmpty()) return;
        QTest::qWait(200);
        w->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
};

} // namespace mt
