// Any bytes as a model file: its byte-order mark and line ends are handled,
// the writer converts it and the reader loads the numeric copy, as a model
// load does.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/model.h"
#include "core/ui.h"
#include "deck/expression.h"
#include "deck/model_file.h"
#include "deck/reader.h"
#include "deck/validation.h"
#include "deck/writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static wavra::Model* model = [] {
        auto* m = new wavra::Model();
        m->allocateModelTables(64, 8, 2, 4, 3);
        m->maxSegments = 64;
        m->maxSources = 2;
        m->maxLoads = 4;
        m->maxTransLines = 3;
        wavra::initConstantTable(*m, *m);
        return m;
    }();
    wavra::Diagnostics found;
    std::string encoding;
    const std::string deck = wavra::deckText(std::string_view(reinterpret_cast<const char*>(data), size), encoding);
    model->resetForLoad();
    model->wireCount = 0;
    model->summary.clear();
    model->engineName = (size % 2) ? "&NEC2D_LA" : "&NEC2D512";
    const std::string numeric = wavra::convertDeck(*model, *model, *model, found, deck);
    wavra::readNumericDeck(wavra::deckTarget(*model), found, numeric);
    wavra::validateGeometry(*model, model->maxSegments, 0);
    return 0;
}
