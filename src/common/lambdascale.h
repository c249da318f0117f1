#pragma once
// The scale of a wideband Lambda sensor as the tool shows it: the module reports the pump
// current, and the tool turns it into an air/fuel ratio with a steeper slope on the lean
// side than on the rich one. Zero pump current is lambda 1, shown as 14,5. The live decoder
// shows readings by this rule; the corrections read recorded currents back by it, and the
// simulated engine produces currents by its inverse. Pure code.

namespace lambdascale {

// The air/fuel ratio of lambda 1 on this scale.
inline constexpr double StoichAfr = 14.5;

// Air/fuel ratio for a pump current in mA.
double afrFromPumpCurrent(double milliamperes);
// Pump current in mA for an air/fuel ratio (the inverse of the rule above).
double pumpCurrentFromAfr(double afr);

} // namespace lambdascale
