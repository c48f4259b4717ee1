#include "render/result_view.h"

#include "core/action_codes.h"
#include "render/geometry_view.h"
#include "render/near_field_view.h"
#include "render/pattern_view.h"
#include "render/smith_view.h"
#include "render/sweep_view.h"

namespace wavra {

bool returnsToMainLoop(int16_t code) {
    return code == kActionEscape || code == kActionOpen || code == kActionSaveOutput || code == kActionModelChanged ||
           (code >= kActionHelp && code <= kActionOptimizer);
}

namespace {

struct ViewEntry {
    const char* name;
    std::unique_ptr<ResultView> (*make)(Model&, Ui&);
};

// Every result view, by the name the command line gives it.
const std::vector<ViewEntry>& viewTable() {
    static const std::vector<ViewEntry> table = {
        {"pattern",
         [](Model& m, Ui& ui) -> std::unique_ptr<ResultView> { return std::make_unique<PatternView>(m, ui); }},
        {"sweep", makeSweepView},
        {"smith", makeSmithView},
        {"geometry", makeGeometryView},
        {"nearfield", makeNearFieldView},
    };
    return table;
}

} // namespace

std::unique_ptr<ResultView> makeResultView(std::string_view name, Model& model, Ui& ui) {
    for (const ViewEntry& e : viewTable())
        if (name == e.name) return e.make(model, ui);
    return nullptr;
}

std::vector<std::string> resultViewNames() {
    std::vector<std::string> names;
    for (const ViewEntry& e : viewTable()) names.emplace_back(e.name);
    return names;
}

} // namespace wavra
