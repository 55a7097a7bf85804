#include "number_format.h"

#include "text.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

using namespace typeset;

namespace {

// Adds one unit in the last place of a string of decimal digits.
QString incremented(QString digits) {
    int i = int(digits.size()) - 1;
    for (; i >= 0; --i) {
        if (digits[i] == QLatin1Char('9')) {
            digits[i] = QLatin1Char('0');
        } else {
            digits[i] = QChar(digits[i].unicode() + 1);
            return digits;
        }
    }
    return QLatin1Char('1') + digits;
}

}  // namespace

QString Format(double x, const QString& pattern) {
    const int point = int(pattern.indexOf(QLatin1Char('.')));
    const QString intPart = point < 0 ? pattern : pattern.left(point);
    const QString fracPart = point < 0 ? QString() : pattern.mid(point + 1);
    const auto placeholders = [](const QString& s) {
        for (QChar ch : s)
            if (ch != QLatin1Char('0') && ch != QLatin1Char('#')) return false;
        return true;
    };
    if (!placeholders(intPart) || !placeholders(fracPart))
        throw std::invalid_argument("Format: unsupported pattern " + pattern.toStdString());
    if (!std::isfinite(x)) return num2str(x);

    const int intMin = int(intPart.count(QLatin1Char('0')));
    const int fracMax = int(fracPart.size());
    const int fracMin = int(fracPart.lastIndexOf(QLatin1Char('0'))) + 1;

    // The value as the runtime sees it: fifteen significant digits.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(x));
    const QString mant = QString::fromLatin1(buf);
    const int ePos = int(mant.indexOf(QLatin1Char('e')));
    const int exp10 = mant.mid(ePos + 1).toInt();
    QString digits = mant.left(ePos);
    digits.remove(QLatin1Char('.'));

    // Split into integer and fraction digits; digits[0] has place value 10^exp10.
    QString whole, frac;
    if (exp10 >= 0) {
        whole = digits.left(exp10 + 1);
        if (whole.size() < exp10 + 1) whole += QString(exp10 + 1 - whole.size(), QLatin1Char('0'));
        frac = digits.mid(exp10 + 1);
    } else {
        whole = QStringLiteral("0");
        // Beyond two places past the pattern's last one nothing can matter.
        const int zeros = std::min(-exp10 - 1, fracMax + 2);
        frac = QString(zeros, QLatin1Char('0')) + digits;
    }

    // Round half away from zero at the last fraction placeholder.
    if (frac.size() > fracMax) {
        const bool up = frac[fracMax] >= QLatin1Char('5');
        frac.truncate(fracMax);
        if (up) {
            const QString n = incremented(whole + frac);
            whole = n.left(n.size() - fracMax);
            frac = n.right(fracMax);
        }
    } else {
        frac += QString(fracMax - frac.size(), QLatin1Char('0'));
    }
    while (frac.size() > fracMin && frac.endsWith(QLatin1Char('0'))) frac.chop(1);

    while (whole.size() > 1 && whole.startsWith(QLatin1Char('0'))) whole.remove(0, 1);
    if (whole == QLatin1String("0")) whole.clear();
    if (whole.size() < intMin) whole = QString(intMin - whole.size(), QLatin1Char('0')) + whole;

    QString out = whole;
    if (point >= 0) out += QLatin1Char('.') + frac;
    bool zero = true;
    for (QChar ch : whole + frac)
        if (ch != QLatin1Char('0')) zero = false;
    return (x < 0 && !zero) ? QLatin1Char('-') + out : out;
}

QString Str(double x) { return x < 0 ? num2str(x) : QLatin1Char(' ') + num2str(x); }
