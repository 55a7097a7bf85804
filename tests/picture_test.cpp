// Every canvas keeps what it shows as a picture: operation by operation,
// with the Unicode text each piece of text means, complete enough to draw the
// page again.
#include "backends/raster_canvas.h"
#include "backends/recording_canvas.h"
#include "chapter_catalog.h"
#include "end_program.h"
#include "faces.h"
#include "form1.h"
#include "operators.h"
#include "page_box.h"
#include "state.h"
#include "support/chapter_window.h"

#include <QRegularExpression>
#include <gtest/gtest.h>
#include <cmath>
#include <map>

using namespace typeset;
using namespace shell;

namespace {

QString u(char32_t c) { return QString::fromUcs4(&c, 1); }

}  // namespace

TEST(Picture, SymbolAndWingdingsCodesMeanTheSignsTheyDraw) {
    const std::map<unsigned char, char32_t> signs = {
        {'G', U'Γ'}, {'p', U'π'}, {'n', U'ν'}, {'q', U'θ'}, {'a', U'α'}, {'w', U'ω'},
        {'S', U'Σ'}, {'D', U'Δ'}, {'e', U'ε'}, {'j', U'ϕ'}, {'J', U'ϑ'}, {'-', U'−'},
        {'(', U'('}, {'1', U'1'}, {229, U'∑'}, {242, U'∫'}, {243, U'⌠'}, {245, U'⌡'},
        {214, U'√'}, {182, U'∂'}, {165, U'∞'}, {230, U'⎛'}, {232, U'⎝'}, {246, U'⎞'},
        {248, U'⎠'}, {236, U'⎧'}, {237, U'⎨'}, {238, U'⎩'}, {239, U'⎪'}, {252, U'⎫'},
        {254, U'⎭'}, {162, U'′'}, {215, U'⋅'}, {174, U'→'},
    };
    for (const auto& [code, sign] : signs)
        EXPECT_EQ(symbolChar(code), sign) << "code " << int(code);

    // Through the canvas: text in the face, glyph codes in it, Wingdings
    // codes, and codes of a text face read in the Western code page.
    RecordingCanvas c;
    c.FontName = QStringLiteral("Symbol");
    c.Print(QStringLiteral("G"));
    c.glyphs(0, 0, QByteArray("\xE5\xF3", 2), true);
    c.FontName = QStringLiteral("Wingdings");
    c.glyphs(0, 0, QByteArray("\xE8"), true);
    c.FontName = QStringLiteral("Times New Roman");
    c.glyphs(0, 0, QByteArray("a\x96"), true);
    c.Print(QStringLiteral("ν"));
    ASSERT_EQ(c.ops.size(), 5u);
    EXPECT_EQ(c.ops[0].text, QStringLiteral("G"));  // as the page gave it
    EXPECT_EQ(c.ops[0].meaning, u(U'Γ'));
    EXPECT_EQ(c.ops[1].meaning, u(U'∑') + u(U'⌠'));
    EXPECT_EQ(c.ops[2].meaning, u(0x1F87A));
    EXPECT_EQ(c.ops[3].meaning, QStringLiteral("a") + u(U'–'));
    EXPECT_EQ(c.ops[4].meaning, u(U'ν'));
    EXPECT_EQ(c.picture().text(), u(U'Γ') + u(U'∑') + u(U'⌠') + u(0x1F87A) + "a" + u(U'–') + u(U'ν'));

    // A sign drawn in pieces reads as the sign: the integral's two halves.
    RecordingCanvas halves;
    float x = 10;
    dsp_intSign(halves, x, 20);
    ASSERT_EQ(halves.ops.size(), 2u);
    EXPECT_EQ(halves.ops[0].text, QString(QChar(243)));
    EXPECT_EQ(halves.ops[0].meaning, u(U'∫'));
    EXPECT_EQ(halves.ops[1].meaning, QString());
    halves.Print(QStringLiteral("x"));
    EXPECT_EQ(halves.picture().text(), u(U'∫') + "x");
}

TEST(Picture, PagesHoldTheirTextInUnicodeInDrawingOrder) {
    std::map<QString, QString> chapterText;
    const QRegularExpression latinForSign(QStringLiteral("[A-Za-z\\x{00C0}-\\x{00FF}\\x{FFFD}]"));
    for (const QString& name : chapterNames()) {
        ChapterWindow w(name);
        for (int n = 0; n <= w.window().lastPage(); ++n) {
            chapterText[name] += w.pageText(n);
            // No code of the Symbol face stands for itself.
            for (const DrawOp& op : w.window().pic(n).canvas().picture().ops()) {
                if (op.font.face != QLatin1String("Symbol") || op.meaning.isEmpty()) continue;
                EXPECT_FALSE(op.meaning.contains(latinForSign))
                    << name.toStdString() << " page " << n << ": " << op.meaning.toStdString();
            }
        }
        if (name == QLatin1String("alder")) {
            const QString p0 = w.pageText(0);
            EXPECT_TRUE(p0.contains(u(U'Γ') + QStringLiteral("(") + u(U'ν'))) << p0.toStdString();
            EXPECT_TRUE(p0.contains(QStringLiteral("連分数"))) << p0.toStdString();
        }
        if (name == QLatin1String("hazel")) {
            EXPECT_TRUE(w.pageText(1).contains("1.26606"));
        }
    }
    EXPECT_TRUE(chapterText["rowan"].contains(u(U'∑')));
    EXPECT_TRUE(chapterText["birch"].contains(u(U'∫')));
    EXPECT_TRUE(chapterText["maple"].contains(u(U'π')));
}

TEST(Picture, EveryCanvasDrawnAgainFromItsPictureGivesItsPixels) {
    for (const QString& name : chapterNames()) {
        ChapterWindow w(name);
        int canvases = 0;
        for (int n = 0; n < w.window().boxCount(); ++n) {
            std::vector<RasterCanvas*> all{&w.window().pic(n).canvas()};
            for (PageBox* inner : w.window().pic(n).findChildren<PageBox*>())
                all.push_back(&inner->canvas());
            for (RasterCanvas* c : all) {
                RasterCanvas again(c->pixelWidth(), c->pixelHeight());
                again.replay(c->picture());
                EXPECT_EQ(again.image(), c->image()) << name.toStdString() << " page " << n;
                EXPECT_EQ(again.picture().ops().size(), c->picture().ops().size());
                ++canvases;
            }
        }
        EXPECT_GE(canvases, w.window().lastPage() + 1) << name.toStdString();
    }
}

TEST(Picture, NothingIsCopiedFromACanvasWithoutPixels) {
    RecordingCanvas source(20, 20);
    source.Box(0, 0, 19, 19, RGB(255, 0, 0), true);
    RasterCanvas target(20, 20);
    target.copyFrom(source, 0, 0, 20, 20, 0, 0);
    EXPECT_TRUE(target.picture().empty());
    EXPECT_EQ(target.image().pixel(5, 5), qRgb(255, 255, 255));
    // From a raster canvas the copy is the pixels as they were then.
    RasterCanvas raster(20, 20);
    raster.Box(0, 0, 19, 19, RGB(255, 0, 0), true);
    target.copyFrom(raster, 0, 0, 20, 20, 0, 0);
    raster.Cls();
    ASSERT_EQ(target.picture().ops().size(), 1u);
    EXPECT_EQ(target.picture().ops()[0].kind, DrawOp::Copy);
    EXPECT_EQ(target.picture().ops()[0].copied->pixels.pixel(5, 5), qRgb(255, 0, 0));
}

TEST(Picture, AScaleWithoutExtentKeepsTheScaleInForce) {
    RecordingCanvas c(200, 100);
    c.Scale(0, 0, 10, 10);
    c.Scale(5, 0, 5, 10);
    c.Scale(0, 3, 10, 3);
    c.Line(5, 5, 10, 10, 0);
    ASSERT_EQ(c.ops.size(), 1u);
    EXPECT_DOUBLE_EQ(c.ops[0].x1, 100);
    EXPECT_DOUBLE_EQ(c.ops[0].y1, 50);
    EXPECT_DOUBLE_EQ(c.ops[0].x2, 200);
    EXPECT_DOUBLE_EQ(c.ops[0].y2, 100);
}
