// What the benchmarks of paced drawing share: the process's CPU time, and a
// main() that runs one such benchmark once in a Qt application with the page
// faces installed (paced drawing takes seconds; one run is the measurement).
#pragma once

#include "faces.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <sys/resource.h>

using namespace typeset;

inline double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

// The longest the event loop is held while a paced drawing runs: a 5 ms
// heartbeat timer, and the processor time the thread used between two of
// its beats (its own time, so other work on the machine does not count).
class LoopHold {
public:
    LoopHold() {
        beat_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&beat_, &QTimer::timeout, [this] {
            const double t = threadMs();
            longestMs = std::max(longestMs, t - last_);
            last_ = t;
        });
        last_ = threadMs();
        beat_.start(5);
    }
    double longestMs = 0;

private:
    static double threadMs() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) * 1e3 + double(t.tv_nsec) * 1e-6;
    }
    QTimer beat_;
    double last_ = 0;
};

// Runs the event loop until done() holds: a paced drawing shows after the
// call that began it has returned.
template <typename Done>
void runEventsUntil(Done done) {
    while (!done()) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
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
