// The two graphs of page 1, drawn in user coordinates: e^x itself, and the
// errors of the degree-5 Taylor polynomial and the degree-4 Chebyshev series.
// Both graphs share the x mapping; values v are plotted at y = -v.
#include "hazel_chapter.h"

#include "constructs.h"
#include "context.h"
#include "markup.h"
#include "number_format.h"
#include "pen.h"
#include "state.h"
#include "text.h"

#include <cmath>

namespace chapters {

namespace {

// The frame, both axes and the x ticks with their labels, for a graph
// spanning yTop .. yBottom.
void frameAndXAxis(Canvas& c, double yTop, double yBottom) {
    c.Box(-1, yTop, 1, yBottom, colGray, false);
    c.Line(-1, 0, 1, 0, colBlue);
    c.Line(0, yTop, 0, yBottom, colBlue);
    for (int t = -10; t <= 10; ++t) {
        const double up = t % 5 == 0 ? 0.2 : 0.1;
        c.Line(t / 10.0, 0, t / 10.0, -up, colBlue);
    }
}

void xAxisLabels(Canvas& c) {
    dsp_textAt(c, -0.025, 0.08, QStringLiteral("0"));
    dsp_textAt(c, 0.44, 0.08, QStringLiteral("0.5"));
    dsp_textAt(c, -0.6, 0.08, QStringLiteral("-0.5"));
}

// The curve through (x, y(x)) for the sample points: the first one set, the
// others joined to the one before.
template <class Y>
void curve(Canvas& c, Color colour, Y y) {
    bool first = true;
    double x0 = 0, y0 = 0;
    forEachSample([&](double x) {
        const double yx = y(x);
        if (first)
            c.PSet(x, yx, colour);
        else
            c.Line(x0, y0, x, yx, colour);
        first = false;
        x0 = x;
        y0 = yx;
    });
}

void legend(Canvas& c, double x, double y, Color colour, const QString& text) {
    float px = float(x);
    dsp_sampleLine(c, px, float(y), colour);
    dsp_text(c, px, float(y), text);
}

}  // namespace

void HazelChapter::expGraph() {
    Canvas& c = *CurPic;
    // Opaque text: the label "0" blanks out the axis running through it.
    c.FontTransparent = false;
    c.describe(QStringLiteral("グラフ：y = e^x。横軸 x は −1 から 1，縦軸 y は 0 から 2.7。"
                              "曲線は x = −1 で %1，x = 0 で 1，x = 1 で %2。")
                   .arg(Format(std::exp(-1.0), QStringLiteral("0.###")), Format(std::exp(1.0), QStringLiteral("0.###"))));
    c.Scale(-3.4, -5.5, 1.6, 6.5);
    frameAndXAxis(c, -2.7, 0.5);
    for (double y : {-2.0, -1.0}) c.Line(-0.04, y, 0.04, y, colBlue);

    PenX = -0.9f;
    PenY = -2.5f;
    dsp_var(c, PenX, PenY, QStringLiteral("y "));
    pr(QStringLiteral(" = "));
    pr(QStringLiteral("e"));
    PenX = float(PenX + 0.01);
    dsp_sup(c, PenX, PenY, QStringLiteral("x"));

    c.FontSize = float(0.8 * BaseSize);
    dsp_textAt(c, -0.12, -2.16, QStringLiteral("2"));
    // The curve passes through (0, 1) rising: at -0.12 it would cross the
    // foot of the label, 0.04 further left it clears it.
    dsp_textAt(c, -0.16, -1.18, QStringLiteral("1"));
    xAxisLabels(c);

    curve(c, colOrange, [](double x) { return -std::exp(x); });
}

void HazelChapter::errorGraph() {
    Canvas& c = *CurPic;
    // Graph 1's mapping moved so that this axis lies 3 units lower.
    c.Scale(-3.4, -8.5, 1.6, 3.5);
    frameAndXAxis(c, -2, 2);
    double taylor = 0, chebyshev = 0;
    forEachSample([&](double x) {
        taylor = std::max(taylor, std::abs(TaylorP5(x) - std::exp(x)));
        chebyshev = std::max(chebyshev, std::abs(ChebyshevInterpolation(4, x) - std::exp(x)));
    });
    c.describe(QStringLiteral("グラフ：−1 ≦ x ≦ 1 での近似の誤差。縦軸は −0.002 から 0.002。"
                              "赤紫の曲線はテイラー級数（５次まで）の誤差で，両端で最大 %1，"
                              "緑の曲線はチェビシェフ級数（４次まで）の誤差で，区間全体に広がり最大 %2。")
                   .arg(Format(taylor, QStringLiteral("0.00000")), Format(chebyshev, QStringLiteral("0.00000"))));

    curve(c, colMagenta, [](double x) { return (TaylorP5(x) - std::exp(x)) * 1000; });

    // The error axis in units of 1/1000.
    for (int v = -2; v <= 2; ++v) {
        c.Line(1, v, 0.95, v, colBlue);
        dsp_textAt(c, 1.05, v - 0.15, Str(-v / 1000.0));
    }
    legend(c, -0.9, -1.7, colMagenta, QStringLiteral("テイラー級数（５次まで）の誤差"));

    curve(c, colLime, [this](double x) { return (ChebyshevInterpolation(4, x) - std::exp(x)) * 1000; });
    // The labels' opaque cells after the curves: the oscillating error
    // curve runs through "-0.5", and drawn first the label was crossed out.
    xAxisLabels(c);
    legend(c, -0.9, 1.0, colLime, QStringLiteral("チェビシェフ級数（４次まで）の誤差"));

    c.scaleReset();
    c.FontSize = BaseSize;
    c.FontTransparent = true;
}

}  // namespace chapters
