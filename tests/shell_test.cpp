#include "context.h"
#include "end_program.h"
#include "form1.h"
#include "specimen/specimen_chapter.h"
#include "state.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

class Shell : public ::testing::Test {
protected:
    void SetUp() override {
        resetContext();
        resetShellState();
        setEndProgramHandler([this] { ++ended; });
    }
    void TearDown() override {
        form.reset();
        chapter.reset();
        setEndProgramHandler(nullptr);
    }

    void start(ChapterProfile profile = SpecimenChapter::defaultProfile()) {
        chapter = std::make_unique<SpecimenChapter>(std::move(profile));
        form = std::make_unique<Form1>(*chapter);
        form->Form_Load();
    }

    void key(Qt::Key k) { QTest::keyClick(form.get(), k); }

    // The one visible page box, or -1 when not exactly one is visible.
    int visibleBox() const {
        int found = -1;
        for (int i = 0; i < form->boxCount(); ++i)
            if (form->pic(i).isVisibleTo(form.get())) {
                if (found >= 0) return -1;
                found = i;
            }
        return found;
    }
    bool goShown() const { return form->cmdGo().isVisibleTo(form.get()); }
    bool backShown() const { return form->cmdBack().isVisibleTo(form.get()); }

    std::unique_ptr<SpecimenChapter> chapter;
    std::unique_ptr<Form1> form;
    int ended = 0;
};

ChapterProfile withDesignBoxes(int n) {
    ChapterProfile s = SpecimenChapter::defaultProfile();
    s.designBoxes = n;
    s.designBoxGeometry.clear();
    for (int i = 0; i < n; ++i) s.designBoxGeometry.push_back({13 + i, 39 + i, 774, 729});
    return s;
}

}  // namespace

TEST_F(Shell, StartsOnPageZeroAndIgnoresGoingBackThere) {
    start();
    EXPECT_EQ(CurPage, 0);
    EXPECT_EQ(visibleBox(), 0);
    EXPECT_TRUE(goShown());
    EXPECT_TRUE(backShown());  // stays until the first page change
    key(Qt::Key_Up);
    key(Qt::Key_Backspace);
    QTest::mouseClick(&form->cmdBack(), Qt::LeftButton);
    EXPECT_EQ(CurPage, 0);
    EXPECT_EQ(visibleBox(), 0);
}

TEST_F(Shell, KeysAndLabelsPageThroughTheChapter) {
    start();
    key(Qt::Key_Down);
    EXPECT_EQ(CurPage, 1);
    EXPECT_TRUE(goShown() && backShown());
    key(Qt::Key_Return);
    EXPECT_EQ(CurPage, 2);
    EXPECT_FALSE(goShown());
    EXPECT_TRUE(backShown());
    for (Qt::Key k : {Qt::Key_Down, Qt::Key_Enter, Qt::Key_Space}) key(k);
    QTest::mouseClick(&form->cmdGo(), Qt::LeftButton);
    EXPECT_EQ(CurPage, 2);
    EXPECT_EQ(visibleBox(), 2);

    key(Qt::Key_Up);
    EXPECT_EQ(CurPage, 1);
    key(Qt::Key_Backspace);
    EXPECT_EQ(CurPage, 0);
    EXPECT_FALSE(backShown());
    EXPECT_TRUE(goShown());

    QTest::mouseClick(&form->cmdGo(), Qt::LeftButton);
    EXPECT_EQ(CurPage, 1);
    QTest::mouseClick(&form->cmdBack(), Qt::LeftButton);
    EXPECT_EQ(CurPage, 0);

    key(Qt::Key_End);
    EXPECT_EQ(CurPage, 2);
    EXPECT_FALSE(goShown());
    key(Qt::Key_Home);
    EXPECT_EQ(CurPage, 0);
    EXPECT_FALSE(backShown());
    EXPECT_EQ(visibleBox(), 0);
}

TEST_F(Shell, DrawnPagesRestAndLookTheSameOnTheWindow) {
    start();
    // The page in view rests as runs; those out of view have no pixels yet.
    EXPECT_TRUE(form->pic(0).canvas().resting());
    for (int i = 1; i < form->boxCount(); ++i) EXPECT_TRUE(form->pic(i).canvas().deferred()) << i;
    // The page in view painted from its runs, then from its image.
    const QImage fromRuns = form->pic(0).grab().toImage();
    form->pic(0).canvas().image();
    ASSERT_FALSE(form->pic(0).canvas().resting());
    EXPECT_EQ(fromRuns, form->pic(0).grab().toImage());
    // Out of view, it rests again. The next page, shown, gets its pixels
    // from its picture: as if drawn in view.
    key(Qt::Key_Down);
    EXPECT_TRUE(form->pic(0).canvas().resting());
    const QImage shown = form->pic(1).grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_FALSE(form->pic(1).canvas().deferred());
    RasterCanvas drawn(form->pic(1).width(), form->pic(1).height());
    drawn.replay(form->pic(1).canvas().picture());
    EXPECT_EQ(shown, drawn.image().convertToFormat(QImage::Format_RGB32));
}

TEST_F(Shell, OtherKeysDoNothing) {
    start();
    key(Qt::Key_Down);
    for (Qt::Key k : {Qt::Key_Left, Qt::Key_Right, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_A,
                      Qt::Key_Tab, Qt::Key_F2, Qt::Key_F1})
        key(k);
    EXPECT_EQ(CurPage, 1);
    EXPECT_EQ(SkipWait, 0);  // F1 means nothing to this chapter
    EXPECT_EQ(ended, 0);
}

TEST_F(Shell, F1TurnsPacingOffForGoodWhereTheChapterPaces) {
    ChapterProfile s = SpecimenChapter::defaultProfile();
    s.f1SetsSkipWait = true;
    start(s);
    key(Qt::Key_F1);
    EXPECT_EQ(SkipWait, 1);
    key(Qt::Key_F1);
    key(Qt::Key_Down);
    EXPECT_EQ(SkipWait, 1);
}

TEST_F(Shell, EscapeEndsTheProgram) {
    start();
    key(Qt::Key_Escape);
    EXPECT_EQ(ended, 1);
}

TEST_F(Shell, KeysDuringAHomeOrEndRedrawAreDropped) {
    ChapterProfile s = SpecimenChapter::defaultProfile();
    s.redrawnWhenShown = {0, 2};
    start(s);
    int inside = 0;
    chapter->duringPage = [&](int) {
        if (inside++) return;
        key(Qt::Key_Up);
        key(Qt::Key_Escape);
    };
    key(Qt::Key_End);
    EXPECT_EQ(CurPage, 2);
    EXPECT_EQ(ended, 0);
    inside = 0;
    key(Qt::Key_Home);
    EXPECT_EQ(CurPage, 0);
    EXPECT_EQ(ended, 0);
    // Once the redraw is over the keyboard works again.
    chapter->duringPage = nullptr;
    key(Qt::Key_Down);
    EXPECT_EQ(CurPage, 1);
}

TEST_F(Shell, KeysDuringAnArrowRedrawAreHandledInsideIt) {
    ChapterProfile s = SpecimenChapter::defaultProfile();
    s.redrawnWhenShown = {1};
    start(s);
    int inside = 0;
    chapter->duringPage = [&](int n) {
        if (n == 1 && !inside++) key(Qt::Key_Down);
    };
    key(Qt::Key_Down);
    EXPECT_EQ(CurPage, 2);
    EXPECT_EQ(visibleBox(), 2);
    EXPECT_EQ(chapter->drawCount[1], 2);  // at start-up and when shown
}

TEST_F(Shell, StartupDrawsItsPagesInOrderAndRedrawsOnlyTheListedOnes) {
    ChapterProfile s = SpecimenChapter::defaultProfile();
    s.pages = 4;
    s.drawnAtStartup = {0, 1, 2};
    s.redrawnWhenShown = {0, 3};
    start(s);
    EXPECT_EQ(chapter->drawOrder, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(form->boxCount(), 4);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Up);
    key(Qt::Key_Down);
    key(Qt::Key_Home);
    EXPECT_EQ(chapter->drawCount, (std::vector<int>{2, 1, 1, 2}));
    // Each page is drawn on its own box.
    EXPECT_EQ(CurPic, &form->pic(0).canvas());
}

TEST_F(Shell, PageZeroIsInViewAfterStartupWhateverTheDesignBoxes) {
    for (int n : {1, 2, 3}) {
        start(withDesignBoxes(n));
        EXPECT_EQ(visibleBox(), 0) << n << " design boxes";
        EXPECT_EQ(form->boxCount(), 3);
        EXPECT_EQ(form->pic(n - 1).x(), 13 + n - 1);
        // Created boxes copy pic(0)'s place.
        EXPECT_EQ(form->pic(2).geometry().topLeft(), form->pic(n == 3 ? 2 : 0).geometry().topLeft());
        form.reset();
    }
}

TEST_F(Shell, AnInteractiveStartupPageIsInViewWhileItIsDrawn) {
    ChapterProfile s = withDesignBoxes(2);
    s.shownWhileDrawnAtStartup = {1};
    chapter = std::make_unique<SpecimenChapter>(s);
    std::vector<int> seen;
    chapter->duringPage = [&](int) { seen.push_back(visibleBox()); };
    form = std::make_unique<Form1>(*chapter);
    form->Form_Load();
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(visibleBox(), 0);
}

TEST_F(Shell, AnInteractiveStartupPageInViewIsTheCurrentPage) {
    ChapterProfile s = withDesignBoxes(2);
    s.shownWhileDrawnAtStartup = {1};
    chapter = std::make_unique<SpecimenChapter>(s);
    std::vector<int> current;
    bool arrowsDuring = false;
    chapter->duringPage = [&](int n) {
        current.push_back(CurPage);
        if (n == 1) arrowsDuring = goShown() && backShown();
    };
    form = std::make_unique<Form1>(*chapter);
    form->Form_Load();
    // Printing or paging while page 1 waits acts on page 1, not on page 0.
    EXPECT_EQ(current, (std::vector<int>{0, 1, 0}));
    EXPECT_TRUE(arrowsDuring);
    EXPECT_EQ(CurPage, 0);
    EXPECT_EQ(visibleBox(), 0);
    EXPECT_TRUE(goShown() && backShown());  // as at start, until the first page change

    // Paged on from it while it waited: start-up leaves the reader there.
    form.reset();
    resetShellState();
    chapter = std::make_unique<SpecimenChapter>(s);
    chapter->duringPage = [&](int n) {
        if (n == 1) form->Forward();
    };
    form = std::make_unique<Form1>(*chapter);
    form->Form_Load();
    EXPECT_EQ(CurPage, 2);
    EXPECT_EQ(visibleBox(), 2);
}

TEST_F(Shell, ChapterDataSetsColoursBackLabelAndGeometry) {
    ChapterProfile s = SpecimenChapter::defaultProfile();
    s.hidesBackAtStart = true;
    s.buttonBack = RGB(244, 244, 255);
    s.designBoxGeometry = {{13, 50, 774, 729}};
    s.cmdBack = {697, 10, 22, 26};
    start(s);
    EXPECT_FALSE(backShown());
    EXPECT_EQ(form->cmdGo().palette().color(QPalette::Window), QColor(244, 244, 255));
    EXPECT_EQ(form->Label1().palette().color(QPalette::Window), QColor(255, 255, 255));
    EXPECT_EQ(form->pic(1).geometry(), QRect(13, 50, 774, 729));
    EXPECT_EQ(form->cmdBack().geometry(), QRect(697, 10, 22, 26));
    EXPECT_EQ(form->cmdPrint().text(), QStringLiteral("印刷"));
    EXPECT_EQ(form->windowTitle(), s.title);
}

TEST_F(Shell, StartupMeasuresTheLayoutUnitInThePageFace) {
    start();
    // The substitute of the page face at 13 points on a 96-dpi canvas.
    EXPECT_NEAR(UnitW, 10.33, 0.05);
    EXPECT_NEAR(UnitH, 24.61, 0.05);
    EXPECT_EQ(LeftX, Round(2.0 * UnitW));
    EXPECT_EQ(TabX2, Round(5.0 * UnitW + LeftX));
    EXPECT_EQ(FarX, Round(50.0 * UnitW + LeftX));
    EXPECT_FLOAT_EQ(BaseSize, 13.0f);
    EXPECT_EQ(form->pic(2).canvas().FontSize, 13.0f);
    EXPECT_EQ(PageBack, RGB(255, 255, 255));
}

TEST_F(Shell, PrintCanvasIsLoadedAtStartupAndUnloadedOnClose) {
    start();
    ASSERT_TRUE(form->form2Loaded());
    EXPECT_GE(form->Form2().canvas().pixelWidth(), 792);
    EXPECT_EQ(form->Form2().canvas().BackColor, RGB(255, 255, 255));
    form->close();
    EXPECT_FALSE(form->form2Loaded());
    EXPECT_TRUE(form->closed());
    EXPECT_EQ(ended, 0);  // the ordinary viewers just close
}

TEST_F(Shell, ClosingEndsAtOnceWhereTheChapterSaysSo) {
    ChapterProfile s = SpecimenChapter::defaultProfile();
    s.closeEndsProgram = true;
    start(s);
    form->close();
    EXPECT_FALSE(form->form2Loaded());
    EXPECT_EQ(ended, 1);
}

TEST_F(Shell, RepaintUnloadsThePrintCanvasWhereTheChapterSaysSo) {
    ChapterProfile s = SpecimenChapter::defaultProfile();
    s.unloadsPrintCanvasOnPaint = true;
    start(s);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->Form2();
    form->repaint();
    EXPECT_FALSE(form->form2Loaded());
    form->Form2();  // loaded again on demand
    EXPECT_TRUE(form->form2Loaded());
}

TEST(ShellDeathTest, EscapeEndsTheProcessWithStatusZero) {
    EXPECT_EXIT(
        {
            resetContext();
            resetShellState();
            setEndProgramHandler(nullptr);
            SpecimenChapter chapter;
            Form1 form(chapter);
            form.Form_Load();
            QTest::keyClick(&form, Qt::Key_Escape);
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "");
}
