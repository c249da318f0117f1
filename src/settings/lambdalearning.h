#pragma once
// Lambda learning of the emulator: the module learns the table that binds the Lambda
// sensor's signal to its emulation (curve 1). Starting it, after a warning, sets the
// learning bit 2 of register 00, clears register 1A and erases the 64 cells of curve 1
// (Timer_Lambda_Ticher); stopping it, after another warning, clears the bit
// (Timer_Lambda_Ticher_02). The learning button's down state is the learning state.

#include "link/exchange.h"

#include <QObject>
#include <QString>

struct ModeHooks;
struct OperationContext;
class QTimer;
class RegisterWriter;
class SettingsPanel;
class SettingsReader;
class TfmPredupr_Lambda_A;
class TfmPredupr_Lambda_A_02;

class LambdaLearning : public QObject {
    Q_OBJECT
  public:
    // The warnings are shown through ctx->confirm; hooks may be null.
    LambdaLearning(OperationContext* ctx, SettingsPanel* panel, SettingsReader* state,
                   RegisterWriter* writer, const ModeHooks* hooks, TfmPredupr_Lambda_A* startWarning,
                   TfmPredupr_Lambda_A_02* stopWarning, QObject* parent = nullptr);

    // The learning button: with learning on (button down) the stop warning, else the start
    // warning; then the curve chart is redrawn.
    void atb_Other_TicherEmuClick();

    // The command item that erases cell (r, c) of curve 1, r and c 0..7: "00", the row
    // digit, the column digit, ")" (digits "8".."F"); cell (0, 1) is "0089)", register 98.
    static QString eraseItem(int r, int c);

    // A new connection: a start or stop still running belongs to the old one and ends.
    void abortForConnection();

  private:
    void startLearning();
    void stopLearning();
    void beginSwitch(bool start); // the common first step of both
    void startGate(const QString& chunk);
    void stopGate(const QString& chunk);
    // The read of register 00 that both begin with: bits 0, 1, 3..7 taken from the answer
    // (bit 2 stays), logged once per answer; returns the write of the new bit 2.
    QString readModeAnswer(const QString& chunk, const QString& logLine, const QString& bit2);
    void finish(QTimer* timer, bool learningOn);
    // The end of a start or stop the module left without an answer or kept refusing.
    StallReport endStalled(bool start);
    // The history copies of what the start wrote: the settings image (registers 00, 1A)
    // and curve 1 with its erased points (partial until all 64 are).
    void keepSettingsCopy();
    void keepErasedCopy(int erased);

    OperationContext* m_ctx;
    SettingsPanel* m_panel;
    SettingsReader* m_state;
    RegisterWriter* m_writer;
    const ModeHooks* m_hooks;
    TfmPredupr_Lambda_A* m_startWarning;
    TfmPredupr_Lambda_A_02* m_stopWarning;

    QString m_write;   // the register 00 write of the running start or stop
    int m_r = 0;       // cell being erased
    int m_c = 0;
    int m_gridRow = 1; // grid row the next acknowledged cell clears (1..64)
    bool m_imageChanged = false; // register 00 taken, its history copy not yet kept
};
