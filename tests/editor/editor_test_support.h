// Helpers of the card editor tests: an install tree with the shipped card
// descriptions and a deck written into it, opened in an editing session.
#pragma once

#include <memory>
#include <string>

#include "base/text.h"
#include "deck/expression.h"
#include "editor/edit_session.h"
#include "support/test_support.h"

namespace wavra::test {

struct EditorFixture {
    InstallTree tree;
    Model model;
    RecordingUi ui;
    std::unique_ptr<EditSession> session;

    EditorFixture() {
        tree.prepare(model);
        initConstantTable(model, model);
        showDiagnostics(ui, loadConstantsFile(model, model));
    }
    // Writes `text` as models file `name` and opens it in a new session.
    EditSession& open(const std::string& text, const std::string& name = "deck.nec", FileWriter writer = {}) {
        writeText(tree.file(name), text);
        const FileChoice file = splitPath(tree.file(name));
        model.modelDir = file.dir;
        model.modelName = file.name;
        model.modelExt = file.ext;
        session = std::make_unique<EditSession>(model, ui, CardTable::load(model.installDir), std::move(writer));
        session->loadCurrentFile();
        return *session;
    }
    std::string line(int position) const { return session->lines().at(static_cast<size_t>(position - 1)); }
};

// The index of a card-type list entry by its code.
inline size_t cardEntry(const EditSession& session, const std::string& code) {
    for (size_t i = 0; i < session.cardList().size(); ++i)
        if (session.cardList()[i].code == code) return i;
    return session.cardList().size();
}

} // namespace wavra::test
