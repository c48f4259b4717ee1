// The ItsHF plot program that draws an area-coverage plot file (".ig1",
// ".rg1", ".vg1"): where the package lies, and the command that shows one
// file so that its picture can be copied to the clipboard.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace wavra::view {

// Whether an extension names an area plot file (it ends in "g1").
bool isPlotFile(const std::string& ext);

// A plot file lies in <ItsHF directory>/areadata/<sub-path>.
struct PlotLocation {
    std::string itsHfDir; // with trailing '/'
    std::string subPath;  // below areadata, with trailing '/' (may be empty)
};
// The location of a plot file's directory (with trailing '/'), found at its
// first directory named "areadata" in any case; nullopt when there is none.
std::optional<PlotLocation> locatePlotFile(const std::string& dir);

// An outside program and its argument list, never a shell string.
struct Command {
    std::string program;
    std::vector<std::string> args;
    bool operator==(const Command&) const = default;
};

// The plot program (`plotProgram` taken from the ItsHF directory unless it
// is absolute) with "<ItsHF>/run", "AREADATA", sub-path + file name and "s".
Command plotCommand(const std::string& plotProgram, const PlotLocation& location, const std::string& fileName);

// Starts a program and returns when it has ended; false when it could not be
// started.
class ProgramRunner {
public:
    virtual ~ProgramRunner() = default;
    virtual bool run(const Command& command) = 0;
};

// Whether `path` is a file that may be run.
bool isRunnable(const std::string& path);

} // namespace wavra::view
