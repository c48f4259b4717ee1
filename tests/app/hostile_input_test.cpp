// --batch on what a hostile user or a failing machine hands it: bytes that
// are not UTF-8, reports cut off, pipes and directories as models, decks
// with expression errors, odd line ends and encodings. A clear message and
// a fitting exit status, never a crash, a hang or a result taken from junk.
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "batch_fixture.h"

using namespace wavra;
using nlohmann::json;
using wavra::test::Batch;

namespace {

struct HostileInput : Batch {
    test::RunResult batch(const std::string& model, std::vector<std::string> options = {}) {
        std::vector<std::string> args = {"--batch", "--json"};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(model);
        return run(args);
    }
    static bool said(const json& j, const std::string& text) {
        for (const auto& m : j["messages"])
            if (m.get<std::string>().find(text) != std::string::npos) return true;
        return false;
    }
};

} // namespace

// A Latin-1 comment and file names that are not ASCII: JSON gets U+FFFD for
// what is not UTF-8, the engine deck keeps the bytes.
TEST_F(HostileInput, BytesThatAreNotUtf8NeverAbort) {
    const std::string latin1Deck =
        "CM f\xfcr 14 MHz\nCE\nGW 1 11 0 0 -5 0 0 5 0.001\nGE 0\nEX 0 1 6 0 1 0\n"
        "FR 0 1 0 0 14 0\nRP 0 1 1 1000 90 0 0 0\nEN\n";
    test::writeText(tree.file("models/\xc3\xbc.nec"), latin1Deck);
    test::writeText(tree.file("models/\xfc.nec"), latin1Deck);
    auto utf8 = batch("models/\xc3\xbc.nec", {"--calc", "original"});
    ASSERT_EQ(utf8.status, 0) << utf8.err;
    json j = json::parse(utf8.out);
    EXPECT_EQ(j["reportFile"], "\xc3\xbc.out");
    EXPECT_EQ(j["comments"][0], "f\xef\xbf\xbdr 14 MHz");
    EXPECT_NE(test::readText(tree.file("out/\xc3\xbc.inp")).find("CM f\xfcr 14 MHz\n"), std::string::npos);
    auto latin1 = batch("models/\xfc.nec", {"--calc", "original"});
    ASSERT_EQ(latin1.status, 0) << latin1.err;
    EXPECT_EQ(json::parse(latin1.out)["modelName"], "\xef\xbf\xbd");
}

// nec2c ends with status 0 after writing half a report (the disk filled).
TEST_F(HostileInput, CutOffReportIsNoResult) {
    const std::string report = test::readText(test::fixturePath("reports/a_dipole.nec2c.out"));
    test::writeText(tree.file("half.out"), report.substr(0, report.size() / 2));
    // The engine stand-in gets the deck and the report path.
    test::replaceEngine(tree.path(), "#!/bin/sh\ncp '" + tree.file("half.out") + "' \"$2\"\n");
    {
        auto r = batch("models/dipole.nec", {"--calc", "original"});
        EXPECT_EQ(r.status, 3);
        json j = json::parse(r.out);
        EXPECT_TRUE(said(j,
                         "The report out/dipole.out.failed is incomplete (the engine stopped early): the closing "
                         "run-time "
                         "line."));
        EXPECT_FALSE(j.contains("impedance"));
        EXPECT_EQ(j["patternCount"], 0);
    }
    // The half report is kept aside and not read on the next load either.
    EXPECT_EQ(test::readText(tree.file("out/dipole.out.failed")), report.substr(0, report.size() / 2));
    auto next = batch("models/dipole.nec");
    EXPECT_EQ(next.status, 0) << next.err;
    json j = json::parse(next.out);
    EXPECT_EQ(j["loadedFrom"], "deck");
    EXPECT_FALSE(j.contains("impedance"));
    EXPECT_EQ(j["wireCount"], 1); // the model deck
    // A loop report with its run-time line but without its last steps ends
    // well for the engine; the reader refuses it, and it is kept aside too.
    std::string loop = test::readText(test::fixturePath("reports/g_loop_direction.nec2c.out"));
    loop = loop.substr(0, loop.rfind('\n', loop.find("FREQUENCY : 1.4300E+01"))) + "\n\n" +
           loop.substr(loop.find("  TOTAL RUN TIME"));
    test::writeText(tree.file("half.out"), loop);
    auto refused = batch("models/dipole.nec", {"--calc", "original"});
    EXPECT_NE(refused.status, 0);
    EXPECT_TRUE(said(json::parse(refused.out),
                     "The report out/dipole.out.failed is incomplete (the engine stopped "
                     "early): only 8 of 11 frequency steps."))
        << refused.out;
    EXPECT_EQ(test::readText(tree.file("out/dipole.out.failed")), loop);
}

TEST_F(HostileInput, PipesDirectoriesAndMissingFilesAreRefusedWithTheReason) {
    ASSERT_EQ(::mkfifo(tree.file("models/pipe.nec").c_str(), 0600), 0);
    std::filesystem::create_directories(tree.file("models/folder.nec"));
    const std::pair<const char*, const char*> cases[] = {
        {"pipe", "it is a named pipe (FIFO), not a regular file"},
        {"folder", "it is a directory, not a file"},
        {"none", "No such file or directory"},
    };
    for (const auto& [name, reason] : cases) {
        const std::string path = tree.file(std::string("models/") + name + ".nec");
        auto r = batch(path, {"--input"});
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_NE(r.err.find("Open failure on NEC-2 input file " + path + ": " + reason), std::string::npos) << r.err;
    }
    // A pipe in the report's place: said, and the model deck is read.
    ASSERT_EQ(::mkfifo(tree.file("out/dipole.out").c_str(), 0600), 0);
    auto r = batch("models/dipole.nec");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("Open failure on NEC-2 output file " + tree.file("out/dipole.out") +
                         ": it is a named pipe (FIFO), not a regular file"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(json::parse(r.out)["loadedFrom"], "deck");
}

// Values that failed read as 0: such a deck is another antenna. And every
// number form of C is read, 1e+3 too.
TEST_F(HostileInput, DeckWithExpressionErrorsIsNotCalculated) {
    test::writeText(tree.file("models/typo.nec"),
                    "SY len=10\nGW 1 11 0 0 -len2/2 0 0 len/2 0.001\nGE 0\n"
                    "EX 0 1 6 0 1 0\nFR 0 1 0 0 14 0\nEN\n");
    auto r = batch("models/typo.nec", {"--calc", "original"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Parser: Constant 'len2' not found."), std::string::npos);
    EXPECT_NE(r.err.find("The model typo.nec is not calculated: converting it reported 1 error; correct the deck "
                         "first."),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(tree.file("out/typo.out")));

    test::writeText(tree.file("models/exp.nec"),
                    "SY r=1e+3*0.0001, h=.5e1, w=5.\nGW 1 11 0 0 -h 0 0 w r\nGE 0\n"
                    "EX 0 1 6 0 1 0\nFR 0 1 0 0 14 0\nEN\n");
    auto exp = batch("models/exp.nec", {"--calc", "original"});
    EXPECT_EQ(exp.status, 0) << exp.err;
    EXPECT_NE(test::readText(tree.file("out/exp.inp")).find("GW, 1, 11, 0, 0, -5.0, 0, 0, 5.0, .1\n"),
              std::string::npos);
}

TEST_F(HostileInput, LineEndsEncodingsAndEmptyDecks) {
    const std::string dipole = test::readText(tree.file("models/dipole.nec"));
    std::string cr = dipole, utf16 = "\xff\xfe";
    for (char& c : cr)
        if (c == '\n') c = '\r';
    for (char c : dipole) (utf16 += c) += '\0';
    test::writeText(tree.file("models/cr.nec"), cr);
    test::writeText(tree.file("models/wide.nec"), utf16);
    test::writeText(tree.file("models/bom.nec"), "\xef\xbb\xbf" + dipole);
    for (const char* name : {"cr", "wide", "bom"}) {
        auto r = batch(std::string("models/") + name + ".nec", {"--input"});
        ASSERT_EQ(r.status, 0) << name << r.err;
        json j = json::parse(r.out);
        EXPECT_EQ(j["wireCount"], 1) << name;
        EXPECT_DOUBLE_EQ(j["frequencyMHz"].get<double>(), 14.2) << name;
        EXPECT_EQ(j["comments"].size(), 2u) << name;
    }
    EXPECT_NE(batch("models/wide.nec", {"--input"}).err.find("is UTF-16 text (little-endian)"), std::string::npos);
    EXPECT_NE(batch("models/bom.nec", {"--input"}).err.find("is UTF-8 text with a byte-order mark"), std::string::npos);
    test::writeText(tree.file("models/empty.nec"), "\n' nothing here\n   \n");
    auto empty = batch("models/empty.nec", {"--input"});
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("The model file " + tree.file("models/empty.nec") + " holds no cards."),
              std::string::npos);
}
