#pragma once
// The series rows of the parameter list as the chart sees them: a check box shows or hides
// its series, a colour button's colour is the colour of the series' new points, and the
// line-width pop-up below a colour button offers six widths and the colour dialog. The two
// wideband choices switch a sensor's reading between pump current and air/fuel ratio.

#include <QColor>
#include <QObject>

#include <array>

class ColorBarButton;
class ParamChart;
class ParamPanel;
class QColorDialog;
class QTimer;
struct OperationContext;

class SeriesControls : public QObject {
    Q_OBJECT
public:
    // hidePanels: the window's pop-up hide timer (it hides Panel_WLine); may be null.
    SeriesControls(OperationContext* ctx, ParamPanel* params, ParamChart* chart, QTimer* hidePanels,
                   QObject* parent = nullptr);

    QColorDialog* ColorDialog1;

    // Clicks: a series' check box, the wideband choices, the colour dialog button.
    void checkBoxClick(int series);
    void CheckBox_D1Click();
    void CheckBox_D2Click();
    void atb_DlgColorClick();
    // Hover over a colour button (pop-up below it) and mouse-down on a width sample.
    void colorButtonMouseMove(int series);
    void widthSampleMouseDown(int sample);

    // Start: every series off, then on where its check box is ticked and shown.
    void activateForStart();
    // The colour each series' new points take: its colour button's colour now.
    std::array<QColor, 11> pointColors() const;
    // The colour button the pop-up works on (-1 before any hover).
    int currentSeries() const { return m_current; }
    // Line width of a series for a bar thickness of its colour button (pixels).
    static double lineWidthFor(int barThickness);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paintSamples(const QColor& color);

    OperationContext* m_ctx;
    ParamPanel* m_params;
    ParamChart* m_chart;
    QTimer* m_hide;
    int m_current = -1;
    // The watched buttons, kept here so that the filter never asks the panel (which may be
    // in the middle of its destruction when the last events arrive).
    std::array<ColorBarButton*, 11> m_colors{};
    std::array<ColorBarButton*, 6> m_samples{};
    QObject* m_dlgColor = nullptr;
};
