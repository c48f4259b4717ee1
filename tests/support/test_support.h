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

std::string sourcePath(const std::string& relative);  // below the source tree
std::string fixturePath(const std::string& relative); // below tests/fixtures: reports/ (engine reports), ant/ (foreign models)

} // namespace wavra::test
