// A measured Touchstone file against the model, end to end with the real
// engine: the dipole's own sweep, written by wavra and read back as the
// measurement, lies exactly on the model; the same file 2 % higher in
// frequency moves the minimum SWR 2 % up.
#include <cmath>
#include <sstream>

#include "batch_fixture.h"

using namespace wavra;
using nlohmann::json;
using wavra::test::Batch;
using wavra::test::readText;
using wavra::test::writeText;

namespace {

// The Touchstone text with every frequency times `factor`.
std::string shifted(const std::string& text, double factor) {
    std::istringstream in(text);
    std::ostringstream out;
    out.precision(17);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '!' || line[0] == '#') {
            out << line << '\n';
            continue;
        }
        std::istringstream fields(line);
        double f = 0;
        std::string rest;
        fields >> f;
        std::getline(fields, rest);
        out << f * factor << rest << '\n';
    }
    return out.str();
}

TEST_F(Batch, MeasuredSweepAgainstTheModel) {
    auto calc = run(
        {"--batch", "--calc", "sweep", "--freq", "13.2,15.2,0.1", "--touchstone", "dipole.s1p", "models/dipole.nec"});
    ASSERT_EQ(calc.status, 0) << calc.err;

    auto same = run({"--batch", "--json", "--show", "sweep", "--measured", "dipole.s1p", "--png",
                     tree.file("measured.png"), "models/dipole.nec"});
    ASSERT_EQ(same.status, 0) << same.err;
    const json j = json::parse(same.out);
    const json& measured = j["measured"];
    ASSERT_EQ(measured["pointCount"], 21);
    EXPECT_EQ(measured["file"], tree.file("dipole.s1p"));
    EXPECT_TRUE(measured["skipped"].empty());
    for (const json& p : measured["points"]) {
        const json& model = p["model"];
        ASSERT_TRUE(model.is_object()) << p.dump();
        // The file holds S11 to the last digit, so SWR and |G| are the
        // model's bit for bit; R and X pass through Z = z0 (1+G)/(1-G).
        EXPECT_EQ(p["swr"], model["swr"]);
        EXPECT_EQ(p["reflectionDb"], model["reflectionDb"]);
        EXPECT_NEAR(p["R"].get<double>(), model["R"].get<double>(), 1e-9 * std::abs(model["R"].get<double>()));
        EXPECT_NEAR(p["X"].get<double>(), model["X"].get<double>(), 1e-9 * (1 + std::abs(model["X"].get<double>())));
    }
    ASSERT_TRUE(j["sweepMatch"]["band"].is_object()) << j["sweepMatch"].dump();
    EXPECT_EQ(measured["match"], j["sweepMatch"]);
    EXPECT_EQ(test::readText(tree.file("measured.png")).substr(1, 3), "PNG");

    // 2 % higher: the minimum follows to the 2 % higher step, and the
    // points above the loop have no model values.
    test::writeText(tree.file("shifted.s1p"), shifted(test::readText(tree.file("dipole.s1p")), 1.02));
    auto moved = run({"--batch", "--json", "--measured", "shifted.s1p", "models/dipole.nec"});
    ASSERT_EQ(moved.status, 0) << moved.err;
    const json k = json::parse(moved.out);
    const double modelMinimum = k["sweepMatch"]["minimum"]["frequency"].get<double>();
    EXPECT_NEAR(k["measured"]["match"]["minimum"]["frequency"].get<double>(), 1.02 * modelMinimum, 1e-9);
    EXPECT_EQ(k["measured"]["match"]["minimum"]["swr"], k["sweepMatch"]["minimum"]["swr"]);
    EXPECT_TRUE(k["measured"]["points"].back()["model"].is_null()); // 15.5 MHz, above the loop
    EXPECT_TRUE(k["measured"]["points"].front()["model"].is_object());

    auto missing = run({"--batch", "--measured", "nothing.s1p", "models/dipole.nec"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Cannot read " + tree.file("nothing.s1p")), std::string::npos) << missing.err;
}

} // namespace

// --compare keeps another model's loop beside this one's, named by the
// model; a model without a loop in its results is refused by name.
TEST_F(Batch, ComparedLoopOfAnotherModel) {
    std::string deck = readText(tree.file("models/dipole.nec"));
    for (size_t at = deck.find("5.15"); at != std::string::npos; at = deck.find("5.15")) deck.replace(at, 4, "5.25");
    writeText(tree.file("models/long.nec"), deck);
    auto none = run({"--batch", "--compare", "models/long.nec", "models/dipole.nec"});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("--compare models/long.nec: its results hold no frequency loop"), std::string::npos)
        << none.err;
    ASSERT_EQ(run({"--batch", "--calc", "sweep", "--freq", "13.2,15.2,0.1", "models/long.nec"}).status, 0);
    auto both = run({"--batch", "--json", "--calc", "sweep", "--freq", "13.2,15.2,0.1", "--compare", "models/long.nec",
                     "--show", "sweep", "models/dipole.nec"});
    ASSERT_EQ(both.status, 0) << both.err;
    const json kept = json::parse(both.out)["view"]["kept"];
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0]["label"].get<std::string>().rfind("long ", 0), 0u);
    ASSERT_EQ(kept[0]["steps"].size(), 21u);
    // The longer dipole resonates lower: its SWR at 13.2 MHz is the better one.
    const json steps = json::parse(both.out)["view"]["steps"];
    EXPECT_LT(kept[0]["steps"][0]["swr"].get<double>(), steps[0]["swr"].get<double>());
}
