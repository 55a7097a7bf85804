#include "page_opening.h"

#include "context.h"
#include "pen.h"
#include "state.h"

using namespace typeset;

void openPage() {
    CurPic->scaleReset();
    CurPic->Cls();
    PenX = float(TabX1);
    PenY = Printing ? UnitH : 0.0f;
}

void openPage(const QString& heading) {
    openPage();
    prBlue(heading);
    PenX = float(LeftX);
    SkipH(1.5f);
}

void openTitlePage(const QString& title, float titleUnits, float titleSize) {
    CurPic->scaleReset();
    CurPic->Cls();
    PenY = UnitH;
    if (Printing) prPaperTitle(title, titleUnits, titleSize);
}

void prPaperTitle(const QString& title, float units, float size) {
    PenX = float(units * double(UnitW));
    CurPic->FontSize = size;
    pr(title);
    CurPic->FontSize = BaseSize;
    SkipH(1.5f);
}
