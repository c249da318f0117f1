#pragma once
// The vertical axes of the parameter chart: the preset buttons rb01..rb11 (an axis takes
// a parameter's preset range and keeps following it on every recording tick), the sixteen
// end steppers with their own repeat timers, the "Авто" buttons, the axis panels with
// their four edits, and the edits' refresh after zooming or scrolling with the mouse.

#include <QObject>

#include <array>

class ChartPanel;
class ParamPanel;
class QAbstractButton;
class QCPAxis;
class QLineEdit;
class QTimer;
namespace live {
struct LiveState;
}

class ChartAxes : public QObject {
    Q_OBJECT
public:
    // live: the parameters whose preset ranges the presets use; it outlives this object.
    ChartAxes(ChartPanel* chart, ParamPanel* params, const live::LiveState* live, QObject* parent = nullptr);

    QTimer* Timer_UpAx;
    QTimer* Timer_DownAx;

    // Hidden procedures: release the preset of the left (rb01..rb09) or right (rb10, rb11) axis.
    void AxLeft();
    void AxRight();
    // A preset button: fixes its axis to the parameter's preset range and shows it.
    void presetClick(int series);
    // Sets each axis whose preset is checked to its parameter's current range (every tick).
    void reapplyPresets();
    void atb_AxLeft_AutoClick();
    void atb_AxRight_AutoClick();
    void atb_ShowAxis_Chart1Click();
    void atb_ShowAxis_Chart1MouseLeave();
    // The four edits show the axes' current ends.
    void showAxesInEdits();

    // One step of a stepper button (index 0..15 in the order of axisButton()); true when
    // the new end passed the button's bound.
    bool stepButton(int index);
    QAbstractButton* axisButton(int index) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct StepButton {
        QAbstractButton* button;
        QLineEdit* edit;
        bool left; // left axis (else right)
        bool top;  // top end (else bottom)
        bool up;
        double step;
        double bound; // upper bound for up buttons, lower bound for down buttons
    };
    QCPAxis* axis(bool left) const;
    void setFixedRange(QCPAxis* a, double lower, double upper);
    void press(int index);
    void release(int index);
    void repeat(bool up);

    ChartPanel* m_chart;
    ParamPanel* m_params;
    const live::LiveState* m_live;
    std::array<StepButton, 16> m_buttons{};
    int m_active = -1; // the stepper button pressed last
    QObject* m_showAxis; // watched like the stepper buttons, without asking the panel
};
