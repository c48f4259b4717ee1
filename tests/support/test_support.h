// Helpers for tests: a throw-away install tree with the shipped data files,
// and small file helpers.
#pragma once

#include <string>
#include <vector>

#include "core/model.h"
#include "core/ui.h"

namespace wavra::test {

// A fresh directory below the system temp folder, removed on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; } // with trailing '/'
    std::string file(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};

// A temporary install tree: exe/ with copies of the shipped data files, out/
// and pov/. The model's installDir and modelDir point at it.
class InstallTree : public TempDir {
public:
    InstallTree();
    void prepare(Model& model) const;
};

void writeText(const std::string& path, const std::string& text);
std::string readText(const std::string& path);
std::vector<std::string> readLinesOf(const std::string& path);
// Runs a program with an argument list in `workingDir`; returns its exit
// status (-1 when it could not run) and what it printed.
struct RunResult {
    int status = -1;
    std::string out, err;
};
// Runs argv[0] (looked up in PATH when it holds no '/') with the arguments
// as they stand, no shell, in workingDir; stdout and stderr are captured.
RunResult runProgram(const std::vector<std::string>& argv, const std::string& workingDir);

// A stand-in engine for /bin/sh that hangs: it writes its process id to
// <dir>engine.pid, starts a helper in its process group (<dir>helper.pid),
// writes half a report to its second argument and waits for ever.
// `prelude` comes first ("trap '' TERM" makes both ignore SIGTERM).
std::string hangingEngineScript(const std::string& dir, const std::string& prelude = "");
// Puts a script in place of the engine link exe/NEC2D512 of an install tree.
// The engine the shipped exe/wavra.ini chooses.
inline constexpr const char* kShippedEngine = "NEC2D_LA";
void replaceEngine(const std::string& installDir, const std::string& script,
                   const std::string& engine = kShippedEngine);
// True once the process named in a pid file is gone, or a zombie nobody
// reaps (a container's first process may not reap the orphans it gets);
// waits up to 3 s for it.
bool processGone(const std::string& pidFile);

std::string sourcePath(const std::string& relative); // below the source tree
// Below tests/fixtures: reports/ (engine reports), ant/ (foreign models).
std::string fixturePath(const std::string& relative);

} // namespace wavra::test
