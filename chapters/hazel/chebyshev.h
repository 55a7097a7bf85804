// What the chapter computes: the Chebyshev coefficients of the degree-6
// Taylor polynomial of e^x, the evaluation of a Chebyshev series, the
// degree-5 Taylor polynomial, and the sample points of the graphs.
#pragma once

#include <array>
#include <cstdint>

namespace chapters {

// Chebyshev coefficients c_0 .. c_10 (page 1 fills 0 .. 6).
using CoefArray = std::array<double, 11>;

// Stores the coefficients of e^x = sum x^m/m! (m = 0 .. 6) rewritten in
// Chebyshev polynomials into Coef(0) .. Coef(6).
void storeExpCoefficients(CoefArray& Coef);

// Sum of c_k T_k(x) for k = 0 .. n (c_0 counted fully). Throws
// std::out_of_range for n outside 0 .. 10.
double ChebyshevInterpolation(const CoefArray& Coef, int32_t n, double x);

// The Taylor polynomial of e^x up to x^5, in nested form.
double TaylorP5(double x);

// The curves are sampled from -1 to 1 in steps of 1/128 (257 points).
constexpr double kSampleStep = 1.0 / 128.0;

// Calls visit(x) for each sample point, the loop variable accumulating the
// step as the page's loop does (exact here: the step is a power of two).
template <class Visit>
void forEachSample(Visit visit) {
    for (double x = -1.0; x <= 1.0; x += kSampleStep) visit(x);
}

}  // namespace chapters
