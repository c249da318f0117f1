#pragma once
// Memory of the simulated module: 256 bytes of non-volatile registers and 256 bytes of
// working data, with the addresses the tool relies on. Addresses here are the module's own
// numbering (high digit first); on the wire they travel low digit first.

#include "sim/simmodule.h"

#include <QtGlobal>

#include <array>

namespace sim {

// Non-volatile registers.
namespace reg {
constexpr int Mode = 0x00;  // bit 0 crankshaft sensor, 1 table load axis (MAF voltage),
                            // 2 learning, 3 emulator, 4 MAF(P), 5 reserved,
                            // 6 offset relative to ground, 7 system off
constexpr int Flags = 0x01; // bit 0 channel 2 behind catalyst, 1 3D correction,
                            // 2 MAP sensor, 3 offset connection, 4 analog MAF,
                            // 5 direct MAF correction, 6 digital MAF above 1 kHz, 7 1 kOhm load
constexpr int FuelCoefficient = 0x04;
constexpr int Lambda1Correction = 0x05;
constexpr int Injectors = 0x09;
constexpr int MafCorrection = 0x0B;
constexpr int Displacement = 0x0F;
constexpr int MafThreshold = 0x10;
constexpr int OffsetMax = 0x12;
constexpr int Leanness = 0x13;
constexpr int CrankCoefficient = 0x14;
constexpr int PointOfCorrection = 0x15;
constexpr int CorrectionDelay = 0x17;
constexpr int CorrectionDecay = 0x18;
constexpr int Reserved19 = 0x19;
constexpr int LearningState = 0x1A;
constexpr int Curve2First = 0x30; // curve 2: 30..6F
constexpr int Identifier = 0x78;  // eight characters, 78..7F
constexpr int IdentifierLength = 8;

constexpr int ModeCrankSensor = 0x01;
constexpr int ModeLoadIsMaf = 0x02;
constexpr int ModeLearning = 0x04;
constexpr int ModeEmulator = 0x08;
constexpr int ModeMafP = 0x10;
constexpr int ModeSystemOff = 0x80;

constexpr int FlagsCatalyst = 0x01;
constexpr int Flags3D = 0x02;
constexpr int FlagsOffsetWay = 0x08;
constexpr int FlagsAnalogMaf = 0x10;
constexpr int FlagsMafCorrectionDirect = 0x20;
constexpr int FlagsAbove1kHz = 0x40;

// Cell addresses; column c and row r run 1..8 as the tool's table grid counts them
// (columns: engine speed, rows: load).
constexpr int mafCell(int c, int r) {
    return ((0x8 + r - 1) << 4) | (8 - c);
}
constexpr int lambdaCell(int c, int r) {
    return ((0x8 + r - 1) << 4) | (0xF - (c - 1));
}
// Curve points i = 1..64. Curve 1 shares its addresses with the Lambda table.
constexpr int curve1Point(int i) {
    return ((0x8 + (i - 1) / 8) << 4) | (0x8 + (i - 1) % 8);
}
constexpr int curve2Point(int i) {
    return ((0x3 + (i - 1) / 16) << 4) | ((i - 1) % 16);
}
} // namespace reg

// Working data (bytes "%", little-endian words "&").
namespace work {
constexpr int FuelCounter = 0x40;     // 24 bits, 40 (bits 0-7) .. 42 (bits 16-23)
constexpr int FuelFlow = 0x47;        // word: fuel-flow count (1/64 of it is the curve's x)
constexpr int MafInPeriod = 0x4B;     // word: period count of the digital MAF input
constexpr int MafOutPeriod = 0x4D;    // word: period count of the digital MAF output
constexpr int InjectionTime = 0x32;   // byte: 0.1 ms
constexpr int CrankPeriod = 0x56;     // word: crankshaft period count
constexpr int FuelCalibration = 0x74; // word: fuel calibration value
constexpr int Lambda1Signal = 0xA2;   // word: channel 1 signal (after the module)
constexpr int Lambda1Base = 0xA4;     // word: channel 1 reference / voltage before the module
constexpr int Lambda1Type = 0xA5;     //  its high byte: 0 for a zirconia sensor
constexpr int Lambda2Signal = 0xA6;
constexpr int Lambda2Base = 0xA8;
constexpr int Lambda2Type = 0xA9;
constexpr int MafVoltage = 0xAA; // word: analog MAF voltage, 191 counts per volt
} // namespace work

// Scale factors shared by the memory defaults and the engine model.
constexpr double CountsPerVolt = 203.0;       // Lambda channel words
constexpr double CountsPerMilliampere = 18.8; // wideband pump current
constexpr double MafCountsPerVolt = 191.0;
constexpr double CurveCountsPerVolt = 48.0; // emulation curve bytes
constexpr double VoltageTableCountsPerVolt = 52.0;
constexpr int FuelCalibrationValue = 32;
constexpr int WidebandReference = 507; // about 2.5 V; keeps the type byte non-zero

struct SimMemory {
    std::array<quint8, 256> regs{};
    std::array<quint8, 256> work{};

    // Little-endian word of the working data; the address after FF is 00.
    quint16 workWord(int address) const;
    void setWorkWord(int address, int value); // value is cut to 0..65535
    quint32 fuelCounter() const;
    void setFuelCounter(quint32 value); // low 24 bits
};

// The engine model's MAF voltage at a relative air flow 0..1; the factory curves follow it,
// so that the live points of a running engine lie on the curve.
double mafVoltageAt(double airFlow);
// The same characteristic without the limits of the air flow (for breakpoints beyond full
// load), and its inverse: the relative air flow a control unit reads from a MAF voltage (0
// below the sensor's lowest voltage).
double mafCharacteristic(double airFlow);
double airFlowAt(double volts);

// The breakpoints of the module's tables: engine speed (rpm) over the columns, the load
// over the rows as MAF voltage (V) or injection time (ms).
inline constexpr double SpeedBreakpoints[8] = {670, 780, 940, 1200, 1600, 2400, 4800, 10000};
inline constexpr double MafBreakpoints[8] = {0.0, 0.6, 1.3, 1.9, 2.5, 3.2, 3.8, 4.4};
inline constexpr double InjectionBreakpoints[8] = {1.6, 2.4, 3.2, 4.0, 4.8, 5.6, 6.4, 7.2};

// Registers, tables, curves and identification bytes as a new module of that model and
// equipment carries them. The live working data is filled by the engine model.
SimMemory initialMemory(Model model, const Equipment& equipment);

} // namespace sim
