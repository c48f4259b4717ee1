// The state of the geometry view that survives leaving the window, its
// initial values after a model load, and the rules by which the zoom, shift,
// rotation, selection and pattern-grid commands change it.
#pragma once

#include <cstdint>

#include "core/model.h"
#include "present/plot_math.h"

namespace wavra {

struct GeometryViewState {
    uint32_t loadSerial = 0;        // the model load this state belongs to
    int16_t viewElevation = 80;     // E, degrees 0..359
    int16_t viewAzimuth = 280;      // A, degrees 0..359
    int16_t shiftX = 0, shiftY = 0; // centre of the visible square, drawing units
    double viewSize = 168;          // half size of the visible square, drawing units
    double geometryScale = 1;       // metres mapped to viewSize; a 1-2-5 series value
    double axisLength = 84;         // drawing units
    double currentSize = 16.8;      // bar length of the largest current or phase
    double patternSize = 117.6;     // radius of the 3-D pattern (near field: size of the marks)
    bool showCurrent = false, showPhase = false;
    bool showEnds = false, showSegments = false, showJunctions = false, showLoads = false;
    bool showPattern = false;
    bool multiColour = false;
    int16_t selectedSegment = 0; // picked wire row, 0 = none
    int16_t editEnd = 1;         // the end the wire edit moves: 1 or 2
    int16_t gridType = 1;        // far field 1..3; near field 0 (all points) or 1..3 (x, y, z plane)
    int16_t lineStep = 1;        // grid-line step of the 3-D pattern, in pattern points
    int16_t planeIndex = 1;      // coordinate number of the near-field plane
    int16_t patternQuantity = 3; // far field 1..5, near field 1..4 (x, y, z, total)
    int16_t validationMode = 0;  // the check shown in the validation menu
};

// The state of the first call after a load: the scale is the first series
// value above the model's extent; a near-field request starts with all
// points, the total field and marks of a third of the point spacing.
GeometryViewState initialGeometryState(const Geometry& geometry, const ViewState& viewState);

// PgUp (in) and PgDn (out): the pattern's size while it is shown (not for a
// surface-wave request), else the bars' size while bars are shown, else the
// geometry scale one series value down (in) or up (out), staying at the
// ends of the series.
void zoomView(GeometryViewState& s, const Geometry& geometry, bool in);
// The geometry scale alone one series value down or up.
void zoomGeometry(GeometryViewState& s, bool in);
// The mouse wheel: the geometry scale one series value down or up, the
// picture shifted so that the model point under the pointer at (x, y)
// drawing units stays under it.
void zoomGeometryAbout(GeometryViewState& s, bool in, double x, double y);

// Moves the visible square by a quarter of viewSize in x and/or y (steps of
// -1, 0 or 1); the picture moves the other way. Kept in the 16-bit range.
void shiftView(GeometryViewState& s, int stepsX, int stepsY);

// Adds to the two angles and wraps them into 0..359.
void rotateView(GeometryViewState& s, int elevationDegrees, int azimuthDegrees);

// Ctrl+PgUp: 9 becomes 12 and 3 becomes 4, then the step halves while above
// 1. Ctrl+PgDn: the step doubles, then 4 becomes 3 and 12 becomes 9. So the
// steps run 1, 2, 3, 6, 9, 18, 36 ...
int16_t moreGridLines(int16_t lineStep);
int16_t fewerGridLines(int16_t lineStep);

// Alt+Right: the next wire row, after the last back to 0 (none); Alt+Left
// the previous one, below 0 to the last row.
int16_t nextSelection(int16_t selected, int16_t wireCount);
int16_t previousSelection(int16_t selected, int16_t wireCount);

// One step of value through first..last with wrap-around (delta +1 or -1).
int16_t wrapStep(int16_t value, int delta, int first, int last);

// The two-angle projection of model points onto the drawing plane, and the
// same angles with drawing units for the 3-D pattern.
Projection modelProjection(const GeometryViewState& s);
Projection patternProjection(const GeometryViewState& s);

// The visible square placed in a picture of width x height pixels: the
// square fills the shorter side, centred, and the longer side shows more.
struct DrawingFrame {
    double centreX = 0, centreY = 0; // pixel of (shiftX, shiftY)
    double pixelsPerUnit = 1;
    double shiftX = 0, shiftY = 0;
    double pixelX(double x) const { return centreX + (x - shiftX) * pixelsPerUnit; }
    double pixelY(double y) const { return centreY - (y - shiftY) * pixelsPerUnit; }
    double drawingX(double px) const { return shiftX + (px - centreX) / pixelsPerUnit; }
    double drawingY(double py) const { return shiftY - (py - centreY) / pixelsPerUnit; }
};
DrawingFrame drawingFrame(const GeometryViewState& s, double left, double top, double width, double height);

} // namespace wavra
