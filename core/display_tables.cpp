// The display tables that the views share: the colour palette, the colour
// ramp for current and field magnitudes, and the 1-2-5 series of round scale
// values.
#include "core/display_tables.h"

#include <algorithm>
#include <string>

#include "base/text.h"

namespace wavra {

namespace {

// 6 shades (dark to light) x 8 hues: grey, red, orange, yellow, green, cyan,
// blue, magenta; entry 8 * shade + hue.
constexpr std::array<Rgb, 48> kPalette{{
    {0, 0, 0},       {64, 0, 0},      {128, 64, 64},   {64, 64, 0},     {0, 64, 0},      {0, 64, 64},
    {0, 0, 64},      {64, 0, 64},     {64, 64, 64},    {128, 0, 0},     {128, 64, 0},    {128, 128, 0},
    {0, 128, 0},     {0, 128, 128},   {0, 0, 128},     {128, 0, 128},   {128, 128, 128}, {192, 0, 0},
    {192, 64, 0},    {192, 192, 0},   {0, 192, 0},     {0, 192, 192},   {0, 0, 192},     {192, 0, 192},
    {192, 192, 192}, {255, 0, 0},     {255, 128, 0},   {255, 255, 0},   {0, 255, 0},     {0, 255, 255},
    {0, 0, 255},     {255, 0, 255},   {224, 224, 224}, {255, 128, 128}, {255, 192, 128}, {255, 255, 128},
    {128, 255, 128}, {128, 255, 255}, {128, 128, 255}, {255, 128, 255}, {255, 255, 255}, {255, 192, 192},
    {255, 240, 224}, {255, 255, 224}, {192, 255, 192}, {192, 255, 255}, {192, 192, 255}, {255, 192, 255},
}};

int clampComponent(int v) { return std::clamp(v, 0, 255); }

// Blue, cyan, green, yellow, red in 16 steps of 64: the running colour may
// reach 256, each stored entry is clamped to 255.
void buildRamp(std::array<Rgb, 17>& ramp) {
    int r = 0, g = 0, b = 256;
    for (int i = 0; i <= 16; ++i) {
        if (i >= 1 && i <= 4) g += 64;
        else if (i >= 5 && i <= 8) b -= 64;
        else if (i >= 9 && i <= 12) r += 64;
        else if (i >= 13) g -= 64;
        ramp[static_cast<size_t>(i)] = {clampComponent(r), clampComponent(g), clampComponent(b)};
    }
}

// 1, 2, 5 times the powers of ten from 1e-9 to 1e5 in entries 1..43. Each
// entry is the double nearest to its decimal value, so a bound such as 0.2
// matches its entry exactly.
void buildStepSeries(std::array<double, 44>& series) {
    static const char* const kMantissa[] = {"1", "2", "5"};
    series[0] = 0;
    for (int i = 1; i <= 43; ++i) {
        const int exponent = (i - 1) / 3 - 9;
        series[static_cast<size_t>(i)] =
            readNumber(std::string(kMantissa[(i - 1) % 3]) + "e" + std::to_string(exponent));
    }
}

// The smallest entry not below x; x itself when the series ends below it.
double entryAtOrAbove(const std::array<double, 44>& series, double x) {
    for (int i = 1; i <= 43; ++i)
        if (series[static_cast<size_t>(i)] >= x) return series[static_cast<size_t>(i)];
    return x;
}

// The largest entry below x (or not above x); 0 when the series starts above it.
double entryBelow(const std::array<double, 44>& series, double x, bool strictly) {
    for (int i = 43; i >= 1; --i) {
        const double e = series[static_cast<size_t>(i)];
        if (strictly ? e < x : e <= x) return e;
    }
    return 0;
}

} // namespace

const DisplayTables& displayTables() {
    static const DisplayTables tables = [] {
        DisplayTables t;
        t.palette = kPalette;
        buildRamp(t.colourRamp);
        buildStepSeries(t.stepSeries);
        return t;
    }();
    return tables;
}

void niceRange(double& lo, double& hi) {
    const auto& series = displayTables().stepSeries;
    if (lo < 0) lo = 0.0 - entryAtOrAbove(series, -lo);
    else if (lo > 0) lo = entryBelow(series, lo, true);
    if (hi > 0) hi = entryAtOrAbove(series, hi);
    else if (hi < 0) hi = 0.0 - entryBelow(series, -hi, false); // never -0
}

} // namespace wavra
