#include "hazel/chebyshev.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

using namespace chapters;

namespace {

CoefArray expCoefficients() {
    CoefArray c{};
    storeExpCoefficients(c);
    return c;
}

std::vector<double> samples() {
    std::vector<double> xs;
    forEachSample([&](double x) { xs.push_back(x); });
    return xs;
}

}  // namespace

TEST(HazelNumerics, CoefficientsAreTheRewrittenTaylorSeries) {
    const CoefArray c = expCoefficients();
    EXPECT_NEAR(c[0], 2917.0 / 2304.0, 1e-15);
    EXPECT_NEAR(c[1], 217.0 / 192.0, 1e-15);
    EXPECT_NEAR(c[2], 417.0 / 1536.0, 1e-15);
    EXPECT_NEAR(c[3], 17.0 / 384.0, 1e-15);
    EXPECT_NEAR(c[4], 21.0 / 3840.0, 1e-15);
    EXPECT_NEAR(c[5], 1.0 / 1920.0, 1e-15);
    EXPECT_NEAR(c[6], 1.0 / 23040.0, 1e-15);
    for (size_t k = 7; k < c.size(); ++k) EXPECT_EQ(c[k], 0.0);
    // Together they reproduce the degree-6 Taylor polynomial.
    for (double x : {-1.0, -0.3, 0.0, 0.7, 1.0}) {
        double taylor = 0, term = 1;
        for (int m = 0; m <= 6; ++m) {
            taylor += term;
            term *= x / (m + 1);
        }
        EXPECT_NEAR(ChebyshevInterpolation(c, 6, x), taylor, 1e-14) << x;
    }
}

TEST(HazelNumerics, SeriesMatchesTheChebyshevSum) {
    const CoefArray c = expCoefficients();
    EXPECT_NEAR(ChebyshevInterpolation(c, 4, 0), c[0] - c[2] + c[4], 1e-15);
    EXPECT_NEAR(ChebyshevInterpolation(c, 4, 1), c[0] + c[1] + c[2] + c[3] + c[4], 1e-15);
    EXPECT_NEAR(ChebyshevInterpolation(c, 4, -1), c[0] - c[1] + c[2] - c[3] + c[4], 1e-15);
    for (int i = 0; i <= 200; ++i) {
        const double x = -1 + i / 100.0;
        EXPECT_NEAR(ChebyshevInterpolation(c, 2, x), c[2] * (2 * x * x - 1) + c[1] * x + c[0],
                    1e-15);
        double direct = 0;
        for (int k = 0; k <= 4; ++k) direct += c[size_t(k)] * std::cos(k * std::acos(x));
        EXPECT_NEAR(ChebyshevInterpolation(c, 4, x), direct, 1e-14) << x;
    }
    // The low degrees the page never uses still give the series value.
    EXPECT_EQ(ChebyshevInterpolation(c, 0, 0.3), c[0]);
    EXPECT_NEAR(ChebyshevInterpolation(c, 1, 0.3), c[0] + 0.3 * c[1], 1e-15);
}

TEST(HazelNumerics, DegreeOutsideTheArrayThrows) {
    const CoefArray c = expCoefficients();
    EXPECT_NO_THROW(ChebyshevInterpolation(c, 10, 0.5));
    EXPECT_THROW(ChebyshevInterpolation(c, 11, 0.5), std::out_of_range);
    EXPECT_THROW(ChebyshevInterpolation(c, 1000, 0.5), std::out_of_range);
    EXPECT_THROW(ChebyshevInterpolation(c, -1, 0.5), std::out_of_range);
}

TEST(HazelNumerics, SamplesRunFromMinusOneToOneInSteps) {
    const std::vector<double> xs = samples();
    ASSERT_EQ(xs.size(), 257u);
    EXPECT_EQ(xs.front(), -1.0);
    EXPECT_EQ(xs.back(), 1.0);
    EXPECT_EQ(xs[128], 0.0);
}

TEST(HazelNumerics, TaylorErrorIsBelowTheCurveAndLargestAtOne) {
    EXPECT_DOUBLE_EQ(TaylorP5(1), 1 + 1 + 1.0 / 2 + 1.0 / 6 + 1.0 / 24 + 1.0 / 120);
    double worst = 0, worstX = 0;
    for (double x : samples()) {
        const double err = TaylorP5(x) - std::exp(x);
        EXPECT_LE(err, 0.0) << x;
        if (std::fabs(err) > worst) {
            worst = std::fabs(err);
            worstX = x;
        }
        EXPECT_LT(std::fabs(err) * 1000, 2.0) << x;  // inside the frame
    }
    EXPECT_EQ(worstX, 1.0);
    EXPECT_LT(std::fabs(TaylorP5(-1) - std::exp(-1)), worst);
}

TEST(HazelNumerics, ChebyshevErrorIsSmallAndOscillates) {
    const CoefArray c = expCoefficients();
    int changes = 0;
    double previous = 0, lowest = 0, lowestX = 0;
    for (double x : samples()) {
        const double err = (ChebyshevInterpolation(c, 4, x) - std::exp(x)) * 1000;
        EXPECT_LT(std::fabs(err), 1.0) << x;
        if (previous != 0 && err != 0 && (err > 0) != (previous > 0)) ++changes;
        if (err != 0) previous = err;
        if (err < lowest) {
            lowest = err;
            lowestX = x;
        }
    }
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(lowestX, 1.0);
    EXPECT_NEAR((ChebyshevInterpolation(c, 4, 0) - 1) * 1000, 1000 * (c[0] - c[2] + c[4] - 1),
                1e-12);
}
