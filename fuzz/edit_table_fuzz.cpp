// Any bytes as a card-description file, and the same bytes as the lines of a
// deck taken apart into boxes and rebuilt with those descriptions.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/text.h"
#include "editor/card_line.h"
#include "editor/card_table.h"
#include "editor/option_digits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const wavra::CardTable table(text);
    for (const auto& entry : table.cardList()) {
        const int line = table.find(entry.code, nullptr);
        (void)table.variants(line);
    }
    wavra::forEachLine(text, [&table](std::string_view line) {
        const wavra::LineParts parts = wavra::splitComment(line);
        const std::string code = wavra::cardCode(parts.body);
        const auto first = wavra::firstValue(parts.body);
        const int description = table.find(code, first ? &*first : nullptr);
        const wavra::CardKind kind = wavra::cardKind(line, code, description);
        std::vector<std::string> boxes{code};
        for (std::string& v : wavra::valueFields(parts.body, wavra::kControlValues)) boxes.push_back(std::move(v));
        (void)wavra::optionDigitLists(code, boxes[1], boxes[4]);
        (void)wavra::buildLine(kind, boxes, parts.comment, parts.tabsBefore);
        return true;
    });
    return 0;
}
