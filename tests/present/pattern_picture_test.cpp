#include "present/pattern_picture.h"

#include <gtest/gtest.h>

#include "pattern_test_support.h"
#include "present/pattern_commands.h"

namespace wavra {
namespace {

using test::allColumns;
using test::gridModel;
using test::range;

// A horizontal cut at theta 90 with one lobe at phi 0 (7.3 dB).
Model oneLobe() {
    Model m = gridModel({90}, range(0, 355, 5), allColumns([](double, double p) {
                            const double off = std::min(p, 360 - p);
                            return off <= 20 ? 7.3 - off / 5 : -20.0;
                        }));
    m.linLogFactor = 0.5;
    m.modelName = "yagi";
    m.frequencyMHz = 14.15;
    return m;
}

TEST(PatternPicture, LabelsOfTheCut) {
    Model m = oneLobe();
    RecordingUi ui;
    PatternState s = test::openedOn(m, kHorizontalCut);
    PatternPicture pic = buildPatternPicture(m, s);
    ASSERT_FALSE(pic.noData);
    EXPECT_EQ(pic.title, "Horizontal cut");
    EXPECT_EQ(pic.quantity, "Total gain [dB]");
    EXPECT_EQ(pic.labels.cut, "Theta: 90");
    EXPECT_EQ(pic.labels.maxAngle, "Max gain Phi: 0");
    EXPECT_EQ(pic.labels.frequency, "14.15 Mhz");
    ASSERT_EQ(pic.labels.patterns.size(), 1u);
    EXPECT_EQ(pic.labels.patterns[0].caption, "yagi");
    EXPECT_EQ(pic.labels.patterns[0].range, "-20 < [dB] < 7.3");
    EXPECT_EQ(pic.labels.patterns[0].colour, 9);
    applyPatternCommand(s, m, ui, kPatternNormalise);
    EXPECT_EQ(buildPatternPicture(m, s).labels.norm, "Norm. ALL : 7.3 dB");

    s.view.cutPlane = kVerticalCut;
    pic = buildPatternPicture(m, s);
    EXPECT_EQ(pic.labels.cut, "Phi  : 0");
    // The vertical cut's angle labels read theta: 0 at the top, -90 on the left.
    auto labelAt = [&pic](double x, double y) {
        for (const PlotText& t : pic.gridTexts)
            if (t.centred && std::fabs(t.at.x - x) < 1e-9 && std::fabs(t.at.y - y) < 1e-9) return t.text;
        return std::string();
    };
    const double r = 1.06 * kPlotRadius;
    EXPECT_EQ(labelAt(0, r), "0");
    EXPECT_EQ(labelAt(-r, 0), "-90");
    EXPECT_EQ(
        labelAt(r * std::cos(285 * 3.14159265358979323846 / 180), r * std::sin(285 * 3.14159265358979323846 / 180)),
        "165");
}

TEST(PatternPicture, LobeMarksIndicatorAndPointer) {
    Model m = oneLobe();
    RecordingUi ui;
    PatternState s = test::openedOn(m, kHorizontalCut);
    applyPatternCommand(s, m, ui, kPatternInfo);
    applyPatternCommand(s, m, ui, kPatternIndicator);
    const PatternPicture pic = buildPatternPicture(m, s);
    ASSERT_EQ(pic.lobes.size(), 1u);
    const LobeMark& lobe = pic.lobes[0];
    EXPECT_NEAR(lobe.direction.to.x, kPlotRadius, 1e-9);
    ASSERT_EQ(lobe.minus3db.size(), 2u);
    std::vector<std::string> texts;
    for (const PlotText& t : lobe.texts) texts.push_back(t.text);
    // -3 dB at 4.3: reached at 15 on both sides.
    EXPECT_EQ(texts, (std::vector<std::string>{"0 dg", "7.3", "bw: 30 dg", "fb: 27.3 dB", "345 dg", "15 dg"}));
    EXPECT_EQ(lobe.texts[0].at.x, kPlotRadius - 10);
    EXPECT_EQ(lobe.texts[0].at.y, 8);
    ASSERT_TRUE(pic.indicator.has_value());
    EXPECT_EQ(pic.indicator->texts[1].text, "7.3 dB");
    // On the linear scale -24..12 the value 7.3 lies at 31.3/36 of the radius.
    EXPECT_NEAR(pic.indicator->dot.x, kPlotRadius * 31.3 / 36, 1e-9);
    EXPECT_EQ(pointerText(m, m, s, -50, 1), "Phi: 180 dg   Total gain: -20.0 dB");
}

TEST(PatternPicture, StructureOverlayAndSurfaceWaveGraph) {
    // The overlay puts a horizontal model's x and y on the plot's x and y
    // for the horizon cut, and its z upwards in a vertical cut.
    const Projection above = overlayProjection(kHorizontalCut, 90, 2);
    EXPECT_NEAR(above.x(3, 4), 6, 1e-12);
    EXPECT_NEAR(above.y(3, 4, 5), 8, 1e-12);
    const Projection side = overlayProjection(kVerticalCut, 0, 2);
    EXPECT_NEAR(side.x(3, 4), 6, 1e-12);
    EXPECT_NEAR(side.y(3, 4, 5), 10, 1e-12);
    const Projection sideways = overlayProjection(kVerticalCut, 90, 1);
    EXPECT_NEAR(sideways.x(3, 4), 4, 1e-12); // the cut's horizontal axis is +y

    Model m = oneLobe();
    m.modelExtent = 5;
    m.wireCount = 1;
    m.wireX1[1] = -5;
    m.wireX2[1] = 5;
    PatternState s = test::openedOn(m, kHorizontalCut);
    EXPECT_NEAR(s.window.structureZoom, kPlotRadius * 0.18 / 5, 1e-12);
    s.view.showStructure = true;
    const PatternPicture pic = buildPatternPicture(m, s);
    ASSERT_EQ(pic.structure.size(), 1u);
    EXPECT_NEAR(pic.structure[0].to.x, kPlotRadius * 0.18, 1e-9);

    EXPECT_NEAR(heightGraphX(0, kPlotRadius), -0.85 * kPlotRadius, 1e-12);
    EXPECT_NEAR(heightGraphX(kPlotRadius, kPlotRadius), 0.85 * kPlotRadius, 1e-12);
    EXPECT_NEAR(heightGraphY(0, 4, kPlotRadius), -0.85 * kPlotRadius, 1e-12);
    EXPECT_NEAR(heightGraphY(4, 4, kPlotRadius), 0.85 * kPlotRadius, 1e-12);
}

TEST(PatternPicture, NoPatternShowsItsMessage) {
    Model m;
    PatternState s;
    openPatternView(s, m, m, m, m);
    EXPECT_TRUE(buildPatternPicture(m, s).noData);
    EXPECT_EQ(pointerText(m, m, s, 10, 10), "");
}

} // namespace
} // namespace wavra
