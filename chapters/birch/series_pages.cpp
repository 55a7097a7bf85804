// Pages 4 and 5: the Fourier coefficients of cos u(t) and sin u(t), each
// found by one integration by parts, and how far the series can be trusted.
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

#include <cstring>

namespace chapters {

using birch::text;
using birch::var;
using birch::omegaT;

namespace {
void uOfT() { prFunc(QStringLiteral("u"), QStringLiteral("t")); }

void trig(bool cosine) {
    if (cosine) prCos();
    else prSin();
}

// cos nωt or sin nωt
void trigNOmegaT(bool cosine) {
    trig(cosine);
    var("n");
    omegaT();
}

// Σ_{n=0}^{∞}
void sumFromZero() {
    Skip(2);
    dsp_sum(*CurPic, PenX, PenY, QStringLiteral("n=0"), QStringLiteral("∞"));
    Skip(6);
}

// ∫_0^{upper}
void integral(const char* upper) {
    Skip(2);
    dsp_integral(*CurPic, PenX, PenY, QString::fromUtf8(upper), QStringLiteral("0"));
    // The upper limit reaches past where the integrand would start; 2π
    // further, and stood over the c of cos.
    Skip(std::strlen(upper) > 1 ? 8 : 5);
}

// X_n or X_0
void coefficient(const char* name, const char* index) {
    var(name);
    prSub(QString::fromUtf8(index));
}

// (nu − nε sin u) du
void scaledPhase() {
    text("(");
    var("n");
    var("u");
    prMinus();
    var("n");
    prEpsln();
    Skip(2);
    prSin();
    var("u");
    text(")");
    Skip(4);
    prDiff(QStringLiteral("u"));
}

// (1 − ε cos u)
void oneMinusEpsCos() {
    text("(1");
    prMinus();
    prEpsln();
    Skip(2);
    prCos();
    var("u");
    text(")");
}
}  // namespace

void BirchChapter::seriesHeading(const QString& number, bool sine) {
    Canvas& c = *CurPic;
    c.ForeColor = colBlue;
    pr(number);
    trig(!sine);
    uOfT();
    pr(QStringLiteral("  をフーリエ級数に展開する."));
    c.ForeColor = DefFore;
}

void BirchChapter::cancelStrokes(float fracStart, float dtStart, float lineY) {
    Canvas& c = *CurPic;
    const double dx = 3 * UnitW, dy = -0.4 * UnitH;
    const double y1 = lineY + 1.1 * UnitH, y2 = lineY + 0.6 * UnitH;
    c.Line(fracStart - 6, y1, fracStart - 6 + dx, y1 + dy, colLime);
    c.Line(dtStart - 4, y2, dtStart - 4 + dx, y2 + dy, colLime);
}

// = 0 + 2/(nωT) ∫_0^T f u (du/dt) f nωt dt, the two dt's struck out.
void BirchChapter::partsIntegral(bool cosineSeries) {
    text(" = 0 + ");
    prFrac(QStringLiteral("2"), QStringLiteral("nomegaT"));
    integral("T");
    trig(!cosineSeries);
    var("u");
    Skip(4);
    const float fracStart = PenX;
    prFrac(QStringLiteral("du"), QStringLiteral("dt"));
    Skip(4);
    trigNOmegaT(!cosineSeries);
    Skip(4);
    const float dtStart = PenX;
    prDiff(QStringLiteral("t"));
    cancelStrokes(fracStart, dtStart, PenY);
}

void BirchChapter::pic4() {
    Canvas& c = *CurPic;
    c.FontSize = BaseSize;
    openPage();
    seriesHeading(QStringLiteral("(6)  "), false);

    PenX = float(LeftX);
    SkipH(1.5f);
    text("時間の偶関数 ");
    var("x");
    dsp_of_t(c, PenX, PenY);
    text("/");
    var("a");
    text(" = ");
    prCos();
    uOfT();
    text(" を，次のようにフーリエ級数に展開する。");
    PenX = float(TabX2);
    SkipH(1.8f);
    prCos();
    uOfT();
    text(" = ");
    sumFromZero();
    coefficient("C", "n");
    Skip(4);
    trigNOmegaT(true);

    PenX = float(LeftX);
    SkipH(1.8f);
    text("フーリエ係数は次の式で与えられる。");
    PenX = float(TabX2);
    SkipH(1.8f);
    coefficient("C", "n");
    text(" = ");
    prFrac(QStringLiteral("2"), QStringLiteral("T"));
    integral("T");
    prCos();
    uOfT();
    Skip(4);
    trigNOmegaT(true);
    Skip(4);
    prDiff(QStringLiteral("t"));
    text("   (");
    var("n");
    text(" ≠ 0),      ");
    coefficient("C", "0");
    text(" = ");
    prFrac(QStringLiteral("1"), QStringLiteral("T"));
    integral("T");
    prCos();
    uOfT();
    Skip(4);
    prDiff(QStringLiteral("t"));

    PenX = float(LeftX);
    SkipH(2);
    text("手始めに ");
    var("n");
    text(" = 0  の場合を考えると  ");
    c.FontSize = float(0.9 * BaseSize);
    prDiff(QStringLiteral("t"));
    text(" = ");
    prFrac(QStringLiteral("1"), QStringLiteral("omega"));
    Skip(2);  // the bar ran into the parenthesis
    oneMinusEpsCos();
    Skip(2);
    prDiff(QStringLiteral("u"));
    c.FontSize = BaseSize;
    text("  なので，");
    PenX = float(TabX2);
    SkipH(2);
    coefficient("C", "0");
    text(" = ");
    prFrac(QStringLiteral("1"), QStringLiteral("T"));
    integral("T");
    prCos();
    var("u");
    Skip(4);
    prDiff(QStringLiteral("t"));
    text(" = ");
    prOver2Pi();
    Skip(3);  // the sign's lower hook curls back towards the π (see page 3)
    integral("2pi");
    prCos();
    var("u");
    Skip(2);
    oneMinusEpsCos();
    Skip(4);
    prDiff(QStringLiteral("u"));
    text(" = ");
    prMinus();
    dsp_half(c, PenX, PenY);
    Skip(2);
    prEpsln();

    PenX = float(LeftX);
    SkipH(2);
    var("n");
    text(" ≠ 0 のときは，部分積分を一度行うと，");
    PenX = float(TabX2);
    SkipH(2);
    coefficient("C", "n");
    partsIntegral(true);
    PenX = float(TabX2 + 2 * UnitW);
    SkipH(2.2f);
    text(" = ");
    prFrac(QStringLiteral("1"), QStringLiteral("npi"));
    integral("2pi");
    prSin();
    var("u");
    text(" · ");
    prSin();
    scaledPhase();
    text(" = ");
    prFrac(QStringLiteral("2"), QStringLiteral("n"));
    Skip(3);
    var("J");
    dsp_prime(c, PenX, PenY);
    prSub(QStringLiteral("n"));
    text("(");
    var("n");
    prEpsln();
    Skip(1);
    text(")");
}

void BirchChapter::pic5() {
    Canvas& c = *CurPic;
    c.FontSize = BaseSize;
    openPage();
    seriesHeading(QStringLiteral("(7)  "), true);

    PenX = float(LeftX);
    SkipH(1.5f);
    text("時間の奇関数 ");
    var("y");
    dsp_of_t(c, PenX, PenY);
    text("/");
    var("b");
    text(" = ");
    prSin();
    uOfT();
    text(" も同じように，フーリエ級数");
    PenX = float(TabX2);
    SkipH(1.8f);
    prSin();
    uOfT();
    text(" = ");
    sumFromZero();
    coefficient("S", "n");
    Skip(4);
    trigNOmegaT(false);
    text(" ,      ");
    coefficient("S", "n");
    text(" = ");
    prFrac(QStringLiteral("2"), QStringLiteral("T"));
    integral("T");
    prSin();
    uOfT();
    Skip(4);
    trigNOmegaT(false);
    Skip(4);
    prDiff(QStringLiteral("t"));
    PenX = float(LeftX);
    SkipH(1.8f);
    text("に展開する。係数は，やはり部分積分を一度行うと，");

    PenX = float(TabX2);
    SkipH(2);
    coefficient("S", "n");
    partsIntegral(false);
    PenX = float(TabX2 + 2 * UnitW);
    SkipH(2.2f);
    text(" = ");
    prFrac(QStringLiteral("1"), QStringLiteral("npi"));
    integral("2pi");
    prCos();
    var("u");
    text(" · ");
    prCos();
    scaledPhase();

    PenX = float(LeftX);
    SkipH(2.2f);
    text("　ここで  ");
    prCos();
    var("u");
    text(" = ");
    prMinus();
    prFrac(QStringLiteral("1"), QStringLiteral("epsln"));
    Skip(2);  // the bar ran into the parenthesis
    oneMinusEpsCos();
    text(" + ");
    prFrac(QStringLiteral("1"), QStringLiteral("epsln"));
    text("  と分解すると，初項の積分は 0 になり，");
    PenX = float(TabX2);
    SkipH(2);
    coefficient("S", "n");
    text(" = ");
    prFrac(QStringLiteral("2"), QStringLiteral("nepsln"));
    Skip(3);
    var("J");
    prSub(QStringLiteral("n"));
    text("(");
    var("n");
    prEpsln();
    Skip(1);
    text(")");
    text("  が得られる。");

    PenX = float(TabX1);
    SkipH(2);
    prBlue(QStringLiteral("(8)  フーリエ級数の有効性"));
    PenX = float(LeftX);
    SkipH(1.5f);
    text("これで，惑星の位置 ");
    var("x");
    dsp_of_t(c, PenX, PenY);
    text(", ");
    var("y");
    dsp_of_t(c, PenX, PenY);
    text(" が時刻 ");
    var("t");
    text(" の関数として表された。これらの式は");
    NewLine();
    text("離心率 ");
    prEpsln();
    Skip(2);
    text(" が小さいときには有用であるが，");
    prEpsln();
    Skip(2);
    text(" が 1 に近づくと級数の収束は急速に");
    NewLine();
    text("悪くなる。一般に ");
    var("J");
    prSub(QStringLiteral("n"));
    text("(");
    var("n");
    Skip(1);
    text(")");
    text(" は ");
    var("n");
    prSup(QStringLiteral("-1/3"));
    text(" に比例して，ゆっくりとしか減少しないからである。");
}

}  // namespace chapters
