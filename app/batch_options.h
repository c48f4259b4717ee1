// Options of `wavra --batch`.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/command_line.h"
#include "core/model.h"
#include "core/ui.h"
#include "optimizer/setup.h"
#include "present/view_request.h"

namespace wavra {

// START,STOP,STEP of one axis of a calculation.
using RangeTriple = std::array<double, 3>;

struct CalcOptions {
    int16_t calcKind = 0;    // a CalcKind: original, far, sweep or near; 0 none asked
    int16_t calcSubMode = 0; // sweep: 0 none, 1 vertical, 2 horizontal, 3 gain; near: 1 E, 2 H
    std::optional<RangeTriple> freq, theta, phi, x, y, z;
    std::optional<int16_t> xnda;
    std::optional<double> distanceKm, gainFactor;
    bool surfaceWave = false;
};

// --optimize and its companions: the optimizer window's entries.
struct OptimizeOptions {
    OptimizerSetup setup;
    std::string save; // --save FILE: the results file
};

struct BatchOptions {
    bool batch = false;
    bool json = false;
    bool forceInput = false;               // --input: read the model deck, not a report
    std::vector<Answer> answers;           // --answer yes|no|ok|cancel, in order
    std::optional<int16_t> timeoutSeconds; // --timeout S: the engine time-out, 0 = none
    std::optional<int16_t> parallelRuns;   // --jobs N: "Parallel engine runs", 0 = one per core
    std::vector<std::string> settings;     // --set KEY=VALUE: settings for this run, not saved
    std::optional<CalcOptions> calc;
    ViewRequest show;                 // --show VIEW with --keys, --png, --svg, --size; no view: none
    std::string touchstone, csv;      // --touchstone FILE, --csv FILE: the sweep for other RF tools
    std::string measured;             // --measured FILE: a Touchstone file to compare the sweep with
    std::vector<std::string> compare; // --compare MODEL: earlier loops kept beside the sweep
    std::string pov, render;          // --pov FILE [--render PNG]: the POV-Ray scene, rendered
    std::optional<OptimizeOptions> optimize;
    std::string model; // the model file argument
};

// The name of the program in its messages.
inline constexpr const char* kProgramName = "wavra";

// The command line of wavra: its options, for the parser and --help.
const ProgramOptions& wavraCommandLine();

// The options of a command line parsed with wavraCommandLine(). nullopt
// with `error` set on bad usage.
std::optional<BatchOptions> batchOptionsFrom(const ParsedArguments& parsed, std::string& error);

// Both steps for the arguments after the program name; --help and
// --version are taken as no options.
std::optional<BatchOptions> parseBatchOptions(const std::vector<std::string>& args, std::string& error);

} // namespace wavra
