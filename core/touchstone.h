// A measured feed point: the reflection coefficient over frequency as a
// vector network analyser writes it, read from a Touchstone file. One-port
// files (.s1p) and the S11 column of two-port files (.s2p), versions 1.1 and
// 2.0. The option line "# <unit> <parameter> <format> R <ohm>" may give its
// parts in any order or leave them out (GHz, S, MA and 50 ohm then); S, Z
// and Y data in RI, MA and DB form are all turned into S11 against the
// file's reference resistance. "!" starts a comment. Version 2.0 keywords in
// brackets are understood where they matter for S11 ([Version], [Number of
// Ports], [Number of Frequencies], [Reference], [Matrix Format],
// [Network Data], [Noise Data], [End]) and skipped otherwise.
//
// The file is untrusted: every line that cannot be used gives a warning
// diagnostic with its line number and is skipped; the points that could be
// read are kept.
#pragma once

#include <complex>
#include <string>
#include <string_view>
#include <vector>

#include "core/diagnostics.h"

namespace wavra {

// A file with more points is cut off here (with a diagnostic): no analyser
// writes that many, and every view would crawl over them.
inline constexpr size_t kMaxMeasuredPoints = 100000;

struct MeasuredPoint {
    double frequencyMHz = 0;
    std::complex<double> s11; // against referenceOhm
};

struct MeasuredSweep {
    std::string file;                  // the path it was read from, as given
    double referenceOhm = 50;          // the reference resistance of S11
    std::vector<MeasuredPoint> points; // frequencies strictly rising
    Diagnostics diagnostics;           // the lines skipped, and why

    bool loaded() const { return !points.empty(); }
    // The file name without its directory, for legends.
    std::string name() const;
};

// Reads Touchstone text. `ports` is the port count the file name gives
// (1 for .s1p, 2 for .s2p); 0 takes it from the first data line. A 2.0
// file's [Number of Ports] overrides it.
MeasuredSweep parseTouchstone(std::string_view text, int ports);

// The port count of a file name's ".sNp" extension; 0 for any other name.
int touchstonePorts(const std::string& path);

// Reads a Touchstone file. False with the reason in `error` when the file
// cannot be read or holds no usable point (the first diagnostics then
// follow the reason); `sweep.diagnostics` keeps what was skipped otherwise.
bool loadTouchstone(const std::string& path, MeasuredSweep& sweep, std::string& error);

// The impedance in ohms of a reflection coefficient against `referenceOhm`;
// infinite parts for an open circuit (gamma = 1).
std::complex<double> impedanceOfReflection(std::complex<double> gamma, double referenceOhm);
// The reflection coefficient against z0 of a point measured against
// `referenceOhm` (the same point when both are equal; an open circuit
// stays an open circuit).
std::complex<double> reflectionAgainst(std::complex<double> gamma, double referenceOhm, double z0);

} // namespace wavra
