// Page 1: the Fourier series of the square wave, its partial sum S_N, where
// the partial sum peaks, and the height of the first peak as a sum.
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

// S_N(x)
void partialSumOfX() {
    var("S");
    prSub(QStringLiteral("N"));
    dsp_of_x(*CurPic, PenX, PenY);
}

// The fraction bars of the terms 1, 3 and 5 (and 2N-1 when `last`), their
// starts kept in bars; then the closing parenthesis. The terms 3 and 5 carry
// a wider numerator, so their bars are lengthened by one piece less 4 pixels;
// `pieces` is the length of the first bar.
void termBars(std::array<int32_t, 11>& bars, std::array<int, 11>& fractions, bool last, int pieces = 3) {
    Canvas& c = *CurPic;
    const QString bar(pieces, QChar(u'─'));
    SkipW(1);
    prFrac(QStringLiteral("4"), QStringLiteral("pi"));
    SkipW(1);
    prBigLParen(PenX, PenY);
    SkipW(1);
    for (int k : {1, 3, 5}) {
        bars[size_t(k)] = Round(PenX);
        fractions[size_t(k)] = drawConstruct(c, Group::Fraction, [&] {
            pr(bar);
            if (k > 1) {
                Skip(-4);
                pr(QStringLiteral("─"));
            }
        });
        pr(QStringLiteral(" + "));
    }
    if (last) {
        pr(QStringLiteral(" ･･･  +  "));
        bars[7] = Round(PenX);
        fractions[7] = drawConstruct(c, Group::Fraction, [] { pr(QStringLiteral("───────")); });
        SkipW(0.5f);
    } else {
        pr(QStringLiteral(" ･･･ "));
    }
    prBigRParen(PenX, PenY);
}

// 2N-1 at the pen.
void twoNMinusOne() {
    pr(QStringLiteral("2"));
    var("N");
    pr(QStringLiteral("-1"));
}

}  // namespace

void MapleChapter::pic1() {
    Canvas& c = *CurPic;
    c.FontSize = BaseSize;
    openPage(QStringLiteral("(3) ギブス現象の説明"));
    pr(QStringLiteral("この矩形波は奇関数なので，フーリエ係数のうち "));
    prCos();
    pr(QStringLiteral(" の係数 "));
    var("a");
    prSub(QStringLiteral("n"));
    pr(QStringLiteral(" はすべて 0 になり，"));
    NewLine();
    prSin();
    pr(QStringLiteral(" の係数 "));
    var("b");
    prSub(QStringLiteral("n"));
    pr(QStringLiteral(" だけが残って，"));

    // f(x) ~ 4/pi (sin x/1 + sin 3x/3 + sin 5x/5 + ...)
    PenX = float(TabX2);
    SkipH(1.5f);
    RowY = PenY;
    prFunc(QStringLiteral("f"), QStringLiteral("x"));
    SkipW(1);
    pr(QStringLiteral("～"));
    std::array<int, 11> fractions{};
    termBars(BarX, fractions, false);
    const auto sineNumerators = [&](bool last) {
        PenY = RowY - 12;
        for (int k : {1, 3, 5}) {
            PenX = float(BarX[size_t(k)]);
            drawPartOf(c, fractions[size_t(k)], Group::Numerator, [k] {
                prSin();
                if (k > 1) pr(num2str(k));
                var("x");
            });
        }
        if (last) {
            PenX = float(BarX[7]);
            drawPartOf(c, fractions[7], Group::Numerator, [] {
                prSin();
                pr(QStringLiteral("(2"));
                var("N");
                pr(QStringLiteral("-1)"));
                var("x");
            });
        }
    };
    const auto oddDenominators = [&](float offsetUnits, bool last) {
        PenY = RowY + 12;
        for (int k : {1, 3, 5}) {
            PenX = float(BarX[size_t(k)] + (offsetUnits + (k > 1 ? 0.6 : 0.0)) * double(UnitW));
            drawPartOf(c, fractions[size_t(k)], Group::Denominator, [k] { pr(num2str(k)); });
        }
        if (last) {
            PenX = float(BarX[7] + 2 * double(UnitW));
            drawPartOf(c, fractions[7], Group::Denominator, [] { twoNMinusOne(); });
        }
    };
    sineNumerators(false);
    oddDenominators(1.7f, false);
    NewLine();
    pr(QStringLiteral("となります．"));
    NewLine();

    // b_n, with a rule down the margin marking the derivation.
    PenX = float(TabX1);
    c.Line(PenX, PenY, PenX, PenY + 4 * double(UnitH), colBlue);
    PenX = float(TabX2);
    var("b");
    prSub(QStringLiteral("n"));
    EqCol = PenX;
    pr(QStringLiteral("  =  "));
    prFrac(QStringLiteral("1"), QStringLiteral("pi"));
    Skip(4);
    dsp_integral(c, PenX, PenY, QStringLiteral("pi"), QStringLiteral("-pi"));
    prFunc(QStringLiteral("f"), QStringLiteral("x"));
    Skip(4);
    prSin();
    var("n");
    var("x");
    Skip(4);
    prDiff(QStringLiteral("x"));
    pr(QStringLiteral("  =  "));
    prFrac(QStringLiteral("2"), QStringLiteral("pi"));
    Skip(4);
    dsp_integral(c, PenX, PenY, QStringLiteral("pi"), QStringLiteral("0"));
    Skip(3);  // the upper limit π stood against sin
    prSin();
    var("n");
    var("x");
    Skip(4);
    prDiff(QStringLiteral("x"));

    // = 2/(n pi) (1 - cos n pi) = { 4/(n pi) for odd n, 0 for even n
    PenX = EqCol;
    SkipH(2.5f);
    RowY = PenY;
    pr(QStringLiteral("  =  "));
    prFrac(QStringLiteral("2"), QStringLiteral("npi"));
    pr(QStringLiteral(" (1"));
    prMinus();
    prCos();
    var("n");
    dsp_pi(c, PenX, PenY);
    pr(QStringLiteral(")  =  "));
    const float braceX = PenX;
    {
        Construct cases(c, Group::Cases);
        ColBrace(0, PenX, PenY + 4, 0.35f);
        drawAs(c, Group::Row, [&] {
            PenX = float(braceX + 1.5 * double(UnitW));
            PenY = RowY - 20;
            prFrac(QStringLiteral("4"), QStringLiteral("npi"));
            SkipW(1);
            pr(QStringLiteral("("));
            var("n");
            pr(QStringLiteral(" = 奇数)"));
        });
        drawAs(c, Group::Row, [&] {
            PenX = float(braceX + 2.5 * double(UnitW));
            PenY = RowY + 20;
            pr(QStringLiteral("0"));
            SkipW(2);
            pr(QStringLiteral("("));
            var("n");
            pr(QStringLiteral(" = 偶数)"));
        });
    }

    // The partial sum S_N.
    PenX = float(LeftX);
    SkipH(1);
    pr(QStringLiteral("そこで，この級数の最初の "));
    var("N");
    pr(QStringLiteral(" 項までの和（部分和）"));
    PenX = float(TabX2);
    SkipH(1.5f);
    RowY = PenY;
    partialSumOfX();
    pr(QStringLiteral(" ≡"));
    termBars(BarX, fractions, true);
    sineNumerators(true);
    oddDenominators(1.7f, true);
    NewLine();
    pr(QStringLiteral("を考えます．ピークの位置を求めるため，"));
    var("x");
    pr(QStringLiteral(" で微分すると"));

    PenX = float(TabX2);
    SkipH(1.5f);
    prFrac(QStringLiteral("d"), QStringLiteral("dx"));
    Skip(2);
    partialSumOfX();
    EqCol = PenX;
    pr(QStringLiteral("  =  "));
    prFrac(QStringLiteral("4"), QStringLiteral("pi"));
    pr(QStringLiteral(" ("));
    prCos();
    var("x");
    for (const char* k : {"3", "5"}) {
        pr(QStringLiteral(" + "));
        prCos();
        pr(QString::fromLatin1(k));
        var("x");
    }
    pr(QStringLiteral(" + ･･･ + "));
    prCos();
    pr(QStringLiteral("(2"));
    var("N");
    pr(QStringLiteral("-1)"));
    var("x");
    pr(QStringLiteral(")"));

    // = 4/pi sin(2Nx) / (2 sin x)
    PenX = EqCol;
    SkipH(2);
    RowY = PenY;
    pr(QStringLiteral("  =  "));
    prFrac(QStringLiteral("4"), QStringLiteral("pi"));
    Skip(4);
    const float barStart = PenX;
    PenY = RowY + 1;
    {
        Construct fraction(c, Group::Fraction);
        pr(QStringLiteral("──────"));
        PenX = barStart + 2;
        PenY = RowY - 12;
        drawAs(c, Group::Numerator, [] {
            prSin();
            pr(QStringLiteral("(2"));
            var("N");
            var("x");
            pr(QStringLiteral(")"));
        });
        PenX = barStart + UnitW;
        PenY = RowY + 14;
        drawAs(c, Group::Denominator, [] {
            pr(QStringLiteral("2 "));
            prSin();
            var("x");
        });
    }

    // Where the peaks are.
    PenX = float(LeftX);
    SkipH(1);
    // Each line's fraction clear of the text on the other line.
    pr(QStringLiteral("が得られます．よって "));
    partialSumOfX();
    pr(QStringLiteral(" のピークは "));
    var("x");
    pr(QStringLiteral(" = "));
    prFracS(QStringLiteral("pi"), QStringLiteral("2N"));
    pr(QStringLiteral(" × 1, 3, 5, ･･･, "));
    twoNMinusOne();
    pr(QStringLiteral(" にあり，"));
    NewLine();
    pr(QStringLiteral("最初のピーク "));
    var("x");
    pr(QStringLiteral(" = "));
    prFracS(QStringLiteral("pi"), QStringLiteral("2N"));
    pr(QStringLiteral(" で最大になります．"));

    // S_N(pi/2N) = 4/pi (sin(pi/2N)/1 + sin(3pi/2N)/3 + ... )
    PenX = float(TabX2);
    SkipH(2);
    RowY = PenY;
    var("S");
    prSub(QStringLiteral("N"));
    peakArgument();
    EqCol = PenX;
    pr(QStringLiteral("  ="));
    // Bars one piece longer than above: these numerators carry a fraction.
    termBars(BarX, fractions, true, 4);
    PenY = RowY - 20;
    for (int k : {1, 3, 5}) {
        PenX = float(BarX[size_t(k)]);
        drawPartOf(c, fractions[size_t(k)], Group::Numerator, [k] {
            prSin();
            prFracS(k == 1 ? QStringLiteral("pi") : num2str(k) + QStringLiteral("pi"), QStringLiteral("2N"));
        });
    }
    PenX = float(BarX[7]);
    drawPartOf(c, fractions[7], Group::Numerator, [&c] {
        prSin();
        // (2N−1)π/(2N): the π after the fraction multiplies its numerator,
        // and is a part of it.
        const int fraction = c.newestGroup() + 1;  // the one prFracS opens
        prFracS(QStringLiteral("2N-1"), QStringLiteral("2N"));
        drawPartOf(c, fraction, Group::Numerator, [&c] { dsp_pi(c, PenX, PenY); });
    });
    PenY = RowY + 12;
    for (int k : {1, 3, 5}) {
        PenX = float(BarX[size_t(k)] + (2.3 + (k > 1 ? 0.6 : 0.0)) * double(UnitW));
        drawPartOf(c, fractions[size_t(k)], Group::Denominator, [k] { pr(num2str(k)); });
    }
    PenX = float(BarX[7] + 2 * double(UnitW));
    drawPartOf(c, fractions[7], Group::Denominator, [] { twoNMinusOne(); });

    // = 2/pi sum sin x_j / x_j dx: a midpoint sum.
    PenX = EqCol;
    SkipH(2);
    RowY = PenY;
    pr(QStringLiteral("  =  "));
    prFrac(QStringLiteral("2"), QStringLiteral("pi"));
    Skip(4);
    dsp_sum(c, PenX, PenY, QStringLiteral("j=1"), QStringLiteral("N"));
    EqCol2 = PenX;
    const int midpointFraction = drawConstruct(c, Group::Fraction, [] { pr(QStringLiteral("────")); });
    pr(QStringLiteral("⊿"));
    var("x");
    SkipW(2);
    pr(QStringLiteral("(ただし，⊿"));
    var("x");
    pr(QStringLiteral(" = "));
    prFracS(QStringLiteral("pi"), QStringLiteral("N"));
    pr(QStringLiteral("，"));
    var("x");
    prSub(QStringLiteral("j"));
    pr(QStringLiteral(" = ("));
    Skip(3);  // the tail of the italic j runs under the parenthesis
    var("j");
    prMinus();
    dsp_half(c, PenX, PenY);
    pr(QStringLiteral(")⊿"));
    var("x");
    pr(QStringLiteral(")"));
    PenX = EqCol2 + 4;
    // 2 px higher than 16: the subscript j of x_j would rest on the bar.
    PenY = RowY - 18;
    drawPartOf(c, midpointFraction, Group::Numerator, [] {
        prSin();
        var("x");
        prSub(QStringLiteral("j"));
    });
    PenX = EqCol2 + 2 * UnitW;
    PenY = RowY + 12;
    drawPartOf(c, midpointFraction, Group::Denominator, [] {
        var("x");
        prSub(QStringLiteral("j"));
    });
}

void MapleChapter::peakArgument() {
    // Parentheses of the text's size stop at the rule and the "(" runs into
    // the subscript before it: tall ones enclose the whole fraction.
    Skip(3);
    prInTallParens([] { prFracS(QStringLiteral("pi"), QStringLiteral("2N")); }, 8);
}

}  // namespace chapters
