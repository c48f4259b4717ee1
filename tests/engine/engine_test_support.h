// Helpers of the engine tests: a scripted process runner, an install tree
// with the staged engine launchers, and deck text helpers.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/model.h"
#include "engine/process.h"
#include "support/test_support.h"

namespace wavra::test {

// A process runner that records every start and lets the test decide what
// the "program" does (run synchronously at start) and how it ends.
class ScriptedRunner : public ProcessRunner {
public:
    struct Call {
        std::vector<std::string> argv;
        std::string workingDir;
        std::vector<std::string> environment;
    };
    // Runs at start; returns the exit code. Empty: exit code 0.
    std::function<int(const Call&)> program;
    int pollsBeforeEnd = 0;   // waitFor calls that time out before the end
    bool refuseStart = false; // start fails as for a missing program
    std::string output, errors;
    std::vector<Call> calls;
    int terminated = 0; // programs ended by terminate()

    std::unique_ptr<RunningProcess> start(const std::vector<std::string>& argv, const std::string& workingDir,
                                          std::string& error) override {
        return startWithEnvironment(argv, workingDir, {}, error);
    }
    std::unique_ptr<RunningProcess> startWithEnvironment(const std::vector<std::string>& argv,
                                                         const std::string& workingDir,
                                                         const std::vector<std::string>& environment,
                                                         std::string& error) override;
};

// The program the launcher runs for the lapack engine, in exe/.
inline constexpr const char* kLapackProgram = "nec2c-lapack";
// The files of an engine run, as full paths: the control file, and the
// engine deck and the report it names (a launcher call with --control
// FILE), or those the engine program started in the run's folder reads.
struct ControlledFiles {
    std::string control, deck, report;
};
ControlledFiles controlledFiles(const ScriptedRunner::Call& call);

// The work directories of engine runs left in out/.
std::vector<std::string> runDirectories(const std::string& installDir);

// An install tree (exe/ data files, out/, pov/) plus the engine launchers
// and the lapack engine as the build stages them.
class EngineTree : public InstallTree {
public:
    EngineTree();
    // Copies an example model into the tree's model directory under `name`.
    void addModel(Model& model, const std::string& example, const std::string& name) const;
    std::string report(const std::string& name) const { return file("out/" + name); }
};

// A model set up for a run in the tree, with the deck's values read.
void loadModel(Model& model, const EngineTree& tree, const std::string& example, const std::string& name);

// The lines of a deck text.
std::vector<std::string> deckLines(const std::string& text);

} // namespace wavra::test
