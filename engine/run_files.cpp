#include "engine/run_files.h"

#include <filesystem>
#include <set>
#include <system_error>

#include "core/files.h"

namespace fs = std::filesystem;

namespace wavra {

namespace {

constexpr int kNameAttempts = 16;

} // namespace

RunFiles::RunFiles(const std::string& installDir) : m_outDir(installDir + "out/") {
    std::error_code ec;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = ".run-" + uniqueSuffix();
        if (fs::create_directory(m_outDir + name, ec)) {
            m_name = name;
            m_dir = m_outDir + name + "/";
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
    static const std::set<std::string> own = {kDeck, kReport, kControl, kGroundRequest};
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(m_dir, ec)) {
        const std::string name = entry.path().filename().string();
        if (own.count(name) || name.rfind("run", 0) != 0 || !entry.is_regular_file(ec)) continue;
        renameFile(entry.path().string(), m_outDir + stem + name.substr(3));
    }
}

} // namespace wavra
