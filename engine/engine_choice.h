// The choice of the NEC-2 engine: the engine table by segment count, the
// lapack and special engines, and the parts of engineName (window flag and
// engine name). Every engine name has a launcher of the same name in exe/.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/model.h"
#include "core/ui.h"

namespace wavra {

struct EngineRow {
    int segmentsBelow; // the engine serves counts below this bound
    const char* name;
    int16_t capacity; // maxSegments with this engine
};

// The engine table, smallest engine first.
const std::vector<EngineRow>& engineTable();

inline constexpr std::string_view kLapackEngine = "NEC2D_LA";
inline constexpr std::string_view kSpecialEngine = "NEC32";

// Every engine name that has a launcher: the table, the lapack engine and
// the special engine.
std::vector<std::string> engineNames();

// Chooses the engine for a segment count: the first table row whose bound
// the count stays below, taken only when its launcher exists in exe/; then
// maxSegments is its capacity and engineName keeps its window flag.
// Otherwise nothing changes and a message says why.
void setexe(Model& model, Ui& ui, int segments);

// engineName = the current window flag + name, padded to 9 characters.
void selectEngine(Settings& settings, std::string_view name);

// The engine's name: engineName from its second character, without the
// blanks that pad it.
std::string engineOf(const Settings& settings);
// True when the window flag asks to show the engine's console output.
bool waitFlagSet(const Settings& settings);
// True for the special engine ("32" at characters 5 and 6 of engineName).
bool isSpecialEngine(const Settings& settings);
// Engine names are plain file names in exe/: letters, digits and '_'.
bool isValidEngineName(std::string_view name);

// installDir + "exe/" + name: the launcher of an engine.
std::string launcherPath(const ModelFile& file, std::string_view name);

} // namespace wavra
