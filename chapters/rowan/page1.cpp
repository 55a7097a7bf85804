// Page 1: the Fourier transform discretised the same way, the discrete
// Fourier transform common to both, and the operation counts that call for
// the FFT.
#include "rowan_chapter.h"

#include "constructs.h"
#include "context.h"
#include "markup.h"
#include "operators.h"
#include "page_opening.h"
#include "pen.h"
#include "state.h"
#include "symbol_codes.h"
#include "symbols.h"
#include "text.h"

namespace chapters {

using namespace rowan;

namespace {

// "N log_2 N".
void nLogN() {
    prVar(QStringLiteral("N"));
    Skip(4);
    prUpright(QStringLiteral("log"));
    Skip(2);
    prSub(QStringLiteral("2"));
    Skip(4);
    prVar(QStringLiteral("N"));
}

}  // namespace

void RowanChapter::pic1() {
    Canvas& c = *CurPic;
    c.FontSize = BaseSize;
    openPage(QStringLiteral("(3) フーリエ変換"));
    pr(QStringLiteral("一方，"));
    pr(QStringLiteral("−∞ < "));
    prVar(QStringLiteral("x"));
    pr(QStringLiteral(" < ∞ で定義された関数 "));
    prFunc(QStringLiteral("f"), QStringLiteral("x"));
    pr(QStringLiteral(" のフーリエ変換は次の式で表されます．"));

    // [4] F(k) = integral over the whole line of e^(-ikx) f(x) dx
    SkipH(1.5f);
    eqNumber("4", float(FarX));
    prFunc(QStringLiteral("F"), QStringLiteral("k"));
    pr(QStringLiteral("  ＝"));
    Skip(6);
    dsp_intInf(c, PenX, PenY);
    Skip(8);
    prUpright(QStringLiteral("e"));
    prSup(QStringLiteral("-ikx"));
    Skip(4);
    prFunc(QStringLiteral("f"), QStringLiteral("x"));
    Skip(6);
    prDiff(QStringLiteral("x"));

    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("ふつう "));
    prFunc(QStringLiteral("f"), QStringLiteral("x"));
    pr(QStringLiteral(" は両端で十分速く減衰するので，積分は長さ "));
    prVar(QStringLiteral("L"));
    pr(QStringLiteral(" の適当な有限区間"));
    NewLine();
    pr(QStringLiteral("での積分で置き換えることができます．この区間を刻み幅 "));
    prVar(QStringLiteral("h"));
    pr(QStringLiteral(" で "));
    prVar(QStringLiteral("N"));
    pr(QStringLiteral(" 等分し"));
    NewLine();
    pr(QStringLiteral("("));
    prVar(QStringLiteral("L"));
    pr(QStringLiteral(" = "));
    prVar(QStringLiteral("Nh"));
    pr(QStringLiteral(")，分点 "));
    prVar(QStringLiteral("x"));
    prSub(QStringLiteral("j"));
    pr(QStringLiteral(" で台形公式を使うと"));

    // [5] F(k) = h sum_(j=0)^(N-1) e^(-ikjh) f(x_j)
    SkipH(1.8f);
    eqNumber("5", float(FarX));
    prFunc(QStringLiteral("F"), QStringLiteral("k"));
    pr(QStringLiteral("  ＝"));
    Skip(6);
    prVar(QStringLiteral("h"));
    Skip(6);
    dsp_sum(c, PenX, PenY, QStringLiteral("j=0"), QStringLiteral("N-1"));
    SkipW(1.4f);
    prUpright(QStringLiteral("e"));
    prSup(QStringLiteral("-ikjh"));
    Skip(4);
    funcOfSub("f", "x", "j");

    PenX = float(LeftX);
    SkipH(1.8f);
    prVar(QStringLiteral("k"));
    pr(QStringLiteral(" は連続変数ですが，これを "));
    prVar(QStringLiteral("k"));
    prSub(QStringLiteral("n"));
    pr(QStringLiteral(" = "));
    {
        // 2πn/Nh with the slash for its bar: Nh is all the denominator.
        Construct fraction(c, Group::Fraction);
        drawAs(c, Group::Numerator, [&c] {
            pr(QStringLiteral("2"));
            dsp_pi(c, PenX, PenY);
            Skip(1);  // the Symbol face's π and the italic n have no kerning: they touched
            prVar(QStringLiteral("n"));
        });
        pr(QStringLiteral("/"));
        drawAs(c, Group::Denominator, [] { prVar(QStringLiteral("Nh")); });
    }
    pr(QStringLiteral(" というとびとびの値に限ると"));

    // [6] F(k_n) = h sum_(j=0)^(N-1) omega^(jn) f(x_j),  omega = e^(-2 pi i/N)
    SkipH(1.8f);
    eqNumber("6", float(FarX));
    funcOfSub("F", "k", "n");
    pr(QStringLiteral("  ＝"));
    Skip(6);
    prVar(QStringLiteral("h"));
    Skip(6);
    dsp_sum(c, PenX, PenY, QStringLiteral("j=0"), QStringLiteral("N-1"));
    SkipW(1.4f);
    omegaTo("jn");
    Skip(4);
    funcOfSub("f", "x", "j");
    pr(QStringLiteral("，  "));
    omegaDefinition();

    PenX = float(LeftX);
    SkipH(1.8f);
    pr(QStringLiteral("となり，フーリエ級数の式 [3] とまったく同じ形になります．"));

    PenX = float(TabX1);
    SkipH(1.5f);
    prBlue(QStringLiteral("(4)  離散フーリエ変換"));
    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("結局，数値計算では，フーリエ級数もフーリエ変換も同じ次の式で計算します．"));

    // [7] C(k) = sum_(j=0)^(N-1) f(j) omega^(jk),  omega = e^(-2 pi i/N),  k = 0 ~ N - 1
    SkipH(1.8f);
    eqNumber("7", float(FarX));
    prFunc(QStringLiteral("C"), QStringLiteral("k"));
    pr(QStringLiteral("  ＝"));
    Skip(6);
    dsp_sum(c, PenX, PenY, QStringLiteral("j=0"), QStringLiteral("N-1"));
    SkipW(1.4f);
    dsp_fj();
    SkipW(1.2f);
    omegaTo("jk");
    // One blank after each comma: with two the line ran into its number.
    pr(QStringLiteral("， "));
    omegaDefinition();
    pr(QStringLiteral("， "));
    prVar(QStringLiteral("k"));
    pr(QStringLiteral(" = 0 ～ "));
    prVar(QStringLiteral("N"));
    prMinus();
    pr(QStringLiteral("1"));

    PenX = float(LeftX);
    SkipH(1.8f);
    pr(QStringLiteral("これを，フーリエ変換 [4] そのものと区別して，離散フーリエ変換とよびます．"));
    NewLine();
    pr(QStringLiteral("右辺の計算には "));
    prVar(QStringLiteral("N"));
    pr(QStringLiteral(" 回の演算が必要なので，"));
    prVar(QStringLiteral("N"));
    pr(QStringLiteral(" 個の "));
    prFunc(QStringLiteral("C"), QStringLiteral("k"));
    pr(QStringLiteral(" をすべて求めるには"));
    NewLine();
    pr(QStringLiteral("全部で "));
    prVar(QStringLiteral("N"));
    prSup(QStringLiteral("2"));
    pr(QStringLiteral(" 回の演算がかかります．FFT は，"));
    prVar(QStringLiteral("N"));
    pr(QStringLiteral(" が 2 のべき乗のとき，"));
    NewLine();
    pr(QStringLiteral("これを"));
    Skip(4);
    nLogN();
    pr(QStringLiteral(" 回に減らす画期的な方法です．たとえば "));
    prVar(QStringLiteral("N"));
    pr(QStringLiteral(" = 1024 なら"));
    NewLine();
    prVar(QStringLiteral("N"));
    prSup(QStringLiteral("2"));
    pr(QStringLiteral(" = 10"));
    prSup(QStringLiteral("6"));
    SkipW(1);
    prWing(wingdings::HeavyRightArrow);
    SkipW(1.2f);
    nLogN();
    pr(QStringLiteral(" = 10"));
    prSup(QStringLiteral("4"));
    pr(QStringLiteral(" となって，計算量が 100 分の 1 になるのです．"));
}

}  // namespace chapters
