// The frequency sweep as files for other RF tools: a Touchstone 1.1
// one-port file (.s1p: "# MHZ S RI R <z0>", one line per frequency with the
// real and imaginary part of S11) and a CSV table with a header row
// (frequency, R, X, |Z|, phase, SWR, |G| in dB, and the gain when the loop
// has one, as the sweep view gives them). Numbers are written with the shortest text that reads back as
// the same value.
#pragma once

#include <string>

#include "core/model.h"

namespace wavra {

enum class SweepFileFormat { Touchstone, Csv };

// ".csv" in any case gives CSV, every other name Touchstone.
SweepFileFormat sweepFormatOf(const std::string& path);

std::string touchstoneText(const Model& model);
std::string sweepCsvText(const Model& model);

// Writes the sweep through a temporary file renamed over `path`; false with
// the reason in `error` when the model holds no sweep (or, for Touchstone,
// z0 is not positive) or the file cannot be written (with the system's
// reason, and whether a file of that name was there and is kept).
bool writeSweepFile(const Model& model, const std::string& path, SweepFileFormat format, std::string& error);

} // namespace wavra
