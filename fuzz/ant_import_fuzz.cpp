// Any bytes as a foreign .ant model file, converted into deck lines.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/text.h"
#include "core/model.h"
#include "core/ui.h"
#include "deck/expression.h"
#include "editor/ant_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static wavra::Model* model = [] {
        auto* m = new wavra::Model();
        wavra::initConstantTable(*m, *m);
        return m;
    }();
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    wavra::forEachLine(text, [&lines](std::string_view line) {
        lines.emplace_back(line);
        return true;
    });
    wavra::Diagnostics found;
    (void)wavra::convertAntModel(*model, found, lines);
    return 0;
}
