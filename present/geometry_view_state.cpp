#include "present/geometry_view_state.h"

#include <algorithm>
#include <cmath>

namespace wavra {

namespace {

constexpr int kMaxLineStep = 16384; // doubling further would leave the 16-bit range

int16_t clampShift(double v) { return static_cast<int16_t>(std::clamp(std::round(v), -32768.0, 32767.0)); }

} // namespace

GeometryViewState initialGeometryState(const Geometry& geometry, const ViewState& viewState) {
    GeometryViewState s;
    s.loadSerial = viewState.loadSerial;
    s.geometryScale = seriesAbove(std::max(geometry.modelExtent, 1e-9));
    s.axisLength = s.viewSize * 0.5;
    s.currentSize = s.viewSize * 0.1;
    if (geometry.requestMode == kNearRequest) {
        s.patternSize = 0.33333;
        s.gridType = 0;
        s.patternQuantity = 4;
    } else {
        s.patternSize = s.viewSize * 0.7;
        s.gridType = 1;
        s.patternQuantity = geometry.requestMode == kSurfaceWaveRequest ? 4 : 3;
    }
    return s;
}

void zoomGeometry(GeometryViewState& s, bool in) {
    s.geometryScale = in ? seriesBelow(s.geometryScale) : seriesAbove(s.geometryScale);
}

void zoomGeometryAbout(GeometryViewState& s, bool in, double x, double y) {
    const double before = s.geometryScale;
    zoomGeometry(s, in);
    // A model point at drawing x goes to x * ratio; the visible square
    // moves along so that it keeps its distance from the pointer.
    const double ratio = before / s.geometryScale;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(ratio)) return;
    s.shiftX = clampShift(x * ratio - (x - s.shiftX));
    s.shiftY = clampShift(y * ratio - (y - s.shiftY));
}

void zoomView(GeometryViewState& s, const Geometry& geometry, bool in) {
    if (s.showPattern && geometry.requestMode != kSurfaceWaveRequest) {
        s.patternSize = in ? s.patternSize * 1.1 : s.patternSize / 1.1;
    } else if (s.showCurrent || s.showPhase) {
        s.currentSize = in ? s.currentSize * 1.05 : s.currentSize / 1.05;
    } else {
        zoomGeometry(s, in);
    }
}

void shiftView(GeometryViewState& s, int stepsX, int stepsY) {
    const double quarter = s.viewSize / 4;
    s.shiftX = clampShift(s.shiftX + stepsX * quarter);
    s.shiftY = clampShift(s.shiftY + stepsY * quarter);
}

void rotateView(GeometryViewState& s, int elevationDegrees, int azimuthDegrees) {
    auto wrap = [](int a) { return static_cast<int16_t>(((a % 360) + 360) % 360); };
    s.viewElevation = wrap(s.viewElevation + elevationDegrees);
    s.viewAzimuth = wrap(s.viewAzimuth + azimuthDegrees);
}

int16_t moreGridLines(int16_t lineStep) {
    int step = lineStep;
    if (step == 9) step = 12;
    else if (step == 3) step = 4;
    if (step > 1) step /= 2;
    return static_cast<int16_t>(std::max(step, 1));
}

int16_t fewerGridLines(int16_t lineStep) {
    int step = std::min(std::max<int>(lineStep, 1) * 2, kMaxLineStep);
    if (step == 4) step = 3;
    else if (step == 12) step = 9;
    return static_cast<int16_t>(step);
}

int16_t nextSelection(int16_t selected, int16_t wireCount) {
    return selected + 1 > wireCount ? int16_t{0} : static_cast<int16_t>(selected + 1);
}

int16_t previousSelection(int16_t selected, int16_t wireCount) {
    return selected - 1 < 0 ? wireCount : static_cast<int16_t>(std::min<int>(selected - 1, wireCount));
}

int16_t wrapStep(int16_t value, int delta, int first, int last) {
    if (last < first) return static_cast<int16_t>(first);
    int v = value + delta;
    if (v > last) v = first;
    if (v < first) v = last;
    return static_cast<int16_t>(v);
}

Projection modelProjection(const GeometryViewState& s) {
    return Projection(s.viewAzimuth, s.viewElevation, s.viewSize / s.geometryScale);
}

Projection patternProjection(const GeometryViewState& s) { return Projection(s.viewAzimuth, s.viewElevation, 1); }

DrawingFrame drawingFrame(const GeometryViewState& s, double left, double top, double width, double height) {
    DrawingFrame f;
    f.centreX = left + width / 2;
    f.centreY = top + height / 2;
    f.pixelsPerUnit = std::max(std::min(width, height), 1.0) / (2 * s.viewSize);
    f.shiftX = s.shiftX;
    f.shiftY = s.shiftY;
    return f;
}

} // namespace wavra
