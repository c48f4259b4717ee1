// A report read into the whole model as the program reads it: the reader's
// diagnostics shown through the Ui afterwards, as their texts. For tests of
// what comes after a read; the reader's own tests look at the diagnostics.
#pragma once

#include <string>

#include "core/diagnostics.h"
#include "core/model.h"
#include "report/line_reader.h"
#include "report/report_reader.h"

namespace wavra::test {

// out/<modelName><extension>.
inline bool readModelReport(Model& model, Ui& ui, const std::string& extension, ReportHooks* hooks = nullptr) {
    Diagnostics found;
    const bool read = readOutput(reportTarget(model), found, extension, hooks);
    showDiagnostics(ui, found, LinePrefix::Omitted);
    return read;
}

// A report from an open source.
inline bool readModelReport(Model& model, Ui& ui, LineReader& in, const std::string& extension) {
    Diagnostics found;
    const bool read = readReport(reportTarget(model), in, found, extension);
    showDiagnostics(ui, found, LinePrefix::Omitted);
    return read;
}

} // namespace wavra::test
