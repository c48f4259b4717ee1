// The card editor (form Ed), "Edit nec-2 input file": the input file as a
// list of lines, the selected line in labelled entry boxes (frames
// "Comment", "Geometry" and "Program ctrl"), the card-type, variant and
// option-digit lists that open in place of their boxes, the File and Edit
// menus and the buttons. Every rule lives in the editing session; the window
// shows the session and hands it each entry and command.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "core/model.h"
#include "core/ui.h"
#include "editor/edit_session.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QStackedWidget;

namespace wavra {

class CardEditorWindow : public QDialog {
    Q_OBJECT
public:
    CardEditorWindow(Model& model, Ui& ui, QWidget* parent = nullptr);
    ~CardEditorWindow() override;

    // Loads the current input file and shows the window modally until it
    // is closed.
    void run();
    // Loads the current input file into a window that is not yet shown.
    void load();

    EditSession& session() { return m_session; }
    // Shows the session's state: list, boxes, captions, check marks.
    void refresh();

    // Exit/Save: saves, then closes when the save went through.
    void exitSave();
    // Escape, Quit, Exit and closing the window: the closing question.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One group of entry boxes: the card box and the value boxes, each box
    // in a stack whose second page holds the lists that open in its place.
    struct Frame {
        QGroupBox* group = nullptr;
        QString caption;
        QStackedWidget* cardStack = nullptr;
        QLineEdit* card = nullptr;
        QComboBox* cardList = nullptr;
        std::vector<QLabel*> labels;
        std::vector<QStackedWidget*> stacks;
        std::vector<QLineEdit*> boxes;
        std::vector<QLabel*> values;
        QComboBox* variantList = nullptr;
        std::vector<QComboBox*> digitLists;
    };

    Model& m_model;
    Ui& m_ui;
    EditSession m_session;
    QListWidget* m_list = nullptr;
    std::vector<Frame> m_frames; // comment, geometry, program control
    QLabel* m_commentLabel = nullptr;
    QLineEdit* m_comment = nullptr;
    QAction* m_commentAction = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    bool m_updating = false;

    // A command of the session, after which the window shows its state.
    template <class Result>
    void perform(Result (EditSession::*action)());
    template <class Result>
    std::function<void()> command(Result (EditSession::*member)());
    void toClipboard(std::string (EditSession::*member)());
    void pasteLine();

    void buildMenus();
    QWidget* buildFrame(const char* name, const QString& caption, size_t boxCount);
    QWidget* buildButtons();
    int labelWidth() const;
    void addBoxRow(Frame& frame, size_t row);
    Frame* shownFrame();
    // The session box that value box `row` of the shown frame edits (0 for
    // the comment of a comment line).
    size_t sessionBox(size_t row) const;
    void refreshList();
    void refreshFrame(Frame& frame);
    void refreshValue(Frame& frame, size_t row);
    void boxEdited(Frame& frame, size_t row, const QString& text);

    // The lists that open in place of the card box, the first value box and
    // the option-digit box; closing them shows the box again.
    void enterBox(Frame& frame, QObject* box);
    void openCardList(Frame& frame);
    void openVariantList(Frame& frame);
    void openDigitLists(Frame& frame);
    void listLeft(QStackedWidget* stack);
    void closeLists(QStackedWidget* stack, QWidget* next);
};

} // namespace wavra
