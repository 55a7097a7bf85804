// The chain of masses and coil springs, drawn into a figure box.
#include "larch/larch_chapter.h"

#include "context.h"
#include "text.h"

#include <cmath>

namespace chapters {

void LarchChapter::DrawMasses(int index) {
    if (index != 0 && index != 1) return;
    LastMass = 5;
    CurPic = &picG(index);
    Canvas& c = *CurPic;
    c.scaleReset();
    c.BackColor = RGB(232, 255, 232);
    const int32_t H = Round(c.pixelHeight());
    const int32_t W = Round(c.pixelWidth());

    // The square's size comes from the unrounded cell, the positions from
    // the rounded one.
    const float c0 = float(W / (2.0 * LastMass + 1));
    MassW = Round(0.6 * c0);
    MassR = MassW / 2;
    CellW = float(Round(c0));
    MassX.fill(0);
    MassXf.fill(0);
    for (int i = 0; i <= LastMass; ++i) MassX[size_t(i)] = Round((2.0 * i - 0.5) * CellW);
    if (index == 1) MassX[3] = Round(MassX[3] + 0.3 * CellW);

    c.FontSize = 11;
    c.FontName = QStringLiteral("Verdana");
    c.ForeColor = RGB(255, 255, 255);
    const double th = c.TextHeight(QStringLiteral("A"));
    const int32_t yc = Round(H / 2.0);
    const float yText = float(H / 2.0 - 0.5 * th);

    c.makeVisible();
    c.Cls();
    Construct figure(c, Group::Figure);
    if (index == 0)
        c.describe(QStringLiteral("図：質量 M の原子 %1 個が，ばね定数 k のばねで横一列につながった格子"
                                  "（両端の外にも続く）。")
                       .arg(LastMass + 1));
    else
        c.describe(QStringLiteral("図：原子 %1 から %2 の並び。時刻 t = 0 では原子 0 だけが右へ"
                                  "変位し，ほかの原子は静止している。")
                       .arg(QString(QChar(0x2212)) + QString::number(LastMass - 2))
                       .arg(2));

    for (int i = 0; i <= LastMass; ++i) MassXf[size_t(i)] = float(MassX[size_t(i)]);
    // Ghosts beyond both edges, mirrored from masses 2 and 4 (never from the
    // displaced mass 3), so that the outer springs keep their length.
    MassXf[0] = float(3.0 * CellW - MassXf[2]);
    MassXf[size_t(LastMass + 1)] =
        float((2.0 * LastMass - 0.5) * 2.0 * CellW - MassXf[size_t(LastMass - 1)]);

    DrawSprings(c);

    const Color blue = RGB(0, 0, 255);
    for (int j = 0; j <= LastMass; ++j) {
        const int32_t X = Round(MassXf[size_t(j)]);
        c.Box(X - MassR, yc - MassR, X + MassR, yc + MassR, blue, true);
        if (index == 0) {
            float x = float(X - 0.5 * c.TextWidth(QStringLiteral("M")) + 1);
            dsp_text(c, x, yText, QStringLiteral("M"));
        } else {
            const int v = j + 2 - LastMass;
            const QString text = num2str(v);
            double x = X - 0.5 * c.TextWidth(text);
            if (v < 0) x += 2;  // the minus sign leaves the digit off centre
            float xt = float(x);
            dsp_text(c, xt, yText, text);
        }
    }
    c.Box(0, 0, W - 1, H - 1, colGray, false);
    c.makeVisible();
}

void LarchChapter::DrawSprings(Canvas& box) {
    const float r = float(MassR);
    const float d = float(0.1 * CellW);
    const float ym = float(box.pixelHeight() * 0.5);
    box.DrawWidth = 2;
    const Color black = 0;
    for (int i = 0; i <= LastMass; ++i) {
        const float left = MassXf[size_t(i)], right = MassXf[size_t(i + 1)];
        const float xs = float(r + left + d);
        box.Line(xs - d, ym, xs, ym, black);
        const float m = float(right - left - MassW - 2.0 * d);
        if (m > float(0.01 * CellW)) {
            // 3.5 turns in 100 strokes; each turn loops back by up to 2rk.
            const float k = float(0.4 * m / CellW);
            const float L = float(m + (std::cos(7 * Pi) - 1) * r * k);
            for (int j = 1; j <= 100; ++j) {
                const float th = float(2 * Pi * 3.5 * j / 100);
                const double x = xs + (1 - std::cos(th)) * r * k + L * double(j) / 100;
                const double y = ym - r * std::sin(th);
                box.Line(box.CurrentX, box.CurrentY, x, y, black);
            }
        } else {
            // No room for a coil: a short bar across the line.
            box.Line(box.CurrentX, box.CurrentY, box.CurrentX, box.CurrentY - r, black);
            box.Line(box.CurrentX, box.CurrentY, box.CurrentX, box.CurrentY + 2 * r, black);
        }
        box.Line(box.CurrentX, box.CurrentY, right, ym, black);
    }
    box.DrawWidth = 1;
}

}  // namespace chapters
