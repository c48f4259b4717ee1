// The NEC input file reader: loads a model deck into the model store (one
// wire row per GW card, sources, loads, transmission lines, ground, first
// frequency, first field request) and fills the main window's summary.
#pragma once

#include <string>

#include "core/model.h"
#include "core/ui.h"

namespace wavra {

// Reads modelDir + modelName + modelExt. Unless the file is an engine deck
// (".inp"), it is first converted into out/<first 8 of name>.inp and that
// numeric copy is read; summary.deckErrors counts the errors the conversion
// reported. A copy that cannot be written is said (with the system's
// reason), marked in summary.engineDeckUnwritten and read from memory.
// False when the file cannot be read (after the message of readModelFile)
// and for ".out" files (reloadInput = -1 then). Floods of like messages are
// summed up (MessageLimit, log in modelDir/model.log).
bool readInputFile(Model& model, Ui& ui);

// The reference impedance of the model deck's ZO card into model.deckZ0 (0
// when the deck has none or cannot be read), with its Environment line: for
// a model whose results come from its report, which never holds the card.
// Reports nothing.
void readDeckZ0(Model& model);

// Reads an already numeric deck held in memory into the model store; the
// part of readInputFile after the conversion.
void readNumericDeck(Model& model, Ui& ui, const std::string& deckText);

} // namespace wavra
