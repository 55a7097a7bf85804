// Start-up time and peak memory of each viewer, measured from outside: the
// time from spawning the process to its "ready" line (window shown, start-up
// pages drawn), and the child's peak resident set.
#include "chapter_catalog.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct Run {
    double seconds = 0;
    long peakKb = 0;
    bool ok = false;
};

Run startOnce(const std::string& chapter) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    const char* argv[] = {STARTUP_PROBE, chapter.c_str(), nullptr};
    const auto t0 = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, STARTUP_PROBE, &actions, nullptr,
                               const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    Run run;
    if (rc != 0) {
        close(fds[0]);
        return run;
    }
    char buf[16];
    const ssize_t n = read(fds[0], buf, sizeof buf);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.peakKb = usage.ru_maxrss;
    run.ok = n > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

void BM_Startup(benchmark::State& state, std::string chapter) {
    long peak = 0;
    for (auto _ : state) {
        const Run run = startOnce(chapter);
        if (!run.ok) {
            state.SkipWithError("the viewer did not start");
            return;
        }
        state.SetIterationTime(run.seconds);
        peak = std::max(peak, run.peakKb);
    }
    state.counters["peak_MB"] = double(peak) / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);  // only for the chapter names
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
