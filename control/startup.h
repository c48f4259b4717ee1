// Start-up steps that need no window: installation directory, settings,
// fixed constants, table sizes, and the model name from the command line.
#pragma once

#include <string>

#include "core/model.h"
#include "core/ui.h"

namespace wavra {

// Sets installDir from the program's path and, for a shared install, the
// user's folders (made, and the settings copied, on the first start; then
// `placesNote` says where they are); makes the folder of out/ the current
// directory, reads the settings, loads the fixed constants and sizes the
// model tables. False when the configuration file is missing or the user's
// folders cannot be made (the program then ends).
bool startUp(Model& model, Ui& ui, const std::string& programPath, std::string* placesNote = nullptr);

// Takes the model name from the command line: modelDir = the directory part
// (made absolute against `workingDir`, the directory the program was started
// in), modelName = the file name without its extension. The extension is
// dropped: modelExt keeps its configured value, unless no file with that
// extension exists and one with the given extension does.
void takeModelName(ModelFile& file, const std::string& argument, const std::string& workingDir);

} // namespace wavra
