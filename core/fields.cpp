#include "core/fields.h"

#include <cstdlib>
#include <vector>

#include "base/text.h"
#include "core/ui.h"

namespace wavra {

std::string getField(Ui& ui, std::string_view line, int n, std::string_view separator) {
    long k = std::labs(static_cast<long>(n));
    const bool keepApostrophes = k > 100;
    if (keepApostrophes) k -= 100;
    else if (!line.empty() && line.front() == '\'') return {};
    thread_local std::vector<std::string_view> fields;
    if (k >= 1) {
        splitFields(line, separator, keepApostrophes, fields, static_cast<size_t>(k));
        if (fields.size() == static_cast<size_t>(k)) {
            std::string_view field = fields.back();
            return field.size() > 1 ? trim(field) : std::string(field);
        }
    }
    if (n > 0) {
        const std::string shownSep = separator.empty() ? std::string() : std::string(1, separator.front());
        ui.message("Fld " + std::to_string(k) + " not found in '" + std::string(line) + "' (Sep='" + shownSep + "').");
    }
    return "*";
}

} // namespace wavra
