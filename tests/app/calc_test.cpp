// F7 from the command line: the real nec2c through the real launcher, and the
// values wavra reads checked against the numbers printed in the same report
// (found here by their headings and split on blanks, not by columns).
#include <cmath>

#include "batch_fixture.h"
#include "printed_report.h"

using namespace wavra;
using nlohmann::json;
using wavra::test::Batch;
using wavra::test::Report;

TEST_F(Batch, FarFieldOfTheYagiMatchesItsReport) {
    auto r = run({"--batch", "--json", "--calc", "far", "--theta", "0,180,5", "--phi", "0,355,5", "models/yagi.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    json j = json::parse(r.out);
    Report report(tree.file("out/yagi.out"));
    ASSERT_NE(report.find("NUMERICAL ELECTROMAGNETICS CODE (nec2c)"), -1);
    auto [R, X] = report.impedance();
    EXPECT_NEAR(j["impedance"]["R"].get<double>(), R, 1e-3 * std::fabs(R));
    EXPECT_NEAR(j["impedance"]["X"].get<double>(), X, 1e-3 * std::fabs(X) + 1e-3);
    EXPECT_NEAR(j["efficiency"].get<double>(), report.efficiency(), 0.01);
    // The largest total gain and its direction, from the printed pattern.
    auto rows = report.table(report.find("RADIATION PATTERNS"), 5);
    ASSERT_EQ(rows.size(), 37u * 72u);
    double best = -999, theta = 0, phi = 0;
    for (const auto& row : rows)
        if (std::stod(row.at(4)) > best) best = std::stod(row[4]), theta = std::stod(row[0]), phi = std::stod(row[1]);
    EXPECT_EQ(j["patternCount"], 37 * 72);
    EXPECT_NEAR(j["maxGain"]["gain"].get<double>(), best, 0.005);
    EXPECT_NEAR(j["maxGain"]["theta"].get<double>(), theta, 1e-6);
    EXPECT_NEAR(j["maxGain"]["phi"].get<double>(), phi, 1e-6);
    EXPECT_NEAR(j["patternMax"][2].get<double>(), best, 0.005);
    EXPECT_GT(best, 7); // a three-element Yagi has real forward gain
    EXPECT_TRUE(j["engineErrors"].empty());
}

TEST_F(Batch, FrequencyLoopRowsMatchTheReport) {
    auto r = run({"--batch", "--json", "--calc", "sweep", "--freq", "14.0,14.35,0.05", "--sub", "gain", "--theta",
                  "90,90,1", "--phi", "0,0,1", "models/yagi.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    json j = json::parse(r.out);
    Report report(tree.file("out/yagi.out"));
    ASSERT_EQ(j["freqCount"], 8);
    ASSERT_EQ(j["sweep"].size(), 8u);
    // The deck's own frequency comes first in the report, then the loop.
    for (int step = 0; step < 8; ++step) {
        auto [R, X] = report.impedance(step + 1);
        const json& row = j["sweep"][static_cast<size_t>(step)];
        EXPECT_NEAR(row["frequency"].get<double>(), 14.0 + 0.05 * step, 1e-6);
        EXPECT_NEAR(row["R"].get<double>(), R, 1e-3 * std::fabs(R));
        EXPECT_NEAR(row["X"].get<double>(), X, 1e-3 * std::fabs(X) + 1e-3);
    }
}

TEST_F(Batch, ASplitSweepTellsItsPartsAndAnUnchangedSecondRunIsReused) {
    const std::vector<std::string> sweep = {"--batch",         "--json", "--calc", "sweep",   "--freq",
                                            "14.0,14.35,0.05", "--sub",  "gain",   "--theta", "90,90,1",
                                            "--phi",           "0,0,1",  "--jobs", "2",       "models/yagi.nec"};
    auto first = run(sweep);
    ASSERT_EQ(first.status, 0) << first.err;
    const json j1 = json::parse(first.out);
    EXPECT_EQ(j1["parts"], 2);
    EXPECT_EQ(j1["reused"], false);
    auto second = run(sweep);
    ASSERT_EQ(second.status, 0) << second.err;
    const json j2 = json::parse(second.out);
    EXPECT_EQ(j2["reused"], true);
    EXPECT_EQ(j2["parts"], 0);
    EXPECT_EQ(j2["sweep"], j1["sweep"]);
    EXPECT_EQ(run({"--batch", "--calc", "sweep", "--freq", "14,14.3,0.1", "--jobs", "two", "models/yagi.nec"}).status,
              2);
}

TEST_F(Batch, NearFieldPointsMatchTheReport) {
    auto r = run({"--batch", "--json", "--calc", "near", "models/nearfield.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    json j = json::parse(r.out);
    Report report(tree.file("out/nearfield.out"));
    auto rows = report.table(report.find("NEAR ELECTRIC FIELDS"), 4);
    ASSERT_EQ(rows.size(), 21u);
    EXPECT_EQ(j["nearFieldCount"], 21);
    EXPECT_EQ(j["requestMode"], -1);
    EXPECT_NEAR(std::stod(rows.back().at(2)), 5.0, 1e-6);
}

TEST_F(Batch, OriginalDeckOverGroundRuns) {
    auto r = run({"--batch", "--json", "--calc", "original", "models/vertical.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    json j = json::parse(r.out);
    Report report(tree.file("out/vertical.out"));
    auto [R, X] = report.impedance();
    EXPECT_NEAR(j["impedance"]["R"].get<double>(), R, 1e-3 * std::fabs(R));
    EXPECT_EQ(j["groundType"], 2);
    EXPECT_NEAR(j["efficiency"].get<double>(), report.efficiency(), 0.01);
}

TEST_F(Batch, FailedEngineRunIsReportedAndNoOldReportShown) {
    // A first good run leaves a report; then a deck the engine rejects.
    ASSERT_EQ(run({"--batch", "--calc", "original", "models/dipole.nec"}).status, 0);
    test::writeText(tree.file("models/dipole.nec"), "GW 1 0 0 0 0 0 0 0 0\nGE 0\nFR 0 1 0 0 14 0\nEN\n");
    auto r = run({"--batch", "--json", "--calc", "original", "models/dipole.nec"});
    EXPECT_EQ(r.status, 3) << r.out;
    EXPECT_FALSE(r.err.empty());
    // What a later plain load finds is the model deck, not the old report.
    json j = json::parse(run({"--batch", "--json", "models/dipole.nec"}).out);
    EXPECT_FALSE(j.contains("impedance"));
}

TEST_F(Batch, WithoutInputOptionTheExistingReportIsRead) {
    ASSERT_EQ(run({"--batch", "--calc", "original", "models/dipole.nec"}).status, 0);
    auto r = run({"--batch", "--json", "models/dipole.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    json j = json::parse(r.out);
    EXPECT_TRUE(j.contains("impedance"));
    EXPECT_EQ(j["wireCount"], 1);
    EXPECT_EQ(j["segments"], 11);
    EXPECT_FALSE(json::parse(run({"--batch", "--json", "--input", "models/dipole.nec"}).out).contains("impedance"));
}

TEST_F(Batch, RefusedCalculationChoices) {
    auto noSteps = run({"--batch", "--calc", "far", "--theta", "0,90,0", "--phi", "0,0,1", "models/dipole.nec"});
    EXPECT_EQ(noSteps.status, 2);
    EXPECT_NE(noSteps.err.find("Stepsize too small."), std::string::npos);
    auto tooMany = run({"--batch", "--calc", "far", "--theta", "0,180,0.5", "--phi", "0,360,1", "models/dipole.nec"});
    EXPECT_EQ(tooMany.status, 2);
    EXPECT_NE(tooMany.err.find("Total of"), std::string::npos);
    auto reversed = run({"--batch", "--calc", "far", "--theta", "90,0,5", "--phi", "0,0,1", "models/dipole.nec"});
    EXPECT_EQ(reversed.status, 2);
    EXPECT_NE(reversed.err.find("Theta step must lead from start to stop: from 90 to 0 it must be below 0."),
              std::string::npos);
    EXPECT_EQ(run({"--batch", "--calc", "sweep", "models/dipole.nec"}).status, 2); // no --freq
    EXPECT_EQ(run({"--batch", "--calc", "warp", "models/dipole.nec"}).status, 2);
    EXPECT_EQ(run({"--batch", "--freq", "1,2", "models/dipole.nec"}).status, 2);
}

TEST_F(Batch, SetChangesASettingForOneRunOnly) {
    // Four sources: the shipped capacity takes them, a run with room for two
    // does not, and the file keeps its value.
    test::writeText(tree.file("models/four.nec"),
                    "GW 1 3 0 0 0 0 0 1 0.001\nGW 2 3 1 0 0 1 0 1 0.001\n"
                    "GW 3 3 2 0 0 2 0 1 0.001\nGW 4 3 3 0 0 3 0 1 0.001\nGE 0\n"
                    "EX 0 1 2 0 1 0\nEX 0 2 2 0 1 0\nEX 0 3 2 0 1 0\nEX 0 4 2 0 1 0\n"
                    "FR 0 1 0 0 140 0\nXQ\nEN\n");
    const std::string ini = test::readText(tree.file("exe/wavra.ini"));
    EXPECT_EQ(json::parse(run({"--batch", "--json", "models/four.nec"}).out)["sources"].size(), 4u);
    const auto two = run({"--batch", "--set", "mxex=2", "models/four.nec"});
    EXPECT_NE(two.err.find("Max-number of 2 V-sources exceeded"), std::string::npos) << two.err;
    EXPECT_EQ(test::readText(tree.file("exe/wavra.ini")), ini);
    const auto unknown = run({"--batch", "--set", "MXWIRES=9", "models/four.nec"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("--set: 'MXWIRES' is no setting of exe/wavra.ini"), std::string::npos);
    EXPECT_EQ(run({"--batch", "--set", "MXEX=many", "models/four.nec"}).status, 2);
}
