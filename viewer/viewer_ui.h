// Every message, question, number entry and file dialog of the viewer goes
// through ViewerUi: the window answers with Qt dialogs, tests with prepared
// answers.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/ui_kinds.h"

namespace wavra::view {

// The message box kinds shared with the other programs.
using wavra::Answer;
using wavra::Icon;

// What a file dialog shows: caption, the accept button, the label of the
// name box, the start directory, a preset name and the name patterns, the
// first being the one selected ("*.bmp").
struct FileRequest {
    std::string caption;
    std::string button;
    std::string label;
    std::string dir;
    std::string name;
    std::vector<std::string> patterns;
};

class ViewerUi {
public:
    virtual ~ViewerUi() = default;
    // A message with an OK button, titled "Viewer".
    virtual void message(const std::string& text, Icon icon) = 0;
    // A question with Yes, No and Cancel, titled "Viewer".
    virtual Answer askYesNoCancel(const std::string& text) = 0;
    // A one-line entry; nullopt when cancelled.
    virtual std::optional<std::string> inputBox(const std::string& title, const std::string& prompt,
                                                const std::string& defaultText) = 0;
    // File dialogs: the full path chosen, nullopt when cancelled.
    virtual std::optional<std::string> openFile(const FileRequest& request) = 0;
    virtual std::optional<std::string> saveFile(const FileRequest& request) = 0;
};

} // namespace wavra::view
