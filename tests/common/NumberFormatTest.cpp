#include <gtest/gtest.h>

#include <cmath>

#include "common/NumberFormat.h"

using pelomar::core::formatFixed;
using pelomar::core::formatScientificOneDigit;

TEST(NumberFormat, FixedDecimalsUnderEitherSeparator) {
    const struct { double v; int decimals; const char* point; const char* comma; } cases[] = {
        {0, 1, "0.0", "0,0"},
        {1.25, 1, "1.3", "1,3"},        // half away from zero
        {-1.25, 1, "-1.3", "-1,3"},
        {0.0033333, 4, "0.0033", "0,0033"},
        {1.005, 2, "1.01", "1,01"},     // decided on the 15-digit decimal form
        {12345.6789, 3, "12345.679", "12345,679"},
        {0.5, 0, "1", "1"},
        {2.5, 0, "3", "3"},
        {9.96, 1, "10.0", "10,0"},
        {-0.04, 1, "0.0", "0,0"},       // a rounded zero has no minus sign
        {-0.0, 2, "0.00", "0,00"},
        {1e-20, 3, "0.000", "0,000"},
        {123456789012.0, 0, "123456789012", "123456789012"},
        {static_cast<double>(0.1f), 2, "0.10", "0,10"},
        {static_cast<double>(0.00005f), 4, "0.0000", "0,0000"},  // 4.99999987e-05 as a Double
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatFixed(c.v, c.decimals, '.'), c.point) << c.v;
        EXPECT_EQ(formatFixed(c.v, c.decimals, ','), c.comma) << c.v;
    }
}

TEST(NumberFormat, SinglesAreFormattedFromTheirSevenDigitForm) {
    const struct { float v; int decimals; const char* text; } cases[] = {
        {0.00005f, 4, "0.0001"},   // 5.000000E-05, a tie rounded away from zero
        {1.1f, 9, "1.100000000"},  // not 1.100000024
        {-0.125f, 2, "-0.13"},
        {1234.5f, 0, "1235"},
        {0.0f, 2, "0.00"},
        {-0.001f, 2, "0.00"},
        {16777216.0f, 0, "16777220"},  // seven digits, then zeros
    };
    for (const auto& c : cases) EXPECT_EQ(formatFixed(c.v, c.decimals, '.'), c.text) << c.v;
    EXPECT_EQ(formatFixed(2.5f, 1, ','), "2,5");
}

TEST(NumberFormat, NonFiniteValuesAreShownNotFailed) {
    EXPECT_EQ(formatFixed(NAN, 2, '.'), "NaN");
    EXPECT_EQ(formatFixed(INFINITY, 2, '.'), "Inf");
    EXPECT_EQ(formatFixed(-INFINITY, 0, '.'), "-Inf");
}

TEST(NumberFormat, OneDigitScientific) {
    EXPECT_EQ(formatScientificOneDigit(0.001, '.'), "1.E-3");
    EXPECT_EQ(formatScientificOneDigit(0.01, ','), "1,E-2");
    EXPECT_EQ(formatScientificOneDigit(1000, '.'), "1.E+3");
    EXPECT_EQ(formatScientificOneDigit(1, '.'), "1.E+0");
    EXPECT_EQ(formatScientificOneDigit(0.00096, '.'), "1.E-3");
}
