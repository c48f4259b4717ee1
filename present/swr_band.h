// Where an SWR curve is best and how wide its usable band is: the minimum
// SWR with its frequency, and the band around it where the SWR stays at or
// below a limit (2, and the setting SWRLIM, 1.5 unless set), its edges
// interpolated linearly between the frequency steps.
#pragma once

#include <optional>
#include <vector>

namespace wavra {

inline constexpr double kSwrBandLimit = 2;

struct SwrBand {
    double limit = 0;
    double low = 0, high = 0; // MHz
    // The band reaches the first or last step: its true edge lies beyond
    // the data, the edge given is that step's frequency.
    bool openLow = false, openHigh = false;
    // Separate stretches at or below the limit: with several dips the band
    // given is the one around the minimum.
    int stretches = 1;

    double width() const { return high - low; }
    double centre() const { return (low + high) / 2; }
    // The width in percent of the centre frequency; 0 for a centre of 0.
    double percent() const { return centre() > 0 ? 100 * width() / centre() : 0; }
};

struct SwrMatch {
    double minimumSwr = 0, minimumFrequency = 0; // at the step of the least SWR (the first of equal ones)
    std::optional<SwrBand> band, second;         // at kSwrBandLimit and at the second limit
};

// `frequencies` (MHz, rising) and `swr` of the same length; a NaN SWR is a
// step without a value and ends a band. Nothing without a finite SWR.
std::optional<SwrMatch> swrMatch(const std::vector<double>& frequencies, const std::vector<double>& swr,
                                 double secondLimit);

// The band at `limit` around step `at` (which must lie at or below it).
SwrBand swrBand(const std::vector<double>& frequencies, const std::vector<double>& swr, size_t at, double limit);

} // namespace wavra
