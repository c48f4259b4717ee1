// Feeds arbitrary bytes as a Touchstone file. Beyond not crashing: the
// limits of the reader hold (points and diagnostics), frequencies rise
// strictly and every S11 is finite, and every diagnostic names its line.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/touchstone.h"

using namespace wavra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const MeasuredSweep s = parseTouchstone(text, static_cast<int>(size % 3));
    if (s.points.size() > kMaxMeasuredPoints || s.diagnostics.size() > 51) std::abort();
    if (!(s.referenceOhm > 0) || !std::isfinite(s.referenceOhm)) std::abort();
    for (size_t i = 0; i < s.points.size(); ++i) {
        const MeasuredPoint& p = s.points[i];
        if (!std::isfinite(p.frequencyMHz) || !std::isfinite(p.s11.real()) || !std::isfinite(p.s11.imag()))
            std::abort();
        if (i > 0 && !(p.frequencyMHz > s.points[i - 1].frequencyMHz)) std::abort();
    }
    for (const Diagnostic& d : s.diagnostics)
        if (d.text.empty()) std::abort();
    return 0;
}
