#pragma once
// A small car for the simulated module: it idles, accelerates through the gears, cruises
// and coasts back with the fuel cut on, over and over (one round takes roughly 30 to 60 s),
// and turns that into every live value the module reports: injection time, fuel flow and
// fuel counter, crankshaft period, MAF voltage and frequencies, Lambda sensor voltages or
// pump currents. A closed-loop mixture makes zirconia sensors switch about once a second.
// Everything is deterministic for a given seed and sequence of steps.

#include "sim/mixture.h"
#include "sim/simmemory.h"
#include "sim/simmodule.h"

#include <QtGlobal>

namespace sim {

class EngineModel {
  public:
    enum class Phase { Idle, Accelerate, Cruise, Decelerate };

    explicit EngineModel(quint32 seed = 1);

    // Switches the mixture that answers the MAF table (and, with it, the tuning cycle) on or
    // off; off by default. Switching starts the sensor's delay line afresh.
    void setMixture(const MixtureOptions& options);
    const Mixture& mixture() const { return m_mixture; }

    // Lets dt seconds pass (in steps of at most 20 ms), then updates the fuel counter, the
    // learning of curve 1 (while the learning bit of register 00 is set) and the live data.
    void advance(double dt, SimMemory& memory, Model model, const Equipment& equipment);
    // Writes the live working data for the present state; no time passes.
    void writeWorkingData(SimMemory& memory, Model model, const Equipment& equipment) const;

    Phase phase() const { return m_phase; }
    double time() const { return m_time; }
    double rpm() const { return m_rpm; }
    double vehicleSpeed() const { return m_speed; }
    double throttle() const { return m_throttle; }
    double airFlow() const { return m_air; }             // 0..1
    double injectionTime() const { return m_injection; } // ms
    double fuelFlowCount() const { return m_fuelFlow; }  // 1/64 is the curves' x
    double mafVoltage() const;
    bool fuelCut() const { return m_fuelCut; }
    double lambda(int channel) const { return m_lambda[channel & 1]; }
    // Zirconia output of a channel's sensor, V (before the module).
    double sensorVoltage(int channel) const { return m_zirconia[channel & 1]; }
    // Wideband pump current of a channel's sensor, mA.
    double pumpCurrent(int channel) const;
    // The lambda sensor 1 reads (with the mixture on: delayed, lagged, noisy).
    double sensedLambda() const { return m_sensed; }

  private:
    void step(double dt);
    // The road cycle's phases: throttle, gear and vehicle speed.
    void roadDrive(double dt);
    // The tuning cycle's throttle and fuel cut for this moment; returns the speed to reach.
    double tuningDrive();
    // Lambda of channel 1 and what its sensor reads, with the mixture on.
    void mixtureStep(double dt);
    void startPhase(Phase phase);
    int highestGearAbove(double rpm) const;
    double random();           // 0 <= x < 1
    double noise(double size); // -size .. size

    quint32 m_rng;
    double m_time = 0;
    Phase m_phase = Phase::Idle;
    double m_phaseTime = 0;
    double m_phaseDuration = 3;
    double m_speed = 0; // km/h
    int m_gear = 0;     // 0: clutch open
    double m_rpm = 820;
    double m_throttle = 0;
    double m_throttleTarget = 0;
    double m_accelThrottle = 0.6;
    double m_targetSpeed = 60;
    double m_decelTarget = 0;
    double m_brake = 0;
    double m_shiftRpm = 3500;
    double m_shiftPause = 0;
    double m_enrich = 0; // seconds of acceleration enrichment left
    double m_air = 0.027;
    double m_injection = 3.1;
    double m_fuelFlow = 110;
    bool m_fuelCut = false;
    double m_loop[2] = {0, 0.37}; // closed-loop oscillator phases, cycles
    double m_lambda[2] = {1, 1};
    double m_zirconia[2] = {0.45, 0.45};
    double m_catalyst = 0.65; // sensor behind the catalyst
    double m_emulated = 0.45; // the module's emulated zirconia output
    double m_mafNoise = 0;
    double m_baseNoise[2] = {0, 0};
    double m_fuelCounts = 0; // fraction of a counter step not yet added
    double m_learnTimer = 0;
    Mixture m_mixture;
    double m_sensed = 1;       // lambda sensor 1 reads, with the mixture on
    double m_wander = 0;       // the mixture's wander from cycle to cycle, with the mixture on
    bool m_cutRequested = false; // the tuning cycle's overrun
};

} // namespace sim
