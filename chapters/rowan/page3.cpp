// Page 3: formula [8] in the symbols alpha and beta, the butterfly recurrence
// from X^(p) to X^(p+1), and the recurrence drawn as two blocks.
#include "rowan_chapter.h"

#include "constructs.h"
#include "context.h"
#include "markup.h"
#include "operators.h"
#include "pen.h"
#include "state.h"
#include "symbol_codes.h"
#include "symbols.h"
#include "text.h"

#include <optional>

namespace chapters {

using namespace rowan;

namespace {

// The blocks are fixed in pixels: a column of width 72 stands for beta
// columns of the matrix, a half of height 84 for alpha rows.
constexpr int Col = 72, Half = 84;
const Color BlockFill = RGB(128, 255, 128);

void block(double x, double y, double w, double h) {
    Canvas& c = *CurPic;
    c.Box(x, y, x + w, y + h, BlockFill, true);
    c.Box(x, y, x + w, y + h, colBlue, false);
}

void dottedLine(double x1, double y1, double x2, double y2) {
    Canvas& c = *CurPic;
    c.DrawStyle_ = DrawStyle::Dot;
    c.Line(x1, y1, x2, y2, colBlue);
    c.DrawStyle_ = DrawStyle::Solid;
}

void boldText(float x, float y, const QString& text) {
    Canvas& c = *CurPic;
    c.FontBold = true;
    dsp_text(c, x, y, text);
    c.FontBold = false;
}

// "omega^(k beta)".
void omegaKBeta() {
    omega();
    prSup(QStringLiteral("kbeta"));
}

}  // namespace

void RowanChapter::pic3() {
    Canvas& c = *CurPic;
    openMechanismPage();
    // The heading carries italic X's with superscripts, so it is printed
    // piece by piece in the canvas's own colour, set to blue for it.
    const Color fore = c.ForeColor;
    c.ForeColor = colBlue;
    // Its superscripts reach 4.9 px above the line, past the top of the page
    // on screen: the heading alone goes down a little.
    constexpr float headingDrop = 3;
    PenY += headingDrop;
    pr(QStringLiteral("(6)  漸化式を使って  "));
    prVar(QStringLiteral("X"));
    prSup(QStringLiteral("("));
    // Two scripts leave 4 px between them; in one, "(" stands 2 px before
    // its letter, and "( p" read loose.
    Skip(-2);
    prSup(QStringLiteral("p)"));
    pr(QStringLiteral("  から  "));
    prVar(QStringLiteral("X"));
    prSup(QStringLiteral("("));
    Skip(-2);
    prSup(QStringLiteral("p+1)"));
    pr(QStringLiteral("  を求める."));
    c.ForeColor = fore;
    PenY -= headingDrop;

    NewPara();
    pr(QStringLiteral("式を見やすくするために，"));
    PenX = float(TabX2 + 2 * UnitW);
    SkipH(1);
    prAlpha();
    pr(QStringLiteral(" = "));
    dsp_2p();
    pr(QStringLiteral("，  "));
    prBeta();
    pr(QStringLiteral(" = "));
    prVar(QStringLiteral("N"));
    Skip(4);
    pr(QStringLiteral("/"));
    Skip(4);
    pr(QStringLiteral("2"));
    Skip(4);
    prAlpha();
    NewLine();
    pr(QStringLiteral("という記号を導入します．これらを使うと，式 [8] は"));

    // [9] X^(p)_(k,l) == sum_(j=0)^(alpha-1) f(2 j beta + l) omega^(2 j k beta),
    //     p = 0 ~ n,  N = 2^n
    SkipH(2);
    eqNumber("9", float(FarX + 3 * UnitW));
    Xp(QStringLiteral("k, l"));
    pr(QStringLiteral("　 ≡　 "));
    const float row = PenY;
    sumFromZero(row, 26, [] {
        prAlpha();
        pr(QStringLiteral("-1"));
    });
    SkipW(1.4f);
    fOfJBeta("2", false);
    Skip(4);
    omega();
    prSup(QStringLiteral("2 jkbeta"));
    pr(QStringLiteral("，  "));
    prVar(QStringLiteral("p"));
    pr(QStringLiteral(" = 0 ～ "));
    prVar(QStringLiteral("n"));
    pr(QStringLiteral("，  "));
    prVar(QStringLiteral("N"));
    pr(QStringLiteral(" = 2"));
    prSup(QStringLiteral("n"));

    PenX = float(LeftX + 20 * UnitW);
    SkipH(1.8f);
    prVar(QStringLiteral("k"));
    pr(QStringLiteral(" = 0 ～ "));
    prAlpha();
    prMinus();
    pr(QStringLiteral("1，  "));
    prVar(QStringLiteral("l"));
    pr(QStringLiteral(" = 0 ～ 2"));
    prBeta();
    prMinus();
    pr(QStringLiteral("1"));
    PenX = float(LeftX);
    SkipH(1);
    pr(QStringLiteral("と書き直せます．"));
    NewLine();
    pr(QStringLiteral("段階 "));
    prVar(QStringLiteral("p"));
    pr(QStringLiteral(" の "));
    prVar(QStringLiteral("N"));
    pr(QStringLiteral(" 個のデータは，大きさ "));
    prAlpha();
    pr(QStringLiteral(" × 2"));
    prBeta();
    pr(QStringLiteral(" の行列に収まっています．"));

    PenX = float(LeftX);
    SkipH(1.2f);
    XSup("(p+1)");
    pr(QStringLiteral(" と "));
    XSup("(p)");
    pr(QStringLiteral(" の間には，次の漸化式が成り立ちます．"));

    // [10] the butterfly: X^(p+1)_(k,l) and X^(p+1)_(k+alpha,l) from the
    // two halves X^(p)_(k,l) and X^(p)_(k,l+beta)
    PenX = float(TabX2);
    SkipH(1.6f);
    float EqCol = 0;
    float middle = 0;
    {
        // Both rows and the brace that holds them are one block; its number
        // stands beside it, drawn after it (nothing of either overlaps).
        Construct both(c, Group::Cases);
        drawAs(c, Group::Row, [&] {
            Xp1(QStringLiteral("k, l"));
            SkipW(2);
            EqCol = PenX;
            pr(QStringLiteral("  ＝  "));
            Xp(QStringLiteral("k, l"));
            pr(QStringLiteral("  ＋  "));
            omegaKBeta();
            Skip(8);
            Xp(QStringLiteral("k, l+beta"));
        });
        SkipH(0.8f);
        middle = PenY;
        SkipH(0.8f);
        drawAs(c, Group::Row, [&] {
            PenX = float(TabX2);
            Xp1(QStringLiteral("k+alpha, l"));
            PenX = EqCol;
            pr(QStringLiteral("  ＝  "));
            Xp(QStringLiteral("k, l"));
            pr(QStringLiteral("  －  "));
            omegaKBeta();
            Skip(8);
            Xp(QStringLiteral("k, l+beta"));
        });
        const float last = PenY;
        PenY = middle;
        ColBrace(1, float(EqCol + 22 * UnitW), PenY, 0.5f);
        PenY = last;
    }
    const float last = PenY;
    PenY = middle;
    PenX = float(FarX);
    pr(QStringLiteral("[10]"));
    PenY = last;

    PenX = float(LeftX);
    SkipH(1.4f);
    pr(QStringLiteral("この漸化式を図に表すと，次のようになります．"));

    // The diagram: the matrix X^(p+1) (2 alpha x beta) on the left, built
    // from the two halves of X^(p) (alpha x 2 beta) on the right.
    SkipH(1.5f);
    const float D0 = PenY;
    std::optional<Construct> diagram(std::in_place, c, Group::Figure);
    c.describe(QStringLiteral("図：漸化式 [10] の計算。右は段階 p のデータ X^(p)，縦 α 行，横 2β 列の行列。"
                              "これを幅 β の左右二つに切り分け，左半分に 1 を，右半分に ω^(kβ) を掛けて，"
                              "和（＋）を上に，差（－）を下に積み重ねると，左の段階 p+1 のデータ X^(p+1)，"
                              "縦 2α 行，横 β 列の行列になる。"));
    PenX = float(LeftX + 6 * UnitW);
    PenY = D0;
    Xp1(QString());

    const float x0 = float(LeftX + 5 * UnitW), y0 = D0 + UnitH;
    block(x0, y0, Col, 2 * Half);
    dottedLine(x0, y0 + Half, x0 + Col, y0 + Half);
    boldText(float(x0 + Col / 2 - 0.5 * UnitW), float(y0 + Half / 2 - 0.5 * UnitH),
             QStringLiteral("＋"));
    boldText(float(x0 + Col / 2 - 0.5 * UnitW), float(y0 + 3 * Half / 2 - 0.5 * UnitH),
             QStringLiteral("－"));

    PenX = float(LeftX + 22 * UnitW);
    PenY = D0 + UnitH;
    Xp(QString());
    // The right block's alpha stands beside the third line of this text:
    // 10 pixels more than the original 84 keep a word space between them.
    const float TextX = float(LeftX + 26 * UnitW + 94);

    const float x1 = float(LeftX + 16.5 * UnitW), y1 = y0 + Half / 2;
    block(x1, y1, 2 * Col, Half);
    dottedLine(x1 + Col, y1, x1 + Col, y1 + Half);

    PenX = float(x0 + Col + 2 * UnitW);
    PenY = float(y0 + Half - 0.4 * UnitH);
    prWing(wingdings::HeavyLeftArrow);

    // x 1 on the left half, x omega^(k beta) on the right one.
    PenY = float(y1 + 36 - 0.5 * UnitW);
    PenX = x1 + 4;
    c.FontBold = true;
    pr(QStringLiteral("  ×"));
    c.FontBold = false;
    pr(QStringLiteral(" 1"));
    PenX = x1 + Col + 4;
    c.FontBold = true;
    pr(QStringLiteral(" ×"));
    c.FontBold = false;
    Skip(6);
    omegaKBeta();

    // Sizes: beta under each column of width 72, alpha beside each half.
    brace_beta(float(x0 + Col / 2 - 0.5 * UnitW), y0 + 2 * Half + UnitH);
    brace_beta(float(x1 + Col / 2 - 0.5 * UnitW), y1 + Half + UnitH);
    brace_beta(float(x1 + 3 * Col / 2 - 0.5 * UnitW), y1 + Half + UnitH);
    Brace_alpha(0, float(x0 - 2 * UnitW), float(y0 + Half / 2 - 0.3 * UnitH));
    Brace_alpha(0, float(x0 - 2 * UnitW), float(y0 + 3 * Half / 2 - 0.3 * UnitH));
    Brace_alpha(1, float(x1 + 2 * Col + UnitW), float(y1 + Half / 2 - 0.2 * UnitH));
    diagram.reset();

    PenX = TextX;
    PenY = D0 + 2 * UnitH;
    pr(QStringLiteral("右のブロックを左右二つに切り分けて，"));
    PenX = TextX;
    SkipH(1);
    pr(QStringLiteral("それぞれに演算をほどこし，その結果を"));
    PenX = TextX;
    SkipH(1);
    pr(QStringLiteral("左に上下に積み重ねます．"));
    PenX = TextX;
    SkipH(1);
    SkipH(2.5f);
    pr(QStringLiteral("横一列のデータ "));
    prFunc(QStringLiteral("f"), QStringLiteral("l"));
    pr(QStringLiteral(" から出発して，"));
    PenX = TextX;
    SkipH(1);
    pr(QStringLiteral("この操作を "));
    prVar(QStringLiteral("n"));
    pr(QStringLiteral(" 回くり返すと縦一列の "));
    prFunc(QStringLiteral("C"), QStringLiteral("k"));
    PenX = TextX;
    SkipH(1);
    pr(QStringLiteral("が得られます．これが FFT です．"));
}

}  // namespace chapters
