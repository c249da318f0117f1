#pragma once
// The mixture of the simulated engine when it answers the module's MAF table: the control
// unit meters the air it reads from the MAF signal (the sensor's voltage plus the module's
// correction, one unit of the table being 0,01 V) through the sensor's characteristic, and
// its fuelling carries a hidden error that differs from cell to cell. Above a MAF voltage it
// runs open loop, so the error shows in the exhaust; below it its closed loop holds lambda 1.
// The exhaust reaches sensor 1 after a transport delay and a lag, with noise.
//
// Between breakpoints the error and the module's correction blend bilinearly over the
// table's axes (engine speed, MAF voltage), so a cell's value matters most at its own
// breakpoints and fades towards its neighbours', as a smooth engine map does.
//
// Off by default: the engine then behaves as it always has.

#include "sim/simmemory.h"

#include <QtGlobal>

#include <array>
#include <deque>

namespace sim {

struct MixtureOptions {
    bool enabled = false;
    double errorPercent = 15;      // each cell's hidden fuelling error lies within ± this
    quint32 errorSeed = 1;         // which cells are lean and which rich
    double closedLoopBelow = 2.2;  // V of MAF signal: the control unit's closed loop runs below it
    double transportDelay = 0.3;   // s of engine time from the cylinder to sensor 1
    double sensorLag = 0.1;        // s, the sensor's time constant
    // The burned mixture wanders from cycle to cycle: towards a new random lambda within
    // ± `wander` of its own each step, with this time constant (about 1 % spread).
    double wander = 0.075;
    double wanderTime = 0.2;       // s
    double sensorNoise = 0.002;    // ± lambda on each reading
    // A drive cycle that holds the engine steadily at breakpoints of the open-loop region
    // (and one of the closed loop), with slow ramps between them and an overrun with the
    // fuel cut, instead of the road cycle. One round takes about 6 holds of `dwell`.
    bool tuningCycle = false;
    double dwell = 12;             // s of engine time per hold
};

class Mixture {
  public:
    explicit Mixture(const MixtureOptions& options = {});

    const MixtureOptions& options() const { return m_options; }
    bool enabled() const { return m_options.enabled; }

    // The module's MAF cells in units (byte - 128) as the control unit now sees them: all 0
    // while the module does not correct (system off, emulator) or carries no MAF table.
    void takeCorrections(const SimMemory& memory, Model model);

    // The lambda the engine burns in open loop at this speed, measured MAF voltage and true
    // relative air flow, when the control unit aims at lambda `commanded`.
    double openLoopLambda(double rpm, double mafVolts, double airFlow, double commanded) const;
    bool closedLoop(double mafVolts) const { return mafVolts < m_options.closedLoopBelow; }

    // Feeds the exhaust lambda of one step and returns the lambda sensor 1 sees now (before
    // its noise): delayed by the transport delay, then lagged.
    double sense(double time, double exhaustLambda, double dt);

    // Known only to tests: the hidden error of cell (c, r) (1..8) as a fuelling factor
    // (1.1 injects 10 % too much), and the correction in units that brings the cell's
    // breakpoint to the target air/fuel ratio (on the tool's scale, 14,5 being lambda 1).
    // NaN while the mixture is off and where the breakpoint lies below the sensor's lowest
    // voltage.
    double fuelFactor(int c, int r) const;
    double need(int c, int r, double targetAfr) const;
    // The module's correction in units at a speed and MAF voltage, blended between cells.
    double correctionAt(double rpm, double mafVolts) const;

  private:
    double errorAt(double rpm, double mafVolts) const; // ln of the fuelling factor

    MixtureOptions m_options;
    std::array<double, 64> m_lnError{};    // index (r - 1) * 8 + (c - 1)
    std::array<double, 64> m_correction{}; // units
    struct Past {
        double time, lambda;
    };
    std::deque<Past> m_exhaust;
    double m_sensed = 1;
};

} // namespace sim
