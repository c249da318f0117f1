#pragma once
// What the benchmarks measure with: heap and resident memory, thread CPU time, and the
// percentiles of a series of timings.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <malloc.h>
#include <vector>

namespace bench {

// Bytes in use from malloc: the arenas' chunks and the blocks too large for an arena, which
// malloc maps on their own (a column of a long recording is one such block until it is
// reallocated into an arena).
inline double heapMB() {
    const struct mallinfo2 m = mallinfo2();
    return double(m.uordblks + m.hblkhd) / (1024.0 * 1024.0);
}

inline double rssMB() {
    FILE* f = std::fopen("/proc/self/statm", "r");
    long pages = 0, resident = 0;
    if (f) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return double(resident) * 4096.0 / (1024.0 * 1024.0);
}

// CPU time of the calling thread: what the work costs, without the waits for a core that
// other programs on the machine cause.
inline double cpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

struct Stats {
    double p50, p95, p99, max;
};

inline Stats stats(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    auto at = [&](double q) { return v[std::min(v.size() - 1, std::size_t(q * double(v.size())))]; };
    return {at(0.5), at(0.95), at(0.99), v.back()};
}

} // namespace bench
