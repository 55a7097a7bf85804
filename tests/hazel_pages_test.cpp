#include "hazel/hazel_chapter.h"

#include "faces.h"
#include "backends/raster_canvas.h"
#include "support/library_fixture.h"
#include "support/real_face_page.h"
#include "text.h"

#include <QStringList>
#include <algorithm>
#include <map>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

class HazelPages : public ChapterTest<HazelChapter> {
protected:
    std::vector<DrawOp> opsOf(DrawOp::Kind kind, Color colour) const {
        std::vector<DrawOp> out;
        for (const DrawOp& op : canvas.ops)
            if (op.kind == kind && op.pen.color == colour) out.push_back(op);
        return out;
    }
};

// Pixel position of graph coordinates: x from -3.4 to 1.6 across the page,
// y from top to top + 12 down it.
double gx(double x) { return (x + 3.4) * 774 / 5.0; }
double gy(double y, double top) { return (y - top) * 729 / 12.0; }

}  // namespace

TEST_F(HazelPages, CoefficientLineShowsTheSevenRoundedCoefficients) {
    chapter.pic1();
    QStringList numbers;
    for (const DrawOp& op : canvas.texts()) {
        bool ok = false;
        op.text.toDouble(&ok);
        if (ok && op.text.contains(QLatin1Char('.')) && op.font.size == 13.0)
            numbers << op.text;
    }
    EXPECT_EQ(numbers.join(QLatin1Char(' ')),
              "1.26606 1.13021 0.27148 0.04427 0.00547 0.00052 0.00004");
    // The second row starts under the first coefficient, 1.2 lines lower.
    const auto texts = canvas.texts();
    const auto at = [&](const char* s) {
        const auto it = std::find_if(texts.begin(), texts.end(),
                                     [&](const DrawOp& op) { return op.text == QLatin1String(s); });
        if (it == texts.end()) {
            ADD_FAILURE() << "no text " << s;
            return DrawOp{};
        }
        return *it;
    };
    EXPECT_NEAR(at("0.00547").y1 - at("1.26606").y1, 1.2 * UnitH, 1e-3);
    EXPECT_LT(at("0.27148").x1, at("0.04427").x1);
}

TEST_F(HazelPages, ErrorAxisIsLabelledInThousandths) {
    chapter.pic1();
    // The labels right of the error frame, one row per tick, top to bottom.
    std::map<long, QString> rows;
    for (const DrawOp& op : canvas.texts())
        if (op.x1 >= gx(1.05) - 0.01 && op.y1 > gy(-2.5, -8.5))
            rows[std::lround(op.y1 * 100)] += op.text;
    QStringList labels;
    for (const auto& [y, text] : rows) labels << text;
    EXPECT_EQ(labels, QStringList({" .002", " .001", " 0", "-.001", "-.002"}));
    ASSERT_FALSE(rows.empty());
    EXPECT_NEAR(rows.begin()->first / 100.0, gy(-2.15, -8.5), 0.01);
}

TEST_F(HazelPages, GraphsLieInTheirFramesInUserCoordinates) {
    chapter.pic1();
    const auto frames = opsOf(DrawOp::Rect, colGray);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_NEAR(frames[0].x1, gx(-1), 1e-6);
    EXPECT_NEAR(frames[0].y1, gy(-2.7, -5.5), 1e-6);
    EXPECT_NEAR(frames[0].x2, gx(1), 1e-6);
    EXPECT_NEAR(frames[0].y2, gy(0.5, -5.5), 1e-6);
    EXPECT_NEAR(frames[1].y1, gy(-2, -8.5), 1e-6);
    EXPECT_NEAR(frames[1].y2, gy(2, -8.5), 1e-6);

    // The frame of e^x ends at 2.7, so the curve's last piece (e = 2.718...)
    // reaches a pixel above it; that much is allowed at the top.
    const double eOver = gy(-2.7, -5.5) - gy(-std::exp(1.0), -5.5);
    const auto inside = [&](const DrawOp& op, const DrawOp& f) {
        const double e = 1e-6, top = f.y1 - (&f == &frames[0] ? eOver : 0) - e;
        return op.x1 >= f.x1 - e && op.x1 <= f.x2 + e && op.x2 >= f.x1 - e && op.x2 <= f.x2 + e &&
               op.y1 >= top && op.y1 <= f.y2 + e && op.y2 >= top && op.y2 <= f.y2 + e;
    };
    struct Curve { Color colour; size_t frame; };
    for (const Curve& c : {Curve{colOrange, 0}, Curve{colMagenta, 1}, Curve{colLime, 1}}) {
        const auto points = opsOf(DrawOp::Point, c.colour);
        auto lines = opsOf(DrawOp::Line, c.colour);
        ASSERT_EQ(points.size(), 1u);
        // The legend's sample line is the one wide line of its colour.
        lines.erase(std::remove_if(lines.begin(), lines.end(),
                                   [](const DrawOp& op) { return op.pen.width != 1; }),
                    lines.end());
        ASSERT_EQ(lines.size(), 256u);
        EXPECT_NEAR(points[0].x1, gx(-1), 1e-6);
        for (const DrawOp& op : lines) EXPECT_TRUE(inside(op, frames[c.frame])) << op.x1;
        EXPECT_NEAR(lines.back().x2, gx(1), 1e-6);
    }
    // e^x at x = 1 sits e units above the axis.
    EXPECT_NEAR(opsOf(DrawOp::Line, colOrange).back().y2, gy(-std::exp(1.0), -5.5), 1e-4);
}

TEST_F(HazelPages, PageOneLeavesTheCanvasInPixelsAndRedrawsTheSame) {
    chapter.pic1();
    const std::vector<DrawOp> first = canvas.ops;
    EXPECT_EQ(canvas.toPxX(10), 10);
    EXPECT_EQ(canvas.toPxY(10), 10);
    EXPECT_EQ(canvas.FontSize, 13.0f);
    EXPECT_TRUE(canvas.FontTransparent);

    // Drawn again on a canvas someone left scaled (a print after a failure).
    canvas.ops.clear();
    canvas.Scale(0, 0, 1, 1);
    chapter.pic1();
    ASSERT_EQ(canvas.ops.size(), first.size());
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(canvas.ops[i].kind, first[i].kind);
        EXPECT_DOUBLE_EQ(canvas.ops[i].x1, first[i].x1);
        EXPECT_DOUBLE_EQ(canvas.ops[i].y1, first[i].y1);
    }
}

TEST_F(HazelPages, GraphTextBlanksWhatLiesUnderIt) {
    chapter.pic1();
    // Each graph label is preceded by a white box over its cell; page text is not.
    const auto& ops = canvas.ops;
    int blanked = 0;
    for (size_t i = 1; i < ops.size(); ++i)
        if (ops[i].kind == DrawOp::Text && ops[i - 1].kind == DrawOp::FilledRect) {
            EXPECT_EQ(ops[i - 1].pen.color, canvas.BackColor);
            EXPECT_DOUBLE_EQ(ops[i - 1].x1, ops[i].x1);
            EXPECT_DOUBLE_EQ(ops[i - 1].y2, ops[i].y2);
            ++blanked;
        }
    const auto texts = canvas.texts();
    const long graphTexts = std::count_if(texts.begin(), texts.end(), [](const DrawOp& op) {
        return op.x1 > gx(-1.0) - 1 && op.y1 > gy(-2.7, -5.5) - 1;
    });
    EXPECT_GE(blanked, 15);
    EXPECT_EQ(blanked, graphTexts);
}

// The lower graph's x labels come after both error curves, so that the
// curves pass behind their cells instead of crossing the numbers out.
TEST_F(HazelPages, TheErrorGraphsLabelsLieOverItsCurves) {
    chapter.pic1();
    const auto& ops = canvas.ops;
    size_t lastCurve = 0, minusHalf = 0;
    for (size_t i = 0; i < ops.size(); ++i) {
        // The curve, not its legend's sample line (width 2).
        if (ops[i].kind == DrawOp::Line && ops[i].pen.color == colLime && ops[i].pen.width == 1) lastCurve = i;
        // The digits of the lower graph's "-0.5", left of its y axis.
        if (ops[i].kind == DrawOp::Text && ops[i].text == QLatin1String("0.5") && ops[i].x1 < gx(0)) minusHalf = i;
    }
    ASSERT_GT(lastCurve, 0u);
    EXPECT_GT(minusHalf, lastCurve);
}
