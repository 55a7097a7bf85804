#include "symbols.h"

#include "constructs.h"
#include "context.h"
#include "font_state.h"
#include "markup.h"
#include "pen.h"
#include "symbol_codes.h"
#include "text.h"

#include <algorithm>
#include <optional>

using namespace typeset;

namespace {

const QString kDot = QStringLiteral("・");

// A Symbol letter at the pen at factor times the size, raised by lift pixels.
void symbolAtPen(const QString& letter, double factor, float lift) {
    Canvas& c = *CurPic;
    const float S = c.FontSize;
    c.FontSize = float(factor * S);
    dsp_symbolIt(c, PenX, PenY - lift, letter);
    c.FontSize = S;
}

// The italic phi of the text face (the Symbol face's phi is the other form).
void textPhi(Canvas& c, float& x, float y) {
    const bool italic = c.FontItalic;
    c.FontItalic = true;
    dsp_text(c, x, y, QStringLiteral("φ"));
    c.FontItalic = italic;
}

// A variable at the pen with dots above it, each 5 pixels right of the last.
void dottedVariable(const QString& v, int dots) {
    Canvas& c = *CurPic;
    const float x0 = PenX, y0 = PenY;
    Construct accented(c, dots == 1 ? Group::Dot : Group::DoubleDot);
    float dx = -2, dy = -8;
    if (greekLetter(v) == Greek::Theta) {
        dsp_symbolIt(c, PenX, PenY, QStringLiteral("q"));
        dx = 0, dy = -11;
    } else {
        dsp_var(c, PenX, PenY, v);
        if (v == QLatin1String("S")) dy = -12;
    }
    for (int k = 0; k < dots; ++k) {
        float x = x0 + dx + 5 * k;
        dsp_text(c, x, y0 + dy, kDot);
    }
}

}  // namespace

void prDelta() { symbolAtPen(QStringLiteral("d"), 1.2, 1); }

void prTheta() { dsp_symbolIt(*CurPic, PenX, PenY, QStringLiteral("q")); }

void prAlpha() { dsp_symbolIt(*CurPic, PenX, PenY, QStringLiteral("a")); }

void omega() { dsp_omega(*CurPic, PenX, PenY); }

void prBeta() { dsp_symbolIt(*CurPic, PenX, PenY, QStringLiteral("b")); }

void prKappa() { symbolAtPen(QStringLiteral("k"), 1.2, 2); }

void prEpsln() {
    Canvas& c = *CurPic;
    FontState keep(c);
    c.FontSize = float(1.05 * keep.size());
    dsp_text(c, PenX, PenY - 2, QStringLiteral("ε"));
}

void prPrime() {
    Canvas& c = *CurPic;
    FontState keep(c);
    c.FontName = face::Verdana;
    c.FontBold = true;
    Construct prime(c, Group::Prime);
    // The fallback italics end at their advance, where Bookman's lean left
    // the 4 pixels of room: 1 pixel keeps the prime clear of its letter
    // without setting it apart.
    PenX += BookmanOK == 1 ? 4 : 1;
    dsp_text(c, PenX, PenY, QStringLiteral("'"));
}

void dsp_prime(Canvas& c, float& x, float y) {
    FontState keep(c);
    c.FontBold = true;
    Construct prime(c, Group::Prime);
    // Half a W was room for Bookman's lean; past the fallback italic's
    // advance the prime would stand off as a tick of its own.
    if (BookmanOK == 1) x = float(x + 0.5 * c.TextWidth(QStringLiteral("A")));
    dsp_text(c, x, y, QStringLiteral("′"));
    x = float(x + 0.2 * c.TextWidth(QStringLiteral("A")));
}

void dsp_sup2(Canvas& c, float& x, float y) {
    FontState keep(c);
    c.FontSize = SupSize * keep.size();
    Construct script(c, Group::Superscript);
    dsp_text(c, x, float(y - 0.1 * c.TextHeight(QStringLiteral("2"))), QStringLiteral("2"));
}

void prDot(const QString& v) { dottedVariable(v, 1); }

void prDDot(const QString& v) { dottedVariable(v, 2); }

void prFunc(const QString& name, const QString& v) {
    Canvas& c = *CurPic;
    dsp_var(c, PenX, PenY, name);
    Skip(Variant.funcNameGap);
    dsp_text(c, PenX, PenY, QStringLiteral("("));
    const bool j = v == QLatin1String("j"), y = v == QLatin1String("y");
    // The bold fallback faces lean into the parenthesis.
    if (BookmanOK != 1) Skip(j ? 5 : y ? 4 : 2);
    dsp_var(c, PenX, PenY, v);
    if (j || v == QLatin1String("t")) Skip(2);
    else if (v == QLatin1String("l")) Skip(3);
    else Skip(Variant.funcArgTrail);
    dsp_text(c, PenX, PenY, QStringLiteral(")"));
}

void dsp_of_x(Canvas& c, float& x, float y) {
    float before = 0, after = 0;
    switch (Variant.ofXGaps) {
    case LibraryVariant::OfXGaps::FallbackTwoPixels:
        before = BookmanOK != 1 ? 2 : 0;
        after = 2;
        break;
    case LibraryVariant::OfXGaps::FifthOfA:
        before = after = float(0.2 * c.TextWidth(QStringLiteral("A")));
        break;
    case LibraryVariant::OfXGaps::None: break;
    }
    dsp_text(c, x, y, QStringLiteral("("));
    x += before;
    dsp_var(c, x, y, QStringLiteral("x"));
    x += after;
    dsp_text(c, x, y, QStringLiteral(")"));
}

void dsp_of_t(Canvas& c, float& x, float y) {
    x += 4;
    dsp_text(c, x, y, QStringLiteral("("));
    x += 2;
    dsp_var(c, x, y, QStringLiteral("t"));
    x += 2;
    dsp_text(c, x, y, QStringLiteral(")"));
}

void prVarSub(const QString& a, const QString& b) {
    dsp_var(*CurPic, PenX, PenY, a);
    dsp_sub(*CurPic, PenX, PenY, b);
}

void prDeriv(const QString& f, const QString& v) {
    Canvas& c = *CurPic;
    Construct fraction(c, Group::Fraction);
    c.Line(PenX, PenY + 12, PenX + 2.4 * UnitW, PenY + 12, c.ForeColor);
    float x = PenX + 2;
    std::optional<Construct> part(std::in_place, c, Group::Numerator);
    dsp_var(c, x, PenY - 11, QStringLiteral("d"));
    x += f == QLatin1String("f") ? 4 : 2;
    dsp_var(c, x, PenY - 11, f);
    part.emplace(c, Group::Denominator);
    x = PenX + 2;
    const float yD = float(PenY + 0.5 * UnitH);
    dsp_var(c, x, yD, QStringLiteral("d"));
    x += 3;
    dsp_var(c, x, yD, v);
    PenX = x;
}

void prThermoVar(Canvas& c, float& x, float y, const QString& text) {
    const std::vector<MarkupToken> tokens = scanMarkup(text, {Greek::Theta, Greek::Phi, Greek::PhiVariant});
    for (size_t i = 0; i < tokens.size(); ++i) {
        const MarkupToken& t = tokens[i];
        if (t.greek == Greek::Theta) {
            dsp_symbolIt(c, x, y, QStringLiteral("q"));
        } else if (t.greek == Greek::Phi) {
            textPhi(c, x, y);
        } else if (t.greek == Greek::PhiVariant) {
            dsp_symbolIt(c, x, y, QStringLiteral("j"));
        } else if (i + 1 < tokens.size() && tokens[i + 1].ch == QLatin1Char(',') && t.ch != QLatin1Char(',') &&
                   t.ch != QLatin1Char(' ')) {
            // A letter and its comma in one piece, so the comma leans with it.
            dsp_var(c, x, y, text.mid(t.at, 2));
            ++i;
        } else {
            // A comma, a blank, or a letter among letters: one at a time.
            dsp_var(c, x, y, QString(t.ch));
        }
    }
}

void prTilde(const QString& v) {
    Construct accented(*CurPic, Group::Tilde);
    prVar(v);
    float x = PenX - 12;
    dsp_text(*CurPic, x, PenY - 15, QStringLiteral("~"));
}

void prPartial(const QString& num, const QString& den, const QString& fixed) {
    Canvas& c = *CurPic;
    const QString partial{QChar(symbol::Partial)};
    const float x0 = PenX;
    Construct whole(c, Group::Row);
    float xp = x0;
    prBigLParen(xp, PenY);
    const float xs = x0 + 10;
    std::optional<Construct> fraction(std::in_place, c, Group::Fraction);
    c.Line(xs, PenY + 12, xs + 28, PenY + 12, c.ForeColor);
    std::optional<Construct> part(std::in_place, c, Group::Numerator);

    // A numerator with a descender (p) would rest on the rule: it goes up
    // 3 px, its partial sign with it.
    const bool descends = !num.isEmpty() && QStringLiteral("gjpqy").contains(num.back());
    const float yNum = PenY - (descends ? 13 : 10);
    float x = xs;
    dsp_symbol(c, x, yNum, partial);
    x += 2;
    prThermoVar(c, x, yNum, num);
    const float numEnd = x;

    part.emplace(c, Group::Denominator);
    x = xs;
    dsp_symbol(c, x, PenY + 12, partial);
    x += 2;
    prThermoVar(c, x, PenY + 12, den);
    part.reset();
    fraction.reset();

    // The parenthesis closes after the wider part, with room for the slant
    // of the bold italic letters.
    x = std::max(x, numEnd) + 7;
    prBigRParen(x, PenY);
    x += 11;  // past the lower half's hook
    dsp_sub(c, x, PenY + 10, fixed);
    PenX = x;
}

void prPartialFrac(const QString& num, const QString& den) {
    Canvas& c = *CurPic;
    const QString savedFace = c.FontName;
    const bool savedBold = c.FontBold;
    const QString partial{QChar(symbol::Partial)};
    const int tilde = int(num.indexOf(QLatin1String("tilde")));
    const Greek denGreek = greekLetter(den);
    const bool greekDen = denGreek == Greek::Theta || denGreek == Greek::Phi || denGreek == Greek::PhiVariant;

    c.FontName = face::Times;
    c.FontBold = true;
    const double wN = c.TextWidth((tilde >= 0 ? num.mid(tilde + 5) : num) + QLatin1Char('N'));
    const double wD = c.TextWidth(greekDen ? QStringLiteral("Nb") : den + QLatin1Char('N'));
    c.FontName = face::Meiryo;
    c.FontBold = false;

    const float x0 = PenX, y0 = PenY;
    const float yRule = float(y0 + 0.4 * UnitH);
    Construct fraction(c, Group::Fraction);
    c.Line(x0, yRule, x0 + std::max(wN, wD) + 4, yRule, c.ForeColor);

    float x = x0;
    std::optional<Construct> part(std::in_place, c, Group::Numerator);
    dsp_symbol(c, x, y0 - 13, partial);
    if (tilde >= 0) {
        // prTilde works at the pen: set it on the numerator's line.
        PenX = x;
        PenY = y0 - 13;
        prTilde(num.right(1));
        PenY = y0;
    } else {
        dsp_var(c, x, y0 - 13, num);
    }

    part.emplace(c, Group::Denominator);
    x = x0;
    if (wN > wD) x = float(x + 0.45 * (wN - wD));
    dsp_symbol(c, x, y0 + 10, partial);
    if (denGreek == Greek::Theta) dsp_symbolIt(c, x, y0 + 11, QStringLiteral("q"));
    else if (denGreek == Greek::Phi) textPhi(c, x, y0 + 10);
    else if (denGreek == Greek::PhiVariant) dsp_symbolIt(c, x, y0 + 10, QStringLiteral("j"));
    else dsp_var(c, x, y0 + 10, den);
    PenX = x;
    c.FontName = savedFace;
    c.FontBold = savedBold;
}
