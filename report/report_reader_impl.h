// The state of one report read and its section handlers. Private to report/:
// report_reader.cpp holds the line loop and the dispatch on headings, the
// other files one group of sections each.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/model.h"
#include "report/frequency_steps.h"
#include "report/line_reader.h"
#include "report/report_layout.h"
#include "report/report_reader.h"

namespace wavra {

class ReportReader {
public:
    ReportReader(const ReportTarget& target, LineReader& in, Diagnostics& found, ReportHooks* hooks);
    // Reads the whole report; false when it is incomplete (then its results
    // are dropped after the message).
    bool run(const std::string& extension);

    // The next line of the report, checked for engine error messages. Every
    // line is read through here. False at the end of the report.
    bool readOutputLine(std::string_view& line);
    // Loads the pattern table after a pattern heading.
    void loadFarField(bool surfaceWave);
    // Loads the near-field table after a near-field heading.
    void loadNearField();

private:
    const ReportTarget& target;
    Geometry& geo;
    Results& res;
    Summary& s;
    const Settings& settings;
    LineReader& in;
    Diagnostics& problems;
    ReportHooks* hooks;
    const ReportLayout* layout;
    bool layoutKnown = false;

    // One line handed back by a section that read past its end.
    std::string_view pushedLine;
    int64_t pushedLineNumber = 0;
    bool hasPushedLine = false;
    int64_t lineNumber = 0; // of the line last handed out, for diagnostics
    std::string lastLine;   // the last non-blank line, for a report that stops early
    int64_t lastLineNumber = 0;

    double fieldScale = 0;      // 0 until the first power budget
    bool frequencyLoop = false; // the echoed FR card has two or more steps
    bool frequencySeen = false;
    double frequency = 0; // of the calculation being read, MHz
    bool inputsRead = false;
    bool currentsRead = false;
    bool runTimeRead = false;
    bool notLoadedShown = false;
    int errorLines = 0;
    int invalidValues = 0;             // results printed as NaN or infinity
    long long requestedPoints = 0;     // points per pattern (or near field) the first request asks for
    std::array<bool, 5> maxSeen{};     // patternMax holds a value of this column
    std::array<bool, 4> nearMaxSeen{}; // nearFieldMax likewise

    // The frequency loop: the steps its FR card asked for and its frequency
    // lines so far. A row of the sweep tables takes the first impedance and
    // the first gain after its frequency line only, so a later calculation
    // at the last frequency (cards after the loop's XQ) leaves it alone.
    long long loopSteps = 0;
    long long loopStepsSeen = 0;
    long long stepsDropped = 0; // loop steps beyond the sweep tables' capacity
    // The frequencies of the last FR card; a frequency line that fits its
    // step takes the step's own frequency instead of the 5-digit print.
    FrequencySteps steps;
    // Printed frequencies that fit no step of their FR card: the first one
    // (its text, step and the card's frequency for it) and how many.
    long long misfits = 0;
    std::string misfitText;
    int64_t misfitLine = 0;
    long long misfitStep = 0;
    double misfitExpected = 0;
    bool rowWantsInputs = false;
    bool rowWantsGain = false;
    std::string missing; // what a loop that stopped early left out

    // report_reader.cpp
    void reset(const std::string& extension);
    void dispatch(std::string_view line);
    void detectLayout(std::string_view line);
    void useLayout(const ReportLayout& l);
    void unreadLine(std::string_view line);
    bool skipLines(int count);
    void reportEngineError(std::string_view line);
    // An engine error: kept in the summary, noted with its report line and
    // handed to the hooks.
    void showEngineError(const std::string& text, int64_t line);
    // A diagnostic; `line` 0 names no line of the report.
    void note(Severity severity, const std::string& text, int64_t line = 0);
    // A result field: a printed NaN or infinity is kept as it is (missing to
    // the views) and reported once per report, naming `what`.
    double result(std::string_view line, Column c, const char* what);
    // A field that places a result (an angle, a coordinate): read like a
    // result, but a NaN or infinity gives kMissing, never 0.
    double position(std::string_view line, Column c, const char* what);
    void finishPatternSweep();
    void closeLoop();
    std::string missingParts() const;
    void showDropped(long long read, long long total, const char* what, const char* setting);
    bool finish(const std::string& extension);

    // geometry_sections.cpp
    void readComments();
    void readGroundLine(std::string_view line, bool interpolation);
    void readEnvironment();
    void readJunctions();
    void markJunction(double segment);
    void readSegmentation();
    void storeSegment(int row, std::string_view line);
    int wireRuns(int rows) const;
    void readLoads();

    // card_echo.cpp
    void readCard(std::string_view line);
    void readTransLine(const std::array<int16_t, 4>& ints);
    int findSegment(int tag, int segment) const;
    void readFrequencyCard(std::string_view line, const std::array<double, 4>& printed);
    void readFarRequest(const std::array<int16_t, 4>& ints, const std::array<double, 6>& reals);
    void readNearRequest(const std::array<int16_t, 4>& ints, const std::array<double, 6>& reals, bool magnetic);
    void sizeFieldTables();

    // result_sections.cpp
    void readCurrents();
    void readPowerBudget();
    void readFrequency(std::string_view line);
    double stepFrequencyOf(std::string_view line, long long index);
    void noteStepOutOfPlace(long long index, long long printedStep);
    void showMisfits(const std::string& extension);
    void readInputs();
    void showInputImpedance(double r, double x);
    void readAverageGain(std::string_view line);
    void readRunTime(std::string_view line);

    // field_tables.cpp
    void readPatternHeading();
    void readSweepGain();
    void readSurfacePattern();
    void readNearFieldHeading();
    bool appendsPatterns() const;
    void storeFarPoint(int row, std::string_view line, bool surfaceWave);
    void finishFarTable(int first, int last);
    void storeNearPoint(int row, std::string_view line);
    bool isNearPoint(std::string_view line) const;
    bool endsTable(std::string_view line);
    void showNotLoaded(long long total, int size);
    void storeSource(std::string_view line);
};

} // namespace wavra
