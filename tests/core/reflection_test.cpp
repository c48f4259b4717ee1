#include "core/reflection.h"

#include <cmath>
#include <gtest/gtest.h>

namespace wavra {
namespace {

TEST(Reflection, MatchedShortedAndMismatchedLoads) {
    EXPECT_EQ(reflection(50, 0, 50), std::complex<double>(0, 0));
    EXPECT_NEAR(swr(50, 0, 50), 1, 1e-12);
    // Half the reference: |G| = 1/3, SWR 2.
    EXPECT_NEAR(reflection(25, 0, 50).real(), -1.0 / 3, 1e-12);
    EXPECT_NEAR(swr(25, 0, 50), 2, 1e-12);
    EXPECT_NEAR(swr(100, 0, 50), 2, 1e-12);
    // 50 - j25 against 50 ohm: G = -j25 / (100 - j25).
    const std::complex<double> g = reflection(50, -25, 50);
    EXPECT_NEAR(g.real(), 625.0 / 10625, 1e-12);
    EXPECT_NEAR(g.imag(), -2500.0 / 10625, 1e-12);
    EXPECT_NEAR(swr(50, -25, 50), (1 + std::abs(g)) / (1 - std::abs(g)), 1e-12);
}

TEST(Reflection, TotalReflectionHasNoFiniteSwr) {
    // A pure reactance and a short reflect everything.
    EXPECT_NEAR(std::abs(reflection(0, 30, 50)), 1, 1e-12);
    EXPECT_TRUE(std::isinf(swr(0, 30, 50)));
    EXPECT_EQ(reflection(0, 0, 50), std::complex<double>(-1, 0));
    EXPECT_TRUE(std::isinf(swr(0, 0, 50)));
    // Z = -z0 would divide by zero: taken as total reflection.
    EXPECT_EQ(reflection(-50, 0, 50), std::complex<double>(1, 0));
    EXPECT_TRUE(std::isinf(swr(50, 0, 0)));
    EXPECT_TRUE(std::isinf(swr(50, 0, -50)));
}

TEST(Reflection, NegativeResistanceReflectsMoreThanItGets) {
    // An active load (R < 0) has |G| > 1 and no finite SWR.
    EXPECT_GT(std::abs(reflection(-10, 0, 50)), 1);
    EXPECT_TRUE(std::isinf(swr(-10, 0, 50)));
}

} // namespace
} // namespace wavra
