// The lecture hall: which screen gets what, the presenter view's keys on a
// single screen (the offscreen platform has one), blanking, the pointer,
// a construction's steps from the clicker, and the dark-hall colours.
#include "cedar/cedar_chapter.h"
#include "cedar/square_box.h"
#include "end_program.h"
#include "form1.h"
#include "label_button.h"
#include "pacing_clock.h"
#include "support/fast_clock.h"
#include "support/until_drawn.h"
#include "page_box.h"
#include "presentation.h"
#include "replay.h"
#include "projection.h"
#include "specimen/specimen_chapter.h"
#include "state.h"
#include "viewer_options.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

// The share of a widget's pixels (children included) of one colour.
double shareOf(QWidget& w, QRgb colour) {
    const QImage img = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    qint64 n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += (img.pixel(x, y) & 0xffffff) == (colour & 0xffffff);
    return double(n) / (qint64(img.width()) * img.height());
}

class Lecture : public ::testing::Test {
protected:
    void SetUp() override {
        resetContext();
        resetShellState();
        setEndProgramHandler([this] { ++ended; });
        SkipWait = 1;
    }
    void TearDown() override {
        setEndProgramHandler({});
        setPacingClock(nullptr);
        resetShellState();
        CurPic = nullptr;
    }
    int ended = 0;
};

// cedar presented, its paced waits passing at once and its steps waiting
// for the clicker.
struct CedarLecture {
    CedarLecture() {
        SkipWait = 0;
        setPacingClock(std::make_unique<RushingClock>());
    }
    CedarChapter chapter;
    Form1 window{chapter};
};

}  // namespace

TEST(PresentationScreens, ThePresenterKeepsThePrimaryAndTheHallTakesTheLargestOther) {
    const QRect laptop(0, 0, 1920, 1080), projector(1920, 0, 1280, 1024), wall(3200, 0, 3840, 2160);
    auto chosen = [](std::vector<QRect> s, int primary) {
        const PresentationScreens c = choosePresentationScreens(s, primary);
        return std::pair{c.presenter, c.hall};
    };
    EXPECT_EQ(chosen({}, -1), std::pair(-1, -1));
    EXPECT_EQ(chosen({laptop}, 0), std::pair(0, -1));
    EXPECT_EQ(chosen({laptop, projector}, 0), std::pair(0, 1));
    EXPECT_EQ(chosen({projector, laptop}, 1), std::pair(1, 0));
    EXPECT_EQ(chosen({laptop, projector, wall}, 0), std::pair(0, 2));
    EXPECT_EQ(chosen({wall, projector, laptop}, 2), std::pair(2, 0));
    // A primary the platform does not name is the first screen.
    EXPECT_EQ(chosen({laptop, projector}, 7), std::pair(0, 1));
    // A mirrored output covers the same pixels: no hall of its own.
    EXPECT_EQ(chosen({laptop, laptop}, 0), std::pair(0, -1));
}

TEST_F(Lecture, OnOneScreenF11ShowsTheHallAndTheClickerKeysBlankAndPage) {
    SpecimenChapter chapter;
    Form1 window(chapter);
    ASSERT_TRUE(window.startPresentation());
    window.Form_Load();
    Presentation& lecture = *window.presentation();
    PresenterView& view = lecture.view();
    ASSERT_TRUE(lecture.sharesScreen());
    // The hall waits behind the presenter view until F11.
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(view.statusLine(), QStringLiteral("ページ 1 / %1").arg(window.lastPage() + 1));
    EXPECT_TRUE(view.timeLine().startsWith(QStringLiteral("経過 0:00:0")));
    QTest::keyClick(&view, Qt::Key_F11);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.fullScreen());

    // Keys reach the presentation from either window.
    QTest::keyClick(&window, Qt::Key_B);
    EXPECT_EQ(lecture.blank(), Blank::Black);
    EXPECT_GT(shareOf(window, qRgb(0, 0, 0)), 0.99);
    EXPECT_TRUE(view.statusLine().endsWith(QStringLiteral("会場：黒")));
    QTest::keyClick(&view, Qt::Key_W);  // any blanking key again shows the page
    EXPECT_EQ(lecture.blank(), Blank::None);
    QTest::keyClick(&view, Qt::Key_W);
    EXPECT_GT(shareOf(window, qRgb(255, 255, 255)), 0.99);
    QTest::keyClick(&view, Qt::Key_Period);
    EXPECT_EQ(lecture.blank(), Blank::None);

    for (Qt::Key next : {Qt::Key_PageDown, Qt::Key_Right, Qt::Key_Space})
        QTest::keyClick(&view, next);
    EXPECT_EQ(CurPage, std::min(3, window.lastPage()));
    QTest::keyClick(&window, Qt::Key_PageUp);
    QTest::keyClick(&view, Qt::Key_Backspace);
    EXPECT_EQ(CurPage, std::min(3, window.lastPage()) - 2);
    EXPECT_TRUE(view.statusLine().startsWith(QStringLiteral("ページ %1 / ").arg(CurPage + 1)));

    // The pointer: where the presenter holds the mouse on the page, a dot on
    // the hall's page at the same place.
    const QRect page = PresenterView::fitted(window.pic(CurPage).size(), view.currentArea());
    QTest::mousePress(&view, Qt::LeftButton, {}, page.topLeft() + QPoint(page.width() / 2, page.height() / 4));
    ASSERT_TRUE(lecture.pointer().has_value());
    EXPECT_NEAR(lecture.pointer()->x(), 0.5, 0.01);
    EXPECT_NEAR(lecture.pointer()->y(), 0.25, 0.01);
    const QImage hall = window.grab().toImage();
    const PageBox& box = window.pic(CurPage);
    const QPoint dot = box.mapTo(&window, QPoint(box.width() / 2, box.height() / 4));
    EXPECT_GT(qRed(hall.pixel(dot)), 200);
    EXPECT_LT(qGreen(hall.pixel(dot)), 40);
    QTest::mouseRelease(&view, Qt::LeftButton, {}, page.center());
    EXPECT_FALSE(lecture.pointer().has_value());

    // Escape leaves the hall's full screen first, then the presentation.
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    ASSERT_NE(window.presentation(), nullptr);
    QTest::keyClick(&view, Qt::Key_Escape);
    QTest::qWait(20);
    EXPECT_EQ(window.presentation(), nullptr);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.fullScreen());
    EXPECT_EQ(ended, 0);
}

TEST_F(Lecture, ThePlainWindowTakesNoPresenterKeysButF5StartsIt) {
    SpecimenChapter chapter;
    Form1 window(chapter);
    window.Form_Load();
    for (Qt::Key k : {Qt::Key_B, Qt::Key_W, Qt::Key_Period, Qt::Key_PageDown, Qt::Key_Right})
        QTest::keyClick(&window, k);
    EXPECT_EQ(CurPage, 0);
    EXPECT_EQ(window.presentation(), nullptr);
    QTest::keyClick(&window, Qt::Key_F5);
    ASSERT_NE(window.presentation(), nullptr);
    QTest::keyClick(&window.presentation()->view(), Qt::Key_F5);
    QTest::qWait(20);
    EXPECT_EQ(window.presentation(), nullptr);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(Lecture, TheClickerTakesAConstructionStepByStepThenPagesOn) {
    CedarLecture cedar;
    CedarChapter& chapter = cedar.chapter;
    Form1& window = cedar.window;
    ASSERT_TRUE(window.startPresentation());
    std::vector<QString> said;
    auto* clicker = new QTimer(&window);
    clicker->setInterval(10);
    QObject::connect(clicker, &QTimer::timeout, &window, [&] {
        Presentation& lecture = *window.presentation();
        if (!lecture.waitingStep()) return;
        said.push_back(lecture.view().statusLine());
        QTest::keyClick(&lecture.view(), Qt::Key_PageDown);
    });
    clicker->start();
    window.Form_Load();
    EXPECT_TRUE(untilStarted(window));
    clicker->stop();
    EXPECT_EQ(chapter.StepNo, 5);
    ASSERT_EQ(said.size(), 5u);
    EXPECT_EQ(said.front(), QStringLiteral("ページ 2 / 5　Step 1 / 5、描画中"));
    EXPECT_EQ(said.back(), QStringLiteral("ページ 2 / 5　Step 5 / 5、描画中"));
    // Finished: the clicker pages on.
    QTest::keyClick(&window.presentation()->view(), Qt::Key_PageDown);
    EXPECT_EQ(CurPage, 1);
}

TEST_F(Lecture, PageUpTakesTheConstructionBackAStepAndThePreviewLooksAhead) {
    CedarLecture cedar;
    CedarChapter& chapter = cedar.chapter;
    Form1& window = cedar.window;
    ASSERT_TRUE(window.startPresentation());
    Presentation& lecture = *window.presentation();
    auto waiting = [&] {
        for (int c = 1; c <= 5; ++c)
            if (lecture.waitingStep() == chapter.Stp[size_t(c)]) return c;
        return 0;
    };
    auto until = [&](int step) { return runEventsUntil([&] { return waiting() == step; }, 10000); };
    window.Form_Load();
    ASSERT_TRUE(until(1));
    QTest::keyClick(&lecture.view(), Qt::Key_PageDown);
    ASSERT_TRUE(until(2));
    QTest::keyClick(&lecture.view(), Qt::Key_PageDown);
    ASSERT_TRUE(until(3));
    const QString atThree = Replay::statusOn(window.pic(1).canvas());
    const size_t opsAtThree = window.pic(1).canvas().picture().ops().size();
    EXPECT_EQ(chapter.PicSq->letterOnView(4), QStringLiteral("H"));  // step 2 wrote E to H
    // Back to step 2 as it stood: the square drawn, no letter yet.
    QTest::keyClick(&lecture.view(), Qt::Key_PageUp);
    EXPECT_EQ(waiting(), 2);
    EXPECT_EQ(chapter.PicSq->letterOnView(4), QString());
    EXPECT_LT(window.pic(1).canvas().picture().ops().size(), opsAtThree);
    EXPECT_EQ(CurPage, 1);
    // The preview is the page as step 2 will leave it: more of its text.
    const Replay* drawing = Replay::on(window.pic(1).canvas());
    ASSERT_NE(drawing, nullptr);
    RasterCanvas ahead(774, 729);
    drawing->lookAhead(ahead);
    EXPECT_GT(ahead.picture().ops().size(), window.pic(1).canvas().picture().ops().size());
    // And the square as step 2 leaves it: its four energies written in, read
    // row by row.
    RasterCanvas squareAhead(325, 304);
    ASSERT_TRUE(drawing->lookAhead(squareAhead, chapter.PicSq->canvas()));
    EXPECT_EQ(squareAhead.picture().text(), QStringLiteral("FEGH"));
    EXPECT_EQ(chapter.PicSq->canvas().picture().text(), QString());
    QTest::keyClick(&lecture.view(), Qt::Key_PageDown);
    ASSERT_TRUE(until(3));
    EXPECT_EQ(Replay::statusOn(window.pic(1).canvas()), atThree);
    EXPECT_EQ(window.pic(1).canvas().picture().ops().size(), opsAtThree);
    // Back at the first step, Page Up leaves the page.
    for (int i = 0; i < 3; ++i) QTest::keyClick(&lecture.view(), Qt::Key_PageUp);
    EXPECT_EQ(CurPage, 0);
    SkipWait = 1;
    Replay::finishAll();
    EXPECT_TRUE(untilStarted(window));
}

TEST(DarkHall, LightnessTurnsOverAndHuesStay) {
    EXPECT_EQ(invertLightness(qRgb(255, 255, 255)), qRgb(0, 0, 0));
    EXPECT_EQ(invertLightness(qRgb(0, 0, 0)), qRgb(255, 255, 255));
    EXPECT_EQ(invertLightness(qRgb(255, 0, 0)), qRgb(255, 0, 0));
    EXPECT_EQ(invertLightness(qRgb(0, 0, 128)), qRgb(127, 127, 255));
    EXPECT_EQ(invertLightness(qRgb(200, 100, 50)), qRgb(205, 105, 55));
    EXPECT_EQ(invertLightness(qRgb(240, 240, 255)), qRgb(0, 0, 15));
}

TEST_F(Lecture, CtrlIDarkensTheScreenOnlyAndAgainBringsItBack) {
    SpecimenChapter chapter;
    Form1 window(chapter);
    window.Form_Load();
    PageBox& box = window.pic(0);
    const double white = shareOf(box, qRgb(255, 255, 255));
    ASSERT_GT(white, 0.5);
    const std::vector<DrawOp> before = box.canvas().picture().ops();
    QTest::keyClick(&window, Qt::Key_I, Qt::ControlModifier);
    EXPECT_TRUE(window.inverted());
    EXPECT_NEAR(shareOf(box, qRgb(0, 0, 0)), white, 0.01);
    // The page itself, what prints and what a PDF gets, is unchanged.
    EXPECT_EQ(box.canvas().picture().ops().size(), before.size());
    EXPECT_EQ(box.canvas().image().pixel(5, 5) & 0xffffff, 0xffffffu);
    QTest::keyClick(&window, Qt::Key_I, Qt::ControlModifier);
    EXPECT_NEAR(shareOf(box, qRgb(255, 255, 255)), white, 0.001);
}

TEST(ViewerOptionsPresent, PresentAndInvertAreReadAndPresentWantsAScreen) {
    const ChapterProfile& profile = SpecimenChapter::defaultProfile();
    const ViewerOptions o = parseViewerOptions({"specimen", "--present", "--invert"}, profile);
    EXPECT_EQ(o.action, ViewerOptions::Action::Run);
    EXPECT_TRUE(o.present);
    EXPECT_TRUE(o.invert);
    EXPECT_EQ(parseViewerOptions({"specimen", "--present", "--pdf", "x.pdf"}, profile).action,
              ViewerOptions::Action::Error);
}
