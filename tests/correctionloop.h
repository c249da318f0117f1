#pragma once
// The MAF table tuned in closed loop on the simulated engine, without window or port: the
// engine drives its tuning cycle, each recording interval the module's working data is
// read as the live cycle reads it and converted by the live decoder into a row of the
// archive's columns, the corrections are proposed from those rows and written into the
// module's MAF table, and the next recording starts. The engine's need per cell is known
// here (it is hidden from the proposals) to measure what is left.

#include "analysis/corrections.h"
#include "sim/enginemodel.h"
#include "sim/simmemory.h"
#include "telemetry/livedecoder.h"
#include "telemetry/sampletable.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace loop {

struct Options {
    bool wideband = true;     // sensor 1; else zirconia (the ordinary connection, so L1 is its voltage)
    bool pumpCurrent = false; // a wideband sensor recorded as pump current
    double errorPercent = 15; // the engine's hidden fuelling error
    quint32 seed = 1;
    double intervalMs = 100;
    double dwell = 12;        // s per hold of the tuning cycle
};

class Engine {
  public:
    explicit Engine(const Options& o) : m_o(o), m_memory(sim::initialMemory(sim::Model::TR70, equipment())), m_engine(o.seed) {
        sim::MixtureOptions mix;
        mix.enabled = true;
        mix.errorPercent = o.errorPercent;
        mix.errorSeed = o.seed;
        mix.tuningCycle = true;
        mix.dwell = o.dwell;
        m_engine.setMixture(mix);
        m_memory.regs[sim::reg::Flags] &= quint8(~sim::reg::FlagsOffsetWay);
        setTable([](int, int) { return 0; });
    }

    sim::Equipment equipment() const {
        sim::Equipment e;
        e.lambda1Wideband = m_o.wideband;
        return e;
    }
    const sim::EngineModel& engine() const { return m_engine; }

    int cell(int c, int r) const { return m_memory.regs[std::size_t(sim::reg::mafCell(c, r))] - 128; }
    template <class F> void setTable(F&& value) {
        for (int r = 1; r <= 8; ++r)
            for (int c = 1; c <= 8; ++c)
                m_memory.regs[std::size_t(sim::reg::mafCell(c, r))] = quint8(128 + std::clamp(int(value(c, r)), -99, 99));
    }

    // Drives `seconds` of the cycle and records them, one row per interval, starting a new
    // recording (as Start does).
    void record(double seconds) {
        for (auto& c : m_columns) c.clear();
        live::LiveState state;
        live::TickSettings tick;
        tick.crankIndex = 0; // " 1", as register 14 holds it
        tick.sensorType1 = m_o.wideband ? QStringLiteral("Широкополосный") : QStringLiteral("Циркониевый");
        tick.sensorType2 = QStringLiteral("Циркониевый");
        tick.current1 = m_o.pumpCurrent;
        tick.optimizer = true;
        const double step = m_o.intervalMs / 1000;
        const long samples = std::lround(seconds / step);
        for (long i = 0; i < samples; ++i) {
            tick.startTick = i == 0;
            live::convertSample(state, digits(), tick);
            live::advanceTime(state, int(m_o.intervalMs));
            m_columns[0].push_back(state.sampleTime);
            constexpr live::Param order[11] = {live::SP, live::STR, live::AI, live::TP, live::SD, live::L1,
                                               live::L2, live::U1do, live::U1posle, live::U2do, live::U2posle};
            for (int k = 0; k < 11; ++k) m_columns[std::size_t(k + 1)].push_back(state.p[order[k]].Value);
            m_engine.advance(step, m_memory, sim::Model::TR70, equipment());
        }
    }
    int rows() const { return int(m_columns[0].size()); }
    analysis::ValueOf value() const {
        return [this](int row, int col) { return m_columns.at(std::size_t(col)).at(std::size_t(row - 1)); };
    }

    analysis::CorrectionResult propose(const analysis::CorrectionSettings& s, const analysis::CellMask& locked = {}) const {
        analysis::CorrectionInput in;
        in.sensor = !m_o.wideband     ? analysis::SensorKind::Zirconia
                    : m_o.pumpCurrent ? analysis::SensorKind::WidebandCurrent
                                      : analysis::SensorKind::WidebandAfr;
        in.intervalMs = m_o.intervalMs;
        in.rows = analysis::RecordingRows::whole(rows());
        return analysis::proposeCorrections(in, s, locked, value());
    }

    // Writes the proposals into the table as an apply does (clamped to the table's range);
    // returns the largest step a cell took.
    int apply(const analysis::CorrectionResult& r) {
        int largest = 0;
        for (int row = 1; row <= 8; ++row)
            for (int c = 1; c <= 8; ++c) {
                const analysis::CellProposal& p = r.cell(c, row);
                if (!p.proposed()) continue;
                const int before = cell(c, row);
                const int after = std::clamp(before + p.change, -analysis::TableLimit, analysis::TableLimit);
                m_memory.regs[std::size_t(sim::reg::mafCell(c, row))] = quint8(128 + after);
                largest = std::max(largest, std::abs(after - before));
            }
        return largest;
    }

    double need(int c, int r, double targetAfr = 14.5) const { return m_engine.mixture().need(c, r, targetAfr); }
    // The mixture error, in percent, the present table leaves at the cell's breakpoint.
    double remainingPercent(int c, int r, double targetAfr = 14.5) const {
        sim::Mixture m = m_engine.mixture();
        m.takeCorrections(m_memory, sim::Model::TR70);
        const double volts = sim::MafBreakpoints[r - 1];
        const double lambda = m.openLoopLambda(sim::SpeedBreakpoints[c - 1], volts, sim::airFlowAt(volts), 1.0);
        return 100 * (lambda * 14.5 / targetAfr - 1);
    }

  private:
    // The digits the live cycle's answers carry, from the module's working data.
    live::DigitStore digits() const {
        live::DigitStore d;
        auto word = [this](int address, double* out) {
            const int w = m_memory.workWord(address);
            for (int i = 0; i < 4; ++i) out[i] = (w >> (4 * i)) & 0xF;
        };
        auto byte = [this](int address, double* out) {
            const int b = m_memory.work[std::size_t(address)];
            out[0] = b & 0xF;
            out[1] = b >> 4;
        };
        word(sim::work::FuelCalibration, d.rashTopl.data());
        word(sim::work::Lambda1Signal, &d.sensors[0]);
        word(sim::work::Lambda1Base, &d.sensors[4]);
        word(sim::work::Lambda2Signal, &d.sensors[8]);
        word(sim::work::Lambda2Base, &d.sensors[12]);
        byte(sim::work::FuelCounter, &d.counters[0]);
        word(sim::work::FuelCounter + 1, &d.counters[2]);
        word(sim::work::MafOutPeriod, &d.counters[6]);
        byte(sim::work::InjectionTime, &d.counters[10]);
        word(sim::work::FuelFlow, &d.flows[0]);
        word(sim::work::MafInPeriod, &d.flows[4]);
        word(sim::work::CrankPeriod, &d.flows[8]);
        word(sim::work::MafVoltage, &d.flows[12]);
        return d;
    }

    Options m_o;
    sim::SimMemory m_memory;
    sim::EngineModel m_engine;
    std::array<std::vector<double>, 12> m_columns;
};

// `seconds` of the tuning cycle at 100 ms, recorded by a wideband engine into an archive's
// columns (for the benchmarks of long recordings).
inline void recordInto(SampleTable& archive, double seconds) {
    Engine e{Options{}};
    e.record(seconds);
    const int n = e.rows();
    std::vector<std::vector<double>> columns(12, std::vector<double>(std::size_t(n)));
    const analysis::ValueOf from = e.value();
    for (int col = 0; col < 12; ++col)
        for (int row = 1; row <= n; ++row) columns[std::size_t(col)][std::size_t(row - 1)] = from(row, col);
    archive.appendRows(columns);
}

} // namespace loop
