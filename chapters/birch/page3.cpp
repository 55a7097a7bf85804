// Page 3: the Fourier series of the planet's coordinates, whose
// coefficients are Bessel functions, and the integrals that define them.
#include "birch_chapter.h"

#include "constructs.h"
#include "context.h"
#include "markup.h"
#include "operators.h"
#include "page_opening.h"
#include "pen.h"
#include "pieces.h"
#include "state.h"
#include "symbols.h"
#include "text.h"

namespace chapters {

using birch::text;
using birch::var;
using birch::omegaT;

namespace {
void ofT(const char* v) { prFunc(QString::fromUtf8(v), QStringLiteral("t")); }

// v(t)/a with v(t) 12 pixels above the bar and a 10 below.
void overA(const char* v) {
    birch::barFraction(2, {1, -12, [v] { ofT(v); }}, {13, 10, [] { var("a"); }});
    Skip(3);
}

// (nε)
void ofNEps() {
    text("(");
    var("n");
    prEpsln();
    Skip(1);
    text(")");
}

// Σ_{n=1}^{∞} at the pen, a little space after it.
void sumFromOne() {
    Skip(2);
    dsp_sum(*CurPic, PenX, PenY, QStringLiteral("n=1"), QStringLiteral("∞"));
    Skip(6);
}

// cos nωt or sin nωt
void trigNOmegaT(bool cosine) {
    Skip(4);
    if (cosine) prCos();
    else prSin();
    var("n");
    omegaT();
}

// (nu − x sin u) du, closing an integrand.
void besselPhase() {
    text("(");
    var("n");
    var("u");
    prMinus();
    var("x");
    Skip(2);
    prSin();
    var("u");
    text(")");
    Skip(4);
    prDiff(QStringLiteral("u"));
}

void besselIntegral() {
    text(" = ");
    prOver2Pi();
    // The pen ends after 2π, under the bar: the lower hook of the sign
    // curls back to within a pixel of the π unless it starts 5 px on.
    Skip(5);
    dsp_integral(*CurPic, PenX, PenY, QStringLiteral("2pi"), QStringLiteral("0"));
    // The upper limit 2π reaches past where the integrand would start: at
    // 5 px it stood over the c of cos.
    Skip(8);
}
}  // namespace

void BirchChapter::pic3() {
    Canvas& c = *CurPic;
    c.FontSize = BaseSize;
    openPage(QStringLiteral("(5)  フーリエ級数による表示."));
    ofT("x");
    text(" と ");
    ofT("y");
    text(" はどちらも周期 ");
    var("T");
    text(" の周期関数なので，フーリエ級数に展開できる。");
    NewLine();
    text("計算はやや込み入っているので，先に結果を示しておこう。");

    PenX = float(TabX2);
    SkipH(1.8f);
    overA("x");
    text(" = ");
    prMinus();
    dsp_half(c, PenX, PenY);
    Skip(2);
    prEpsln();
    Skip(2);
    text(" + ");
    sumFromOne();
    prFrac(QStringLiteral("2"), QStringLiteral("n"));
    Skip(3);
    var("J");
    dsp_prime(c, PenX, PenY);
    prSub(QStringLiteral("n"));
    ofNEps();
    trigNOmegaT(true);

    PenX = float(TabX2);
    SkipH(2.8f);
    overA("y");
    text(" = ");
    Sqrt1_eps2();
    Skip(4);
    sumFromOne();
    prFrac(QStringLiteral("2"), QStringLiteral("nepsln"));
    Skip(3);
    var("J");
    prSub(QStringLiteral("n"));
    ofNEps();
    trigNOmegaT(false);

    PenX = float(LeftX);
    SkipH(2);
    text("右辺に現れるベッセル関数は，次の積分表示");
    PenX = float(TabX2);
    SkipH(2);
    var("J");
    prSub(QStringLiteral("n"));
    dsp_of_x(c, PenX, PenY);
    besselIntegral();
    prCos();
    besselPhase();
    PenX = float(TabX2);
    SkipH(2);
    var("J");
    dsp_prime(c, PenX, PenY);
    prSub(QStringLiteral("n"));
    dsp_of_x(c, PenX, PenY);
    besselIntegral();
    prSin();
    var("u");
    text(" · ");
    prSin();
    besselPhase();

    NewPara();
    text("から現れる。");
    PenX = float(LeftX);
    SkipH(2);
    text("動径 ");
    ofT("r");
    text(" = ");
    var("a");
    prMinus();
    prEpsln();
    Skip(2);
    ofT("x");
    text(" も，同じようにして展開することができる。");
}

}  // namespace chapters
