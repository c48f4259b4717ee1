#include "engine/engine_choice.h"

#include "base/files.h"
#include "base/text.h"

namespace wavra {

const std::vector<EngineRow>& engineTable() {
    static const std::vector<EngineRow> table = {
        {257, "NEC2D", 256},      {513, "NEC2D512", 512},     {961, "NEC2D960", 960},  {1393, "NEC2D1K4", 1400},
        {1951, "NEC2D1K9", 1900}, {2801, "NEC2D2K8", 2800},   {4001, "NEC2D4K", 4000}, {5701, "NEC2D5K7", 5700},
        {8101, "NEC2D8K1", 8100}, {11001, "NEC2D11K", 11000},
    };
    return table;
}

std::vector<std::string> engineNames() {
    std::vector<std::string> names;
    for (const auto& row : engineTable()) names.emplace_back(row.name);
    names.emplace_back(kLapackEngine);
    names.emplace_back(kSpecialEngine);
    return names;
}

void setexe(Model& model, Ui& ui, int segments) {
    const std::string count = formatPicture(segments, "###0");
    for (const auto& row : engineTable()) {
        if (segments >= row.segmentsBelow) continue;
        const std::string path = launcherPath(model, row.name);
        if (!pathExists(path)) {
            ui.message("File " + path + ", for " + count + " segments, not available !");
            return;
        }
        model.maxSegments = row.capacity;
        selectEngine(model, row.name);
        return;
    }
    ui.message("No engine for " + count + " segments available !");
}

void selectEngine(Settings& settings, std::string_view name) {
    const char flag = settings.engineName.empty() ? '&' : settings.engineName.front();
    std::string text = flag + std::string(name);
    if (text.size() < 9) text.resize(9, ' ');
    settings.engineName = text;
}

std::string engineOf(const Settings& settings) {
    if (settings.engineName.size() < 2) return {};
    std::string name = settings.engineName.substr(1);
    name.erase(name.find_last_not_of(' ') + 1);
    return name;
}

bool waitFlagSet(const Settings& settings) {
    return !settings.engineName.empty() && settings.engineName.front() != '&';
}

bool isSpecialEngine(const Settings& settings) {
    return settings.engineName.size() >= 6 && settings.engineName.compare(4, 2, "32") == 0;
}

bool isValidEngineName(std::string_view name) {
    if (name.empty()) return false;
    for (char c : name)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')) return false;
    return true;
}

std::string launcherPath(const ModelFile& file, std::string_view name) {
    return file.installDir + "exe/" + std::string(name);
}

} // namespace wavra
