// cedar's start-up with the whole construction of page 1 at its paced speed
// (no F1), each step button clicked as soon as it comes up: the wall time
// against the sum of the page's waits and line times (41 s), and the CPU the
// process used meanwhile.
#include "chapter_catalog.h"
#include "form1.h"
#include "paced_run.h"
#include "label_button.h"
#include "state.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <chrono>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

// The square 8 s, step 2's pauses 8.7 s, step 3's 1.5 s, the blinking of
// step 4 19.2 s, the diagonals 3.6 s.
constexpr double ruleSeconds = 8.0 + 8.7 + 1.5 + 19.2 + 3.6;

// Clicks every step button the moment it is shown.
class PromptReader : public QObject {
public:
    int clicks = 0;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show)
            if (auto* b = qobject_cast<LabelButton*>(o); b && b->text().startsWith("Step"))
                QTimer::singleShot(0, b, [this, b] {
                    QTest::mouseClick(b, Qt::LeftButton);
                    ++clicks;
                });
        return false;
    }
};

void BM_Construction(benchmark::State& state) {
    for (auto _ : state) {
        resetShellState();
        auto chapter = makeChapter(QStringLiteral("cedar"));
        if (!chapter) {
            state.SkipWithError("no cedar chapter");
            return;
        }
        PromptReader reader;
        qApp->installEventFilter(&reader);
        Form1 window(*chapter);
        window.setZoom(benchZoom());
        const double cpu0 = cpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        window.Form_Load();
        runEventsUntil([&] { return window.startupDone(); });
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        const double cpu = cpuSeconds() - cpu0;
        qApp->removeEventFilter(&reader);
        state.SetIterationTime(wall);
        state.counters["clicks"] = reader.clicks;
        state.counters["rule_s"] = ruleSeconds;
        state.counters["wall_over_rule"] = wall / ruleSeconds;
        state.counters["cpu_over_wall"] = cpu / wall;
    }
}

}  // namespace

int main(int argc, char** argv) {
    return runPacedBenchmark(argc, argv, "paced/cedar/construction", BM_Construction);
}
