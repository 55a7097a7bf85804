#include "rowan_chapter.h"

#include "context.h"
#include "markup.h"
#include "operators.h"
#include "page_opening.h"
#include "pen.h"
#include "state.h"
#include "symbols.h"
#include "text.h"

namespace chapters {

RowanChapter::RowanChapter()
    : PagedChapter(makeProfile(), {&RowanChapter::pic0, &RowanChapter::pic1, &RowanChapter::pic2,
                                   &RowanChapter::pic3, &RowanChapter::pic4}) {}

ChapterProfile RowanChapter::makeProfile() {
    ChapterProfile s;
    s.name = QStringLiteral("rowan");
    s.title = QStringLiteral("高速フーリエ変換 (Fast Fourier Transform)");
    s.designBoxes = 1;
    s.drawnAtStartup = {0, 1, 2, 3, 4};
    s.buttonBack = RGB(240, 240, 255);
    // The English gloss makes the title longer than the other chapters'; the
    // label still ends left of the print button.
    s.label1 = {129, 5, 490, 31};

    // 2^p sets its p right after the 2.
    s.library.twoPGap = 0;
    return s;
}

void RowanChapter::dsp_fj() {
    prVar(QStringLiteral("f"));
    Skip(4);
    pr(QStringLiteral("("));
    Skip(4);
    prVar(QStringLiteral("j"));
    Skip(4);
    pr(QStringLiteral(")"));
}

void RowanChapter::openMechanismPage() {
    CurPic->FontSize = BaseSize;
    openPage();
}

namespace rowan {

void eqNumber(const char* n, float x) {
    PenX = x;
    pr(QStringLiteral("[%1]").arg(QLatin1String(n)));
    PenX = float(TabX2);
}

float sumFromZero(float row, float back, const std::function<void()>& upper) {
    Canvas& c = *CurPic;
    float eqCol = 0;
    dsp_sum(c, PenX, PenY, QStringLiteral("j=0"), [&] {
        eqCol = PenX;
        PenX = eqCol - back;
        PenY = row - 22;
        c.FontSize = float(0.85 * BaseSize);
        upper();
        c.FontSize = BaseSize;
        PenX = eqCol;
        PenY = row;
    });
    return eqCol;
}

void funcOfSub(const char* name, const char* v, const char* sub) {
    Canvas& c = *CurPic;
    dsp_var(c, PenX, PenY, QLatin1String(name));
    Skip(Variant.funcNameGap);
    dsp_text(c, PenX, PenY, QStringLiteral("("));
    // The bold fallback faces lean into the parenthesis, as in prFunc.
    if (BookmanOK != 1) Skip(2);
    dsp_var(c, PenX, PenY, QLatin1String(v));
    prSub(QLatin1String(sub));
    Skip(2);
    dsp_text(c, PenX, PenY, QStringLiteral(")"));
}

void fOfJBeta(const char* lead, bool plusBeta) {
    prVar(QStringLiteral("f"));
    Skip(4);
    pr(QStringLiteral("(") + QLatin1String(lead));
    Skip(3);  // the tail of the italic j runs under the parenthesis or the sign
    prVar(QStringLiteral("j"));
    prBeta();
    if (plusBeta) {
        pr(QStringLiteral(" + "));
        prBeta();
    }
    pr(QStringLiteral(" + "));
    prVar(QStringLiteral("l"));
    Skip(3);
    pr(QStringLiteral(")"));
}

void omegaTo(const char* exponent) {
    omega();
    // The tail of a leading italic j reaches back under the omega.
    if (exponent[0] == 'j') Skip(2);
    prSup(QLatin1String(exponent));
}

void omegaDefinition() {
    omega();
    pr(QStringLiteral(" = "));
    prUpright(QStringLiteral("e"));
    prSup(QStringLiteral("-2pii/N"));
}

void XSup(const char* sup) {
    prVar(QStringLiteral("X"));
    prSup(QLatin1String(sup));
}

}  // namespace rowan

}  // namespace chapters
