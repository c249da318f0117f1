#include "common/lambdascale.h"

namespace lambdascale {

namespace {
// AFR per mA of pump current on either side of lambda 1.
constexpr double LeanSlope = 1.4861;
constexpr double RichSlope = 0.25;
} // namespace

double afrFromPumpCurrent(double milliamperes) {
    return milliamperes > 0 ? milliamperes * LeanSlope + StoichAfr : milliamperes * RichSlope + StoichAfr;
}

double pumpCurrentFromAfr(double afr) {
    return afr > StoichAfr ? (afr - StoichAfr) / LeanSlope : (afr - StoichAfr) / RichSlope;
}

} // namespace lambdascale
