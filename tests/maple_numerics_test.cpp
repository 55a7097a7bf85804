#include "maple/maple_chapter.h"

#include "context.h"
#include "number_format.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

class MapleNumerics : public ::testing::Test {
protected:
    void SetUp() override { Pi = 4.0 * std::atan(1.0); }
};

// (2/pi) Si(pi) by Simpson's rule on sin x / x in long double, apart from
// the chapter's power series.
long double overshootLimit() {
    const int n = 4000;
    const long double pi = 3.14159265358979323846264338327950288L, h = pi / n;
    const auto f = [](long double x) { return x == 0 ? 1.0L : std::sin(x) / x; };
    long double s = f(0) + f(pi);
    for (int i = 1; i < n; ++i) s += (i % 2 ? 4 : 2) * f(i * h);
    return 2 / pi * (s * h / 3);
}

}  // namespace

TEST_F(MapleNumerics, SeriesRowsMatchTermsBuiltByProductsAndSettleOnTheLimit) {
    const auto rows = overshootSeries();
    // term_i = 2 (-pi^2)^i / ((2i+1) (2i+1)!), built up step by step.
    long double power = 1, fact = 1, sum = 0;
    const long double pi2 = 9.86960440108935861883449099987615114L;
    for (int i = 0; i < 7; ++i) {
        const int n = 2 * i + 1;
        if (i > 0) fact *= (n - 1) * n;
        const long double term = 2 * power / n / fact;
        sum += term;
        EXPECT_NEAR(rows[size_t(i)].term, double(term), 1e-14) << i;
        EXPECT_NEAR(rows[size_t(i)].sum, double(sum), 1e-14) << i;
        EXPECT_EQ(rows[size_t(i)].term < 0, i % 2 == 1) << i;
        power *= -pi2;
    }
    const double limit = double(overshootLimit());
    EXPECT_NEAR(limit, 1.1789797444721675, 1e-12);
    // Seven terms leave an error below the eighth term, 9.3e-7.
    EXPECT_NEAR(rows[6].sum, limit, 1e-6);
    EXPECT_EQ(Format(rows[6].sum, QStringLiteral("0.####0")), "1.17898");
    EXPECT_EQ(Format(rows[0].term, QStringLiteral("0.####0")), "2.00000");
    EXPECT_EQ(Format(std::fabs(rows[6].term), QStringLiteral("0.####0")), "0.00002");
}

TEST_F(MapleNumerics, FactorialIsOneAtZeroAndOneAndExactAtThirteen) {
    EXPECT_EQ(MapleChapter::factorial(0), 1.0);
    EXPECT_EQ(MapleChapter::factorial(1), 1.0);
    EXPECT_EQ(MapleChapter::factorial(-3), 1.0);
    EXPECT_EQ(MapleChapter::factorial(5), 120.0);
    EXPECT_EQ(MapleChapter::factorial(13), 6227020800.0);
}

TEST_F(MapleNumerics, PartialSumOvershootsFirstAtOneSixteenthAndCrossesZeroAtIntegers) {
    // On the graph's own grid of 1/128, the highest point of the first hump.
    double best = -1, at = -1;
    for (int k = 1; k < 64; ++k) {
        const double v = squareWavePartialSum(k / 128.0, 8);
        if (v > best) best = v, at = k / 128.0;
    }
    EXPECT_EQ(at, 1.0 / 16);
    EXPECT_GT(best, 1.17);
    EXPECT_LT(best, 1.19);
    // The dip after it stays below 1, the next peak above it.
    EXPECT_LT(squareWavePartialSum(2 / 16.0, 8), 1.0);
    EXPECT_GT(squareWavePartialSum(3 / 16.0, 8), 1.0);
    // Odd symmetry about every jump: the downward overshoot mirrors it.
    EXPECT_NEAR(squareWavePartialSum(1 - 1.0 / 16, 8), best, 1e-12);
    EXPECT_NEAR(squareWavePartialSum(1 + 1.0 / 16, 8), -best, 1e-12);
    for (int x = -1; x <= 3; ++x) EXPECT_NEAR(squareWavePartialSum(x, 8), 0.0, 1e-12) << x;
    // Midway between jumps the sum is near the wave's value.
    EXPECT_NEAR(squareWavePartialSum(0.5, 8), 1.0, 0.1);
    EXPECT_NEAR(squareWavePartialSum(1.5, 8), -1.0, 0.1);
}
