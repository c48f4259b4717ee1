// The configuration file exe/wavra.ini: read once at start-up, rewritten at
// exit by copying it line by line with the current values.
#pragma once

#include <string>
#include <vector>

#include "core/diagnostics.h"
#include "core/model.h"
#include "core/ui.h"

namespace wavra {

enum class ConfigMode { Read = -1, Write = 0 };

// Read mode: defaults, the display tables, then every key of
// model.settingsFile() (installDir + "exe/wavra.ini" in the portable tree,
// the user's copy in a shared install, where messages name its full path
// instead of exe/wavra.ini). Keys are compared in upper case; the engine
// name and the calculation presets are upper-cased, paths and other texts
// keep their case. An empty NPAD, WPAD, WORD, NECEXT or ENGINE keeps its
// default; NECDIR is taken below model.workDir() when relative and gives
// that folder when the directory does not exist. A number that is not given
// keeps the current value; a value outside the 16-bit range is clamped with
// a message. Write mode: copies the file into wavra.new beside it with the
// current values and renames that over exe/wavra.ini (through a symbolic
// link to its file, keeping the file's permissions). model.installDir must
// be set. False when the file is missing (after the message "Initialisation
// file exe/wavra.ini not found.") or cannot be rewritten; the caller then
// ends the program. A failed rewrite shows "Settings not saved:
// exe/wavra.new could not be written." and never loses the old file; a
// read-only file is left as it is with "Settings not saved: exe/wavra.ini is
// read-only."
bool readConfiguration(Model& model, Ui& ui, ConfigMode mode);

// Read mode on lines already in memory: the defaults and display tables,
// then every line (what readConfiguration does with the file's lines).
// A value clamped into its range is added to `found` on its line.
void readSettings(Model& model, Diagnostics& found, const std::vector<std::string>& lines);
// Write mode on lines in memory: the text the file is rewritten with.
std::string rewriteSettings(const Model& model, const std::vector<std::string>& lines);

// One setting given as KEY=VALUE for a single run (the batch command line's
// --set), by the rules of the file. The capacities take effect when the
// model tables are allocated afterwards. False with `error` when the key is
// no setting of the file or a number setting is given no number; a value
// clamped into its range is added to `found`.
bool applySetting(Model& model, Diagnostics& found, const std::string& keyValue, std::string& error);

// The engine processes a run may use at once ("Parallel engine runs",
// PARALLEL): parallelRuns when it is 1 or more, else the number of cores
// (1 when the machine does not tell).
int parallelRunCount(const Model& model);

} // namespace wavra
