// Page 2: the normal modes of the chain, the dispersion relation, and the
// superposition of the modes that gives back J_2n(t).
#include "larch/larch_chapter.h"

#include "constructs.h"
#include "context.h"
#include "glyphs.h"
#include "markup.h"
#include "operators.h"
#include "page_opening.h"
#include "pen.h"
#include "state.h"
#include "symbols.h"
#include "text.h"

namespace chapters {

namespace {

void prVS(const char* v, const char* s) {
    prVar(QString::fromLatin1(v));
    prSub(QString::fromLatin1(s));
}

// u_n(t)
void prUnt() {
    prVS("u", "n");
    dsp_of_t(*CurPic, PenX, PenY);
}

// e raised to the markup exp, the base upright.
void prExp(const char* exp) {
    prUpright(QStringLiteral("e"));
    prSup(QString::fromLatin1(exp));
}

// π − θ in parentheses.
void prPiMinusTheta() {
    pr(QStringLiteral("("));
    dsp_pi(*CurPic, PenX, PenY);
    prMinus();
    prTheta();
    Skip(2);  // the italic theta leans into the parenthesis
    pr(QStringLiteral(")"));
}

// dθ
void prDTheta() {
    Skip(4);
    prVar(QStringLiteral("d"));
    Skip(2);
    prTheta();
}

}  // namespace

void LarchChapter::pic2() {
    Canvas& page = *CurPic;
    page.FontSize = BaseSize;
    page.ForeColor = DefFore;
    openPage(QStringLiteral("(4) 基準振動の重ね合わせ."));
    pr(QStringLiteral("これまでに，変位 "));
    prUnt();
    pr(QStringLiteral(" = "));
    prVS("J", "2n");
    dsp_of_t(page, PenX, PenY);
    pr(QStringLiteral(" が格子の運動方程式を満たすことがわかった。"));
    NewLine();
    pr(QStringLiteral("一方，自由度の大きい系の振動を扱うとき，力学ではふつうまず"));
    NewLine();
    prBlue(QStringLiteral("基準振動"));
    pr(QStringLiteral("を求め，一般解をその重ね合わせ（線形結合）として表す。"));
    NewLine();
    pr(QStringLiteral("そこでここからは基準振動を求め，それをどのように重ね合わせれば"));
    NewLine();
    pr(QStringLiteral("ベッセル関数の解が得られるかを調べる。"));
    NewLine();
    pr(QStringLiteral("角振動数 "));
    omega();
    pr(QStringLiteral("，波数 "));
    prVar(QStringLiteral("q"));
    pr(QStringLiteral("（波長 "));
    dsp_symbolIt(page, PenX, PenY, QStringLiteral("l"));
    pr(QStringLiteral(" = "));
    pr2pi(PenX, PenY);
    pr(QStringLiteral("/"));
    prVar(QStringLiteral("q"));
    pr(QStringLiteral("）の進行波を "));
    prUnt();
    pr(QStringLiteral(" としてとる："));
    PenX = float(TabX2);

    SkipH(1.4f);
    prUnt();
    pr(QStringLiteral(" = "));
    prVar(QStringLiteral("A"));
    Skip(2);
    prExp("i(omegat-nq)");

    PenX = float(LeftX);
    SkipH(1.4f);
    pr(QStringLiteral("運動方程式に代入すると "));
    pr(QStringLiteral("-4"));
    omega();
    prSup(QStringLiteral("2"));
    pr(QStringLiteral(" = "));
    prExp("-iq");
    prMinus();
    pr(QStringLiteral("2 + "));
    prExp("iq");
    pr(QStringLiteral(" となり，分散関係"));
    PenX = float(TabX2);
    SkipH(1.4f);
    omega();
    pr(QStringLiteral(" = "));
    prSin();
    Skip(2);  // keeps the rule off the n of sin
    prFracS(QStringLiteral("|q|"), QStringLiteral("2"));
    SkipW(2);
    pr(QStringLiteral("("));
    pr(QStringLiteral("-"));
    dsp_pi(page, PenX, PenY);
    pr(QStringLiteral(" ≦ "));
    prVar(QStringLiteral("q"));
    pr(QStringLiteral(" ≦ "));
    dsp_pi(page, PenX, PenY);
    pr(QStringLiteral(")"));
    pr(QStringLiteral("  が得られる。"));

    PenX = float(LeftX);
    SkipH(1.4f);
    pr(QStringLiteral("一般解は，複素数の重み "));
    prFunc(QStringLiteral("A"), QStringLiteral("q"));
    pr(QStringLiteral(" を掛けて "));
    prVar(QStringLiteral("q"));
    pr(QStringLiteral(" について足し合わせたものである："));
    PenX = float(TabX2);
    SkipH(1.5f);
    prUnt();
    pr(QStringLiteral(" ＝ "));
    dsp_integral(page, PenX, PenY, QStringLiteral("pi"), QStringLiteral("-pi"));
    pr(QStringLiteral("("));
    Skip(2);  // the italic A leans into the parenthesis
    prFunc(QStringLiteral("A"), QStringLiteral("q"));
    Skip(2);
    prExp("i(omegat-nq)");
    pr(QStringLiteral(" + "));
    prFunc(QStringLiteral("A"), QStringLiteral("q"));
    prSup(QStringLiteral("*"));
    prExp("-i(omegat-nq)");
    pr(QStringLiteral(")"));
    Skip(4);
    prDiff(QStringLiteral("q"));

    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("とくに "));
    prFunc(QStringLiteral("A"), QStringLiteral("q"));
    pr(QStringLiteral(" が "));
    prVar(QStringLiteral("q"));
    pr(QStringLiteral(" によらない定数のときを考え，"));
    prFunc(QStringLiteral("A"), QStringLiteral("q"));
    pr(QStringLiteral(" = "));
    prOver4Pi();
    pr(QStringLiteral(" とおくと"));

    // Four lines on one column of "＝".
    PenX = float(TabX2);
    SkipH(1.5f);
    prUnt();
    EqCol = PenX;
    pr(QStringLiteral(" ＝ "));
    prOver2Pi();
    Skip(4);
    dsp_integral(page, PenX, PenY, QStringLiteral("pi"), QStringLiteral("-pi"));
    prCos();
    // Parentheses of the text's size were smaller than the fraction inside:
    // tall ones enclose it.
    Skip(2);
    prInTallParens(
        [] {
            prVar(QStringLiteral("t"));
            Skip(4);
            prSin();
            Skip(2);  // keeps the rule off the n of sin
            prFracS(QStringLiteral("|q|"), QStringLiteral("2"));
            prMinus();
            prVar(QStringLiteral("nq"));
        },
        11);
    prDiff(QStringLiteral("q"));

    PenX = EqCol;
    SkipH(2);
    pr(QStringLiteral(" ＝ "));
    prOverPi();
    Skip(4);
    dsp_integral(page, PenX, PenY, QStringLiteral("pi/2"), QStringLiteral("-pi/2"));
    prCos();
    pr(QStringLiteral("("));
    prVar(QStringLiteral("t"));
    Skip(4);
    prSin();
    pr(QStringLiteral("|"));
    prTheta();
    Skip(2);  // the italic theta leans into the bar
    pr(QStringLiteral("|"));
    prMinus();
    pr(QStringLiteral("2"));
    prVar(QStringLiteral("n"));
    prTheta();
    Skip(2);  // the italic theta leans into the parenthesis
    pr(QStringLiteral(")"));
    prDTheta();

    PenX = EqCol;
    SkipH(2);
    pr(QStringLiteral(" ＝ "));
    prOverPi();
    Skip(4);
    dsp_integral(page, PenX, PenY, QStringLiteral("pi/2"), QStringLiteral("-pi/2"));
    prCos();
    pr(QStringLiteral("("));
    prVar(QStringLiteral("t"));
    Skip(4);
    prSin();
    prTheta();
    Skip(2);  // the italic theta leans into the parenthesis
    pr(QStringLiteral(")"));
    Skip(4);
    prCos();
    pr(QStringLiteral("(2"));
    prVar(QStringLiteral("n"));
    prTheta();
    Skip(2);  // the italic theta leans into the parenthesis
    pr(QStringLiteral(")"));
    prDTheta();
    pr(QStringLiteral(" + 0"));

    // The last line, remembering where its sin and second cos stand for the
    // symmetry marked under them.
    PenX = EqCol;
    SkipH(2);
    pr(QStringLiteral(" ＝ "));
    prOver2Pi();
    Skip(4);
    dsp_integral(page, PenX, PenY, QStringLiteral("pi"), QStringLiteral("-pi"));
    prCos();
    pr(QStringLiteral("("));
    prVar(QStringLiteral("t"));
    Skip(4);
    EqCol = float(PenX - UnitW);
    prSin();
    prTheta();
    Skip(2);  // the italic theta leans into the parenthesis
    pr(QStringLiteral(")"));
    Skip(4);
    EqCol2 = PenX;
    prCos();
    pr(QStringLiteral("(2"));
    prVar(QStringLiteral("n"));
    prTheta();
    Skip(2);  // the italic theta leans into the parenthesis
    pr(QStringLiteral(")"));
    prDTheta();
    pr(QStringLiteral(" ＝ "));
    prVS("J", "2n");
    dsp_of_t(page, PenX, PenY);

    // θ → π − θ leaves both factors as they are.
    page.ForeColor = colBlue;
    SkipH(1.4f);
    for (int k = 0; k < 2; ++k) {
        float x = float(EqCol + 2.0 * UnitW);
        dsp_rotated(page, x, PenY, QStringLiteral("="), 90);
        x = float(EqCol2 + UnitW);
        dsp_rotated(page, x, PenY, QStringLiteral("="), 90);
        if (k == 0) SkipH(0.35f);
    }
    page.ForeColor = DefFore;
    SkipH(0.2f);
    // Here sin and cos stand before upright π and 2, which show the
    // upright face's higher baseline: it is lowered by a pixel to meet them.
    PenX = float(EqCol - 2.0 * UnitW);
    PenY += 1;
    prSin();
    PenY -= 1;
    prPiMinusTheta();
    PenX = float(EqCol2 + 2.0 * UnitW);
    PenY += 1;
    prCos();
    PenY -= 1;
    pr(QStringLiteral("2"));
    prVar(QStringLiteral("n"));
    prPiMinusTheta();
    PenX = float(TabX2);
    SkipH(1.1f);
}

}  // namespace chapters
