#include "number_format.h"

#include <gtest/gtest.h>
#include <stdexcept>


TEST(NumberFormat, HashPatternDropsLeadingAndTrailingZeros) {
    EXPECT_EQ(Format(1.2660590277777777, "#.#####"), "1.26606");
    EXPECT_EQ(Format(1.1302083333333333, "#.#####"), "1.13021");
    EXPECT_EQ(Format(0.5, "#.#####"), ".5");
    EXPECT_EQ(Format(0.271484375, "#.#####"), ".27148");
    EXPECT_EQ(Format(1.5, "#.#####"), "1.5");
    EXPECT_EQ(Format(12.000001, "#.#####"), "12.");  // the point stays, as the runtime prints it
    EXPECT_EQ(Format(-0.25, "#.#####"), "-.25");
    EXPECT_EQ(Format(123456.7, "#.#####"), "123456.7");
}

TEST(NumberFormat, ZeroPlaceholderLastShowsEveryPlace) {
    EXPECT_EQ(Format(0.271484375, "0.####0"), "0.27148");
    EXPECT_EQ(Format(0.044270833333333336, "0.####0"), "0.04427");
    EXPECT_EQ(Format(0.00546875, "0.####0"), "0.00547");
    EXPECT_EQ(Format(0.0005208333333333333, "0.####0"), "0.00052");
    EXPECT_EQ(Format(0.00004340277777777778, "0.####0"), "0.00004");
    EXPECT_EQ(Format(2, "0.####0"), "2.00000");
    EXPECT_EQ(Format(0, "0.####0"), "0.00000");
    EXPECT_EQ(Format(1.17897974447, "0.####0"), "1.17898");
    EXPECT_EQ(Format(-0.5, "0.####0"), "-0.50000");
}

TEST(NumberFormat, RoundsHalfAwayFromZeroOnTheDecimalValue) {
    // Ties as the reader sees them in decimal, not as the binary value lies.
    EXPECT_EQ(Format(0.125, "0.00"), "0.13");
    EXPECT_EQ(Format(1.005, "0.00"), "1.01");
    EXPECT_EQ(Format(-0.125, "0.00"), "-0.13");
    EXPECT_EQ(Format(0.000005, "0.####0"), "0.00001");
    EXPECT_EQ(Format(0.0000049, "0.####0"), "0.00000");
    // A carry runs into the integer part.
    EXPECT_EQ(Format(9.999996, "0.####0"), "10.00000");
    EXPECT_EQ(Format(0.999999, "#.#####"), "1.");
    // Something that rounds to zero loses its sign.
    EXPECT_EQ(Format(-0.000001, "0.####0"), "0.00000");
    // Magnitudes far beyond and below the places shown.
    EXPECT_EQ(Format(1e-300, "0.####0"), "0.00000");
    EXPECT_EQ(Format(1.5e20, "0"), "150000000000000000000");
    EXPECT_EQ(Format(7, "000"), "007");
}

TEST(NumberFormat, OtherPatternsAreRefused) {
    EXPECT_THROW(Format(1, "0.00%"), std::invalid_argument);
    EXPECT_THROW(Format(1, "#,##0.00"), std::invalid_argument);
}

TEST(NumberFormat, StrKeepsABlankForTheSign) {
    EXPECT_EQ(Str(0.002), " .002");
    EXPECT_EQ(Str(0.001), " .001");
    EXPECT_EQ(Str(0), " 0");
    EXPECT_EQ(Str(-0.0), " 0");
    EXPECT_EQ(Str(-0.001), "-.001");
    EXPECT_EQ(Str(100), " 100");
    EXPECT_EQ(Str(1e-5), " 1E-05");
}
