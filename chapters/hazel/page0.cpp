// Page 0: what Chebyshev polynomials are for, and the Taylor series of e^x
// rewritten with them.
#include "hazel_chapter.h"

#include "constructs.h"
#include "context.h"
#include "markup.h"
#include "pen.h"
#include "page_opening.h"
#include "state.h"
#include "symbols.h"

namespace chapters {

namespace {

// x^p on a line of its own at TabX2, followed by " = ". The lines are 1.6
// apart, not a paragraph's 1.5: each fraction's denominator would end a
// pixel above the next one's numerator.
void powerIs(const QString& p) {
    SkipH(1.6f);
    PenX = float(TabX2);
    prVar(QStringLiteral("x"));
    prSup(p);
    pr(QStringLiteral(" = "));
}

}  // namespace

void HazelChapter::pic0() {
    openTitlePage(profile_.title, 20, 16);
    CurPic->FontSize = BaseSize;
    SupSize = 0.85f;  // kept for the rest of the run, as every page expects

    PenX = float(TabX1);
    prBlue(QStringLiteral("(1) 概 要"));
    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("チェビシェフ多項式 "));
    T(QStringLiteral("n"));
    pr(QStringLiteral(" は，物理学ではあまり使われませんが，関数近似"));
    NewLine();
    pr(QStringLiteral("の分野ではたいへんよく使われます．"));

    SkipH(1.5f);
    PenX = float(TabX1);
    prBlue(QStringLiteral("(2) テイラー級数とチェビシェフ級数"));
    NewPara();
    pr(QStringLiteral("具体的な例から始めましょう．指数関数 "));
    prFunc(QStringLiteral("f"), QStringLiteral("x"));
    pr(QStringLiteral(" = e"));
    prSup(QStringLiteral("x"));
    pr(QStringLiteral(" を，区間 "));
    pr(QStringLiteral("-1 ≦ "));
    prVar(QStringLiteral("x"));
    pr(QStringLiteral(" ≦ 1 で"));
    NewLine();
    pr(QStringLiteral("べき級数により近似することを考えます．"));
    prVar(QStringLiteral("x"));
    pr(QStringLiteral(" = 0 のまわりでテイラー級数に展開し，"));
    NewLine();
    prVar(QStringLiteral("x"));
    prSup(QStringLiteral("6"));
    pr(QStringLiteral(" の項まで取ると"));

    SkipH(1.5f);
    PenX = float(TabX2);
    pr(QStringLiteral("e"));
    prSup(QStringLiteral("x"));
    pr(QStringLiteral("  ～  1 + "));
    prVar(QStringLiteral("x"));
    for (const auto& [den, power] : {std::pair{"2", "2"}, {"6", "3"}, {"24", "4"},
                                     {"120", "5"}, {"720", "6"}}) {
        pr(QStringLiteral(" + "));
        prFrac(QStringLiteral("1"), QString::fromLatin1(den));
        Skip(4);
        prVar(QStringLiteral("x"));
        prSup(QString::fromLatin1(power));
    }

    SkipH(1.5f);
    PenX = float(LeftX);
    pr(QStringLiteral("となります．このべき級数は，チェビシェフ多項式 "));
    T(QStringLiteral("n"));
    pr(QStringLiteral(" を使って"));
    NewLine();
    pr(QStringLiteral("並べかえることができます．べき乗をチェビシェフ多項式で表すと"));

    powerIs(QStringLiteral("2"));
    prFrac(QStringLiteral("1"), QStringLiteral("2"));
    pr(QStringLiteral(" ("));
    T(QStringLiteral("2"));
    pr(QStringLiteral(" + 1)"));

    powerIs(QStringLiteral("3"));
    prFrac(QStringLiteral("1"), QStringLiteral("4"));
    pr(QStringLiteral(" ("));
    T(QStringLiteral("3"));
    pr(QStringLiteral(" + 3 "));
    T(QStringLiteral("1"));
    pr(QStringLiteral(")"));

    powerIs(QStringLiteral("4"));
    prFrac(QStringLiteral("1"), QStringLiteral("8"));
    pr(QStringLiteral(" ("));
    T(QStringLiteral("4"));
    pr(QStringLiteral(" + 4 "));
    T(QStringLiteral("2"));
    pr(QStringLiteral(" + 3)"));

    powerIs(QStringLiteral("5"));
    prFrac(QStringLiteral("1"), QStringLiteral("16"));
    pr(QStringLiteral(" ("));
    T(QStringLiteral("5"));
    pr(QStringLiteral(" + 5 "));
    T(QStringLiteral("3"));
    pr(QStringLiteral(" + 10 "));
    T(QStringLiteral("1"));
    pr(QStringLiteral(")"));

    powerIs(QStringLiteral("6"));
    prFrac(QStringLiteral("1"), QStringLiteral("32"));
    pr(QStringLiteral(" ("));
    T(QStringLiteral("6"));
    pr(QStringLiteral(" + 6 "));
    T(QStringLiteral("4"));
    pr(QStringLiteral(" + 15 "));
    T(QStringLiteral("2"));
    pr(QStringLiteral(" + 10)"));

    NewPara();
    pr(QStringLiteral("となります．これらを上のテイラー級数に代入して，"));
    T(QStringLiteral("n"));
    pr(QStringLiteral(" ごとにまとめます．"));
}

}  // namespace chapters
