#pragma once

// What the benchmarks share: timing a step several times on a shared machine, and the one
// line per figure that bench/run.sh gathers into its table.

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace Bench {

// Processor time of the calling thread, which waiting for a busy core does not inflate.
inline double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct Timing {
    double median = 0;
    double best = 0; // the quietest run: the closest to the uncontended cost
    double worst = 0;
    double mean = 0;
    double cpu = 0; // median processor time
};

// Times `runs` passes of `pass` in milliseconds; `prepare` runs untimed before each.
inline Timing timeMs(int runs, const std::function<void()>& pass,
                     const std::function<void()>& prepare = {}) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer t;
        const double c = threadCpuMs();
        t.start();
        pass();
        wall.push_back(double(t.nsecsElapsed()) / 1e6);
        cpu.push_back(threadCpuMs() - c);
    }
    Timing out;
    for (double w : wall)
        out.mean += w / double(runs);
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    out.median = wall[wall.size() / 2];
    out.best = wall.front();
    out.worst = wall.back();
    out.cpu = cpu[cpu.size() / 2];
    return out;
}

// "BENCH <name> <value> <processor ms>": the machine-readable figure of one row of the
// table; `value` is the quietest wall time in ms unless the name says otherwise.
inline void line(const char* name, double value, double cpuMs) {
    std::printf("BENCH %s %.3f %.3f\n", name, value, cpuMs);
    std::fflush(stdout);
}

inline void line(const char* name, const Timing& t) {
    line(name, t.best, t.cpu);
}

} // namespace Bench
