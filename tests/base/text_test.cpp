#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/text.h"

using namespace wavra;

TEST(Numbers, LeadingNumericPartIsLocaleFree) {
    EXPECT_DOUBLE_EQ(readNumber("  12.5abc"), 12.5);
    EXPECT_DOUBLE_EQ(readNumber("-1e-3"), -0.001);
    EXPECT_DOUBLE_EQ(readNumber("1.5D2"), 150);
    EXPECT_DOUBLE_EQ(readNumber("abc"), 0);
    EXPECT_DOUBLE_EQ(readNumber("*"), 0);
    EXPECT_DOUBLE_EQ(readNumber("1e"), 1);
    EXPECT_GT(readNumber("1e99999"), 1e300);
    EXPECT_DOUBLE_EQ(readNumber("1e-99999"), 0);
    EXPECT_TRUE(isNumeric(" -.5e+3 "));
    EXPECT_FALSE(isNumeric("5mm"));
    EXPECT_FALSE(isNumeric("-"));
    EXPECT_FALSE(isNumeric(""));
}

TEST(Numbers, Int16NeverWraps) {
    EXPECT_EQ(toInt16(40000), 32767);
    EXPECT_EQ(toInt16(-40000), -32768);
    EXPECT_EQ(toInt16(2.5), 2);
    EXPECT_EQ(toInt16(3.5), 4);
    EXPECT_EQ(toInt16(std::nan("")), 0);
}

TEST(Str, LeadingBlankAndNoZeroBeforePoint) {
    EXPECT_EQ(str(0.8), " .8");
    EXPECT_EQ(str(50), " 50");
    EXPECT_EQ(str(-0.25), "-.25");
    EXPECT_EQ(str(0), " 0");
    EXPECT_EQ(str(1e-5), " 1E-05");
    EXPECT_EQ(str(1.0 / 3.0), " .333333333333333");
}

TEST(Picture, DigitPlaceholdersAndRounding) {
    EXPECT_EQ(formatPicture(14, "#0.00"), "14.00");
    EXPECT_EQ(formatPicture(21.41, "##0.0"), "21.4");
    EXPECT_EQ(formatPicture(0.5, "##0.0"), "0.5");
    EXPECT_EQ(formatPicture(7, "0000"), "0007");
    EXPECT_EQ(formatPicture(1.5, "0.0###"), "1.5");
    EXPECT_EQ(formatPicture(0.5, ".0##"), ".5");
    EXPECT_EQ(formatPicture(512, "###0"), "512");
    EXPECT_EQ(formatPicture(0, "###0"), "0");
    EXPECT_EQ(formatPicture(0.0000123, "0.#####e-0"), "1.23e-5");
    EXPECT_EQ(formatPicture(123456, "0.###e-0"), "1.235e5");
    EXPECT_EQ(formatPicture(-2.5, "#0.0"), "-2.5");
}

// One row per case of the width-limited format.
TEST(FormatNumber, EveryCaseRow) {
    EXPECT_EQ(formatNumber(0.5, 1), "0");             // v>=0, e<0, w=1
    EXPECT_EQ(formatNumber(0.0000123, 9), "1.23e-5"); // e<-4, w>=4
    EXPECT_EQ(formatNumber(0.001, 9), ".001");        // e<0 otherwise
    EXPECT_EQ(formatNumber(0.25, 4), ".25");
    EXPECT_EQ(formatNumber(123, 2), "**");       // e>=w, w<3
    EXPECT_EQ(formatNumber(12345, 3), "1e4");    // e>=w, w=3
    EXPECT_EQ(formatNumber(123456, 5), "1.2e5"); // e>=w, w>3
    EXPECT_EQ(formatNumber(2.5, 9), "2.5");      // 0<=e<w
    EXPECT_EQ(formatNumber(5, 9), "5.0");
    EXPECT_EQ(formatNumber(123.456, 9), "123.456");
    EXPECT_EQ(formatNumber(0, 9), "0.0");
    EXPECT_EQ(formatNumber(-0.5, 1), "0");              // v<0, e<0, w=1
    EXPECT_EQ(formatNumber(-0.5, 2), "-0");             // w=2
    EXPECT_EQ(formatNumber(-0.5, 4), "-.5");            // w<5
    EXPECT_EQ(formatNumber(-0.001, 9), "-.001");        // e>-4
    EXPECT_EQ(formatNumber(-0.0000123, 9), "-1.23e-5"); // otherwise: exponent
    EXPECT_EQ(formatNumber(-123, 3), "***");            // e+1>=w, w<4
    EXPECT_EQ(formatNumber(-1234, 4), "-1e3");          // w=4
    EXPECT_EQ(formatNumber(-123456, 6), "-1.2e5");      // w>4
    EXPECT_EQ(formatNumber(-2.5, 9), "-2.5");           // otherwise
    EXPECT_EQ(formatNumber(-12.75, 9), "-12.75");
    EXPECT_EQ(formatNumber(1.0 / 3.0, 9), ".33333333");
}

TEST(FormatRoundTrip, ShortestTextThatReadsBackExactly) {
    EXPECT_EQ(formatRoundTrip(14.05), "14.05");
    EXPECT_EQ(formatRoundTrip(-0.5), "-0.5");
    EXPECT_EQ(formatRoundTrip(50), "50");
    EXPECT_EQ(formatRoundTrip(1e-5), "1e-05");
    EXPECT_EQ(formatRoundTrip(-std::numeric_limits<double>::infinity()), "-inf");
    for (double v : {0.1, 1.0 / 3, -9.542425094393249, 123456789.123456789, 2.2250738585072014e-308})
        EXPECT_EQ(readNumber(formatRoundTrip(v)), v) << formatRoundTrip(v);
}
