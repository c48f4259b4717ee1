// `wavra [MODEL]` with windows: start-up, the windows, and the main loop.
#pragma once

#include <string>

namespace wavra {

// Runs the program with windows; needs a QApplication. The exit status:
// 0 after the user ended the program or cancelled the first open dialog,
// 1 when the configuration file is missing.
int runWindowsProgram(const std::string& programPath, const std::string& workingDir, const std::string& model);

} // namespace wavra
