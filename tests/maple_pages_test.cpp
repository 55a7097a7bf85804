#include "maple/maple_chapter.h"

#include "faces.h"
#include "backends/raster_canvas.h"
#include "support/library_fixture.h"
#include "support/real_face_page.h"
#include "text.h"

#include <algorithm>
#include <map>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

class MaplePages : public ChapterTest<MapleChapter> {
protected:
    std::vector<DrawOp> opsOf(DrawOp::Kind kind, Color colour) const {
        std::vector<DrawOp> out;
        for (const DrawOp& op : canvas.ops)
            if (op.kind == kind && op.pen.color == colour) out.push_back(op);
        return out;
    }
};

// The table's rows: the texts on one line from TabX3 rightwards, by line.
std::map<long, std::vector<DrawOp>> tableRows(const std::vector<DrawOp>& texts, double fromX) {
    std::map<long, std::vector<DrawOp>> rows;
    bool started = false;
    for (const DrawOp& op : texts) {
        // The table begins with the row index 0 at TabX3, after the page text.
        if (!started && op.text == QLatin1String("0") && std::abs(op.x1 - fromX) < 1e-6)
            started = true;
        if (started) rows[std::lround(op.y1 * 100)].push_back(op);
    }
    return rows;
}

}  // namespace

// On the 774 x 729 page: x from -1.25 at pixel 39 to 3.25 at 735; y = 1 at
// 458, 0 at 529, -1 at 599; the band from 437 (1.3) to 620 (-1.3).
TEST_F(MaplePages, GraphBandWaveAndCurveOnThePage) {
    chapter.pic0();
    const auto band = opsOf(DrawOp::FilledRect, RGB(192, 240, 192));
    ASSERT_EQ(band.size(), 1u);
    EXPECT_EQ(band[0].x1, 39);
    EXPECT_EQ(band[0].y1, 620);
    EXPECT_EQ(band[0].x2, 735);
    EXPECT_EQ(band[0].y2, 437);

    const auto wave = opsOf(DrawOp::Line, colOrange);
    ASSERT_EQ(wave.size(), 11u);
    EXPECT_EQ(wave.front().x1, 39);
    EXPECT_EQ(wave.front().y1, 458);
    EXPECT_EQ(wave.back().x2, 735);
    EXPECT_EQ(wave.back().y2, 599);
    for (size_t i = 1; i < wave.size(); ++i) {
        EXPECT_EQ(wave[i].x1, wave[i - 1].x2);  // one unbroken polyline
        EXPECT_EQ(wave[i].y1, wave[i - 1].y2);
    }
    for (const DrawOp& op : wave) EXPECT_EQ(op.pen.width, 2);

    // The curve: one point first, then 576 joined pieces to x = 3.25.
    const auto points = opsOf(DrawOp::Point, colBlue);
    const auto curve = opsOf(DrawOp::Line, colBlue);
    ASSERT_EQ(points.size(), 1u);
    ASSERT_EQ(curve.size(), 576u);
    EXPECT_EQ(points[0].x1, 39);
    EXPECT_EQ(curve.front().x1, points[0].x1);
    EXPECT_EQ(curve.front().y1, points[0].y1);
    EXPECT_EQ(curve.back().x2, 735);
    for (size_t i = 1; i < curve.size(); ++i) EXPECT_EQ(curve[i].x1, curve[i - 1].x2);
    // The highest point: the first overshoot, above the wave's 458, at x = 1/16.
    const auto from = std::find_if(curve.begin(), curve.end(),
                                   [&](const DrawOp& op) { return op.x2 > chapter.px(0); });
    const auto top = std::min_element(from, from + 32,
                                      [](const DrawOp& a, const DrawOp& b) { return a.y2 < b.y2; });
    EXPECT_LT(top->y2, 458 - 8);
    EXPECT_EQ(top->x2, chapter.px(1.0f / 16));
    // Through the axis at every jump.
    for (float x : {0.0f, 1.0f, 2.0f, 3.0f}) {
        const auto at = std::find_if(curve.begin(), curve.end(),
                                     [&](const DrawOp& op) { return op.x2 == chapter.px(x); });
        ASSERT_NE(at, curve.end());
        EXPECT_EQ(at->y2, 529) << x;
    }
    EXPECT_EQ(canvas.DrawWidth, 1);
    EXPECT_EQ(canvas.FontSize, 13.0f);
}

TEST_F(MaplePages, PrintingMovesEveryGraphPointDownByRoundedLines) {
    chapter.pic0();
    const std::vector<DrawOp> screen = canvas.ops;
    canvas.ops.clear();
    Printing = 1;
    chapter.pic0();
    Printing = 0;
    // Round(1.2 * 19.5) = Round(23.4) = 23.
    const auto graphOps = [](const std::vector<DrawOp>& ops) {
        std::vector<DrawOp> out;
        for (const DrawOp& op : ops)
            if (op.kind == DrawOp::Line || op.kind == DrawOp::Point || op.kind == DrawOp::FilledRect)
                out.push_back(op);
        return out;
    };
    const auto a = graphOps(screen), b = graphOps(canvas.ops);
    ASSERT_EQ(a.size(), b.size());
    ASSERT_EQ(a.size(), 1u + 1 + 11 + 1 + 576);
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(b[i].x1, a[i].x1);
        EXPECT_EQ(b[i].x2, a[i].x2);
        EXPECT_EQ(b[i].y1 - a[i].y1, 23) << i;
        if (a[i].kind != DrawOp::Point) {
            EXPECT_EQ(b[i].y2 - a[i].y2, 23) << i;
        }
    }
}

TEST_F(MaplePages, PageTextEndsAboveTheGraphAndLabelsSitInIt) {
    for (int printing : {0, 1}) {
        canvas.ops.clear();
        Printing = printing;
        chapter.pic0();
        const auto band = opsOf(DrawOp::FilledRect, RGB(192, 240, 192));
        ASSERT_EQ(band.size(), 1u);
        bool inGraph = false;
        QString labels;
        for (const DrawOp& op : canvas.ops) {
            if (op.kind == DrawOp::FilledRect) inGraph = true;
            if (op.kind != DrawOp::Text && op.kind != DrawOp::Glyph) continue;
            if (!inGraph)
                EXPECT_LT(op.y2, band[0].y2) << op.text.toStdString();
            else
                labels += op.text;
        }
        // 1, 0, -1, x, -pi, pi, 2pi: pi in the Symbol face's "p".
        EXPECT_EQ(labels, "10-1x-pp2p");
    }
    Printing = 0;
}

TEST_F(MaplePages, TableShowsSignedTermsAndSumsWithAlignedDigits) {
    chapter.pic2();
    const auto rows = tableRows(canvas.texts(), TabX3);
    ASSERT_EQ(rows.size(), 7u);
    const char* expected[] = {"0  2.00000  2.00000", "1 -1.09662  0.90338",
                              "2  0.32470  1.22807", "3 -0.05450  1.17357",
                              "4  0.00581  1.17938", "5 -0.00043  1.17896",
                              "6  0.00002  1.17898"};
    // Digit columns: the term's digits after the sign place, the sum's too.
    const double termX = TabX3 + 3 * UnitW + 7.8;  // the Courier minus at 15.6 pt
    const double sumX = TabX3 + 12 * UnitW + 7.8;
    int i = 0;
    double lastY = -1;
    for (const auto& [y, ops] : rows) {
        // Index, (minus,) term, sum; the minus in the upright face.
        ASSERT_EQ(ops.size(), size_t(i % 2 ? 4 : 3)) << i;
        if (ops.size() == 4) {
            EXPECT_EQ(ops[1].font.face, face::Courier);
        }
        const DrawOp& term = ops[ops.size() == 4 ? 2 : 1];
        const DrawOp& sum = ops.back();
        EXPECT_NEAR(term.x1, termX, 1e-3) << i;
        EXPECT_NEAR(sum.x1, sumX, 1e-3) << i;
        const QString shown = ops[0].text + (ops.size() == 4 ? " " + ops[1].text : "  ") + term.text + "  " + sum.text;
        EXPECT_EQ(shown, expected[i]);
        if (lastY >= 0) {
            EXPECT_NEAR(y / 100.0 - lastY, UnitH, 0.01);
        }
        lastY = y / 100.0;
        ++i;
    }
}

TEST_F(MaplePages, PageTwoOpensMidSentenceAtTheMargin) {
    chapter.pic2();
    EXPECT_EQ(canvas.texts()[0].x1, LeftX);
    EXPECT_EQ(canvas.texts()[0].y1, 0);
}

// With the real faces the table's digits line up.
TEST(MaplePagesRaster, TableDigitsAlign) {
    MapleChapter chapter;
    RealFacePage real(chapter);
    chapter.drawPage(2);
    // The table's values start at one x per column.
    std::map<long, std::vector<double>> columns;  // by column start, the x of each value
    for (const DrawOp& op : real.ops())
        if (op.kind == DrawOp::Text && op.text.size() == 7 && op.text.at(1) == QLatin1Char('.'))
            columns[op.x1 < TabX3 + 10 * UnitW ? 0 : 1].push_back(op.x1);
    ASSERT_EQ(columns[0].size(), 7u);
    ASSERT_EQ(columns[1].size(), 7u);
    for (const auto& [c, xs] : columns)
        for (double x : xs) EXPECT_NEAR(x, xs[0], 0.01) << c;
}
