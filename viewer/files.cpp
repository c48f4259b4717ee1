#include "viewer/files.h"

#include <filesystem>
#include <fstream>

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

bool readLines(const std::string& path, std::vector<std::string>& lines) {
    if (!fileExists(path)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    lines.clear();
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return !in.bad();
}

void removeFile(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
}

bool replaceWith(const std::string& path, const std::string& temporary) {
    std::error_code ec;
    fs::rename(temporary, path, ec);
    if (!ec) return true;
    removeFile(temporary);
    return false;
}

bool writeFileAtomic(const std::string& path, const std::string& temporary, const std::string& text) {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        removeFile(temporary);
        return false;
    }
    return replaceWith(path, temporary);
}

std::string temporaryBeside(const std::string& path) {
    const PathParts parts = splitPath(path);
    return parts.dir + "." + parts.name + parts.ext + ".new";
}

} // namespace wavra::view
