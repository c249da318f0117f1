#include "sim/tuningcycle.h"

#include "sim/simmemory.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace sim {

namespace {

constexpr double RampSeconds = 3;
constexpr double IdleSeconds = 6;
constexpr double OverrunSeconds = 3;

enum class Kind { Idle, Hold, Overrun };

struct Waypoint {
    Kind kind;
    double rpm;
    double volts; // MAF voltage to hold (the air flow follows from the characteristic)
};

// Full throttle at 1600 rpm gives 2,49 V, as near to the 2,5 V breakpoint as the engine
// comes there.
constexpr std::array<Waypoint, 9> Route{{
    {Kind::Idle, 820, 0},
    {Kind::Hold, 2400, 1.9}, // closed loop
    {Kind::Hold, 2400, 2.5},
    {Kind::Hold, 4800, 2.5},
    {Kind::Hold, 4800, 3.2},
    {Kind::Hold, 4800, 3.8},
    {Kind::Overrun, 3000, 0},
    {Kind::Hold, 1600, 2.5},
    {Kind::Idle, 820, 0},
}};

// Air flow of the engine at the waypoint: the held voltage's, within what the engine can
// take at that speed (closed throttle takes a fifth of full charge).
double airOf(const Waypoint& w) {
    const double closed = 0.2 * w.rpm / 6000, full = w.rpm / 6000;
    if (w.kind != Kind::Hold) return closed;
    return std::clamp(airFlowAt(w.volts), closed, full);
}

double durationOf(const Waypoint& w, double dwell) {
    switch (w.kind) {
    case Kind::Idle:
        return IdleSeconds / 2; // the route starts and ends at idle
    case Kind::Overrun:
        return OverrunSeconds;
    case Kind::Hold:
        break;
    }
    return dwell;
}

} // namespace

double tuningCycleLength(double dwell) {
    double t = 0;
    for (const Waypoint& w : Route) t += durationOf(w, dwell);
    return t + RampSeconds * (Route.size() - 1);
}

CycleTarget tuningCycleAt(double t, double dwell) {
    const double length = tuningCycleLength(dwell);
    t = std::fmod(t, length);
    if (t < 0) t += length;
    for (std::size_t i = 0; i < Route.size(); ++i) {
        const Waypoint& w = Route[i];
        const double hold = durationOf(w, dwell);
        if (t < hold || i + 1 == Route.size())
            return {w.rpm, airOf(w), w.kind == Kind::Overrun, w.kind == Kind::Idle};
        t -= hold;
        if (t < RampSeconds) {
            const Waypoint& next = Route[i + 1];
            const double f = t / RampSeconds;
            return {w.rpm + (next.rpm - w.rpm) * f, airOf(w) + (airOf(next) - airOf(w)) * f, false, false};
        }
        t -= RampSeconds;
    }
    return {};
}

} // namespace sim
