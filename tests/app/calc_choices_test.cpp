// Every calculation choice on decks written the way people write them: near
// fields before and after the pattern, placeholder near-field cards, a ground
// card after the pattern, loops with PT/PQ, several FR cards. The real engine
// runs each choice, and each one the engine can run gives its result.
#include <gtest/gtest.h>

#include <cmath>

#include "batch_fixture.h"

using namespace wavra;
using nlohmann::json;
using wavra::test::Batch;

namespace {

const std::string kDipole = "CM dipole\nCE\nGW 1 9 0 -5.3 0 0 5.3 0 0.001\nGE 0\nEX 0 1 5 0 1 0\n";
const std::string kVertical = "CM vertical\nCE\nGW 1 7 0 0 0.5 0 0 5.5 0.001\nGE 1\nEX 0 1 1 0 1 0\n";

struct Deck {
    const char* name;
    std::string text;
    bool hasPattern, hasNearField, hasLoop;
};

const Deck kDecks[] = {
    {"nearfirst", kDipole + "FR 0 1 0 0 14.2 0\nNE 0 5 1 1 -2 0 1 1 0 0\nRP 0 10 1 1000 0 0 10 0\nEN\n", true, true,
     false},
    {"nearlast", kDipole + "PT -1\nPQ -1\nFR 0 5 0 0 14.0 0.1\nRP 0 10 1 1000 0 0 10 0\nNH 0 5 1 1 -2 0 1 1 0 0\nEN\n",
     true, true, true},
    {"placeholder",
     kDipole + "FR 0 1 0 0 14.2 0\nNH 0 0 0 0 0 0 0 0 0 0\nNE 0 3 3 1 -1 -1 1 1 1 0\nRP 0 10 2 1000 0 0 10 90\nEN\n",
     true, true, false},
    {"groundafter", kVertical + "FR 0 1 0 0 14.2 0\nRP 0 10 1 1000 0 0 10 0\nGN 0 0 0 0 13 0.005\nEN\n", true, false,
     false},
    {"twofr", kDipole + "FR 0 1 0 0 14.0 0\nXQ\nPQ 0\nFR 0 4 0 0 14.0 0.1\nRP 0 10 1 1000 0 0 10 0\nEN\n", true, false,
     true},
    {"xqonly", kDipole + "PT 0 0 0 0\nFR 0 6 0 0 13.9 0.1\nXQ\nEN\n", false, false, true},
    {"ratio", kDipole + "FR 1 5 0 0 12.0 1.05\nRP 0 10 1 1000 0 0 10 0\nEN\n", true, false, true},
};

// The choice's own options, with ranges where the deck has no request to
// take them from.
std::vector<std::string> choice(const std::string& kind, const Deck& d) {
    const std::vector<std::string> angles = {"--theta", "0,90,10", "--phi", "0,0,1"};
    const std::vector<std::string> grid = {"--x", "-1,1,0.5", "--y", "0,0,1", "--z", "1,1,1"};
    const std::vector<std::string> loop = {"--freq", "14,14.3,0.1"};
    std::vector<std::string> a = {"--calc", kind == "none" || kind == "ver" ? "sweep" : kind};
    auto add = [&a](const std::vector<std::string>& more) { a.insert(a.end(), more.begin(), more.end()); };
    if (kind == "far" && !d.hasPattern) add(angles);
    if (kind == "near" && !d.hasNearField) add(grid);
    if (kind == "none" || kind == "ver") {
        add({"--sub", kind});
        if (!d.hasLoop) add(loop);
        if (kind == "ver" && !d.hasPattern) add(angles);
    }
    return a;
}

} // namespace

TEST_F(Batch, EveryChoiceRunsOnEveryStyleOfDeck) {
    for (const Deck& d : kDecks) test::writeText(tree.file(std::string("models/") + d.name + ".nec"), d.text);
    for (const Deck& d : kDecks) {
        for (const std::string kind : {"original", "far", "none", "ver", "near"}) {
            std::vector<std::string> args = {"--batch", "--json"};
            const auto options = choice(kind, d);
            args.insert(args.end(), options.begin(), options.end());
            args.push_back(std::string("models/") + d.name + ".nec");
            const auto r = run(args);
            SCOPED_TRACE(std::string(d.name) + " " + kind);
            ASSERT_EQ(r.status, 0) << r.err;
            const json j = json::parse(r.out);
            EXPECT_TRUE(j["engineErrors"].empty());
            if (kind == "far") {
                EXPECT_GT(j["patternCount"].get<int>(), 1);
            }
            if (kind == "near") {
                EXPECT_GT(j["nearFieldCount"].get<int>(), 1);
            }
            if (kind == "none" || kind == "ver") {
                EXPECT_GE(j["sweep"].size(), 4u);
                EXPECT_EQ(j["sweep"].size(), j["freqCount"].get<size_t>());
                if (std::string(d.name) == "ratio") { // the deck's loop keeps its factor
                    for (size_t step = 0; step < j["sweep"].size(); ++step)
                        EXPECT_NEAR(j["sweep"][step]["frequency"].get<double>(),
                                    12.0 * std::pow(1.05, static_cast<double>(step)), 1e-4);
                }
            }
            if (kind == "ver") {
                EXPECT_GT(j["patternCount"].get<int>(), 1);
            }
            if (kind == "original") {
                EXPECT_TRUE(j.contains("impedance") || !j["sweep"].empty());
            }
        }
    }
}

TEST_F(Batch, FreqSetsTheFrequencyOfFarAndNearFieldAndIsRefusedWhereItCannotApply) {
    test::writeText(tree.file("models/nearlast.nec"), kDecks[1].text);
    const json far =
        json::parse(run({"--batch", "--json", "--calc", "far", "--freq", "21.1", "models/nearlast.nec"}).out);
    EXPECT_DOUBLE_EQ(far["frequencyMHz"].get<double>(), 21.1);
    const json near =
        json::parse(run({"--batch", "--json", "--calc", "near", "--freq", "7,7,1", "models/nearlast.nec"}).out);
    EXPECT_DOUBLE_EQ(near["frequencyMHz"].get<double>(), 7);
    EXPECT_EQ(run({"--batch", "--calc", "far", "--freq", "7,8,1", "models/nearlast.nec"}).status, 2);
    EXPECT_EQ(run({"--batch", "--calc", "original", "--freq", "7", "models/nearlast.nec"}).status, 2);
    const auto single = run({"--batch", "--calc", "sweep", "models/dipole.nec"});
    EXPECT_EQ(single.status, 2);
    EXPECT_NE(single.err.find("the deck has no frequency loop: give --freq"), std::string::npos);
}
