// Page 0: what Kepler motion is, and what elementary mechanics tells us
// about it (energy, angular momentum, the three ways to attack it).
#include "birch_chapter.h"

#include "constructs.h"
#include "context.h"
#include "markup.h"
#include "page_opening.h"
#include "pieces.h"
#include "pen.h"
#include "state.h"
#include "symbols.h"
#include "text.h"

namespace chapters {

using birch::text;
using birch::var;

namespace {
// r(θ), the orbit in polar form.
void rOfTheta() {
    var("r");
    Skip(3);
    pr(QStringLiteral("("));
    prTheta();
    Skip(3);  // the italic theta leans into the parenthesis
    pr(QStringLiteral(")"));
}
}  // namespace

void BirchChapter::pic0() {
    Canvas& c = *CurPic;
    // Scripts are a little larger from here on, on every page.
    SupSize = 0.85f;
    c.FontSize = BaseSize;
    openTitlePage(profile_.title, 15, 16);

    PenX = float(TabX1);
    prBlue(QStringLiteral("(1) 概 要"));
    PenX = float(LeftX);
    SkipH(1.5f);
    text("ケプラー運動とは，太陽を一つの焦点とする楕円軌道の上を惑星が");
    NewLine();
    text("運動することである。軌道が楕円になることは古くから証明されていたが，");
    NewLine();
    text("惑星の位置を時刻 ");
    var("t");
    text(" の関数として求める問題は，ある天文学者が解く");
    NewLine();
    text("までは未解決のまま残されていた。そのとき用いられた特殊関数が，");
    NewLine();
    text("のちにベッセル関数と呼ばれるようになったものである。この章では，");
    NewLine();
    text("惑星の位置が時刻の関数としてどのように求められるかを詳しく説明する。");

    NewPara();
    PenX = float(TabX1);
    prBlue(QStringLiteral("(2) 初等力学により得られる結果"));
    PenX = float(TabX1);
    SkipH(1.5f);
    text("はじめに，ケプラー運動について力学から得られる結果を復習しておこう。");

    PenX = float(TabX1);
    SkipH(1.5f);
    text("エネルギーの保存：  ");
    dsp_half(c, PenX, PenY);
    Skip(4);
    var("m");
    Skip(2);
    prSquare(QStringLiteral("v"));
    prMinus();
    prFrac(QStringLiteral("alpha"), QStringLiteral("r"));
    text(" = ");
    var("E");
    SkipW(1.5f);
    text("(負の値)");

    PenX = float(LeftX + 15 * UnitW);
    SkipH(1.6f);
    prSquare(QStringLiteral("v"));
    text(" = ");
    dot(QStringLiteral("r"));
    Skip(2);  // the dot over the r stood against the exponent
    prSup(QStringLiteral("2"));
    text(" + (");
    var("r");
    Skip(3);
    dot(QStringLiteral("theta"));
    Skip(2);  // the italic theta leans into the parenthesis
    text(")");
    prSup(QStringLiteral("2"));

    PenX = float(TabX1);
    SkipH(1.5f);
    text("角運動量の保存：  ");
    var("m");
    Skip(2);
    prSquare(QStringLiteral("r"));
    dot(QStringLiteral("theta"));
    text(" = ");
    var("L");
    text(" = const,     ");
    // The areal velocity: its dot is set by hand, a little higher than the
    // other dots, over the capital.
    {
        Construct dotted(c, Group::Dot);
        dsp_text(c, PenX, PenY - 14, QStringLiteral("・"));
        Skip(-19);
        var("S");
    }
    text(" = ");
    dsp_half(c, PenX, PenY);
    Skip(4);
    prSquare(QStringLiteral("r"));
    dot(QStringLiteral("theta"));
    text(" = const");

    NewPara();
    text("この問題には ");
    var("r");
    text(", ");
    prTheta();
    text(", ");
    var("t");
    text(" の三つの変数があるので，三通りの解き方が考えられる。");
    NewLine();
    text("　  (A) : ");
    var("r");
    text(" を消去して ");
    prTheta();
    text(" と ");
    var("t");
    text(" を残し，");
    prTheta();
    text(" の微分方程式を解いて時間の関数 ");
    prTheta();
    dsp_of_t(c, PenX, PenY);
    text(" を得る。");
    NewLine();
    text("　  (B) : ");
    prTheta();
    text(" を消去して ");
    var("r");
    text(" と ");
    var("t");
    text(" を残し，");
    var("r");
    text(" の微分方程式を解いて時間の関数 ");
    var("r");
    dsp_of_t(c, PenX, PenY);
    text(" を得る。");
    NewLine();
    text("　  (C) : ");
    var("t");
    text(" を消去して ");
    var("r");
    text(" と ");
    prTheta();
    text(" を残し，");
    rOfTheta();
    text(" の微分方程式を解いて軌道 ");
    rOfTheta();
    text(" を決める。");

    PenX = float(LeftX);
    SkipH(1.5f);
    text("力学では (A) と (B) が基本的な解き方であるが，ケプラー運動については");
    NewLine();
    text("どの教科書も (C) の解き方しか示していない。なぜそうなのかは，次の");
    NewLine();
    text("ページから順に見ていくとわかる。");
}

}  // namespace chapters
