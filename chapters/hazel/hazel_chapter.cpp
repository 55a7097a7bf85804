#include "hazel_chapter.h"

#include "context.h"
#include "markup.h"
#include "pen.h"
#include "state.h"
#include "symbols.h"

HazelChapter::HazelChapter() {
    ChapterProfile& s = profile_;
    s.name = QStringLiteral("hazel");
    s.title = QStringLiteral("チェビシェフ補間");
    s.pages = 5;
    s.designBoxes = 1;
    s.drawnAtStartup = {0, 1, 2, 3, 4};
    s.buttonBack = RGB(240, 240, 255);
    // This window sits its pages and buttons a little lower than the others.
    s.designBoxGeometry = {{13, 50, 774, 729}};
    s.cmdPrint = {635, 8, 43, 32};
    s.cmdBack = {697, 10, 22, 26};
    s.cmdGo = {729, 10, 21, 26};

    LibraryVariant& v = s.library;
    v.fraction = LibraryVariant::FractionForm::Hazel;
    v.plainMarkupWidth = true;
    v.hazelSum = true;
    v.boldBigParen = false;
    v.braceExtension = LibraryVariant::BraceExtension::HeightAboveFourTenths;
    v.funcNameGap = 5;
    v.funcArgTrail = 0;
    v.ofXGaps = LibraryVariant::OfXGaps::None;
}

void HazelChapter::drawPage(int n) {
    switch (n) {
    case 0: pic0(); break;
    case 1: pic1(); break;
    case 2: pic2(); break;
    case 3: pic3(); break;
    case 4: pic4(); break;
    default: break;
    }
}

void HazelChapter::T(const QString& k) {
    prVar(QStringLiteral("T"));
    prSub(k);
    dsp_of_x(*CurPic, PenX, PenY);
}

// Every page but the first: cleared canvas in pixels, the heading at TabX1
// (one line lower on paper), then the pen at the margin for the text.
void HazelChapter::pageStart(const QString& heading) {
    Canvas& c = *CurPic;
    c.scaleReset();  // page 1 leaves its graph scale on the canvas
    c.Cls();
    c.FontSize = BaseSize;
    PenX = float(TabX1);
    PenY = Printing ? UnitH : 0.0f;
    prBlue(heading);
    PenX = float(LeftX);
    SkipH(1.5f);
}
