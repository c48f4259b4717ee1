// The engine report reader: loads the printed NEC-2 report of the current
// model ("out/" + modelName + extension below installDir) into the model
// store and the main window's summary. It reads the classic NEC-2 layout and
// the nec2c layout, picking one from the report's banner.
#pragma once

#include <array>
#include <string>

#include "core/model.h"
#include "core/ui.h"
#include "report/line_reader.h"

namespace wavra {

// Observers of a report read. The optimizer uses them: an engine error ends
// its run, and the points of the loaded pattern give its forward and back
// values.
class ReportHooks {
public:
    virtual ~ReportHooks() = default;
    // An engine error line, as shown: "Nec2d : " + the line.
    virtual void engineError(const std::string& message) = 0;
    // One point of the far-field pattern as stored (theta, phi and the five
    // values of farFieldGains).
    virtual void patternPoint(double theta, double phi, const std::array<double, 5>& values) = 0;
};

// Reads out/<modelName><extension>. False when the report cannot be opened
// (then only the main window's report labels are reset) and when it is
// incomplete: without the engine's closing run-time line, or with a frequency
// loop that stopped before its last step. An incomplete report is no result:
// after the message "The report out/<name> is incomplete (the engine stopped
// early): <what is missing>." nothing read from it stays in the model.
bool readOutput(Model& model, Ui& ui, const std::string& extension, ReportHooks* hooks = nullptr);

// Reads a report from an open source (a file or text in memory); false when
// it is incomplete, as for readOutput.
bool readReport(Model& model, Ui& ui, LineReader& in, const std::string& extension, ReportHooks* hooks = nullptr);

// The expected duration of the next run, in tenths of a second, from the
// duration of the last one: 0 below one second.
int16_t expectedRunTimeFor(double seconds);

} // namespace wavra
