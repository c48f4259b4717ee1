// Loading a model as every pass of the main loop does, and as the batch
// command line does without windows.
#pragma once

#include <string>

#include "core/model.h"
#include "core/ui.h"

namespace wavra {

enum class LoadedFrom { Nothing, Report, Deck };

// The engine report out/<modelName><reportExt> when there is one and
// `deckOnly` is false, followed by the segment check that stops at the first
// error (with the message "Errors or warnings found, validate geometry.");
// else the model deck. Nothing when neither could be read (the readers have
// said why).
LoadedFrom loadModel(Model& model, Ui& ui, bool deckOnly, const std::string& reportExt);

} // namespace wavra
