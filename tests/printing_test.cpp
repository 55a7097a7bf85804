#include "context.h"
#include "end_program.h"
#include "chapter_catalog.h"
#include "form1.h"
#include "printer.h"
#include "specimen/specimen_chapter.h"
#include "state.h"

#include "support/printing_fixture.h"

#include <QElapsedTimer>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

class Printing_ : public PrintingFixture {
protected:
    void clickPrint() { QTest::mouseClick(&form->cmdPrint(), Qt::LeftButton); }
};

// First row with ink, to see where a page's text starts.
int firstInkRow(const QImage& img) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != qRgb(255, 255, 255)) return y;
    return -1;
}
int firstInkColumn(const QImage& img) {
    for (int x = 0; x < img.width(); ++x)
        for (int y = 0; y < img.height(); ++y)
            if (img.pixel(x, y) != qRgb(255, 255, 255)) return x;
    return -1;
}

}  // namespace

TEST_F(Printing_, OneClickPrintsTheCurrentPageLaidOutForPaper) {
    start();
    const int screenLeft = LeftX;
    QTest::keyClick(form.get(), Qt::Key_Down);
    QTest::keyClick(form.get(), Qt::Key_Down);
    clickPrint();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(Printing, 0);
    EXPECT_EQ(LeftX, Round(UnitW));  // left as it was set for paper
    EXPECT_EQ(CurPic, &form->Form2().canvas());
    EXPECT_EQ(chapter->drawOrder.back(), 2);

    const QImage& paper = printed[0];
    const QImage screen = form->pic(2).canvas().image();
    EXPECT_GE(paper.width(), 792);
    // One line lower and half the margin.
    EXPECT_NEAR(firstInkRow(paper) - firstInkRow(screen), UnitH, 2);
    EXPECT_NEAR(firstInkColumn(screen) - firstInkColumn(paper), screenLeft - LeftX, 1);
}

TEST_F(Printing_, PageZeroCarriesTheTitleOnlyOnPaper) {
    chapter = std::make_unique<SpecimenChapter>();
    form = std::make_unique<Form1>(*chapter);
    form->Form_Load();
    clickPrint();
    const std::vector<DrawOp>& paper = form->Form2().canvas().picture().ops();
    auto hasTitle = [&](const std::vector<DrawOp>& ops) {
        for (const DrawOp& op : ops)
            if (op.kind == DrawOp::Text && op.text == chapter->profile().title) return op.font.size == 20;
        return false;
    };
    EXPECT_TRUE(hasTitle(paper));
    EXPECT_FALSE(hasTitle(form->pic(0).canvas().picture().ops()));
}

TEST_F(Printing_, PrintingTwiceGivesTheSamePage) {
    start();
    clickPrint();
    clickPrint();
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[0], printed[1]);
}

TEST_F(Printing_, ClicksAndPageChangesDuringAPrintChangeNothingPrinted) {
    start();
    clickPrint();  // page 0, undisturbed, for comparison
    int inside = 0;
    chapter->duringPage = [&](int) {
        if (inside++) return;
        clickPrint();  // ignored: a print is being drawn
        QTest::keyClick(form.get(), Qt::Key_Down);
    };
    clickPrint();
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[1], printed[0]);
    EXPECT_EQ(CurPage, 1);  // the reader did page on
}

TEST_F(Printing_, ThePrintCanvasOutlivesAnUnloadDuringThePrint) {
    ChapterProfile s = SpecimenChapter::defaultProfile();
    s.unloadsPrintCanvasOnPaint = true;
    start(s);
    chapter->duringPage = [&](int) { form->unloadForm2(); };
    clickPrint();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_NE(firstInkRow(printed[0]), -1);  // not a blank, reloaded canvas
    EXPECT_FALSE(form->form2Loaded());       // unloaded once the page went out
    chapter->duringPage = nullptr;
    clickPrint();  // and loaded again for the next one
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[1].size(), printed[0].size());
    EXPECT_EQ(printed[1], printed[0]);
}

TEST_F(Printing_, NoDefaultPrinterLeavesTheProgramRunning) {
    // No print server answers here; the test's own setting goes again after it.
    const QByteArray saved = qgetenv("CUPS_SERVER");
    const bool wasSet = qEnvironmentVariableIsSet("CUPS_SERVER");
    struct Restore {
        QByteArray value;
        bool set;
        ~Restore() { set ? qputenv("CUPS_SERVER", value) : qunsetenv("CUPS_SERVER"); }
    } restore{saved, wasSet};
    qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
    setPagePrinter(makeSystemPrinter());
    start();
    testing::internal::CaptureStderr();
    clickPrint();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "印刷: no default printer is configured; nothing was printed\n");
    EXPECT_EQ(Printing, 0);
    EXPECT_FALSE(makeSystemPrinter()->printPage(form->Form2().canvas().image()));
    QTest::keyClick(form.get(), Qt::Key_Down);
    EXPECT_EQ(CurPage, 1);
}

TEST_F(Printing_, APacedPageWithF1SetPrintsAtOnce) {
    startChapter("alder");
    QTest::keyClick(form.get(), Qt::Key_F1);
    QTest::keyClick(form.get(), Qt::Key_End);
    QElapsedTimer t;
    t.start();
    clickPrint();
    EXPECT_LT(t.elapsed(), 5000);  // paced, the page would take over a minute
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_NE(firstInkRow(printed[0]), -1);
    // The page shows its print canvas while it draws; it stays until closed.
    ASSERT_TRUE(form->Form2().window());
    EXPECT_TRUE(form->Form2().window()->isVisible());
}

TEST_F(Printing_, APageThatFailsOnPaperPrintsNothingAndLeavesPrintingPossible) {
    start();
    chapter->duringPage = [](int) {
        if (Printing) throw std::out_of_range("no value for that argument");
    };
    clickPrint();
    EXPECT_TRUE(printed.empty());  // no half-drawn page
    EXPECT_EQ(Printing, 0);

    chapter->duringPage = nullptr;
    clickPrint();
    EXPECT_EQ(printed.size(), 1u);
}

namespace {

// A printer whose job breaks off after it began: it reports the failure on
// standard error, as the system printer does, and the jobs after it go
// through.
class FailingOncePrinter : public PagePrinter {
public:
    explicit FailingOncePrinter(std::vector<QImage>& pages) : pages_(pages) {}
    bool printPage(const PrintedPage& page) override {
        if (!failed_) {
            failed_ = true;
            std::fprintf(stderr, "印刷: the printer test reported an error\n");
            return false;
        }
        pages_.push_back(page.image.copy());
        return true;
    }

private:
    std::vector<QImage>& pages_;
    bool failed_ = false;
};

}  // namespace

TEST_F(Printing_, APrinterFailingMidJobIsReportedOnceAndTheNextPrintWorks) {
    setPagePrinter(std::make_unique<FailingOncePrinter>(printed));
    start();
    QTest::keyClick(form.get(), Qt::Key_Down);
    const QImage pageBox = form->pic(1).canvas().image().copy();

    testing::internal::CaptureStderr();
    clickPrint();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "印刷: the printer test reported an error\n");  // the shell adds nothing
    EXPECT_TRUE(printed.empty());
    EXPECT_EQ(Printing, 0);
    EXPECT_EQ(form->pic(1).canvas().image(), pageBox);

    clickPrint();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_NE(firstInkRow(printed[0]), -1);
    QTest::keyClick(form.get(), Qt::Key_Down);
    EXPECT_EQ(CurPage, 2);
}

// Found by the reader storm (alder, seed 31000): alder's page 0, shown while
// page 3 was being traced for paper, came out on screen with the paper's
// title and one line lower.
TEST_F(Printing_, APageShownDuringAPrintIsDrawnForTheScreen) {
    ChapterProfile s = SpecimenChapter::defaultProfile();
    s.redrawnWhenShown = {0};
    start(s);
    QTest::keyClick(form.get(), Qt::Key_End);
    std::vector<int> printingSeen;  // page 2 for paper, page 0 inside it, page 2 again
    chapter->duringPage = [&](int n) {
        printingSeen.push_back(Printing);
        if (n != 2) return;
        QTest::keyClick(form.get(), Qt::Key_Home);  // redraws page 0 on its box
        clickPrint();                              // still a print under way
        printingSeen.push_back(Printing);
    };
    clickPrint();
    EXPECT_EQ(printingSeen, (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(printed.size(), 1u);  // the second click was refused
    EXPECT_EQ(CurPage, 0);
}

// Found by the reader storm (alder, seed 31001): alder's pages 1 and 2 keep
// the canvas's size, so they printed smaller on a fresh print canvas than
// after a print of page 0.
TEST_F(Printing_, APagePrintsTheSameWhateverWasPrintedBefore) {
    startChapter("alder");
    QTest::keyClick(form.get(), Qt::Key_Down);
    clickPrint();
    QTest::keyClick(form.get(), Qt::Key_Home);
    clickPrint();
    QTest::keyClick(form.get(), Qt::Key_Down);
    clickPrint();
    ASSERT_EQ(printed.size(), 3u);
    EXPECT_EQ(printed[2], printed[0]);
}
