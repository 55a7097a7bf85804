// The orbit figure of page 1: the ellipse with its axes, the Sun at the
// right focus, the planet 55 degrees past perihelion, the radius vector and
// the angle between them.
#include "birch_chapter.h"

#include "context.h"
#include "number_format.h"
#include "pen.h"
#include "state.h"
#include "symbols.h"
#include "text.h"

#include <cmath>

namespace chapters {

void BirchChapter::OrbitFigure() {
    Canvas& c = *CurPic;
    Orbit& o = orbit;
    o.cx = float(50.0 * UnitW);
    o.cy = float(8.0 * UnitH);
    o.a = float(10.0 * UnitW);
    o.eps = 0.4f;
    // Canvas y grows downward: a negative angle puts the planet above the axis.
    o.theta = float(-55.0 * Pi / 180.0);
    const double eps = o.eps;
    o.r = float(o.a * (1.0 - eps * eps) / (1.0 + eps * std::cos(double(o.theta))));
    o.b = float(o.a * std::sqrt(1.0 - eps * eps));

    c.describe(QStringLiteral("図：離心率 ε = %1 の楕円軌道。長半径 a，短半径 b = %2a，"
                              "楕円の中心から aε の焦点に太陽，焦点から惑星 (x,y) までの距離 r，"
                              "長軸から測った角 θ = %3°，このとき r = %4a。")
                   .arg(Format(eps, QStringLiteral("0.0##")), Format(double(o.b) / double(o.a), QStringLiteral("0.000")),
                        QString::number(std::lround(-double(o.theta) * 180.0 / Pi)),
                        Format(double(o.r) / double(o.a), QStringLiteral("0.000"))));
    const double fx = o.cx + o.a * eps, fy = o.cy;
    const double px = fx + o.r * std::cos(double(o.theta));
    const double py = fy + o.r * std::sin(double(o.theta));

    // A solid fill left behind by an earlier drawing on this canvas (a second
    // print of this page) would fill the ellipse.
    c.FillStyle_ = FillStyle::Transparent;
    c.Circle(o.cx, o.cy, o.a, colDarkCyan, 0, 0, double(o.b) / double(o.a));

    c.Line(o.cx - 1.1 * o.a, o.cy, o.cx + 1.1 * o.a, o.cy, colGray);
    c.Line(o.cx, o.cy - 1.1 * o.b, o.cx, o.cy + 1.1 * o.b, colGray);

    c.FontSize = float(0.9 * BaseSize);
    PenX = float(fx - 10);
    PenY = float(fy + 4);
    prVar(QStringLiteral("a"));
    Skip(2);
    prEpsln();
    PenY = float(PenY - 2.1 * UnitH);
    prVar(QStringLiteral("r"));
    PenX = float(fx + 28);
    PenY = float(fy - UnitH);
    prTheta();
    float x = float(o.cx + 1.1 * o.a + 5);
    dsp_var(c, x, float(o.cy - 12), QStringLiteral("x"));
    x = float(o.cx - 5);
    dsp_var(c, x, float(o.cy - 1.1 * o.b - UnitH), QStringLiteral("y"));

    c.Line(fx, fy, px, py, colGray);

    c.FillStyle_ = FillStyle::Solid;
    c.FillColor = RGB(0, 255, 255);
    c.Circle(px, py, 2, RGB(0, 0, 255));
    c.FillColor = RGB(255, 0, 255);
    c.Circle(fx, fy, 2, RGB(255, 0, 0));

    c.Circle(fx, fy, 20, colGray, 0, 55.0 * Pi / 180.0);

    PenX = float(px + 0.5 * UnitW);
    PenY = float(py - 0.5 * UnitH);
    pr(QStringLiteral("("));
    dsp_var(c, PenX, PenY, QStringLiteral("x,y"));
    pr(QStringLiteral(")"));

    c.FontSize = BaseSize;
}

}  // namespace chapters
