// wavra --batch as a user runs it: the real program in a fresh install tree.
#include "batch_fixture.h"

using namespace wavra;
using nlohmann::json;
using wavra::test::Batch;

namespace {

// A deck in the style other NEC-2 tools write: fixed-width exponent fields,
// trailing zeros, generated geometry (GH, GM, GX, SP).
const char* kForeignDeck =
    "CM Helix beside two dipoles and a patch, written by another tool\n"
    "CE\n"
    "GH    20    40  2.50000E-01  2.00000E+00  1.50000E-01  1.50000E-01  1.50000E-01  1.50000E-01  1.00000E-03\n"
    "GM     0     0  0.00000E+00  0.00000E+00  0.00000E+00  4.00000E+00  4.00000E+00  0.00000E+00    20\n"
    "GW     1     9  0.00000E+00  5.00000E-01  0.00000E+00  0.00000E+00  1.50000E+00  0.00000E+00  2.00000E-03\n"
    "GX     2   010\n"
    "GW    10     5  2.00000E+00  0.00000E+00  0.00000E+00  2.00000E+00  0.00000E+00  3.00000E+00  2.00000E-03\n"
    "SP     0     2  5.00000E+00  5.00000E+00  0.00000E+00  5.50000E+00  5.00000E+00  0.00000E+00\n"
    "SC     0     0  5.50000E+00  5.50000E+00  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00\n"
    "GE     0     0  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00\n"
    "EX     0    20     1     0  1.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00\n"
    "FR     0     1     0     0  2.50000E+02  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00\n"
    "RP     0    37     1  1000  0.00000E+00  0.00000E+00  5.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00\n"
    "EN\n";

} // namespace

TEST_F(Batch, EveryExampleLoadsWithItsSummary) {
    json dipole = runJson("models/dipole.nec");
    EXPECT_EQ(dipole["schema"], 2);
    EXPECT_EQ(dipole["wireCount"], 1);
    EXPECT_EQ(dipole["segments"], 11);
    // Nothing a deck cannot hold has a stand-in number.
    for (const char* absent : {"reportFile", "frequencySteps", "patternMax", "groundEpsilon", "groundSigma"})
        EXPECT_TRUE(dipole[absent].is_null()) << absent;
    EXPECT_EQ(dipole["extentX"], 0.0); // a straight wire along y
    EXPECT_DOUBLE_EQ(dipole["frequencyMHz"].get<double>(), 14.2);
    EXPECT_EQ(dipole["requestMode"], 0);
    EXPECT_EQ(dipole["requestGrid"][1]["count"], 73);
    EXPECT_DOUBLE_EQ(dipole["extentY"].get<double>(), 5.15);
    EXPECT_TRUE(dipole["validation"]["ok"].get<bool>());
    EXPECT_TRUE(dipole["messages"].empty());

    json yagi = runJson("models/yagi.nec");
    EXPECT_EQ(yagi["wireCount"], 3);
    EXPECT_NEAR(yagi["extentX"].get<double>(), 0.2 * 299.8 / 14.15, 1e-5); // reflector spacing
    EXPECT_NEAR(yagi["extentY"].get<double>(), 1.05 * 0.473 * 299.8 / 14.15 / 2, 1e-5);
    EXPECT_TRUE(yagi["messages"].empty()) << yagi["messages"];

    json vertical = runJson("models/vertical.nec");
    EXPECT_EQ(vertical["groundType"], 2);
    EXPECT_EQ(vertical["wireCount"], 5);
    EXPECT_EQ(vertical["environment"][1], "Sommerfeld ground file input");

    json phased = runJson("models/phased.nec");
    EXPECT_EQ(phased["sources"].size(), 2u);
    EXPECT_EQ(phased["loads"].size(), 3u);
    EXPECT_EQ(phased["loads"][0]["lastSegment"], 11);
    EXPECT_EQ(phased["transLineCount"], 1);

    json near = runJson("models/nearfield.nec");
    EXPECT_EQ(near["requestMode"], -1);
    EXPECT_EQ(near["requestGrid"][2]["axis"], "Z");
    EXPECT_EQ(near["patternLines"], 21);
}

TEST_F(Batch, EngineDeckLandsInOutExactlyAsWritten) {
    auto r = run({"--batch", "--input", "models/yagi.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Nr of segments  : 33"), std::string::npos) << r.out;
    const std::string deck = test::readText(tree.file("out/yagi.inp"));
    EXPECT_NE(deck.find("GW, 3, 11, 3.2004, -4.760252, 0, 3.2004, 4.7602519, 0, .0125\n"), std::string::npos) << deck;
    EXPECT_EQ(deck.substr(deck.size() - 36), "RP, 0, 1, 361, 1000, 90, 0, 0, 1\nEN\n");
}

TEST_F(Batch, ForeignDeckReadsAndItsEngineDeckRunsInNec2c) {
    test::writeText(tree.file("models/foreign.nec"), kForeignDeck);
    json j = runJson("models/foreign.nec");
    EXPECT_EQ(j["wireCount"], 2); // the GW cards; generated wires come with the report
    EXPECT_DOUBLE_EQ(j["extentZ"].get<double>(), 3);
    EXPECT_DOUBLE_EQ(j["frequencyMHz"].get<double>(), 250);
    EXPECT_EQ(j["requestGrid"][0]["count"], 37);
    EXPECT_DOUBLE_EQ(j["requestGrid"][0]["stop"].get<double>(), 180);
    EXPECT_EQ(j["sources"][0]["tag"], 20);
    // Through the launcher of the shipped settings' engine, which also leaves out the deck's SZ card.
    auto engine = test::runProgram({tree.file("exe/NEC2D_LA"), "../out/foreign.inp", "../out/f.out"}, tree.file("exe"));
    EXPECT_EQ(engine.status, 0) << engine.err << engine.out;
    const std::string report = test::readText(tree.file("out/f.out"));
    EXPECT_NE(report.find("RADIATION PATTERNS"), std::string::npos);
    EXPECT_EQ(report.find("ERROR"), std::string::npos);
}

TEST_F(Batch, ModelNamesAreOnlyNames) {
    const std::string name = "a b;rm x 'q' \"dq\" \xc3\xa4ntenne.v2";
    std::filesystem::copy_file(tree.file("models/dipole.nec"), tree.file("models/" + name + ".nec"));
    json j = runJson(tree.file("models/" + name + ".nec"));
    EXPECT_EQ(j["modelName"], name);
    EXPECT_EQ(j["wireCount"], 1);
    EXPECT_TRUE(std::filesystem::exists(tree.file("out/a b;rm x.inp")));
    EXPECT_TRUE(std::filesystem::exists(tree.file("models/dipole.nec")));
}

TEST_F(Batch, RelativeModelPathIsTakenFromTheStartingDirectory) {
    auto r = run({"--batch", "--json", "--input", "dipole.nec"}, tree.file("models"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(json::parse(r.out)["modelDir"], tree.file("models/"));
}

TEST_F(Batch, MessagesGoToStderrAndJson) {
    test::writeText(tree.file("models/bad.nec"),
                    "SY a=b+\nGW 1 5 0 0 0 0 0 a\nEX 0 1 1 0 1\nEX 0 1 2 0 1\nEX 0 1 3 0 1\n");
    auto r = run({"--batch", "--input", "--json", "--set", "MXEX=2", "models/bad.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    json j = json::parse(r.out);
    ASSERT_GE(j["messages"].size(), 2u);
    EXPECT_EQ(j["messages"].back(), "Max-number of 2 V-sources exceeded,\nIncrease setting: 'Max-nr EX cards'.");
    EXPECT_NE(r.err.find("V-sources exceeded"), std::string::npos);
}

TEST_F(Batch, FailuresHaveTheirExitStatus) {
    auto missing = run({"--batch", "--input", "--json", "models/none.nec"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Open failure on NEC-2 input file " + tree.file("models/none.nec") +
                               ": No such file or directory"),
              std::string::npos);
    EXPECT_EQ(json::parse(missing.out)["messages"].size(), 1u);
    EXPECT_EQ(run({"--batch"}).status, 2);
    auto help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--calc=KIND"), std::string::npos);
    EXPECT_EQ(run({"--batch", "--frobnicate", "models/dipole.nec"}).status, 2);
    EXPECT_EQ(run({"--batch", "--answer", "maybe", "models/dipole.nec"}).status, 2);
    std::filesystem::remove(tree.file("exe/wavra.ini"));
    auto noIni = run({"--batch", "--input", "models/dipole.nec"});
    EXPECT_EQ(noIni.status, 1);
    EXPECT_NE(noIni.err.find("Initialisation file exe/wavra.ini not found."), std::string::npos);
}
