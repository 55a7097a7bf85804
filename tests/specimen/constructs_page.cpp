#include "specimen_chapter.h"

#include "constructs.h"
#include "context.h"
#include "markup.h"
#include "operators.h"
#include "pen.h"
#include "state.h"
#include "symbols.h"
#include "text.h"

namespace chapters {

namespace {

// A short grey caption before each specimen.
void caption(const QString& s) {
    Canvas& c = *CurPic;
    const Color saved = c.ForeColor;
    const float size = c.FontSize;
    c.ForeColor = colGray;
    c.FontSize = float(0.8 * size);
    dsp_text(c, PenX, float(PenY + 3), s);
    c.FontSize = size;
    c.ForeColor = saved;
    Skip(6);
}

}  // namespace

// The specimen of formula constructs, sums, integrals, radicals and symbols.
void SpecimenChapter::constructsPage() {
    Canvas& c = *CurPic;
    c.Cls();
    c.FontSize = BaseSize;
    PenX = float(LeftX);
    PenY = UnitH * (Printing ? 2 : 1);
    pr(QStringLiteral("式の見本"));

    // Fractions: the common form, the small one, and the other two forms.
    SkipH(2.2f);
    PenX = float(LeftX);
    caption(QStringLiteral("分数"));
    prFrac(QStringLiteral("1"), QStringLiteral("2"));
    Skip(12);
    prFracS(QStringLiteral("x_1"), QStringLiteral("2"));
    Skip(12);
    prFrac(QStringLiteral("y"), QStringLiteral("x"));
    Skip(12);
    prFrac(QStringLiteral("^2x"), QStringLiteral("pi"));
    Skip(12);
    prFrac(QStringLiteral("alpha"), QStringLiteral("omega"));
    Skip(12);
    {
        const LibraryVariant saved = Variant;
        caption(QStringLiteral("hazel"));
        Variant.fraction = LibraryVariant::FractionForm::WholeParts;
        Variant.plainMarkupWidth = true;
        prFrac(QStringLiteral("1"), QStringLiteral("n+1"));
        Skip(12);
        prFrac(QStringLiteral("y"), QStringLiteral("2"));
        Skip(12);
        caption(QStringLiteral("cedar"));
        Variant = saved;
        Variant.fraction = LibraryVariant::FractionForm::PiAware;
        prFrac(QStringLiteral("pi"), QStringLiteral("2pi"));
        Variant = saved;
    }
    Skip(12);
    caption(QStringLiteral("固定"));
    prOverPi();
    Skip(8);
    prOver2Pi();
    Skip(8);
    prOver4Pi();

    // Tall parentheses around a fraction, and the partial derivatives.
    SkipH(2.4f);
    PenX = float(LeftX);
    caption(QStringLiteral("括弧"));
    prBigLParen(PenX, PenY);
    Skip(10);
    prFrac(QStringLiteral("1"), QStringLiteral("2"));
    Skip(2);
    prBigRParen(PenX, PenY);
    Skip(12);
    pr(QStringLiteral("，"));
    prBigLParen(PenX, PenY);
    Skip(10);
    prFracS(QStringLiteral("a_n"), QStringLiteral("n+1"));
    Skip(2);
    prBigRParen(PenX, PenY);
    Skip(12);
    prVar(QStringLiteral("x"));
    pr(QStringLiteral(" = "));
    {
        const LibraryVariant saved = Variant;
        Variant.boldBigParen = false;
        prBigLParen(PenX, PenY);
        Skip(10);
        prFrac(QStringLiteral("3"), QStringLiteral("4"));
        Skip(2);
        prBigRParen(PenX, PenY);
        Variant = saved;
        Skip(24);
    }
    caption(QStringLiteral("偏微分"));
    prPartial(QStringLiteral("U"), QStringLiteral("S"), QStringLiteral("V"));
    Skip(12);
    prPartial(QStringLiteral("p"), QStringLiteral("theta"), QStringLiteral("V"));
    Skip(16);
    prPartialFrac(QStringLiteral("tildeF"), QStringLiteral("theta"));
    Skip(16);
    prPartialFrac(QStringLiteral("G"), QStringLiteral("p"));

    // Column braces with alpha beside them, both sides.
    SkipH(3.7f);
    PenX = float(LeftX);
    caption(QStringLiteral("中括弧"));
    {
        const float ly = PenY, lx = PenX + 2 * UnitW;
        Brace_alpha(0, lx, ly);
        float x = float(lx + 1.5 * UnitW);
        float y = float(ly - 0.6 * UnitH);
        dsp_var(c, x, y, QStringLiteral("x"));
        dsp_text(c, x, y, QStringLiteral(" = 1 + "));
        dsp_var(c, x, y, QStringLiteral("y"));
        x = float(lx + 1.5 * UnitW);
        y = float(ly + 0.6 * UnitH);
        dsp_var(c, x, y, QStringLiteral("x"));
        dsp_text(c, x, y, QStringLiteral(" = 2 - "));
        dsp_var(c, x, y, QStringLiteral("y"));
        Brace_alpha(1, float(x + 6), ly);

        // The three-piece brace of the deliverables that extend only when tall.
        const LibraryVariant saved = Variant;
        Variant.braceExtension = LibraryVariant::BraceExtension::HeightAtLeastOne;
        const float lx2 = float(x + 6 + 4 * UnitW);
        ColBrace(0, lx2, ly, 0.6f);
        x = float(lx2 + 1.5 * UnitW);
        dsp_text(c, x, ly, QStringLiteral("3 個"));
        Variant = saved;

        // A tall one, five pieces over two line heights each side.
        const float lx3 = float(x + 3 * UnitW);
        ColBrace(0, lx3, ly, 1.0f);
        x = float(lx3 + 1.5 * UnitW);
        for (int k = -1; k <= 1; ++k) {
            float xl = x;
            dsp_text(c, xl, float(ly + k * UnitH), QStringLiteral("行 %1").arg(k + 2));
        }
        ColBrace(1, float(x + 4 * UnitW), ly, 1.0f);

        // The horizontal brace under its beta.
        brace_beta(float(x + 10 * UnitW), float(ly - 0.2 * UnitH));
    }

    // Stacked scripts on X, 2^p, one-half.
    SkipH(3.7f);
    PenX = float(LeftX);
    caption(QStringLiteral("添字"));
    Xa(QStringLiteral("(k)"), QStringLiteral("n"));
    Skip(12);
    Xp(QStringLiteral("n"));
    Skip(12);
    Xp1(QStringLiteral("n+1"));
    Skip(16);
    dsp_2p();
    Skip(16);
    caption(QStringLiteral("半分"));
    dsp_half(c, PenX, PenY);
    prVar(QStringLiteral("x"));
    Skip(12);
    dsp_oneOver(c, PenX, PenY, QStringLiteral("N"));
    prVar(QStringLiteral("y"));
    Skip(16);
    caption(QStringLiteral("ドット"));
    prDot(QStringLiteral("u"));
    Skip(8);
    prDDot(QStringLiteral("u"));
    Skip(8);
    prDot(QStringLiteral("S"));
    Skip(8);
    prDDot(QStringLiteral("theta"));
    Skip(8);
    prVar(QStringLiteral("f"));
    dsp_prime(c, PenX, PenY);
    Skip(8);
    prVar(QStringLiteral("y"));
    prPrime();
    Skip(8);
    prTilde(QStringLiteral("U"));

    // Sums and integrals with their limits.
    SkipH(3.0f);
    PenX = float(LeftX);
    caption(QStringLiteral("和"));
    Skip(6);
    dsp_sum(c, PenX, PenY, QStringLiteral("n=0"), QStringLiteral("∞"));
    prVar(QStringLiteral("a"));
    prSub(QStringLiteral("n"));
    Skip(12);
    dsp_sum(c, PenX, PenY, QStringLiteral("k=1"), QStringLiteral("N"));
    prVar(QStringLiteral("k"));
    Skip(12);
    dsp_sum(c, PenX, PenY, QStringLiteral("j"), QString());
    prVar(QStringLiteral("c"));
    prSub(QStringLiteral("j"));
    Skip(12);
    {
        const LibraryVariant saved = Variant;
        Variant.sumLimitsByLength = true;
        dsp_sum(c, PenX, PenY, QStringLiteral("k=0"), QStringLiteral("n"));
        Variant = saved;
    }
    prVar(QStringLiteral("T"));
    prSub(QStringLiteral("k"));
    Skip(20);
    prSumH(QStringLiteral("N"), QStringLiteral("j=1"));
    Skip(4);
    prVar(QStringLiteral("x"));
    prSub(QStringLiteral("j"));
    Skip(20);
    caption(QStringLiteral("積分"));
    dsp_integral(c, PenX, PenY, QStringLiteral("pi"), QStringLiteral("-pi"));
    prVar(QStringLiteral("f"));
    dsp_of_x(c, PenX, PenY);
    prDiff(QStringLiteral("x"));
    Skip(16);
    dsp_integral(c, PenX, PenY, QStringLiteral("1"), QStringLiteral("0"));
    prVar(QStringLiteral("t"));
    prSup(QStringLiteral("2"));
    prDiff(QStringLiteral("t"));
    Skip(16);
    dsp_intInf(c, PenX, PenY);
    prVar(QStringLiteral("e"));
    prSup(QStringLiteral("-x"));
    prDiff(QStringLiteral("x"));

    // Radicals, function notation, derivatives.
    SkipH(3.0f);
    PenX = float(LeftX);
    caption(QStringLiteral("根号"));
    {
        float x = PenX;
        const float y = PenY;
        dsp_sqrt(c, x, y, 38);
        float xr = x - 38 + 2;
        dsp_var(c, xr, y, QStringLiteral("x"));
        dsp_sup(c, xr, y, QStringLiteral("2"));
        xr += 2;
        dsp_text(c, xr, y, QStringLiteral("+1"));
        PenX = x + 4;
        pr(QStringLiteral("，"));
        x = PenX;
        dsp_sqrt(c, x, y, 0);
        PenX = x + 2;
        pr(QStringLiteral("2"));
        Skip(16);
    }
    caption(QStringLiteral("関数"));
    prFunc(QStringLiteral("f"), QStringLiteral("x"));
    Skip(8);
    prFunc(QStringLiteral("J"), QStringLiteral("t"));
    Skip(8);
    prFunc(QStringLiteral("g"), QStringLiteral("j"));
    Skip(8);
    prVar(QStringLiteral("u"));
    dsp_of_t(c, PenX, PenY);
    Skip(8);
    prVarSub(QStringLiteral("T"), QStringLiteral("n"));
    dsp_of_x(c, PenX, PenY);
    Skip(16);
    prDeriv(QStringLiteral("f"), QStringLiteral("t"));
    Skip(16);
    prDeriv(QStringLiteral("y"), QStringLiteral("x"));

    // Greek letters at the pen, 2 pi and 4 pi, a thermodynamic name, legend.
    SkipH(2.5f);
    PenX = float(LeftX);
    caption(QStringLiteral("記号"));
    prDelta();
    Skip(8);
    prTheta();
    Skip(8);
    prAlpha();
    Skip(8);
    prBeta();
    Skip(8);
    prKappa();
    Skip(8);
    prEpsln();
    Skip(8);
    dsp_sup2(c, PenX, PenY);
    Skip(12);
    pr2pi(PenX, PenY);
    Skip(12);
    pr4pi(PenX, PenY);
    Skip(16);
    prThermoVar(c, PenX, PenY, QStringLiteral("S,V,N"));
    Skip(8);
    prThermoVar(c, PenX, PenY, QStringLiteral("pV"));
    Skip(8);
    prThermoVar(c, PenX, PenY, QStringLiteral("theta,phi"));
    Skip(16);
    caption(QStringLiteral("凡例"));
    dsp_sampleLine(c, PenX, PenY, colRed);
    pr(QStringLiteral("誤差"));
}

}  // namespace chapters
