// Page 1: the ellipse in rectangular and polar form, its constants from the
// energy and angular momentum, the period and the angular frequency; the
// orbit figure on the right.
#include "birch_chapter.h"

#include "constructs.h"
#include "context.h"
#include "markup.h"
#include "page_opening.h"
#include "pen.h"
#include "pieces.h"
#include "state.h"
#include "symbols.h"
#include "text.h"

namespace chapters {

using birch::barFraction;
using birch::text;
using birch::var;

namespace {
// v²/w² with a bar of two "─".
void squareOver(const char* v, const char* w) {
    // The tail of a y would rest on the bar: 2 px higher, as the fraction
    // printer sets a numerator y.
    const float up = v[0] == 'y' ? 14.0f : 12.0f;
    barFraction(2, {8, -up, [v] { prSquare(QString::fromUtf8(v)); }},
                {8, 14, [w] { prSquare(QString::fromUtf8(w)); }});
}

void smallWords(Canvas& c, const char* s) {
    c.FontSize = float(0.9 * BaseSize);
    text(s);
    c.FontSize = BaseSize;
}
}  // namespace

void BirchChapter::pic1() {
    Canvas& c = *CurPic;
    c.FontSize = BaseSize;
    openPage(QStringLiteral("(3) 楕円軌道"));

    PenX = float(TabX1);
    text("楕円の形 (直角座標)：");
    SkipW(2);
    squareOver("x", "a");
    text(" + ");
    squareOver("y", "b");
    text(" = 1");

    // The semi-axes.
    PenX = float(TabX1);
    SkipH(1.8f);
    text("　長半径　");
    var("a");
    text(" = ");
    barFraction(2, {16, -12, [this] {
                        alpha2();
                    }},
                {2, 14, [] {
                     pr(QStringLiteral("2"));
                     pr(QStringLiteral("|"));
                     var("E");
                     pr(QStringLiteral("|"));
                 }});
    dsp_var(c, PenX, PenY, QStringLiteral(" ,"));
    SkipW(2);
    text("　短半径　");
    var("b");
    text(" = ");
    var("a");
    Skip(2);
    Sqrt1_eps2();

    // The eccentricity: a tall radical over a fraction, its stroke and bar
    // in the text colour.
    PenX = float(TabX1);
    SkipH(2.5f);
    text("　離心率　");
    prEpsln();
    Skip(2);
    text(" = ");
    birch::radical(16, 6, -32, 9, c.ForeColor);
    Skip(2);
    text("1 － ");
    {
        const float x0 = PenX;
        Construct fraction(c, Group::Fraction);
        pr(QStringLiteral("───"));
        const float xe = PenX;
        PenX = x0 + 16;
        PenY -= 12;
        drawAs(c, Group::Numerator, [] { prSquare(QStringLiteral("L")); });
        PenX = x0 + 6;
        PenY += 12 + 14;
        Construct denominator(c, Group::Denominator);
        var("m");
        Skip(3);
        var("a");
        alpha2();
        // alpha2 leaves the pen 2 pixels up; the lines below follow it.
        PenY -= 14;
        PenX = xe;
    }

    PenX = float(TabX1);
    SkipH(2);
    text("楕円の形 (極座標)：");
    SkipW(1);
    var("r");
    text(" = ");
    barFraction(6,
                {22, -12, [this] {
                     pr(QStringLiteral("("));
                     dsp1_eps2();
                     pr(QStringLiteral(")"));
                     Skip(2);
                     var("a");
                 }},
                {18, 14, [] {
                     pr(QStringLiteral("1"));
                     Skip(4);
                     pr(QStringLiteral("+"));
                     Skip(4);
                     prEpsln();
                     Skip(4);
                     prCos();
                     prTheta();
                 }});

    PenX = float(TabX1);
    SkipH(2);
    text("二つの座標系の関係 (右図)");
    PenX = float(TabX2);
    SkipH(1.2f);
    const float firstRow = PenY;
    {
        // Two equations held by one brace: a case block.
        Construct both(c, Group::Cases);
        drawAs(c, Group::Row, [] {
            var("x");
            text(" = ");
            var("r");
            Skip(2);
            prCos();
            prTheta();
            text(" + ");
            var("a");
            Skip(2);
            prEpsln();
        });
        PenX = float(TabX2);
        SkipH(1.2f);
        drawAs(c, Group::Row, [] {
            var("y");
            text(" = ");
            var("r");
            Skip(2);
            prSin();
            prTheta();
        });
        ColBrace(0, float(TabX2 - 1.4 * UnitW), float(firstRow + 0.6 * UnitH), 0.3f);
    }

    // The period: area over areal velocity.
    PenX = float(TabX1);
    SkipH(2);
    text("公転周期：  ");
    var("T");
    text(" = ");
    // The words a size smaller, so that the row below keeps clear of them.
    barFraction(6, {13, -10, [&c] { smallWords(c, "楕円の面積"); }},
                {21, 13, [&c] { smallWords(c, "面積速度"); }});
    text(" = ");
    barFraction(3,
                {10, -10, [&c] {
                     dsp_pi(c, PenX, PenY);
                     Skip(1);
                     var("a");
                     Skip(1);
                     var("b");
                 }},
                {6, 13, [] {
                     var("L");
                     pr(QStringLiteral("/"));
                     pr(QStringLiteral("2"));
                     var("m");
                 }});
    text(" = ");
    pr2pi(PenX, PenY);
    Skip(2);
    massOverAlpha(true);

    PenX = float(TabX1);
    SkipH(2);
    text("角振動数：  ");
    omega();
    text(" = ");
    barFraction(2, {6, -10, [] { pr2pi(PenX, PenY); }}, {11, 13, [] { var("T"); }});
    text(" = ");
    massOverAlpha(false);

    drawAs(*CurPic, Group::Figure, [this] { OrbitFigure(); });
}

// √(m a³/α) or √(α/(m a³)) under a gray radical.
void BirchChapter::massOverAlpha(bool massOnTop) {
    // The bar 2 px above the raised 3 of a³, which it all but touched.
    birch::radical(12, 4, -28, 4, colGray);
    Skip(2);
    const auto mass = [] {
        var("m");
        Skip(2);
        var("a");
        prSup(QStringLiteral("3"));
    };
    const auto alpha = [] { prAlpha(); };
    if (massOnTop)
        birch::barFraction(2, {2, -10, mass}, {12, 13, alpha});
    else
        // the mass sits 2 px lower than alpha would: the raised 3 must clear the bar
        birch::barFraction(2, {13, -10, alpha}, {2, 15, mass});
}

}  // namespace chapters
