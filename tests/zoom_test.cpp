// Pages at any size: the zoom steps, the client area scaled as one (clicks
// land on what is drawn under them), pages drawn from their pictures at the
// scale while paced drawing goes on, printing unchanged, full screen.
#include "alder/alder_chapter.h"
#include "larch/larch_chapter.h"
#include "cedar/cedar_chapter.h"
#include "cedar/square_box.h"
#include "end_program.h"
#include "form1.h"
#include "label_button.h"
#include "pacing_clock.h"
#include "support/fast_clock.h"
#include "support/until_drawn.h"
#include "printer.h"
#include "specimen/specimen_chapter.h"
#include "state.h"
#include "viewer_options.h"
#include "support/recording_sound.h"
#include "zoom.h"

#include <QLabel>
#include <QScrollBar>
#include <QWheelEvent>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

// What a widget shows, its child widgets included.
QImage shown(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// A canvas's picture drawn afresh at a scale, as much as a widget of that
// size shows (its size is rounded edge by edge, the image's up).
QImage drawnAt(const RasterCanvas& c, double scale, QSize shownSize) {
    RasterCanvas clean(c.pixelWidth(), c.pixelHeight(), scale);
    clean.replay(c.picture());
    return clean.image().convertToFormat(QImage::Format_RGB32).copy(QRect(QPoint(0, 0), shownSize));
}

// The smallest rectangle holding every pixel with any ink.
QRect inkBox(const QImage& img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (qGray(row[x]) < 224) box |= QRect(x, y, 1, 1);
    }
    return box;
}

class ZoomTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetContext();
        resetShellState();
        RecordingSound::install();
        setEndProgramHandler([this] { ++ended; });
        auto keeping = std::make_unique<KeepingPrinter>();
        printer = keeping.get();
        setPagePrinter(std::move(keeping));
    }
    void TearDown() override {
        window.reset();
        setPacingClock(nullptr);
        setPagePrinter(nullptr);
        setEndProgramHandler({});
        resetShellState();
        CurPic = nullptr;
    }
    void open(Chapter& chapter, int percent) {
        window = std::make_unique<Form1>(chapter);
        window->setZoom(percent);
        window->Form_Load();
    }

    std::unique_ptr<Form1> window;
    KeepingPrinter* printer = nullptr;
    int ended = 0;
};

}  // namespace

TEST(ZoomSteps, GoThroughTheTableAndStopAtTheEnds) {
    EXPECT_EQ(nextZoomStep(100, 1), 110);
    EXPECT_EQ(nextZoomStep(100, -1), 90);
    EXPECT_EQ(nextZoomStep(133, 1), 150);  // from a zoom given on the command line
    EXPECT_EQ(nextZoomStep(133, -1), 125);
    EXPECT_EQ(nextZoomStep(400, 1), 400);
    EXPECT_EQ(nextZoomStep(50, -1), 50);
    EXPECT_EQ(largestStepWithin(95.5), 90);
    EXPECT_EQ(largestStepWithin(30), 50);
    // Edges are rounded as positions are: neighbours stay neighbours.
    EXPECT_EQ(scaledRect(QRect(13, 39, 774, 729), 1.5), QRect(20, 58, 1160, 1094));
}

TEST_F(ZoomTest, KeysZoomTheWholeClientAreaAndAPageTurnKeepsIt) {
    SpecimenChapter chapter;
    open(chapter, 100);
    const QRect box = window->pic(0).geometry(), print = window->cmdPrint().geometry();
    const QFont font = window->cmdBack().font();
    QTest::keyClick(window.get(), Qt::Key_Equal, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(window->zoom(), 125);
    EXPECT_EQ(window->pic(0).geometry(), scaledRect(box, 1.25));
    EXPECT_EQ(window->cmdPrint().geometry(), scaledRect(print, 1.25));
    EXPECT_EQ(window->cmdBack().font().pixelSize(), 18);  // 14 pixels at 125 %
    EXPECT_EQ(window->layout().rect(&window->cmdPrint()), print);  // the 100 % place stays
    QTest::keyClick(window.get(), Qt::Key_Down);
    EXPECT_EQ(CurPage, 1);
    EXPECT_EQ(window->pic(1).geometry(), scaledRect(box, 1.25));
    EXPECT_EQ(window->pic(1).scale(), 1.25);
    EXPECT_EQ(window->zoom(), 125);
    // The page at 125 % is its picture drawn at 125 %, not its image enlarged.
    EXPECT_EQ(shown(window->pic(1)),
              drawnAt(window->pic(1).canvas(), 1.25, window->pic(1).size()));
    QTest::keyClick(window.get(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(window->zoom(), 110);
    QTest::keyClick(window.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(window->zoom(), 100);
    EXPECT_EQ(window->pic(1).geometry(), box);
    EXPECT_EQ(window->cmdBack().font(), font);
    EXPECT_EQ(shown(window->pic(1)), window->pic(1).canvas().image().convertToFormat(QImage::Format_RGB32));
    // Zoom keys are not paging keys: nothing else moved.
    EXPECT_EQ(CurPage, 1);
}

TEST_F(ZoomTest, PrintingAtTwiceTheSizeGivesThePageOfOneTimes) {
    CedarChapter chapter;
    SkipWait = 1;  // the construction at once
    open(chapter, 100);
    std::vector<QImage> atOne;
    for (int n = 0; n <= window->lastPage(); ++n) {
        window->ShowThisPic(n);
        ASSERT_TRUE(window->cmdPrint_Click());
        atOne.push_back(printer->last.image);
    }
    window->setZoom(200);
    for (int n = 0; n <= window->lastPage(); ++n) {
        window->ShowThisPic(n);
        ASSERT_TRUE(window->cmdPrint_Click());
        // Page 1 is composed from what the screen shows: its controls' places
        // at 100 % count, not where they stand at 200 %.
        EXPECT_EQ(printer->last.image, atOne[size_t(n)]) << "page " << n;
    }
}

TEST_F(ZoomTest, AClickWhereAStepButtonIsDrawnAtOneAndAHalfStartsItsStep) {
    setPacingClock(std::make_unique<RushingClock>());
    CedarChapter chapter;
    window = std::make_unique<Form1>(chapter);
    window->setZoom(150);
    auto* poll = new QTimer(window.get());
    int clicked = 0;
    QObject::connect(poll, &QTimer::timeout, window.get(), [&] {
        const int c = chapter.StepNo + 1;
        if (c > 5 || c <= clicked) return;
        LabelButton* b = chapter.Stp[size_t(c)];
        if (!b->isVisible() || !b->isEnabled()) return;
        clicked = c;
        // The middle of the button as drawn, found from the window.
        const QPoint at = b->mapTo(window.get(), b->rect().center());
        QWidget* under = window->childAt(at);
        ASSERT_EQ(under, b) << "step " << c;
        QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(window.get(), at));
    });
    poll->start(5);
    window->Form_Load();
    EXPECT_TRUE(untilStarted(*window));
    EXPECT_EQ(clicked, 5);
    EXPECT_EQ(chapter.StepNo, 5);
    EXPECT_EQ(chapter.PicSq->geometry(), scaledRect(QRect(446, -1, 325, 304), 1.5));
    // The finished construction at 150 % is a clean one at 150 %: the page
    // drawn at once in a second window, with its square, letters and buttons.
    setPacingClock(nullptr);
    CedarChapter again;
    Form1 clean(again);
    clean.setZoom(150);
    SkipWait = 1;
    clean.Form_Load();
    window->ShowThisPic(1);
    clean.ShowThisPic(1);
    EXPECT_EQ(shown(window->pic(1)), shown(clean.pic(1)));
}

TEST_F(ZoomTest, ZoomingInTheMiddleOfTheTraceKeepsItGoing) {
    AlderChapter chapter;
    open(chapter, 100);
    SkipWait = 0;
    SupSize = 0.85f;  // as after an earlier showing of page 3
    size_t opsAtZoom = 0;
    QTimer::singleShot(300, window.get(), [&] {
        opsAtZoom = window->pic(3).canvas().picture().ops().size();
        for (int i = 0; i < 5; ++i) QTest::keyClick(window.get(), Qt::Key_Equal, Qt::ControlModifier);
    });
    QTimer::singleShot(700, window.get(), [&] { QTest::keyClick(window.get(), Qt::Key_F1); });
    window->ShowThisPic(3);
    EXPECT_TRUE(untilDrawn(window->pic(3).canvas()));
    EXPECT_EQ(window->zoom(), 200);
    const Picture& traced = window->pic(3).canvas().picture();
    EXPECT_GT(opsAtZoom, 0u);
    EXPECT_GT(traced.ops().size(), opsAtZoom);
    // The whole trace was drawn (a page drawn at once has as many
    // operations) and the box shows it at 200 % as a clean drawing would.
    EXPECT_EQ(shown(window->pic(3)),
              drawnAt(window->pic(3).canvas(), 2.0, window->pic(3).size()));
    const size_t tracedOps = traced.ops().size();
    window->ShowThisPic(3);
    EXPECT_EQ(window->pic(3).canvas().picture().ops().size(), tracedOps);
}

// Below 100 % as above it, every page (larch's figure boxes and cedar's
// square and buttons on it included) is drawn whole at the zoom: its ink
// spans what it spans at 100 %, scaled, not the top-left of the page cut off
// at the box's edges.
TEST_F(ZoomTest, BelowOneTimesEveryPageIsDrawnWholeAtTheZoom) {
    SkipWait = 1;  // cedar's construction at once
    LarchChapter larch;
    CedarChapter cedar;
    for (Chapter* chapter : {static_cast<Chapter*>(&larch), static_cast<Chapter*>(&cedar)}) {
        open(*chapter, 100);
        std::vector<QRect> atOne;
        for (int n = 0; n <= window->lastPage(); ++n) {
            window->ShowThisPic(n);
            atOne.push_back(inkBox(shown(window->pic(n))));
        }
        for (int percent : {50, 67, 75, 90}) {
            window->setZoom(percent);
            const double scale = percent / 100.0;
            for (int n = 0; n <= window->lastPage(); ++n) {
                window->ShowThisPic(n);
                const QRect got = inkBox(shown(window->pic(n)));
                const QRect want = scaledRect(atOne[size_t(n)], scale);
                SCOPED_TRACE(testing::Message() << chapter->profile().name.toStdString() << " page " << n << " at "
                                                << percent << " %");
                EXPECT_NEAR(got.left(), want.left(), 2);
                EXPECT_NEAR(got.top(), want.top(), 2);
                EXPECT_NEAR(got.right(), want.right(), 2);
                EXPECT_NEAR(got.bottom(), want.bottom(), 2);
            }
        }
        window.reset();
        resetContext();
        resetShellState();
        SkipWait = 1;
    }
}

// cedar's italic letters, drawn in the square's picture, stay whole and in
// place at every zoom: no clipped tail of the p, no arm of the T cut off.
TEST_F(ZoomTest, CedarsLettersStayWholeAndInPlaceAtEveryZoom) {
    SkipWait = 1;
    CedarChapter chapter;
    open(chapter, 100);
    window->ShowThisPic(1);
    std::vector<QRectF> cells;
    for (const DrawOp& op : chapter.PicSq->canvas().picture().ops())
        if (op.kind == DrawOp::Text) cells.push_back(QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).adjusted(-6, 0, 6, 0));
    ASSERT_EQ(cells.size(), 8u);
    auto inkIn = [&](const QRectF& cell, double scale) {
        const QImage square = shown(*chapter.PicSq);
        const QRect r = QRectF(cell.topLeft() * scale, cell.size() * scale).toAlignedRect();
        return inkBox(square.copy(r)).translated(r.topLeft());
    };
    std::vector<QRect> atOne;
    for (const QRectF& cell : cells) atOne.push_back(inkIn(cell, 1));
    for (int percent : {50, 75, 200}) {
        window->setZoom(percent);
        for (size_t i = 0; i < cells.size(); ++i) {
            const QRect got = inkIn(cells[i], percent / 100.0);
            const QRect want = scaledRect(atOne[i], percent / 100.0);
            SCOPED_TRACE(testing::Message() << "letter " << i << " at " << percent << " %");
            EXPECT_NEAR(got.left(), want.left(), 2);
            EXPECT_NEAR(got.right(), want.right(), 2);
        }
    }
}

TEST_F(ZoomTest, AWindowThatWouldNotFitOpensAtTheLargestStepThatFits) {
    const QSize client(792, 724);
    EXPECT_EQ(fittingZoom(QSize(1920, 1040), client), 100);
    EXPECT_EQ(fittingZoom(QSize(1366, 738), client), 90);  // a laptop less its panel
    EXPECT_EQ(fittingZoom(QSize(1024, 600), client), 75);
    EXPECT_EQ(fittingZoom(QSize(640, 400), client), 50);  // never below the smallest step
    // Asked for, a zoom is taken as it is; the window stays within the
    // screen (the headless one is 800 x 800).
    SpecimenChapter chapter;
    window = std::make_unique<Form1>(chapter);
    ViewerOptions options;
    options.zoom = 200;
    ASSERT_FALSE(startViewer(*window, options));
    EXPECT_EQ(window->zoom(), 200);
    EXPECT_EQ(window->size(), window->screen()->availableGeometry().size());
}

// Zoomed past the 800 x 800 screen, the window stays on it and scrolls: the
// wheel moves the page, Shift sideways, Ctrl zooms; at the far right the
// arrow labels are in the window; back at 100 % no bar is left.
TEST_F(ZoomTest, AWindowLargerThanTheScreenScrollsWithTheWheel) {
    SpecimenChapter chapter;
    open(chapter, 200);
    window->show();
    ASSERT_EQ(window->size(), QSize(800, 800));
    QScrollBar* across = nullptr;
    QScrollBar* down = nullptr;
    for (QScrollBar* b : window->findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly))
        (b->orientation() == Qt::Horizontal ? across : down) = b;
    ASSERT_TRUE(across && down);
    ASSERT_TRUE(across->isVisible() && down->isVisible());
    const int ext = down->width();
    EXPECT_EQ(across->maximum(), 1584 - (800 - ext));
    EXPECT_EQ(down->maximum(), 1448 - (800 - ext));
    const QPoint top = window->pic(0).pos();
    auto wheel = [&](int notches, Qt::KeyboardModifiers mods) {
        QWheelEvent e(QPointF(400, 400), QPointF(400, 400), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(window.get(), &e);
    };
    wheel(-2, Qt::NoModifier);  // towards the reader: down the page
    EXPECT_EQ(down->value(), 120);
    EXPECT_EQ(window->pic(0).pos(), top - QPoint(0, 120));
    wheel(-100, Qt::ShiftModifier);
    EXPECT_EQ(across->value(), across->maximum());
    wheel(5, Qt::NoModifier);
    EXPECT_EQ(down->value(), 0);
    const QRect go = window->cmdGo().geometry();
    EXPECT_TRUE(QRect(0, 0, 800 - ext, 800 - ext).contains(go)) << go.x() << "," << go.y();
    wheel(1, Qt::ControlModifier);
    EXPECT_EQ(window->zoom(), 250);
    window->setZoom(100);
    EXPECT_FALSE(across->isVisible());
    EXPECT_FALSE(down->isVisible());
    EXPECT_EQ(window->pic(0).pos(), top / 2);
}

TEST(ZoomDeathTest, EscapeLeavesFullScreenFirstAndThenEndsTheProgram) {
    auto run = [] {
        resetContext();
        resetShellState();
        setEndProgramHandler({});  // the real behaviour: end at once
        SpecimenChapter chapter;
        Form1 w(chapter);
        w.setFullScreen(true);
        w.Form_Load();
        if (!w.fullScreen() || w.scale() <= 0) std::_Exit(4);
        QTest::keyClick(&w, Qt::Key_Escape);
        if (w.fullScreen() || w.scale() != 1) std::_Exit(5);  // still running, out of full screen
        QTest::keyClick(&w, Qt::Key_Escape);
        std::_Exit(3);  // not ended
    };
    EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "");
}
