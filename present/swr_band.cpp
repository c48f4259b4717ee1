#include "present/swr_band.h"

#include <cmath>

namespace wavra {

namespace {

bool within(double swr, double limit) { return swr <= limit; } // false for NaN

// The frequency between steps a (inside) and b (outside) where the SWR
// crosses the limit.
double crossing(const std::vector<double>& f, const std::vector<double>& s, size_t a, size_t b, double limit) {
    if (!std::isfinite(s[b]) || s[b] == s[a]) return f[a];
    return f[a] + (f[b] - f[a]) * (limit - s[a]) / (s[b] - s[a]);
}

int stretchesWithin(const std::vector<double>& s, double limit) {
    int count = 0;
    for (size_t i = 0; i < s.size(); ++i)
        if (within(s[i], limit) && (i == 0 || !within(s[i - 1], limit))) ++count;
    return count;
}

} // namespace

SwrBand swrBand(const std::vector<double>& f, const std::vector<double>& s, size_t at, double limit) {
    SwrBand band;
    band.limit = limit;
    size_t first = at, last = at;
    while (first > 0 && within(s[first - 1], limit)) --first;
    while (last + 1 < s.size() && within(s[last + 1], limit)) ++last;
    // A missing value beside the band is no crossing: the band is open there.
    band.openLow = first == 0 || std::isnan(s[first - 1]);
    band.openHigh = last + 1 == s.size() || std::isnan(s[last + 1]);
    band.low = band.openLow ? f[first] : crossing(f, s, first, first - 1, limit);
    band.high = band.openHigh ? f[last] : crossing(f, s, last, last + 1, limit);
    band.stretches = stretchesWithin(s, limit);
    return band;
}

std::optional<SwrMatch> swrMatch(const std::vector<double>& f, const std::vector<double>& s, double secondLimit) {
    if (f.size() != s.size()) return std::nullopt;
    std::optional<size_t> best;
    for (size_t i = 0; i < s.size(); ++i)
        if (std::isfinite(s[i]) && std::isfinite(f[i]) && (!best || s[i] < s[*best])) best = i;
    if (!best) return std::nullopt;
    SwrMatch match;
    match.minimumSwr = s[*best];
    match.minimumFrequency = f[*best];
    if (within(match.minimumSwr, kSwrBandLimit)) match.band = swrBand(f, s, *best, kSwrBandLimit);
    if (within(match.minimumSwr, secondLimit)) match.second = swrBand(f, s, *best, secondLimit);
    return match;
}

} // namespace wavra
