#include "pieces.h"

#include "context.h"
#include "operators.h"
#include "pen.h"
#include "symbols.h"

namespace chapters {

namespace birch {

void barFraction(int bars, const Part& num, const Part& den) {
    const float x0 = PenX, y0 = PenY;
    Construct fraction(*CurPic, Group::Fraction);
    pr(QString(bars, QChar(0x2500)));
    const float xe = PenX;
    for (const Part* p : {&num, &den}) {
        PenX = x0 + p->dx;
        PenY = y0 + p->dy;
        drawAs(*CurPic, p == &num ? Group::Numerator : Group::Denominator, p->print);
    }
    PenX = xe;
    PenY = y0;
}

float radical(float drop, float dx, float dy, float barUnits, Color colour) {
    Canvas& c = *CurPic;
    const float y = PenY + drop;
    float x = PenX;
    dsp_sqrt(c, x, y, 0);
    const double x1 = x + dx, y1 = y + 1 + dy;
    c.Line(x, y + 1, x1, y1, colour);
    c.Line(x1, y1, x1 + barUnits * UnitW, y1, colour);
    PenX = float(x1);
    return x;
}

void text(const char* s) { pr(QString::fromUtf8(s)); }

void var(const char* v) { prVar(QString::fromUtf8(v)); }

void omegaT() {
    omega();
    Skip(1);
    var("t");
}

}  // namespace birch

}  // namespace chapters
