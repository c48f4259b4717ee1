// The lapack engine (NEC2D_LA runs exe/nec2c-lapack) against plain nec2c:
// the comparison of two reports by printed tolerance, then both engines
// through the real launcher on every example model, the benchmark decks
// and decks with plane and rotational symmetry; the fallback to plain
// nec2c and the OpenBLAS thread count the launcher gives the engine.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <tuple>

#include "base/files.h"
#include "base/text.h"
#include "engine/calculate.h"
#include "engine/deck_adapter.h"
#include "engine/engine_choice.h"
#include "engine_test_support.h"
#include "report_comparison.h"

namespace fs = std::filesystem;

namespace wavra {
namespace {

using test::compareReports;
using test::readText;
using test::ReportComparison;
using test::withoutTimes;
using test::writeText;

// `text` with the first `from` replaced by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

class ReportComparisonTest : public ::testing::Test {
protected:
    const std::string plain = readText(test::fixturePath("reports/a_dipole.nec2c.out"));
    // The fixture's input impedance line and a pattern line.
    const std::string input = "1.0000E+00  0.0000E+00  9.7777E-03 -5.4013E-03  7.8361E+01  4.3288E+01";
    const std::string pattern =
        "   10.00      0.00    -15.17  -999.99   -15.17      0.0000      0.00 LINEAR  "
        "9.4456E-02     59.53  0.0000E+00      0.00";
};

TEST_F(ReportComparisonTest, AReportAgreesWithItselfWhateverItsTimingLinesSay) {
    const ReportComparison same =
        compareReports(plain, replaced(plain, "FILL: 0 msec  FACTOR: 0 msec", "FILL: 20 msec  FACTOR: 130 msec"));
    EXPECT_TRUE(same.differences.empty());
    EXPECT_GT(same.numbers, 1000);
    EXPECT_EQ(same.lastDigit + same.belowPeak, 0);
}

TEST_F(ReportComparisonTest, OneUnitOfTheLastPrintedDigitIsToleratedTwoAreNot) {
    const std::string oneUnit = replaced(input, "7.8361E+01  4.3288E+01", "7.8362E+01  4.3287E+01");
    EXPECT_EQ(compareReports(plain, replaced(plain, input, oneUnit)).lastDigit, 2);
    // A change of exponent with the same value within one unit.
    const std::string rolled = replaced(input, "1.0000E+00", "9.9999E-01");
    EXPECT_TRUE(compareReports(plain, replaced(plain, input, rolled)).differences.empty());

    const std::string twoUnits = replaced(input, "7.8361E+01", "7.8363E+01");
    const ReportComparison r = compareReports(plain, replaced(plain, input, twoUnits));
    ASSERT_EQ(r.differences.size(), 1u);
    EXPECT_NE(r.differences[0].find("lapack:     1     6  " + twoUnits), std::string::npos) << r.differences[0];
}

TEST_F(ReportComparisonTest, ValuesFarBelowThePeakMayDifferAndAreCounted) {
    // Cross-polar gain at -140 dB instead of nothing, a cross-polar field of
    // 1e-9 of the main lobe's with its phase.
    const std::string noise =
        replaced(replaced(pattern, "-999.99", "-140.00"), "0.0000E+00      0.00", "3.1000E-09    -37.00");
    const ReportComparison r = compareReports(plain, replaced(plain, pattern, noise));
    EXPECT_TRUE(r.differences.empty()) << r.differences.front();
    EXPECT_EQ(r.belowPeak, 3);

    // The same cross-polar gain 100 dB below the peak is a real difference.
    const std::string loud = replaced(pattern, "-999.99", "-98.00");
    EXPECT_EQ(compareReports(plain, replaced(plain, pattern, loud)).differences.size(), 1u);
}

TEST_F(ReportComparisonTest, GainsCurrentsAndPhasesWithinTheirPeakMustAgree) {
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"-15.17  -999.99   -15.17", "-15.17  -999.99   -15.19"},  // total gain
             {"1.8473E-03  -32.901", "1.8473E-03  -32.911"},            // phase of a current
             {"1.5510E-03 -1.0034E-03", "1.5510E-03 -1.0054E-03"},      // imaginary part of a current
             {"EFFICIENCY    =  100.00", "EFFICIENCY    =   99.98"}}) { // a value outside the tables
        const ReportComparison r = compareReports(plain, replaced(plain, from, to));
        EXPECT_EQ(r.differences.size(), 1u) << to;
    }
}

TEST_F(ReportComparisonTest, ADifferentTextOrAnExtraLineIsADifference) {
    EXPECT_EQ(compareReports(plain, replaced(plain, pattern, replaced(pattern, "LINEAR", "RIGHT "))).differences.size(),
              1u);
    const ReportComparison longer = compareReports(
        plain, replaced(plain, "\n  TOTAL RUN TIME", "\n  PIVOT(3)=   1.00000000E-11\n  TOTAL RUN TIME"));
    ASSERT_FALSE(longer.differences.empty());
    EXPECT_EQ(longer.differences[0].rfind("the reports have ", 0), 0u) << longer.differences[0];
}

// Both engines on decks in a temporary install tree.
class LapackEngineTest : public ::testing::Test {
protected:
    test::EngineTree tree;

    void SetUp() override {
        ASSERT_TRUE(fs::exists(tree.file("exe/nec2c-lapack"))) << "the lapack engine was not built";
    }

    // Runs a numeric deck of out/ with the launcher under an engine name;
    // returns the report.
    std::string runDeck(const std::string& deck, const std::string& engine, const std::string& report) {
        const test::RunResult r =
            test::runProgram({tree.file("exe/" + engine), "../out/" + deck, "../out/" + report}, tree.file("exe"));
        EXPECT_EQ(r.status, 0) << engine << ": " << r.err;
        EXPECT_EQ(r.err, "") << engine;
        return readText(tree.file("out/" + report));
    }

    // Both engines on a numeric deck; the reports must agree.
    void compareOnDeck(const std::string& name, const std::string& deck) {
        writeText(tree.file("out/" + name + ".nec"), deck);
        const std::string plain = runDeck(name + ".nec", "NEC2D512", name + ".plain.out");
        const std::string lapack = runDeck(name + ".nec", std::string(kLapackEngine), name + ".lapack.out");
        expectAgreement(name, plain, lapack);
    }

    static void expectAgreement(const std::string& name, const std::string& plain, const std::string& lapack) {
        EXPECT_NE(plain.find("ANTENNA INPUT PARAMETERS"), std::string::npos) << name;
        const ReportComparison r = compareReports(plain, lapack);
        for (const auto& difference : r.differences) ADD_FAILURE() << name << ", " << difference;
        std::cout << name << ": " << r.numbers << " numbers, " << r.lastDigit << " one unit of the last digit apart, "
                  << r.belowPeak << " below the peak differ" << std::endl; // before a fork copies the buffer
    }
};

// --- every example model, converted and run as it stands

std::vector<std::string> exampleModels() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(test::sourcePath("examples")))
        if (entry.path().extension() == ".nec") names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class LapackExampleTest : public LapackEngineTest, public ::testing::WithParamInterface<std::string> {
protected:
    // One run of the model's deck as it stands with an engine.
    std::string calculate(std::string_view engine, std::vector<std::string>& status) {
        Model m;
        RecordingUi ui;
        test::loadModel(m, tree, GetParam(), "model");
        m.calcKind = kCalcOriginal;
        selectEngine(m, engine);
        RunHooks hooks;
        hooks.statusLine = [&status](const std::string& line) { status.push_back(line); };
        EXPECT_EQ(runCalculation(m, ui, *runner, hooks), std::optional<std::string>(".out")) << engine;
        EXPECT_TRUE(ui.messages().empty()) << ui.messages().front();
        return readText(tree.report("model.out"));
    }
    std::unique_ptr<ProcessRunner> runner = makeNativeProcessRunner();
};

TEST_P(LapackExampleTest, ReportsAgreeWithPlainNec2c) {
    std::vector<std::string> status;
    const std::string plain = calculate("NEC2D512", status);
    const std::string lapack = calculate(kLapackEngine, status);
    expectAgreement(GetParam(), plain, lapack);
    EXPECT_EQ(std::count_if(status.begin(), status.end(),
                            [](const std::string& s) { return s.find("running plain nec2c") != std::string::npos; }),
              0);
}

INSTANTIATE_TEST_SUITE_P(Examples, LapackExampleTest, ::testing::ValuesIn(exampleModels()),
                         [](const ::testing::TestParamInfo<std::string>& testCase) {
                             return testCase.param.substr(0, testCase.param.find('.'));
                         });

// --- the benchmark decks and the symmetric solution paths

TEST_F(LapackEngineTest, BenchmarkCurtainsOf1000And2000SegmentsAgree) {
    for (const std::string segments : {"1000", "2000"}) {
        const test::RunResult deck =
            test::runProgram({"/bin/bash", test::sourcePath("bench/curtain_deck.sh"), segments}, tree.path());
        ASSERT_EQ(deck.status, 0) << deck.err;
        compareOnDeck("curtain" + segments, deck.out);
    }
}

// With GX or GR symmetry nec2c solves one block per symmetry mode; the
// lapack engine factors and solves each block with LAPACK.
TEST_F(LapackEngineTest, PlaneAndRotationalSymmetryAgree) {
    // Two parallel dipoles mirrored in the y-z plane, one of them fed.
    compareOnDeck("mirrored",
                  "CM two dipoles, GX\nCE\nGW 1 21 2.5 -5.2 0 2.5 5.2 0 0.002\nGX 1 100\nGE 0\n"
                  "EX 0 1 11 0 1 0\nFR 0 1 0 0 14.2 0\nRP 0 19 4 1000 0 0 5 90\nEN\n");
    // A cage of six vertical wires over perfect ground, one of them fed.
    compareOnDeck("cage",
                  "CM cage of six wires, GR\nCE\nGW 1 15 1.2 0 0.5 1.2 0 10.5 0.003\nGR 1 6\nGE 1\n"
                  "GN 1\nEX 0 1 1 0 1 0\nFR 0 1 0 0 7.1 0\nRP 0 10 4 1000 0 0 10 30\nEN\n");
}

// The lapack engine passes over SZ cards in any case, as the launcher
// leaves them out of plain nec2c's deck, down to one that ends the file.
TEST_F(LapackEngineTest, SzCardsAreReadAsIfTheyWereNotThere) {
    compareOnDeck("sizes",
                  "CM sizes\nCE\nSZ 11000 0\nGW 1 11 0 0 -0.25 0 0 0.25 0.001\nsz 5\nGE 0\nsZ\n"
                  "EX 0 1 6 0 1 0\nFR 0 1 0 0 299.8 0\nXQ\nEN\nSz 1 0");
}

// A loop that starts at the frequency just calculated keeps that matrix
// (four fills for five calculations); a load card in between asks for a
// new one. Plain nec2c, which fills every time, prints the same.
TEST_F(LapackEngineTest, ALoopStartingAtTheFrequencyJustCalculatedKeepsItsMatrix) {
    const std::string head =
        "CM kept\nCE\nGW 1 21 0 0 -5.2 0 0 5.2 0.001\nGE 0\nEX 0 1 11 0 1 0\n"
        "FR 0 1 0 0 14 0\nXQ\nPQ -1\nPT -1\n";
    const std::string loop = "FR 0 4 0 0 14 0.1\nRP 0 3 1 1000 0 0 45 0\nEN\n";
    for (const auto& [name, between, fills] :
         std::vector<std::tuple<std::string, std::string, size_t>>{{"kept", "", 4}, {"loaded", "LD 0 1 5 5 30\n", 5}}) {
        writeText(tree.file("out/" + name + ".nec"), head + between + loop);
        compareOnDeck(name, head + between + loop);
        const test::RunResult r = test::runProgram({"/usr/bin/env", "NEC2C_WALL_TIMES=1", tree.file("exe/nec2c-lapack"),
                                                    "-i", "../out/" + name + ".nec", "-o", "../out/fills.out"},
                                                   tree.file("exe"));
        EXPECT_EQ(splitLines(r.err).size(), fills) << name << ": " << r.err;
    }
}

// --- the mixed-precision solution

// The engine on a deck of out/ with its solution forced to one precision
// (NEC2C_SOLVE): the report, and the matrix blocks that all fills
// together factored in single precision (the wall-time lines say).
struct Solved {
    std::string report;
    int singleBlocks = 0;
};

class MixedPrecisionTest : public LapackEngineTest {
protected:
    Solved solve(const std::string& name, const std::string& precision) {
        const std::string report = name + "." + precision + ".out";
        const test::RunResult r =
            test::runProgram({"/usr/bin/env", "NEC2C_SOLVE=" + precision, "NEC2C_WALL_TIMES=1",
                              tree.file("exe/nec2c-lapack"), "-i", "../out/" + name + ".nec", "-o", "../out/" + report},
                             tree.file("exe"));
        EXPECT_EQ(r.status, 0) << name << ": " << r.err;
        Solved solved{readText(tree.file("out/" + report))};
        for (const std::string& line : splitLines(r.err)) {
            const size_t at = line.find("SINGLE: ");
            EXPECT_NE(at, std::string::npos) << line;
            if (at != std::string::npos) solved.singleBlocks += std::stoi(line.substr(at + 8));
        }
        return solved;
    }

    std::pair<Solved, Solved> solveBoth(const std::string& name, const std::string& deck) {
        writeText(tree.file("out/" + name + ".nec"), deck);
        return {solve(name, "double"), solve(name, "mixed")};
    }

    std::string curtain(const std::string& segments, const std::string& steps) {
        const test::RunResult deck =
            test::runProgram({"/bin/bash", test::sourcePath("bench/curtain_deck.sh"), segments, steps}, tree.path());
        EXPECT_EQ(deck.status, 0) << deck.err;
        return deck.out;
    }
};

// Factors of a single-precision copy, refined in double until ZCGESV's
// stopping test holds, print what the double factorisation prints: a
// 1000-segment curtain calculated at 14 MHz, then in a loop from 14 MHz
// over two frequencies (two fills: the loop's first step solves with the
// kept factors, the second refactors in their memory), a structure with
// plane symmetry (a block per mode) and two dipoles joined by a
// transmission line and a network (netwk's solutions through the
// structure's factors).
TEST_F(MixedPrecisionTest, SinglePrecisionFactorsRefinedInDoublePrintWhatDoubleFactorsPrint) {
    for (const auto& [name, deck, single] : std::vector<std::tuple<std::string, std::string, int>>{
             {"curtain", replaced(curtain("1000", "2"), "FR 0 2", "FR 0 1 0 0 14 0\nXQ\nFR 0 2"), 2},
             {"mirrored",
              "CM two dipoles, GX\nCE\nGW 1 21 2.5 -5.2 0 2.5 5.2 0 0.002\nGX 1 100\nGE 0\n"
              "EX 0 1 11 0 1 0\nFR 0 1 0 0 14.2 0\nRP 0 19 4 1000 0 0 5 90\nEN\n",
              2},
             {"network",
              "CM two dipoles, line and network\nCE\nGW 1 21 0 0 -5.2 0 0 5.2 0.001\nGW 2 21 7 0 -5.2 7 0 5.2 0.001\n"
              "GE 0\nTL 1 11 2 11 300 12\nNT 1 11 2 11 0 0.002 0 0 0 0.002\nEX 0 1 11 0 1 0\nFR 0 2 0 0 14 0.2\n"
              "RP 0 1 4 1000 90 0 0 90\nEN\n",
              2}}) {
        const auto [twice, mixed] = solveBoth(name, deck);
        expectAgreement(name, twice.report, mixed.report);
        EXPECT_EQ(mixed.singleBlocks, single) << name;
        EXPECT_EQ(twice.singleBlocks, 0) << name;
    }
}

// What single precision does not serve is solved in double, and prints
// what the double path prints: two dipoles laid on one another (near
// singular, factored in double at once), a source of 1e39 volts (its
// solution overflows single precision: the refinement fails and the same
// matrix is factored in double), and a network matrix whose pivot lies
// below nec2c's warning level (two tiny dipoles joined by a line of 1e8
// ohms): its "PIVOT(0)=" line stays.
TEST_F(MixedPrecisionTest, WhatSinglePrecisionDoesNotServeIsSolvedInDouble) {
    const std::string dipole = "GW 1 11 0 0 -0.25 0 0 0.25 0.001\n";
    const std::string rest = "FR 0 1 0 0 299.8 0\nXQ\nEN\n";
    const auto [twin, twinMixed] = solveBoth(
        "twin", "CM twin\nCE\n" + dipole + "GW 2 11 1E-6 0 -0.25 1E-6 0 0.25 0.001\nGE 0\nEX 0 1 6 0 1 0\n" + rest);
    EXPECT_EQ(withoutTimes(twinMixed.report), withoutTimes(twin.report));
    EXPECT_EQ(twinMixed.singleBlocks, 0);

    const auto [loud, loudMixed] = solveBoth("loud", "CM loud\nCE\n" + dipole + "GE 0\nEX 0 1 6 0 1E39 0\n" + rest);
    EXPECT_EQ(withoutTimes(loudMixed.report), withoutTimes(loud.report));
    EXPECT_EQ(loudMixed.singleBlocks, 1);
    EXPECT_NE(loud.report.find("9.0734E+36"), std::string::npos); // the source's current

    const auto [weak, weakMixed] =
        solveBoth("weak",
                  "CM weak\nCE\nGW 1 5 0 0 -0.001 0 0 0.001 1E-6\nGW 2 5 1 0 -0.001 1 0 0.001 1E-6\nGE 0\n"
                  "TL 1 3 2 3 1E8 0.3\nEX 0 1 3 0 1 0\n" +
                      rest);
    expectAgreement("weak", weak.report, weakMixed.report);
    EXPECT_NE(weakMixed.report.find("PIVOT(0)="), std::string::npos);
}

// --- the matrix fill on threads

struct FillCase {
    std::string name;
    std::string ground; // GE and GN cards
};

// Failure messages and `ctest -N` name the case, not its bytes.
void PrintTo(const FillCase& c, std::ostream* os) { *os << c.name; }

class ThreadedFillTest : public LapackEngineTest, public ::testing::WithParamInterface<FillCase> {};

// The fill sums every matrix element in the serial order on any number of
// threads: three threads (blocks of observation segments shared unevenly)
// print what one prints, to the last digit. A loaded two-wire antenna of
// 202 segments, with the extended thin-wire kernel; the Sommerfeld ground
// keeps the serial fill and is held to the same.
TEST_P(ThreadedFillTest, PrintsWhatOneThreadPrints) {
    const std::string deck = "CM fill\nCE\nGW 1 121 0 -10 6 0 10 6 0.01\nGW 2 81 1.5 -7 6 1.5 7 6 0.01\n" +
                             GetParam().ground + "EK\nLD 0 1 30 90 20 1E-6\nLD 4 2 1 81 5 0\nEX 0 1 61 0 1 0\n" +
                             "FR 0 2 0 0 7.1 0.2\nRP 0 5 2 1000 0 0 20 90\nEN\n";
    writeText(tree.file("out/fill.nec"), deck);
    const auto run = [&](const std::string& threads) {
        const std::string report = "fill" + threads + ".out";
        const test::RunResult r =
            test::runProgram({"/usr/bin/env", "OMP_NUM_THREADS=" + threads, tree.file("exe/nec2c-lapack"), "-i",
                              "../out/fill.nec", "-o", "../out/" + report},
                             tree.file("exe"));
        EXPECT_EQ(r.status, 0) << r.err;
        return readText(tree.file("out/" + report));
    };
    const std::string one = run("1");
    EXPECT_NE(one.find("ANTENNA INPUT PARAMETERS"), std::string::npos);
    EXPECT_EQ(withoutTimes(run("3")), withoutTimes(one));
}

INSTANTIATE_TEST_SUITE_P(Grounds, ThreadedFillTest,
                         ::testing::Values(FillCase{"FreeSpace", "GE 0\n"},
                                           FillCase{"ReflectionGround", "GE 0\nGN 0 0 0 0 13 0.005\n"},
                                           FillCase{"GroundScreen", "GE 0\nGN 0 12 0 0 13 0.005 5 0.001\n"},
                                           FillCase{"Sommerfeld", "GE 0\nGN 2 0 0 0 13 0.005\n"}),
                         [](const ::testing::TestParamInfo<FillCase>& testCase) { return testCase.param.name; });

// The distant interactions in free space and over perfect ground are
// computed in SIMD loops (SSE2, AVX2, AVX-512) that must give every matrix
// element the bits of efld's scalar code. The filled matrices themselves
// are compared, since one bit of an element rarely shows in a printed
// digit: wires in every direction, a helix, the extended kernel, loads and
// a distance limit (KH) that puts points on both sides of it, over three
// frequencies. A version the processor lacks runs the widest it has, and
// is compared all the same.
TEST_F(LapackEngineTest, EverySimdVersionOfTheFillGivesEfldsMatrixBitForBit) {
    const std::string wires =
        "CM mixed\nCE\nGW 1 31 0 0 0 3 4 5 0.01\nGW 2 25 2 -3 1 -1 2 7 0.005\n"
        "GW 3 17 -4 1 -2 -4 6 -2 0.02\nGH 4 40 0.5 4 0.4 0.4 0.4 0.4 0.003\n"
        "GM 0 0 0 0 0 6 -2 3 4\nGW 5 11 3 4 5 3.5 4.2 5.1 0.01\n";
    const std::string rest =
        "EK\nKH 0 0 0 0 0.5\nLD 0 1 10 12 50 1E-6 1E-12\nLD 5 3 1 17 5.8E7\nEX 0 1 16 0 1 0\nFR 0 3 0 0 70 "
        "15\nXQ\nEN\n";
    for (const auto& [ground, cards] : std::vector<std::pair<std::string, std::string>>{
             {"free", "GE 0\n"}, {"perfect", "GM 0 0 0 0 0 0 0 3.5 0\nGE 1\nGN 1\n"}}) {
        writeText(tree.file("out/" + ground + ".nec"), wires + cards + rest);
        const auto matrices = [&](const std::string& version) {
            const std::string file = tree.file("out/" + ground + ".matrix." + version);
            const test::RunResult r =
                test::runProgram({"/usr/bin/env", "NEC2C_FILL=" + version, "NEC2C_MATRIX_FILE=" + file,
                                  "OMP_NUM_THREADS=2", tree.file("exe/nec2c-lapack"), "-i", "../out/" + ground + ".nec",
                                  "-o", "../out/" + ground + "." + version + ".out"},
                                 tree.file("exe"));
            EXPECT_EQ(r.status, 0) << version << ": " << r.err;
            return readText(file);
        };
        const std::string efld = matrices("efld");
        EXPECT_EQ(efld.size(), 3u * 124 * 124 * 16) << ground; // three fills of 124 x 124 complex elements
        for (const std::string version : {"sse2", "avx2", "avx512f"})
            EXPECT_TRUE(matrices(version) == efld) << ground << ": " << version << " fills another matrix";
    }
}

// --- fallback and threads

TEST_F(LapackEngineTest, WithoutTheLapackEnginePlainNec2cRunsAndTheStatusListSaysSo) {
    fs::remove(tree.file("exe/nec2c-lapack"));
    writeText(tree.file("out/dipole.nec"), readText(test::fixturePath("reports/a_dipole.nec")));
    const test::RunResult r =
        test::runProgram({tree.file("exe/NEC2D_LA"), "../out/dipole.nec", "../out/dipole.out"}, tree.file("exe"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err,
              "NEC2D_LA: the lapack engine " + tree.path() + "exe/nec2c-lapack is missing; running plain nec2c\n");
    const ReportComparison same =
        compareReports(runDeck("dipole.nec", "NEC2D512", "plain.out"), readText(tree.file("out/dipole.out")));
    EXPECT_TRUE(same.differences.empty());
    EXPECT_EQ(same.lastDigit + same.belowPeak, 0);
}

TEST_F(LapackEngineTest, TheLauncherGivesASingleRunEveryCoreUnlessTheCallerSetTheThreads) {
    // A stand-in engine that reports the thread count it was given.
    fs::remove(tree.file("exe/nec2c-lapack"));
    writeText(tree.file("exe/nec2c-lapack"),
              "#!/bin/sh\necho \"threads=${OPENBLAS_NUM_THREADS-unset} fill=${OMP_NUM_THREADS-unset}\" > \"$4\"\n");
    fs::permissions(tree.file("exe/nec2c-lapack"), fs::perms::owner_all);
    writeText(tree.file("out/d.nec"), "GW 1 11 0 0 0 0 0 1 0.001\nGE 0\nEN\n");
    const auto threads = [&](std::vector<std::string> env, const std::string& engine) {
        env.insert(env.begin(), "/usr/bin/env");
        for (const auto& a : {tree.file("exe/" + engine), std::string("../out/d.nec"), std::string("../out/d.out")})
            env.push_back(a);
        deleteFile(tree.file("out/d.out"));
        test::runProgram(env, tree.file("exe"));
        return readText(tree.file("out/d.out"));
    };
    const std::string cores = test::runProgram({"/usr/bin/nproc"}, tree.path()).out;
    const std::string n = cores.substr(0, cores.find('\n'));
    EXPECT_EQ(threads({"-u", "OPENBLAS_NUM_THREADS"}, "NEC2D_LA"), "threads=" + n + " fill=" + n + "\n");
    EXPECT_EQ(threads({"OPENBLAS_NUM_THREADS=1"}, "NEC2D_LA"), "threads=1 fill=1\n");
    // An engine of several running side by side: its share for both.
    writeText(tree.file("out/c.tmp"), "d.nec\nd.out\n");
    deleteFile(tree.file("out/d.out"));
    test::runProgram({"/usr/bin/env", "OMP_NUM_THREADS=4", tree.file("exe/wavra.sh"), "--control",
                      tree.file("out/c.tmp"), "--threads", "1", "gen", "d", "NEC2D_LA"},
                     tree.file("exe"));
    EXPECT_EQ(readText(tree.file("out/d.out")), "threads=1 fill=1\n");
    // Every other engine name is plain nec2c, never the lapack engine.
    EXPECT_EQ(threads({}, "NEC2D11K").find("threads="), std::string::npos);
}

} // namespace
} // namespace wavra
