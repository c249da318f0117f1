// Cost of one pass of the port watcher: asking the system for its serial ports (on the
// watcher's worker thread) and comparing them with the list (on the user-interface thread),
// with the set unchanged as it is nearly always; and, for scale, following a change.
// Prints figures.
//   xvfb-run -a build/bench_ports
#include "benchutil.h"
#include "link/portwatcher.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>

#include <cstdio>
#include <vector>

namespace {

struct Figures {
    std::vector<double> wall, cpu;
    void add(double wallMs, double cpuMs) {
        wall.push_back(wallMs);
        cpu.push_back(cpuMs);
    }
    void print(const char* what) const {
        const bench::Stats w = bench::stats(wall), c = bench::stats(cpu);
        std::printf("%-44s wall p50 %7.3f  p95 %7.3f  max %7.3f ms | cpu p50 %7.3f  p95 %7.3f ms\n", what, w.p50,
                    w.p95, w.max, c.p50, c.p95);
    }
};

template <typename F> Figures measure(int n, F&& pass) {
    Figures f;
    for (int i = 0; i < n; ++i) {
        QElapsedTimer t;
        t.start();
        const double c0 = bench::cpuMs();
        pass(i);
        f.add(double(t.nsecsElapsed()) / 1e6, bench::cpuMs() - c0);
    }
    return f;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int n = 300;
    const QStringList system = PortWatcher::systemPorts();
    std::printf("%lld serial ports on this machine; one pass every %d ms while no port is open\n",
                qint64(system.size()), PortWatcher::DefaultIntervalMs);

    // The real pass: the system asked on the watcher's worker thread, the answer compared
    // with a list that shows it on the user-interface thread.
    QComboBox real;
    real.addItems(PortWatcher::portList(system));
    PortWatcher watcher(&real, [] { return false; });
    const Figures listing = measure(n, [](int) { (void)PortWatcher::systemPorts(); });
    listing.print("asking the system (worker thread)");
    const Figures unchanged = measure(n, [&](int) { watcher.follow(system); });
    unchanged.print("comparing, set unchanged (interface thread)");

    // A machine with many adapters: the comparison alone, and a pass that follows a change.
    QStringList many;
    for (int i = 0; i < 32; ++i) many << QStringLiteral("/dev/ttyUSB%1").arg(i);
    QComboBox big;
    big.addItems(PortWatcher::portList(many));
    QStringList fake = many;
    PortWatcher fakeWatcher(&big, [] { return false; }, [&fake] { return fake; });
    measure(n, [&](int) { fakeWatcher.follow(fake); }).print("comparing, 32 ports unchanged");
    const Figures change = measure(n, [&](int i) {
        fake = many;
        if (i % 2 == 0) fake.removeAt(i % many.size());
        fakeWatcher.follow(fake);
    });
    change.print("following, 32 ports, one comes or goes");

    std::printf("share of one core: worker %.3f %%, interface thread %.4f %%\n",
                bench::stats(listing.cpu).p50 / PortWatcher::DefaultIntervalMs * 100.0,
                bench::stats(unchanged.cpu).p50 / PortWatcher::DefaultIntervalMs * 100.0);
    return 0;
}
