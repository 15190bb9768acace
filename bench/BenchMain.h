// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the benchmarks share: the Qt application object the measured code needs around the
// Google Benchmark runner, the settings every figure is reported with, set-up kept for all
// repetitions of a benchmark, and timing one pass by hand where untimed preparation between
// passes is too short for pausing the timers to stay out of the figure.

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <memory>
#include <utility>
#include <vector>

namespace Bench {

// The quietest repetition: the closest to the uncontended cost on a shared machine.
inline double minimum(const std::vector<double>& v) {
    return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
}

// Milliseconds, a fixed number of repetitions (and of passes each, when given), and only
// the aggregates: mean, median, spread and the minimum.
inline benchmark::internal::Benchmark* standard(benchmark::internal::Benchmark* b, int repetitions,
                                                int passes = 0) {
    b->Unit(benchmark::kMillisecond)
        ->Repetitions(repetitions)
        ->ComputeStatistics("min", minimum)
        ->ReportAggregatesOnly(true);
    if (passes > 0)
        b->Iterations(passes);
    return b;
}

// Set-up made once and kept for every repetition; released before the application object
// goes, since much of it holds widgets or database connections.
inline std::vector<std::shared_ptr<void>>& keptSetUps() {
    static std::vector<std::shared_ptr<void>> kept;
    return kept;
}

template <class T> T& keep(std::unique_ptr<T> setUp) {
    T& ref = *setUp;
    keptSetUps().push_back(std::shared_ptr<T>(std::move(setUp)));
    return ref;
}

// Times one pass of a benchmark registered with UseManualTime().
template <class F> void timePass(benchmark::State& state, F&& pass) {
    const auto start = std::chrono::steady_clock::now();
    std::forward<F>(pass)();
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

// Runs the registered benchmarks under an application object of type `App`. Widgets and
// pictures are drawn off-screen unless the caller chose a platform.
template <class App> int run(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    while (!keptSetUps().empty())
        keptSetUps().pop_back();
    return 0;
}

} // namespace Bench
