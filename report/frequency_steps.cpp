#include "report/frequency_steps.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"

namespace wavra {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// How far the computed frequency of a step may lie from the engine's: the
// echo's rounding of the start and of each step taken, and the rounding of
// double arithmetic.
double stepSlack(const FrequencySteps& loop, long long index, double f) {
    const double k = static_cast<double>(index);
    double slack = loop.startSlack + k * loop.stepSlack;
    if (loop.multiplicative) {
        const double relative = (loop.start != 0 ? loop.startSlack / std::fabs(loop.start) : 0) +
                                (loop.step != 0 ? k * loop.stepSlack / std::fabs(loop.step) : 0);
        slack = std::fabs(f) * relative;
    }
    return slack + 1e-12 * std::fabs(f);
}

// The value on the grid of `unit` (a power of ten) nearest to f: the decimal
// number the loop means, as the nearest double (3.5 + 4 * 0.07 gives
// 3.78, not 3.7800000000000002).
double onDecimalGrid(double f, double unit) {
    if (!(unit > 0) || !std::isfinite(f)) return f;
    const int decimals = -static_cast<int>(std::lround(std::log10(unit)));
    const double scale = std::pow(10.0, std::abs(decimals));
    const double steps = decimals > 0 ? f * scale : f / scale;
    if (!(std::fabs(steps) < 1e15)) return f;
    const double whole = static_cast<double>(std::llround(steps));
    return decimals > 0 ? whole / scale : whole * scale;
}

} // namespace

std::string mhzText(double f) { return formatPicture(f, "0.0#####"); }

double printedHalfUnit(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '+' || text[i] == '-')) ++i;
    int digits = 0, decimals = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) ++digits;
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && isDigit(text[i]); ++i) ++digits, ++decimals;
    if (digits == 0) return 0;
    int exponent = 0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        ++i;
        const bool negative = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        for (; i < text.size() && isDigit(text[i]) && exponent < 1000; ++i) exponent = exponent * 10 + (text[i] - '0');
        if (negative) exponent = -exponent;
    }
    return 0.5 * std::pow(10.0, exponent - decimals);
}

double stepFrequency(const FrequencySteps& loop, long long index) {
    const double k = static_cast<double>(index);
    if (loop.multiplicative) return loop.start * std::pow(loop.step, k);
    const double unit = 2 * (loop.count > 1 ? std::min(loop.startSlack, loop.stepSlack) : loop.startSlack);
    return onDecimalGrid(loop.start + k * loop.step, unit);
}

bool printedAsStep(const FrequencySteps& loop, long long index, double printed, double printedSlack) {
    const double f = stepFrequency(loop, index);
    return std::fabs(printed - f) <= printedSlack + stepSlack(loop, index, f);
}

long long stepOfPrinted(const FrequencySteps& loop, double printed, double printedSlack) {
    double k = NAN;
    if (!loop.multiplicative && loop.step != 0) k = (printed - loop.start) / loop.step;
    if (loop.multiplicative && loop.step > 0 && loop.step != 1 && printed / loop.start > 0)
        k = std::log(printed / loop.start) / std::log(loop.step);
    if (!(k > -0.5 && k < static_cast<double>(loop.count) - 0.5)) return -1;
    const long long index = std::llround(k);
    return printedAsStep(loop, index, printed, printedSlack) ? index : -1;
}

} // namespace wavra
