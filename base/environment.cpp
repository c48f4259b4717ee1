#include "base/environment.h"

#include <cstdlib>

namespace wavra {

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace wavra
