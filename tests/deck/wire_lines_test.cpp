// The GW lines of a deck rewritten from the wire table: the number text,
// the fields a line holds, which lines change, and the GS scale.
#include "deck/wire_lines.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "support/test_support.h"

namespace wavra {
namespace {

TEST(WireLines, GwLinesHoldEightNineOrTenFields) {
    // One wire from (1, 0, 0) to (0, 0, 0), tag 3, 7 segments.
    Model m;
    m.wireCount = 1;
    m.wireTag[1] = 3;
    m.wireSegments[1] = 7;
    m.wireX1[1] = 1;
    std::vector<std::string_view> fields;
    auto count = [&](const std::string& line) {
        splitFields(line, "\t", false, fields);
        return fields.size();
    };
    m.wireRadius[1] = 0;
    EXPECT_EQ(gwLineOf(m, 1, '\t', 1, false), "GW\t3\t7\t1.0\t0.0\t0.0\t0.0\t0.0");
    EXPECT_EQ(count(gwLineOf(m, 1, '\t', 1, false)), 8u);
    m.wireZ2[1] = 2.5;
    EXPECT_EQ(count(gwLineOf(m, 1, '\t', 1, false)), 9u);
    m.wireZ2[1] = 0;
    m.wireRadius[1] = 0.0012345;
    const std::string ten = gwLineOf(m, 1, '\t', 1, false);
    EXPECT_EQ(count(ten), 10u);
    EXPECT_EQ(std::string(fields[9]), "1.2345e-3");      // "###0.0####" would drop digits
    EXPECT_EQ(count(gwLineOf(m, 1, '\t', 1, true)), 8u); // a GC card gives the radius
    EXPECT_EQ(gwLineOf(m, 1, ' ', 0.001, false), "GW 3 7 1000.0 0.0 0.0 0.0 0.0 0.0 1.2345");
    EXPECT_EQ(deckNumber(-0.5), "-0.5");
    EXPECT_EQ(deckNumber(0.0000043), "4.3e-6"); // not written as 0
}

Model yagiWires() {
    Model m;
    m.wireCount = 3;
    for (int i = 1; i <= 3; ++i) {
        m.wireTag[i] = static_cast<int16_t>(i);
        m.wireSegments[i] = 11;
        m.wireY1[i] = -5;
        m.wireY2[i] = 5;
        m.wireRadius[i] = 0.001;
        m.wireX1[i] = m.wireX2[i] = i - 2;
    }
    return m;
}

TEST(WireLines, RewriteTouchesOnlyTheChangedWiresLines) {
    const Model m = yagiWires();
    const std::string deck =
        "CM test\r\n"
        "SY d=10\r\n"
        "GW 1 11 -1 -d/2 0 -1 d/2 0 1mm ' reflector\r\n"
        "'GW 9 9 9 9 9 9 9 9 9\r\n"
        "gw 2 11 0 -5 0 0 5 0 .001\r\n"
        "GW\t3\t11\t1\t-d / 2\t0\t1\td / 2\t0\t.001\r\n"
        "GW 4 11 0 0 0 0 0 1 .001\r\n" // more GW lines than rows
        "EN\r\n"
        "GW 5 1 0 0 0 0 0 1 .001\r\n";
    WireRewrite r = rewriteWireLines(deck, m, {2}, 1);
    EXPECT_FALSE(r.dropsSymbols);
    EXPECT_EQ(r.text,
              "CM test\r\n"
              "SY d=10\r\n"
              "GW 1 11 -1 -d/2 0 -1 d/2 0 1mm ' reflector\r\n"
              "'GW 9 9 9 9 9 9 9 9 9\r\n"
              "GW\t2\t11\t0.0\t-5.0\t0.0\t0.0\t5.0\t0.0\t0.001\r\n"
              "GW\t3\t11\t1\t-d / 2\t0\t1\td / 2\t0\t.001\r\n"
              "GW 4 11 0 0 0 0 0 1 .001\r\n"
              "EN\r\n"
              "GW 5 1 0 0 0 0 0 1 .001\r\n");
    r = rewriteWireLines(deck, m, {1, 3, 4}, 1);
    EXPECT_TRUE(r.dropsSymbols);
    EXPECT_NE(r.text.find("GW\t1\t11\t-1.0\t-5.0\t0.0\t-1.0\t5.0\t0.0\t0.001\t' reflector\r\n"), std::string::npos);
    EXPECT_NE(r.text.find("GW\t3\t11\t1.0\t-5.0"), std::string::npos);
    EXPECT_NE(r.text.find("GW 4 11 0 0 0 0 0 1 .001\r\n"), std::string::npos); // no row 4
}

TEST(WireLines, RowsFollowTheOrderOfTheGwLinesAndATaperKeepsItsGcCard) {
    Model m = yagiWires();
    m.wireTag[1] = 7; // the rows hold what the reader read, in line order
    const std::string deck = "GW 7 11 0 0 0 0 0 0 0\nGC 0 0 1 .002 .001\nGW 1 1 0 0 0 0 0 0 0\nGE\n";
    const std::string text = rewriteWireLines(deck, m, {1, 2}, 1).text;
    EXPECT_EQ(text,
              "GW\t7\t11\t-1.0\t-5.0\t0.0\t-1.0\t5.0\nGC 0 0 1 .002 .001\n"
              "GW\t2\t11\t0.0\t-5.0\t0.0\t0.0\t5.0\t0.0\t0.001\nGE\n");
}

TEST(WireLines, ScaleOfTheGsCard) {
    Model m;
    Diagnostics found;
    EXPECT_EQ(deckScaleFactor(m, found, "GW 1 1 0 0 0 0 0 1 1\nGE\n"), 1);
    EXPECT_EQ(deckScaleFactor(m, found, "GS 0 0 .5\nGS 0 0 0.001\nGE\nEN\nGS 0 0 7\n"), 0.001);
    EXPECT_EQ(deckScaleFactor(m, found, "GS 0 0 1mm\n"), 0.001);
    EXPECT_EQ(deckScaleFactor(m, found, "GS 0 0 2*0.5\n"), 1);
    EXPECT_EQ(deckScaleFactor(m, found, "GS\n"), 0);
}

} // namespace
} // namespace wavra
