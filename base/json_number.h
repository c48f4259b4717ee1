#pragma once

// A number for the JSON of the batch line: a script reads an infinite or
// NaN value (a reflection of 1, a field the engine did not print) as null,
// never as a stand-in number.

#include <cmath>

#include <nlohmann/json.hpp>

namespace wavra {

inline nlohmann::json finiteOrNull(double v) { return std::isfinite(v) ? nlohmann::json(v) : nlohmann::json(nullptr); }

} // namespace wavra
