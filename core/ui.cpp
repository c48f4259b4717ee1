#include "core/ui.h"

#include <algorithm>
#include <iostream>

namespace wavra {

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

bool RecordingUi::saw(const std::string& text) const {
    return std::find(m_messages.begin(), m_messages.end(), text) != m_messages.end();
}

} // namespace wavra
