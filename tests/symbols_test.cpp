#include "constructs.h"
#include "operators.h"
#include "support/library_fixture.h"
#include "symbols.h"
#include "text.h"

#include <functional>

using namespace typeset;
using namespace shell;

namespace {
class Symbols : public LibraryTest {
protected:
    std::vector<QString> shown() const {
        std::vector<QString> out;
        for (const DrawOp& op : texts()) out.push_back(op.text);
        return out;
    }
};

const QString kDot = QStringLiteral("・");
}  // namespace

TEST_F(Symbols, DotsAboveAVariable) {
    prDot("u");
    auto t = texts();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].text, "u");
    EXPECT_EQ(t[1].text, kDot);
    EXPECT_DOUBLE_EQ(t[1].x1, 98);
    EXPECT_DOUBLE_EQ(t[1].y1, 192);
    EXPECT_FLOAT_EQ(PenX, float(t[0].x2));  // the pen ends after the letter

    canvas.ops.clear();
    PenX = 100;
    prDDot("u");
    t = texts();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_DOUBLE_EQ(t[1].x1, 98);
    EXPECT_DOUBLE_EQ(t[2].x1, 103);
    EXPECT_DOUBLE_EQ(t[2].y1, 192);
}

TEST_F(Symbols, DotsOverSAndThetaSitHigher) {
    prDot("S");
    EXPECT_DOUBLE_EQ(texts().at(1).y1, 188);
    canvas.ops.clear();
    PenX = 100;
    prDDot("theta");
    const auto t = texts();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].font.face, face::Symbol);
    EXPECT_EQ(t[0].text, "q");
    EXPECT_TRUE(t[0].font.italic);
    EXPECT_DOUBLE_EQ(t[1].x1, 100);
    EXPECT_DOUBLE_EQ(t[1].y1, 189);
    EXPECT_DOUBLE_EQ(t[2].x1, 105);  // the second dot 5 pixels on, as for letters
}

TEST_F(Symbols, FunctionNotationGaps) {
    const double wVar = 0.5 * 13 * 1.15;  // an italic letter at 1.15 times
    BookmanOK = 1;
    prFunc("f", "x");
    auto t = texts();
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].font.face, face::Bookman);
    EXPECT_NEAR(t[1].x1, 100 + wVar + 4, 1e-4);
    EXPECT_NEAR(t[2].x1, t[1].x2, 1e-4);
    EXPECT_NEAR(t[3].x1, t[2].x2 + 1, 1e-4);
    EXPECT_NEAR(PenX, t[3].x2, 1e-4);

    // Without Bookman the bold fallback needs room before the argument.
    struct Case {
        const char* v;
        double before, after;
    } cases[] = {{"x", 2, 1}, {"j", 5, 2}, {"y", 4, 1}, {"t", 2, 2}, {"l", 2, 3}};
    BookmanOK = -1;
    for (const Case& k : cases) {
        canvas.ops.clear();
        PenX = 100;
        prFunc("f", k.v);
        t = texts();
        ASSERT_EQ(t.size(), 4u);
        EXPECT_NEAR(t[2].x1, t[1].x2 + k.before, 1e-4) << k.v;
        EXPECT_NEAR(t[3].x1, t[2].x2 + k.after, 1e-4) << k.v;
    }

    // hazel: 5 pixels after the name, nothing after an ordinary argument.
    Variant.funcNameGap = 5;
    Variant.funcArgTrail = 0;
    canvas.ops.clear();
    PenX = 100;
    prFunc("f", "x");
    t = texts();
    EXPECT_NEAR(t[1].x1, t[0].x2 + 5, 1e-4);
    EXPECT_NEAR(t[3].x1, t[2].x2, 1e-4);
}

TEST_F(Symbols, OfXGapsPerForm) {
    struct Case {
        LibraryVariant::OfXGaps gaps;
        int bookman;
        double before, after;
    } cases[] = {
        {LibraryVariant::OfXGaps::FallbackTwoPixels, -1, 2, 2},
        {LibraryVariant::OfXGaps::FallbackTwoPixels, 1, 0, 2},
        {LibraryVariant::OfXGaps::FifthOfA, -1, 1.3, 1.3},
        {LibraryVariant::OfXGaps::None, -1, 0, 0},
    };
    for (const Case& k : cases) {
        canvas.ops.clear();
        Variant.ofXGaps = k.gaps;
        BookmanOK = k.bookman;
        float x = 10;
        dsp_of_x(canvas, x, 50);
        const auto t = texts();
        ASSERT_EQ(t.size(), 3u);
        EXPECT_EQ(t[1].text, "x");
        EXPECT_NEAR(t[1].x1, t[0].x2 + k.before, 1e-4);
        EXPECT_NEAR(t[2].x1, t[1].x2 + k.after, 1e-4);
        EXPECT_NEAR(x, t[2].x2, 1e-4);
    }
}

TEST_F(Symbols, ThermodynamicNamesScanPieceByPiece) {
    struct Case {
        const char* text;
        std::vector<QString> pieces;
    } cases[] = {
        {"S,V", {"S,", "V"}},              // a letter takes its comma along
        {"theta,N", {"q", ",", "N"}},      // Greek spellings, then a lone comma
        {"phi", {"φ"}},
        {"fi,p", {"j", ",", "p"}},
        {"pV", {"p", "V"}},                // two plain letters: one at a time
        {"a b", {"a", " ", "b"}},
    };
    for (const Case& k : cases) {
        canvas.ops.clear();
        float x = 10;
        prThermoVar(canvas, x, 50, QString::fromUtf8(k.text));
        EXPECT_EQ(shown(), k.pieces) << k.text;
        EXPECT_NEAR(x, texts().back().x2, 1e-4);
    }
    canvas.ops.clear();
    float x = 10;
    prThermoVar(canvas, x, 50, "theta");
    EXPECT_EQ(texts().at(0).font.face, face::Symbol);
}

TEST_F(Symbols, PartialDerivativeInTallParentheses) {
    prPartial("U", "S", "V");
    std::vector<DrawOp> glyphs, text;
    for (const DrawOp& op : canvas.ops) {
        if (op.kind == DrawOp::Glyph) glyphs.push_back(op);
        if (op.kind == DrawOp::Text) text.push_back(op);
    }
    ASSERT_EQ(glyphs.size(), 4u);
    EXPECT_DOUBLE_EQ(glyphs[0].x1, 100);
    const auto ruleAt = std::find_if(canvas.ops.begin(), canvas.ops.end(),
                                     [](const DrawOp& op) { return op.kind == DrawOp::Line; });
    ASSERT_NE(ruleAt, canvas.ops.end());
    const DrawOp& rule = *ruleAt;
    EXPECT_DOUBLE_EQ(rule.x1, 110);
    EXPECT_DOUBLE_EQ(rule.x2, 138);
    EXPECT_DOUBLE_EQ(rule.y1, 212);
    ASSERT_EQ(text.size(), 5u);  // ∂ U ∂ S V
    EXPECT_DOUBLE_EQ(text[0].y1, 190);
    EXPECT_DOUBLE_EQ(text[2].y1, 212);
    // The right parenthesis 7 pixels after the wider part, the subscript 11 on.
    const double rightParen = Round(std::max(text[1].x2, text[3].x2) + 7);
    EXPECT_DOUBLE_EQ(glyphs[2].x1, rightParen);
    EXPECT_NEAR(text[4].x1, std::max(text[1].x2, text[3].x2) + 18, 1e-4);
    EXPECT_NEAR(PenX, text[4].x2, 1e-4);
}

TEST_F(Symbols, PartialFractionWithTildeNumerator) {
    prPartialFrac("tildeF", "theta");
    const auto s = shown();
    // ∂, F, its tilde, ∂, θ
    ASSERT_EQ(s.size(), 5u);
    EXPECT_EQ(s[1], "F");
    EXPECT_EQ(s[2], "~");
    EXPECT_EQ(s[4], "q");
    EXPECT_DOUBLE_EQ(PenY, 200);  // back on the entry line
    EXPECT_NEAR(PenX, texts().back().x2, 1e-4);
}

TEST_F(Symbols, EveryRoutineRestoresTheFont) {
    const std::vector<std::pair<const char*, std::function<void()>>> calls = {
        {"prFrac", [] { prFrac("alpha_1", "2pi"); }},
        {"prFracS", [] { prFracS("^2", "omega"); }},
        {"dsp_half", [] { float x = 10, y = 50; dsp_half(*CurPic, x, y); }},
        {"dsp_oneOver", [] { float x = 10, y = 50; dsp_oneOver(*CurPic, x, y, "N"); }},
        {"prOverPi", [] { prOverPi(); }},
        {"prOver2Pi", [] { prOver2Pi(); }},
        {"prOver4Pi", [] { prOver4Pi(); }},
        {"bigParen", [] { float x = 10; prBigLParen(x, 50); prBigRParen(x, 50); }},
        {"ColBrace", [] { ColBrace(1, 10, 50, 1); }},
        {"Brace_alpha", [] { Brace_alpha(0, 10, 50); }},
        {"brace_beta", [] { brace_beta(50, 50); }},
        {"Xp1", [] { Xp1("n"); }},
        {"dsp_2p", [] { dsp_2p(); }},
        {"dsp_sum", [] { float x = 10; dsp_sum(*CurPic, x, 50, "n=0", "∞"); }},
        {"dsp_integral", [] { float x = 10; dsp_integral(*CurPic, x, 50, "pi", "-pi"); }},
        {"dsp_intInf", [] { float x = 10; dsp_intInf(*CurPic, x, 50); }},
        {"dsp_sqrt", [] { float x = 10; dsp_sqrt(*CurPic, x, 50, 9); }},
        {"prSumH", [] { prSumH("N", "j=1"); }},
        {"greek", [] { prDelta(); prTheta(); prAlpha(); prBeta(); prKappa(); prEpsln(); }},
        {"primes", [] { float x = 10; prPrime(); dsp_prime(*CurPic, x, 50); }},
        {"dsp_sup2", [] { float x = 10; dsp_sup2(*CurPic, x, 50); }},
        {"dots", [] { prDot("theta"); prDDot("S"); }},
        {"prFunc", [] { prFunc("J", "j"); }},
        {"of", [] { float x = 10; dsp_of_x(*CurPic, x, 50); dsp_of_t(*CurPic, x, 50); }},
        {"prVarSub", [] { prVarSub("T", "nmax"); }},
        {"prDeriv", [] { prDeriv("f", "t"); }},
        {"prThermoVar", [] { float x = 10; prThermoVar(*CurPic, x, 50, "phi,S"); }},
        {"prTilde", [] { prTilde("U"); }},
        {"prPartial", [] { prPartial("p", "theta", "V"); }},
        {"prPartialFrac", [] { prPartialFrac("G", "fi"); }},
    };
    for (const auto& [name, call] : calls) {
        canvas.FontName = face::Meiryo;
        canvas.FontSize = 13.0f;
        canvas.FontBold = true;  // unusual on entry, so a reset to false shows
        canvas.FontItalic = false;
        canvas.ForeColor = colTeal;
        canvas.DrawWidth = 1;
        call();
        EXPECT_EQ(canvas.FontName, face::Meiryo) << name;
        EXPECT_FLOAT_EQ(canvas.FontSize, 13.0f) << name;
        EXPECT_TRUE(canvas.FontBold) << name;
        EXPECT_FALSE(canvas.FontItalic) << name;
        EXPECT_EQ(canvas.ForeColor, colTeal) << name;
        EXPECT_EQ(canvas.DrawWidth, 1) << name;
        EXPECT_FLOAT_EQ(SupRaise, 0.2f) << name;
    }
}
