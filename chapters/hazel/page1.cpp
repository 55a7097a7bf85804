// Page 1: the Chebyshev series of e^x with its coefficients, and the graphs
// that compare its error with the Taylor polynomial's.
#include "hazel_chapter.h"

#include "page_opening.h"

#include "context.h"
#include "markup.h"
#include "number_format.h"
#include "pen.h"
#include "state.h"

namespace chapters {

// "  +  c_k T_k(x)": the first two coefficients without a leading zero, the
// others to five places.
void HazelChapter::coefficientTerm(int k) {
    if (k > 0) pr(QStringLiteral("  +  "));
    if (k < 2) {
        pr(Format(Coef[size_t(k)], QStringLiteral("#.#####")));
        if (k == 1) {
            Skip(2);
            prVar(QStringLiteral("x"));
        }
        return;
    }
    pr(Format(Coef[size_t(k)], QStringLiteral("0.####0")));
    Skip(4);
    T(QString::number(k));
}

void HazelChapter::pic1() {
    Canvas& c = *CurPic;
    c.FontSize = BaseSize;
    openPage();
    storeExpCoefficients(Coef);

    NewPara();
    PenX = float(TabX1) + UnitW;
    pr(QStringLiteral("e"));
    prSup(QStringLiteral("x"));
    const float x0 = PenX;
    pr(QStringLiteral("  ～  "));
    for (int k = 0; k <= 3; ++k) coefficientTerm(k);
    PenX = x0;
    SkipH(1.2f);
    for (int k = 4; k <= 6; ++k) coefficientTerm(k);

    NewPara();
    pr(QStringLiteral("これが求める結果です．それでは，これらの式の誤差をグラフで比べてみましょう．"));

    SkipH(1.5f);
    PenX = float(TabX1);
    prBlue(QStringLiteral("(3) 誤差を比較する."));
    // Short lines: the right half of the page belongs to the graphs.
    NewPara();
    pr(QStringLiteral("テイラー級数を "));
    prVar(QStringLiteral("x"));
    prSup(QStringLiteral("5"));
    pr(QStringLiteral(" の項で打ち切ると，"));
    NewLine();
    pr(QStringLiteral("その誤差は右下のグラフの赤紫の"));
    NewLine();
    pr(QStringLiteral("曲線のようになります．両端"));
    NewLine();
    prVar(QStringLiteral("x"));
    pr(QStringLiteral(" = ±1 で誤差は最大となり，その"));
    NewLine();
    pr(QStringLiteral("大きさはおよそ 0.0014 (= 1/720)"));
    NewLine();
    pr(QStringLiteral("です．"));
    NewLine();
    pr(QStringLiteral("これに対して，チェビシェフ級数"));
    NewLine();
    pr(QStringLiteral("では "));
    T(QStringLiteral("4"));
    pr(QStringLiteral(" で打ち切れば同程度の"));
    NewLine();
    pr(QStringLiteral("精度が得られます．その誤差は緑の"));
    NewLine();
    pr(QStringLiteral("曲線で，ほとんど "));
    T(QStringLiteral("5"));
    pr(QStringLiteral(" そのもの"));
    NewLine();
    pr(QStringLiteral("の形をしています．"));
    NewLine();
    pr(QStringLiteral("この例のように，関数をチェビ"));
    NewLine();
    pr(QStringLiteral("シェフ級数で近似すると，テイラー"));
    NewLine();
    pr(QStringLiteral("級数より低い次数でよい精度が得"));
    NewLine();
    pr(QStringLiteral("られ，しかも誤差が区間全体にほぼ"));
    NewLine();
    pr(QStringLiteral("一様に広がるという"));
    prBlue(QStringLiteral("優れた性質"));
    pr(QStringLiteral("が"));
    NewLine();
    pr(QStringLiteral("あります．"));

    drawAs(*CurPic, Group::Figure, [this] { expGraph(); });
    drawAs(*CurPic, Group::Figure, [this] { errorGraph(); });
}

}  // namespace chapters
