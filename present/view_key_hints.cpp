#include "present/view_key_hints.h"

#include <array>
#include <utility>

namespace wavra {

std::string viewKeyHint(std::string_view viewName) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kHints{{
        {"geometry", "Keys: arrows turn, PgUp/PgDn zoom, C currents, M colours, R pattern, Home reset"},
        {"pattern", "Keys: Space plane, arrows cut, M maximum, I lobes, L lin/log, < > quantity"},
        {"nearfield", "Keys: Space plane, Left/Right position, PgUp/PgDn graph, < > component, G wires"},
        {"sweep", "Keys: I impedance, S SWR, G gain, Tab pane, PgUp/PgDn zoom, Home rescale"},
        {"smith", "Keys: Left/Right cursor, Shift+Left/Right along the line, Home normalised, X polar"},
    }};
    for (const auto& [name, hint] : kHints)
        if (name == viewName) return std::string(hint);
    return {};
}

} // namespace wavra
