// The Touchstone reader on files written by hand: each option-line form
// gives S11 as the definitions do (Z normalised in 1.1 and in ohms in 2.0,
// Y, MA and DB forms, the reference resistance), and malformed files give
// their line and reason while the good points stay.
#include "core/touchstone.h"

#include <cmath>
#include <gtest/gtest.h>

#include "base/text.h"
#include "support/test_support.h"

namespace wavra {
namespace {

constexpr double kPi = 3.14159265358979323846;

void expectS11(const MeasuredSweep& s, size_t i, std::complex<double> expected) {
    ASSERT_LT(i, s.points.size());
    EXPECT_NEAR(s.points[i].s11.real(), expected.real(), 1e-12) << "point " << i;
    EXPECT_NEAR(s.points[i].s11.imag(), expected.imag(), 1e-12) << "point " << i;
}

std::string allDiagnostics(const MeasuredSweep& s) {
    std::string text;
    for (const auto& d : s.diagnostics) text += shownText(d) + "\n";
    return text;
}

TEST(Touchstone, OptionLineFormsGiveTheSameReflection) {
    // 25 - j25 ohm against 50 ohm: G = (-25 - j25) / (75 - j25) = -0.2 - 0.4j.
    const std::complex<double> g(-0.2, -0.4);
    const double mag = std::abs(g), deg = std::arg(g) * 180 / kPi, db = 20 * std::log10(mag);
    struct Case {
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {"RI in MHz", "# MHz S RI R 50\n14.1 -0.2 -0.4\n"},
        {"MA defaults in GHz", "#\n0.0141 " + formatRoundTrip(mag) + " " + formatRoundTrip(deg) + "\n"},
        {"DB in kHz, lower case, shuffled",
         "# db khz s\n14100 " + formatRoundTrip(db) + " " + formatRoundTrip(deg) + "\n"},
        {"Z normalised in 1.1", "# Hz Z RI R 50\n14100000 0.5 -0.5\n"},
        {"Y normalised in 1.1", "# MHZ Y RI\n14.1 1 1\n"},
        {"Z in ohms in 2.0",
         "[Version] 2.0\n# MHz Z RI R 50\n[Number of Ports] 1\n[Network Data]\n14.1 25 -25\n[End]\n"},
        {"2.0 reference on its own line",
         "[Version] 2.0\n# MHz S RI\n[Number of Ports] 1\n[Reference]\n50\n"
         "[Number of Frequencies] 1\n[Network Data]\n14.1 -0.2 -0.4\n[End]\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MeasuredSweep s = parseTouchstone(c.text, 1);
        EXPECT_TRUE(s.diagnostics.empty()) << allDiagnostics(s);
        ASSERT_EQ(s.points.size(), 1u);
        EXPECT_NEAR(s.points[0].frequencyMHz, 14.1, 1e-9);
        expectS11(s, 0, g);
    }
}

TEST(Touchstone, ReferenceResistanceAndConversionToAnotherZ0) {
    // 75 ohm reference: Z = 75 (1 + G) / (1 - G); G = 0.2 gives 112.5 ohm.
    const MeasuredSweep s = parseTouchstone("! from a 75 ohm bridge\n\n# MHz S RI R 75\n7.0 0.2 0\n", 1);
    ASSERT_EQ(s.points.size(), 1u);
    EXPECT_EQ(s.referenceOhm, 75);
    const auto z = impedanceOfReflection(s.points[0].s11, s.referenceOhm);
    EXPECT_NEAR(z.real(), 112.5, 1e-12);
    EXPECT_NEAR(std::abs(reflectionAgainst(s.points[0].s11, 75, 50) - (112.5 - 50) / (112.5 + 50)), 0, 1e-12);
    // An open circuit stays one against any z0, with no infinite Z between.
    EXPECT_EQ(reflectionAgainst({1, 0}, 75, 50), std::complex<double>(1, 0));
    EXPECT_TRUE(std::isinf(impedanceOfReflection({1, 0}, 50).real()));
}

TEST(Touchstone, TwoPortFilesGiveTheirS11Column) {
    // S11 first, then S21 S12 S22; 2.0 files may wrap a record over lines;
    // noise data (five numbers from a lower frequency again) end the data.
    const MeasuredSweep v1 = parseTouchstone(
        "# MHz S RI R 50\n10 0.1 0.2 0.9 0 0.9 0 0.3 0.4\n"
        "11 0.5 0.1 0.9 0 0.9 0 0.3 0.4\n10 1.5 0.5 20 0.5\n",
        2);
    EXPECT_TRUE(v1.diagnostics.empty()) << allDiagnostics(v1);
    ASSERT_EQ(v1.points.size(), 2u);
    expectS11(v1, 1, {0.5, 0.1});
    const MeasuredSweep v2 = parseTouchstone(
        "[Version] 2.0\n# MHz S RI R 50\n[Number of Ports] 2\n"
        "[Two-Port Data Order] 12_21\n[Number of Frequencies] 1\n"
        "[Matrix Format] Lower\n[Network Data]\n10 0.1 0.2\n0.9 0 0.3 0.4\n[End]\n",
        0);
    EXPECT_TRUE(v2.diagnostics.empty()) << allDiagnostics(v2);
    ASSERT_EQ(v2.points.size(), 1u);
    expectS11(v2, 0, {0.1, 0.2});
    // A one-port file named .s2p: its short lines are not glued together.
    const MeasuredSweep misnamed = parseTouchstone("# MHz S RI\n10 0.1 0.2\n11 0.3 0.4\n12 0.5 0.6\n", 2);
    EXPECT_TRUE(misnamed.points.empty());
    EXPECT_EQ(shownText(misnamed.diagnostics.front()),
              "line 2: a two-port data line holds 9 numbers, not 3; line skipped");
    // Z parameters of a two-port give no S11 of the port alone.
    const MeasuredSweep z = parseTouchstone("# MHz Z RI\n10 1 0 2 0 2 0 1 0\n", 2);
    EXPECT_TRUE(z.points.empty());
    EXPECT_NE(allDiagnostics(z).find("line 2: a two-port file of Z or Y"), std::string::npos) << allDiagnostics(z);
}

TEST(Touchstone, MalformedLinesAreSkippedWithTheirLineNumber) {
    const MeasuredSweep s = parseTouchstone(
        "# MHz S RI R 50 XYZ\n"  // 1
        "14.0 0.1 0.1\n"         // 2
        "14.1 0.1\n"             // 3
        "14.2 0.1 abc\n"         // 4
        "13.9 0.1 0.1\n"         // 5: not rising
        "# GHz S MA\n"           // 6
        "14.3 1e999 0\n"         // 7: not finite
        "[Frobnicate] 1\n"       // 8
        "14.4 0.2 0.2 ! fine\n", // 9
        1);
    ASSERT_EQ(s.points.size(), 2u);
    EXPECT_NEAR(s.points[1].frequencyMHz, 14.4, 1e-12); // the second option line changed nothing
    const std::vector<std::string> expected = {
        "line 1: 'XYZ' in the option line is not understood; ignored",
        "line 3: a one-port data line holds 3 numbers (frequency and S11), not 2; line skipped",
        "line 4: 'abc' is not a number in range; line skipped",
        "line 5: frequency 13.9 MHz is not above the one before; skipped",
        "line 6: a second option line is ignored",
        "line 7: '1e999' is not a number in range; line skipped",
        "line 8: unknown keyword [frobnicate] ignored",
    };
    EXPECT_EQ(shownTexts(s.diagnostics), expected);
}

TEST(Touchstone, FilesWithoutUsablePointsSayWhy) {
    const test::TempDir dir;
    MeasuredSweep s;
    std::string error;
    EXPECT_FALSE(loadTouchstone(dir.file("missing.s1p"), s, error));
    EXPECT_NE(error.find("Cannot read"), std::string::npos) << error;
    test::writeText(dir.file("four.s4p"), "# MHz S RI\n");
    EXPECT_FALSE(loadTouchstone(dir.file("four.s4p"), s, error));
    EXPECT_NE(error.find("4-port"), std::string::npos) << error;
    test::writeText(dir.file("empty.s1p"), "! nothing\n# MHz H RI\n1 2 3\n");
    EXPECT_FALSE(loadTouchstone(dir.file("empty.s1p"), s, error));
    EXPECT_EQ(error, "No measured point in " + dir.file("empty.s1p") +
                         ".\nline 2: H and G parameters describe "
                         "two-ports only; nothing read");
    test::writeText(dir.file("ok.S1P"), "# MHz S RI\n1 0 0\n2 0 0 ! two points\n");
    ASSERT_TRUE(loadTouchstone(dir.file("ok.S1P"), s, error)) << error;
    EXPECT_EQ(s.name(), "ok.S1P");
    EXPECT_EQ(s.points.size(), 2u);
}

} // namespace
} // namespace wavra
