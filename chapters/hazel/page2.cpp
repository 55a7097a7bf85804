// Page 2: Chebyshev interpolation, the coefficients found from discrete
// orthogonality on the zeros of T_N.
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

// Sum sign with limits at the pen.
void sum(const QString& lower, const QString& upper) {
    dsp_sum(*CurPic, PenX, PenY, lower, upper);
}

// f(x_j), g(x_j), ...
void ofXj(const QString& f) {
    prVar(f);
    Skip(2);  // the italic f's hook reaches into the parenthesis
    pr(QStringLiteral("("));
    prVarSub(QStringLiteral("x"), QStringLiteral("j"));
    pr(QStringLiteral(")"));
}

}  // namespace

void HazelChapter::pic2() {
    pageStart(QStringLiteral("(4) チェビシェフ補間"));
    pr(QStringLiteral("上の例では，テイラー級数を並べかえてチェビシェフ級数を作りました．しかし，"));
    NewLine();
    pr(QStringLiteral("テイラー級数は実は不要です．任意の "));
    prVar(QStringLiteral("x"));
    pr(QStringLiteral(" について "));
    prFunc(QStringLiteral("f"), QStringLiteral("x"));
    pr(QStringLiteral(" が計算できれば，チェビシェフ級数"));

    SkipH(1.7f);
    PenX = float(TabX2);
    prFunc(QStringLiteral("f"), QStringLiteral("x"));
    pr(QStringLiteral("  ～  "));
    sum(QStringLiteral("k=0"), QStringLiteral("n"));
    Skip(4);
    prVarSub(QStringLiteral("c"), QStringLiteral("k"));
    Skip(2);
    T(QStringLiteral("k"));

    SkipH(1.7f);
    PenX = float(LeftX);
    pr(QStringLiteral("の係数 "));
    prVarSub(QStringLiteral("c"), QStringLiteral("k"));
    pr(QStringLiteral(" を，チェビシェフ多項式の"));
    prBlue(QStringLiteral("選点直交性"));
    pr(QStringLiteral("を使って決めることができます．"));

    NewPara();
    pr(QStringLiteral("選点直交性とは次のことです．大きな次数 "));
    prVar(QStringLiteral("N"));
    pr(QStringLiteral(" のチェビシェフ多項式 "));
    T(QStringLiteral("N"));
    pr(QStringLiteral(" の零点"));

    SkipH(1.5f);
    PenX = float(TabX2);
    prVarSub(QStringLiteral("x"), QStringLiteral("j"));
    pr(QStringLiteral(" = "));
    prCos();
    prTheta();
    prSub(QStringLiteral("j"));
    pr(QStringLiteral(" ,     "));
    prTheta();
    prSub(QStringLiteral("j"));
    pr(QStringLiteral(" = "));
    // Parentheses of the text's size stopped short of the fraction inside:
    // tall ones enclose it.
    prInTallParens(
        [] {
            prVar(QStringLiteral("j"));
            prMinus();
            prFrac(QStringLiteral("1"), QStringLiteral("2"));
        },
        11);  // clear of the bar of π/N
    prFrac(QStringLiteral("pi"), QStringLiteral("N"));
    pr(QStringLiteral("     ("));
    Skip(3);  // the tail of the italic j runs under the parenthesis
    prVar(QStringLiteral("j"));
    pr(QStringLiteral(" = 1 ～ "));
    prVar(QStringLiteral("N"));
    Skip(2);  // the bold italic N leans into the parenthesis
    pr(QStringLiteral(")"));

    SkipH(1.5f);
    PenX = float(LeftX);
    pr(QStringLiteral("をとり，"));
    ofXj(QStringLiteral("f"));
    pr(QStringLiteral(" を "));
    prVar(QStringLiteral("N"));
    pr(QStringLiteral(" 次元のベクトルとみなして，内積を"));

    SkipH(1.7f);
    PenX = float(TabX2);
    pr(QStringLiteral("("));
    prVar(QStringLiteral("f"));
    pr(QStringLiteral(", "));
    prVar(QStringLiteral("g"));
    pr(QStringLiteral(")  =  "));
    sum(QStringLiteral("j=1"), QStringLiteral("N"));
    Skip(4);
    ofXj(QStringLiteral("f"));
    Skip(2);
    ofXj(QStringLiteral("g"));

    SkipH(1.7f);
    PenX = float(LeftX);
    pr(QStringLiteral("で定義します．すると，"));
    prVar(QStringLiteral("N"));
    pr(QStringLiteral(" より低い次数のチェビシェフ多項式 "));
    prVarSub(QStringLiteral("T"), QStringLiteral("k"));
    pr(QStringLiteral(", "));
    prVarSub(QStringLiteral("T"), QStringLiteral("l"));
    pr(QStringLiteral(" について"));

    // Three cases, the values and the conditions in columns.
    SkipH(1.5f);
    PenX = float(TabX2);
    pr(QStringLiteral("("));
    prVarSub(QStringLiteral("T"), QStringLiteral("k"));
    pr(QStringLiteral(", "));
    prVarSub(QStringLiteral("T"), QStringLiteral("l"));
    pr(QStringLiteral(")  =  "));
    const float valueX = PenX;
    const float condX = float(valueX + 8 * UnitW);
    // "(k = l", "(k ≠ l" in the conditions' column.
    const auto condition = [condX](const char* sign) {
        PenX = condX;
        pr(QStringLiteral("("));
        prVar(QStringLiteral("k"));
        pr(QString::fromUtf8(sign));
        prVar(QStringLiteral("l"));
    };
    {
        Construct cases(*CurPic, Group::Cases);
        drawAs(*CurPic, Group::Row, [&] {
            prFrac(QStringLiteral("N"), QStringLiteral("2"));
            condition(" = ");
            pr(QStringLiteral(" ≠ 0)"));
        });

        SkipH(1.6f);
        drawAs(*CurPic, Group::Row, [&] {
            PenX = valueX + 4;
            prVar(QStringLiteral("N"));
            condition(" = ");
            pr(QStringLiteral(" = 0)"));
        });

        NewLine();
        drawAs(*CurPic, Group::Row, [&] {
            PenX = valueX + 4;
            pr(QStringLiteral("0"));
            condition(" ≠ ");
            Skip(2);  // the italic l leans into the parenthesis
            pr(QStringLiteral(")"));
        });
    }

    NewPara();
    pr(QStringLiteral("が成り立ちます．これをさっそく使うと（証明は後で示します），係数は"));

    SkipH(1.7f);
    PenX = float(TabX2);
    prVarSub(QStringLiteral("c"), QStringLiteral("k"));
    pr(QStringLiteral(" = "));
    prFrac(QStringLiteral("2"), QStringLiteral("N"));
    pr(QStringLiteral(" ("));
    prVarSub(QStringLiteral("T"), QStringLiteral("k"));
    pr(QStringLiteral(", "));
    prVar(QStringLiteral("f"));
    Skip(2);  // the italic f's hook reaches into the parenthesis
    pr(QStringLiteral(") = "));
    prFrac(QStringLiteral("2"), QStringLiteral("N"));
    Skip(4);
    sum(QStringLiteral("j=1"), QStringLiteral("N"));
    Skip(4);
    prVarSub(QStringLiteral("T"), QStringLiteral("k"));
    pr(QStringLiteral("("));
    prVarSub(QStringLiteral("x"), QStringLiteral("j"));
    pr(QStringLiteral(")"));
    Skip(2);
    ofXj(QStringLiteral("f"));
    pr(QStringLiteral(" ,"));

    // Room for the limits of both sums: at 2.5 lines the lower limit above
    // stood on the upper limit below.
    SkipH(2.8f);
    PenX = float(TabX2);
    prVarSub(QStringLiteral("c"), QStringLiteral("0"));
    pr(QStringLiteral(" = "));
    prFrac(QStringLiteral("1"), QStringLiteral("N"));
    pr(QStringLiteral(" ("));
    prVarSub(QStringLiteral("T"), QStringLiteral("0"));
    pr(QStringLiteral(", "));
    prVar(QStringLiteral("f"));
    Skip(2);  // the italic f's hook reaches into the parenthesis
    pr(QStringLiteral(") = "));
    prFrac(QStringLiteral("1"), QStringLiteral("N"));
    Skip(4);
    sum(QStringLiteral("j=1"), QStringLiteral("N"));
    Skip(4);
    ofXj(QStringLiteral("f"));

    SkipH(1.7f);
    PenX = float(LeftX);
    pr(QStringLiteral("によって決まります．"));
}

}  // namespace chapters
