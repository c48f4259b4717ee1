#include "app/companion_programs.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <vector>

#include "base/environment.h"
#include "base/places.h"

namespace wavra {

bool displayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (!environmentValue(name).empty()) return true;
    return false;
}

std::string runningProgramPath(const char* argv0) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return self.string();
    return std::filesystem::absolute(argv0 ? argv0 : "", ec).string();
}

std::string companionProgram(const std::string& programPath, const std::string& name) {
    const std::string installDir = installDirOf(programPath);
    if (installDir.empty()) return {};
    const std::string path = installDir + "exe/" + name;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) || access(path.c_str(), X_OK) != 0) return {};
    return path;
}

std::string startCompanion(const std::string& path, const std::string& programPath, int argc, char** argv) {
    std::vector<char*> args;
    args.push_back(const_cast<char*>(programPath.c_str()));
    for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
    args.push_back(nullptr);
    execv(path.c_str(), args.data());
    return std::strerror(errno);
}

std::string companionProgramPath(const char* argv0) {
    if (argv0 && argv0[0] == '/') return argv0;
    return runningProgramPath(argv0);
}

std::optional<BatchOptions> programOptions(int argc, char** argv, int& status) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const ParsedArguments parsed = parseArguments(wavraCommandLine(), args);
    if (auto answered = answerStandardOptions(wavraCommandLine(), parsed, std::cout, std::cerr)) {
        status = *answered;
        return std::nullopt;
    }
    std::string error;
    auto options = batchOptionsFrom(parsed, error);
    if (!options) status = reportUsageError(kProgramName, error, std::cerr);
    return options;
}

} // namespace wavra
