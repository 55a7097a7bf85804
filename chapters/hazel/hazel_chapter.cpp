#include "hazel_chapter.h"

#include "context.h"
#include "markup.h"
#include "pen.h"
#include "page_opening.h"
#include "state.h"
#include "symbols.h"

namespace chapters {

HazelChapter::HazelChapter()
    : PagedChapter(makeProfile(), {&HazelChapter::pic0, &HazelChapter::pic1, &HazelChapter::pic2,
                                   &HazelChapter::pic3, &HazelChapter::pic4}) {}

ChapterProfile HazelChapter::makeProfile() {
    ChapterProfile s;
    s.name = QStringLiteral("hazel");
    s.title = QStringLiteral("チェビシェフ補間");
    s.designBoxes = 1;
    s.drawnAtStartup = {0, 1, 2, 3, 4};
    s.buttonBack = RGB(240, 240, 255);
    // This window sits its pages and buttons a little lower than the others.
    s.designBoxGeometry = {{13, 50, 774, 729}};
    s.cmdPrint = {635, 8, 43, 32};
    s.cmdBack = {697, 10, 22, 26};
    s.cmdGo = {729, 10, 21, 26};

    LibraryVariant& v = s.library;
    v.fraction = LibraryVariant::FractionForm::WholeParts;
    v.plainMarkupWidth = true;
    v.sumLimitsByLength = true;
    v.boldBigParen = false;
    v.braceExtension = LibraryVariant::BraceExtension::HeightAboveFourTenths;
    v.funcNameGap = 5;
    v.funcArgTrail = 0;
    v.ofXGaps = LibraryVariant::OfXGaps::None;
    return s;
}

void HazelChapter::T(const QString& k) {
    prVar(QStringLiteral("T"));
    prSub(k);
    // A capital subscript's arm leans into the parenthesis (T_N touched it).
    if (k.back().isUpper()) Skip(2);
    dsp_of_x(*CurPic, PenX, PenY);
}

// Every page but the first: cleared canvas in pixels, the heading at TabX1
// (one line lower on paper), then the pen at the margin for the text.
void HazelChapter::pageStart(const QString& heading) {
    CurPic->FontSize = BaseSize;
    openPage(heading);
}

}  // namespace chapters
