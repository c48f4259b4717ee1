// The geometry renderer on a test image: the Yagi's wire ends are drawn
// where the two-angle projection puts them, for the first view and after
// turning and shifting it.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <filesystem>

#include "core/config.h"
#include "deck/reader.h"
#include "present/key_names.h"
#include "render/geometry_view.h"
#include "render_test_support.h"

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
        ASSERT_TRUE(readInputFile(m, ui));
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

} // namespace
