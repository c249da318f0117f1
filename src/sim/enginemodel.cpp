#include "sim/enginemodel.h"

#include "common/lambdascale.h"
#include "sim/tuningcycle.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

constexpr double RpmPerKmh[6] = {0, 130, 72, 49, 37, 30}; // gear 0: clutch open
constexpr int TopGear = 5;
constexpr double IdleRpm = 820;
constexpr double IdleAir = 0.2;               // idle air valve, as a share of full throttle air
constexpr double InjectorDeadTime = 1.0;      // ms
constexpr double InjectionPerAirShare = 10.5; // ms at full charge, four injectors
constexpr double FullFuelFlow = 4096;         // fuel-flow count at full air flow, lambda 1
// Fuel counter steps per second and fuel-flow count: the tool's litres (counter * K / 5242880)
// then add up its litres per hour (flow * 0.1 * K / 512) over time, whatever K is.
constexpr double CounterStepsPerFlow = 5242880.0 / (512.0 * 10.0 * 3600.0);

double follow(double value, double target, double dt, double tau) {
    return value + (target - value) * std::min(1.0, dt / tau);
}

double triangle(double cycles) {
    const double f = cycles - std::floor(cycles);
    return f < 0.5 ? 4 * f - 1 : 3 - 4 * f;
}

double zirconiaVoltage(double lambda) {
    return 0.06 + 0.84 / (1 + std::exp(std::clamp((lambda - 1) * 150, -50.0, 50.0)));
}

int nearest(const double (&axis)[8], double v) {
    int best = 0;
    for (int i = 1; i < 8; ++i)
        if (std::abs(axis[i] - v) < std::abs(axis[best] - v)) best = i;
    return best;
}

int toWord(double v) {
    return int(std::clamp(std::lround(v), 0L, 65535L));
}

} // namespace

EngineModel::EngineModel(quint32 seed) : m_rng(seed ? seed : 0x9E3779B9u) {}

void EngineModel::setMixture(const MixtureOptions& options) {
    m_mixture = Mixture(options);
    m_sensed = m_lambda[0];
}

double EngineModel::random() {
    // xorshift32: the same numbers on every platform.
    m_rng ^= m_rng << 13;
    m_rng ^= m_rng >> 17;
    m_rng ^= m_rng << 5;
    return (m_rng >> 8) / double(1 << 24);
}

double EngineModel::noise(double size) {
    return (2 * random() - 1) * size;
}

double EngineModel::mafVoltage() const {
    return std::clamp(mafVoltageAt(m_air) + m_mafNoise, 0.0, 5.0);
}

double EngineModel::pumpCurrent(int channel) const {
    if (m_fuelCut) return 10;
    // The inverse of the air/fuel ratio scale the tool shows for wideband sensors. The road
    // cycle's closed loop has always shown about 14,7; with the mixture on, sensor 1 reads
    // on the tool's own scale, where lambda 1 is 14,5.
    if (m_mixture.enabled() && (channel & 1) == 0)
        return std::clamp(lambdascale::pumpCurrentFromAfr(lambdascale::StoichAfr * m_sensed), -8.0, 10.0);
    const double afr = 14.7 * m_lambda[channel & 1];
    return std::clamp(lambdascale::pumpCurrentFromAfr(afr), -8.0, 10.0);
}

int EngineModel::highestGearAbove(double rpm) const {
    int gear = 1;
    for (int g = 1; g <= TopGear; ++g)
        if (m_speed * RpmPerKmh[g] >= rpm) gear = g;
    return gear;
}

void EngineModel::startPhase(Phase phase) {
    m_phase = phase;
    m_phaseTime = 0;
    switch (phase) {
    case Phase::Idle:
        m_phaseDuration = 4 + 5 * random();
        m_speed = 0;
        m_gear = 0;
        break;
    case Phase::Accelerate:
        m_targetSpeed = std::max(m_speed + 20, 45 + 55 * random());
        m_accelThrottle = 0.45 + 0.45 * random();
        m_shiftRpm = 2800 + 1600 * random();
        if (m_gear == 0) m_gear = 1;
        break;
    case Phase::Cruise:
        m_phaseDuration = 8 + 8 * random();
        m_targetSpeed = m_speed;
        break;
    case Phase::Decelerate:
        // Most rounds end at a standstill; some slow down and pull away again.
        m_decelTarget = random() < 0.6 ? 0 : 25 + 15 * random();
        m_brake = random() < 0.5 ? 0 : 1 + 2 * random();
        break;
    }
}

void EngineModel::roadDrive(double dt) {
    switch (m_phase) {
    case Phase::Idle:
        m_throttleTarget = 0;
        if (m_phaseTime >= m_phaseDuration) startPhase(Phase::Accelerate);
        break;
    case Phase::Accelerate: {
        if (m_shiftPause > 0) {
            m_shiftPause -= dt;
            m_throttleTarget = 0;
        } else {
            m_throttleTarget = m_accelThrottle;
        }
        const double accel = m_throttle * 13.0 / (0.55 + 0.45 * m_gear) - 0.4; // km/h per s
        m_speed = std::max(0.0, m_speed + accel * dt);
        if (m_shiftPause <= 0 && m_gear < TopGear && m_speed * RpmPerKmh[m_gear] > m_shiftRpm) {
            ++m_gear;
            m_shiftPause = 0.35;
        }
        if (m_speed >= m_targetSpeed || m_phaseTime > 30) startPhase(Phase::Cruise);
        break;
    }
    case Phase::Cruise: {
        const double target = m_targetSpeed + 3 * std::sin(2 * M_PI * m_phaseTime / 17);
        m_speed += std::clamp((target - m_speed) * 0.5, -2.0, 2.0) * dt;
        m_gear = highestGearAbove(1750);
        m_throttleTarget = std::clamp(0.10 + 0.0022 * m_speed + (target - m_speed) * 0.03 +
                                          0.02 * std::sin(2 * M_PI * m_time / 3.1),
                                      0.05, 0.5);
        if (m_phaseTime >= m_phaseDuration) startPhase(Phase::Decelerate);
        break;
    }
    case Phase::Decelerate:
        m_throttleTarget = 0;
        m_speed = std::max(0.0, m_speed - (2.5 + m_brake) * dt);
        if (m_gear > 2 && m_speed * RpmPerKmh[m_gear] < 1250) --m_gear;
        if (m_speed < 16) m_gear = 0;
        if (m_speed <= m_decelTarget) {
            if (m_decelTarget <= 0)
                startPhase(Phase::Idle);
            else
                startPhase(Phase::Accelerate);
        }
        break;
    }
}

double EngineModel::tuningDrive() {
    const CycleTarget goal = tuningCycleAt(m_time, m_mixture.options().dwell);
    m_phase = goal.idle ? Phase::Idle : goal.fuelCut ? Phase::Decelerate : Phase::Cruise;
    m_gear = goal.idle ? 0 : 3;
    m_speed = goal.idle ? 0 : goal.rpm / RpmPerKmh[3];
    // The throttle that lets the wanted air in at the present speed.
    const double charge = goal.airFlow * 6000 / std::max(m_rpm, 300.0);
    m_throttleTarget = goal.fuelCut ? 0 : std::clamp((charge - IdleAir) / (1 - IdleAir), 0.0, 1.0);
    m_cutRequested = goal.fuelCut;
    // A steady engine still wanders a little.
    return goal.rpm + 12 * std::sin(2 * M_PI * 0.4 * m_time) + noise(4);
}

void EngineModel::step(double dt) {
    m_time += dt;
    m_phaseTime += dt;

    const bool tuning = m_mixture.enabled() && m_mixture.options().tuningCycle;
    double tuningRpm = 0;
    if (tuning) {
        tuningRpm = tuningDrive();
    } else {
        roadDrive(dt);
    }

    const double oldThrottle = m_throttle;
    m_throttle = follow(m_throttle, m_throttleTarget, dt, 0.15);
    if ((m_throttle - oldThrottle) / dt > 1.5) m_enrich = 0.4;
    m_enrich = std::max(0.0, m_enrich - dt);

    // Engine speed: the wheels drive it in gear; with the clutch open (or slipping while
    // pulling away) it idles or revs on the throttle.
    double rpmTarget = tuningRpm;
    if (!tuning) {
        const double idle = IdleRpm + 12 * std::sin(2 * M_PI * 0.4 * m_time) + noise(4);
        rpmTarget = idle;
        if (m_gear > 0) {
            rpmTarget = std::max(m_speed * RpmPerKmh[m_gear], idle * 0.95);
            if (m_gear == 1 && m_speed < 12) rpmTarget = std::max(rpmTarget, idle + 1400 * m_throttle);
        }
    }
    m_rpm = follow(m_rpm, rpmTarget, dt, 0.12);

    const double charge = IdleAir + (1 - IdleAir) * m_throttle; // cylinder filling 0..1
    m_air = follow(m_air, std::clamp(m_rpm / 6000 * charge, 0.0, 1.0), dt, 0.08);
    m_fuelCut = tuning ? m_cutRequested
                       : m_phase == Phase::Decelerate && m_gear > 0 && m_throttle < 0.03 && m_rpm > 1150;

    // Mixture: the control unit's closed loop swings it around lambda 1 (the sensors then
    // switch about once a second); full throttle and tip-in enrich it; overrun cuts fuel.
    // With the mixture model on, channel 1 follows the control unit's metering instead.
    for (int ch = 0; ch < 2; ++ch) {
        if (ch == 0 && m_mixture.enabled()) {
            mixtureStep(dt);
            continue;
        }
        m_loop[ch] += dt * (0.7 + 1.5 * m_air) * (ch ? 1.07 : 1.0);
        double target = 1 + 0.028 * triangle(m_loop[ch]) + noise(0.002);
        if (m_throttle > 0.6) target = 0.87;
        if (m_enrich > 0) target *= 0.93;
        if (m_fuelCut) target = 2.5;
        m_lambda[ch] = follow(m_lambda[ch], target, dt, m_fuelCut ? 0.3 : 0.06);
        m_zirconia[ch] =
            follow(m_zirconia[ch], zirconiaVoltage(m_lambda[ch]), dt, 0.07) + noise(0.003);
        m_zirconia[ch] = std::clamp(m_zirconia[ch], 0.0, 1.0);
        m_baseNoise[ch] = noise(2);
    }
    const double catTarget = m_fuelCut            ? 0.08
                             : m_lambda[0] < 0.95 ? 0.78
                                                  : 0.66 + 0.03 * std::sin(2 * M_PI * m_time / 9);
    m_catalyst = follow(m_catalyst, catTarget, dt, 1.5);
    m_emulated = follow(m_emulated, m_fuelCut ? 0.06 : m_lambda[0] < 1 ? 0.82 : 0.12, dt, 0.04);
    m_mafNoise = noise(0.008);

    const double fuelShare = m_fuelCut ? 0 : charge / m_lambda[0];
    m_injection = m_fuelCut ? 0 : InjectorDeadTime + InjectionPerAirShare * fuelShare;
    m_fuelFlow = m_fuelCut ? 0 : FullFuelFlow * m_air / m_lambda[0];
}

void EngineModel::mixtureStep(double dt) {
    m_loop[0] += dt * (0.7 + 1.5 * m_air);
    const double volts = mafVoltage(); // as the control unit gets it from the sensor
    double target = 1;
    if (m_fuelCut) {
        target = 2.5;
    } else if (m_mixture.closedLoop(volts)) {
        target = 1 + 0.028 * triangle(m_loop[0]) + noise(0.002);
        if (m_enrich > 0) target *= 0.93;
    } else {
        // Open loop: the control unit aims at lambda 1 (tip-in enrichment aside), so the
        // default targets of 14,5 are the engine's own.
        target = m_mixture.openLoopLambda(m_rpm, volts, m_air, m_enrich > 0 ? 0.93 : 1.0);
    }
    const MixtureOptions& o = m_mixture.options();
    m_wander = follow(m_wander, noise(o.wander), dt, std::max(o.wanderTime, dt));
    m_lambda[0] = follow(m_lambda[0], target * (1 + m_wander), dt, m_fuelCut ? 0.3 : 0.06);
    const double seen = m_mixture.sense(m_time, m_lambda[0], dt);
    m_sensed = std::max(0.3, seen + noise(o.sensorNoise));
    m_zirconia[0] = std::clamp(follow(m_zirconia[0], zirconiaVoltage(m_sensed), dt, 0.07) + noise(0.003), 0.0, 1.0);
    m_baseNoise[0] = noise(2);
}

void EngineModel::advance(double dt, SimMemory& mem, Model model, const Equipment& equipment) {
    if (m_mixture.enabled()) m_mixture.takeCorrections(mem, model);
    while (dt > 1e-9) {
        const double h = std::min(dt, 0.02);
        step(h);
        dt -= h;

        m_fuelCounts += m_fuelFlow * CounterStepsPerFlow * h;
        const double whole = std::floor(m_fuelCounts);
        if (whole >= 1) {
            m_fuelCounts -= whole;
            mem.setFuelCounter(mem.fuelCounter() + quint32(whole));
        }

        // Learning: the module writes the MAF voltage it sees into the curve cell of the
        // present fuel amount, a little at a time, so the erased curve fills in as the car
        // visits the cells.
        if (mem.regs[reg::Mode] & reg::ModeLearning) {
            m_learnTimer += h;
            if (m_learnTimer >= 0.5) {
                m_learnTimer = 0;
                const int point = int(std::lround(m_fuelFlow / 64));
                if (!m_fuelCut && point >= 1 && point <= 64) {
                    quint8& cell = mem.regs[reg::curve1Point(point)];
                    const int target = int(std::lround(CurveCountsPerVolt * mafVoltage()));
                    int next = int(std::lround(cell + (target - cell) * 0.3));
                    if (next == cell && target != cell) next += target > cell ? 1 : -1;
                    cell = quint8(std::clamp(next, 0, 255));
                }
            }
        }
    }
    writeWorkingData(mem, model, equipment);
}

void EngineModel::writeWorkingData(SimMemory& mem, Model model, const Equipment& equipment) const {
    const int mode = mem.regs[reg::Mode];
    const int flags = mem.regs[reg::Flags];
    const bool emulator = mode & reg::ModeEmulator;
    const bool mafP = !emulator && (mode & reg::ModeMafP);
    const bool correcting = !(mode & reg::ModeSystemOff) && !emulator;

    // The cell of the correction tables the engine is in.
    const int column = nearest(SpeedBreakpoints, m_rpm) + 1;
    const int row = (mode & reg::ModeLoadIsMaf) ? nearest(MafBreakpoints, mafVoltage()) + 1
                                                : nearest(InjectionBreakpoints, m_injection) + 1;

    mem.work[work::InjectionTime] = quint8(std::clamp(std::lround(m_injection * 10), 0L, 255L));
    mem.setWorkWord(work::FuelFlow, toWord(m_fuelFlow));
    mem.setWorkWord(work::MafVoltage, toWord(mafVoltage() * MafCountsPerVolt));

    const int k = mem.regs[reg::CrankCoefficient];
    const int crankFactor = (k >= 1 && k <= 4) ? k : 2;
    mem.setWorkWord(work::CrankPeriod,
                    std::max(1, toWord(crankFactor * 600000.0 / std::max(m_rpm, 1.0))));

    if (equipment.digitalMaf) {
        const bool above1kHz = flags & reg::FlagsAbove1kHz;
        const double shape = std::pow(std::clamp(m_air, 0.0, 1.0), 0.6);
        const double fIn = above1kHz ? 1500 + 8500 * shape : 40 + 860 * shape;
        double correction = 0;
        if (model == Model::TR70 && correcting)
            correction = (mem.regs[reg::mafCell(column, row)] - 128) / 400.0;
        const double fOut = fIn * (1 + correction);
        mem.setWorkWord(work::MafInPeriod,
                        std::max(1, toWord((above1kHz ? 524300.0 : 20000.0) / fIn)));
        mem.setWorkWord(work::MafOutPeriod, std::max(1, toWord(10000.0 / fOut)));
    } else {
        mem.setWorkWord(work::MafInPeriod, 0);
        mem.setWorkWord(work::MafOutPeriod, 0);
    }

    // Lambda channels. A word pair per channel: the signal and a base. A zirconia sensor's
    // base is its voltage before the module (offset connection) or the module's ground
    // (ordinary connection, emulator); a wideband sensor's base is its reference of about
    // 2.5 V. The high byte of the base thus tells the tool the sensor type.
    const bool catalyst = flags & reg::FlagsCatalyst;
    for (int ch = 0; ch < 2; ++ch) {
        const bool wideband = ch == 0 ? equipment.lambda1Wideband : equipment.lambda2Wideband;
        const bool emulated = emulator && (ch == 0 || model == Model::TR90);
        const int signalAddress = ch == 0 ? work::Lambda1Signal : work::Lambda2Signal;
        const int baseAddress = ch == 0 ? work::Lambda1Base : work::Lambda2Base;
        int base = 0, signal = 0;
        if (wideband) {
            base = WidebandReference + int(m_baseNoise[ch]);
            signal = emulated ? base + toWord(m_emulated * CountsPerVolt)
                              : base + int(std::lround(pumpCurrent(ch) * CountsPerMilliampere));
        } else {
            const double before = (ch == 1 && catalyst) ? m_catalyst : m_zirconia[ch];
            double offset = 0;
            if (model == Model::TR70 && correcting && !mafP && !(ch == 1 && catalyst))
                offset = (mem.regs[reg::lambdaCell(column, row)] - 128) * 0.001;
            const double after = emulated ? m_emulated : std::clamp(before + offset, 0.0, 1.1);
            if (emulated || !(flags & reg::FlagsOffsetWay)) {
                base = 2; // the ground of the module sits a few millivolts up
                signal = base + toWord(after * CountsPerVolt);
            } else {
                base = std::min(255, toWord(before * CountsPerVolt));
                signal = toWord(after * CountsPerVolt);
            }
        }
        mem.setWorkWord(baseAddress, base);
        mem.setWorkWord(signalAddress, signal);
    }
}

} // namespace sim
