// The command line of the coverage picture viewer: no arguments besides
// --help and --version; the window opens.
#pragma once

#include <string>

#include "base/command_line.h"

namespace wavra::view {

// The name of the program in its messages.
inline constexpr const char* kProgramName = "view";

// The viewer's command line, for the parser and --help.
const ProgramOptions& commandLineOptions();

// What is wrong with a command line that parsed well, or "": the viewer
// takes no operands.
std::string commandLineError(const ParsedArguments& parsed);

} // namespace wavra::view
