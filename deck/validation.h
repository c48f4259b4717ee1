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
    kValidateToLog = 9,        // all checks, as validateGeometryToLog runs them
    kValidateAfterReport = 99, // all checks, stopping at the first segment with an error
};

// Runs the checks of `mode` (a ValidationMode) on the wire table of
// `geometry`; rows beyond `maxSegments` (the setting) are no junction
// partners. True when no segment got an error mark.
// `findings`, when given, receives one line per finding ("Warning on
// segment 12: length (...) above wlen/10 (...)"), as model.log lists them.
bool validateGeometry(Geometry& geometry, int maxSegments, int mode, std::vector<std::string>* findings = nullptr);

// Every check, its findings written to modelDir + "model.log" below a line
// with the model file's name and the wavelength.
struct GeometryLog {
    bool written = false; // false: the log cannot be created, and nothing was checked
    bool ok = true;       // no segment got an error mark
    std::string path;     // the log
    std::vector<std::string> findings;
};
GeometryLog validateGeometryToLog(Geometry& geometry, int maxSegments, const ModelFile& file);

// Shows a written log in the user's viewer when it holds findings, and says
// "No errors or warnings found." when it holds none.
void showGeometryLog(Ui& ui, const GeometryLog& log);

} // namespace wavra
