// Joining the reports of a split frequency loop into the one report a
// single engine run would have printed. A nec2c report of a loop has three
// pieces: the header (banner, deck echo, geometry, segmentation, the data
// cards read before the loop and any calculation at one frequency before
// it), one section per step of the loop (from its "FREQUENCY" heading on),
// and the closing block (the EN card's echo and the total run time). The merged report is the first part's header with
// the FR card's echo showing the whole loop's step count, every part's
// sections in order, and the last part's closing with the run time of the
// whole calculation. Plain text: no file is read or written here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wavra {

// The heading line that starts each frequency's section in a nec2c report.
inline constexpr std::string_view kFrequencyHeading = "--------- FREQUENCY --------";

// The number of frequency headings in a piece of report text.
int frequencySections(std::string_view text);

struct ReportPieces {
    std::string_view header;   // up to the loop, with the calculations before it
    std::string_view sections; // the loop's, from the blank lines before its first heading
    std::string_view closing;  // from the blank lines before the data card after the last section
    int sectionsBefore = 0;    // frequency sections printed before the loop
};

// The pieces of a report whose last `loopSteps` frequency sections are the
// loop's; nullopt when it has fewer sections or no closing block after the
// last one.
std::optional<ReportPieces> reportPieces(std::string_view report, int loopSteps);

// The header with the step count (I2) in its last FR card echo (the loop's)
// replaced.
std::string withStepCount(std::string_view header, int steps);

// The closing block with its "TOTAL RUN TIME" set to `milliseconds`.
std::string withRunTime(std::string_view closing, long long milliseconds);

// One part's report and the number of steps it was given.
struct PartReport {
    std::string text;
    int steps = 0;
    bool header = true; // it made the calculations before the loop (the first part always)
};

// The merged report; nullopt with `error` saying which part does not fit
// (a piece missing, fewer sections than its steps, another number of
// sections before the loop than the first part, or any for a part that
// was not to make them).
std::optional<std::string> mergeReports(const std::vector<PartReport>& parts, long long wallMilliseconds,
                                        std::string& error);

} // namespace wavra
