#include "alder_chapter.h"

#include "context.h"
#include "incomplete_gamma.h"
#include "markup.h"
#include "pen.h"
#include "text.h"

namespace chapters {

AlderChapter::AlderChapter()
    : PagedChapter(makeProfile(), {&AlderChapter::pic0, &AlderChapter::pic1, &AlderChapter::pic2,
                                   &AlderChapter::pic3}) {}

ChapterProfile AlderChapter::makeProfile() {
    ChapterProfile s;
    s.name = QStringLiteral("alder");
    s.title = QStringLiteral("連分数 (Continued Fractions)");
    s.designBoxes = 1;
    s.drawnAtStartup = {0, 1, 2};
    // Page 0 shows page 1's substitution once page 1 exists; page 3 traces
    // its curves afresh every time it is entered.
    s.redrawnWhenShown = {0, 3};
    s.buttonBack = RGB(240, 240, 255);
    s.f1SetsSkipWait = true;
    s.closeEndsProgram = true;
    s.keepsDefFore = true;
    s.hidesBackAtStart = true;
    s.label1 = {209, 5, 303, 31};
    return s;
}

void AlderChapter::dsp_nu() {
    Canvas& c = *CurPic;
    const float s = c.FontSize;
    c.FontBold = true;
    c.FontSize = float(s + 1.0);
    dsp_gothic(c, PenX, PenY + 2, QStringLiteral("ν"));
    c.FontSize = s;
    c.FontBold = false;
    // The full-width cell leaves a wide gap on the right.
    Skip(-6);
}

void AlderChapter::IncompGamma() {
    dsp_symbolIt(*CurPic, PenX, PenY, QStringLiteral("G"));
    Skip(6);
    pr(QStringLiteral("("));
    dsp_nu();
    prVar(QStringLiteral(","));
    Skip(3);
    prVar(QStringLiteral("x"));
    Skip(4);
    pr(QStringLiteral(")"));
}

void AlderChapter::Bunsi(int gap) {
    prVar(QStringLiteral("F"));
    prSub(QStringLiteral("n+1"));
    Skip(gap);
    prVar(QStringLiteral("G"));
    prSub(QStringLiteral("n"));
    Skip(gap);
    prMinus();
    prVar(QStringLiteral("F"));
    prSub(QStringLiteral("n"));
    Skip(gap);
    prVar(QStringLiteral("G"));
    prSub(QStringLiteral("n+1"));
}

void AlderChapter::Bunbo() {
    prVar(QStringLiteral("F"));
    prSub(QStringLiteral("n"));
    Skip(6);
    prVar(QStringLiteral("F"));
    prSub(QStringLiteral("n+1"));
}

float AlderChapter::px(float u) const { return float((double(u) - 1) / 2 * graph.W + graph.L); }

float AlderChapter::py(float v) const { return float((double(v) - 10) / 30 * graph.H + graph.T); }

double AlderChapter::alog10(double d) { return chapters::alog10(d); }

}  // namespace chapters
