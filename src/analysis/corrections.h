#pragma once
// Corrections of the MAF table from a recording, free of widgets. One unit of the table
// shifts the MAF signal the control unit sees by 0,01 V: a higher signal makes it meter more
// air and inject more fuel, so a lean cell (air/fuel ratio above its target) needs a positive
// change and a rich one a negative change.
//
// Each sample pairs the engine speed and load of its row with the sensor reading taken one
// transport delay later (the sensor sees the mixture late), passes the filters against bad
// samples, and is split over the four surrounding cells by bilinear distance on the table's
// axes. Per cell the samples combine as the weighted mean of ln(measured / target), so lean
// and rich samples cancel; the change is that mean in percent times the gain, limited per
// recording and dropped within the deadband. A zirconia sensor only tells rich from lean: its
// cells get a nudge of at most 2 units by the share of time the voltage was on either side of
// the switch point, never a computed size.
//
// The same recording always gives the same proposals: samples are taken in row order and
// each cell sums in that order.

#include "analysis/cellstats.h"

#include <QString>

#include <array>
#include <bitset>
#include <functional>

namespace analysis {

// What the L1 column of the recording holds.
enum class SensorKind {
    WidebandAfr,     // a wideband sensor shown as air/fuel ratio
    WidebandCurrent, // a wideband sensor shown as pump current (mA), read back by the decoder's rule
    Zirconia,        // a zirconia sensor, volts
};

// The switch point of a zirconia sensor: above it the mixture is rich, below it lean.
inline constexpr double ZirconiaSwitchVolts = 0.45;
// The largest nudge of a cell per recording with a zirconia sensor.
inline constexpr int ZirconiaMaxNudge = 2;
// The change a cell of the MAF table can hold at most, either way.
inline constexpr int TableLimit = 99;

// Cells by the index CellGrid uses: (r - 1) * 8 + (c - 1).
using CellMask = std::bitset<CellCount>;
inline int cellIndex(int c, int r) { return (r - 1) * Side + (c - 1); }

struct CorrectionSettings {
    CorrectionSettings(); // every target 14,5

    std::array<double, CellCount> targets; // air/fuel ratio per cell
    int delayMs = 300;                     // sensor transport delay, rounded to whole samples
    int minSamples = 20;                   // samples with a weight above a quarter a cell needs
    double minWeight = 10;                 // total weight a cell needs
    int limit = 10;                        // largest change per cell and recording, units
    int deadband = 1;                      // changes of at most this many units are not proposed
    // Units per percent of mixture error. One unit moves the simulated control unit's air
    // reading by 1,67 / (U - 0,95) percent at a MAF voltage U: 1,1 % at 2,5 V, 0,74 % at
    // 3,2 V, 0,58 % at 3,8 V, the open-loop region where a recording can tune. 1,2 is the
    // inverse at 3 V, its middle: a cell at 2,5 V overshoots by less than a third, one at
    // 3,8 V moves 70 % of the way, and both settle within three recordings.
    double gain = 1.2;
    double warmUpS = 20;                   // the first seconds of a recording (the sensor warms)
    double transientRpmPerS = 1500;        // engine speed changing faster across the delay window
    double transientLoadPercentPerS = 20;  // load changing faster, in percent of its axis per second
    double transientHoldS = 1;             // rejected after a transient
    double fuelCutMs = 0.3;                // injection time at or below this is a fuel cut
    double fuelCutHoldS = 3;               // rejected after a fuel cut
    double afrMin = 10;                    // plausible wideband readings
    double afrMax = 20;
    int stuckSamples = 30;                 // the same L1 this many samples in a row: a stuck sensor
};

// The numeric settings by name, with the values they may take (for files and edits).
struct SettingField {
    const char* key;
    double min, max;
    bool whole;
    double (*get)(const CorrectionSettings&);
    void (*set)(CorrectionSettings&, double);
};
const std::array<SettingField, 15>& settingFields();
inline constexpr double TargetMin = 9, TargetMax = 20; // air/fuel ratio of a target
// Empty when the settings hold together (every field within its range and whole where it
// must be, every target within its range, afrMin below afrMax); otherwise the first
// offending key.
QString settingsFault(const CorrectionSettings& s);

// The rows of the archive (1-based, as SampleTable counts them) one proposal looks at.
struct RecordingRows {
    int start = 1; // the recording's first row: the warm-up counts from it
    int first = 1; // the samples whose engine speed and load are analysed ...
    int last = 0;
    int end = 0;   // ... and the last row their delayed readings may come from
    static RecordingRows whole(int samples) { return {1, 1, samples, samples}; }
    // A page of the recording: its samples take their readings from later rows as well.
    static RecordingRows page(int samples, int first, int last) { return {1, first, last, samples}; }
};

struct CorrectionInput {
    Axis speed = speedAxis();
    Axis load = mafVoltageAxis();
    bool mafVoltageLoad = true; // the load axis in force: MAF voltage (AI) or injection time (SP)
    SensorKind sensor = SensorKind::WidebandAfr;
    // The column of sensor 1's reading: L1, or U1do (the sensor's own voltage) for a zirconia
    // sensor in the offset connection, where L1 is the module's shift.
    int readingColumn = column::L1;
    // The recording's sample interval; 0 takes it from the time column (recordedIntervalMs).
    double intervalMs = 0;
    RecordingRows rows;
};

// The filters, in the order a sample is tried against them; a sample that several would
// reject counts once, for the first.
enum class Filter { WarmUp, FuelCut, Transient, Implausible, Stuck, OutsideTable };
inline constexpr int FilterCount = 6;

enum class NoProposal {
    None,           // the cell has a proposal
    NoSamples,      // no sample with a weight above a quarter
    Locked,
    TooFewSamples,  // fewer than the minimum, or too little total weight
    ZirconiaTarget, // a zirconia sensor cannot aim at another mixture than lambda 1
    WithinDeadband,
};

struct CellProposal {
    NoProposal reason = NoProposal::NoSamples;
    int change = 0;          // units; non-zero exactly when there is a proposal
    int samples = 0;         // samples with a weight above a quarter
    double weight = 0;       // total weight
    double meanAfr = 0;      // wideband: weighted mean air/fuel ratio
    double errorPercent = 0; // wideband: 100 × weighted mean of ln(measured / target)
    double leanShare = 0;    // zirconia: weighted share of the samples below the switch point
    double target = 14.5;
    bool proposed() const { return reason == NoProposal::None; }
};

struct CorrectionResult {
    SensorKind sensor = SensorKind::WidebandAfr;
    std::array<CellProposal, CellCount> cells{};
    std::array<int, FilterCount> rejected{}; // by Filter
    int delaySamples = 0;
    int paired = 0; // samples with a reading one delay later
    int used = 0;   // samples that passed every filter
    const CellProposal& cell(int c, int r) const { return cells.at(std::size_t(cellIndex(c, r))); }
    int rejectedBy(Filter f) const { return rejected.at(std::size_t(f)); }
    int proposals() const;
};

// value(row, column) reads one number of the archive (columns as archive::column names them).
using ValueOf = std::function<double(int row, int column)>;

// The sample interval of rows first..last from their times (column 0): the median spacing,
// so that a pause or a changed interval here and there does not move it; 100 ms when fewer
// than two rows have usable times.
double recordedIntervalMs(const ValueOf& value, int first, int last);

CorrectionResult proposeCorrections(const CorrectionInput& input, const CorrectionSettings& settings,
                                    const CellMask& locked, const ValueOf& value);

// A change as the preview shows it: "+7", "-3".
QString changeText(int change);
// The lines of a cell's tool tip in the interface language, numbers in the locale's form:
// "Поправка: +7", "Отсчётов: 41", "Средний AFR: 15,5" (zirconia: "Бедно: 80 %"), "Цель: 14,5";
// a cell without a proposal says why in its first line instead. Empty without samples.
QString proposalToolTip(const CellProposal& cell, SensorKind sensor, bool english);
// A filter's name for the counts the window shows: "Прогрев датчика", "Sensor warm-up".
QString filterName(Filter filter, bool english);

} // namespace analysis
