// alder's page 3 traced at its paced speed (no F1): the wall time against
// the time the pacing rule implies (0.02 s per canvas unit of each curve's
// last plotted x, summed over the curves), and the CPU the process used
// while it waited, and the longest the event loop was held meanwhile.
#include "chapter_catalog.h"
#include "form1.h"
#include "paced_run.h"
#include "replay.h"
#include "state.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <chrono>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

void BM_PacedTrace(benchmark::State& state) {
    auto chapter = makeChapter(QStringLiteral("alder"));
    if (!chapter) {
        state.SkipWithError("no alder chapter");
        return;
    }
    Form1 window(*chapter);
    window.setZoom(benchZoom());
    window.Form_Load();
    SkipWait = 0;
    for (auto _ : state) {
        const double cpu0 = cpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        LoopHold hold;
        window.ShowThisPic(3);
        runEventsUntil([&] { return !Replay::on(window.pic(3).canvas()); });
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        const double cpu = cpuSeconds() - cpu0;
        // Each curve ends with a drop from its last plotted point straight down
        // to the bottom of the frame.
        double rule = 0;
        int curves = 0;
        for (const DrawOp& op : window.pic(3).canvas().picture().ops())
            if (op.kind == DrawOp::Line && op.pen.width == 2 && op.x1 == op.x2 && op.y2 > op.y1) {
                rule += 0.02 * op.x1;
                ++curves;
            }
        state.SetIterationTime(wall);
        state.counters["curves"] = curves;
        state.counters["rule_s"] = rule;
        state.counters["wall_over_rule"] = rule > 0 ? wall / rule : 0;
        state.counters["cpu_over_wall"] = cpu / wall;
        state.counters["longest_hold_ms"] = hold.longestMs;
    }
}

}  // namespace

int main(int argc, char** argv) {
    return runPacedBenchmark(argc, argv, "paced/alder/p3", BM_PacedTrace);
}
