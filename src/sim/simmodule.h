#pragma once
// The simulated module: a complete counterpart of the real add-on module on the master
// side of a pseudo-terminal. The tool opens the slave side like any serial device, so the
// whole exchange (port, timers, receive handler) runs for real. Used by the demo ports of
// the port list and by the tests, which inspect its memory and the commands it received.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace sim {

struct MixtureOptions;

enum class Model { TR70, TR90 };

// Fault options; all off by default. Tests switch them at any time (thread-safe).
struct Faults {
    bool silent = false;            // read everything, answer nothing (items are recorded, not executed)
    int answerLimit = -1;           // answer only this many items, then fall silent (-1: no limit)
    int splitAfter = 0;             // >0: send the first N characters of each answer, pause, then the rest
                                    //     (an answer: all items of one received command text)
    int splitPauseMs = 0;           // length of that pause (ms)
    bool lowerCaseDigits = false;   // answer hex letters in lower case
    bool garbage = false;           // answer reads with non-hex characters
    bool refuseWrites = false;      // answer write and action items with "?" instead of "!"
    int delayMs = 0;                // extra delay before each answer
    QString badItem;                // an item text (e.g. "F7*") to answer (it still takes effect) with ...
    QString badAnswer;              // ... this text instead (e.g. "4G ")
    int badAnswerCount = 0;         // ... this many times (then answer normally); -1: always

    // A USB serial adapter between the tool and the module: it holds what the module sends
    // until its latency timer runs out and hands an answer over in pieces, each piece at
    // once. When set, these replace delayMs, splitAfter and the character pacing.
    int adapterDelayMs = 0;         // >0: the first piece of each answer leaves this long after its command came
    int adapterPieces = 2;          // ... the answer cut into this many pieces, the first the shortest
    int adapterGapMs = 0;           // ... this far apart
};

// One piece of an answer as it went onto the line: when (steady clock, ns) and what.
struct SentPiece {
    qint64 atNs = 0;
    QByteArray bytes;
};

// Sensors fitted to the simulated car. They decide what the module measures (and therefore
// the identification bytes that tell the tool the sensor types); the registers still hold
// the configuration the tool writes.
struct Equipment {
    bool lambda1Wideband = false;   // Lambda channel 1: zirconia (false) or wideband (true)
    bool lambda2Wideband = false;   // Lambda channel 2
    bool digitalMaf = false;        // MAF sensor with frequency output instead of 0..5 V
};

class SimModulePrivate;

class SimModule {
public:
    explicit SimModule(Model model);
    // Same, with the sensor equipment and the engine model's random seed (equal seeds and
    // equal engine steps give equal live data).
    SimModule(Model model, const Equipment& equipment, quint32 seed = 1);
    ~SimModule(); // stops the thread and closes the pseudo-terminal

    SimModule(const SimModule&) = delete;
    SimModule& operator=(const SimModule&) = delete;

    // Opens a pseudo-terminal and starts serving on its own thread. Returns false and
    // fills *error when the pseudo-terminal cannot be opened.
    bool start(QString* error = nullptr);
    // Stops serving and closes the master side; the slave device disappears.
    void stop();
    bool isRunning() const;
    // Path of the slave device, e.g. "/dev/pts/5"; valid after start().
    QString slavePath() const;

    // Simulates an unplugged adapter: the master side closes at once, so the tool's
    // next read or write on the slave fails.
    void vanish();

    Model model() const;
    Equipment equipment() const;
    // Fits other sensors, e.g. a wideband sensor 1 before the tool connects; the working
    // data (and so the identification's sensor bytes) follow at once.
    void setEquipment(const Equipment& equipment);

    // Non-volatile memory (settings registers, tables, curves, identifier), 256 bytes.
    quint8 reg(int address) const;
    void setReg(int address, quint8 value);
    QByteArray regs() const;
    // Working data (live values, identification bytes), 256 bytes; words are little-endian.
    quint8 work(int address) const;
    void setWork(int address, quint8 value);
    quint16 workWord(int address) const;

    // Every complete command item received, in order ("47%", "C331)", "0004$", ...).
    QStringList receivedItems() const;
    // Raw chunks as read from the line, in order (one transfer tick's write is usually one chunk).
    QList<QByteArray> receivedChunks() const;
    // The answers' pieces as written to the line, in order, with their times.
    QList<SentPiece> sentPieces() const;
    void clearReceived(); // also forgets the sent pieces

    // Replaces the fault options; the answer limit counts from this call.
    void setFaults(const Faults& faults);
    Faults faults() const;

    // The engine model that moves the live working data; running by default. While it is
    // stopped, setWork() values stay as written.
    void setEngineRunning(bool running);
    bool isEngineRunning() const;
    // Advances the engine model by this many seconds at once (deterministic; for tests,
    // usually with the engine stopped so that the serving thread does not move it too).
    void stepEngine(double seconds);
    // Current vehicle speed of the engine model, km/h (not part of the module's data).
    double vehicleSpeed() const;

    // The mixture that answers the MAF table, and its tuning cycle (sim/mixture.h); off by
    // default.
    void setMixture(const MixtureOptions& options);
    // For tests only: the correction in units that brings cell (c, r) of the MAF table to
    // the target air/fuel ratio (NaN where the engine never gets there), as the mixture in
    // force needs it.
    double mixtureNeed(int c, int r, double targetAfr) const;
    // Engine seconds per second of the clock on the serving thread (1 by default): a demo
    // drives its cycle this much faster; the sensor's delay and lag are in engine time.
    void setEngineTimeScale(double scale);

private:
    std::unique_ptr<SimModulePrivate> d;
};

} // namespace sim
