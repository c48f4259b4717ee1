// Feeds arbitrary bytes to the field splitter of every text format. The first
// four bytes choose the field number (any int, negative for an optional
// field, beyond 100 for apostrophes kept as text), the fifth the separator
// (0 for the default comma/blank/tab set); the rest is the line. The result
// must be "*" for a missing field or a piece of the line, and only a missing
// required field may give a diagnostic.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/text.h"
#include "core/fields.h"

using namespace wavra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    int32_t n = 0;
    std::memcpy(&n, data, sizeof n);
    const std::string separator = data[4] == 0 ? std::string() : std::string(1, static_cast<char>(data[4]));
    const std::string line(reinterpret_cast<const char*>(data + 5), size - 5);
    Diagnostics found;
    const std::string field = getField(found, line, n, separator);
    const bool missing = field == "*";
    if (!missing && line.find(field) == std::string::npos) std::abort();
    if (!found.empty() && !(missing && n > 0 && found.size() == 1)) std::abort();
    return 0;
}
