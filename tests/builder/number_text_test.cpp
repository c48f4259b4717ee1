#include <gtest/gtest.h>

#include <cmath>

#include "builder/number_text.h"

using namespace wavra::build;

TEST(CoordinateFormat, PicturesByMagnitude) {
    EXPECT_EQ(formatCoordinate(0.5), ".5");
    EXPECT_EQ(formatCoordinate(12.3456), "12.346");
    EXPECT_EQ(formatCoordinate(0), ".0");
    EXPECT_EQ(formatCoordinate(-0.25), "-.25");
    EXPECT_EQ(formatCoordinate(1), "1.0");
    EXPECT_EQ(formatCoordinate(-3.5), "-3.5");
    EXPECT_EQ(formatCoordinate(9999), "9999.0");
    EXPECT_EQ(formatCoordinate(12345.67), "12345.7");
    EXPECT_EQ(formatCoordinate(0.0012345678), ".001235");
    EXPECT_EQ(formatCoordinate(0.9999999), "1.0");
}

TEST(CoordinateFormat, TinyValuesHaveNoSign) {
    EXPECT_EQ(formatCoordinate(-1e-9), ".0");
    EXPECT_EQ(formatCoordinate(-0.0), ".0");
    EXPECT_EQ(formatCoordinate(1e300).substr(0, 2), "10");
}

TEST(CoordinateFormat, FieldsPadTheNumberPartToEight) {
    EXPECT_EQ(formatField(1.5, ""), "     1.5");
    EXPECT_EQ(formatField(1.5, "dx"), "    dx+1.5");
    EXPECT_EQ(formatField(-1.5, "dx"), "    dx-1.5");
    EXPECT_EQ(formatField(-0.25, "dx"), "    dx-.25");
    EXPECT_EQ(formatField(12345.67, "longsymbol"), "longsymbol+12345.7");
    EXPECT_EQ(formatField(123456789.0, ""), "123456789.0");
}

TEST(EntryNumbers, LeadingNumberRule) {
    EXPECT_DOUBLE_EQ(leadingNumber("  12.5abc"), 12.5);
    EXPECT_DOUBLE_EQ(leadingNumber("-.5e1"), -5);
    EXPECT_DOUBLE_EQ(leadingNumber("1e"), 1);
    EXPECT_DOUBLE_EQ(leadingNumber("+3"), 3);
    EXPECT_DOUBLE_EQ(leadingNumber("abc"), 0);
    EXPECT_DOUBLE_EQ(leadingNumber(""), 0);
    EXPECT_DOUBLE_EQ(leadingNumber("-"), 0);
    EXPECT_DOUBLE_EQ(leadingNumber("."), 0);
    EXPECT_DOUBLE_EQ(leadingNumber("1e-999"), 0);
    EXPECT_TRUE(std::isinf(leadingNumber("1e999")));
    EXPECT_LT(leadingNumber("-1e999"), 0);
}

TEST(EntryNumbers, WholeNumbersAndSymbols) {
    EXPECT_TRUE(isNumber(" 1.5 "));
    EXPECT_TRUE(isNumber("-2e3"));
    EXPECT_FALSE(isNumber("1.5m"));
    EXPECT_FALSE(isNumber(""));
    EXPECT_FALSE(isNumber("dx"));
    EXPECT_TRUE(isSymbolName("dx"));
    EXPECT_TRUE(isSymbolName("_h2"));
    EXPECT_FALSE(isSymbolName("2dx"));
    EXPECT_FALSE(isSymbolName("d x"));
    EXPECT_FALSE(isSymbolName("dx,1"));
    EXPECT_FALSE(isSymbolName(""));
}

TEST(EntryNumbers, CountsRoundHalfEvenAndClamp) {
    EXPECT_EQ(entryCount("2.5"), 2);
    EXPECT_EQ(entryCount("3.5"), 4);
    EXPECT_EQ(entryCount("1e9"), 32767);
    EXPECT_EQ(entryCount("-1e9"), -32768);
    EXPECT_EQ(entryCount("x"), 0);
    EXPECT_EQ(wavra::toInt16(std::nan("")), 0);
}
