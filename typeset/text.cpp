#include "text.h"

#include "context.h"
#include "faces.h"
#include "font_state.h"

#include <cmath>
#include <cstdio>

using namespace typeset;

void dsp_plain(Canvas& c, float& x, float y, const QString& text) {
    c.CurrentX = x;
    c.CurrentY = y;
    c.Print(text);
    x = c.CurrentX;
}

void dsp_face(Canvas& c, const QString& faceName, float& x, float y, const QString& text) {
    FontState keep(c);
    c.FontName = faceName;
    dsp_plain(c, x, y, text);
}

void dsp_text(Canvas& c, float& x, float y, const QString& text) {
    if (c.FontName != face::Meiryo) {
        dsp_plain(c, x, y, text);
        return;
    }
    // The Japanese face draws a short minus and a comma that sits too high
    // among formulas; take both from better-fitting faces.
    QString rest = text;
    if (rest.startsWith(QLatin1Char('-'))) {
        dsp_courier(c, x, y, QStringLiteral("-"));
        rest.remove(0, 1);
    }
    const QChar comma(0xFF0C);  // full-width comma
    while (!rest.isEmpty()) {
        const int k = rest.indexOf(comma);
        if (k < 0) {
            dsp_plain(c, x, y, rest);
            return;
        }
        dsp_plain(c, x, y, rest.left(k));
        dsp_gothic(c, x, float(y + 0.15 * c.TextHeight(QStringLiteral("A"))), QString(comma));
        rest = rest.mid(k + 1);
    }
}

void dsp_gothic(Canvas& c, float& x, float y, const QString& text) {
    dsp_face(c, face::Gothic, x, y, text);
}

void dsp_courier(Canvas& c, float& x, float y, const QString& text) {
    FontState keep(c);
    c.FontSize = float(1.2 * keep.size());
    dsp_face(c, face::Courier, x, y, text);
}

void dsp_symbol(Canvas& c, float& x, float y, const QString& text) {
    dsp_face(c, face::Symbol, x, y, text);
}

void dsp_symbolIt(Canvas& c, float& x, float y, const QString& text) {
    FontState keep(c);
    c.FontItalic = true;
    dsp_face(c, face::Symbol, x, y, text);
}

void dsp_var(Canvas& c, float& x, float y, const QString& text) {
    if (BookmanOK == 0) BookmanOK = FontExists(face::Bookman) ? 1 : -1;
    FontState keep(c);
    c.FontItalic = true;
    c.FontSize = float(1.15 * keep.size());
    QString faceName = face::Bookman;
    if (BookmanOK != 1) {
        c.FontBold = true;
        if (text == QLatin1String("v")) {
            faceName = face::Century;
            y = y - 1;
        } else {
            faceName = face::Times;
        }
    }
    dsp_face(c, faceName, x, y, text);
}

void dsp_pi(Canvas& c, float& x, float y) {
    FontState keep(c);
    c.FontSize = float(1.2 * keep.size());
    dsp_symbol(c, x, float(y - 0.08 * c.TextHeight(QStringLiteral("p"))), QStringLiteral("p"));
}

void dsp_epsln(Canvas& c, float& x, float y) {
    FontState keep(c);
    c.FontSize = float(1.05 * keep.size());
    dsp_text(c, x, y - 2, QStringLiteral("ε"));
}

void dsp_omega(Canvas& c, float& x, float y) {
    FontState keep(c);
    c.FontItalic = true;
    if (BookmanOK != 1) c.FontBold = true;
    dsp_text(c, x, float(y - 0.05 * c.TextHeight(QStringLiteral("A"))), QStringLiteral("ω"));
}

bool IsWideChar(const QString& s) { return !s.isEmpty() && s.at(0).unicode() >= 256; }

QString num2str(double x) {
    if (x == 0) return QStringLiteral("0");
    if (!std::isfinite(x)) return std::isnan(x) ? QStringLiteral("NaN")
                                                : (x > 0 ? QStringLiteral("Inf")
                                                         : QStringLiteral("-Inf"));
    // Fifteen significant digits, then decide between fixed and exponent form
    // by the decimal exponent of the rounded value.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(x));
    QString mant = QString::fromLatin1(buf);
    const int ePos = mant.indexOf(QLatin1Char('e'));
    const int exp10 = mant.mid(ePos + 1).toInt();
    QString digits = mant.left(ePos);
    digits.remove(QLatin1Char('.'));
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0'))) digits.chop(1);

    QString out;
    if (exp10 < -4 || exp10 >= 15) {
        // Exponent form: d[.ddd]E+XX with at least two exponent digits.
        out = digits.left(1);
        if (digits.size() > 1) out += QLatin1Char('.') + digits.mid(1);
        out += QStringLiteral("E%1%2")
                   .arg(exp10 < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                   .arg(std::abs(exp10), 2, 10, QLatin1Char('0'));
    } else if (exp10 < 0) {
        out = QLatin1Char('.') + QString(-exp10 - 1, QLatin1Char('0')) + digits;
    } else if (digits.size() <= exp10 + 1) {
        out = digits + QString(exp10 + 1 - digits.size(), QLatin1Char('0'));
    } else {
        out = digits.left(exp10 + 1) + QLatin1Char('.') + digits.mid(exp10 + 1);
    }
    return x < 0 ? QLatin1Char('-') + out : out;
}

double MaxOf(double a, double b) { return a >= b ? a : b; }

void dsp_textAt(Canvas& c, double x, double y, const QString& text) {
    float px = float(x);
    dsp_text(c, px, float(y), text);
}
