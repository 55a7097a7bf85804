// The pages of the continued-fraction chapter drawn on the recording canvas,
// and once in the real fonts to see that they stay on the page.
#include "alder/alder_chapter.h"
#include "faces.h"
#include "backends/raster_canvas.h"
#include "sound.h"
#include "support/library_fixture.h"
#include "support/real_face_page.h"
#include "support/recording_sound.h"
#include "text.h"

#include <algorithm>
#include <cmath>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

class AlderPagesTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        SkipWait = 1;
        sounds = RecordingSound::install();
    }

    // Ops of one kind drawn with the given width.
    std::vector<DrawOp> ops(DrawOp::Kind kind, int width = 0) const {
        std::vector<DrawOp> out;
        for (const DrawOp& op : canvas.ops)
            if (op.kind == kind && (width == 0 || op.pen.width == width)) out.push_back(op);
        return out;
    }
    bool hasText(const QString& t) const {
        for (const DrawOp& op : canvas.ops)
            if (op.kind == DrawOp::Text && op.text == t) return true;
        return false;
    }

    AlderChapter ch;
    std::shared_ptr<std::vector<std::string>> sounds;
};

}  // namespace

TEST_F(AlderPagesTest, GraphAxesCarryTheirLabels) {
    ch.pic3();
    // With UnitW 6.5 and UnitH 19.5: frames 195 x 195 from x 110.5, tops 19.5
    // and 253.5.
    const std::vector<DrawOp> frames = ops(DrawOp::Rect);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_DOUBLE_EQ(frames[0].x1, 110.5);
    EXPECT_DOUBLE_EQ(frames[0].x2, 305.5);
    EXPECT_DOUBLE_EQ(frames[0].y1, 19.5);
    EXPECT_DOUBLE_EQ(frames[1].y1, 253.5);
    EXPECT_DOUBLE_EQ(frames[1].y2, 448.5);
    EXPECT_EQ(frames[0].pen.color, RGB(0, 0, 255));

    // Right of each frame: 10^-10 ... 10^-40, the exponent raised and set
    // smaller (SupSize 0.85 from here on) with a Courier minus.
    const std::vector<DrawOp> t = texts();
    for (double top : {19.5, 253.5}) {
        QStringList labels;
        for (size_t k = 0; k < t.size(); ++k) {
            if (t[k].font.face != QStringLiteral("Arial") || t[k].text != QStringLiteral("10") ||
                t[k].x1 != 311.5 || t[k].y1 < top - 10 || t[k].y1 > top + 185)
                continue;
            QString exp;
            const double supY = t[k].y1 - 0.2 * 16.5;
            for (size_t j = k + 1; j < t.size() && std::fabs(t[j].y1 - supY) < 1e-3; ++j)
                exp += t[j].text;
            labels << exp;
            EXPECT_NEAR(t[k + 1].font.size, 1.2 * 11 * 0.85, 1e-4);  // the minus
            EXPECT_EQ(t[k + 1].font.face, QStringLiteral("Courier New"));
        }
        EXPECT_EQ(labels, (QStringList{"-10", "-20", "-30", "-40"})) << "graph at " << top;
    }
    EXPECT_FLOAT_EQ(SupSize, 0.85f);
    EXPECT_FLOAT_EQ(canvas.FontSize, BaseSize);
    EXPECT_EQ(canvas.FontName, QStringLiteral("メイリオ"));

    // Along the bottom: 10 at the left edge, 1000 at the right, 100 between.
    for (const char* s : {"10", "20", "30", "50", "100", "200", "300", "500", "1000"}) {
        int n = 0;
        for (const DrawOp& op : t)
            if (op.font.face == QStringLiteral("Arial") && op.text == QLatin1String(s) &&
                (op.y1 == 448.5 + 5 || op.y1 == 214.5 + 5))
                ++n;
        EXPECT_EQ(n, 2) << s;
    }
}

TEST_F(AlderPagesTest, LegendsAndCurvesOfBothGraphs) {
    ch.pic3();
    // The sample lines of the legends (width 2, left of the frames) all
    // start at one x: the one-digit values take one UnitW more.
    std::vector<DrawOp> samples;
    for (const DrawOp& op : ops(DrawOp::Line, 2))
        if (op.y1 == op.y2 && op.x2 < 110.5) samples.push_back(op);
    ASSERT_EQ(samples.size(), 12u);
    for (size_t k = 0; k < samples.size(); ++k) {
        const int idx = 6 - int(k % 6);
        EXPECT_DOUBLE_EQ(samples[k].x1, samples[0].x1);
        EXPECT_EQ(samples[k].pen.color, colTable[size_t(idx)]);
        const double top = k < 6 ? 19.5 : 253.5;
        EXPECT_DOUBLE_EQ(samples[k].y1, top + (7 - idx) * 19.5 + 0.45 * 19.5);
    }

    // Each curve starts with a single point and ends with a drop to the
    // bottom edge; everything plotted stays inside its frame.
    const std::vector<DrawOp> points = ops(DrawOp::Point);
    ASSERT_EQ(points.size(), 12u);
    int drops = 0;
    for (const DrawOp& op : canvas.ops) {
        if ((op.kind != DrawOp::Line && op.kind != DrawOp::Point) || op.pen.width != 2 ||
            op.x2 < 110.5)
            continue;
        const double top = op.y1 < 253.5 ? 19.5 : 253.5;
        EXPECT_GE(op.x1, 110.5);
        EXPECT_LE(op.x1, 305.5);
        EXPECT_GE(op.y1, top);
        EXPECT_LE(op.y2, top + 195 + 1e-9);
        if (op.kind == DrawOp::Line && op.x1 == op.x2 && op.y2 == top + 195) ++drops;
    }
    EXPECT_EQ(drops, 12);
    EXPECT_EQ(canvas.DrawWidth, 1);
    EXPECT_EQ(*sounds, std::vector<std::string>{"complete"});
}

TEST_F(AlderPagesTest, ReferenceMarkersOnlyForNuZeroAndNotForTen) {
    ch.pic3();
    const std::vector<DrawOp> circles = ops(DrawOp::Circle);
    ASSERT_EQ(circles.size(), 10u);
    const int passes[6][2] = {{}, {92, 356}, {51, 188}, {37, 131}, {30, 102}, {25, 84}};
    for (size_t k = 0; k < circles.size(); ++k) {
        const int idx = 5 - int(k / 2);  // curves run x = 5, 4, 3, 2, 1
        const DrawOp& c = circles[k];
        EXPECT_EQ(c.pen.color, colTable[size_t(idx)]);
        EXPECT_NE(c.pen.color, colTeal);
        EXPECT_DOUBLE_EQ(c.rx, 4);
        const float u = float(std::log(double(passes[idx][k % 2])) / std::log(10.0));
        EXPECT_FLOAT_EQ(float(c.x1), float((double(u) - 1) / 2 * 195 + 110.5));
        // In the first graph, at 10^-16 and 10^-32.
        EXPECT_DOUBLE_EQ(c.y1, k % 2 == 0 ? 19.5 + 6.0 / 30 * 195 : 19.5 + 22.0 / 30 * 195);
    }
    EXPECT_EQ(canvas.FillStyle_, FillStyle::Transparent);
}

TEST_F(AlderPagesTest, PageZeroMarksTheSubstitutionOncePageOneIsDrawn) {
    auto wings = [&] {
        int n = 0;
        for (const DrawOp& op : canvas.ops)
            if (op.kind == DrawOp::Glyph && op.font.face == QStringLiteral("Wingdings")) ++n;
        return n;
    };
    ch.pic0();
    EXPECT_TRUE(ops(DrawOp::Rect).empty());
    EXPECT_EQ(wings(), 0);

    ch.pic1();
    EXPECT_EQ(ch.Pic1Drawn, 1);
    canvas.ops.clear();
    ch.pic0();
    const std::vector<DrawOp> boxes = ops(DrawOp::Rect);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].pen.color, RGB(0, 0, 255));
    EXPECT_DOUBLE_EQ(boxes[0].x2 - boxes[0].x1, 2.4 * 6.5);
    // Its top edge 5 px below the line clears the bar above; its bottom
    // stays 1 px above the next line.
    EXPECT_DOUBLE_EQ(boxes[0].y2 - boxes[0].y1, 19.5 - 6);
    EXPECT_EQ(canvas.DrawStyle_, DrawStyle::Solid);
    EXPECT_EQ(wings(), 1);
    // The box surrounds the last a_n of the finite fraction.
    const std::vector<DrawOp> t = texts();
    const auto an = std::find_if(t.begin(), t.end(), [&](const DrawOp& op) {
        return op.text == QStringLiteral("a") && op.x1 == boxes[0].x1 + 2;
    });
    EXPECT_NE(an, t.end());
}

