// Fuzz target of the ItsHF antenna file made from an engine report: the
// first byte chooses the banner (see report_text.h) and the kind
// (area coverage or point to point); the rest is the report text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "export/itshf_files.h"
#include "fresh_model.h"
#include "report/gain_blocks.h"
#include "report_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t choice = data[0];
    const std::string text = fuzzReportText(data, size);
    wavra::Model& model = freshModel();
    model.modelName = "fuzz";
    model.calcKind = (choice & 4) ? wavra::kCalcItsHfArea : wavra::kCalcItsHfPointToPoint;
    model.calcRange[3] = (choice & 8) ? 14.2 : 1e300;
    auto in = wavra::LineReader::fromText(text);
    wavra::GainBlockReader blocks(in);
    std::string error;
    wavra::itsHfAntennaText(model, blocks, error);
    return 0;
}
