// Page 0's graph of the square wave and its 8-term Fourier partial sum, and
// page 2's table of the series whose sum is the limit of the overshoot.
#include "maple/maple_chapter.h"

#include "constructs.h"
#include "context.h"
#include "number_format.h"
#include "pen.h"
#include "state.h"
#include "text.h"

#include <cmath>

namespace chapters {

namespace {

constexpr Color bandColour = RGB(192, 240, 192);

// Label text with its top-left at a graph point.
void labelAt(int32_t x, int32_t y, const QString& text) {
    PenX = float(x);
    PenY = float(y);
    pr(text);
}

}  // namespace

void MapleChapter::graph() {
    Canvas& c = *CurPic;
    GxMin = -1.25f;
    GxMax = 3.25f;
    double highest = 0;
    for (double x = GxMin; x <= GxMax; x += 1.0 / 128) highest = std::max(highest, squareWavePartialSum(x, 8));
    c.describe(QStringLiteral("グラフ：周期 2π，高さ 1 の矩形波（橙）と，そのフーリエ級数を N = 8 項で"
                              "打ち切った部分和（青）。横軸 x は %1π から %2π，縦軸は −1 から 1。"
                              "部分和は π の整数倍の不連続点の両側で行き過ぎて振動し，最大 %3。")
                   .arg(Format(double(GxMin), QStringLiteral("0.0#")).replace(QLatin1Char('-'), QChar(0x2212)),
                        Format(double(GxMax), QStringLiteral("0.0#")), Format(highest, QStringLiteral("0.000"))));

    c.Box(px(GxMin), py(-1.3f), px(GxMax), py(1.3f), bandColour, true);
    c.Line(px(GxMin), py(0), px(GxMax), py(0), colGray);

    c.FontSize = 11;
    labelAt(px(-0.1f), py(1.15f), QStringLiteral("1"));
    labelAt(px(0.05f), py(-0.01f), QStringLiteral("0"));
    labelAt(px(0.05f), py(-0.88f), QStringLiteral("-1"));
    PenX = float(px(GxMax - 0.1f));
    PenY = float(py(0.3f));
    prVar(QStringLiteral("x"));
    // At -1.15 the π ends a pixel short of the partial sum as it rises
    // through the jump at -1: 4 px further left it stands clear.
    labelAt(px(-1.15f) - 4, py(-0.01f), QStringLiteral("-"));
    dsp_pi(c, PenX, PenY - 2);
    PenX = float(px(1.05f));
    PenY = float(py(-0.01f));
    dsp_pi(c, PenX, PenY);
    PenX = float(px(2.05f));
    pr2pi(PenX, PenY);

    // The square wave: 1 on (0, 1), -1 on (1, 2), period 2, jumps at the integers.
    c.DrawWidth = 2;
    CurveColor = colOrange;
    const float wave[][2] = {{GxMin, 1}, {-1, 1}, {-1, -1}, {0, -1}, {0, 1},  {1, 1},
                             {1, -1},    {2, -1}, {2, 1},   {3, 1},  {3, -1}, {GxMax, -1}};
    for (size_t i = 1; i < std::size(wave); ++i)
        c.Line(px(wave[i - 1][0]), py(wave[i - 1][1]), px(wave[i][0]), py(wave[i][1]), CurveColor);

    // The partial sum with N = 8: the first point set, every later one joined
    // to the one before.
    CurveColor = colBlue;
    int32_t lastX = 0, lastY = 0;
    const double end = GxMax;
    for (double x = GxMin; x <= end; x += 1.0 / 128) {
        const double y = squareWavePartialSum(x, 8);
        const int32_t X = px(float(x)), Y = py(float(y));
        if (float(x) == GxMin)
            c.PSet(X, Y, CurveColor);
        else
            c.Line(lastX, lastY, X, Y, CurveColor);
        lastX = X;
        lastY = Y;
    }
    c.DrawWidth = 1;
    c.FontSize = BaseSize;
}

void MapleChapter::seriesTable() {
    Canvas& c = *CurPic;
    // The gap that stands for a plus sign is as wide as the minus prUpright
    // sets, so that the digits of a column line up whatever the faces.
    const QString savedFace = c.FontName;
    const float S = c.FontSize;
    c.FontName = face::Courier;
    c.FontSize = float(1.2 * S);
    const float signWidth = float(c.TextWidth(QStringLiteral("-")));
    c.FontName = savedFace;
    c.FontSize = S;

    const auto signedValue = [&](double v) {
        if (v >= 0)
            PenX += signWidth;
        else
            prUpright(QStringLiteral("-"));
        dsp_text(c, PenX, PenY, Format(std::fabs(v), QStringLiteral("0.####0")));
    };
    const auto rows = overshootSeries();
    QStringList said;
    const auto minus = [](QString t) { return t.replace(QLatin1Char('-'), QChar(0x2212)); };
    for (size_t i = 0; i < rows.size(); ++i)
        said << QStringLiteral("%1 行目 項 %2，和 %3")
                    .arg(i)
                    .arg(minus(Format(rows[i].term, QStringLiteral("0.####0"))),
                         Format(rows[i].sum, QStringLiteral("0.####0")));
    c.describe(QStringLiteral("表：級数の各項と，そこまでの和（%1 行）。%2。")
                   .arg(rows.size())
                   .arg(said.join(QStringLiteral("；"))));
    for (size_t i = 0; i < rows.size(); ++i) {
        drawAs(c, Group::TableRow, [&] {
            PenX = float(TabX3);
            drawAs(c, Group::Cell, [&] { dsp_text(c, PenX, PenY, QString::number(i)); });
            PenX = float(TabX3 + 3 * double(UnitW));
            drawAs(c, Group::Cell, [&] { signedValue(rows[i].term); });
            PenX = float(TabX3 + 12 * double(UnitW));
            drawAs(c, Group::Cell, [&] { signedValue(rows[i].sum); });
        });
        PenY += UnitH;
    }
}

}  // namespace chapters
