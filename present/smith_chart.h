// The Smith chart: the feed-point impedance of every frequency step (and
// points the user adds) on the reflection plane normalised to z0, with a
// cursor read-out, the line transformation towards generator and load, and
// the circles of constant SWR. The chart is drawn with the open circuit at
// the bottom and the short circuit at the top (a reflection coefficient G
// lies at toCartesian(|G|, arg G - 90)), inductive impedances on the right;
// the rulers sit below it at heights -1.35 and -1.65.
#pragma once

#include <complex>
#include <cstdint>
#include <string>
#include <vector>

#include "core/model.h"
#include "core/smith_chart_file.h"
#include "core/ui.h"

namespace wavra {

// A position on the chart: the outer circle has radius 1, y points up.
struct ChartPoint {
    double x = 0, y = 0;
};

ChartPoint chartPointOf(std::complex<double> gamma);
std::complex<double> gammaAt(ChartPoint p);
// The chart position of the normalised impedance r + jx.
ChartPoint chartPointOfImpedance(double r, double x);

// The grid of a chart file as lines on the chart, with their labels: for
// each grid value g the resistance circle r = g through the points g + jx,
// x over the grid values from minus the last to plus the last, and the
// reactance arcs x = +-g through r + jg, r over the grid values from the
// last to the first; a point whose other coordinate lies outside the line's
// lo ... |hi| lifts the pen. Two neighbouring points are joined along the
// true circle. Labels give g x z0 in ohms ("##0.#"), or g ("##0.##") when
// `normalised`.
struct ChartCurve {
    std::vector<ChartPoint> points;
    bool light = false;
};
struct ChartLabel {
    ChartPoint at;
    std::string text;
};
struct ChartGrid {
    std::vector<ChartCurve> curves;
    std::vector<ChartLabel> labels;
};
ChartGrid chartGrid(const SmithChartFile& chart, double z0, bool normalised);

// The ticks of the outer circle, every 10 degrees of the reflection angle.
struct AngleTick {
    ChartPoint inner, outer, label;
    std::string text;
};
std::vector<AngleTick> angleTicks();

// The view state of the window.
struct SmithState {
    int cursor = 0;       // the point read out, 1.. ; 0 = none
    int added = 0;        // points the user added, rows after the frequency steps
    int normalise = 0;    // 1: values shown normalised to z0, otherwise in ohms
    int lineStep = 0;     // 0 ... 99: the line transformation, 1/100 turn each
    bool pointer = false; // the mouse is over the chart
    ChartPoint pointerAt;
    uint32_t loadSerial = 0;
    bool opened = false;
};

// One plotted point: a frequency step (or, outside a frequency loop, the
// one impedance of the report) or a point the user added.
struct SmithPoint {
    double frequency = 0, r = 0, x = 0;
    bool added = false;
};
std::vector<SmithPoint> smithPoints(const Model& model, const SmithState& state);

// The reflection coefficient of a point as plotted: against z0, turned by
// the line transformation (towards the generator clockwise).
std::complex<double> plottedGamma(double z0, const SmithState& state, const SmithPoint& point);
// A reflection coefficient against z0 turned by the line transformation.
std::complex<double> turnedByLine(const SmithState& state, std::complex<double> gamma);
// The measured points and the points of a kept loop as plotted: against
// today's z0 and turned by the line transformation like the model's own.
std::vector<std::complex<double>> measuredLocus(double z0, const ViewState& viewState, const SmithState& state);
std::vector<std::complex<double>> keptLocus(double z0, const SmithState& state, const KeptSweep& kept);
// The impedance in ohms of a reflection coefficient against z0.
std::complex<double> impedanceOf(std::complex<double> gamma, double z0);

// A new load: no cursor, no added points, no line transformation.
void resetSmith(const ViewState& viewState, SmithState& state);
// Right / Left: the cursor through the points and "none"; Shift+Left /
// Shift+Right: one step of the line transformation towards the generator /
// the load; Home: normalised values on or off; X: the complex notation.
// False for other codes.
bool smithCommand(Model& model, SmithState& state, int16_t code);

// Ins: asks "Enter reel part" and "Enter imag. part" (ohms, z0/2 offered)
// and appends the point as a row of the sweep tables, the cursor on it.
// With the tables full the last added point is replaced; an empty or
// cancelled answer adds nothing. Del: removes the last added point.
void insertSmithPoint(Model& model, SmithState& state, Ui& ui);
void deleteSmithPoint(const Model& model, SmithState& state);

// The lines of the read-out: the cursor point ("Freq : ", "Imp. : ",
// "Z/Y  : ", its SWR and the line length when transformed) and the
// impedance under the mouse pointer ("Mouse ...").
std::vector<std::string> smithReadout(const Model& model, const SmithState& state);
// The radius of the SWR circle through the cursor point; 0 without cursor.
double cursorSwrRadius(const Model& model, const SmithState& state);
// The radius of the circle of SWR 2.
inline constexpr double kSwr2Radius = 1.0 / 3.0;

// The picture's coordinates: the chart, its rulers and the read-out above
// fitted into width x height pixels.
struct ChartFrame {
    double scale = 1, originX = 0, originY = 0; // pixels per chart unit, pixel of the centre
    double px(ChartPoint p) const { return originX + p.x * scale; }
    double py(ChartPoint p) const { return originY - p.y * scale; }
    ChartPoint at(double x, double y) const { return {(x - originX) / scale, (originY - y) / scale}; }
    double readoutTop = 0, readoutLeft = 0; // pixels
};
ChartFrame chartFrame(double width, double height);
// The pixel size of the chart's labels and read-out: a fixed share of the
// chart's size, so they grow with the picture (9 px at the least).
int smithLabelPixels(const ChartFrame& frame);
// The read-out of the mouse pointer at pixel (x, y); off the chart the
// state has no pointer.
void setSmithPointer(SmithState& state, const ChartFrame& frame, double x, double y);

} // namespace wavra
