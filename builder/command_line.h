// The command line of the builder:
//   build                      the dialog; files go to the model directory
//   build OUTPUT               the dialog; Create writes OUTPUT and closes
//   build --shape NAME [--param "Caption=value" ...] OUTPUT
//                              writes the deck without a window
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "base/command_line.h"
#include "builder/build_deck.h"
#include "builder/shape_form.h"

namespace wavra::build {

// The name of the program in its messages.
inline constexpr const char* kProgramName = "build";

enum class RunMode { Dialog, Batch, Invalid };

struct CommandLine {
    RunMode mode = RunMode::Dialog;
    std::string outputPath; // empty: the dialog's own rules
    std::string shape;
    std::vector<std::string> params; // "Caption=value"
    std::string error;               // for Invalid
};

// The options of the builder, for the parser and --help.
const ProgramOptions& commandLineOptions();

// The command line parsed with commandLineOptions(); a parse that came out
// BadUsage is Invalid.
CommandLine commandLineFrom(const ParsedArguments& parsed);

// Both steps for the arguments after the program name (--help and
// --version are taken as no options).
CommandLine parseCommandLine(const std::vector<std::string>& args);

// Sets one entry of the form or of the common frames from "Caption=value".
// Captions are those of the labels, check boxes and options, compared
// without regard to case; a segment box is its entry's caption followed by
// " segments"; "Move X, Y, Z" and "Rotate X, Y, Z" take three values
// separated by commas. False, with the reason in `error`, when the caption
// is unknown or the value does not fit.
bool applyParam(const std::string& assignment, ShapeForm& form, CommonEntries& common, std::string& error);

// Runs a Batch command line: exit status 0 when the deck was written, 1 when
// it could not be made or written, 2 for bad usage. Messages go to `err`,
// the created-file line to `out`.
int runBatch(const CommandLine& command, std::ostream& out, std::ostream& err);

} // namespace wavra::build
