// What the benchmarks of paced drawing share: the process's CPU time, and a
// main() that runs one such benchmark once in a Qt application with the page
// faces installed (paced drawing takes seconds; one run is the measurement).
#pragma once

#include "faces.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

using namespace typeset;

inline double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

// The zoom the window is shown at: BENCH_ZOOM per cent, 100 unless set.
inline int benchZoom() {
    bool ok = false;
    const int z = qEnvironmentVariableIntValue("BENCH_ZOOM", &ok);
    return ok ? z : 100;
}

inline int runPacedBenchmark(int argc, char** argv, const char* name,
                             void (*bench)(benchmark::State&)) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFaceSubstitutions();
    benchmark::RegisterBenchmark(name, bench)
        ->UseManualTime()
        ->Unit(benchmark::kSecond)
        ->Iterations(1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
