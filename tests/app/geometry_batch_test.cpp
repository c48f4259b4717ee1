// The geometry view from the batch command line on a real nec2c report:
// --show geometry with --keys, the view in --json, and its pictures.
#include <cmath>
#include <sstream>

#include "base/text.h"
#include "batch_fixture.h"

using namespace wavra;
using nlohmann::json;
using wavra::test::Batch;

namespace {

// Magnitude and phase of segment 1 in the report's current table.
std::pair<double, double> firstCurrent(const std::string& report) {
    const std::vector<std::string> lines = test::readLinesOf(report);
    for (size_t i = 0; i + 5 < lines.size(); ++i) {
        if (lines[i].find("CURRENTS AND LOCATION") == std::string::npos) continue;
        std::istringstream row(lines[i + 5]);
        std::vector<std::string> w;
        for (std::string t; row >> t;) w.push_back(t);
        return {std::stod(w.at(8)), std::stod(w.at(9))};
    }
    return {0, 0};
}

TEST_F(Batch, GeometryViewOfTheYagiReport) {
    auto r = run({"--batch", "--json", "--calc", "far", "--theta", "0,180,10", "--phi", "0,350,10", "--show",
                  "geometry", "--keys", "Up,Up,Right,PgUp,C,R,Space,Alt+Right", "--png", "g.png", "--svg", "g.svg",
                  "--size", "400x300", "models/yagi.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json v = json::parse(r.out)["view"];
    EXPECT_EQ(v["name"], "geometry");
    EXPECT_EQ(v["wires"], "output");
    EXPECT_EQ(v["viewElevation"], 90);
    EXPECT_EQ(v["viewAzimuth"], 275);
    EXPECT_EQ(v["geometryScale"], 5);
    EXPECT_EQ(v["axis"], "Axis : 2.5 m");
    EXPECT_EQ(v["showCurrent"], true);
    EXPECT_EQ(v["showPattern"], true);
    EXPECT_EQ(v["gridType"], 2);
    EXPECT_EQ(v["quantity"], "Total gain [dB]");
    EXPECT_EQ(v["selectedSegment"], 1);
    // The read-out gives segment 1's current as the report prints it.
    const std::string text = v["current"];
    ASSERT_EQ(text.rfind("Seg: 1, Tag: 1, Curr: ", 0), 0u) << text;
    const auto [magnitude, phase] = firstCurrent(tree.file("out/yagi.out"));
    const size_t at = text.find(" amp @ ");
    ASSERT_NE(at, std::string::npos) << text;
    EXPECT_NEAR(readNumber(text.substr(22, at - 22)), magnitude, 0.01 * magnitude + 1e-6);
    const double shown = readNumber(text.substr(at + 7));
    EXPECT_NEAR(std::remainder(shown - phase, 360.0), 0, 0.5) << text << " vs " << phase;
    const std::string png = test::readText(tree.file("g.png"));
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_NE(test::readText(tree.file("g.svg")).find("<svg"), std::string::npos);
}

TEST_F(Batch, GeometryKeysThatLeaveTheViewAreRefused) {
    auto r = run({"--batch", "--calc", "original", "--show", "geometry", "--keys", "I", "models/dipole.nec"});
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("leaves the geometry view"), std::string::npos) << r.err;
    r = run({"--batch", "--input", "--json", "--show", "geometry", "--keys", "C", "models/dipole.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json j = json::parse(r.out);
    EXPECT_EQ(j["view"]["wires"], "input");
    EXPECT_EQ(j["view"]["showCurrent"], false); // the deck has no currents
    EXPECT_NE(j["view"]["status"].get<std::string>().find("input file has no currents"), std::string::npos);
}

} // namespace
