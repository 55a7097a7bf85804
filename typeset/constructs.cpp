#include "constructs.h"

#include "context.h"
#include "font_state.h"
#include "glyphs.h"
#include "markup.h"
#include "pen.h"
#include "symbol_codes.h"
#include "text.h"

#include <QByteArray>
#include <algorithm>
#include <cmath>

using namespace typeset;

namespace {

// The runtime's Int: the whole part, rounding down.
int32_t Int(double v) { return int32_t(std::floor(v)); }

QByteArray code(int c) { return QByteArray(1, char(uchar(c))); }

// One Symbol piece at whole pixels in the canvas's current font.
void piece(Canvas& c, double x, double y, int codeValue) {
    int32_t xi = Round(x);
    gdiTextOut(c, xi, Round(y), code(codeValue), 1);
}

// Numerator of the common and pi-aware forms: scripts end it, Greek
// spellings and single characters go through the token printer.
void printNumerator(Canvas& c, float x, float y, const QString& num) {
    const bool piAware = Variant.fraction == LibraryVariant::FractionForm::PiAware;
    if (num == QLatin1String("y")) {
        dsp_var(c, x, y - 2, num);
        return;
    }
    const std::vector<MarkupToken> tokens = piAware ? scanMarkup(num, {Greek::Alpha, Greek::LetterPi})
                                                    : scanMarkup(num, {Greek::Alpha});
    for (const MarkupToken& t : tokens) {
        if (t.ch == QLatin1Char('^')) {
            x += 2;
            dsp_sup(c, x, y, num.mid(t.at + 1));
            return;
        }
        if (t.ch == QLatin1Char('_')) {
            dsp_sub(c, x, y, num.mid(t.at + 1));
            return;
        }
        if (t.greek == Greek::Alpha) dsp_symbolIt(c, x, y, QStringLiteral("a"));
        else if (t.greek == Greek::LetterPi) dsp_pi(c, x, y);
        else dsp_limit(c, x, y, QString(t.ch));
    }
}

void printDenominator(Canvas& c, float x, float y, float scale, const QString& den) {
    const bool piAware = Variant.fraction == LibraryVariant::FractionForm::PiAware;
    for (const MarkupToken& t : scanMarkup(den, {Greek::Omega, Greek::LetterPi, Greek::Epsilon})) {
        if (t.ch == QLatin1Char('^')) {
            // As in the numerator: the rest is the superscript.
            x += 2;
            dsp_sup(c, x, y, den.mid(t.at + 1));
            return;
        }
        if (t.ch == QLatin1Char('_')) {
            dsp_sub(c, x, y, den.mid(t.at + 1));
            return;
        }
        if (t.greek == Greek::Omega) {
            x = float(x + 0.3 * UnitW);
            dsp_omega(c, x, y);
        } else if (t.greek == Greek::LetterPi) {
            if (piAware) {
                x = float(x + scale * 0.2 * UnitW);
                dsp_pi(c, x, float(y - scale * 0.03 * UnitH));
            } else {
                x = float(x + 0.4 * UnitW);
                dsp_pi(c, x, float(y - 0.03 * UnitH));
            }
        } else if (t.greek == Greek::Epsilon) {
            x = float(x + 0.4 * UnitW);
            dsp_epsln(c, x, float(y - 0.03 * UnitH));
        } else {
            dsp_limit(c, x, y, QString(t.ch));
        }
    }
}

}  // namespace

void Fraction(float scale, const QString& num, const QString& den) {
    Canvas& c = *CurPic;
    const float S = c.FontSize;
    c.FontSize = scale * S;
    const bool wholeParts = Variant.fraction == LibraryVariant::FractionForm::WholeParts;
    const int32_t wN = MarkupWidth(num);
    const int32_t wD = MarkupWidth(den);
    const float Wf =
        float(std::max(wN, wD) + c.TextWidth(wholeParts ? QStringLiteral("A") : QStringLiteral("p")));
    // The scale is single precision: 10 * 0.9f is just under 9, so Int gives 8.
    // A numerator with a subscript stands one pixel higher than the 12 the
    // pages were set with, so that the script's digits clear the rule.
    // Bars of an absolute value (|q|) descend as far as the q's tail, onto
    // the rule: such a numerator goes 2 pixels higher.
    const float yN = PenY - float(Int(num.contains(QLatin1Char('_')) ? 13.0 * scale
                                                                       : 10.0 * scale)) -
                     (num.contains(QLatin1Char('|')) ? 2.0f : 0.0f);
    const float yD = PenY + float(Int(13.0 * scale + 0.5));

    Construct fraction(c, Group::Fraction);
    if (wholeParts) {
        float xN = PenX + 4;
        if (wN < wD) xN = float(xN + (wD - wN) / 2.0);
        {
            Construct part(c, Group::Numerator);
            if (num == QLatin1String("y")) {
                xN += 3;
                dsp_var(c, xN, yN - 2, num);
            } else {
                dsp_limit(c, xN, yN, num);
            }
        }
        float xD = PenX + 4;
        if (wN > wD) xD = float(xD + (wN - wD) / 2.0);
        Construct part(c, Group::Denominator);
        dsp_limit(c, xD, yD, den);
    } else {
        {
            Construct part(c, Group::Numerator);
            printNumerator(c, float(PenX + (Wf - wN) / 2.0), yN, num);
        }
        Construct part(c, Group::Denominator);
        printDenominator(c, float(PenX + (Wf - wD) / 2.0), yD, scale, den);
    }

    c.Line(PenX, PenY + 12, PenX + Wf, PenY + 12, c.ForeColor);
    PenX = PenX + Wf;
    c.FontSize = S;
}

void prFrac(const QString& num, const QString& den) { Fraction(1.0f, num, den); }

void prFracS(const QString& num, const QString& den) { Fraction(0.9f, num, den); }

void dsp_half(Canvas& c, float& x, float& y) {
    const double W = c.TextWidth(QStringLiteral("A"));
    const double H = c.TextHeight(QStringLiteral("A"));
    const float S = c.FontSize;
    const float y0 = float(y + 0.05 * H);
    Construct fraction(c, Group::Fraction);
    dsp_text(c, x, y0, QStringLiteral("―"));
    c.FontSize = float(0.9 * S);
    float xd = float(x - 1.2 * W);
    drawAs(c, Group::Numerator, [&] { dsp_text(c, xd, float(y0 - 0.35 * H), QStringLiteral("1")); });
    xd = float(x - 1.2 * W);
    drawAs(c, Group::Denominator, [&] { dsp_text(c, xd, float(y0 + 0.4 * H), QStringLiteral("2")); });
    c.FontSize = S;
}

void dsp_oneOver(Canvas& c, float& x, float& y, const QString& d) {
    const double W = c.TextWidth(QStringLiteral("A"));
    const double H = c.TextHeight(QStringLiteral("A"));
    const float S = c.FontSize;
    const float y0 = float(y + 0.05 * H);
    Construct fraction(c, Group::Fraction);
    dsp_text(c, x, y0, QStringLiteral("―"));
    c.FontSize = float(0.9 * S);
    float xd = float(x - 1.2 * W);
    drawAs(c, Group::Numerator, [&] { dsp_text(c, xd, float(y0 - 0.35 * H), QStringLiteral("1")); });
    Construct denominator(c, Group::Denominator);
    if (!d.isEmpty() && isLatinLetter(d.at(0))) {
        // Italic letters lean right; start them a little further left. The
        // fallback capitals are taller than the bar leaves room for: one
        // pixel lower they clear it.
        xd = float(x - 1.4 * W);
        dsp_var(c, xd, float(y0 + 0.4 * H) + (BookmanOK == 1 ? 0 : 1), d);
    } else {
        xd = float(x - 1.2 * W);
        dsp_text(c, xd, float(y0 + 0.4 * H), d);
    }
    c.FontSize = S;
}

void prOverPi() {
    Canvas& c = *CurPic;
    const float x0 = PenX;
    Construct fraction(c, Group::Fraction);
    pr(QStringLiteral("─"));
    float x = x0 + 4;
    drawAs(c, Group::Numerator, [&] { dsp_text(c, x, PenY - 11, QStringLiteral("1")); });
    x = x0 + 4;
    drawAs(c, Group::Denominator, [&] { dsp_pi(c, x, PenY + 9); });
}

void prOver2Pi() {
    Canvas& c = *CurPic;
    const float x0 = PenX;
    const bool likeOver4Pi = Variant.over2PiPenPrintsDenominator;
    Construct fraction(c, Group::Fraction);
    pr(QStringLiteral("─"));
    Skip(likeOver4Pi ? -10 : -8);
    pr(QStringLiteral("─"));
    float x = x0 + (likeOver4Pi ? 6 : 8);
    drawAs(c, Group::Numerator, [&] { dsp_text(c, x, PenY - 10, QStringLiteral("1")); });
    Construct denominator(c, Group::Denominator);
    if (likeOver4Pi) {
        PenX = x0;
        pr2pi(PenX, PenY + 10);
    } else {
        x = x0 + 2;
        pr2pi(x, PenY + 10);
    }
}

void prOver4Pi() {
    Canvas& c = *CurPic;
    const float x0 = PenX;
    Construct fraction(c, Group::Fraction);
    pr(QStringLiteral("─"));
    Skip(-10);
    pr(QStringLiteral("─"));
    float x = x0 + 6;
    drawAs(c, Group::Numerator, [&] { dsp_text(c, x, PenY - 10, QStringLiteral("1")); });
    PenX = x0;
    Construct denominator(c, Group::Denominator);
    pr4pi(PenX, PenY + 10);
}

namespace {
void digitPi(float& x, float y, const QString& digit, float digitDrop) {
    Canvas& c = *CurPic;
    const float S = c.FontSize;
    c.FontSize = float(0.92 * S);
    dsp_text(c, x, y + digitDrop, digit);
    x += 2;
    c.FontSize = S;
    dsp_pi(c, x, y);
}
}  // namespace

void pr2pi(float& x, float y) { digitPi(x, y, QStringLiteral("2"), 0); }

void pr4pi(float& x, float y) { digitPi(x, y, QStringLiteral("4"), 1); }

void dsp_bigParen(float& x, float y, int kind) {
    Canvas& c = *CurPic;
    FontState keep(c);
    if (Variant.boldBigParen) c.FontBold = true;
    c.FontName = face::Symbol;
    const bool left = kind == 1;
    Construct fence(c, Group::Fence);
    OneSign sign(c, left ? QStringLiteral("(") : QStringLiteral(")"));
    piece(c, x, y - 6, left ? symbol::LParenTop : symbol::RParenTop);
    piece(c, x, y + 8, left ? symbol::LParenBottom : symbol::RParenBottom);
}

void prBigLParen(float& x, float y) { dsp_bigParen(x, y, 1); }

void prBigRParen(float& x, float y) { dsp_bigParen(x, y, 2); }

void ColBrace(int index, float lx, float ly, float ht) {
    Canvas& c = *CurPic;
    FontState keep(c);
    c.FontName = face::Symbol;
    const int hook = symbol::LBraceTop + symbol::BraceSideStep * index;
    bool extend = true;
    switch (Variant.braceExtension) {
    case LibraryVariant::BraceExtension::Always: extend = true; break;
    case LibraryVariant::BraceExtension::HeightAtLeastOne: extend = ht >= 1.0; break;
    case LibraryVariant::BraceExtension::HeightAboveFourTenths: extend = ht > 0.4; break;
    }
    Construct fence(c, Group::Fence);
    OneSign sign(c, index == 0 ? QStringLiteral("{") : QStringLiteral("}"));
    piece(c, lx, ly - 2.0 * ht * UnitH, hook);
    if (extend) piece(c, lx, ly - double(ht) * UnitH, symbol::BraceExtension);
    piece(c, lx, ly, hook + 1);
    if (extend) piece(c, lx, ly + double(ht) * UnitH, symbol::BraceExtension);
    piece(c, lx, ly + 2.0 * ht * UnitH, hook + 2);
}

void Brace_alpha(int index, float lx, float ly) {
    // The label and its brace read as one, in the order they stand ("α{",
    // "}α"); they do not overlap, so the order they are drawn in shows no
    // difference.
    Construct labelled(*CurPic, Group::Fence);
    float x = float(index == 0 ? lx - 1.6 * UnitW : lx + 1.2 * UnitW);
    if (index != 0) ColBrace(index, lx, ly, 0.6f);
    dsp_symbolIt(*CurPic, x, ly - 2, QStringLiteral("a"));
    if (index == 0) ColBrace(index, lx, ly, 0.6f);
}

void brace_beta(float x, float y) {
    Canvas& c = *CurPic;
    float xBeta = x;
    dsp_symbolIt(c, xBeta, float(y + 0.2 * UnitH), QStringLiteral("b"));
    FontState keep(c);
    c.FontName = face::Symbol;
    int32_t xb = Round(x - 2.0 * UnitW);
    const int32_t yb = Round(y);
    // A left brace turned up: its point is below, a brace under the line.
    // The substitute's pieces are shorter than the original's: 10 pixels
    // between them left 2-pixel breaks, 7 let them overlap by one. The
    // brace starts 3 pixels further in, so that its point stays where it was.
    Construct fence(c, Group::Fence);
    OneSign sign(c, QStringLiteral("\u23DF"));
    xb += 3;
    dsp_rotFace(c, xb, yb, symbol::LBraceTop, 1, 90);
    xb += 7;
    dsp_rotFace(c, xb, yb, symbol::LBraceMiddle, 1, 90);
    xb += 7;
    dsp_rotFace(c, xb, yb, symbol::LBraceBottom, 1, 90);
}

void Xa(const QString& top, const QString& bottom) {
    // The letter and its stacked scripts read as one (the subscript starts
    // back under the superscript, which would part them).
    Construct whole(*CurPic, Group::Row);
    const float saved = SupRaise;
    SupRaise = 0.4f;
    prVar(QStringLiteral("X"));
    Skip(2);
    const int32_t x0 = Round(PenX);
    prSup(top);
    PenX = float(x0);
    prSub(bottom);
    SupRaise = saved;
}

void Xp(const QString& bottom) { Xa(QStringLiteral("( p)"), bottom); }

void Xp1(const QString& bottom) { Xa(QStringLiteral("(p+1)"), bottom); }

void dsp_2p() {
    pr(QStringLiteral("2"));
    PenX = PenX + float(Variant.twoPGap);
    prSup(QStringLiteral("p"));
}

void dsp_sampleLine(Canvas& c, float& x, float y, Color colour) {
    const double W = c.TextWidth(QStringLiteral("A"));
    const double H = c.TextHeight(QStringLiteral("A"));
    const int savedWidth = c.DrawWidth;
    c.DrawWidth = 2;
    c.Line(x + W, y + 0.45 * H, x + 5 * W, y + 0.45 * H, colour);
    c.DrawWidth = savedWidth;
    x = float(x + 6 * W);
}
