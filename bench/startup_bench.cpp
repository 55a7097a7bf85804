// Start-up time and peak memory of each viewer, measured from outside: the
// time from spawning the process to its "ready" line (window shown, start-up
// pages drawn), and the child's peak resident set. Every viewer start is
// paired with a start of the floor (a bare Qt window), so the ratios compare
// runs made under the same load on a shared machine.
#include "chapter_catalog.h"

#include <QApplication>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace typeset;
using namespace shell;
using namespace chapters;

extern char** environ;

namespace {

struct Run {
    double seconds = 0;
    double paintedSeconds = 0;  // the first page painted ("painted", or "ready")
    long peakKb = 0;
    bool ok = false;
};

// One start of program (with chapter as its argument when not empty).
Run startOnce(const char* program, const std::string& chapter) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    const char* argv[] = {program, chapter.empty() ? nullptr : chapter.c_str(), nullptr};
    const auto t0 = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program, &actions, nullptr,
                               const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    Run run;
    if (rc != 0) {
        close(fds[0]);
        return run;
    }
    // Lines until "ready": a viewer says "painted" first.
    std::string out;
    char buf[64];
    ssize_t n = 0;
    while (out.find("ready\n") == std::string::npos && (n = read(fds[0], buf, sizeof buf)) > 0) {
        out.append(buf, size_t(n));
        const double at = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        if (run.paintedSeconds == 0 && out.find('\n') != std::string::npos) run.paintedSeconds = at;
        run.seconds = at;
    }
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.peakKb = usage.ru_maxrss;
    run.ok = out.find("ready\n") != std::string::npos && WIFEXITED(status) &&
             WEXITSTATUS(status) == 0;
    return run;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// An empty chapter measures the floor against itself.
void BM_Startup(benchmark::State& state, std::string chapter) {
    std::vector<double> times, floorTimes, painted;
    long peak = 0, floorPeak = 0;
    for (auto _ : state) {
        const Run floor = startOnce(STARTUP_FLOOR, {});
        const Run run = chapter.empty() ? floor : startOnce(STARTUP_PROBE, chapter);
        if (!floor.ok || !run.ok) {
            state.SkipWithError(floor.ok ? "the viewer did not start" : "the floor did not start");
            return;
        }
        state.SetIterationTime(run.seconds);
        times.push_back(run.seconds);
        painted.push_back(run.paintedSeconds);
        floorTimes.push_back(floor.seconds);
        peak = std::max(peak, run.peakKb);
        floorPeak = std::max(floorPeak, floor.peakKb);
    }
    if (times.empty()) return;
    // Medians: one start slowed by the other users of the machine should
    // not move the figure.
    const double t = median(times), f = median(floorTimes);
    state.counters["median_ms"] = t * 1e3;
    state.counters["floor_ms"] = f * 1e3;
    state.counters["time_x"] = t / f;
    state.counters["painted_ms"] = median(painted) * 1e3;
    state.counters["painted_x"] = median(painted) / f;
    state.counters["peak_MB"] = double(peak) / 1024.0;
    state.counters["floor_MB"] = double(floorPeak) / 1024.0;
    state.counters["memory_x"] = double(peak) / double(floorPeak);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);  // only for the chapter names
    benchmark::RegisterBenchmark("startup/floor", BM_Startup, std::string())
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10);
    for (const QString& name : chapterNames()) {
        if (name == QLatin1String("specimen")) continue;
        benchmark::RegisterBenchmark(("startup/" + name).toStdString().c_str(), BM_Startup,
                                     name.toStdString())
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(10);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
