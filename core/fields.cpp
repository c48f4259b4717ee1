#include "core/fields.h"

#include <cstdlib>
#include <utility>
#include <vector>

#include "base/text.h"

namespace wavra {

namespace {

// The field number of n: |n|, less 100 when that is above 100.
long fieldNumber(int n) {
    const long k = std::labs(static_cast<long>(n));
    return k > 100 ? k - 100 : k;
}

} // namespace

std::optional<std::string> findField(std::string_view line, int n, std::string_view separator) {
    const long k = fieldNumber(n);
    const bool keepApostrophes = std::labs(static_cast<long>(n)) > 100;
    if (!keepApostrophes && !line.empty() && line.front() == '\'') return std::string();
    thread_local std::vector<std::string_view> fields;
    if (k >= 1) {
        splitFields(line, separator, keepApostrophes, fields, static_cast<size_t>(k));
        if (fields.size() == static_cast<size_t>(k)) {
            std::string_view field = fields.back();
            return field.size() > 1 ? trim(field) : std::string(field);
        }
    }
    return std::nullopt;
}

std::string getField(Diagnostics& found, std::string_view line, int n, std::string_view separator) {
    if (std::optional<std::string> field = findField(line, n, separator)) return std::move(*field);
    if (n > 0) {
        const long k = fieldNumber(n);
        const std::string shownSep = separator.empty() ? std::string() : std::string(1, separator.front());
        found.push_back({Severity::Error, "Fld " + std::to_string(k) + " not found in '" + std::string(line) +
                                              "' (Sep='" + shownSep + "')."});
    }
    return "*";
}

} // namespace wavra
