// Any bytes as a numeric deck adapted for every calculation choice: the
// adapted deck must still end in EN.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/model.h"
#include "engine/deck_adapter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8) return 0;
    static wavra::Model* model = new wavra::Model();
    // The first bytes choose the calculation and its ranges.
    static const int16_t kinds[] = {2, 3, 4, 13, 14};
    model->calcKind = kinds[data[0] % 5];
    model->calcSubMode = static_cast<int16_t>(data[1] % 4);
    model->surfaceWaveFlag = (data[2] & 1) ? -1 : 0;
    for (size_t i = 0; i < model->calcRange.size(); ++i)
        model->calcRange[i] = static_cast<double>(static_cast<int8_t>(data[3 + i % 5])) * (i % 3 == 2 ? 0.5 : 10);
    const std::string deck(reinterpret_cast<const char*>(data + 8), size - 8);
    const wavra::AdaptedDeck adapted = wavra::adaptDeck(*model, deck);
    const std::string& t = adapted.text;
    if (t.size() < 3 || t.compare(t.size() - 3, 3, "EN\n") != 0) std::abort();
    return 0;
}
