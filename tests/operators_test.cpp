#include "operators.h"
#include "support/library_fixture.h"
#include "text.h"

using namespace typeset;
using namespace shell;

namespace {
class Operators : public LibraryTest {
protected:
    std::vector<DrawOp> glyphs() const {
        std::vector<DrawOp> out;
        for (const DrawOp& op : canvas.ops)
            if (op.kind == DrawOp::Glyph) out.push_back(op);
        return out;
    }
    // Text ops only (limits and radicals; the large signs are glyph ops).
    std::vector<DrawOp> textOps() const {
        std::vector<DrawOp> out;
        for (const DrawOp& op : canvas.ops)
            if (op.kind == DrawOp::Text) out.push_back(op);
        return out;
    }
};

const QString kInf = QStringLiteral("∞");
}  // namespace

TEST_F(Operators, SumSignIsTwiceTheSizeHalfALineUp) {
    float x = 100;
    dsp_sum(canvas, x, 200, "", "");
    const auto g = glyphs();
    ASSERT_EQ(g.size(), 1u);
    EXPECT_EQ(g[0].text.at(0).unicode(), 229);
    EXPECT_EQ(g[0].font.face, face::Symbol);
    EXPECT_DOUBLE_EQ(g[0].font.size, 26);
    EXPECT_DOUBLE_EQ(g[0].x1, 100);
    EXPECT_DOUBLE_EQ(g[0].y1, 190);  // Round(200 - 9.75)
    EXPECT_FLOAT_EQ(x, 113);         // the glyph's whole-pixel width
    EXPECT_TRUE(textOps().empty());
    EXPECT_EQ(canvas.FontName, face::Meiryo);
    EXPECT_FLOAT_EQ(canvas.FontSize, 13.0f);
}

TEST_F(Operators, SumLimitsSitAboveAndBelowTheSign) {
    float x = 100;
    dsp_sum(canvas, x, 200, "n=0", kInf);
    const auto t = textOps();
    ASSERT_EQ(t.size(), 4u);
    // Infinity goes 4 pixels in whatever its width.
    EXPECT_EQ(t[0].text, kInf);
    EXPECT_DOUBLE_EQ(t[0].x1, 104);
    // Limits stand 2 pixels higher (upper) and 3 lower (lower) than the
    // original offsets: the substitute sign is taller in its cell.
    EXPECT_NEAR(t[0].y1, 200 - 0.6 * 19.5 - 2 - 0.2 * 19.5, 1e-4);
    // The lower limit starts 12 pixels in less half its width (19.5), one
    // subscript call per character.
    const double yLower = 200 + 0.65 * 19.5 + 3 + 0.3 * 19.5;
    EXPECT_EQ(t[1].text, "n");
    EXPECT_NEAR(t[1].x1, 112 - 9.75, 1e-4);
    for (int k = 1; k <= 3; ++k) EXPECT_NEAR(t[k].y1, yLower, 1e-4);
    EXPECT_EQ(t[2].text, "=");
    EXPECT_EQ(t[3].text, "0");
    EXPECT_GT(t[2].x1, t[1].x2);
    EXPECT_NEAR(t[3].x1, t[2].x2, 1e-4);

    // Another upper limit is centred on x + 10.
    canvas.ops.clear();
    x = 100;
    dsp_sum(canvas, x, 200, "", "N");
    EXPECT_NEAR(textOps().at(0).x1, 110 - 3.25, 1e-4);
}

TEST_F(Operators, InfinityBelowASumDropsFurtherWithoutBookman) {
    float x = 100;
    dsp_sum(canvas, x, 200, kInf, "");
    const double base = 200 + 0.65 * 19.5 + 3 + 0.3 * 19.5;
    EXPECT_NEAR(textOps().at(0).y1, base + 3, 1e-4);
    canvas.ops.clear();
    BookmanOK = 1;
    x = 100;
    dsp_sum(canvas, x, 200, kInf, "");
    EXPECT_NEAR(textOps().at(0).y1, base + 1, 1e-4);
}

TEST_F(Operators, HazelSumPlacesLimitsByCharacterCount) {
    Variant.sumLimitsByLength = true;
    float x = 100;
    dsp_sum(canvas, x, 200, "k=0", "n");
    auto t = textOps();
    ASSERT_EQ(t.size(), 4u);
    EXPECT_DOUBLE_EQ(t[0].x1, 108);  // 12 - 4 per character
    EXPECT_DOUBLE_EQ(t[1].x1, 100);
    EXPECT_NEAR(t[1].y1, 216 + 3 + 0.3 * 19.5, 1e-4);  // S * 16 / 13 (+3) below y
    EXPECT_FLOAT_EQ(x, 113);

    // A long lower limit would start left of x: it starts half a W left.
    canvas.ops.clear();
    x = 100;
    dsp_sum(canvas, x, 200, "k=10", "");
    t = textOps();
    ASSERT_EQ(t.size(), 4u);
    EXPECT_DOUBLE_EQ(t[0].x1, 100 - 3.25);
}

TEST_F(Operators, IntegralFromMinusPiToPi) {
    float x = 100;
    dsp_integral(canvas, x, 200, "pi", "-pi");
    const auto g = glyphs();
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[0].text.at(0).unicode(), 243);
    EXPECT_DOUBLE_EQ(g[0].y1, 195);  // Round(200 - 0.28 * 19.5)
    EXPECT_EQ(g[1].text.at(0).unicode(), 245);
    EXPECT_DOUBLE_EQ(g[1].y1, 207);  // Round(200 + 0.38 * 19.5)
    EXPECT_DOUBLE_EQ(g[0].x1, 100);
    EXPECT_DOUBLE_EQ(g[1].x1, 100);

    const double xa = 106;  // after the lower half
    const auto t = textOps();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].font.face, face::Symbol);
    EXPECT_EQ(t[0].text, "p");
    EXPECT_DOUBLE_EQ(t[0].font.size, 13);  // upright pi at the full size
    EXPECT_NEAR(t[0].x1, xa + 3.25, 1e-4);
    EXPECT_NEAR(t[0].y1, 200 - 0.6 * 19.5, 1e-4);
    EXPECT_EQ(t[1].font.face, face::Courier);
    EXPECT_DOUBLE_EQ(t[1].x1, xa);
    EXPECT_NEAR(t[1].y1, 200 + 0.7 * 19.5, 1e-4);
    EXPECT_EQ(t[2].font.face, face::Symbol);
    EXPECT_NEAR(t[2].y1, 200 + 0.6 * 19.5, 1e-4);
    EXPECT_NEAR(x, t[2].x2 + 3.25, 1e-4);
    EXPECT_FLOAT_EQ(canvas.FontSize, 13.0f);
    EXPECT_EQ(canvas.FontName, face::Meiryo);
}



TEST_F(Operators, RadicalWithAndWithoutRule) {
    canvas.FontBold = true;
    float x = 100;
    dsp_sqrt(canvas, x, 200, 0);
    auto t = textOps();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].text.at(0).unicode(), 214);
    EXPECT_FALSE(t[0].font.bold);
    EXPECT_TRUE(canvas.FontBold);
    EXPECT_EQ(canvas.ops.size(), 1u);  // no rule of zero length
    EXPECT_FLOAT_EQ(x, 106.5f);

    canvas.ops.clear();
    x = 100;
    dsp_sqrt(canvas, x, 200, 20);
    const DrawOp& rule = canvas.ops.back();
    ASSERT_EQ(rule.kind, DrawOp::Line);
    EXPECT_EQ(rule.pen.color, colGray);
    EXPECT_EQ(rule.pen.width, 1);
    EXPECT_DOUBLE_EQ(rule.x1, 106.5);
    EXPECT_DOUBLE_EQ(rule.y1, 201);
    EXPECT_DOUBLE_EQ(rule.x2, 126.5);
    EXPECT_FLOAT_EQ(x, 126.5f);
}

TEST_F(Operators, PenSumPutsLimitsAroundTheSign) {
    prSumH("N", "j=1");
    const auto g = glyphs();
    ASSERT_EQ(g.size(), 1u);
    EXPECT_DOUBLE_EQ(g[0].y1, 190);
    const auto t = textOps();
    ASSERT_EQ(t.size(), 4u);
    EXPECT_DOUBLE_EQ(t[0].x1, 113 - 8);
    EXPECT_DOUBLE_EQ(t[0].y1, 180);
    // "j=1" at 0.9 * 13 is 17.55 wide: Round then halve, 9; "j" adds 4.
    EXPECT_DOUBLE_EQ(t[1].x1, 113 - 6 - 9 + 4);
    EXPECT_DOUBLE_EQ(t[1].y1, 226);
    EXPECT_NEAR(PenX, t[3].x2, 1e-4);
    EXPECT_FLOAT_EQ(canvas.FontSize, 13.0f);
}
