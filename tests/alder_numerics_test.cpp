// The continued fraction of the incomplete gamma function and the estimate of
// its truncation error, checked against the fraction evaluated directly.
#include "alder/incomplete_gamma.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace chapters;

namespace {

using Wide = __float128;

// b_k of Γ(ν, x) = e^-x x^(ν-1) · b_1/(1 + b_2/(1 + b_3/(1 + ...))),
// written out independently of the chapter's code.
Wide b(int k, double nu, double x) {
    if (k == 1) return 1;
    const int m = k / 2;
    return (k % 2 == 0 ? Wide(m) - Wide(nu) : Wide(m)) / Wide(x);
}

// R_n evaluated from the bottom up: b_n/1, then b_k/(1 + t) for k = n-1 ... 1.
Wide truncated(int n, double nu, double x) {
    Wide t = b(n, nu, x);
    for (int k = n - 1; k >= 1; --k) t = b(k, nu, x) / (1 + t);
    return t;
}

struct CurveRun {
    int stopPass = 0;
    std::vector<std::pair<int, double>> plotted;
};

CurveRun runCurve(float nu, double x) {
    CurveRun r;
    ErrorEstimate e(nu, x);
    for (;;) {
        const double err = e.pass();
        const PassOutcome o = classifyPass(e.i, err);
        if (o == PassOutcome::Stop) {
            r.stopPass = e.i;
            return r;
        }
        if (o == PassOutcome::Plot) r.plotted.emplace_back(e.i, err);
        e.next();
    }
}

const double xs[] = {10, 5, 4, 3, 2, 1};

}  // namespace

TEST(AlderNumerics, PartialNumeratorsOfBothParameters) {
    ErrorEstimate zero(0.0f, 4.0), half(0.5f, 4.0);
    for (int m = 1; m <= 6; ++m) {
        // ν = 0: b_(2m) and b_(2m+1) are both m/x.
        EXPECT_DOUBLE_EQ(zero.evenNumerator(m), m / 4.0);
        EXPECT_DOUBLE_EQ(zero.oddNumerator(m), m / 4.0);
        EXPECT_DOUBLE_EQ(half.evenNumerator(m), (m - 0.5) / 4.0);
        EXPECT_DOUBLE_EQ(half.oddNumerator(m), m / 4.0);
    }
    // The first pass by hand: e_1 = b_2 b_3 / (F_2 F_3), F_2 = 1 + b_2,
    // F_3 = F_2 + b_3.
    ErrorEstimate a(0.0f, 2.0), c(0.5f, 2.0);
    EXPECT_DOUBLE_EQ(a.pass(), 0.25 / (1.5 * 2.0));
    EXPECT_DOUBLE_EQ(c.pass(), 0.125 / (1.25 * 1.75));
}

TEST(AlderNumerics, EstimateIsTheDifferenceOfNeighbouringTruncations) {
    for (float nu : {0.0f, 0.5f}) {
        for (double x : {1.0, 2.0, 5.0, 10.0}) {
            ErrorEstimate e(nu, x);
            // Down to where quadruple precision still resolves the difference
            // of two values near 1 to nine digits.
            for (int checked = 0;; ++checked) {
                const double err = e.pass();
                if (err < 1e-24) {
                    EXPECT_GT(checked, 10) << "nu " << nu << " x " << x;
                    break;
                }
                const int n = 2 * e.i;
                const Wide diff = truncated(n, nu, x) - truncated(n + 1, nu, x);
                // (-1)^(n+1) with n even: R_n lies below R_(n+1).
                EXPECT_LT(double(diff), 0.0) << "pass " << e.i;
                EXPECT_NEAR(err / double(-diff), 1.0, 1e-9)
                    << "nu " << nu << " x " << x << " pass " << e.i;
                e.next();
            }
        }
    }
}

TEST(AlderNumerics, RescalingLeavesTheEstimateUnchanged) {
    for (float nu : {0.0f, 0.5f}) {
        for (double x : xs) {
            // The same recurrence without any rescaling, in a range wide
            // enough for the largest denominators of the page (about 10^2600).
            long double P = 1, Q = 1, prod = 1;
            ErrorEstimate e(nu, x);
            for (;;) {
                const double err = e.pass();
                const long double b2 = (e.i - (long double)nu) / x, b3 = e.i / (long double)x;
                prod *= b2 * b3;
                const long double F2 = P * b2 + Q;
                const long double F3 = Q * b3 + F2;
                const long double ref = prod / (F2 * F3);
                ASSERT_NEAR(double(err / ref), 1.0, 1e-12) << "nu " << nu << " x " << x
                                                          << " pass " << e.i;
                P = F2;
                Q = F3;
                if (classifyPass(e.i, err) == PassOutcome::Stop) break;
                e.next();
            }
            if (x <= 3) {
                EXPECT_GT(e.rescales, 0) << "x " << x;  // the scaling was exercised
            }
            EXPECT_TRUE(std::isfinite(e.F) && e.F > 0);
        }
    }
}

TEST(AlderNumerics, CurvesEndAtTheBottomEdgeAfterTheExpectedPasses) {
    for (float nu : {0.0f, 0.5f}) {
        const CurveRun one = runCurve(nu, 1), ten = runCurve(nu, 10);
        EXPECT_NEAR(one.stopPass, 570, 10) << "nu " << nu;
        EXPECT_NEAR(ten.stopPass, 70, 5) << "nu " << nu;
        // Smaller arguments converge more slowly.
        int previous = 0;
        for (double x : xs) {
            const int stop = runCurve(nu, x).stopPass;
            EXPECT_GT(stop, previous) << "x " << x;
            previous = stop;
        }
    }
}

TEST(AlderNumerics, OnlyPassesFromTenBelowTheTopEdgeArePlotted) {
    for (float nu : {0.0f, 0.5f}) {
        for (double x : xs) {
            const CurveRun r = runCurve(nu, x);
            ASSERT_FALSE(r.plotted.empty());
            for (auto [i, err] : r.plotted) {
                EXPECT_GE(i, 10);
                EXPECT_LE(err, 1e-10);
                EXPECT_GE(err, 1e-40);
            }
            // Every pass from the first plotted one to the stop is plotted:
            // the estimate only falls.
            EXPECT_EQ(int(r.plotted.size()), r.stopPass - r.plotted.front().first);
        }
    }
    // x = 10 is already below 10^-10 at pass 10: its curve starts there.
    EXPECT_EQ(runCurve(0.0f, 10).plotted.front().first, 10);

    // The stop test comes first; the top edge and pass 10 are included.
    EXPECT_EQ(classifyPass(5, 1e-41), PassOutcome::Stop);
    EXPECT_EQ(classifyPass(9, 1e-12), PassOutcome::Skip);
    EXPECT_EQ(classifyPass(10, 1e-10), PassOutcome::Plot);
    EXPECT_EQ(classifyPass(10, 1.0000001e-10), PassOutcome::Skip);
    EXPECT_EQ(classifyPass(300, 1e-40), PassOutcome::Plot);
}
