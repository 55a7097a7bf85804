#include "entities.h"
#include "markup.h"
#include "support/library_fixture.h"
#include "support/recording_sound.h"
#include "text.h"

using namespace typeset;
using namespace shell;

namespace {
class Markup : public LibraryTest {};

// Width of a character in the default recording metric at a size.
double narrow(double size) { return 0.5 * size; }
}  // namespace

TEST_F(Markup, SuperscriptDigitIsSmallerRaisedAndAdvancesByItsWidth) {
    float x = 50;
    dsp_sup(canvas, x, 100, "2");
    const auto t = texts();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_FLOAT_EQ(float(t[0].font.size), 9.75f);
    EXPECT_NEAR(t[0].y1, 100 - 0.2 * 19.5, 1e-4);
    EXPECT_NEAR(x, 50 + narrow(9.75), 1e-4);
    EXPECT_FLOAT_EQ(canvas.FontSize, 13.0f);
}

TEST_F(Markup, SuperscriptLettersSignsAndDigits) {
    float x = 0;
    dsp_sup(canvas, x, 100, "n+1");
    auto t = texts();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].text, "n");
    EXPECT_TRUE(t[0].font.italic);
    const double wn = narrow(float(1.15 * 9.75f));
    EXPECT_NEAR(t[1].x1, wn + 2, 1e-4);  // two pixels after a letter
    EXPECT_EQ(t[1].text, "+");
    EXPECT_EQ(t[1].font.face, face::Meiryo);
    EXPECT_EQ(t[2].text, "1");

    canvas.ops.clear();
    x = 0;
    dsp_sup(canvas, x, 100, "-x");
    t = texts();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].font.face, face::Courier);
    EXPECT_EQ(t[1].text, "x");
    EXPECT_TRUE(t[1].font.italic);
}

TEST_F(Markup, SubscriptWordsStayUprightOnlyWhenTheyAreTheWholeScript) {
    for (const char* word : {"max", "min"}) {
        canvas.ops.clear();
        float x = 0;
        dsp_sub(canvas, x, 100, word);
        const auto t = texts();
        ASSERT_EQ(t.size(), 1u) << word;
        EXPECT_EQ(t[0].text, word);
        EXPECT_FALSE(t[0].font.italic);
        EXPECT_FLOAT_EQ(float(t[0].font.size), float(0.85f * 13.0f));
        EXPECT_NEAR(t[0].y1, 100 + 0.3 * 19.5, 1e-4);
    }
    canvas.ops.clear();
    float x = 0;
    dsp_sub(canvas, x, 100, "nmax");
    const auto t = texts();
    ASSERT_EQ(t.size(), 4u);
    for (const auto& op : t) EXPECT_TRUE(op.font.italic) << op.text.toStdString();
}

TEST_F(Markup, SubscriptCapitalIsSmallerAndLowerForTheRestOfTheScript) {
    float x = 0;
    dsp_sub(canvas, x, 100, "kN");
    const auto t = texts();
    ASSERT_EQ(t.size(), 2u);
    const float sizeK = float(0.85f * 13.0f);
    EXPECT_FLOAT_EQ(float(t[0].font.size), float(1.15 * sizeK));
    EXPECT_NEAR(t[0].y1, 100 + 0.3 * 19.5, 1e-4);
    const float sizeN = float(0.85f * 13.0f * 0.9);
    EXPECT_FLOAT_EQ(float(t[1].font.size), float(1.15 * sizeN));
    EXPECT_NEAR(t[1].y1, 100 + (0.3f + 0.1) * 19.5, 1e-4);
    // Lower-case letters are followed by a fifth of a unit.
    EXPECT_NEAR(t[1].x1, narrow(float(1.15 * sizeK)) + 0.2 * 6.5, 1e-4);
}

TEST_F(Markup, GreekSpellingsBecomeSymbolGlyphs) {
    float x = 0;
    dsp_sub(canvas, x, 100, "alpha1");
    auto t = texts();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].font.face, face::Symbol);
    EXPECT_EQ(t[0].text, "a");
    EXPECT_TRUE(t[0].font.italic);
    EXPECT_EQ(t[1].text, "1");

    // "phi" is not read as "pi" and shifts a superscript by a tenth of a unit.
    canvas.ops.clear();
    x = 0;
    dsp_sup(canvas, x, 100, "phi");
    t = texts();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].text, QStringLiteral("φ"));
    EXPECT_NEAR(t[0].x1, 0.65, 1e-5);

    // "pi" is set at the full size, two pixels higher, with a pixel each side.
    canvas.ops.clear();
    x = 0;
    dsp_sup(canvas, x, 100, "pi2");
    t = texts();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].font.face, face::Symbol);
    EXPECT_FLOAT_EQ(float(t[0].font.size), 13.0f);
    EXPECT_NEAR(t[0].y1, 100 - 3.9 - 2, 1e-4);
    EXPECT_NEAR(t[0].x1, 1, 1e-6);
    EXPECT_FLOAT_EQ(float(t[1].font.size), 9.75f);
    EXPECT_NEAR(t[1].x1, 1 + 6.5 + 1, 1e-4);

    // theta one pixel lower; omega only in superscripts.
    canvas.ops.clear();
    x = 0;
    dsp_sup(canvas, x, 100, "thetaomega");
    t = texts();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].text, "q");
    EXPECT_NEAR(t[0].y1, 100 - 3.9 + 1, 1e-4);
    EXPECT_EQ(t[1].text, QStringLiteral("ω"));
    canvas.ops.clear();
    x = 0;
    dsp_sub(canvas, x, 100, "omega");
    EXPECT_EQ(texts().size(), 5u);  // five italic letters
}

TEST_F(Markup, TimeCaptionsArePrintedVerbatim) {
    float x = 0;
    dsp_sup(canvas, x, 100, "a Time: 3s");
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(texts()[0].text, "a Time: 3s");
    canvas.ops.clear();
    dsp_sub(canvas, x, 100, "x Time:1");
    ASSERT_EQ(texts().size(), 1u);
}

TEST_F(Markup, TokenPrinterSpacesGreekAndJ) {
    float x = 0;
    dsp_limit(canvas, x, 100, "-pij");
    const auto t = texts();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].font.face, face::Courier);
    EXPECT_NEAR(t[0].x1, 2, 1e-6);
    EXPECT_EQ(t[1].font.face, face::Symbol);  // the upright pi, three pixels higher
    EXPECT_NEAR(t[1].y1, 97 - 0.08 * 1.5 * 15.6, 1e-4);
    const double afterPi = 2 + 7.8 + 7.8 + 2;
    EXPECT_NEAR(t[2].x1, afterPi + 4, 1e-4);  // "j" takes four pixels first
    EXPECT_TRUE(t[2].font.italic);
}

TEST_F(Markup, WidthEstimateCountsLettersWiderAndMarkersNot) {
    EXPECT_EQ(MarkupWidth("x^2"), Round(1.3 * 6.5 + 6.5));  // 14.95 -> 15
    EXPECT_EQ(MarkupWidth("alpha"), Round(6.5));
    EXPECT_EQ(MarkupWidth(""), 0);
    Variant.plainMarkupWidth = true;
    EXPECT_EQ(MarkupWidth("x^2"), 20);  // 19.5, ties to even
    EXPECT_EQ(MarkupWidth("2pi"), 13);
}

TEST_F(Markup, SquareUsesALowerRaiseWithoutBookmanAndPutsItBack) {
    prSquare("r");
    const auto t = texts();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_NEAR(t[1].y1, 200 - 0.12f * 19.5, 1e-4);
    EXPECT_FLOAT_EQ(SupRaise, 0.2f);
}

TEST(Entities, TableHoldsTheWesternCodePageNames) {
    InitEntities();
    EXPECT_EQ(EntityName[150], "minus");
    EXPECT_EQ(EntityName[151], "mdash");
    EXPECT_EQ(EntityName[215], "mult");
    EXPECT_EQ(EntityName[246], "ouml");
    EXPECT_EQ(EntityName[129], "81");
    EXPECT_EQ(EntityName[160], "A0");
    EXPECT_EQ(EntityName[134], "dagger");
    EXPECT_EQ(EntityName[135], "Dagger");
    EXPECT_EQ(EntityName[255], "yuml");
    EXPECT_TRUE(EntityName[127].isEmpty());
}

TEST(Entities, DecoderTurnsNamesIntoBytesAndDropsWhatItCannotRead) {
    InitEntities();
    auto dings = RecordingSound::install();
    std::vector<uint8_t> bytes;
    int32_t count = -1;

    DecodeEntities(bytes, count, "Schr&ouml;dinger");
    ASSERT_EQ(count, 11);
    EXPECT_EQ(bytes[4], 246);
    EXPECT_EQ(bytes[0], 'S');
    EXPECT_TRUE(dings->empty());

    DecodeEntities(bytes, count, "a&nosuch;b");
    EXPECT_EQ(count, 2);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "ab");
    EXPECT_EQ(dings->size(), 1u);
    EXPECT_EQ(dings->front(), "bell");

    DecodeEntities(bytes, count, "a&b");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "ab");

    DecodeEntities(bytes, count, QStringLiteral("&nbsp;&quot;&amp;&Dagger;é\t~"));
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()),
              (std::vector<uint8_t>{32, 34, 38, 135, '~'}));
    EXPECT_EQ(dings->size(), 1u);
    setSoundPlayer(std::make_unique<RecordingSound>());
}

TEST_F(Markup, EntityTextIsDrawnAsOneRunOfBytes) {
    InitEntities();
    int32_t x = 10, y = 20;
    dsp_entity(canvas, "", x, y);
    EXPECT_TRUE(texts().empty());
    dsp_entity(canvas, "K&ouml;nig", x, y);
    const auto t = texts();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].kind, DrawOp::Glyph);
    EXPECT_EQ(t[0].text, QString::fromLatin1("K\xF6nig"));
    EXPECT_EQ(x, 10 + Round(5 * 6.5));
}
