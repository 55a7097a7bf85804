#include "birch_chapter.h"

#include "context.h"
#include "markup.h"
#include "operators.h"
#include "pieces.h"
#include "pen.h"
#include "state.h"
#include "symbols.h"
#include "text.h"

namespace chapters {

BirchChapter::BirchChapter()
    : PagedChapter(makeProfile(), {&BirchChapter::pic0, &BirchChapter::pic1, &BirchChapter::pic2,
                                   &BirchChapter::pic3, &BirchChapter::pic4, &BirchChapter::pic5}) {}

ChapterProfile BirchChapter::makeProfile() {
    ChapterProfile s;
    s.name = QStringLiteral("birch");
    s.title = QStringLiteral("ケプラー運動とベッセル関数");
    s.designBoxes = 1;
    s.drawnAtStartup = {0, 1, 2, 3, 4, 5};
    s.buttonBack = RGB(244, 244, 255);
    s.keepsDefFore = true;
    s.systemButtonColourFirst = true;
    s.entitiesBeforePrintCanvas = true;
    // Every repaint of the window drops the print canvas; the next print
    // loads it again.
    s.unloadsPrintCanvasOnPaint = true;
    s.label1 = {180, 5, 380, 31};

    LibraryVariant& v = s.library;
    v.braceExtension = LibraryVariant::BraceExtension::HeightAtLeastOne;
    // 1/(2π) is set like 1/(4π): the pen prints 2π and ends after it.
    v.over2PiPenPrintsDenominator = true;
    return s;
}

void BirchChapter::dot(const QString& s) { prDot(s); }

void BirchChapter::cos2() {
    prCos();
    prSup(QStringLiteral("2"));
}

void BirchChapter::sin2() {
    prSin();
    prSup(QStringLiteral("2"));
}

void BirchChapter::eps2() {
    prEpsln();
    Skip(2);
    dsp_sup(*CurPic, PenX, PenY + 2, QStringLiteral("2"));
}

void BirchChapter::dsp1_eps2() {
    pr(QStringLiteral("1"));
    prMinus();
    eps2();
}

void BirchChapter::Sqrt1_eps2() {
    // The bar 2 px above the raised 2 of ε², which it all but touched.
    PenX = birch::radical(4, 1, -8, 5, colGray);
    Skip(4);
    dsp1_eps2();
}

void BirchChapter::alpha2() {
    Canvas& c = *CurPic;
    Skip(2);
    PenY -= 2;
    c.FontSize = float(1.1 * BaseSize);
    prAlpha();
    c.FontSize = BaseSize;
}

}  // namespace chapters
