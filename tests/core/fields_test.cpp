#include <gtest/gtest.h>

#include "core/fields.h"

using namespace wavra;

TEST(GetField, SplitsOnCommaBlankAndTabAsOneRun) {
    Diagnostics found;
    EXPECT_EQ(getField(found, "GW 1,  11,\t0", 1, ""), "GW");
    EXPECT_EQ(getField(found, "GW 1,  11,\t0", 3, ""), "11");
    EXPECT_EQ(getField(found, "GW 1,  11,\t0", 4, ""), "0");
    EXPECT_EQ(getField(found, ",, ,GW", 1, ""), "GW");
    EXPECT_TRUE(shownTexts(found).empty());
}

TEST(GetField, GivenSeparatorKeepsBlanksAndTrimsThem) {
    Diagnostics found;
    EXPECT_EQ(getField(found, "Z0 = 75 ", 1, "="), "Z0");
    EXPECT_EQ(getField(found, "Z0 = 75 ", 2, "="), "75");
    EXPECT_EQ(getField(found, "a b=c d", 2, "="), "c d");
}

TEST(GetField, ApostropheStartsCommentUnlessNAbove100) {
    Diagnostics found;
    EXPECT_EQ(getField(found, "'GW 1 2", 1, ""), "");
    EXPECT_EQ(getField(found, "GW 1 'two 3", -3, ""), "*");
    EXPECT_EQ(getField(found, "GW 1 'two 3", 103, ""), "'two");
    EXPECT_TRUE(shownTexts(found).empty());
}

TEST(GetField, MissingRequiredFieldShowsMessageOptionalIsSilent) {
    Diagnostics found;
    EXPECT_EQ(getField(found, "GW 1", -5, ""), "*");
    EXPECT_TRUE(shownTexts(found).empty());
    EXPECT_EQ(getField(found, "GW 1", 5, ","), "*");
    ASSERT_EQ(shownTexts(found).size(), 1u);
    EXPECT_EQ(shownTexts(found)[0], "Fld 5 not found in 'GW 1' (Sep=',').");
}
