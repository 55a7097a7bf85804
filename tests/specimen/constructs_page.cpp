#include "specimen_chapter.h"

#include "context.h"
#include "pen.h"
#include "state.h"

// The specimen of formula constructs, sums, integrals, radicals and symbols.
void SpecimenChapter::constructsPage() {
    Canvas& c = *CurPic;
    c.Cls();
    PenX = float(LeftX);
    PenY = UnitH * (Printing ? 2 : 1);
    pr(QStringLiteral("式の見本"));
}
