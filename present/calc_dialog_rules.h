// The rules of the calculation options dialog ("Calculate  (F7)"): which
// grid rows, captions and sub-options each calculation choice shows, the
// ranges offered from the cards the last runs generated, the checks of
// every entry, and the checks before the engine may run. The dialog window
// only shows what these functions decide.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "core/model.h"
#include "core/ui.h"
#include "engine/deck_requests.h"

namespace wavra {

// What the dialog shows for the current choice.
struct CalcLayout {
    int rows = 0;           // grid rows in use, 0 when the grid is hidden
    bool startOnly = false; // one value per row (the ItsHF choices)
    FixedColumn<std::string, 3> rowCaptions;
    FixedColumn<std::string, 3> rowUnits;       // "MHz", "degrees", "metres"
    FixedColumn<std::string, 3> columnCaptions; // start, stop, step
    FixedColumn<int, 3> rowRange{0, 3, 6};      // calcRange index of each row's first value
    FixedColumn<std::string, 4> subCaptions;    // sub-option buttons; empty: hidden
    bool farFieldExtras = false;                // XNDA, distance, gain factor, surface wave
    std::string infoX, infoY;                   // explanatory lines of the ItsHF choices
    std::string note;                           // a line below the grid: a multiplicative loop
};
CalcLayout calcLayout(const Calculation& calculation);

// What the rows of the dialog start from besides the model: the deck's own
// requests, and the rows each choice showed while the dialog is open, so
// that coming back to a choice shows its own values and never another's.
struct CalcRowMemory {
    DeckRequests deck;
    std::map<int, std::array<double, 3>> rows; // start, stop, step by choice and row
};

// Offers the ranges of the current choice, row by row: what the row showed
// earlier while the dialog is open; else the card the last run of this
// choice generated (calcPresets); else the deck's own card (its FR loop,
// or a loop of 11 steps of 1 % around its single frequency, a loop whose
// steps multiply keeping its factor in calcFrequencyRatio; its first RP
// card; its first NE/NH card with points); else a default (theta 0 to 180
// and phi 0 to 355 in 5-degree steps, X and Y across the antenna, Z 0).
// The ItsHF choices take the last pattern's main beam and the model's
// frequency.
void prefillCalcRange(Model& model, const CalcRowMemory& memory = {});

// Opening the dialog: the deck's requests are read from the model file and
// the current choice's ranges offered.
CalcRowMemory openCalcRows(Model& model);

// A choice button: calcKind = kind; the frequency loop starts at sub-option
// "None" when the previous run was not a frequency loop, the near field at
// "E-fld" unless the H field was chosen. The rows of the choice left are
// remembered and those of the new one offered.
void chooseCalcKind(Model& model, CalcRowMemory& memory, int16_t kind, int16_t previousKind);
// A sub-option button (index 0 to 3).
void chooseSubOption(Model& model, CalcRowMemory& memory, int index);
// The surface-wave box.
void chooseSurfaceWave(Model& model, CalcRowMemory& memory, bool ticked);

// Leaving grid field `index` (1 to 9, row by row: start, stop, step): the
// number goes into calcRange[index - 1], a comma counting as the decimal
// point; a text that is the value as shown leaves it alone, and a changed
// frequency field of a loop makes its steps linear (calcFrequencyRatio 0).
// Unless Enter was pressed, a step of 0 becomes (stop - start) / 20, and in
// the near field a step is copied into the rows below.
void enterRangeField(Calculation& calculation, int index, std::string_view text, bool enterPressed);

// The XNDA field: its last four characters as four digits, each within the
// range NEC-2 allows (X 0-1, N 0-5, D 0-1, A 0-2). A digit out of range is
// replaced by 0 and the entry is not taken.
struct XndaEntry {
    std::string text; // what the field shows afterwards
    bool valid = false;
    int16_t value = 0;
};
XndaEntry checkXnda(std::string_view text);
// Applies checkXnda: a valid entry sets requestXnda; an invalid one shows
// "Wrong value, consult NEC2 user manual.". Returns the field's new text.
std::string enterXnda(Geometry& geometry, Ui& ui, std::string_view text);
// Distance in km (requestDistance in metres, at least 1 m) and gain
// factor (at least 0.000001).
void enterDistance(Geometry& geometry, std::string_view km);
void enterGainFactor(Geometry& geometry, std::string_view text);

// The texts of the far-field extras as the dialog shows them.
std::string xndaText(int16_t xnda);
std::string distanceText(const Geometry& geometry);
std::string gainFactorText(const Geometry& geometry);
// A grid value as the dialog shows it.
std::string rangeText(double value);

// The reason Generate is refused, or nullopt when the run may go ahead:
// "Stepsize too small.", a value outside its range (a frequency not above
// 0 MHz, theta outside -180 to 180 or phi outside -360 to 360 degrees, a
// value that is no finite number), a step that leads away from the stop
// ("Theta step must lead from start to stop: from 90 to 0 it is below 0
// degrees."), too many calculation points or frequency steps, and
// "Frequency not between 2.0 and 30.0 Mc". Every row the choice shows is
// checked.
std::optional<std::string> generateRefusal(const Settings& settings, const Calculation& calculation);

// Generate: false, after the message, when refused. Otherwise the
// calculation time of the last run is cleared, actionCode becomes 13 and
// the dialog closes. A model whose shown name has another extension than
// modelExt has no known request (requestMode -9).
bool generateCalculation(Model& model, Ui& ui);

// The calculation choice as the dialog found it, so Cancel can restore it.
struct CalcChoice {
    int16_t kind = 0, subMode = 0, surfaceWave = 0, xnda = 0;
    std::array<double, 9> range{};
    double distance = 0, gainNorm = 0;
    double frequencyRatio = 0;
};
CalcChoice saveCalcChoice(const Geometry& geometry, const Calculation& calculation);
void restoreCalcChoice(Geometry& geometry, Calculation& calculation, const CalcChoice& choice);

} // namespace wavra
