#include "engine/report_keeping.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/files.h"
#include "core/text.h"

namespace fs = std::filesystem;

namespace wavra {

namespace {

// Enough of the report's end for its last lines.
constexpr std::streamoff kTailBytes = 16 * 1024;

// The end of a file as text; empty when it cannot be read.
std::string tailOf(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return {};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    const std::streamoff start = size > kTailBytes ? size - kTailBytes : 0;
    in.seekg(start);
    std::string text(static_cast<size_t>(size - start), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    return text;
}

// Renames without first removing the target: on one file system the
// target is replaced in one step.
bool replaceFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::rename(from, to, ec);
    return !ec;
}

} // namespace

bool reportComplete(const std::string& path) {
    const std::vector<std::string> last = lastLines(path, 1);
    if (last.empty()) return false;
    const std::string line = trim(last.front());
    return line.rfind("TOTAL RUN TIME", 0) == 0 || line.rfind("RUN TIME", 0) == 0;
}

std::vector<std::string> lastLines(const std::string& path, size_t count) {
    std::vector<std::string> lines;
    forEachLine(tailOf(path), [&](std::string_view line) {
        if (!trim(line).empty()) lines.emplace_back(line);
        return true;
    });
    if (lines.size() > count) lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(count));
    return lines;
}

bool publishReport(const std::string& runReport, const std::string& target) {
    if (!replaceFile(runReport, target)) return false;
    deleteFile(target + ".old");
    return true;
}

bool keepFailedReport(const std::string& runReport, const std::string& target) {
    const std::string old = target + ".old";
    if (reportComplete(target)) replaceFile(target, old);
    if (!pathExists(runReport) || !replaceFile(runReport, target)) deleteFile(target);
    return reportComplete(old);
}

} // namespace wavra
