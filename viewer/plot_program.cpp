#include "viewer/plot_program.h"

#include <filesystem>

#include "viewer/text_rules.h"

namespace fs = std::filesystem;

namespace wavra::view {

namespace {
const std::string kAreaData = "/areadata/";
}

bool isPlotFile(const std::string& ext) { return endsWithNoCase(ext, "g1"); }

std::optional<PlotLocation> locatePlotFile(const std::string& dir) {
    const size_t at = toLower(dir).find(kAreaData);
    if (at == std::string::npos) return std::nullopt;
    return PlotLocation{dir.substr(0, at + 1), dir.substr(at + kAreaData.size())};
}

Command plotCommand(const std::string& plotProgram, const PlotLocation& location, const std::string& fileName) {
    const std::string program =
        !plotProgram.empty() && plotProgram.front() == '/' ? plotProgram : location.itsHfDir + plotProgram;
    return Command{program, {location.itsHfDir + "run", "AREADATA", location.subPath + fileName, "s"}};
}

bool isRunnable(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::is_regular_file(status)) return false;
    const fs::perms exec = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    return (status.permissions() & exec) != fs::perms::none;
}

} // namespace wavra::view
