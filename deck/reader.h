// The NEC input file reader: loads a model deck into the model store (one
// wire row per GW card, sources, loads, transmission lines, ground, first
// frequency, first field request) and fills the main window's summary.
// What it finds wrong comes back as diagnostics for the caller to show.
#pragma once

#include <string>

#include "core/diagnostics.h"
#include "core/model.h"
#include "core/ui.h"

namespace wavra {

// What reading a model file found, in three groups shown in this order.
struct DeckDiagnostics {
    // The model file and its conversion into the numeric copy: a
    // diagnostic's line is a line of the model file, shown as "line 12: ...".
    Diagnostics modelFile;
    // The numeric copy that could not be written into out/: shown as it
    // comes, never held back by the flood limit.
    Diagnostics engineDeck;
    // The cards of the numeric deck: a diagnostic's line is a line of that
    // copy, not of the model file the user edits, so the texts are shown
    // without it.
    Diagnostics cards;
};

// Reads modelDir + modelName + modelExt. Unless the file is an engine deck
// (".inp"), it is first converted into out/<first 8 of name>.inp and that
// numeric copy is read; summary.deckErrors counts the errors the conversion
// found. A copy that cannot be written is said (with the system's reason),
// marked in summary.engineDeckUnwritten and read from memory. False when the
// file cannot be read (with the fatal diagnostic of readModelFile) and for
// ".out" files (reloadInput = -1 then, and nothing found).
bool readInputFile(Model& model, DeckDiagnostics& found);

// Shows what a deck read found through `ui`, in order. Floods of like
// messages of the model file and of the cards are summed up (MessageLimit,
// every message of the read then written to `logPath`).
void showDeckDiagnostics(Ui& ui, const DeckDiagnostics& found, const std::string& logPath);

// readInputFile for a caller that only tells the user: what it found is
// shown through `ui`, the log being modelDir/model.log.
bool readInputFileShown(Model& model, Ui& ui);

// The reference impedance of the model deck's ZO card into model.deckZ0 (0
// when the deck has none or cannot be read), with its Environment line: for
// a model whose results come from its report, which never holds the card.
// Reports nothing.
void readDeckZ0(Model& model);

// The parts of the model store a deck read fills, and those it only reads.
struct DeckTarget {
    Geometry& geometry;       // wires, sources, loads, transmission lines, ground, frequency, request, ZO card
    Results& results;         // the currents of each wire row read, cleared
    Summary& summary;         // what the main window shows
    Symbols& symbols;         // for the expression of a ZO card in an engine deck
    const Settings& settings; // table capacities
};

// The whole model store as the target of its deck.
DeckTarget deckTarget(Model& model);

// Reads an already numeric deck held in memory into the target; the part of
// readInputFile after the conversion. What it finds is added to `found`,
// each on the line of `deckText` it concerns.
void readNumericDeck(const DeckTarget& target, Diagnostics& found, const std::string& deckText);

} // namespace wavra
