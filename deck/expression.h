// Symbolic variables: the symbol table of SY names and fixed constants, and
// the expression evaluator used for every non-numeric deck field.
#pragma once

#include <string>
#include <string_view>

#include "core/model.h"
#include "core/ui.h"

namespace wavra {

// Empties the symbol table: constCount = 0, optimizerVarCount = 0,
// constCapacity = 64, the three arrays sized 0..64.
void initConstantTable(Model& model);

// Reads installDir + "exe/constant.ini" (name = value lines) into the table
// as fixed constants (flag 0) and sets baseConstantCount. A missing file is
// no error.
void loadConstantsFile(Model& model, Ui& ui);

// -1: the text is a plain number (value not set); 1: a number with a unit
// suffix (cm mm in ft uf uh nf nh pf), value = number x factor; 0: an
// expression (value = 0).
int classifyNumber(std::string_view text, double& value);

// Defines or redefines a symbol from a value text (plain number, unit
// number or expression). A full table shows
// "Parser: No more room in constant table." and stores nothing.
void defineConstant(Model& model, Ui& ui, std::string_view name, std::string_view valueText);

// Evaluates an expression; shows at most one message per evaluation and
// gives 0 after an error.
double evaluateExpression(Model& model, Ui& ui, std::string_view text);
// Same, telling whether it went without error.
bool tryEvaluate(Model& model, Ui& ui, std::string_view text, double& value);

// Value of a unit name or table entry; an unknown name shows
// "Parser: Constant '<name>' not found." and is added with value 0.
double lookupConstant(Model& model, Ui& ui, std::string_view name);

} // namespace wavra
