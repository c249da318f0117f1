#pragma once
// Live engine data, free of widgets: the digits the module answers during one live cycle,
// the gate's walk through the cycle, and the conversion of the stored digits into one
// sample of eleven plotted parameters and two readouts. The recorder stores digits as
// answers arrive and converts once per recording tick, always from the digits of the
// previous cycle.

#include <QString>

#include <array>

namespace live {

// Parameters in the order of the chart's series (0..10), then the two readouts.
enum Param { SP, STR, AI, L1, L2, U1do, U1posle, U2do, U2posle, TP, SD, DigOut, KRT, ParamCount };
inline constexpr int PlottedCount = 11;

// The parameter in a column of the archive after the time (common/archivecolumns.h;
// ParamCount for any other column), and the archive column of a plotted parameter (0 for
// the two readouts, which the archive does not keep).
Param columnParam(int column);
int paramColumn(Param param);

// Commands of the live cycle, in the order they are sent.
inline const QString kCmdStart = QStringLiteral("47&");
inline const QString kCmdSensors = QStringLiteral("2A&4A&6A&8A&");
inline const QString kCmdCounters = QStringLiteral("04%14&D4&23%");
inline const QString kCmdFlows = QStringLiteral("74&B4&65&AA&");
inline const QString kCmdClose = QStringLiteral("AA&");

// The module reports the digital MAF period "above 1 kHz" in counts of a 524300 Hz clock
// (a count of 524 is 1 kHz); "below 1 kHz" in counts of a 20000 Hz clock.
inline constexpr double kMafClockAbove1kHz = 524300.0;
inline constexpr double kMafClockBelow1kHz = 20000.0;

struct GrafParam {
    double Value = 0;
    double Prev = 0; // value before the current tick's conversion
    double Max = 0;  // preset range
    double Min = 0;
    double Percent = 0;
};

// One value per received hex digit: 0..15, or -1 for a character that is not an uppercase
// hex digit or was not received. Every group starts invalid.
struct DigitStore {
    std::array<double, 4> rashTopl;  // "47&"
    std::array<double, 16> sensors;  // "2A&4A&6A&8A&": words at 1-4, 6-9, 11-14, 16-19
    std::array<double, 12> counters; // "04%14&D4&23%": byte 1-2, words 4-7, 9-12, byte 14-15
    std::array<double, 16> flows;    // "74&B4&65&AA&": words at 1-4, 6-9, 11-14, 16-19
    DigitStore();
};

// What the gate decided for one receive event.
struct GateStep {
    QString next;          // the new Cmd_Pending
    bool stored = false;   // digits of a cycle command (or of "47&") were stored
    bool endCycle = false; // the answer to "AA&": the cycle timer stops
};

// The live-cycle gate for one receive event with the answer text so far. While
// startFlag is 1 the four "47&" digits are stored from any answer and "47&" is asked once
// more (startFlag becomes 2); then the cycle commands store their digits and name the next.
GateStep liveGate(DigitStore& store, int& startFlag, const QString& sent, const QString& answer);

// Value of n digits from first (least significant first), or -1 when one is invalid.
double groupValue(const double* first, int n);

// Everything a tick reads besides the digits: the controls of the window at that moment.
struct TickSettings {
    int crankIndex = -1;        // item index of the crankshaft coefficient (-1: none)
    bool averaged = false;      // fuel consumption "среднее"
    bool mafAbove1kHz = false;  // digital MAF range "Более 1 КГц"
    QString sensorType1;        // "Широкополосный", "Циркониевый" or anything else
    QString sensorType2;
    bool current1 = false;      // wideband sensor 1 shown as pump current
    bool current2 = false;
    bool emulator = false;      // operating mode buttons
    bool optimizer = false;
    bool mafP = false;
    bool displacement = false;  // Lambda connection by displacement
    double limitPercent = 10;   // allowed deviation per tick, percent of the preset range
    bool startTick = false;     // first tick after Start: K_RashTopl is taken anew
};

enum class MafIndicator { Unchanged, Red, White };

// The state of a recording that lives across ticks and across Clear.
struct LiveState {
    LiveState();
    std::array<GrafParam, ParamCount> p;
    std::array<double, 3> strEarlier{}; // STR after each of the last three ticks, oldest first
    double K_RashTopl = 0;
    QString K_PVK; // crankshaft-speed coefficient as the tick last took it (" 1", "58", ...)
    double Raw_2A = 0, Raw_4A = 0, Raw_6A = 0, Raw_8A = 0;
    double Time_Graf = 0; // seconds since Clear (the time of the last sample)
    double Time_Step = 0; // seconds the next sample lies after the last one
    double sampleTime = 0; // Time_Graf rounded to 0.01
    QString Time_Text;
};

// Allowed deviation: free while timeGraf is 4 s or less; afterwards New is clamped to the
// range and moves at most limitPercent of the range away from Prev.
double Limit_Value(double Max, double Min, double New, double Prev, double timeGraf, double limitPercent);

// Steps of the recording tick from K_RashTopl to the sensor voltages: every parameter whose
// digits are valid is converted, the others keep their values. Returns the colour the
// digital MAF range indicator takes.
MafIndicator convertSample(LiveState& s, const DigitStore& d, const TickSettings& t);

// The sample's time: Time_Graf advances by Time_Step, Time_Text is Time_Graf rounded to
// hundredths, and Time_Step becomes the interval in force.
void advanceTime(LiveState& s, int intervalMs);

// Percent of the preset range for the eleven plotted parameters (0 for an empty range).
void computePercents(LiveState& s);

} // namespace live
