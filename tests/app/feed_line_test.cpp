// A deck's ZO card with the real engine: the engine never sees it, and the
// run's SWR, Touchstone file and JSON use the deck's Z0, also when the model
// is opened again from its report; and the exit status of files the batch
// run cannot write.
#include <cmath>
#include <complex>
#include <filesystem>

#include "batch_fixture.h"

using namespace wavra;
using nlohmann::json;
using wavra::test::Batch;

namespace {

// The dipole example with a 75 ohm feed line named on its own card.
void writeDipoleWithFeedLine(Batch& b, const std::string& name) {
    std::string deck = test::readText(b.tree.file("models/dipole.nec"));
    deck.insert(deck.find("GW"), "zo 75.0\n");
    test::writeText(b.tree.file("models/" + name + ".nec"), deck);
}

double swrAgainst(double z0, double r, double x) {
    const double g = std::abs((std::complex<double>(r, x) - z0) / (std::complex<double>(r, x) + z0));
    return (1 + g) / (1 - g);
}

} // namespace

TEST_F(Batch, ZoCardIsTheReferenceOfSwrAndTouchstoneAndStaysWithTheReport) {
    writeDipoleWithFeedLine(*this, "feed75");
    auto r = run({"--batch", "--json", "--calc", "sweep", "--freq", "14,14.3,0.1", "--touchstone", "feed75.s1p",
                  "models/feed75.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err.find("not a NEC-2 card"), std::string::npos) << r.err;
    const std::string touchstone = test::readText(tree.file("feed75.s1p"));
    EXPECT_NE(touchstone.find("\n# MHZ S RI R 75\n"), std::string::npos) << touchstone;
    json j = json::parse(r.out);
    EXPECT_EQ(j["z0"], 75.0);
    EXPECT_EQ(j["z0Source"], "deck");
    ASSERT_EQ(j["sweep"].size(), 4u);
    for (const json& row : j["sweep"]) {
        const double R = row["R"].get<double>(), X = row["X"].get<double>();
        EXPECT_NEAR(row["swr"].get<double>(), swrAgainst(75, R, X), 1e-9) << row.dump();
        EXPECT_GT(std::abs(row["swr"].get<double>() - swrAgainst(50, R, X)), 0.01);
    }

    // Opened again: the report holds no ZO card, the deck still does.
    r = run({"--batch", "--json", "models/feed75.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    j = json::parse(r.out);
    EXPECT_EQ(j["loadedFrom"], "report");
    EXPECT_EQ(j["z0"], 75.0);
    EXPECT_EQ(j["z0Source"], "deck");
    EXPECT_EQ(j["environment"].back(), "Feed line Z0 : 75 ohm (ZO card)");

    j = runJson("models/dipole.nec");
    EXPECT_EQ(j["z0"], 50.0);
    EXPECT_EQ(j["z0Source"], "settings");
}

TEST_F(Batch, FilesThatCannotBeWrittenExitOneWithTheSystemsReason) {
    const std::string missing = tree.file("no-such-dir/view.png");
    auto r = run({"--batch", "--show", "geometry", "--png", missing, "models/dipole.nec"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("cannot write " + missing + ": No such file or directory"), std::string::npos) << r.err;

    std::filesystem::remove_all(tree.file("out"));
    r = run({"--batch", "--input", "models/dipole.nec"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("Cannot write the engine deck " + tree.file("out/dipole.inp") + ": No such file or directory"),
              std::string::npos)
        << r.err;
}
