#include "report/report_merge.h"

#include <vector>

namespace wavra {

namespace {

constexpr std::string_view kDataCard = "\n  DATA CARD No:";
constexpr std::string_view kRunTime = "TOTAL RUN TIME:";
constexpr size_t kStepCountWidth = 5; // the engine echoes I2 as " %5d"

// The start of the blank lines that stand before the line holding `at`.
size_t blankLinesBefore(std::string_view text, size_t at) {
    size_t cut = text.rfind('\n', at);
    cut = cut == std::string_view::npos ? 0 : cut + 1;
    while (cut > 0 && text[cut - 1] == '\n') --cut;
    return cut;
}

size_t skipBlanks(std::string_view text, size_t at) {
    while (at < text.size() && text[at] == ' ') ++at;
    return at;
}

size_t skipWord(std::string_view text, size_t at) {
    while (at < text.size() && text[at] != ' ' && text[at] != '\n') ++at;
    return at;
}

std::string rightAligned(const std::string& number, size_t width) {
    return std::string(number.size() < width ? width - number.size() : 0, ' ') + number;
}

} // namespace

int frequencySections(std::string_view text) {
    int count = 0;
    for (size_t at = text.find(kFrequencyHeading); at != std::string_view::npos;
         at = text.find(kFrequencyHeading, at + kFrequencyHeading.size()))
        ++count;
    return count;
}

std::optional<ReportPieces> reportPieces(std::string_view report, int loopSteps) {
    std::vector<size_t> headings;
    for (size_t at = report.find(kFrequencyHeading); at != std::string_view::npos;
         at = report.find(kFrequencyHeading, at + kFrequencyHeading.size()))
        headings.push_back(at);
    if (loopSteps < 1 || headings.size() < static_cast<size_t>(loopSteps)) return std::nullopt;
    const size_t card = report.find(kDataCard, headings.back());
    if (card == std::string_view::npos) return std::nullopt;
    const size_t begin = blankLinesBefore(report, headings[headings.size() - static_cast<size_t>(loopSteps)]);
    const size_t end = blankLinesBefore(report, card + 1);
    return ReportPieces{report.substr(0, begin), report.substr(begin, end - begin), report.substr(end),
                        static_cast<int>(headings.size()) - loopSteps};
}

std::string withStepCount(std::string_view header, int steps) {
    std::string text(header);
    size_t echo = std::string::npos;
    for (size_t at = text.find(kDataCard); at != std::string::npos; at = text.find(kDataCard, at + 1)) {
        const size_t field = skipBlanks(text, skipWord(text, skipBlanks(text, at + kDataCard.size())));
        if (text.compare(field, 3, "FR ") == 0) echo = field;
    }
    if (echo == std::string::npos) return text;
    const size_t i2 = skipWord(text, skipBlanks(text, echo + 2)); // the end of I1
    const size_t end = skipWord(text, skipBlanks(text, i2));
    text.replace(i2, end - i2, " " + rightAligned(std::to_string(steps), kStepCountWidth));
    return text;
}

std::string withRunTime(std::string_view closing, long long milliseconds) {
    std::string text(closing);
    const size_t at = text.rfind(kRunTime);
    if (at == std::string::npos) return text;
    const size_t number = skipBlanks(text, at + kRunTime.size());
    text.replace(number, skipWord(text, number) - number, std::to_string(milliseconds));
    return text;
}

std::optional<std::string> mergeReports(const std::vector<PartReport>& parts, long long wallMilliseconds,
                                        std::string& error) {
    if (parts.empty()) {
        error = "there is no part";
        return std::nullopt;
    }
    std::optional<ReportPieces> first;
    std::string_view closing;
    std::string sections;
    int steps = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string name = "part " + std::to_string(i + 1) + " of " + std::to_string(parts.size());
        const std::optional<ReportPieces> pieces = reportPieces(parts[i].text, parts[i].steps);
        if (!pieces) {
            error = "the report of " + name + " has fewer than " + std::to_string(parts[i].steps) +
                    " frequency sections or no closing block";
            return std::nullopt;
        }
        const int before = !first ? pieces->sectionsBefore : parts[i].header ? first->sectionsBefore : 0;
        if (pieces->sectionsBefore != before) {
            error = "the report of " + name + " has " + std::to_string(pieces->sectionsBefore) +
                    " sections before its loop instead of " + std::to_string(before);
            return std::nullopt;
        }
        if (!first) first = pieces;
        sections += pieces->sections;
        steps += parts[i].steps;
        closing = pieces->closing;
    }
    return withStepCount(first->header, steps) + sections + withRunTime(closing, wallMilliseconds);
}

} // namespace wavra
