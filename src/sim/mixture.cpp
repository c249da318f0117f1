#include "sim/mixture.h"

#include "common/lambdascale.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sim {

namespace {

// Position along an axis in breakpoints: whole at a breakpoint, linear between, held at
// the ends.
double position(const double (&axis)[8], double v) {
    if (!(v > axis[0])) return 0;
    for (int i = 0; i + 1 < 8; ++i)
        if (v <= axis[i + 1]) return i + (v - axis[i]) / (axis[i + 1] - axis[i]);
    return 7;
}

// A cell value blended over the four cells around a speed and MAF voltage.
double blend(const std::array<double, 64>& cells, double rpm, double mafVolts) {
    const double x = position(SpeedBreakpoints, rpm), y = position(MafBreakpoints, mafVolts);
    const int c0 = std::min(int(x), 6), r0 = std::min(int(y), 6);
    const double fx = x - c0, fy = y - r0;
    auto at = [&](int c, int r) { return cells[std::size_t(r * 8 + c)]; };
    return (1 - fy) * ((1 - fx) * at(c0, r0) + fx * at(c0 + 1, r0)) +
           fy * ((1 - fx) * at(c0, r0 + 1) + fx * at(c0 + 1, r0 + 1));
}

} // namespace

Mixture::Mixture(const MixtureOptions& options) : m_options(options) {
    // xorshift32 of its own, so the engine's random numbers stay as they are.
    quint32 rng = options.errorSeed ? options.errorSeed : 0x2545F491u;
    for (double& e : m_lnError) {
        rng ^= rng << 13;
        rng ^= rng >> 17;
        rng ^= rng << 5;
        const double u = (rng >> 8) / double(1 << 24); // 0 <= u < 1
        e = std::log(1 + (2 * u - 1) * options.errorPercent / 100);
    }
}

void Mixture::takeCorrections(const SimMemory& memory, Model model) {
    const int mode = memory.regs[reg::Mode];
    const bool correcting = model == Model::TR70 && !(mode & reg::ModeSystemOff) && !(mode & reg::ModeEmulator);
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= 8; ++c)
            m_correction[std::size_t((r - 1) * 8 + c - 1)] =
                correcting ? memory.regs[reg::mafCell(c, r)] - 128.0 : 0.0;
}

double Mixture::correctionAt(double rpm, double mafVolts) const {
    return blend(m_correction, rpm, mafVolts);
}

double Mixture::errorAt(double rpm, double mafVolts) const {
    return blend(m_lnError, rpm, mafVolts);
}

double Mixture::openLoopLambda(double rpm, double mafVolts, double airFlow, double commanded) const {
    // The control unit reads the air from the signal the module passes on and injects for
    // it, with its error.
    const double signal = std::clamp(mafVolts + 0.01 * correctionAt(rpm, mafVolts), 0.0, 5.0);
    const double metered = airFlowAt(signal) * std::exp(errorAt(rpm, mafVolts));
    if (!(metered > 0)) return 2.5; // no fuel at all: as lean as an overrun
    return std::clamp(commanded * airFlow / metered, 0.5, 2.5);
}

double Mixture::sense(double time, double exhaustLambda, double dt) {
    m_exhaust.push_back({time, exhaustLambda});
    // The gas that reaches the sensor now left the cylinder a transport delay ago.
    while (m_exhaust.size() > 1 && m_exhaust[1].time <= time - m_options.transportDelay) m_exhaust.pop_front();
    const double arrived = m_exhaust.front().lambda;
    const double lag = std::max(m_options.sensorLag, 1e-6);
    m_sensed += (arrived - m_sensed) * std::min(1.0, dt / lag);
    return m_sensed;
}

double Mixture::fuelFactor(int c, int r) const {
    if (c < 1 || c > 8 || r < 1 || r > 8) return std::numeric_limits<double>::quiet_NaN();
    return std::exp(m_lnError[std::size_t((r - 1) * 8 + c - 1)]);
}

double Mixture::need(int c, int r, double targetAfr) const {
    const double factor = fuelFactor(c, r);
    if (!enabled() || std::isnan(factor)) return std::numeric_limits<double>::quiet_NaN();
    const double volts = MafBreakpoints[r - 1];
    const double air = airFlowAt(volts);
    if (!(air > 0)) return std::numeric_limits<double>::quiet_NaN();
    // In open loop the control unit aims at lambda 1: it must read the air that, with its
    // error, gives the target's lambda.
    const double targetLambda = targetAfr / lambdascale::StoichAfr;
    const double read = air / (factor * targetLambda);
    return (mafCharacteristic(read) - volts) * 100;
}

} // namespace sim
