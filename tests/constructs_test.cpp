#include "constructs.h"
#include "pen.h"
#include "support/library_fixture.h"
#include "text.h"

using namespace typeset;
using namespace shell;

namespace {
class Constructs : public LibraryTest {
protected:
    // The first text or glyph op showing s.
    DrawOp find(const QString& s) const {
        for (const DrawOp& op : texts())
            if (op.text == s) return op;
        ADD_FAILURE() << "nothing drew " << s.toStdString();
        return {};
    }
    std::vector<DrawOp> lines() const {
        std::vector<DrawOp> out;
        for (const DrawOp& op : canvas.ops)
            if (op.kind == DrawOp::Line) out.push_back(op);
        return out;
    }
    // The Symbol codes of the glyphs drawn, in order.
    std::vector<int> glyphCodes() const {
        std::vector<int> out;
        for (const DrawOp& op : canvas.ops)
            if (op.kind == DrawOp::Glyph) out.push_back(op.text.at(0).unicode());
        return out;
    }
    std::vector<double> glyphTops() const {
        std::vector<double> out;
        for (const DrawOp& op : canvas.ops)
            if (op.kind == DrawOp::Glyph) out.push_back(op.y1);
        return out;
    }
};
}  // namespace

TEST_F(Constructs, FractionCentresBothDigitsOverTheRule) {
    prFrac("1", "2");
    // Each digit is 6.5 wide and counts as Round(6.5) = 6; the rule adds "p".
    const double wf = 6 + 6.5;
    const DrawOp one = find("1"), two = find("2");
    EXPECT_NEAR(one.x1, 100 + (wf - 6) / 2, 1e-4);
    EXPECT_DOUBLE_EQ(one.y1, 190);
    EXPECT_NEAR(two.x1, 100 + (wf - 6) / 2, 1e-4);
    EXPECT_DOUBLE_EQ(two.y1, 213);
    const auto rule = lines();
    ASSERT_EQ(rule.size(), 1u);
    EXPECT_DOUBLE_EQ(rule[0].x1, 100);
    EXPECT_DOUBLE_EQ(rule[0].y1, 212);
    EXPECT_NEAR(rule[0].x2, 100 + wf, 1e-4);
    EXPECT_DOUBLE_EQ(rule[0].y2, 212);
    EXPECT_NEAR(PenX, 100 + wf, 1e-4);
    EXPECT_FLOAT_EQ(canvas.FontSize, 13.0f);
}

TEST_F(Constructs, SmallFractionOffsetsComeFromTheSinglePrecisionScale) {
    // 10 * 0.9f is 8.99999976, so the numerator rises 8 pixels, not 9.
    prFracS("1", "2");
    EXPECT_DOUBLE_EQ(find("1").y1, 192);
    EXPECT_DOUBLE_EQ(find("2").y1, 212);
    EXPECT_FLOAT_EQ(float(find("1").font.size), 0.9f * 13.0f);
    EXPECT_FLOAT_EQ(canvas.FontSize, 13.0f);

    // With a subscript in the numerator: 13 * 0.9f = 11.6999998 gives 11.
    canvas.ops.clear();
    PenX = 100;
    prFracS("x_1", "2");
    const DrawOp x = find("x");
    EXPECT_DOUBLE_EQ(x.y1, 189);
    EXPECT_TRUE(x.font.italic);
    const DrawOp sub = find("1");
    EXPECT_GT(sub.y1, x.y1);  // the "_" itself is not printed
    EXPECT_FLOAT_EQ(float(sub.font.size), float(0.85f * float(0.9f * 13.0f)));
    EXPECT_EQ(texts().size(), 3u);
}

TEST_F(Constructs, NumeratorYIsTwoPixelsHigher) {
    prFrac("y", "2");
    const DrawOp y = find("y");
    EXPECT_DOUBLE_EQ(y.y1, 188);
    EXPECT_EQ(y.font.face, face::Times);
    // MarkupWidth counts y as 1.3 times its italic width: Round(8.45) = 8.
    EXPECT_NEAR(y.x1, 100 + (8 + 6.5 - 8) / 2, 1e-4);
}

TEST_F(Constructs, CaretStartsASuperscriptInNumeratorAndDenominator) {
    prFrac("^2", "^2x");
    const auto t = texts();
    ASSERT_EQ(t.size(), 3u);
    for (const DrawOp& op : t) EXPECT_NE(op.text, "^");
    // Both superscripts at 0.75 of the size, raised 0.2 line heights.
    EXPECT_FLOAT_EQ(float(t[0].font.size), 9.75f);
    EXPECT_NEAR(t[0].y1, 190 - 0.2 * 19.5, 1e-4);
    EXPECT_FLOAT_EQ(float(t[1].font.size), 9.75f);
    EXPECT_NEAR(t[1].y1, 213 - 0.2 * 19.5, 1e-4);
    EXPECT_EQ(t[2].text, "x");
    EXPECT_NEAR(t[2].y1, 213 - 0.2 * 19.5, 1e-4);
}

TEST_F(Constructs, FractionFormsDifferInPiAndCentring) {
    // The common form spells "pi" out letter by letter in the numerator and
    // sets the denominator's pi 0.4 units after the "2".
    prFrac("pi", "2pi");
    auto t = texts();
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].text, "p");
    EXPECT_EQ(t[0].font.face, face::Times);
    EXPECT_EQ(t[3].font.face, face::Symbol);
    EXPECT_NEAR(t[3].x1, t[2].x2 + 0.4 * 6.5, 1e-4);

    canvas.ops.clear();
    PenX = 100;
    Variant.fraction = LibraryVariant::FractionForm::PiAware;
    prFrac("pi", "2pi");
    t = texts();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].font.face, face::Symbol);
    EXPECT_NEAR(t[2].x1, t[1].x2 + 0.2 * 6.5, 1e-4);

    // hazel: plain widths, both parts from PenX + 4, the narrower one
    // shifted by half the difference; the rule adds the width of "A".
    canvas.ops.clear();
    PenX = 100;
    Variant.fraction = LibraryVariant::FractionForm::WholeParts;
    Variant.plainMarkupWidth = true;
    prFrac("1", "n+1");  // widths Round(6.5) = 6 and Round(19.5) = 20
    t = texts();
    ASSERT_EQ(t.size(), 4u);
    EXPECT_DOUBLE_EQ(t[0].x1, 104 + (20 - 6) / 2.0);
    EXPECT_DOUBLE_EQ(t[0].y1, 190);
    EXPECT_DOUBLE_EQ(t[1].x1, 104);
    EXPECT_EQ(t[1].text, "n");
    EXPECT_NEAR(PenX, 100 + 20 + 6.5, 1e-4);

    canvas.ops.clear();
    PenX = 100;
    prFrac("y", "2");
    EXPECT_DOUBLE_EQ(find("y").x1, 107);
    EXPECT_DOUBLE_EQ(find("y").y1, 188);
}

TEST_F(Constructs, HalfLeavesXAfterTheBar) {
    float x = 50, y = 100;
    dsp_half(canvas, x, y);
    const double y0 = 100 + 0.05 * 19.5;
    const DrawOp bar = find("―");
    EXPECT_DOUBLE_EQ(bar.x1, 50);
    EXPECT_NEAR(bar.y1, y0, 1e-4);
    EXPECT_FLOAT_EQ(x, float(bar.x2));
    EXPECT_FLOAT_EQ(y, 100);
    const DrawOp one = find("1"), two = find("2");
    EXPECT_NEAR(one.x1, bar.x2 - 1.2 * 6.5, 1e-4);
    EXPECT_NEAR(two.x1, bar.x2 - 1.2 * 6.5, 1e-4);
    EXPECT_NEAR(one.y1, y0 - 0.35 * 19.5, 1e-4);
    EXPECT_NEAR(two.y1, y0 + 0.4 * 19.5, 1e-4);
    EXPECT_FLOAT_EQ(float(one.font.size), float(0.9 * 13.0f));
    EXPECT_FLOAT_EQ(canvas.FontSize, 13.0f);
}


TEST_F(Constructs, FixedFractionsOfTwoPi) {
    // The form with the pen after the bars: 2 pi set from 2 pixels in.
    prOver2Pi();
    EXPECT_DOUBLE_EQ(find("1").x1, 108);
    EXPECT_DOUBLE_EQ(find("1").y1, 190);
    EXPECT_DOUBLE_EQ(find("2").x1, 102);
    EXPECT_DOUBLE_EQ(find("2").y1, 210);
    EXPECT_DOUBLE_EQ(PenX, 100 + 13 - 8 + 13);

    // The form built like 1/(4 pi): the pen prints the denominator itself.
    canvas.ops.clear();
    PenX = 100;
    Variant.over2PiPenPrintsDenominator = true;
    prOver2Pi();
    EXPECT_DOUBLE_EQ(find("1").x1, 106);
    EXPECT_DOUBLE_EQ(find("2").x1, 100);
    EXPECT_NEAR(PenX, find("p").x2, 1e-4);

    canvas.ops.clear();
    PenX = 100;
    prOver4Pi();
    EXPECT_DOUBLE_EQ(find("4").x1, 100);
    EXPECT_DOUBLE_EQ(find("4").y1, 211);  // the 4 sits one pixel lower
    EXPECT_NEAR(PenX, find("p").x2, 1e-4);
}

TEST_F(Constructs, TallParenthesisHalvesAndWeight) {
    canvas.FontBold = false;
    float x = 100.5f;
    prBigLParen(x, 200);
    EXPECT_EQ(glyphCodes(), (std::vector<int>{230, 232}));
    EXPECT_EQ(glyphTops(), (std::vector<double>{194, 208}));
    for (const DrawOp& op : texts()) {
        EXPECT_DOUBLE_EQ(op.x1, 100);  // Round(100.5) ties to even
        EXPECT_TRUE(op.font.bold);
        EXPECT_EQ(op.font.face, face::Symbol);
    }
    EXPECT_FLOAT_EQ(x, 100.5f);
    EXPECT_FALSE(canvas.FontBold);

    canvas.ops.clear();
    Variant.boldBigParen = false;
    prBigRParen(x, 200);
    EXPECT_EQ(glyphCodes(), (std::vector<int>{246, 248}));
    for (const DrawOp& op : texts()) EXPECT_FALSE(op.font.bold);
}

TEST_F(Constructs, ColumnBracePiecesFollowTheExtensionRule) {
    // ht 0.6 at UnitH 19.5: pieces 11.7 and 23.4 pixels from the middle.
    const std::vector<int> five{236, 239, 237, 239, 238}, three{236, 237, 238};
    ColBrace(0, 50, 300, 0.6f);
    EXPECT_EQ(glyphCodes(), five);
    EXPECT_EQ(glyphTops(), (std::vector<double>{277, 288, 300, 312, 323}));
    EXPECT_EQ(canvas.FontName, face::Meiryo);

    struct Case {
        LibraryVariant::BraceExtension rule;
        float ht;
        bool extended;
    } cases[] = {
        {LibraryVariant::BraceExtension::HeightAtLeastOne, 0.6f, false},
        {LibraryVariant::BraceExtension::HeightAtLeastOne, 1.0f, true},
        {LibraryVariant::BraceExtension::HeightAboveFourTenths, 0.6f, true},
        {LibraryVariant::BraceExtension::HeightAboveFourTenths, 0.35f, false},
    };
    for (const Case& k : cases) {
        canvas.ops.clear();
        Variant.braceExtension = k.rule;
        ColBrace(0, 50, 300, k.ht);
        EXPECT_EQ(glyphCodes(), k.extended ? five : three) << k.ht;
    }

    canvas.ops.clear();
    Variant.braceExtension = LibraryVariant::BraceExtension::Always;
    ColBrace(1, 50, 300, 0.5f);
    EXPECT_EQ(glyphCodes(), (std::vector<int>{252, 239, 253, 239, 254}));
}


TEST_F(Constructs, HorizontalBraceIsThreeTurnedPieces) {
    brace_beta(100, 300);
    const DrawOp beta = find("b");
    EXPECT_NEAR(beta.y1, 300 + 0.2 * 19.5, 1e-4);
    std::vector<DrawOp> pieces;
    for (const DrawOp& op : canvas.ops)
        if (op.kind == DrawOp::Glyph) pieces.push_back(op);
    ASSERT_EQ(pieces.size(), 3u);
    // Each piece is 6 pixels wide at the default height, then 7 more, so
    // that they overlap; the first starts 3 px in, the middle one where 10
    // more would have put it.
    const double xs[] = {90, 103, 116};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(pieces[k].text.at(0).unicode(), 236 + k);
        EXPECT_EQ(pieces[k].angle, 90);
        EXPECT_DOUBLE_EQ(pieces[k].x1, xs[k]);
        EXPECT_DOUBLE_EQ(pieces[k].y1, 300);
    }
    EXPECT_EQ(canvas.FontName, face::Meiryo);
}

TEST_F(Constructs, StackedScriptsShareTheirStart) {
    Xa("( p)", "n");
    const auto t = texts();
    ASSERT_GE(t.size(), 3u);
    EXPECT_EQ(t[0].text, "X");
    // The subscript starts at the rounded pen, the superscript two pixels
    // (prSup's own) after the unrounded one.
    const double pen = t[0].x2 + 2;
    const DrawOp sup = t[1], sub = t.back();
    EXPECT_EQ(sup.text, "(");
    EXPECT_NEAR(sup.x1, pen + 2, 1e-4);
    EXPECT_NEAR(sup.y1, 200 - 0.4 * 19.5, 1e-4);
    EXPECT_EQ(sub.text, "n");
    EXPECT_DOUBLE_EQ(sub.x1, Round(pen));
    EXPECT_FLOAT_EQ(SupRaise, 0.2f);
    EXPECT_NEAR(PenX, sub.x2 + 0.2 * 6.5, 1e-4);
}

TEST_F(Constructs, TwoToThePGap) {
    dsp_2p();
    EXPECT_NEAR(find("p").x1, find("2").x2 + 2 + 2, 1e-4);
    canvas.ops.clear();
    PenX = 100;
    Variant.twoPGap = 0;
    dsp_2p();
    EXPECT_NEAR(find("p").x1, find("2").x2 + 2, 1e-4);
}

