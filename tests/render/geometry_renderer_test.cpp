// The geometry renderer on a test image: the Yagi's wire ends are drawn
// where the two-angle projection puts them, for the first view and after
// turning and shifting it.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <filesystem>

#include "base/text.h"
#include "core/config.h"
#include "deck/reader.h"
#include "present/key_names.h"
#include "present/segment_currents.h"
#include "render/geometry_view.h"
#include "render_test_support.h"
#include "report/report_reader.h"
#include "support/report_reading.h"

using namespace wavra;

namespace {

struct GeometryRendererTest : ::testing::Test {
    test::InstallTree tree;
    Model m;
    RecordingUi ui;
    GeometryView view{m, ui};

    void SetUp() override {
        test::ensureGuiApplication();
        tree.prepare(m);
        std::filesystem::copy_file(test::sourcePath("examples/yagi.nec"), tree.file("yagi.nec"));
        m.modelName = "yagi";
        ASSERT_TRUE(readInputFileShown(m, ui));
        ASSERT_EQ(m.wireCount, 3);
        view.open();
    }
    QImage render(int width, int height) const {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        view.paint(painter, image.rect());
        return image;
    }
    // The darkest grey level within one pixel of (x, y).
    static int darkest(const QImage& image, double x, double y) {
        int dark = 255;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy) {
                const QPoint p(static_cast<int>(std::lround(x)) + dx, static_cast<int>(std::lround(y)) + dy);
                if (image.rect().contains(p)) dark = std::min(dark, qGray(image.pixel(p)));
            }
        return dark;
    }
    // Every wire end and midpoint is on a drawn line; points off the wires
    // to the side stay white.
    void expectWiresWhereProjected(const QImage& image) {
        const GeometryViewState& s = view.controller().state();
        const Projection p = modelProjection(s);
        const DrawingFrame f = drawingFrame(s, 0, 0, image.width(), image.height());
        for (int i = 1; i <= m.wireCount; ++i) {
            for (double t : {0.0, 0.5, 1.0}) {
                const double x = m.wireX1[i] + (m.wireX2[i] - m.wireX1[i]) * t;
                const double y = m.wireY1[i] + (m.wireY2[i] - m.wireY1[i]) * t;
                const double z = m.wireZ1[i] + (m.wireZ2[i] - m.wireZ1[i]) * t;
                const double px = f.pixelX(p.x(x, y)), py = f.pixelY(p.y(x, y, z));
                EXPECT_LT(darkest(image, px, py), 160) << "wire " << i << " at " << t << ": " << px << ", " << py;
            }
            // Between the wires, halfway from this one's end 1 to the next's.
            if (i < m.wireCount) {
                const double x = (m.wireX1[i] + m.wireX1[i + 1]) / 2, y = m.wireY1[i];
                EXPECT_EQ(darkest(image, f.pixelX(p.x(x, y)), f.pixelY(p.y(x, y, 0))), 255) << "between " << i;
            }
        }
    }
};

TEST_F(GeometryRendererTest, WireEndsLieWhereTheProjectionPutsThem) {
    const QImage first = render(600, 600);
    expectWiresWhereProjected(first);
    for (const char* k : {"Up", "Up", "Up", "Left", "Left", "Ctrl+Left", "PgUp"})
        ASSERT_TRUE(view.command(*actionCodeOfKeyName(k)));
    const QImage turned = render(800, 500);
    expectWiresWhereProjected(turned);
}

TEST_F(GeometryRendererTest, LabelsArePaintedIntoThePicture) {
    // The label area at the bottom left holds "Axis", "Theta" and "Phi":
    // dark pixels where the picture is otherwise empty.
    const QImage image = render(600, 600);
    int dark = 0;
    for (int x = 0; x < 120; ++x)
        for (int y = 540; y < 600; ++y) dark += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(dark, 50);
    const nlohmann::json j = view.describe();
    EXPECT_EQ(j["axis"], "Axis : 5.0 m");
    EXPECT_EQ(j["wires"], "input");
}

// The key to the colours of 'M' on a report of nec2c: the ramp runs from
// 0 A (entry 1, at the bottom) to the largest segment current at the
// settings' power (entry 16, at the top); with the phase bars it runs over
// the phases, from -largest to +largest.
TEST(GeometryLegendTest, RampEndsCarryTheLargestCurrentAtThePowerSettingOrThePhases) {
    test::ensureGuiApplication();
    test::InstallTree tree;
    Model m;
    RecordingUi ui;
    tree.prepare(m);
    std::filesystem::copy_file(test::fixturePath("reports/a_dipole.nec2c.out"), tree.file("out/dipole.out"));
    m.modelName = "dipole";
    ASSERT_TRUE(test::readModelReport(m, ui, ".out"));
    ASSERT_TRUE(m.summary.fieldScale > 0);
    GeometryView view{m, ui};
    view.open();
    ASSERT_TRUE(view.command('M'));
    nlohmann::json legend = view.describe()["legend"];
    EXPECT_EQ(legend["title"], "Current [A] at 100 W");
    EXPECT_EQ(legend["low"], "0");
    EXPECT_EQ(legend["high"], formatSignificant(m.maxCurrentMag * m.summary.fieldScale, 3));

    // The ramp stands in a strip at the right edge, clear of the vertical
    // dipole in the middle: its top entry above its bottom one.
    QImage image(600, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    view.paint(painter, image.rect());
    painter.end();
    auto rowOf = [&](Rgb c) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = image.width() - 40; x < image.width(); ++x)
                if (image.pixelColor(x, y) == QColor(c.r, c.g, c.b)) return y;
        return -1;
    };
    const int top = rowOf(displayTables().colourRamp[16]), bottom = rowOf(displayTables().colourRamp[1]);
    EXPECT_GT(top, 0);
    EXPECT_GT(bottom, top + 100);

    ASSERT_TRUE(view.command('P'));
    legend = view.describe()["legend"];
    EXPECT_EQ(legend["title"], "Phase [deg]");
    EXPECT_EQ(legend["low"], formatSignificant(-m.maxCurrentPhase, 3));
    EXPECT_EQ(legend["high"], formatSignificant(m.maxCurrentPhase, 3));
}

} // namespace
