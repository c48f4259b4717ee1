// The state of the far-field pattern view: what it keeps from one call to
// the next (cut, quantity, marks), what every entry starts afresh (scale,
// normalisation, comparison, zoom), and the patterns of a comparison.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/model.h"
#include "present/pattern_scale.h"

namespace wavra {

inline constexpr int16_t kHorizontalCut = 0; // theta fixed, phi varying
inline constexpr int16_t kVerticalCut = -1;  // phi fixed, theta varying
inline constexpr int kMaxComparedPatterns = 5;
inline constexpr double kPlotRadius = 168; // drawing units; the plot spans +-(radius + 20)

// The quantities, numbered as the columns of farFieldGains + 1.
inline constexpr int16_t kQuantityTotalGain = 3;
inline constexpr int16_t kQuantityFieldTheta = 4;
inline constexpr int kQuantityCount = 5;

// Kept between calls; set up on the first call after a model load.
struct PatternViewState {
    bool showStructure = false;
    int16_t patternQuantity = kQuantityTotalGain; // 1..5
    int16_t cutPlane = kVerticalCut;
    bool showInfo = false;  // lobes, beamwidth, front-to-back
    int16_t thetaIndex = 1; // theta index of the cut or the cursor
    int16_t phiIndex = 1;   // phi index of the cut or the cursor
};

// One pattern of a comparison: the compared quantity at every point of the
// common grid, and its largest value.
struct ComparedPattern {
    std::string name;
    std::vector<double> values; // [1..patternCount]
    double max = 0;
};

// Started afresh on every entry.
struct PatternWindowState {
    double plotRadius = kPlotRadius;
    PatternScale scale;
    double structureZoom = 1;
    int16_t normMode = 0;  // 0 none, 1 the cut's maximum, 2 the overall maximum
    double normOffset = 0; // dB subtracted from every plotted value
    bool showIndicator = false;
    std::vector<ComparedPattern> compared; // empty: no comparison
    int selectedPattern = 1;               // 1..compared.size()
    int16_t compareQuantity = kQuantityTotalGain;
};

struct PatternState {
    PatternViewState view;
    PatternWindowState window;
    // The model load the view state belongs to (Model::loadSerial).
    uint32_t loadSerial = 0;
    bool initialised = false;
};

// The request was a ground-wave (surface-wave) pattern.
bool surfaceWaveMode(const Geometry& geometry);
// Gains 1..3 are in dB, except in surface-wave mode, where every quantity
// is a field strength.
bool isDbQuantity(const Geometry& geometry, int quantity);
// "Vert. gain ", "Hor. gain ", "Total gain ", "E(theta) ", "E(phi)  ";
// in surface-wave mode "(No data)" twice, "E(radial) ", ...
std::string quantityLabel(const Geometry& geometry, int quantity);

bool comparing(const PatternState& state);
// The quantity whose values are shown: the compared one while comparing.
int16_t shownQuantity(const PatternState& state);
// The pattern whose cut carries the cursor, the marks and the indicator
// (0 without comparison, else 1..compareCount).
int selectedPatternIndex(const PatternState& state);
// The number of patterns drawn: 1 without comparison.
int patternsShown(const PatternState& state);
// The value of pattern k (0 without comparison, else 1..compareCount) at a
// point, before normalisation.
double patternValue(const Results& results, const PatternState& state, int pattern, int point);
// The largest value of the shown quantity (over all compared patterns).
double shownMaximum(const Results& results, const PatternState& state);

// Entry from the main loop: the view state is set up when a model was
// loaded since the last call, the optimizer's target direction is taken
// when one is pending, and the window state starts afresh with the initial
// scale.
void openPatternView(PatternState& state, const Settings& settings, const Geometry& geometry, const Results& results,
                     ViewState& viewState);
// The initial scale of the shown quantity; also resets the normalisation.
void initialiseScale(PatternState& state, const Settings& settings, const Geometry& geometry, const Results& results);
// The same for a caller that holds the whole model (the comparison of
// patterns, which reads a second report into one).
inline void initialiseScale(PatternState& state, const Model& model) { initialiseScale(state, model, model, model); }
// The unit of the printed values for the current scale.
FieldUnit patternUnit(const Geometry& geometry, const PatternState& state);

} // namespace wavra
