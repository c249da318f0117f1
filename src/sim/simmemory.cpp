#include "sim/simmemory.h"

#include <algorithm>
#include <cmath>

namespace sim {

quint16 SimMemory::workWord(int address) const {
    return quint16(work[address & 0xFF] | (work[(address + 1) & 0xFF] << 8));
}

void SimMemory::setWorkWord(int address, int value) {
    value = std::clamp(value, 0, 0xFFFF);
    work[address & 0xFF] = quint8(value & 0xFF);
    work[(address + 1) & 0xFF] = quint8(value >> 8);
}

quint32 SimMemory::fuelCounter() const {
    return quint32(work[work::FuelCounter]) | (quint32(work[work::FuelCounter + 1]) << 8) |
           (quint32(work[work::FuelCounter + 2]) << 16);
}

void SimMemory::setFuelCounter(quint32 value) {
    work[work::FuelCounter] = quint8(value & 0xFF);
    work[work::FuelCounter + 1] = quint8((value >> 8) & 0xFF);
    work[work::FuelCounter + 2] = quint8((value >> 16) & 0xFF);
}

namespace {
// The sensor's voltage at no air flow, its span and the exponent of its curve.
constexpr double MafZeroVolts = 0.95;
constexpr double MafSpanVolts = 3.4;
constexpr double MafExponent = 0.6;
} // namespace

double mafVoltageAt(double airFlow) {
    return mafCharacteristic(std::clamp(airFlow, 0.0, 1.0));
}

double mafCharacteristic(double airFlow) {
    return MafZeroVolts + MafSpanVolts * std::pow(std::max(airFlow, 0.0), MafExponent);
}

double airFlowAt(double volts) {
    if (!(volts > MafZeroVolts)) return 0;
    return std::pow((volts - MafZeroVolts) / MafSpanVolts, 1 / MafExponent);
}

namespace {

quint8 toByte(double v) {
    return quint8(std::clamp(std::lround(v), 0L, 255L));
}

// MAF correction of a TR-70, in 0.01 V steps: a gentle hill in the part-load middle of
// the map, slightly negative at the edges, as a workshop would leave it after tuning.
int mafCorrection(int c, int r) {
    const double dc = c - 4.0, dr = r - 5.0;
    return int(
        std::lround(18.0 * std::exp(-(dc * dc / 6.0 + dr * dr / 8.0)) - 4.0 + 0.5 * (r - 1)));
}

// Output voltage table of a TR-90: follows the load row (0..4.4 V) with a small
// speed-dependent lift in the middle columns.
double tr90Voltage(int c, int r) {
    const double load = (r - 1) * 0.63 + 0.3;
    const double lift = 0.15 * std::sin(M_PI * (c - 1) / 7.0);
    return std::clamp(load + lift, 0.0, 4.9);
}

} // namespace

SimMemory initialMemory(Model model, const Equipment& equipment) {
    SimMemory m;
    m.regs.fill(0xFF); // blank non-volatile cells read as FF
    m.work.fill(0x00);

    using namespace reg;
    m.regs[Mode] = ModeLoadIsMaf; // optimizer, system on, learning off
    m.regs[Flags] = quint8(Flags3D | FlagsOffsetWay | FlagsMafCorrectionDirect |
                           (equipment.digitalMaf ? 0 : FlagsAnalogMaf));
    m.regs[FuelCoefficient] = 100;   // 100
    m.regs[Lambda1Correction] = 108; // -0,2
    m.regs[Injectors] = 4;
    m.regs[MafCorrection] = 178; // 0,5 (the panel's 2,2 does not fit a byte)
    m.regs[Displacement] = 45;   // 4,5
    m.regs[MafThreshold] = 36;   // 0,75 V
    m.regs[OffsetMax] = 162;     // 0,8 V
    m.regs[Leanness] = 41;       // 15,5:1
    m.regs[CrankCoefficient] = 1;
    m.regs[PointOfCorrection] = 30; // 2500 rpm with K = 1
    m.regs[CorrectionDelay] = 96;   // 50
    m.regs[CorrectionDecay] = 4;
    m.regs[Reserved19] = 0x00;
    m.regs[LearningState] = 0xFF;

    // Curve 1 (and, on the TR-70, the Lambda table on the same cells): the MAF voltage
    // over the relative fuel amount, as a finished learning leaves it.
    for (int i = 1; i <= 64; ++i)
        m.regs[curve1Point(i)] = toByte(CurveCountsPerVolt * mafVoltageAt(i / 64.0));
    // Curve 2 of the TR-90: the second bank learned slightly differently.
    for (int i = 1; i <= 64; ++i)
        m.regs[curve2Point(i)] =
            toByte(CurveCountsPerVolt * (0.97 * mafVoltageAt(i / 64.0) + 0.06));
    for (int c = 1; c <= 8; ++c) {
        for (int r = 1; r <= 8; ++r) {
            m.regs[mafCell(c, r)] = model == Model::TR70
                                        ? quint8(128 + mafCorrection(c, r))
                                        : toByte(VoltageTableCountsPerVolt * tr90Voltage(c, r));
        }
    }

    const char* id = model == Model::TR70 ? "TR-70A03" : "TR-90B01";
    for (int i = 0; i < IdentifierLength; ++i)
        m.regs[Identifier + i] = quint8(id[i]);

    m.setWorkWord(work::FuelCalibration, FuelCalibrationValue);
    m.setFuelCounter(0x032000); // about 1,25 l since the last reset
    return m;
}

} // namespace sim
