// Page 4: the proof of the recurrence, by splitting the sum into its even
// and odd terms.
#include "rowan_chapter.h"

#include "constructs.h"
#include "canvas.h"
#include "context.h"
#include "markup.h"
#include "pen.h"
#include "state.h"
#include "symbols.h"
#include "text.h"

namespace chapters {

using namespace rowan;

namespace {

// Sum signs of this page, from j = 0 to alpha - 1 or to 2 alpha - 1, with
// gap units after the sign.
void sumToAlpha(bool twice, float gap) {
    const float row = PenY;
    sumFromZero(row, 26, [twice] {
        if (twice) pr(QStringLiteral("2"));
        prAlpha();
        pr(QStringLiteral("-1"));
    });
    SkipW(gap);
}

// The even and the odd half of the split sum, joined by sign; gap units
// after each sum sign.
void splitSums(const QString& sign, float gap) {
    sumToAlpha(false, gap);
    fOfJBeta("2", false);
    Skip(4);
    omega();
    prSup(QStringLiteral("2 jkbeta"));
    pr(sign);
    sumToAlpha(false, gap);
    fOfJBeta("2", true);
    Skip(4);
    omega();
    prSup(QStringLiteral("2 jkbeta + kbeta"));  // β and + touched
}

// "X^(p)_(k,l) sign omega^(k beta) X^(p)_(k,l+beta)".
void butterflyRight(const QString& sign) {
    Xp(QStringLiteral("k, l"));
    pr(sign);
    omega();
    prSup(QStringLiteral("kbeta"));
    Skip(8);
    Xp(QStringLiteral("k, l+beta"));
}

// Where "  ＝  " must start for its sign to stand under the "＝" of a line
// above that began at col with the blanks lead.
float underEquals(float col, const QString& lead) {
    Canvas& c = *CurPic;
    return float(col + c.TextWidth(lead) - c.TextWidth(QStringLiteral("  ")));
}

}  // namespace

void RowanChapter::pic4() {
    openMechanismPage();
    prBlue(QStringLiteral("(7)  漸化式を証明する."));

    // [11] X^(p+1)_(k,l) = sum_(j=0)^(2 alpha-1) f(j beta + l) omega^(j k beta)
    SkipH(2);
    eqNumber("11", float(FarX));
    Xp1(QStringLiteral("k, l"));
    pr(QStringLiteral("　 ＝　 "));
    sumToAlpha(true, 2);
    fOfJBeta("", false);
    Skip(4);
    omegaTo("jkbeta");
    PenX = float(LeftX + 20 * UnitW);
    SkipH(1.8f);
    prVar(QStringLiteral("k"));
    pr(QStringLiteral(" = 0 ～ 2"));
    prAlpha();
    prMinus();
    pr(QStringLiteral("1，  "));
    prVar(QStringLiteral("l"));
    pr(QStringLiteral(" = 0 ～ "));
    prBeta();
    prMinus();
    pr(QStringLiteral("1"));

    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("これは式 [9] の "));
    prVar(QStringLiteral("p"));
    pr(QStringLiteral(" を "));
    prVar(QStringLiteral("p"));
    pr(QStringLiteral(" + 1 に置き換えたものです．この和を "));
    prVar(QStringLiteral("j"));
    pr(QStringLiteral(" が偶数の項と奇数の項"));
    NewLine();
    pr(QStringLiteral("に分けると，漸化式 [10] の第 1 式が得られます．"));

    // The first line of [10]: the even terms give X^(p), the odd ones
    // omega^(k beta) X^(p) shifted by beta.
    PenX = float(TabX2);
    SkipH(2);
    Xp1(QStringLiteral("k, l"));
    const float eqCol = PenX;
    pr(QStringLiteral("　 ＝　 "));
    splitSums(QStringLiteral("  ＋  "), 1.5f);
    PenX = underEquals(eqCol, QStringLiteral("　 "));
    SkipH(2.5f);
    pr(QStringLiteral("  ＝  "));
    butterflyRight(QStringLiteral("  ＋  "));

    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("第 2 式については，"));
    omega();
    prSup(QStringLiteral("alphabeta"));
    pr(QStringLiteral(" = "));
    prMinus();
    pr(QStringLiteral("1 であることに注意すると"));

    // The second line: omega^(alpha beta) = -1 turns the odd terms' sign.
    PenX = float(TabX2);
    SkipH(2);
    Xp1(QStringLiteral("k+alpha, l"));
    const float eqCol2 = PenX;
    pr(QStringLiteral("　＝　"));
    sumToAlpha(true, 2);
    fOfJBeta("", false);
    Skip(4);
    omegaTo("j(k+alpha)beta");

    PenX = eqCol2;
    SkipH(3);
    pr(QStringLiteral("　＝　"));
    sumToAlpha(true, 2);
    pr(QStringLiteral("("));
    prUpright(QStringLiteral("-"));
    pr(QStringLiteral("1)"));
    prSup(QStringLiteral("j"));
    Skip(2);
    fOfJBeta("", false);
    Skip(4);
    omegaTo("jkbeta");

    PenX = eqCol2;
    SkipH(3);
    pr(QStringLiteral("　＝　"));
    splitSums(QStringLiteral("  －  "), 1.5f);

    PenX = underEquals(eqCol2, QStringLiteral("　"));
    SkipH(2.5f);
    pr(QStringLiteral("  ＝  "));
    butterflyRight(QStringLiteral("  －  "));
}

}  // namespace chapters
