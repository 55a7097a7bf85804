// The continued fraction of the incomplete gamma function,
//   Γ(ν, x) = e^(-x) x^(ν-1) · 1/(1 + b_2/(1 + b_3/(1 + ...))),
// b_(2m) = (m - ν)/x, b_(2m+1) = m/x, and the estimate of its truncation
// error, computed pass by pass as the convergence graphs trace it.
#pragma once

#include <cstdint>

namespace chapters {

// One curve's working values. Pass i carries the denominators on to
// F_(2i) and F_(2i+1) and yields
//   e_i = b_2 b_3 ... b_(2i+1) / (F_(2i) F_(2i+1)),
// the size of R_(2i) - R_(2i+1).
class ErrorEstimate {
public:
    ErrorEstimate(float nu, double x);

    // Pass i; returns e_i (also kept in err).
    double pass();
    // On to the next pass.
    void next();

    // The partial numerators b_(2m) = (m - ν)/x and b_(2m+1) = m/x, formed
    // with 1/x as the pass does.
    double evenNumerator(int32_t m) const { return (double(m) - double(nu)) * rx; }
    double oddNumerator(int32_t m) const { return double(m) * rx; }

    int32_t i = 1;
    float nu;
    double x, rx;
    double P = 1, Q = 1, F = 0;  // F_(k-2), F_(k-1), F_k
    double c = 0;                // the latest partial numerator
    double prod = 1;             // b_2 ... b_k, scaled with the denominators
    double err = 0;
    int32_t rescales = 0;        // how often the denominators were scaled down
};

// What a pass's estimate means for the graph, whose error axis runs from
// 10^-lower to 10^-upper and whose pass axis starts at 10.
enum class PassOutcome { Skip, Plot, Stop };
PassOutcome classifyPass(int32_t i, double err, double lowerExp = 10, double upperExp = 40);

// The graph's decimal logarithm.
double alog10(double d);

}  // namespace chapters
