#pragma once
// The parameter list beside the chart (and beside the settings panel): one row per live
// parameter with its chart check box, colour button, name, current value and axis preset,
// plus the fuel-consumption method, the fuel-counter reset, the wideband display choices
// and the line-width pop-up of the colour buttons. This class owns only the controls;
// telemetry and the chart wire their behaviour through `ui`.

#include <QWidget>
#include <array>

#include "common/configfiles.h"
#include "telemetry/colorbarbutton.h"
#include "ui_parampanel.h"

class ParamPanel : public QWidget {
    Q_OBJECT
public:
    explicit ParamPanel(QWidget* parent = nullptr);

    Ui::ParamPanel ui;

    // The controls of one plotted series, by series number 0..10 (chart order:
    // injection time first, digital MAF pulse frequency last).
    struct SeriesRow {
        QCheckBox* check = nullptr;
        ColorBarButton* color = nullptr;
        QPushButton* name = nullptr;
        QLabel* readout = nullptr;
        QRadioButton* preset = nullptr;
    };
    // Row of series 0..10; a row of null pointers for any other number.
    SeriesRow seriesRow(int series) const;
    // The value a series' readout shows (the recording tick's and the replay's): empty
    // while the series' row is hidden.
    void showReadout(int series, double value);

    // The six line-width samples of the colour pop-up, thinnest first.
    std::array<ColorBarButton*, 6> widthSamples() const;

    // Sensor selectors that follow the module's wiring (paramselectors.cpp). Lambda sensor
    // 1 or 2 is offered either as its plain voltage or as the pair before/after the module.
    void Show_D1_Plain();
    void Show_D1_Split();
    void Show_D2_Plain();
    void Show_D2_Split();
    void showDigitalOutputSelector(bool visible); // output frequency of a digital MAF
    void showPulseFrequencySelector(bool visible); // pulse frequency of a digital MAF
    void showAnalogVoltageSelector(bool visible); // voltage of an analog MAF

    // The module's sensor equipment and the saved choices (paramprofile.cpp).
    // Chart visibility mask: position k "1" ticks series k's check box and enables its
    // colour button, anything else clears and disables them; chartMask() reads the boxes.
    void applyChartMask(const QString& mask);
    QString chartMask() const;
    // The wideband choice of Lambda sensor 1 or 2 (CheckBox_D1 / _D2): shown and ticked as
    // given, with the sensor's plain row captioned for the choice and its before/after rows
    // hidden; or hidden. The tick alone can be set and read whether the box is shown or not.
    void showWidebandChoice(int sensor, bool current);
    void hideWidebandChoice(int sensor);
    void setWidebandCurrent(int sensor, bool current);
    bool widebandCurrent(int sensor) const;
    // The output frequency of a digital MAF the module reported at identification, Hz.
    void showDigitalMafFrequency(double hz);
    // The settings file's part of the list: the fuel consumption's averaging button
    // (Type_In_RashTo) and the eleven colour buttons (Color01 .. Color11). A colour text
    // that does not read leaves its button's colour.
    void collectConfiguration(cfg::Info& info) const;
    void applyConfiguration(const cfg::Info& info);

private:
    std::array<SeriesRow, 11> m_rows;
};
