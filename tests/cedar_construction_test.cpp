// cedar's page 1 in a running viewer: the five-step construction of the
// square during start-up, driven by real clicks and keys, and what printing
// the page gives at each moment.
#include "cedar/cedar_chapter.h"
#include "cedar/square_box.h"
#include "end_program.h"
#include "faces.h"
#include "font_cache.h"
#include "form1.h"
#include "label_button.h"
#include "pacing_clock.h"
#include "printer.h"
#include "replay.h"
#include "support/fast_clock.h"
#include "support/until_drawn.h"
#include "state.h"
#include "text.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <algorithm>
#include <set>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

class CountingPrinter : public PagePrinter {
public:
    explicit CountingPrinter(int* n) : n_(n) {}
    bool printPage(const PrintedPage&) override {
        ++*n_;
        return true;
    }

private:
    int* n_;
};

QColor background(const QWidget* w) { return w->palette().color(QPalette::Window); }

class CedarConstruction : public ::testing::Test {
protected:
    void SetUp() override {
        resetContext();
        resetShellState();
        setEndProgramHandler([this] { ++ended; });
        setPagePrinter(std::make_unique<CountingPrinter>(&printed));
        window = std::make_unique<Form1>(chapter);
    }
    void TearDown() override {
        window.reset();
        setPacingClock(nullptr);
        setPagePrinter(nullptr);
        setEndProgramHandler({});
        resetShellState();
        CurPic = nullptr;
    }

    // The step whose button waits for its click (0 when none does).
    int waitingStep() const {
        for (int c = 1; c <= 5; ++c) {
            const LabelButton* b = chapter.Stp[size_t(c)];
            if (b && b->isVisibleTo(&window->pic(1)) && b->isEnabled()) return c;
        }
        return 0;
    }
    // Runs act(c) once for every step c whose button comes up, from inside
    // the construction's wait, as a reader would react to it.
    void onStep(std::function<void(int)> act) {
        auto* poll = new QTimer(window.get());
        poll->setInterval(10);
        QObject::connect(poll, &QTimer::timeout, window.get(), [this, poll, act] {
            const int c = waitingStep();
            if (c == 0 || reacted.count(c)) return;
            reacted.insert(c);
            act(c);
            if (c == 5) poll->stop();
        });
        poll->start();
    }
    void click(int step) { QTest::mouseClick(chapter.Stp[size_t(step)], Qt::LeftButton); }
    void key(Qt::Key k) { QTest::keyClick(window.get(), k); }

    bool letterShown(int i) const { return !chapter.PicSq->letterOnView(i).isEmpty(); }
    // The square's visible letters, row by row ("." for one not on view).
    QString square() const {
        QString s;
        for (int i : {7, 2, 8, 1, 0, 3, 6, 4, 5})
            s += i == 0 ? QStringLiteral(" ") : letterShown(i) ? chapter.PicSq->letterOnView(i) : QStringLiteral(".");
        return s;
    }

    // The text of the operations drawn on the print canvas by one print.
    std::vector<DrawOp> printOps() {
        QTest::mouseClick(&window->cmdPrint(), Qt::LeftButton);
        return window->Form2().canvas().picture().ops();
    }
    // What the print copied of the square: its picture's operations.
    static std::vector<DrawOp> squareOf(const std::vector<DrawOp>& ops) {
        for (const DrawOp& op : ops)
            if (op.kind == DrawOp::Copy && op.x1 == 446) return op.copied->drawing;
        return {};
    }
    static std::multiset<QString> texts(const std::vector<DrawOp>& ops) {
        std::multiset<QString> t;
        for (const DrawOp& op : ops)
            if (op.kind == DrawOp::Text) t.insert(op.text);
        return t;
    }
    static int count(const std::vector<DrawOp>& ops, DrawOp::Kind kind, Color colour) {
        int n = 0;
        for (const DrawOp& op : ops) n += op.kind == kind && op.pen.color == colour;
        return n;
    }

    CedarChapter chapter;
    std::unique_ptr<Form1> window;
    std::set<int> reacted;
    int ended = 0;
    int printed = 0;
};

}  // namespace

TEST_F(CedarConstruction, EachStepWaitsForItsOwnClick) {
    setPacingClock(std::make_unique<RushingClock>());
    std::vector<QString> squares;
    onStep([&](int c) {
        squares.push_back(square());
        EXPECT_FALSE(letterShown(0));
        EXPECT_EQ(CurPage, 1);
        EXPECT_EQ(background(chapter.Stp[size_t(c)]), QColor(255, 165, 0));
        // Without its click the step does not come, however long one waits;
        // a click on a step already done changes nothing.
        QTest::qWait(60);
        if (c > 1) {
            EXPECT_FALSE(chapter.Stp[size_t(c - 1)]->isEnabled());
            click(c - 1);
        }
        EXPECT_EQ(chapter.StepNo, c - 1);
        EXPECT_EQ(waitingStep(), c);
        EXPECT_EQ(Replay::statusOn(window->pic(1).canvas()), QStringLiteral("Step %1 / 5、描画中").arg(c));
        click(c);
    });
    window->Form_Load();
    EXPECT_TRUE(untilStarted(*window));
    EXPECT_EQ(Replay::statusOn(window->pic(1).canvas()), QString());
    // The square's picture: drawn since the page cleared it.
    const std::vector<DrawOp> squareOps = chapter.PicSq->canvas().picture().ops();

    EXPECT_EQ(reacted, (std::set<int>{1, 2, 3, 4, 5}));
    // Before step 1 the finished figure; then the letters as each step
    // leaves them.
    EXPECT_EQ(squares, (std::vector<QString>{"VFTU GSHp", ".... ....", ".F.E G.H.",
                                             ".F.U G.H.", "VFTU GSHp"}));
    EXPECT_EQ(square(), QStringLiteral("VFTU GSHp"));
    EXPECT_FALSE(letterShown(0));
    EXPECT_EQ(count(squareOps, DrawOp::Rect, RGB(0, 0, 0)), 0);  // the outline went at step 1
    EXPECT_EQ(chapter.StepNo, 5);
    for (int c = 1; c <= 5; ++c) {
        EXPECT_TRUE(chapter.Stp[size_t(c)]->isVisibleTo(&window->pic(1)));
        EXPECT_FALSE(chapter.Stp[size_t(c)]->isEnabled());
        EXPECT_EQ(background(chapter.Stp[size_t(c)]), QColor(240, 240, 255));
    }
    // The square's sides, kept as whole lines when the blinking letters
    // drew it afresh, then its arrowed diagonals pixel by pixel: the one
    // drawn leftward ends at the top-left corner.
    int strokes = 0;
    DrawOp last;
    for (const DrawOp& op : squareOps)
        if (op.kind == DrawOp::Line && op.pen.width == 2) {
            ++strokes;
            last = op;
        }
    EXPECT_EQ(strokes, 4 + 4 + 2 * 180);
    EXPECT_EQ(last.x2, 60);
    EXPECT_EQ(last.y2, 60);
    // Start-up went on with pages 2 to 4 only now, and ends on page 0.
    for (int n = 2; n <= 4; ++n) EXPECT_GT(window->pic(n).canvas().picture().ops().size(), 20u) << n;
    EXPECT_EQ(CurPage, 0);
    EXPECT_TRUE(window->pic(0).isVisibleTo(window.get()));
    EXPECT_FALSE(window->pic(1).isVisibleTo(window.get()));
}

TEST_F(CedarConstruction, F1MidStepFinishesThePageAsIfPressedAtTheStart) {
    // Real time: step 1 alone would take 8 seconds.
    onStep([&](int c) {
        if (c == 1) {
            click(1);
            QTimer::singleShot(300, window.get(), [this] { key(Qt::Key_F1); });
        }
    });
    QElapsedTimer wall;
    wall.start();
    window->Form_Load();
    EXPECT_TRUE(untilStarted(*window));
    EXPECT_LT(wall.elapsed(), 4000);
    EXPECT_EQ(SkipWait, 1);
    EXPECT_EQ(reacted, (std::set<int>{1}));  // no step after F1 waited for a reader
    EXPECT_EQ(chapter.StepNo, 5);
    for (int c = 1; c <= 5; ++c) {
        EXPECT_FALSE(chapter.Stp[size_t(c)]->isEnabled());
        EXPECT_EQ(background(chapter.Stp[size_t(c)]), QColor(240, 240, 255));
    }
    EXPECT_EQ(square(), QStringLiteral("VFTU GSHp"));
    const QImage page = window->pic(1).canvas().image().copy();
    const QImage sq = chapter.PicSq->canvas().image().copy();

    // The same page with F1 pressed before start-up.
    window.reset();
    resetContext();
    resetShellState();
    SkipWait = 1;
    CedarChapter other;
    Form1 reference(other);
    reference.Form_Load();
    EXPECT_TRUE(page == reference.pic(1).canvas().image());
    EXPECT_TRUE(sq == other.PicSq->canvas().image());
}

TEST_F(CedarConstruction, LeavingPageOneAndComingBackShowsItWhereItStands) {
    setPacingClock(std::make_unique<RushingClock>());
    onStep([&](int c) {
        if (c == 1) click(1);
        if (c != 2) return;
        key(Qt::Key_Up);
        EXPECT_EQ(CurPage, 0);
        EXPECT_TRUE(window->pic(0).isVisibleTo(window.get()));
        EXPECT_FALSE(window->pic(1).isVisibleTo(window.get()));
        QTest::qWait(50);
        key(Qt::Key_Down);
        EXPECT_EQ(CurPage, 1);
        EXPECT_TRUE(window->pic(1).isVisibleTo(window.get()));
        // Step 1 done, step 2 still waiting, the square's outline drawn.
        EXPECT_EQ(waitingStep(), 2);
        EXPECT_FALSE(chapter.Stp[1]->isEnabled());
        EXPECT_EQ(chapter.PicSq->canvas().image().pixelColor(50, 150), QColor(0, 0, 255));
        EXPECT_EQ(square(), QStringLiteral(".... ...."));
        key(Qt::Key_F1);
    });
    window->Form_Load();
    EXPECT_TRUE(untilStarted(*window));
    EXPECT_EQ(chapter.StepNo, 5);
    EXPECT_EQ(reacted, (std::set<int>{1, 2}));
}

TEST_F(CedarConstruction, PrintingPageOnePrintsWhatIsOnView) {
    setPacingClock(std::make_unique<RushingClock>());
    std::vector<DrawOp> before, middle;
    onStep([&](int c) {
        if (c == 1) before = printOps();
        if (c == 4) middle = printOps();
        click(c);
    });
    window->Form_Load();
    EXPECT_TRUE(untilStarted(*window));
    window->ShowThisPic(1);
    const std::vector<DrawOp> after = printOps();
    EXPECT_EQ(printed, 3);

    const Color black = RGB(0, 0, 0);
    using T = std::multiset<QString>;
    // Before step 1: the finished figure in outline, the letters, step 1.
    EXPECT_EQ(texts(before), (T{"Step 1"}));
    const std::vector<DrawOp> squareBefore = squareOf(before);
    EXPECT_EQ(texts(squareBefore), (T{"V", "F", "T", "U", "G", "S", "H", "p"}));
    EXPECT_EQ(count(squareBefore, DrawOp::Rect, black), 1);
    EXPECT_EQ(count(squareBefore, DrawOp::Line, black), 2);  // the thin diagonals
    EXPECT_EQ(std::count_if(before.begin(), before.end(),
                            [](const DrawOp& op) { return op.kind == DrawOp::Copy; }),
              2);
    // Waiting for step 4: the letters of steps 2 and 3, four step labels, no
    // outline.
    EXPECT_EQ(texts(middle), (T{"Step 1", "Step 2", "Step 3", "Step 4"}));
    EXPECT_EQ(texts(squareOf(middle)), (T{"F", "U", "G", "H"}));
    EXPECT_EQ(count(squareOf(middle), DrawOp::Rect, black), 0);
    EXPECT_EQ(count(middle, DrawOp::Rect, colBlue), 4);
    // Done: every letter, and the thin diagonals over the blue ones.
    EXPECT_EQ(texts(after), (T{"Step 1", "Step 2", "Step 3", "Step 4", "Step 5"}));
    const std::vector<DrawOp> squareAfter = squareOf(after);
    EXPECT_EQ(texts(squareAfter), (T{"V", "F", "T", "U", "G", "S", "H", "p"}));
    auto lastLine = [&](Color c) {
        return std::find_if(squareAfter.rbegin(), squareAfter.rend(), [c](const DrawOp& op) {
            return op.kind == DrawOp::Line && op.pen.color == c;
        });
    };
    ASSERT_NE(lastLine(black), squareAfter.rend());
    EXPECT_LT(lastLine(black), lastLine(colBlue));
    // The composition starts from a cleared canvas every time.
    EXPECT_EQ(before.front().kind, DrawOp::Clear);
    EXPECT_EQ(texts(printOps()), texts(after));
}

// The square's letters are variables like every other: the serif italic of
// the face table, bold without Bookman; on paper the step boxes hold their
// captions with 4 px to spare on either side.
TEST_F(CedarConstruction, LettersAreSerifItalicsAndPaperStepBoxesHoldTheirCaptions) {
    if (FontExists(face::Bookman)) GTEST_SKIP() << "the letters are Bookman here";
    SkipWait = 1;
    window->Form_Load();
    int serif = 0;
    for (const DrawOp& op : chapter.PicSq->canvas().picture().ops()) {
        if (op.kind != DrawOp::Text) continue;
        const QFontInfo info(resolveFont(op.font.face, op.font.size, op.font.bold, op.font.italic).font);
        EXPECT_EQ(info.family(), QStringLiteral("Liberation Serif")) << op.text.toStdString();
        EXPECT_TRUE(info.italic());
        EXPECT_TRUE(info.bold());
        EXPECT_EQ(info.pixelSize(), 21);
        ++serif;
    }
    EXPECT_EQ(serif, 8);
    window->ShowThisPic(1);
    const std::vector<DrawOp> ops = printOps();
    for (size_t i = 0; i + 1 < ops.size(); ++i) {
        if (ops[i].kind != DrawOp::Rect || ops[i + 1].text.left(5) != QLatin1String("Step ")) continue;
        EXPECT_DOUBLE_EQ(ops[i + 1].x1 - ops[i].x1, 4);
        EXPECT_GE(ops[i].x2 - ops[i + 1].x2, 4) << ops[i + 1].text.toStdString();
    }
}

TEST(CedarConstructionDeathTest, EscapeOrClosingWhileAStepWaitsEndsTheProgram) {
    auto startThen = [](std::function<void(Form1&)> act) {
        resetContext();
        resetShellState();
        setEndProgramHandler({});  // the real behaviour: end at once
        CedarChapter chapter;
        Form1 w(chapter);
        QTimer::singleShot(300, &w, [&] { act(w); });
        w.Form_Load();
        untilStarted(w);
        std::_Exit(3);  // start-up went on: not ended at once
    };
    EXPECT_EXIT(startThen([](Form1& w) { QTest::keyClick(&w, Qt::Key_Escape); }),
                ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(startThen([](Form1& w) { w.close(); }), ::testing::ExitedWithCode(0), "");
}
