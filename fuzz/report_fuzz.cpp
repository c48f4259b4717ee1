// Fuzz target of the engine report reader. The first byte chooses the banner
// put before the input (classic, enhanced classic, nec2c or none) and the
// table capacities, so every layout and the capacity paths get exercised;
// the rest is the report text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/diagnostics.h"
#include "core/model.h"
#include "fresh_model.h"
#include "report/line_reader.h"
#include "report/report_reader.h"
#include "report_text.h"

namespace {

class SilentHooks : public wavra::ReportHooks {
public:
    void engineError(const std::string&) override {}
    void patternPoint(double, double, const std::array<double, 5>&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t choice = data[0];
    const std::string text = fuzzReportText(data, size);

    wavra::Model& model = freshModel();
    if (choice & 4) {
        // Small tables: every capacity limit is within reach of a short input.
        model.maxSegments = 3;
        model.maxFreqSteps = 2;
        model.maxFarFieldPoints = 4;
        model.allocateModelTables(3, 2, 1, 1, 1);
        model.allocateFieldTables(4);
    }
    if (choice & 8) model.releaseModelTables(); // as during an engine run
    if (choice & 16) model.power = 0;

    wavra::Diagnostics found;
    SilentHooks hooks;
    auto in = wavra::LineReader::fromText(text);
    wavra::readReport(wavra::reportTarget(model), in, found, ".out", (choice & 32) ? &hooks : nullptr);
    return 0;
}
