#include "context.h"
#include "glyphs.h"
#include "markup.h"
#include "pen.h"
#include "support/library_fixture.h"
#include "text.h"

#include <cmath>
#include <functional>

using namespace typeset;
using namespace shell;

namespace {

struct FontState {
    QString name;
    float size;
    bool bold, italic;
    Color fore;
    bool operator==(const FontState&) const = default;
};

FontState stateOf(const Canvas& c) {
    return {c.FontName, c.FontSize, c.FontBold, c.FontItalic, c.ForeColor};
}

class TextPrinters : public LibraryTest {};

}  // namespace

TEST_F(TextPrinters, EveryPrinterRestoresTheFontItChanged) {
    const std::vector<std::pair<const char*, std::function<void()>>> printers = {
        {"dsp_plain", [&] { float x = 0; dsp_plain(canvas, x, 0, "ab"); }},
        {"dsp_face", [&] { float x = 0; dsp_face(canvas, face::Times, x, 0, "ab"); }},
        {"dsp_text", [&] { float x = 0; dsp_text(canvas, x, 0, QStringLiteral("-1，2，3")); }},
        {"dsp_gothic", [&] { float x = 0; dsp_gothic(canvas, x, 0, "ab"); }},
        {"dsp_courier", [&] { float x = 0; dsp_courier(canvas, x, 0, "ab"); }},
        {"dsp_symbol", [&] { float x = 0; dsp_symbol(canvas, x, 0, "p"); }},
        {"dsp_symbolIt", [&] { float x = 0; dsp_symbolIt(canvas, x, 0, "a"); }},
        {"dsp_var v", [&] { float x = 0; dsp_var(canvas, x, 0, "v"); }},
        {"dsp_var w", [&] { float x = 0; dsp_var(canvas, x, 0, "w"); }},
        {"dsp_pi", [&] { float x = 0; dsp_pi(canvas, x, 0); }},
        {"dsp_epsln", [&] { float x = 0; dsp_epsln(canvas, x, 0); }},
        {"dsp_omega", [&] { float x = 0; dsp_omega(canvas, x, 0); }},
        {"dsp_sup", [&] { float x = 0; dsp_sup(canvas, x, 0, "phi-n+pi2omegathetaTime:"); }},
        {"dsp_sub", [&] { float x = 0; dsp_sub(canvas, x, 0, "phikN+jpi,alphabetafi"); }},
        {"dsp_sub wide", [&] { float x = 0; dsp_sub(canvas, x, 0, QStringLiteral("最大")); }},
        {"dsp_limit", [&] { float x = 0; dsp_limit(canvas, x, 0, "-pialphabetaomegapiepsln j,x-1"); }},
        {"pen printers", [&] {
             pr("a"); prUpright("cos"); prBlue("b"); prVar("xy"); prMinus(); prCos(); prSin();
             prDiff("t"); prWing(232); prSup("2"); prSub("n"); prSquare("r");
         }},
        {"rotated", [&] {
             float x = 0; dsp_rotated(canvas, x, 0, "=", 90);
             int32_t ix = 0; dsp_rotFace(canvas, ix, 0, 236, 1, 90);
         }},
    };
    for (bool bookman : {false, true}) {
        BookmanOK = bookman ? 1 : -1;
        for (const auto& [name, print] : printers) {
            canvas.FontName = face::Meiryo;
            canvas.FontSize = 13.0f;
            canvas.FontBold = false;
            canvas.FontItalic = false;
            canvas.ForeColor = RGB(1, 2, 3);
            const FontState before = stateOf(canvas);
            print();
            EXPECT_TRUE(stateOf(canvas) == before) << name << (bookman ? " with" : " without")
                                                   << " Bookman";
            canvas.FontBold = true;
            canvas.FontItalic = true;
            const FontState styled = stateOf(canvas);
            print();
            EXPECT_TRUE(stateOf(canvas) == styled) << name << " (bold italic entry)";
        }
    }
}

TEST_F(TextPrinters, PlainPrintAdvancesByTheTextWidthOnly) {
    float x = 10;
    dsp_plain(canvas, x, 30, "");
    EXPECT_FLOAT_EQ(x, 10);
    dsp_plain(canvas, x, 30, "abc");
    EXPECT_FLOAT_EQ(x, 10 + 3 * 6.5f);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_DOUBLE_EQ(texts()[0].x1, 10);
    EXPECT_DOUBLE_EQ(texts()[0].y1, 30);
}

TEST_F(TextPrinters, MeiryoTextTakesMinusAndCommaFromOtherFaces) {
    float x = 0;
    dsp_text(canvas, x, 50, QStringLiteral("-3，4"));
    const auto t = texts();
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].text, "-");
    EXPECT_EQ(t[0].font.face, face::Courier);
    EXPECT_FLOAT_EQ(float(t[0].font.size), 15.6f);
    EXPECT_DOUBLE_EQ(t[0].y1, 50);
    EXPECT_EQ(t[1].text, "3");
    EXPECT_EQ(t[1].font.face, face::Meiryo);
    EXPECT_NEAR(t[1].x1, 7.8, 1e-5);
    EXPECT_EQ(t[2].text, QStringLiteral("，"));
    EXPECT_EQ(t[2].font.face, face::Gothic);
    EXPECT_NEAR(t[2].y1, 50 + 0.15 * 19.5, 1e-5);
    EXPECT_EQ(t[3].text, "4");
    EXPECT_DOUBLE_EQ(t[3].y1, 50);
    EXPECT_NEAR(x, 7.8 + 6.5 + 13 + 6.5, 1e-4);

    // Any other face prints the same text unchanged, in one piece.
    canvas.ops.clear();
    canvas.FontName = face::Times;
    x = 0;
    dsp_text(canvas, x, 50, QStringLiteral("-3，4"));
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(texts()[0].text, QStringLiteral("-3，4"));
}

TEST_F(TextPrinters, VariablesUseBoldFallbackFacesWithoutBookman) {
    float x = 0;
    dsp_var(canvas, x, 40, "v");
    dsp_var(canvas, x, 40, "w");
    auto t = texts();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].font.face, face::Century);
    EXPECT_DOUBLE_EQ(t[0].y1, 39);  // the Century v sits one pixel higher
    EXPECT_TRUE(t[0].font.bold && t[0].font.italic);
    EXPECT_FLOAT_EQ(float(t[0].font.size), float(1.15 * 13.0f));
    EXPECT_EQ(t[1].font.face, face::Times);
    EXPECT_DOUBLE_EQ(t[1].y1, 40);
    EXPECT_TRUE(t[1].font.bold && t[1].font.italic);

    canvas.ops.clear();
    BookmanOK = 1;
    x = 0;
    dsp_var(canvas, x, 40, "v");
    t = texts();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].font.face, face::Bookman);
    EXPECT_FALSE(t[0].font.bold);
    EXPECT_DOUBLE_EQ(t[0].y1, 40);
}

TEST_F(TextPrinters, VariableTestsForBookmanOnceWhenNotYetKnown) {
    BookmanOK = 0;
    float x = 0;
    dsp_var(canvas, x, 0, "x");
    EXPECT_EQ(BookmanOK, -1);  // the face is not installed on these machines
    EXPECT_EQ(texts()[0].font.face, face::Times);
}

TEST_F(TextPrinters, MultiLetterVariablesAreSpacedByTwoPixels) {
    const float x0 = PenX;
    prVar("");
    EXPECT_FLOAT_EQ(PenX, x0 + 2);
    EXPECT_TRUE(texts().empty());

    PenX = x0;
    prVar("ab");
    const auto t = texts();
    ASSERT_EQ(t.size(), 2u);
    const double w = 0.5 * double(float(1.15 * 13.0f));  // one italic letter
    EXPECT_NEAR(t[0].x1, x0 + 2, 1e-4);
    EXPECT_NEAR(t[1].x1, x0 + 2 + w + 2, 1e-4);
    EXPECT_NEAR(PenX, x0 + 2 + w + 2 + w + 2, 1e-4);

    // One letter: no spacing at all.
    canvas.ops.clear();
    PenX = x0;
    prVar("a");
    EXPECT_NEAR(texts()[0].x1, x0, 1e-6);
    EXPECT_NEAR(PenX, x0 + w, 1e-4);
}

TEST_F(TextPrinters, GreekGlyphPrintersPlaceTheirLetters) {
    float x = 0;
    dsp_pi(canvas, x, 100);
    auto t = texts();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].font.face, face::Symbol);
    EXPECT_EQ(t[0].text, "p");
    EXPECT_FLOAT_EQ(float(t[0].font.size), 15.6f);
    EXPECT_NEAR(t[0].y1, 100 - 0.08 * 1.5 * 15.6, 1e-4);

    canvas.ops.clear();
    dsp_epsln(canvas, x, 100);
    dsp_omega(canvas, x, 100);
    t = texts();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].text, QStringLiteral("ε"));
    EXPECT_DOUBLE_EQ(t[0].y1, 98);
    EXPECT_FLOAT_EQ(float(t[0].font.size), float(1.05 * 13.0f));
    EXPECT_EQ(t[1].text, QStringLiteral("ω"));
    EXPECT_TRUE(t[1].font.italic && t[1].font.bold);  // bold only because Bookman is missing
    EXPECT_NEAR(t[1].y1, 100 - 0.05 * 19.5, 1e-4);
}

TEST_F(TextPrinters, PenMovesFollowTheLayoutUnits) {
    PenX = 300;
    PenY = 100;
    NewLine();
    EXPECT_FLOAT_EQ(PenX, float(LeftX));
    EXPECT_FLOAT_EQ(PenY, 119.5f);
    NewPara();
    EXPECT_FLOAT_EQ(PenY, 119.5f + 29.25f);
    SkipW(2);
    EXPECT_FLOAT_EQ(PenX, float(LeftX) + 13);
    SkipH(0.5f);
    EXPECT_FLOAT_EQ(PenY, 119.5f + 29.25f + 9.75f);
    Skip(-3);
    EXPECT_FLOAT_EQ(PenX, float(LeftX) + 10);
}

TEST_F(TextPrinters, MinusAndWingdingsAtThePen) {
    const float x0 = PenX;
    prMinus();
    auto t = texts();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].font.face, face::Courier);
    EXPECT_NEAR(t[0].x1, x0 + 4, 1e-6);
    EXPECT_NEAR(PenX, x0 + 4 + 7.8 + 4, 1e-4);

    canvas.ops.clear();
    PenX = 20.5f;  // rounds to the even 20
    PenY = 31.5f;  // rounds to 32
    prWing(232);
    t = texts();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].kind, DrawOp::Glyph);
    EXPECT_EQ(t[0].font.face, face::Wingdings);
    EXPECT_EQ(t[0].pen.color, colBlue);
    EXPECT_EQ(t[0].text, QString(QChar(232)));
    EXPECT_DOUBLE_EQ(t[0].x1, 20);
    EXPECT_DOUBLE_EQ(t[0].y1, 32);
    EXPECT_FLOAT_EQ(PenX, 20 + 6);  // the device reports whole pixels: Round(6.5) = 6
}

TEST(TextUtilities, Num2StrMatchesTheRuntimeText) {
    const std::vector<std::pair<double, const char*>> cases = {
        {0.5, ".5"},         {-0.25, "-.25"},  {-2, "-2"},
        {100, "100"},        {0, "0"},         {1e-5, "1E-05"},
        {1.5e20, "1.5E+20"}, {0.0001, ".0001"}, {123456789012345.0, "123456789012345"},
        {1e15, "1E+15"},     {1.0 / 3, ".333333333333333"},
        {2.0 / 3, ".666666666666667"}, {-1e-100, "-1E-100"}, {0.1 + 0.2, ".3"},
        {12.5, "12.5"},      {1e-4 * 1.5, ".00015"},
    };
    for (const auto& [v, text] : cases) EXPECT_EQ(num2str(v), QString::fromLatin1(text)) << v;
}

TEST(TextUtilities, WideCharactersAndMaximum) {
    EXPECT_FALSE(IsWideChar(""));
    EXPECT_FALSE(IsWideChar("a"));
    EXPECT_FALSE(IsWideChar(QStringLiteral("ö")));
    EXPECT_TRUE(IsWideChar(QStringLiteral("最大")));
    EXPECT_TRUE(IsWideChar(QStringLiteral("φ")));
    EXPECT_EQ(MaxOf(1, 2), 2);
    EXPECT_EQ(MaxOf(2, 1), 2);
    // Ties go to the first argument, which shows in the sign of zero.
    EXPECT_TRUE(std::signbit(MaxOf(-0.0, 0.0)));
    EXPECT_FALSE(std::signbit(MaxOf(0.0, -0.0)));
}

TEST(TextUtilities, RoundGoesToTheEvenNeighbourOnTies) {
    EXPECT_EQ(Round(12.5), 12);
    EXPECT_EQ(Round(13.5), 14);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(2.4999), 2);
}
