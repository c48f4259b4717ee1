#include "present/smith_chart.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "base/text.h"
#include "core/reflection.h"
#include "present/measured_curves.h"
#include "present/plot_math.h"
#include "present/sweep_graphs.h"

namespace wavra {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kLineSteps = 100;          // line-transformation steps per turn (half a wavelength)
constexpr double kArcPieceLength = 0.02; // chart units per straight piece of a grid arc
constexpr int kReadoutWidth = 7;
constexpr int kNormalisedWidth = 5; // values near 1: fewer digits

// The chart extent: rulers and captions to +-1.35, the read-out band above
// the chart up to 1.5, the "Towards ..." texts down to -2.
constexpr double kChartLeft = -1.35, kChartRight = 1.35, kChartTop = 1.5, kChartBottom = -2.0;

double distance(ChartPoint a, ChartPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

std::string gridLabel(double g, double z0, bool normalised) {
    return normalised ? formatPicture(g, "##0.##") : formatPicture(g * z0, "##0.#");
}

// Traces one grid line through the coordinates `ts` (the other coordinate of
// each point); `at` gives the impedance point of a coordinate. Usable
// neighbours are joined along the true line, an unusable point lifts the
// pen. Returns the last usable point, if any.
template <class At>
bool traceLine(const std::vector<double>& ts, const ChartGridLine& line, At at, ChartGrid& grid, ChartPoint& last) {
    bool any = false;
    ChartCurve curve{{}, line.light()};
    double previous = 0;
    auto flush = [&] {
        if (curve.points.size() >= 2) grid.curves.push_back(std::move(curve));
        curve.points.clear(); // emptied by the move or not, the next piece starts afresh
    };
    for (double t : ts) {
        if (!(std::fabs(t) >= line.lo && std::fabs(t) <= line.bound())) {
            flush();
            continue;
        }
        const ChartPoint p = at(t);
        if (!curve.points.empty()) {
            const int pieces =
                std::clamp(static_cast<int>(std::ceil(distance(curve.points.back(), p) / kArcPieceLength)), 1, 64);
            for (int k = 1; k < pieces; ++k) {
                const double f = static_cast<double>(k) / pieces;
                curve.points.push_back(at(previous * (1 - f) + t * f));
            }
        }
        curve.points.push_back(p);
        previous = t;
        last = p;
        any = true;
    }
    flush();
    return any;
}

ChartPoint scaled(ChartPoint p, double f) { return {p.x * f, p.y * f}; }

int baseCount(const Results& results, const Summary& summary) {
    return sweepSteps(results) > 0 ? sweepSteps(results) : (summary.hasImpedance ? 1 : 0);
}

int tableCapacity(const Settings& settings, const Results& results) {
    return std::max(0, std::min<int>(settings.maxFreqSteps, results.freqCapacity()));
}

std::optional<double> askOhms(Ui& ui, const std::string& prompt, const std::string& offered) {
    const auto answer = ui.inputBox("Insert Z/Y", prompt, offered);
    if (!answer) return std::nullopt;
    const std::string text = trim(*answer);
    if (text.empty()) return std::nullopt;
    if (!isNumeric(text)) {
        ui.message("'" + text + "' is not a number; no point was added.");
        return std::nullopt;
    }
    return readNumber(text);
}

bool cartesian(const ViewState& viewState) { return viewState.complexNotation == 0; }

} // namespace

ChartPoint chartPointOf(std::complex<double> gamma) { return {gamma.imag(), -gamma.real()}; }

std::complex<double> gammaAt(ChartPoint p) { return {-p.y, p.x}; }

ChartPoint chartPointOfImpedance(double r, double x) { return chartPointOf(reflection(r, x, 1.0)); }

ChartGrid chartGrid(const SmithChartFile& chart, double z0, bool normalised) {
    ChartGrid grid;
    std::vector<double> xs, rs;
    for (auto it = chart.grid.rbegin(); it != chart.grid.rend(); ++it) xs.push_back(-it->value);
    for (const ChartGridLine& l : chart.grid) xs.push_back(l.value);
    for (auto it = chart.grid.rbegin(); it != chart.grid.rend(); ++it) rs.push_back(it->value);
    for (const ChartGridLine& line : chart.grid) {
        const double g = line.value;
        const std::string text = gridLabel(g, z0, normalised);
        ChartPoint last;
        traceLine(
            xs, line, [g](double x) { return chartPointOfImpedance(g, x); }, grid, last);
        if (!line.light()) grid.labels.push_back({chartPointOfImpedance(g, 0), text});
        // x = +g and x = -g; for g = 0 both are the real axis, drawn once.
        for (double sign : {1.0, -1.0}) {
            if (g == 0 && sign < 0) break;
            const bool drawn = traceLine(
                rs, line, [g, sign](double r) { return chartPointOfImpedance(r, sign * g); }, grid, last);
            if (drawn && !line.light() && g != 0)
                grid.labels.push_back({scaled(last, 0.96), (sign < 0 ? "-" : "") + text});
        }
    }
    return grid;
}

std::vector<AngleTick> angleTicks() {
    std::vector<AngleTick> ticks;
    for (int a = 0; a < 360; a += 10) {
        const ChartPoint p = chartPointOf(std::polar(1.0, a * kPi / 180));
        ticks.push_back({p, scaled(p, 1.03), scaled(p, 1.08), formatPicture(a, "##0")});
    }
    return ticks;
}

std::vector<SmithPoint> smithPoints(const Model& m, const SmithState& s) {
    std::vector<SmithPoint> points;
    const int steps = sweepSteps(m);
    for (int row = 1; row <= steps; ++row)
        points.push_back({m.sweepFreq[static_cast<size_t>(row)], m.sweepR[static_cast<size_t>(row)],
                          m.sweepX[static_cast<size_t>(row)], false});
    if (steps == 0 && m.summary.hasImpedance) points.push_back({m.frequencyMHz, m.sweepR[0], m.sweepX[0], false});
    for (int row = steps + 1; row <= steps + s.added && row <= tableCapacity(m, m); ++row)
        points.push_back(
            {m.frequencyMHz, m.sweepR[static_cast<size_t>(row)], m.sweepX[static_cast<size_t>(row)], true});
    return points;
}

std::complex<double> turnedByLine(const SmithState& s, std::complex<double> gamma) {
    return gamma * std::polar(1.0, 2 * kPi * s.lineStep / kLineSteps);
}

std::complex<double> plottedGamma(double z0, const SmithState& s, const SmithPoint& p) {
    return turnedByLine(s, reflection(p.r, p.x, z0));
}

std::vector<std::complex<double>> measuredLocus(double z0, const ViewState& viewState, const SmithState& s) {
    std::vector<std::complex<double>> locus;
    for (const MeasuredPoint& p : viewState.measured.points)
        locus.push_back(turnedByLine(s, reflectionAgainst(p.s11, viewState.measured.referenceOhm, z0)));
    return locus;
}

std::vector<std::complex<double>> keptLocus(double z0, const SmithState& s, const KeptSweep& k) {
    std::vector<std::complex<double>> locus;
    for (size_t i = 0; i < k.frequency.size(); ++i) locus.push_back(turnedByLine(s, reflection(k.r[i], k.x[i], z0)));
    return locus;
}

std::complex<double> impedanceOf(std::complex<double> gamma, double z0) {
    const std::complex<double> d = 1.0 - gamma;
    if (std::abs(d) == 0) return {INFINITY, INFINITY};
    return z0 * (1.0 + gamma) / d;
}

void resetSmith(const ViewState& viewState, SmithState& s) {
    s.cursor = 0;
    s.added = 0;
    s.lineStep = 0;
    s.pointer = false;
    s.loadSerial = viewState.loadSerial;
    s.opened = true;
}

bool smithCommand(Model& m, SmithState& s, int16_t code) {
    const int count = static_cast<int>(smithPoints(m, s).size());
    switch (code) {
    case 39: s.cursor = s.cursor >= count ? 0 : s.cursor + 1; return true;                  // Right
    case 37: s.cursor = s.cursor <= 0 ? count : std::min(count, s.cursor - 1); return true; // Left
    case 137: s.lineStep = s.lineStep <= 0 ? kLineSteps - 1 : s.lineStep - 1; return true;  // Shift+Left
    case 139: s.lineStep = s.lineStep >= kLineSteps - 1 ? 0 : s.lineStep + 1; return true;  // Shift+Right
    case 36: s.normalise = s.normalise == 1 ? 0 : 1; return true;                           // Home
    case 'X': m.complexNotation = m.complexNotation != 0 ? 0 : -1; return true;
    default: return false;
    }
}

void insertSmithPoint(Model& m, SmithState& s, Ui& ui) {
    const std::string offered = formatPicture(m.referenceZ0() / 2.0, "##0.##");
    const auto re = askOhms(ui, "Enter reel part", offered);
    if (!re) return;
    const auto im = askOhms(ui, "Enter imag. part", offered);
    if (!im) return;
    const int steps = sweepSteps(m), capacity = tableCapacity(m, m);
    if (steps + s.added >= capacity) {
        if (s.added == 0) {
            ui.message("The sweep tables are full (" + std::to_string(capacity) + " points); no point was added.");
            return;
        }
        --s.added; // the last added point is replaced
    }
    const size_t row = static_cast<size_t>(steps + ++s.added);
    m.sweepR[row] = *re;
    m.sweepX[row] = *im;
    m.sweepFreq[row] = m.frequencyMHz;
    s.cursor = baseCount(m, m.summary) + s.added;
}

void deleteSmithPoint(const Model& m, SmithState& s) {
    if (s.added == 0) return;
    --s.added;
    s.cursor = std::min(s.cursor, static_cast<int>(smithPoints(m, s).size()));
}

namespace {

// The measurement at the cursor's frequency, when it covers it: its
// impedance and SWR beside the model's.
void measuredLines(double z0, const ViewState& viewState, double frequency, std::vector<std::string>& lines) {
    const auto r = measuredAt(z0, viewState, SweepQuantity::Resistance, frequency);
    const auto x = measuredAt(z0, viewState, SweepQuantity::Reactance, frequency);
    const auto swr = measuredAt(z0, viewState, SweepQuantity::Swr, frequency);
    if (!r || !x || !swr) return;
    if (std::isfinite(*r) && std::isfinite(*x))
        lines.push_back("Meas.: " + formatComplex(*r, *x, "ohm", kReadoutWidth, cartesian(viewState)));
    lines.push_back("M.SWR: " + formatPicture(*swr, "##0.00"));
}

} // namespace

std::vector<std::string> smithReadout(const Model& m, const SmithState& s) {
    std::vector<std::string> lines;
    const auto points = smithPoints(m, s);
    if (s.cursor >= 1 && s.cursor <= static_cast<int>(points.size())) {
        const SmithPoint& p = points[static_cast<size_t>(s.cursor - 1)];
        lines.push_back("Freq : " + formatPicture(p.frequency, "##0.000") + " Mhz");
        lines.push_back("Imp. : " + formatComplex(p.r, p.x, "ohm", kReadoutWidth, cartesian(m)));
        std::complex<double> z = impedanceOf(plottedGamma(m.referenceZ0(), s, p), m.referenceZ0());
        const bool normalised = s.normalise == 1 && m.referenceZ0() > 0;
        if (normalised) z /= m.referenceZ0();
        if (std::isfinite(z.real()) && std::isfinite(z.imag()))
            lines.push_back("Z/Y  : " + formatComplex(z.real(), z.imag(), normalised ? "norm." : "ohm",
                                                      normalised ? kNormalisedWidth : kReadoutWidth, cartesian(m)));
        lines.push_back("SWR  : " + formatPicture(swrShown(p.r, p.x, m.referenceZ0()), "##0.00"));
        measuredLines(m.referenceZ0(), m, p.frequency, lines);
        if (s.lineStep != 0)
            lines.push_back("Line : " + formatPicture((kLineSteps - s.lineStep) * 0.5 / kLineSteps, "0.000") +
                            " wl towards generator");
    }
    if (s.pointer) {
        const std::complex<double> z = impedanceOf(gammaAt(s.pointerAt), m.referenceZ0());
        if (std::isfinite(z.real()) && std::isfinite(z.imag()))
            lines.push_back("Mouse " + formatComplex(z.real(), z.imag(), "ohm", kReadoutWidth, cartesian(m)));
    }
    return lines;
}

double cursorSwrRadius(const Model& m, const SmithState& s) {
    const auto points = smithPoints(m, s);
    if (s.cursor < 1 || s.cursor > static_cast<int>(points.size())) return 0;
    const SmithPoint& p = points[static_cast<size_t>(s.cursor - 1)];
    return std::min(1.0, std::abs(reflection(p.r, p.x, m.referenceZ0())));
}

ChartFrame chartFrame(double width, double height) {
    ChartFrame f;
    const double w = std::max(1.0, width), h = std::max(1.0, height);
    f.scale = std::min(w / (kChartRight - kChartLeft), h / (kChartTop - kChartBottom));
    const double left = (w - (kChartRight - kChartLeft) * f.scale) / 2;
    const double top = (h - (kChartTop - kChartBottom) * f.scale) / 2;
    f.originX = left - kChartLeft * f.scale;
    f.originY = top + kChartTop * f.scale;
    f.readoutLeft = left;
    f.readoutTop = top;
    return f;
}

int smithLabelPixels(const ChartFrame& f) {
    constexpr double kLabelHeight = 0.05; // chart units
    return std::max(9, static_cast<int>(std::lround(f.scale * kLabelHeight)));
}

void setSmithPointer(SmithState& s, const ChartFrame& frame, double x, double y) {
    s.pointerAt = frame.at(x, y);
    s.pointer = std::hypot(s.pointerAt.x, s.pointerAt.y) < 1;
}

} // namespace wavra
