// The page on paper: the print canvas's picture, painted at any resolution
// with the layout of the 96-dpi print image.
#include "end_program.h"
#include "form1.h"
#include "picture.h"
#include "backends/painter_canvas.h"
#include "printer.h"
#include "backends/raster_canvas.h"
#include "specimen/specimen_chapter.h"
#include "state.h"

#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

// The picture painted on a white image `scale` times the canvas's size and
// resolution, as a printer's painter would draw it.
QImage painted(const Picture& picture, int scale) {
    QImage img(picture.size() * scale, QImage::Format_RGB32);
    img.setDotsPerMeterX(3780 * scale);
    img.setDotsPerMeterY(3780 * scale);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    PainterCanvas paper(p, picture.size().width(), picture.size().height());
    paper.replay(picture);
    return img;
}

// Bounding box of the pixels darker than mid-grey.
QRect inkBox(const QImage& img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
    return box;
}

// Share of the ink pixels of a whose grey differs from b's by more than half.
double mismatch(const QImage& a, const QImage& b) {
    int ink = 0, off = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const int ga = qGray(a.pixel(x, y)), gb = qGray(b.pixel(x, y));
            if (ga < 128 || gb < 128) ++ink;
            if (std::abs(ga - gb) > 128) ++off;
        }
    return ink ? double(off) / ink : 1.0;
}

class Paper : public ::testing::Test {
protected:
    void SetUp() override {
        resetContext();
        resetShellState();
        setEndProgramHandler([] {});
        auto keeping = std::make_unique<KeepingPrinter>();
        printer = keeping.get();
        setPagePrinter(std::move(keeping));
        form = std::make_unique<Form1>(chapter);
        form->Form_Load();
    }
    void TearDown() override {
        form.reset();
        setPagePrinter(nullptr);
        setEndProgramHandler(nullptr);
    }
    KeepingPrinter* printer = nullptr;
    SpecimenChapter chapter;
    std::unique_ptr<Form1> form;
};

}  // namespace

TEST_F(Paper, EveryPrintedPageCarriesItsVectorsWithTheImagesLayout) {
    for (int n = 0; n <= form->lastPage(); ++n) {
        form->ShowThisPic(n);
        QTest::mouseClick(&form->cmdPrint(), Qt::LeftButton);
        ASSERT_EQ(printer->pages, n + 1);
        const PrintedPage& page = printer->last;
        ASSERT_TRUE(page.picture) << n;
        EXPECT_EQ(page.size(), QSizeF(page.image.size())) << n;
        EXPECT_EQ(page.picture->ops().front().kind, DrawOp::Clear) << n;
        // At the canvas's resolution the vectors give the image itself, up to
        // the antialiasing of single pixels.
        const QImage same = painted(*page.picture, 1);
        EXPECT_LT(mismatch(same, page.image), 0.01) << n;
        // At four times the resolution everything lies four times as far:
        // text is not scaled by the device's resolution a second time.
        const QRect ink = inkBox(page.image), fine = inkBox(painted(*page.picture, 4));
        EXPECT_NEAR(fine.left(), 4 * ink.left(), 4) << n;
        EXPECT_NEAR(fine.top(), 4 * ink.top(), 4) << n;
        EXPECT_NEAR(fine.right(), 4 * ink.right() + 3, 4) << n;
        EXPECT_NEAR(fine.bottom(), 4 * ink.bottom() + 3, 4) << n;
    }
}

TEST_F(Paper, APageThatFailsPrintsNothing) {
    chapter.duringPage = [](int) { throw std::runtime_error("no page"); };
    QTest::mouseClick(&form->cmdPrint(), Qt::LeftButton);
    EXPECT_EQ(printer->pages, 0);
    // The next print goes out as usual.
    chapter.duringPage = nullptr;
    QTest::mouseClick(&form->cmdPrint(), Qt::LeftButton);
    EXPECT_EQ(printer->pages, 1);
}

TEST(Picture, KeepsWhatACanvasShowsSinceItWasCleared) {
    RasterCanvas canvas(40, 30), source(10, 10);
    canvas.Box(0, 0, 39, 29, RGB(0, 0, 255), true);
    source.Box(0, 0, 9, 9, RGB(255, 0, 0), true);
    canvas.copyFrom(source, 5, 5, 10, 10, 0, 0);
    source.Box(0, 0, 9, 9, RGB(0, 255, 0), true);  // after the copy: not on the page
    canvas.Line(20, 2, 20, 27, RGB(0, 0, 0));

    const QImage img = painted(canvas.picture(), 1);
    EXPECT_EQ(img.pixel(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(9, 9), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(20, 15), qRgb(0, 0, 0));  // the same pixel column as on the canvas
    EXPECT_EQ(img.pixel(21, 15), qRgb(0, 0, 255));
    EXPECT_EQ(img, canvas.image());

    // A clearing covers all before it; nothing earlier is kept.
    canvas.Cls();
    canvas.PSet(3, 4, RGB(0, 0, 0));
    ASSERT_EQ(canvas.picture().ops().size(), 2u);
    EXPECT_EQ(canvas.picture().ops()[0].kind, DrawOp::Clear);
    EXPECT_EQ(painted(canvas.picture(), 1), canvas.image());
}
