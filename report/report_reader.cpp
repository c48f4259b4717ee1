#include "report/report_reader.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "report/columns.h"
#include "report/report_reader_impl.h"

namespace wavra {

namespace {

// Error lines shown one by one; a report full of them (a broken run, or not a
// report at all) must not bury the user under message boxes.
constexpr int kShownErrorLines = 10;

// The labels a report read starts from, also when the report is missing.
void resetReportLabels(Summary& s, const Model& m, const std::string& extension) {
    s.hasAverageGain = false;
    s.frequencyText.clear();
    s.wavelengthText.clear();
    s.segments = 0;
    s.hasRunTime = false;
    s.calculationTime.clear();
    s.fileName = m.modelName + " " + extension;
}

} // namespace

int16_t expectedRunTimeFor(double seconds) {
    if (!(seconds >= 1)) return 0;
    return toInt16(std::round(10 * seconds));
}

bool readOutput(Model& model, Ui& ui, const std::string& extension, ReportHooks* hooks) {
    LineReader in(model.installDir + "out/" + model.modelName + extension);
    if (!in.isOpen()) {
        resetReportLabels(model.summary, model, extension);
        return false;
    }
    readReport(model, ui, in, extension, hooks);
    return true;
}

void readReport(Model& model, Ui& ui, LineReader& in, const std::string& extension, ReportHooks* hooks) {
    ReportReader reader(model, ui, in, hooks);
    reader.run(extension);
}

ReportReader::ReportReader(Model& model, Ui& ui_, LineReader& in_, ReportHooks* hooks_)
    : m(model), s(model.summary), ui(ui_), in(in_), hooks(hooks_), layout(&classicLayout()) {}

void ReportReader::run(const std::string& extension) {
    reset(extension);
    std::string_view line;
    while (readOutputLine(line)) dispatch(line);
    finish();
}

// Every read starts from the same state, so the model reflects one report.
void ReportReader::reset(const std::string& extension) {
    s.clear();
    resetReportLabels(s, m, extension);
    m.resetForLoad();
    m.wireCount = 0;
    m.maxCurrentMag = -999;
    m.maxCurrentPhase = -999;
    m.requestDistance = 0;
    m.requestXnda = 0;
    m.requestGainNorm = 0;
    m.requestCount[1] = 1;
    m.requestCount[2] = 1;
    m.requestStep = {};
    m.sweepPatternAxis = 0;
    m.patternMax = {};
    std::fill(m.wireEnd1Link.begin(), m.wireEnd1Link.end(), int16_t(0));
    std::fill(m.wireEnd2Link.begin(), m.wireEnd2Link.end(), int16_t(0));
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
        return true;
    }
    if (!in.next(line)) return false;
    if (headingMatches(line, layout->heading.limitExceeded) || line.find("ERROR") != std::string_view::npos)
        reportEngineError(line);
    if (!isBlank(line)) lastLine.assign(line);
    return true;
}

// Hands a line that ends a section back, so that the line loop sees it.
void ReportReader::unreadLine(std::string_view line) {
    pushedLine = line;
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
    if (errorLines <= kShownErrorLines) showEngineError("Nec2d : " + std::string(line));
}

void ReportReader::showEngineError(const std::string& text) {
    s.engineErrors.push_back(text);
    ui.message(text);
    if (hooks) hooks->engineError(text);
}

// The patterns of a frequency loop with a cut follow one another: the fixed
// axis of the cut then counts the frequency steps whose pattern was loaded.
void ReportReader::finishPatternSweep() {
    if (m.sweepPatternAxis == 0) return;
    const size_t axis = m.sweepPatternAxis == 1 ? 1 : 2;
    const int perStep = m.requestCount[3 - axis];
    m.requestCount[axis] = perStep > 0 ? static_cast<int16_t>(m.patternCount / perStep) : 0;
}

void ReportReader::finish() {
    for (double* e : {&m.extentX, &m.extentY, &m.extentZ}) *e = std::max(*e, 1e-9);
    m.modelExtent = std::max(m.extentX, std::max(m.extentY, m.extentZ));
    finishPatternSweep();
    s.frequencySteps = std::to_string(m.freqCount);
    s.segments = m.wireCount;
    s.patternLines = m.requestMode == kNearRequest ? s.nearFieldCount : m.patternCount;
    s.fieldScale = fieldScale;
    if (errorLines > kShownErrorLines)
        ui.message("Nec2d : " + std::to_string(errorLines - kShownErrorLines) + " more error lines in the report.");
    // A complete report ends with its run time; without it the engine
    // stopped early (nec2c prints its fatal message as the last line), or the
    // report was cut off.
    if (!runTimeRead)
        showEngineError(lastLine.empty() ? std::string("Nec2d : the report is empty.") : "Nec2d : " + trim(lastLine));
}

} // namespace wavra
