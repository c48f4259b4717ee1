#include "present/key_names.h"

#include <gtest/gtest.h>

namespace wavra {
namespace {

TEST(KeyNames, NamesGiveTheCodesTheWindowsPost) {
    EXPECT_EQ(actionCodeOfKeyName("I"), 73);
    EXPECT_EQ(actionCodeOfKeyName("i"), 73);
    EXPECT_EQ(actionCodeOfKeyName("Space"), 32);
    EXPECT_EQ(actionCodeOfKeyName("Home"), 36);
    EXPECT_EQ(actionCodeOfKeyName("PgUp"), 33);
    EXPECT_EQ(actionCodeOfKeyName("Shift+PgDn"), 134);
    EXPECT_EQ(actionCodeOfKeyName("Ctrl+PgUp"), 233);
    EXPECT_EQ(actionCodeOfKeyName("ctrl+shift+right"), 339);
    EXPECT_EQ(actionCodeOfKeyName("Alt+Left"), 437);
    EXPECT_EQ(actionCodeOfKeyName(">"), 190);
    EXPECT_EQ(actionCodeOfKeyName("<"), 188);
    EXPECT_EQ(actionCodeOfKeyName("F4"), 115);
    EXPECT_EQ(actionCodeOfKeyName("F12"), 123);
    EXPECT_EQ(actionCodeOfKeyName("Ctrl+O"), 279);
    EXPECT_EQ(actionCodeOfKeyName("Shift++"), 207);
    EXPECT_EQ(actionCodeOfKeyName("0"), 48);
}

// The names the tool tips and hints print read back as the same codes.
TEST(KeyNames, CodesGiveTheirNamesBack) {
    for (const char* name :
         {"F7", "F12", "Ctrl+O", "Ctrl+S", "Esc", "M", "Shift+PgUp", "Ctrl+Shift+Right", "Alt+Left", ">"})
        EXPECT_EQ(keyNameOfAction(*actionCodeOfKeyName(name)), name);
    EXPECT_EQ(keyNameOfAction(99), "");
}

TEST(KeyNames, NonKeysAreRefused) {
    for (const char* name : {"", "F0", "F13", "F01", "Shift+", "Hyper+A", "PgUpp", "AB", "+Shift"})
        EXPECT_FALSE(actionCodeOfKeyName(name).has_value()) << name;
}

TEST(KeyNames, ListNamesTheFirstBadItem) {
    std::string bad;
    auto codes = actionCodesOfKeyList("I,Space,Shift+PgDn", bad);
    ASSERT_TRUE(codes);
    EXPECT_EQ(*codes, (std::vector<int16_t>{73, 32, 134}));
    EXPECT_FALSE(actionCodesOfKeyList("I,,Home", bad));
    EXPECT_EQ(bad, "");
    EXPECT_FALSE(actionCodesOfKeyList("Home,Nope", bad));
    EXPECT_EQ(bad, "Nope");
}

} // namespace
} // namespace wavra
