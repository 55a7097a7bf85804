// Page 0: what the FFT is for, the Fourier series and its coefficients by
// the trapezoidal rule.
#include "rowan_chapter.h"

#include "constructs.h"
#include "context.h"
#include "markup.h"
#include "operators.h"
#include "page_opening.h"
#include "pen.h"
#include "state.h"
#include "symbols.h"

namespace chapters {

using namespace rowan;

void RowanChapter::pic0() {
    Canvas& c = *CurPic;
    c.FontSize = BaseSize;
    openTitlePage(profile_.title, 15, 16);
    SupSize = 0.85f;  // kept for the rest of the run, as every page expects

    PenX = float(TabX1);
    prBlue(QStringLiteral("(1) 概 要"));
    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("FFT (高速フーリエ変換) は 1960 年代に開発された計算法で，フーリエ級数"));
    NewLine();
    pr(QStringLiteral("(あるいはフーリエ変換) の計算量を"));
    prBlue(QStringLiteral("画期的に"));
    pr(QStringLiteral("減らすことができます．"));
    NewLine();
    pr(QStringLiteral("ここでは，その原理をできるだけわかりやすく説明します．"));

    PenX = float(TabX1);
    SkipH(1.5f);
    prBlue(QStringLiteral("(2) フーリエ級数"));
    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("関数 "));
    prFunc(QStringLiteral("f"), QStringLiteral("t"));
    pr(QStringLiteral(" が周期 "));
    prVar(QStringLiteral("T"));
    pr(QStringLiteral(" の周期関数であれば，次のようにフーリエ級数に展開できます．"));

    // [1] f(t) = sum over all n of c_n e^(2 pi i n t / T)
    SkipH(1.8f);
    eqNumber("1", float(FarX));
    prFunc(QStringLiteral("f"), QStringLiteral("t"));
    pr(QStringLiteral("  ＝"));
    Skip(6);
    dsp_sum(c, PenX, PenY, QStringLiteral("n=-∞"), QStringLiteral("∞"));
    SkipW(1.8f);
    prVar(QStringLiteral("c"));
    prSub(QStringLiteral("n"));
    Skip(8);
    prUpright(QStringLiteral("e"));
    prSup(QStringLiteral("2piint/T"));

    PenX = float(LeftX);
    SkipH(1.8f);
    pr(QStringLiteral("フーリエ係数 "));
    prVar(QStringLiteral("c"));
    prSub(QStringLiteral("n"));
    pr(QStringLiteral(" は，1 周期にわたる次の積分で与えられます．"));

    // [2] c_n = 1/T integral from 0 to T of f(t) e^(-2 pi i n t / T) dt
    SkipH(1.8f);
    eqNumber("2", float(FarX));
    prVar(QStringLiteral("c"));
    prSub(QStringLiteral("n"));
    pr(QStringLiteral("  ＝"));
    Skip(6);
    float y = PenY;
    dsp_oneOver(c, PenX, y, QStringLiteral("T"));
    Skip(8);
    dsp_integral(c, PenX, PenY, QStringLiteral("T"), QStringLiteral("0"));
    Skip(10);
    prFunc(QStringLiteral("f"), QStringLiteral("t"));
    Skip(8);
    prUpright(QStringLiteral("e"));
    prSup(QStringLiteral("-2piint/T"));
    Skip(6);
    prDiff(QStringLiteral("t"));

    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("右辺の積分を数値的に求めるため，周期 "));
    prVar(QStringLiteral("T"));
    pr(QStringLiteral(" を刻み幅 "));
    prVar(QStringLiteral("h"));
    pr(QStringLiteral(" で "));
    prVar(QStringLiteral("N"));
    pr(QStringLiteral(" 等分し ("));
    prVar(QStringLiteral("T"));
    pr(QStringLiteral(" = "));
    prVar(QStringLiteral("Nh"));
    pr(QStringLiteral(")，"));
    NewLine();
    pr(QStringLiteral("分点を "));
    prVar(QStringLiteral("t"));
    prSub(QStringLiteral("j"));
    pr(QStringLiteral(" = "));
    prVar(QStringLiteral("jh"));
    pr(QStringLiteral(" として台形公式を使うと，次の式が得られます．"));

    // [3] c_n = 1/N sum_(j=0)^(N-1) f(t_j) omega^(jn),  omega = e^(-2 pi i/N)
    SkipH(1.8f);
    eqNumber("3", float(FarX));
    prVar(QStringLiteral("c"));
    prSub(QStringLiteral("n"));
    pr(QStringLiteral("  ＝"));
    Skip(6);
    y = PenY;
    dsp_oneOver(c, PenX, y, QStringLiteral("N"));
    Skip(8);
    dsp_sum(c, PenX, PenY, QStringLiteral("j=0"), QStringLiteral("N-1"));
    SkipW(1.4f);
    funcOfSub("f", "t", "j");
    Skip(4);
    omegaTo("jn");
    pr(QStringLiteral("，  "));
    omegaDefinition();

    PenX = float(LeftX);
    SkipH(1.8f);
    omega();
    prSup(QStringLiteral("N"));
    pr(QStringLiteral(" = 1 ですから，この係数は "));
    prVar(QStringLiteral("c"));
    prSub(QStringLiteral("n+N"));
    pr(QStringLiteral(" = "));
    prVar(QStringLiteral("c"));
    prSub(QStringLiteral("n"));
    pr(QStringLiteral(" という周期 "));
    prVar(QStringLiteral("N"));
    pr(QStringLiteral(" をもちます．したがって，"));
    NewLine();
    pr(QStringLiteral("独立な "));
    prVar(QStringLiteral("c"));
    prSub(QStringLiteral("n"));
    pr(QStringLiteral(" は "));
    prVar(QStringLiteral("N"));
    pr(QStringLiteral(" 個だけです．"));
}

}  // namespace chapters
