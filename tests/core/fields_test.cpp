#include <gtest/gtest.h>

#include "core/fields.h"
#include "core/ui.h"

using namespace wavra;

TEST(GetField, SplitsOnCommaBlankAndTabAsOneRun) {
    RecordingUi ui;
    EXPECT_EQ(getField(ui, "GW 1,  11,\t0", 1, ""), "GW");
    EXPECT_EQ(getField(ui, "GW 1,  11,\t0", 3, ""), "11");
    EXPECT_EQ(getField(ui, "GW 1,  11,\t0", 4, ""), "0");
    EXPECT_EQ(getField(ui, ",, ,GW", 1, ""), "GW");
    EXPECT_TRUE(ui.messages().empty());
}

TEST(GetField, GivenSeparatorKeepsBlanksAndTrimsThem) {
    RecordingUi ui;
    EXPECT_EQ(getField(ui, "Z0 = 75 ", 1, "="), "Z0");
    EXPECT_EQ(getField(ui, "Z0 = 75 ", 2, "="), "75");
    EXPECT_EQ(getField(ui, "a b=c d", 2, "="), "c d");
}

TEST(GetField, ApostropheStartsCommentUnlessNAbove100) {
    RecordingUi ui;
    EXPECT_EQ(getField(ui, "'GW 1 2", 1, ""), "");
    EXPECT_EQ(getField(ui, "GW 1 'two 3", -3, ""), "*");
    EXPECT_EQ(getField(ui, "GW 1 'two 3", 103, ""), "'two");
    EXPECT_TRUE(ui.messages().empty());
}

TEST(GetField, MissingRequiredFieldShowsMessageOptionalIsSilent) {
    RecordingUi ui;
    EXPECT_EQ(getField(ui, "GW 1", -5, ""), "*");
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(getField(ui, "GW 1", 5, ","), "*");
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0], "Fld 5 not found in 'GW 1' (Sep=',').");
}
