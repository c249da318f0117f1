#pragma once
// A drive cycle for tuning the MAF table, as a technician drives it on a dynamometer or a
// quiet road: idle, then steady holds at breakpoints of the table (one in the control unit's
// closed loop, the others in its open-loop region), joined by slow ramps, an overrun with
// the fuel cut, a pull at full throttle, and back to idle. It repeats.

namespace sim {

struct CycleTarget {
    double rpm = 0;
    double airFlow = 0;   // relative air flow the engine is to take, 0..1
    bool fuelCut = false; // overrun: throttle closed, no fuel
    bool idle = false;
};

// Engine time of one round when each hold lasts `dwell` seconds.
double tuningCycleLength(double dwell);
// What the cycle asks for at engine time t (seconds, any value; the cycle repeats).
CycleTarget tuningCycleAt(double t, double dwell);

} // namespace sim
