// What --batch --json gives for reports the engine could not fill soundly:
// values printed as NaN, loops followed by more calculations, tables beyond
// the capacities, failed runs, surface waves and several sources. Each deck
// is calculated by the real nec2c; the values are checked against its report.
#include <cmath>
#include <filesystem>
#include <set>

#include "batch_fixture.h"
#include "printed_report.h"

using namespace wavra;
using nlohmann::json;
using wavra::test::Batch;
using wavra::test::Report;

namespace {

const char* kDipoleLoop =
    "CM dipole, frequency loop of 136 steps\nCE\nGW 1 11 0 0 -5 0 0 5 0.001\nGE 0\nEX 0 1 6 0 1 0\n"
    "FR 0 136 0 0 1 0.1\nXQ\nEN\n";

struct EngineResults : Batch {
    json calc(const std::string& model, const std::string& deck, int status = 0) {
        test::writeText(tree.file("models/" + model + ".nec"), deck);
        auto r = run({"--batch", "--json", "--calc", "original", "models/" + model + ".nec"});
        EXPECT_EQ(r.status, status) << r.err;
        return json::parse(r.out);
    }
    // Replaces the value of one setting in the tree's exe/wavra.ini.
    void setting(const std::string& key, const std::string& value) {
        std::string ini = test::readText(tree.file("exe/wavra.ini"));
        const size_t at = ini.find("\n" + key + "=");
        ASSERT_NE(at, std::string::npos) << key;
        ini.replace(at + 1, ini.find('\t', at) - at - 1, key + "= " + value);
        test::writeText(tree.file("exe/wavra.ini"), ini);
    }
    static size_t count(const json& list, const std::string& text) {
        size_t n = 0;
        for (const auto& m : list) n += m.get<std::string>() == text;
        return n;
    }
};

} // namespace

// Overlapping wires: nec2c prints NAN for the impedance, powers and pattern.
TEST_F(EngineResults, NaNIsNullSaidOnceAndCounted) {
    json j = calc("overlap", test::readText(test::fixturePath("reports/n_overlap_nan.nec")));
    EXPECT_TRUE(j["impedance"]["R"].is_null());
    EXPECT_TRUE(j["impedance"]["X"].is_null());
    EXPECT_TRUE(j["swr"].is_null());
    EXPECT_TRUE(j["inputPower"].is_null());
    EXPECT_TRUE(j["efficiency"].is_null());
    EXPECT_TRUE(j["maxGain"].is_null());
    EXPECT_TRUE(j["patternMax"][2].is_null());
    EXPECT_EQ(j["sources"][0]["swr"], nullptr);
    EXPECT_EQ(j["engine"]["exitStatus"], 0);
    EXPECT_EQ(j["engine"]["errorLines"], 0);
    EXPECT_GT(j["engine"]["nanValues"].get<int>(), 40);
    EXPECT_EQ(count(j["messages"],
                    "Nec2d : the engine printed no valid number (NaN) for the input impedance at 14.0 "
                    "MHz; check the geometry (F3, validation)."),
              1u);
    // The text summary leaves the fields out instead of printing zeros.
    auto text = run({"--batch", "models/overlap.nec"});
    EXPECT_EQ(text.out.find("Impedance"), std::string::npos) << text.out;
    EXPECT_EQ(text.out.find("Input power"), std::string::npos) << text.out;
}

// A loop, then a load and a second XQ at the loop's last frequency.
TEST_F(EngineResults, SweepRowsHoldTheLoopsOwnSteps) {
    json j = calc("loopxq", test::readText(test::fixturePath("reports/o_loop_then_xq.nec")));
    Report report(tree.file("out/loopxq.out"));
    ASSERT_EQ(j["sweep"].size(), 4u);
    for (int step = 0; step < 4; ++step) {
        auto [R, X] = report.impedance(step);
        const json& row = j["sweep"][static_cast<size_t>(step)];
        EXPECT_NEAR(row["R"].get<double>(), R, 1e-6 * std::fabs(R)) << step;
        EXPECT_NEAR(row["X"].get<double>(), X, 1e-6 * std::fabs(X)) << step;
        EXPECT_TRUE(row["gain"].is_null()) << "no pattern in the loop";
    }
    EXPECT_NE(report.impedance(4).first, report.impedance(3).first); // the later run differs
}

TEST_F(EngineResults, CapacitiesFitTheLoopOrSayWhatWasDropped) {
    json all = calc("loop136", kDipoleLoop);
    EXPECT_EQ(all["sweep"].size(), 136u);
    EXPECT_DOUBLE_EQ(all["sweep"][135]["frequency"].get<double>(), 14.5);

    setting("MXFREQ", "100");
    setting("MXSEGS", "8");
    json cut = calc("loop136", kDipoleLoop);
    EXPECT_EQ(cut["sweep"].size(), 100u);
    EXPECT_EQ(count(cut["messages"],
                    "Only 100 of 136 frequency steps were read: raise 'Max-nr. frequency steps' (Settings)."),
              1u);
    EXPECT_EQ(count(cut["messages"], "Only 8 of 11 segments were read: raise 'Nr of segments' (Settings)."), 1u);
}

// The engine rejects the deck: nothing of a report is a result, and the
// loop's 603 steps are no rows of zeros.
TEST_F(EngineResults, FailedRunListsNoRows) {
    json j = calc("broken", "GW 1 0 0 0 0 0 0 0 0\nGE 0\nEX 0 1 1 0 1 0\nFR 0 603 0 0 1 0.1\nXQ\nEN\n", 3);
    EXPECT_TRUE(j["sweep"].empty());
    EXPECT_FALSE(j.contains("impedance"));
    EXPECT_EQ(j["loadedFrom"], "deck");
    EXPECT_NE(j["engine"]["exitStatus"], 0);
}

TEST_F(EngineResults, FileNameOfAModelStartingWithADigit) {
    std::filesystem::copy_file(tree.file("models/yagi.nec"), tree.file("models/2m_yagi.nec"));
    EXPECT_EQ(runJson("models/2m_yagi.nec")["fileName"], "2m_yagi.nec");
    auto r = run({"--batch", "--json", "--calc", "original", "models/2m_yagi.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json j = json::parse(r.out);
    EXPECT_EQ(j["fileName"], "2m_yagi.nec");
    EXPECT_EQ(j["reportFile"], "2m_yagi.out");
    // Wires and segments keep their meaning when the values come from the report.
    EXPECT_EQ(j["wireCount"], 3);
    EXPECT_EQ(j["segments"], 33);
    EXPECT_TRUE(j["patternMax"][0].is_null()); // -999.99 dB: horizontal elements give no vertical field
    EXPECT_NE(run({"--batch", "models/2m_yagi.nec"}).out.find("Filename        : 2m_yagi.out\n"), std::string::npos);
}

// Fields near ground are V/m, not dBi: the strongest total field of the
// printed table, with its height.
TEST_F(EngineResults, SurfaceWaveGivesItsStrongestFieldNotAGain) {
    json j = calc("ground", test::readText(test::fixturePath("reports/k_surface_wave.nec")));
    EXPECT_TRUE(j["maxGain"].is_null());
    Report report(tree.file("out/ground.out"));
    double strongest = 0, height = 0;
    for (const auto& row : report.table(report.find("METERS DEGREES"), 1)) {
        const double e[3] = {std::stod(row.at(3)), std::stod(row.at(5)), std::stod(row.at(7))};
        const double total = std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2]);
        if (total > strongest) strongest = total, height = std::stod(row[2]);
    }
    // Fields are scaled to the configured 100 W, as the views show them.
    const double inputPower =
        std::stod(test::words(report.lines.at(static_cast<size_t>(report.find("INPUT POWER")))).at(3));
    const json& field = j["maxSurfaceField"];
    EXPECT_NEAR(field["field"].get<double>(), strongest * std::sqrt(100 / inputPower / 2), 1e-3 * strongest);
    EXPECT_DOUBLE_EQ(field["height"].get<double>(), height);
    EXPECT_DOUBLE_EQ(field["distance"].get<double>(), 1000);
}

TEST_F(EngineResults, EverySourceIsListedAsPrintedWithItsSwr) {
    auto r = run({"--batch", "--json", "--calc", "original", "models/phased.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    json j = json::parse(r.out);
    Report report(tree.file("out/phased.out"));
    const auto rows = report.table(report.find("ANTENNA INPUT PARAMETERS"), 3);
    ASSERT_EQ(rows.size(), 2u);
    ASSERT_EQ(j["sources"].size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const json& s = j["sources"][i];
        EXPECT_EQ(s["tag"], std::stoi(rows[i].at(0)));
        EXPECT_EQ(s["segment"], std::stoi(rows[i].at(1)));
        EXPECT_DOUBLE_EQ(s["voltage"]["X"].get<double>(), std::stod(rows[i].at(3)));
        EXPECT_DOUBLE_EQ(s["impedance"]["R"].get<double>(), std::stod(rows[i].at(6)));
        EXPECT_DOUBLE_EQ(s["impedance"]["X"].get<double>(), std::stod(rows[i].at(7)));
        EXPECT_TRUE(s["swr"].is_number() || s["swr"].is_null());
    }
    EXPECT_NEAR(j["impedance"]["R"].get<double>(), std::stod(rows[0][6]) + std::stod(rows[1][6]), 1e-9);
    auto text = run({"--batch", "models/phased.nec"});
    EXPECT_NE(text.out.find("Impedance (sum of 2 sources)"), std::string::npos) << text.out;
}

namespace {

void collectKeys(const json& j, std::set<std::string>& keys) {
    if (j.is_array())
        for (const json& e : j) collectKeys(e, keys);
    if (!j.is_object()) return;
    for (auto it = j.begin(); it != j.end(); ++it) {
        keys.insert(it.key());
        collectKeys(it.value(), keys);
    }
}

} // namespace

// Scripts read the keys from docs/json.md: a key the output has and the page
// does not name is a contract nobody wrote down.
TEST_F(EngineResults, EveryKeyOfASweepWithItsMeasurementIsDocumented) {
    auto r = run({"--batch", "--json", "--calc", "sweep", "--freq", "13.9,14.5,0.3", "--measured",
                  test::sourcePath("examples/dipole_measured.s1p"), "--show", "sweep", "models/phased.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::set<std::string> keys;
    collectKeys(json::parse(r.out), keys);
    const std::string page = test::readText(test::sourcePath("docs/json.md"));
    for (const std::string& key : keys) EXPECT_NE(page.find("`" + key + "`"), std::string::npos) << key;
}
