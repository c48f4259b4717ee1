// Reports that are cut off, damaged, foreign or hostile: the reader says
// what is wrong, takes no result from a report that is not complete, and
// never crashes or reads out of bounds.
#include <random>

#include "report_test_support.h"

namespace wavra::test {
namespace {

class BadReport : public ReportTest {};

// A report cut off anywhere (a full disk, an engine that crashed) is not a
// result: it is refused with the message, and nothing of it stays.
TEST_F(BadReport, CutAnywhereIsIncompleteAndGivesNoResult) {
    const std::string incomplete = "The report out/model.out is incomplete (the engine stopped early): ";
    for (const std::string& text : {fixtureReport("a_dipole.classic.out"), fixtureReport("b_dipole_fr3_ne.nec2c.out"),
                                    fixtureReport("j_two_sources_nh.nec2c.out")}) {
        ASSERT_TRUE(load(text));
        for (size_t cut = 0; cut < text.size() - 30; cut += 613) {
            ui.clear();
            EXPECT_FALSE(load(text.substr(0, cut)));
            EXPECT_EQ(model.wireCount, 0);
            EXPECT_EQ(model.patternCount, 0);
            EXPECT_EQ(model.freqCount, 0);
            EXPECT_EQ(model.summary.nearFieldCount, 0);
            EXPECT_FALSE(model.summary.hasImpedance);
            EXPECT_FALSE(model.summary.hasPower);
            ASSERT_FALSE(ui.messages().empty());
            EXPECT_EQ(ui.messages().back().rfind(incomplete, 0), 0u) << ui.messages().back();
        }
    }
}

TEST_F(BadReport, CrLfReportsReadLikeLf) {
    for (const char* name : {"a_dipole.classic.out", "f_junction.nec2c.out"}) {
        const std::string text = fixtureReport(name);
        std::string crlf;
        for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        ASSERT_TRUE(load(text));
        const Model lf = model;
        ASSERT_TRUE(load(crlf));
        EXPECT_EQ(model.wireCount, lf.wireCount);
        EXPECT_EQ(model.wireEnd1Link, lf.wireEnd1Link);
        EXPECT_EQ(model.patternCount, lf.patternCount);
        EXPECT_EQ(model.farFieldGains, lf.farFieldGains);
        EXPECT_EQ(model.summary.comments, lf.summary.comments);
        EXPECT_EQ(model.summary.impedanceR, lf.summary.impedanceR);
        EXPECT_EQ(model.summary.calculationTime, lf.summary.calculationTime);
        EXPECT_TRUE(ui.messages().empty());
    }
}

TEST_F(BadReport, ShortLinesAndLettersInNumberColumnsReadAsZero) {
    std::string shortLines;
    std::string letters;
    for (const std::string& line : readLinesOf(fixturePath("reports/a_dipole.nec2c.out"))) {
        shortLines += line.substr(0, 20) + "\n";
        std::string l = line;
        for (char& c : l)
            if (c >= '0' && c <= '9' && line.find("(nec2c)") == std::string::npos) c = 'x';
        letters += l + "\n";
    }
    EXPECT_FALSE(load(shortLines)); // the cut banner leaves the run-time line unknown
    ASSERT_TRUE(load(letters));
    EXPECT_EQ(model.wireCount, 11);
    EXPECT_EQ(model.wireX1[3], 0);
    EXPECT_EQ(model.summary.impedanceR, 0);
    EXPECT_EQ(model.frequencyMHz, 0);
    EXPECT_EQ(model.requestCount[1], 0);
}

TEST_F(BadReport, RandomBytesAndOverlongLines) {
    std::mt19937 random(12345);
    std::string bytes(1 << 20, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    EXPECT_FALSE(load(bytes));
    // A report mixing real headings with junk under them.
    std::string junk = fixtureReport("b_dipole_fr3_ne.classic.out");
    for (size_t i = 0; i < junk.size(); i += 7) junk[i] = static_cast<char>(random());
    load(junk);
    EXPECT_LE(model.freqCount, model.maxFreqSteps);
    ui.clear();
    EXPECT_FALSE(load(std::string(8 << 20, 'E') + "RROR\n"));
    EXPECT_LE(ui.messages().size(), 13u);
}

TEST_F(BadReport, HugeAndNegativeCountsAndNumbers) {
    std::string text = fixtureReport("a_dipole.nec2c.out");
    const std::string rp = "  DATA CARD No:   3 RP   0    19    37  1001";
    const size_t at = text.find(rp);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, rp.size(), "  DATA CARD No:   3 RP   0 99999 99999  1001");
    ASSERT_TRUE(load(text));
    EXPECT_EQ(model.patternCount, 0);
    // The total comes from the counts as printed, beyond the 16-bit fields.
    EXPECT_EQ(userMessages(),
              std::vector<std::string>{"Total of 9999800001 exceeds max. of 6000\ncalculation points, pattern not "
                                       "loaded.\nwavra holds at most 32,767 points: request fewer."});

    ui.clear();
    text.replace(at, rp.size(), "  DATA CARD No:   3 RP   0   -19   -37  1001");
    ASSERT_TRUE(load(text));
    EXPECT_EQ(model.patternCount, 703); // the table itself is read, up to the capacity

    // A count beyond the double range times a count of 0 (found by fuzzing;
    // the input is kept in fuzz/findings/report-nan-point-count.out)
    // asks for no points rather than a total that is no number.
    ui.clear();
    text.replace(at, rp.size(), "  DATA CARD No:   3 RP   0 1E999     0  1001");
    ASSERT_TRUE(load(text));
    EXPECT_EQ(model.patternCount, 703);
    EXPECT_TRUE(userMessages().empty()) << userMessages().front();

    // Segment numbers and connections far outside the table, and values
    // beyond the double range.
    std::string seg = fixtureReport("f_junction.classic.out");
    const std::string junction = "     1         5   -6  -11";
    seg.replace(seg.find(junction), junction.size(), "     1    99999-40000    0");
    const std::string row = "     1   0.00000   0.00000  -4.81500";
    seg.replace(seg.find(row), row.size(), "     1   9.9E+99   1E+999  -1E-999");
    ASSERT_TRUE(load(seg));
    EXPECT_EQ(model.wireCount, 15);
    EXPECT_EQ(model.wireEnd2Link[5], 6); // no junction mark without the junction list
}

} // namespace
} // namespace wavra::test
