#include "core/smith_chart_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>

#include "support/test_support.h"

namespace wavra {
namespace {

const ChartRuler* rulerOf(const SmithChartFile& c, RulerKind kind) {
    for (const ChartRuler& r : c.rulers)
        if (r.kind == kind) return &r;
    return nullptr;
}

TEST(SmithChartFile, AtMostAHundredGridLines) {
    std::string text;
    for (int i = 1; i <= 105; ++i) text += "Z\t" + std::to_string(i) + "\t0\t50\n";
    const SmithChartFile c = parseSmithChart(text);
    ASSERT_EQ(c.grid.size(), kMaxChartGridLines);
    EXPECT_EQ(c.grid.back().value, 100);
    // Lines that cannot be drawn still count towards the hundred.
    const SmithChartFile skipped = parseSmithChart("Z\t-1\t0\t5\nZ\t1e999\t0\t5\nZ\t0.5\t0\t-5\n" + text);
    ASSERT_EQ(skipped.grid.size(), 98u);
    EXPECT_TRUE(skipped.grid[0].light());
    EXPECT_EQ(skipped.grid[0].bound(), 5);
}

TEST(SmithChartFile, RulerItemsEndAtTheFirstMissingOne) {
    const SmithChartFile c = parseSmithChart(
        "SWR\t1,0\t2,0.3333\tbad\t3,0.5\n"
        "RHO\t0.1,0.1\t*\t0.3,0.3\n"
        "ATT\t1,2\t2,0.631\t3,-0.1\t4,0.398\n"
        "RTL\n"
        "' a comment\nZX\t1\t2\t3\nswr\t1,0\n");
    ASSERT_EQ(c.rulers.size(), 4u);
    const ChartRuler* swr = rulerOf(c, RulerKind::Swr);
    ASSERT_TRUE(swr);
    ASSERT_EQ(swr->ticks.size(), 2u);
    EXPECT_EQ(swr->ticks[1].text, "2");
    EXPECT_NEAR(swr->ticks[1].position, 0.3333, 1e-12);
    EXPECT_EQ(rulerOf(c, RulerKind::VoltageReflection)->ticks.size(), 1u);
    // Positions off the ruler are left out, the list goes on.
    const ChartRuler* att = rulerOf(c, RulerKind::Attenuation);
    ASSERT_EQ(att->ticks.size(), 2u);
    EXPECT_EQ(att->ticks[1].text, "4");
    EXPECT_TRUE(rulerOf(c, RulerKind::ReturnLoss)->ticks.empty());
    EXPECT_TRUE(c.grid.empty()); // "ZX" is not a grid line
}

// Each ruler of the shipped files stands where the reflection coefficient
// of its value lies.
double expectedPosition(RulerKind kind, double v) {
    switch (kind) {
    case RulerKind::Swr: return (v - 1) / (v + 1);
    case RulerKind::SwrDb: return expectedPosition(RulerKind::Swr, std::pow(10, v / 20));
    case RulerKind::VoltageReflection: return v;
    case RulerKind::PowerReflection: return std::sqrt(v);
    case RulerKind::ReflectionLoss: return std::sqrt(1 - std::pow(10, -v / 10));
    case RulerKind::ReturnLoss: return std::pow(10, -v / 20);
    case RulerKind::Attenuation: return std::pow(10, -v / 10);
    }
    return -1;
}

TEST(SmithChartFile, ShippedFineAndCoarseCharts) {
    Model m;
    m.installDir = test::sourcePath("");
    std::map<int, size_t> gridLines;
    for (int16_t mode : std::initializer_list<int16_t>{0, 1}) {
        m.smithMode = mode;
        SmithChartFile c;
        ASSERT_TRUE(loadSmithChart(m, c)) << smithChartFileName(m);
        gridLines[mode] = c.grid.size();
        ASSERT_EQ(c.rulers.size(), rulerStyles().size());
        for (size_t i = 1; i < c.grid.size(); ++i) EXPECT_GT(c.grid[i].value, c.grid[i - 1].value);
        for (const ChartRuler& r : c.rulers) {
            EXPECT_GE(r.ticks.size(), 6u);
            for (const RulerTick& t : r.ticks)
                EXPECT_NEAR(t.position, expectedPosition(r.kind, t.value), 1e-4)
                    << rulerStyle(r.kind).name << " " << t.text;
        }
    }
    EXPECT_EQ(smithChartFileName(m), "exe/smith1.dat");
    EXPECT_GT(gridLines[0], gridLines[1]);
    m.installDir = "/nonexistent/";
    SmithChartFile none;
    EXPECT_FALSE(loadSmithChart(m, none));
}

} // namespace
} // namespace wavra
