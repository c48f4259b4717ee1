#include "editor/edit_session.h"

#include <algorithm>

#include "base/files.h"
#include "base/text.h"
#include "editor/ant_import.h"
#include "editor/card_line.h"

namespace wavra {

namespace {

// Undo steps kept per session.
constexpr size_t kUndoDepth = 200;

const char* const kSaveQuestion = "Nec-2 input file has changed, save changes ? ";

bool isCommentLine(std::string_view line) { return !line.empty() && line.front() == '\''; }

bool hasValueBoxes(CardKind kind) { return kind == CardKind::Geometry || kind == CardKind::Control; }

// A comment line: the code's box holds the apostrophe, the comment box the rest.
void makeComment(CardBoxes& card, std::string comment) {
    card.kind = CardKind::Comment;
    card.boxes[0] = "'";
    card.fieldCount = 1;
    card.comment = std::move(comment);
}

} // namespace

EditSession::EditSession(Model& model, Ui& ui, CardTable table, FileWriter writer)
    : m_model(model), m_ui(ui), m_table(std::move(table)), m_writer(std::move(writer)) {
    if (!m_writer) {
        m_writer = [](const std::string& path, const std::string& text, std::string& reason) {
            return writeFileAtomic(path, text, reason);
        };
    }
}

// --- the boxes of a line ------------------------------------------------------

void EditSession::identify(CardBoxes& card, std::string_view code, int description) const {
    card.boxes[0] = std::string(code);
    card.description = description;
    card.kind = cardKind("", code, description);
    const size_t labels = description > 0 ? m_table.line(description).labels.size() : 0;
    switch (card.kind) {
    case CardKind::Text: card.fieldCount = 2; break;
    case CardKind::Geometry: card.fieldCount = 1 + std::min(labels, kGeometryValues); break;
    case CardKind::Control: card.fieldCount = 1 + std::min(labels, kControlValues); break;
    default: card.fieldCount = 0; break;
    }
}

void EditSession::show(int position) {
    m_selected = m_edited = position;
    m_lineShown = true;
    const std::string& line = m_lines[static_cast<size_t>(position - 1)];
    CardBoxes card;
    if (isCommentLine(line)) {
        makeComment(card, line.substr(1));
        card.tabsBefore = 0;
    } else {
        const LineParts parts = splitComment(line);
        const std::string code = cardCode(parts.body);
        const auto first = firstValue(parts.body);
        identify(card, code, m_table.find(code, first ? &*first : nullptr));
        card.comment = parts.comment;
        card.tabsBefore = parts.tabsBefore;
        if (card.kind == CardKind::Text) card.boxes[1] = freeText(parts.body);
        if (hasValueBoxes(card.kind)) {
            const auto values = valueFields(parts.body, card.fieldCount - 1);
            std::copy(values.begin(), values.end(), card.boxes.begin() + 1);
        }
    }
    m_stored = m_shown = card;
    defineDeckSymbols(m_model, m_lines);
}

void EditSession::select(int position) {
    storeEdits();
    if (position < 1 || position > static_cast<int>(m_lines.size())) {
        m_selected = m_edited = 0;
        m_stored = m_shown = CardBoxes();
        return;
    }
    show(position);
}

void EditSession::storeEdits() {
    if (m_edited < 1 || m_edited > static_cast<int>(m_lines.size())) return;
    if (m_stored.kind == CardKind::Unrecognised || m_shown == m_stored) return;
    remember();
    std::vector<std::string> boxes(m_shown.boxes.begin(),
                                   m_shown.boxes.begin() + static_cast<std::ptrdiff_t>(m_shown.fieldCount));
    m_lines[static_cast<size_t>(m_edited - 1)] = buildLine(m_shown.kind, boxes, m_shown.comment, m_stored.tabsBefore);
    std::copy(boxes.begin(), boxes.end(), m_shown.boxes.begin());
    if (m_shown.kind != CardKind::Comment && !m_shown.comment.empty() && m_shown.tabsBefore < 0) m_shown.tabsBefore = 1;
    m_stored = m_shown;
    setChanged(true);
}

void EditSession::setBox(size_t index, std::string text) {
    if (index >= 1 && index < m_shown.boxes.size()) m_shown.boxes[index] = std::move(text);
}

void EditSession::setComment(std::string text) { m_shown.comment = std::move(text); }

std::vector<std::string> EditSession::labels() const {
    std::vector<std::string> labels;
    if (m_shown.fieldCount < 2) return labels;
    if (m_shown.description > 0) labels = m_table.line(m_shown.description).labels;
    if (m_shown.kind == CardKind::Text && labels.empty()) labels.push_back("Text");
    labels.resize(m_shown.fieldCount - 1);
    return labels;
}

std::string EditSession::description() const {
    return m_shown.description > 0 ? m_table.line(m_shown.description).description : std::string();
}

std::optional<FieldValue> EditSession::boxValue(size_t index) {
    if (!hasValueBoxes(m_shown.kind) || index < 1 || index >= m_shown.fieldCount) return std::nullopt;
    return evaluateField(m_model, m_shown.boxes[index]);
}

// --- card type, variant and option digits -----------------------------------------

int EditSession::cardListIndex() const {
    return m_shown.kind == CardKind::Comment ? 0 : m_table.cardListIndex(m_shown.boxes[0]);
}

void EditSession::chooseCardType(size_t entry) {
    if (m_edited == 0 || m_stored.kind == CardKind::Unrecognised || entry >= cardList().size()) return;
    const std::string& code = cardList()[entry].code;
    CardBoxes card;
    card.comment = m_shown.comment;
    card.tabsBefore = m_shown.tabsBefore;
    if (code == kCommentCode) {
        makeComment(card, "");
    } else {
        identify(card, code, m_table.find(code, nullptr));
        for (size_t k = 1; k < card.boxes.size(); ++k) card.boxes[k] = card.kind == CardKind::Text ? "" : "0";
    }
    m_shown = card;
}

std::vector<CardTable::Variant> EditSession::variants() const {
    if (!hasValueBoxes(m_shown.kind)) return {};
    return m_table.variants(m_shown.description);
}

void EditSession::chooseVariant(size_t entry) {
    const auto list = variants();
    if (entry >= list.size()) return;
    const int description = list[entry].line;
    identify(m_shown, m_shown.boxes[0], description);
    m_shown.boxes[1] = m_table.line(description).selector;
}

std::vector<DigitList> EditSession::optionDigitLists() const {
    if (m_shown.kind != CardKind::Control || m_shown.fieldCount < 5) return {};
    return wavra::optionDigitLists(m_shown.boxes[0], m_shown.boxes[1], m_shown.boxes[4]);
}

void EditSession::chooseOptionDigit(size_t digit, size_t entry) {
    if (optionDigitLists().empty()) return;
    m_shown.boxes[4] = wavra::chooseOptionDigit(m_shown.boxes[0], m_shown.boxes[1], m_shown.boxes[4], digit, entry);
}

// --- line operations --------------------------------------------------------------

int EditSession::targetPosition() const { return m_selected > 0 ? m_selected : 1; }

void EditSession::insertAt(int position, const std::vector<std::string>& lines) {
    storeEdits();
    position = std::clamp(position, 1, static_cast<int>(m_lines.size()) + 1);
    remember();
    m_lines.insert(m_lines.begin() + position - 1, lines.begin(), lines.end());
    if (m_edited >= position) m_edited += static_cast<int>(lines.size());
    setChanged(true);
    select(position);
}

void EditSession::insertLine() { insertAt(targetPosition(), {"CM"}); }

void EditSession::pasteLines(std::string_view text) {
    std::vector<std::string> lines;
    forEachLine(text, [&lines](std::string_view line) {
        lines.emplace_back(line);
        return true;
    });
    if (!lines.empty()) insertAt(targetPosition(), lines);
}

std::string EditSession::copyLine() {
    storeEdits();
    const int position = targetPosition();
    return position <= static_cast<int>(m_lines.size()) ? m_lines[static_cast<size_t>(position - 1)] : std::string();
}

std::string EditSession::cutLine() {
    std::string line = copyLine();
    deleteLine();
    return line;
}

void EditSession::deleteLine() {
    storeEdits();
    const int position = targetPosition();
    if (position > static_cast<int>(m_lines.size())) return;
    remember();
    m_lines.erase(m_lines.begin() + position - 1);
    // The boxes of a deleted line are not stored anywhere.
    if (m_edited == position) m_edited = 0;
    else if (m_edited > position) --m_edited;
    setChanged(true);
    select(std::min(position, static_cast<int>(m_lines.size())));
}

void EditSession::toggleComment() {
    storeEdits();
    const int position = targetPosition();
    if (position > static_cast<int>(m_lines.size())) return;
    remember();
    std::string& line = m_lines[static_cast<size_t>(position - 1)];
    if (isCommentLine(line)) line.erase(0, 1);
    else line.insert(0, "'");
    setChanged(true);
    m_edited = 0;
    select(position);
}

bool EditSession::commentChecked() const {
    return m_selected > 0 && isCommentLine(m_lines[static_cast<size_t>(m_selected - 1)]);
}

void EditSession::remember() {
    m_undo.push_back({m_lines, m_selected});
    if (m_undo.size() > kUndoDepth) m_undo.erase(m_undo.begin());
    m_redo.clear();
}

void EditSession::restore(std::vector<Snapshot>& from, std::vector<Snapshot>& to) {
    storeEdits();
    if (from.empty()) return;
    to.push_back({m_lines, m_selected});
    Snapshot snapshot = std::move(from.back());
    from.pop_back();
    m_lines = std::move(snapshot.lines);
    setChanged(true);
    m_edited = 0;
    select(snapshot.selected);
}

void EditSession::undo() { restore(m_undo, m_redo); }
void EditSession::redo() { restore(m_redo, m_undo); }

// --- files --------------------------------------------------------------------------

bool EditSession::readFile(const std::string& path, std::vector<std::string>& lines, bool& converted) {
    if (!readLines(path, lines)) return false;
    converted = toLower(splitPath(path).ext) == ".ant";
    if (!converted) return true;
    // The parser's messages about the .ant file are shown as their texts alone.
    Diagnostics found;
    lines = convertAntModel(m_model, found, lines);
    showDiagnostics(m_ui, found, LinePrefix::Omitted);
    return true;
}

bool EditSession::loadCurrentFile() {
    std::vector<std::string> lines;
    bool converted = false;
    if (!readFile(m_model.modelPath(), lines, converted)) return false;
    m_lines = std::move(lines);
    m_selected = m_edited = 0;
    m_lineShown = false;
    m_stored = m_shown = CardBoxes();
    m_undo.clear();
    m_redo.clear();
    m_askForName = converted;
    setChanged(converted);
    return true;
}

void EditSession::newFile() {
    storeEdits();
    remember();
    m_lines.clear();
    select(0);
    setChanged(true);
}

bool EditSession::askToSave() {
    const Answer answer = m_ui.ask("wavra", kSaveQuestion, Buttons::YesNoCancel, Icon::Question);
    if (answer == Answer::Yes) return save();
    return answer == Answer::No;
}

bool EditSession::openFile() {
    storeEdits();
    if (changed() && !askToSave()) return false;
    const FileRequest request{"Open file", "Filename", m_model.modelDir, "", "*" + toLower(m_model.modelExt)};
    const auto choice = m_ui.openFile(request);
    if (!choice) return false;
    const FileChoice previous{m_model.modelDir, m_model.modelName, m_model.modelExt};
    m_model.modelDir = choice->dir;
    m_model.modelName = choice->name;
    m_model.modelExt = choice->ext;
    if (loadCurrentFile()) return true;
    m_model.modelDir = previous.dir;
    m_model.modelName = previous.name;
    m_model.modelExt = previous.ext;
    m_ui.message("Open failure on NEC-2 input file: " + choice->path(), "wavra", Icon::Exclamation);
    return false;
}

bool EditSession::writeLines(const std::string& path) {
    std::string text;
    for (const std::string& line : m_lines) text += line + "\n";
    std::string reason;
    if (!m_writer(path, text, reason)) {
        m_ui.message("Cannot save " + path + ": " + reason + ". The file on disk was not changed.", "wavra",
                     Icon::Exclamation);
        return false;
    }
    setChanged(false);
    return true;
}

// The ask-for-name flag is cleared only by a save under a chosen name, so
// a cancelled dialog never lets the next save overwrite an imported file.
bool EditSession::save() {
    storeEdits();
    if (!m_askForName) return writeLines(m_model.modelPath());
    const FileRequest request{"Save file (as)", "Filename", m_model.modelDir, m_model.modelName + ".nec", "*.nec"};
    const auto choice = m_ui.saveFile(request);
    if (!choice || !writeLines(choice->path())) return false;
    m_model.modelDir = choice->dir;
    m_model.modelName = choice->name;
    m_model.modelExt = choice->ext;
    m_askForName = false;
    return true;
}

bool EditSession::saveAs() {
    const bool previous = m_askForName;
    m_askForName = true;
    if (save()) return true;
    m_askForName = previous;
    return false;
}

bool EditSession::close() {
    storeEdits();
    if (!changed()) return true;
    const Answer answer = m_ui.ask("wavra", kSaveQuestion, Buttons::YesNoCancel, Icon::Question);
    // Cancel, and a save that failed or was not given a name, keep the
    // window open with its lines: closing would lose them.
    if (answer == Answer::Yes) return save();
    if (answer == Answer::No) setChanged(false);
    return answer == Answer::No;
}

std::string EditSession::caption() const {
    if (!m_lineShown) return "Edit nec-2 input file";
    return m_model.modelName + m_model.modelExt + " - wavra Edit" + (changed() ? " (file changed)" : "");
}

} // namespace wavra
