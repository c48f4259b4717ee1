// `wavra --batch` with the result views at hand: a --show request paints
// the view into pictures with Qt's graphics on the offscreen platform, so
// no display and no Widgets are needed.
#pragma once

#include <string>

#include "app/batch_options.h"

namespace wavra {

// Runs the batch job as runBatch does, with --show answered by the headless
// views; a QGuiApplication is made only when a view is asked for. argc and
// argv are the program's own, for Qt. Returns a BatchExit status.
int runBatchShowingViews(const BatchOptions& options, const std::string& programPath, const std::string& workingDir,
                         int argc, char** argv);

} // namespace wavra
