#include "context.h"
#include "faces.h"
#include "font_cache.h"
#include "glyphs.h"
#include "raster_canvas.h"
#include "text.h"

#include <QFontInfo>
#include <gtest/gtest.h>

namespace {

// Rows [top, bottom] of the non-background pixels in a region, or {-1, -1}.
std::pair<int, int> inkRows(const QImage& img, const QRect& r) {
    int top = -1, bottom = -1;
    const QRgb back = qRgb(255, 255, 255);
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (img.pixel(x, y) != back) {
                if (top < 0) top = y;
                bottom = y;
                break;
            }
    return {top, bottom};
}

}  // namespace

TEST(RasterCanvas, EveryPageFaceHasItsSubstituteInstalled) {
    const std::vector<std::pair<QString, QString>> faces = {
        {face::Meiryo, "Noto Sans CJK JP"},     {face::Gothic, "Noto Sans Mono CJK JP"},
        {face::Times, "Liberation Serif"},      {face::Courier, "Liberation Mono"},
        {face::Arial, "Liberation Sans"},       {face::Century, "C059"},
        {face::Verdana, "DejaVu Sans"},         {face::Symbol, "Standard Symbols PS"},
        {face::Wingdings, "Noto Sans Symbols2"},
    };
    for (const auto& [name, family] : faces) {
        const ResolvedFont& rf = resolveFont(name, 13, false, false);
        EXPECT_TRUE(QFontInfo(rf.font).family().startsWith(family))
            << name.toStdString() << " drew " << QFontInfo(rf.font).family().toStdString();
    }
    EXPECT_FALSE(FontExists(face::Bookman));
    EXPECT_TRUE(FontExists("Liberation Serif"));
}

TEST(RasterCanvas, SymbolPiecesAndWingdingsExistInTheirFaces) {
    const ResolvedFont& sym = resolveFont(face::Symbol, 13, false, false);
    for (int code : std::initializer_list<int>{182, 214, 229, 230, 232, 236, 237, 238, 239, 243, 245, 246, 248, 252, 253,
                     254, 'a', 'b', 'p', 'q', 'j', 'n', 'G'})
        EXPECT_TRUE(sym.metrics.inFont(QChar(code))) << "Symbol code " << code;
    const ResolvedFont& wing = resolveFont(face::Wingdings, 13, false, false);
    for (int code : {119, 196, 224, 231, 232})
        EXPECT_TRUE(wing.metrics.inFontUcs4(wingdingsChar(uchar(code)))) << "Wingdings " << code;
}

TEST(RasterCanvas, SymbolCellUsesTheOriginalFacesVerticalMetrics) {
    RasterCanvas c(100, 60);
    c.FontName = face::Symbol;
    c.FontSize = 13;
    const double px = 13 * 96.0 / 72.0;
    EXPECT_NEAR(c.TextHeight("p"), 1.225 * px, 1e-6);
    // The baseline sits one ascent (1.005 em) below the cell's top: alpha
    // stands on it.
    c.CurrentX = 10;
    c.CurrentY = 10;
    c.Print("a");
    const auto [top, bottom] = inkRows(c.image(), QRect(0, 0, 100, 60));
    EXPECT_NEAR(bottom, 10 + 1.005 * px, 1.5);
    EXPECT_GT(top, 10 + 0.4 * px);
}

TEST(RasterCanvas, DevicePixelRatioChangesNoPositionOrMeasure) {
    RasterCanvas one(200, 100, 1.0), two(200, 100, 2.0);
    for (RasterCanvas* c : {&one, &two}) {
        c->FontName = face::Meiryo;
        c->FontSize = 13;
        c->CurrentX = 5;
        c->Print(QStringLiteral("日本語 abc"));
    }
    EXPECT_EQ(one.CurrentX, two.CurrentX);
    EXPECT_EQ(one.TextHeight("A"), two.TextHeight("A"));
    EXPECT_EQ(two.pixelWidth(), 200);
    EXPECT_EQ(two.image().width(), 400);
    // The same picture, only finer: a line drawn at y = 50 lands on row 100.
    two.Line(0, 50, 199, 50, RGB(255, 0, 0));
    EXPECT_EQ(two.image().pixelColor(150, 100), QColor(255, 0, 0));
    EXPECT_EQ(two.image().pixelColor(150, 50), QColor(255, 255, 255));
    QSize a, b;
    gdiText(one, 0, 0, "abc", 3, a, 0);
    gdiText(two, 0, 0, "abc", 3, b, 0);
    EXPECT_EQ(a, b);
}

TEST(RasterCanvas, GlyphOutputReportsWholePixelsAndNeverReadsPastItsBytes) {
    RasterCanvas c(100, 60);
    c.FontName = face::Times;
    c.FontSize = 13;
    QSize size;
    gdiText(c, 0, 0, "ab", 2, size, 0);
    EXPECT_EQ(size.width(), int(std::nearbyint(c.TextWidth("ab"))));
    EXPECT_EQ(c.image().pixel(5, 10), qRgb(255, 255, 255));  // draw = 0 draws nothing
    QSize clipped;
    gdiText(c, 0, 0, "ab", 50, clipped, 1);
    EXPECT_EQ(clipped, size);
    int32_t x = 0;
    dsp_rotFace(c, x, 30, 236, 5, 90);
    EXPECT_GT(x, 0);
}

TEST(RasterCanvas, TextBytesReadAsTheWesternCodePage) {
    EXPECT_EQ(decodeBytes("\x96", FaceInfo::Text), QString(QChar(0x2013)));
    EXPECT_EQ(decodeBytes("K\xF6nig", FaceInfo::Text), QStringLiteral("König"));
    EXPECT_EQ(decodeBytes("\xE6", FaceInfo::SymbolBytes), QString(QChar(0xE6)));
}

TEST(RasterCanvas, ShapesUseUserCoordinatesAfterScale) {
    RasterCanvas c(200, 100);
    std::vector<DrawOp> log;
    c.log = &log;
    c.Scale(-1, 1, 1, -1);  // x right, y up
    c.Line(-1, 0, 1, 0, RGB(255, 0, 0));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_DOUBLE_EQ(log[0].x1, 0);
    EXPECT_DOUBLE_EQ(log[0].y1, 50);
    EXPECT_DOUBLE_EQ(log[0].x2, 200);
    EXPECT_FLOAT_EQ(c.CurrentX, 1);
    EXPECT_EQ(c.image().pixelColor(100, 50), QColor(255, 0, 0));
    c.scaleReset();
    c.Cls();
    EXPECT_EQ(c.image().pixelColor(100, 50), QColor(255, 255, 255));
    EXPECT_EQ(log.back().kind, DrawOp::Clear);
}

TEST(RasterCanvas, GothicGivesDoubleByteCharactersAFullCell) {
    RasterCanvas c(200, 60);
    c.FontName = face::Gothic;
    c.FontSize = 14;
    const double em = 14 * 96.0 / 72.0;
    EXPECT_NEAR(c.TextWidth(QStringLiteral("ν")), em, 1e-9);  // a Greek letter is double-byte
    EXPECT_NEAR(c.TextWidth(QStringLiteral("，")), em, 1e-9);
    EXPECT_NEAR(c.TextWidth(QStringLiteral("a1")), em, 1e-9);
    c.CurrentX = 10;
    c.Print(QStringLiteral("ν"));
    EXPECT_NEAR(c.CurrentX, 10 + em, 1e-4);
}

// Canvases get their pixels only when first drawn on or read; until then a
// clear or a resize must leave exactly the picture an eager image would.
TEST(RasterCanvas, UndrawnCanvasShowsItsClearsAndResizes) {
    RasterCanvas grown(40, 30);
    grown.BackColor = RGB(0, 0, 255);
    grown.Cls();
    grown.BackColor = RGB(0, 255, 0);
    grown.resize(60, 50);  // the old area keeps the clear, the new one is BackColor
    const QImage& g = grown.image();
    EXPECT_EQ(g.size(), QSize(60, 50));
    EXPECT_EQ(g.pixelColor(39, 29), QColor(0, 0, 255));
    EXPECT_EQ(g.pixelColor(40, 10), QColor(0, 255, 0));
    EXPECT_EQ(g.pixelColor(59, 49), QColor(0, 255, 0));

    RasterCanvas shrunk(40, 30);
    shrunk.BackColor = RGB(255, 0, 0);
    shrunk.Cls();
    shrunk.resize(20, 10);
    shrunk.Line(0, 5, 19, 5, RGB(0, 0, 0));
    const QImage& s = shrunk.image();
    EXPECT_EQ(s.size(), QSize(20, 10));
    EXPECT_EQ(s.pixelColor(10, 2), QColor(255, 0, 0));
    EXPECT_EQ(s.pixelColor(10, 5), QColor(0, 0, 0));

    // A canvas drawn on before its resize keeps its picture.
    shrunk.BackColor = RGB(255, 255, 255);
    shrunk.resize(30, 10);
    EXPECT_EQ(shrunk.image().pixelColor(10, 5), QColor(0, 0, 0));
    EXPECT_EQ(shrunk.image().pixelColor(25, 5), QColor(255, 255, 255));
}
