// Loading a model as every pass of the main loop does, and as the batch
// command line does without windows.
#pragma once

#include <string>
#include <string_view>

#include "core/model.h"
#include "core/ui.h"

namespace wavra {

enum class LoadedFrom { Nothing, Report, Deck };

// The engine report out/<modelName><reportExt> when there is one and
// `deckOnly` is false, followed by the segment check that stops at the first
// error (with the message "Errors or warnings found, validate geometry.");
// else the model deck. Nothing when neither could be read (the readers have
// said why).
//
// The report is taken as the model's result only when its record names
// this model file with these bytes; a report made from another model file,
// or before the model file was changed, is left and the deck read instead.
// A report without a record (put there by hand, or by an older wavra) is
// read. Either way a line says why: into `notice` when given (the windows'
// status line), else through ui.
LoadedFrom loadModel(Model& model, Ui& ui, bool deckOnly, const std::string& reportExt, std::string* notice = nullptr);

// A run's own report (the bytes of the report file in the run's folder)
// read into the model as the run's result, with the same segment check;
// false when it is no result (the reader said why).
bool readRunReport(Model& model, Ui& ui, std::string_view bytes);

} // namespace wavra
