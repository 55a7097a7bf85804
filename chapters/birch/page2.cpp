// Page 2: the parametric solution x = a cos u, y = b sin u, and the proof
// that the parameter obeys Kepler's equation.
#include "birch_chapter.h"

#include "constructs.h"
#include "context.h"
#include "glyphs.h"
#include "markup.h"
#include "page_opening.h"
#include "pen.h"
#include "pieces.h"
#include "state.h"
#include "symbol_codes.h"
#include "symbols.h"
#include "text.h"

namespace chapters {

using birch::text;
using birch::var;
using birch::omegaT;

namespace {
void uOfT() { prFunc(QStringLiteral("u"), QStringLiteral("t")); }

// 1 − ε cos u
void oneMinusEpsCos() {
    pr(QStringLiteral("1"));
    prMinus();
    prEpsln();
    Skip(2);
    prCos();
    var("u");
}

// a² u̇²
void aSquaredUDotSquared(BirchChapter& ch) {
    var("a");
    prSup(QStringLiteral("2"));
    ch.dot(QStringLiteral("u"));
    prSup(QStringLiteral("2"));
}
}  // namespace

void BirchChapter::pic2() {
    Canvas& c = *CurPic;
    c.FontSize = BaseSize;
    openPage(QStringLiteral("(4) パラメタ表示による解."));
    var("x");
    text(" と ");
    var("y");
    text(" を時刻 ");
    var("t");
    text(" の関数として表すために，パラメタ ");
    uOfT();
    text(" を導入して");

    PenX = float(TabX2);
    SkipH(1.1f);
    const float firstRow = PenY;
    {
        // Two equations held by one brace: a case block.
        Construct both(*CurPic, Group::Cases);
        drawAs(*CurPic, Group::Row, [] {
            var("x");
            text(" = ");
            var("a");
            Skip(2);
            prCos();
            var("u");
        });
        PenX = float(TabX2);
        SkipH(1.1f);
        drawAs(*CurPic, Group::Row, [] {
            var("y");
            text(" = ");
            var("b");
            Skip(2);
            prSin();
            var("u");
        });
        ColBrace(0, float(TabX2 - 1.4 * UnitW), float(firstRow + 0.55 * UnitH), 0.275f);
    }

    PenX = float(LeftX);
    SkipH(1.1f);
    text("と置く。このとき， ");
    uOfT();
    text("  は，ケプラー方程式");
    PenX = float(TabX2);
    SkipH(1.1f);
    omegaT();
    text(" = ");
    var("u");
    prMinus();
    prEpsln();
    Skip(2);
    prSin();
    var("u");
    PenX = float(LeftX);
    SkipH(1.1f);
    text("を満たす (以下に証明)｡");

    // The proof, marked by a bar in the margin.
    PenX = float(TabX2);
    SkipH(1.5f);
    c.Line(TabX2 - 1.5 * UnitW, PenY, TabX2 - 1.5 * UnitW, PenY + 11.5 * UnitH, colBlue);
    var("v");
    dsp_sup2(c, PenX, PenY);
    const float equals = PenX;
    text("  =  ");
    dot(QStringLiteral("x"));
    prSup(QStringLiteral("2"));
    text(" + ");
    dot(QStringLiteral("y"));
    prSup(QStringLiteral("2"));
    text("  =  [");
    sin2();
    var("u");
    text(" + (");
    dsp1_eps2();
    text(")");
    Skip(2);
    cos2();
    var("u");
    text("]");
    Skip(2);
    aSquaredUDotSquared(*this);
    PenX = equals;
    SkipH(1.5f);
    text("  =  (");
    dsp1_eps2();
    Skip(2);
    cos2();
    var("u");
    text(")");
    Skip(2);
    aSquaredUDotSquared(*this);

    PenX = float(TabX2);
    SkipH(1.5f);
    var("r");
    text(" = ");
    birch::radical(4, 2, -8, 11.5f, colGray);
    Skip(2);
    text("(");
    var("x");
    prMinus();
    var("a");
    prEpsln();
    text(")");
    prSup(QStringLiteral("2"));
    text(" + ");
    var("y");
    prSup(QStringLiteral("2"));
    Skip(6);
    text(" = (");
    oneMinusEpsCos();
    text(")");
    Skip(2);
    var("a");

    PenX = float(TabX2);
    SkipH(1.5f);
    text("この ふたつの式を エネルギー保存の式に代入すると，");

    // The energy equation in u; −|E| is then replaced by −α/(2a), which
    // the bent arrow points to.
    PenX = float(TabX2);
    SkipH(1.5f);
    dsp_half(c, PenX, PenY);
    Skip(4);
    var("m");
    Skip(2);
    var("a");
    prSup(QStringLiteral("2"));
    text("(");
    dsp1_eps2();
    Skip(2);
    cos2();
    var("u");
    text(")");
    Skip(2);
    dot(QStringLiteral("u"));
    prSup(QStringLiteral("2"));
    prMinus();
    float denominatorEnd = 0;
    birch::barFraction(7, {52, -12, [this] { alpha2(); }},
                       {2, 13, [&denominatorEnd] {
                            var("a");
                            text("(");
                            oneMinusEpsCos();
                            text(")");
                            denominatorEnd = PenX;
                        }});
    text(" = ");
    prMinus();
    text("|");
    var("E");
    text("|");
    {
        const float y0 = PenY;
        const QString savedFace = c.FontName;
        c.FontName = face::Wingdings;
        c.FontSize = float(1.3 * BaseSize);
        c.ForeColor = colLime;
        int32_t x = Round(denominatorEnd);
        gdiTextOut(c, x, Round(y0 + UnitH), QByteArray(1, char(wingdings::BentArrow)), 1);
        c.FontName = savedFace;
        c.FontSize = BaseSize;
        c.ForeColor = DefFore;
        PenX = float(x);
        PenY = y0 + UnitH + 3;
        Skip(4);
        prMinus();
        prFrac(QStringLiteral("alpha"), QStringLiteral("2a"));
        PenY = y0;
    }

    PenX = float(TabX2);
    SkipH(1.5f);
    text("となり，  ");
    PenX = float(TabX2);
    SkipH(1);
    text("(");
    oneMinusEpsCos();
    text(")");
    Skip(4);
    prFrac(QStringLiteral("du"), QStringLiteral("dt"));
    text(" = ");
    omega();
    PenX = float(TabX2);
    // The denominator dt reaches 35 px below its line: the next line goes
    // down half a line more than one, or the two overprint.
    SkipH(1.5f);
    text("が得られる。これを積分すれば，上のケプラー方程式になる。");

    PenX = float(LeftX);
    SkipH(2);
    text("　[結論]： 与えられた時刻  ");
    var("t");
    text("  に対してケプラー方程式を数値的に解いて");
    PenX = float(TabX2);
    SkipH(1);
    text("パラメタ ");
    var("u");
    text(" を求めれば，");
    var("x");
    text(", ");
    var("y");
    text(" が ");
    var("t");
    text(" の関数として得られる。");

    PenX = float(LeftX);
    SkipH(2);
    text("実用上はこれで十分であり，最良の方法でもある。しかし ");
    var("t");
    text(" の陽な関数");
    NewLine();
    text("として表したいときには，フーリエ級数を用いることになる･･･");
}

}  // namespace chapters
