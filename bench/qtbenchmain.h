#pragma once

// main() of the benchmarks that need windows: a QApplication on the offscreen platform
// around Google Benchmark's own main.

#include <QApplication>

#include <benchmark/benchmark.h>

#include <functional>

namespace blikon::bench {

inline int runWindowBenchmarks(int argc, char** argv, const std::function<void()>& afterRuns = {})
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (afterRuns)
        afterRuns();
    return 0;
}

}  // namespace blikon::bench
