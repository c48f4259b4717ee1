// The viewer's messages, questions, entries and file dialogs as Qt dialogs.
#pragma once

#include "viewer/viewer_ui.h"

class QWidget;

namespace wavra::view {

class DialogUi : public ViewerUi {
public:
    void setParent(QWidget* parent) { m_parent = parent; }
    void message(const std::string& text, Icon icon) override;
    Answer askYesNoCancel(const std::string& text) override;
    std::optional<std::string> inputBox(const std::string& title, const std::string& prompt,
                                        const std::string& defaultText) override;
    std::optional<std::string> openFile(const FileRequest& request) override;
    std::optional<std::string> saveFile(const FileRequest& request) override;

private:
    QWidget* m_parent = nullptr;
    std::optional<std::string> runFileDialog(const FileRequest& request, bool save);
};

} // namespace wavra::view
