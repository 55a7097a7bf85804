// Page 3: cutting the interpolated series, and the proof of discrete
// orthogonality through the sum of cosines over the zeros of T_N.
#include "hazel_chapter.h"

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

void sum(const QString& lower, const QString& upper) {
    dsp_sum(*CurPic, PenX, PenY, lower, upper);
}

// T_m(x_j) with the subscript m.
void TofXj(const QString& m) {
    prVarSub(QStringLiteral("T"), m);
    pr(QStringLiteral("("));
    prVarSub(QStringLiteral("x"), QStringLiteral("j"));
    pr(QStringLiteral(")"));
}

// "2 sin θ cos", the left side of each identity.
void twoSinCos() {
    pr(QStringLiteral("2 "));
    prSin();
    prTheta();
    Skip(6);
    prCos();
}

void sinOf(const QString& multiple) {
    prSin();
    if (!multiple.isEmpty()) pr(multiple);
    prTheta();
}

// sin 2Nθ
void sin2N() {
    prSin();
    pr(QStringLiteral("2"));
    prVar(QStringLiteral("N"));
    prTheta();
}

}  // namespace

void HazelChapter::pic3() {
    pageStart(QString());
    pr(QStringLiteral("こうして，まず "));
    prVar(QStringLiteral("N"));
    pr(QStringLiteral(" を決めて "));
    prVarSub(QStringLiteral("c"), QStringLiteral("0"));
    pr(QStringLiteral(", "));
    prVarSub(QStringLiteral("c"), QStringLiteral("1"));
    pr(QStringLiteral(", … , "));
    prVarSub(QStringLiteral("c"), QStringLiteral("N-1"));
    pr(QStringLiteral(" を計算します．これらはふつう "));
    prVar(QStringLiteral("k"));
    pr(QStringLiteral(" とともに"));
    NewLine();
    pr(QStringLiteral("小さくなるので，必要な精度を "));
    prEpsln();
    pr(QStringLiteral(" として "));
    prVarSub(QStringLiteral("c"), QStringLiteral("n"));
    pr(QStringLiteral(" ～ "));
    prEpsln();
    pr(QStringLiteral(" となる "));
    prVar(QStringLiteral("n"));
    pr(QStringLiteral(" で打ち切れば，近似が完成します．"));

    SkipH(1.5f);
    PenX = float(TabX1);
    prBlue(QStringLiteral("(5) 選点直交性の証明."));
    NewPara();
    pr(QStringLiteral("三角関数の公式 2 "));
    prCos();
    prVar(QStringLiteral("x"));
    Skip(4);
    prCos();
    prVar(QStringLiteral("y"));
    pr(QStringLiteral(" = "));
    prCos();
    pr(QStringLiteral("("));
    prVar(QStringLiteral("x"));
    pr(QStringLiteral(" + "));
    prVar(QStringLiteral("y"));
    pr(QStringLiteral(") + "));
    prCos();
    pr(QStringLiteral("("));
    prVar(QStringLiteral("x"));
    prMinus();
    prVar(QStringLiteral("y"));
    pr(QStringLiteral(") に対応して"));
    NewLine();
    pr(QStringLiteral("2 "));
    prVarSub(QStringLiteral("T"), QStringLiteral("k"));
    Skip(2);
    prVarSub(QStringLiteral("T"), QStringLiteral("l"));
    pr(QStringLiteral(" = "));
    prVarSub(QStringLiteral("T"), QStringLiteral("k+l"));
    pr(QStringLiteral(" + "));
    prVarSub(QStringLiteral("T"), QStringLiteral("|k-l|"));
    pr(QStringLiteral(" が成り立ちます．したがって"));

    SkipH(2.0f);
    PenX = float(TabX2);
    pr(QStringLiteral("("));
    prVarSub(QStringLiteral("T"), QStringLiteral("k"));
    pr(QStringLiteral(", "));
    prVarSub(QStringLiteral("T"), QStringLiteral("l"));
    pr(QStringLiteral(") = "));
    sum(QStringLiteral("j=1"), QStringLiteral("N"));
    Skip(4);
    TofXj(QStringLiteral("k"));
    Skip(2);
    TofXj(QStringLiteral("l"));
    pr(QStringLiteral(" = "));
    const float eqX = PenX;
    prFrac(QStringLiteral("1"), QStringLiteral("2"));
    Skip(4);
    prBigLParen(PenX, PenY);
    Skip(10);
    sum(QStringLiteral("j"), QString());
    Skip(4);
    TofXj(QStringLiteral("k+l"));
    pr(QStringLiteral(" + "));
    sum(QStringLiteral("j"), QString());
    Skip(4);
    TofXj(QStringLiteral("|k-l|"));
    Skip(2);
    prBigRParen(PenX, PenY);

    SkipH(2.0f);
    PenX = float(eqX - 2 * UnitW);
    pr(QStringLiteral("= "));
    prFrac(QStringLiteral("N"), QStringLiteral("2"));
    pr(QStringLiteral(" ("));
    prDelta();
    Skip(2);  // the subscript's k leans back into the delta
    prSub(QStringLiteral("k+l,0"));
    pr(QStringLiteral(" + "));
    prDelta();
    Skip(2);  // the subscript's k leans back into the delta
    prSub(QStringLiteral("k,l"));
    pr(QStringLiteral(")"));

    SkipH(1.7f);
    PenX = float(LeftX);
    pr(QStringLiteral("となります．ここで "));
    prTheta();
    pr(QStringLiteral(" = "));
    prVar(QStringLiteral("k"));
    dsp_pi(*CurPic, PenX, PenY);
    pr(QStringLiteral("/(2"));
    prVar(QStringLiteral("N"));
    Skip(2);  // the italic N leans into the parenthesis
    pr(QStringLiteral(") とおくと，"));
    TofXj(QStringLiteral("k"));
    pr(QStringLiteral(" = "));
    prCos();
    prVar(QStringLiteral("k"));
    prTheta();
    prSub(QStringLiteral("j"));
    pr(QStringLiteral(" = "));
    prCos();
    pr(QStringLiteral("(2"));
    prVar(QStringLiteral("j"));
    prMinus();
    pr(QStringLiteral("1)"));
    prTheta();
    pr(QStringLiteral(" なので"));

    SkipH(2.0f);
    PenX = float(TabX2);
    sum(QStringLiteral("j=1"), QStringLiteral("N"));
    Skip(4);
    TofXj(QStringLiteral("k"));
    pr(QStringLiteral(" = "));
    sum(QStringLiteral("j=1"), QStringLiteral("N"));
    Skip(4);
    prCos();
    pr(QStringLiteral("(2"));
    prVar(QStringLiteral("j"));
    prMinus();
    pr(QStringLiteral("1)"));
    prTheta();
    pr(QStringLiteral(" = "));
    {
        // sin 2Nθ over 2 sin θ, the bar a run of box-drawing characters.
        const float x0 = PenX, y0 = PenY;
        Construct fraction(*CurPic, Group::Fraction);
        PenY = y0 - 11;
        PenX = x0 + 4;
        drawAs(*CurPic, Group::Numerator, [] { sin2N(); });
        PenY = y0 + 12;
        PenX = x0 + 8;
        drawAs(*CurPic, Group::Denominator, [] {
            pr(QStringLiteral("2 "));
            sinOf(QString());
        });
        PenX = x0;
        PenY = y0;
        pr(QStringLiteral("─────"));
    }
    Skip(10);
    pr(QStringLiteral("="));
    Skip(8);
    pr(QStringLiteral("0  ("));
    prVar(QStringLiteral("k"));
    pr(QStringLiteral(" ≠ 0)，  "));
    prVar(QStringLiteral("N"));
    pr(QStringLiteral("  ("));
    prVar(QStringLiteral("k"));
    pr(QStringLiteral(" = 0)"));

    SkipH(1.8f);
    PenX = float(LeftX);
    pr(QStringLiteral("です．2 番目の等号は，次の式を辺々加えると得られます．"));

    NewPara();
    PenX = float(TabX2);
    twoSinCos();
    prTheta();
    pr(QStringLiteral("  =  "));
    sinOf(QStringLiteral("2"));
    NewLine();
    PenX = float(TabX2);
    twoSinCos();
    pr(QStringLiteral("3"));
    prTheta();
    pr(QStringLiteral("  =  "));
    sinOf(QStringLiteral("4"));
    prMinus();
    sinOf(QStringLiteral("2"));
    NewLine();
    PenX = float(TabX2);
    twoSinCos();
    pr(QStringLiteral("5"));
    prTheta();
    pr(QStringLiteral("  =  "));
    sinOf(QStringLiteral("6"));
    prMinus();
    sinOf(QStringLiteral("4"));
    NewLine();
    PenX = float(TabX2 + 6 * UnitW);
    pr(QStringLiteral("･･････"));
    NewLine();
    PenX = float(TabX2);
    twoSinCos();
    pr(QStringLiteral("(2"));
    prVar(QStringLiteral("N"));
    prMinus();
    pr(QStringLiteral("1)"));
    prTheta();
    pr(QStringLiteral("  =  "));
    sin2N();
    prMinus();
    prSin();
    pr(QStringLiteral("(2"));
    prVar(QStringLiteral("N"));
    prMinus();
    pr(QStringLiteral("2)"));
    prTheta();

    NewLine();
    {
        const double ruleY = PenY + 0.5 * UnitH;
        const double ruleX = TabX1 + 2 * UnitW;
        CurPic->Line(ruleX, ruleY, ruleX + 50 * UnitW, ruleY, colGray);
    }
    NewLine();
    PenX = float(TabX2);
    pr(QStringLiteral("2 "));
    prSin();
    prTheta();
    pr(QStringLiteral(" (  ･･･  )  =  "));
    sin2N();

    NewPara();
    pr(QStringLiteral("左辺の ( ) の中は "));
    prCos();
    prTheta();
    pr(QStringLiteral(" から "));
    prCos();
    pr(QStringLiteral("(2"));
    prVar(QStringLiteral("N"));
    prMinus();
    pr(QStringLiteral("1)"));
    prTheta();
    pr(QStringLiteral(" までの和です．これが 2 番目の等号です．"));
}

}  // namespace chapters
