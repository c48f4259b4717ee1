// The outside programs of the main loop: the text editor for input decks
// and Build.nec, the viewer for engine reports, and the search for them.
// The settings keep their paths (NPAD, WPAD); "C:\" there means not found
// yet, as the configuration file has always written it.
#pragma once

#include <string>
#include <vector>

#include "core/model.h"
#include "core/ui.h"

namespace wavra {

inline constexpr const char* kProgramNotFound = "C:\\";

// Full path of a program: as given when it holds a '/' and is executable,
// else the first executable match in the directories of `pathList`
// (colon-separated, as PATH). Empty when none.
std::string searchProgram(const std::string& name, const std::string& pathList);

// The programs worth trying for a text file, best first: the first word of
// $VISUAL and of $EDITOR (unless they name an editor that needs a terminal,
// which cannot run without one), xdg-open, then common desktop editors.
std::vector<std::string> editorCandidates(const char* visual, const char* editor);

// Asks the user for a program: the message "Executable program '<name>' not
// found.", then the open dialog "Search for executable program :" with the
// label "Look for" in `startDir`. The chosen path, or "C:\" when cancelled
// or when the file chosen cannot be run.
std::string findProgram(Ui& ui, const std::string& name, const std::string& startDir);

// The program to use for a setting: the configured path when it runs
// (a bare name is looked up in PATH), else the first candidate found in
// PATH, else the user's choice. The setting keeps what was found, so it is
// saved at exit. "C:\" when nothing was found.
std::string locateProgram(Ui& ui, std::string& setting, const std::vector<std::string>& candidates,
                          const std::string& name, const std::string& pathList);

// The programs of the main loop, by the settings that keep them.
std::string locateEditor(Settings& settings, Ui& ui);
std::string locateReportViewer(Settings& settings, Ui& ui);

} // namespace wavra
