#pragma once
// The eight numeric module parameters of the settings panel on the shared stepper: their
// limits, steps and scales, the range pop-up while the pointer is over their buttons, and
// the register write on every release (also when the value did not change).

#include "settings/registers.h"
#include "widgets/stepper.h"

#include <QList>
#include <QObject>

struct OperationContext;
class QLineEdit;
class QToolButton;
class RegisterWriter;
class SettingsPanel;

class ParameterSteppers : public QObject {
    Q_OBJECT
  public:
    ParameterSteppers(OperationContext* ctx, SettingsPanel* panel, Stepper* stepper,
                      RegisterWriter* writer, QObject* parent = nullptr);

    struct Parameter {
        regs::Num reg;
        QLineEdit* edit;
        QToolButton* down;
        QToolButton* up;
        StepRange range;
    };
    const QList<Parameter>& parameters() const { return m_params; }

    // The follow-up of a release: encodes the edit's text and writes its register. A text
    // that is no number, or a value whose byte falls outside 0..255 (a value the read left
    // outside the limits), is reported and nothing is sent.
    void writeParameter(const Parameter& p);

  private:
    OperationContext* m_ctx;
    SettingsPanel* m_panel;
    RegisterWriter* m_writer;
    QList<Parameter> m_params;
};
