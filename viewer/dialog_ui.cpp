#include "viewer/dialog_ui.h"

#include "qtbase/dialogs.h"
#include "qtbase/qt_text.h"

namespace wavra::view {

namespace {

const QString kTitle = QStringLiteral("Viewer");

} // namespace

void DialogUi::message(const std::string& text, Icon icon) {
    showMessageBox(m_parent, kTitle, text, Buttons::Ok, icon);
}

Answer DialogUi::askYesNoCancel(const std::string& text) {
    const Answer answer = showMessageBox(m_parent, kTitle, text, Buttons::YesNoCancel, Icon::Question, Answer::Yes);
    return answer == Answer::Ok ? Answer::Cancel : answer;
}

std::optional<std::string> DialogUi::inputBox(const std::string& title, const std::string& prompt,
                                              const std::string& defaultText) {
    return askLine(m_parent, title, prompt, defaultText);
}

std::optional<std::string> DialogUi::runFileDialog(const FileRequest& request, bool save) {
    FileDialogRequest dialog;
    dialog.caption = q(request.caption);
    dialog.dir = q(request.dir);
    dialog.label = q(request.label);
    dialog.button = q(request.button);
    dialog.name = q(request.name);
    for (const std::string& pattern : request.patterns) dialog.patterns << q(pattern);
    dialog.save = save;
    return chooseFile(m_parent, dialog);
}

std::optional<std::string> DialogUi::openFile(const FileRequest& request) { return runFileDialog(request, false); }
std::optional<std::string> DialogUi::saveFile(const FileRequest& request) { return runFileDialog(request, true); }

} // namespace wavra::view
