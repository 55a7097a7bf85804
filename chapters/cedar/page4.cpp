// Page 4: two uses of the Maxwell relations, the ideal gas and the relation
// between the two heat capacities.
#include "cedar_chapter.h"

#include "context.h"
#include "markup.h"
#include "page_opening.h"
#include "pen.h"
#include "state.h"
#include "symbols.h"
#include "text.h"

namespace chapters {

namespace {

void eq() {
    Skip(4);
    pr(QStringLiteral("＝"));
    Skip(4);
}

void plus() {
    Skip(4);
    pr(QStringLiteral("＋"));
    Skip(4);
}

void sub(const char* var, const char* index) {
    prVar(QString::fromLatin1(var));
    prSub(QString::fromLatin1(index));
}

// TVβ²/κ_T built up at the pen.
void betaOverKappa() {
    Canvas& c = *CurPic;
    Construct fraction(c, Group::Fraction);
    const float x0 = PenX, y0 = PenY;
    PenY = y0 - 13;
    PenX = x0 + 2;
    drawAs(c, Group::Numerator, [] {
        prVar(QStringLiteral("T"));
        Skip(1);
        prVar(QStringLiteral("V"));
        Skip(2);
        prBeta();
        prSup(QStringLiteral("2"));
    });
    const float xn = PenX;
    PenY = y0 + 12;
    PenX = x0 + 8;
    drawAs(c, Group::Denominator, [] {
        prKappa();
        prSub(QStringLiteral("T"));
    });
    const float w = std::max(xn, PenX) - x0 + 2;
    c.Line(x0, y0 + 12, x0 + w, y0 + 12, c.ForeColor);
    PenX = x0 + w + 4;
    PenY = y0;
}

}  // namespace

void CedarChapter::pic4() {
    CurPic->FontSize = BaseSize;
    openPage(QStringLiteral("(8)  理想気体の定義"));
    pr(QStringLiteral("理想気体は，次の２つの性質で定義されます．"));
    NewLine();
    pr(QStringLiteral("(A)  内部エネルギー "));
    prVar(QStringLiteral("U"));
    pr(QStringLiteral(" は温度 "));
    prVar(QStringLiteral("T"));
    pr(QStringLiteral(" だけで決まり，体積 "));
    prVar(QStringLiteral("V"));
    pr(QStringLiteral(" にはよらない．"));
    NewLine();
    pr(QStringLiteral("(B)  １モルの状態方程式は "));
    prVar(QStringLiteral("p"));
    Skip(2);
    prVar(QStringLiteral("V"));
    pr(QStringLiteral(" ＝ "));
    prVar(QStringLiteral("R"));
    Skip(2);
    prVar(QStringLiteral("T"));
    pr(QStringLiteral(" である．"));
    NewLine();
    pr(QStringLiteral("じつは (B) を仮定すると (A) が導かれます．[1] で "));
    prVar(QStringLiteral("T"));
    pr(QStringLiteral(" を一定にして "));
    dif(QStringLiteral("V"));
    pr(QStringLiteral(" で割ると"));
    SkipH(1.8f);
    PenX = float(TabX2);
    prPartial(QStringLiteral("U"), QStringLiteral("V"), QStringLiteral("T"));
    eq();
    prVar(QStringLiteral("T"));
    Skip(2);
    prPartial(QStringLiteral("S"), QStringLiteral("V"), QStringLiteral("T"));
    prMinus();
    prVar(QStringLiteral("p"));
    eq();
    prVar(QStringLiteral("T"));
    Skip(2);
    prPartial(QStringLiteral("p"), QStringLiteral("T"), QStringLiteral("V"));
    prMinus();
    prVar(QStringLiteral("p"));
    SkipH(1.8f);
    PenX = float(LeftX);
    pr(QStringLiteral("ここで "));
    prVar(QStringLiteral("F"));
    pr(QStringLiteral(" から導いた (M2) を使いました．状態方程式から "));
    prVar(QStringLiteral("p"));
    pr(QStringLiteral(" ＝ "));
    prVar(QStringLiteral("R"));
    Skip(2);
    prVar(QStringLiteral("T"));
    pr(QStringLiteral("/"));
    prVar(QStringLiteral("V"));
    pr(QStringLiteral(" を"));
    NewLine();
    pr(QStringLiteral("代入すると，右辺はちょうど 0 になります．"));

    SkipH(1.5f);
    PenX = float(TabX1);
    prBlue(QStringLiteral("(9)  定圧比熱と定積比熱の関係："));
    Skip(8);
    sub("C", "p");
    eq();
    sub("C", "V");
    plus();
    betaOverKappa();
    PenX = float(LeftX);
    SkipH(1.8f);
    prVar(QStringLiteral("S"));
    pr(QStringLiteral(" を "));
    prVar(QStringLiteral("T"));
    pr(QStringLiteral(" と "));
    prVar(QStringLiteral("V"));
    pr(QStringLiteral(" の関数とみて，(M2) を使うと"));
    SkipH(1.8f);
    PenX = float(TabX2);
    dif(QStringLiteral("S"));
    eq();
    prPartial(QStringLiteral("S"), QStringLiteral("T"), QStringLiteral("V"));
    Skip(2);
    dif(QStringLiteral("T"));
    plus();
    prPartial(QStringLiteral("S"), QStringLiteral("V"), QStringLiteral("T"));
    Skip(2);
    dif(QStringLiteral("V"));
    eq();
    prPartial(QStringLiteral("S"), QStringLiteral("T"), QStringLiteral("V"));
    Skip(2);
    dif(QStringLiteral("T"));
    plus();
    prPartial(QStringLiteral("p"), QStringLiteral("T"), QStringLiteral("V"));
    Skip(2);
    dif(QStringLiteral("V"));
    SkipH(1.8f);
    PenX = float(LeftX);
    prVar(QStringLiteral("p"));
    pr(QStringLiteral(" を一定にして "));
    prVar(QStringLiteral("T"));
    pr(QStringLiteral(" をかけ，"));
    dif(QStringLiteral("T"));
    pr(QStringLiteral(" で割ると"));
    SkipH(1.8f);
    PenX = float(TabX2);
    prVar(QStringLiteral("T"));
    Skip(2);
    prPartial(QStringLiteral("S"), QStringLiteral("T"), QStringLiteral("p"));
    eq();
    prVar(QStringLiteral("T"));
    Skip(2);
    prPartial(QStringLiteral("S"), QStringLiteral("T"), QStringLiteral("V"));
    plus();
    prVar(QStringLiteral("T"));
    Skip(2);
    prPartial(QStringLiteral("p"), QStringLiteral("T"), QStringLiteral("V"));
    Skip(3);  // the subscript V leans into the next parenthesis
    prPartial(QStringLiteral("V"), QStringLiteral("T"), QStringLiteral("p"));
    SkipH(1.8f);
    PenX = float(LeftX);
    pr(QStringLiteral("すなわち"));
    SkipH(1.8f);
    PenX = float(TabX2);
    sub("C", "p");
    eq();
    sub("C", "V");
    plus();
    prVar(QStringLiteral("T"));
    Skip(2);
    prPartial(QStringLiteral("p"), QStringLiteral("T"), QStringLiteral("V"));
    Skip(3);  // the subscript V leans into the next parenthesis
    prPartial(QStringLiteral("V"), QStringLiteral("T"), QStringLiteral("p"));
    eq();
    sub("C", "V");
    plus();
    betaOverKappa();
    SkipH(1.8f);
    PenX = float(LeftX);
    pr(QStringLiteral("が得られます．ここで "));
    prBeta();
    pr(QStringLiteral(" は体膨張率，"));
    prKappa();
    prSub(QStringLiteral("T"));
    pr(QStringLiteral(" は等温圧縮率です．"));
}

}  // namespace chapters
