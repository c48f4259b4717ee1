#include "present/sweep_export.h"

#include <string>

#include "export/sweep_files.h"
#include "report/sweep_values.h"

namespace wavra {

void exportSweepDialog(const Model& m, Ui& ui) {
    std::string error;
    if (sweepSteps(m) < 1) {
        ui.message("The report holds no frequency loop: there is no sweep to export.");
        return;
    }
    const auto choice = ui.saveFile({"Export sweep", "Filename", m.modelDir, m.modelName, "*.s1p"});
    if (!choice) return;
    const std::string path = choice->path() + (choice->ext.empty() ? ".s1p" : "");
    if (!writeSweepFile(m, path, sweepFormatOf(path), error)) ui.message(error);
}

} // namespace wavra
