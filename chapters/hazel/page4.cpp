// Page 4: evaluating the interpolated series by a recurrence, with its proof
// by induction.
#include "hazel_chapter.h"

#include "constructs.h"
#include "context.h"
#include "markup.h"
#include "operators.h"
#include "pen.h"
#include "state.h"
#include "symbols.h"

namespace chapters {

namespace {

void sum(const QString& lower, const QString& upper) {
    dsp_sum(*CurPic, PenX, PenY, lower, upper);
}

void var(const QString& a, const QString& b) { prVarSub(a, b); }

void text(const char* s) { pr(QString::fromUtf8(s)); }

// "2x" as a coefficient.
void twoX() {
    text("2");
    prVar(QStringLiteral("x"));
}

// "(a − b)" of two subscripted variables.
void diff(const QString& a, const QString& i, const QString& b, const QString& j) {
    text("(");
    if (a == QLatin1String("f")) Skip(2);  // the italic f's hook reaches back into the parenthesis
    var(a, i);
    prMinus();
    var(b, j);
    text(")");
}

}  // namespace

void HazelChapter::pic4() {
    pageStart(QStringLiteral("(6)  補間により得られたチェビシェフ級数を計算する."));
    text("係数 ");
    var(QStringLiteral("c"), QStringLiteral("k"));
    text(" が求まれば，任意の ");
    prVar(QStringLiteral("x"));
    text(" に対する近似値");

    SkipH(1.8f);
    PenX = float(TabX2);
    prFunc(QStringLiteral("F"), QStringLiteral("x"));
    text(" = ");
    sum(QStringLiteral("k=0"), QStringLiteral("n"));
    Skip(4);
    var(QStringLiteral("c"), QStringLiteral("k"));
    Skip(2);
    T(QStringLiteral("k"));

    SkipH(1.8f);
    PenX = float(LeftX);
    text("は，次の漸化式を使って速く簡単に計算できます．");

    NewPara();
    PenX = float(TabX2);
    var(QStringLiteral("f"), QStringLiteral("0"));
    text(" = ");
    var(QStringLiteral("c"), QStringLiteral("n"));
    text(" ,     ");
    var(QStringLiteral("f"), QStringLiteral("1"));
    text(" = ");
    twoX();
    Skip(2);
    var(QStringLiteral("c"), QStringLiteral("n"));
    text(" + ");
    var(QStringLiteral("c"), QStringLiteral("n-1"));
    text(" ,");
    NewLine();
    PenX = float(TabX2);
    var(QStringLiteral("f"), QStringLiteral("k"));
    text(" = ");
    twoX();
    Skip(2);
    var(QStringLiteral("f"), QStringLiteral("k-1"));
    prMinus();
    var(QStringLiteral("f"), QStringLiteral("k-2"));
    text(" + ");
    var(QStringLiteral("c"), QStringLiteral("n-k"));
    text("     (");
    prVar(QStringLiteral("k"));
    text(" = 2 ～ ");
    prVar(QStringLiteral("n"));
    text(")");

    SkipH(2.0f);
    PenX = float(LeftX);
    text("このとき");
    PenX = float(TabX3);
    var(QStringLiteral("f"), QStringLiteral("k"));
    prMinus();
    var(QStringLiteral("f"), QStringLiteral("k-2"));
    text(" = 2 ");
    sum(QStringLiteral("j=1"), QStringLiteral("k"));
    Skip(4);
    var(QStringLiteral("T"), QStringLiteral("j"));
    Skip(2);
    var(QStringLiteral("c"), QStringLiteral("n-k+j"));
    text(" + ");
    var(QStringLiteral("c"), QStringLiteral("n-k"));

    SkipH(2.0f);
    PenX = float(LeftX);
    text("が成り立つので，求める値は ");
    Skip(4);
    prFunc(QStringLiteral("F"), QStringLiteral("x"));
    text(" = ");
    prFrac(QStringLiteral("1"), QStringLiteral("2"));
    text(" (");
    Skip(2);  // the italic f's hook reaches back into the parenthesis
    var(QStringLiteral("f"), QStringLiteral("n"));
    prMinus();
    var(QStringLiteral("f"), QStringLiteral("n-2"));
    text(" + ");
    var(QStringLiteral("c"), QStringLiteral("0"));
    text(") です．");

    SkipH(1.5f);
    PenX = float(LeftX);
    text("［数学的帰納法による証明］  ");
    prVar(QStringLiteral("k"));
    text(" まで成り立つとすると，");
    SkipH(1.5f);
    PenX = float(TabX2);
    var(QStringLiteral("f"), QStringLiteral("k+1"));
    prMinus();
    var(QStringLiteral("f"), QStringLiteral("k-1"));
    text(" = ");
    twoX();
    Skip(2);
    diff(QStringLiteral("f"), QStringLiteral("k"), QStringLiteral("f"), QStringLiteral("k-2"));
    prMinus();
    diff(QStringLiteral("f"), QStringLiteral("k-1"), QStringLiteral("f"), QStringLiteral("k-3"));
    text(" + ");
    diff(QStringLiteral("c"), QStringLiteral("n-k-1"), QStringLiteral("c"), QStringLiteral("n-k+1"));

    NewPara();
    text("ここで ");
    twoX();
    Skip(2);
    var(QStringLiteral("T"), QStringLiteral("j"));
    text(" = ");
    var(QStringLiteral("T"), QStringLiteral("j+1"));
    text(" + ");
    var(QStringLiteral("T"), QStringLiteral("j-1"));
    text(" を使うと，右辺は");

    SkipH(2.0f);
    PenX = float(TabX2);
    const float eqX = PenX;
    text("= 2 ");
    sum(QStringLiteral("j=1"), QStringLiteral("k"));
    Skip(4);
    text("(");
    var(QStringLiteral("T"), QStringLiteral("j+1"));
    text(" + ");
    var(QStringLiteral("T"), QStringLiteral("j-1"));
    text(")");
    Skip(2);
    var(QStringLiteral("c"), QStringLiteral("n-k+j"));
    text(" + 2");
    var(QStringLiteral("T"), QStringLiteral("1"));
    Skip(2);
    var(QStringLiteral("c"), QStringLiteral("n-k"));

    SkipH(2.6f);
    PenX = float(eqX + 2 * UnitW);
    prMinus();
    text("2 ");
    sum(QStringLiteral("j=1"), QStringLiteral("k-1"));
    Skip(4);
    var(QStringLiteral("T"), QStringLiteral("j"));
    Skip(2);
    var(QStringLiteral("c"), QStringLiteral("n-k+1+j"));
    prMinus();
    var(QStringLiteral("c"), QStringLiteral("n-k+1"));
    text(" + ");
    diff(QStringLiteral("c"), QStringLiteral("n-k-1"), QStringLiteral("c"), QStringLiteral("n-k+1"));

    SkipH(2.6f);
    PenX = eqX;
    text("= 2 ");
    sum(QStringLiteral("j=1"), QStringLiteral("k+1"));
    Skip(4);
    var(QStringLiteral("T"), QStringLiteral("j"));
    Skip(2);
    var(QStringLiteral("c"), QStringLiteral("n-k-1+j"));
    text(" + ");
    var(QStringLiteral("c"), QStringLiteral("n-k-1"));

    SkipH(1.8f);
    PenX = float(LeftX);
    text("となり，");
    prVar(QStringLiteral("k"));
    text(" + 1 でも成り立ちます．");
}

}  // namespace chapters
