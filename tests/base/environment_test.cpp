#include "base/environment.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace wavra {
namespace {

// Set, set to nothing and unset: the last two read alike.
TEST(Environment, ValueIsEmptyWhenUnsetOrSetToNothing) {
    constexpr const char* kName = "WAVRA_ENVIRONMENT_TEST";
    ::setenv(kName, "4 threads", 1);
    EXPECT_EQ(environmentValue(kName), "4 threads");
    ::setenv(kName, "", 1);
    EXPECT_EQ(environmentValue(kName), "");
    ::unsetenv(kName);
    EXPECT_EQ(environmentValue(kName), "");
}

} // namespace
} // namespace wavra
