// The chain figure's arithmetic on the designed boxes, on the recording
// canvas: cells, squares, ghosts and coils.
#include "larch/larch_chapter.h"
#include "backends/raster_canvas.h"
#include "support/library_fixture.h"

#include <cmath>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

class LarchFigureTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        ch.setPicG(0, &box0);
        ch.setPicG(1, &box1);
    }
    static std::vector<DrawOp> ofKind(const RecordingCanvas& c, DrawOp::Kind kind, int width = 0) {
        std::vector<DrawOp> out;
        for (const DrawOp& op : c.ops)
            if (op.kind == kind && (width == 0 || op.pen.width == width)) out.push_back(op);
        return out;
    }
    // Each spring: its lead, 100 coil strokes and the lead into the next
    // square. Length of spring i's coil, from its first to its last point.
    static double coilLength(const std::vector<DrawOp>& strokes, int i) {
        const size_t first = size_t(102 * i + 1), last = first + 99;
        return strokes[last].x2 - strokes[first].x1;
    }

    LarchChapter ch;
    RecordingCanvas box0{362, 47}, box1{367, 47};
};

}  // namespace

TEST_F(LarchFigureTest, DesignedBoxGivesTheCellsSquaresAndGhosts) {
    ch.DrawMasses(0);
    EXPECT_EQ(CurPic, &box0);  // the page relies on it when it prints
    EXPECT_FLOAT_EQ(ch.CellW, 33);
    EXPECT_EQ(ch.MassW, 20);
    EXPECT_EQ(ch.MassR, 10);
    // -16.5 and 49.5 both round to the even neighbour.
    const std::array<int32_t, 6> x{-16, 50, 116, 182, 248, 314};
    for (size_t i = 0; i < x.size(); ++i) EXPECT_EQ(ch.MassX[i], x[i]) << i;
    EXPECT_FLOAT_EQ(ch.MassXf[0], -17);
    EXPECT_FLOAT_EQ(ch.MassXf[6], 379);

    ASSERT_EQ(box0.ops.front().kind, DrawOp::Clear);
    EXPECT_EQ(box0.ops.front().pen.color, RGB(232, 255, 232));
    // Squares centred on y 24 (23.5 rounds to even), ghost-left first.
    const std::vector<DrawOp> squares = ofKind(box0, DrawOp::FilledRect);
    ASSERT_EQ(squares.size(), 6u);
    const std::array<double, 6> cx{-17, 50, 116, 182, 248, 314};
    for (size_t j = 0; j < 6; ++j) {
        EXPECT_DOUBLE_EQ(squares[j].x1, cx[j] - 10) << j;
        EXPECT_DOUBLE_EQ(squares[j].x2, cx[j] + 10) << j;
        EXPECT_DOUBLE_EQ(squares[j].y1, 14);
        EXPECT_DOUBLE_EQ(squares[j].y2, 34);
        EXPECT_EQ(squares[j].pen.color, RGB(0, 0, 255));
    }
    // White "M" in Verdana 11 (5.5 wide, 16.5 high here), one pixel right
    // of centre, its top half a text height above the middle.
    const std::vector<DrawOp> labels = box0.texts();
    ASSERT_EQ(labels.size(), 6u);
    for (size_t j = 0; j < 6; ++j) {
        EXPECT_EQ(labels[j].text, QStringLiteral("M"));
        EXPECT_EQ(labels[j].font.face, QStringLiteral("Verdana"));
        EXPECT_DOUBLE_EQ(labels[j].font.size, 11);
        EXPECT_EQ(labels[j].pen.color, RGB(255, 255, 255));
        EXPECT_FLOAT_EQ(float(labels[j].x1), float(cx[j] - 2.75 + 1)) << j;
        EXPECT_FLOAT_EQ(float(labels[j].y1), 15.25f);
    }
    const std::vector<DrawOp> frame = ofKind(box0, DrawOp::Rect);
    ASSERT_EQ(frame.size(), 1u);
    EXPECT_DOUBLE_EQ(frame[0].x2, 361);
    EXPECT_DOUBLE_EQ(frame[0].y2, 46);
    EXPECT_EQ(frame[0].pen.color, colGray);
}

TEST_F(LarchFigureTest, SpringsAreCoilsOfThreeAndAHalfTurnsOnTheMiddleLine) {
    ch.DrawMasses(0);
    const std::vector<DrawOp> strokes = ofKind(box0, DrawOp::Line, 2);
    ASSERT_EQ(strokes.size(), 6u * 102);
    EXPECT_EQ(box0.DrawWidth, 1);
    // 39.4 between neighbours; the ghosts, mirrored from rounded places,
    // stand a pixel off the even spacing on either side.
    const std::array<double, 6> length{40.4, 39.4, 39.4, 39.4, 39.4, 38.4};
    for (int i = 0; i < 6; ++i) {
        const DrawOp& lead = strokes[size_t(102 * i)];
        const double left = ch.MassXf[size_t(i)];
        // From the square's right edge, 3.3 pixels along the middle line.
        EXPECT_FLOAT_EQ(float(lead.x1), float(left + 10)) << i;
        EXPECT_FLOAT_EQ(float(lead.x2), float(left + 10 + 3.3f)) << i;
        EXPECT_DOUBLE_EQ(lead.y1, 23.5);
        EXPECT_NEAR(coilLength(strokes, i), length[size_t(i)], 1e-3) << i;
        double top = 99, bottom = -99;
        for (size_t k = size_t(102 * i + 1); k <= size_t(102 * i + 100); ++k) {
            top = std::min(top, strokes[k].y2);
            bottom = std::max(bottom, strokes[k].y2);
            EXPECT_EQ(strokes[k].pen.color, 0u);
        }
        EXPECT_NEAR(top, 13.5, 0.05);
        EXPECT_NEAR(bottom, 33.5, 0.05);
        // The coil ends on the middle line; the lead runs into the next square.
        EXPECT_NEAR(strokes[size_t(102 * i + 100)].y2, 23.5, 1e-3);
        const DrawOp& into = strokes[size_t(102 * i + 101)];
        EXPECT_FLOAT_EQ(float(into.x2), ch.MassXf[size_t(i + 1)]);
        EXPECT_DOUBLE_EQ(into.y2, 23.5);
    }
}

TEST_F(LarchFigureTest, DisplacedAtomMovesRightAndItsSpringsChangeByTheSameAmount) {
    ch.DrawMasses(1);
    EXPECT_EQ(CurPic, &box1);
    EXPECT_FLOAT_EQ(ch.CellW, 33);
    EXPECT_EQ(ch.MassW, 20);
    EXPECT_EQ(ch.MassX[3], 192);
    // The ghosts come from masses 2 and 4, so the outer springs stay put.
    EXPECT_FLOAT_EQ(ch.MassXf[0], -17);
    EXPECT_FLOAT_EQ(ch.MassXf[6], 379);
    const std::vector<DrawOp> strokes = ofKind(box1, DrawOp::Line, 2);
    ASSERT_EQ(strokes.size(), 6u * 102);
    // Mass 3 moves by the rounded 0.3 cells, 10 pixels: its coils grow and
    // shrink by that much.
    const std::array<double, 6> length{40.4, 39.4, 49.4, 29.4, 39.4, 38.4};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(coilLength(strokes, i), length[size_t(i)], 1e-3) << i;

    // Numbers -3 ... 2, centred; the negative ones 2 pixels further right.
    const std::vector<DrawOp> labels = box1.texts();
    ASSERT_EQ(labels.size(), 6u);
    const std::array<const char*, 6> text{"-3", "-2", "-1", "0", "1", "2"};
    const std::array<double, 6> cx{-17, 50, 116, 192, 248, 314};
    for (size_t j = 0; j < 6; ++j) {
        EXPECT_EQ(labels[j].text, QLatin1String(text[j]));
        const double half = 0.5 * 5.5 * double(qstrlen(text[j]));
        EXPECT_FLOAT_EQ(float(labels[j].x1), float(cx[j] - half + (j < 3 ? 2 : 0))) << j;
    }
}

TEST_F(LarchFigureTest, ANewDrawingForgetsThePreviousOne) {
    // Both variants into one real box: drawing the chain at rest after the
    // displaced one gives the first picture again.
    RasterCanvas box(362, 47);
    ch.setPicG(0, &box);
    ch.setPicG(1, &box);
    ch.DrawMasses(0);
    const QImage first = box.image().copy();
    ch.DrawMasses(1);
    EXPECT_NE(box.image(), first);
    ch.DrawMasses(0);
    EXPECT_EQ(box.image(), first);
    // Opaque background, gray frame, blue squares.
    EXPECT_EQ(first.pixelColor(1, 1), QColor(232, 255, 232));
    EXPECT_EQ(first.pixelColor(0, 0), QColor(128, 128, 128));
    EXPECT_EQ(first.pixelColor(50 - 8, 24 - 8), QColor(0, 0, 255));
}

TEST_F(LarchFigureTest, ABoxWithNoRoomForCoilsDrawsBars) {
    RecordingCanvas narrow(5, 47);
    ch.setPicG(0, &narrow);
    ch.DrawMasses(0);
    EXPECT_FLOAT_EQ(ch.CellW, 0);
    // Per spring: the lead, up, down, the lead on; nothing divides by the
    // empty cell.
    const std::vector<DrawOp> strokes = ofKind(narrow, DrawOp::Line, 2);
    ASSERT_EQ(strokes.size(), 6u * 4);
    for (const DrawOp& s : strokes)
        for (double v : {s.x1, s.y1, s.x2, s.y2}) EXPECT_TRUE(std::isfinite(v));

    // A box just wide enough keeps its coils.
    RecordingCanvas small(22, 47);
    ch.setPicG(0, &small);
    ch.DrawMasses(0);
    EXPECT_EQ(ofKind(small, DrawOp::Line, 2).size(), 6u * 102);
}
