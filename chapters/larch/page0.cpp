// Page 0: what the chapter shows, the chain and its energy, the equation of
// motion and the dimensionless time.
#include "larch/larch_chapter.h"

#include "constructs.h"
#include "context.h"
#include "markup.h"
#include "operators.h"
#include "page_opening.h"
#include "pen.h"
#include "state.h"
#include "symbols.h"
#include "text.h"

namespace chapters {

namespace {

// An italic letter with its subscript.
void prVS(const char* v, const char* s) {
    prVar(QString::fromLatin1(v));
    prSub(QString::fromLatin1(s));
}

// u_n(t), J_2n(t) and the like.
void prVSt(const char* v, const char* s) {
    prVS(v, s);
    dsp_of_t(*CurPic, PenX, PenY);
}

// k(u_a − u_b)
void difference(const char* a, const char* b) {
    prVar(QStringLiteral("k"));
    pr(QStringLiteral("("));
    prVS("u", a);
    prMinus();
    prVS("u", b);
    pr(QStringLiteral(")"));
}

}  // namespace

void LarchChapter::pic0() {
    Canvas& page = *CurPic;
    page.FontSize = BaseSize;
    page.ForeColor = DefFore;
    openTitlePage(profile_.title, 15, 16);
    // Scripts are a little larger from here on, on every page.
    SupSize = 0.85f;

    PenX = float(TabX1);
    prBlue(QStringLiteral("(1) 概 要"));
    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("１次元格子の "));
    prVar(QStringLiteral("n"));
    pr(QStringLiteral(" 番目の原子の変位 "));
    prVSt("u", "n");
    pr(QStringLiteral(" は，"));
    NewLine();
    pr(QStringLiteral("偶数次のベッセル関数 "));
    prVSt("J", "2n");
    pr(QStringLiteral(" で表される。"));
    NewLine();
    pr(QStringLiteral("この章では，そのことの"));
    NewLine();
    pr(QStringLiteral("数学的な裏付けを示す。"));
    NewPara();

    PenX = float(TabX1);
    prBlue(QStringLiteral("(2) １次元の格子."));
    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("右上の図のように，質量 "));
    prVar(QStringLiteral("M"));
    pr(QStringLiteral(" の原子がばね定数 "));
    prVar(QStringLiteral("k"));
    pr(QStringLiteral(" のばねでつながり，横"));
    // The Gothic stroke reads as the numeral one, not as a dash.
    float x = float(PenX + 2.0);
    dsp_gothic(page, x, float(PenY + 2.0), QStringLiteral("一"));
    PenX = x;
    pr(QStringLiteral("列に並んだ"));
    NewLine();
    pr(QStringLiteral("格子を考える。原子 "));
    prVar(QStringLiteral("n"));
    pr(QStringLiteral(" の変位を "));
    prVSt("u", "n");
    pr(QStringLiteral(" とすると，全エネルギー "));
    prVar(QStringLiteral("E"));
    pr(QStringLiteral(" は次のようになる："));

    // E = ½ M Σ u̇_n² + ½ k Σ (u_n+1 − u_n)²
    PenX = float(TabX2);
    SkipH(1.5f);
    prVar(QStringLiteral("E"));
    pr(QStringLiteral(" ＝ "));
    dsp_half(page, PenX, PenY);
    prVar(QStringLiteral("M"));
    SkipW(1);
    dsp_sum(page, PenX, PenY, QStringLiteral("n"), QString());
    SkipW(1.5f);
    prDot(QStringLiteral("u"));
    {
        const float x0 = PenX;
        prSub(QStringLiteral("n"));
        const float x1 = PenX;
        PenX = x0;
        prSup(QStringLiteral("2"));
        if (PenX < x1) PenX = x1;
    }
    pr(QStringLiteral(" ＋ "));
    dsp_half(page, PenX, PenY);
    prVar(QStringLiteral("k"));
    SkipW(1);
    dsp_sum(page, PenX, PenY, QStringLiteral("n"), QString());
    SkipW(1.5f);
    // The parentheses a size larger and a little lower than the text's: at
    // its size the subscripts hung below them.
    const auto fence = [&page](const char* p) {
        const float size = page.FontSize;
        page.FontSize = float(1.25 * size);
        dsp_text(page, PenX, PenY - 1, QString::fromLatin1(p));
        page.FontSize = size;
    };
    fence("(");
    prVS("u", "n+1");
    prMinus();
    prVS("u", "n");
    fence(")");
    prSup(QStringLiteral("2"));

    PenX = float(LeftX);
    SkipH(1.8f);
    pr(QStringLiteral("右辺の第１項は原子の運動エネルギー，第２項はばねの弾性エネルギーである。"));
    NewLine();
    pr(QStringLiteral("これから，原子 "));
    prVar(QStringLiteral("n"));
    pr(QStringLiteral(" の運動方程式は次のようになる："));

    // M ü_n = k(u_n+1 − u_n) + k(u_n−1 − u_n)
    PenX = float(TabX2);
    SkipH(1.5f);
    prVar(QStringLiteral("M"));
    Skip(4);
    prDDot(QStringLiteral("u"));
    prSub(QStringLiteral("n"));
    EqCol = PenX;
    pr(QStringLiteral(" ＝ "));
    difference("n+1", "n");
    pr(QStringLiteral(" + "));
    difference("n-1", "n");

    PenX = EqCol;
    SkipH(1.5f);
    pr(QStringLiteral(" ＝ "));
    prVar(QStringLiteral("k"));
    pr(QStringLiteral("("));
    prVS("u", "n+1");
    prMinus();
    pr(QStringLiteral("2"));
    prVS("u", "n");
    pr(QStringLiteral(" + "));
    prVS("u", "n-1");
    pr(QStringLiteral(")"));

    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("後の結果を見やすくするため，時間 "));
    prVar(QStringLiteral("t"));
    pr(QStringLiteral(" を次のように無次元化する："));

    // t′ = √(4k/M) t, the radical's rule drawn by hand over the fraction.
    PenX = float(TabX2);
    SkipH(1.6f);
    prVar(QStringLiteral("t"));
    prPrime();
    pr(QStringLiteral(" = "));
    {
        const float before = PenX;
        const float ys = float(PenY + 8.0);
        float xr = PenX;
        dsp_sqrt(page, xr, ys, 0);
        const double y1 = ys + 1.0, y2 = y1 - 18;
        page.Line(xr, y1, xr + 4.0, y2, colGray);
        page.Line(xr + 4.0, y2, xr + 4.0 + 3.5 * UnitW, y2, colGray);
        PenX = float(before + 1.5 * UnitW);
        prFrac(QStringLiteral("4k"), QStringLiteral("M"));
        SkipW(1);
        prVar(QStringLiteral("t"));
    }

    PenX = float(LeftX);
    SkipH(1.6f);
    pr(QStringLiteral("この置き換えをして，改めて "));
    prVar(QStringLiteral("t"));
    prPrime();
    pr(QStringLiteral(" を "));
    prVar(QStringLiteral("t"));
    pr(QStringLiteral(" と書くと，運動方程式は"));
    PenX = float(TabX2);
    SkipH(1.2f);
    pr(QStringLiteral("4"));
    prDDot(QStringLiteral("u"));
    prSub(QStringLiteral("n"));
    pr(QStringLiteral(" ＝ "));
    prVS("u", "n+1");
    prMinus();
    pr(QStringLiteral("2"));
    prVS("u", "n");
    pr(QStringLiteral(" + "));
    prVS("u", "n-1");
    PenX = float(LeftX);
    SkipH(1.2f);
    pr(QStringLiteral("という簡単な形になる。以下ではこの式を扱う。"));

    DrawMasses(0);
    if (Printing) copyFigure(page, 0);
}

}  // namespace chapters
