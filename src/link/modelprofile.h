#pragma once
// The two module models and what sets them apart. After the settings registers have been
// read, the window applies the profile of the recognised model: which views and setting
// groups exist, how the mode and the sensors are shown, and the values derived from the
// identification bytes. The differences of the models live in one table (ModelProfile);
// every panel applies the part that concerns it through its own method. Pure code.

#include "link/connection.h"

#include <QString>
#include <QStringList>

// The sensor type texts of the hidden edits Ed_Type_Datchik_1_RU / _2_RU.
inline const QString kZirconiaSensor = QStringLiteral("Циркониевый");
inline const QString kWidebandSensor = QStringLiteral("Широкополосный");

struct ModelProfile {
    // The model name as the identifier begins ("TR-70", "TR-90").
    QString model;
    // Both Lambda sensors are taken as zirconia sensors, whatever the module reports.
    bool zirconiaOnly = false;
    // The model's table and curve views: the Lambda and MAF surfaces with one emulation
    // curve (false), or the emulator surface with two Lambda curves (true).
    bool twoCurveViews = false;
    // The operating mode is a choice (three mode buttons, the module's mode selected), or
    // the mode group is dimmed and its buttons hidden.
    bool modeChoice = true;
    // Setting groups that have no meaning for the model: dimmed whatever the module holds.
    QStringList dimmedGroups;
    // Setting groups made active by the profile.
    QStringList activeGroups;
    // The correction-mode groups follow the correction mode, the crankshaft sensor and the
    // MAF type (otherwise they stay as dimmedGroups leaves them).
    bool correctionModeRule = true;
    // The learning button is set from the learning bit by the profile itself (a model with
    // a mode choice sets it in the emulator view).
    bool learningFromBit = false;
    // The Lambda sensors are always connected by offset.
    bool offsetWayOnly = false;
    // Chart rows of the Lambda sensors: sensor 2's rows follow its wiring (false), or both
    // sensors show their plain voltage rows (true).
    bool plainSensorRows = false;
    // An analog MAF dims the frequency range group.
    bool analogDimsRange = false;
    // The chart's start button is enabled once the mask is applied.
    bool enablesChartStart = false;
};

namespace profiles {

const ModelProfile& tr70();
const ModelProfile& tr90();
// The profile of a model name, or null for a model without one.
const ModelProfile* forModel(const QString& model);
// Every setting group some profile dims; a profile undims those its own table does not
// list, so that a module of one model after one of the other finds its groups usable.
QStringList groupsDimmedByAnyProfile();

// Output frequency of a digital MAF from the identification bytes 4D and 4E: 10000 / v for
// the word v = 4E * 256 + 4D, at most 10000, rounded to two decimals; 0 for v = 0 and for a
// word with a missing or invalid digit.
double digitalMafFrequency(const DigitPair& b4D, const DigitPair& b4E);

// Fuel calibration value K_RashTopl: the word 75 * 256 + 74; -1 when a digit is missing or
// invalid (the caller keeps the value it had).
double fuelCalibration(const DigitPair& b74, const DigitPair& b75);

// How the Lambda sensors are connected, as the connection-way buttons say.
enum class Way { None, Normal, Offset };

// Sensor configuration code: letter 1 "Z" or "W" for the type of sensor 1, letter 2 "W" for
// a wideband sensor 1, else "S" (offset) or "O" (normal); letters 3 and 4 the same for
// sensor 2; letter 5 "C" for a digital MAF, "A" for an analog one. A type that is neither
// text, and the second letter of a zirconia sensor with no way chosen, give no letter, so
// such a code is never one of the 18.
QString sensorCode(const QString& type1, const QString& type2, Way way, bool digitalMaf);

} // namespace profiles
