// "File -> Export sweep..." of the sweep window: the frequency loop as a
// Touchstone or CSV file for other RF tools. The files themselves are
// written by export/sweep_files.h.
#pragma once

#include "core/model.h"
#include "core/ui.h"

namespace wavra {

// Asks for the file (a name without extension gets ".s1p") and writes it;
// every failure is shown as a message.
void exportSweepDialog(const Model& model, Ui& ui);

} // namespace wavra
