// Feeds arbitrary bytes as the lines of exe/wavra.ini: read mode, write mode,
// read again. Beyond not crashing, whatever the rewrite wrote must read back
// as the same settings the first read produced. Everything stays in memory,
// so a crash leaves nothing behind on disk.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/text.h"
#include "core/config.h"
#include "fresh_model.h"

using namespace wavra;

namespace {

bool sameSettings(const Model& a, const Model& b) {
    auto sameNumber = [](double x, double y) { return str(x) == str(y); };
    return a.engineName == b.engineName && a.maxSegments == b.maxSegments && a.maxSources == b.maxSources &&
           a.maxLoads == b.maxLoads && a.maxTransLines == b.maxTransLines && a.maxFreqSteps == b.maxFreqSteps &&
           a.maxFarFieldPoints == b.maxFarFieldPoints && a.z0 == b.z0 && a.power == b.power &&
           a.minLinearDb == b.minLinearDb && a.minLogDb == b.minLogDb && a.linearStepDb == b.linearStepDb &&
           a.logStepDb == b.logStepDb && sameNumber(a.linLogFactor, b.linLogFactor) && a.smithMode == b.smithMode &&
           a.redrawMode == b.redrawMode && a.useNotepad == b.useNotepad && a.notepadPath == b.notepadPath &&
           a.wordpadPath == b.wordpadPath && a.wordPath == b.wordPath && a.itsHfDir == b.itsHfDir &&
           a.itsHfSub == b.itsHfSub && a.itsHfType == b.itsHfType && a.itsHfArea == b.itsHfArea &&
           a.itsHfPtop == b.itsHfPtop && a.optimizerText1 == b.optimizerText1 && a.optimizerText2 == b.optimizerText2 &&
           a.optimizerAbs == b.optimizerAbs && sameNumber(a.optimizerMaxStep, b.optimizerMaxStep) &&
           sameNumber(a.optimizerMinStep, b.optimizerMinStep) && a.calcPresets == b.calcPresets &&
           a.modelDir == b.modelDir && a.modelExt == b.modelExt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> lines = splitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    Diagnostics found;
    Model& first = freshModel<0>();
    first.installDir = "/nonexistent-wavra-install/";
    readSettings(first, found, lines);
    const std::string rewritten = rewriteSettings(first, lines);
    Model& second = freshModel<1>();
    second.installDir = first.installDir;
    readSettings(second, found, splitLines(rewritten));
    if (!sameSettings(first, second)) std::abort();
    double lo = readNumber(first.optimizerText1), hi = readNumber(first.optimizerText2);
    niceRange(lo, hi);
    return 0;
}
