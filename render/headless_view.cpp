#include "render/headless_view.h"

#include "present/key_names.h"
#include "render/result_view.h"
#include "render/view_picture.h"

namespace wavra {

HeadlessOutcome showHeadless(Model& model, Ui& ui, const ViewRequest& r, nlohmann::json& described,
                             std::string& error) {
    auto view = makeResultView(r.view, model, ui);
    if (!view) {
        error = "no view named '" + r.view + "'";
        return HeadlessOutcome::BadRequest;
    }
    std::vector<int16_t> codes;
    if (!r.keys.empty()) {
        std::string bad;
        auto parsed = actionCodesOfKeyList(r.keys, bad);
        if (!parsed) {
            error = "--keys: '" + bad + "' is not a key name";
            return HeadlessOutcome::BadRequest;
        }
        codes = std::move(*parsed);
    }
    view->open();
    for (int16_t code : codes) {
        if (returnsToMainLoop(code) || !view->command(code)) {
            error = "--keys: key code " + std::to_string(code) + " leaves the " + r.view + " view";
            return HeadlessOutcome::BadRequest;
        }
    }
    if (!r.png.empty() && !writeViewPicture(*view, r.png, PictureFormat::Png, r.width, r.height, error))
        return HeadlessOutcome::PictureFailed;
    if (!r.svg.empty() && !writeViewPicture(*view, r.svg, PictureFormat::Svg, r.width, r.height, error))
        return HeadlessOutcome::PictureFailed;
    described = view->describe();
    described["name"] = view->name();
    if (const std::string status = view->statusText(); !status.empty()) described["status"] = status;
    return HeadlessOutcome::Shown;
}

} // namespace wavra
