// Page 1: the particular solution u_n(t) = J_2n(t), its start from one
// displaced atom, and the check that it solves the equation of motion.
#include "larch/larch_chapter.h"

#include "constructs.h"
#include "context.h"
#include "glyphs.h"
#include "entities.h"
#include "markup.h"
#include "page_opening.h"
#include "pen.h"
#include "state.h"
#include "symbols.h"
#include "text.h"

#include <algorithm>

namespace chapters {

namespace {

void prVS(const char* v, const char* s) {
    prVar(QString::fromLatin1(v));
    prSub(QString::fromLatin1(s));
}

// J_s(x)
void prJx(const char* s) {
    prVS("J", s);
    dsp_of_x(*CurPic, PenX, PenY);
}

// J_s(0)
void prJ0(const char* s) {
    prVS("J", s);
    pr(QStringLiteral("(0)"));
}

// d/dx with room on both sides.
void prDdx() {
    Skip(4);
    prFrac(QStringLiteral("d"), QStringLiteral("dx"));
    Skip(4);
}

}  // namespace

void LarchChapter::pic1() {
    Canvas& page = *CurPic;
    page.FontSize = BaseSize;
    page.ForeColor = DefFore;
    openPage(QStringLiteral("(3) ベッセル関数を使った特解."));
    pr(QStringLiteral("運動方程式には，次のような特解（解の一つ）がある："));
    PenX = float(TabX2);
    SkipH(1.2f);
    prVS("u", "n");
    dsp_of_t(page, PenX, PenY);
    pr(QStringLiteral(" ＝ "));
    prVS("J", "2n");
    dsp_of_t(page, PenX, PenY);

    PenX = float(LeftX);
    SkipH(1.2f);
    pr(QStringLiteral("量子力学で有名な "));
    {
        // The umlaut comes from the entity, in a face that has it.
        page.FontName = QStringLiteral("Verdana");
        int32_t x = Round(PenX), y = Round(PenY);
        dsp_entity(page, QStringLiteral("Schr&ouml;dinger"), x, y);
        PenX = float(PenX + page.TextWidth(QStringLiteral("Schrodinger")));
        page.FontName = QStringLiteral("メイリオ");
    }
    pr(QStringLiteral(" が見つけた。"));
    NewLine();
    pr(QStringLiteral("この解の初期変位は"));
    PenX = float(TabX2);
    SkipH(1.2f);
    prVS("u", "n");
    pr(QStringLiteral("(0) = "));
    prJ0("2n");
    pr(QStringLiteral(" = "));
    prDelta();
    Skip(2);  // the subscript's n leans back into the delta
    prSub(QStringLiteral("n, 0"));

    PenX = float(LeftX);
    SkipH(1.2f);
    pr(QStringLiteral("また，各原子 "));
    prVar(QStringLiteral("n"));
    pr(QStringLiteral(" の初速度は"));
    PenX = float(TabX2);
    SkipH(1.2f);
    prDot(QStringLiteral("u"));
    prSub(QStringLiteral("n"));
    pr(QStringLiteral("(0) = "));
    prVar(QStringLiteral("J"));
    const float afterJ = PenX;
    // Back 8 would set the prime inside the top of the fallback J.
    Skip(BookmanOK == 1 ? -8 : -1);
    prPrime();
    // The subscript under the prime, against its letter as a script is:
    // set after the prime it stood apart, reading J′ ₂ₙ.
    const float afterPrime = PenX;
    PenX = afterJ + 1;
    prSub(QStringLiteral("2n"));
    PenX = std::max(PenX, afterPrime);
    pr(QStringLiteral("(0) = "));
    dsp_half(page, PenX, PenY);
    pr(QStringLiteral("("));
    prJ0("2n-1");
    prMinus();
    prJ0("2n+1");
    pr(QStringLiteral(") = 0"));

    PenX = float(LeftX);
    SkipH(1.2f);
    pr(QStringLiteral("つまり時刻 "));
    prVar(QStringLiteral("t"));
    pr(QStringLiteral(" = 0 では全原子が静止し，図のように原子 0 だけが変位している。"));
    NewLine();
    pr(QStringLiteral("運動が始まると，変位はビリヤードの球がぶつかるように隣の原子へ伝わる。"));
    NewLine();
    pr(QStringLiteral("その様子を表すのがベッセル関数 "));
    prVS("J", "2n");
    dsp_of_t(page, PenX, PenY);
    pr(QStringLiteral(" である。"));

    // The check, set off by a blue rule down its left side.
    PenX = float(TabX2 - UnitW);
    SkipH(1.5f);
    page.Line(PenX - UnitW, PenY, PenX - UnitW, PenY + 13.0 * UnitH, colBlue);
    pr(QStringLiteral("[ "));
    prVS("J", "2n");
    dsp_of_t(page, PenX, PenY);
    pr(QStringLiteral(" が解であることを確認する]"));

    PenX = float(TabX2);
    SkipH(1.5f);
    pr(QStringLiteral("ベッセル関数の二つの漸化式を辺々加えると"));
    PenX = float(TabX2 + 4.0 * UnitW);
    SkipH(1.5f);
    pr(QStringLiteral("2"));
    prDdx();
    prJx("n");
    pr(QStringLiteral(" ＝ "));
    prJx("n-1");
    prMinus();
    prJx("n+1");

    PenX = float(TabX2);
    SkipH(1.5f);
    pr(QStringLiteral("これをもう一度 "));
    prVar(QStringLiteral("x"));
    pr(QStringLiteral(" で微分して２倍すると"));
    PenX = float(TabX2 + 4.0 * UnitW);
    SkipH(1.5f);
    pr(QStringLiteral("4"));
    d2_dx2();
    Skip(4);
    prJx("n");
    EqCol = PenX;
    pr(QStringLiteral(" ＝ 2"));
    prDdx();
    prJx("n-1");
    prMinus();
    pr(QStringLiteral("2"));
    prDdx();
    prJx("n+1");
    PenX = EqCol;
    SkipH(1.5f);
    pr(QStringLiteral(" ＝ "));
    prJx("n-2");
    prMinus();
    prJx("n");
    prMinus();
    pr(QStringLiteral("("));
    prJx("n");
    prMinus();
    prJx("n+2");
    pr(QStringLiteral(")"));

    PenX = float(TabX2);
    SkipH(1.5f);
    pr(QStringLiteral("ここで "));
    prVar(QStringLiteral("n"));
    pr(QStringLiteral(" → 2"));
    prVar(QStringLiteral("n"));
    pr(QStringLiteral(" と書き換えると"));
    PenX = float(TabX2 + 4.0 * UnitW);
    SkipH(1.5f);
    pr(QStringLiteral("4"));
    d2_dx2();
    Skip(4);
    prJx("2n");
    pr(QStringLiteral(" ＝ "));
    prJx("2n+2");
    prMinus();
    pr(QStringLiteral("2"));
    prJx("2n");
    pr(QStringLiteral(" + "));
    prJx("2n-2");
    PenX = float(TabX2);
    SkipH(1.5f);
    pr(QStringLiteral("これが成り立つので，"));
    prVS("u", "n");
    dsp_of_t(page, PenX, PenY);
    pr(QStringLiteral(" = "));
    prVS("J", "2n");
    dsp_of_t(page, PenX, PenY);
    pr(QStringLiteral(" は運動方程式の解である。"));

    DrawMasses(1);
    if (Printing) copyFigure(page, 1);
}

}  // namespace chapters
