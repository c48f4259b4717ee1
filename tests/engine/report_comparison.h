// Comparison of two nec2c reports of the same deck by tolerance, as printed:
// the reports of the plain and the lapack engine must agree line by line
// in their text, and every printed number must be equal or within one unit
// of its last printed digit. Values that are rounding noise of the solver
// (120 dB below the peak of their table) may differ and are counted.
#pragma once

#include <string>
#include <vector>

namespace wavra::test {

struct ReportComparison {
    int numbers = 0;                      // number pairs compared
    int lastDigit = 0;                    // pairs one unit of the last printed digit apart
    int belowPeak = 0;                    // pairs that differ more but lie 120 dB below the peak
    std::vector<std::string> differences; // everything else, with line number and both lines
};

// Compares `reference` (plain nec2c) with `candidate` (lapack engine).
// Timing lines ("msec") are left out. Tables with a 120 dB exception:
// antenna input parameters and network connection data (voltage, current,
// impedance, admittance, power, each against its own peak), currents and
// charge densities (real, imaginary, magnitude; a phase when its magnitude
// is below), radiation patterns (gains in dB against the largest gain; the
// field magnitudes against the larger of both; axial ratio and tilt when
// the total gain is below), near fields (the three magnitudes; their
// phases when the magnitude is below) and the power budget (the powers).
ReportComparison compareReports(const std::string& reference, const std::string& candidate);

// The report without its timing lines (matrix fill and factorisation times,
// run time), which differ between any two runs.
std::string withoutTimes(const std::string& report);

} // namespace wavra::test
