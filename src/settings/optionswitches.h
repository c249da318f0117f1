#pragma once
// The option switches of the settings panel: every choice between fixed values (toggle
// groups, the leanness list, the crankshaft coefficient, the crankshaft sensor). Each
// change logs its line, stores its option key and has the register writer write the
// register the key names. Pressing some of the buttons also dims the setting groups that
// have no meaning in the new configuration and shows the chart selectors that do.

#include <QObject>
#include <QString>

struct ChartSelectors;
struct OperationContext;
class QAbstractButton;
class QTimer;
class RegisterWriter;
class SettingsPanel;
class TfmPredupr0E;

class OptionSwitches : public QObject {
    Q_OBJECT
  public:
    // hidePanels is the window's pop-up hide timer (Timer_Hide_Panels); warning is the
    // crankshaft sensor warning, shown through ctx->confirm. selectors may be null.
    OptionSwitches(OperationContext* ctx, SettingsPanel* panel, RegisterWriter* writer,
                   const ChartSelectors* selectors, QTimer* hidePanels, TfmPredupr0E* warning,
                   QObject* parent = nullptr);

    // The option handler contract: the log line (date, time, text), the key, the write.
    void option(const QString& key, const QString& logText);

    // Mouse-down rules; they change only the display and run before the click's write.
    void atb_LAMBDA_Way_NormalMouseDown();
    void atb_LAMBDA_Way_DisplacementMouseDown();
    void atb_DMRV_Type_AnalogMouseDown();
    void atb_DMRV_Type_DigitalMouseDown();
    void atb_Other_Mode_SimpleMouseDown();
    void atb_Other_Mode_3DMouseDown();

    // Leanness list: one of atb_SSmesi_1 .. _7 chosen.
    void atb_SSmesiClick(QAbstractButton* button);
    // Crankshaft coefficient: an entry of cb_K chosen by the user.
    void cb_KChange(int index);
    // Crankshaft sensor.
    void atb_Sens_Kolenval_NoClick();
    void atb_Sens_Kolenval_YesClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void connectOptions();
    // The MAF type's dependants: analog shows the threshold and the voltage selector,
    // digital the frequency range and the pulse-frequency selector.
    void showAnalogMaf(bool analog);

    OperationContext* m_ctx;
    SettingsPanel* m_panel;
    RegisterWriter* m_writer;
    const ChartSelectors* m_selectors;
    QTimer* m_hidePanels;
    TfmPredupr0E* m_warning;
};
