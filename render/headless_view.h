// A result view shown without a window: `wavra --batch --show VIEW` opens
// the view on the loaded model as the main loop would, carries out the
// --keys as the window would, paints the view into a PNG or SVG file of the
// --size given, and describes what it computed for --json.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "core/model.h"
#include "core/ui.h"
#include "present/view_request.h"

namespace wavra {

enum class HeadlessOutcome {
    Shown,
    BadRequest,    // an unknown view or key name, or a key that hands control back to the main loop
    PictureFailed, // a picture could not be written (an existing file is then kept)
};

// Needs a QGuiApplication. Anything but Shown comes with the reason in `error`.
HeadlessOutcome showHeadless(Model& model, Ui& ui, const ViewRequest& request, nlohmann::json& described,
                             std::string& error);

} // namespace wavra
