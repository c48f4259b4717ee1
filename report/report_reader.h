// The engine report reader: loads the printed NEC-2 report of a model
// ("out/" + modelName + extension below the data folder) into the parts of
// the model store it fills and the main window's summary. It reads the
// classic NEC-2 layout and the nec2c layout, picking one from the report's
// banner. What it finds wrong comes back as diagnostics, in the order met,
// for the caller to show.
#pragma once

#include <array>
#include <string>

#include "core/diagnostics.h"
#include "core/model.h"
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

// The parts of the model store a report read fills, and those it only reads.
struct ReportTarget {
    Geometry& geometry;       // segments, sources, loads, transmission lines, ground, frequency, request
    Results& results;         // currents, pattern, near field and frequency-loop tables
    Summary& summary;         // what the main window shows
    const Settings& settings; // table capacities and the power the results are scaled to
    const ModelFile& file;    // where the report lies; its name for the labels and messages
    // When the report is the model's own: the load is counted (views start
    // afresh) and the next run's expected duration is taken from it.
    ViewState* view = nullptr;
    int16_t* expectedRunTime = nullptr;
    // Where an incomplete report is kept, as its message names it (a run's
    // report that is not published); empty: out/<modelName><extension>.
    std::string keptAs;
};

// The whole model store as the target of its own report.
ReportTarget reportTarget(Model& model);

// Reads out/<modelName><extension>. False when the report cannot be opened
// (then only the main window's report labels are reset) and when it is
// incomplete: without the engine's closing run-time line, or with a frequency
// loop that stopped before its last step. An incomplete report is no result:
// after the diagnostic "The report out/<name> is incomplete (the engine
// stopped early): <what is missing>." nothing read from it stays in the
// target. A diagnostic's line is the report line it concerns; the messages'
// texts have no room for it (show them with LinePrefix::Omitted).
bool readOutput(const ReportTarget& target, Diagnostics& found, const std::string& extension,
                ReportHooks* hooks = nullptr);

// Reads a report from an open source (a file or text in memory); false when
// it is incomplete, as for readOutput.
bool readReport(const ReportTarget& target, LineReader& in, Diagnostics& found, const std::string& extension,
                ReportHooks* hooks = nullptr);

// readOutput and readReport for a caller that only tells the user: the
// problems are shown through `ui` in order, as their texts.
bool readOutputShown(const ReportTarget& target, Ui& ui, const std::string& extension, ReportHooks* hooks = nullptr);
bool readReportShown(const ReportTarget& target, Ui& ui, LineReader& in, const std::string& extension,
                     ReportHooks* hooks = nullptr);

// The expected duration of the next run, in tenths of a second, from the
// duration of the last one: 0 below one second.
int16_t expectedRunTimeFor(double seconds);

} // namespace wavra
