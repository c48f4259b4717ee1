#include "builder/output_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/files.h"
#include "builder/number_text.h"

namespace fs = std::filesystem;

namespace wavra::build {
namespace {

std::string withSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

std::string currentDirectory() {
    std::error_code ec;
    const fs::path p = fs::current_path(ec);
    return ec ? std::string("?") : p.string();
}

std::string systemError(const std::string& path, int error) {
    return path + ": " + std::generic_category().message(error);
}

// An existing file that we may not write to is refused, as opening it for
// output would be, rather than silently replaced.
int checkReplaceable(const fs::path& target) {
    std::error_code ec;
    if (!fs::exists(target, ec)) return 0;
    std::FILE* f = std::fopen(target.c_str(), "ab");
    if (!f) return errno ? errno : EACCES;
    std::fclose(f);
    return 0;
}

} // namespace

void applySettingsLine(const std::string& line, const std::string& baseDir, OutputSettings& settings) {
    std::string text = line.substr(0, line.find('\''));
    const size_t equals = text.find('=');
    if (equals == std::string::npos) return;
    const std::string key = toUpper(trim(oneLine(text.substr(0, equals)), kBlanksAndTabs));
    const std::string value = trim(oneLine(text.substr(equals + 1)), kBlanksAndTabs);
    if (key == "NECDIR") {
        // An empty NECDIR means the folder of out/, as for the main program;
        // a relative one lies below it.
        const fs::path dir(value);
        settings.directory = withSlash(dir.is_absolute() ? value : baseDir + value);
    } else if (key == "NECEXT" && !value.empty()) {
        settings.extension = value.front() == '.' ? value : "." + value;
    }
}

OutputSettings readOutputSettings(const Places& places) {
    OutputSettings settings;
    const std::string base = withSlash(places.dataDir);
    settings.directory = places.perUser ? base : withSlash(places.installDir) + "exe/";
    std::ifstream in(withSlash(places.settingsDir) + "wavra.ini", std::ios::binary);
    std::string line;
    while (in && std::getline(in, line)) applySettingsLine(line, base, settings);
    return settings;
}

std::string outputPathFor(const OutputSettings& settings, const std::string& shapeName) {
    return withSlash(settings.directory) + shapeName + settings.extension;
}

WriteOutcome writeDeckFile(const std::string& path, const std::string& text) {
    const fs::path target(path);
    std::error_code ec;
    if (target.filename().empty() || fs::is_directory(target, ec))
        return {false, "File: " + path + " not found; CurDir$: " + currentDirectory()};
    const fs::path dir = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    if (!fs::is_directory(dir, ec)) return {false, "Path: " + path + " not found; CurDir$: " + currentDirectory()};
    if (int error = checkReplaceable(target)) return {false, systemError(path, error)};

    // A temporary file beside it is renamed over it, so a failed write
    // leaves the old deck as it was.
    std::string reason;
    if (!writeFileAtomic(path, text, reason)) return {false, path + ": " + reason};
    return {true, ""};
}

std::string createdMessage(const std::string& path, int totalSegments) {
    return "'" + path + "' created, with" + plainInteger(totalSegments) + " segments.";
}

std::string absolutePath(const std::string& path) {
    std::error_code ec;
    const fs::path p = fs::absolute(path, ec);
    return ec ? path : p.lexically_normal().string();
}

} // namespace wavra::build
