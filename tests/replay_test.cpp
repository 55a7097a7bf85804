// A paced drawing recorded at once and shown over time: held canvases, the
// marks' timing, steps, pause, finishing, and a drawing replaced mid-way.
#include "backends/raster_canvas.h"
#include "backends/recording_canvas.h"
#include "context.h"
#include "replay.h"
#include "state.h"
#include "support/fast_clock.h"
#include "support/until_drawn.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace typeset;
using namespace shell;

namespace {

// A clearing and a fraction with its two parts, drawn on c.
void drawFraction(Canvas& c) {
    c.Cls();
    Construct f(c, Group::Fraction);
    const int bar = c.newestGroup();
    c.Line(0, 10, 20, 10, 0);
    drawPartOf(c, bar, Group::Numerator, [&] { c.PSet(5, 5, 0); });
    drawPartOf(c, bar, Group::Denominator, [&] { c.PSet(5, 15, 0); });
}

class ReplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetShellState();
        Replay::resetLateness();
    }
    void TearDown() override {
        Replay::forget(canvas);
        setPacingClock(nullptr);
        resetShellState();
    }
    static void run(int ms) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    size_t shown() const { return canvas.picture().ops().size(); }
    RasterCanvas canvas{100, 100};
};

}  // namespace

TEST(HeldCanvas, ShowsWhatWasHeldInOrderAndEndsAsIfDrawnAtOnce) {
    RecordingCanvas straight, held;
    drawFraction(straight);
    held.hold();
    drawFraction(held);
    EXPECT_TRUE(held.picture().empty());  // nothing shown yet
    EXPECT_EQ(held.newestGroup(), 2);     // the index the last group will have
    held.showHeld(2);                     // the clearing and the fraction's group
    EXPECT_EQ(held.picture().ops().size(), 1u);
    held.release();
    ASSERT_EQ(held.picture().ops().size(), straight.picture().ops().size());
    ASSERT_EQ(held.picture().groups().size(), 3u);
    for (size_t g = 0; g < 3; ++g) {
        const Group& a = held.picture().groups()[g];
        const Group& b = straight.picture().groups()[g];
        EXPECT_EQ(a.kind, b.kind);
        EXPECT_EQ(a.first, b.first);
        EXPECT_EQ(a.last, b.last);
        EXPECT_EQ(a.parent, b.parent);
    }
    // Held again and dropped: what was held never shows.
    held.hold();
    held.PSet(1, 1, 0);
    held.dropHeld();
    EXPECT_FALSE(held.held());
    EXPECT_EQ(held.picture().ops().size(), straight.picture().ops().size());
}

TEST_F(ReplayTest, ShowsEachMarkInTimeAndRunsItsActionOnce) {
    setPacingClock(std::make_unique<FastClock>(20));  // a second of the drawing in 50 ms
    int rang = 0;
    Replay* r = Replay::record(canvas, [&] {
        Pace pace(canvas);
        canvas.Cls();
        const Moment t0 = pace.now();
        for (int k = 1; k <= 4; ++k) {
            canvas.PSet(k, k, 0);
            pace.waitUntil(t0 + 1.0 * k);
        }
        pace.then([&] { ++rang; });
    });
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(shown(), 2u);  // the clearing and the first point, at once
    EXPECT_EQ(Replay::statusOn(canvas), QStringLiteral("描画中"));
    run(75);  // 1.5 s of the drawing
    EXPECT_EQ(shown(), 3u);
    EXPECT_EQ(rang, 0);
    EXPECT_TRUE(untilDrawn(canvas, 5000));
    EXPECT_EQ(shown(), 5u);
    EXPECT_EQ(rang, 1);
    EXPECT_EQ(Replay::statusOn(canvas), QString());
    EXPECT_LT(Replay::worstLateness(), 10.0);  // in the drawing's seconds
}

TEST_F(ReplayTest, APausedReplayStandsStillAndKeepsWhatIsLeftOfItsWait) {
    setPacingClock(std::make_unique<FastClock>(20));
    Replay* r = Replay::record(canvas, [&] {
        Pace pace(canvas);
        canvas.Cls();
        pace.waitUntil(pace.now() + 2.0);  // 100 ms
        canvas.PSet(1, 1, 0);
    });
    ASSERT_NE(r, nullptr);
    run(40);
    r->togglePause();
    EXPECT_EQ(Replay::statusOn(canvas), QStringLiteral("一時停止"));
    run(200);
    EXPECT_EQ(shown(), 1u);  // still waiting: the pause does not count
    r->togglePause();
    run(20);  // 40 + 20 ms of the 100: not yet
    EXPECT_EQ(shown(), 1u);
    EXPECT_TRUE(untilDrawn(canvas, 5000));
    EXPECT_EQ(shown(), 2u);
}

TEST_F(ReplayTest, AStepWaitsForItsReleaseAndLookingAheadShowsItsState) {
    bool released = false;
    int told = 0;
    Replay::setStatusHandler([&](const Canvas&) { ++told; });
    Replay* r = Replay::record(canvas, [&] {
        Pace pace(canvas);
        canvas.Cls();
        pace.note(QStringLiteral("Step 1 / 2"));
        pace.waitFor([&] { return released; });
        canvas.PSet(1, 1, 0);
        pace.waitFor([] { return false; });  // never released: F1 ends it
        canvas.PSet(2, 2, 0);
    });
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(Replay::statusOn(canvas), QStringLiteral("Step 1 / 2、描画中"));
    RasterCanvas ahead(100, 100);
    r->lookAhead(ahead);
    EXPECT_EQ(ahead.picture().ops().size(), 2u);  // as it will stand at the next step
    run(20);
    EXPECT_EQ(shown(), 1u);
    released = true;
    Replay::poke();
    EXPECT_EQ(shown(), 2u);
    SkipWait = 1;
    Replay::finishAll();
    EXPECT_EQ(shown(), 3u);
    EXPECT_GE(told, 3);  // begun, noted, finished
    Replay::setStatusHandler({});
}

TEST_F(ReplayTest, ADrawingRecordedAgainReplacesTheOneShowing) {
    setPacingClock(std::make_unique<FastClock>(20));
    int firstRang = 0, secondRang = 0;
    auto page = [this](int* rang) {
        return [this, rang] {
            Pace pace(canvas);
            canvas.Cls();
            pace.waitUntil(pace.now() + 1.0);
            canvas.PSet(1, 1, 0);
            pace.then([rang] { ++*rang; });
        };
    };
    Replay::record(canvas, page(&firstRang));
    Replay* second = Replay::record(canvas, page(&secondRang));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(Replay::on(canvas), second);
    EXPECT_TRUE(untilDrawn(canvas, 5000));
    run(100);
    EXPECT_EQ(firstRang, 0);
    EXPECT_EQ(secondRang, 1);
    EXPECT_EQ(shown(), 2u);
}

TEST_F(ReplayTest, UnrecordedTheDrawingGoesStraightThrough) {
    // Paper, a PDF, a tool: no recording, so nothing is held or waited for.
    int asked = 0, ran = 0;
    Pace pace(canvas);
    EXPECT_FALSE(pace.recorded());
    canvas.Cls();
    pace.waitUntil(pace.now() + 100.0);
    pace.waitFor([&] { return ++asked > 5; });
    pace.then([&] { ++ran; });
    canvas.PSet(1, 1, 0);
    EXPECT_FALSE(canvas.held());
    EXPECT_EQ(shown(), 2u);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ran, 1);
    // And a page routine that paces nothing leaves no replay.
    EXPECT_EQ(Replay::record(canvas, [&] { canvas.Cls(); }), nullptr);
}
