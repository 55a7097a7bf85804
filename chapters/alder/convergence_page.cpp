// Page 3: the truncation error of the continued fraction against the depth
// of truncation, computed while it is traced at a paced speed.
#include "alder_chapter.h"

#include "constructs.h"
#include "context.h"
#include "incomplete_gamma.h"
#include "markup.h"
#include "replay.h"
#include "pen.h"
#include "sound.h"
#include "state.h"
#include "text.h"

#include <deque>

namespace chapters {

namespace {

constexpr Color frameBlue = RGB(0, 0, 255);

// Pass counts at which the error reaches 10^-16 and 10^-32 for ν = 0, from
// the published table the page compares with (x = 1 ... 5).
constexpr int referencePasses[6][2] = {{0, 0}, {92, 356}, {51, 188}, {37, 131}, {30, 102}, {25, 84}};

// The graph of one ν in words: its axes, and where each curve leaves the
// bottom edge (the pass at which the estimate falls below 10^-upper).
QString describeGraph(float nu, double lowerExp, double upperExp) {
    const auto power = [](double e) { return QStringLiteral("10^(\u2212%1)").arg(int(e)); };
    QStringList curves;
    for (int idx = 6; idx >= 1; --idx) {
        const double x = idx == 6 ? 10.0 : double(idx);
        ErrorEstimate e(nu, x);
        while (classifyPass(e.i, e.pass(), lowerExp, upperExp) != PassOutcome::Stop) e.next();
        curves << QStringLiteral("x = %1 は n = %2 で %3 を下回る").arg(int(x)).arg(e.i).arg(power(upperExp));
    }
    QString t = QStringLiteral("グラフ（ν = %1）：連分数を n 段で打ち切ったときの誤差の見積もり。"
                               "横軸 n は 10 から 1000，縦軸 誤差は %2 から %3，どちらも対数目盛。"
                               "曲線 %4。")
                    .arg(nu == 0.0f ? QStringLiteral("0") : QStringLiteral("0.5"), power(lowerExp),
                         power(upperExp), curves.join(QStringLiteral("，")));
    if (nu == 0.0f) {
        QStringList marks;
        for (int k = 1; k <= 5; ++k)
            marks << QStringLiteral("x = %1 で n = %2, %3").arg(k).arg(referencePasses[k][0]).arg(referencePasses[k][1]);
        t += QStringLiteral("○ 印は数表による，誤差が 10^(\u221216) と 10^(\u221232) になる段数：%1。")
                 .arg(marks.join(QStringLiteral("；")));
    }
    return t;
}

// The same every time the page is drawn, and it runs every curve's passes:
// made once (a page entered again and again draws it each time).
const QString& graphDescription(float nu, double lowerExp, double upperExp) {
    struct Said {
        float nu;
        double lower, upper;
        QString text;
    };
    static std::deque<Said> said;
    for (const Said& s : said)
        if (s.nu == nu && s.lower == lowerExp && s.upper == upperExp) return s.text;
    said.push_back({nu, lowerExp, upperExp, describeGraph(nu, lowerExp, upperExp)});
    return said.back().text;
}

}  // namespace

void AlderChapter::pic3() {
    Canvas& c = *CurPic;
    Pace trace(c);

    c.Cls();
    c.makeVisible();  // the trace is meant to be watched
    PenX = float(LeftX);
    PenY = float(25.5 * UnitH);
    continuedFractionFormula();

    graph.W = float(30.0 * UnitW);
    graph.H = float(10.0 * UnitH);
    graph.L = float(LeftX + 15.0 * UnitW);
    graph.T = UnitH;
    drawGraph(0.0f, trace);
    graph.T = float(graph.T + graph.H + 2.0 * UnitH);
    drawGraph(0.5f, trace);
    trace.then([] { PlayRingout(); });
}

// Γ(ν, x) = e^(-x) x^(ν-1) × the chain of fractions, each written over the
// "1 +" that follows it.
void AlderChapter::continuedFractionFormula() {
    Canvas& c = *CurPic;
    c.FontSize = 12;
    IncompGamma();
    Skip(4);
    pr(QStringLiteral(" = "));
    prUpright(QStringLiteral("e"));
    prSup(QStringLiteral("-x"));
    Skip(6);
    prVar(QStringLiteral("x"));
    PenY = PenY - 3;
    c.FontSize = 10;
    drawAs(c, Group::Superscript, [this] {
        dsp_nu();
        Skip(4);
        pr(QStringLiteral("-1"));
    });
    PenY = PenY + 3;
    c.FontSize = 12;

    Skip(8);
    pr(QStringLiteral("×"));
    SkipW(1);
    const QChar bar(0x2500);
    // Each fraction's bar first, its numerator and its "1 +" set after all
    // of them; they read as parts of their fraction.
    float xb[7];
    int fraction[7];
    const auto barOf = [&](int i, int pieces) {
        xb[i] = PenX;
        fraction[i] = drawConstruct(c, Group::Fraction, [&] { pr(QString(pieces, bar)); });
    };
    barOf(0, 1);
    for (int k = 0; k < 3; ++k) {
        SkipW(2);
        barOf(1 + 2 * k, 4);
        SkipW(2);
        barOf(2 + 2 * k, 2);
    }
    SkipW(2);

    const float y = PenY;
    PenY = y - 14;
    PenX = xb[0] + 2;
    drawPartOf(c, fraction[0], Group::Numerator, [] { pr(QStringLiteral("1")); });
    for (int k = 0; k < 3; ++k) {
        const QString m = QString::number(k + 1);
        PenX = xb[1 + 2 * k];
        drawPartOf(c, fraction[1 + 2 * k], Group::Numerator, [&] {
            pr(QStringLiteral("(") + m);
            prUpright(QStringLiteral("-"));
            dsp_nu();
            pr(QStringLiteral(")/"));
            prVar(QStringLiteral("x"));
        });
        PenX = xb[2 + 2 * k];
        drawPartOf(c, fraction[2 + 2 * k], Group::Numerator, [&] {
            pr(m + QStringLiteral("/"));
            prVar(QStringLiteral("x"));
        });
    }

    PenY = y + 12;
    PenX = xb[0] + 2;
    drawPartOf(c, fraction[0], Group::Denominator, [] {
        pr(QStringLiteral("1"));
        Skip(10);
        pr(QStringLiteral("+"));
    });
    const float afterLong[3] = {3.0f, 2.8f, 3.0f};
    for (int k = 0; k < 3; ++k) {
        PenX = float(xb[1 + 2 * k] + 2.2 * UnitW);
        drawPartOf(c, fraction[1 + 2 * k], Group::Denominator, [&] {
            pr(QStringLiteral("1"));
            SkipW(afterLong[k]);
            pr(QStringLiteral("+"));
        });
        PenX = xb[2 + 2 * k] + UnitW;
        drawPartOf(c, fraction[2 + 2 * k], Group::Denominator, [&] {
            pr(QStringLiteral("1"));
            SkipW(1.2f);
            pr(k == 2 ? QStringLiteral("+ ･･･") : QStringLiteral("+"));
        });
    }
    PenY = y;
    c.FontSize = BaseSize;
}

void AlderChapter::drawGraph(float nu, Pace& trace) {
    Canvas& c = *CurPic;
    graph.lowerExp = 10;
    graph.upperExp = 40;
    Construct figure(c, Group::Figure);
    c.describe(graphDescription(nu, graph.lowerExp, graph.upperExp));
    const float left = px(1), right = px(3), top = py(10), bottom = py(40);
    c.Box(left, top, right, bottom, frameBlue, false);

    const QString savedFace = c.FontName;
    c.FontSize = 11;
    c.FontName = face::Arial;
    SupSize = 0.85f;  // stays so for the rest of the run

    for (int v = 10; v <= 40; v += 5) {
        const float y = py(float(v));
        const int len = v % 10 == 0 ? 12 : 8;
        c.Line(right, y, right - len, y, frameBlue);
        c.Line(left, y, left + len, y, frameBlue);
        if (v % 10 == 0) {
            PenX = float(right + 6.0);
            PenY = float(y - 10.0);
            pr(QStringLiteral("10"));
            prSup(QStringLiteral("-") + num2str(v));
        }
    }

    const float ly = float(bottom + 5.0);
    auto label = [&](double x, const QString& text) { dsp_textAt(c, x, ly, text); };
    auto ticks = [&](float X) {
        c.Line(X, bottom, X, bottom - 10, frameBlue);
        c.Line(X, top, X, top + 10, frameBlue);
    };
    label(right - 15.0, QStringLiteral("1000"));
    {
        const float X = px(2);
        ticks(X);
        label(X - 15.0, QStringLiteral("100"));
    }
    label(left - 10.0, QStringLiteral("10"));
    for (int value : {20, 30, 50, 200, 300, 500}) {
        const float X = px(float(alog10(value)));
        ticks(X);
        // The ticks of 200 and 300 are 27 px apart and each label is 25 px
        // wide: centred they read "200300". Each moves 2 px off its tick,
        // away from the other.
        const double apart = value == 200 ? -2 : value == 300 ? 2 : 0;
        label(X - (value < 100 ? 10.0 : 15.0) + apart, QString::number(value));
    }

    c.FontName = savedFace;
    c.FontSize = BaseSize;

    PenX = px(2.5f);
    PenY = py(15);
    dsp_nu();
    Skip(4);
    pr(QStringLiteral("= "));
    pr(nu == 0.0f ? QStringLiteral("0") : QStringLiteral("0.5"));

    for (int idx = 6; idx >= 1; --idx) drawCurve(idx, nu, trace);
}

void AlderChapter::drawCurve(int idx, float nu, Pace& trace) {
    Canvas& c = *CurPic;
    const Color colour = colTable[size_t(idx)];
    const double x = idx == 6 ? 10.0 : double(idx);

    // Legend, left of the frame, x = 10 on top.
    PenX = float(TabX1);
    PenY = float(py(10) + (7.0 - idx) * UnitH);
    prVar(QStringLiteral("x"));
    Skip(4);
    pr(QStringLiteral("="));
    Skip(4);
    pr(QString::number(int(x)));
    if (idx != 6) SkipW(1);  // one-digit values stand under the "0" of "10"
    dsp_sampleLine(c, PenX, PenY, colour);

    ErrorEstimate e(nu, x);
    c.DrawWidth = 2;
    const Moment t0 = trace.now();
    int firstPoint = 0;
    float lastX = 0, lastY = 0;
    for (;;) {
        const double err = e.pass();
        const PassOutcome outcome = classifyPass(e.i, err, graph.lowerExp, graph.upperExp);
        if (outcome == PassOutcome::Stop) {
            // Down to the bottom edge: the estimate has left the graph.
            if (firstPoint) c.Line(lastX, lastY, lastX, py(float(graph.upperExp)), colour);
            break;
        }
        if (outcome == PassOutcome::Plot) {
            PenX = px(float(alog10(e.i)));
            PenY = py(float(-alog10(err)));
            if (firstPoint == 0) {
                c.PSet(PenX, PenY, colour);
                firstPoint = 1;
            } else {
                c.Line(lastX, lastY, PenX, PenY, colour);
            }
            lastX = PenX;
            lastY = PenY;
            // Measured from the start of the curve, so the trace moves right
            // at 50 canvas units a second whatever the drawing cost.
            trace.waitUntil(t0 + 0.02 * double(PenX));
        }
        e.next();
    }
    c.DrawWidth = 1;

    if (nu == 0.0f && idx <= 5) {
        c.FillColor = RGB(255, 255, 255);
        c.FillStyle_ = FillStyle::Solid;
        for (int k = 0; k < 2; ++k) {
            const float X = px(float(alog10(referencePasses[idx][k])));
            c.Circle(X, py(k == 0 ? 16.0f : 32.0f), 4, colour);
        }
        c.FillStyle_ = FillStyle::Transparent;
    }
}

}  // namespace chapters
