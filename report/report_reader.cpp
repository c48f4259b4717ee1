#include "report/report_reader.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/files.h"
#include "base/text.h"
#include "report/columns.h"
#include "report/report_reader_impl.h"

namespace wavra {

namespace {

// Error lines shown one by one; a report full of them (a broken run, or not a
// report at all) must not bury the user under message boxes.
constexpr int kShownErrorLines = 10;

// The labels a report read starts from, also when the report is missing.
void resetReportLabels(const ReportTarget& t, const std::string& extension) {
    Summary& s = t.summary;
    s.hasAverageGain = false;
    s.frequencyText.clear();
    s.wavelengthText.clear();
    s.segments = 0;
    s.wires = 0;
    s.hasRunTime = false;
    s.calculationTime.clear();
    s.fileName = t.file.modelName + extension;
}

// Empties what a report fills: the counters, the results' maxima and the
// main window's summary.
void clearTarget(const ReportTarget& t, const std::string& extension) {
    if (t.view) t.view->countLoad();
    t.geometry.clearForLoad();
    t.results.clearForLoad();
    t.geometry.wireCount = 0;
    t.results.patternMax = {};
    t.results.sweepPatternAxis = 0;
    t.summary.clear();
    resetReportLabels(t, extension);
}

} // namespace

ReportTarget reportTarget(Model& model) {
    return {model, model, model.summary, model, model, &model, &model.expectedRunTime, {}};
}

int16_t expectedRunTimeFor(double seconds) {
    if (!(seconds >= 1)) return 0;
    return toInt16(std::round(10 * seconds));
}

bool readOutput(const ReportTarget& target, Diagnostics& found, const std::string& extension, ReportHooks* hooks) {
    const std::string path = target.file.outDir() + target.file.modelName + extension;
    // A pipe or directory in the report's place would block or misread.
    const std::string problem = pathExists(path) ? notARegularFile(path) : std::string();
    if (problem.empty()) {
        LineReader in(path);
        if (in.isOpen()) return readReport(target, in, found, extension, hooks);
    } else {
        found.push_back({Severity::Fatal, "Open failure on NEC-2 output file " + path + ": " + problem});
    }
    resetReportLabels(target, extension);
    return false;
}

bool readReport(const ReportTarget& target, LineReader& in, Diagnostics& found, const std::string& extension,
                ReportHooks* hooks) {
    ReportReader reader(target, in, found, hooks);
    return reader.run(extension);
}

bool readOutputShown(const ReportTarget& target, Ui& ui, const std::string& extension, ReportHooks* hooks) {
    Diagnostics found;
    const bool read = readOutput(target, found, extension, hooks);
    showDiagnostics(ui, found, LinePrefix::Omitted);
    return read;
}

bool readReportShown(const ReportTarget& target, Ui& ui, LineReader& in, const std::string& extension,
                     ReportHooks* hooks) {
    Diagnostics found;
    const bool read = readReport(target, in, found, extension, hooks);
    showDiagnostics(ui, found, LinePrefix::Omitted);
    return read;
}

ReportReader::ReportReader(const ReportTarget& t, LineReader& in_, Diagnostics& found_, ReportHooks* hooks_)
    : target(t), geo(t.geometry), res(t.results), s(t.summary), settings(t.settings), in(in_), problems(found_),
      hooks(hooks_), layout(&classicLayout()) {}

bool ReportReader::run(const std::string& extension) {
    reset(extension);
    std::string_view line;
    while (readOutputLine(line)) dispatch(line);
    return finish(extension);
}

// Every read starts from the same state, so the target reflects one report.
void ReportReader::reset(const std::string& extension) {
    clearTarget(target, extension);
    res.maxCurrentMag = -999;
    res.maxCurrentPhase = -999;
    geo.requestDistance = 0;
    geo.requestXnda = 0;
    geo.requestGainNorm = 0;
    geo.requestCount[1] = 1;
    geo.requestCount[2] = 1;
    geo.requestStep = {};
    std::fill(geo.wireEnd1Link.begin(), geo.wireEnd1Link.end(), int16_t(0));
    std::fill(geo.wireEnd2Link.begin(), geo.wireEnd2Link.end(), int16_t(0));
}

void ReportReader::useLayout(const ReportLayout& l) {
    layout = &l;
    layoutKnown = true;
}

void ReportReader::detectLayout(std::string_view line) {
    if (const ReportLayout* found = layoutFromBanner(line)) useLayout(*found);
}

// Each line is tested against the section headings in a fixed order; the
// first that matches decides, all other lines are passed over.
void ReportReader::dispatch(std::string_view line) {
    if (!layoutKnown) detectLayout(line);
    using Handle = void (*)(ReportReader&, std::string_view);
    static const std::pair<Heading ReportHeadings::*, Handle> sections[] = {
        {&ReportHeadings::enhanced, [](ReportReader& r, std::string_view) { r.useLayout(enhancedLayout()); }},
        {&ReportHeadings::comments, [](ReportReader& r, std::string_view) { r.readComments(); }},
        {&ReportHeadings::groundPlane, [](ReportReader& r, std::string_view l) { r.readGroundLine(l, false); }},
        {&ReportHeadings::groundWhere, [](ReportReader& r, std::string_view l) { r.readGroundLine(l, true); }},
        {&ReportHeadings::environment, [](ReportReader& r, std::string_view) { r.readEnvironment(); }},
        {&ReportHeadings::junctions, [](ReportReader& r, std::string_view) { r.readJunctions(); }},
        {&ReportHeadings::segmentation, [](ReportReader& r, std::string_view) { r.readSegmentation(); }},
        {&ReportHeadings::dataCard, [](ReportReader& r, std::string_view l) { r.readCard(l); }},
        {&ReportHeadings::loads, [](ReportReader& r, std::string_view) { r.readLoads(); }},
        {&ReportHeadings::currents, [](ReportReader& r, std::string_view) { r.readCurrents(); }},
        {&ReportHeadings::power, [](ReportReader& r, std::string_view) { r.readPowerBudget(); }},
        {&ReportHeadings::frequency, [](ReportReader& r, std::string_view l) { r.readFrequency(l); }},
        {&ReportHeadings::inputs, [](ReportReader& r, std::string_view) { r.readInputs(); }},
        {&ReportHeadings::pattern, [](ReportReader& r, std::string_view) { r.readPatternHeading(); }},
        {&ReportHeadings::surfacePattern, [](ReportReader& r, std::string_view) { r.readSurfacePattern(); }},
        {&ReportHeadings::nearField, [](ReportReader& r, std::string_view) { r.readNearFieldHeading(); }},
        {&ReportHeadings::averageGain, [](ReportReader& r, std::string_view l) { r.readAverageGain(l); }},
        {&ReportHeadings::runTime, [](ReportReader& r, std::string_view l) { r.readRunTime(l); }},
    };
    for (const auto& [heading, handle] : sections) {
        if (headingMatches(line, layout->heading.*heading)) {
            handle(*this, line);
            return;
        }
    }
}

bool ReportReader::readOutputLine(std::string_view& line) {
    if (hasPushedLine) {
        hasPushedLine = false;
        line = pushedLine;
        lineNumber = pushedLineNumber;
        return true;
    }
    if (!in.next(line)) return false;
    lineNumber = in.lineNumber();
    if (headingMatches(line, layout->heading.limitExceeded) || line.find("ERROR") != std::string_view::npos)
        reportEngineError(line);
    if (!isBlank(line)) {
        lastLine.assign(line);
        lastLineNumber = lineNumber;
    }
    return true;
}

// Hands a line that ends a section back, so that the line loop sees it.
void ReportReader::unreadLine(std::string_view line) {
    pushedLine = line;
    pushedLineNumber = lineNumber;
    hasPushedLine = true;
}

bool ReportReader::skipLines(int count) {
    std::string_view line;
    for (int i = 0; i < count; ++i)
        if (!readOutputLine(line)) return false;
    return true;
}

void ReportReader::reportEngineError(std::string_view line) {
    ++errorLines;
    if (errorLines <= kShownErrorLines) showEngineError("Nec2d : " + std::string(line), lineNumber);
}

void ReportReader::showEngineError(const std::string& text, int64_t line) {
    s.engineErrors.push_back(text);
    note(Severity::Error, text, line);
    if (hooks) hooks->engineError(text);
}

void ReportReader::note(Severity severity, const std::string& text, int64_t line) {
    problems.push_back({severity, text, line});
}

double ReportReader::result(std::string_view line, Column c, const char* what) {
    const double v = columnValue(line, c);
    if (std::isfinite(v)) return v;
    if (++invalidValues == 1)
        showEngineError(std::string("Nec2d : the engine printed no valid number (") + (std::isnan(v) ? "NaN" : "Inf") +
                            ") for " + what + " at " + mhzText(frequency) +
                            " MHz; check the geometry (F3, validation).",
                        lineNumber);
    return v;
}

double ReportReader::position(std::string_view line, Column c, const char* what) {
    const double v = result(line, c, what);
    return std::isfinite(v) ? v : kMissing;
}

// The patterns of a frequency loop with a cut follow one another: the fixed
// axis of the cut then counts the frequency steps whose pattern was loaded.
void ReportReader::finishPatternSweep() {
    if (res.sweepPatternAxis == 0) return;
    const size_t axis = res.sweepPatternAxis == 1 ? 1 : 2;
    const int perStep = geo.requestCount[3 - axis];
    geo.requestCount[axis] = static_cast<int16_t>(perStep > 0 ? res.patternCount / perStep : 0);
}

// A loop that printed some of its steps and then no more stopped early.
void ReportReader::closeLoop() {
    if (loopSteps > 0 && loopStepsSeen > 0 && loopStepsSeen < loopSteps && missing.empty())
        missing = "only " + groupedNumber(loopStepsSeen) + " of " + groupedNumber(loopSteps) + " frequency steps";
    loopSteps = loopStepsSeen = 0;
}

// What a report lacks to count as complete: nec2c and the classic engine
// close every report with the run time, and a loop prints every step.
std::string ReportReader::missingParts() const {
    std::string parts = missing;
    if (!runTimeRead) {
        if (!parts.empty()) parts += " and ";
        parts += lastLine.empty() ? "it is empty" : "the closing run-time line";
    }
    return parts;
}

// A table that held more rows than wavra keeps: what was dropped, and the
// setting that keeps it next time (unless the count is beyond any setting).
void ReportReader::showDropped(long long read, long long total, const char* what, const char* setting) {
    std::string text = "Only " + groupedNumber(read) + " of " + groupedNumber(total) + " " + what + " were read: ";
    if (total <= kInt16Max) text += std::string("raise '") + setting + "' (Settings).";
    else text += "wavra holds at most " + groupedNumber(kInt16Max) + "; calculate fewer at a time.";
    note(Severity::Warning, text);
}

// Printed frequencies that fit no step of their FR card are kept as
// printed; the user hears of the first one and how many there were.
void ReportReader::showMisfits(const std::string& extension) {
    if (misfits == 0) return;
    std::string text = "The report out/" + target.file.modelName + extension + " prints the frequency \"" + misfitText +
                       "\" for step " + groupedNumber(misfitStep + 1) + " of its FR card, which gives " +
                       mhzText(misfitExpected) + " MHz for that step";
    if (misfits > 1) text += " (and " + groupedNumber(misfits - 1) + " more frequencies that do not fit)";
    note(Severity::Warning, text + "; the printed frequencies are kept.", misfitLine);
}

bool ReportReader::finish(const std::string& extension) {
    closeLoop();
    showMisfits(extension);
    for (double* e : {&geo.extentX, &geo.extentY, &geo.extentZ}) *e = std::max(*e, 1e-9);
    geo.modelExtent = std::max(geo.extentX, std::max(geo.extentY, geo.extentZ));
    finishPatternSweep();
    s.frequencySteps = std::to_string(res.freqCount);
    s.sweepRows = res.freqCount;
    s.segments = geo.wireCount;
    s.patternLines = geo.requestMode == kNearRequest ? s.nearFieldCount : res.patternCount;
    s.fieldScale = fieldScale;
    s.engineErrorLines = errorLines;
    s.invalidValues = invalidValues;
    if (errorLines > kShownErrorLines)
        note(Severity::Error,
             "Nec2d : " + std::to_string(errorLines - kShownErrorLines) + " more error lines in the report.");
    if (stepsDropped > 0)
        showDropped(res.freqCount, res.freqCount + stepsDropped, "frequency steps", "Max-nr. frequency steps");
    const std::string lacking = missingParts();
    if (lacking.empty()) return true;
    // nec2c prints its fatal message as the last line of the report.
    if (!runTimeRead && !lastLine.empty()) showEngineError("Nec2d : " + trim(lastLine), lastLineNumber);
    const std::string name = target.keptAs.empty() ? "out/" + target.file.modelName + extension : target.keptAs;
    note(Severity::Fatal, "The report " + name + " is incomplete (the engine stopped early): " + lacking + ".");
    clearTarget(target, extension);
    return false;
}

} // namespace wavra
