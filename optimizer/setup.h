// The optimizer window's entries as plain values: the chosen variables,
// weights and targets, the forward and back directions with their angular
// widths, the resolution, the gain kind, the surface wave, the first-run
// behaviour and the ItsHF sweep. The window and the batch command line fill
// it; the checks here give the messages that refuse a start or an entry.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/model.h"
#include "optimizer/goals.h"

namespace wavra {

// The first-run behaviour box; the last two are the ItsHF sweeps.
enum class FirstRun { Optimize, Increase, Decrease, AreaCoverage, PointToPoint };

struct Direction {
    double theta = 0, phi = 0;
};

struct OptimizerSetup {
    std::vector<std::string> variables; // the chosen SY names, at most kMaxVariables
    std::array<double, kParamCount> weightPercent{};
    std::array<double, kParamCount> targets{kMinimize, kMaximize, kMaximize, kMaximize, kMinimize, kMaximize};
    Direction forward{90, 0};
    std::optional<Direction> back;     // empty: opposite the forward direction
    Direction forwardWidth, backWidth; // d-The, d-Phi
    double resolution = 0;             // degrees
    GainKind gainKind = GainKind::Total;
    bool surfaceWave = false;
    double surfaceDistanceKm = 0;
    FirstRun firstRun = FirstRun::Optimize;
    // ItsHF sweep.
    double mainBeamPhi = 0;
    double sweepStep = 0;
    int sweepSteps = 10;
    bool stepInPercent = false;

    bool itsHfSweep() const { return firstRun == FirstRun::AreaCoverage || firstRun == FirstRun::PointToPoint; }
    // theta 180 - forward theta, phi forward phi + 180 (within 0..360)
    // unless the back fields are filled.
    Direction backDirection() const;
    Goals goals() const;
};

inline constexpr size_t kMaxVariables = 32;
inline constexpr int kMaxSweepSteps = 99;

// The message that refuses a start, empty when the start may go on.
std::string startProblem(const OptimizerSetup& setup);

// The entry fields with a range check on leaving them.
enum class AngleField { Theta, Phi, DeltaTheta, DeltaPhi, Resolution };
// The message for an entry, empty when it is acceptable: the range, and
// for Theta and Phi a whole multiple of the resolution.
std::string fieldProblem(AngleField field, double value, double resolution);

// optimizerText1: the six weights, the surface-wave box ("#0"), forward
// theta and phi, back theta and phi (empty when not set) and the distance;
// optimizerText2: the resolution and the four angular widths; entries
// separated by ", ".
std::string setupText1(const OptimizerSetup& setup);
std::string setupText2(const OptimizerSetup& setup);
// Takes the entries back; missing or unreadable entries keep their values.
void readSetupTexts(OptimizerSetup& setup, const std::string& text1, const std::string& text2);

// The names the optimizer may vary: the model's SY variables given as a
// number (with or without unit), in table order.
std::vector<std::string> availableVariables(const Model& model);

} // namespace wavra
