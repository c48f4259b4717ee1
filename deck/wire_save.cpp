#include "deck/wire_save.h"

#include <cmath>
#include <filesystem>
#include <system_error>

#include "base/files.h"

namespace wavra {

WireDeckEdit rewriteInputDeck(const ModelFile& file, Symbols& symbols, const Geometry& geometry,
                              const std::vector<int16_t>& editedWires) {
    WireDeckEdit edit;
    const std::string path = file.modelPath();
    if (!readFileText(path, edit.deck)) {
        edit.error = path + " cannot be read.";
        return edit;
    }
    const double scale = deckScaleFactor(symbols, edit.found, edit.deck);
    if (scale == 0 || !std::isfinite(scale)) {
        edit.error = "the GS card of " + path + " scales by 0.";
        return edit;
    }
    edit.rewrite = rewriteWireLines(edit.deck, geometry, editedWires, scale);
    return edit;
}

std::string replaceInputDeck(const ModelFile& file, const std::string& oldDeck, const std::string& newDeck) {
    const std::string fresh = file.modelDir + "." + file.modelName + ".wire-edit~";
    if (!writeFileAtomic(fresh, newDeck)) return fresh + " cannot be written.";
    const std::string backup = file.modelDir + file.modelName + ".bak";
    if (!writeFileAtomic(backup, oldDeck)) {
        deleteFile(fresh);
        return "the backup " + backup + " cannot be written.";
    }
    const std::string path = file.modelPath();
    std::error_code ec;
    std::filesystem::rename(fresh, path, ec);
    if (ec) {
        deleteFile(fresh);
        return path + " cannot be replaced.";
    }
    return {};
}

} // namespace wavra
