// A measurement beside the model: its quantities against the model's z0,
// the values of both between their points, and the read-outs and scales
// that take it in.
#include "present/measured_curves.h"

#include <cmath>
#include <gtest/gtest.h>

#include "present/smith_chart.h"
#include "sweep_test_support.h"

namespace wavra {
namespace {

using Q = SweepQuantity;

// The loop 14.0 ... 14.2 MHz, measured from 14.05 to 14.4 MHz against
// 75 ohm: a 75 ohm load (G = 0), then a short (G = -1), then G = 0.2.
Model measuredModel() {
    Model m = sweepModel({{14.0, 50, 0}, {14.1, 25, 0}, {14.2, 100, 40}});
    m.measured.file = "/data/dipole.s1p";
    m.measured.referenceOhm = 75;
    m.measured.points = {{14.05, {0, 0}}, {14.15, {-1, 0}}, {14.4, {0.2, 0}}};
    return m;
}

TEST(MeasuredCurves, QuantitiesAgainstTheModelsZ0) {
    const Model m = measuredModel();
    // 75 ohm on the model's 50 ohm: SWR 1.5; the short: total reflection.
    EXPECT_NEAR(measuredValue(m.referenceZ0(), m, Q::Resistance, 0), 75, 1e-12);
    EXPECT_NEAR(measuredValue(m.referenceZ0(), m, Q::Swr, 0), 1.5, 1e-12);
    EXPECT_EQ(measuredValue(m.referenceZ0(), m, Q::Swr, 1), 999);
    EXPECT_NEAR(measuredValue(m.referenceZ0(), m, Q::ReflectionDb, 1), 0, 1e-12);
    EXPECT_EQ(measuredCurve(m.referenceZ0(), m, Q::Swr)[1], kSwrDrawLimit);
    EXPECT_TRUE(std::isnan(measuredValue(m.referenceZ0(), m, Q::Gain, 0)));
}

TEST(MeasuredCurves, ValuesBetweenPointsAndNothingOutside) {
    const Model m = measuredModel();
    // Half way from G = 0 to G = -1 lies G = -0.5: 25 ohm against 75.
    EXPECT_NEAR(*measuredAt(m.referenceZ0(), m, Q::Resistance, 14.1), 25, 1e-9);
    EXPECT_EQ(*measuredAt(m.referenceZ0(), m, Q::Swr, 14.05), measuredValue(m.referenceZ0(), m, Q::Swr, 0));
    EXPECT_FALSE(measuredAt(m.referenceZ0(), m, Q::Swr, 14.0));
    EXPECT_FALSE(measuredAt(m.referenceZ0(), m, Q::Swr, 14.41));
    EXPECT_FALSE(measuredAt(m.referenceZ0(), m, Q::Gain, 14.1));
    // The model: exactly its step at a step's frequency, linear between.
    EXPECT_EQ(*modelImpedanceAt(m, 14.1), std::complex<double>(25, 0));
    EXPECT_NEAR(std::abs(*modelImpedanceAt(m, 14.15) - std::complex<double>(62.5, 20)), 0, 1e-9);
    EXPECT_FALSE(modelImpedanceAt(m, 14.3));
    // Without a measurement: nothing.
    const Model unmeasured = sweepModel({{14.0, 50, 0}, {14.1, 25, 0}});
    EXPECT_FALSE(measuredAt(unmeasured.referenceZ0(), unmeasured, Q::Swr, 14.05));
}

TEST(MeasuredCurves, ReadOutsAndScalesTakeTheMeasurementIn) {
    const Model m = measuredModel();
    SweepState s;
    rescaleSweep(m, s);
    EXPECT_EQ(s.freqMax, 14.4); // the axis covers the measurement too
    EXPECT_GE(s.scales[static_cast<size_t>(Q::Resistance)].hi, 112.5);
    // The pointer over the 14.1 MHz step on the SWR page: the measured SWR
    // half way between its points, beside the model's.
    const SweepLayout l = sweepLayout(800, 600);
    const double x = l.panes[0].left + l.panes[0].width * (14.1 - s.freqMin) / (s.freqMax - s.freqMin);
    const std::string text = sweepPointerText(m, s, l, x, l.panes[0].top + 5);
    EXPECT_EQ(text, "14.100 Mhz:  SWR 2.00 (measured 2.00)  |  Refl coef -9.54 dB (measured -9.54)");
    // The Smith chart's cursor read-out gives the measured impedance.
    SmithState smith;
    smith.cursor = 2;
    const auto lines = smithReadout(m, smith);
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[4].substr(0, 13), "Meas.: 25.0 +");
    EXPECT_EQ(lines[5], "M.SWR: 2.00");
    const auto match = measuredSwrMatch(m, m.referenceZ0(), m);
    ASSERT_TRUE(match);
    EXPECT_EQ(swrMatchTexts(*match)[0], "SWR min 1.50 at 14.050 MHz");
    EXPECT_EQ(swrMatchTexts(*match)[1], "SWR<=2: 14.050-14.050 MHz, 0.000 MHz (0.0 %) (open below)");
}

} // namespace
} // namespace wavra
