// Page 2: the limit of the first peak as the sine integral Si(pi), its value
// from the power series of sin x / x, and the table of that series.
#include "maple/maple_chapter.h"

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

void var(const char* v) { prVar(QString::fromLatin1(v)); }

// x^p / k! at the pen, after its sign.
void powerTerm(const char* factorialText, const char* power) {
    prFracS(QStringLiteral("1"), QString::fromLatin1(factorialText));
    Skip(3);  // the bar ended a pixel or two from the x
    var("x");
    prSup(QString::fromLatin1(power));
}

}  // namespace

// lim_(N->inf) S_N(pi/2N) at the pen, "N→∞" set under "lim".
void MapleChapter::limitOfPeak() {
    float x = PenX;
    {
        // Its limit right after it, in one group, so that the two read as one.
        Construct limit(*CurPic, Group::Row);
        prUpright(QStringLiteral("lim"));
        dsp_sub(*CurPic, x, PenY + 6, QStringLiteral("N→∞"));
    }
    Skip(6);
    var("S");
    prSub(QStringLiteral("N"));
    peakArgument();
}

void MapleChapter::pic2() {
    Canvas& c = *CurPic;
    c.FontSize = BaseSize;
    openPage();
    PenX = float(LeftX);
    pr(QStringLiteral("と，中点則による積分の近似和の形に書けます．ここで "));
    var("N");
    Skip(2);
    pr(QStringLiteral("→"));
    Skip(2);
    pr(QStringLiteral("∞"));
    Skip(4);
    pr(QStringLiteral("とすると，"));
    NewLine();
    pr(QStringLiteral("右辺の和は積分に変わり，"));

    // lim S_N(pi/2N) = 2/pi int_0^pi sin x / x dx
    PenX = float(TabX2);
    SkipH(1.5f);
    RowY = PenY;
    limitOfPeak();
    pr(QStringLiteral("  =  "));
    prFrac(QStringLiteral("2"), QStringLiteral("pi"));
    SkipW(0.5f);
    dsp_integral(c, PenX, PenY, QStringLiteral("pi"), QStringLiteral("0"));
    SkipW(1);
    EqCol = PenX;
    const int fraction = drawConstruct(c, Group::Fraction, [] {
        pr(QStringLiteral("───"));
        Skip(-6);
        pr(QStringLiteral("─"));
    });
    Skip(6);
    prDiff(QStringLiteral("x"));
    PenX = EqCol + 4;
    PenY = RowY - 14;
    drawPartOf(c, fraction, Group::Numerator, [] {
        prSin();
        var("x");
    });
    PenX = EqCol + 2 * UnitW;
    PenY = RowY + 12;
    drawPartOf(c, fraction, Group::Denominator, [] { var("x"); });

    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("となります．右辺の定積分は正弦積分 "));
    prUpright(QStringLiteral("Si"));
    pr(QStringLiteral("("));
    dsp_pi(c, PenX, PenY);
    pr(QStringLiteral(") にあたります．"));
    NewLine();
    pr(QStringLiteral("その値は，"));
    prSin();
    var("x");
    pr(QStringLiteral(" / "));
    var("x");
    pr(QStringLiteral(" を "));
    var("x");
    pr(QStringLiteral(" のべき級数に展開すれば簡単に求まります．"));

    // The same limit, integrated term by term.
    PenX = float(TabX2);
    SkipH(1.5f);
    RowY = PenY;
    limitOfPeak();
    EqCol = PenX;
    pr(QStringLiteral("  =  "));
    prFrac(QStringLiteral("2"), QStringLiteral("pi"));
    SkipW(0.5f);
    dsp_integral(c, PenX, PenY, QStringLiteral("pi"), QStringLiteral("0"));
    SkipW(1);
    prBigLParen(PenX, PenY);
    SkipW(1);
    pr(QStringLiteral("1"));
    prMinus();
    powerTerm("3!", "2");
    pr(QStringLiteral(" + "));
    powerTerm("5!", "4");
    prMinus();
    powerTerm("7!", "6");
    pr(QStringLiteral(" + ･･･ "));
    prBigRParen(PenX, PenY);
    // One unit would leave the d against the parenthesis's lower hook.
    SkipW(1);
    Skip(4);
    prDiff(QStringLiteral("x"));

    PenX = EqCol;
    SkipH(2);
    pr(QStringLiteral("  =  2"));
    SkipW(0.5f);
    prBigLParen(PenX, PenY);
    SkipW(1);
    pr(QStringLiteral("1"));
    prMinus();
    prFrac(QStringLiteral("pi^2"), QStringLiteral("3!×3"));
    pr(QStringLiteral(" + "));
    prFrac(QStringLiteral("pi^4"), QStringLiteral("5!×5"));
    prMinus();
    prFrac(QStringLiteral("pi^6"), QStringLiteral("7!×7"));
    pr(QStringLiteral(" +"));
    prMinus();
    pr(QStringLiteral("･･･ "));
    prBigRParen(PenX, PenY);

    PenX = EqCol;
    SkipH(1.5f);
    pr(QStringLiteral("  =  1.179"));
    NewPara();
    pr(QStringLiteral("したがって，項数をいくら増やしても，フーリエ級数は不連続点で"));
    NewLine();
    pr(QStringLiteral("17.9% 行き過ぎてしまいます．下の表は，上の級数の各項とその和です．"));

    SkipH(1.5f);
    drawAs(*CurPic, Group::Figure, [this] { seriesTable(); });
}

}  // namespace chapters
