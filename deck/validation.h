// Geometry validation: segment length, radius and junction rules of thumb
// for the NEC-2 method, checked on the segment table the report reader
// fills. Offending rows get wireMark bits (1 warning, 2 error).
#pragma once

#include <string>
#include <vector>

#include "core/model.h"
#include "core/ui.h"

namespace wavra {

// The checks to run.
enum ValidationMode : int {
    kValidateAll = 0,
    kValidateLength = 1,
    kValidateRadius = 2,
    kValidateLengthRadius = 3,
    kValidateJunctionLength = 4,
    kValidateJunctionRadius = 5,
    kValidateJunctionLengthRadius = 6,
    kValidateToLog = 9,         // all checks, written to modelDir + "model.log" and shown
    kValidateAfterReport = 99,  // all checks, stopping at the first segment with an error
};

// Runs the checks of `mode` (a ValidationMode). True when no segment got an
// error mark.
// `findings`, when given, receives one line per finding ("Warning on
// segment 12: length (...) above wlen/10 (...)"), as model.log lists them.
bool validateGeometry(Model& model, Ui& ui, int mode, std::vector<std::string>* findings = nullptr);

} // namespace wavra
