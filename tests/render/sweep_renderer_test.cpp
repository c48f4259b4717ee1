// The sweep graphs painted: the line at the pointer's step across both
// panes, and the kept loops in their colours beside today's black curves.
#include "render/sweep_renderer.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "core/reflection.h"
#include "present/plot_math.h"
#include "present/sweep_compare.h"
#include "render_test_support.h"

namespace wavra {
namespace {

constexpr int kWidth = 800, kHeight = 600;

Model loop(double r0) {
    Model m;
    m.allocateModelTables(16, 8, 2, 4, 2);
    m.modelName = "dipole";
    m.freqCount = 5;
    for (size_t i = 1; i <= 5; ++i) {
        m.sweepFreq[i] = 13.9 + 0.1 * static_cast<double>(i);
        m.sweepR[i] = r0 + 10 * static_cast<double>(i);
        m.sweepX[i] = 0;
    }
    return m;
}

QImage painted(const Model& m, const SweepState& s) {
    test::ensureGuiApplication();
    QImage image(kWidth, kHeight, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintSweep(painter, QRect(0, 0, kWidth, kHeight), m, s);
    return image;
}

QColor qColour(Rgb c) { return QColor(c.r, c.g, c.b); }

double xOf(const SweepState& s, double f) {
    const PlotBox box = sweepLayout(kWidth, kHeight).panes[0];
    return box.left + scaleFraction(frequencyAxis(s), f) * box.width;
}
double yOf(const SweepState& s, const PlotBox& box, SweepQuantity q, double v) {
    return box.bottom() - scaleFraction(s.scales[static_cast<size_t>(q)], v) * box.height;
}

TEST(SweepRenderer, PointerLineCrossesBothPanesAtItsStep) {
    const Model m = loop(20);
    SweepState s;
    rescaleSweep(m, s);
    const SweepLayout l = sweepLayout(kWidth, kHeight);
    const int x = static_cast<int>(std::lround(xOf(s, m.sweepFreq[4])));
    const QColor line = qColour(kSweepPointerColour);
    auto lineAt = [&](const QImage& image, const PlotBox& box) {
        return image.pixelColor(x, static_cast<int>(box.top + box.height * 0.9)) == line;
    };
    EXPECT_FALSE(lineAt(painted(m, s), l.panes[0]));
    s.pointerStep = 4;
    const QImage image = painted(m, s);
    EXPECT_TRUE(lineAt(image, l.panes[0]));
    EXPECT_TRUE(lineAt(image, l.panes[1]));
}

TEST(SweepRenderer, KeptLoopsInTheirColoursTodaysInBlack) {
    Model m = loop(20);
    ASSERT_TRUE(keepSweep(m, 0));
    for (size_t i = 1; i <= 5; ++i) m.sweepR[i] = 60 + 10 * static_cast<double>(i); // trimmed: other values
    SweepState s;
    rescaleSweep(m, s);
    const QImage image = painted(m, s);
    // The reflection pane, which no band shades: step 2 kept at 40 ohm,
    // today at 80 ohm.
    const PlotBox lower = sweepLayout(kWidth, kHeight).panes[1];
    const double f = m.sweepFreq[2];
    auto colourAt = [&](double r) {
        return image.pixelColor(
            static_cast<int>(std::lround(xOf(s, f))),
            static_cast<int>(std::lround(yOf(s, lower, SweepQuantity::ReflectionDb, reflectionDb(r, 0, 50)))));
    };
    EXPECT_EQ(colourAt(40), qColour(keptSweepColour(0)));
    EXPECT_EQ(colourAt(80), qColour(kCurrentSweepColour));
}

} // namespace
} // namespace wavra
