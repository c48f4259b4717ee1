// One editing session of the card editor: the input file as a list of lines,
// the selected line taken apart into entry boxes, the line operations with
// undo and redo, and loading and saving the file. The window shows what the
// session holds and hands every entry and command to it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model.h"
#include "core/ui.h"
#include "editor/card_table.h"
#include "editor/field_values.h"
#include "editor/option_digits.h"

namespace wavra {

// The entry boxes of a line: boxes[0] holds the code, boxes[k] field k + 1.
struct CardBoxes {
    CardKind kind = CardKind::Unrecognised;
    int description = 0;   // line of the card table, 0 = none
    size_t fieldCount = 0; // boxes in use, the code's included
    std::vector<std::string> boxes = std::vector<std::string>(1 + kControlValues);
    std::string comment;
    int tabsBefore = -1; // TABs before the comment in the line read
    bool operator==(const CardBoxes&) const = default;
};

// Writes a file the user owns; false with the reason when it failed.
using FileWriter = std::function<bool(const std::string& path, const std::string& text, std::string& reason)>;

class EditSession {
public:
    // The default writer goes through a temporary file in the same
    // directory, so a failed save leaves the old file.
    EditSession(Model& model, Ui& ui, CardTable table, FileWriter writer = {});

    const CardTable& table() const { return m_table; }
    const std::vector<std::string>& lines() const { return m_lines; }
    // Positions from 1; 0 when nothing is selected or shown.
    int selected() const { return m_selected; }
    int edited() const { return m_edited; }

    // Loads the current input file (modelDir + modelName + modelExt); an
    // .ant file is converted, marked changed and saved under a new name.
    // False, with the list unchanged, when the file cannot be read.
    bool loadCurrentFile();

    // Stores the pending edits, then shows line `position` in the boxes.
    void select(int position);
    // Rebuilds the edited line from the boxes when any box changed.
    void storeEdits();

    const CardBoxes& card() const { return m_shown; }
    void setBox(size_t index, std::string text);
    void setComment(std::string text);
    // The labels of the value boxes in use (boxes 1 .. fieldCount - 1).
    std::vector<std::string> labels() const;
    // The description of the card, shown as the caption of its frame.
    std::string description() const;
    // The value of a symbolic value box, with the deck's SY variables.
    std::optional<FieldValue> boxValue(size_t index);

    // The card-type list and the entry of the card shown.
    const std::vector<CardListEntry>& cardList() const { return m_table.cardList(); }
    int cardListIndex() const;
    // The card shown becomes a card of the entry's code with its first
    // variant: every value box "0" (a text card's text empty); the comment
    // entry makes it an empty comment line.
    void chooseCardType(size_t entry);
    // The variants of the card shown; empty when its lines have no selectors.
    std::vector<CardTable::Variant> variants() const;
    void chooseVariant(size_t entry);
    // The option-digit lists of box 4 (field 5) of an EX or RP card.
    std::vector<DigitList> optionDigitLists() const;
    void chooseOptionDigit(size_t digit, size_t entry);

    // Line operations on the selected line (line 1 when none is selected).
    void insertLine();
    // Each line of the text goes in before the selected line.
    void pasteLines(std::string_view text);
    // The selected line, "" when none.
    std::string copyLine();
    std::string cutLine();
    void deleteLine();
    void toggleComment();
    // The selected line is a comment line (the check mark of the menu item).
    bool commentChecked() const;

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    void undo();
    void redo();

    // File menu. Each stores the pending edits first. False when the command
    // did not go through (cancelled or failed); the lines stay then.
    void newFile();
    bool openFile();
    bool save();
    bool saveAs();
    // The closing question while changed; true when the window may close:
    // unchanged, answered No, or saved after Yes.
    bool close();

    bool changed() const { return m_model.inputModified != 0; }
    bool askForName() const { return m_askForName; }
    // "Edit nec-2 input file" until a line was shown, then the file name
    // with " - wavra Edit" and " (file changed)" while changed.
    std::string caption() const;

private:
    struct Snapshot {
        std::vector<std::string> lines;
        int selected = 0;
    };

    Model& m_model;
    Ui& m_ui;
    CardTable m_table;
    FileWriter m_writer;
    std::vector<std::string> m_lines;
    int m_selected = 0;
    int m_edited = 0;
    bool m_lineShown = false;
    bool m_askForName = false;
    CardBoxes m_stored; // the boxes as the edited line gave them
    CardBoxes m_shown;  // the boxes as the user left them
    std::vector<Snapshot> m_undo, m_redo;

    void show(int position);
    void identify(CardBoxes& card, std::string_view code, int description) const;
    void setChanged(bool changed) { m_model.inputModified = changed ? -1 : 0; }
    void remember();
    void restore(std::vector<Snapshot>& from, std::vector<Snapshot>& to);
    int targetPosition() const;
    void insertAt(int position, const std::vector<std::string>& lines);
    bool readFile(const std::string& path, std::vector<std::string>& lines, bool& converted);
    bool writeLines(const std::string& path);
    bool askToSave();
};

} // namespace wavra
