#pragma once
// The shared up/down stepper. A value lives as the text of a read-only edit between a
// down button and an up button; pressing one steps the value at once, again 200 ms later
// and every 200 ms while held, and stops exactly at the limit. One record (the active
// stepper) describes what the last pressed button works on, and one pair of repeat timers
// serves every stepper of the window: the module parameters of the settings panel, the
// live-point count of the curves, the allowed deviation and the chart page width.
//
// Owners describe their steppers with attach(); the release callback is the owner's
// follow-up (a register write, a re-timed timer, a new page width).

#include <QObject>
#include <QPointer>

#include <functional>

class QAbstractButton;
class QLineEdit;
class QTimer;
class QWidget;

// Limits and step in displayed units; scale turns displayed units into the unit of the
// step arithmetic (1 or 100).
struct StepRange {
    double min = 0;
    double max = 0;
    double size = 1;
    double scale = 1;
};

class Stepper : public QObject {
    Q_OBJECT
public:
    // bar is the level bar (Pnl_Reg2) every stepper moves; it may be null.
    explicit Stepper(QWidget* bar, QObject* parent = nullptr);

    // The active stepper record.
    QPointer<QLineEdit> Step_Edit;
    QPointer<QWidget> Step_Bar;
    double Step_Size = 0;
    double Step_Max = 0;
    double Step_Min = 0;
    double Step_Scale = 1;
    double Step_Raw = 0;
    double Step_Result = 0;

    QTimer* Timer_Up;
    QTimer* Timer_Down;

    // One step of the active stepper. A text that is not a number is left alone.
    void Step_Up();
    void Step_Down();

    // Press contract: fill the record, step once, start the repeat timer.
    void press(QLineEdit* edit, const StepRange& range, bool up);
    // Release contract: stop the repeat timer (the owner's follow-up comes after).
    void release(bool up);

    // Wires a button pair to an edit: any mouse button pressed on either button presses,
    // its release releases and then runs onRelease. range() is asked at every press, so
    // limits that depend on other settings stay current. hover(true) runs on every mouse
    // move over either button, hover(false) when the pointer leaves one.
    void attach(QAbstractButton* down, QAbstractButton* up, QLineEdit* edit,
                std::function<StepRange()> range, std::function<void()> onRelease = {},
                std::function<void(bool)> hover = {});
    void attach(QAbstractButton* down, QAbstractButton* up, QLineEdit* edit, const StepRange& range,
                std::function<void()> onRelease = {}, std::function<void(bool)> hover = {});

    // Height of the level bar for a value (displayed units) within [min, max]: 0..200.
    static int levelHeight(double value, double min, double max);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Binding {
        QAbstractButton* button;
        bool up;
        QLineEdit* edit;
        std::function<StepRange()> range;
        std::function<void()> onRelease;
        std::function<void(bool)> hover;
    };
    void Timer_UpTimer();
    void Timer_DownTimer();
    void showLevel(double displayed);
    bool step(bool up);

    QList<Binding> m_bindings;
};
