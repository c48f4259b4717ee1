// The frequency sweep graphs: impedance, match and gain of the feed point
// over the steps of a frequency loop, three pages of two panes each. What
// the window draws and does is computed here: the curves, their automatic
// scales on the 1-2-5 series, the keys that shift and zoom them, the pane
// layout and the read-out under the mouse pointer.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/model.h"
#include "report/sweep_values.h"

namespace wavra {

// The curves, in the order of the pages (quantities of report/sweep_values.h):
// page 1 R, X (upper pane) and |Z|, phase (lower pane); page 2 SWR and the
// reflection coefficient in dB; page 3 the total gain and the gain relative
// to the largest gain, with the front-to-back ratio beside the latter when
// the loop holds a horizontal cut per step.
inline constexpr int kPageImpedance = 1, kPageMatch = 2, kPageGain = 3;
inline constexpr int kPaneUpper = 1, kPaneLower = 2, kPaneBoth = 3;
// The SWR curve is drawn limited to this value (999 of total reflection
// would flatten every other step).
inline constexpr double kSwrDrawLimit = 10;

struct SweepScale {
    double lo = 0, hi = 1, step = 0.1;
    bool operator==(const SweepScale&) const = default;
};

// The window state; it lives as long as the window, so the user's shifted
// and zoomed scales survive a redraw.
struct SweepState {
    int page = kPageMatch;
    bool markers = true;
    int activePane = kPaneBoth;
    // The grid of the first and second curve of the upper pane (R, X on
    // page 1) and of the lower pane (|Z|, phase).
    std::array<bool, 4> grid{};
    std::array<SweepScale, kSweepQuantityCount> scales{};
    double freqMin = 0, freqMax = 1;
    uint32_t loadSerial = 0;     // the load whose data the scales were taken from
    uint32_t measuredSerial = 0; // and the measured file
    bool scaled = false;
    // The step under the mouse pointer, marked by a line across both
    // panes; 0 when the pointer is off the plots.
    int pointerStep = 0;
};

// True when the gain page has curves: a gain per step, or a horizontal cut
// per step (whose largest gain is then the step's gain).
bool sweepHasGainPage(const Geometry& geometry, const Results& results, const Summary& summary);
// The quantity at every step as the curve draws it: the SWR limited to 10.
std::vector<double> sweepCurve(const Model& model, SweepQuantity q);

// The curves of pane 1 (upper) or 2 (lower) of a page; the front-to-back
// ratio only when the loop has cuts.
std::vector<SweepQuantity> paneQuantities(const Geometry& geometry, const Results& results, int page, int pane);
// The caption of a curve: "R (ohm)", "SWR (50 ohm)", "Tot. gain [dB]; The= 90; Phi= 0" ...
std::string sweepTitle(const Model& model, SweepQuantity q);
// The text the page shows instead of its curves; empty when it has curves.
std::string sweepMessage(const Geometry& geometry, const Results& results, const Summary& summary,
                         const SweepState& state);

// The automatic scale of a set of values: their finite minimum and maximum
// widened with niceRange, the grid step the smallest series entry not
// below a tenth of the range. No finite value gives the scale of `fallbackLo`..`fallbackHi`.
SweepScale autoScale(const std::vector<double>& values, double fallbackLo = 0, double fallbackHi = 1);
// Home, and the first draw after a load: page 2, markers on, both panes
// active, every scale and the frequency range from the data.
void rescaleSweep(const Model& model, SweepState& state);
// Carries out a key of the window: I, S, G pages; M markers; R, X, Z, A
// grids; Up, Down shift; PgUp, PgDn zoom; Tab the next active pane; Home.
// False for any other code.
bool sweepCommand(const Model& model, SweepState& state, int16_t code);

// The grid values of a scale from lo to hi, at most about 25 of them (a
// multiple of the step when the user zoomed out far).
std::vector<double> scaleTicks(const SweepScale& scale);
// A grid value as text, with as many decimals as the step needs.
std::string tickLabel(double value, double step);
// The frequency axis: the range of the loop with a round step.
SweepScale frequencyAxis(const SweepState& state);
// Where v lies on a scale: 0 at lo, 1 at hi.
double scaleFraction(const SweepScale& scale, double v);

// The two plot areas of a picture of width x height pixels, with room for
// the titles above, the value labels left and right and the frequency
// labels below.
struct PlotBox {
    double left = 0, top = 0, width = 0, height = 0;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
};
struct SweepLayout {
    std::array<PlotBox, 2> panes; // upper, lower
};
SweepLayout sweepLayout(double width, double height);

// The step whose frequency is nearest; 0 when the loop has no steps.
int nearestStep(const Results& results, double frequency);
// The colour of the line at the pointer's step across both panes.
inline constexpr Rgb kSweepPointerColour{96, 96, 96};

// The step nearest to the frequency under the mouse pointer at (x, y) of
// a picture with this layout; 0 outside the plot areas or without curves.
int sweepPointerStep(const Model& model, const SweepState& state, const SweepLayout& layout, double x, double y);
// The status line of a step: its frequency and the curve values of both
// panes (with the measurement's beside them); empty for step 0.
std::string sweepStepText(const Model& model, const SweepState& state, int step);
// Both for the pointer at (x, y).
std::string sweepPointerText(const Model& model, const SweepState& state, const SweepLayout& layout, double x,
                             double y);

} // namespace wavra
