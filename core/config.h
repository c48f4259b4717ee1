// The configuration file exe/wavra.ini: read once at start-up, rewritten at
// exit by copying it line by line with the current values.
#pragma once

#include <string>

#include "core/model.h"
#include "core/ui.h"

namespace wavra {

enum class ConfigMode { Read = -1, Write = 0 };

// The installation directory for a program path: the parent of the
// program's own directory, with a trailing '/'.
std::string installDirOf(const std::string& programPath);

// Read mode: defaults, then every key of installDir + "exe/wavra.ini", then
// the display tables. Write mode: copies the file into exe/wavra.new with the
// current values and renames it over exe/wavra.ini. model.installDir must be
// set. False when the file is missing (after the message
// "Initialisation file exe/wavra.ini not found.") or cannot be rewritten;
// the caller then ends the program. A failed rewrite never loses the old file.
bool readConfiguration(Model& model, Ui& ui, ConfigMode mode);

// Builds the 48-entry palette, the 17-entry colour ramp and the 1-2-5 step
// series in the model.
void buildDisplayTables(Model& model);

// Widens [lo, hi] outward onto the 1-2-5 step series.
void niceRange(const Model& model, double& lo, double& hi);

} // namespace wavra
