// Symbolic variables: the symbol table of SY names and fixed constants, and
// the expression evaluator used for every non-numeric deck field. The
// evaluator shows nothing: its messages ("Parser: ..." and the evaluation
// errors) are added to a list of diagnostics for the caller to show.
#pragma once

#include <string>
#include <string_view>

#include "core/diagnostics.h"
#include "core/model.h"

namespace wavra {

// Empties the symbol table (constCount = 0, constCapacity = 64, the three
// arrays sized 0..64) and with it the optimizer's variables, which are SY
// entries of it (optimizerVarCount = 0).
void initConstantTable(Symbols& symbols, Calculation& calculation);

// Reads installDir + "exe/constant.ini" (name = value lines) into the table
// as fixed constants (flag 0) and sets baseConstantCount. A missing file is
// no error; the evaluator's diagnostics of the lines come back in file order
// for the caller to show.
Diagnostics loadConstantsFile(Symbols& symbols, const ModelFile& file);

// -1: the text is a plain number (value not set); 1: a number with a unit
// suffix (cm mm in ft uf uh nf nh pf), value = number x factor; 0: an
// expression (value = 0).
int classifyNumber(std::string_view text, double& value);

// Defines or redefines a symbol from a value text (plain number, unit
// number or expression). A full table adds
// "Parser: No more room in constant table." and stores nothing.
void defineConstant(Symbols& symbols, Diagnostics& found, std::string_view name, std::string_view valueText);

// Evaluates an expression; adds at most one diagnostic per evaluation and
// gives 0 after an error.
double evaluateExpression(Symbols& symbols, Diagnostics& found, std::string_view text);
// Same, telling whether it went without error.
bool tryEvaluate(Symbols& symbols, Diagnostics& found, std::string_view text, double& value);

// Value of a unit name or table entry; an unknown name adds
// "Parser: Constant '<name>' not found." and is added with value 0.
double lookupConstant(Symbols& symbols, Diagnostics& found, std::string_view name);

// Row of a table entry (name compared trimmed, in lower case), 0 when the
// table holds no such name. Units are not table entries.
int constantIndex(const Symbols& symbols, std::string_view name);

// Value of a unit name ("mm", "in", '"', ...) or a table entry, without any
// message. False when the name is neither.
bool findConstantValue(const Symbols& symbols, std::string_view name, double& value);

// Adds the diagnostic "Parser: Constant '<name>' not found." and the name
// with value 0 and flag 0 so it is reported only once. False when the table
// was full and the name could not be added.
bool reportMissingConstant(Symbols& symbols, Diagnostics& found, std::string_view name);

// --- helpers shared by the evaluator files ---------------------------------

// True for the names of the built-in functions (abs atn cos exp fix int log
// rnd sgn sin sqr tan).
bool isFunctionName(std::string_view name);

// Applies a built-in function; trigonometric arguments are in degrees. False
// with `error` set for an unknown name or a result that is not a finite
// number (sqr(-1), log(0), exp(1000)).
bool applyFunction(std::string_view name, double x, double& result, std::string& error);

// The message for a non-finite result of an operation or function, empty
// when the value is finite.
std::string nonFiniteMessage(double value, std::string_view operation);

// A text made safe for a message box: control bytes and bytes that are not
// valid UTF-8 are shown as \xNN, and long texts are cut with "...".
std::string messageText(std::string_view text);

} // namespace wavra
