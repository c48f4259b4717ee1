#include "core/ui.h"

#include <algorithm>

#include "base/files.h"
#include "base/text.h"

namespace wavra {

void RecordingUi::record(const std::string& text) {
    m_messages.push_back(text);
    if (m_echo) m_echo(text);
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

std::string MessageLimit::kindOf(const std::string& text) {
    std::string key;
    bool quoted = false;
    for (char c : text) {
        if (c == '\'') {
            quoted = !quoted;
            key += c;
        } else if (!quoted && !(c >= '0' && c <= '9')) {
            key += c;
        }
    }
    return key;
}

void MessageLimit::showMessage(const std::string& text, const std::string& title, Icon icon) {
    if (m_finished) {
        ForwardingUi::showMessage(text, title, icon);
        return;
    }
    m_all.push_back(text);
    const std::string key = kindOf(text);
    const auto [at, added] = m_kindIndex.try_emplace(key, m_kinds.size());
    if (added) m_kinds.push_back(Kind{key, text, 0});
    if (++m_kinds[at->second].count <= kShownPerKind) ForwardingUi::showMessage(text, title, icon);
}

void MessageLimit::finish() {
    if (m_finished) return;
    m_finished = true;
    bool flooded = false;
    for (const Kind& kind : m_kinds) {
        if (kind.count <= kShownPerKind) continue;
        flooded = true;
        const size_t slash = m_logPath.find_last_of('/');
        const std::string logName = slash == std::string::npos ? m_logPath : m_logPath.substr(slash + 1);
        ForwardingUi::showMessage(kind.first + "\n\u2026 and " + groupedNumber(kind.count - kShownPerKind) +
                                      " more like it; see " + logName,
                                  "wavra", Icon::Exclamation);
    }
    if (!flooded) return;
    std::string log;
    for (const std::string& line : m_all) (log += line) += '\n';
    writeFileAtomic(m_logPath, log);
}

} // namespace wavra
