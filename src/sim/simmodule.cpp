#include "sim/simmodule.h"

#include "sim/enginemodel.h"
#include "sim/simmemory.h"
#include "sim/simprotocol.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {

// 19200 baud, 8N1: ten bit times per character.
constexpr int MicrosPerChar = 521;
// A UART hands the characters over a few at a time.
constexpr int CharsPerPiece = 4;
constexpr int EngineTickMs = 20;
// Bounds on the recorded items and chunks, so that a demo port polled for hours does not
// grow without limit; the newest entries are kept.
constexpr int MaxRecorded = 100000;
constexpr int RecordSlack = 10000;

template <typename List> void appendBounded(List& list, const typename List::value_type& entry) {
    list.append(entry);
    if (list.size() > MaxRecorded + RecordSlack) list.remove(0, list.size() - MaxRecorded);
}

} // namespace

class SimModulePrivate {
  public:
    SimModulePrivate(Model m, const Equipment& eq, quint32 seed)
        : model(m), equipment(eq), memory(initialMemory(m, eq)), responder(&memory), engine(seed) {
        engine.writeWorkingData(memory, model, equipment);
    }

    using Clock = std::chrono::steady_clock;

    void run();
    void handleChunk(const QByteArray& chunk);
    void sendAnswer(const QByteArray& answer, Clock::time_point commandAt);
    bool sendThroughAdapter(const QByteArray& answer, Clock::time_point commandAt, const Faults& f);
    bool writePaced(const QByteArray& bytes);
    // Writes one piece onto the line at once and records it.
    bool writePiece(const QByteArray& piece);
    // Sleeps, but wakes at once when stop() or vanish() asks; false in that case.
    bool pause(qint64 micros);
    bool pauseUntil(Clock::time_point when);
    bool stopping() const { return stopRequested.load(); }
    void wake();
    void closeAll();

    const Model model;
    Equipment equipment;

    mutable std::mutex mutex; // guards everything below up to the thread handles
    SimMemory memory;
    SimResponder responder;
    ItemParser parser;
    EngineModel engine;
    bool engineRunning = true;
    double timeScale = 1;
    QStringList items;
    QList<QByteArray> chunks;
    QList<SentPiece> sent;

    int master = -1;
    int wakeRead = -1;
    int wakeWrite = -1;
    QString slavePath;
    std::thread thread;
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> running{false};
};

bool SimModulePrivate::pause(qint64 micros) {
    if (stopping()) return false;
    if (micros <= 0) return true;
    pollfd p{wakeRead, POLLIN, 0};
    timespec ts{time_t(micros / 1000000), long(micros % 1000000) * 1000};
    ppoll(&p, 1, &ts, nullptr);
    return !stopping();
}

void SimModulePrivate::wake() {
    if (wakeWrite >= 0) {
        const char c = 'x';
        [[maybe_unused]] const ssize_t n = ::write(wakeWrite, &c, 1);
    }
}

bool SimModulePrivate::pauseUntil(Clock::time_point when) {
    return pause(std::chrono::duration_cast<std::chrono::microseconds>(when - Clock::now()).count());
}

bool SimModulePrivate::writePiece(const QByteArray& piece) {
    int done = 0;
    while (done < piece.size()) {
        const ssize_t n = ::write(master, piece.constData() + done, size_t(piece.size() - done));
        if (n > 0) {
            done += int(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            // Nobody is reading the slave side: wait a little, then give the rest up,
            // as a UART whose receiver is full loses characters.
            pollfd p{master, POLLOUT, 0};
            if (::poll(&p, 1, 100) <= 0 || stopping()) return false;
        } else {
            return false;
        }
    }
    const qint64 at =
        std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
    std::lock_guard lock(mutex);
    appendBounded(sent, SentPiece{at, piece});
    return true;
}

bool SimModulePrivate::writePaced(const QByteArray& bytes) {
    for (int pos = 0; pos < bytes.size(); pos += CharsPerPiece) {
        const QByteArray piece = bytes.mid(pos, CharsPerPiece);
        if (!writePiece(piece)) return false;
        if (!pause(qint64(piece.size()) * MicrosPerChar)) return false;
    }
    return true;
}

bool SimModulePrivate::sendThroughAdapter(const QByteArray& answer, Clock::time_point commandAt,
                                          const Faults& f) {
    // Each piece is due at a fixed time after the command, so a late wake-up of this
    // thread does not push the later pieces further out.
    const int pieces = std::clamp(f.adapterPieces, 1, int(answer.size()));
    for (int i = 0; i < pieces; ++i) {
        const int from = int(qint64(i) * answer.size() / pieces);
        const int to = int(qint64(i + 1) * answer.size() / pieces);
        const auto due = commandAt + std::chrono::milliseconds(f.adapterDelayMs + i * f.adapterGapMs);
        if (!pauseUntil(due) || !writePiece(answer.mid(from, to - from))) return false;
    }
    return true;
}

void SimModulePrivate::sendAnswer(const QByteArray& answer, Clock::time_point commandAt) {
    Faults f;
    {
        std::lock_guard lock(mutex);
        f = responder.faults();
    }
    if (f.adapterDelayMs > 0) {
        sendThroughAdapter(answer, commandAt, f);
        return;
    }
    if (!pause(qint64(f.delayMs) * 1000)) return;
    if (f.splitAfter > 0 && f.splitAfter < answer.size()) {
        if (!writePaced(answer.left(f.splitAfter))) return;
        if (!pause(qint64(f.splitPauseMs) * 1000)) return;
        writePaced(answer.mid(f.splitAfter));
    } else {
        writePaced(answer);
    }
}

void SimModulePrivate::handleChunk(const QByteArray& chunk) {
    const Clock::time_point commandAt = Clock::now();
    // All items completed by one chunk (usually one command text) are answered together,
    // item by item in order; the fault pauses apply to that whole answer.
    QByteArray answer;
    {
        std::lock_guard lock(mutex);
        appendBounded(chunks, chunk);
        for (const CommandItem& item : parser.feed(chunk)) {
            appendBounded(items, QString::fromLatin1(item.text));
            answer += responder.respond(item);
        }
    }
    if (!answer.isEmpty()) sendAnswer(answer, commandAt);
}

void SimModulePrivate::run() {
    auto lastEngine = Clock::now();
    char buf[512];
    while (!stopping()) {
        pollfd fds[2] = {{master, POLLIN, 0}, {wakeRead, POLLIN, 0}};
        ::poll(fds, 2, EngineTickMs);
        if (stopping()) break;
        if (fds[1].revents & POLLIN) {
            while (::read(wakeRead, buf, sizeof buf) > 0) {
            }
        }
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n > 0) handleChunk(QByteArray(buf, int(n)));
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            // No one has the slave side open (the tool has not connected or has closed the
            // port); the master reports a hang-up until someone does.
            {
                std::lock_guard lock(mutex);
                parser.reset();
            }
            pause(EngineTickMs * 1000);
        }

        const auto now = Clock::now();
        const double elapsed = std::chrono::duration<double>(now - lastEngine).count();
        if (elapsed * 1000 >= EngineTickMs) {
            lastEngine = now;
            std::lock_guard lock(mutex);
            // A long stall (debugger, loaded machine) is not made up for in one jump.
            if (engineRunning) engine.advance(std::min(elapsed, 0.5) * timeScale, memory, model, equipment);
        }
    }
}

void SimModulePrivate::closeAll() {
    if (master >= 0) ::close(master);
    if (wakeRead >= 0) ::close(wakeRead);
    if (wakeWrite >= 0) ::close(wakeWrite);
    master = wakeRead = wakeWrite = -1;
}

SimModule::SimModule(Model model) : SimModule(model, Equipment{}) {}

SimModule::SimModule(Model model, const Equipment& equipment, quint32 seed)
    : d(std::make_unique<SimModulePrivate>(model, equipment, seed)) {}

SimModule::~SimModule() {
    stop();
}

bool SimModule::start(QString* error) {
    auto fail = [&](const char* what) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(QLatin1String(what),
                                                  QString::fromLocal8Bit(std::strerror(errno)));
        d->closeAll();
        return false;
    };
    if (d->running) return true;
    if (d->thread.joinable()) d->thread.join(); // after vanish()
    d->closeAll();

    d->master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (d->master < 0) return fail("posix_openpt");
    if (::grantpt(d->master) != 0) return fail("grantpt");
    if (::unlockpt(d->master) != 0) return fail("unlockpt");
    char name[128];
    if (::ptsname_r(d->master, name, sizeof name) != 0) return fail("ptsname");

    // Raw line on the slave side before anyone opens it: no echo, no line editing, no
    // character translation, so every byte arrives as sent. The settings stay with the
    // pseudo-terminal when this descriptor closes.
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) return fail("open slave");
    termios tio{};
    if (::tcgetattr(slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B19200);
        ::cfsetospeed(&tio, B19200);
        ::tcsetattr(slave, TCSANOW, &tio);
    }
    ::close(slave);

    ::fcntl(d->master, F_SETFL, ::fcntl(d->master, F_GETFL) | O_NONBLOCK);
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return fail("pipe");
    d->wakeRead = pipeFds[0];
    d->wakeWrite = pipeFds[1];

    {
        std::lock_guard lock(d->mutex);
        d->slavePath = QString::fromLocal8Bit(name);
        d->parser.reset();
    }
    d->stopRequested = false;
    d->running = true;
    d->thread = std::thread([this] { d->run(); });
    return true;
}

void SimModule::stop() {
    d->stopRequested = true;
    d->wake();
    if (d->thread.joinable()) d->thread.join();
    d->closeAll();
    d->running = false;
}

void SimModule::vanish() {
    // The serving thread is woken from any pause and ends; closing the master then hangs
    // up the slave: the tool's reads see end of file and its writes fail with EIO.
    stop();
}

bool SimModule::isRunning() const {
    return d->running;
}

QString SimModule::slavePath() const {
    std::lock_guard lock(d->mutex);
    return d->slavePath;
}

Model SimModule::model() const {
    return d->model;
}
Equipment SimModule::equipment() const {
    std::lock_guard lock(d->mutex);
    return d->equipment;
}

void SimModule::setEquipment(const Equipment& equipment) {
    std::lock_guard lock(d->mutex);
    d->equipment = equipment;
    d->engine.writeWorkingData(d->memory, d->model, d->equipment);
}

quint8 SimModule::reg(int address) const {
    std::lock_guard lock(d->mutex);
    return d->memory.regs[address & 0xFF];
}

void SimModule::setReg(int address, quint8 value) {
    std::lock_guard lock(d->mutex);
    d->memory.regs[address & 0xFF] = value;
}

QByteArray SimModule::regs() const {
    std::lock_guard lock(d->mutex);
    return QByteArray(reinterpret_cast<const char*>(d->memory.regs.data()),
                      int(d->memory.regs.size()));
}

quint8 SimModule::work(int address) const {
    std::lock_guard lock(d->mutex);
    return d->memory.work[address & 0xFF];
}

void SimModule::setWork(int address, quint8 value) {
    std::lock_guard lock(d->mutex);
    d->memory.work[address & 0xFF] = value;
}

quint16 SimModule::workWord(int address) const {
    std::lock_guard lock(d->mutex);
    return d->memory.workWord(address);
}

QStringList SimModule::receivedItems() const {
    std::lock_guard lock(d->mutex);
    return d->items;
}

QList<QByteArray> SimModule::receivedChunks() const {
    std::lock_guard lock(d->mutex);
    return d->chunks;
}

QList<SentPiece> SimModule::sentPieces() const {
    std::lock_guard lock(d->mutex);
    return d->sent;
}

void SimModule::clearReceived() {
    std::lock_guard lock(d->mutex);
    d->items.clear();
    d->chunks.clear();
    d->sent.clear();
}

void SimModule::setFaults(const Faults& faults) {
    std::lock_guard lock(d->mutex);
    d->responder.setFaults(faults);
}

Faults SimModule::faults() const {
    std::lock_guard lock(d->mutex);
    return d->responder.faults();
}

void SimModule::setEngineRunning(bool running) {
    std::lock_guard lock(d->mutex);
    d->engineRunning = running;
}

bool SimModule::isEngineRunning() const {
    std::lock_guard lock(d->mutex);
    return d->engineRunning;
}

void SimModule::stepEngine(double seconds) {
    std::lock_guard lock(d->mutex);
    d->engine.advance(seconds, d->memory, d->model, d->equipment);
}

double SimModule::vehicleSpeed() const {
    std::lock_guard lock(d->mutex);
    return d->engine.vehicleSpeed();
}

void SimModule::setMixture(const MixtureOptions& options) {
    std::lock_guard lock(d->mutex);
    d->engine.setMixture(options);
}

double SimModule::mixtureNeed(int c, int r, double targetAfr) const {
    std::lock_guard lock(d->mutex);
    return d->engine.mixture().need(c, r, targetAfr);
}

void SimModule::setEngineTimeScale(double scale) {
    std::lock_guard lock(d->mutex);
    d->timeScale = std::clamp(scale, 0.01, 100.0);
}

} // namespace sim
