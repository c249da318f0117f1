#pragma once
// Writing the module's settings registers. Two operations, each with its transfer timer
// and gate:
//  - a numeric parameter (released stepper) under Timer_Write: one register, its byte
//    computed by the stepper's owner; repeated until the module acknowledges it with "!"
//    (register 05 ends on whatever comes first);
//  - an option (Btn_RegRab_Write) under Timer_RegRab: the registers 00, 01, 09, 13, 14 and
//    18 are recomputed from the controls, and the one register that RegRab_Key names is
//    written, repeated until "!".
// While the port is closed the texts are computed but no transfer starts: there is nobody
// to answer, and a write left repeating would double the traffic of the next connection.

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

struct ChartSelectors;
struct OperationContext;
class SettingsPanel;
class SettingsReader;

class RegisterWriter : public QObject {
    Q_OBJECT
  public:
    // selectors may be null (no chart to follow the options).
    RegisterWriter(OperationContext* ctx, SettingsPanel* panel, SettingsReader* state,
                   const ChartSelectors* selectors, QObject* parent = nullptr);

    // Option key of the last change; only ever overwritten, never cleared.
    QString RegRab_Key;

    // The state of the table-axis buttons (on the table view): "1" while tables are
    // corrected over the MAF voltage, "0" over injection time, empty when neither is down.
    std::function<QString()> korrTabBit;

    // Recomputes registers 00, 01, 09, 13, 14, 18 from the controls, shows the chart
    // selectors that follow them, and writes the register RegRab_Key names. A key that
    // names no register writes nothing.
    void Btn_RegRab_Write();
    // An option change from elsewhere (the table axis, the mode switches): the key, then
    // Btn_RegRab_Write.
    void writeOption(const QString& key);

    // Writes one numeric parameter's byte (0..255) under Timer_Write.
    void writeParameter(int reg, int byte);

    // The register write text (two characters, low digit first) last computed for one of
    // the option registers, or empty before the first computation.
    QString writeText(int reg) const { return m_optionText.value(reg); }
    // The register an option key writes, or -1.
    static int registerOfKey(const QString& key);

    // The chart's sensor selectors for the current wiring, sensor types and model.
    void applySensorSelectorRules();

    // A mode switch or the Lambda learning holds register 00 and the pending command while
    // it runs: a write asked for meanwhile waits (the last one asked), and this sends it.
    // Run by their end; does nothing when no write waits.
    void resumeWrites();
    bool writesHeld() const;
    // A new connection: a write held for the old one is not sent to the new module.
    void forgetHeldWrite() { m_waiting = nullptr; }
    // The acknowledged write of one register (this writer's, a mode switch's, the
    // learning's) goes into the settings image and leaves a "written" copy in the history.
    void keepWrittenCopy(int reg, int byte);

  private:
    void Timer_RegRabGate(const QString& chunk);
    void Timer_WriteGate(const QString& chunk);
    void computeMode();
    void computeSensors();
    void computeCodes();

    OperationContext* m_ctx;
    SettingsPanel* m_panel;
    SettingsReader* m_state;
    const ChartSelectors* m_selectors;
    QHash<int, QString> m_optionText;   // register -> write text
    QHash<int, QString> m_paramCommand; // register -> whole command text last sent for it
    std::function<void()> m_waiting;    // the write held back by a mode switch or the learning
};
