#include "control/model_loading.h"

#include "deck/reader.h"
#include "deck/validation.h"
#include "report/report_reader.h"

namespace wavra {

LoadedFrom loadModel(Model& model, Ui& ui, bool deckOnly, const std::string& reportExt) {
    if (!deckOnly && readOutput(model, ui, reportExt)) {
        readDeckZ0(model); // the engine never saw the deck's ZO card
        if (!validateGeometry(model, ui, kValidateAfterReport))
            ui.message("Errors or warnings found, validate geometry.");
        return LoadedFrom::Report;
    }
    return readInputFile(model, ui) ? LoadedFrom::Deck : LoadedFrom::Nothing;
}

} // namespace wavra
