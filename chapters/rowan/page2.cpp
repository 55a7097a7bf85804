// Page 2: the intermediate quantity X^(p) that runs from the data f(j) at
// p = 0 to the transform C(k) at p = n.
#include "rowan_chapter.h"

#include "constructs.h"
#include "context.h"
#include "markup.h"
#include "operators.h"
#include "pen.h"
#include "state.h"
#include "symbol_codes.h"
#include "symbols.h"

namespace chapters {

using namespace rowan;

void RowanChapter::pic2() {
    Canvas& c = *CurPic;
    openMechanismPage();
    prBlue(QStringLiteral("(5) FFT の仕組み"));
    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("計算の手順を説明するために，次の量 "));
    Xp(QStringLiteral("k, l"));
    pr(QStringLiteral(" を定義します．"));
    NewLine();
    pr(QStringLiteral("これは，計算の途中の段階に現れる量です．"));

    // [8] X^(p)_(k,l) == sum_(j=0)^(2^p-1) f(jN/2^p + l) omega^(jkN/2^p),
    //     p = 0 ~ n,  N = 2^n
    SkipH(2.5f);
    eqNumber("8", float(FarX + 3 * UnitW));
    const float row = PenY;
    Xp(QStringLiteral("k, l"));
    pr(QStringLiteral("　 ≡　 "));
    const float eqCol = sumFromZero(row, 30, [] {
        dsp_2p();
        pr(QStringLiteral("-1"));
    });
    SkipW(1.4f);
    prVar(QStringLiteral("f"));
    Skip(4);
    pr(QStringLiteral("("));
    Skip(2);  // the tail of the italic j runs under the parenthesis
    prVar(QStringLiteral("jN"));
    pr(QStringLiteral("/"));
    dsp_2p();
    pr(QStringLiteral(" + "));
    prVar(QStringLiteral("l"));
    Skip(3);
    pr(QStringLiteral(")"));
    Skip(4);
    omega();
    // The exponent is a fraction with its own superscript, more than the
    // script markup can carry: set it by hand, raised and a little smaller.
    Skip(4);
    PenY = row - 10;
    c.FontSize = float(0.9 * BaseSize);
    drawAs(c, Group::Superscript, [] {
        prVar(QStringLiteral("jkN"));
        pr(QStringLiteral("/"));
        dsp_2p();
    });
    PenY = row;
    pr(QStringLiteral("， "));
    prVar(QStringLiteral("p"));
    pr(QStringLiteral(" = 0 ～ "));
    prVar(QStringLiteral("n"));
    pr(QStringLiteral(","));
    SkipW(1);
    prVar(QStringLiteral("N"));
    pr(QStringLiteral(" = 2"));
    prSup(QStringLiteral("n"));
    // The exponent's smaller size held to here.
    c.FontSize = BaseSize;
    PenX = eqCol;
    PenY = row;

    PenX = float(TabX3);
    SkipH(2);
    prVar(QStringLiteral("k"));
    pr(QStringLiteral(" = 0 ～ "));
    dsp_2p();
    prMinus();
    pr(QStringLiteral("1，  "));
    prVar(QStringLiteral("l"));
    pr(QStringLiteral(" = 0 ～ "));
    prVar(QStringLiteral("N"));
    pr(QStringLiteral("/"));
    dsp_2p();
    prMinus();
    pr(QStringLiteral("1"));

    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("複雑な式に見えますが，順を追って説明しましょう．"));

    PenX = float(TabX1);
    SkipH(1.2f);
    prWing(wingdings::Diamond);
    pr(QStringLiteral(" まず "));
    prVar(QStringLiteral("p"));
    pr(QStringLiteral(" = 0 の場合を考えます．このとき "));
    prVar(QStringLiteral("j"));
    pr(QStringLiteral(" = "));
    prVar(QStringLiteral("k"));
    pr(QStringLiteral(" = 0 だけなので"));
    PenX = float(TabX2);
    SkipH(1.5f);
    Xa(QStringLiteral("(0)"), QStringLiteral("0, l"));
    pr(QStringLiteral("　=　"));
    prFunc(QStringLiteral("f"), QStringLiteral("l"));
    PenX = float(LeftX);
    SkipH(1.2f);
    pr(QStringLiteral("となります．これが出発点のデータです．"));

    PenX = float(TabX1);
    SkipH(1.2f);
    prWing(wingdings::Diamond);
    pr(QStringLiteral(" 次に "));
    prVar(QStringLiteral("p"));
    pr(QStringLiteral(" = "));
    prVar(QStringLiteral("n"));
    pr(QStringLiteral(" の場合を考えます．このとき "));
    dsp_2p();
    pr(QStringLiteral(" = "));
    prVar(QStringLiteral("N"));
    pr(QStringLiteral(" で，"));
    prVar(QStringLiteral("l"));
    pr(QStringLiteral(" = 0 だけとなり，"));
    NewLine();
    pr(QStringLiteral("式 [8] は式 [7] と一致します．"));
    PenX = float(TabX2);
    SkipH(1.5f);
    Xa(QStringLiteral("(n)"), QStringLiteral("k, 0"));
    pr(QStringLiteral("　＝　"));
    prFunc(QStringLiteral("C"), QStringLiteral("k"));
    PenX = float(LeftX);
    SkipH(1.2f);
    pr(QStringLiteral("これが最終結果，つまり求めるフーリエ変換です．"));
    NewLine();
    pr(QStringLiteral("FFT は，与えられたデータ "));
    dsp_fj();
    pr(QStringLiteral(" から出発して，次のように "));
    prVar(QStringLiteral("n"));
    pr(QStringLiteral(" 段階の計算を行い"));

    PenX = float(TabX2);
    SkipH(1.5f);
    prFunc(QStringLiteral("C"), QStringLiteral("k"));
    pr(QStringLiteral(" = "));
    XSup("(n)");
    pr(QStringLiteral(" ← "));
    XSup("(n-1)");
    pr(QStringLiteral(" ← ･･･ ← "));
    XSup("(2)");
    pr(QStringLiteral(" ← "));
    XSup("(1)");
    pr(QStringLiteral(" ← "));
    XSup("(0)");
    pr(QStringLiteral(" = "));
    dsp_fj();

    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("フーリエ変換を実現するのです．"));
    NewPara();
    pr(QStringLiteral("そのためには，"));
    XSup("(p)");
    pr(QStringLiteral(" から "));
    XSup("(p+1)");
    pr(QStringLiteral(" を求める漸化式が必要になります．"));
}

}  // namespace chapters
