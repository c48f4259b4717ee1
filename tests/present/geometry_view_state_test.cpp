#include "present/geometry_view_state.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/config.h"
#include "present/geometry_picking.h"
#include "present/segment_currents.h"

namespace wavra {
namespace {

TEST(GeometryViewState, FirstCallAfterALoad) {
    Model m;
    m.modelExtent = 5.35;
    m.requestMode = 0;
    const GeometryViewState s = initialGeometryState(m, m);
    EXPECT_EQ(s.viewElevation, 80);
    EXPECT_EQ(s.viewAzimuth, 280);
    EXPECT_EQ(s.geometryScale, 10); // the first series value above the extent
    EXPECT_EQ(s.viewSize, 168);
    EXPECT_DOUBLE_EQ(s.axisLength, 84);
    EXPECT_DOUBLE_EQ(s.currentSize, 16.8);
    EXPECT_DOUBLE_EQ(s.patternSize, 117.6);
    EXPECT_EQ(s.gridType, 1);
    EXPECT_EQ(s.patternQuantity, 3);
    m.modelExtent = 5; // a series value itself: the next one
    EXPECT_EQ(initialGeometryState(m, m).geometryScale, 10);
    m.requestMode = kNearRequest;
    const GeometryViewState n = initialGeometryState(m, m);
    EXPECT_EQ(n.gridType, 0);
    EXPECT_EQ(n.patternQuantity, 4);
    EXPECT_DOUBLE_EQ(n.patternSize, 0.33333);
    m.requestMode = kSurfaceWaveRequest;
    EXPECT_EQ(initialGeometryState(m, m).patternQuantity, 4);
}

TEST(GeometryViewState, AnglesWrapIntoAFullTurn) {
    GeometryViewState s;
    s.viewAzimuth = 0;
    s.viewElevation = 355;
    rotateView(s, 0, -5); // Right from 0
    EXPECT_EQ(s.viewAzimuth, 355);
    rotateView(s, 5, 0); // Up from 355
    EXPECT_EQ(s.viewElevation, 0);
    rotateView(s, -5, 5);
    EXPECT_EQ(s.viewElevation, 355);
    EXPECT_EQ(s.viewAzimuth, 0);
}

TEST(GeometryViewState, ZoomActsOnPatternThenBarsThenScale) {
    Model m;
    m.requestMode = 0;
    GeometryViewState s = initialGeometryState(m, m);
    s.geometryScale = 2;
    zoomView(s, m, true);
    EXPECT_EQ(s.geometryScale, 1);
    zoomView(s, m, false);
    zoomView(s, m, false);
    EXPECT_EQ(s.geometryScale, 5);
    s.showCurrent = true;
    zoomView(s, m, true);
    EXPECT_DOUBLE_EQ(s.currentSize, 16.8 * 1.05);
    EXPECT_EQ(s.geometryScale, 5);
    s.showPattern = true;
    zoomView(s, m, true);
    EXPECT_DOUBLE_EQ(s.patternSize, 117.6 * 1.1);
    zoomView(s, m, false);
    EXPECT_DOUBLE_EQ(s.patternSize, 117.6);
    // A surface-wave pattern has no 3-D size: the bars zoom instead.
    m.requestMode = kSurfaceWaveRequest;
    zoomView(s, m, false);
    EXPECT_DOUBLE_EQ(s.currentSize, 16.8);
    // The wheel zooms the geometry whatever is shown.
    zoomGeometry(s, true);
    EXPECT_EQ(s.geometryScale, 2);
}

TEST(GeometryViewState, ZoomStopsAtTheEndsOfTheSeries) {
    Model m;
    GeometryViewState s;
    s.geometryScale = displayTables().stepSeries[1];
    zoomView(s, m, true);
    EXPECT_EQ(s.geometryScale, 1e-9);
    s.geometryScale = displayTables().stepSeries[43];
    zoomView(s, m, false);
    EXPECT_EQ(s.geometryScale, 1e5);
}

TEST(GeometryViewState, ShiftMovesTheVisibleSquareByAQuarter) {
    GeometryViewState s;
    shiftView(s, 1, 0); // Ctrl+Left
    EXPECT_EQ(s.shiftX, 42);
    shiftView(s, 0, -1); // Ctrl+Up
    EXPECT_EQ(s.shiftY, -42);
    for (int k = 0; k < 1000; ++k) shiftView(s, 1, 0);
    EXPECT_EQ(s.shiftX, 32767); // held in the 16-bit range, never wrapped
}

TEST(GeometryViewState, GridLineStepsRunThroughTheSequence) {
    int16_t step = 1;
    std::vector<int> fewer;
    for (int k = 0; k < 5; ++k) fewer.push_back(step = fewerGridLines(step));
    EXPECT_EQ(fewer, (std::vector<int>{2, 3, 6, 9, 18}));
    step = 9;
    std::vector<int> more;
    for (int k = 0; k < 5; ++k) more.push_back(step = moreGridLines(step));
    EXPECT_EQ(more, (std::vector<int>{6, 3, 2, 1, 1}));
    EXPECT_EQ(fewerGridLines(16384), 16384);
}

TEST(GeometryViewState, SelectionWrapsThroughNone) {
    EXPECT_EQ(nextSelection(3, 3), 0);
    EXPECT_EQ(nextSelection(0, 3), 1);
    EXPECT_EQ(previousSelection(0, 3), 3);
    EXPECT_EQ(previousSelection(1, 3), 0);
    EXPECT_EQ(previousSelection(9, 3), 3); // a pick from a larger model
    EXPECT_EQ(wrapStep(5, 1, 1, 5), 1);
    EXPECT_EQ(wrapStep(1, -1, 1, 5), 5);
    EXPECT_EQ(wrapStep(3, 1, 0, 3), 0);
}

TEST(GeometryViewState, DrawingFrameMapsBothWays) {
    GeometryViewState s;
    s.shiftX = 42;
    const DrawingFrame f = drawingFrame(s, 0, 0, 800, 400);
    EXPECT_DOUBLE_EQ(f.pixelsPerUnit, 400.0 / 336);             // the shorter side holds the square
    EXPECT_DOUBLE_EQ(f.pixelX(42), 400);                        // the shift is the centre
    EXPECT_DOUBLE_EQ(f.pixelY(10), 200 - 10 * f.pixelsPerUnit); // y upwards
    EXPECT_DOUBLE_EQ(f.drawingX(f.pixelX(-17.5)), -17.5);
    EXPECT_DOUBLE_EQ(f.drawingY(f.pixelY(33)), 33);
}

TEST(GeometryPicking, DistanceFromAProjectedLine) {
    EXPECT_DOUBLE_EQ(distanceToLine(5, 3, 0, 0, 10, 0), 3);
    EXPECT_NEAR(distanceToLine(5, -3, 0, 0, 10, 0), 3, 1e-12);
    EXPECT_NEAR(distanceToLine(-3, 4, 0, 0, 10, 0), 5, 1e-12); // beyond end 1
    EXPECT_NEAR(distanceToLine(13, 4, 0, 0, 10, 0), 5, 1e-12); // beyond end 2
    EXPECT_NEAR(distanceToLine(1, 1, 0, 0, -4, -4), std::sqrt(2.0), 1e-12);
    EXPECT_LT(distanceToLine(1, 1, 2, 2, 2, 2), 0); // zero projected length
}

Model twoWires() {
    Model m;
    m.wireCount = 3;
    // From above (E = 0, A = 0): X = y, Y = -x.
    auto set = [&](int i, double x1, double y1, double x2, double y2) {
        m.wireX1[i] = x1, m.wireY1[i] = y1, m.wireX2[i] = x2, m.wireY2[i] = y2;
    };
    set(1, 0, -10, 0, 10);   // along X at Y = 0
    set(2, -5, -10, -5, 10); // along X at Y = 5
    set(3, 3, 3, 3, 3);      // a point: never picked
    return m;
}

TEST(GeometryPicking, NearestWireWithinThePickDistance) {
    const Model m = twoWires();
    const Projection p(0, 0, 1);
    EXPECT_EQ(pickWire(m, p, 2, 1), 1);
    EXPECT_EQ(pickWire(m, p, 2, 4), 2);
    EXPECT_EQ(pickWire(m, p, 3, -3), 1);
    EXPECT_EQ(pickWire(m, p, 0, 20), 0); // too far from both
    EXPECT_EQ(nearerEnd(m, p, 1, -8, 0), 1);
    EXPECT_EQ(nearerEnd(m, p, 1, 8, 0), 2);
}

TEST(SegmentCurrents, RampEntriesRunFromOneToSixteen) {
    EXPECT_EQ(currentRampEntry(2.5, 2.5), 16);
    EXPECT_EQ(currentRampEntry(-2.5, 2.5), 16); // a negative stored magnitude
    EXPECT_EQ(currentRampEntry(1e-9, 2.5), 1);  // never 0
    EXPECT_EQ(currentRampEntry(0, 2.5), 1);
    EXPECT_EQ(currentRampEntry(1.171875, 2.5), 8); // 7.5 + 0.5
    EXPECT_EQ(currentRampEntry(1.17, 2.5), 7);
    EXPECT_EQ(currentRampEntry(1, 0), 1);
}

TEST(SegmentCurrents, ReadOutShowsTheCurrentAsPrinted) {
    Model m;
    m.wireCount = 1;
    m.wireTag[1] = 2;
    // Printed as 0.5 A at 135 degrees; the reader stores the magnitude
    // negative because the real part is.
    m.wireCurrentMag[1] = -0.5;
    m.wireCurrentPhase[1] = 135;
    EXPECT_EQ(segmentCurrentText(m, m, 1, false), "Seg: 1, Tag: 2, Curr: .5 amp @ 135 \u00b0");
    EXPECT_EQ(segmentCurrentText(m, m, 1, true), "Seg: 1, Tag: 2, Curr: -.3536 + j .35355 amp");
    m.wireCurrentMag[1] = 0.0012345; // milliamperes keep their digits
    m.wireCurrentPhase[1] = -30;
    EXPECT_EQ(segmentCurrentText(m, m, 1, false), "Seg: 1, Tag: 2, Curr: .00123 amp @ -30 \u00b0");
}

TEST(SegmentCurrents, BarsStandAcrossTheSegment) {
    Model m;
    m.wireCount = 2;
    m.wireX2[1] = 2; // along x
    m.wireCurrentMag[1] = -1;
    m.wireCurrentPhase[1] = -90;
    m.maxCurrentMag = 2;
    m.maxCurrentPhase = 90;
    const Projection p(90, 90, 10); // from the side: X = -x, Y = z
    const auto bar = segmentBar(m, p, 1, currentBarLength(m, 1, 16));
    ASSERT_TRUE(bar.has_value());
    EXPECT_DOUBLE_EQ(bar->x1, -10);
    EXPECT_NEAR(bar->y1, 0, 1e-12);
    EXPECT_NEAR(bar->x2, -10, 1e-12);
    EXPECT_NEAR(bar->y2, -8, 1e-12); // |I| 16 / largest
    const auto phase = segmentBar(m, p, 1, phaseBarLength(m, 1, 16));
    EXPECT_NEAR(phase->y2, 16, 1e-12);                // a negative phase on the other side
    EXPECT_FALSE(segmentBar(m, p, 2, 5).has_value()); // zero length
    m.maxCurrentPhase = 0;
    EXPECT_EQ(phaseBarLength(m, 1, 16), 0);
}

TEST(SegmentCurrents, WhatTheReportHolds) {
    Model m;
    m.maxCurrentMag = -999; // a report without a current table
    m.maxCurrentPhase = -999;
    EXPECT_FALSE(hasCurrents(m));
    EXPECT_FALSE(hasPhases(m));
    m.maxCurrentMag = -1; // an input deck
    m.maxCurrentPhase = -1;
    EXPECT_FALSE(hasCurrents(m));
    EXPECT_FALSE(hasPhases(m));
    m.maxCurrentMag = 0.02;
    m.maxCurrentPhase = 0;
    EXPECT_TRUE(hasCurrents(m));
    EXPECT_TRUE(hasPhases(m));
}

} // namespace
} // namespace wavra
