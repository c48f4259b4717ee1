#include "core/ui.h"

#include <algorithm>
#include <iostream>

namespace wavra {

FileChoice splitPath(const std::string& path) {
    FileChoice c;
    const size_t slash = path.find_last_of('/');
    c.dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    c.name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = c.name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        c.ext = c.name.substr(dot);
        c.name.erase(dot);
    }
    return c;
}

void RecordingUi::record(const std::string& text) {
    m_messages.push_back(text);
    if (m_echo) std::cerr << text << '\n';
}

void RecordingUi::showMessage(const std::string& text, const std::string&, Icon) { record(text); }

Answer RecordingUi::ask(const std::string&, const std::string& text, Buttons buttons, Icon) {
    record(text);
    if (!m_answers.empty()) {
        Answer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    return (buttons == Buttons::Ok || buttons == Buttons::OkCancel) ? Answer::Ok : Answer::Yes;
}

std::optional<std::string> RecordingUi::inputBox(const std::string&, const std::string& prompt,
                                                 const std::string& defaultText) {
    record(prompt);
    if (!m_inputs.empty()) {
        auto a = m_inputs.front();
        m_inputs.pop_front();
        return a;
    }
    return defaultText;
}

std::optional<FileChoice> RecordingUi::takeFile(const FileRequest& request) {
    m_fileRequests.push_back(request);
    if (m_files.empty()) return std::nullopt;
    auto choice = m_files.front();
    m_files.pop_front();
    return choice;
}

std::optional<FileChoice> RecordingUi::openFile(const FileRequest& request) { return takeFile(request); }
std::optional<FileChoice> RecordingUi::saveFile(const FileRequest& request) { return takeFile(request); }

bool RecordingUi::saw(const std::string& text) const {
    return std::find(m_messages.begin(), m_messages.end(), text) != m_messages.end();
}

} // namespace wavra
