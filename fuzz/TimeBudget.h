// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <ctime>

// Ends the run when one input took more processor time than a fixed allowance plus a little
// per byte: the readers of outside data must stay linear in their input, or a crafted file
// stalls the one-minute tick. Thread time, so a busy machine does not count.
class TimeBudget {
public:
    explicit TimeBudget(std::size_t bytes, double baseMs = 100, double perByteUs = 2)
        : m_limitMs(baseMs + perByteUs * double(bytes) / 1000.0), m_start(now()) {}
    ~TimeBudget() {
        const double took = now() - m_start;
        if (took > m_limitMs) {
            std::fprintf(stderr, "one input took %.1f ms, over its budget of %.1f ms\n", took,
                         m_limitMs);
            std::abort();
        }
    }
    TimeBudget(const TimeBudget&) = delete;
    TimeBudget& operator=(const TimeBudget&) = delete;

private:
    static double now() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
    }
    double m_limitMs;
    double m_start;
};
