#include "operators.h"

#include "context.h"
#include "font_state.h"
#include "glyphs.h"
#include "markup.h"
#include "symbol_codes.h"
#include "text.h"

#include <QByteArray>
#include <optional>

using namespace typeset;

namespace {

const QString kInfinity = QStringLiteral("∞");

// The sum sign of the substitute face fills more of its cell than the
// original did: limits at the original offsets run into its foot (the dot of
// a j touches it) and come within a pixel of its top. They stand 3 pixels
// lower and 2 higher, which leaves at least 2 clear pixels either way (at 1
// higher the upper limit read as sitting on the sign at 200 %).
constexpr float kLowerLimitDrop = 3, kUpperLimitLift = 2;

// Infinity sits high in its cell; in the fallback faces it needs more drop.
float infinityDrop() { return BookmanOK == 1 ? 1.0f : 3.0f; }

// The lower limit of a sum, one subscript call per character.
void sumLowerLimit(Canvas& c, float x, float y, const QString& lower) {
    for (QChar ch : lower) {
        const QString s(ch);
        dsp_sub(c, x, s == kInfinity ? y + infinityDrop() : y, s);
    }
}

}  // namespace

void dsp_bigSigma(Canvas& c, float& x, float y) {
    FontState keep(c);
    c.FontSize = 2 * keep.size();
    c.FontName = face::Symbol;
    int32_t xi = Round(x);
    gdiTextOut(c, xi, Round(y), QByteArray(1, char(symbol::Sigma)), 1);
    x = float(xi);
}

namespace {

// The sign and its limits, inside the sum's group.
void sumWithLimits(Canvas& c, float& x, float y, const QString& lower, const QString& upper) {
    const double W = c.TextWidth(QStringLiteral("A"));
    const double H = c.TextHeight(QStringLiteral("A"));
    const float S = c.FontSize;
    const float yUpper = float(y - 0.6 * H) - kUpperLimitLift;
    if (Variant.sumLimitsByLength) {
        float xu = float(x + 12 - 4 * upper.size());
        drawAs(c, Group::Upper, [&] { dsp_sup(c, xu, yUpper, upper); });
        float xl = float(x + 12 - 4 * lower.size());
        if (xl < x) xl = float(x - 0.5 * W);
        drawAs(c, Group::Lower, [&] {
            sumLowerLimit(c, xl, float(y + S * 16 / 13.0) + kLowerLimitDrop, lower);
        });
    } else {
        const double wU = c.TextWidth(upper);
        const double wL = c.TextWidth(lower);
        if (upper == kInfinity) {
            float xu = x + 4;
            drawAs(c, Group::Upper, [&] { dsp_sup(c, xu, yUpper, upper); });
        } else if (!upper.isEmpty()) {
            float xu = float(x + 10 - 0.5 * wU);
            drawAs(c, Group::Upper, [&] { dsp_sup(c, xu, yUpper, upper); });
        }
        drawAs(c, Group::Lower, [&] {
            sumLowerLimit(c, float(x + 12 - 0.5 * wL), float(y + 0.65 * H) + kLowerLimitDrop, lower);
        });
    }
    dsp_bigSigma(c, x, float(y - 0.5 * H));
}

}  // namespace

void dsp_sum(Canvas& c, float& x, float y, const QString& lower, const QString& upper) {
    Construct sum(c, Group::Sum);
    sumWithLimits(c, x, y, lower, upper);
}

void dsp_sum(Canvas& c, float& x, float y, const QString& lower, const std::function<void()>& drawUpper) {
    Construct sum(c, Group::Sum);
    sumWithLimits(c, x, y, lower, QString());
    drawAs(c, Group::Upper, drawUpper);
}

void dsp_intSign(Canvas& c, float& x, float y) {
    FontState keep(c);
    c.FontName = face::Symbol;
    const double H = c.TextHeight(QStringLiteral("A"));
    int32_t xi = Round(x);
    OneSign sign(c, QStringLiteral("\u222B"));
    gdiTextOut(c, xi, Round(y - 0.28 * H), QByteArray(1, char(symbol::IntegralTop)), 1);
    xi = Round(x);
    gdiTextOut(c, xi, Round(y + 0.38 * H), QByteArray(1, char(symbol::IntegralBottom)), 1);
    x = float(xi);
}

void dsp_integral(Canvas& c, float& x, float y, const QString& upper, const QString& lower) {
    const double W = c.TextWidth(QStringLiteral("A"));
    const double H = c.TextHeight(QStringLiteral("A"));
    const float S = c.FontSize;
    const float small = float(0.8 * S);
    Construct integral(c, Group::Integral);
    float xa = x;
    dsp_intSign(c, xa, y);

    float xu = float(xa + 0.5 * W);
    const float yU = float(y - 0.5 * H);
    std::optional<Construct> part(std::in_place, c, Group::Upper);
    for (const MarkupToken& t : scanMarkup(upper, {Greek::LetterPi})) {
        if (t.greek == Greek::LetterPi) {
            dsp_symbol(c, xu, float(y - 0.6 * H), QStringLiteral("p"));
        } else if (t.ch == QLatin1Char('_')) {
            dsp_sub(c, xu, yU, upper.mid(t.at + 1));
            break;
        } else {
            c.FontSize = small;
            dsp_limit(c, xu, yU, QString(t.ch));
            c.FontSize = S;
        }
    }

    part.emplace(c, Group::Lower);
    float xl = xa;
    const float yL = float(y + 0.7 * H);
    const std::vector<MarkupToken> tokens = scanMarkup(lower, {Greek::LetterPi});
    for (size_t i = 0; i < tokens.size(); ++i) {
        const MarkupToken& t = tokens[i];
        if (t.ch == QLatin1Char('-') && i + 1 < tokens.size() && tokens[i + 1].greek == Greek::LetterPi) {
            dsp_courier(c, xl, yL, QStringLiteral("-"));
            dsp_symbol(c, xl, float(y + 0.6 * H), QStringLiteral("p"));
            ++i;
        } else if (t.greek == Greek::LetterPi) {
            dsp_symbol(c, xl, yL, QStringLiteral("p"));
        } else if (t.ch == QLatin1Char('_')) {
            dsp_sub(c, xl, yL, lower.mid(t.at + 1));
            break;
        } else {
            c.FontSize = small;
            dsp_limit(c, xl, yL, QString(t.ch));
            c.FontSize = S;
        }
    }
    x = float(xl + 0.5 * W);
    c.FontSize = S;
}

void dsp_intInf(Canvas& c, float& x, float y) {
    const double W = c.TextWidth(QStringLiteral("A"));
    const double H = c.TextHeight(QStringLiteral("A"));
    const float S = c.FontSize;
    Construct integral(c, Group::Integral);
    float xa = x;
    dsp_intSign(c, xa, y);
    c.FontSize = float(0.8 * S);
    float xu = float(xa + 0.5 * W);
    drawAs(c, Group::Upper, [&] { dsp_text(c, xu, float(y - 0.5 * H), kInfinity); });
    float xl = xa;
    drawAs(c, Group::Lower, [&] {
        dsp_text(c, xl, float(y + 0.7 * H), QStringLiteral("-"));
        dsp_text(c, xl, float(y + 0.7 * H), kInfinity);
    });
    x = float(xl + 0.5 * W);
    c.FontSize = S;
}

void dsp_sqrt(Canvas& c, float& x, float y, float width) {
    const bool savedBold = c.FontBold;
    c.FontBold = false;
    Construct radical(c, Group::Radical);
    float xr = x;
    dsp_symbol(c, xr, y, QString(QChar(symbol::Radical)));
    c.FontBold = savedBold;
    // A rule of no length would still set a pixel on some devices.
    if (width != 0) {
        const int savedWidth = c.DrawWidth;
        c.DrawWidth = 1;
        c.Line(xr, y + 1, xr + width, y + 1, colGray);
        c.DrawWidth = savedWidth;
    }
    x = xr + width;
}

void prSumH(const QString& upper, const QString& lower) {
    Canvas& c = *CurPic;
    const float S = c.FontSize;
    float xs = PenX;
    Construct sum(c, Group::Sum);
    dsp_bigSigma(c, xs, PenY - 10);
    c.FontSize = float(0.9 * S);
    float xu = xs - 8;
    drawAs(c, Group::Upper, [&] { dsp_limit(c, xu, PenY - 20, upper); });
    // Integer division of the rounded width, truncating.
    float xl = float(xs - 6 - Round(c.TextWidth(lower)) / 2);
    drawAs(c, Group::Lower, [&] { dsp_limit(c, xl, PenY + 26, lower); });
    c.FontSize = S;
    PenX = xl;
}
