// The sweep graphs, the Smith chart and the sweep files from the command
// line, on a real nec2c frequency loop of the Yagi example: every SWR and
// reflection coefficient equals the one worked out here from the R and X
// printed in the same report, and the Touchstone file, read back by a reader
// of its own, gives those impedances again.
#include <cmath>
#include <complex>
#include <fstream>

#include "batch_fixture.h"
#include "printed_report.h"

using namespace wavra;
using nlohmann::json;
using wavra::test::Batch;
using wavra::test::Report;

namespace {

constexpr double kZ0 = 50;
constexpr int kSteps = 11; // 13.9 to 14.4 MHz in 0.05 MHz steps

// |G| against 50 ohm, straight from the definition.
double gammaOf(double r, double x) {
    return std::sqrt(((kZ0 - r) * (kZ0 - r) + x * x) / ((kZ0 + r) * (kZ0 + r) + x * x));
}

// The impedances of the loop as printed: the report starts with the deck's
// own frequency, then the steps follow.
std::vector<std::pair<double, double>> printedLoop(const Report& report) {
    std::vector<std::pair<double, double>> z;
    for (int step = 0; step < kSteps; ++step) z.push_back(report.impedance(step + 1));
    return z;
}

struct Touchstone {
    std::string option;
    std::vector<std::string> comments;
    std::vector<std::array<double, 3>> rows; // MHz, Re S11, Im S11
};

Touchstone readTouchstone(const std::string& path) {
    Touchstone t;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (line.empty()) continue;
        if (line[0] == '!') t.comments.push_back(line);
        else if (line[0] == '#') t.option = line;
        else {
            std::istringstream fields(line);
            std::array<double, 3> row{};
            fields >> row[0] >> row[1] >> row[2];
            if (fields) t.rows.push_back(row);
        }
    }
    return t;
}

} // namespace

TEST_F(Batch, SweepViewAndFilesMatchTheReport) {
    auto r = run({"--batch",      "--json",   "--calc",  "sweep",      "--freq",         "13.9,14.4,0.05",
                  "--sub",        "gain",     "--theta", "90,90,1",    "--phi",          "0,0,1",
                  "--show",       "sweep",    "--keys",  "I,Tab,PgUp", "--png",          tree.file("sweep.png"),
                  "--touchstone", "yagi.s1p", "--csv",   "yagi.csv",   "models/yagi.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json j = json::parse(r.out);
    const auto printed = printedLoop(Report(tree.file("out/yagi.out")));
    const json& view = j["view"];
    EXPECT_EQ(view["name"], "sweep");
    EXPECT_EQ(view["page"], 1);
    EXPECT_EQ(view["activePane"], "upper");
    const json& steps = view["steps"];
    ASSERT_EQ(steps.size(), static_cast<size_t>(kSteps));
    for (int i = 0; i < kSteps; ++i) {
        const auto [R, X] = printed[static_cast<size_t>(i)];
        const double g = gammaOf(R, X);
        const json& s = steps[static_cast<size_t>(i)];
        EXPECT_NEAR(s["frequency"].get<double>(), 13.9 + 0.05 * i, 1e-9);
        EXPECT_NEAR(s["reflection"].get<double>(), g, 1e-12);
        EXPECT_NEAR(s["swr"].get<double>(), (1 + g) / (1 - g), 1e-9);
        EXPECT_NEAR(s["reflectionDb"].get<double>(), 20 * std::log10(g), 1e-9);
    }
    // The scales of the picture: R zoomed in by one step at each end.
    const json& rCurve = view["panes"][0]["curves"][0];
    EXPECT_EQ(rCurve["quantity"], "R");
    EXPECT_LT(rCurve["min"].get<double>(), rCurve["max"].get<double>());
    EXPECT_EQ(test::readText(tree.file("sweep.png")).substr(1, 3), "PNG");

    // Touchstone: one line per frequency, S11 against 50 ohm.
    const Touchstone t = readTouchstone(tree.file("yagi.s1p"));
    EXPECT_EQ(t.option, "# MHZ S RI R 50");
    ASSERT_FALSE(t.comments.empty());
    EXPECT_NE(t.comments[0].find("yagi.nec"), std::string::npos);
    ASSERT_EQ(t.rows.size(), static_cast<size_t>(kSteps));
    for (int i = 0; i < kSteps; ++i) {
        const auto [R, X] = printed[static_cast<size_t>(i)];
        const std::complex<double> s(t.rows[static_cast<size_t>(i)][1], t.rows[static_cast<size_t>(i)][2]);
        const std::complex<double> z = kZ0 * (1.0 + s) / (1.0 - s);
        EXPECT_NEAR(t.rows[static_cast<size_t>(i)][0], 13.9 + 0.05 * i, 1e-9);
        EXPECT_NEAR(z.real(), R, 1e-9 * std::abs(z));
        EXPECT_NEAR(z.imag(), X, 1e-9 * std::abs(z));
    }
    // CSV: a header and one row per step, the gain included.
    const auto csv = test::readLinesOf(tree.file("yagi.csv"));
    ASSERT_EQ(csv.size(), static_cast<size_t>(kSteps + 1));
    EXPECT_EQ(csv[0], "Frequency (MHz),R (ohm),X (ohm),|Z| (ohm),Phase (deg),SWR (50 ohm),|Gamma| (dB),Gain (dBi)");
    const auto cells = [](const std::string& line) {
        std::vector<double> v;
        std::istringstream in(line);
        for (std::string cell; std::getline(in, cell, ',');) v.push_back(std::stod(cell));
        return v;
    };
    for (int i = 0; i < kSteps; ++i) {
        const auto row = cells(csv[static_cast<size_t>(i + 1)]);
        ASSERT_EQ(row.size(), 8u);
        const double g = gammaOf(printed[static_cast<size_t>(i)].first, printed[static_cast<size_t>(i)].second);
        EXPECT_EQ(row[1], printed[static_cast<size_t>(i)].first);
        EXPECT_NEAR(row[5], (1 + g) / (1 - g), 1e-9);
        EXPECT_NEAR(row[7], j["sweep"][static_cast<size_t>(i)]["gain"].get<double>(), 1e-12);
    }

    // The same report again, without a calculation: the Smith chart with
    // the cursor on the second step.
    auto smith = run({"--batch", "--json", "--show", "smith", "--keys", "Right,Right", "models/yagi.nec"});
    ASSERT_EQ(smith.status, 0) << smith.err;
    const json chart = json::parse(smith.out)["view"];
    ASSERT_EQ(chart["points"].size(), static_cast<size_t>(kSteps));
    for (int i = 0; i < kSteps; ++i) {
        const auto [R, X] = printed[static_cast<size_t>(i)];
        const std::complex<double> gamma = (std::complex<double>(R, X) - kZ0) / (std::complex<double>(R, X) + kZ0);
        double angle = std::atan(gamma.imag() / gamma.real()) * 180 / M_PI + (gamma.real() < 0 ? 180 : 0);
        const json& p = chart["points"][static_cast<size_t>(i)];
        EXPECT_NEAR(p["gammaMagnitude"].get<double>(), gammaOf(R, X), 1e-12);
        EXPECT_NEAR(p["gammaAngle"].get<double>(), angle, 1e-9);
    }
    EXPECT_EQ(chart["readout"][0], "Freq : 13.950 Mhz");
    EXPECT_EQ(chart["chartFile"], "exe/smith.dat");
    EXPECT_EQ(chart["rulers"].size(), 7u);
}

TEST_F(Batch, SweepFilesNeedAFrequencyLoop) {
    auto r = run({"--batch", "--input", "--touchstone", "dipole.s1p", "models/dipole.nec"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("The report holds no frequency loop"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(tree.file("dipole.s1p")));
    auto bad = run({"--batch", "--touchstone"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("option '--touchstone' needs a value"), std::string::npos);
    // A loop without a far-field direction has no gain: none in the rows,
    // no gain column.
    auto loop = run(
        {"--batch", "--json", "--calc", "sweep", "--freq", "14,14.1,0.05", "--csv", "dipole.csv", "models/dipole.nec"});
    ASSERT_EQ(loop.status, 0) << loop.err;
    EXPECT_TRUE(json::parse(loop.out)["sweep"][0]["gain"].is_null());
    EXPECT_EQ(test::readLinesOf(tree.file("dipole.csv"))[0].find("Gain"), std::string::npos);
    auto view = run({"--batch", "--input", "--json", "--show", "sweep", "models/dipole.nec"});
    ASSERT_EQ(view.status, 0) << view.err;
    EXPECT_EQ(json::parse(view.out)["view"]["message"], "Number of frequency steps less or equal one.");
}
