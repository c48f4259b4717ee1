#include "engine/run_files.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <system_error>

#include "base/files.h"
#include "base/text.h"
#include "engine/process.h"

namespace fs = std::filesystem;

namespace wavra {

namespace {

constexpr int kNameAttempts = 16;
constexpr auto kOwnerlessAge = std::chrono::hours(1);
constexpr std::string_view kRunPrefix = ".run-";

// What tells this machine and this boot from others: a run folder on a tree
// shared between machines (a network home) belongs to a process elsewhere.
std::string machineWord(const char* file) {
    std::ifstream in(file); // a /proc file tells no size: read as a stream
    std::string text;
    if (!std::getline(in, text)) return "-";
    const std::string word = trim(text);
    return word.empty() || word.find(' ') != std::string::npos ? "-" : word;
}
std::string thisBoot() { return machineWord("/proc/sys/kernel/random/boot_id"); }
std::string thisHost() { return machineWord("/proc/sys/kernel/hostname"); }

// True when the owner named by a run directory's owner file ("pid start
// boot host") has ended; false while it runs, when it runs on another
// machine, or when the file cannot tell.
bool ownerGone(const fs::path& dir) {
    std::string owner;
    std::error_code ec;
    if (!readFileText((dir / "owner").string(), owner)) {
        const auto changed = fs::last_write_time(dir, ec);
        return !ec && fs::file_time_type::clock::now() - changed > kOwnerlessAge;
    }
    std::istringstream words(owner);
    std::string pidText, started, boot, host;
    if (!(words >> pidText >> started >> boot >> host) || host != thisHost()) return false;
    if (boot != thisBoot()) return true; // the machine has started again since
    long long pid = 0;
    for (char c : pidText) {
        if (c < '0' || c > '9' || pid > 1'000'000'000) return false;
        pid = 10 * pid + (c - '0');
    }
    if (!processExists(pid)) return true;
    // A process of that number that started at another time took the number
    // over; one whose start cannot be read (another user's) is taken as the owner.
    const std::string now = processStartTime(pid);
    return !now.empty() && now != started;
}

} // namespace

void removeAbandonedRunDirectories(const std::string& outDir) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(outDir, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(kRunPrefix, 0) != 0 || !entry.is_directory(ec) || entry.is_symlink(ec)) continue;
        if (ownerGone(entry.path())) fs::remove_all(entry.path(), ec);
    }
}

std::string RunFiles::ownerText() {
    return std::to_string(currentProcessId()) + " " + processStartTime(currentProcessId()) + " " + thisBoot() + " " +
           thisHost() + "\n";
}

RunFiles::RunFiles(const std::string& outDir) : m_outDir(outDir) {
    removeAbandonedRunDirectories(m_outDir);
    std::error_code ec;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = ".run-" + uniqueSuffix();
        if (fs::create_directory(m_outDir + name, ec)) {
            m_name = name;
            m_dir = m_outDir + name + "/";
            writeFileAtomic(m_dir + kOwner, ownerText());
            return;
        }
        if (ec) break; // not a name clash: out/ is missing or read-only
    }
    m_error = ec ? ec.message() : "no free name";
    m_error = "Cannot make a work directory for the engine in " + m_outDir + ": " + m_error + ".";
}

RunFiles::~RunFiles() {
    if (m_dir.empty()) return;
    std::error_code ec;
    fs::remove_all(m_dir, ec);
}

void RunFiles::keepEngineExtras(const std::string& stem) const {
    if (m_dir.empty()) return;
    static const std::set<std::string> own = {kDeck, kReport, kControl, kGroundRequest, kOwner, "run.record"};
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(m_dir, ec)) {
        const std::string name = entry.path().filename().string();
        if (own.count(name) || name.rfind("run", 0) != 0 || !entry.is_regular_file(ec)) continue;
        renameFile(entry.path().string(), m_outDir + stem + name.substr(3));
    }
}

} // namespace wavra
