// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <ctime>

// Ends the run when one input takes more processor time than a fixed allowance plus a little
// per byte: the readers of outside data must stay linear in their input, or a crafted file
// stalls the one-minute tick. Thread time, so a busy machine does not count; an input over
// the allowance is tried once more, since a reader that is not linear is slow every time and
// a stalled virtual machine only once.
template <typename Body>
int withinTimeBudget(std::size_t bytes, Body&& body, double baseMs = 100, double perByteUs = 2) {
    const auto now = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
    };
    const double limitMs = baseMs + perByteUs * double(bytes) / 1000.0;
    double took = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const double start = now();
        body();
        took = now() - start;
        if (took <= limitMs)
            return 0;
    }
    std::fprintf(stderr, "one input took %.1f ms twice over, over its budget of %.1f ms\n", took,
                 limitMs);
    std::abort();
}
