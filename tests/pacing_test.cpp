// The paced wait: it lets events run, ends at the deadline or on SkipWait,
// and sleeps in the event loop rather than spinning.
#include "pacing.h"
#include "context.h"
#include "backends/recording_canvas.h"
#include "state.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <sys/resource.h>

using namespace typeset;
using namespace shell;

namespace {

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

class PacingTest : public ::testing::Test {
protected:
    void SetUp() override { resetShellState(); }
    void TearDown() override {
        setPacingClock(nullptr);
        resetShellState();
    }
};

}  // namespace

TEST_F(PacingTest, EndsWhenTheClockReachesTheDeadline) {
    auto owned = std::make_unique<ManualClock>();
    ManualClock* clock = owned.get();
    setPacingClock(std::move(owned));

    // Deadline already passed, or exactly now: no waiting at all.
    QElapsedTimer wall;
    wall.start();
    clock->now = 7;
    waitUntil(6.5);
    waitUntil(7);
    EXPECT_LT(wall.elapsed(), 50);

    // The test clock stands still until an event moves it: the wait ends
    // then, not when a real-time timer for the remaining span would fire.
    int ran = 0;
    QTimer::singleShot(30, [&] { ++ran; });
    QTimer::singleShot(60, [&] { clock->now = 100; });
    wall.restart();
    waitUntil(50);
    EXPECT_EQ(ran, 1);  // events ran during the wait
    EXPECT_GE(wall.elapsed(), 55);
    EXPECT_LT(wall.elapsed(), 2000);
}

TEST_F(PacingTest, SkipWaitEndsTheWaitAtOnce) {
    SkipWait = 1;
    QElapsedTimer wall;
    wall.start();
    waitUntil(pacingClock().seconds() + 30);
    EXPECT_LT(wall.elapsed(), 50);

    // Set by an event in the middle of a long wait (as the F1 key does).
    SkipWait = 0;
    QTimer::singleShot(50, [] { SkipWait = 1; });
    wall.restart();
    waitUntil(pacingClock().seconds() + 30);
    EXPECT_LT(wall.elapsed(), 2000);
}

TEST_F(PacingTest, WaitsOnTheRealClockWithoutSpinning) {
    const double start = pacingClock().seconds();
    const double cpu0 = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    // Many short waits, as a traced curve makes them, then one long one.
    for (int k = 1; k <= 25; ++k) waitUntil(start + 0.02 * k);
    waitUntil(start + 1.0);
    const double cpu = cpuSeconds() - cpu0;
    EXPECT_GE(pacingClock().seconds(), start + 1.0);
    EXPECT_LT(wall.elapsed(), 1500);
    // A spinning wait would use a whole second of CPU here.
    EXPECT_LT(cpu, 0.05) << "CPU seconds during a 1 s wait";
    RecordProperty("cpu_ms_per_second_of_waiting", int(cpu * 1000));
}

// A paced drawing's waits give the context back to whatever runs meanwhile,
// and take their own back afterwards.
TEST_F(PacingTest, APacedDrawingKeepsItsContextAcrossAWait) {
    RecordingCanvas canvas, other;
    CurPic = &canvas;
    canvas.DrawWidth = 1;
    PacedDrawing drawing(canvas);
    int graphTop = 10;
    drawing.keep(graphTop);

    canvas.DrawWidth = 2;  // a thick curve is being traced
    PenX = 50;
    int seenWidth = 0;
    bool raised = false;
    QTimer::singleShot(20, [&] {
        seenWidth = canvas.DrawWidth;  // as at the drawing's start
        CurPic = &other;               // a page change or a print
        PenX = 7;
        graphTop = 99;
        raised = true;
    });
    EXPECT_TRUE(drawing.waitFor([&] { return raised; }));
    EXPECT_EQ(seenWidth, 1);
    EXPECT_EQ(canvas.DrawWidth, 2);
    EXPECT_EQ(CurPic, &canvas);
    EXPECT_EQ(PenX, 50);
    EXPECT_EQ(graphTop, 10);
    CurPic = nullptr;
}

TEST_F(PacingTest, ANewerDrawingOfTheSameCanvasTakesOver) {
    RecordingCanvas canvas;
    PacedDrawing older(canvas);
    bool done = false;
    QTimer::singleShot(20, [&] {
        PacedDrawing newer(canvas);
        canvas.DrawWidth = 3;
        EXPECT_TRUE(newer.current());
        done = true;
    });
    EXPECT_FALSE(older.waitFor([&] { return done; }));
    EXPECT_EQ(canvas.DrawWidth, 3);  // left as the newer drawing left it
    EXPECT_FALSE(older.current());
}
