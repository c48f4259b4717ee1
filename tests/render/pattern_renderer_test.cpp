// The pattern renderer on real nec2c reports: the curve and the lobe mark
// stand at the pixels that the scale and the layout work out.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <filesystem>

#include "core/config.h"
#include "present/pattern_commands.h"
#include "present/pattern_test_support.h"
#include "present/plot_math.h"
#include "render/pattern_renderer.h"
#include "render/pattern_view.h"
#include "render_test_support.h"
#include "report/report_reader.h"
#include "support/report_reading.h"

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
        ASSERT_TRUE(test::readModelReport(m, ui, ".out"));
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
    view.command(kPatternPlane);        // the first horizontal cut is the one through the maximum
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

// Four equal lobes of a vertical cut (theta 0, 90, 180, -90), each with its
// angle, value, beamwidth and front-to-back lines and two -3 dB angles: on
// a narrow and on a wide picture every block of marks stays clear of the
// scale's ring labels and of the other blocks, inside the plot.
struct LobeLabelSize {
    const char* name;
    QRect area;
};

void PrintTo(const LobeLabelSize& size, std::ostream* out) { *out << size.name; }

class LobeLabels : public ::testing::TestWithParam<LobeLabelSize> {};

TEST_P(LobeLabels, StayClearOfTheRingLabelsAndOfEachOther) {
    test::ensureGuiApplication();
    Model m = test::gridModel(test::range(-180, 180, 2), {0}, test::allColumns([](double t, double) {
                                  const double c = std::cos(2 * t * kPi / 180);
                                  return 10 * std::log10(c * c + 1e-3) + 7;
                              }));
    m.groundType = -1;
    PatternState s = test::openedOn(m, kVerticalCut);
    s.view.showInfo = true;
    const PatternPicture pic = buildPatternPicture(m, s);
    ASSERT_EQ(pic.lobes.size(), 4u);
    const PatternLayout layout = layoutFor(GetParam().area, pic);
    const PatternTextLayout texts = layoutPatternTexts(layout, pic);
    ASSERT_EQ(texts.lobeBlocks.size(), 12u);
    std::vector<QRectF> ringLabels;
    for (size_t k = 0; k < pic.gridTexts.size(); ++k)
        if (pic.gridTexts[k].marks) ringLabels.push_back(texts.grid[k]);
    ASSERT_GE(ringLabels.size(), 3u);
    const QRectF plot(layout.area().left(), layout.topBand().bottom(), layout.area().width(),
                      layout.bottomBand().top() - layout.topBand().bottom());
    for (size_t a = 0; a < texts.lobeBlocks.size(); ++a) {
        const QRectF& block = texts.lobeBlocks[a];
        EXPECT_TRUE(plot.contains(block)) << "block " << a;
        for (const QRectF& ring : ringLabels) EXPECT_FALSE(block.intersects(ring)) << "block " << a;
        for (size_t b = a + 1; b < texts.lobeBlocks.size(); ++b)
            EXPECT_FALSE(block.intersects(texts.lobeBlocks[b])) << "blocks " << a << " and " << b;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, LobeLabels,
                         ::testing::Values(LobeLabelSize{"narrow", QRect(0, 0, 340, 460)},
                                           LobeLabelSize{"wide", QRect(0, 0, 1000, 1100)}),
                         [](const ::testing::TestParamInfo<LobeLabelSize>& size) { return size.param.name; });

} // namespace
