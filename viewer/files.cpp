#include "viewer/files.h"

#include <filesystem>

#include "base/files.h"
#include "viewer/text_rules.h"

namespace fs = std::filesystem;

namespace wavra::view {

bool fileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

bool directoryExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

bool replaceWith(const std::string& path, const std::string& temporary) {
    std::error_code ec;
    fs::rename(temporary, path, ec);
    if (!ec) return true;
    deleteFile(temporary);
    return false;
}

std::string temporaryBeside(const std::string& path) {
    const PathParts parts = splitPath(path);
    return parts.dir + "." + parts.name + parts.ext + ".new";
}

} // namespace wavra::view
