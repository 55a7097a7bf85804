// Page 3 traced in a real viewer window: keys, page changes and closing in
// the middle of the paced drawing.
#include "alder/alder_chapter.h"
#include "end_program.h"
#include "form1.h"
#include "pacing_clock.h"
#include "replay.h"
#include "page_accessible.h"
#include "printer.h"
#include "sound.h"
#include "state.h"
#include "support/fast_clock.h"
#include "support/recording_printer.h"
#include "support/recording_sound.h"
#include "support/until_drawn.h"
#include "viewer_options.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

// The operations of page n from its last clearing on.
std::vector<DrawOp> pageOps(Form1& w, int n) { return w.pic(n).canvas().picture().ops(); }

// Also the drawing state of each operation: a drawing that starts while
// another waits must not pick up the other's line width or font.
bool sameOps(const std::vector<DrawOp>& a, const std::vector<DrawOp>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].kind != b[i].kind || a[i].x1 != b[i].x1 || a[i].y1 != b[i].y1 ||
            a[i].x2 != b[i].x2 || a[i].y2 != b[i].y2 || a[i].text != b[i].text ||
            a[i].pen.color != b[i].pen.color || a[i].pen.width != b[i].pen.width ||
            a[i].font.size != b[i].font.size || a[i].font.bold != b[i].font.bold || a[i].font.face != b[i].font.face)
            return false;
    return true;
}

class AlderTraceTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetContext();
        resetShellState();
        sounds = RecordingSound::install();
        setEndProgramHandler([this] { ++ended; });
        window = std::make_unique<Form1>(chapter);
        window->Form_Load();
        SkipWait = 0;
        // As after an earlier showing of page 3 (its graphs leave SupSize at
        // 0.85), so that every drawing of the page compared is alike.
        SupSize = 0.85f;
    }
    void TearDown() override {
        window.reset();
        setPacingClock(nullptr);
        setPagePrinter(nullptr);
        setEndProgramHandler({});
        resetShellState();
        CurPic = nullptr;
    }
    void keyAt(int ms, Qt::Key key) {
        QTimer::singleShot(ms, window.get(), [this, key] { QTest::keyClick(window.get(), key); });
    }
    // Page 3 as drawn at once, for comparison.
    std::vector<DrawOp> referencePage() {
        SkipWait = 1;
        window->ShowThisPic(3);
        return pageOps(*window, 3);
    }

    AlderChapter chapter;
    std::unique_ptr<Form1> window;
    std::shared_ptr<std::vector<std::string>> sounds;
    long ringouts() const { return std::count(sounds->begin(), sounds->end(), "complete"); }
    int ended = 0;
};

}  // namespace

TEST_F(AlderTraceTest, F1DuringTheTraceFinishesThePageAtOnce) {
    window->ShowThisPic(2);
    keyAt(400, Qt::Key_F1);
    QElapsedTimer wall;
    wall.start();
    QTest::keyClick(window.get(), Qt::Key_Down);  // enters page 3 and traces it
    EXPECT_TRUE(untilDrawn(window->pic(3).canvas()));
    // Traced at the paced speed the page takes over a minute.
    EXPECT_LT(wall.elapsed(), 5000);
    EXPECT_GE(wall.elapsed(), 350);
    EXPECT_EQ(SkipWait, 1);
    EXPECT_EQ(CurPage, 3);
    EXPECT_EQ(ringouts(), 1);
    const std::vector<DrawOp> traced = pageOps(*window, 3);
    EXPECT_TRUE(sameOps(traced, referencePage()));
}

TEST_F(AlderTraceTest, PageChangesDuringTheTraceLeaveBothPagesWhole) {
    // Home redraws page 0 in the middle of the trace; page 3 goes on on its
    // own box and page 0 gets nothing of it.
    keyAt(300, Qt::Key_Home);
    keyAt(600, Qt::Key_F1);
    window->ShowThisPic(3);
    EXPECT_TRUE(untilDrawn(window->pic(3).canvas()));
    EXPECT_EQ(CurPage, 0);
    for (const DrawOp& op : pageOps(*window, 0))
        EXPECT_FALSE(op.kind == DrawOp::Point || op.pen.width == 2) << op.x1 << "," << op.y1;
    const std::vector<DrawOp> traced = pageOps(*window, 3);
    EXPECT_EQ(ringouts(), 1);
    EXPECT_TRUE(sameOps(traced, referencePage()));
}

TEST_F(AlderTraceTest, ReenteringThePageReplacesTheTraceInProgress) {
    // Up and Down again draw page 3 afresh while the first drawing shows;
    // the first must not go on drawing over the new page.
    keyAt(300, Qt::Key_Up);
    keyAt(500, Qt::Key_Down);
    keyAt(700, Qt::Key_Up);
    keyAt(700, Qt::Key_Down);
    keyAt(900, Qt::Key_F1);
    window->ShowThisPic(3);
    EXPECT_TRUE(untilDrawn(window->pic(3).canvas()));
    EXPECT_EQ(CurPage, 3);
    EXPECT_EQ(ringouts(), 1);
    // Taken before the reference is drawn over it.
    const std::vector<DrawOp> traced = pageOps(*window, 3);
    EXPECT_TRUE(sameOps(traced, referencePage()));
}

TEST_F(AlderTraceTest, ThePageEnteredAndLeftAtOnceIsDrawnAfreshOutOfView) {
    // Up, Down and Up in one go while the page traces: it is drawn afresh
    // once the first drawing has stopped, but the reader is on page 2 by
    // then, and page 2 stays the one page in view.
    auto visible = [this] {
        std::vector<int> v;
        for (int i = 0; i < window->boxCount(); ++i)
            if (window->pic(i).isVisibleTo(window.get())) v.push_back(i);
        return v;
    };
    std::vector<int> during;
    QTimer::singleShot(300, window.get(), [this] {
        for (Qt::Key k : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Up}) QTest::keyClick(window.get(), k);
    });
    QTimer::singleShot(600, window.get(), [&] { during = visible(); });
    keyAt(700, Qt::Key_F1);
    window->ShowThisPic(3);
    EXPECT_TRUE(untilDrawn(window->pic(3).canvas()));
    EXPECT_EQ(CurPage, 2);
    EXPECT_EQ(during, std::vector<int>{2});
    EXPECT_EQ(visible(), std::vector<int>{2});
    EXPECT_EQ(ringouts(), 1);  // the fresh drawing ran to its end
    const std::vector<DrawOp> traced = pageOps(*window, 3);
    EXPECT_TRUE(sameOps(traced, referencePage()));
}

TEST_F(AlderTraceTest, KeysAreDroppedUntilAnEndDuringTheTraceHasDrawnItsPage) {
    setPacingClock(std::make_unique<FastClock>(50));  // the page takes about 1.6 s
    window->ShowThisPic(2);
    auto keys = [this](int ms, std::vector<Qt::Key> ks) {
        QTimer::singleShot(ms, window.get(), [this, ks] {
            for (Qt::Key k : ks) QTest::keyClick(window.get(), k);
        });
    };
    // End while the page entered by Down traces: that drawing stops and End's
    // begins; keys are dropped right after End and while its drawing shows,
    // as while any Home or End page change draws.
    keys(200, {Qt::Key_End, Qt::Key_Escape, Qt::Key_Up});
    keys(700, {Qt::Key_Escape, Qt::Key_Up});
    QTest::keyClick(window.get(), Qt::Key_Down);
    // Dropped too: the keys at 700 ms come while End's drawing shows.
    EXPECT_TRUE(untilDrawn(window->pic(3).canvas()));
    EXPECT_EQ(ended, 0);
    EXPECT_EQ(CurPage, 3);
    EXPECT_EQ(ringouts(), 1);
    const std::vector<DrawOp> traced = pageOps(*window, 3);
    EXPECT_TRUE(sameOps(traced, referencePage()));
    // Drawn: the keyboard works again.
    QTest::keyClick(window.get(), Qt::Key_Up);
    EXPECT_EQ(CurPage, 2);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_EQ(ended, 1);
}

TEST_F(AlderTraceTest, APrintDuringTheTracePrintsTheWholePageAndTheTraceGoesOn) {
    std::vector<QImage> printed;
    setPagePrinter(std::make_unique<RecordingPrinter>(printed));
    setPacingClock(std::make_unique<FastClock>(50));
    // Paper gets the page finished at once; the screen's trace, entered
    // again meanwhile, is drawn afresh and traced to its end.
    QTimer::singleShot(200, window.get(), [this] { QTest::mouseClick(&window->cmdPrint(), Qt::LeftButton); });
    keyAt(400, Qt::Key_Up);
    keyAt(400, Qt::Key_Down);
    window->ShowThisPic(3);
    EXPECT_TRUE(untilDrawn(window->pic(3).canvas()));
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(ringouts(), 2);  // the print and the last drawing of the page
    const std::vector<DrawOp> paper = window->Form2().canvas().picture().ops();
    const std::vector<DrawOp> traced = pageOps(*window, 3);
    EXPECT_TRUE(sameOps(traced, referencePage()));
    window->cmdPrint_Click();
    EXPECT_TRUE(sameOps(paper, window->Form2().canvas().picture().ops()));
}

TEST_F(AlderTraceTest, PStopsTheTraceWhereItStandsAndPTakesItOn) {
    setPacingClock(std::make_unique<FastClock>(20));  // about 4.5 s unpaused
    installPageAccessibility();
    auto said = [this] {
        return QAccessible::queryAccessibleInterface(&window->pic(3))->text(QAccessible::Description);
    };
    QString before, paused, resumed;
    size_t atPause = 0, pausedLater = 0, resumedLater = 0;
    QTimer::singleShot(400, window.get(), [&] {
        before = said();
        QTest::keyClick(window.get(), Qt::Key_P);
        atPause = pageOps(*window, 3).size();
        paused = said();
    });
    // 1.5 s later (30 s of the trace's time) nothing more is drawn.
    QTimer::singleShot(1900, window.get(), [&] {
        pausedLater = pageOps(*window, 3).size();
        QTest::keyClick(window.get(), Qt::Key_Pause);
        resumed = said();
    });
    QTimer::singleShot(2600, window.get(), [&] {
        resumedLater = pageOps(*window, 3).size();
        QTest::keyClick(window.get(), Qt::Key_F1);
    });
    window->ShowThisPic(3);
    EXPECT_TRUE(untilDrawn(window->pic(3).canvas()));
    EXPECT_EQ(before, QStringLiteral("描画中"));
    EXPECT_EQ(paused, QStringLiteral("一時停止"));
    EXPECT_EQ(resumed, QStringLiteral("描画中"));
    EXPECT_EQ(said(), QString());  // finished
    EXPECT_GT(atPause, 0u);
    EXPECT_EQ(pausedLater, atPause);
    EXPECT_GT(resumedLater, pausedLater);
    EXPECT_EQ(ringouts(), 1);
    const std::vector<DrawOp> traced = pageOps(*window, 3);
    EXPECT_TRUE(sameOps(traced, referencePage()));
}

TEST_F(AlderTraceTest, NoAnimationShowsTheTraceFinishedAndSilent) {
    resetShellState();
    Form1 fresh(chapter);
    const ViewerOptions o = parseViewerOptions({"alder", "--no-animation", "--page", "3"}, chapter.profile());
    ASSERT_TRUE(o.noAnimation);
    QElapsedTimer wall;
    wall.start();
    EXPECT_EQ(startViewer(fresh, o), std::nullopt);
    // At the reading pace the trace takes 89 s.
    EXPECT_LT(wall.elapsed(), 20000);
    EXPECT_EQ(CurPage, 3);
    EXPECT_EQ(Replay::statusOn(fresh.pic(3).canvas()), QString());
    // The ring-out went nowhere.
    EXPECT_EQ(ringouts(), 0);
    soundPlayer().play("complete");
    EXPECT_EQ(ringouts(), 0);
    // Every curve traced to its drop at the end.
    auto drops = [](const std::vector<DrawOp>& ops) {
        return std::count_if(ops.begin(), ops.end(), [](const DrawOp& op) {
            return op.kind == DrawOp::Line && op.pen.width == 2 && op.x1 == op.x2 && op.y2 > op.y1;
        });
    };
    EXPECT_EQ(drops(pageOps(fresh, 3)), drops(referencePage()));
    EXPECT_GE(drops(pageOps(fresh, 3)), 4);
}

TEST(AlderTraceDeathTest, EscapeOrClosingDuringTheTraceEndsTheProgram) {
    auto traceThen = [](std::function<void(Form1&)> act) {
        resetContext();
        resetShellState();
        setEndProgramHandler({});  // the real behaviour: end at once
        AlderChapter chapter;
        Form1 w(chapter);
        w.Form_Load();
        QTimer::singleShot(300, &w, [&] { act(w); });
        w.ShowThisPic(3);
        untilDrawn(w.pic(3).canvas());
        std::_Exit(3);  // the trace ran to its end: not ended at once
    };
    EXPECT_EXIT(traceThen([](Form1& w) { QTest::keyClick(&w, Qt::Key_Escape); }),
                ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(traceThen([](Form1& w) { w.close(); }), ::testing::ExitedWithCode(0), "");
}
