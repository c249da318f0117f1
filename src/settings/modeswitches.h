#pragma once
// The module's operating modes: emulator, optimizer and MAF(P), kept in bits 3 and 4 of
// register 00. The three mode buttons rearrange the settings panel for the chosen mode (the
// mode views Btn_Emu, Btn_Opt, Btn_MAF_P) and switch the module by a read-modify-write of
// register 00 under Timer_Emulator, Timer_Optimizator or Timer_MAF_MAP. The model profile
// runs the same views without the write to show the mode the module reports. The
// optimizer view also learns the Lambda sensor types from the identification bytes A5 and
// A9. Also here: the settings panel's part of the model profile.

#include <QObject>
#include <QList>
#include <QString>

struct ChartSelectors;
struct ModeHooks;
struct ModelProfile;
struct OperationContext;
class Connection;
class QGroupBox;
class QTimer;
class RegisterWriter;
class SettingsPanel;
class SettingsReader;
class TfmPredupr0C;
class TfmPredupr0D;

class ModeSwitches : public QObject {
    Q_OBJECT
  public:
    enum class Mode { Emulator, Optimizer, MafP };

    // selectors and hooks may be null (nothing outside the panel follows); the warnings are
    // shown through ctx->confirm.
    ModeSwitches(OperationContext* ctx, SettingsPanel* panel, SettingsReader* state,
                 RegisterWriter* writer, const Connection* identification,
                 const ChartSelectors* selectors, const ModeHooks* hooks,
                 TfmPredupr0C* coefficientChanged, TfmPredupr0D* noCoefficient,
                 QObject* parent = nullptr);

    // True while the view of that mode also switches the module; set by the mode buttons,
    // cleared by the model profile.
    bool Flag_User_Emu = false;
    bool Flag_User_Opt = false;
    bool Flag_User_MAF_P = false;

    // The saved wideband choices (Type_In_WidthLine_ZOND1/2 of the settings file): "1" ticks
    // a wideband sensor's choice of the pump current when the optimizer view offers it.
    QString Type_In_WidthLine_ZOND1 = QStringLiteral("0");
    QString Type_In_WidthLine_ZOND2 = QStringLiteral("0");

    // The user's mode buttons: the display changes, the flag, the view, an empty log line.
    void AdvTBtn_EmuClick();
    void AdvTBtn_OptClick();
    void AdvTBtn_MAF_PClick();

    // The mode views; each starts the switch of the module when its flag is true (and the
    // port is open).
    void Btn_Emu();
    void Btn_Opt();
    void Btn_MAF_P();

    // The mode the module reports in bits 3 and 4 of register 00, shown with its button
    // down and its view set up; no flag is set, so nothing is written.
    void showModuleMode();
    static Mode modeOfBits(const QString& bit3, const QString& bit4);

    // The settings panel's part of a model profile (settingsprofile.cpp): the mode group and
    // the module's mode, the groups the model dims, the crankshaft sensor, the MAF type
    // rows, the correction-mode groups, the learning button, the connection way and the
    // sensors' chart rows.
    void applyProfile(const ModelProfile& profile);

    // A new connection: a switch still running belongs to the old one and ends.
    void abortForConnection();

    // The command a running switch writes into register 00 (empty before its read answered).
    QString writeCommand(Mode mode) const { return m_write[int(mode)]; }
    QTimer* timerOf(Mode mode) const;

  private:
    void showModeDisplay(Mode mode); // the display changes a mode button makes before its view
    void runView(Mode mode);
    void startSwitch(Mode mode);
    void switchGate(Mode mode, const QString& chunk);
    void coefficientCheck(bool warnOnChange);
    void coefficientMissingCheck();
    void learnSensorTypes();
    bool isTr90() const;
    void resetViews();

    OperationContext* m_ctx;
    SettingsPanel* m_panel;
    SettingsReader* m_state;
    RegisterWriter* m_writer;
    const Connection* m_id;
    const ChartSelectors* m_selectors;
    const ModeHooks* m_hooks;
    TfmPredupr0C* m_fm0C;
    TfmPredupr0D* m_fm0D;
    QString m_write[3];
    QList<QGroupBox*> m_freshDimmed; // the setting groups dimmed at a fresh start
};
