// This program's environment as the launcher reads it.
#pragma once

#include <string>

namespace wavra {

// The value of the environment variable `name`, as the shell's ${NAME:-}
// gives it: empty when the variable is unset or set to nothing, so that a
// variable cleared by `NAME= wavra ...` counts as not given.
std::string environmentValue(const char* name);

} // namespace wavra
