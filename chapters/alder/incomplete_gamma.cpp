#include "incomplete_gamma.h"

#include <cmath>

namespace chapters {

ErrorEstimate::ErrorEstimate(float nu_, double x_) : nu(nu_), x(x_), rx(1.0 / x_) {}

double ErrorEstimate::pass() {
    c = evenNumerator(i);  // b_(2i)
    prod = prod * c;
    // F still holds F_(2i-1) = Q. Scaling the two denominators the recurrence
    // needs by 10^-50 scales both F_(2i) and F_(2i+1) so, and the product of
    // numerators by 10^-100 keeps e_i as it was.
    if (Q * F > 1e100) {
        prod = prod * 1e-100;
        P = P * 1e-50;
        Q = Q * 1e-50;
        ++rescales;
    }
    F = P * c + Q;  // F_(2i)
    P = Q;
    Q = F;
    c = oddNumerator(i);  // b_(2i+1)
    prod = prod * c;
    F = P * c + Q;  // F_(2i+1)
    err = prod / (F * Q);
    return err;
}

void ErrorEstimate::next() {
    P = Q;
    Q = F;
    i = i + 1;
}

PassOutcome classifyPass(int32_t i, double err, double lowerExp, double upperExp) {
    // The stop test comes first: an estimate already below the bottom edge
    // ends the curve rather than being plotted.
    if (std::pow(10.0, -upperExp) > err) return PassOutcome::Stop;
    if (std::pow(10.0, -lowerExp) >= err && i >= 10) return PassOutcome::Plot;
    return PassOutcome::Skip;
}

double alog10(double d) { return std::log(d) / std::log(10.0); }

}  // namespace chapters
