// The pattern view on the command line, after a real nec2c run of the Yagi:
// the main lobe, its beamwidth and front-to-back ratio in --json against the
// values worked out from the pattern table printed in the same report.
#include <cmath>

#include "batch_fixture.h"
#include "printed_report.h"

using namespace wavra;
using nlohmann::json;
using wavra::test::Batch;
using wavra::test::Report;

namespace {

struct Sample {
    double angle, gain;
};

// The printed cut: theta or phi (column 0 or 1) and the total gain (column 4)
// of every row; a last row that repeats the first direction is left out.
std::vector<Sample> printedCut(const Report& report, size_t angleColumn) {
    std::vector<Sample> cut;
    for (const auto& row : report.table(report.find("RADIATION PATTERNS"), 5))
        cut.push_back({std::stod(row.at(angleColumn)), std::stod(row.at(4))});
    if (cut.size() > 2 && std::fabs(cut.back().angle - cut.front().angle - 360) < 1e-9) cut.pop_back();
    return cut;
}

struct MainLobe {
    double angle, gain, low, high, beamwidth, frontToBack;
};

// By hand: the largest gain (the middle of its samples when several in a
// row print it); from it round the cut each way to the first
// gain more than 3 dB below it, taking of the two samples around that level
// the nearer one; the back direction 180 degrees away (theta - 180 for a
// vertical cut, phi + 180 for a horizontal one).
MainLobe workedOut(const std::vector<Sample>& cut, double backOffset) {
    const size_t n = cut.size();
    size_t peak = 0, run = 1;
    for (size_t i = 0; i < n; ++i)
        if (cut[i].gain > cut[peak].gain) peak = i;
    while (peak + run < n && cut[peak + run].gain == cut[peak].gain) ++run;
    peak += (run - 1) / 2;
    const double level = cut[peak].gain - 3;
    auto walk = [&](int dir) {
        size_t j = peak;
        for (;;) {
            const size_t k = (dir > 0 ? j + 1 : j + n - 1) % n;
            if (cut[k].gain < level)
                return std::fabs(cut[k].gain - level) < std::fabs(cut[j].gain - level) ? cut[k].angle : cut[j].angle;
            j = k;
        }
    };
    MainLobe lobe{cut[peak].angle, cut[peak].gain, walk(-1), walk(1), 0, 0};
    lobe.beamwidth = std::fmod(lobe.high - lobe.low + 720, 360);
    const double back = std::fmod(lobe.angle + backOffset + 720, 360);
    for (const Sample& s : cut)
        if (std::fabs(std::fmod(s.angle + 720, 360) - back) < 1e-9) lobe.frontToBack = lobe.gain - s.gain;
    return lobe;
}

void expectMainLobe(const json& view, const MainLobe& expected) {
    const json* main = nullptr;
    for (const json& lobe : view.at("lobes"))
        if (lobe["value"].get<double>() == view["cut"]["highest"].get<double>()) main = &lobe;
    ASSERT_NE(main, nullptr) << view.dump(2);
    EXPECT_NEAR((*main)["angle"].get<double>(), expected.angle, 1e-9);
    EXPECT_NEAR((*main)["value"].get<double>(), expected.gain, 1e-9);
    EXPECT_NEAR((*main)["minus3dB"][0].get<double>(), expected.low, 1e-9);
    EXPECT_NEAR((*main)["minus3dB"][1].get<double>(), expected.high, 1e-9);
    EXPECT_NEAR((*main)["beamwidth"].get<double>(), expected.beamwidth, 1e-6);
    EXPECT_NEAR((*main)["frontToBack"].get<double>(), expected.frontToBack, 1e-9);
}

} // namespace

TEST_F(Batch, YagiVerticalCutLobeMatchesThePrintedPattern) {
    const std::string png = tree.file("pattern.png"), svg = tree.file("pattern.svg");
    auto r = run({"--batch", "--json", "--calc", "far", "--theta", "-180,180,1", "--phi", "0,0,1", "--show", "pattern",
                  "--keys", "I", "--png", png, "--svg", svg, "--size", "500x560", "models/yagi.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json view = json::parse(r.out).at("view");
    EXPECT_EQ(view["name"], "pattern");
    EXPECT_EQ(view["cut"]["plane"], "vertical");
    EXPECT_EQ(view["cut"]["unit"], "dB");
    EXPECT_EQ(view["cut"]["points"], 361);
    const MainLobe expected = workedOut(printedCut(Report(tree.file("out/yagi.out")), 0), -180);
    EXPECT_GT(expected.frontToBack, 5); // a real Yagi beams forwards
    expectMainLobe(view, expected);
    EXPECT_EQ(test::readText(png).substr(1, 3), "PNG");
    EXPECT_NE(test::readText(svg).find("<svg"), std::string::npos);
}

TEST_F(Batch, YagiHorizontalCutFromTheDecksOwnRequest) {
    auto r = run({"--batch", "--json", "--calc", "far", "--show", "pattern", "--keys", "I,J,Right", "models/yagi.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json view = json::parse(r.out).at("view");
    // One theta, 361 phi: the view opens on the horizontal cut.
    EXPECT_EQ(view["cut"]["plane"], "horizontal");
    EXPECT_EQ(view["cut"]["angle"], 90);
    EXPECT_EQ(view["cut"]["phiIndex"], 361); // Right from phi 0 goes clockwise to the last phi
    EXPECT_TRUE(view["indicator"].get<bool>());
    expectMainLobe(view, workedOut(printedCut(Report(tree.file("out/yagi.out")), 1), 180));
}

TEST_F(Batch, PatternViewWithoutPatternSaysSo) {
    auto r =
        run({"--batch", "--json", "--input", "--show", "pattern", "--keys", "I,Space,Home,Ins", "models/dipole.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json view = json::parse(r.out).at("view");
    EXPECT_TRUE(view["noData"].get<bool>());
    EXPECT_EQ(view["text"], "No data available or no RP card specified.");
}
