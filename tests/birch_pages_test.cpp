#include "birch/birch_chapter.h"

#include "end_program.h"
#include "faces.h"
#include "form1.h"
#include "printer.h"
#include "backends/raster_canvas.h"
#include "support/library_fixture.h"
#include "support/real_face_page.h"
#include "support/recording_printer.h"
#include "text.h"

#include <QTest>
#include <algorithm>
#include <cmath>
#include <map>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

class BirchPages : public ChapterTest<BirchChapter> {
protected:
    std::vector<DrawOp> ofKind(DrawOp::Kind kind) const {
        std::vector<DrawOp> out;
        for (const DrawOp& op : canvas.ops)
            if (op.kind == kind) out.push_back(op);
        return out;
    }
    const DrawOp* circleIn(Color outline) const {
        for (const DrawOp& op : canvas.ops)
            if (op.kind == DrawOp::Circle && op.pen.color == outline) return &op;
        return nullptr;
    }

    BirchChapter& ch = chapter;
};

// On the 13-point test page (UnitW 6.5, UnitH 19.5) the figure is centred at
// (325, 156) with a = 65; the Sun sits at the focus (351, 156).
TEST_F(BirchPages, OrbitFigureHasTheEllipseTheFocusAndThePlanetWhereTheyBelong) {
    ch.pic1();
    const DrawOp* ellipse = circleIn(colDarkCyan);
    const DrawOp* planet = circleIn(RGB(0, 0, 255));
    const DrawOp* sun = circleIn(RGB(255, 0, 0));
    ASSERT_TRUE(ellipse && planet && sun);

    // b = a √0.84
    EXPECT_DOUBLE_EQ(ellipse->x1, 325);
    EXPECT_DOUBLE_EQ(ellipse->y1, 156);
    EXPECT_NEAR(ellipse->rx, 65, 1e-4);
    EXPECT_NEAR(ellipse->ry, 59.57348, 1e-3);

    EXPECT_NEAR(sun->x1, 351, 1e-4);
    EXPECT_NEAR(sun->y1, 156, 1e-4);
    EXPECT_DOUBLE_EQ(planet->rx, 2);
    // r = 0.84 a / (1 + 0.4 cos 55°) = 44.4108, at 55° above the axis.
    EXPECT_NEAR(std::hypot(planet->x1 - sun->x1, planet->y1 - sun->y1), 44.41080, 1e-3);
    EXPECT_NEAR(planet->x1, 376.47299, 1e-3);
    EXPECT_NEAR(planet->y1, 119.62080, 1e-3);
    EXPECT_LT(planet->y1, 156);  // above the major axis
    EXPECT_GT(planet->x1, 351);  // right of the focus
    // On the drawn ellipse within a pixel.
    const double u = (planet->x1 - 325) / 65, v = (planet->y1 - 156) / 59.57348;
    EXPECT_LT(std::fabs(std::sqrt(u * u + v * v) - 1) * 65, 1.0);

    // The radius vector runs from the Sun to the planet; the angle's arc is
    // 55° about the Sun.
    bool radius = false, arc = false;
    for (const DrawOp& op : canvas.ops) {
        if (op.kind == DrawOp::Line && op.pen.color == colGray && std::fabs(op.x1 - 351) < 1e-4 &&
            std::fabs(op.x2 - planet->x1) < 1e-3 && std::fabs(op.y2 - planet->y1) < 1e-3)
            radius = true;
        if (op.kind == DrawOp::Circle && op.pen.color == colGray && op.rx == 20 &&
            std::fabs(op.x1 - 351) < 1e-4)
            arc = true;
    }
    EXPECT_TRUE(radius);
    EXPECT_TRUE(arc);
    EXPECT_EQ(canvas.FillStyle_, FillStyle::Solid);  // left solid after the figure
    EXPECT_FLOAT_EQ(canvas.FontSize, 13.0f);
}

TEST_F(BirchPages, DotOfSSitsHigherThanOnOtherLetters) {
    struct Case { const char* v; double dotX, dotY; };
    for (const Case& k : {Case{"S", 98, 188}, Case{"r", 98, 192}, Case{"x", 98, 192},
                          Case{"theta", 100, 189}}) {
        canvas.ops.clear();
        PenX = 100;
        PenY = 200;
        ch.dot(QString::fromUtf8(k.v));
        const auto t = texts();
        ASSERT_EQ(t.size(), 2u) << k.v;
        EXPECT_DOUBLE_EQ(t[0].x1, 100) << k.v;  // the letter where the pen was
        EXPECT_DOUBLE_EQ(t[0].y1, 200) << k.v;
        EXPECT_EQ(t[1].text, "・");
        EXPECT_DOUBLE_EQ(t[1].x1, k.dotX) << k.v;
        EXPECT_DOUBLE_EQ(t[1].y1, k.dotY) << k.v;
        EXPECT_FLOAT_EQ(PenX, float(t[0].x2)) << k.v;  // the dot does not move the pen
    }
}

// Every hand-built radical: a stroke rises from the foot of the sign's
// (empty) rule, and the overbar starts exactly where the stroke ends, above
// the sign's top.
TEST_F(BirchPages, RadicalStrokesMeetTheirSignsAndOverbars) {
    const std::map<int, std::vector<double>> bars{
        {1, {32.5, 58.5, 26, 26}}, {2, {74.75}}, {3, {32.5}}};
    for (const auto& [page, lengths] : bars) {
        canvas.ops.clear();
        ch.drawPage(page);
        std::vector<double> found;
        const auto& ops = canvas.ops;
        for (size_t i = 0; i < ops.size(); ++i) {
            const DrawOp& sign = ops[i];
            if (sign.kind != DrawOp::Text || sign.text != QString(QChar(214))) continue;
            ASSERT_LT(i + 2, ops.size());
            const DrawOp& stroke = ops[i + 1];
            const DrawOp& bar = ops[i + 2];
            ASSERT_EQ(stroke.kind, DrawOp::Line) << "page " << page;
            ASSERT_EQ(bar.kind, DrawOp::Line) << "page " << page;
            EXPECT_FLOAT_EQ(float(stroke.x1), float(sign.x2)) << "page " << page;
            EXPECT_DOUBLE_EQ(stroke.y1, sign.y1 + 1) << "page " << page;
            EXPECT_GT(stroke.x2, stroke.x1);
            EXPECT_LT(stroke.y2, sign.y1) << "page " << page;  // above the sign's top
            EXPECT_DOUBLE_EQ(bar.x1, stroke.x2) << "page " << page;
            EXPECT_DOUBLE_EQ(bar.y1, stroke.y2) << "page " << page;
            EXPECT_DOUBLE_EQ(bar.y2, bar.y1);
            EXPECT_EQ(bar.pen.color, stroke.pen.color);
            found.push_back(bar.x2 - bar.x1);
        }
        ASSERT_EQ(found.size(), lengths.size()) << "page " << page;
        for (size_t k = 0; k < found.size(); ++k)
            EXPECT_NEAR(found[k], lengths[k], 1e-4) << "page " << page << " radical " << k;
    }
}

TEST_F(BirchPages, PageZeroSetsLargerScriptsForTheRestOfTheRun) {
    ch.pic0();
    EXPECT_FLOAT_EQ(SupSize, 0.85f);
    ASSERT_FALSE(texts().empty());
    EXPECT_EQ(texts()[0].text, "(1) 概 要");
    EXPECT_DOUBLE_EQ(texts()[0].y1, 19.5);
}

// Lime marks the cancelled dt's of pages 4 and 5 (and page 2's arrow): each
// stroke crosses the d and t it cancels.
TEST_F(BirchPages, CancellationStrokesCrossTheDtTheyCancel) {
    for (int page = 0; page <= 5; ++page) {
        canvas.ops.clear();
        ch.drawPage(page);
        std::vector<DrawOp> lime, dts;
        const auto t = texts();
        for (const DrawOp& op : canvas.ops)
            if (op.pen.color == colLime) lime.push_back(op);
        if (page == 2) {
            ASSERT_EQ(lime.size(), 1u);
            EXPECT_EQ(lime[0].kind, DrawOp::Glyph);
            continue;
        }
        if (page != 4 && page != 5) {
            EXPECT_TRUE(lime.empty()) << "page " << page;
            continue;
        }
        ASSERT_EQ(lime.size(), 2u) << "page " << page;
        for (const DrawOp& s : lime) {
            EXPECT_EQ(s.kind, DrawOp::Line);
            EXPECT_NEAR(s.x2 - s.x1, 19.5, 1e-4);
            EXPECT_NEAR(s.y2 - s.y1, -7.8, 1e-4);
            // A "d" followed by a "t" on the same row, both met by the stroke.
            const double mx = (s.x1 + s.x2) / 2, my = (s.y1 + s.y2) / 2;
            bool crossed = false;
            for (size_t i = 0; i + 1 < t.size(); ++i)
                if (t[i].text == "d" && t[i + 1].text == "t" && t[i].y1 == t[i + 1].y1 &&
                    t[i].x1 <= mx && mx <= t[i + 1].x2 && t[i].y1 <= my && my <= t[i].y2)
                    crossed = true;
            EXPECT_TRUE(crossed) << "page " << page << " stroke at " << s.x1;
        }
    }
}

// Page 3's 1/(2π): two bars, the 1 six pixels in and ten up, 2π from the
// bars' start ten down, and the pen after 2π, not after the bars.
TEST_F(BirchPages, FixedOneOverTwoPiIsSetLikeOneOverFourPi) {
    ch.pic3();
    const auto t = texts();
    int found = 0;
    for (size_t i = 0; i + 5 < t.size(); ++i) {
        if (t[i].text != "─" || t[i + 1].text != "─" || t[i + 2].text != "1") continue;
        const DrawOp &bar = t[i], &one = t[i + 2], &two = t[i + 3], &pi = t[i + 4];
        EXPECT_NEAR(t[i + 1].x1, bar.x2 - 10, 1e-3);
        EXPECT_NEAR(one.x1, bar.x1 + 6, 1e-3);
        EXPECT_NEAR(one.y1, bar.y1 - 10, 1e-3);
        EXPECT_EQ(two.text, "2");
        EXPECT_NEAR(two.x1, bar.x1, 1e-3);
        EXPECT_NEAR(two.y1, bar.y1 + 10, 1e-3);
        EXPECT_EQ(pi.text, "p");  // the Symbol face's π
        // The integral sign follows the 2π (five pixels on, clear of its
        // lower hook), not the bars.
        EXPECT_NEAR(t[i + 5].x1, pi.x2 + 5, 0.5);  // glyphs at whole pixels
        ++found;
    }
    EXPECT_EQ(found, 2);
}

// The column braces join two rows only: hooks without extension pieces.
TEST_F(BirchPages, ColumnBracesAreThreeHooks) {
    for (int page : {1, 2}) {
        canvas.ops.clear();
        ch.drawPage(page);
        QString pieces;
        for (const DrawOp& op : canvas.ops)
            if (op.kind == DrawOp::Glyph && op.font.face == "Symbol") pieces += op.text;
        EXPECT_EQ(pieces, QString::fromLatin1("\xEC\xED\xEE")) << "page " << page;
    }
}

// Drawing page 1 again on the same canvas (a second print without a repaint
// between) must not fill the ellipse with the fill the first drawing left.
TEST(BirchPagesInRealFonts, PageOneDrawnTwiceOnOneCanvasIsTheSame) {
    BirchChapter ch;
    RealFacePage real(ch);
    RasterCanvas& page = real.page;
    ch.pic1();
    const QImage first = page.image().copy();
    ch.pic1();
    EXPECT_EQ(page.image(), first);
    // Inside the ellipse, away from axes and labels: still white paper.
    const int x = int(50 * UnitW - 5 * UnitW), y = int(8 * UnitH + 2 * UnitH);
    EXPECT_EQ(page.image().pixel(x, y), qRgb(255, 255, 255));
}


// The window repainted between two prints: the print canvas is unloaded,
// created again by the second print, and the page comes out the same.
TEST(BirchViewer, ARepaintBetweenTwoPrintsGivesTheSamePage) {
    resetContext();
    resetShellState();
    setEndProgramHandler([] {});
    std::vector<QImage> printed;
    setPagePrinter(std::make_unique<RecordingPrinter>(printed));
    {
        BirchChapter ch;
        Form1 form(ch);
        form.Form_Load();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        QTest::keyClick(&form, Qt::Key_Down);
        ASSERT_EQ(CurPage, 1);
        QTest::mouseClick(&form.cmdPrint(), Qt::LeftButton);
        form.repaint();
        EXPECT_FALSE(form.form2Loaded());
        QTest::mouseClick(&form.cmdPrint(), Qt::LeftButton);
        ASSERT_EQ(printed.size(), 2u);
        EXPECT_EQ(printed[1], printed[0]);
        // And the printed page carries ink: not a blank, fresh canvas.
        EXPECT_NE(printed[0], QImage(printed[0].size(), printed[0].format()));
    }
    setPagePrinter(nullptr);
    setEndProgramHandler(nullptr);
    CurPic = nullptr;
}

}  // namespace
