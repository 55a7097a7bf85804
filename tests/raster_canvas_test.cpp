#include "context.h"
#include "faces.h"
#include "font_set.h"
#include "font_cache.h"
#include "glyphs.h"
#include "backends/pixel_runs.h"
#include "backends/raster_canvas.h"
#include "text.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>
#include <gtest/gtest.h>

using namespace typeset;

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
        {face::Times, "Liberation Serif"},      {face::Courier, "Nimbus Mono PS"},
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

TEST(RasterCanvas, TheFontSystemListsOnlyTheFamiliesThePagesCanUse) {
    const QStringList allowed = {"Noto Sans CJK JP", "Noto Sans Mono CJK JP", "Liberation Serif",
                                 "Nimbus Mono PS", "Liberation Sans", "C059", "DejaVu Sans",
                                 "Standard Symbols PS", "Noto Sans Symbols2"};
    const QStringList generic = {"Sans Serif", "Serif", "Monospace"};  // Qt's own names
    const QStringList families = QFontDatabase::families();
    for (const QString& f : families) {
        // "C059 [urw]", "DejaVu Sans Condensed"
        const bool ok = generic.contains(f) || std::any_of(allowed.begin(), allowed.end(), [&](const QString& a) {
                            return f.startsWith(a);
                        });
        EXPECT_TRUE(ok) << f.toStdString();
    }
    EXPECT_FALSE(families.contains(QStringLiteral("Noto Serif")));  // installed, never used
    // A set that would lack a required family is not taken.
    EXPECT_FALSE(limitFontSet({QStringLiteral("Liberation Serif")}, {QStringLiteral("No Such Family")}));
    EXPECT_EQ(QFontDatabase::families(), families);
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
    c.Scale(-1, 1, 1, -1);  // x right, y up
    c.Line(-1, 0, 1, 0, RGB(255, 0, 0));
    const std::vector<DrawOp>& ops = c.picture().ops();
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_DOUBLE_EQ(ops[0].x1, 0);
    EXPECT_DOUBLE_EQ(ops[0].y1, 50);
    EXPECT_DOUBLE_EQ(ops[0].x2, 200);
    EXPECT_FLOAT_EQ(c.CurrentX, 1);
    EXPECT_EQ(c.image().pixelColor(100, 50), QColor(255, 0, 0));
    c.scaleReset();
    c.Cls();
    EXPECT_EQ(c.image().pixelColor(100, 50), QColor(255, 255, 255));
    ASSERT_EQ(ops.size(), 1u);  // a clearing starts the picture afresh
    EXPECT_EQ(ops[0].kind, DrawOp::Clear);
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

// The typewriter face advances 0.6 em a letter, as the face it stands for
// and the one it replaced: upright names keep the widths the pages were laid
// out with (0.6 of the 17 whole pixels the font system sets 13 points in).
TEST(RasterCanvas, TheTypewriterFaceKeepsItsAdvance) {
    RasterCanvas c(200, 60);
    c.FontName = face::Courier;
    c.FontSize = 13;
    EXPECT_NEAR(c.TextWidth(QStringLiteral("cos")), 30.5625, 1e-9);
    c.FontItalic = true;
    EXPECT_NEAR(c.TextWidth(QStringLiteral("lim")), 30.5625, 1e-9);
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

// A canvas drawn out of view: its pixels come from its picture when first
// read, exactly as if drawn at once, and from then on it paints as it goes.
TEST(RasterCanvas, ADeferredCanvasMakesItsPixelsWhenReadAndThenPaintsAsItGoes) {
    auto draw = [](RasterCanvas& c) {
        c.BackColor = RGB(255, 255, 200);
        c.Cls();
        c.FontName = face::Meiryo;
        c.FontSize = 13;
        c.CurrentX = 3, c.CurrentY = 2;
        c.Print(QStringLiteral("Aあ∫"));
        c.DrawWidth = 2;
        c.Line(0, 30, 119, 45, RGB(200, 0, 0));
        c.Circle(90, 40, 12, RGB(0, 0, 255));
    };
    RasterCanvas later(120, 60), now(120, 60);
    later.defer();
    draw(later);
    draw(now);
    EXPECT_TRUE(later.deferred());
    // A copy reads its source: the pixels are made for it.
    RasterCanvas copy(120, 60);
    copy.copyFrom(later, 0, 0, 120, 60, 0, 0);
    EXPECT_FALSE(later.deferred());
    EXPECT_EQ(later.image(), now.image());
    EXPECT_EQ(copy.image(), now.image());
    later.Box(10, 10, 50, 20, RGB(0, 128, 0), true);
    now.Box(10, 10, 50, 20, RGB(0, 128, 0), true);
    EXPECT_EQ(later.image(), now.image());
    // Cleared while deferred, it is the clearing's colour, drawn or not.
    RasterCanvas blank(20, 20);
    blank.defer();
    blank.BackColor = RGB(0, 0, 128);
    blank.Cls();
    EXPECT_EQ(blank.image().pixelColor(10, 10), QColor(0, 0, 128));
}

TEST(RasterCanvas, ARestingPictureComesBackExactlyAndTakesUpDrawing) {
    auto draw = [](RasterCanvas& c) {
        c.FontName = face::Meiryo;
        c.FontSize = 13;
        c.CurrentX = 3, c.CurrentY = 2;
        c.Print(QStringLiteral("Aあ∫"));
        c.Line(0, 30, 119, 45, RGB(200, 0, 0));
        c.Box(60, 5, 100, 25, RGB(0, 0, 255), true);
    };
    RasterCanvas c(120, 60), twin(120, 60);
    draw(c);
    draw(twin);
    const QImage before = c.image().copy();
    c.rest();
    EXPECT_TRUE(c.resting());

    // Painted as it rests, a band straddling two strips: exactly those rows.
    QImage shown(120, 60, QImage::Format_RGB32);
    shown.fill(Qt::magenta);
    {
        QPainter p(&shown);
        c.paintResting(p, QRect(0, 20, 120, 25));
    }
    for (int y : {19, 20, 31, 32, 44, 45})
        for (int x = 0; x < 120; ++x)
            ASSERT_EQ(shown.pixel(x, y), y < 20 || y > 44 ? QColor(Qt::magenta).rgb() : before.pixel(x, y))
                << x << "," << y;

    EXPECT_EQ(c.image(), before);
    EXPECT_FALSE(c.resting());

    // On a screen one and a half times as dense (bands then start between
    // logical pixels), painting from runs gives what
    // painting the image gives.
    RasterCanvas fine(120, 60, 1.5);
    draw(fine);
    auto paintOnto = [](auto&& paint) {
        QImage target(180, 90, QImage::Format_RGB32);
        target.setDevicePixelRatio(1.5);
        target.fill(Qt::magenta);
        QPainter p(&target);
        paint(p);
        p.end();
        return target;
    };
    const QImage direct = paintOnto([&](QPainter& p) { p.drawImage(QPointF(0, 0), fine.image()); });
    fine.rest();
    EXPECT_EQ(paintOnto([&](QPainter& p) { fine.paintResting(p, QRect(0, 0, 120, 60)); }), direct);

    // Drawing on a resting canvas continues the picture.
    c.rest();
    c.Line(0, 59, 119, 0, RGB(0, 128, 0));
    twin.Line(0, 59, 119, 0, RGB(0, 128, 0));
    EXPECT_EQ(c.image(), twin.image());

    // Resized and cleared while resting, as an image would be.
    c.rest();
    c.resize(60, 40);
    EXPECT_EQ(c.image(), twin.image().copy(0, 0, 60, 40));
    c.rest();
    c.BackColor = RGB(255, 255, 0);
    c.Cls();
    EXPECT_FALSE(c.resting());
    EXPECT_EQ(c.image().pixelColor(30, 20), QColor(255, 255, 0));
}

TEST(PixelRuns, EveryRunLengthAtEveryPlaceInARowComesBack) {
    // Two colours in runs of 1 to 5 pixels, so repeats and literals of every
    // length meet each other and both ends of the rows.
    QImage img(23, 40, QImage::Format_RGB32);
    uint32_t state = 12345;
    for (int y = 0; y < img.height(); ++y) {
        int x = 0;
        bool dark = y % 2;
        while (x < img.width()) {
            state = state * 1103515245 + 12345;
            const int run = int(state >> 16) % 5 + 1;
            for (int i = 0; i < run && x < img.width(); ++i, ++x)
                img.setPixel(x, y, dark ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
            dark = !dark;
        }
    }
    const PixelRuns runs(img);
    EXPECT_EQ(runs.image(3780, 1.0), img);
    QImage part(23, 7, QImage::Format_RGB32);
    runs.unpack(30, 37, part);
    EXPECT_EQ(part, img.copy(0, 30, 23, 7));

    // A blank page is one repeat per row: two words.
    QImage blank(774, 729, QImage::Format_RGB32);
    blank.fill(Qt::white);
    EXPECT_EQ(PixelRuns(blank).bytes(), size_t(729 * 8));
}

TEST(RasterCanvas, ALineAfterAnotherOperationGetsItsOwnPen) {
    // Lines in a row share the painter's pen; anything between them that
    // sets a pen of its own must not leak into the next line.
    RasterCanvas c(60, 40);
    c.Line(0, 5, 59, 5, RGB(255, 0, 0));
    c.PSet(3, 20, RGB(0, 0, 255));  // a blue pen in between
    c.Line(0, 10, 59, 10, RGB(255, 0, 0));
    c.DrawWidth = 3;
    c.Line(0, 30, 59, 30, RGB(255, 0, 0));  // same colour, wider
    const QImage& img = c.image();
    EXPECT_EQ(img.pixelColor(30, 10), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(30, 29), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(30, 31), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(30, 6), QColor(255, 255, 255));
}
