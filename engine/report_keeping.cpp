#include "engine/report_keeping.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/files.h"
#include "base/text.h"
#include "engine/content_hash.h"
#include "engine/process.h"

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

// The last non-blank lines of a text, at most `count`, oldest first.
std::vector<std::string> lastLinesOf(std::string_view text, size_t count) {
    std::vector<std::string> lines;
    forEachLine(text, [&](std::string_view line) {
        if (!trim(line).empty()) lines.emplace_back(line);
        return true;
    });
    if (lines.size() > count) lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(count));
    return lines;
}

// Renames without first removing the target: on one file system the
// target is replaced in one step.
bool replaceFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::rename(from, to, ec);
    return !ec;
}

} // namespace

bool reportComplete(const std::string& path) { return reportTextComplete(tailOf(path)); }

bool reportTextComplete(std::string_view text) {
    // Only the end is looked at, as of a file: a whole report's lines are
    // never split up for its last one.
    const size_t tail = static_cast<size_t>(kTailBytes);
    if (text.size() > tail) text.remove_prefix(text.size() - tail);
    const std::vector<std::string> last = lastLinesOf(text, 1);
    if (last.empty()) return false;
    const std::string line = trim(last.front());
    return line.rfind("TOTAL RUN TIME", 0) == 0 || line.rfind("RUN TIME", 0) == 0;
}

std::vector<std::string> lastLines(const std::string& path, size_t count) { return lastLinesOf(tailOf(path), count); }

std::string sideFileName(const std::string& report, std::string_view suffix) {
    const std::string dir = directoryOf(report);
    const std::string name = report.substr(dir.size());
    if (name.size() + suffix.size() <= kMaxFileNameBytes) return report + std::string(suffix);
    const std::string mark = "~" + hashOf(name);
    size_t keep = kMaxFileNameBytes - mark.size() - suffix.size();
    // Cut at a character boundary, so the name stays valid UTF-8 where the
    // model name was.
    while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
    return dir + name.substr(0, keep) + mark + std::string(suffix);
}

bool publishReport(const std::string& runReport, const std::string& target, const std::string& recordText,
                   std::string& reason) {
    const std::string staged = directoryOf(runReport) + "run.record";
    const bool recordReady = writeFileAtomic(staged, recordText);
    const std::string record = sideFileName(target, ".hash");
    DirectoryLock lock(directoryOf(target), true);
    std::error_code ec;
    fs::rename(runReport, target, ec);
    if (ec) {
        reason = ec.message();
        return false;
    }
    if (!recordReady || !replaceFile(staged, record)) deleteFile(record);
    return true;
}

bool snapshotReport(const std::string& target, const std::string& snapshot, std::string& recordText) {
    DirectoryLock lock(directoryOf(target), false);
    if (!readFileText(sideFileName(target, ".hash"), recordText)) recordText.clear();
    std::error_code ec;
    fs::create_hard_link(target, snapshot, ec);
    if (ec) fs::copy_file(target, snapshot, fs::copy_options::overwrite_existing, ec);
    return !ec;
}

bool readPublishedReport(const std::string& target, std::string& reportBytes, std::string& recordText,
                         std::string& reason) {
    DirectoryLock lock(directoryOf(target), false);
    if (!readFileText(sideFileName(target, ".hash"), recordText)) recordText.clear();
    return readFileText(target, reportBytes, &reason);
}

std::string keepFailedReport(const std::string& runReport, const std::string& target) {
    const std::string failed = sideFileName(target, ".failed");
    if (!pathExists(runReport) || !replaceFile(runReport, failed)) return {};
    return failed;
}

} // namespace wavra
