#include "app/batch_show.h"

#include <QGuiApplication>
#include <iostream>

#include "app/batch.h"
#include "render/headless_view.h"

namespace wavra {

namespace {

int showViewHeadless(Model& model, Ui& ui, const ViewRequest& request, nlohmann::json& view) {
    std::string error;
    const HeadlessOutcome outcome = showHeadless(model, ui, request, view, error);
    if (outcome == HeadlessOutcome::Shown) return kBatchDone;
    ui.message(error);
    // A picture that cannot be written is no usage error: the system said why.
    return outcome == HeadlessOutcome::PictureFailed ? kBatchUnreadable : kBatchBadUsage;
}

} // namespace

int runBatchShowingViews(const BatchOptions& options, const std::string& programPath, const std::string& workingDir,
                         int argc, char** argv) {
    if (options.show.view.empty()) return runBatch(options, programPath, workingDir, std::cout);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return runBatch(options, programPath, workingDir, std::cout, showViewHeadless);
}

} // namespace wavra
