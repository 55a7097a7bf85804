// Page 0: what the Gibbs phenomenon is, with the graph of a square wave and
// its Fourier series cut off after eight terms.
#include "maple/maple_chapter.h"

#include "constructs.h"
#include "context.h"
#include "page_opening.h"
#include "pen.h"
#include "state.h"
#include "symbols.h"
#include "text.h"

namespace chapters {

namespace {

void fOfX() { prFunc(QStringLiteral("f"), QStringLiteral("x")); }

}  // namespace

void MapleChapter::pic0() {
    openTitlePage(profile_.title, 15, 16);
    CurPic->FontSize = BaseSize;
    SupSize = 0.85f;  // kept for the rest of the run, as the later pages expect

    PenX = float(TabX1);
    prBlue(QStringLiteral("(1) 概 要"));
    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("ギブス現象とは，関数 "));
    fOfX();
    pr(QStringLiteral(" が不連続な点をもつとき，その点のまわりで"));
    NewLine();
    pr(QStringLiteral("フーリエ級数が見せる奇妙なふるまいのことです．初めて学ぶ人を"));
    NewLine();
    pr(QStringLiteral("悩ませないように，たいていの教科書はこの話題にふれません．しかし，"));
    NewLine();
    pr(QStringLiteral("フーリエ級数を数値計算に使うなら，知っておくべき現象です．"));

    SkipH(1.5f);
    PenX = float(TabX1);
    prBlue(QStringLiteral("(2) ギブス現象とは何か"));
    NewPara();
    pr(QStringLiteral("下のグラフは，周期 "));
    pr2pi(PenX, PenY);
    pr(QStringLiteral("，高さ 1 の矩形波 "));
    fOfX();
    pr(QStringLiteral(" をフーリエ級数に展開し，"));
    NewLine();
    prVar(QStringLiteral("N"));
    Skip(4);
    pr(QStringLiteral("="));
    Skip(4);
    pr(QStringLiteral("8 項で打ち切ったものです．"));
    fOfX();
    pr(QStringLiteral(" は "));
    dsp_pi(*CurPic, PenX, PenY);
    pr(QStringLiteral(" の整数倍の点で不連続で，"));
    NewLine();
    pr(QStringLiteral("級数はその両側で行き過ぎ，振動しています．この行き過ぎの高さが"));
    NewLine();
    pr(QStringLiteral("項数 "));
    prVar(QStringLiteral("N"));
    pr(QStringLiteral(" を増やすにつれて小さくなるのなら害はないのですが，実際には"));
    NewLine();
    pr(QStringLiteral("そうなりません．"));
    prVar(QStringLiteral("N"));
    Skip(2);
    pr(QStringLiteral("→"));
    Skip(2);
    pr(QStringLiteral("∞"));
    Skip(4);
    pr(QStringLiteral("としても，山の高さは一定の値 1.18 に近づくだけで，"));
    NewLine();
    pr(QStringLiteral("1 には下がりません．この現象をギブス現象"));
    NewLine();
    pr(QStringLiteral("(Gibbs phenomenon) とよびます．"));

    drawAs(*CurPic, Group::Figure, [this] { graph(); });
}

}  // namespace chapters
