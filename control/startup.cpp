#include "control/startup.h"

#include <filesystem>
#include <system_error>

#include "base/files.h"
#include "base/places.h"
#include "core/config.h"
#include "deck/expression.h"

namespace wavra {

bool startUp(Model& model, Ui& ui, const std::string& programPath, std::string* placesNote) {
    const Places places = placesFor(programPath);
    std::string note, error;
    if (!preparePlaces(places, note, error)) {
        ui.message(error, "wavra", Icon::Critical);
        return false;
    }
    if (placesNote) *placesNote = note;
    model.installDir = places.installDir;
    if (places.perUser) {
        model.settingsDir = places.settingsDir;
        model.dataDir = places.dataDir;
    }
    std::error_code ec;
    std::filesystem::current_path(model.workDir(), ec);
    if (!readConfiguration(model, ui, ConfigMode::Read)) return false;
    initConstantTable(model, model);
    showDiagnostics(ui, loadConstantsFile(model, model));
    model.allocateModelTables(model.maxSegments, model.maxFreqSteps, model.maxSources, model.maxLoads,
                              model.maxTransLines);
    model.allocateFieldTables(model.maxFarFieldPoints);
    model.modelName.clear();
    return true;
}

void takeModelName(ModelFile& file, const std::string& argument, const std::string& workingDir) {
    if (argument.empty()) return;
    std::string path = argument;
    if (path.front() != '/' && !workingDir.empty()) path = workingDir + (workingDir.back() == '/' ? "" : "/") + path;
    const size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (slash != std::string::npos && slash > 0) file.modelDir = path.substr(0, slash + 1);
    std::string givenExt;
    // The extension starts at the last dot, so "yagi.v2.nec" stays "yagi.v2".
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        givenExt = name.substr(dot);
        name = name.substr(0, dot);
    }
    file.modelName = name;
    // On a case-sensitive file system "model.NEC" or "model.inp" would be
    // missed with the configured extension alone.
    if (!givenExt.empty() && !pathExists(file.modelPath()) && pathExists(file.modelDir + name + givenExt))
        file.modelExt = givenExt;
}

} // namespace wavra
