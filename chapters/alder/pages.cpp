// Pages 0 to 2: the infinite and the finite continued fraction, the
// recurrence that evaluates the finite one with its proof, and the estimate
// of the truncation error.
#include "alder_chapter.h"

#include "constructs.h"
#include "context.h"
#include "markup.h"
#include "pen.h"
#include "page_opening.h"
#include "state.h"
#include "symbol_codes.h"
#include "text.h"

#include <optional>

namespace chapters {

namespace {

QString bar(int n) { return QString(n, QChar(0x2500)); }

// An italic letter with its subscript.
void prVS(const char* v, const char* s) {
    prVar(QString::fromLatin1(v));
    prSub(QString::fromLatin1(s));
}

// One level of the staircase: "a_k  +  " under the level's bar start, and
// the next level's origin after it.
float level(float origin, const char* k, const QString& plus) {
    PenX = origin;
    prVS("a", k);
    Skip(6);
    pr(plus);
    return PenX;
}

// The descending ellipsis after the last "+" of an endless staircase.
void diagonalDots() {
    Skip(5);
    const float y = PenY;
    for (float dy : {-5.0f, 2.0f, 11.0f}) {
        dsp_text(*CurPic, PenX, y + dy, QStringLiteral("･"));
    }
}

// The first three levels of a continued fraction as a staircase, each level's
// numerator over a text bar and the next level 0.6 lines lower, ending with
// "a_3 + " and a descending ellipsis. b_1 stands b1Units units right of T;
// the bars have the given lengths. tail(origin of the last level) draws
// what ends a cut-off staircase, in the last level's denominator.
// Each level is recorded as a fraction whose numerator (drawn before its
// bar) and denominator (the next level and all below it) are its parts.
template <class LeftSide, class Tail>
void staircase(float T, double b1Units, LeftSide left, std::initializer_list<int> bars, Tail tail) {
    Canvas& c = *CurPic;
    const int* len = bars.begin();
    const auto numerator = [&c](const char* k) {
        return drawConstruct(c, Group::Numerator, [k] { prVS("b", k); });
    };
    // The bar of a level, its numerator made its part, and its denominator
    // opened: closed, innermost first, when the staircase ends.
    int open = 0;
    const auto barOf = [&](int num, const QString& text) {
        const int fraction = drawConstruct(c, Group::Fraction, [&] { pr(text); });
        c.adopt(num, fraction);
        if (fraction >= 0 && c.beginGroupIn(Group::Denominator, fraction)) ++open;
    };
    SkipH(1.5f);
    PenX = float(T + b1Units * UnitW);
    const int b1 = numerator("1");
    SkipH(0.6f);
    PenX = T;
    left();
    Skip(6);
    pr(QStringLiteral(" = "));
    Skip(6);
    float origin = PenX;
    barOf(b1, bar(len[0]) + QStringLiteral("  "));
    SkipH(0.6f);
    PenX = float(T + 12.0 * UnitW);
    const int b2 = numerator("2");
    SkipH(0.6f);
    origin = level(origin, "1", QStringLiteral("+  "));
    barOf(b2, bar(len[1]));
    SkipH(0.6f);
    PenX = float(origin + 7.0 * UnitW);
    const int b3 = numerator("3");
    SkipH(0.6f);
    origin = level(origin, "2", QStringLiteral("+  "));
    barOf(b3, bar(len[2]));
    SkipH(0.6f);
    level(origin, "3", QStringLiteral("+ "));
    diagonalDots();
    tail(origin);
    for (; open > 0; --open) c.endGroup();
}

}  // namespace

void AlderChapter::pic0() {
    Canvas& c = *CurPic;
    openTitlePage(profile_.title, 15, 20);
    PenX = float(TabX1);
    prBlue(QStringLiteral("(1)  概 要"));

    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("不完全ガンマ関数 "));
    IncompGamma();
    pr(QStringLiteral(" を計算する方法として，これまでに"));
    PenX = float(TabX1 + UnitW);
    SkipH(1);
    pr(QStringLiteral("引数 "));
    prVar(QStringLiteral("x"));
    pr(QStringLiteral(" が小さいときのべき級数展開，"));
    PenX = float(TabX1 + UnitW);
    SkipH(1);
    pr(QStringLiteral("引数 "));
    prVar(QStringLiteral("x"));
    pr(QStringLiteral(" が大きいときの連分数展開"));
    NewLine();
    pr(QStringLiteral("の二つを紹介した。どちらも，それぞれの範囲で有利な方法である。"));
    NewLine();
    pr(QStringLiteral("連分数の値を計算する方法はよく知られているが，この章では"));
    NewLine();
    pr(QStringLiteral("その方法の証明と，連分数を打ち切ったときの誤差の見積もり方を示す。"));

    PenX = float(TabX1);
    SkipH(1.5f);
    prBlue(QStringLiteral("(2)  無限連分数と有限連分数"));
    NewPara();
    pr(QStringLiteral("無限連分数："));

    // R = b_1/(a_1 + b_2/(a_2 + b_3/(a_3 + ...))) as a staircase.
    const float T = float(TabX2);
    staircase(T, 7, [] { prVar(QStringLiteral("R")); }, {13, 10, 6}, [](float) {});

    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("無限に続く連分数は，このままでは計算することができない。"));
    NewLine();
    pr(QStringLiteral("そこで，どこかで打ち切って有限連分数とする："));

    // R_n: the same staircase, cut off after a_n.
    float origin = 0;
    staircase(T, 8, [] { prVS("R", "n"); }, {16, 13, 10}, [&c, &origin](float last) {
        // "⋯ + b_n/a_n": its bar is drawn in one run with the "⋯ +".
        PenY = PenY + 11;
        origin = float(last + 7.0 * UnitW);
        PenX = float(origin + 3.8 * UnitW);
        const int bn = drawConstruct(c, Group::Numerator, [] { prVS("b", "n"); });
        SkipH(0.6f);
        PenX = origin;
        const int cut = drawConstruct(c, Group::Fraction, [] { pr(QStringLiteral("･ +  ──")); });
        c.adopt(bn, cut);
        SkipH(0.4f);
        PenX = float(origin + 3.8 * UnitW);
        origin = PenX;
        drawPartOf(c, cut, Group::Denominator, [] { prVS("a", "n"); });
    });

    if (Pic1Drawn) {
        // The substitution of page 1's proof: a_n -> a_n + b_(n+1)/a_(n+1).
        c.DrawStyle_ = DrawStyle::Dot;
        c.DrawWidth = 1;
        // The last bar of the fraction, 0.4 lines up, ends just over a_n: the
        // box's top edge 2 px lower than 3 clears it (its bottom stays).
        const double x1 = origin - 2.0, y1 = PenY + 5.0;
        c.Box(x1, y1, x1 + 2.4 * UnitW, y1 + UnitH - 6.0, RGB(0, 0, 255), false);
        c.DrawStyle_ = DrawStyle::Solid;
        SkipW(1);
        PenY = PenY + 4;
        prWing(wingdings::HeavyRightArrow);
        SkipW(1);
        PenY = PenY - 4;
        prVS("a", "n");
        Skip(2);
        pr(QStringLiteral(" + "));
        Skip(4);
        prFrac(QStringLiteral("b_n+1"), QStringLiteral("a_n+1"));
    }
}

void AlderChapter::pic1() {
    Canvas& c = *CurPic;
    openPage();
    prBlue(QStringLiteral("(3)  有限連分数を計算する漸化式"));
    NewPara();
    pr(QStringLiteral("有限連分数 "));
    prVS("R", "n");
    pr(QStringLiteral(" を計算するために，まず次の初期値を用意する："));
    PenX = float(TabX2);

    SkipH(1.2f);
    prVS("F", "0");
    Skip(4);
    pr(QStringLiteral("= 1，  "));
    prVS("F", "1");
    Skip(4);
    pr(QStringLiteral("= "));
    prVS("a", "1");
    PenX = float(TabX2);
    SkipH(1.2f);
    prVS("G", "0");
    Skip(4);
    pr(QStringLiteral("= 0，  "));
    prVS("G", "1");
    Skip(4);
    pr(QStringLiteral("= "));
    prVS("b", "1");
    PenX = float(LeftX);
    SkipH(1.2f);
    pr(QStringLiteral("これらから出発して，次の漸化式を "));
    prVar(QStringLiteral("k"));
    pr(QStringLiteral(" = 2，3，… と順に使う："));

    for (const char* v : {"F", "G"}) {
        PenX = float(TabX2);
        SkipH(1.5f);
        prVS(v, "k");
        Skip(6);
        pr(QStringLiteral(" = "));
        Skip(6);
        prVS("a", "k");
        Skip(4);
        prVS(v, "k-1");
        Skip(2);
        pr(QStringLiteral(" + "));
        Skip(2);
        prVS("b", "k");
        Skip(4);
        prVS(v, "k-2");
    }

    NewPara();
    pr(QStringLiteral("こうして "));
    prVS("F", "k");
    pr(QStringLiteral(" と "));
    prVS("G", "k");
    pr(QStringLiteral(" を順に計算していけば，求める "));
    prVS("R", "n");
    pr(QStringLiteral(" は"));
    PenX = float(TabX2);
    SkipH(1.6f);
    prVS("R", "n");
    Skip(4);
    pr(QStringLiteral(" = "));
    Skip(4);
    prFrac(QStringLiteral("G_n"), QStringLiteral("F_n"));
    NewPara();
    pr(QStringLiteral("によって得られる。"));

    NewPara();
    prBlue(QStringLiteral("[帰納法による証明]"));
    SkipW(1);
    prVar(QStringLiteral("n"));
    pr(QStringLiteral(" = 1，2 のときに正しいことは，直接計算して確かめられる。"));
    NewLine();
    prVar(QStringLiteral("k"));
    pr(QStringLiteral(" = 1 ～ "));
    prVar(QStringLiteral("n"));
    pr(QStringLiteral(" で正しいとする。前ページの "));
    prVS("R", "n");
    pr(QStringLiteral(" の式で，"));
    prVS("a", "n");
    pr(QStringLiteral(" のところを"));

    Pic1Drawn = 1;
    PenX = float(LeftX);
    SkipH(1.5f);
    prWing(wingdings::WideRightArrow);
    Skip(10);
    prVS("a", "n");
    pr(QStringLiteral(" + "));
    prFracS(QStringLiteral("b_n+1"), QStringLiteral("a_n+1"));
    Skip(2);  // the bar ended hard by the で
    pr(QStringLiteral(" で置き換えれば "));
    prVS("R", "n+1");
    pr(QStringLiteral(" になる"));
    c.ForeColor = colRed;
    pr(QStringLiteral("(↑)"));
    c.ForeColor = DefFore;
    pr(QStringLiteral("。この置き換えを "));
    prVS("R", "n");
    pr(QStringLiteral(" = "));
    prVS("G", "n");
    pr(QStringLiteral("/"));
    prVS("F", "n");
    pr(QStringLiteral(" に施すと，"));
    // Kept short: the numerator of the next formula rises into this line.
    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("次式を得る："));

    // R_(n+1) with a_n replaced, then collected into G_(n+1)/F_(n+1).
    PenX = float(TabX2);
    SkipH(2);
    float y0 = PenY;
    prVS("R", "n+1");
    Skip(4);
    const float xEq = PenX;
    pr(QStringLiteral(" = "));
    Skip(4);
    const float xBar = PenX;
    std::optional<Construct> fraction(std::in_place, c, Group::Fraction);
    pr(bar(17));
    for (const char* v : {"G", "F"}) {
        const bool num = v[0] == 'G';
        PenX = xBar;
        PenY = num ? y0 - 28 : y0 + 28;
        Construct part(c, num ? Group::Numerator : Group::Denominator);
        prBigLParen(PenX, PenY);
        Skip(10);  // 2 more than tuned: the substitute's tall halves are wider
        prVS("a", "n");
        pr(QStringLiteral(" + "));
        prFrac(QStringLiteral("b_n+1"), QStringLiteral("a_n+1"));
        Skip(2);
        prBigRParen(PenX, PenY);
        SkipW(0.4f);
        Skip(6);  // clear of the tall half's bulge
        prVS(v, "n-1");
        pr(QStringLiteral(" + "));
        prVS("b", "n");
        Skip(4);
        prVS(v, "n-2");
    }
    fraction.reset();

    // From the denominator line, so that the two formulas keep clear of
    // each other's small fractions: 3 lines left them 2 px apart in the
    // substitute faces, 3.2 leave 7.
    PenX = float(TabX2);
    SkipH(3.2f);
    y0 = PenY;
    PenX = xEq;
    pr(QStringLiteral(" = "));
    Skip(4);
    const int collected = drawConstruct(c, Group::Fraction, [] { pr(bar(11)); });
    Skip(4);
    pr(QStringLiteral(" = "));
    Skip(4);
    prFrac(QStringLiteral("G_n+1"), QStringLiteral("F_n+1"));
    for (const char* v : {"G", "F"}) {
        PenX = xBar;
        PenY = v[0] == 'G' ? y0 - 28 : y0 + 28;
        drawPartOf(c, collected, v[0] == 'G' ? Group::Numerator : Group::Denominator, [v] {
            prVS(v, "n");
            pr(QStringLiteral(" + "));
            prFrac(QStringLiteral("b_n+1"), QStringLiteral("a_n+1"));
            SkipW(1);
            prVS(v, "n-1");
        });
    }
    PenY = y0;
}

void AlderChapter::pic2() {
    Canvas& c = *CurPic;
    openPage(QStringLiteral("(4)  誤差を推定する"));
    pr(QStringLiteral("連分数の収束が十分に速いとすれば，隣り合う二つの近似値の差"));

    // ⊿R_n ≡ R_n − R_(n+1) = G_n/F_n − G_(n+1)/F_(n+1) = E_n/(F_n F_(n+1))
    PenX = float(TabX2);
    SkipH(1.5f);
    pr(QStringLiteral("⊿"));
    prVS("R", "n");
    Skip(8);
    pr(QStringLiteral(" ≡ "));
    Skip(4);
    prVS("R", "n");
    Skip(2);
    prMinus();
    Skip(2);
    prVS("R", "n+1");
    Skip(8);
    pr(QStringLiteral(" = "));
    Skip(8);
    prFrac(QStringLiteral("G_n"), QStringLiteral("F_n"));
    Skip(4);
    prMinus();
    Skip(8);
    prFrac(QStringLiteral("G_n+1"), QStringLiteral("F_n+1"));
    Skip(8);
    pr(QStringLiteral(" = "));
    Skip(8);
    float xBar = PenX;
    float y0 = PenY;
    std::optional<Construct> fraction(std::in_place, c, Group::Fraction);
    pr(bar(10));
    PenX = xBar;
    PenY = y0 - 16;
    // 2 px between its terms, so that it ends within the ten-piece bar
    // (at 4 it ran past the bar's end).
    drawAs(c, Group::Numerator, [this] { Bunsi(2); });
    PenX = float(xBar + 4.0 * UnitW);
    PenY = y0 + 14;
    drawAs(c, Group::Denominator, [this] { Bunbo(); });
    fraction.reset();

    PenY = y0;
    NewPara();
    pr(QStringLiteral("によって，"));
    prVS("R", "n");
    pr(QStringLiteral(" の誤差を評価することができる。"));
    NewLine();
    pr(QStringLiteral("右辺の分子を "));
    prVS("E", "n");
    pr(QStringLiteral(" と名づけ，漸化式を使って書き直すと："));

    PenX = float(TabX2);
    SkipH(1.5f);
    prVS("E", "n");
    Skip(4);
    const float xEq = PenX;
    pr(QStringLiteral(" ≡ "));
    Skip(4);
    Bunsi();

    SkipH(1.5f);
    PenX = xEq;
    pr(QStringLiteral(" = ("));
    prVS("a", "n+1");
    prVS("F", "n");
    pr(QStringLiteral(" + "));
    prVS("b", "n+1");
    prVS("F", "n-1");
    pr(QStringLiteral(")"));
    prVS("G", "n");
    prMinus();
    prVS("F", "n");
    pr(QStringLiteral("("));
    prVS("a", "n+1");
    prVS("G", "n");
    pr(QStringLiteral(" + "));
    prVS("b", "n+1");
    prVS("G", "n-1");
    pr(QStringLiteral(")"));

    SkipH(1.5f);
    PenX = xEq;
    pr(QStringLiteral(" = "));
    prVS("b", "n+1");
    pr(QStringLiteral("("));
    prVS("F", "n-1");
    prVS("G", "n");
    prMinus();
    prVS("F", "n");
    prVS("G", "n-1");
    pr(QStringLiteral(")"));
    Skip(4);
    pr(QStringLiteral(" = "));
    prMinus();
    Skip(2);
    prVS("b", "n+1");
    prVS("E", "n-1");

    NewPara();
    pr(QStringLiteral("この関係をくり返し使えば，"));
    prVS("E", "0");
    Skip(4);
    pr(QStringLiteral("="));
    prMinus();
    prVS("b", "1");
    pr(QStringLiteral(" から，"));
    prVS("R", "n");
    pr(QStringLiteral(" の誤差は結局"));

    // ⊿R_n = (−1)^(n+1) b_1 b_2 ··· b_(n+1) / (F_n F_(n+1))
    PenX = float(TabX2);
    SkipH(1.8f);
    y0 = PenY;
    pr(QStringLiteral("⊿"));
    prVS("R", "n");
    Skip(4);
    pr(QStringLiteral(" = "));
    Skip(4);
    xBar = PenX;
    fraction.emplace(c, Group::Fraction);
    pr(bar(12));
    PenX = xBar;
    PenY = y0 - 14;
    drawAs(c, Group::Numerator, [] {
        pr(QStringLiteral("(-1)"));
        prSup(QStringLiteral("n+1"));
        Skip(4);
        prVS("b", "1");
        Skip(4);
        prVS("b", "2");
        Skip(4);
        pr(QStringLiteral("･ ･ ･ "));
        prVS("b", "n+1");
    });
    PenX = float(xBar + 5.0 * UnitW);
    PenY = y0 + 12;
    drawAs(c, Group::Denominator, [this] { Bunbo(); });
    fraction.reset();

    PenY = y0;
    PenX = float(LeftX);
    SkipH(1.3f);
    pr(QStringLiteral("と書くことができる。"));

    NewPara();
    pr(QStringLiteral("次のページでは，不完全ガンマ関数 "));
    IncompGamma();
    pr(QStringLiteral(" を例にとり，"));
    dsp_nu();
    Skip(2);
    pr(QStringLiteral("= 0"));
    prVar(QStringLiteral(", "));
    dsp_half(c, PenX, PenY);
    pr(QStringLiteral(" の場合について，"));
    NewLine();
    pr(QStringLiteral("この連分数がどのように収束していくかを調べる。"));
    NewPara();
    pr(QStringLiteral("なお，"));
    dsp_nu();
    Skip(4);
    pr(QStringLiteral("="));
    Skip(4);
    pr(QStringLiteral("0 の結果は，公表されている数表の値と比べてある（グラフの ○ 印）。"));
}

}  // namespace chapters
