#include "engine/card_text.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"

namespace wavra {

namespace {

std::string integerField(int v) { return formatPicture(v, "####0"); }
// "###0.0####", unless its five decimals change the value by more than 1e-5
// of its size (a step of 0.00005 MHz would become 0.0): then with the
// significant digits it needs.
std::string realField(double v) {
    std::string text = formatPicture(v, "###0.0####");
    if (std::isfinite(v) && std::fabs(readNumber(text) - v) > 1e-5 * std::fabs(v)) text = formatSignificant(v, 10);
    return text;
}

} // namespace

std::string cardText(std::string_view name, const CardFields& f, std::string_view separator) {
    std::string line(name);
    for (int v : {f.i1, f.i2, f.i3, f.i4}) (line += separator) += integerField(v);
    for (double v : {f.f1, f.f2, f.f3, f.f4}) (line += separator) += realField(v);
    if (f.f5 != 0 || f.f6 != 0) (line += separator) += realField(f.f5);
    if (f.f6 != 0) (line += separator) += realField(f.f6);
    return line;
}

double exactPointCount(double start, double stop, double step) {
    if (step == 0 || !std::isfinite(start) || !std::isfinite(stop) || !std::isfinite(step)) return 1;
    const double n = (stop - start) / step + 1;
    if (!(n >= 1) || !std::isfinite(n)) return n >= 1 ? n : 1;
    return std::floor(n + 1e-6);
}

int pointCount(double start, double stop, double step) {
    return static_cast<int>(std::min(exactPointCount(start, stop, step), 32767.0));
}

} // namespace wavra
