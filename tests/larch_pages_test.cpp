// The lattice pages on the recording canvas, and printed through the window:
// where they start, the columns of their derivations, the surname from its
// entity, and the figure carried onto paper.
#include "context.h"
#include "end_program.h"
#include "form1.h"
#include "larch/larch_chapter.h"
#include "printer.h"
#include "support/library_fixture.h"
#include "support/recording_printer.h"

#include <QTest>
#include <algorithm>
#include <cmath>
#include <map>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

class LarchPagesTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        InitEntities();
        ch.setPicG(0, &fig0);
        ch.setPicG(1, &fig1);
    }
    std::vector<DrawOp> textsOf(const QString& t) const {
        std::vector<DrawOp> out;
        for (const DrawOp& op : canvas.ops)
            if ((op.kind == DrawOp::Text || op.kind == DrawOp::Glyph) && op.text == t)
                out.push_back(op);
        return out;
    }
    void draw(int page) {
        CurPic = &canvas;
        ch.drawPage(page);
    }

    LarchChapter ch;
    // Raster boxes: a figure goes onto paper as the pixels it copies.
    RasterCanvas fig0{362, 47}, fig1{367, 47};
};

}  // namespace

TEST_F(LarchPagesTest, FiguresAreDrawnOnTheirBoxesAndCopiedOntoPaper) {
    draw(1);
    EXPECT_EQ(CurPic, &fig1);  // left on the figure box
    draw(0);
    EXPECT_FLOAT_EQ(SupSize, 0.85f);  // for the rest of the run
    const auto isCopy = [](const DrawOp& op) { return op.kind == DrawOp::Copy; };
    EXPECT_TRUE(std::none_of(canvas.ops.begin(), canvas.ops.end(), isCopy));

    Printing = 1;
    canvas.ops.clear();
    draw(0);
    // On paper the figure is copied in at the box's place.
    const auto copy = std::find_if(canvas.ops.begin(), canvas.ops.end(), isCopy);
    ASSERT_NE(copy, canvas.ops.end());
    EXPECT_DOUBLE_EQ(copy->x1, 387);
    EXPECT_DOUBLE_EQ(copy->y1, 161);
    EXPECT_DOUBLE_EQ(copy->x2, 387 + 362);
    EXPECT_DOUBLE_EQ(copy->y2, 161 + 47);
    Printing = 0;
}

TEST_F(LarchPagesTest, SurnameComesFromItsEntityInVerdana) {
    draw(1);
    const std::vector<DrawOp> name = textsOf(QString::fromLatin1("Schr\xf6" "dinger"));
    ASSERT_EQ(name.size(), 1u);
    EXPECT_EQ(name[0].kind, DrawOp::Glyph);
    EXPECT_EQ(name[0].font.face, QStringLiteral("Verdana"));
    EXPECT_EQ(name[0].x1, std::nearbyint(name[0].x1));
    // The line goes on in the page face, the plain spelling's width (11
    // letters of 6.5) after the pen.
    const auto after = std::find_if(canvas.ops.begin(), canvas.ops.end(), [&](const DrawOp& op) {
        return op.kind == DrawOp::Text && std::fabs(op.y1 - name[0].y1) < 1 && op.x1 > name[0].x1;
    });
    ASSERT_NE(after, canvas.ops.end());
    EXPECT_EQ(after->font.face, QStringLiteral("メイリオ"));
    EXPECT_NEAR(after->x1 - name[0].x1, 71.5, 0.5);
    EXPECT_EQ(canvas.FontName, QStringLiteral("メイリオ"));
}

TEST_F(LarchPagesTest, EqualsSignsOfEachDerivationShareOneColumn) {
    // Page 0: the equation of motion over two lines; page 1: the second
    // derivative of the recurrence.
    for (int page : {0, 1}) {
        canvas.ops.clear();
        draw(page);
        std::map<double, std::vector<double>> byX;
        for (const DrawOp& op : canvas.ops)
            if (op.kind == DrawOp::Text && op.text.startsWith(QStringLiteral(" ＝ ")))
                byX[op.x1].push_back(op.y1);
        const bool shared = std::any_of(byX.begin(), byX.end(), [](const auto& col) {
            return col.second.size() == 2 &&
                   std::fabs(col.second[1] - col.second[0] - 1.5 * UnitH) < 1e-3;
        });
        EXPECT_TRUE(shared) << "page " << page;
    }

    // Page 2: the four lines of the superposition, two lines apart.
    canvas.ops.clear();
    draw(2);
    std::vector<DrawOp> eq = textsOf(QStringLiteral(" ＝ "));
    ASSERT_GE(eq.size(), 5u);
    // The last is "＝ J_2n(t)" at the end of the fourth line.
    const DrawOp last = eq.back();
    eq.pop_back();
    eq.erase(eq.begin(), eq.end() - 4);
    for (size_t k = 1; k < 4; ++k) {
        EXPECT_DOUBLE_EQ(eq[k].x1, eq[0].x1) << k;
        EXPECT_NEAR(eq[k].y1 - eq[k - 1].y1, 2 * UnitH, 1e-3) << k;
    }
    EXPECT_DOUBLE_EQ(last.y1, eq[3].y1);
    EXPECT_GT(last.x1, eq[0].x1 + 20 * UnitW);
}

TEST_F(LarchPagesTest, SymmetryIsMarkedByTurnedEqualsUnderTheFourthLine) {
    draw(2);
    std::vector<DrawOp> turned;
    for (const DrawOp& op : canvas.ops)
        if (op.kind == DrawOp::Text && op.angle == 90) turned.push_back(op);
    ASSERT_EQ(turned.size(), 4u);
    for (const DrawOp& op : turned) {
        EXPECT_EQ(op.text, QStringLiteral("="));
        EXPECT_EQ(op.pen.color, colBlue);
    }
    // Two columns, two rows 0.35 lines apart.
    EXPECT_DOUBLE_EQ(turned[2].x1, turned[0].x1);
    EXPECT_DOUBLE_EQ(turned[3].x1, turned[1].x1);
    EXPECT_GT(turned[1].x1, turned[0].x1);
    EXPECT_NEAR(turned[2].y1 - turned[0].y1, 0.35 * UnitH, 1e-3);
    // sin(π − θ) begins 4 units left of the first column; the text colour is
    // back for it.
    const std::vector<DrawOp> sin = textsOf(QStringLiteral("sin"));
    ASSERT_FALSE(sin.empty());
    EXPECT_NEAR(sin.back().x1, turned[0].x1 - 4 * UnitW, 1e-3);
    EXPECT_NEAR(sin.back().y1, turned[2].y1 + 0.2 * UnitH + 1, 1e-3);  // lowered to meet π
    EXPECT_NE(sin.back().pen.color, colBlue);
    // Page 2 has no figure.
    EXPECT_TRUE(std::none_of(canvas.ops.begin(), canvas.ops.end(),
                             [](const DrawOp& op) { return op.kind == DrawOp::Copy; }));
}

namespace {


bool hasColour(const QImage& img, QRgb c) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == c) return true;
    return false;
}

}  // namespace

TEST(LarchWindow, PrintedFiguresAreTheScreenFiguresAtTheirPlaces) {
    resetContext();
    resetShellState();
    setEndProgramHandler([] {});
    std::vector<QImage> printed;
    setPagePrinter(std::make_unique<RecordingPrinter>(printed));
    {
        LarchChapter ch;
        Form1 form(ch);
        form.Form_Load();
        // The figure boxes live inside pages 0 and 1 and show with them.
        auto figure = [&](int n) {
            auto boxes = form.pic(n).findChildren<PageBox*>();
            return boxes.size() == 1 ? boxes[0] : nullptr;
        };
        ASSERT_TRUE(figure(0) && figure(1));
        EXPECT_TRUE(form.pic(2).findChildren<PageBox*>().isEmpty());
        EXPECT_TRUE(figure(0)->isVisible());
        EXPECT_FALSE(figure(1)->isVisible());
        EXPECT_EQ(figure(1)->geometry(), QRect(386, 131, 367, 47));

        for (int n : {0, 1, 2}) {
            form.ShowThisPic(n);
            QTest::mouseClick(&form.cmdPrint(), Qt::LeftButton);
        }
        ASSERT_EQ(printed.size(), 3u);
        for (int n : {0, 1}) {
            const QImage shown = figure(n)->canvas().image();
            const QRect at = figure(n)->geometry();
            EXPECT_EQ(printed[size_t(n)].copy(at).convertToFormat(shown.format()), shown) << n;
        }
        // Page 2 went to the print canvas, not into the figure box that
        // page 1 left current.
        EXPECT_EQ(CurPic, &form.Form2().canvas());
        EXPECT_FALSE(hasColour(printed[2], qRgb(232, 255, 232)));
        EXPECT_TRUE(hasColour(printed[2], qRgb(0, 0, 255)));  // its blue heading
    }
    setPagePrinter(nullptr);
    setEndProgramHandler(nullptr);
}

// J′₂ₙ(0): the subscript stands under the prime, a pixel after its letter,
// as a script does; set after the prime it read "J′ ₂ₙ".
TEST_F(LarchPagesTest, ThePrimedJsSubscriptStandsUnderItsPrime) {
    draw(1);
    const std::vector<DrawOp>& ops = canvas.ops;
    int primes = 0;
    for (size_t i = 1; i + 1 < ops.size(); ++i) {
        if (ops[i].text != QLatin1String("'") || ops[i - 1].text != QLatin1String("J")) continue;
        ++primes;
        const DrawOp &j = ops[i - 1], &prime = ops[i], &sub = ops[i + 1];
        EXPECT_EQ(sub.text, QStringLiteral("2"));
        EXPECT_NEAR(sub.x1, j.x2 + 1, 1e-4);  // the pen is Single
        EXPECT_LT(sub.x1, prime.x2);
    }
    EXPECT_EQ(primes, 1);
}
