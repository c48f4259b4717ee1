#include "engine/result_reuse.h"

#include <cstdint>

#include "core/files.h"
#include "engine/engine_choice.h"
#include "engine/process.h"
#include "engine/report_keeping.h"

namespace wavra {

namespace {

constexpr std::string_view kKeyLine = "run ";
constexpr std::string_view kReportLine = "report ";

// 64-bit FNV-1a over length-framed pieces, so that moving bytes from one
// piece to the next changes the hash.
class Hash {
public:
    void add(std::string_view bytes) {
        addRaw(std::to_string(bytes.size()) + ":");
        addRaw(bytes);
    }
    // A file's bytes, or a mark that it is missing.
    void addFile(const std::string& path) {
        std::string bytes;
        if (readFileText(path, bytes)) add(bytes);
        else add("missing " + path);
    }
    std::string hex() const {
        static const char digits[] = "0123456789abcdef";
        std::string text(16, '0');
        for (int i = 0; i < 16; ++i) text[static_cast<size_t>(15 - i)] = digits[(m_value >> (4 * i)) & 0xF];
        return text;
    }

private:
    void addRaw(std::string_view bytes) {
        for (unsigned char c : bytes) m_value = (m_value ^ c) * 0x100000001b3ULL;
    }
    uint64_t m_value = 0xcbf29ce484222325ULL;
};

std::string reportHash(const std::string& report) {
    Hash hash;
    hash.addFile(report);
    return hash.hex();
}

} // namespace

std::string runKey(const Model& model, const std::string& deck) {
    const std::string engine = engineOf(model);
    Hash hash;
    hash.add(deck);
    hash.add(engine);
    hash.addFile(launcherPath(model, engine)); // the launcher the engine name links to
    if (engine == kLapackEngine) hash.addFile(launcherPath(model, "nec2c-lapack"));
    hash.addFile(findInPath("nec2c"));
    return hash.hex();
}

std::string runKeyFile(const std::string& report) { return report + ".hash"; }

bool reusableReport(const std::string& report, const std::string& key) {
    std::vector<std::string> lines;
    if (!readLines(runKeyFile(report), lines) || lines.size() < 2) return false;
    if (lines[0] != std::string(kKeyLine) + key) return false;
    return reportComplete(report) && lines[1] == std::string(kReportLine) + reportHash(report);
}

bool rememberRunKey(const std::string& report, const std::string& key) {
    const std::string text = std::string(kKeyLine) + key + "\n" + std::string(kReportLine) + reportHash(report) + "\n";
    if (writeFileAtomic(runKeyFile(report), text)) return true;
    forgetRunKey(report);
    return false;
}

void forgetRunKey(const std::string& report) { deleteFile(runKeyFile(report)); }

} // namespace wavra
