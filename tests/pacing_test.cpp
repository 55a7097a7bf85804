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
    EXPECT_LT(wall.elapsed(), 1000);  // a wait would be 30 s or for ever

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
    EXPECT_LT(wall.elapsed(), 1000);  // a wait would be 30 s or for ever

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

// Whatever runs during a paced drawing's waits (another page, a print) may
// move the pen, switch CurPic and change chapter state: the drawing takes its
// own back afterwards, its canvas as it left it.
TEST_F(PacingTest, APacedDrawingKeepsItsContextAcrossAWait) {
    RecordingCanvas canvas, other;
    CurPic = &canvas;
    PacedDrawing drawing(canvas);
    int graphTop = 10;
    drawing.keep(graphTop);

    canvas.DrawWidth = 2;  // a thick curve is being traced
    PenX = 50;
    SupSize = 0.85f;
    bool raised = false;
    QTimer::singleShot(20, [&] {
        CurPic = &other;  // a page change or a print
        PenX = 7;
        SupSize = 0.75f;
        graphTop = 99;
        raised = true;
    });
    EXPECT_TRUE(drawing.waitFor([&] { return raised; }));
    EXPECT_EQ(canvas.DrawWidth, 2);
    EXPECT_EQ(CurPic, &canvas);
    EXPECT_EQ(PenX, 50);
    EXPECT_EQ(SupSize, 0.85f);
    EXPECT_EQ(graphTop, 10);
    CurPic = nullptr;
}

// The page of a drawing that waits is to be drawn again (the reader came
// back to it): the waiting drawing stops as soon as the events in hand have
// run, and only then may the fresh one begin, on the canvas as the stopped
// one found it.
TEST_F(PacingTest, ADrawingAskedToBeginAgainStopsAndLeavesTheCanvasAsItFoundIt) {
    RecordingCanvas canvas, other;
    canvas.DrawWidth = 1;
    EXPECT_FALSE(PacedDrawing::beginAgainOnceUnwound(canvas));  // nothing waits
    PacedDrawing::resetNesting();
    bool asked = false, otherAsked = true;
    {
        PacedDrawing drawing(canvas);
        canvas.DrawWidth = 2;
        QTimer::singleShot(20, [&] {
            otherAsked = PacedDrawing::beginAgainOnceUnwound(other);
            // Asked twice in one batch of events: still one fresh drawing.
            asked = PacedDrawing::beginAgainOnceUnwound(canvas) && PacedDrawing::beginAgainOnceUnwound(canvas);
        });
        QElapsedTimer wall;
        wall.start();
        EXPECT_FALSE(drawing.waitUntil(pacingClock().seconds() + 30));
        EXPECT_LT(wall.elapsed(), 2000);  // not at its deadline
        EXPECT_FALSE(drawing.current());
        EXPECT_FALSE(drawing.waitUntil(pacingClock().seconds() + 30));  // and no more waiting
        EXPECT_FALSE(PacedDrawing::beginAgainWanted(canvas));          // not before it has returned
    }
    EXPECT_TRUE(asked);
    EXPECT_FALSE(otherAsked);
    EXPECT_EQ(canvas.DrawWidth, 1);
    EXPECT_TRUE(PacedDrawing::beginAgainWanted(canvas));
    EXPECT_FALSE(PacedDrawing::beginAgainWanted(canvas));  // once
    EXPECT_EQ(PacedDrawing::nesting().deepest, 1);
    EXPECT_EQ(PacedDrawing::nesting().depth, 0);
}

// Under another drawing's wait (a paced print) the page's drawing cannot
// stop until that one has ended, so a drawing of the page begins at once
// there, from the canvas as the older one found it, and the older one gives
// way: even a wait for a click that never comes ends.
TEST_F(PacingTest, UnderAnotherDrawingsWaitANewerDrawingTakesOverAtOnce) {
    RecordingCanvas page, paper;
    page.DrawWidth = 1;
    PacedDrawing older(page);
    page.DrawWidth = 2;  // mid-curve
    PacedDrawing::resetNesting();
    bool asked = true, done = false;
    int startWidth = 0, depth = 0;
    QTimer::singleShot(10, [&] {
        PacedDrawing print(paper);
        QTimer::singleShot(10, [&] {
            asked = PacedDrawing::beginAgainOnceUnwound(page);
            PacedDrawing newer(page);
            EXPECT_TRUE(newer.current());
            startWidth = page.DrawWidth;
            page.DrawWidth = 3;
            depth = PacedDrawing::nesting().depth;
            done = true;
        });
        EXPECT_TRUE(print.waitFor([&] { return done; }));
    });
    EXPECT_FALSE(older.waitFor([] { return false; }));
    EXPECT_FALSE(asked);
    EXPECT_EQ(startWidth, 1);
    EXPECT_EQ(depth, 2);
    EXPECT_EQ(page.DrawWidth, 3);  // left as the newer drawing left it
    EXPECT_FALSE(older.current());
    EXPECT_FALSE(PacedDrawing::beginAgainWanted(page));
}

// A pause holds the drawing's own time: past its deadline on the clock, the
// wait goes on until it is resumed and then takes what was left of it, no
// more and no less. A click that comes while it is paused waits too.
TEST_F(PacingTest, APausedDrawingKeepsWhatIsLeftOfItsWait) {
    auto owned = std::make_unique<ManualClock>();
    ManualClock* clock = owned.get();
    setPacingClock(std::move(owned));
    RecordingCanvas canvas, elsewhere;
    EXPECT_FALSE(PacedDrawing::togglePause(canvas));  // nothing to pause
    clock->now = 10;
    PacedDrawing drawing(canvas);
    EXPECT_EQ(PacedDrawing::status(canvas), QStringLiteral("描画中"));
    std::vector<double> stillWaiting;
    QTimer::singleShot(20, [&] {
        clock->now = 11;
        EXPECT_TRUE(PacedDrawing::togglePause(canvas));
        EXPECT_FALSE(PacedDrawing::paused(elsewhere));
    });
    QTimer::singleShot(40, [&] { clock->now = 20; });  // 8 s past the deadline
    QTimer::singleShot(60, [&] {
        stillWaiting.push_back(clock->now);
        EXPECT_EQ(PacedDrawing::status(canvas), QStringLiteral("一時停止"));
        PacedDrawing::togglePause(canvas);  // 1 s of the wait left
    });
    QTimer::singleShot(80, [&] {
        stillWaiting.push_back(clock->now);
        clock->now = 20.5;
    });
    QTimer::singleShot(100, [&] {
        stillWaiting.push_back(clock->now);
        clock->now = 21;
    });
    EXPECT_TRUE(drawing.waitUntil(drawing.now() + 2));
    EXPECT_EQ(stillWaiting, (std::vector<double>{20, 20, 20.5}));
    EXPECT_EQ(clock->now, 21);
    EXPECT_EQ(drawing.now(), 12);

    drawing.setNote(QStringLiteral("Step 2 / 5"));
    PacedDrawing::togglePause(canvas);
    EXPECT_EQ(PacedDrawing::status(canvas), QStringLiteral("Step 2 / 5、一時停止"));
    bool clicked = false, resumed = false;
    QTimer::singleShot(20, [&] { clicked = true; });
    QTimer::singleShot(60, [&] {
        resumed = true;
        PacedDrawing::togglePause(canvas);
    });
    EXPECT_TRUE(drawing.waitFor([&] { return clicked; }));
    EXPECT_TRUE(resumed);
}
