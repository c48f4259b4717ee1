// Earlier loops kept beside today's: what is kept, in which colour and with
// which legend, and how their values follow today's reference impedance and
// the scales and the Smith chart take them in.
#include "present/sweep_compare.h"

#include <gtest/gtest.h>

#include "core/reflection.h"
#include "present/measured_curves.h"
#include "present/plot_math.h"
#include "present/smith_chart.h"
#include "sweep_test_support.h"

namespace wavra {
namespace {

using Q = SweepQuantity;

std::time_t localTime(int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = 126, t.tm_mon = 11, t.tm_mday = 9;
    t.tm_hour = hour, t.tm_min = minute, t.tm_sec = second;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

Model dipole() {
    Model m = sweepModel({{14.0, 50, 0}, {14.1, 25, 0}, {14.2, 100, 40}}, true);
    m.modelName = "dipole";
    return m;
}

TEST(SweepCompare, KeepsFiveLoopsInTheComparisonColoursWithTheirLegend) {
    Model m = dipole();
    for (int k = 0; k < 5; ++k) EXPECT_TRUE(keepSweep(m, localTime(9, 5, k)));
    EXPECT_FALSE(keepSweep(m, localTime(9, 6, 0))); // a sixth is refused
    ASSERT_EQ(m.keptSweeps.size(), 5u);
    EXPECT_EQ(m.keptSweeps[0].label, "dipole 09:05:00");
    EXPECT_EQ(m.keptSweeps[4].frequency, (std::vector<double>{14.0, 14.1, 14.2}));
    const int colours[] = {9, 12, 2, 13, 6};
    for (size_t k = 0; k < 5; ++k) EXPECT_EQ(keptSweepColour(k), standardColour(colours[k])) << k;
    // Today's curves turn black while loops are kept: their own colours
    // are those of the kept loops.
    EXPECT_EQ(currentCurveColour(m, 1), kCurrentSweepColour);
    m.measured.file = "/data/dipole.s1p";
    m.measured.points = {{14.05, {0, 0}}, {14.15, {0.5, 0}}};
    const auto legend = sweepLegend(m, m, true);
    ASSERT_EQ(legend.size(), 7u);
    EXPECT_EQ(legend[0], (LegendEntry{"now: dipole", kCurrentSweepColour}));
    EXPECT_EQ(legend[2], (LegendEntry{"dipole 09:05:01", standardColour(12)}));
    EXPECT_EQ(legend[6], (LegendEntry{"measured: dipole.s1p", kMeasuredColour}));
    EXPECT_EQ(sweepLegend(m, m, false, standardColour(12))[0].colour, standardColour(12)); // the Smith chart's locus
    EXPECT_EQ(sweepLegend(m, m, false).size(), 6u);
    m.keptSweeps.clear();
    EXPECT_EQ(currentCurveColour(m, 0), standardColour(9));
    EXPECT_EQ(sweepLegend(m, m, false).size(), 0u);
    // A report of one frequency is no loop to keep.
    Model one = sweepModel({{14.0, 50, 0}});
    EXPECT_FALSE(keepSweep(one, 0));
}

TEST(SweepCompare, KeptValuesFollowTodaysZ0AndSurviveANewLoad) {
    Model m = dipole();
    ASSERT_TRUE(keepSweep(m, 0));
    const KeptSweep& k = m.keptSweeps[0];
    EXPECT_NEAR(keptValue(m.referenceZ0(), k, Q::Swr, 1), 2, 1e-12); // 25 ohm on 50
    EXPECT_NEAR(keptValue(m.referenceZ0(), k, Q::GainToMax, 0), k.gain[0] - k.gainReference, 1e-12);
    m.z0 = 25;
    EXPECT_NEAR(keptValue(m.referenceZ0(), k, Q::Swr, 1), 1, 1e-12);
    EXPECT_EQ(keptCurve(m.referenceZ0(), k, Q::Swr).size(), 3u);
    // A recalculation loads a loop of 2 steps with a better match; the kept
    // loop stays, and the scales and frequency axis take it in.
    m.resetForLoad();
    m.freqCount = 2;
    m.sweepFreq[1] = 14.05, m.sweepR[1] = 25, m.sweepX[1] = 0;
    m.sweepFreq[2] = 14.08, m.sweepR[2] = 26, m.sweepX[2] = 0;
    ASSERT_EQ(m.keptSweeps.size(), 1u);
    SweepState s;
    rescaleSweep(m, s);
    EXPECT_EQ(s.freqMin, 14.0);
    EXPECT_EQ(s.freqMax, 14.2);
    EXPECT_GE(s.scales[static_cast<size_t>(Q::Resistance)].hi, 100);
}

TEST(SweepCompare, SmithChartTurnsMeasuredAndKeptPointsWithTheLine) {
    Model m = dipole();
    ASSERT_TRUE(keepSweep(m, 0));
    m.measured.referenceOhm = 50;
    m.measured.points = {{14.2, reflection(100, 40, 50)}};
    SmithState s;
    resetSmith(m, s);
    for (int i = 0; i < 25; ++i) smithCommand(m, s, 139); // a quarter of the line's turn
    const std::complex<double> model = plottedGamma(m.referenceZ0(), s, smithPoints(m, s)[2]);
    EXPECT_GT(std::abs(model - reflection(100, 40, 50)), 0.1);
    EXPECT_LT(std::abs(measuredLocus(m.referenceZ0(), m, s)[0] - model), 1e-12);
    EXPECT_LT(std::abs(keptLocus(m.referenceZ0(), s, m.keptSweeps[0])[2] - model), 1e-12);
}

} // namespace
} // namespace wavra
