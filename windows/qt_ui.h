// The Ui of the windows: Qt message boxes with the buttons and icons the
// caller asks for, the one-line input box, the file dialogs with their
// captions and labels, and a window that shows a text file.
#pragma once

#include <QPointer>
#include <QWidget>

#include "core/ui.h"

namespace wavra {

class QtUi : public Ui {
public:
    // Dialogs are centred on `parent` when it is set.
    void setParent(QWidget* parent) { m_parent = parent; }

    void showMessage(const std::string& text, const std::string& title, Icon icon) override;
    Answer ask(const std::string& title, const std::string& text, Buttons buttons, Icon icon) override;
    std::optional<std::string> inputBox(const std::string& title, const std::string& prompt,
                                        const std::string& defaultText) override;
    void showTextFile(const std::string& path) override;
    std::optional<FileChoice> openFile(const FileRequest& request) override;
    std::optional<FileChoice> saveFile(const FileRequest& request) override;

private:
    QPointer<QWidget> m_parent;
    std::optional<FileChoice> runFileDialog(const FileRequest& request, bool save);
};

} // namespace wavra
