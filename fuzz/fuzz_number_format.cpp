// The number formats take any double (NaN, infinities, denormals, huge
// values) and any pattern: Format either throws invalid_argument for a
// pattern it does not know or returns the number in the pattern's digits;
// num2str and Str give text that reads back as the number at fifteen
// significant digits.
#include "fuzz_support.h"
#include "number_format.h"
#include "text.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

using namespace typeset;

namespace {

bool onlyDigitsPointAndSign(const QString& s) {
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c.isDigit() || c == QLatin1Char('.')) continue;
        if (c == QLatin1Char('-') && i == 0) continue;
        return false;
    }
    return true;
}

// num2str's text as a number; its exponent form is d.dddE+XX.
bool readsBackAs(const QString& s, double x) {
    if (std::isnan(x)) return s == QLatin1String("NaN");
    if (std::isinf(x)) return s == (x > 0 ? QLatin1String("Inf") : QLatin1String("-Inf"));
    // Read in long double: at fifteen digits the largest doubles round to
    // just beyond the double range.
    const QByteArray latin = s.toLatin1();
    char* end = nullptr;
    const long double back = std::strtold(latin.constData(), &end);
    if (end != latin.constData() + latin.size()) return false;
    if (x == 0) return back == 0;
    return std::fabs(back - x) <= std::fabs((long double)x) * 1e-14L;
}

}  // namespace

// Input: eight bytes of the double's bit pattern, then the pattern as Latin-1.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < sizeof(double)) return 0;
    double x;
    std::memcpy(&x, data, sizeof x);
    const QString pattern = QString::fromLatin1(reinterpret_cast<const char*>(data + sizeof x),
                                                qsizetype(size - sizeof x));

    const QString plain = num2str(x);
    fuzz::check(readsBackAs(plain, x), "num2str does not read back as the number");
    const QString str = Str(x);
    fuzz::check(str == (x < 0 ? plain : QLatin1Char(' ') + plain),
                "Str is not num2str with a blank for the sign");

    QString formatted;
    try {
        formatted = Format(x, pattern);
    } catch (const std::invalid_argument&) {
        return 0;
    }
    if (std::isfinite(x)) {
        fuzz::check(onlyDigitsPointAndSign(formatted),
                    "Format gave more than digits, point and sign");
        // Rounded at the last placeholder, the text is within half a unit
        // there of the number (the number taken at fifteen digits).
        const qsizetype point = pattern.indexOf(QLatin1Char('.'));
        const int places = point < 0 ? 0 : int(pattern.size() - point - 1);
        if (places <= 300 && std::fabs(x) < 1e300 && !formatted.isEmpty() &&
            formatted != QLatin1String("-") && formatted != QLatin1String(".")) {
            bool ok = false;
            const double back = formatted.toDouble(&ok);
            fuzz::check(ok, "Format's text is not a number");
            const double unit = std::pow(10.0, -places);
            fuzz::check(std::fabs(back - x) <= unit / 2 + std::fabs(x) * 1e-14,
                        "Format's text is further than half a unit from the number");
        }
    }
    return 0;
}
