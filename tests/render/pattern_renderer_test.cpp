// The pattern renderer on real nec2c reports: the curve and the lobe mark
// stand at the pixels that the scale and the layout work out.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <filesystem>

#include "core/config.h"
#include "present/pattern_commands.h"
#include "present/plot_math.h"
#include "render/pattern_renderer.h"
#include "render/pattern_view.h"
#include "render_test_support.h"
#include "report/report_reader.h"

using namespace wavra;

namespace {

constexpr double kPi = 3.14159265358979323846;
const QRect kArea(0, 0, 600, 660);

struct Rendered : ::testing::Test {
    test::InstallTree tree;
    Model m;
    RecordingUi ui;
    PatternView view{m, ui};

    Rendered() { test::ensureGuiApplication(); }
    void load(const std::string& source) {
        tree.prepare(m);
        std::filesystem::copy_file(test::fixturePath(source), tree.file("out/report.out"));
        m.modelName = "report";
        ASSERT_TRUE(readOutput(m, ui, ".out"));
        view.open();
    }
    QImage image() const {
        QImage picture(kArea.size(), QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        view.paint(painter, kArea);
        return picture;
    }
    // The pixel of a point at `value` in direction (ux, uy) of the plot.
    QPointF pixelOf(double value, double ux, double uy) const {
        const PatternScale& s = view.state().window.scale;
        const double r = scaleRadius(s.min, s.max, value, m.linLogFactor) * kPlotRadius;
        return PatternLayout(kArea, 1, kPlotRadius).toPixel(r * ux, r * uy);
    }
};

// A pixel of the colour within two pixels of the point.
bool colourNear(const QImage& image, QPointF at, Rgb c) {
    for (int dx = -2; dx <= 2; ++dx)
        for (int dy = -2; dy <= 2; ++dy) {
            const QColor p = image.pixelColor(static_cast<int>(std::lround(at.x())) + dx,
                                              static_cast<int>(std::lround(at.y())) + dy);
            if (std::abs(p.red() - c.r) < 60 && std::abs(p.green() - c.g) < 60 && std::abs(p.blue() - c.b) < 60)
                return true;
        }
    return false;
}

TEST_F(Rendered, DipoleHorizonCutIsItsMaximumRing) {
    load("reports/a_dipole.nec2c.out"); // a vertical dipole: round in the horizon
    view.command(kPatternPlane);
    for (int i = 0; i < 9; ++i) view.command(38); // Up to theta 90
    ASSERT_EQ(view.describe()["cut"]["angle"], 90);
    const QImage picture = image();
    const Rgb blue = standardColour(9);
    const double max = m.patternMax[3];
    for (double phi : {0.0, 45.0, 90.0, 160.0, 250.0, 315.0}) {
        const double c = std::cos(phi * kPi / 180), s = std::sin(phi * kPi / 180);
        EXPECT_TRUE(colourNear(picture, pixelOf(max, c, s), blue)) << "phi " << phi;
        EXPECT_FALSE(colourNear(picture, pixelOf(max, c, s) + QPointF(8 * c, -8 * s), blue)) << "phi " << phi;
    }
}

TEST_F(Rendered, YagiMainLobeAndItsMark) {
    load("reports/yagi_vertical.nec2c.out");
    view.command(kPatternInfo);
    const nlohmann::json lobes = view.describe()["lobes"];
    ASSERT_EQ(lobes.size(), 2u);
    ASSERT_EQ(lobes[1]["angle"], 90); // forwards, along +x
    const QImage picture = image();
    // The curve at theta 86 (a sample beside the mark's line) and the mark
    // from the centre to the outer ring at theta 90.
    const int theta86 = 180 + 86; // theta runs from -180 in 1-degree steps
    const double gain = m.farFieldGains[static_cast<size_t>(theta86 + 1)][2];
    const double a = 86 * kPi / 180;
    EXPECT_TRUE(colourNear(picture, pixelOf(gain, std::sin(a), std::cos(a)), standardColour(9)));
    const QPointF ring = PatternLayout(kArea, 1, kPlotRadius).toPixel(kPlotRadius - 4, 0);
    EXPECT_TRUE(colourNear(picture, ring, standardColour(4)));
    EXPECT_FALSE(colourNear(picture, ring + QPointF(0, -12), standardColour(4)));
}

} // namespace
